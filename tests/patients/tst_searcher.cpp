// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The code look-ups of the small master files and the code search list behind them, on the
// demo hospital's hospitals, vessels, membership categories and admission types.
#include "core/db/Database.h"
#include "patients/clsSearcher.h"
#include "patients/SearcherList.h"
#include "patients/SearcherPickList.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

/// A code search list that does what the window does when it opens, then picks the row
/// whose code is scripted (none: the user cancels). It remembers what it was opened with.
class ScriptedPickList : public SearcherPickList
{
public:
    void show(SearcherList &list) override
    {
        ++shown;
        criteria = list.Criteria();
        list.open();
        listed = codes(list);
        const qsizetype at = listed.indexOf(pickCode);
        if (pickCode.isEmpty() || at < 0 || !list.select(int(at)))
            list.cancel();
    }
    static QStringList codes(const SearcherList &list)
    {
        QStringList codes;
        for (const QStringList &row : list.rows())
            codes << row.value(1);
        return codes;
    }

    QString pickCode;
    int shown = 0;
    QString criteria;
    QStringList listed; ///< the codes the list showed, in its order
};

using Search = bool (clsSearcher::*)(const QString &);

Search searchOf(const QString &name)
{
    return name == u"hospital"     ? &clsSearcher::SearchHospital
           : name == u"vessel"     ? &clsSearcher::SearchVessel
           : name == u"membership" ? &clsSearcher::SearchMembership
                                   : &clsSearcher::SearchAdmissionType;
}

const QString kHospitalList = u"SELECT HospitalName,HospitalID FROM BUILD_FILE..tbcoHospital "
                              u"WHERE HospitalName like '##' + '%' ORDER BY HospitalName"_s;
const QString kVesselList =
    u"SELECT vesselname,vesselcode FROM BUILD_FILE..tbCoVessel ORDER BY vesselcode"_s;
const QString kMembershipList = u"SELECT PHICDescription,PHICCode FROM MEDICARE..tbAdmPHICTable "
                                u"WHERE Status = 1 and PHICDescription like '%' + '##' + '%' "
                                u"ORDER BY PHICDescription"_s;
const QString kAdmissionTypeList = u"Patient_Data..sp_Adm_SearchAdmissionType '##'"_s;
const QStringList kVessels{"V001", "V002", "V003", "V004", "V005", "V006", "V007", "V008", "V009"};

} // namespace

// A demo hospital, a session on it, and the searcher with its scripted list.
#define OPEN_SEARCHER                                                                              \
    KESTREL_OPEN_DEMO(db);                                                                         \
    test::MainWindowFixture f(db, u"2905"_s);                                                      \
    ScriptedPickList pickList;                                                                     \
    clsSearcher searcher(f.session, pickList)

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

    QTest::newRow("unique hospital prefix")
        << u"hospital"_s << u"MALIGAYA"_s << u"H03"_s << u"MALIGAYA CHILDREN'S HOSPITAL"_s;
    QTest::newRow("hospital typed in small letters")
        << u"hospital"_s << u"san bartolome doc"_s << u"H05"_s
        << u"SAN BARTOLOME DOCTORS HOSPITAL"_s;
    QTest::newRow("vessel") << u"vessel"_s << u"MT TALA"_s << u"V007"_s << u"MT TALA NG DAGAT"_s;
    QTest::newRow("vessel typed with blanks")
        << u"vessel"_s << u"  LCT "_s << u"V008"_s << u"LCT SAN BARTOLOME II"_s;
    QTest::newRow("membership code")
        << u"membership"_s << u"SP"_s << u"SP"_s << u"SPONSORED / INDIGENT"_s;
    QTest::newRow("admission type code")
        << u"admission"_s << u"3"_s << u"3"_s << u"ELECTIVE SURGERY"_s;
    QTest::newRow("admission type name")
        << u"admission"_s << u"day"_s << u"6"_s << u"DAY SURGERY"_s;
}

void tst_Searcher::oneRowAnswersAtOnce()
{
    QFETCH(QString, search);
    QFETCH(QString, typed);
    QFETCH(QString, code);
    QFETCH(QString, description);
    OPEN_SEARCHER;
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
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("pick");
    QTest::addColumn<QString>("description");

    QTest::newRow("hospitals of one city")
        << u"hospital"_s << u"SAN"_s << QStringList{"H01", "H05", "H07", "H06"} << u"H07"_s
        << u"SAN ISIDRO LABRADOR MEDICAL CENTER"_s;
    QTest::newRow("hospitals sharing more letters")
        << u"hospital"_s << u" san bartolome "_s << QStringList{"H01", "H05"} << u"H05"_s
        << u"SAN BARTOLOME DOCTORS HOSPITAL"_s;
    // The vessels' list has no place for the typed text: it shows every vessel.
    QTest::newRow("vessels of one line")
        << u"vessel"_s << u"MV LAKANDULA"_s << kVessels << u"V006"_s << u"MV LAKANDULA TRADER"_s;
    QTest::newRow("admission types by letter")
        << u"admission"_s << u"E"_s << QStringList{"3", "2", "9"} << u"2"_s << u"EMERGENCY"_s;
    QTest::newRow("every admission type in use")
        << u"admission"_s << QString() << QStringList{"6", "3", "2", "9", "5", "4", "1", "7"}
        << u"7"_s << u"TRANSFER FROM OTHER HOSPITAL"_s;
}

void tst_Searcher::severalRowsOpenTheList()
{
    QFETCH(QString, search);
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);
    QFETCH(QString, pick);
    QFETCH(QString, description);
    OPEN_SEARCHER;
    pickList.pickCode = pick;
    QVERIFY((searcher.*searchOf(search))(typed));
    QCOMPARE(pickList.shown, 1);
    QCOMPARE(pickList.criteria, typed.trimmed());
    QCOMPARE(pickList.listed, listed);
    QCOMPARE(searcher.Code(), pick);
    QCOMPARE(searcher.Description(), description);
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_Searcher::cancelledListKeepsTheLastAnswer()
{
    OPEN_SEARCHER;
    QVERIFY(searcher.SearchHospital(u"LAGUNA"_s));
    QVERIFY(!searcher.SearchHospital(u"SAN"_s));
    QCOMPARE(pickList.shown, 1);
    QCOMPARE(searcher.Code(), u"H02"_s);
    QCOMPARE(searcher.Description(), u"LAGUNA LAKESHORE GENERAL HOSPITAL"_s);
    QVERIFY(f.notifier.boxes().isEmpty());

    // A code the list does not hold is no pick either.
    pickList.pickCode = u"H03"_s;
    QVERIFY(!searcher.SearchHospital(u"SAN"_s));
    QCOMPARE(searcher.Code(), u"H02"_s);
}

void tst_Searcher::nothingFoundTellsTheUser_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString noRecord = u"No record found."_s, invalid = u"Invalid code."_s;

    QTest::newRow("unknown hospital") << u"hospital"_s << u"ZAMBOANGA"_s << noRecord;
    QTest::newRow("underscore is a letter") << u"hospital"_s << u"SAN_"_s << noRecord;
    QTest::newRow("unknown vessel") << u"vessel"_s << u"MV QUEEN"_s << invalid;
    QTest::newRow("membership not in use") << u"membership"_s << u"NH"_s << noRecord;
    QTest::newRow("membership by name") << u"membership"_s << u"SENIOR"_s << noRecord;
    QTest::newRow("membership code as a pattern") << u"membership"_s << u"S%"_s << noRecord;
    QTest::newRow("admission type no longer given") << u"admission"_s << u"0"_s << invalid;
    QTest::newRow("unknown admission type") << u"admission"_s << u"X"_s << invalid;
}

void tst_Searcher::nothingFoundTellsTheUser()
{
    QFETCH(QString, search);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    OPEN_SEARCHER;
    QVERIFY(searcher.SearchVessel(u"MV ALON"_s));

    QVERIFY(!(searcher.*searchOf(search))(typed));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.lastText(), message);
    QCOMPARE(f.notifier.boxes().last().title, u"Notification"_s);
    QCOMPARE(f.notifier.boxes().last().icon, Notifier::Icon::Critical);
    QCOMPARE(pickList.shown, 0);
    QCOMPARE(searcher.Code(), u"V004"_s);
    QCOMPARE(searcher.Description(), u"MV ALON MARINA"_s);
}

void tst_Searcher::failedStatementShowsTheErrorBox()
{
    OPEN_SEARCHER;
    QVERIFY(db.execRaw(db.mapNames(u"drop table BUILD_FILE..tbCoVessel")).has_value());
    QVERIFY(!searcher.SearchVessel(u"MV"_s));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QVERIFY(f.notifier.lastText().endsWith(u"\n\nPlease notify your IT department."));
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

    QTest::newRow("beginning of a name")
        << kHospitalList << u"SAN B"_s << QStringList{"H01", "H05"};
    QTest::newRow("typed apostrophe is a letter")
        << kHospitalList << u"MALIGAYA CHILDREN'S"_s << QStringList{"H03"};
    QTest::newRow("typed underscore is a letter") << kHospitalList << u"S_N"_s << QStringList{};
    QTest::newRow("typed backslash is a letter") << kHospitalList << u"SAN\\"_s << QStringList{};
    QTest::newRow("anywhere in the description")
        << kMembershipList << u"worker"_s << QStringList{"KM", "OF", "OS"};
    QTest::newRow("empty text lists every category in use")
        << kMembershipList << QString()
        << QStringList{"EG", "EP", "IP", "KM", "LM", "OF", "OS", "SC", "SP"};
    QTest::newRow("without ## the typed text is not used")
        << kVesselList << u"NOTHING LIKE THIS"_s << kVessels;
    QTest::newRow("procedure call") << kAdmissionTypeList << u"e"_s << QStringList{"3", "2", "9"};
    QTest::newRow("procedure call, percent is a letter")
        << kAdmissionTypeList << u"%"_s << QStringList{};
    QTest::newRow("the statement's own wildcard stays one")
        << u"SELECT vesselname,vesselcode FROM BUILD_FILE..tbCoVessel "
           u"WHERE vesselname like '%##' ORDER BY vesselcode"_s
        << u"EXPRESS"_s << QStringList{"V005"};
    QTest::newRow("equal, not a pattern")
        << u"SELECT vesselname,vesselcode FROM BUILD_FILE..tbCoVessel WHERE vesselcode = '##'"_s
        << u"v00%"_s << QStringList{};
    QTest::newRow("each ## is the typed text")
        << u"SELECT HospitalName,HospitalID FROM BUILD_FILE..tbcoHospital "
           u"WHERE HospitalName like '##' + '%' or HospitalID = '##' ORDER BY HospitalID"_s
        << u"H04"_s << QStringList{"H04"};
}

void tst_Searcher::listQueries()
{
    QFETCH(QString, query);
    QFETCH(QString, typed);
    QFETCH(QStringList, codes);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2905"_s);
    SearcherList list(f.session);
    list.setQuery(query);
    list.refresh(typed);
    QVERIFY2(f.notifier.boxes().isEmpty(), qPrintable(f.notifier.lastText()));
    QCOMPARE(ScriptedPickList::codes(list), codes);
    QCOMPARE(list.canSelect(), !codes.isEmpty());
}

void tst_Searcher::listPicksDescriptionThenCode()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2905"_s);
    f.session.hospital.Company = u"BAGONG TALA MEDICAL CENTER"_s;
    SearcherList list(f.session);
    list.setQuery(kHospitalList);
    list.setCriteria(u"SAN B"_s);
    list.open();
    QCOMPARE(list.hospitalName(), u"BAGONG TALA MEDICAL CENTER"_s);
    QCOMPARE(list.headers().size(), 2);
    QCOMPARE(list.headers().first().toLower(), u"hospitalname"_s);
    QCOMPARE(list.descriptionAt(1), u"SAN BARTOLOME DOCTORS HOSPITAL"_s);

    QVERIFY(!list.select(2));
    QVERIFY(!list.Valid());
    QVERIFY(list.select(1));
    QVERIFY(list.Valid());
    QCOMPARE(list.Code(), u"H05"_s);
    QCOMPARE(list.Description(), u"SAN BARTOLOME DOCTORS HOSPITAL"_s);

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
