// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The pharmacy transcription on the demo hospital, on every backend: each typed cell, the
// refusals of a save, orders transcribed, listed and revoked, a save that fails half-way, two
// workstations drawing assessment numbers at once, the revoke refusals and a revoke racing
// the pharmacy's processing on two connections; the windows opened from the pharmacy menu.
#include "charging/ChargingFixture.h"
#include "charging/requests/PharmacyMenu.h"
#include "charging/requests/Transcription.h"
#include "charging/requests/TranscriptionStatus.h"
#include "charging/ui/frmTranscription.h"
#include "charging/ui/frmTranscriptionStatus.h"
#include "shell/ui/ApplicationShell.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QTableWidget>
#include <QTest>
#include <QThread>

#include <latch>
#include <mutex>
#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(kestrel::CellAnswer)
Q_DECLARE_METATYPE(kestrel::TranscriptionStatus::Outcome)

namespace {

using Grid = TranscriptionGrid;

const QString kSeries = u"select AssessmentNum from BILLING..tbAssessmentNum where ID = 1"_s;
const QString kProcess = u"update STATION..tbNurseTranscription set RecordStatus = 'P', "
                         u"ProcessedBy = 'PHARMACY', ProcessedDate = getdate() "
                         u"where TransNum = :t and RecordStatus = ''"_s;

/// The posting fixture with the transcription of the first open inpatient stay, its look-ups
/// answering from the fixture's pick-list.
struct Fixture : test::PostingFixture
{
    explicit Fixture(Database &database)
        : PostingFixture(database)
    {
        lookup.setConnection(&database);
        lookup.Initialize_Classes();
        picker.InitConnect(&database);
        drugList.InitConnection(&database);
    }
    CellAnswer type(int row, int column, const QString &text, const QString &picked = {})
    {
        if (!picked.isEmpty())
            pickList.codes.enqueue(picked);
        return notes.acceptCell({row, column}, text);
    }
    bool line(int row, const QString &item, const QString &dosage, const QString &qty)
    {
        return type(row, Grid::Code, item) == CellAnswer::Accept &&
               type(row, Grid::Dosage, dosage, dosage) == CellAnswer::Accept &&
               type(row, Grid::Quantity, qty) == CellAnswer::Accept;
    }
    qint64 linesOfStay()
    {
        return number(u"select count(*) from STATION..tbNurseTranscription where IdNum = :id"_s,
                      {{u"id"_s, f.session.CurrentPatient.IdNum}});
    }
    /// The demo stay with a line in each state.
    bool selectDemoStay()
    {
        return selectStay(u"select S.IDNum, S.HospNum, S.RoomID, 'I' as PatientClass from "
                          u"PATIENT_DATA..tbPatient S where S.IDNum = (select min(IdNum) from "
                          u"STATION..tbNurseTranscription where RecordStatus = 'R')"_s);
    }

    clsCodeLookup lookup{context};
    clsDrugList drugList{context};
    Transcription notes{f.session, {&lookup, &picker, &drugList}};
};

TranscriptionStatusLine lineOf(const TranscriptionStatus &status, const QString &item,
                               const QString &assessment = {})
{
    for (const TranscriptionStatusLine &l : status.lines())
        if (l.item == item && (assessment.isEmpty() || l.assessment == assessment))
            return l;
    return {};
}

} // namespace

class tst_Transcription : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void cells_data();
    void cells();
    void saveRefusals_data();
    void saveRefusals();
    void transcribedListedAndRevoked();
    void failedSaveLeavesNothing();
    void twoWorkstationsDrawNumbers();
    void revokeOfTheList_data();
    void revokeOfTheList();
    void revokeRacesThePharmacy_data();
    void revokeRacesThePharmacy();
    void windowsFromThePharmacyMenu();
};

void tst_Transcription::cells_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed"); // on line 1, after PH1002; on line 2 for the code
    QTest::addColumn<CellAnswer>("answer");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("cell"); // the cell afterwards, or the line count for a code
    const CellAnswer ok = CellAnswer::Accept, keep = CellAnswer::RefuseAndKeep,
                     empty = CellAnswer::RefuseAndEmpty;
    const QString none;
    QTest::newRow("second medicine")
        << none << int(Grid::Code) << u"PH1001"_s << ok << none << u"2"_s;
    QTest::newRow("unknown code") << none << int(Grid::Code) << u"PH9999"_s << keep
                                  << u"Code does not exist."_s << u"1"_s;
    QTest::newRow("inactive medicine")
        << u"update INVENTORY..tbInvMaster set Status = 'I' where ItemID = 'PH1001'"_s
        << int(Grid::Code) << u"PH1001"_s << keep
        << u"Record is inactive. Please check build of items."_s << u"1"_s;
    QTest::newRow("same medicine") << none << int(Grid::Code) << u"ph1002"_s << keep
                                   << u"Can't request the same medicine."_s << u"1"_s;
    QTest::newRow("dosage") << none << int(Grid::Dosage) << u"BID"_s << ok << none << u"BID"_s;
    QTest::newRow("as needed") << none << int(Grid::Dosage) << u"prn"_s << ok << none << u"PRN"_s;
    QTest::newRow("dosage abc") << none << int(Grid::Dosage) << u"abc"_s << empty
                                << u"Dosage code does not exist."_s << none;
    QTest::newRow("three") << none << int(Grid::Quantity) << u"3"_s << ok << none << u"285.00"_s;
    QTest::newRow("zero") << none << int(Grid::Quantity) << u"0"_s << empty
                          << u"Quantity should be greater than zero(0)."_s << none;
    QTest::newRow("dose abc") << none << int(Grid::Quantity) << u"abc"_s << empty
                              << u"Quantity should be greater than zero(0)."_s << none;
    QTest::newRow("negative") << none << int(Grid::Quantity) << u"-2"_s << empty
                              << u"Quantity should be greater than zero(0)."_s << none;
}

void tst_Transcription::cells()
{
    QFETCH(QString, setup);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(CellAnswer, answer);
    QFETCH(QString, box);
    QFETCH(QString, cell);
    KESTREL_OPEN_DEMO(db);
    if (!setup.isEmpty())
        QVERIFY(db.exec(setup));
    Fixture r(db);
    QVERIFY(r.selectOpenStay());
    QVERIFY(r.notes.open());
    QCOMPARE(r.type(1, Grid::Code, u"PH1002"_s), CellAnswer::Accept);
    const bool code = column == Grid::Code;
    QCOMPARE(r.type(code ? 2 : 1, column, typed, typed.toUpper()), answer);
    QCOMPARE(r.f.notifier.lastText(), box);
    if (code)
        QCOMPARE(QString::number(r.notes.lines().size()), cell);
    else
        QCOMPARE(r.notes.grid()
                     .index(0, column == Grid::Quantity ? Grid::Amount : column)
                     .data()
                     .toString(),
                 cell);
}

void tst_Transcription::saveRefusals_data()
{
    QTest::addColumn<QStringList>("line"); // item, dosage, quantity
    QTest::addColumn<QString>("box");
    QTest::newRow("no line") << QStringList{}
                             << u"Please enter the medicines of the doctor's orders to "
                                u"transcribe."_s;
    QTest::newRow("no dosage") << QStringList{u"PH1002"_s, {}, u"2"_s}
                               << u"Please provide dosage for KETOROLAC 30 MG/ML AMPULE"_s;
    QTest::newRow("no quantity") << QStringList{u"PH1002"_s, u"BID"_s, {}}
                                 << u"Please enter quantity to request for KETOROLAC 30 MG/ML "
                                    u"AMPULE"_s;
}

void tst_Transcription::saveRefusals()
{
    QFETCH(QStringList, line);
    QFETCH(QString, box);
    KESTREL_OPEN_DEMO(db);
    Fixture r(db);
    QVERIFY(r.selectOpenStay());
    QVERIFY(r.notes.open());
    if (!line.isEmpty()) {
        QCOMPARE(r.type(1, Grid::Code, line.at(0)), CellAnswer::Accept);
        QVERIFY(line.at(1).isEmpty() ||
                r.type(1, Grid::Dosage, line.at(1), line.at(1)) == CellAnswer::Accept);
        QVERIFY(line.at(2).isEmpty() ||
                r.type(1, Grid::Quantity, line.at(2)) == CellAnswer::Accept);
    }
    const qint64 before = r.linesOfStay(), series = r.number(kSeries);
    QVERIFY(!r.notes.save());
    QCOMPARE(r.f.notifier.lastText(), box);
    QCOMPARE(r.linesOfStay(), before);
    QCOMPARE(r.number(kSeries), series);
    QVERIFY(r.notes.assessment().isEmpty());
}

void tst_Transcription::transcribedListedAndRevoked()
{
    KESTREL_OPEN_DEMO(db);
    Fixture r(db);
    QVERIFY(r.selectOpenStay());
    const QString id = r.f.session.CurrentPatient.IdNum;
    QVERIFY(r.notes.open());
    QVERIFY(r.notes.header().patient.contains(
        r.f.session.CurrentPatient.PatientName.section(u',', 0, 0)));
    QVERIFY(r.line(1, u"PH1002"_s, u"Q6"_s, u"3"_s));
    QVERIFY(r.line(2, u"PH1001"_s, u"TID"_s, u"2"_s));
    QVERIFY(r.line(3, u"PH1007"_s, u"OD"_s, u"1"_s));
    QCOMPARE(r.type(2, Grid::Remarks, u" after the operation "_s), CellAnswer::Accept);
    // "&Delete" takes the third line off once the user confirms.
    r.f.notifier.answer({true});
    r.notes.deleteLine(3);
    QCOMPARE(r.notes.lines().size(), 2);
    const qint64 series = r.number(kSeries);
    QVERIFY(r.notes.save());
    QCOMPARE(r.f.notifier.lastText(), u"Transcription successfully saved."_s);
    QCOMPARE(r.notes.assessment(), u"AS%1"_s.arg(series));
    QCOMPARE(r.number(kSeries), series + 1);
    QVERIFY(r.notes.lines().isEmpty());
    const Binds saved{{u"id"_s, id}, {u"as"_s, r.notes.assessment()}};
    QCOMPARE(r.rows(u"select HospNum, PatientClass, ItemID, Dosage, Frequency, Quantity, Amount, "
                    u"Remarks, RevenueID, UserID, StationID, SentFlag, RoomID, RecordStatus, "
                    u"DoctorID from STATION..tbNurseTranscription where IdNum = :id and "
                    u"AssessmentNum = :as order by TransNum"_s,
                    saved),
             u"%1|I|PH1002|Q6|EVERY 6 HRS|3|285||PH|2902|OR|Y|%2||%3\n"
             u"%1|I|PH1001|TID|3X A DAY|2|370|after the operation|PH|2902|OR|Y|%2||%3"_s.arg(
                 r.f.session.CurrentPatient.HospNum, r.f.session.CurrentPatient.RoomID,
                 r.rows(u"select AttendingDr1 from PATIENT_DATA..tbPatient "
                        u"where IDNum = :id"_s,
                        saved)));

    // Listed, revoked, and a revoke of a line the pharmacy processed refused.
    TranscriptionStatus status(r.f.session);
    QVERIFY(status.load(id));
    const QString as = r.notes.assessment();
    const TranscriptionStatusLine ketorolac = lineOf(status, u"PH1002"_s, as);
    QCOMPARE(ketorolac.status, u"PENDING"_s);
    QCOMPARE(ketorolac.amount, u"285.00"_s);
    QVERIFY(db.exec(kProcess, {{u"t"_s, lineOf(status, u"PH1001"_s, as).transNum}}));
    r.f.notifier.answer({true});
    QCOMPARE(status.revoke(int(status.lines().indexOf(ketorolac))),
             TranscriptionStatus::Outcome::Revoked);
    QCOMPARE(lineOf(status, u"PH1002"_s, as).status, u"REVOKED"_s);
    QCOMPARE(lineOf(status, u"PH1001"_s, as).status, u"PROCESSED BY PHARMACY"_s);
    QCOMPARE(status.revoke(int(status.lines().indexOf(lineOf(status, u"PH1001"_s, as)))),
             TranscriptionStatus::Outcome::Refused);
    QCOMPARE(r.f.notifier.lastText(),
             u"Can't Revoke this Transcription! It is already been PROCESSED BY the PHARMACY."_s);
}

void tst_Transcription::failedSaveLeavesNothing()
{
    KESTREL_OPEN_DEMO(db);
    Fixture r(db);
    QVERIFY(r.selectOpenStay());
    TranscriptionBatch batch;
    batch.hospNum = r.f.session.CurrentPatient.HospNum;
    batch.IdNum = r.f.session.CurrentPatient.IdNum;
    batch.patientClass = u"I"_s;
    batch.now = test::fixtureNow();
    RequestLine good, bad;
    good.item = u"PH1002"_s;
    good.quantity = u"1"_s;
    bad.item = u"PH1001"_s; // a quantity the database refuses, after the first line went in
    const qint64 before = r.linesOfStay(), series = r.number(kSeries);
    auto saved = TranscriptionStore(db).save(batch, {good, bad});
    QVERIFY(!saved);
    QVERIFY2(saved.error().message.contains(u"PH1001"_s), qPrintable(saved.error().message));
    QCOMPARE(r.linesOfStay(), before);
    QCOMPARE(r.number(kSeries), series);
}

void tst_Transcription::twoWorkstationsDrawNumbers()
{
    constexpr int kSaves = 15;
    KESTREL_OPEN_DEMO(db);
    Fixture r(db);
    QVERIFY(r.selectOpenStay());
    TranscriptionBatch batch;
    batch.IdNum = r.f.session.CurrentPatient.IdNum;
    batch.now = test::fixtureNow();
    RequestLine line;
    line.item = u"PH1002"_s;
    line.quantity = u"1"_s;
    QList<RequestLine> lines{line, line};
    lines[1].item = u"PH1005"_s;
    const qint64 before = r.linesOfStay(), series = r.number(kSeries);
    QStringList numbers[2], failures;
    std::mutex failed;
    std::vector<std::thread> workstations;
    for (int w = 0; w < 2; ++w)
        workstations.emplace_back([&, w] {
            auto own = Database::open((*dbResult)->settings());
            QString why = own ? QString() : own.error().message;
            if (own) {
                (*own)->setProcedures(db.procedureRegistry());
                TranscriptionStore store(**own);
                for (int i = 0; i < kSaves && why.isEmpty(); ++i) {
                    auto saved = store.save(batch, lines);
                    saved ? void(numbers[w] << *saved) : void(why = saved.error().message);
                }
            }
            std::lock_guard lock(failed);
            if (!why.isEmpty())
                failures << why;
        });
    for (std::thread &t : workstations)
        t.join();
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; "_s)));
    QSet<QString> all(numbers[0].cbegin(), numbers[0].cend());
    all.unite(QSet<QString>(numbers[1].cbegin(), numbers[1].cend()));
    QCOMPARE(all.size(), 2 * kSaves);
    QCOMPARE(r.number(kSeries), series + 2 * kSaves);
    QCOMPARE(r.linesOfStay(), before + 2 * 2 * kSaves);
}

void tst_Transcription::revokeOfTheList_data()
{
    QTest::addColumn<QString>("item");      // of the demo stay's lines
    QTest::addColumn<QString>("meanwhile"); // done after the list was read
    QTest::addColumn<bool>("yes");
    QTest::addColumn<TranscriptionStatus::Outcome>("outcome");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("status"); // afterwards
    using O = TranscriptionStatus::Outcome;
    const QString revoked = u"Can't Revoke this Transcription! It is already been REVOKED."_s;
    const QString processed =
        u"Can't Revoke this Transcription! It is already been PROCESSED BY the PHARMACY."_s;
    QTest::newRow("pending") << u"PH1002"_s << QString() << true << O::Revoked
                             << u"Are you sure to revoke this transcription?"_s << u"REVOKED"_s;
    QTest::newRow("answered No") << u"PH1002"_s << QString() << false << O::Refused
                                 << u"Are you sure to revoke this transcription?"_s << u"PENDING"_s;
    QTest::newRow("already revoked")
        << u"PH1006"_s << QString() << true << O::Refused << revoked << u"REVOKED"_s;
    QTest::newRow("processed") << u"PH1001"_s << QString() << true << O::Refused << processed
                               << u"PROCESSED BY PHARMACY"_s;
    QTest::newRow("processed since the list was read")
        << u"PH1007"_s << kProcess << true << O::NoLongerPending << processed
        << u"PROCESSED BY PHARMACY"_s;
    QTest::newRow("revoked elsewhere since the list was read")
        << u"PH1007"_s
        << u"update STATION..tbNurseTranscription set RecordStatus = 'R' where TransNum = :t"_s
        << true << O::NoLongerPending << revoked << u"REVOKED"_s;
}

void tst_Transcription::revokeOfTheList()
{
    QFETCH(QString, item);
    QFETCH(QString, meanwhile);
    QFETCH(bool, yes);
    QFETCH(TranscriptionStatus::Outcome, outcome);
    QFETCH(QString, box);
    QFETCH(QString, status);
    KESTREL_OPEN_DEMO(db);
    Fixture r(db);
    QVERIFY(r.selectDemoStay());
    TranscriptionStatus list(r.f.session);
    QVERIFY(list.load(r.f.session.CurrentPatient.IdNum));
    QCOMPARE(list.lines().size(), 4);
    const TranscriptionStatusLine line = lineOf(list, item);
    QList<TranscriptionStatusLine> others = list.lines();
    others.removeOne(line);
    QVERIFY(meanwhile.isEmpty() || db.exec(meanwhile, {{u"t"_s, line.transNum}}));
    r.f.notifier.answer({yes});
    QCOMPARE(list.revoke(int(list.lines().indexOf(line))), outcome);
    QCOMPARE(r.f.notifier.lastText(), box);
    QCOMPARE(lineOf(list, item).status, status);
    // The stay's other lines are as they were.
    QList<TranscriptionStatusLine> after = list.lines();
    after.removeOne(lineOf(list, item));
    QCOMPARE(after, others);
}

void tst_Transcription::revokeRacesThePharmacy_data()
{
    QTest::addColumn<QString>("pharmacy");
    QTest::newRow("pharmacy commits while the revoke waits") << u"commit"_s;
    QTest::newRow("pharmacy gives up while the revoke waits") << u"rollback"_s;
    QTest::newRow("both at once") << u"race"_s;
}

void tst_Transcription::revokeRacesThePharmacy()
{
    QFETCH(QString, pharmacy);
    using O = TranscriptionStatus::Outcome;
    KESTREL_OPEN_DEMO(db);
    Fixture r(db);
    QVERIFY(r.selectDemoStay());
    TranscriptionStatus list(r.f.session);
    QVERIFY(list.load(r.f.session.CurrentPatient.IdNum));
    const TranscriptionStatusLine line = lineOf(list, u"PH1002"_s);
    // The pharmacy, on its own connection, processes the line: holding it a moment before it
    // decides, or as soon as both are ready.
    std::latch ready(2);
    int processed = -1;
    std::thread other([&] {
        auto own = Database::open((*dbResult)->settings());
        if (!own)
            return ready.count_down();
        const bool holds = pharmacy != u"race";
        std::optional<Transaction> tx;
        if (holds)
            tx.emplace((*own)->transaction(TransactionMode::Write));
        else
            ready.arrive_and_wait();
        auto done = (*own)->exec(kProcess, {{u"t"_s, line.transNum}});
        if (holds) {
            ready.arrive_and_wait();
            QThread::msleep(400);
            pharmacy == u"commit" ? void(tx->commit()) : tx->rollback();
        }
        processed = done && pharmacy != u"rollback" ? *done : 0;
    });
    r.f.notifier.answer({true});
    ready.arrive_and_wait();
    const O outcome = list.revoke(int(list.lines().indexOf(line)));
    other.join();
    QVERIFY(processed >= 0);
    // Exactly one of them had the line; the list shows who.
    QCOMPARE(outcome, processed == 1 ? O::NoLongerPending : O::Revoked);
    QCOMPARE(lineOf(list, u"PH1002"_s).status,
             processed == 1 ? u"PROCESSED BY PHARMACY"_s : u"REVOKED"_s);
    if (pharmacy != u"race")
        QCOMPARE(processed, pharmacy == u"commit" ? 1 : 0);
    QCOMPARE(r.number(u"select count(*) from STATION..tbNurseTranscription where TransNum = :t "
                      u"and ProcessedBy <> '' and RevokedBy <> ''"_s,
                      {{u"t"_s, line.transNum}}),
             0);
}

void tst_Transcription::windowsFromThePharmacyMenu()
{
    KESTREL_OPEN_DEMO(db);
    Fixture r(db);
    QVERIFY(r.selectDemoStay());
    PharmacyMenu menu(r.f.session);
    QStringList asked;
    const auto opener = [&](const QString &form, const WindowRequest &request) {
        asked << form + u'|' + request.values.value(u"IdNum"_s).toString();
    };
    menu.setWindowOpener(opener);
    menu.setMode(u"CS"_s);
    QVERIFY(!menu.buttonVisible(0));
    menu.setMode(u"PH"_s);
    QVERIFY(menu.buttonVisible(0));
    menu.choose(0);
    frmTranscription notes(r.f.session, {&r.lookup, &r.picker, &r.drugList});
    notes.presenter().setWindowOpener(opener);
    QVERIFY(notes.presenter().open());
    QVERIFY(notes.findChild<QLineEdit *>(u"txtPatient"_s)->text().contains(u", "_s));
    QVERIFY(notes.findChild<QPlainTextEdit *>(u"txtOrders"_s)
                ->toPlainText()
                .contains(u"MIDAZOLAM 2 MG IV ON CALL TO THE OR."_s));
    notes.presenter().listTranscriptions();
    const QString id = r.f.session.CurrentPatient.IdNum;
    QCOMPARE(asked, (QStringList{u"frmTranscription|"_s, u"frmTranscriptionStatus|"_s + id}));
    frmTranscriptionStatus status(r.f.session);
    QVERIFY(status.presenter().load(id));
    QCOMPARE(status.grid().rowCount(), 4);
    // The program itself opens both.
    ApplicationShell shell(ApplicationShell::Options{});
    for (const QString &form : {u"frmTranscription"_s, u"frmTranscriptionStatus"_s})
        QVERIFY2(shell.window().windows().contains(form), qPrintable(form));
}

QTEST_MAIN(tst_Transcription)
#include "tst_transcription.moc"
