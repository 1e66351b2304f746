// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The companion components over the demo hospital: every list they show holds the hospital's
// rows, a picked row comes back as the component's answer, and what each list is filtered by.
#include "core/components/clsChargeSlipList.h"
#include "core/components/clsCodeLookup.h"
#include "core/components/clsHistopathRequest.h"
#include "core/components/clsIcdLookup.h"
#include "core/components/clsIssuedMedicines.h"
#include "core/components/clsPatientInfo.h"
#include "core/components/clsRvsLookup.h"
#include "core/components/clsStatement.h"
#include "core/components/CodePickList.h"
#include "core/components/DrugLists.h"
#include "core/components/ListingView.h"
#include "core/components/NursingViewers.h"
#include "support/RecordingNotifier.h"
#include "support/TestDatabase.h"

#include <QTest>
#include <functional>

using namespace kestrel;
using namespace Qt::StringLiterals;
using kestrel::test::TestDatabase;

namespace {

// A stay of the demo hospital with medicines issued from the OR's stock, and one with charges.
const QStringView kIssuedStay =
    u"select min(IDNum) from INVENTORY..tbInvStockCard where TransType = 'I'";
const QStringView kChargedStay =
    u"select min(IDNum) from STATION..tbNurseLogBook where RecordStatus <> 'R'";

/// Picks the row whose first cell is `pickCode` ("" picks none, "*" the first row) and keeps
/// every listing it was shown.
struct ScriptedPickList : CodePickList
{
    std::optional<int> pick(const CodeListing &listing) override
    {
        shown << listing;
        for (int i = 0; i < listing.rows.size(); ++i) {
            if (pickCode == u"*" || listing.rows.at(i).value(0) == pickCode)
                return i;
        }
        return std::nullopt;
    }
    QStringList codes() const
    {
        QStringList c;
        for (const QStringList &row : shown.constLast().rows)
            c << row.value(0);
        return c;
    }
    QString pickCode = u"*"_s;
    QList<CodeListing> shown;
};

struct RecordingListingView : ListingView
{
    void show(const CodeListing &listing) override { shown << listing; }
    QList<CodeListing> shown;
};

struct Hospital
{
    std::unique_ptr<TestDatabase> hospital;
    test::RecordingNotifier notifier;
    ScriptedPickList pickList;
    RecordingListingView view;
    ComponentContext ctx{notifier};

    bool open()
    {
        if (auto t = TestDatabase::create(test::backendOfRow()))
            hospital = std::move(*t);
        ctx.codePickList = &pickList;
        ctx.listingView = &view;
        ctx.sharedConnection = [this] { return &hospital->db(); };
        return bool(hospital);
    }
    Database &db() { return hospital->db(); }
    QString first(QStringView sql)
    {
        auto v = db().scalar(sql);
        return v ? v->toString().trimmed() : QString();
    }
    template <typename T> std::unique_ptr<T> make()
    {
        auto c = std::make_unique<T>(ctx);
        // Start-up hands most of them only the login's connection string.
        QMetaObject::invokeMethod(c.get(), "InitConnection", Qt::DirectConnection,
                                  Q_ARG(QString, u"Provider=demo"_s));
        return c;
    }
    std::unique_ptr<clsCodeLookup> lookup()
    {
        auto l = std::make_unique<clsCodeLookup>(ctx);
        l->Initialize_Classes();
        l->setConnection(&db());
        return l;
    }
    bool statement(const QString &server = u"(local)"_s)
    {
        StatementRequest r;
        r.servername = server;
        r.database = u"demo"_s;
        r.admissionNumber = first(kChargedStay);
        return showStatementOfAccount(ctx, r);
    }
};

/// What a component answered: what a caller reads, and how many rows were shown or given.
struct Answer
{
    QString value;
    int rows = 0;
};
using Probe = std::function<Answer(Hospital &)>;

Answer shown(Hospital &h, const QString &value)
{
    return {value, h.pickList.shown.isEmpty() ? 0 : int(h.pickList.shown.constLast().rows.size())};
}

/// A code lookup of `kind`, answering with the ResultCode of its `record`.
Probe lookup(int kind, const char *record)
{
    return [=](Hospital &h) -> Answer {
        auto l = h.lookup();
        if (kind == clsCodeLookup::OtherRevenues)
            l->setOtherSectionID(u"OR"_s);
        if (!l->SearchListing(kind, QString()))
            return {};
        const QVariant gadget = l->property(record);
        const QMetaObject *meta = gadget.metaType().metaObject();
        return shown(h, meta->property(meta->indexOfProperty("ResultCode"))
                            .readOnGadget(gadget.constData())
                            .toString());
    };
}

Answer viewerAnswer(const QVariantList &list, const char *field)
{
    const QVariantMap first = list.value(0).toMap();
    for (auto it = first.begin(); it != first.end(); ++it) {
        if (it.key().compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
            return {it.value().toString().trimmed(), int(list.size())};
    }
    return {};
}

QString resulted(Hospital &h, const char *column)
{
    return h.first(u"select min(%1) from LABORATORY..tbLabResult where ResultDate is not null "
                   u"and RecordStatus <> 'R'"_s.arg(QLatin1String(column)));
}

} // namespace

Q_DECLARE_METATYPE(Probe)

class tst_ComponentLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    // Each component lists something of the demo hospital; a picked row is its answer.
    void eachComponentReadsTheHospital_data()
    {
        QTest::addColumn<Probe>("probe");
        using L = clsCodeLookup;
        QTest::newRow("doctors") << lookup(L::Doctors, "DoctorRecord");
        QTest::newRow("diets") << lookup(L::Diets, "DietRecord");
        QTest::newRow("services") << lookup(L::Services, "ServiceRecord");
        QTest::newRow("stations") << lookup(L::Stations, "StationRecord");
        QTest::newRow("CT exams") << lookup(L::CTExams, "CTExamRecord");
        QTest::newRow("dosages") << lookup(L::Dosages, "DosageRecord");
        QTest::newRow("heart station") << lookup(L::HSExams, "HSExamRecord");
        QTest::newRow("laboratory") << lookup(L::LabExams, "LabExamRecord");
        QTest::newRow("nuclear medicine") << lookup(L::NuclearExams, "NuclearExamRecord");
        QTest::newRow("OR items") << lookup(L::OtherRevenues, "OtherRevenueRecord");
        QTest::newRow("physical therapy") << lookup(L::PTExams, "PTExamRecord");
        QTest::newRow("respiratory therapy") << lookup(L::RTSExams, "RTSExamRecord");
        QTest::newRow("ultrasound") << lookup(L::UltrasoundExams, "UltrasoundRecord");
        QTest::newRow("x-ray") << lookup(L::XrayExams, "XrayExamRecord");
        // clang-format off
        QTest::newRow("drug list") << Probe([](Hospital &h) {
            return shown(h, h.make<clsDrugList>()->ShowList(u"OM"_s)); });
        QTest::newRow("generic drug list") << Probe([](Hospital &h) {
            return shown(h, h.make<clsGenericList>()->ShowList()); });
        QTest::newRow("ICD-10") << Probe([](Hospital &h) {
            clsIcdLookup icd(h.ctx);
            icd.setActiveConnection(&h.db());
            return icd.ValidateICDCode(QString()) ? shown(h, icd.clsICD().ICDCode) : Answer(); })
           ;
        QTest::newRow("relative value scale") << Probe([](Hospital &h) {
            auto rvs = h.make<clsRvsLookup>();
            return rvs->List() ? shown(h, rvs->RVSCode()) : Answer(); });
        QTest::newRow("charge slips") << Probe([](Hospital &h) {
            auto slips = h.make<clsChargeSlipList>();
            slips->IdNum = h.first(kChargedStay);
            return shown(h, slips->ShowList()); });
        QTest::newRow("issued medicines") << Probe([](Hospital &h) {
            auto issued = h.make<clsIssuedMedicines>();
            issued->IdNum = h.first(kIssuedStay);
            return issued->ShowList() ? shown(h, issued->Chargeslip()) : Answer(); });
        QTest::newRow("histopathology request") << Probe([](Hospital &h) {
            clsHistopathRequest request(h.ctx);
            request.IdNum = h.first(kChargedStay);
            request.StationID = u"OR"_s;
            if (!request.showform())
                return Answer();
            h.notifier.clear(); // the request number is told, which is no failure
            auto saved = h.db().scalar(u"select ExamCode from STATION..tbNurseCommunicationfile "
                                       u"where RequestNum = :n and IDNum = :id",
                {{u"n"_s, request.RequestNum()}, {u"id"_s, request.IdNum}});
            return shown(h, saved ? saved->toString() : QString()); });
        QTest::newRow("ward requests") << Probe([](Hospital &h) {
            const QString stay = h.first(u"select min(IDNum) from "
                u"STATION..tbNurseCommunicationfile where RecordStatus = ''");
            return viewerAnswer(clsRequestViewer(h.ctx).GetRequests(u"1"_s, stay), "ExamCode"); })
           ;
        QTest::newRow("results of a stay") << Probe([](Hospital &h) {
            return viewerAnswer(clsResultViewer(h.ctx).GetResults(resulted(h, "IdNum")),
                                "TestName"); });
        QTest::newRow("results of a patient") << Probe([](Hospital &h) {
            return viewerAnswer(clsStayResultViewer(h.ctx).GetConfinementResults(
                resulted(h, "HospNum")), "TestName"); });
        QTest::newRow("patient information") << Probe([](Hospital &h) {
            clsPatientInfo info(h.ctx);
            info.InitConnect(&h.db());
            info.AdmissionNumber = h.first(kChargedStay);
            Answer a;
            if (!info.LoadInfo() || h.view.shown.isEmpty())
                return a;
            for (const QStringList &row : h.view.shown.constLast().rows) {
                a.rows += row.value(1).isEmpty() ? 0 : 1;
                if (row.value(0) == u"Patient")
                    a.value = row.value(1);
            }
            return a; });
        QTest::newRow("statement of account") << Probe([](Hospital &h) {
            if (!h.statement() || h.view.shown.isEmpty())
                return Answer();
            const CodeListing &s = h.view.shown.constLast();
            return Answer{s.rows.value(0).value(4), int(s.rows.size())}; });
        // clang-format on
    }
    void eachComponentReadsTheHospital()
    {
        QFETCH(Probe, probe);
        Hospital h;
        QVERIFY(h.open());
        const Answer answer = probe(h);
        QVERIFY2(answer.rows > 0, qPrintable(u"nothing listed " + h.notifier.lastText()));
        QVERIFY2(!answer.value.isEmpty(), "no answer");
        if (!h.pickList.shown.isEmpty()) // a picked row: the first one the user was shown
            QCOMPARE(answer.value, h.pickList.shown.constLast().rows.constFirst().value(0));
        QVERIFY2(h.notifier.boxes().isEmpty(), qPrintable(h.notifier.lastText()));
    }

    void codeListsFilterByWhatWasTyped_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("codes");
        using L = clsCodeLookup;
        QTest::newRow("dosage by code") << int(L::Dosages) << "q" << QStringList{"Q4", "Q6", "QID"};
        QTest::newRow("dosage by name") << int(L::Dosages) << "at " << QStringList{"HS", "STAT"};
        QTest::newRow("CT lists only CT")
            << int(L::CTExams) << "" << QStringList{"CT103", "CT101", "CT102"};
        QTest::newRow("HS code of another department") << int(L::HSExams) << "CT" << QStringList();
        QTest::newRow("percent is a letter") << int(L::Diets) << "%" << QStringList();
        QTest::newRow("underscore is a letter") << int(L::Services) << "_ED" << QStringList();
    }
    void codeListsFilterByWhatWasTyped()
    {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        Hospital h;
        QVERIFY(h.open());
        h.pickList.pickCode.clear();
        QVERIFY(!h.lookup()->SearchListing(kind, typed));
        QCOMPARE(h.pickList.shown.size(), 1);
        QTEST(h.pickList.codes(), "codes");
    }

    void pickedRowsFillTheirRecords()
    {
        Hospital h;
        QVERIFY(h.open());
        auto l = h.lookup();
        QVERIFY(l->SearchListing(clsCodeLookup::Dosages, u"PRN"_s));
        QCOMPARE(l->DosageRecord(), (DosageRecord{u"PRN"_s, u"PRN"_s}));
        h.pickList.pickCode = u"DT03"_s;
        QVERIFY(l->SearchListing(clsCodeLookup::Diets, u"clear"_s));
        QCOMPARE(l->DietRecord().Remarks, u"AFTER OPERATION"_s);
        // A list the user leaves without a pick forgets the earlier pick of that list only.
        h.pickList.pickCode.clear();
        QVERIFY(!l->SearchListing(clsCodeLookup::Dosages, QString()));
        QCOMPARE(l->DosageRecord(), DosageRecord());
        QCOMPARE(l->DietRecord().ResultCode, u"DT03"_s);
    }

    void drugListFindsItemsByName_data()
    {
        QTest::addColumn<bool>("byGeneric");
        QTest::addColumn<bool>("drugs"); // without a location: drugs, or else supplies
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("codes");
        using C = QStringList;
        const QString g18 = u"IV CANNULA G18"_s;
        // clang-format off
        QTest::newRow("brand") << false << true << "OS" << "iv cannula" << C{"CS3001", "CS3002"};
        QTest::newRow("generic name") << true << true << "OS" << "syringe" << C{"CS3004"};
        QTest::newRow("code") << false << true << "OS" << "CS300" << C{"CS3004", "CS3007", "CS3001",
            "CS3002", "CS3003", "CS3006", "CS3005", "CS3008"};
        QTest::newRow("not stocked there") << false << true << "OM" << "iv cannula" << C();
        QTest::newRow("percent is a letter") << false << true << "OS" << "%" << C();
        // No location: drugs or supplies; CS3001 is stocked by the CSR and the OR supply room.
        QTest::newRow("supplies") << false << false << "" << g18 << C{"CS3001", "CS3001"};
        QTest::newRow("drugs") << false << true << "" << g18 << C();
        // clang-format on
    }
    void drugListFindsItemsByName()
    {
        QFETCH(bool, byGeneric);
        QFETCH(QString, typed);
        QFETCH(QStringList, codes);
        Hospital h;
        QVERIFY(h.open());
        std::unique_ptr<DrugListComponent> list;
        if (byGeneric)
            list = h.make<clsGenericList>();
        else
            list = h.make<clsDrugList>();
        h.pickList.pickCode = codes.value(0);
        QFETCH(bool, drugs);
        list->DrugsORCSR = drugs;
        QFETCH(QString, location);
        QCOMPARE(list->ShowList(location, typed), codes.value(0));
        QCOMPARE(h.pickList.codes(), codes);
        QCOMPARE(h.pickList.shown.constLast().typedText, typed.trimmed());
    }

    void icdCodesAreValidated_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pick");
        QTest::addColumn<int>("listsShown");
        QTest::addColumn<QString>("code"); // "" when not valid
        QTest::newRow("exact, other case") << " k35.8 " << "" << 0 << "K35.8";
        QTest::newRow("beginning, picked") << "K" << "K40.9" << 1 << "K40.9";
        QTest::newRow("beginning, none picked") << "K" << "" << 1 << "";
        QTest::newRow("by description") << "senile" << "H25.9" << 1 << "H25.9";
        QTest::newRow("unknown: whole list") << "Z99.9" << "I10" << 1 << "I10";
    }
    void icdCodesAreValidated()
    {
        QFETCH(QString, typed);
        QFETCH(QString, pick);
        QFETCH(QString, code);
        Hospital h;
        QVERIFY(h.open());
        h.pickList.pickCode = pick;
        clsIcdLookup icd(h.ctx);
        icd.setActiveConnection(&h.db());
        QCOMPARE(icd.ValidateICDCode(typed), !code.isEmpty());
        QCOMPARE(icd.clsICD().ICDCode, code);
        QTEST(int(h.pickList.shown.size()), "listsShown");
        QCOMPARE(icd.clsICD().Description.isEmpty(), code.isEmpty());
    }

    void rvsPickCarriesDescriptionAndPoints()
    {
        Hospital h;
        QVERIFY(h.open());
        auto rvs = h.make<clsRvsLookup>();
        h.pickList.pickCode = u"47562"_s;
        QVERIFY(rvs->List());
        QCOMPARE(rvs->RVSDescription(), u"LAPAROSCOPIC CHOLECYSTECTOMY"_s);
        QCOMPARE(rvs->RVSPoints(), 14.5);
    }

    // A line returned in full leaves the list; one returned in part shows what is left.
    void issuedMedicinesLeaveOutWhatCameBack()
    {
        Hospital h;
        QVERIFY(h.open());
        auto issued = h.make<clsIssuedMedicines>();
        issued->IdNum = h.first(kIssuedStay);
        QVERIFY(issued->ShowList());
        const QString slip = issued->Chargeslip();
        const QString item = issued->ItemID();
        const double quantity = issued->IssuedQuantity();
        QVERIFY(quantity > 0 && issued->SellingPriceIn() > Money());
        const auto giveBack = [&](double n) {
            return h.db().exec(
                u"insert into INVENTORY..tbInvStockCard (IDNum, ItemID, LocationID, RefNum, "
                u"CreditMemoNum, TransType, Quantity) select IDNum, ItemID, LocationID, RefNum, "
                u"'CM1', 'C', :n from INVENTORY..tbInvStockCard where IDNum = :id and RefNum = "
                u":slip and ItemID = :item and TransType = 'I'",
                {{u"n"_s, n}, {u"id"_s, issued->IdNum}, {u"slip"_s, slip}, {u"item"_s, item}});
        };
        if (quantity > 1) {
            QVERIFY(giveBack(1));
            h.pickList.pickCode = slip;
            QVERIFY(issued->ShowList());
            QCOMPARE(issued->IssuedQuantity(), quantity - 1);
        }
        QVERIFY(giveBack(quantity > 1 ? quantity - 1 : quantity));
        h.pickList.pickCode.clear();
        QVERIFY(!issued->ShowList());
        for (const QStringList &row : h.pickList.shown.constLast().rows)
            QVERIFY(!(row.value(0) == slip && row.value(1) == item));
    }

    // Requests take the next number of their own series, one after the other.
    void histopathRequestsAreNumbered()
    {
        Hospital h;
        QVERIFY(h.open());
        clsHistopathRequest request(h.ctx);
        request.IdNum = h.first(kChargedStay);
        QVERIFY(request.showform());
        const QString first = request.RequestNum();
        QVERIFY(first.startsWith(u"HP"));
        QVERIFY(request.showform());
        QCOMPARE(request.RequestNum().mid(2).toLongLong(), first.mid(2).toLongLong() + 1);
        QCOMPARE(h.notifier.lastText(), u"Histopathology request "_s + request.RequestNum() +
                                            u" was sent to the laboratory."_s);
        h.pickList.pickCode.clear();
        QVERIFY(!request.showform());
        QCOMPARE(request.RequestNum(), QString());
        auto sent = h.db().scalar(u"select count(*) from STATION..tbNurseCommunicationfile "
                                  u"where IDNum = :id and RequestNum like 'HP%'",
                                  {{u"id"_s, request.IdNum}});
        QCOMPARE(sent ? sent->toInt() : -1, 2);
    }

    void statementTotalsTheStaysCharges()
    {
        Hospital h;
        QVERIFY(h.open());
        auto total = h.db().scalar(u"select sum(Amount) from STATION..tbNurseLogBook "
                                   u"where IDNum = :id and RecordStatus <> 'R'",
                                   {{u"id"_s, h.first(kChargedStay)}});
        QVERIFY(total && h.statement());
        QCOMPARE(h.view.shown.size(), 1);
        QVERIFY(h.view.shown.constLast().notes.contains(u"Total Charges: "_s +
                                                        Money::fromVariant(*total).toString()));
    }

    void statementThatCannotStartSaysSo_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("connected");
        QTest::newRow("nobody logged in") << "(local)" << false;
        QTest::newRow("no server") << "" << true;
    }
    void statementThatCannotStartSaysSo()
    {
        QFETCH(QString, server);
        QFETCH(bool, connected);
        Hospital h;
        QVERIFY(h.open());
        if (!connected)
            h.ctx.sharedConnection = nullptr;
        QVERIFY(!h.statement(server));
        QCOMPARE(h.notifier.lastText(), u"Unable to initialize KsStatement.Dll"_s);
        QVERIFY(h.view.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_ComponentLists)
#include "tst_componentlists.moc"
