// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/procedures/PatientListProcedures.h"
#include "hospitaldb/ScaleHospital.h"
#include "shell/db/LikePattern.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <map>

using namespace kestrel;
using namespace kestrel::hospitaldb;
using kestrel::test::TestDatabase;

namespace {

// A hospital small enough for a test, with every step of the generator in it.
ScaleSize tinySize()
{
    ScaleSize s;
    s.patients = 2'000;
    s.stays = 4'000;
    s.logbookLines = 30'000;
    s.billLines = 40'000;
    s.orCases = 300;
    s.years = 2;
    return s;
}

qint64 count(Database &db, const QString &sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    if (!v)
        qWarning() << v.error().message;
    return v ? v->toLongLong() : -1;
}

} // namespace

class tst_ScaleHospital : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void rowsOfEveryTable();
    void staysAreWholeAndInOrder();
    void landmarksExist();
    void indexesAreBuiltAgain();
    void refusesTooSmall();

private:
    Database &hospital();

    struct Generated
    {
        std::unique_ptr<TestDatabase> db;
        QList<std::pair<QString, qint64>> progress;
    };
    // One generated hospital per backend, shared by the checks below.
    std::map<Backend, Generated> m_generated;
};

Database &tst_ScaleHospital::hospital()
{
    const Backend backend = test::backendOfRow();
    Generated &g = m_generated[backend];
    if (!g.db) {
        auto t = TestDatabase::create(backend, TestDatabase::Content::Empty);
        if (!t)
            qFatal("%s", qPrintable(t.error().message));
        g.db = std::move(*t);
        const auto ok = createScaleHospital(g.db->db(), test::fixtureToday(), tinySize(),
                                            [&g](const QString &step, qint64 done, qint64) {
                                                g.progress.append({step, done});
                                            });
        if (!ok)
            qFatal("%s", qPrintable(ok.error().message));
    }
    return g.db->db();
}

void tst_ScaleHospital::rowsOfEveryTable()
{
    Database &db = hospital();
    const ScaleSize size = tinySize();
    // On top of the demo hospital's own rows, which all have other numbers.
    QCOMPARE(
        count(db, QStringLiteral(
                      "select count(*) from PATIENT_DATA..tbMaster where HospNum >= '20000000'")),
        size.patients);
    QCOMPARE(
        count(db, QStringLiteral(
                      "select count(*) from PATIENT_DATA..tbPatient where IDNum >= '2000000'")) +
            count(db, QStringLiteral("select count(*) from PATIENT_DATA..tbOutPatient "
                                     "where IDNum >= '2000000B'")),
        size.stays);
    // Every inpatient stay has its admitting details.
    QCOMPARE(count(db, QStringLiteral("select count(*) from PATIENT_DATA..tbPatient P left join "
                                      "PATIENT_DATA..tbPatient2 X on X.IDNum = P.IDNum "
                                      "where P.IDNum >= '2000000' and X.IDNum is null")),
             0);
    QCOMPARE(count(db, QStringLiteral("select count(*) from STATION..tbNurseLogBook "
                                      "where IDNum >= '2000000'")),
             size.logbookLines + 500);
    QCOMPARE(
        count(db, QStringLiteral(
                      "select count(*) from BILLING..tbBillDailyBill where RefNum like 'B%'")) +
            count(db, QStringLiteral("select count(*) from BILLING..tbBillOPDailyOut "
                                     "where RefNum like 'B%'")),
        size.billLines);
    QCOMPARE(count(db, QStringLiteral(
                           "select count(*) from STATION..tbORMasterFile where RefNum like 'OR%'")),
             size.orCases);
    // Every line belongs to a stay and a patient that exist, at a known time.
    QCOMPARE(
        count(db, QStringLiteral(
                      "select count(*) from STATION..tbNurseLogBook L left join "
                      "PATIENT_DATA..tbMaster M on M.HospNum = L.HospNum "
                      "where L.IDNum >= '2000000' and (M.HospNum is null or L.TransDate is null)")),
        0);
    QCOMPARE(count(db, QStringLiteral("select count(*) from PATIENT_DATA..tbMaster "
                                      "where HospNum >= '20000000' and (LastName = '' or "
                                      "FirstName = '' or MiddleName = '' or Sex = '')")),
             0);
    // Many patients share the common last names; the work tables are gone.
    QVERIFY(count(db, QStringLiteral("select count(distinct LastName) from PATIENT_DATA..tbMaster "
                                     "where HospNum >= '20000000'")) > 100);
    QVERIFY(
        count(db, QStringLiteral(
                      "select count(*) from PATIENT_DATA..tbMaster where LastName = 'SANTOS'")) >
        count(db, QStringLiteral(
                      "select count(*) from PATIENT_DATA..tbMaster where LastName = 'ZARATE'")) *
            3);
    QVERIFY(!db.scalar(QStringLiteral("select count(*) from scale_k")).has_value());

    // The progress of each step ends at its total.
    const auto &progress = m_generated[db.backend()].progress;
    QVERIFY(progress.contains(std::pair{QStringLiteral("logbook lines"), size.logbookLines}));
    QVERIFY(progress.contains(std::pair{QStringLiteral("patients"), size.patients}));
}

void tst_ScaleHospital::staysAreWholeAndInOrder()
{
    Database &db = hospital();
    // A discharged stay has its billing date and ends after it began; admissions rise with
    // the admission numbers.
    QCOMPARE(count(db, QStringLiteral(
                           "select count(*) from PATIENT_DATA..tbPatient where IDNum >= '2000000' "
                           "and (AdmDate is null or DcrDate <= AdmDate or "
                           "(DcrDate is not null and BillingDate is null))")),
             0);
    auto rows = db.select(QStringLiteral("select IDNum, AdmDate from PATIENT_DATA..tbPatient "
                                         "where IDNum >= '2000000' order by IDNum"));
    QVERIFY(rows.has_value());
    QDateTime last;
    for (const Row &r : *rows) {
        QVERIFY2(!last.isValid() || r.dateTime(u"AdmDate") >= last, qPrintable(r.text(u"IDNum")));
        last = r.dateTime(u"AdmDate");
    }
    // The hospital has patients in now, admitted within the last week, and not too many.
    const qint64 inNow = count(db, QStringLiteral("select count(*) from PATIENT_DATA..tbPatient "
                                                  "where IDNum >= '2000000' and DcrDate is null"));
    QVERIFY2(inNow > 0 && inNow < 40, qPrintable(QString::number(inNow)));
    QVERIFY(last.date() >= test::fixtureToday().addDays(-7));
    QVERIFY(last.date() <= test::fixtureToday());
}

void tst_ScaleHospital::landmarksExist()
{
    Database &db = hospital();
    const ScaleLandmarks marks = scaleLandmarks(tinySize());
    for (const auto &[idNum, hospNum] : {std::pair{marks.inpatientIdNum, marks.inpatientHospNum},
                                         std::pair{marks.longStayIdNum, marks.longStayHospNum}}) {
        QCOMPARE(
            count(db,
                  QStringLiteral("select count(*) from PATIENT_DATA..tbPatient where IDNum = :id "
                                 "and HospNum = :hosp and DcrDate is null"),
                  {{"id", idNum}, {"hosp", hospNum}}),
            1);
    }
    QCOMPARE(count(db,
                   QStringLiteral("select count(*) from STATION..tbNurseLogBook where IDNum = :id "
                                  "and StationID = 'OR'"),
                   {{"id", marks.longStayIdNum}}) >= 500,
             true);
    QVERIFY(count(db,
                  QStringLiteral("select count(*) from PATIENT_DATA..tbPatient where HospNum = :h"),
                  {{"h", marks.hospNum}}) +
                count(db,
                      QStringLiteral(
                          "select count(*) from PATIENT_DATA..tbOutPatient where HospNum = :h"),
                      {{"h", marks.hospNum}}) >=
            1);
    // The common prefix finds many inpatient stays through the patient list's own statement.
    PatientListQuery query;
    query.type = QStringLiteral("A");
    query.lastName = marks.commonPrefix;
    const PatientListStatement s = patientListStatement(query);
    auto found = db.select(s.sql, s.binds);
    QVERIFY(found.has_value());
    QVERIFY2(found->count() > 100, qPrintable(QString::number(found->count())));
}

void tst_ScaleHospital::indexesAreBuiltAgain()
{
    Database &db = hospital();
    const bool pg = db.backend() == Backend::Postgres;
    const qint64 n =
        pg ? count(db,
                   QStringLiteral("select count(*) from pg_indexes where schemaname = 'station' "
                                  "and tablename = 'tbnurselogbook' and indexname like 'ix%'"))
           : count(db, QStringLiteral("select count(*) from sqlite_master where type = 'index' "
                                      "and tbl_name = 'tbNurseLogBook' and sql is not null"));
    QCOMPARE(n, 3);
}

void tst_ScaleHospital::refusesTooSmall()
{
    ScaleSize s = tinySize();
    s.patients = 10;
    const auto ok = createScaleHospital(hospital(), test::fixtureToday(), s);
    QVERIFY(!ok.has_value());
}

QTEST_GUILESS_MAIN(tst_ScaleHospital)
#include "tst_scalehospital.moc"
