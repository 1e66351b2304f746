// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The admitted patients whose confirmed operation the OR has not checked yet: the hospital
// database's list, its search, and tagging a patient as checked, on every backend.
#include "patients/AdmittedPatients.h"
#include "shell/db/Database.h"
#include "shell/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;

namespace {

const QString kAsk =
    QStringLiteral("Are you sure you want to tag this patient as already checked?");
const QString kNotSaved = QStringLiteral("Transaction was not saved! \n") + kAsk;
const QString kChooseFirst =
    QStringLiteral("Please select checked admitted patients with schedule.");
const QString kSuccess = QStringLiteral("Successful! Patient was removed from the list.");

QStringList column(const RowSet &rows, const QString &name)
{
    QStringList values;
    for (const Row &r : rows)
        values << r.trimmed(name);
    return values;
}

QStringList listed(Database &db, const QString &text)
{
    auto rows = db.call(u"SCHEDULE..sp_List_ConfirmedORSchedule", {QStringLiteral("9"), text});
    if (!rows)
        qWarning("%s", qPrintable(rows.error().message));
    return rows ? column(*rows, QStringLiteral("TransNum")) : QStringList{QStringLiteral("?")};
}

qint64 count(Database &db, QStringView sql, const Binds &binds = {})
{
    auto n = db.scalar(sql, binds);
    return n ? n->toLongLong() : -1;
}

bool run(Database &db, QStringView sql, const Binds &binds = {})
{
    auto done = db.exec(sql, binds);
    if (!done)
        qWarning("%s", qPrintable(done.error().message));
    return done.has_value();
}

// A stay of a patient of our own and its confirmed operation.
bool addScheduledStay(Database &db, const QString &transNum, const QString &idNum,
                      const QString &lastName, const QVariant &discharged,
                      const QString &stayStatus, const QString &scheduleStatus,
                      const QString &checked)
{
    const QString hospNum = QStringLiteral("H") + idNum;
    const Binds binds{{QStringLiteral("trans"), transNum},
                      {QStringLiteral("id"), idNum},
                      {QStringLiteral("hosp"), hospNum},
                      {QStringLiteral("last"), lastName},
                      {QStringLiteral("dcr"), discharged},
                      {QStringLiteral("stay"), stayStatus},
                      {QStringLiteral("status"), scheduleStatus},
                      {QStringLiteral("checked"), checked},
                      {QStringLiteral("start"), QDateTime(QDate(2026, 12, 1), QTime(15, 0))}};
    return run(db,
               u"insert into PATIENT_DATA..tbMaster (HospNum, LastName, FirstName) "
               u"values (:hosp, :last, 'TESTER')",
               binds) &&
           run(db,
               u"insert into PATIENT_DATA..tbPatient (IDNum, HospNum, AdmDate, DcrDate, "
               u"RecordStatus) values (:id, :hosp, :start, :dcr, :stay)",
               binds) &&
           run(db,
               u"insert into SCHEDULE..tbORScheduleDetails (TransNum, IDNum, HospNum, "
               u"PatientClass, StartTime, RecordStatus, ORNotified) values (:trans, :id, :hosp, "
               u"'I', :start, :status, :checked)",
               binds);
}

} // namespace

class tst_AdmittedPatients : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void listsAdmittedPatientsNotYetChecked();
    void searchMatchesNameAdmissionOrHospitalNumber_data();
    void searchMatchesNameAdmissionOrHospitalNumber();
    void onlyStaysStillInWithAConfirmedUncheckedOperation();
    void otherListKindsAreRefused();

    void positionText();
    void tagChecked_data();
    void tagChecked();
};

void tst_AdmittedPatients::listsAdmittedPatientsNotYetChecked()
{
    KESTREL_OPEN_DEMO(db);
    auto rows = db.call(u"SCHEDULE..sp_List_ConfirmedORSchedule", {QStringLiteral("9"), QString()});
    QVERIFY2(rows, qPrintable(rows ? QString() : rows.error().message));
    QCOMPARE(rows->columnNames().size(), 10);

    // What the hospital's tables hold, asked another way: earliest operation first.
    auto waiting = db.select(
        u"select S.TransNum from SCHEDULE..tbORScheduleDetails S where S.RecordStatus = 'C' "
        u"and S.ORNotified = '' and S.IDNum in (select IDNum from PATIENT_DATA..tbPatient "
        u"where DcrDate is null and RecordStatus = '') order by S.StartTime, S.TransNum");
    QVERIFY(waiting);
    QVERIFY(waiting->count() > 0);
    QCOMPARE(column(*rows, QStringLiteral("TransNum")),
             column(*waiting, QStringLiteral("TransNum")));

    // The demo hospital has patients still in whose operation was checked already, so the
    // list leaves some confirmed operations out.
    QVERIFY(count(db, u"select count(*) from SCHEDULE..tbORScheduleDetails S "
                      u"join PATIENT_DATA..tbPatient P on P.IDNum = S.IDNum "
                      u"where S.RecordStatus = 'C' and S.ORNotified = 'Y' "
                      u"and P.DcrDate is null") > 0);

    // The window reads the keys from the grid's hidden columns 7 to 9.
    test::MainWindowFixture f(db, QStringLiteral("2901"));
    AdmittedPatients list(f.session);
    QVERIFY(list.search());
    QCOMPARE(list.headers().size(), AdmittedPatients::columnWidths().size());
    const Row &first = rows->at(0);
    QCOMPARE(list.cell(1, 9), first.trimmed(u"TransNum"));
    QCOMPARE(list.cell(1, 8), first.trimmed(u"IdNum"));
    QCOMPARE(list.cell(1, 7), first.trimmed(u"HospNum"));
    auto patient =
        db.selectOne(u"select M.LastName, M.FirstName from PATIENT_DATA..tbPatient P "
                     u"join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum where P.IDNum = :id",
                     {{QStringLiteral("id"), first.trimmed(u"IdNum")}});
    QVERIFY(patient && *patient);
    QVERIFY(list.cell(1, 1).startsWith((*patient)->trimmed(u"LastName") + QStringLiteral(", ") +
                                       (*patient)->trimmed(u"FirstName")));
    QVERIFY(
        QDateTime::fromString(list.cell(1, 5), QStringLiteral("MM/dd/yyyy hh:mm AP")).isValid());
}

void tst_AdmittedPatients::searchMatchesNameAdmissionOrHospitalNumber_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("last name, typed in small letters") << "last";
    QTest::newRow("admission number") << "adm";
    QTest::newRow("beginning of the hospital number") << "hosp";
    QTest::newRow("nobody by that name") << "none";
    QTest::newRow("% is typed, not a wildcard") << "percent";
    QTest::newRow("_ is typed, not a wildcard") << "underscore";
}

void tst_AdmittedPatients::searchMatchesNameAdmissionOrHospitalNumber()
{
    QFETCH(QString, kind);
    KESTREL_OPEN_DEMO(db);
    auto all = db.call(u"SCHEDULE..sp_List_ConfirmedORSchedule", {QStringLiteral("9"), QString()});
    QVERIFY(all && all->count() > 1);
    const Row &first = all->at(0);
    const QString lastName = first.trimmed(u"Patient Name").section(u',', 0, 0);
    const QString typed = kind == u"last"      ? lastName.left(3).toLower()
                          : kind == u"adm"     ? first.trimmed(u"IdNum")
                          : kind == u"hosp"    ? first.trimmed(u"HospNum").left(5)
                          : kind == u"none"    ? QStringLiteral("ZZQX")
                          : kind == u"percent" ? QStringLiteral("%")
                                               : lastName.left(1) + u'_';

    QStringList expected;
    for (const Row &r : *all) {
        if (r.trimmed(u"Patient Name").startsWith(typed, Qt::CaseInsensitive) ||
            r.trimmed(u"IdNum").startsWith(typed, Qt::CaseInsensitive) ||
            r.trimmed(u"HospNum").startsWith(typed, Qt::CaseInsensitive))
            expected << r.trimmed(u"TransNum");
    }
    if (kind == u"last" || kind == u"adm" || kind == u"hosp")
        QVERIFY(expected.contains(first.trimmed(u"TransNum")));
    QCOMPARE(listed(db, typed), expected);
    // Blanks around the text do not count.
    QCOMPARE(listed(db, QStringLiteral("  ") + typed + QStringLiteral(" ")), expected);
}

void tst_AdmittedPatients::onlyStaysStillInWithAConfirmedUncheckedOperation()
{
    KESTREL_OPEN_DEMO(db);
    const QVariant stillIn;
    const QVariant gone = QDateTime(QDate(2026, 11, 30), QTime(12, 0));
    QVERIFY(addScheduledStay(db, QStringLiteral("T0000001"), QStringLiteral("T900001"),
                             QStringLiteral("DEL_ROSARIO"), stillIn, QString(), QStringLiteral("C"),
                             QString()));
    QVERIFY(addScheduledStay(db, QStringLiteral("T0000002"), QStringLiteral("T900002"),
                             QStringLiteral("DELAROSA"), gone, QString(), QStringLiteral("C"),
                             QString()));
    QVERIFY(addScheduledStay(db, QStringLiteral("T0000003"), QStringLiteral("T900003"),
                             QStringLiteral("DELOSREYES"), stillIn, QString(), QStringLiteral("R"),
                             QString()));
    QVERIFY(addScheduledStay(db, QStringLiteral("T0000004"), QStringLiteral("T900004"),
                             QStringLiteral("DELFIN"), stillIn, QString(), QStringLiteral("C"),
                             QStringLiteral("Y")));
    QVERIFY(addScheduledStay(db, QStringLiteral("T0000005"), QStringLiteral("T900005"),
                             QStringLiteral("DELGADO"), stillIn, QStringLiteral("R"),
                             QStringLiteral("C"), QString()));

    const QStringList everyone = listed(db, QString());
    QVERIFY(everyone.contains(QStringLiteral("T0000001")));
    for (const char *left : {"T0000002", "T0000003", "T0000004", "T0000005"})
        QVERIFY2(!everyone.contains(QLatin1String(left)), left);
    // Only the patient with the underscore in his name has it.
    QCOMPARE(listed(db, QStringLiteral("del_")), QStringList{QStringLiteral("T0000001")});
    QCOMPARE(listed(db, QStringLiteral("T90000")), QStringList{QStringLiteral("T0000001")});
    QCOMPARE(listed(db, QStringLiteral("HT900001")), QStringList{QStringLiteral("T0000001")});
}

void tst_AdmittedPatients::otherListKindsAreRefused()
{
    KESTREL_OPEN_DEMO(db);
    auto rows = db.call(u"SCHEDULE..sp_List_ConfirmedORSchedule", {QStringLiteral("8"), QString()});
    QVERIFY(!rows);
    QVERIFY2(rows.error().message.contains(u"'8'"), qPrintable(rows.error().message));
}

void tst_AdmittedPatients::positionText()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2901"));
    AdmittedPatients list(f.session);
    QVERIFY(list.search());
    const int patients = list.rows().count();
    QVERIFY(patients > 1);
    QCOMPARE(list.positionText(), QString());
    list.chooseRow(2);
    QCOMPARE(list.positionText(), QStringLiteral("2  out of  %1").arg(patients));
    QCOMPARE(list.chosenTransNum(), list.rows().at(1).trimmed(u"TransNum"));
    // The header row and rows past the list choose nobody.
    list.chooseRow(patients + 1);
    QCOMPARE(list.positionText(), QString());
    QCOMPARE(list.chosenTransNum(), QString());
    list.chooseRow(patients);
    QCOMPARE(list.positionText(), QStringLiteral("%1  out of  %1").arg(patients));
    // A new search chooses nobody.
    QVERIFY(list.search());
    QCOMPARE(list.chosenRow(), 0);
}

void tst_AdmittedPatients::tagChecked_data()
{
    using Outcome = AdmittedPatients::CheckOutcome;
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("signers"); ///< "" signs nobody (the window was cancelled)
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("validations");

    QTest::newRow("nobody chosen") << 0 << QList<bool>{} << QStringList{QStringLiteral("2905")}
                                   << int(Outcome::NoPatient) << QStringList{kChooseFirst} << 0;
    QTest::newRow("No to the question")
        << 1 << QList<bool>{false} << QStringList{QStringLiteral("2905")} << int(Outcome::Declined)
        << QStringList{kAsk} << 0;
    QTest::newRow("nobody signs, then No")
        << 1 << QList<bool>{true, false} << QStringList{} << int(Outcome::Abandoned)
        << QStringList{kAsk, kNotSaved} << 1;
    QTest::newRow("nobody signs twice, then No")
        << 1 << QList<bool>{true, true, false} << QStringList{} << int(Outcome::Abandoned)
        << QStringList{kAsk, kNotSaved, kNotSaved} << 2;
    QTest::newRow("nobody signs, then Yes and a nurse signs")
        << 2 << QList<bool>{true, true} << QStringList{QString(), QStringLiteral("2903")}
        << int(Outcome::Checked) << QStringList{kAsk, kNotSaved, kSuccess} << 2;
    QTest::newRow("the clerk signs at once")
        << 1 << QList<bool>{true} << QStringList{QStringLiteral("2905")} << int(Outcome::Checked)
        << QStringList{kAsk, kSuccess} << 1;
}

void tst_AdmittedPatients::tagChecked()
{
    QFETCH(int, row);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, signers);
    QFETCH(int, outcome);
    QFETCH(QStringList, boxes);
    QFETCH(int, validations);
    KESTREL_OPEN_DEMO(db);
    // The supervisor is logged in; whoever signs is recorded.
    test::MainWindowFixture f(db, QStringLiteral("2901"));
    f.notifier.answer(answers);
    for (const QString &code : std::as_const(signers))
        f.dialogs.sign(code);

    const QString checkedSql =
        QStringLiteral("select count(*) from SCHEDULE..tbORScheduleDetails where ORNotified = 'Y'");
    const qint64 checkedBefore = count(db, checkedSql);
    AdmittedPatients list(f.session);
    QVERIFY(list.search(QString()));
    const int before = list.rows().count();
    QVERIFY(before >= 2);
    list.chooseRow(row);
    const QString transNum = row ? list.rows().at(row - 1).trimmed(u"TransNum") : QString();

    QCOMPARE(int(list.tagChecked()), outcome);

    QStringList shown;
    for (const auto &box : f.notifier.boxes()) {
        shown << box.text;
        QCOMPARE(box.title,
                 box.question ? QStringLiteral("Confirmation") : QStringLiteral("Notification"));
    }
    QCOMPARE(shown, boxes);
    QCOMPARE(f.dialogs.asked(), validations);

    const bool checked = outcome == int(AdmittedPatients::CheckOutcome::Checked);
    QCOMPARE(count(db, checkedSql), checkedBefore + (checked ? 1 : 0));
    if (transNum.isEmpty())
        return;
    auto saved = db.selectOne(u"select ORNotified, ORNotifiedUser, ORNotifiedDate "
                              u"from SCHEDULE..tbORScheduleDetails where TransNum = :trans",
                              {{QStringLiteral("trans"), transNum}});
    QVERIFY(saved && *saved);
    if (checked) {
        QCOMPARE((*saved)->text(u"ORNotified"), QStringLiteral("Y"));
        QCOMPARE((*saved)->text(u"ORNotifiedUser"), signers.last());
        QCOMPARE((*saved)->dateTime(u"ORNotifiedDate"), test::fixtureNow());
        QCOMPARE(f.session.validated.code, signers.last());
        // The list was read again, without the patient and with nobody chosen.
        QCOMPARE(list.rows().count(), before - 1);
        QVERIFY(!column(list.rows(), QStringLiteral("TransNum")).contains(transNum));
        QCOMPARE(list.chosenRow(), 0);
    } else {
        QCOMPARE((*saved)->text(u"ORNotified"), QString());
        QCOMPARE((*saved)->text(u"ORNotifiedUser"), QString());
        QVERIFY(!(*saved)->dateTime(u"ORNotifiedDate").isValid());
        QCOMPARE(list.rows().count(), before);
    }
}

QTEST_MAIN(tst_AdmittedPatients)
#include "tst_admittedpatients.moc"
