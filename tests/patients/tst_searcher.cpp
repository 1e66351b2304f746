// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The code look-ups of the small master files and the code search list behind them, on the
// demo hospital's hospitals, vessels, membership categories and admission types.
#include "patients/clsSearcher.h"
#include "patients/SearcherList.h"
#include "patients/SearcherPickList.h"
#include "shell/db/Database.h"
#include "shell/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;

namespace {

/// A code search list that does what the window does when it opens, then picks the row
/// whose code is scripted (none: the user cancels). It remembers what it was opened with.
class ScriptedPickList : public SearcherPickList
{
public:
    void show(SearcherList &list) override
    {
        ++shown;
        caption = list.SearchCaption();
        query = list.Query();
        criteria = list.Criteria();
        list.open();
        listed.clear();
        for (const QStringList &row : list.rows())
            listed << row.value(1);
        const qsizetype at = listed.indexOf(pickCode);
        if (pickCode.isEmpty() || at < 0 || !list.select(int(at)))
            list.cancel();
    }

    QString pickCode;
    int shown = 0;
    QString caption;
    QString query;
    QString criteria;
    QStringList listed; ///< the codes the list showed, in its order
};

using Search = bool (clsSearcher::*)(const QString &);

Search searchOf(const QString &name)
{
    if (name == u"hospital")
        return &clsSearcher::SearchHospital;
    if (name == u"vessel")
        return &clsSearcher::SearchVessel;
    if (name == u"membership")
        return &clsSearcher::SearchMembership;
    return &clsSearcher::SearchAdmissionType;
}

const QString kHospitalList =
    QStringLiteral("SELECT HospitalName,HospitalID FROM BUILD_FILE..tbcoHospital "
                   "WHERE HospitalName like '##' + '%' ORDER BY HospitalName");
const QString kVesselList =
    QStringLiteral("SELECT vesselname,vesselcode FROM BUILD_FILE..tbCoVessel ORDER BY vesselcode");
const QString kMembershipList =
    QStringLiteral("SELECT PHICDescription,PHICCode FROM MEDICARE..tbAdmPHICTable "
                   "WHERE Status = 1 and PHICDescription like '%' + '##' + '%' "
                   "ORDER BY PHICDescription");
const QString kAdmissionTypeList = QStringLiteral("Patient_Data..sp_Adm_SearchAdmissionType '##'");

} // namespace

class tst_Searcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void oneRowAnswersAtOnce_data();
    void oneRowAnswersAtOnce();
    void severalRowsOpenTheList_data();
    void severalRowsOpenTheList();
    void cancelledListKeepsTheLastAnswer();
    void nothingFoundTellsTheUser_data();
    void nothingFoundTellsTheUser();
    void failedStatementShowsTheErrorBox();

    void listQueries_data();
    void listQueries();
    void listPicksDescriptionThenCode();
};

void tst_Searcher::oneRowAnswersAtOnce_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("description");

    QTest::newRow("unique hospital prefix") << "hospital"
                                            << "MALIGAYA"
                                            << "H03"
                                            << "MALIGAYA CHILDREN'S HOSPITAL";
    QTest::newRow("hospital typed in small letters") << "hospital"
                                                     << "san bartolome doc"
                                                     << "H05"
                                                     << "SAN BARTOLOME DOCTORS HOSPITAL";
    QTest::newRow("vessel") << "vessel"
                            << "MT TALA"
                            << "V007"
                            << "MT TALA NG DAGAT";
    QTest::newRow("vessel typed with blanks") << "vessel"
                                              << "  LCT "
                                              << "V008"
                                              << "LCT SAN BARTOLOME II";
    QTest::newRow("membership code") << "membership"
                                     << "SP"
                                     << "SP"
                                     << "SPONSORED / INDIGENT";
    QTest::newRow("admission type code") << "admission"
                                         << "3"
                                         << "3"
                                         << "ELECTIVE SURGERY";
    QTest::newRow("admission type name") << "admission"
                                         << "day"
                                         << "6"
                                         << "DAY SURGERY";
}

void tst_Searcher::oneRowAnswersAtOnce()
{
    QFETCH(QString, search);
    QFETCH(QString, typed);
    QFETCH(QString, code);
    QFETCH(QString, description);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2905"));
    ScriptedPickList pickList;
    clsSearcher searcher(f.session, pickList);

    QVERIFY((searcher.*searchOf(search))(typed));
    QCOMPARE(searcher.Code(), code);
    QCOMPARE(searcher.Description(), description);
    QCOMPARE(pickList.shown, 0);
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_Searcher::severalRowsOpenTheList_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("pick");
    QTest::addColumn<QString>("description");

    QTest::newRow("hospitals of one city")
        << "hospital"
        << "SAN"
        << "Hospitals" << kHospitalList << QStringList{"H01", "H05", "H07", "H06"} << "H07"
        << "SAN ISIDRO LABRADOR MEDICAL CENTER";
    QTest::newRow("hospitals sharing more letters")
        << "hospital"
        << " san bartolome "
        << "Hospitals" << kHospitalList << QStringList{"H01", "H05"} << "H05"
        << "SAN BARTOLOME DOCTORS HOSPITAL";
    // The vessels' list has no place for the typed text: it shows every vessel.
    QTest::newRow("vessels of one line")
        << "vessel"
        << "MV LAKANDULA"
        << "Vessels" << kVesselList
        << QStringList{"V001", "V002", "V003", "V004", "V005", "V006", "V007", "V008", "V009"}
        << "V006"
        << "MV LAKANDULA TRADER";
    QTest::newRow("admission types by letter")
        << "admission"
        << "E"
        << "Admission Types" << kAdmissionTypeList << QStringList{"3", "2", "9"} << "2"
        << "EMERGENCY";
    QTest::newRow("every admission type in use")
        << "admission"
        << ""
        << "Admission Types" << kAdmissionTypeList
        << QStringList{"6", "3", "2", "9", "5", "4", "1", "7"} << "7"
        << "TRANSFER FROM OTHER HOSPITAL";
}

void tst_Searcher::severalRowsOpenTheList()
{
    QFETCH(QString, search);
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    QFETCH(QString, query);
    QFETCH(QStringList, listed);
    QFETCH(QString, pick);
    QFETCH(QString, description);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2905"));
    ScriptedPickList pickList;
    pickList.pickCode = pick;
    clsSearcher searcher(f.session, pickList);

    QVERIFY((searcher.*searchOf(search))(typed));
    QCOMPARE(pickList.shown, 1);
    QCOMPARE(pickList.caption, caption);
    QCOMPARE(pickList.query, query);
    QCOMPARE(pickList.criteria, typed.trimmed());
    QCOMPARE(pickList.listed, listed);
    QCOMPARE(searcher.Code(), pick);
    QCOMPARE(searcher.Description(), description);
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_Searcher::cancelledListKeepsTheLastAnswer()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2905"));
    ScriptedPickList pickList;
    clsSearcher searcher(f.session, pickList);
    QVERIFY(searcher.SearchHospital(QStringLiteral("LAGUNA")));

    QVERIFY(!searcher.SearchHospital(QStringLiteral("SAN")));
    QCOMPARE(pickList.shown, 1);
    QCOMPARE(searcher.Code(), QStringLiteral("H02"));
    QCOMPARE(searcher.Description(), QStringLiteral("LAGUNA LAKESHORE GENERAL HOSPITAL"));
    QVERIFY(f.notifier.boxes().isEmpty());

    // A code the list does not hold is no pick either.
    pickList.pickCode = QStringLiteral("H03");
    QVERIFY(!searcher.SearchHospital(QStringLiteral("SAN")));
    QCOMPARE(searcher.Code(), QStringLiteral("H02"));
}

void tst_Searcher::nothingFoundTellsTheUser_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown hospital") << "hospital"
                                      << "ZAMBOANGA"
                                      << "No record found.";
    QTest::newRow("underscore is a letter") << "hospital"
                                            << "SAN_"
                                            << "No record found.";
    QTest::newRow("unknown vessel") << "vessel"
                                    << "MV QUEEN"
                                    << "Invalid code.";
    QTest::newRow("membership not in use") << "membership"
                                           << "NH"
                                           << "No record found.";
    QTest::newRow("membership by name") << "membership"
                                        << "SENIOR"
                                        << "No record found.";
    QTest::newRow("membership code as a pattern") << "membership"
                                                  << "S%"
                                                  << "No record found.";
    QTest::newRow("admission type no longer given") << "admission"
                                                    << "0"
                                                    << "Invalid code.";
    QTest::newRow("unknown admission type") << "admission"
                                            << "X"
                                            << "Invalid code.";
}

void tst_Searcher::nothingFoundTellsTheUser()
{
    QFETCH(QString, search);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2905"));
    ScriptedPickList pickList;
    clsSearcher searcher(f.session, pickList);
    QVERIFY(searcher.SearchVessel(QStringLiteral("MV ALON")));

    QVERIFY(!(searcher.*searchOf(search))(typed));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.lastText(), message);
    QCOMPARE(f.notifier.boxes().last().title, QStringLiteral("Notification"));
    QCOMPARE(f.notifier.boxes().last().icon, Notifier::Icon::Critical);
    QCOMPARE(pickList.shown, 0);
    QCOMPARE(searcher.Code(), QStringLiteral("V004"));
    QCOMPARE(searcher.Description(), QStringLiteral("MV ALON MARINA"));
}

void tst_Searcher::failedStatementShowsTheErrorBox()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2905"));
    ScriptedPickList pickList;
    clsSearcher searcher(f.session, pickList);
    QVERIFY(db.execRaw(db.mapNames(u"drop table BUILD_FILE..tbCoVessel")).has_value());

    QVERIFY(!searcher.SearchVessel(QStringLiteral("MV")));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QVERIFY(
        f.notifier.lastText().endsWith(QStringLiteral("\n\nPlease notify your IT department.")));
    QCOMPARE(searcher.Code(), QString());

    SearcherList list(f.session);
    list.setQuery(kVesselList);
    list.open();
    QCOMPARE(f.notifier.boxes().size(), 2);
    QVERIFY(list.rows().isEmpty());
    QVERIFY(!list.canSelect());
}

void tst_Searcher::listQueries_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("codes");

    QTest::newRow("beginning of a name") << kHospitalList << "SAN B" << QStringList{"H01", "H05"};
    QTest::newRow("typed apostrophe is a letter")
        << kHospitalList << "MALIGAYA CHILDREN'S" << QStringList{"H03"};
    QTest::newRow("typed underscore is a letter") << kHospitalList << "S_N" << QStringList{};
    QTest::newRow("typed backslash is a letter") << kHospitalList << "SAN\\" << QStringList{};
    QTest::newRow("anywhere in the description")
        << kMembershipList << "worker" << QStringList{"KM", "OF", "OS"};
    QTest::newRow("empty text lists every category in use")
        << kMembershipList << ""
        << QStringList{"EG", "EP", "IP", "KM", "LM", "OF", "OS", "SC", "SP"};
    QTest::newRow("without ## the typed text is not used")
        << kVesselList << "NOTHING LIKE THIS"
        << QStringList{"V001", "V002", "V003", "V004", "V005", "V006", "V007", "V008", "V009"};
    QTest::newRow("procedure call") << kAdmissionTypeList << "e" << QStringList{"3", "2", "9"};
    QTest::newRow("procedure call, percent is a letter")
        << kAdmissionTypeList << "%" << QStringList{};
    QTest::newRow("the statement's own wildcard stays one")
        << "SELECT vesselname,vesselcode FROM BUILD_FILE..tbCoVessel "
           "WHERE vesselname like '%##' ORDER BY vesselcode"
        << "EXPRESS" << QStringList{"V005"};
    QTest::newRow("equal, not a pattern")
        << "SELECT vesselname,vesselcode FROM BUILD_FILE..tbCoVessel WHERE vesselcode = '##'"
        << "v00%" << QStringList{};
    QTest::newRow("each ## is the typed text")
        << "SELECT HospitalName,HospitalID FROM BUILD_FILE..tbcoHospital "
           "WHERE HospitalName like '##' + '%' or HospitalID = '##' ORDER BY HospitalID"
        << "H04" << QStringList{"H04"};
}

void tst_Searcher::listQueries()
{
    QFETCH(QString, query);
    QFETCH(QString, typed);
    QFETCH(QStringList, codes);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2905"));
    SearcherList list(f.session);
    list.setQuery(query);

    list.refresh(typed);
    QVERIFY2(f.notifier.boxes().isEmpty(), qPrintable(f.notifier.lastText()));
    QStringList listed;
    for (const QStringList &row : list.rows())
        listed << row.value(1);
    QCOMPARE(listed, codes);
    QCOMPARE(list.canSelect(), !codes.isEmpty());
}

void tst_Searcher::listPicksDescriptionThenCode()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2905"));
    f.session.hospital.Company = QStringLiteral("BAGONG TALA MEDICAL CENTER");
    SearcherList list(f.session);
    list.setQuery(kHospitalList);
    list.setCriteria(QStringLiteral("SAN B"));
    list.open();
    QCOMPARE(list.hospitalName(), QStringLiteral("BAGONG TALA MEDICAL CENTER"));
    QCOMPARE(list.headers().size(), 2);
    QCOMPARE(list.headers().first().toLower(), QStringLiteral("hospitalname"));
    QCOMPARE(list.descriptionAt(1), QStringLiteral("SAN BARTOLOME DOCTORS HOSPITAL"));

    QVERIFY(!list.select(2));
    QVERIFY(!list.Valid());
    QVERIFY(list.select(1));
    QVERIFY(list.Valid());
    QCOMPARE(list.Code(), QStringLiteral("H05"));
    QCOMPARE(list.Description(), QStringLiteral("SAN BARTOLOME DOCTORS HOSPITAL"));

    // Opening again starts with nothing picked.
    list.open();
    QVERIFY(!list.Valid());
    QCOMPARE(list.Code(), QString());
    QVERIFY(list.select(0));
    list.cancel();
    QVERIFY(!list.Valid());
}

QTEST_GUILESS_MAIN(tst_Searcher)
#include "tst_searcher.moc"
