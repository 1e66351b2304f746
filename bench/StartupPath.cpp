// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "StartupPath.h"

#include "BenchHospital.h"

#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/EmbeddedHospital.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "core/components/EmployeeLogin.h"
#include "shell/ui/ApplicationShell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <memory>

namespace kestrel::bench {

namespace {

// The login window answered at once with the demo supervisor, counting the time spent in it.
class BenchLogin : public LoginPrompt
{
public:
    explicit BenchLogin(LoginRequest request)
        : m_request(std::move(request))
    {
    }

    std::optional<LoginRequest> askLogin(const QString &refusal) override
    {
        QElapsedTimer clock;
        clock.start();
        std::optional<LoginRequest> answer;
        if (refusal.isEmpty())
            answer = m_request;
        else
            refused = refusal;
        promptMs += double(clock.nsecsElapsed()) / 1e6;
        return answer;
    }
    std::optional<QString> askPassword(const QString &, const QString &) override
    {
        return std::nullopt;
    }

    double promptMs = 0;
    QString refused;

private:
    LoginRequest m_request;
};

LoginRequest loginRequest(const BenchOptions &options)
{
    const hospitaldb::DemoLogin supervisor = hospitaldb::demoLogins().constFirst();
    LoginRequest request;
    request.employeeCode = supervisor.employeeCode;
    request.password = supervisor.password;
    if (options.backend == Backend::Postgres) {
        const ConnectionSettings server = connectionSettings(options);
        request.source = LoginSource::Server;
        request.host = server.host;
        request.port = server.port;
        request.database = server.database;
        request.user = server.user;
        request.serverPassword = server.password;
    }
    return request;
}

// The median time of checking the supervisor's password, as the login does.
std::optional<double> passwordCheckMs(Database &db)
{
    const hospitaldb::DemoLogin supervisor = hospitaldb::demoLogins().constFirst();
    auto employee = readEmployeeLogin(db, supervisor.employeeCode);
    if (!employee || !*employee)
        return std::nullopt;
    QList<double> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (!passwordMatches((*employee)->passwordHash, supervisor.password))
            return std::nullopt;
        times << double(clock.nsecsElapsed()) / 1e6;
    }
    return percentile(times, 50);
}

} // namespace

BenchPath startupPath(const BenchOptions &options, Database &db, const QString &lockFolder)
{
    BenchPath p;
    p.name = QStringLiteral("start-up to main window shown");
    p.program = QStringLiteral("ApplicationShell (mdiORMenu, Startup) with a scripted login");
    p.targetMs = 1000;
    const QString embedded = connectionSettings(options).sqliteFile;
    p.runSelfTimed = [options, embedded, lockFolder]() -> Result<double> {
        BenchLogin login(loginRequest(options));
        ApplicationShell::Options o;
        o.openEmbedded = [](const QString &path) { return hospitaldb::openEmbeddedHospital(path); };
        o.embeddedPath = embedded;
        o.procedures = hospitaldb::hospitalProcedures();
        o.loginPrompt = &login;
        o.lockFolder = lockFolder;

        // A box start-up shows would wait for a click nobody gives: it is read and closed.
        QStringList boxes;
        QTimer watchdog;
        watchdog.setInterval(20);
        QObject::connect(&watchdog, &QTimer::timeout, [&boxes] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                boxes << box->text();
            modal->close();
        });
        watchdog.start();

        QElapsedTimer clock;
        clock.start();
        auto shell = std::make_unique<ApplicationShell>(std::move(o));
        const Startup::Outcome outcome = shell->start();
        QCoreApplication::processEvents();
        const double ms = double(clock.nsecsElapsed()) / 1e6 - login.promptMs;
        watchdog.stop();
        const bool shown = shell->window().isVisible();
        shell.reset();
        QCoreApplication::processEvents();
        if (outcome != Startup::Outcome::Running || !shown) {
            QString why =
                login.refused.isEmpty() ? boxes.join(QStringLiteral(" / ")) : login.refused;
            return failure(QStringLiteral("start-up did not reach the main window: ") + why);
        }
        return ms;
    };
    if (const std::optional<double> check = passwordCheckMs(db))
        p.notes << QStringLiteral("Includes opening the database and the Argon2id check of the "
                                  "password (about %1 ms alone).")
                       .arg(*check, 0, 'f', 0);
    return p;
}

} // namespace kestrel::bench
