// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/BackgroundRead.h"

#include "core/db/Database.h"

#include <QCoreApplication>
#include <QThread>

#include <memory>

namespace kestrel {

bool readInBackground(const Database &db, std::function<Result<QVariant>(Database &)> work,
                      QObject *receiver, std::function<void(const Result<QVariant> &)> done)
{
    const ConnectionSettings settings = db.settings();
    if (settings.backend == Backend::Sqlite &&
        (settings.sqliteFile.isEmpty() || settings.sqliteFile == u":memory:"))
        return false;
    auto procedures = db.procedureRegistry();
    auto answer = std::make_shared<Result<QVariant>>(failure(QString()));
    QThread *thread = QThread::create([settings, procedures, work = std::move(work), answer] {
        auto second = Database::open(settings);
        if (!second) {
            *answer = tl::unexpected(second.error());
            return;
        }
        (*second)->setProcedures(procedures);
        *answer = work(**second);
    });
    QObject::connect(thread, &QThread::finished, receiver,
                     [answer, done = std::move(done)] { done(*answer); });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    if (auto *app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, thread, [thread] { thread->wait(); });
    thread->start(QThread::LowPriority);
    return true;
}

} // namespace kestrel
