// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/ui/WaitProgress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QThread>

#include <algorithm>

namespace kestrel {

namespace {
// A wait shorter than this passes without a window.
constexpr std::chrono::milliseconds kShowAfter{500};
} // namespace

WaitProgress::WaitProgress(QWidget *parent)
    : m_parent(parent)
{
}

WaitProgress::~WaitProgress() = default;

bool WaitProgress::waiting(std::chrono::milliseconds waited, std::chrono::milliseconds budget)
{
    if (waited < kShowAfter && !m_dialog)
        return true;
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>(
            QStringLiteral("Waiting for the records held by another workstation…"),
            QStringLiteral("Cancel"), 0, 1000, m_parent);
        m_dialog->setWindowTitle(QStringLiteral("Saving"));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->show();
    }
    const qint64 whole = std::max<qint64>(1, budget.count());
    m_dialog->setValue(int(std::min<qint64>(1000, waited.count() * 1000 / whole)));
    QApplication::processEvents();
    return !m_dialog->wasCanceled();
}

bool WaitProgress::nap(std::chrono::milliseconds pause)
{
    // No transaction is open between tries: the windows may answer meanwhile.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < pause.count()) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (m_dialog && m_dialog->wasCanceled())
            return false;
        QThread::msleep(static_cast<unsigned long>(
            std::clamp<qint64>(pause.count() - clock.elapsed(), 0, 15)));
    }
    return !(m_dialog && m_dialog->wasCanceled());
}

void WaitProgress::finished()
{
    m_dialog.reset();
}

} // namespace kestrel
