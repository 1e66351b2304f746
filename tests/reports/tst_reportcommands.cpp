// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The report commands of the main window against the demo hospital: the prompt each asks,
// the values it hands its report in the catalog's order (checked twice: as built, and as the
// report's fields received them), the clients' variants, the statistical report's procedure,
// the access rights in front of them, and what happens when the user cancels, no patient is
// selected or the report file is missing.
#include "reports/ReportCommands.h"
#include "reports/ReportService.h"
#include "shell/db/Database.h"
#include "shell/MainMenu.h"
#include "shell/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace kestrel;
using kestrel::test::FixtureUser;
using kestrel::test::RecordingNotifier;
using kestrel::test::RecordingReportDisplay;

namespace {

const QString kCompany = QStringLiteral("KESTREL GENERAL HOSPITAL");
const QString kAddress = QStringLiteral("12 Mabini St., Kestrel City");
const QString kSupervisor = QStringLiteral("2901");
const QString kClerk = QStringLiteral("2905");   // |3|9|13|18|19|20|21
const QString kTrainee = QStringLiteral("2908"); // no rights

/// The report prompts as a script: what each prompt was asked, and the answers it gives in
/// order (cancelled once the script runs out).
class ScriptedPrompts : public Dialogs
{
public:
    struct Asked
    {
        QString prompt; // "period", "date", "month"
        QString caption;
        bool allowFutureDate = false;
        int setMode = -1;
        QDate serverDate;
    };

    ValidatedUser validateUser(bool) override { return {}; }
    std::optional<ReportPeriod> askPeriod(const QString &caption, bool allowFutureDate,
                                          const QDate &serverDate) override
    {
        m_asked.append({QStringLiteral("period"), caption, allowFutureDate, -1, serverDate});
        return next();
    }
    std::optional<ReportPeriod> askDate(int setMode, const QDate &serverDate) override
    {
        m_asked.append({QStringLiteral("date"), QString(), false, setMode, serverDate});
        return next();
    }
    std::optional<ReportPeriod> askMonth(const QDate &serverDate) override
    {
        m_asked.append({QStringLiteral("month"), QString(), false, -1, serverDate});
        return next();
    }

    void answer(std::optional<ReportPeriod> period) { m_answers.append(std::move(period)); }
    const QList<Asked> &asked() const { return m_asked; }

private:
    std::optional<ReportPeriod> next()
    {
        return m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
    }
    QList<std::optional<ReportPeriod>> m_answers;
    QList<Asked> m_asked;
};

/// A report definition that prints its `count` text fields, separated by "|", so a test reads
/// back exactly what the command handed the report.
void writeEchoReport(const QString &folder, const QString &file, int count)
{
    QString text = QStringLiteral("[report]\ntitle = Echo\n\n[parameters]\n");
    QStringList fields;
    for (int i = 1; i <= count; ++i) {
        text += QStringLiteral("p%1 = text\n").arg(i);
        fields << QStringLiteral("{{{p%1}}}").arg(i);
    }
    text += QStringLiteral("\n[template]\n<p>[") + fields.join(u'|') + QStringLiteral("]</p>\n");
    QFile out(QDir(folder).filePath(file));
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(text.toUtf8());
}

/// What an echo report received.
QString echoed(const RenderedReport &report)
{
    static const QRegularExpression values(QStringLiteral(R"(\[(.*)\])"));
    const auto match = values.match(report.html());
    return match.hasMatch() ? match.captured(1) : QStringLiteral("<no values>");
}

QStringList asTexts(const QVariantList &values)
{
    QStringList texts;
    for (const QVariant &v : values)
        texts << v.toString();
    return texts;
}

/// A stay as the patient list leaves it, numbers padded as the grid holds them.
CurrentPatientRecord demoPatient()
{
    CurrentPatientRecord p;
    p.HospNum = QStringLiteral(" 000123 ");
    p.IdNum = QStringLiteral("2026-0042 ");
    p.PatientClass = QStringLiteral("I");
    p.PatientName = QStringLiteral("DELA CRUZ, JUAN SANTOS");
    p.Address = QStringLiteral("4 Rizal Ave., Kestrel City");
    p.RoomID = QStringLiteral("312-A");
    p.AdmissionDate = QDateTime(QDate(2026, 11, 28), QTime(8, 15));
    p.AccountNumber = QStringLiteral("000123");
    p.Company = QStringLiteral("PERSONAL");
    return p;
}

ReportPeriod period(const QString &from, const QString &to, const QString &start = {})
{
    return ReportPeriod{from, to, start};
}

/// One logged-in session of the demo hospital with scripted prompts and a recording display,
/// reading its reports from `folder`.
struct Fixture
{
    Fixture(Database &db, const QString &folder, const QString &employee = kSupervisor)
        : user(db, employee)
        , service(db, folder, ReportHeadings{kCompany, kAddress}, display, notifier)
        , commands(session, service)
    {
        session.setCurrentUser(&user);
        session.LoggedIn = true;
        session.ServerDate = QDate(2026, 12, 1);
        session.hospital.Company = kCompany;
        session.hospital.Address1 = kAddress;
        session.hospital.IsShowAmount = true;
    }

    WindowRequest request(const QString &command) const
    {
        WindowRequest r;
        r.command = command;
        r.patient = session.CurrentPatient;
        return r;
    }

    RecordingNotifier notifier;
    ScriptedPrompts prompts;
    FixtureUser user;
    Session session{notifier, prompts};
    RecordingReportDisplay display;
    ReportService service;
    ReportCommands commands;
};

} // namespace

class tst_ReportCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void valuesInCatalogOrder_data();
    void valuesInCatalogOrder();

    void promptsAsTheCatalogSays_data();
    void promptsAsTheCatalogSays();
    void cancelledPromptOpensNothing_data();
    void cancelledPromptOpensNothing();

    void statisticalReportGathersItsSummaryFirst_data();
    void statisticalReportGathersItsSummaryFirst();

    void missingRightRefusedBeforeThePrompt_data();
    void missingRightRefusedBeforeThePrompt();
    void catalogRightsAreTheMainWindows();

    void patientCommandsNeedAPatient_data();
    void patientCommandsNeedAPatient();
    void highlightedRowHandedByThePatientList();

    void missingReportFileIsNamed();
    void unknownCommandIsToldNotAvailable();

    void everyCommandOpensTheHospitalsReport_data();
    void everyCommandOpensTheHospitalsReport();
};

// --- Values -----------------------------------------------------------------------------------

void tst_ReportCommands::valuesInCatalogOrder_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("clientname");
    QTest::addColumn<bool>("logbookOnePage");
    QTest::addColumn<QStringList>("answer"); // from, to, starting number; empty: no prompt
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("values"); // one "|"-joined list per file
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("groupTree");
    QTest::addColumn<bool>("printed");

    const QString from = QStringLiteral("11/01/2026");
    const QString to = QStringLiteral("11/30/2026");
    const QStringList november{from, to};
    const QString user = QStringLiteral("TEST, USER 2901");
    const QString both = from + u'|' + to;

    QTest::newRow("audit") << "mnuAudit"
                           << "" << false << november << QStringList{"Audit_report.RPT"}
                           << QStringList{both + u'|' + kCompany + u'|' + kAddress +
                                          "|OPERATING ROOM AUDIT REPORT"}
                           << "Audit Report" << false << false;
    QTest::newRow("income detailed")
        << "mnuDetailed"
        << "" << false << november << QStringList{"Nurse_Station_Income_Detailed.RPT"}
        << QStringList{both + "|OR|true"} << "Income Report (Detailed)" << false << false;
    QTest::newRow("income summary, old format")
        << "mnuOldFormatIncomeSummary"
        << "" << false << november << QStringList{"Nurse_Station_Income_Summary.RPT"}
        << QStringList{both + "|OR|true"} << "Income Report (Summary)" << false << false;
    QTest::newRow("meds summary ends with an empty text")
        << "mnuMedsSummary"
        << "" << false << november << QStringList{"MedSummary.RPT"} << QStringList{both + "|O|"}
        << "Post Charged Meds Summary" << false << false;
    QTest::newRow("operations by doctor")
        << "mnuPerDoctor"
        << "" << false << november << QStringList{"PxOperations.RPT"}
        << QStringList{both + "|1|" + kCompany + u'|' + kAddress}
        << "List of Patients with Operations" << false << false;
    QTest::newRow("operations by patient type")
        << "mnuPerPatient"
        << "" << false << november << QStringList{"PxOperations.RPT"}
        << QStringList{both + "|0|" + kCompany + u'|' + kAddress}
        << "List of Patients with Operations" << false << false;

    const QString ledgerTail = QStringLiteral("DELA CRUZ, JUAN SANTOS|4 Rizal Ave., Kestrel City|"
                                              "000123|PERSONAL|2026-0042|000123|11/28/2026||"
                                              "312-A|000123|2026-0042|OR");
    QTest::newRow("ledger: sixteen values")
        << "mnuLedger"
        << "" << false << QStringList() << QStringList{"Patient_Ledger.RPT"}
        << QStringList{kCompany + u'|' + kAddress + "||PATIENT'S OR LEDGER|" + ledgerTail}
        << "Patient Ledger" << false << false;
    QTest::newRow("CSSR ledger") << "mnuPxCSSR"
                                 << "" << false << QStringList()
                                 << QStringList{"Patient_CSR_Ledger.RPT"}
                                 << QStringList{kCompany + u'|' + kAddress +
                                                "||PATIENT'S OR-CSSR LEDGER|" + ledgerTail}
                                 << "Patient's Ledger" << false << false;

    QTest::newRow("census") << "mnuCensusOrig"
                            << "" << false << november << QStringList{"MonthlyCensus.rpt"}
                            << QStringList{kAddress + u'|' + kCompany + "|A|" + both}
                            << "Operating Room Census Report" << false << false;
    QTest::newRow("census of HMO patients, summary")
        << "mnuCensusSummary"
        << "" << false << november << QStringList{"MonthlyCensus.rpt"}
        << QStringList{kAddress + u'|' + kCompany + "|S|H|" + both}
        << "Operating Room Census Report (Summary)" << false << false;
    QTest::newRow("census of all patients, detailed")
        << "mnuCensusAllDetailed"
        << "" << false << november << QStringList{"MonthlyCensus.rpt"}
        << QStringList{kAddress + u'|' + kCompany + "|D|A|" + both}
        << "Operating Room Census Report (Detailed)" << false << false;
    QTest::newRow("census of all patients, summary keeps the detailed title")
        << "mnuCensusAllSummary"
        << "" << false << november << QStringList{"MonthlyCensus.rpt"}
        << QStringList{kAddress + u'|' + kCompany + "|S|A|" + both}
        << "Operating Room Census Report (Detailed)" << false << false;

    QTest::newRow("monthly report with its group tree")
        << "mnuMonthly"
        << "" << false << november << QStringList{"MonthlyReport.RPT"} << QStringList{both}
        << "Monthly Report" << true << false;
    QTest::newRow("monthly report of QELM")
        << "mnuMonthly"
        << "QELM" << false << november << QStringList{"Monthly_Report.RPT"}
        << QStringList{kCompany + u'|' + kAddress + "|MONTHLY MICU REPORT|" + both}
        << "Monthly Report" << false << false;
    QTest::newRow("monthly report of another client")
        << "mnuMonthly"
        << "TWY" << false << november << QStringList{"MonthlyReport.RPT"} << QStringList{both}
        << "Monthly Report" << true << false;

    const QStringList december{"12/01/2026", "12/31/2026", "17"};
    QTest::newRow("OR logbook: both parts printed")
        << "mnuORLogbook"
        << "" << false << december << QStringList{"OR Logbook_Page1.rpt", "OR Logbook_Page2.rpt"}
        << QStringList{"12/01/2026|12/31/2026|17|" + user, "12/01/2026|12/31/2026"} << "OR Logbook"
        << false << true;
    QTest::newRow("OR logbook on one page")
        << "mnuORLogbook"
        << "" << true << december << QStringList{"OR Logbook_Page1.rpt"}
        << QStringList{"12/01/2026|12/31/2026|17|" + user} << "OR Logbook" << false << true;
    QTest::newRow("OR logbook of RYSEN: the daily logbook")
        << "mnuORLogbook"
        << "RYSEN" << true << november << QStringList{"DailyORLogbook.rpt"} << QStringList{both}
        << "OR Logbook" << false << true;

    QTest::newRow("monthly OR room cases")
        << "mnuMonthlyORRoomCases"
        << "" << false << QStringList{"11/2026", "11/2026"}
        << QStringList{"MonthlySummaryORDRCases.rpt"} << QStringList{"11/2026|2901"}
        << "Monthly Summary of OR Room Cases" << false << false;
    QTest::newRow("yearly OR room cases: the whole year")
        << "mnuYearlyORRoomCases"
        << "" << false << QStringList{"2025", "2025"} << QStringList{"YearlyReport_OrCases.rpt"}
        << QStringList{"01/01/2025|12/31/2025"} << "OR Cases Yearly Report" << false << false;
    QTest::newRow("AM pick-ups") << "mnuAMPickUp"
                                 << "" << false << november << QStringList{"ListAMPickUps.rpt"}
                                 << QStringList{"OR|" + both + u'|' + user}
                                 << "List of Laboratory AM Pick-up Requests" << false << false;
    QTest::newRow("admission census on the server date")
        << "mnuAdmCensus"
        << "" << false << QStringList() << QStringList{"CensusByStation_TWY.RPT"}
        << QStringList{"12/01/2026|"} << "Census Report" << false << false;
    QTest::newRow("cash basis without values")
        << "mnuCash"
        << "" << false << QStringList() << QStringList{"CashBasisAllPatients.RPT"}
        << QStringList{""} << "Cash Basis Report" << false << false;
    QTest::newRow("price list") << "mnuPriceList"
                                << "" << false << QStringList() << QStringList{"ListProcedures.RPT"}
                                << QStringList{"OR"} << "List of Procedures and Supplies" << false
                                << false;
    QTest::newRow("request status without a title")
        << "mnuRS"
        << "" << false << QStringList() << QStringList{"List_of_RequestOrders.Rpt"}
        << QStringList{"2026-0042"} << "" << false << false;
    QTest::newRow("patient data sheet of the highlighted row")
        << "mnuPDS"
        << "" << false << QStringList() << QStringList{"ORAdmDataSheet.rpt"}
        << QStringList{"2026-0042|" + kAddress} << "PATIENT DATA SHEET" << false << false;
}

void tst_ReportCommands::valuesInCatalogOrder()
{
    QFETCH(QString, command);
    QFETCH(QString, clientname);
    QFETCH(bool, logbookOnePage);
    QFETCH(QStringList, answer);
    QFETCH(QStringList, files);
    QFETCH(QStringList, values);
    QFETCH(QString, title);
    QFETCH(bool, groupTree);
    QFETCH(bool, printed);

    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (int i = 0; i < files.size(); ++i) {
        const int count = values.at(i).isEmpty() ? 0 : int(values.at(i).count(u'|')) + 1;
        writeEchoReport(folder.path(), files.at(i), count);
    }

    Fixture f(db, folder.path());
    f.session.hospital.clientname = clientname;
    if (logbookOnePage) {
        QVERIFY(db.exec(u"INSERT INTO STATION..tbNurseSetup (Field, value) "
                        u"VALUES ('ORLogbookOnePage', '1')")
                    .has_value());
        f.session.settings.LoadParameters(db, f.session.hospital);
        QVERIFY(f.session.settings.LogbookOnePage());
    }
    f.session.CurrentPatient = demoPatient();
    if (!answer.isEmpty())
        f.prompts.answer(period(answer.value(0), answer.value(1), answer.value(2)));

    const WindowRequest request = f.request(command);
    QVERIFY(f.commands.run(request));
    QCOMPARE(f.notifier.boxes().size(), 0);
    QCOMPARE(f.prompts.asked().size(), answer.isEmpty() ? 0 : 1);

    // As built, count included ...
    const std::optional<ReportCommandEntry> entry = f.commands.entry(command);
    QVERIFY(entry);
    QCOMPARE(entry->parts.size(), files.size());
    for (int i = 0; i < files.size(); ++i) {
        QCOMPARE(entry->parts.at(i).file, files.at(i));
        const QStringList built = asTexts(f.commands.values(entry->parts.at(i), request));
        QCOMPARE(built.join(u'|'), values.at(i));
        QCOMPARE(built.size(), values.at(i).isEmpty() ? 0 : values.at(i).count(u'|') + 1);
    }
    // ... and as the report's fields received them, each part in turn.
    const QList<RecordingReportDisplay::Shown> &shown = f.display.shown();
    QCOMPARE(shown.size(), files.size());
    for (int i = 0; i < shown.size(); ++i) {
        QCOMPARE(echoed(*shown.at(i).report), values.at(i));
        QCOMPARE(shown.at(i).kind, printed ? RecordingReportDisplay::Kind::Printed
                                           : RecordingReportDisplay::Kind::Viewer);
        if (!printed) {
            QCOMPARE(shown.at(i).options.title, title);
            QCOMPARE(shown.at(i).options.showGroupTree, groupTree);
            QVERIFY(!shown.at(i).options.disablePrintExport);
        }
    }
}

// --- Prompts ----------------------------------------------------------------------------------

void tst_ReportCommands::promptsAsTheCatalogSays_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("clientname");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("allowFuture");
    QTest::addColumn<int>("setMode");

    QTest::newRow("audit") << "mnuAudit"
                           << ""
                           << "period"
                           << "Enter Report Date for Audit Report" << false << -1;
    QTest::newRow("equipment uses the income caption")
        << "mnuEquipment"
        << ""
        << "period"
        << "Enter Report Date for Income Report" << false << -1;
    QTest::newRow("operations") << "mnuPerProcedure"
                                << ""
                                << "period"
                                << "Enter report date" << false << -1;
    QTest::newRow("census") << "mnuCensusDetailed"
                            << ""
                            << "period"
                            << "Enter Report Dates for Census Report" << false << -1;
    QTest::newRow("schedule of operations looks ahead") << "mnuScheduleofoperations"
                                                        << ""
                                                        << "period"
                                                        << "Enter Report Date " << true << -1;
    QTest::newRow("DOH logbook") << "mnuDOH"
                                 << ""
                                 << "period"
                                 << "Enter Report Date for DOH LogBook OR/DR Cases Report" << false
                                 << -1;
    QTest::newRow("monthly room cases ask a month") << "mnuMonthlyORRoomCases"
                                                    << ""
                                                    << "date"
                                                    << "" << false << 1;
    QTest::newRow("yearly income asks a year") << "mnuYearlyIncome"
                                               << ""
                                               << "date"
                                               << "" << false << 2;
    QTest::newRow("OR logbook asks month and number") << "mnuORLogbook"
                                                      << ""
                                                      << "month"
                                                      << "" << false << -1;
    QTest::newRow("OR logbook of RYSEN asks a period")
        << "mnuORLogbook"
        << "RYSEN"
        << "period"
        << "Enter Report Date for OR Logbook" << false << -1;
}

void tst_ReportCommands::promptsAsTheCatalogSays()
{
    QFETCH(QString, command);
    QFETCH(QString, clientname);
    QFETCH(QString, prompt);
    QFETCH(QString, caption);
    QFETCH(bool, allowFuture);
    QFETCH(int, setMode);

    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    Fixture f(db, folder.path());
    f.session.hospital.clientname = clientname;
    QVERIFY(!f.commands.run(f.request(command))); // cancelled: the script has no answer

    QCOMPARE(f.prompts.asked().size(), 1);
    const ScriptedPrompts::Asked &asked = f.prompts.asked().first();
    QCOMPARE(asked.prompt, prompt);
    QCOMPARE(asked.caption, caption);
    QCOMPARE(asked.allowFutureDate, allowFuture);
    QCOMPARE(asked.setMode, setMode);
    // The pickers start at the server's date, not the workstation's.
    QCOMPARE(asked.serverDate, test::fixtureToday());
}

void tst_ReportCommands::cancelledPromptOpensNothing_data()
{
    QTest::addColumn<QString>("command");

    QTest::newRow("period") << "mnuAudit";
    QTest::newRow("month") << "mnuMonthlyORRoomCases";
    QTest::newRow("year") << "mnuYearlyORRoomCases";
    QTest::newRow("month and number") << "mnuORLogbook";
    QTest::newRow("statistical report") << "mnuStat";
}

void tst_ReportCommands::cancelledPromptOpensNothing()
{
    QFETCH(QString, command);

    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    Fixture f(db, folder.path());
    // The period of an earlier report does not survive a cancelled prompt.
    f.session.reportPeriod =
        period(QStringLiteral("10/01/2026"), QStringLiteral("10/31/2026"), QStringLiteral("9"));
    auto procedures = std::make_shared<ProcedureRegistry>(db.procedures());
    int gathered = 0;
    procedures->add(QStringLiteral("STATION..sp_Or_MonthlyReport"), 2,
                    [&gathered](Database &, const ProcedureArgs &) -> Result<RowSet> {
                        ++gathered;
                        return RowSet();
                    });
    db.setProcedures(procedures);

    f.prompts.answer(std::nullopt);
    QVERIFY(!f.commands.run(f.request(command)));
    QCOMPARE(f.prompts.asked().size(), 1);
    QVERIFY(f.session.reportPeriod.isCancelled());
    QVERIFY(f.session.reportPeriod.startingNumber.isEmpty());
    QVERIFY(f.display.shown().isEmpty());
    QVERIFY(!f.service.current());
    QVERIFY(f.notifier.boxes().isEmpty());
    QCOMPARE(gathered, 0);
}

// --- The statistical report -------------------------------------------------------------------

void tst_ReportCommands::statisticalReportGathersItsSummaryFirst_data()
{
    QTest::addColumn<QString>("failure");

    QTest::newRow("gathered") << QString();
    QTest::newRow("gathering fails") << QStringLiteral("The summary table is locked.");
}

void tst_ReportCommands::statisticalReportGathersItsSummaryFirst()
{
    QFETCH(QString, failure);

    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    writeEchoReport(folder.path(), QStringLiteral("Census_SummaryByProcedure.rpt"), 4);
    Fixture f(db, folder.path());

    QList<QVariantList> calls;
    bool openedBefore = false;
    auto procedures = std::make_shared<ProcedureRegistry>(db.procedures());
    procedures->add(QStringLiteral("STATION..sp_Or_MonthlyReport"), 2,
                    [&](Database &, const ProcedureArgs &args) -> Result<RowSet> {
                        // Nothing may be opened before the summary is there.
                        openedBefore = openedBefore || f.service.current() != nullptr;
                        calls.append(args.values());
                        if (!failure.isEmpty())
                            return kestrel::failure(failure);
                        return RowSet();
                    });
    db.setProcedures(procedures);

    f.prompts.answer(period(QStringLiteral("11/01/2026"), QStringLiteral("11/30/2026")));
    const bool shown = f.commands.run(f.request(QStringLiteral("mnuStat")));

    QCOMPARE(calls.size(), 1);
    QVERIFY(!openedBefore);
    QCOMPARE(asTexts(calls.first()),
             (QStringList{QStringLiteral("11/01/2026"), QStringLiteral("11/30/2026")}));
    QCOMPARE(shown, failure.isEmpty());
    if (failure.isEmpty()) {
        QCOMPARE(f.display.shown().size(), 1);
        QCOMPARE(echoed(*f.display.last()),
                 kCompany + u'|' + kAddress + QStringLiteral("|11/01/2026|11/30/2026"));
        QCOMPARE(f.display.shown().first().options.title,
                 QStringLiteral("Operating Room Statistical Report"));
        QVERIFY(f.notifier.boxes().isEmpty());
    } else {
        QVERIFY(f.display.shown().isEmpty());
        QCOMPARE(f.notifier.boxes().size(), 1);
        QCOMPARE(f.notifier.lastText(), Notifier::errorBoxText(failure));
    }
}

// --- Access rights ----------------------------------------------------------------------------

void tst_ReportCommands::missingRightRefusedBeforeThePrompt_data()
{
    QTest::addColumn<QString>("employee");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("refusal"); // "" when the report opens

    const QString noDetailed =
        QStringLiteral("Sorry, you don't have access right to view Detailed Income Report.");
    const QString noSummary =
        QStringLiteral("Sorry, you don't have access right to view Summary Income Report.");
    QTest::newRow("detailed without 18") << kTrainee << "mnuDetailed" << noDetailed;
    QTest::newRow("summary without 21") << kTrainee << "mnuSummary" << noSummary;
    QTest::newRow("new format count without 18") << kTrainee << "mnuProcedureCount" << noDetailed;
    QTest::newRow("new format summary needs 18") << kTrainee << "mnuGUVOIncomeReport" << noDetailed;
    QTest::newRow("detailed with 18") << kClerk << "mnuDetailed"
                                      << "";
    QTest::newRow("old format summary with 21") << kClerk << "mnuOldFormatIncomeSummary"
                                                << "";
    QTest::newRow("audit needs no right") << kTrainee << "mnuAudit"
                                          << "";
}

void tst_ReportCommands::missingRightRefusedBeforeThePrompt()
{
    QFETCH(QString, employee);
    QFETCH(QString, command);
    QFETCH(QString, refusal);

    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    Fixture f(db, folder.path(), employee);
    const std::optional<ReportCommandEntry> entry = f.commands.entry(command);
    QVERIFY(entry);
    writeEchoReport(folder.path(), entry->parts.first().file, 2);

    // As the program wires them: the main window asks for the viewer, the commands run.
    MainMenu menu(f.session);
    connect(&menu, &MainMenu::windowRequested, &f.commands,
            [&f](const QString &form, const WindowRequest &request) {
                if (form == kReportViewer)
                    f.commands.run(request);
            });
    f.prompts.answer(period(QStringLiteral("11/01/2026"), QStringLiteral("11/30/2026")));
    QVERIFY(QMetaObject::invokeMethod(&menu, qPrintable(command), Qt::DirectConnection));

    if (refusal.isEmpty()) {
        QCOMPARE(f.prompts.asked().size(), 1);
        QCOMPARE(f.display.shown().size(), 1);
        QVERIFY(f.notifier.boxes().isEmpty());
    } else {
        QCOMPARE(f.notifier.boxes().size(), 1);
        QCOMPARE(f.notifier.lastText(), refusal);
        QVERIFY(f.prompts.asked().isEmpty());
        QVERIFY(f.display.shown().isEmpty());
    }
}

void tst_ReportCommands::catalogRightsAreTheMainWindows()
{
    // The catalog's rights are the ones the main window checks before it asks for the
    // viewer: someone without rights reaches exactly the commands that name none.
    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    Fixture f(db, folder.path(), kTrainee);
    MainMenu menu(f.session);
    QSignalSpy requested(&menu, &MainMenu::windowRequested);
    const QStringList commands = reportCommandNames();
    // Every report command of the Reports and Inquiry menus, each once.
    QCOMPARE(commands.size(), 49);
    QCOMPARE(QSet<QString>(commands.cbegin(), commands.cend()).size(), commands.size());
    for (const QString &command : commands) {
        requested.clear();
        QVERIFY2(QMetaObject::invokeMethod(&menu, qPrintable(command), Qt::DirectConnection),
                 qPrintable(command));
        const std::optional<ReportCommandEntry> entry = f.commands.entry(command);
        QVERIFY(entry);
        QVERIFY2(requested.size() == (entry->right.isEmpty() ? 1 : 0), qPrintable(command));
        if (!requested.isEmpty()) {
            QCOMPARE(requested.first().at(0).toString(), kReportViewer.toString());
            QCOMPARE(requested.first().at(1).value<WindowRequest>().command, command);
        }
    }
}

// --- The patient ------------------------------------------------------------------------------

void tst_ReportCommands::patientCommandsNeedAPatient_data()
{
    QTest::addColumn<QString>("command");

    QTest::newRow("ledger") << "mnuLedger";
    QTest::newRow("CSSR ledger") << "mnuPxCSSR";
    QTest::newRow("request status") << "mnuRS";
    QTest::newRow("counting sheet") << "mnuCountingSheet";
    QTest::newRow("laboratory form") << "mnuLabMicroscopic";
    QTest::newRow("patient data sheet") << "mnuPDS";
}

void tst_ReportCommands::patientCommandsNeedAPatient()
{
    QFETCH(QString, command);

    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    Fixture f(db, folder.path());
    writeEchoReport(folder.path(), f.commands.entry(command)->parts.first().file, 1);
    WindowRequest request = f.request(command);
    request.patient.IdNum = QStringLiteral("   "); // nothing selected, only the grid's blanks

    QVERIFY(!f.commands.run(request));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.lastText(), QStringLiteral("Please select patient."));
    QCOMPARE(f.notifier.boxes().first().title, QStringLiteral("Notification"));
    QVERIFY(f.display.shown().isEmpty());
}

void tst_ReportCommands::highlightedRowHandedByThePatientList()
{
    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    writeEchoReport(folder.path(), QStringLiteral("WHOSurgicalSafety.rpt"), 1);
    Fixture f(db, folder.path());
    f.session.CurrentPatient = demoPatient();
    WindowRequest request = f.request(QStringLiteral("mnuWHOSurgicalSafety"));
    // The list's highlighted row wins over the patient selected before.
    request.values.insert(kHighlightedIdNum.toString(), QStringLiteral(" 2026-0077B "));

    QVERIFY(f.commands.run(request));
    QCOMPARE(echoed(*f.display.last()), QStringLiteral("2026-0077B"));
    QCOMPARE(f.display.shown().first().options.title,
             QStringLiteral("WHO Surgical Safety Checklist"));
}

// --- Failures ---------------------------------------------------------------------------------

void tst_ReportCommands::missingReportFileIsNamed()
{
    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder; // holds no report at all
    Fixture f(db, folder.path());
    f.prompts.answer(period(QStringLiteral("11/01/2026"), QStringLiteral("11/30/2026")));

    QVERIFY(!f.commands.run(f.request(QStringLiteral("mnuORReport"))));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.boxes().first().title, QStringLiteral("Notification"));
    QVERIFY2(f.notifier.lastText().contains(QStringLiteral("ORReport.rpt")),
             qPrintable(f.notifier.lastText()));
    QVERIFY(f.display.shown().isEmpty());
}

void tst_ReportCommands::unknownCommandIsToldNotAvailable()
{
    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    Fixture f(db, folder.path());
    WindowRequest request = f.request(QStringLiteral("mnuNSD"));
    request.caption = QStringLiteral("NSD LogBook");

    QVERIFY(!f.commands.run(request));
    QCOMPARE(f.notifier.lastText(), QStringLiteral("NSD LogBook is not available yet."));
    QVERIFY(f.prompts.asked().isEmpty());
    QVERIFY(f.display.shown().isEmpty());
}

// Reports lay their pages out with fonts, which need the GUI application.
// --- The hospital's own reports --------------------------------------------------------------

void tst_ReportCommands::everyCommandOpensTheHospitalsReport_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("clientname");

    for (const QString &command : reportCommandNames())
        QTest::newRow(qPrintable(command)) << command << QString();
    QTest::newRow("mnuMonthly of QELM") << "mnuMonthly"
                                        << "QELM";
    QTest::newRow("mnuORLogbook of RYSEN") << "mnuORLogbook"
                                           << "RYSEN";
}

void tst_ReportCommands::everyCommandOpensTheHospitalsReport()
{
    QFETCH(QString, command);
    QFETCH(QString, clientname);

    // The definitions of the Reports folder, with the period and values the catalog gives
    // them, run against the demo hospital without a failure.
    KESTREL_OPEN_DEMO(db);
    Fixture f(db, QStringLiteral(KESTREL_REPORTS_DIR));
    f.session.hospital.clientname = clientname;
    f.session.CurrentPatient = demoPatient();
    const std::optional<ReportCommandEntry> entry = f.commands.entry(command);
    QVERIFY(entry);
    switch (entry->prompt) {
    case ReportPrompt::Month:
        f.prompts.answer(period(QStringLiteral("11/2026"), QStringLiteral("11/2026")));
        break;
    case ReportPrompt::Year:
        f.prompts.answer(period(QStringLiteral("2026"), QStringLiteral("2026")));
        break;
    default:
        f.prompts.answer(period(QStringLiteral("11/01/2026"), QStringLiteral("12/01/2026"),
                                QStringLiteral("1")));
        break;
    }

    const bool shown = f.commands.run(f.request(command));
    QVERIFY2(f.notifier.boxes().isEmpty(), qPrintable(f.notifier.lastText()));
    QVERIFY(shown);
    QCOMPARE(f.display.shown().size(), entry->parts.size());
    for (const RecordingReportDisplay::Shown &report : f.display.shown())
        QVERIFY(report.report->pageCount() >= 1);
}

QTEST_MAIN(tst_ReportCommands)
#include "tst_reportcommands.moc"
