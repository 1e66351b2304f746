// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/ScaleRequests.h"

#include "core/db/Money.h"

namespace kestrel::hospitaldb {

using namespace Qt::StringLiterals;

namespace {

// The tables filled here besides the logbook, whose indexes are made after the load.
const QStringList kTables{QStringLiteral("STATION..tbNurseCommunicationfile"),
                          QStringLiteral("INVENTORY..tbInvStockCard"),
                          QStringLiteral("STATION..tbNurseCreditMemo"),
                          QStringLiteral("STATION..tbBillAdjustInfo")};

// Every requested line: three for each second generated admission (J its stay number), lines
// 0 and 1 a medicine of the pharmacy, line 2 a supply of central supply, picked from the
// demo's stocked items (scale_rq). Seq numbers the lines, Back is 1 for the lines that come
// back one unit on a credit memo.
const QString kLines = QStringLiteral(
    "(select P.IDNum as IDNum, P.HospNum as HospNum, P.RoomID as RoomID, P.AdmDate as At, "
    "R.revenue as Rev, R.item as Item, R.name as Name, R.price as Price, R.location as Loc, "
    "R.dosage as Dosage, R.frequency as Freq, X.J * 3 + L.n as Seq, "
    "1 + (X.J + L.n) % 4 as Qty, case when (X.J * 3 + L.n) % 8 = 0 then 1 else 0 end as Back "
    "from PATIENT_DATA..tbPatient P "
    "join (select IDNum, cast(cast(IDNum as text) as bigint) - 2000000 as J from "
    "PATIENT_DATA..tbPatient where IDNum >= '2000000' and length(IDNum) = 7) X "
    "on X.IDNum = P.IDNum "
    "cross join scale_k L "
    "join scale_rq R on R.kind = case when L.n < 2 then 0 else 1 end and R.k = case when "
    "L.n < 2 then (X.J * 7 + L.n * 3) % :medicines else X.J * 5 % :supplies end "
    "where L.n < 3 and X.J % 2 = 0)");

// The rest of a hospital pharmacy's formulary for the OR, beside the demo's own medicines.
constexpr QStringView kMedicines[] = {u"PARACETAMOL 150 MG/ML",       u"TRAMADOL 50 MG/ML",
                                      u"ONDANSETRON 2 MG/ML",         u"METOCLOPRAMIDE 5 MG/ML",
                                      u"DEXAMETHASONE 4 MG/ML",       u"OMEPRAZOLE 40 MG",
                                      u"CEFUROXIME 750 MG",           u"CEFTRIAXONE 1 G",
                                      u"METRONIDAZOLE 500 MG/100 ML", u"AMPICILLIN 500 MG",
                                      u"GENTAMICIN 40 MG/ML",         u"ATROPINE 1 MG/ML",
                                      u"NEOSTIGMINE 0.5 MG/ML",       u"FENTANYL 50 MCG/ML",
                                      u"MORPHINE 10 MG/ML",           u"NALBUPHINE 10 MG/ML",
                                      u"KETAMINE 50 MG/ML",           u"ROCURONIUM 10 MG/ML",
                                      u"DIPHENHYDRAMINE 50 MG/ML",    u"HYDROCORTISONE 100 MG",
                                      u"FUROSEMIDE 10 MG/ML",         u"TRANEXAMIC ACID 100 MG/ML",
                                      u"PHYTONADIONE 10 MG/ML",       u"CALCIUM GLUCONATE 10%",
                                      u"SODIUM BICARBONATE 8.4%",     u"MAGNESIUM SULFATE 50%",
                                      u"POTASSIUM CHLORIDE 2 MEQ/ML", u"DEXTROSE 50%",
                                      u"EPINEPHRINE 1 MG/ML",         u"HEPARIN 5000 IU/ML"};
constexpr QStringView kForms[] = {u"AMPULE", u"VIAL"};

const QString kRequestNum = QStringLiteral("(Q.Rev || cast(100000000 + Q.Seq as varchar(12)))");
const QString kCreditMemo = QStringLiteral("('CMSC' || cast(100000000 + Q.Seq as varchar(12)))");

} // namespace

Result<void> addScaleRequests(Database &db, const ScaleProgress &progress)
{
    const bool pg = db.backend() == Backend::Postgres;
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());

    // The formulary's other medicines, stocked at the pharmacy.
    QList<Binds> medicines, stock;
    int n = 0;
    for (QStringView form : kForms) {
        for (QStringView medicine : kMedicines) {
            const QString item = QStringLiteral("PH%1").arg(6001 + n);
            const qint64 centavos = 2500 + (n++ * 7919) % 90000;
            medicines << Binds{{QStringLiteral("item"), item},
                               {QStringLiteral("name"), QString(medicine + u' ' + form)},
                               {QStringLiteral("generic"), medicine.toString()}};
            const auto price = [centavos](qint64 tenths) {
                return Money::fromMinor(centavos * tenths / 10).toVariant();
            };
            stock << Binds{{QStringLiteral("item"), item},
                           {QStringLiteral("price"), price(10)},
                           {QStringLiteral("out"), price(12)},
                           {QStringLiteral("cost"), price(7)}};
        }
    }
    if (auto ok = db.execMany(u"insert into INVENTORY..tbInvMaster (ItemID, ItemName, "
                              u"Description, GenericName, ClassificationName, Status) values "
                              u"(:item, :name, :name, :generic, 'OR MEDICINES', 'A')",
                              medicines);
        !ok)
        return tl::unexpected(ok.error());
    if (auto ok = db.execMany(u"insert into INVENTORY..tbInvent (ItemID, LocationID, OnHand, "
                              u"SellingPriceIn, SellingPriceOut, AverageCost) values (:item, "
                              u"'PHA', 100000, :price, :out, :cost)",
                              stock);
        !ok)
        return tl::unexpected(ok.error());

    // The stocked medicines (kind 0) and supplies (kind 1), each numbered from 0.
    if (auto ok = db.execRaw(QStringLiteral("DROP TABLE IF EXISTS scale_rq")); !ok)
        return ok;
    const QString number = pg ? QStringLiteral("bigint") : QStringLiteral("INTEGER");
    const QString text = pg ? QStringLiteral("citext") : QStringLiteral("TEXT");
    const QString money = pg ? QStringLiteral("numeric(19,4)") : QStringLiteral("NUMERIC");
    const QString table =
        QStringLiteral("CREATE TABLE scale_rq (kind %1, k %1, revenue %2, item %2, name %2, "
                       "price %3, location %2, dosage %2, frequency %2, PRIMARY KEY (kind, k))")
            .arg(number, text, money);
    if (auto ok = db.execRaw(table); !ok)
        return ok;
    auto stocked = db.select(
        u"select I.ItemID, M.ItemName, I.SellingPriceIn, I.LocationID from INVENTORY..tbInvent I "
        u"join INVENTORY..tbInvMaster M on M.ItemID = I.ItemID where I.LocationID in ('PHA', "
        u"'CSR') and I.SellingPriceIn > 0 and M.Status = 'A' order by I.LocationID desc, "
        u"I.ItemID");
    if (!stocked)
        return tl::unexpected(stocked.error());
    QList<Binds> items;
    qint64 counts[2] = {0, 0};
    for (const Row &r : *stocked) {
        const int kind = r.trimmed(u"LocationID") == u"PHA" ? 0 : 1;
        items << Binds{{QStringLiteral("kind"), kind},
                       {QStringLiteral("k"), counts[kind]++},
                       {QStringLiteral("revenue"), kind == 0 ? u"PH"_s : u"CS"_s},
                       {QStringLiteral("item"), r.trimmed(u"ItemID")},
                       {QStringLiteral("name"), r.trimmed(u"ItemName")},
                       {QStringLiteral("price"), r.money(u"SellingPriceIn").toVariant()},
                       {QStringLiteral("location"), r.trimmed(u"LocationID")},
                       {QStringLiteral("dosage"), kind == 0 ? u"Q8"_s : QString()},
                       {QStringLiteral("frequency"), kind == 0 ? u"EVERY 8 HRS"_s : QString()}};
    }
    if (counts[0] == 0 || counts[1] == 0)
        return failure(QStringLiteral("The demo hospital has no stocked medicines or supplies."));
    if (auto n = db.execMany(u"insert into scale_rq (kind, k, revenue, item, name, price, "
                             u"location, dosage, frequency) values (:kind, :k, :revenue, :item, "
                             u":name, :price, :location, :dosage, :frequency)",
                             items);
        !n)
        return tl::unexpected(n.error());

    // The indexes of the tables filled below, made again once their rows are in.
    QStringList indexes;
    for (const QString &table : kTables) {
        const QString schema = table.section(u'.', 0, 0).toLower();
        const QString name = table.section(u'.', -1);
        auto found =
            pg ? db.select(u"select indexname, indexdef from pg_indexes where schemaname = :s "
                           u"and tablename = lower(:t) and indexname like 'ix%'",
                           {{QStringLiteral("s"), schema}, {QStringLiteral("t"), name}})
               : db.select(u"select name, sql from sqlite_master where type = 'index' and "
                           u"tbl_name = :t and sql is not null",
                           {{QStringLiteral("t"), name}});
        if (!found)
            return tl::unexpected(found.error());
        for (const Row &r : *found) {
            indexes << r.value(1).toString();
            const QString drop =
                pg ? QStringLiteral("DROP INDEX %1.%2").arg(schema, r.value(0).toString())
                   : QStringLiteral("DROP INDEX %1").arg(r.value(0).toString());
            if (auto ok = db.execRaw(drop); !ok)
                return ok;
        }
    }

    const Binds sizes{{QStringLiteral("medicines"), counts[0]},
                      {QStringLiteral("supplies"), counts[1]}};
    const QList<std::pair<QString, QString>> steps{
        {QStringLiteral("requests"),
         QStringLiteral("insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, "
                        "RevenueID, ItemID, Description, Quantity, Amount, TransDate, UserID, "
                        "StationID, PatientClass, RoomID, ChargeDepartment, Dosage, Frequency, "
                        "StatFlag, ReturnedQty, ReturnedAmount) select Q.IDNum, Q.HospNum, {num}, "
                        "Q.Rev, Q.Item, Q.Name, Q.Qty, Q.Price * Q.Qty, Q.At, '2901', 'OR', 'I', "
                        "Q.RoomID, 'OR', Q.Dosage, Q.Freq, case when Q.Seq % 11 = 0 then 'Y' "
                        "else 'N' end, Q.Back, Q.Price * Q.Back from {lines} Q")},
        {QStringLiteral("requests"),
         QStringLiteral("insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, "
                        "HospNum, StationID, ExamCode, ExamName, RequestDate, ItemID, RevenueID, "
                        "Quantity, Amount, Dosage, Frequency, StatFlag, UserID) select {num}, "
                        "Q.IDNum, Q.HospNum, 'OR', Q.Item, Q.Name, Q.At, Q.Item, Q.Rev, Q.Qty, "
                        "Q.Price * Q.Qty, Q.Dosage, Q.Freq, case when Q.Seq % 11 = 0 then 'Y' "
                        "else 'N' end, '2901' from {lines} Q")},
        {QStringLiteral("requests"),
         QStringLiteral("insert into INVENTORY..tbInvStockCard (IDNum, HospNum, ItemID, "
                        "LocationID, RefNum, TransType, Quantity, Amount, TransDate, UserID) "
                        "select Q.IDNum, Q.HospNum, Q.Item, Q.Loc, {num}, 'I', Q.Qty, "
                        "Q.Price * Q.Qty, Q.At, '2901' from {lines} Q")},
        {QStringLiteral("returns"),
         QStringLiteral("insert into INVENTORY..tbInvStockCard (IDNum, HospNum, ItemID, "
                        "LocationID, RefNum, CreditMemoNum, TransType, Quantity, Amount, "
                        "TransDate, UserID, Remarks) select Q.IDNum, Q.HospNum, Q.Item, Q.Loc, "
                        "{num}, {memo}, 'C', 1, Q.Price, Q.At, '2901', 'NOT USED' from {lines} Q "
                        "where Q.Back = 1")},
        {QStringLiteral("returns"),
         QStringLiteral("insert into STATION..tbNurseCreditMemo (CreditMemoNum, TransType, "
                        "IDNum, HospNum, RefNum, RevenueID, ItemID, Description, QtyIssued, "
                        "Quantity, Amount, Remarks, StationID, UserID, TransDate) select {memo}, "
                        "case when Q.Rev = 'PH' then 'PC' else 'CC' end, Q.IDNum, Q.HospNum, "
                        "{num}, "
                        "Q.Rev, Q.Item, Q.Name, Q.Qty, 1, Q.Price, 'NOT USED', 'OR', '2901', "
                        "Q.At from {lines} Q where Q.Back = 1")},
        {QStringLiteral("returns"),
         QStringLiteral("insert into STATION..tbBillAdjustInfo (IDNum, RefNum, RevenueID, "
                        "ItemID, Quantity, Amount, AdjustType, CreditMemoNum, Reason, UserID, "
                        "StationID, TransDate) select Q.IDNum, {num}, Q.Rev, Q.Item, 1, Q.Price, "
                        "'CM', {memo}, 'NOT USED', '2901', 'OR', Q.At from {lines} Q "
                        "where Q.Back = 1")}};
    qint64 done = 0;
    const qint64 total = steps.size() + indexes.size();
    for (const auto &[step, sql] : steps) {
        if (progress)
            progress(step, done, total);
        QString statement = sql;
        statement.replace(u"{num}"_s, kRequestNum)
            .replace(u"{lines}"_s, kLines)
            .replace(u"{memo}"_s, kCreditMemo);
        if (auto n = db.exec(statement, sizes); !n)
            return tl::unexpected(n.error());
        ++done;
    }
    if (progress)
        progress(QStringLiteral("request indexes"), done, total);
    for (const QString &definition : std::as_const(indexes)) {
        if (auto ok = db.execRaw(definition); !ok)
            return ok;
        if (progress)
            progress(QStringLiteral("request indexes"), ++done, total);
    }
    if (auto ok = db.execRaw(QStringLiteral("DROP TABLE scale_rq")); !ok)
        return ok;
    return tx.commit();
}

} // namespace kestrel::hospitaldb
