// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The companion components without a hospital: created by name, their members reached by
// name, what they answer before anybody logs in, and the key filter on its own and in the
// fields it is installed in.
#include "core/components/clsKeyFilter.h"
#include "core/components/clsLoginUser.h"
#include "core/components/Component.h"
#include "core/db/Database.h"
#include "core/ui/KeyFilter.h"
#include "support/RecordingNotifier.h"
#include "support/ScriptedLoginPrompt.h"

#include <QLineEdit>
#include <QMetaProperty>
#include <QTest>

using namespace kestrel;
using kestrel::test::RecordingNotifier;

namespace {

// A property of a gadget value held in a QVariant, the way a late-bound caller reads
// `Admission.Room.RoomID`.
QVariant gadgetMember(const QVariant &gadget, const char *name)
{
    const QMetaObject *meta = gadget.metaType().metaObject();
    const int index = meta ? meta->indexOfProperty(name) : -1;
    return index < 0 ? QVariant() : meta->property(index).readOnGadget(gadget.constData());
}

std::unique_ptr<Database> memoryDatabase()
{
    ConnectionSettings s;
    s.sqliteFile = QStringLiteral(":memory:");
    auto db = Database::open(s);
    return db ? std::move(*db) : nullptr;
}

// Calls a member by name, as late-bound callers do, and gives its answer.
template <typename R, typename... Args>
std::optional<R> call(QObject *object, const char *member, Args... args)
{
    R answer{};
    const QByteArray type = QMetaType::fromType<R>().name();
    if (!QMetaObject::invokeMethod(object, member, Qt::DirectConnection,
                                   QReturnArgument<R>(type.constData(), answer), args...))
        return std::nullopt;
    return answer;
}

using Installer = void (*)(QLineEdit *);

} // namespace

Q_DECLARE_METATYPE(Installer)

class tst_Components : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createsEachComponentByName()
    {
        RecordingNotifier notifier;
        ComponentContext ctx(notifier);
        for (const QString &progId : componentProgIds()) {
            std::unique_ptr<Component> c = CreateComponent(progId, ctx);
            QVERIFY2(c, qPrintable(progId));
            QCOMPARE(c->progId(), progId);
            // Two creations are two components: each window family keeps its own.
            std::unique_ptr<Component> second = CreateComponent(progId, ctx);
            QVERIFY(second && second.get() != c.get());
        }
        QVERIFY(notifier.boxes().isEmpty());
    }

    void namesAreLookedUpWithoutCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<QString>("progId"); // none: nothing is created
        QTest::newRow("lower") << "kspatient.clspatientfinder" << QStringList()
                               << "KsPatient.clsPatientFinder";
        QTest::newRow("upper") << "KSUSER.CLSLOGINUSER" << QStringList() << "KsUser.clsLoginUser";
        QTest::newRow("empty") << "" << QStringList() << "";
        QTest::newRow("class part only") << "clsLoginUser" << QStringList() << "";
        QTest::newRow("library part only") << "KsUser" << QStringList() << "";
        QTest::newRow("misspelt") << "KsUser.clsLogonUser" << QStringList() << "";
        QTest::newRow("wrong library") << "KsLookup.clsPatientFinder" << QStringList() << "";
        QTest::newRow("not installed")
            << "KsPatient.clsPatientFinder" << QStringList{"KsPatient.clsPatientFinder"} << "";
        QTest::newRow("not installed, other case")
            << "KsDrug.clsDrugPicker" << QStringList{"ksdrug.CLSDRUGPICKER"} << "";
    }
    void namesAreLookedUpWithoutCase()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, missing);
        QFETCH(QString, progId);
        RecordingNotifier notifier;
        ComponentContext ctx(notifier);
        ctx.missingComponents = missing;
        std::unique_ptr<Component> c = CreateComponent(typed, ctx);
        QCOMPARE(c ? c->progId() : QString(), progId);
        QVERIFY(notifier.boxes().isEmpty());
        // Only the names listed are missing; the rest of the installation is there.
        QVERIFY(CreateComponent(QStringLiteral("KsKeys.clsKeyFilter"), ctx));
    }

    // Called by name, as start-up calls them: with the connection, or its connection string.
    void initialisersAnswerHonestly_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QByteArray>("member");
        QTest::newRow("drug list") << "KsDrugList.clsDrugList" << QByteArray("InitConnection");
        QTest::newRow("drug picker") << "KsDrug.clsDrugPicker" << QByteArray("InitConnect");
        QTest::newRow("patient info")
            << "KsPatientInfo.clsPatientInfo" << QByteArray("InitConnect");
        QTest::newRow("charge slips")
            << "KsSlipList.clsChargeSlipList" << QByteArray("InitConnection");
    }
    void initialisersAnswerHonestly()
    {
        QFETCH(QString, progId);
        QFETCH(QByteArray, member);
        RecordingNotifier notifier;
        ComponentContext ctx(notifier);
        std::unique_ptr<Component> c = CreateComponent(progId, ctx);
        QVERIFY(c);
        const char *m = member.constData();
        std::unique_ptr<Database> db = memoryDatabase();
        QVERIFY(db);
        QCOMPARE(call<bool>(c.get(), m, Q_ARG(kestrel::Database *, nullptr)), false);
        QCOMPARE(c->connection(), nullptr);
        QCOMPARE(call<bool>(c.get(), m, Q_ARG(kestrel::Database *, db.get())), true);
        QCOMPARE(c->connection(), db.get());
        QCOMPARE(call<bool>(c.get(), m, Q_ARG(QString, QStringLiteral("  "))), false);
        const QString text = QStringLiteral("Provider=SQLite;Data Source=:memory:");
        QCOMPARE(call<bool>(c.get(), m, Q_ARG(QString, text)), true);
        QCOMPARE(c->connectionString(), text);
    }

    void membersAreReachableByName()
    {
        RecordingNotifier notifier;
        ComponentContext ctx(notifier);
        auto keys = CreateComponent(QStringLiteral("KsKeys.clsKeyFilter"), ctx);
        QCOMPARE(call<int>(keys.get(), "AllUppers", Q_ARG(int, int('q'))), int('Q'));

        auto finder = CreateComponent(QStringLiteral("KsPatient.clsPatientFinder"), ctx);
        QVERIFY(!finder->setProperty("OkeyLab", false)); // read-only: never cleared here
        QCOMPARE(finder->property("OkeyLab").toBool(), true);
        const QVariant room = gadgetMember(finder->property("Admission"), "Room");
        QVERIFY(room.isValid());
        QCOMPARE(gadgetMember(room, "RoomID").toString(), QString());
        auto *patientClass = finder->property("PatientClass").value<QObject *>();
        QVERIFY(patientClass);
        auto *outPatient = patientClass->property("clsOutPatient").value<QObject *>();
        QVERIFY(outPatient);
        // No connection yet: nothing is found.
        QCOMPARE(call<bool>(outPatient, "OpenOutPatient", Q_ARG(QString, QStringLiteral("1B"))),
                 false);
        QCOMPARE(call<bool>(finder.get(), "InitConnection", Q_ARG(QString, QString()),
                            Q_ARG(kestrel::Database *, nullptr)),
                 false);

        auto lookup = CreateComponent(QStringLiteral("KsLookup.clsCodeLookup"), ctx);
        std::unique_ptr<Database> db = memoryDatabase();
        QVERIFY(lookup->setProperty("Connection", QVariant::fromValue(db.get())));
        QCOMPARE(lookup->connection(), db.get());
        QVERIFY(lookup->setProperty("MTS_Server", QStringLiteral("MTS01")));
        QVERIFY(lookup->setProperty("AffiliatedOnly", true));
        QCOMPARE(lookup->property("AffiliatedOnly").toBool(), true);
        QVERIFY(
            QMetaObject::invokeMethod(lookup.get(), "Initialize_Classes", Qt::DirectConnection));
        QCOMPARE(gadgetMember(lookup->property("DoctorRecord"), "ResultCode").toString(),
                 QString());

        auto icd = CreateComponent(QStringLiteral("KsIcd.clsIcdLookup"), ctx);
        QVERIFY(icd->setProperty("ActiveConnection", QVariant::fromValue(db.get())));
        QCOMPARE(icd->property("ActiveConnection").value<Database *>(), db.get());

        QVERIFY(notifier.boxes().isEmpty());
    }

    void loginUserBeforeLogin()
    {
        RecordingNotifier notifier;
        test::ScriptedLoginPrompt prompt;
        ComponentContext ctx(notifier);
        ctx.loginPrompt = &prompt;
        auto user = CreateComponent(QStringLiteral("KsUser.clsLoginUser"), ctx);
        QVERIFY(user->setProperty("PasswordDeptCode", QStringLiteral("29")));
        QCOMPARE(qobject_cast<clsLoginUser *>(user.get())->PasswordDeptCode(),
                 QStringLiteral("29"));
        QObject form;
        QVERIFY(user->setProperty("hwndParentForm", QVariant::fromValue(&form)));
        QCOMPARE(user->property("hwndParentForm").value<QObject *>(), &form);
        QCOMPARE(user->property("Connected").toBool(), false);
        QCOMPARE(user->property("EmployeeCode").toString(), QString());
        QCOMPARE(user->property("sqlconnection").value<Database *>(), nullptr);

        // Nobody is logged in, so there is no password to ask for.
        QCOMPARE(call<bool>(user.get(), "checkusersettings"), false);
        QVERIFY(prompt.passwordAskedOf().isEmpty());

        // The class library has no connection to hand over yet, even when switched on.
        auto *classes = user->property("TARVIKCLASSES").value<QObject *>();
        QVERIFY(classes && classes->setProperty("UseClasses", true));
        QCOMPARE(call<bool>(classes, "initwithdb"), false);
        auto *cf4 = classes->property("clsCF4").value<QObject *>();
        QVERIFY(cf4);
        // Without a connection no stay's CF4 can be read, so none counts as complete.
        QVERIFY(cf4->setProperty("IdNum", QStringLiteral("260001")));
        QCOMPARE(call<bool>(cf4, "ValidateRequirements"), false);

        // Without a login window nobody can log in, and showmain says so only in the log.
        ComponentContext bare(notifier);
        clsLoginUser alone(bare);
        alone.showmain();
        QVERIFY(!alone.Connected());
        QVERIFY(notifier.boxes().isEmpty());
    }

    void statementConnectionNeedsServerAndDatabase_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("database");
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<bool>("established");
        QTest::newRow("both") << "db01.hospital"
                              << "hospital" << true << true;
        QTest::newRow("embedded") << "(local)"
                                  << "/data/demo-hospital.sqlite" << true << true;
        QTest::newRow("nobody logged in") << "db01.hospital"
                                          << "hospital" << false << false;
        QTest::newRow("no server") << ""
                                   << "hospital" << true << false;
        QTest::newRow("no database") << "db01.hospital"
                                     << "  " << true << false;
    }
    void statementConnectionNeedsServerAndDatabase()
    {
        QFETCH(QString, server);
        QFETCH(QString, database);
        QFETCH(bool, loggedIn);
        QFETCH(bool, established);
        RecordingNotifier notifier;
        ComponentContext ctx(notifier);
        std::unique_ptr<Database> db = memoryDatabase();
        QVERIFY(db);
        if (loggedIn)
            ctx.sharedConnection = [&db] { return db.get(); };
        auto c = CreateComponent(QStringLiteral("KsStatement.clsOpenConnection"), ctx);
        QVERIFY(c->setProperty("servername", server));
        QVERIFY(c->setProperty("Database", database));
        QVERIFY(c->setProperty("ServerPassword", QString()));
        QCOMPARE(call<bool>(c.get(), "EstablishedConnection"), established);
        // The statement reads through the connection it established, and only then.
        QCOMPARE(c->connection(), established ? db.get() : nullptr);
    }

    // --- The key filter --------------------------------------------------------------------

    void allUppers_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("a") << int('a') << int('A');
        QTest::newRow("z") << int('z') << int('Z');
        QTest::newRow("capital stays") << int('Q') << int('Q');
        QTest::newRow("n with tilde") << 0xF1 << 0xD1;
        QTest::newRow("e acute") << 0xE9 << 0xC9;
        QTest::newRow("sharp s has no one-letter capital") << 0xDF << 0xDF;
        QTest::newRow("digit") << int('7') << int('7');
        QTest::newRow("apostrophe") << int('\'') << int('\'');
        QTest::newRow("backspace") << 8 << 8;
        QTest::newRow("nothing") << 0 << 0;
        QTest::newRow("beyond the basic plane") << 0x1D41A << 0x1D41A;
    }
    void allUppers()
    {
        QFETCH(int, key);
        QFETCH(int, expected);
        QCOMPARE(clsKeyFilter::AllUppers(key), expected);
    }

    void isNumber_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("digit 0") << int('0') << int('0');
        QTest::newRow("digit 9") << int('9') << int('9');
        QTest::newRow("backspace") << 8 << 8;
        QTest::newRow("letter") << int('a') << 0;
        QTest::newRow("minus") << int('-') << 0;
        QTest::newRow("point") << int('.') << 0;
        QTest::newRow("enter") << 13 << 0;
        QTest::newRow("arabic-indic three") << 0x0663 << 0;
        QTest::newRow("fullwidth five") << 0xFF15 << 0;
    }
    void isNumber()
    {
        QFETCH(int, key);
        QFETCH(int, expected);
        QCOMPARE(clsKeyFilter::IsNumber(key), expected);
    }

    void lineEditsFilterTyping_data()
    {
        QTest::addColumn<Installer>("install");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("upper case") << &installUpperCase << QStringLiteral("dela cruz-2b")
                                    << QStringLiteral("DELA CRUZ-2B");
        QTest::newRow("upper case, n with tilde")
            << &installUpperCase << QStringLiteral("peña") << QStringLiteral("PEÑA");
        QTest::newRow("digits only")
            << &installDigitsOnly << QStringLiteral("12a3-4.5") << QStringLiteral("12345");
        QTest::newRow("letters upper, digits refused")
            << &installLettersUpper << QStringLiteral("santos2 jr") << QStringLiteral("SANTOS JR");
    }
    void lineEditsFilterTyping()
    {
        QFETCH(Installer, install);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QLineEdit edit;
        install(&edit);
        // Key by key, as a keyboard sends them; letters beyond ASCII come with their own code.
        for (QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
        QCOMPARE(edit.text(), shown);
        // Backspace still takes the last character away.
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), shown.chopped(1));
    }

    void pastedTextIsJudgedWhole_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("kept");
        using Rule = KeyFilterValidator::Rule;
        const auto row = [](const char *name, Rule rule, const char *pasted, bool accepted,
                            const char *kept) {
            QTest::newRow(name) << int(rule) << QString::fromUtf8(pasted) << accepted
                                << QString::fromUtf8(kept);
        };
        row("upper case", Rule::UpperCase, "or1047 lap chole", true, "OR1047 LAP CHOLE");
        row("digits only, clean", Rule::DigitsOnly, "2901", true, "2901");
        row("digits only, with a dash", Rule::DigitsOnly, "29-01", false, "29-01");
        row("letters upper", Rule::LettersUpper, "de la cruz", true, "DE LA CRUZ");
        row("letters upper, with a digit", Rule::LettersUpper, "cruz 3rd", false, "cruz 3rd");
    }
    void pastedTextIsJudgedWhole()
    {
        QFETCH(int, rule);
        QFETCH(QString, pasted);
        QFETCH(bool, accepted);
        QFETCH(QString, kept);
        KeyFilterValidator validator{KeyFilterValidator::Rule(rule)};
        QString text = pasted;
        int pos = int(text.size());
        QCOMPARE(validator.validate(text, pos) == QValidator::Acceptable, accepted);
        QCOMPARE(text, kept);
        QCOMPARE(pos, int(pasted.size()));
    }
};

QTEST_MAIN(tst_Components)
#include "tst_components.moc"
