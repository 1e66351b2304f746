// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR's users on every backend: password scrambling, re-validation and its lock-out, the
// employee search, the rights editor down to what the access check reads, user log codes.
#include "core/AccessRights.h"
#include "hospitaldb/DemoHospital.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"
#include "users/modEncryption.h"
#include "users/UserLogs.h"
#include "users/UserRights.h"
#include "users/UserValidation.h"

#include <QRandomGenerator>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kSupervisor = u"2901"_s;
const QString kPassword = u"orsupervisor"_s;
const QString kKey = u"KESTRELORDEMO"_s;

Result<RowSet> check(Database &db, const QString &code, const QString &password,
                     const QString &department = u"29"_s)
{
    const QString scrambled =
        Scramble(u"E", hospitaldb::demoScrambleKey(), password.trimmed()).trimmed();
    return db.call(u"Station..sp_Check_User_Department_Access", {code, scrambled, department});
}

int count(Database &db, QStringView sql, const Binds &binds = {})
{
    auto n = db.scalar(sql, binds);
    return n ? n->toInt() : -1;
}

struct ReasonCase
{
    int postOrCancel;
    bool reasonRequired;
    QString password, remarks;
    UserValidation::Outcome outcome;
    QString reason, message;
};

} // namespace

class tst_Users : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void scrambleKnownValues_data();
    void scrambleKnownValues();
    void scrambleRoundTrips();
    void validatesCodePasswordAndDepartment_data();
    void validatesCodePasswordAndDepartment();
    void repeatedFailuresLockTheCodeForAWhile();
    void windowRulesForReasons_data();
    void windowRulesForReasons();
    void searchesTheStationsEmployees();
    void rightsEditorSavesWhatTheCheckReads();
    void userLogTransactionCodes();
};

void tst_Users::scrambleKnownValues_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty text is the offset alone") << "E" << "" << "5B";
    // (65 + 91) % 255 = 156, XOR 'K' (75) = 215.
    QTest::newRow("one letter") << "E" << "A" << "5BD7";
    // (228 + 91) % 255 = 64, XOR 'K' = 11: a value below 16 is blank-padded, not zero-padded.
    QTest::newRow("blank-padded value") << "E" << QString(QChar(228)) << "5B B";
    // The second character uses the first one's value as its offset and the key's 'E'.
    QTest::newRow("offset chains") << "E" << "AB" << "5BD75F";
    QTest::newRow("lower-case mode is no mode") << "e" << "A" << "";
    QTest::newRow("unscramble blank-padded") << "D" << "5B B" << QString(QChar(228));
    QTest::newRow("unscramble garbage") << "D" << "ZZ12" << "";
}

void tst_Users::scrambleKnownValues()
{
    QFETCH(QString, mode);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Scramble(mode, kKey, text), expected);
}

void tst_Users::scrambleRoundTrips()
{
    QRandomGenerator rng(20261205);
    for (int n = 0; n < 500; ++n) { // every character from 1 to 254, in any order
        QString text;
        for (int i = rng.bounded(0, 40); i > 0; --i)
            text += QChar(rng.bounded(1, 255));
        const QString scrambled = Scramble(u"E", kKey, text);
        QCOMPARE(scrambled.size(), 2 + 2 * text.size());
        QCOMPARE(Scramble(u"D", kKey, scrambled), text);
    }
    // Callers trim the scrambled text before sending it; a leading blank of the first pair
    // must not break unscrambling, and neither must the key's wrap-around.
    const QString password = u"orsupervisor-and-more"_s;
    const QString scrambled = Scramble(u"E", kKey, password).trimmed();
    QCOMPARE(Scramble(u"D", kKey, scrambled), password);
    QVERIFY(Scramble(u"D", u"ANOTHERKEYXYZ"_s, scrambled) != password);
}

void tst_Users::validatesCodePasswordAndDepartment_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("valid");
    QTest::newRow("right password") << "2901" << "orsupervisor" << true;
    QTest::newRow("code with blanks") << " 2901 " << "orsupervisor" << true;
    QTest::newRow("wrong password") << "2901" << "orsupervisor2" << false;
    QTest::newRow("password in capitals") << "2901" << "ORSUPERVISOR" << false;
    QTest::newRow("unknown code") << "9999" << "orsupervisor" << false;
    QTest::newRow("another department") << "1401" << "wardnurse" << false;
    QTest::newRow("empty password") << "2901" << "" << false;
}

void tst_Users::validatesCodePasswordAndDepartment()
{
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(bool, valid);
    KESTREL_OPEN_DEMO(db);
    auto rows = check(db, code, password);
    QVERIFY2(rows, qPrintable(rows ? QString() : rows.error().message));
    QCOMPARE(rows->count(), valid ? 1 : 0);
    QCOMPARE(count(db, u"select count(*) from PASSWORD..tbValidationFailures"), valid ? 0 : 1);
}

void tst_Users::repeatedFailuresLockTheCodeForAWhile()
{
    KESTREL_OPEN_DEMO(db);
    const QDateTime start = test::fixtureNow();
    const int logsBefore = count(db, u"select count(*) from STATION..tbStationLogs");
    const auto tryAt = [&](int seconds, const QString &password) {
        return db.pinClock(start.addSecs(seconds)) ? check(db, kSupervisor, password)->count()
                                                   : -1;
    };

    // Five failures a minute apart: the fifth locks the code.
    for (int i = 0; i < 5; ++i)
        QCOMPARE(tryAt(60 * i, u"guess%1"_s.arg(i)), 0);
    // The right password is turned away while the lock lasts, and each refusal is logged.
    QCOMPARE(tryAt(60 * 5, kPassword), 0);
    QCOMPARE(tryAt(60 * 8, kPassword), 0);
    QCOMPARE(count(db, u"select count(*) from STATION..tbStationLogs"), logsBefore + 2);
    QCOMPARE(count(db, u"select count(*) from STATION..tbStationLogs where IdNum = :code and "
                       u"Remarks = 'RE-VALIDATION REFUSED: TOO MANY FAILED TRIES'",
                   {{u"code"_s, kSupervisor}}),
             2);
    // Another employee is not affected.
    QCOMPARE(check(db, u"2905"_s, u"orclerk"_s)->count(), 1);

    // Five minutes after the last failure the code may try again, and a success forgets the
    // failures.
    QCOMPARE(tryAt(60 * 9 + 1, kPassword), 1);
    QCOMPARE(count(db, u"select count(*) from PASSWORD..tbValidationFailures where "
                       u"EmployeeID = :code",
                   {{u"code"_s, kSupervisor}}),
             0);

    // Failures spread wider than ten minutes never lock.
    for (int i = 0; i < 6; ++i)
        QCOMPARE(tryAt(3600 + 180 * i, u"slow%1"_s.arg(i)), 0);
    QCOMPARE(tryAt(3600 + 180 * 6, kPassword), 1);

    // No password, typed or scrambled, is ever written down.
    auto remarks = db.select(u"select Remarks from STATION..tbStationLogs");
    QVERIFY(remarks);
    for (const Row &r : *remarks)
        QVERIFY(!r.text(u"Remarks").contains(kPassword, Qt::CaseInsensitive));
}

void tst_Users::windowRulesForReasons_data()
{
    QTest::addColumn<ReasonCase>("c");
    using O = UserValidation::Outcome;
    const QString refused = u"Unauthorized User for this department(OR-Operating Room)"_s;
    QTest::newRow("posting") << ReasonCase{0, true, "orclerk", "", O::Validated, "", ""};
    QTest::newRow("cancellation with reason") << ReasonCase{
        1, true, "orclerk", "  Wrong item\r\ncharged  ", O::Validated, "Wrong item charged", ""};
    QTest::newRow("only blanks and line breaks")
        << ReasonCase{1,  true, "orclerk", " \r\n \r\n", O::NeedsReason, "",
                      "Please enter reason of cancellation."};
    QTest::newRow("reason not required")
        << ReasonCase{1, false, "orclerk", "", O::Validated, "", ""};
    QTest::newRow("refusal before reason")
        << ReasonCase{1, true, "nope", "", O::Unauthorized, "", refused};
}

void tst_Users::windowRulesForReasons()
{
    QFETCH(ReasonCase, c);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2905"_s);
    Session &session = f.session;
    session.hospital.IsAllowEntryOfReasonForCancellation = c.reasonRequired;
    session.validated = ValidatedUser{u"2901"_s, u"OLD"_s, u"old"_s};
    UserValidation window(session, hospitaldb::demoScrambleKey());
    window.open(c.postOrCancel);
    QVERIFY(!session.validated.isValid());
    QCOMPARE(window.showsReason(), c.postOrCancel == 1);
    QCOMPARE(window.validate(u" 2905 "_s, c.password, c.remarks), c.outcome);
    QCOMPARE(f.notifier.lastText(), c.message);
    const bool signedIn = c.outcome != UserValidation::Outcome::Unauthorized;
    QCOMPARE(session.validated.code, signedIn ? u"2905"_s : QString());
    QCOMPARE(session.validated.name, signedIn ? u"ESGUERRA, MARICEL TAN"_s : QString());
    QCOMPARE(session.validated.reason, c.reason);
}

void tst_Users::searchesTheStationsEmployees()
{
    KESTREL_OPEN_DEMO(db);
    const auto search = [&](const char *text) {
        auto rows =
            db.call(u"STATION..spNurse_SearchNurseUsers", {u"OR"_s, QString::fromUtf8(text)});
        QStringList found;
        for (const Row &r : rows.value_or(RowSet()))
            found << r.text(u"EmployeeCode") + u'|' + r.text(u"EmployeeName") + u'|' +
                         r.text(u"Position");
        return rows ? found : QStringList{rows.error().message};
    };
    QCOMPARE(search("vill"), QStringList{u"2901|VILLANUEVA, TERESITA MAGBANUA|OR SUPERVISOR"_s});
    // The OR's staff only (not another station's ward nurse); wildcards are matched as typed.
    QCOMPARE(search("29").size(), 9);
    for (const char *nobody : {"1401", "%", "2_01"})
        QVERIFY2(search(nobody).isEmpty(), nobody);
}

void tst_Users::rightsEditorSavesWhatTheCheckReads()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, kSupervisor);
    UserRights editor(f.session);
    QVERIFY(editor.load());
    QVERIFY(!editor.canEdit());
    QCOMPARE(editor.items().size(),
             count(db, u"select count(*) from STATION..tbNurseUserSettings where Status = 'A'"));

    // 2908 has no rights row: nothing is ticked, and the first save adds the row.
    QVERIFY(editor.choose(editor.search(u"2908"_s).value(0)));
    const auto saved = [&](const QStringList &codes, bool all) -> QString {
        editor.selectAll(all);
        for (int i = 0; !all && i < editor.items().size(); ++i)
            editor.setTicked(i, codes.contains(editor.items().at(i).code()));
        const QString text = editor.rightsText();
        f.notifier.clear();
        if (!editor.save() || f.notifier.lastText() != u"User rights successfully updated.")
            return u"not saved: "_s + f.notifier.lastText();
        auto row = db.selectOne(u"select EmployeeRights, UserID from "
                                u"STATION..tbNurseUserRights where EmployeeID = '2908'");
        if (!row || !*row || (*row)->text(u"UserID") != kSupervisor)
            return u"no row of 2908 saved by 2901"_s;
        return (*row)->text(u"EmployeeRights") == text ? text : u"saved differently"_s;
    };
    for (const UserRights::Item &item : editor.items())
        QVERIFY(!item.ticked);
    QCOMPARE(saved({u"9"_s, u"13"_s}, false), u"|9|13"_s);
    for (const UserRights::Item &item : editor.items())
        QCOMPARE(HasAccessRight(f.session, item.code(), u"2908"), item.ticked);
    // Nothing ticked saves an empty text, which grants nothing, on the same row.
    QCOMPARE(saved({}, false), QString());
    QVERIFY(!HasAccessRight(f.session, u"9", u"2908"));
    QCOMPARE(count(db, u"select count(*) from STATION..tbNurseUserRights where "
                       u"EmployeeID = '2908'"),
             1);
    QString everything;
    for (const UserRights::Item &item : editor.items())
        everything += u'|' + item.code();
    QCOMPARE(saved({}, true), everything);
    QVERIFY(HasAccessRight(f.session, u"3", u"2908"));
}

void tst_Users::userLogTransactionCodes()
{
    // The transaction is found whatever its case; anything else is no transaction.
    QCOMPARE(UserLogs::transactionCode(u"change height and WEIGHT"_s), u"C"_s);
    QCOMPARE(UserLogs::transactionCode(u"Charge Posting"_s), QString());
    QCOMPARE(UserLogs::transactionCode(QString()), QString());
}

QTEST_MAIN(tst_Users)
#include "tst_users.moc"
