// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/procedures/PatientListProcedures.h"
#include "hospitaldb/ScaleHospital.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <map>

using namespace kestrel;
using namespace kestrel::hospitaldb;
using namespace Qt::StringLiterals;
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

// The count that "select count(" followed by `sql` answers.
qint64 count(Database &db, const QString &sql, const Binds &binds = {})
{
    auto v = db.scalar(QString(u"select count(" + sql), binds);
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
    const QString patients = u"*) from PATIENT_DATA..tbMaster where HospNum >= '20000000'"_s;
    const QList<std::pair<qint64, qint64>> counts{
        {count(db, patients), size.patients},
        {count(db, u"*) from PATIENT_DATA..tbPatient where IDNum >= '2000000'"_s) +
             count(db, u"*) from PATIENT_DATA..tbOutPatient where IDNum >= '2000000B'"_s),
         size.stays},
        {count(db, u"*) from STATION..tbNurseLogBook where IDNum >= '2000000'"_s),
         size.logbookLines + 500},
        {count(db, u"*) from BILLING..tbBillDailyBill where RefNum like 'B%'"_s) +
             count(db, u"*) from BILLING..tbBillOPDailyOut where RefNum like 'B%'"_s),
         size.billLines},
        {count(db, u"*) from STATION..tbORMasterFile where RefNum like 'OR%'"_s), size.orCases},
        // Every inpatient stay has its admitting details.
        {count(db, u"*) from PATIENT_DATA..tbPatient P left join PATIENT_DATA..tbPatient2 X "
                   u"on X.IDNum = P.IDNum where P.IDNum >= '2000000' and X.IDNum is null"_s),
         0},
        // Every line belongs to a patient that exists, at a known time; every patient is named.
        {count(db, u"*) from STATION..tbNurseLogBook L left join PATIENT_DATA..tbMaster M on "
                   u"M.HospNum = L.HospNum where L.IDNum >= '2000000' and "
                   u"(M.HospNum is null or L.TransDate is null)"_s),
         0},
        {count(db, patients + u" and (LastName = '' or FirstName = '' or MiddleName = '' or "
                              u"Sex = '')"),
         0}};
    for (int i = 0; i < counts.size(); ++i)
        QVERIFY2(
            counts[i].first == counts[i].second,
            qPrintable(
                u"count %1: %2 rows, not %3"_s.arg(i).arg(counts[i].first).arg(counts[i].second)));

    // Many patients share the common last names; the work tables are gone.
    QVERIFY(count(db, u"distinct LastName) from PATIENT_DATA..tbMaster "
                      u"where HospNum >= '20000000'"_s) > 100);
    const QString named = u"*) from PATIENT_DATA..tbMaster where LastName = :n"_s;
    QVERIFY(count(db, named, {{"n", "SANTOS"}}) > count(db, named, {{"n", "ZARATE"}}) * 3);
    QVERIFY(!db.scalar(u"select count(*) from scale_k").has_value());

    // The progress of each step ends at its total.
    const auto &progress = m_generated[db.backend()].progress;
    QVERIFY(progress.contains(std::pair{u"logbook lines"_s, size.logbookLines}));
    QVERIFY(progress.contains(std::pair{u"patients"_s, size.patients}));
}

void tst_ScaleHospital::staysAreWholeAndInOrder()
{
    Database &db = hospital();
    // A discharged stay has its billing date and ends after it began; admissions rise with
    // the admission numbers.
    const QString stays = u"*) from PATIENT_DATA..tbPatient where IDNum >= '2000000' and "_s;
    QCOMPARE(count(db, stays + u"(AdmDate is null or DcrDate <= AdmDate or "
                               u"(DcrDate is not null and BillingDate is null))"),
             0);
    auto rows = db.select(u"select IDNum, AdmDate from PATIENT_DATA..tbPatient "
                          u"where IDNum >= '2000000' order by IDNum");
    QVERIFY(rows.has_value());
    QDateTime last;
    for (const Row &r : *rows) {
        QVERIFY2(!last.isValid() || r.dateTime(u"AdmDate") >= last, qPrintable(r.text(u"IDNum")));
        last = r.dateTime(u"AdmDate");
    }
    // The hospital has patients in now, admitted within the last week, and not too many.
    const qint64 inNow = count(db, stays + u"DcrDate is null");
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
        QCOMPARE(count(db,
                       u"*) from PATIENT_DATA..tbPatient where IDNum = :id and HospNum = :hosp "
                       u"and DcrDate is null"_s,
                       {{"id", idNum}, {"hosp", hospNum}}),
                 1);
    }
    QVERIFY(count(db, u"*) from STATION..tbNurseLogBook where IDNum = :id and StationID = 'OR'"_s,
                  {{"id", marks.longStayIdNum}}) >= 500);
    const Binds h{{"h", marks.hospNum}};
    QVERIFY(count(db, u"*) from PATIENT_DATA..tbPatient where HospNum = :h"_s, h) +
                count(db, u"*) from PATIENT_DATA..tbOutPatient where HospNum = :h"_s, h) >=
            1);
    // The common prefix finds many inpatient stays through the patient list's own statement.
    PatientListQuery query;
    query.type = u"A"_s;
    query.lastName = marks.commonPrefix;
    const PatientListStatement s = patientListStatement(query);
    auto found = db.select(s.sql, s.binds);
    QVERIFY(found.has_value());
    QVERIFY2(found->count() > 100, qPrintable(QString::number(found->count())));
}

void tst_ScaleHospital::indexesAreBuiltAgain()
{
    Database &db = hospital();
    QCOMPARE(db.backend() == Backend::Postgres
                 ? count(db, u"*) from pg_indexes where schemaname = 'station' and "
                             u"tablename = 'tbnurselogbook' and indexname like 'ix%'"_s)
                 : count(db, u"*) from sqlite_master where type = 'index' and "
                             u"tbl_name = 'tbNurseLogBook' and sql is not null"_s),
             3);
}

void tst_ScaleHospital::refusesTooSmall()
{
    ScaleSize s = tinySize();
    s.patients = 10;
    QVERIFY(!createScaleHospital(hospital(), test::fixtureToday(), s).has_value());
}

QTEST_GUILESS_MAIN(tst_ScaleHospital)
#include "tst_scalehospital.moc"
