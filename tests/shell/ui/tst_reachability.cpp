// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Every way a user opens a window — the main window's commands, its toolbar and alert buttons,
// the patient list's links — must reach that window in the running program. The table below
// says which window each one opens. A command whose window is built but not registered with the
// main window fails the test; one whose window is not built yet is listed, so the list of
// windows still waiting can be read off every test run until it is empty.
#include "core/Session.h"
#include "core/components/clsPatientFinder.h"
#include "core/db/Database.h"
#include "patients/PatientList.h"
#include "shell/MainMenu.h"
#include "shell/ui/ApplicationShell.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QMetaMethod>
#include <QTest>

using namespace kestrel;
using namespace kestrel::test;

namespace {

struct Way
{
    const char *command; // a MainMenu slot, "Toolbar1.<key>" or "lblProcedures(<n>)"
    const char *window;
};

// The windows the hospital opens from each place. Report commands all open the report viewer
// and are checked against the report catalog elsewhere; so are the commands that only act
// (exit, CVOR tagging).
constexpr Way kWays[] = {
    {"mnuOpen", "frmSearch"},
    {"mnuBuild", "frmBuildORRooms"},
    {"mnuChargeSlip", "frmChargeSlipVerification"},
    {"mnuMarkUp", "frmMarkupSettings"},
    {"mnuTagProcedures", "frmTagORProcedures"},
    {"mnuUserLogs", "frmUserLogs"},
    {"mnuUser", "frmUserRights"},
    {"mnuCVORCensus", "frmCVORPatients"},
    {"mnuCSFTemplate", "frmCSFDoctors"},
    {"mnuCSF", "frmCSFDoctors"},
    {"mnuStocksMonitoring", "frmStockMonitoring"},
    {"mnuAssessment", "frmAssessmentEntry"},
    {"mnuSpecialTreatment", "frmSpecialTreatment"},
    {"mnuSterilizationConsent", "frmSterilization"},
    {"mnuSurgicalTreatment", "frmSurgicalTreatment"},
    {"mnuConsentTreatment", "frmTreatment"},
    {"mnuFluid", "frmFluid"},
    {"mnuHourlyMonitoring", "frmHourlyMonitor"},
    {"mnuLRForm", "frmLRForm"},
    {"mnuORSchedEntry", "frmSchedule"},
    {"mnuPreOp", "frmNursePreopChecklist"},
    {"mnuInfo", "frmInfo"},
    {"mnuCF4", "clsCF4"},
    {"mnuPreAnesFirst", "frmPreAnesthetic"},
    {"mnuReprintLab", "frmReprintLabForm"},
    {"mnuSSC", "frmSSC"},
    {"mnuResultDischarge", "frmUpdateORRecord"},
    {"mnuSOA", "KsStatement.clsStatement"},
    {"mnuSchedule", "frmSchedule"},
    {"mnuRecvbles", "frmRecievable"},
    {"mnuListDischargeNotice", "frmDischargeNotice"},
    {"Toolbar1.Open", "frmSearch"},
    {"Toolbar1.Operation", "frmPatientIndex"},
    {"Toolbar1.RUV", "KsRvs.clsRvsLookup"},
    {"cmdCommunication", "frmAutoPrint"},
    {"cmdPanicLab", "frmPanicValues"},
    {"cmdRevokedRequests", "frmRevokedRequests"},
    {"cmdAdmissions", "frmAdmittedPatients"},
    {"cmdRequestSched", "frmCommunicationSchedule"},
    {"lblProcedures(0)", "frmFinal"},
    {"lblProcedures(1)", "frmFinal"},
    {"lblProcedures(2)", "frmFinal"},
};

// Records what the patient list asks of the main window.
class RecordingMainWindow : public MainWindowCommands
{
public:
    void openWindow(const QString &formName, const WindowRequest &) override
    {
        requested << formName;
    }
    void setPatientCommandsEnabled(bool) override {}
    void setCVORCaption(const QString &) override {}
    void setMenuVisible(const QString &, bool) override {}
    QStringList requested;
};

} // namespace

class tst_Reachability : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyWayReachesItsWindow();
};

void tst_Reachability::everyWayReachesItsWindow()
{
    auto opened = TestDatabase::create(Backend::Sqlite);
    QVERIFY2(opened, qPrintable(opened ? QString() : opened.error().message));
    Database &db = (*opened)->db();
    // The supervisor holds every right, so no command stops at its right.
    MainWindowFixture fixture(db, QStringLiteral("2901"));
    Session &session = fixture.session;

    // A patient list with a demo inpatient highlighted, as a user leaves it.
    ComponentContext context(fixture.notifier);
    clsPatientFinder finder(context);
    finder.InitConnection(QString(), &db);
    RecordingMainWindow listWindow;
    PatientList list(session, &finder, &listWindow, PatientList::Window::PatientList);
    list.load();
    QVERIFY(list.currentRow() == 1);

    MainMenu menu(session, [] { return true; });
    QString lastRequest;
    connect(&menu, &MainMenu::windowRequested, this,
            [&](const QString &formName, const WindowRequest &) { lastRequest = formName; });

    // The registry of the program itself.
    ApplicationShell shell(ApplicationShell::Options{});
    const WindowRegistry &registry = shell.window().windows();
    const QStringList built =
        QString::fromUtf8(KESTREL_WINDOW_CLASSES).split(u',', Qt::SkipEmptyParts);

    QStringList wrong, unregistered, waiting;
    for (const Way &way : kWays) {
        const QString command = QString::fromLatin1(way.command);
        const QString expected = QString::fromLatin1(way.window);
        lastRequest.clear();
        session.CurrentPatient.IdNum = QStringLiteral("TEST-STAY");
        fixture.dialogs.sign(QStringLiteral("2901"));
        if (command.startsWith(u"lblProcedures(")) {
            listWindow.requested.clear();
            list.select(1);
            list.openLink(command.mid(14, 1).toInt());
            lastRequest = listWindow.requested.value(0);
        } else if (command.startsWith(u"Toolbar1.")) {
            menu.toolbarButtonClicked(command.mid(9));
        } else {
            const QByteArray slot = command.toLatin1() + "()";
            const int index = menu.metaObject()->indexOfSlot(slot.constData());
            QVERIFY2(index >= 0, qPrintable(command + u" is no command of the main window"));
            menu.metaObject()->method(index).invoke(&menu);
        }
        if (lastRequest != expected) {
            wrong << command + u" opens \"" + lastRequest + u"\", not " + expected;
            continue;
        }
        if (registry.contains(expected))
            continue;
        (built.contains(expected) ? unregistered : waiting) << command + u" → " + expected;
    }

    if (!waiting.isEmpty())
        qInfo().noquote() << "Still waiting for their windows:\n  " + waiting.join(u"\n  ");
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u"; ")));
    QVERIFY2(unregistered.isEmpty(),
             qPrintable(u"Built but not reachable: " + unregistered.join(u"; ")));
}

QTEST_MAIN(tst_Reachability)
#include "tst_reachability.moc"
