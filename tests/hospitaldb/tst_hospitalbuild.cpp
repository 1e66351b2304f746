// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The hospital database as it is built: schema, demo hospital and scale hospital.
#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/ScaleHospital.h"
#include "hospitaldb/Schema.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <sodium.h>

using namespace kestrel;
using namespace kestrel::hospitaldb;
using namespace Qt::StringLiterals;
using kestrel::test::TestDatabase;

namespace {

Result<std::unique_ptr<TestDatabase>> demoWithSeed(quint64 seed)
{
    auto t = TestDatabase::create(test::backendOfRow(), TestDatabase::Content::SchemaOnly);
    if (!t)
        return t;
    if (auto ok = createDemoHospital((*t)->db(), test::fixtureToday(), seed); !ok)
        return tl::unexpected(ok.error());
    return t;
}

qint64 count(Database &db, const QString &sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toLongLong() : -1;
}

// Every row of `table`, in key order, as text: two hospitals are the same when these are.
QStringList dump(Database &db, const QString &table, const QString &key)
{
    QStringList lines;
    auto rows = db.select(QString(u"SELECT * FROM " + table + u" ORDER BY " + key));
    if (!rows)
        return {rows.error().message};
    for (const Row &r : *rows) {
        QStringList fields;
        for (const QVariant &v : r.values())
            fields << v.toString();
        lines << fields.join(u'|');
    }
    return lines;
}

// A hospital small enough for a test, with every step of the generator in it.
ScaleSize tinySize()
{
    ScaleSize s;
    std::tie(s.patients, s.stays, s.logbookLines, s.billLines, s.orCases, s.years) =
        std::tuple(2'000, 4'000, 30'000, 40'000, 300, 2);
    return s;
}

qint64 tally(Database &db, const QString &sql, const Binds &binds = {})
{
    return count(db, QString(u"select count(" + sql), binds);
}

} // namespace

class tst_HospitalBuild : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void initTestCase() { QVERIFY(sodium_init() >= 0); }
    void translatesTypeWordsNotColumnNames();
    void everyFileIsAHospitalDatabaseWithUniqueNames();
    void hasEveryKindOfStay_data();
    void hasEveryKindOfStay();
    void staysAreConsistent();
    void seedDecidesTheHospital();
    void demoPasswordsVerifyAgainstStoredHashes();
    void namesWithEnyeRoundTrip();
    void scaleHospital();
};

void tst_HospitalBuild::translatesTypeWordsNotColumnNames()
{
    // Comments go, constraints stay, and a column named like a type word keeps its name.
    const QString sql = u"-- a comment\nCREATE TABLE tbT (\n  Memo memo, Flag flag NOT NULL "
                        u"DEFAULT 0, Money money,\n  PRIMARY KEY (Flag)\n);\n"
                        u"CREATE INDEX ix_tbT_Flag ON tbT (Flag);"_s;
    const auto lite = translateSchema(u"STATION"_s, sql, Backend::Sqlite);
    const auto pg = translateSchema(u"STATION"_s, sql, Backend::Postgres);
    QVERIFY(lite.size() == 2 && pg.size() == 2);
    QVERIFY2(lite.at(0).sql.contains(u"Flag INTEGER NOT NULL DEFAULT 0"), qPrintable(lite[0].sql));
    QVERIFY(!lite.at(0).sql.contains(u"comment"));
    for (const auto &column : {u"Memo citext", u"Flag smallint NOT NULL DEFAULT 0",
                               u"Money numeric(19,4)", u"PRIMARY KEY (Flag)"})
        QVERIFY2(pg.at(0).sql.contains(column), qPrintable(pg.at(0).sql));
    QCOMPARE(pg.at(1).sql, u"CREATE INDEX ix_tbT_Flag ON tbT (Flag)"_s);
}

void tst_HospitalBuild::everyFileIsAHospitalDatabaseWithUniqueNames()
{
    // The embedded hospital keeps every database in one file under bare names, so a table or
    // index name may appear in one database only, and only the known type words are used.
    const QStringList databases = schemaDatabases();
    QVERIFY(databases.contains(u"STATION") && databases.contains(u"PATIENT_DATA"));
    static const QRegularExpression created(
        QStringLiteral(R"(CREATE\s+(?:UNIQUE\s+)?(?:TABLE|INDEX)\s+([A-Za-z0-9_]+))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression unmapped(
        QStringLiteral(R"(^\s*\w+\s+(varchar|text|bit|nvarchar|char)\b)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    QSet<QString> seen;
    for (const QString &database : databases) {
        QVERIFY2(isHospitalDatabaseName(database), qPrintable(database));
        QFile f(QStringLiteral(":/hospitaldb/schema/%1.sql").arg(database));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY2(!unmapped.match(text).hasMatch(),
                 qPrintable(database + u": " + unmapped.match(text).captured(0)));
        for (const auto &s : translateSchema(database, text, Backend::Sqlite)) {
            const auto m = created.match(s.sql);
            if (!m.hasMatch())
                continue;
            const QString name = m.captured(1).toLower();
            QVERIFY2(!seen.contains(name), qPrintable(database + u": " + name + u" repeats"));
            seen.insert(name);
        }
    }
    QVERIFY(seen.size() > 20);
}

void tst_HospitalBuild::hasEveryKindOfStay_data()
{
    QTest::addColumn<QString>("from"); // what follows "SELECT COUNT(*) FROM "
    QTest::addColumn<Binds>("binds");
    QTest::addColumn<int>("minimum");
    const QDate today = test::fixtureToday();
    const QString stays = u"PATIENT_DATA..tbPatient"_s, stayOf = stays + u" P JOIN ";
    const QString visits = u"PATIENT_DATA..tbOutPatient WHERE ERNum IS "_s;
    QTest::newRow("patients") << u"PATIENT_DATA..tbMaster"_s << Binds() << 300;
    QTest::newRow("outpatient visits") << visits + u"NULL" << Binds() << 20;
    QTest::newRow("ER visits") << visits + u"NOT NULL" << Binds() << 20;
    QTest::newRow("discharged and billed")
        << stays + u" WHERE DcrDate IS NOT NULL AND BillingDate IS NOT NULL" << Binds() << 20;
    QTest::newRow("admitted this week and still in")
        << stays + u" WHERE DcrDate IS NULL AND AdmDate >= :d" << Binds{{"d", today.addDays(-7)}}
        << 30;
    QTest::newRow("cash basis") << u"PATIENT_DATA..tbPatient2 WHERE isCashBasis = 1"_s << Binds()
                                << 1;
    QTest::newRow("HMO account") << stayOf + u"BUILD_FILE..tbCoCompany C ON C.AccountNum = "
                                             u"P.AccountNum WHERE C.CompanyType = :type"
                                 << Binds{{"type", "H"}} << 1;
    QTest::newRow("senior citizen still in")
        << stayOf + u"PATIENT_DATA..tbMaster M ON M.HospNum = P.HospNum WHERE P.DcrDate IS NULL "
                    u"AND M.BirthDate <= :d"
        << Binds{{"d", today.addYears(-60)}} << 1;
    QTest::newRow("CVOR tagged, coloured precaution")
        << stays + u" WHERE isCVOR = 1 AND PrecautionID <> :standard" << Binds{{"standard", "1"}}
        << 1;
    QTest::newRow("confirmed operation of a patient still in")
        << u"SCHEDULE..tbORScheduleDetails S JOIN PATIENT_DATA..tbPatient P ON P.IDNum = S.IDNum "
           u"WHERE S.RecordStatus = :status AND P.DcrDate IS NULL"_s
        << Binds{{"status", "C"}} << 1;
    QTest::newRow("pending charges") << u"STATION..tbNurseLogBook WHERE RecordStatus = :pending"_s
                                     << Binds{{"pending", ""}} << 1;
}

void tst_HospitalBuild::hasEveryKindOfStay()
{
    QFETCH(QString, from);
    QFETCH(Binds, binds);
    QFETCH(int, minimum);
    KESTREL_OPEN_DEMO(db);
    const qint64 n = count(db, u"SELECT COUNT(*) FROM " + from, binds);
    QVERIFY2(n >= minimum, qPrintable(u"%1 rows"_s.arg(n)));
}

void tst_HospitalBuild::staysAreConsistent()
{
    KESTREL_OPEN_DEMO(db);
    const QString missing = u"SELECT COUNT(*) FROM PATIENT_DATA..%1 P WHERE NOT EXISTS "
                            u"(SELECT 1 FROM PATIENT_DATA..%2 X WHERE X.%3 = P.%3)"_s;
    for (const auto &[table, master, key] :
         {std::tuple{u"tbPatient"_s, u"tbMaster"_s, u"HospNum"_s},
          std::tuple{u"tbOutPatient"_s, u"tbMaster"_s, u"HospNum"_s},
          std::tuple{u"tbPatient"_s, u"tbPatient2"_s, u"IDNum"_s}})
        QVERIFY2(count(db, missing.arg(table, master, key)) == 0,
                 qPrintable(table + u' ' + master));
    // The last letter of an IdNum tells the table of its stay; an IdNum names one stay only.
    QSet<QString> ids;
    int stays = 0;
    for (const auto &[table, outpatient] : {std::pair{u"PATIENT_DATA..tbPatient"_s, false},
                                            std::pair{u"PATIENT_DATA..tbOutPatient"_s, true}}) {
        auto rows = db.select(QString(u"SELECT IDNum FROM " + table));
        QVERIFY(rows);
        for (const Row &r : *rows) {
            const QString id = r.text(u"IDNum");
            QVERIFY2(id.endsWith(u'B') == outpatient, qPrintable(id));
            ids.insert(id.toUpper());
            ++stays;
        }
    }
    QCOMPARE(ids.size(), stays);
    QCOMPARE(count(db,
                   u"SELECT COUNT(*) FROM PATIENT_DATA..tbPatient WHERE AdmDate > :now "
                   u"OR DcrDate < AdmDate OR DcrDate > :now"_s,
                   {{"now", test::fixtureNow()}}),
             0);
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM (SELECT RoomID FROM PATIENT_DATA..tbPatient "
                       u"WHERE DcrDate IS NULL GROUP BY RoomID HAVING COUNT(*) > 1) T"_s),
             0);
}

void tst_HospitalBuild::seedDecidesTheHospital()
{
    auto first = demoWithSeed(7);
    auto again = demoWithSeed(7);
    auto other = demoWithSeed(8);
    QVERIFY2(first && again && other, "a demo hospital could not be built");
    const std::pair<const char *, const char *> tables[] = {
        {"PATIENT_DATA..tbMaster", "HospNum"},
        {"STATION..tbNurseLogBook", "LogBookID"},
        {"BILLING..tbBillDailyBill", "DailyBillID"}};
    for (const auto &[table, key] : tables) {
        const QStringList a = dump((*first)->db(), QLatin1String(table), QLatin1String(key));
        QVERIFY2(a.size() > 1, table);
        QCOMPARE(dump((*again)->db(), QLatin1String(table), QLatin1String(key)), a);
    }
    QVERIFY(dump((*other)->db(), u"PATIENT_DATA..tbMaster"_s, u"HospNum"_s) !=
            dump((*first)->db(), u"PATIENT_DATA..tbMaster"_s, u"HospNum"_s));
}

void tst_HospitalBuild::demoPasswordsVerifyAgainstStoredHashes()
{
    KESTREL_OPEN_DEMO(db);
    const QList<DemoLogin> logins = demoLogins();
    QVERIFY(logins.size() >= 8);
    for (const DemoLogin &login : logins) {
        auto hash = db.scalar(u"SELECT PasswordHash FROM Password..tbPasswordMaster "
                              u"WHERE EmployeeID = :code",
                              {{"code", login.employeeCode}});
        QVERIFY(hash);
        const QByteArray stored = hash->toString().toUtf8();
        const QByteArray right = login.password.toUtf8();
        const QByteArray wrong = right + "x";
        QVERIFY2(crypto_pwhash_str_verify(stored.constData(), right.constData(),
                                          quint64(right.size())) == 0,
                 qPrintable(login.employeeCode));
        QVERIFY(crypto_pwhash_str_verify(stored.constData(), wrong.constData(),
                                         quint64(wrong.size())) != 0);
    }
}

void tst_HospitalBuild::namesWithEnyeRoundTrip()
{
    KESTREL_OPEN_DEMO(db);
    const QString name = u"DELA PEÑA"_s;
    auto rows = db.select(u"SELECT LastName FROM PATIENT_DATA..tbMaster WHERE LastName = :n",
                          {{"n", name}});
    QVERIFY(rows && !rows->isEmpty());
    QCOMPARE(rows->at(0).text(u"LastName"), name);
    // Typed in lower case, the first letters still find it.
    QVERIFY(count(db, u"SELECT COUNT(*) FROM PATIENT_DATA..tbMaster WHERE LastName LIKE :p"_s,
                  {{"p", u"dela p%"_s}}) >= 1);
}

void tst_HospitalBuild::scaleHospital()
{
    auto t = TestDatabase::create(test::backendOfRow(), TestDatabase::Content::Empty);
    QVERIFY(t);
    Database &db = (*t)->db();
    const ScaleSize size = tinySize();
    QList<std::pair<QString, qint64>> progress;
    QVERIFY(createScaleHospital(db, test::fixtureToday(), size,
                                [&](const QString &step, qint64 done, qint64) {
                                    progress.append({step, done});
                                }));
    // On top of the demo hospital's own rows, which all have other numbers.
    const QString patients = u"*) from PATIENT_DATA..tbMaster where HospNum >= '20000000'"_s;
    const QList<std::pair<qint64, qint64>> counts{
        {tally(db, patients), size.patients},
        {tally(db, u"*) from PATIENT_DATA..tbPatient where IDNum >= '2000000'"_s) +
             tally(db, u"*) from PATIENT_DATA..tbOutPatient where IDNum >= '2000000B'"_s),
         size.stays},
        // The medicines and supplies the wards requested are logbook lines of their own.
        {tally(db, u"*) from STATION..tbNurseLogBook L where L.IDNum >= '2000000' and not exists "
                   u"(select 1 from STATION..tbNurseCommunicationfile C "
                   u"where C.RequestNum = L.ReferenceNum)"_s),
         size.logbookLines + 500},
        {tally(db, u"*) from BILLING..tbBillDailyBill where RefNum like 'B%'"_s) +
             tally(db, u"*) from BILLING..tbBillOPDailyOut where RefNum like 'B%'"_s),
         size.billLines},
        {tally(db, u"*) from STATION..tbORMasterFile where RefNum like 'OR%'"_s), size.orCases},
        // Every inpatient stay has its admitting details.
        {tally(db, u"*) from PATIENT_DATA..tbPatient P left join PATIENT_DATA..tbPatient2 X "
                   u"on X.IDNum = P.IDNum where P.IDNum >= '2000000' and X.IDNum is null"_s),
         0},
        // Every line belongs to a patient that exists, at a known time; every patient is named.
        {tally(db, u"*) from STATION..tbNurseLogBook L left join PATIENT_DATA..tbMaster M on "
                   u"M.HospNum = L.HospNum where L.IDNum >= '2000000' and "
                   u"(M.HospNum is null or L.TransDate is null)"_s),
         0},
        // A discharged stay has its billing date and ends after it began.
        {tally(db,
               u"*) from PATIENT_DATA..tbPatient where IDNum >= '2000000' and (AdmDate is "
               u"null or DcrDate <= AdmDate or (DcrDate is not null and BillingDate is null))"_s),
         0},
        {tally(db, patients + u" and (LastName = '' or FirstName = '' or MiddleName = '' or "
                              u"Sex = '')"),
         0},
        // Every OR record is of a stay that exists, its phases in order, and nine in ten are
        // signed, each role by its own person under a login the hospital knows.
        {tally(db, u"*) from STATION..tbORMasterFile R where R.RefNum like 'OR%' and R.IdNum "
                   u"not in (select IDNum from PATIENT_DATA..tbPatient union select IDNum "
                   u"from PATIENT_DATA..tbOutPatient)"_s),
         0},
        {tally(db, u"*) from STATION..tbORMasterFile where RefNum like 'OR%' and not ("
                   u"PatientIn < AnesthesiaTime and AnesthesiaTime < OperationTime1 and "
                   u"OperationTime1 < OperationTime2 and OperationTime2 < AnesthesiaEndTime and "
                   u"AnesthesiaEndTime < PatientOut)"_s),
         0},
        {tally(db, u"*) from STATION..tbORMasterFile where RefNum like 'OR%' and "
                   u"SNurseSignID is not null"_s),
         size.orCases - size.orCases / 10},
        {tally(db, u"*) from STATION..tbORMasterFile where RefNum like 'OR%' and "
                   u"(SurgeonSignID <> '9' || SurgeonID1 or ASurgeonSignID <> '9' || SurgeonID2 "
                   u"or AnestSignID <> '9' || AnestheID or CNurseSignID <> CnurseID1 or "
                   u"SNurseSignID <> SnurseID1 or SurgeonID2 = SurgeonID1)"_s),
         0},
        {tally(db, u"*) from STATION..tbORMasterFile R left join PASSWORD..tbPasswordMaster E "
                   u"on E.EmployeeID = R.ASurgeonSignID where R.ASurgeonSignID is not null and "
                   u"(E.EmployeeID is null or E.DoctorID <> R.SurgeonID2)"_s),
         0}};
    for (int i = 0; i < counts.size(); ++i)
        QVERIFY2(
            counts[i].first == counts[i].second,
            qPrintable(
                u"count %1: %2 rows, not %3"_s.arg(i).arg(counts[i].first).arg(counts[i].second)));
    QVERIFY(!db.scalar(u"select count(*) from scale_k").has_value()); // work table gone
    QVERIFY(progress.contains(std::pair{u"logbook lines"_s, size.logbookLines}));
    QVERIFY(progress.contains(std::pair{u"patients"_s, size.patients}));
    // Admissions rise with the admission numbers.
    const QString stays = u"*) from PATIENT_DATA..tbPatient where IDNum >= '2000000' and "_s;
    auto rows = db.select(u"select IDNum, AdmDate from PATIENT_DATA..tbPatient "
                          u"where IDNum >= '2000000' order by IDNum");
    QVERIFY(rows.has_value());
    QDateTime last;
    for (const Row &r : *rows) {
        QVERIFY2(!last.isValid() || r.dateTime(u"AdmDate") >= last, qPrintable(r.text(u"IDNum")));
        last = r.dateTime(u"AdmDate");
    }
    // The hospital has patients in now, admitted within the last week, and not too many.
    const qint64 inNow = tally(db, stays + u"DcrDate is null");
    QVERIFY2(inNow > 0 && inNow < 40, qPrintable(QString::number(inNow)));
    QVERIFY(last.date() >= test::fixtureToday().addDays(-7));
    QVERIFY(last.date() <= test::fixtureToday());
    // The log book's indexes are built again after the load.
    QCOMPARE(db.backend() == Backend::Postgres
                 ? tally(db, u"*) from pg_indexes where schemaname = 'station' and "
                             u"tablename = 'tbnurselogbook' and indexname like 'ix%'"_s)
                 : tally(db, u"*) from sqlite_master where type = 'index' and "
                             u"tbl_name = 'tbNurseLogBook' and sql is not null"_s),
             3);
    // The operations are booked in twelve rooms: in a room each starts when the one before it
    // ends or later, unless it was booked anyway as an ER case; none is shorter than half an
    // hour or longer than six hours, or leaves its day.
    auto booked = db.select(u"select TransNum, RoomID, StartTime, Length, Remarks "
                            u"from SCHEDULE..tbORScheduleDetails where TransNum >= '10000000' "
                            u"and RecordStatus = 'C' order by RoomID, StartTime, TransNum"_s);
    QVERIFY(booked.has_value());
    QSet<qint64> rooms;
    qint64 overrides = 0;
    std::pair<qint64, QDateTime> roomFree{-1, {}};
    for (const Row &r : *booked) {
        const QDateTime start = r.dateTime(u"StartTime");
        const QDateTime end = start.addSecs(r.integer(u"Length") * 60);
        const bool er = r.trimmed(u"Remarks") == u"ER CASE";
        const QString what = r.trimmed(u"TransNum") + u' ' + start.toString(Qt::ISODate);
        QVERIFY2(r.integer(u"Length") >= 30 && r.integer(u"Length") <= 360 &&
                     start.time() >= QTime(6, 30) && end.date() == start.date(),
                 qPrintable(what));
        const bool sameRoomDay = roomFree.first == r.integer(u"RoomID") &&
                                 roomFree.second.date() == start.date();
        QVERIFY2(er || !sameRoomDay || start >= roomFree.second, qPrintable(what));
        overrides += er && sameRoomDay && start < roomFree.second ? 1 : 0;
        roomFree = {r.integer(u"RoomID"), end};
        rooms.insert(roomFree.first);
    }
    QCOMPARE(rooms.size(), 12);
    QVERIFY(overrides > 0);
    const QString generated = u"*) from SCHEDULE..tbORScheduleDetails where TransNum >= "
                              u"'10000000' and RecordStatus = "_s;
    QCOMPARE(booked->count() + tally(db, generated + u"'R'"), size.orCases + 60);
    // The busy day: five operations in each room; the wards wait for eight more.
    const ScaleLandmarks marks = scaleLandmarks(size);
    const QDate busy = test::fixtureToday().addDays(8);
    const QString busyDay = u") from SCHEDULE..tbORScheduleDetails where RecordStatus = 'C' "
                            u"and StartTime >= :day and StartTime < :next"_s;
    Binds day{{u"day"_s, busy.startOfDay()}, {u"next"_s, busy.addDays(1).startOfDay()}};
    QCOMPARE(tally(db, u'*' + busyDay, day), 60);
    QCOMPARE(tally(db, u"distinct RoomID" + busyDay, day), 12);
    day.insert(u"trans"_s, marks.busyDayTransNum);
    QCOMPARE(tally(db, u'*' + busyDay + u" and TransNum = :trans", day), 1);
    QCOMPARE(tally(db, generated + u"'P'"), 8);
    ScaleSize tooSmall = size;
    tooSmall.patients = 10;
    QVERIFY(!createScaleHospital(db, test::fixtureToday(), tooSmall).has_value());
}

QTEST_GUILESS_MAIN(tst_HospitalBuild)
#include "tst_hospitalbuild.moc"
