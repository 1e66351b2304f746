// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/components/clsLoginUser.h"
#include "shell/components/clsPatientFinder.h"
#include "shell/components/Component.h"
#include "shell/db/Database.h"
#include "support/RecordingNotifier.h"
#include "support/ScriptedLoginPrompt.h"

#include <QMetaProperty>
#include <QSet>
#include <QTest>

using namespace kestrel;
using kestrel::test::RecordingNotifier;
using kestrel::test::ScriptedLoginPrompt;

namespace {

// A property of a gadget value held in a QVariant, the way a late-bound caller reads
// `Admission.Room.RoomID`.
QVariant gadgetMember(const QVariant &gadget, const char *name)
{
    const QMetaObject *meta = gadget.metaType().metaObject();
    if (!meta)
        return {};
    const int index = meta->indexOfProperty(name);
    if (index < 0)
        return {};
    return meta->property(index).readOnGadget(gadget.constData());
}

std::unique_ptr<Database> memoryDatabase()
{
    ConnectionSettings s;
    s.sqliteFile = QStringLiteral(":memory:");
    auto db = Database::open(s);
    return db ? std::move(*db) : nullptr;
}

} // namespace

class tst_Components : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createsEachComponentByName_data();
    void createsEachComponentByName();
    void namesIgnoreCase_data();
    void namesIgnoreCase();
    void unknownAndMissingNamesGiveNothing_data();
    void unknownAndMissingNamesGiveNothing();
    void initialisersAnswerHonestly_data();
    void initialisersAnswerHonestly();
    void unavailableWindowsSaySo_data();
    void unavailableWindowsSaySo();
    void membersAreReachableByName();
    void loginUserBeforeLogin();
    void statementConnectionNeedsServerAndDatabase_data();
    void statementConnectionNeedsServerAndDatabase();
    void viewersTerminate();
};

void tst_Components::createsEachComponentByName_data()
{
    QTest::addColumn<QString>("progId");
    QTest::addColumn<QString>("className");
    const QList<std::pair<const char *, const char *>> table{
        {"KsUser.clsLoginUser", "kestrel::clsLoginUser"},
        {"KsLookup.clsCodeLookup", "kestrel::clsCodeLookup"},
        {"KsKeys.clsKeyFilter", "kestrel::clsKeyFilter"},
        {"KsPatient.clsPatientFinder", "kestrel::clsPatientFinder"},
        {"KsDrug.clsDrugPicker", "kestrel::clsDrugPicker"},
        {"KsDrugList.clsDrugList", "kestrel::clsDrugList"},
        {"KsGenericList.clsGenericList", "kestrel::clsGenericList"},
        {"KsIcd.clsIcdLookup", "kestrel::clsIcdLookup"},
        {"KsRvs.clsRvsLookup", "kestrel::clsRvsLookup"},
        {"KsNursing.clsRequestViewer", "kestrel::clsRequestViewer"},
        {"KsNursing.clsResultViewer", "kestrel::clsResultViewer"},
        {"KsNursing.clsStayResultViewer", "kestrel::clsStayResultViewer"},
        {"KsNursing.clsStayViewer", "kestrel::clsStayViewer"},
        {"KsSlipList.clsChargeSlipList", "kestrel::clsChargeSlipList"},
        {"KsIssued.clsIssuedMedicines", "kestrel::clsIssuedMedicines"},
        {"KsPatientInfo.clsPatientInfo", "kestrel::clsPatientInfo"},
        {"KsHistopath.clsHistopathRequest", "kestrel::clsHistopathRequest"},
        {"KsStatement.clsOpenConnection", "kestrel::clsOpenConnection"},
        {"KsStatement.clsStatement", "kestrel::clsStatement"},
    };
    for (const auto &[progId, className] : table)
        QTest::newRow(progId) << QString::fromLatin1(progId) << QString::fromLatin1(className);
}

void tst_Components::createsEachComponentByName()
{
    QFETCH(QString, progId);
    QFETCH(QString, className);
    RecordingNotifier notifier;
    ComponentContext ctx(notifier);
    std::unique_ptr<Component> c = CreateComponent(progId, ctx);
    QVERIFY(c);
    QCOMPARE(QString::fromLatin1(c->metaObject()->className()), className);
    QCOMPARE(c->progId(), progId);
    QVERIFY(componentProgIds().contains(progId));
    // Two creations are two components: each window family keeps its own.
    std::unique_ptr<Component> second = CreateComponent(progId, ctx);
    QVERIFY(second && second.get() != c.get());
}

void tst_Components::namesIgnoreCase_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("progId");
    QTest::newRow("lower") << "kspatient.clspatientfinder"
                           << "KsPatient.clsPatientFinder";
    QTest::newRow("upper") << "KSUSER.CLSLOGINUSER"
                           << "KsUser.clsLoginUser";
    QTest::newRow("mixed") << "ksKEYS.ClsKeyFilter"
                           << "KsKeys.clsKeyFilter";
}

void tst_Components::namesIgnoreCase()
{
    QFETCH(QString, typed);
    QFETCH(QString, progId);
    RecordingNotifier notifier;
    ComponentContext ctx(notifier);
    std::unique_ptr<Component> c = CreateComponent(typed, ctx);
    QVERIFY(c);
    QCOMPARE(c->progId(), progId);
}

void tst_Components::unknownAndMissingNamesGiveNothing_data()
{
    QTest::addColumn<QString>("progId");
    QTest::addColumn<QStringList>("missing");
    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("class part only") << "clsLoginUser" << QStringList();
    QTest::newRow("library part only") << "KsUser" << QStringList();
    QTest::newRow("misspelt") << "KsUser.clsLogonUser" << QStringList();
    QTest::newRow("wrong library") << "KsLookup.clsPatientFinder" << QStringList();
    QTest::newRow("not installed") << "KsPatient.clsPatientFinder"
                                   << QStringList{QStringLiteral("KsPatient.clsPatientFinder")};
    QTest::newRow("not installed, other case")
        << "KsDrug.clsDrugPicker" << QStringList{QStringLiteral("ksdrug.CLSDRUGPICKER")};
}

void tst_Components::unknownAndMissingNamesGiveNothing()
{
    QFETCH(QString, progId);
    QFETCH(QStringList, missing);
    RecordingNotifier notifier;
    ComponentContext ctx(notifier);
    ctx.missingComponents = missing;
    QVERIFY(!CreateComponent(progId, ctx));
    QVERIFY(notifier.boxes().isEmpty());
    // Only the names listed are missing; the rest of the installation is there.
    QVERIFY(CreateComponent(QStringLiteral("KsKeys.clsKeyFilter"), ctx));
}

void tst_Components::initialisersAnswerHonestly_data()
{
    QTest::addColumn<QString>("progId");
    QTest::addColumn<QString>("member");
    QTest::newRow("drug list") << "KsDrugList.clsDrugList"
                               << "InitConnection";
    QTest::newRow("generic list") << "KsGenericList.clsGenericList"
                                  << "InitConnection";
    QTest::newRow("drug picker") << "KsDrug.clsDrugPicker"
                                 << "InitConnect";
    QTest::newRow("relative value scale") << "KsRvs.clsRvsLookup"
                                          << "InitConnection";
    QTest::newRow("patient info") << "KsPatientInfo.clsPatientInfo"
                                  << "InitConnect";
    QTest::newRow("issued medicines") << "KsIssued.clsIssuedMedicines"
                                      << "InitConnection";
    QTest::newRow("charge slips") << "KsSlipList.clsChargeSlipList"
                                  << "InitConnection";
}

void tst_Components::initialisersAnswerHonestly()
{
    QFETCH(QString, progId);
    QFETCH(QString, member);
    RecordingNotifier notifier;
    ComponentContext ctx(notifier);
    std::unique_ptr<Component> c = CreateComponent(progId, ctx);
    QVERIFY(c);
    const QByteArray name = member.toLatin1();
    // Called by name, as start-up calls them: with the connection, or its connection string.
    auto initWith = [&](Database *connection) {
        bool ok = connection == nullptr;
        const bool called = QMetaObject::invokeMethod(c.get(), name.constData(),
                                                      Qt::DirectConnection, Q_RETURN_ARG(bool, ok),
                                                      Q_ARG(kestrel::Database *, connection));
        return called ? std::optional<bool>(ok) : std::nullopt;
    };
    auto initWithText = [&](const QString &connectionString) {
        bool ok = connectionString.trimmed().isEmpty();
        const bool called =
            QMetaObject::invokeMethod(c.get(), name.constData(), Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, ok), Q_ARG(QString, connectionString));
        return called ? std::optional<bool>(ok) : std::nullopt;
    };

    std::unique_ptr<Database> db = memoryDatabase();
    QVERIFY(db);
    QCOMPARE(initWith(nullptr), std::optional<bool>(false));
    QCOMPARE(c->connection(), nullptr);
    QCOMPARE(initWith(db.get()), std::optional<bool>(true));
    QCOMPARE(c->connection(), db.get());
    QCOMPARE(initWithText(QStringLiteral("  ")), std::optional<bool>(false));
    QCOMPARE(initWithText(QStringLiteral("Provider=SQLite;Data Source=:memory:")),
             std::optional<bool>(true));
    QCOMPARE(c->connectionString(), QStringLiteral("Provider=SQLite;Data Source=:memory:"));
}

void tst_Components::unavailableWindowsSaySo_data()
{
    QTest::addColumn<QString>("progId");
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("text");
    QTest::newRow("drug list") << "KsDrugList.clsDrugList"
                               << "ShowList"
                               << "The drug list is not available yet.";
    QTest::newRow("generic list") << "KsGenericList.clsGenericList"
                                  << "ShowList"
                                  << "The generic drug list is not available yet.";
    QTest::newRow("charge slips") << "KsSlipList.clsChargeSlipList"
                                  << "ShowList"
                                  << "The charge slip list is not available yet.";
    QTest::newRow("issued medicines") << "KsIssued.clsIssuedMedicines"
                                      << "ShowList"
                                      << "The list of issued medicines is not available yet.";
    QTest::newRow("relative value scale") << "KsRvs.clsRvsLookup"
                                          << "List"
                                          << "The relative value scale list is not available yet.";
    QTest::newRow("patient info") << "KsPatientInfo.clsPatientInfo"
                                  << "LoadInfo"
                                  << "The patient information panel is not available yet.";
    QTest::newRow("histopathology") << "KsHistopath.clsHistopathRequest"
                                    << "showform"
                                    << "The histopathology request is not available yet.";
    QTest::newRow("statement of account") << "KsStatement.clsStatement"
                                          << "ShowSOA"
                                          << "The statement of account is not available yet.";
}

void tst_Components::unavailableWindowsSaySo()
{
    QFETCH(QString, progId);
    QFETCH(QString, member);
    QFETCH(QString, text);
    RecordingNotifier notifier;
    ComponentContext ctx(notifier);
    std::unique_ptr<Component> c = CreateComponent(progId, ctx);
    QVERIFY(c);
    QVERIFY(
        QMetaObject::invokeMethod(c.get(), member.toLatin1().constData(), Qt::DirectConnection));
    QCOMPARE(notifier.boxes().size(), 1);
    QCOMPARE(notifier.boxes().first().text, text);
    QCOMPARE(notifier.boxes().first().title, QStringLiteral("Notification"));
    QCOMPARE(notifier.boxes().first().icon, Notifier::Icon::Information);
}

void tst_Components::membersAreReachableByName()
{
    RecordingNotifier notifier;
    ComponentContext ctx(notifier);

    std::unique_ptr<Component> keys = CreateComponent(QStringLiteral("KsKeys.clsKeyFilter"), ctx);
    int upper = 0;
    QVERIFY(QMetaObject::invokeMethod(keys.get(), "AllUppers", Qt::DirectConnection,
                                      Q_RETURN_ARG(int, upper), Q_ARG(int, int('q'))));
    QCOMPARE(upper, int('Q'));

    std::unique_ptr<Component> finder =
        CreateComponent(QStringLiteral("KsPatient.clsPatientFinder"), ctx);
    QVERIFY(finder->setProperty("OkeyLab", false) == false); // read-only: never cleared here
    QCOMPARE(finder->property("OkeyLab").toBool(), true);
    const QVariant admission = finder->property("Admission");
    QVERIFY(admission.isValid());
    const QVariant room = gadgetMember(admission, "Room");
    QVERIFY(room.isValid());
    QCOMPARE(gadgetMember(room, "RoomID").toString(), QString());
    auto *patientClass = finder->property("PatientClass").value<QObject *>();
    QVERIFY(patientClass);
    auto *outPatient = patientClass->property("clsOutPatient").value<QObject *>();
    QVERIFY(outPatient);
    bool found = true;
    QVERIFY(QMetaObject::invokeMethod(outPatient, "OpenOutPatient", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, found),
                                      Q_ARG(QString, QStringLiteral("1B"))));
    QVERIFY(!found); // no connection yet
    bool init = true;
    QVERIFY(QMetaObject::invokeMethod(finder.get(), "InitConnection", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, init), Q_ARG(QString, QString()),
                                      Q_ARG(kestrel::Database *, nullptr)));
    QVERIFY(!init);

    std::unique_ptr<Component> lookup =
        CreateComponent(QStringLiteral("KsLookup.clsCodeLookup"), ctx);
    std::unique_ptr<Database> db = memoryDatabase();
    QVERIFY(lookup->setProperty("Connection", QVariant::fromValue(db.get())));
    QCOMPARE(lookup->connection(), db.get());
    QVERIFY(lookup->setProperty("MTS_Server", QStringLiteral("MTS01")));
    QVERIFY(lookup->setProperty("AffiliatedOnly", true));
    QCOMPARE(lookup->property("AffiliatedOnly").toBool(), true);
    QVERIFY(QMetaObject::invokeMethod(lookup.get(), "Initialize_Classes", Qt::DirectConnection));
    QCOMPARE(gadgetMember(lookup->property("DoctorRecord"), "ResultCode").toString(), QString());

    std::unique_ptr<Component> icd = CreateComponent(QStringLiteral("KsIcd.clsIcdLookup"), ctx);
    QVERIFY(icd->setProperty("ActiveConnection", QVariant::fromValue(db.get())));
    QCOMPARE(icd->property("ActiveConnection").value<Database *>(), db.get());
}

void tst_Components::loginUserBeforeLogin()
{
    RecordingNotifier notifier;
    ScriptedLoginPrompt prompt;
    ComponentContext ctx(notifier);
    ctx.loginPrompt = &prompt;
    std::unique_ptr<Component> user = CreateComponent(QStringLiteral("KsUser.clsLoginUser"), ctx);
    QVERIFY(user);

    QVERIFY(user->setProperty("PasswordDeptCode", QStringLiteral("29")));
    QCOMPARE(qobject_cast<clsLoginUser *>(user.get())->PasswordDeptCode(), QStringLiteral("29"));
    QObject form;
    QVERIFY(user->setProperty("hwndParentForm", QVariant::fromValue(&form)));
    QCOMPARE(user->property("hwndParentForm").value<QObject *>(), &form);

    QCOMPARE(user->property("Connected").toBool(), false);
    QCOMPARE(user->property("EmployeeCode").toString(), QString());
    QCOMPARE(user->property("sqlconnection").value<Database *>(), nullptr);

    // Nobody is logged in, so there is no password to ask for.
    bool valid = true;
    QVERIFY(QMetaObject::invokeMethod(user.get(), "checkusersettings", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, valid)));
    QVERIFY(!valid);
    QVERIFY(prompt.passwordAskedOf().isEmpty());

    // The class library has no connection to hand over yet, even when switched on.
    auto *classes = user->property("TARVIKCLASSES").value<QObject *>();
    QVERIFY(classes);
    QVERIFY(classes->setProperty("UseClasses", true));
    bool initialised = true;
    QVERIFY(QMetaObject::invokeMethod(classes, "initwithdb", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, initialised)));
    QVERIFY(!initialised);
    auto *cf4 = classes->property("clsCF4").value<QObject *>();
    QVERIFY(cf4);
    bool ready = true;
    QVERIFY(QMetaObject::invokeMethod(cf4, "ValidateRequirements", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, ready)));
    QVERIFY(!ready);
    QVERIFY(cf4->setProperty("IdNum", QStringLiteral("260001")));
    QVERIFY(QMetaObject::invokeMethod(cf4, "ValidateRequirements", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, ready)));
    QVERIFY(ready);
    QVERIFY(QMetaObject::invokeMethod(cf4, "ShowEntry", Qt::DirectConnection));
    QCOMPARE(notifier.lastText(), QStringLiteral("The CF4 entry window is not available yet."));

    // Without a login window nobody can log in, and showmain says so only in the log.
    ComponentContext bare(notifier);
    clsLoginUser alone(bare);
    alone.showmain();
    QVERIFY(!alone.Connected());
}

void tst_Components::statementConnectionNeedsServerAndDatabase_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("database");
    QTest::addColumn<bool>("established");
    QTest::newRow("both") << "db01.hospital"
                          << "hospital" << true;
    QTest::newRow("embedded") << "(local)"
                              << "/data/demo-hospital.sqlite" << true;
    QTest::newRow("no server") << ""
                               << "hospital" << false;
    QTest::newRow("no database") << "db01.hospital"
                                 << "  " << false;
}

void tst_Components::statementConnectionNeedsServerAndDatabase()
{
    QFETCH(QString, server);
    QFETCH(QString, database);
    QFETCH(bool, established);
    RecordingNotifier notifier;
    ComponentContext ctx(notifier);
    std::unique_ptr<Component> c =
        CreateComponent(QStringLiteral("KsStatement.clsOpenConnection"), ctx);
    QVERIFY(c->setProperty("servername", server));
    QVERIFY(c->setProperty("Database", database));
    QVERIFY(c->setProperty("ServerPassword", QString()));
    bool ok = !established;
    QVERIFY(QMetaObject::invokeMethod(c.get(), "EstablishedConnection", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, ok)));
    QCOMPARE(ok, established);
}

void tst_Components::viewersTerminate()
{
    RecordingNotifier notifier;
    ComponentContext ctx(notifier);
    for (const char *name : {"KsNursing.clsRequestViewer", "KsNursing.clsResultViewer",
                             "KsNursing.clsStayResultViewer", "KsNursing.clsStayViewer"}) {
        std::unique_ptr<Component> viewer = CreateComponent(QString::fromLatin1(name), ctx);
        QVERIFY2(viewer, name);
        QVERIFY2(QMetaObject::invokeMethod(viewer.get(), "Class_Terminate", Qt::DirectConnection),
                 name);
        QVariantList requests{QStringLiteral("not replaced")};
        QVERIFY2(QMetaObject::invokeMethod(viewer.get(), "GetRequests", Qt::DirectConnection,
                                           Q_RETURN_ARG(QVariantList, requests),
                                           Q_ARG(QString, QStringLiteral("4")),
                                           Q_ARG(QString, QStringLiteral("260001"))),
                 name);
        QVERIFY2(requests.isEmpty(), name);
    }
    QVERIFY(notifier.boxes().isEmpty());
}

QTEST_GUILESS_MAIN(tst_Components)
#include "tst_components.moc"
