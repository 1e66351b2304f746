// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/DemoHospital.h"
#include "support/TestDatabase.h"

#include <QSet>
#include <QTest>

#include <sodium.h>

using namespace kestrel;
using namespace kestrel::hospitaldb;
using namespace Qt::StringLiterals;
using kestrel::test::TestDatabase;

namespace {

// A database with the schema only, filled here with the demo hospital of `seed`.
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

} // namespace

class tst_DemoHospital : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void initTestCase() { QVERIFY(sodium_init() >= 0); }
    void hasEveryKindOfStay_data();
    void hasEveryKindOfStay();
    void staysAreConsistent();
    void seedDecidesTheHospital();
    void demoPasswordsVerifyAgainstStoredHashes();
    void namesWithApostropheAndEnyeRoundTrip();
};

void tst_DemoHospital::hasEveryKindOfStay_data()
{
    QTest::addColumn<QString>("from"); // what follows "SELECT COUNT(*) FROM "
    QTest::addColumn<Binds>("binds");
    QTest::addColumn<int>("minimum");
    const QDate today = test::fixtureToday();
    const QString stays = u"PATIENT_DATA..tbPatient"_s;
    const QString stayOf = u"PATIENT_DATA..tbPatient P JOIN "_s;
    const QString visits = u"PATIENT_DATA..tbOutPatient WHERE ERNum IS "_s;

    QTest::newRow("patients") << u"PATIENT_DATA..tbMaster"_s << Binds() << 300;
    QTest::newRow("inpatient stays") << stays << Binds() << 100;
    QTest::newRow("outpatient visits") << visits + u"NULL" << Binds() << 20;
    QTest::newRow("ER visits") << visits + u"NOT NULL" << Binds() << 20;
    QTest::newRow("discharged") << stays + u" WHERE DcrDate IS NOT NULL" << Binds() << 50;
    QTest::newRow("admitted this week and still in")
        << stays + u" WHERE DcrDate IS NULL AND AdmDate >= :d" << Binds{{"d", today.addDays(-7)}}
        << 30;
    QTest::newRow("billed") << stays + u" WHERE BillingDate IS NOT NULL" << Binds() << 20;
    QTest::newRow("cash basis") << u"PATIENT_DATA..tbPatient2 WHERE isCashBasis = 1"_s << Binds()
                                << 1;
    QTest::newRow("HMO account") << stayOf + u"BUILD_FILE..tbCoCompany C ON C.AccountNum = "
                                             u"P.AccountNum WHERE C.CompanyType = :type"
                                 << Binds{{"type", "H"}} << 1;
    QTest::newRow("personal account") << stays + u" WHERE AccountNum = HospNum" << Binds() << 1;
    QTest::newRow("senior citizen still in")
        << stayOf + u"PATIENT_DATA..tbMaster M ON M.HospNum = P.HospNum WHERE P.DcrDate IS NULL "
                    u"AND M.BirthDate <= :d"
        << Binds{{"d", today.addYears(-60)}} << 1;
    QTest::newRow("CVOR tagged") << stays + u" WHERE isCVOR = 1" << Binds() << 1;
    QTest::newRow("coloured precaution")
        << stayOf + u"BUILD_FILE..tbCoPrecautions C ON C.PrecautionID = P.PrecautionID "
                    u"WHERE C.PrecautionID <> :standard"
        << Binds{{"standard", "1"}} << 1;
    QTest::newRow("confirmed operation of a patient still in")
        << u"SCHEDULE..tbORScheduleDetails S JOIN PATIENT_DATA..tbPatient P ON P.IDNum = S.IDNum "
           u"WHERE S.RecordStatus = :status AND P.DcrDate IS NULL"_s
        << Binds{{"status", "C"}} << 1;
    QTest::newRow("pending charges") << u"STATION..tbNurseLogBook WHERE RecordStatus = :pending"_s
                                     << Binds{{"pending", ""}} << 1;
}

void tst_DemoHospital::hasEveryKindOfStay()
{
    QFETCH(QString, from);
    QFETCH(Binds, binds);
    QFETCH(int, minimum);
    KESTREL_OPEN_DEMO(db);
    const qint64 n = count(db, u"SELECT COUNT(*) FROM " + from, binds);
    QVERIFY2(n >= minimum, qPrintable(u"%1 rows"_s.arg(n)));
}

void tst_DemoHospital::staysAreConsistent()
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

    // The table of a stay is chosen by its last letter, so the two kinds must never mix,
    // and an IdNum must name one stay only.
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

    const Binds now{{"now", test::fixtureNow()}};
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM PATIENT_DATA..tbPatient WHERE AdmDate > :now"_s, now),
             0);
    QCOMPARE(count(db,
                   u"SELECT COUNT(*) FROM PATIENT_DATA..tbPatient WHERE DcrDate < AdmDate "
                   u"OR DcrDate > :now"_s,
                   now),
             0);
    QCOMPARE(count(db, u"SELECT COUNT(*) FROM (SELECT RoomID FROM PATIENT_DATA..tbPatient "
                       u"WHERE DcrDate IS NULL GROUP BY RoomID HAVING COUNT(*) > 1) T"_s),
             0);
}

void tst_DemoHospital::seedDecidesTheHospital()
{
    auto first = demoWithSeed(7);
    auto again = demoWithSeed(7);
    auto other = demoWithSeed(8);
    QVERIFY2(first && again && other, "a demo hospital could not be built");

    const std::pair<const char *, const char *> tables[] = {
        {"PATIENT_DATA..tbMaster", "HospNum"},         {"PATIENT_DATA..tbPatient", "IDNum"},
        {"PATIENT_DATA..tbPatient2", "IDNum"},         {"PATIENT_DATA..tbOutPatient", "IDNum"},
        {"SCHEDULE..tbORScheduleDetails", "TransNum"}, {"STATION..tbNurseLogBook", "LogBookID"},
        {"BILLING..tbBillDailyBill", "DailyBillID"}};
    for (const auto &[table, key] : tables) {
        const QStringList a = dump((*first)->db(), QLatin1String(table), QLatin1String(key));
        QVERIFY2(a.size() > 1, table);
        QCOMPARE(dump((*again)->db(), QLatin1String(table), QLatin1String(key)), a);
    }
    QVERIFY(dump((*other)->db(), u"PATIENT_DATA..tbMaster"_s, u"HospNum"_s) !=
            dump((*first)->db(), u"PATIENT_DATA..tbMaster"_s, u"HospNum"_s));
}

void tst_DemoHospital::demoPasswordsVerifyAgainstStoredHashes()
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
        QVERIFY2(stored.startsWith("$argon2id$"), qPrintable(login.employeeCode));
        const QByteArray right = login.password.toUtf8();
        const QByteArray wrong = right + "x";
        QVERIFY2(crypto_pwhash_str_verify(stored.constData(), right.constData(),
                                          quint64(right.size())) == 0,
                 qPrintable(login.employeeCode));
        QVERIFY(crypto_pwhash_str_verify(stored.constData(), wrong.constData(),
                                         quint64(wrong.size())) != 0);
    }
}

void tst_DemoHospital::namesWithApostropheAndEnyeRoundTrip()
{
    KESTREL_OPEN_DEMO(db);
    for (const QString &name : {u"D'ANGELO"_s, u"DELA PEÑA"_s}) {
        auto rows = db.select(u"SELECT LastName FROM PATIENT_DATA..tbMaster WHERE LastName = :n",
                              {{"n", name}});
        QVERIFY(rows);
        QVERIFY2(!rows->isEmpty(), qPrintable(name));
        QCOMPARE(rows->at(0).text(u"LastName"), name);
        // Typed in lower case, the first letters still find it.
        QVERIFY(count(db, u"SELECT COUNT(*) FROM PATIENT_DATA..tbMaster WHERE LastName LIKE :p"_s,
                      {{"p", QString(name.left(5).toLower() + u'%')}}) >= 1);
    }
}

QTEST_GUILESS_MAIN(tst_DemoHospital)
#include "tst_demohospital.moc"
