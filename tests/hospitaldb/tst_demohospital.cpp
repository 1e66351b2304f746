// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/DemoHospital.h"
#include "support/TestDatabase.h"

#include <QSet>
#include <QTest>

#include <sodium.h>

using namespace kestrel;
using namespace kestrel::hospitaldb;
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
    const QString sql = u"SELECT * FROM " + table + u" ORDER BY " + key;
    auto rows = db.select(sql);
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
    void supervisorHasEveryRight();
    void namesWithApostropheAndEnyeRoundTrip();
};

void tst_DemoHospital::hasEveryKindOfStay_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<Binds>("binds");
    QTest::addColumn<int>("minimum");
    const QDate today = test::fixtureToday();
    QTest::newRow("patients") << "SELECT COUNT(*) FROM PATIENT_DATA..tbMaster" << Binds() << 300;
    QTest::newRow("inpatient stays")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient" << Binds() << 100;
    QTest::newRow("outpatient visits")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbOutPatient WHERE ERNum IS NULL" << Binds() << 20;
    QTest::newRow("ER visits")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbOutPatient WHERE ERNum IS NOT NULL" << Binds()
        << 20;
    QTest::newRow("discharged")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient WHERE DcrDate IS NOT NULL" << Binds()
        << 50;
    QTest::newRow("admitted this week and still in")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient WHERE DcrDate IS NULL AND AdmDate >= :d"
        << Binds{{"d", today.addDays(-7)}} << 30;
    QTest::newRow("billed")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient WHERE BillingDate IS NOT NULL" << Binds()
        << 20;
    QTest::newRow("cash basis")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient2 WHERE isCashBasis = 1" << Binds() << 1;
    QTest::newRow("HMO account")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient P JOIN BUILD_FILE..tbCoCompany C "
           "ON C.AccountNum = P.AccountNum WHERE C.CompanyType = :type"
        << Binds{{"type", "H"}} << 1;
    QTest::newRow("personal account")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient WHERE AccountNum = HospNum" << Binds()
        << 1;
    QTest::newRow("senior citizen still in")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient P JOIN PATIENT_DATA..tbMaster M "
           "ON M.HospNum = P.HospNum WHERE P.DcrDate IS NULL AND M.BirthDate <= :d"
        << Binds{{"d", today.addYears(-60)}} << 1;
    QTest::newRow("CVOR tagged") << "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient WHERE isCVOR = 1"
                                 << Binds() << 1;
    QTest::newRow("coloured precaution")
        << "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient P JOIN BUILD_FILE..tbCoPrecautions C "
           "ON C.PrecautionID = P.PrecautionID WHERE C.PrecautionID <> :standard"
        << Binds{{"standard", "1"}} << 1;
    QTest::newRow("confirmed operation of a patient still in")
        << "SELECT COUNT(*) FROM SCHEDULE..tbORScheduleDetails S JOIN PATIENT_DATA..tbPatient P "
           "ON P.IDNum = S.IDNum WHERE S.RecordStatus = :status AND P.DcrDate IS NULL"
        << Binds{{"status", "C"}} << 1;
    QTest::newRow("pending charges")
        << "SELECT COUNT(*) FROM STATION..tbNurseLogBook WHERE RecordStatus = :pending"
        << Binds{{"pending", ""}} << 1;
}

void tst_DemoHospital::hasEveryKindOfStay()
{
    QFETCH(QString, sql);
    QFETCH(Binds, binds);
    QFETCH(int, minimum);
    KESTREL_OPEN_DEMO(db);
    const qint64 n = count(db, sql, binds);
    QVERIFY2(n >= minimum, qPrintable(QStringLiteral("%1 rows").arg(n)));
}

void tst_DemoHospital::staysAreConsistent()
{
    KESTREL_OPEN_DEMO(db);
    QCOMPARE(count(db, "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient P WHERE NOT EXISTS "
                       "(SELECT 1 FROM PATIENT_DATA..tbMaster M WHERE M.HospNum = P.HospNum)"),
             0);
    QCOMPARE(count(db, "SELECT COUNT(*) FROM PATIENT_DATA..tbOutPatient P WHERE NOT EXISTS "
                       "(SELECT 1 FROM PATIENT_DATA..tbMaster M WHERE M.HospNum = P.HospNum)"),
             0);
    QCOMPARE(count(db, "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient P WHERE NOT EXISTS "
                       "(SELECT 1 FROM PATIENT_DATA..tbPatient2 X WHERE X.IDNum = P.IDNum)"),
             0);

    // The table of a stay is chosen by its last letter, so the two kinds must never mix,
    // and an IdNum must name one stay only.
    QSet<QString> ids;
    int stays = 0;
    for (const auto &[table, outpatient] : {std::pair{"PATIENT_DATA..tbPatient", false},
                                            std::pair{"PATIENT_DATA..tbOutPatient", true}}) {
        auto rows = db.select(QStringLiteral("SELECT IDNum FROM %1").arg(QLatin1String(table)));
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
    QCOMPARE(count(db, "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient WHERE AdmDate > :now", now),
             0);
    QCOMPARE(count(db,
                   "SELECT COUNT(*) FROM PATIENT_DATA..tbPatient WHERE DcrDate < AdmDate "
                   "OR DcrDate > :now",
                   now),
             0);
    QCOMPARE(count(db, "SELECT COUNT(*) FROM (SELECT RoomID FROM PATIENT_DATA..tbPatient "
                       "WHERE DcrDate IS NULL GROUP BY RoomID HAVING COUNT(*) > 1) T"),
             0);
}

void tst_DemoHospital::seedDecidesTheHospital()
{
    auto first = demoWithSeed(7);
    QVERIFY2(first, qPrintable(first ? QString() : first.error().message));
    auto again = demoWithSeed(7);
    QVERIFY2(again, qPrintable(again ? QString() : again.error().message));
    auto other = demoWithSeed(8);
    QVERIFY2(other, qPrintable(other ? QString() : other.error().message));

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
    QVERIFY(dump((*other)->db(), "PATIENT_DATA..tbMaster", "HospNum") !=
            dump((*first)->db(), "PATIENT_DATA..tbMaster", "HospNum"));
}

void tst_DemoHospital::demoPasswordsVerifyAgainstStoredHashes()
{
    KESTREL_OPEN_DEMO(db);
    const QList<DemoLogin> logins = demoLogins();
    QVERIFY(logins.size() >= 8);
    for (const DemoLogin &login : logins) {
        auto hash = db.scalar(u"SELECT PasswordHash FROM Password..tbPasswordMaster "
                              "WHERE EmployeeID = :code",
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

void tst_DemoHospital::supervisorHasEveryRight()
{
    KESTREL_OPEN_DEMO(db);
    // Every access right the program checks anywhere.
    const QStringList codes = {"1",  "2",  "3",  "4",  "5",  "6",  "9",  "10", "11", "13",
                               "18", "19", "20", "21", "22", "25", "29", "36", "37", "38"};
    QString supervisor;
    for (const DemoLogin &login : demoLogins()) {
        if (login.role.contains(u"SUPERVISOR"))
            supervisor = login.employeeCode;
    }
    QVERIFY(!supervisor.isEmpty());
    auto rights = db.scalar(u"SELECT EmployeeRights FROM STATION..tbNurseUserRights "
                            "WHERE EmployeeID = :e",
                            {{"e", supervisor}});
    QVERIFY(rights);
    QStringList granted = rights->toString().split(u'|');
    for (QString &g : granted)
        g = g.trimmed();
    for (const QString &code : codes) {
        QVERIFY2(granted.contains(code), qPrintable(code));
        QCOMPARE(count(db,
                       "SELECT COUNT(*) FROM STATION..tbNurseUserSettings "
                       "WHERE ItemID = :code AND Status = :active",
                       {{"code", code}, {"active", "A"}}),
                 1);
    }
    // The tour needs a user the program refuses everything.
    QVERIFY(count(db,
                  "SELECT COUNT(*) FROM Password..tbPasswordMaster P WHERE NOT EXISTS "
                  "(SELECT 1 FROM STATION..tbNurseUserRights R "
                  "WHERE R.EmployeeID = P.EmployeeID AND R.EmployeeRights <> :none)",
                  {{"none", ""}}) >= 1);
}

void tst_DemoHospital::namesWithApostropheAndEnyeRoundTrip()
{
    KESTREL_OPEN_DEMO(db);
    for (const QString &name : {QStringLiteral("D'ANGELO"), QStringLiteral("DELA PEÑA")}) {
        auto rows = db.select(u"SELECT LastName FROM PATIENT_DATA..tbMaster WHERE LastName = :n",
                              {{"n", name}});
        QVERIFY(rows);
        QVERIFY2(!rows->isEmpty(), qPrintable(name));
        QCOMPARE(rows->at(0).text(u"LastName"), name);
        // Typed in lower case, the first letters still find it.
        QVERIFY(count(db, "SELECT COUNT(*) FROM PATIENT_DATA..tbMaster WHERE LastName LIKE :p",
                      {{"p", QString(name.left(5).toLower() + u'%')}}) >= 1);
    }
}

QTEST_GUILESS_MAIN(tst_DemoHospital)
#include "tst_demohospital.moc"
