// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/EmbeddedHospital.h"
#include "shell/ui/MessageBoxNotifier.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

using namespace kestrel;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationVersion(QStringLiteral(KESTREL_VERSION));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption database(QStringLiteral("database"),
                                QStringLiteral("The embedded hospital file to use."),
                                QStringLiteral("file"), hospitaldb::defaultEmbeddedHospitalPath());
    QCommandLineOption check(QStringLiteral("check"),
                             QStringLiteral("Open the hospital database, report it and quit."));
    parser.addOption(database);
    parser.addOption(check);
    parser.process(app);

    MessageBoxNotifier notifier;
    auto db = hospitaldb::openEmbeddedHospital(parser.value(database));
    if (!db) {
        if (parser.isSet(check)) {
            QTextStream(stderr) << db.error().message << '\n';
            return 1;
        }
        notifier.errorBox(db.error());
        return 1;
    }
    auto patients = (*db)->scalar(u"select count(*) from PATIENT_DATA..tbMaster");
    auto now = (*db)->loadServerDate();
    const QString summary =
        QStringLiteral("Kestrel %1\nHospital database: %2\nPatients: %3\nServer time: %4")
            .arg(QApplication::applicationVersion(), parser.value(database),
                 patients ? patients->toString() : patients.error().message,
                 now ? now->toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"))
                     : now.error().message);
    if (parser.isSet(check)) {
        QTextStream(stdout) << summary << '\n';
        return 0;
    }
    QStringList logins;
    for (const auto &login : hospitaldb::demoLogins())
        logins
            << QStringLiteral("%1 / %2 (%3)").arg(login.employeeCode, login.password, login.role);
    notifier.message(summary + QStringLiteral("\n\nDemo logins:\n") + logins.join(u'\n'),
                     QStringLiteral("Kestrel - Operating Room"), Notifier::Icon::Information);
    return 0;
}
