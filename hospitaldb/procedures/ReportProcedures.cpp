// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures that prepare the data of the OR's printed reports.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

#include <QDateTime>

namespace kestrel::hospitaldb {

namespace {

// A report date as the report prompts hand it over: a date, or its text "mm/dd/yyyy" (the
// period pickers' text); an invalid date when it is neither.
QDate reportDate(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date();
    const QString text = value.toString().trimmed();
    for (const QString &format :
         {QStringLiteral("MM/dd/yyyy"), QStringLiteral("M/d/yyyy"), QStringLiteral("yyyy-MM-dd")}) {
        const QDate d = QDate::fromString(text, format);
        if (d.isValid())
            return d;
    }
    return {};
}

// The OR's procedures of a period, one row per procedure and booking category: the posted
// procedure charges of the OR that were not revoked, counted by inpatient and outpatient
// stays as the line's patient class says. The category is the one the operation was
// confirmed with on the schedule board.
constexpr QStringView kMonthlySummary =
    u"select X.ItemID as ProcedureCode, X.Description as ProcedureDesc, X.Category, "
    u"       sum(1 - X.Outpatient) as InPatients, sum(X.Outpatient) as OutPatients, "
    u"       count(*) as TotalCases, sum(X.Amount) as Amount "
    u"  from (select L.ItemID, L.Description, L.Amount, "
    u"               case when L.PatientClass = 'O' then 1 else 0 end as Outpatient, "
    u"               COALESCE((select max(S.Category) from SCHEDULE..tbORScheduleDetails S "
    u"                          where S.IDNum = L.IDNum and S.ProcedureCode = L.ItemID "
    u"                            and S.RecordStatus = 'C'), 'UNCLASSIFIED') as Category "
    u"          from STATION..tbNurseLogBook L "
    u"          join BUILD_FILE..tbCoOtherRevenue O on O.OtherRevenueID = L.ItemID "
    u"         where O.SectionID = 'PRC' and L.StationID = 'OR' and L.RecordStatus <> 'R' "
    u"           and L.TransDate >= :from and L.TransDate < :to_end) X "
    u" group by X.ItemID, X.Description, X.Category "
    u" order by X.Category, X.Description";

// STATION..sp_Or_MonthlyReport from, to: refills this workstation's rows of the statistical
// report's work table with the period's procedures (the "to" day included) and answers them.
Result<RowSet> orMonthlyReport(Database &db, const ProcedureArgs &args)
{
    const QDate from = reportDate(args.at(0));
    const QDate to = reportDate(args.at(1));
    if (!from.isValid() || !to.isValid())
        return failure(
            QStringLiteral("Conversion failed when converting date and/or time from character "
                           "string."));

    auto summary =
        db.select(kMonthlySummary, {{QStringLiteral("from"), from.startOfDay()},
                                    {QStringLiteral("to_end"), to.addDays(1).startOfDay()}});
    if (!summary)
        return tl::unexpected(summary.error());

    auto host = db.hostName();
    if (!host)
        return tl::unexpected(host.error());
    const Binds ours{{QStringLiteral("host"), *host}};
    Transaction tx = db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    if (auto gone = db.exec(u"delete from STATION..tbORMonthlyReport where HostName = :host", ours);
        !gone)
        return tl::unexpected(gone.error());
    QList<Binds> rows;
    rows.reserve(summary->count());
    for (const Row &r : *summary) {
        rows.append({{QStringLiteral("from"), from.startOfDay()},
                     {QStringLiteral("to"), to.startOfDay()},
                     {QStringLiteral("code"), r.text(u"ProcedureCode")},
                     {QStringLiteral("description"), r.text(u"ProcedureDesc")},
                     {QStringLiteral("category"), r.text(u"Category")},
                     {QStringLiteral("inpatients"), r.integer(u"InPatients")},
                     {QStringLiteral("outpatients"), r.integer(u"OutPatients")},
                     {QStringLiteral("cases"), r.integer(u"TotalCases")},
                     {QStringLiteral("amount"), r.money(u"Amount").toVariant()}});
    }
    if (!rows.isEmpty()) {
        auto written = db.execMany(
            u"insert into STATION..tbORMonthlyReport (HostName, DateFrom, DateTo, ProcedureCode, "
            u"ProcedureDesc, Category, InPatients, OutPatients, TotalCases, Amount) "
            u"values (host_name(), :from, :to, :code, :description, :category, :inpatients, "
            u":outpatients, :cases, :amount)",
            rows);
        if (!written)
            return tl::unexpected(written.error());
    }
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());

    return db.select(u"select ProcedureCode, ProcedureDesc, Category, InPatients, OutPatients, "
                     u"TotalCases, Amount from STATION..tbORMonthlyReport "
                     u"where HostName = :host order by Category, ProcedureDesc",
                     ours);
}

} // namespace

void registerReportProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_Or_MonthlyReport"), 2, orMonthlyReport);
}

} // namespace kestrel::hospitaldb
