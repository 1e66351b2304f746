// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Charging: pricing a line of each kind, posting a batch, loading the posted list of a long
// stay; each through the charge window's own classes and as the bare statements they run.
#include "BatchPoster.h"
#include "BenchPaths.h"

#include "charging/ChargeEntry.h"
#include "charging/ChargePricing.h"
#include "charging/ChargeSlipNumber.h"
#include "charging/ChargeSlipPrinter.h"
#include "charging/modPricing.h"
#include "patients/modGlobals.h"
#include "patients/PatientSelection.h"
#include "core/components/clsCodeLookup.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/CodeLookupRecords.h"
#include "core/db/Database.h"

#include <QElapsedTimer>
#include <QThread>

#include <memory>

namespace kestrel::bench {

namespace {

const QString kOR = QStringLiteral("OR");
const QString kDoctors = QStringLiteral("MD");
const QString kSupplies = QStringLiteral("CS");
constexpr int kBatchLines = 20;
// The credit a load run's stay is given for the run.
constexpr qint64 kLoadCredit = 1'000'000'000;
/// The patients each load-run workstation charges in turn.
constexpr int kStaysEach = 80;

Binds idBind(const QString &idNum)
{
    return {{QStringLiteral("id"), idNum}};
}

// Runs a bare statement and reads every row; answers the rows.
Result<qint64> readAll(Database &db, QStringView sql, const Binds &binds)
{
    auto rows = db.select(sql, binds);
    if (!rows)
        return tl::unexpected(rows.error());
    return rows->count();
}

// Components keep a copy of their context: the pick-list goes in before the look-up is made.
ComponentContext contextWith(Notifier &notifier, CodePickList &pickList)
{
    ComponentContext context(notifier);
    context.codePickList = &pickList;
    return context;
}

struct ChargingState
{
    ChargingState(BenchSession &s, const hospitaldb::ScaleLandmarks &l)
        : session(s)
        , landmarks(l)
        , selection(s.session, &s.finder)
        , pricing(s.session, pricingPrompts)
        , lookupContext(contextWith(s.notifier, pickList))
        , lookup(lookupContext)
        , picker(s.context)
        , reports(s.db, QString(), {}, display, s.notifier)
        , printer(s.session, reports)
        , posting(s.session, postingPrompts, &picker, printer)
        , entry(s.session, {}, chargePrompts, pricingPrompts)
    {
        lookup.setConnection(&s.db);
        lookup.Initialize_Classes();
        picker.InitConnect(&s.db);
    }

    Result<void> selectStay(const QString &hospNum, const QString &idNum);
    Result<void> pickItems();
    /// The records the code look-up gives for the codes, as the charge window takes them.
    Result<QList<OtherRevenueRecord>> lookUpServices(const RowSet &codes);
    Result<QList<DoctorRecord>> lookUpDoctors(const RowSet &codes);
    Result<void> priceBatch();
    /// The three lines of the pricing path, priced as the charge window prices them.
    QList<ChargeLine> priceOneOfEach();
    ChargeLine priceService(const OtherRevenueRecord &item);
    ChargeLine priceDoctor(const DoctorRecord &doctor);
    ChargeLine priceStock(const QString &item);

    Result<qint64> barePricing();
    Result<qint64> barePosting();
    /// Removes the batch of `slip` and puts its stock back.
    Result<void> removeBatch(const QString &slip);

    BenchSession &session;
    hospitaldb::ScaleLandmarks landmarks;
    PatientSelection selection;
    BenchPricingPrompts pricingPrompts;
    ChargePricing pricing;
    BenchCodePickList pickList;
    ComponentContext lookupContext;
    clsCodeLookup lookup;
    clsDrugPicker picker;
    NullReportDisplay display;
    ReportService reports;
    ChargeSlipPrinter printer;
    BenchPostingPrompts postingPrompts;
    ChargePosting posting;
    BenchChargePrompts chargePrompts;
    ChargeEntry entry;

    bool picked = false;
    OtherRevenueRecord procedure;
    QList<OtherRevenueRecord> services; ///< the procedures and OR fees of the batch
    QList<DoctorRecord> doctors;
    QString stockLocation;
    QStringList stockItems;
    QList<PostingLine> batch;
    QString lastSlip;
    /// Where the batch's supplies begin among the location's items.
    int stockOffset = 0;
};

Result<void> ChargingState::selectStay(const QString &hospNum, const QString &idNum)
{
    session.notifier.answer = false;
    if (!selection.SelectPatient(hospNum, idNum, true))
        return failure(QStringLiteral("stay %1 could not be selected").arg(idNum));
    return {};
}

Result<void> ChargingState::pickItems()
{
    if (picked)
        return {};
    Database &db = session.db;
    // An operation as the OR charges it: the OR's fees, the surgeons' fees, supplies from
    // the central supply, and the procedure itself (the cheapest, so the batches fit the
    // stay's credit line).
    const QString items = QStringLiteral("select OtherRevenueID from BUILD_FILE..tbCoOtherRevenue "
                                         "where OtherSectionID = 'OR' and Status = 'A' and "
                                         "RateA > 0 and ");
    auto fees =
        db.select(QString(items + QStringLiteral("coalesce(SectionID, '') <> 'PRC' "
                                                 "order by RateA, OtherRevenueID limit 8")));
    if (!fees)
        return tl::unexpected(fees.error());
    auto doctorRows = db.select(
        u"select D.DoctorID from BUILD_FILE..tbCoDoctor D where D.Status = 'A' and exists "
        u"(select 1 from BUILD_FILE..tbCoDoctorBill B where B.DoctorID = D.DoctorID "
        u"and B.Status = 1 and B.Amount > 0) order by D.DoctorID limit 3");
    if (!doctorRows)
        return tl::unexpected(doctorRows.error());
    stockLocation = modGlobals::GetRevenueLocation(session.session, kSupplies).trimmed();
    auto stock = db.select(u"select ItemID from INVENTORY..tbInvent where LocationID = :location "
                           u"and SellingPriceIn > 0 order by ItemID limit 8 offset :skip",
                           {{QStringLiteral("location"), stockLocation},
                            {QStringLiteral("skip"), stockOffset}});
    if (!stock)
        return tl::unexpected(stock.error());
    if (stock->count() < 8 && stockOffset > 0) {
        // A small hospital has fewer supplies than workstations take: start again from the
        // first ones.
        stockOffset = 0;
        return pickItems();
    }
    const int procedures =
        std::max(1, kBatchLines - fees->count() - doctorRows->count() - stock->count());
    auto procedureRows =
        db.select(QString(items + QStringLiteral("SectionID = 'PRC' order by RateA, OtherRevenueID "
                                                 "limit :n")),
                  {{QStringLiteral("n"), procedures}});
    if (!procedureRows)
        return tl::unexpected(procedureRows.error());
    if (procedureRows->isEmpty() || doctorRows->isEmpty() || stock->isEmpty())
        return failure(QStringLiteral("the hospital lacks OR procedures, doctors' fees or "
                                      "central supply items"));

    auto procedureRecords = lookUpServices(*procedureRows);
    auto feeRecords = lookUpServices(*fees);
    auto doctorRecords = lookUpDoctors(*doctorRows);
    if (!procedureRecords || !feeRecords || !doctorRecords)
        return failure(QStringLiteral("the code look-up did not find the items it was given"));
    procedure = procedureRecords->constFirst();
    services = *procedureRecords + *feeRecords;
    doctors = *doctorRecords;
    stockItems.clear();
    for (const Row &r : *stock)
        stockItems << r.trimmed(u"ItemID");
    postingPrompts.doctor = {doctors.constFirst().ResultCode, doctors.constFirst().LastName +
                                                                  QStringLiteral(", ") +
                                                                  doctors.constFirst().FirstName};
    picked = true;
    return {};
}

Result<QList<OtherRevenueRecord>> ChargingState::lookUpServices(const RowSet &codes)
{
    QList<OtherRevenueRecord> records;
    lookup.setOtherSectionID(kOR);
    for (const Row &r : codes) {
        pickList.code = r.trimmed(u"OtherRevenueID");
        if (!lookup.SearchListing(clsCodeLookup::OtherRevenues, pickList.code))
            return failure(QStringLiteral("item %1 was not found").arg(pickList.code));
        records << lookup.OtherRevenueRecord();
    }
    return records;
}

Result<QList<DoctorRecord>> ChargingState::lookUpDoctors(const RowSet &codes)
{
    QList<DoctorRecord> records;
    for (const Row &r : codes) {
        pickList.code = r.trimmed(u"DoctorID");
        if (!lookup.SearchListing(clsCodeLookup::Doctors, pickList.code))
            return failure(QStringLiteral("doctor %1 was not found").arg(pickList.code));
        records << lookup.DoctorRecord();
    }
    return records;
}

ChargeLine ChargingState::priceService(const OtherRevenueRecord &item)
{
    ChargeLine line;
    line.department = kOR;
    pricing.priceServiceItem(line, item);
    line.quantity = QStringLiteral("1");
    pricing.quantityEntered(line);
    pricing.finishLine(line);
    return line;
}

ChargeLine ChargingState::priceDoctor(const DoctorRecord &doctor)
{
    ChargeLine line;
    line.department = kDoctors;
    line.quantity = QStringLiteral("1");
    pricing.priceDoctorsFee(line, doctor);
    pricing.quantityEntered(line);
    return line;
}

ChargeLine ChargingState::priceStock(const QString &item)
{
    ChargeLine line;
    line.department = kSupplies;
    // The drug picker finds the item at the department's location, as the window's look-up
    // does before the line is priced.
    picker.Drug()->setLocationID(stockLocation);
    if (!picker.SearchDrug(item))
        return line;
    pricing.priceStockItem(line, *picker.Drug());
    line.quantity = QStringLiteral("2");
    pricing.quantityEntered(line);
    return line;
}

QList<ChargeLine> ChargingState::priceOneOfEach()
{
    return {priceService(procedure), priceDoctor(doctors.constFirst()),
            priceStock(stockItems.constFirst())};
}

Result<void> ChargingState::priceBatch()
{
    batch.clear();
    QList<ChargeLine> lines;
    for (const OtherRevenueRecord &item : std::as_const(services))
        lines << priceService(item);
    for (const DoctorRecord &doctor : std::as_const(doctors))
        lines << priceDoctor(doctor);
    for (const QString &item : std::as_const(stockItems))
        lines << priceStock(item);
    for (const ChargeLine &line : std::as_const(lines)) {
        if (line.item.isEmpty() || line.amountValue() <= Money())
            return failure(
                QStringLiteral("%1 %2 could not be priced").arg(line.department, line.item));
        PostingLine posted;
        posted.line = line;
        batch << posted;
    }
    return {};
}

// The statements the pricing rules run for the three lines of an inpatient stay, as the
// hospital's settings lead them.
Result<qint64> ChargingState::barePricing()
{
    Database &db = session.db;
    const HospitalSettings &hs = session.session.hospital;
    const clsSettings &sw = session.session.settings;
    const CurrentPatientRecord &stay = session.session.CurrentPatient;
    const QString id = stay.IdNum.trimmed();
    const Binds idOnly = idBind(id);
    qint64 rows = 0;
    const auto run = [&](QStringView sql, const Binds &binds) -> Result<void> {
        auto n = readAll(db, sql, binds);
        if (!n)
            return tl::unexpected(n.error());
        rows += *n;
        return {};
    };
    const QString hmo = QStringLiteral(
        "select case when C.CompanyType = 'H' then 'P' when C.AccountNum is not null then 'C' "
        "else 'N' end as Class from PATIENT_DATA..tbPatient S left outer join "
        "BUILD_FILE..tbCoCompany C on C.AccountNum = S.AccountNum where S.IDNum = :id");
    const Binds item{{QStringLiteral("key"), procedure.ResultCode}};

    // The OR procedure: rate letter, rate, section, RUV, after-time rate, second operation and
    // the receivable account.
    Result<void> ok =
        run(u"select isSpecial from PATIENT_DATA..tbPatient2 where IDNum = :id", idOnly);
    if (ok && hs.clientname == u"KWOSH")
        ok = run(hmo, idOnly);
    if (ok && sw.EnableORHMORate())
        ok = run(hmo, idOnly);
    if (ok && sw.RateIforER())
        ok = run(u"select 1 from PATIENT_DATA..tbOutPatient where IDNum = :id "
                 u"and ERNum is not null and OPDStatus <> 'R'",
                 idOnly);
    if (ok && sw.AllowInternationalRate())
        ok = run(u"select case when M.Nationality <> '' and M.Nationality <> 'FILIPINO' then 'Y' "
                 u"else 'N' end as isInternational from PATIENT_DATA..tbPatient S inner join "
                 u"PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum where S.IDNum = :id",
                 idOnly);
    if (ok)
        ok = run(u"select coalesce(ORSection, '') as ORSection from BUILD_FILE..tbCoOtherRevenue "
                 u"where OtherSectionID = 'OR' and OtherRevenueID = :key",
                 item);
    if (ok)
        ok = run(u"select coalesce(SectionID, '') as SectionID from BUILD_FILE..tbCoOtherRevenue "
                 u"where OtherSectionID = 'OR' and OtherRevenueID = :key",
                 item);
    if (!ok)
        return tl::unexpected(ok.error());
    if (hs.clientname != u"QELM") {
        auto roomClass = db.scalar(u"select R.RoomClassID from PATIENT_DATA..tbPatient P "
                                   u"inner join BUILD_FILE..tbCoRoom R on R.RoomID = P.RoomID "
                                   u"where P.IDNum = :id",
                                   idOnly);
        if (!roomClass)
            return tl::unexpected(roomClass.error());
        ok = run(u"select U.RUV, C.PesoPerUnit from BUILD_FILE..tbCoProcedureRUV U "
                 u"inner join BUILD_FILE..tbCoRUVConversion C on C.RoomClassID = :class "
                 u"where U.OtherRevenueID = :item",
                 {{QStringLiteral("class"), roomClass->toString().trimmed()},
                  {QStringLiteral("item"), procedure.ResultCode}});
        if (ok && hs.AutoORMarkUp && hs.AllowAfterTimeRate && !hs.ORAfterTime.trimmed().isEmpty()) {
            auto now = db.scalar(u"select GETDATE() AS Tdate");
            if (!now)
                return tl::unexpected(now.error());
            const std::optional<bool> statHours = modPricing::StatHoursCover(
                hs.ORAfterTime, hs.AfterTimeStatHours, dateTimeFromVariant(*now).time().hour());
            if (statHours && !*statHours) {
                auto today = db.scalar(u"select getdate()");
                if (!today)
                    return tl::unexpected(today.error());
                ok = run(u"select HolidayDate, IsYearly, HolidayName, HolidayGreeting "
                         u"from BUILD_FILE..tbCoHoliday order by HolidayID",
                         {});
            }
        }
        if (ok && hs.SecProcPercentDiscount > 0)
            ok = run(u"select 1 from STATION..tbNurseLogBook where IDNum = :id "
                     u"and coalesce(isSecORProc, '') <> '' and RecordStatus <> 'R' limit 1",
                     idOnly);
    }
    if (ok)
        ok = run(
            u"select A.ARCode from PATIENT_DATA..tbPatient S inner join BUILD_FILE..tbCoARCode A "
            u"on A.RevenueID = :revenue and A.TransType = :kind and A.PatientClass = :class "
            u"and A.Guarantor = case when trim(S.AccountNum) = '' or trim(S.AccountNum) = "
            u"trim(S.HospNum) then 'P' else 'C' end where S.IDNum = :id",
            {{QStringLiteral("id"), id},
             {QStringLiteral("revenue"), kOR},
             {QStringLiteral("kind"), QStringLiteral("1")},
             {QStringLiteral("class"), QStringLiteral("I")}});

    // The surgeon's fee: his rate at the class of the stay's room.
    const Binds doctor{{QStringLiteral("doctor"), doctors.constFirst().ResultCode}};
    bool billRate = true;
    if (ok && hs.IsShowAmount) {
        auto has = db.selectOne(u"select 1 from BUILD_FILE..tbCoDoctorBill where DoctorID = "
                                u":doctor and Status = 1 and Amount > 0",
                                doctor);
        if (!has)
            return tl::unexpected(has.error());
        billRate = has->has_value();
        rows += billRate ? 1 : 0;
    }
    if (ok && billRate) {
        auto roomClass = db.scalar(u"select RoomClassID from BUILD_FILE..tbCoRoom where RoomID = "
                                   u":room",
                                   {{QStringLiteral("room"), stay.RoomID.trimmed()}});
        if (!roomClass)
            return tl::unexpected(roomClass.error());
        ok = run(u"select Amount from BUILD_FILE..tbCoDoctorBill where DoctorID = :doctor "
                 u"and RoomClassID = :class and Status = 1 order by DoctorBillID limit 1",
                 {{QStringLiteral("doctor"), doctors.constFirst().ResultCode},
                  {QStringLiteral("class"), roomClass->toString().trimmed()}});
    }

    // The supply: the drug picker's two reads, and the company's price where the hospital
    // keeps them.
    const Binds supply{{QStringLiteral("item"), stockItems.constFirst()},
                       {QStringLiteral("location"), stockLocation}};
    if (ok)
        ok = run(u"select ItemID, ItemName, Description, GenericName, Status "
                 u"from INVENTORY..tbInvMaster where ItemID = :item",
                 {{QStringLiteral("item"), stockItems.constFirst()}});
    if (ok)
        ok = run(u"select OnHand, SellingPriceIn, SellingPriceOut, AverageCost "
                 u"from INVENTORY..tbInvent where ItemID = :item and LocationID = :location",
                 supply);
    if (ok && hs.IsCompanyPrice) {
        auto account = db.scalar(u"select coalesce(AccountNum, '') as AccountNum "
                                 u"from PATIENT_DATA..tbPatient where IDNum = :id",
                                 idOnly);
        if (!account)
            return tl::unexpected(account.error());
        ok = run(u"select CompanyPrice from INVENTORY..tbInvCompanyPrice "
                 u"where ItemID = :item and AccountNum = :account",
                 {{QStringLiteral("item"), stockItems.constFirst()},
                  {QStringLiteral("account"), account->toString().trimmed()}});
    }
    if (!ok)
        return tl::unexpected(ok.error());
    return rows;
}

// The writes of one batch in one transaction, as posting makes them: the charge slip number
// from the counter, its record, the print buffer, and for each line its stock movement,
// print buffer row and logbook line.
Result<qint64> ChargingState::barePosting()
{
    Database &db = session.db;
    const CurrentPatientRecord &stay = session.session.CurrentPatient;
    const QString id = stay.IdNum.trimmed();
    const QString hosp = stay.HospNum.trimmed();
    const QString station = session.session.StationID;
    const QString user = session.dialogs.signer;
    const QDateTime when = QDateTime::currentDateTime();
    const SlipFormat format = SlipFormat::of(session.session.settings);
    const SlipCounter counter = format.counterFor(id);

    Transaction tx = db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    QStringView draw;
    switch (counter) {
    case SlipCounter::Common:
        draw = u"update STATION..tbORChargeSlip set ChargeSlip = ChargeSlip + 1 "
               u"where StationID = :station returning ChargeSlip - 1 as Drawn";
        break;
    case SlipCounter::Inpatient:
        draw = u"update STATION..tbORChargeSlip set IChargeSlip = IChargeSlip + 1 "
               u"where StationID = :station returning IChargeSlip - 1 as Drawn";
        break;
    case SlipCounter::Outpatient:
        draw = u"update STATION..tbORChargeSlip set OChargeSlip = OChargeSlip + 1 "
               u"where StationID = :station returning OChargeSlip - 1 as Drawn";
        break;
    }
    auto drawn = db.selectOne(draw, {{QStringLiteral("station"), station}});
    if (!drawn)
        return tl::unexpected(drawn.error());
    if (!*drawn)
        return failure(QStringLiteral("the station has no charge slip counter"));
    const QString slip = format.number(counter, (*drawn)->integer(u"Drawn"));
    lastSlip = slip;
    const Binds slipOnly{{QStringLiteral("slip"), slip}};
    auto used = db.selectOne(
        u"select RefNum from BILLING..tbBillDailyBill where RefNum = :slip "
        u"union all select RefNum from BILLING..tbBillOPDailyOut where RefNum = :slip "
        u"union all select RefNum from INVENTORY..tbInvStockCard where RefNum = :slip "
        u"union all select RefNum from BILLING..tbCashAssessment where RefNum = :slip "
        u"union all select ChargeSlip from STATION..tbORChargeSlipIssued where ChargeSlip = :slip",
        slipOnly);
    if (!used)
        return tl::unexpected(used.error());
    Result<int> done =
        db.exec(u"insert into STATION..tbORChargeSlipIssued (ChargeSlip, StationID, IDNum, UserID, "
                u"HostName, TransDate) values (:slip, :station, :id, :user, host_name(), :at)",
                {{QStringLiteral("slip"), slip},
                 {QStringLiteral("station"), station},
                 {QStringLiteral("id"), id},
                 {QStringLiteral("user"), user},
                 {QStringLiteral("at"), when}});
    if (done)
        done = db.exec(u"delete from STATION..tbORChargePrint where HostName = host_name()");
    for (const PostingLine &posted : std::as_const(batch)) {
        if (!done)
            break;
        const ChargeLine &c = posted.line;
        if (!c.location.trimmed().isEmpty()) {
            done = db.exec(u"insert into INVENTORY..tbInvStockCard (IDNum, HospNum, ItemID, "
                           u"LocationID, RefNum, CreditMemoNum, TransType, Quantity, Amount, "
                           u"TransDate, UserID) values (:id, :hosp, :item, :location, :ref, :memo, "
                           u":type, :qty, :amount, :at, :user)",
                           {{QStringLiteral("id"), id},
                            {QStringLiteral("hosp"), hosp},
                            {QStringLiteral("item"), c.item},
                            {QStringLiteral("location"), c.location},
                            {QStringLiteral("ref"), slip},
                            {QStringLiteral("memo"), QString()},
                            {QStringLiteral("type"), QStringLiteral("I")},
                            {QStringLiteral("qty"), c.quantityValue()},
                            {QStringLiteral("amount"), c.amountValue().toVariant()},
                            {QStringLiteral("at"), when},
                            {QStringLiteral("user"), user}});
            if (done)
                done = db.exec(u"update INVENTORY..tbInvent set OnHand = OnHand + :moved "
                               u"where ItemID = :item and LocationID = :location",
                               {{QStringLiteral("moved"), -c.quantityValue()},
                                {QStringLiteral("item"), c.item},
                                {QStringLiteral("location"), c.location}});
        }
        if (done)
            done = db.exec(u"insert into STATION..tbORChargePrint (ChargeSlip, HostName, "
                           u"StationID, IDNum, RevenueID, ItemID, Description, Quantity, Amount, "
                           u"TransDate) values (:slip, host_name(), :station, :id, :revenue, "
                           u":item, :description, :qty, :amount, getdate())",
                           {{QStringLiteral("slip"), slip},
                            {QStringLiteral("station"), station},
                            {QStringLiteral("id"), id},
                            {QStringLiteral("revenue"), c.department},
                            {QStringLiteral("item"), c.item},
                            {QStringLiteral("description"), c.description},
                            {QStringLiteral("qty"), c.quantityValue()},
                            {QStringLiteral("amount"), c.amountValue().toVariant()}});
        if (done)
            done = db.exec(
                u"insert into STATION..tbNurseLogBook (HospNum, IDNum, ItemID, Amount, Quantity, "
                u"TransDate, RevenueID, UserID, Description, PatientClass, RoomID, "
                u"ChargeDepartment, RequestingDoctorID, ARCode, RequestingDoctorName, PackageID, "
                u"Markup, ReferenceNum, StationID, StatFlag, RecordStatus) values (:hosp, :id, "
                u":item, :amount, :qty, :at, :revenue, :user, :description, :class, :room, "
                u":department, :doctor, :ar, :doctorName, :package, :markup, :slip, :station, "
                u":stat, '')",
                {{QStringLiteral("hosp"), hosp},
                 {QStringLiteral("id"), id},
                 {QStringLiteral("item"), c.item},
                 {QStringLiteral("amount"), c.amountValue().toVariant()},
                 {QStringLiteral("qty"), c.quantityValue()},
                 {QStringLiteral("at"), when},
                 {QStringLiteral("revenue"), c.department},
                 {QStringLiteral("user"), user},
                 {QStringLiteral("description"), c.description},
                 {QStringLiteral("class"), QStringLiteral("I")},
                 {QStringLiteral("room"), stay.RoomID.trimmed()},
                 {QStringLiteral("department"), kOR},
                 {QStringLiteral("doctor"), postingPrompts.doctor.code},
                 {QStringLiteral("ar"), c.arCode},
                 {QStringLiteral("doctorName"), postingPrompts.doctor.name},
                 {QStringLiteral("package"), QString()},
                 {QStringLiteral("markup"), c.markupText},
                 {QStringLiteral("slip"), slip},
                 {QStringLiteral("station"), station},
                 {QStringLiteral("stat"), c.statFlag}});
    }
    if (!done)
        return tl::unexpected(done.error());
    if (auto committed = tx.commit(); !committed)
        return tl::unexpected(committed.error());
    return batch.size();
}

Result<void> ChargingState::removeBatch(const QString &slip)
{
    if (slip.isEmpty())
        return {};
    Database &db = session.db;
    Transaction tx = db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    const Binds slipOnly{{QStringLiteral("slip"), slip}};
    // The stock goes back last, in item order, as posting takes it: removals on other
    // workstations then never wait for each other's stock rows crosswise.
    auto taken = db.select(u"select ItemID, LocationID, Quantity from INVENTORY..tbInvStockCard "
                           u"where RefNum = :slip and TransType = 'I' order by LocationID, ItemID",
                           slipOnly);
    if (!taken)
        return tl::unexpected(taken.error());
    for (QStringView sql :
         {QStringView(u"delete from INVENTORY..tbInvStockCard where RefNum = :slip"),
          QStringView(u"delete from STATION..tbNurseLogBook where ReferenceNum = :slip"),
          QStringView(u"delete from STATION..tbORChargePrint where ChargeSlip = :slip"),
          QStringView(u"delete from STATION..tbORChargeSlipIssued where ChargeSlip = :slip")}) {
        if (auto gone = db.exec(sql, slipOnly); !gone)
            return tl::unexpected(gone.error());
    }
    for (const Row &r : *taken) {
        auto back = db.exec(u"update INVENTORY..tbInvent set OnHand = OnHand + :qty "
                            u"where ItemID = :item and LocationID = :location",
                            {{QStringLiteral("qty"), r.number(u"Quantity")},
                             {QStringLiteral("item"), r.trimmed(u"ItemID")},
                             {QStringLiteral("location"), r.trimmed(u"LocationID")}});
        if (!back)
            return tl::unexpected(back.error());
    }
    lastSlip.clear();
    return tx.commit();
}

} // namespace

Result<QList<BenchPath>> chargingPaths(BenchSession &s, const hospitaldb::ScaleLandmarks &l)
{
    auto state = std::make_shared<ChargingState>(s, l);
    // The slip is printed by the report engine, which the income report path times; here the
    // save is timed alone.
    s.session.hospital.IsPrintChargeSlip = false;
    const auto inpatient = [state]() -> Result<void> {
        if (auto ok = state->selectStay(state->landmarks.inpatientHospNum,
                                        state->landmarks.inpatientIdNum);
            !ok)
            return ok;
        return state->pickItems();
    };

    BenchPath price;
    price.name = QStringLiteral("price an OR procedure, a fee, a supply");
    price.program = QStringLiteral("ChargePricing (priceServiceItem, priceDoctorsFee, "
                                   "priceStockItem, quantityEntered, finishLine)");
    price.bare = QStringLiteral("the look-ups the pricing rules run for the three lines");
    price.targetMs = 50;
    price.ratioTarget = true;
    price.prepare = inpatient;
    price.runProgram = [state]() -> Result<qint64> {
        state->session.notifier.answer = false;
        const QList<ChargeLine> lines = state->priceOneOfEach();
        for (const ChargeLine &line : lines) {
            if (line.item.isEmpty())
                return failure(QStringLiteral("a %1 line was not priced").arg(line.department));
        }
        return lines.size();
    };
    price.runBare = [state] { return state->barePricing(); };
    price.notes << QStringLiteral("One run prices three lines: an OR procedure (quantity 1, "
                                  "second-operation question answered No), the surgeon's fee "
                                  "and a central supply item found through the drug picker.");

    BenchPath post;
    post.name = QStringLiteral("post a batch of 20 lines");
    post.program = QStringLiteral("ChargePosting::save through ChargeSaving");
    post.bare = QStringLiteral("the batch's inserts and updates in one transaction");
    post.targetMs = 100;
    post.prepare = [state, inpatient]() -> Result<void> {
        if (auto ok = inpatient(); !ok)
            return ok;
        return state->priceBatch();
    };
    post.runProgram = [state]() -> Result<qint64> {
        state->session.notifier.answer = true;
        ChargeSaving &saving = state->posting;
        const PostingOutcome outcome = saving.save(state->batch, kOR);
        state->lastSlip = outcome.chargeSlip;
        if (!outcome.saved())
            return failure(QStringLiteral("the batch was not saved"));
        return state->batch.size();
    };
    post.runBare = [state] { return state->barePosting(); };
    post.sameRows = true;
    post.afterRun = [state] { return state->removeBatch(state->lastSlip); };
    post.notes << QStringLiteral("The batch: OR procedures and fees, three doctors' fees and "
                                 "central supply items, confirmed and signed by a script. The "
                                 "charge slip is not printed; every batch is removed again "
                                 "after its run, untimed.")
               << QStringLiteral("The program's side also runs the checks before the "
                                 "transaction (credit line, closed account, clearance, stock "
                                 "locations) that the bare SQL leaves out.");

    BenchPath list;
    list.name = QStringLiteral("posted list of a long stay");
    list.program = QStringLiteral("ChargeEntry::refresh (ChargeEntryStore::postedCharges, "
                                  "STATION..List_All_ORCharges)");
    list.bare = QStringLiteral("the procedure's statement");
    list.targetMs = 50;
    list.ratioTarget = true;
    list.sameRows = true;
    list.prepare = [state]() -> Result<void> {
        if (auto ok =
                state->selectStay(state->landmarks.longStayHospNum, state->landmarks.longStayIdNum);
            !ok)
            return ok;
        if (!state->entry.open())
            return failure(QStringLiteral("the charge window did not open for stay %1")
                               .arg(state->landmarks.longStayIdNum));
        return {};
    };
    list.runProgram = [state]() -> Result<qint64> {
        state->entry.refresh();
        return state->entry.postedCharges().size();
    };
    list.runBare = [state]() {
        return readAll(state->session.db,
                       u"select LogBookID, RevenueID, ItemID, Description, Quantity, Amount, "
                       u"ReferenceNum, PackageID, TransDate from STATION..tbNurseLogBook "
                       u"where IDNum = :id and RecordStatus <> 'R' and StationID = :station "
                       u"order by TransDate, LogBookID",
                       {{QStringLiteral("id"), state->landmarks.longStayIdNum},
                        {QStringLiteral("station"), state->session.session.StationID}});
    };
    return QList<BenchPath>{price, post, list};
}

struct BatchPoster::Impl
{
    Impl(BenchSession &s, const hospitaldb::ScaleLandmarks &l)
        : state(s, l)
    {
    }
    ChargingState state;
};

BatchPoster::BatchPoster(BenchSession &session, const hospitaldb::ScaleLandmarks &landmarks,
                         int workstation, int posters)
    : d(std::make_unique<Impl>(session, landmarks))
    , m_workstation(workstation)
    , m_posters(std::max(1, posters))
{
    session.session.hospital.IsPrintChargeSlip = false;
    d->state.stockOffset = 8 * workstation;
}

BatchPoster::~BatchPoster() = default;

Result<void> BatchPoster::ready()
{
    ChargingState &state = d->state;
    // Each workstation charges patients of its own in turn, as a ward's station charges the
    // ward's patients: the hospital's open stays with the most credit left first, as the
    // landmark's stay was chosen, shared out among the posting workstations (up to
    // kStaysEach each), the first workstation the landmark's stay first.
    const QString open = QStringLiteral(
        "from PATIENT_DATA..tbPatient P inner join PATIENT_DATA..tbPatient2 X on X.IDNum = "
        "P.IDNum where P.DcrDate is null and P.BillingDate is null and P.IDNum <> :long and "
        "P.IDNum <> :landmark and not exists (select 1 from STATION..tbNurseDischargeNotice N "
        "where N.IDNum = P.IDNum and N.ClearDate is not null)");
    const Binds excluded{{QStringLiteral("long"), state.landmarks.longStayIdNum},
                         {QStringLiteral("landmark"), state.landmarks.inpatientIdNum}};
    auto count =
        state.session.db.scalar(QString(QStringLiteral("select count(*) ") + open), excluded);
    if (!count)
        return tl::unexpected(count.error());
    const int each = std::clamp(count->toInt() / m_posters, 1, kStaysEach);
    if (m_workstation == 0)
        m_stays << std::pair(state.landmarks.inpatientHospNum, state.landmarks.inpatientIdNum);
    Binds page = excluded;
    page.insert(QStringLiteral("count"), each - m_stays.size());
    page.insert(QStringLiteral("skip"), m_workstation * each);
    auto found = state.session.db.select(
        QString(QStringLiteral("select P.IDNum, P.HospNum ") + open +
                QStringLiteral(" order by coalesce(X.CreditLine, 0) desc, P.IDNum limit :count "
                               "offset :skip")),
        page);
    if (!found)
        return tl::unexpected(found.error());
    for (const Row &r : *found)
        m_stays << std::pair(r.trimmed(u"HospNum"), r.trimmed(u"IDNum"));
    if (m_stays.isEmpty())
        return failure(QStringLiteral("the hospital has no open stay for workstation %1")
                           .arg(m_workstation + 1));
    if (auto ok = state.selectStay(m_stays.constFirst().first, m_stays.constFirst().second); !ok)
        return ok;
    if (auto ok = state.pickItems(); !ok)
        return ok;
    if (auto ok = state.priceBatch(); !ok)
        return ok;
    // Hundreds of batches on a stay go far past any credit line: the stays get credit for the
    // run, taken back by removeAll().
    return changeCredit(kLoadCredit);
}

Result<void> BatchPoster::changeCredit(qint64 by)
{
    for (const auto &[hospNum, idNum] : std::as_const(m_stays)) {
        auto changed = d->state.session.db.exec(
            u"update PATIENT_DATA..tbPatient2 set CreditLine = coalesce(CreditLine, 0) + :by "
            u"where IDNum = :id",
            {{QStringLiteral("by"), by}, {QStringLiteral("id"), idNum}});
        if (!changed)
            return tl::unexpected(changed.error());
    }
    m_credit += by;
    return {};
}

Result<double> BatchPoster::postOnce()
{
    ChargingState &state = d->state;
    // The next patient is selected before the save is timed, as the nurse selects it.
    if (m_stays.size() > 1) {
        m_next = (m_next + 1) % m_stays.size();
        const auto &[hospNum, idNum] = m_stays.at(m_next);
        if (auto ok = state.selectStay(hospNum, idNum); !ok)
            return tl::unexpected(ok.error());
    }
    state.session.notifier.answer = true;
    QElapsedTimer clock;
    clock.start();
    ChargeSaving &saving = state.posting;
    const PostingOutcome outcome = saving.save(state.batch, kOR);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (!outcome.saved()) {
        const QStringList boxes = state.session.notifier.takeBoxes();
        return failure(QStringLiteral("the batch was not saved: %1").arg(boxes.join(u" / ")));
    }
    m_posted << outcome.chargeSlip;
    return ms;
}

Result<void> BatchPoster::removeAll()
{
    while (!m_posted.isEmpty()) {
        // Workstations putting stock back at the same time may meet in a deadlock: the one
        // the server chose is tried again.
        auto removed = d->state.removeBatch(m_posted.constLast());
        for (int tries = 1; !removed && removed.error().retryable() && tries < 50; ++tries) {
            QThread::msleep(10 * tries);
            removed = d->state.removeBatch(m_posted.constLast());
        }
        if (!removed)
            return removed;
        m_posted.removeLast();
    }
    return m_credit != 0 ? changeCredit(-m_credit) : Result<void>();
}

} // namespace kestrel::bench
