// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The main window's rules that need no logged-in user: reading a rights text, the menus each
// hospital shows at start-up, and where a child window goes when the screen's work area
// changes.
#include "shell/AccessRights.h"
#include "shell/ClientMenus.h"
#include "shell/MainMenu.h"
#include "shell/settings/clsSettings.h"
#include "shell/settings/HospitalSettings.h"
#include "support/TestDatabase.h"

#include <QSet>
#include <QTest>

using namespace kestrel;
using kestrel::test::TestDatabase;

namespace {

// The menus that follow a station switch: every hospital gets an answer for each of them.
const QSet<QString> kSettingMenus{
    QStringLiteral("mnuEquipment"),        QStringLiteral("mnuReprintLab"),
    QStringLiteral("mnuDetailedGUVO"),     QStringLiteral("mnuSummaryGUVO"),
    QStringLiteral("mnuDetailed"),         QStringLiteral("mnuSummary"),
    QStringLiteral("mnuMarkUp"),           QStringLiteral("mnuCVOR"),
    QStringLiteral("mnuCVORCensus"),       QStringLiteral("mnuCSF"),
    QStringLiteral("mnuCSFTemplate"),      QStringLiteral("mnuCF4"),
    QStringLiteral("mnuStocksMonitoring"),
};

} // namespace

class tst_ShellRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void rightsGrant_data();
    void rightsGrant();

    void clientMenus_data();
    void clientMenus();
    void settingMenus_data();
    void settingMenus();

    void keepInsideWorkArea_data();
    void keepInsideWorkArea();

private:
    clsSettings settingsWith(const QStringList &switchesOn);

    std::unique_ptr<TestDatabase> m_db;
};

void tst_ShellRules::initTestCase()
{
    // The station switches are only ever filled from their table, so the tests fill it too.
    auto db = TestDatabase::create(Backend::Sqlite, TestDatabase::Content::SchemaOnly);
    QVERIFY2(db.has_value(), qPrintable(db ? QString() : db.error().message));
    m_db = std::move(*db);
}

clsSettings tst_ShellRules::settingsWith(const QStringList &switchesOn)
{
    Database &db = m_db->db();
    if (!db.exec(u"delete from STATION..tbNurseSetup"))
        qFatal("tbNurseSetup cannot be emptied");
    for (const QString &key : switchesOn) {
        if (!db.exec(u"insert into STATION..tbNurseSetup (Field, value) values (:field, '1')",
                     {{QStringLiteral("field"), key}}))
            qFatal("tbNurseSetup cannot be written");
    }
    HospitalSettings hs;
    clsSettings settings;
    settings.LoadParameters(db, hs);
    return settings;
}

void tst_ShellRules::rightsGrant_data()
{
    QTest::addColumn<QString>("rights");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("granted");

    QTest::newRow("1|13 grants 13") << "1|13"
                                    << "13" << true;
    QTest::newRow("1|13 does not grant 3") << "1|13"
                                           << "3" << false;
    QTest::newRow("1|13 grants 1") << "1|13"
                                   << "1" << true;
    QTest::newRow("a single code grants nothing, not even itself") << "9"
                                                                   << "9" << false;
    QTest::newRow("two-character text is read") << "13"
                                                << "13" << true;
    QTest::newRow("blanks around pieces: 9") << " 9 | 13 "
                                             << "9" << true;
    QTest::newRow("blanks around pieces: 13") << " 9 | 13 "
                                              << "13" << true;
    QTest::newRow("leading bar: 9") << "|9|13"
                                    << "9" << true;
    QTest::newRow("leading bar: 13") << "|9|13"
                                     << "13" << true;
    QTest::newRow("leading bar: 1 is no prefix of 13") << "|9|13"
                                                       << "1" << false;
    QTest::newRow("empty text") << ""
                                << "9" << false;
    QTest::newRow("empty text, empty code") << ""
                                            << "" << false;
    QTest::newRow("pieces compare as text: 013 is not 13") << "|013|9"
                                                           << "13" << false;
    QTest::newRow("pieces compare as text: 13 is not 013") << "|13|9"
                                                           << "013" << false;
    QTest::newRow("code is trimmed") << "|13|9"
                                     << " 13 " << true;
    QTest::newRow("an empty piece matches an empty code") << "|9|13"
                                                          << "" << true;
    QTest::newRow("digits of a longer code are no match") << "|22|36"
                                                          << "2" << false;
    QTest::newRow("last piece counts") << "|1|2|3|38"
                                       << "38" << true;
}

void tst_ShellRules::rightsGrant()
{
    QFETCH(QString, rights);
    QFETCH(QString, code);
    QFETCH(bool, granted);
    QCOMPARE(RightsGrant(rights, code), granted);
}

void tst_ShellRules::clientMenus_data()
{
    QTest::addColumn<QString>("client");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("hidden");

    const QString census = QStringLiteral("mnuORCensus");
    QTest::newRow("no client code") << "" << QStringList{} << QStringList{census};
    QTest::newRow("DOXAT keeps the split census")
        << "DOXAT" << QStringList{census} << QStringList{QStringLiteral("mnuCensusOrig")};
    QTest::newRow("doxat in lower case is another hospital")
        << "doxat" << QStringList{} << QStringList{census};
    QTest::newRow("DOXAT with a trailing blank is another hospital")
        << "DOXAT " << QStringList{} << QStringList{census};
    QTest::newRow("QELM") << "QELM"
                          << QStringList{QStringLiteral("mnuORMandatory"),
                                         QStringLiteral("mnuAMPickUp")}
                          << QStringList{census};
    QTest::newRow("JUF") << "JUF"
                         << QStringList{QStringLiteral("mnuORCases"), QStringLiteral("mnuTopCases"),
                                        QStringLiteral("mnuNSD"), QStringLiteral("mnuYearlyIncome"),
                                        QStringLiteral("mnuTimeNMotion")}
                         << QStringList{census};
    QTest::newRow("juf in lower case") << "juf" << QStringList{} << QStringList{census};
    QTest::newRow("TWY") << "TWY"
                         << QStringList{QStringLiteral("mnuMonthly"), QStringLiteral("mnuStat")}
                         << QStringList{census};
    QTest::newRow("ZANIP") << "ZANIP" << QStringList{QStringLiteral("mnuWHOSurgicalSafety"),
                                                     QStringLiteral("mnuCountingSheet"),
                                                     QStringLiteral("mnuOperativeTechnique"),
                                                     QStringLiteral("mnuLabChemistry"),
                                                     QStringLiteral("mnuLabHematology"),
                                                     QStringLiteral("mnuLabMicrobiology"),
                                                     QStringLiteral("mnuLabMicroscopic"),
                                                     QStringLiteral("mnuLabImmunoSerology")}
                           << QStringList{census};
    QTest::newRow("VZ") << "VZ"
                        << QStringList{QStringLiteral("mnuSurgicalTreatment"),
                                       QStringLiteral("mnuConsentTreatment"),
                                       QStringLiteral("mnuSterilizationConsent"),
                                       QStringLiteral("mnuSpecialTreatment"),
                                       QStringLiteral("mnuPreOp"),
                                       QStringLiteral("mnuFluid"),
                                       QStringLiteral("mnuHourlyMonitoring"),
                                       QStringLiteral("mnuPreAnesFirst"),
                                       QStringLiteral("mnuSSC"),
                                       QStringLiteral("mnuLRForm")}
                        << QStringList{census};
    QTest::newRow("LOBRA") << "LOBRA" << QStringList{QStringLiteral("mnuPriceList")}
                           << QStringList{census};
    QTest::newRow("BRV only starts timers") << "BRV" << QStringList{} << QStringList{census};
}

void tst_ShellRules::clientMenus()
{
    QFETCH(QString, client);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, hidden);

    HospitalSettings hs;
    hs.clientname = client;
    const QHash<QString, bool> menus = StartupMenuVisibility(hs, settingsWith({}));

    // Exactly the client's own menus are decided, besides those that follow a switch: any
    // other menu keeps its designed state.
    QHash<QString, bool> clientPart;
    for (auto it = menus.cbegin(); it != menus.cend(); ++it) {
        if (!kSettingMenus.contains(it.key()))
            clientPart.insert(it.key(), it.value());
    }
    QHash<QString, bool> expected;
    for (const QString &name : shown)
        expected.insert(name, true);
    for (const QString &name : hidden)
        expected.insert(name, false);
    QCOMPARE(clientPart, expected);
}

void tst_ShellRules::settingMenus_data()
{
    QTest::addColumn<QStringList>("switchesOn");
    QTest::addColumn<QStringList>("shown");

    // Without any switch only the plain income reports show.
    const QStringList plainIncome{QStringLiteral("mnuDetailed"), QStringLiteral("mnuSummary")};
    QTest::newRow("no switch") << QStringList{} << plainIncome;
    QTest::newRow("new income format flips both pairs")
        << QStringList{QStringLiteral("ShowNewFormatIncomeReport")}
        << QStringList{QStringLiteral("mnuDetailedGUVO"), QStringLiteral("mnuSummaryGUVO")};
    QTest::newRow("equipment charges") << QStringList{QStringLiteral("ShowEquipmentChargesReport")}
                                       << plainIncome + QStringList{QStringLiteral("mnuEquipment")};
    QTest::newRow("reprint laboratory form")
        << QStringList{QStringLiteral("ORShowReprintLab")}
        << plainIncome + QStringList{QStringLiteral("mnuReprintLab")};
    QTest::newRow("new markup") << QStringList{QStringLiteral("UseNewORMarkUp")}
                                << plainIncome + QStringList{QStringLiteral("mnuMarkUp")};
    QTest::newRow("CVOR tagging shows the command and its census")
        << QStringList{QStringLiteral("EnableCVORTag")}
        << plainIncome + QStringList{QStringLiteral("mnuCVOR"), QStringLiteral("mnuCVORCensus")};
    QTest::newRow("CSF printing") << QStringList{QStringLiteral("ORPrintCSF")}
                                  << plainIncome + QStringList{QStringLiteral("mnuCSF")};
    QTest::newRow("CSF template") << QStringList{QStringLiteral("ORShowCSFTemplate")}
                                  << plainIncome + QStringList{QStringLiteral("mnuCSFTemplate")};
    QTest::newRow("CF4 entry") << QStringList{QStringLiteral("ORShowCF4")}
                               << plainIncome + QStringList{QStringLiteral("mnuCF4")};
    QTest::newRow("stocks monitoring")
        << QStringList{QStringLiteral("ORShowStocksMonitoring")}
        << plainIncome + QStringList{QStringLiteral("mnuStocksMonitoring")};
    QTest::newRow("everything at once")
        << QStringList{QStringLiteral("ShowNewFormatIncomeReport"),
                       QStringLiteral("ShowEquipmentChargesReport"),
                       QStringLiteral("ORShowReprintLab"),
                       QStringLiteral("UseNewORMarkUp"),
                       QStringLiteral("EnableCVORTag"),
                       QStringLiteral("ORPrintCSF"),
                       QStringLiteral("ORShowCSFTemplate"),
                       QStringLiteral("ORShowCF4"),
                       QStringLiteral("ORShowStocksMonitoring")}
        << QStringList{QStringLiteral("mnuDetailedGUVO"),    QStringLiteral("mnuSummaryGUVO"),
                       QStringLiteral("mnuEquipment"),       QStringLiteral("mnuReprintLab"),
                       QStringLiteral("mnuMarkUp"),          QStringLiteral("mnuCVOR"),
                       QStringLiteral("mnuCVORCensus"),      QStringLiteral("mnuCSF"),
                       QStringLiteral("mnuCSFTemplate"),     QStringLiteral("mnuCF4"),
                       QStringLiteral("mnuStocksMonitoring")};
}

void tst_ShellRules::settingMenus()
{
    QFETCH(QStringList, switchesOn);
    QFETCH(QStringList, shown);

    HospitalSettings hs;
    // A client code changes none of these menus.
    for (const QString &client : {QString(), QStringLiteral("DOXAT"), QStringLiteral("VZ")}) {
        hs.clientname = client;
        const QHash<QString, bool> menus = StartupMenuVisibility(hs, settingsWith(switchesOn));
        for (const QString &name : kSettingMenus) {
            QVERIFY2(menus.contains(name), qPrintable(name));
            QVERIFY2(menus.value(name) == shown.contains(name),
                     qPrintable(name + QStringLiteral(" for client ") + client));
        }
    }
}

void tst_ShellRules::keepInsideWorkArea_data()
{
    QTest::addColumn<QRect>("child");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QRect>("placed");

    const QRect area(0, 0, 800, 600);
    QTest::newRow("smaller child stays")
        << QRect(50, 40, 300, 200) << area << QRect(50, 40, 300, 200);
    QTest::newRow("smaller child off to the right stays")
        << QRect(700, 40, 300, 200) << area << QRect(700, 40, 300, 200);
    QTest::newRow("too wide") << QRect(120, 40, 900, 200) << area << QRect(0, 40, 800, 200);
    QTest::newRow("exactly as wide is fitted too")
        << QRect(30, 40, 800, 200) << area << QRect(0, 40, 800, 200);
    QTest::newRow("too tall") << QRect(50, 90, 300, 650) << area << QRect(50, 0, 300, 600);
    QTest::newRow("too wide and too tall")
        << QRect(-20, -10, 1000, 700) << area << QRect(0, 0, 800, 600);
    QTest::newRow("work area not at the origin")
        << QRect(10, 10, 1000, 300) << QRect(0, 30, 800, 560) << QRect(0, 10, 800, 300);
    QTest::newRow("one pixel narrower stays")
        << QRect(30, 40, 799, 599) << area << QRect(30, 40, 799, 599);
}

void tst_ShellRules::keepInsideWorkArea()
{
    QFETCH(QRect, child);
    QFETCH(QRect, workArea);
    QFETCH(QRect, placed);
    QCOMPARE(kestrel::keepInsideWorkArea(child, workArea), placed);
}

QTEST_GUILESS_MAIN(tst_ShellRules)
#include "tst_shellrules.moc"
