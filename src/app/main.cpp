// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/EmbeddedHospital.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "reports/RenderedReport.h"
#include "reports/ReportViewer.h"
#include "reports/ui/frmReportViewer.h"
#include "shell/components/ui/LoginDialog.h"
#include "shell/db/Database.h"
#include "shell/ui/ApplicationShell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QTextStream>
#include <QTimer>

using namespace kestrel;

namespace {

// The guided tour logs in as the demo supervisor through the real login window, taking a
// picture of it on the way.
class TourLogin : public LoginPrompt
{
public:
    TourLogin(QDir folder, QStringList &shots)
        : m_folder(std::move(folder))
        , m_shots(shots)
    {
    }

    std::optional<LoginRequest> askLogin(const QString &refusal) override
    {
        if (!refusal.isEmpty()) {
            QTextStream(stderr) << "tour: the demo login was refused: " << refusal << '\n';
            return std::nullopt;
        }
        const auto login = hospitaldb::demoLogins().constFirst();
        m_dialog.prepareLogin(refusal);
        if (auto *code = m_dialog.findChild<QLineEdit *>(QStringLiteral("txtEmployeeCode")))
            code->setText(login.employeeCode);
        if (auto *password = m_dialog.findChild<QLineEdit *>(QStringLiteral("txtPassword")))
            password->setText(login.password);
        m_dialog.show();
        QApplication::processEvents();
        const QString shot = m_folder.filePath(QStringLiteral("01-login.png"));
        if (m_dialog.grab().save(shot))
            m_shots << shot;
        LoginRequest request = m_dialog.request();
        m_dialog.hide();
        return request;
    }
    std::optional<QString> askPassword(const QString &, const QString &) override
    {
        return std::nullopt;
    }

private:
    QDir m_folder;
    QStringList &m_shots;
    LoginDialog m_dialog;
};

int check(const QString &path)
{
    auto db = hospitaldb::openEmbeddedHospital(path);
    if (!db) {
        QTextStream(stderr) << db.error().message << '\n';
        return 1;
    }
    auto patients = (*db)->scalar(u"select count(*) from PATIENT_DATA..tbMaster");
    auto now = (*db)->loadServerDate();
    QTextStream(stdout) << "Kestrel " << QApplication::applicationVersion() << '\n'
                        << "Hospital database: " << path << '\n'
                        << "Patients: "
                        << (patients ? patients->toString() : patients.error().message) << '\n';
    return patients && now ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationVersion(QStringLiteral(KESTREL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kestrel, the Operating Room workstation."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption database(QStringLiteral("database"),
                                QStringLiteral("The embedded demo hospital file to use."),
                                QStringLiteral("file"), hospitaldb::defaultEmbeddedHospitalPath());
    QCommandLineOption checkOption(QStringLiteral("check"),
                                   QStringLiteral("Open the demo hospital, report it and quit."));
    QCommandLineOption tour(QStringLiteral("tour"),
                            QStringLiteral("Walk through the program as the demo supervisor and "
                                           "save a picture of each window into a folder."),
                            QStringLiteral("folder"));
    parser.addOptions({database, checkOption, tour});
    parser.process(app);

    if (parser.isSet(checkOption))
        return check(parser.value(database));

    ApplicationShell::Options options;
    options.openEmbedded = [](const QString &path) {
        return hospitaldb::openEmbeddedHospital(path);
    };
    options.embeddedPath = parser.value(database);
    options.procedures = hospitaldb::hospitalProcedures();

    QStringList shots;
    std::unique_ptr<TourLogin> tourLogin;
    QDir tourFolder;
    if (parser.isSet(tour)) {
        tourFolder = QDir(parser.value(tour));
        tourFolder.mkpath(QStringLiteral("."));
        tourLogin = std::make_unique<TourLogin>(tourFolder, shots);
        options.loginPrompt = tourLogin.get();
        // The tour may run beside a copy of the program the user has open.
        options.lockFolder = tourFolder.absolutePath();
    }

    ApplicationShell shell(std::move(options));
    QObject::connect(&shell, &ApplicationShell::finished, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    if (shell.start() != Startup::Outcome::Running)
        return 1;

    if (parser.isSet(tour)) {
        shell.window().resize(1280, 900);
        QTimer::singleShot(1200, &app, [&] {
            const QString shot = tourFolder.filePath(QStringLiteral("02-main-window.png"));
            if (shell.window().grab().save(shot))
                shots << shot;
            // The audit report of the last month, asked for as a clerk does: the menu, the
            // period prompt, OK.
            QTimer::singleShot(400, &app, [&] {
                QWidget *prompt = QApplication::activeModalWidget();
                if (!prompt)
                    return;
                if (auto *from = prompt->findChild<QDateEdit *>(QStringLiteral("dtpFrom")))
                    from->setDate(from->date().addMonths(-1));
                const QString promptShot =
                    tourFolder.filePath(QStringLiteral("03-report-period.png"));
                if (prompt->grab().save(promptShot))
                    shots << promptShot;
                if (auto *ok = prompt->findChild<QAbstractButton *>(QStringLiteral("cmdOK(0)")))
                    ok->click();
            });
            shell.window().presenter().mnuAudit();
            QApplication::processEvents();
            const QString viewerShot = tourFolder.filePath(QStringLiteral("04-report-viewer.png"));
            if (shell.window().grab().save(viewerShot))
                shots << viewerShot;
            if (auto *viewer = shell.window().workArea()->findChild<frmReportViewer *>()) {
                const QString pdf = tourFolder.filePath(QStringLiteral("04-audit-report.pdf"));
                if (viewer->presenter().report().exportPdf(pdf))
                    shots << pdf;
            }
            QTextStream out(stdout);
            out << "Tour pictures:\n";
            for (const QString &s : std::as_const(shots))
                out << "  " << QDir(s).absolutePath() << '\n';
            app.exit(shots.size() == 5 ? 0 : 1);
        });
    }
    return app.exec();
}
