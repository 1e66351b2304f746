// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsCodeLookup.h"
#include "core/components/CodePickList.h"
#include "core/db/Database.h"
#include "support/RecordingNotifier.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using kestrel::test::RecordingNotifier;
using kestrel::test::TestDatabase;

namespace {

/// A pick-list that picks the row whose code is scripted, and remembers what it was shown.
class ScriptedPickList : public CodePickList
{
public:
    std::optional<int> pick(const CodeListing &listing) override
    {
        shown << listing;
        for (int i = 0; i < listing.rows.size(); ++i) {
            if (listing.rows.at(i).value(0) == pickCode)
                return i;
        }
        return std::nullopt;
    }

    /// The codes of the last listing shown.
    QStringList lastCodes() const
    {
        QStringList codes;
        for (const QStringList &row : shown.last().rows)
            codes << row.value(0);
        return codes;
    }
    QString pickCode;
    QList<CodeListing> shown;
};

struct Lookup
{
    std::unique_ptr<TestDatabase> hospital;
    RecordingNotifier notifier;
    ScriptedPickList pickList;
    ComponentContext ctx{notifier};
    std::unique_ptr<clsCodeLookup> lookup;

    bool open()
    {
        auto t = TestDatabase::create(test::backendOfRow());
        if (!t)
            return false;
        hospital = std::move(*t);
        ctx.codePickList = &pickList;
        lookup = std::make_unique<clsCodeLookup>(ctx);
        lookup->setMTS_Server(QStringLiteral("MTS01"));
        lookup->setSearchMode(true);
        lookup->Initialize_Classes();
        lookup->setConnection(&hospital->db());
        lookup->setCompanyName(QStringLiteral("BAGONG TALA MEDICAL CENTER"));
        const QList<QStringView> rows{
            u"insert into BUILD_FILE..tbCoDoctor (DoctorID, LastName, FirstName, MiddleName, "
            u"Status, IsAffiliated) values ('T001', 'ZAMORA', 'JOSE', 'RIZAL', 'A', 1), "
            u"('T002', 'ZAMORA-LIM', 'ANA', '', 'A', 0), ('T003', 'ZAMORANO', 'LUIS', '', 'I', 1), "
            u"('T004', 'Z_AMORA', 'PIA', '', 'A', 1)",
            u"insert into BUILD_FILE..tbCoOtherRevenue (OtherRevenueID, OtherRevenue, "
            u"OtherSectionID, RateA, RateB, RateI) values "
            u"('TS001', 'TEST SUTURE SET', 'TS', 150, 175.25, 300), "
            u"('TS002', 'TEST SUCTION TIP', 'TS', 80, 90, 120), "
            u"('TX001', 'TEST SUTURE SET, OTHER SECTION', 'TX', 1, 1, 1)",
        };
        for (QStringView sql : rows) {
            if (!hospital->db().exec(sql))
                return false;
        }
        return true;
    }
};

} // namespace

class tst_CodeLookup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void doctorsBeginningWithTheTypedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("affiliatedOnly");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("last name") << "zamora" << false << QStringList{"T001", "T002"};
        QTest::newRow("affiliated only") << "ZAMORA" << true << QStringList{"T001"};
        QTest::newRow("code") << "t00" << false << QStringList{"T004", "T001", "T002"};
        QTest::newRow("underscore is a letter") << "Z_" << false << QStringList{"T004"};
        QTest::newRow("percent is a letter") << "Z%" << false << QStringList();
        QTest::newRow("blank typed") << "  zamora-" << false << QStringList{"T002"};
    }
    void doctorsBeginningWithTheTypedText()
    {
        QFETCH(QString, typed);
        QFETCH(bool, affiliatedOnly);
        QFETCH(QStringList, codes);
        Lookup l;
        QVERIFY(l.open());
        l.lookup->setAffiliatedOnly(affiliatedOnly);
        QVERIFY(!l.lookup->SearchListing(clsCodeLookup::Doctors, typed));
        QCOMPARE(l.pickList.shown.size(), 1);
        QCOMPARE(l.pickList.shown.first().typedText, typed.trimmed());
        // No demo doctor's code or name begins with these, so only the test's own come back.
        QCOMPARE(l.pickList.lastCodes(), codes);
    }

    void pickedDoctorFillsTheRecord()
    {
        Lookup l;
        QVERIFY(l.open());
        l.pickList.pickCode = QStringLiteral("T001");
        bool picked = false;
        QVERIFY(QMetaObject::invokeMethod(l.lookup.get(), "SearchListing", Qt::DirectConnection,
                                          Q_RETURN_ARG(bool, picked), Q_ARG(int, 1),
                                          Q_ARG(QString, QStringLiteral("ZAM"))));
        QVERIFY(picked);
        const DoctorRecord &d = l.lookup->DoctorRecord();
        QCOMPARE((QStringList{d.ResultCode, d.LastName, d.FirstName, d.MiddleName}),
                 (QStringList{"T001", "ZAMORA", "JOSE", "RIZAL"}));
        QCOMPARE(l.pickList.shown.first().rows.first(),
                 (QStringList{"T001", "ZAMORA", "JOSE", "RIZAL", ""}));
    }

    void itemsOfOneSection_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("by name") << "TS" << "test su" << QStringList{"TS002", "TS001"};
        QTest::newRow("by code") << "TS" << "ts001" << QStringList{"TS001"};
        QTest::newRow("other section") << "TX" << "TEST" << QStringList{"TX001"};
        QTest::newRow("every section") << "" << "TEST SUTURE" << QStringList{"TS001", "TX001"};
    }
    void itemsOfOneSection()
    {
        QFETCH(QString, section);
        QFETCH(QString, typed);
        QFETCH(QStringList, codes);
        Lookup l;
        QVERIFY(l.open());
        l.lookup->setOtherSectionID(section);
        QVERIFY(!l.lookup->SearchListing(clsCodeLookup::OtherRevenues, typed));
        QCOMPARE(l.pickList.lastCodes(), codes);
        // The chosen section stays chosen for the next search.
        QCOMPARE(l.lookup->OtherRevenueRecord().OtherSectionID, section);
    }

    void pickedItemFillsTheRecord()
    {
        Lookup l;
        QVERIFY(l.open());
        kestrel::OtherRevenueRecord wanted;
        wanted.OtherSectionID = QStringLiteral("TS");
        QVERIFY(l.lookup->setProperty("OtherRevenueRecord", QVariant::fromValue(wanted)));
        l.pickList.pickCode = QStringLiteral("TS001");
        QVERIFY(l.lookup->SearchListing(21, QStringLiteral("TEST")));
        const kestrel::OtherRevenueRecord &o = l.lookup->OtherRevenueRecord();
        QCOMPARE(o.OtherRevenue, QStringLiteral("TEST SUTURE SET"));
        QCOMPARE(o.RateA, Money::fromMinor(1500000));
        QCOMPARE(o.RateB, Money::fromMinor(1752500));
        QCOMPARE(o.RateI, Money::fromMinor(3000000));
        QCOMPARE(o.RateC, Money());
    }

    void nothingPickedLeavesNothingBehind()
    {
        Lookup l;
        QVERIFY(l.open());
        l.pickList.pickCode = QStringLiteral("T001");
        QVERIFY(l.lookup->SearchListing(clsCodeLookup::Doctors, QStringLiteral("ZAMORA")));
        l.pickList.pickCode.clear();
        QVERIFY(!l.lookup->SearchListing(clsCodeLookup::Doctors, QStringLiteral("ZAMORA")));
        QCOMPARE(l.lookup->DoctorRecord(), kestrel::DoctorRecord());
        l.lookup->setOtherSectionID(QStringLiteral("TS"));
        l.pickList.pickCode = QStringLiteral("TS002");
        QVERIFY(l.lookup->SearchListing(clsCodeLookup::OtherRevenues, QString()));
        l.pickList.pickCode.clear();
        QVERIFY(!l.lookup->SearchListing(clsCodeLookup::OtherRevenues, QString()));
        QCOMPARE(l.lookup->OtherRevenueRecord().ResultCode, QString());
        QCOMPARE(l.lookup->OtherRevenueRecord().OtherSectionID, QStringLiteral("TS"));
        QVERIFY(l.notifier.boxes().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_CodeLookup)
#include "tst_codelookup.moc"
