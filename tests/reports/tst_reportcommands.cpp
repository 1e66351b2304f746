// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The main window's report commands on the demo hospital: the prompt, the values the report
// receives, the summary procedure, the rights, a cancelled prompt, no patient, the catalog.
#include "core/db/Database.h"
#include "reports/ReportCommands.h"
#include "reports/ReportDefinition.h"
#include "reports/ReportService.h"
#include "shell/MainMenu.h"
#include "support/MainWindowFixture.h"
#include "support/PdfText.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <optional>

using namespace kestrel;
using kestrel::test::FixtureUser;
using kestrel::test::RecordingNotifier;
using kestrel::test::RecordingReportDisplay;

namespace {
const QString kCompany = QStringLiteral("KESTREL GENERAL HOSPITAL");
const QString kAddress = QStringLiteral("12 Mabini St., Kestrel City");
const QString kSupervisor = QStringLiteral("2901");
const QString kTrainee = QStringLiteral("2908"); // no rights

/// The report prompts as a script: what each prompt was asked, and the answers given in order
/// (cancelled once they run out).
class ScriptedPrompts : public Dialogs
{
public:
    ValidatedUser validateUser(bool) override { return {}; }
    std::optional<ReportPeriod> askPeriod(const QString &caption, bool allowFutureDate,
                                          const QDate &serverDate) override
    {
        return ask(u"period " + caption + (allowFutureDate ? u" (ahead)" : u""), serverDate);
    }
    std::optional<ReportPeriod> askDate(int setMode, const QDate &serverDate) override
    {
        return ask(u"date " + QString::number(setMode), serverDate);
    }
    std::optional<ReportPeriod> askMonth(const QDate &serverDate) override
    {
        return ask(QStringLiteral("month"), serverDate);
    }
    QList<std::optional<ReportPeriod>> answers;
    QStringList asked; ///< "period CAPTION", "date MODE" or "month"
    QList<QDate> serverDates;

private:
    std::optional<ReportPeriod> ask(const QString &prompt, const QDate &serverDate)
    {
        asked << prompt;
        serverDates << serverDate;
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
};

/// A report definition that prints each of its `count` text fields in brackets on a line of
/// its own, so a test reads back exactly what the command handed the report.
void writeEchoReport(const QString &folder, const QString &file, int count)
{
    QString text = QStringLiteral("[report]\ntitle = Echo\n[parameters]\n");
    QString fields;
    for (int i = 1; i <= count; ++i) {
        text += QStringLiteral("p%1 = text\n").arg(i);
        fields += QStringLiteral("<p>[{{{p%1}}}]</p>\n").arg(i);
    }
    QFile out(QDir(folder).filePath(file));
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(QString(text + u"[template]\n" + fields).toUtf8());
}

/// What an echo report printed, its fields joined by "|": as pdftotext reads its PDF, or the
/// laid-out text without pdftotext.
QString echoed(const RenderedReport &report)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("echo.pdf"));
    QString printed = report.exportPdf(pdf) ? test::pdfText(pdf) : QString();
    if (printed.isEmpty())
        printed = report.document().toPlainText();
    static const QRegularExpression field(QStringLiteral(R"(^\s*\[(.*)\]\s*$)"),
                                          QRegularExpression::MultilineOption);
    QStringList fields;
    for (auto it = field.globalMatch(printed); it.hasNext();)
        fields << it.next().captured(1);
    return fields.join(u'|');
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
    void promptAndValuesAsTheCatalogSays_data();
    void promptAndValuesAsTheCatalogSays();
    void cancelledPromptOpensNothing_data();
    void cancelledPromptOpensNothing();
    void statisticalReportGathersItsSummaryFirst_data();
    void statisticalReportGathersItsSummaryFirst();
    void catalogRightsAreTheMainWindows();
    void patientCommandsNeedAPatient();
    void highlightedRowHandedByThePatientList();
    void everyPartIsAReportOfTheFolder();
};

void tst_ReportCommands::promptAndValuesAsTheCatalogSays_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("clientname");
    QTest::addColumn<bool>("logbookOnePage");
    QTest::addColumn<QString>("prompt");     // what the prompt was asked; "" for none
    QTest::addColumn<QStringList>("answer"); // from, to, starting number
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("values"); // one "|"-joined list per file
    QTest::addColumn<bool>("groupTree");
    QTest::addColumn<bool>("printed");
    // One row per kind of prompt, of value and of showing, not one per command.
    const auto row = [](const char *name, const char *command, const char *client, bool onePage,
                        const char *prompt, const QStringList &answer, const QStringList &files,
                        const QStringList &values, bool groupTree = false, bool printed = false) {
        QTest::newRow(name) << QString(command) << QString(client) << onePage << QString(prompt)
                            << answer << files << values << groupTree << printed;
    };
    const QStringList november{"11/01/2026", "11/30/2026"};
    const QString both = november.join(u'|');
    const QString headings = kCompany + u'|' + kAddress;
    row("period, headings and a fixed text", "mnuAudit", "", false,
        "period Enter Report Date for Audit Report", november, {"Audit_report.RPT"},
        {both + u'|' + headings + "|OPERATING ROOM AUDIT REPORT"});
    row("station and the amounts switch", "mnuDetailed", "", false,
        "period Enter Report Date for Income Report", november,
        {"Nurse_Station_Income_Detailed.RPT"}, {both + "|OR|true"});
    row("a trailing empty text is still passed", "mnuMedsSummary", "", false,
        "period Enter Report Date for Post Charged Meds Summary", november, {"MedSummary.RPT"},
        {both + "|O|"});
    row("the schedule looks ahead", "mnuScheduleofoperations", "", false,
        "period Enter Report Date  (ahead)", november, {"ScheduleofOperation.rpt"}, {both});
    // Numbers trimmed, the admission date as a date, no discharge yet.
    row("ledger: the patient's sixteen values", "mnuLedger", "", false, "", {},
        {"Patient_Ledger.RPT"},
        {headings + "||PATIENT'S OR LEDGER|DELA CRUZ, JUAN SANTOS|4 Rizal Ave., Kestrel City|"
                    "000123|PERSONAL|2026-0042|000123|11/28/2026||312-A|000123|2026-0042|OR"});
    row("monthly report with its group tree", "mnuMonthly", "", false,
        "period Enter Report Date for Monthly Report", november, {"MonthlyReport.RPT"}, {both},
        true);
    row("OR logbook: month and number, both parts printed", "mnuORLogbook", "", false, "month",
        {"12/01/2026", "12/31/2026", "17"}, {"OR Logbook_Part1.rpt", "OR Logbook_Part2.rpt"},
        {"12/01/2026|12/31/2026|17|TEST, USER 2901", "12/01/2026|12/31/2026|17"}, false, true);
    row("OR logbook of RYSEN: the daily logbook over a period", "mnuORLogbook", "RYSEN", true,
        "period ", november, {"DailyORLogbook.rpt"}, {both}, false, true);
    row("a month and the employee's code", "mnuMonthlyORRoomCases", "", false, "date 1",
        {"11/2026", "11/2026"}, {"MonthlySummaryORDRCases.rpt"}, {"11/2026|2901"});
    row("a year picked is the whole year", "mnuYearlyORRoomCases", "", false, "date 2",
        {"2025", "2025"}, {"YearlyReport_OrCases.rpt"}, {"01/01/2025|12/31/2025"});
    row("the server date", "mnuAdmCensus", "", false, "", {}, {"CensusByStation_TWY.RPT"},
        {"12/01/2026|"});
    row("the selected patient stands for the highlighted row", "mnuPDS", "", false, "", {},
        {"ORAdmDataSheet.rpt"}, {"2026-0042|" + kAddress});
}

void tst_ReportCommands::promptAndValuesAsTheCatalogSays()
{
    QFETCH(QString, command);
    QFETCH(QString, clientname);
    QFETCH(bool, logbookOnePage);
    QFETCH(QString, prompt);
    QFETCH(QStringList, answer);
    QFETCH(QStringList, files);
    QFETCH(QStringList, values);
    QFETCH(bool, groupTree);
    QFETCH(bool, printed);
    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    const auto count = [](const QString &joined) {
        return joined.isEmpty() ? 0 : int(joined.count(u'|')) + 1;
    };
    for (int i = 0; i < files.size(); ++i)
        writeEchoReport(folder.path(), files.at(i), count(values.at(i)));
    Fixture f(db, folder.path());
    f.session.hospital.clientname = clientname;
    if (logbookOnePage) {
        QVERIFY(db.exec(u"INSERT INTO STATION..tbNurseSetup (Field, value) "
                        u"VALUES ('ORLogbookOnePage', '1')"));
        f.session.settings.LoadParameters(db, f.session.hospital);
        QVERIFY(f.session.settings.LogbookOnePage());
    }
    f.session.CurrentPatient = demoPatient();
    if (!answer.isEmpty())
        f.prompts.answers << ReportPeriod{answer.value(0), answer.value(1), answer.value(2)};
    const WindowRequest request = f.request(command);
    QVERIFY(f.commands.run(request));
    QVERIFY2(f.notifier.boxes().isEmpty(), qPrintable(f.notifier.lastText()));
    QCOMPARE(f.prompts.asked, prompt.isEmpty() ? QStringList() : QStringList{prompt});
    // The pickers start at the server's date, not the workstation's.
    for (const QDate &date : std::as_const(f.prompts.serverDates))
        QCOMPARE(date, test::fixtureToday());
    // Every value reaches a field of the report; none is built beyond them.
    const std::optional<ReportCommandEntry> entry = f.commands.entry(command);
    QVERIFY(entry && entry->parts.size() == files.size());
    for (int i = 0; i < files.size(); ++i) {
        QCOMPARE(entry->parts.at(i).file, files.at(i));
        QCOMPARE(f.commands.values(entry->parts.at(i), request).size(), count(values.at(i)));
    }
    const QList<RecordingReportDisplay::Shown> &shown = f.display.shown();
    QCOMPARE(shown.size(), files.size());
    for (int i = 0; i < shown.size(); ++i) {
        QCOMPARE(echoed(*shown.at(i).report), values.at(i));
        QCOMPARE(shown.at(i).kind, printed ? RecordingReportDisplay::Kind::Printed
                                           : RecordingReportDisplay::Kind::Viewer);
        if (!printed)
            QVERIFY(shown.at(i).options.showGroupTree == groupTree &&
                    !shown.at(i).options.disablePrintExport);
    }
}

void tst_ReportCommands::cancelledPromptOpensNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("period") << "mnuAudit";
    QTest::newRow("month") << "mnuMonthlyORRoomCases";
    QTest::newRow("month and number") << "mnuORLogbook";
}

void tst_ReportCommands::cancelledPromptOpensNothing()
{
    QFETCH(QString, command);
    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    Fixture f(db, folder.path());
    // The period of an earlier report does not survive a cancelled prompt.
    f.session.reportPeriod = ReportPeriod{QStringLiteral("10/01/2026"),
                                          QStringLiteral("10/31/2026"), QStringLiteral("9")};
    f.prompts.answers.append(std::nullopt);
    QVERIFY(!f.commands.run(f.request(command)));
    QCOMPARE(f.prompts.asked.size(), 1);
    QVERIFY(f.session.reportPeriod.isCancelled());
    QVERIFY(f.session.reportPeriod.startingNumber.isEmpty());
    QVERIFY(f.display.shown().isEmpty() && !f.service.current() && f.notifier.boxes().isEmpty());
}

void tst_ReportCommands::statisticalReportGathersItsSummaryFirst_data()
{
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("failure");
    QTest::newRow("gathered") << true << QString();
    QTest::newRow("gathering fails") << true << QStringLiteral("The summary table is locked.");
    QTest::newRow("nothing gathered when the prompt is cancelled") << false << QString();
}

void tst_ReportCommands::statisticalReportGathersItsSummaryFirst()
{
    QFETCH(bool, answered);
    QFETCH(QString, failure);
    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    writeEchoReport(folder.path(), QStringLiteral("Census_SummaryByProcedure.rpt"), 4);
    Fixture f(db, folder.path());
    QStringList calls;
    bool openedBefore = false;
    auto procedures = std::make_shared<ProcedureRegistry>(db.procedures());
    procedures->add(
        QStringLiteral("STATION..sp_Or_MonthlyReport"), 2,
        [&](Database &, const ProcedureArgs &args) -> Result<RowSet> {
            // Nothing may be opened before the summary is there.
            openedBefore = openedBefore || f.service.current() != nullptr;
            calls << args.values().value(0).toString() + u'|' + args.values().value(1).toString();
            return failure.isEmpty() ? Result<RowSet>(RowSet()) : kestrel::failure(failure);
        });
    db.setProcedures(procedures);
    if (answered)
        f.prompts.answers << ReportPeriod{QStringLiteral("11/01/2026"),
                                          QStringLiteral("11/30/2026"), QString()};
    const bool shown = f.commands.run(f.request(QStringLiteral("mnuStat")));
    QCOMPARE(calls,
             answered ? QStringList{QStringLiteral("11/01/2026|11/30/2026")} : QStringList());
    QVERIFY(!openedBefore);
    QCOMPARE(shown, answered && failure.isEmpty());
    QCOMPARE(f.display.shown().size(), shown ? 1 : 0);
    QCOMPARE(f.notifier.boxes().size(), failure.isEmpty() ? 0 : 1);
    QCOMPARE(f.notifier.lastText(),
             failure.isEmpty() ? QString() : Notifier::errorBoxText(failure));
    if (shown)
        QCOMPARE(echoed(*f.display.last()),
                 kCompany + u'|' + kAddress + QStringLiteral("|11/01/2026|11/30/2026"));
}

void tst_ReportCommands::catalogRightsAreTheMainWindows()
{
    // The catalog's rights are the ones the main window checks before it asks for the viewer
    // (tst_mainmenu): someone without rights reaches exactly the commands that name none.
    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    Fixture f(db, folder.path(), kTrainee);
    MainMenu menu(f.session);
    QSignalSpy requested(&menu, &MainMenu::windowRequested);
    const QStringList commands = reportCommandNames();
    for (const QString &command : commands) {
        requested.clear();
        QVERIFY2(QMetaObject::invokeMethod(&menu, qPrintable(command), Qt::DirectConnection),
                 qPrintable(command));
        const std::optional<ReportCommandEntry> entry = f.commands.entry(command);
        QVERIFY2(entry && requested.size() == (entry->right.isEmpty() ? 1 : 0),
                 qPrintable(command));
        if (!requested.isEmpty()) {
            QCOMPARE(requested.first().at(0).toString(), kReportViewer.toString());
            QCOMPARE(requested.first().at(1).value<WindowRequest>().command, command);
        }
    }
}

void tst_ReportCommands::patientCommandsNeedAPatient()
{
    const QString command = QStringLiteral("mnuLedger");
    KESTREL_OPEN_DEMO(db);
    QTemporaryDir folder;
    Fixture f(db, folder.path());
    writeEchoReport(folder.path(), f.commands.entry(command)->parts.first().file, 1);
    WindowRequest request = f.request(command);
    request.patient.IdNum = QStringLiteral("   "); // nothing selected, only the grid's blanks
    QVERIFY(!f.commands.run(request));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.lastText(), QStringLiteral("Please select patient."));
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
}

void tst_ReportCommands::everyPartIsAReportOfTheFolder()
{
    // Every command as most hospitals run it, and where a client or the station changes it.
    const QList<ReportCatalogContext> hospitals{
        {}, {QStringLiteral("QELM"), false}, {QStringLiteral("RYSEN"), false}, {QString(), true}};
    for (const QString &command : reportCommandNames()) {
        for (const ReportCatalogContext &hospital : hospitals) {
            const std::optional<ReportCommandEntry> entry = reportCommand(command, hospital);
            QVERIFY(entry && !entry->parts.isEmpty());
            for (const ReportPart &part : entry->parts) {
                auto def = ReportDefinition::load(
                    findReportFile(QStringLiteral(KESTREL_REPORTS_DIR), part.file));
                QVERIFY2(def, qPrintable(command + u": " + part.file));
                // A value beyond the last field would be lost on the way to the report.
                QVERIFY2(def->parameters.size() >= part.values.size(),
                         qPrintable(command + u": " + part.file + u" has too few fields"));
            }
        }
    }
}

QTEST_MAIN(tst_ReportCommands)
#include "tst_reportcommands.moc"
