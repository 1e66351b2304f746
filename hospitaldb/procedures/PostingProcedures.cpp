// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of charge posting: the nurse logbook's charging procedure, the charge slip's print
// buffer and reprint, the oxygen tank readings and the supervisors' price edits.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/Money.h"

#include <QLocale>
#include <QRegularExpression>

namespace kestrel::hospitaldb {

namespace {

Result<RowSet> nothing(const Result<int> &touched)
{
    if (!touched)
        return tl::unexpected(touched.error());
    return RowSet();
}

Result<RowSet> nothing(const Result<void> &written)
{
    if (!written)
        return tl::unexpected(written.error());
    return RowSet();
}

// The charging procedures take their time as "MM/dd/yyyy hh:mm:ss AM/PM".
Result<QDateTime> chargingTime(const QString &text)
{
    const QDateTime at = QLocale::c().toDateTime(text, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    if (!at.isValid())
        return failure(QStringLiteral("The transaction date %1 is not a date.").arg(text));
    return at;
}

// Writes one row a call of a procedure in one insert: `head` is the insert up to "values",
// `row` the values of one row with their placeholders, and `binds` gives each call's values
// of those placeholders. Each row's placeholders are numbered, so the statement text depends
// only on the number of rows.
Result<void> insertRows(Database &db, const QString &head, const QString &row,
                        const QList<ProcedureArgs> &calls,
                        const std::function<Result<Binds>(const ProcedureArgs &)> &binds)
{
    // A statement's bound values stay well inside what either database takes in one.
    constexpr qsizetype kMostRows = 500;
    if (calls.size() > kMostRows) {
        for (qsizetype from = 0; from < calls.size(); from += kMostRows) {
            if (auto ok = insertRows(db, head, row, calls.mid(from, kMostRows), binds); !ok)
                return ok;
        }
        return {};
    }
    static const QRegularExpression placeholder(QStringLiteral(":([A-Za-z]+)"));
    QString sql = head;
    Binds all;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        auto values = binds(calls.at(i));
        if (!values)
            return tl::unexpected(values.error());
        const QString suffix = QString::number(i);
        for (auto it = values->cbegin(); it != values->cend(); ++it)
            all.insert(it.key() + suffix, it.value());
        sql += i ? QStringLiteral(", (") : QStringLiteral("(");
        sql += QString(row).replace(placeholder, QStringLiteral(":\\1") + suffix) + u')';
    }
    return done(db.exec(sql, all));
}

// One line into the print buffer of this workstation: item, amount, quantity, department,
// description and admission; the newer list adds the station and the charge slip.
const QString kChargePrintInsert = QStringLiteral(
    "insert into STATION..tbORChargePrint (ChargeSlip, HostName, StationID, IDNum, RevenueID, "
    "ItemID, Description, Quantity, Amount, TransDate) values ");
const QString kChargePrintRow = QStringLiteral(
    ":slip, host_name(), :station, :id, :revenue, :item, :description, :qty, :amount, getdate()");

Result<Binds> chargePrintBinds(const ProcedureArgs &args)
{
    return Binds{{QStringLiteral("item"), args.text(0)},
                 {QStringLiteral("amount"), Money::fromVariant(args.at(1)).toVariant()},
                 {QStringLiteral("qty"), args.at(2).toDouble()},
                 {QStringLiteral("revenue"), args.text(3)},
                 {QStringLiteral("description"), args.text(4)},
                 {QStringLiteral("id"), args.text(5)},
                 {QStringLiteral("station"), args.text(6)},
                 {QStringLiteral("slip"), args.text(7)}};
}

Result<void> saveChargePrints(Database &db, const QList<ProcedureArgs> &calls)
{
    return insertRows(db, kChargePrintInsert, kChargePrintRow, calls, chargePrintBinds);
}

Result<RowSet> saveChargePrint(Database &db, const ProcedureArgs &args)
{
    return nothing(saveChargePrints(db, {args}));
}

// Puts the lines of a posted charge slip, revoked ones left out, into this workstation's print
// buffer in place of what it held.
Result<RowSet> reprintChargeSlip(Database &db, const ProcedureArgs &args)
{
    Transaction tx = db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto host = db.hostName();
    if (!host)
        return tl::unexpected(host.error());
    if (auto emptied = db.exec(u"delete from STATION..tbORChargePrint where HostName = :host",
                               {{QStringLiteral("host"), *host}});
        !emptied)
        return tl::unexpected(emptied.error());
    auto filled = db.exec(
        u"insert into STATION..tbORChargePrint (ChargeSlip, HostName, StationID, IDNum, "
        u"RevenueID, ItemID, Description, Quantity, Amount, TransDate, UserID) "
        u"select ReferenceNum, host_name(), StationID, IDNum, RevenueID, ItemID, Description, "
        u"Quantity, Amount, TransDate, UserID from STATION..tbNurseLogBook "
        u"where ReferenceNum = :slip and RecordStatus <> 'R' order by LogBookID",
        {{QStringLiteral("slip"), args.text(0)}});
    if (!filled)
        return tl::unexpected(filled.error());
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return RowSet();
}

// Appends a posted charge to the nurse logbook, pending for billing. The arguments are the
// hospital's list (hospital number, admission, item, amount, quantity, time, department, "X",
// user, description, patient class, "D", room, the department the window showed, requesting
// doctor's code, AR code, requesting doctor's name, package, an unused slot, markup) followed by
// the charge slip, the station and the stat answer.
const QString kChargingInsert = QStringLiteral(
    "insert into STATION..tbNurseLogBook (HospNum, IDNum, ItemID, Amount, Quantity, TransDate, "
    "RevenueID, UserID, Description, PatientClass, RoomID, ChargeDepartment, "
    "RequestingDoctorID, ARCode, RequestingDoctorName, PackageID, Markup, ReferenceNum, "
    "StationID, StatFlag, RecordStatus) values ");
const QString kChargingRow = QStringLiteral(
    ":hosp, :id, :item, :amount, :qty, :at, :revenue, :user, :description, :class, :room, "
    ":department, :doctor, :ar, :doctorName, :package, :markup, :slip, :station, :stat, ''");

Result<Binds> chargingBinds(const ProcedureArgs &args)
{
    auto at = chargingTime(args.text(5));
    if (!at)
        return tl::unexpected(at.error());
    return Binds{{QStringLiteral("hosp"), args.text(0)},
                 {QStringLiteral("id"), args.text(1)},
                 {QStringLiteral("item"), args.text(2)},
                 {QStringLiteral("amount"), Money::fromVariant(args.at(3)).toVariant()},
                 {QStringLiteral("qty"), args.at(4).toDouble()},
                 {QStringLiteral("at"), *at},
                 {QStringLiteral("revenue"), args.text(6)},
                 {QStringLiteral("user"), args.text(8)},
                 {QStringLiteral("description"), args.text(9)},
                 {QStringLiteral("class"), args.text(10)},
                 {QStringLiteral("room"), args.text(12)},
                 {QStringLiteral("department"), args.text(13)},
                 {QStringLiteral("doctor"), args.text(14)},
                 {QStringLiteral("ar"), args.text(15)},
                 {QStringLiteral("doctorName"), args.text(16)},
                 {QStringLiteral("package"), args.text(17)},
                 {QStringLiteral("markup"), args.text(19)},
                 {QStringLiteral("slip"), args.text(20)},
                 {QStringLiteral("station"), args.text(21)},
                 {QStringLiteral("stat"), args.text(22)}};
}

Result<void> appendChargings(Database &db, const QList<ProcedureArgs> &calls)
{
    return insertRows(db, kChargingInsert, kChargingRow, calls, chargingBinds);
}

Result<RowSet> appendCharging(Database &db, const ProcedureArgs &args)
{
    return nothing(appendChargings(db, {args}));
}

// The readings of an oxygen tank used on a stay become the tank's latest history row:
// admission, item, tank, initial and last reading, charge slip, user, station.
Result<RowSet> saveOxygenMonitoring(Database &db, const ProcedureArgs &args)
{
    return nothing(db.exec(
        u"insert into INVENTORY..tbCSROxygen (IDNum, ItemID, TankNum, InitialR, LastR, RefNum, "
        u"UserID, StationID, TransDate) values (:id, :item, :tank, :initial, :last, :slip, "
        u":user, :station, getdate())",
        {{QStringLiteral("id"), args.text(0)},
         {QStringLiteral("item"), args.text(1)},
         {QStringLiteral("tank"), args.text(2)},
         {QStringLiteral("initial"), args.text(3).toDouble()},
         {QStringLiteral("last"), args.text(4).toDouble()},
         {QStringLiteral("slip"), args.text(5)},
         {QStringLiteral("user"), args.text(6)},
         {QStringLiteral("station"), args.text(7)}}));
}

// A unit price a supervisor changed on a posted line: admission, charge slip, department, item,
// list price, price charged, reason, supervisor, station.
Result<RowSet> saveSupervisorTransaction(Database &db, const ProcedureArgs &args)
{
    return nothing(db.exec(
        u"insert into STATION..tbSupervisorTransaction (IDNum, RefNum, RevenueID, ItemID, "
        u"ListPrice, UnitPrice, Reason, SupervisorID, StationID, TransDate) values (:id, :slip, "
        u":revenue, :item, :list, :price, :reason, :supervisor, :station, getdate())",
        {{QStringLiteral("id"), args.text(0)},
         {QStringLiteral("slip"), args.text(1)},
         {QStringLiteral("revenue"), args.text(2)},
         {QStringLiteral("item"), args.text(3)},
         {QStringLiteral("list"), Money::fromVariant(args.at(4)).toVariant()},
         {QStringLiteral("price"), Money::fromVariant(args.at(5)).toVariant()},
         {QStringLiteral("reason"), args.text(6)},
         {QStringLiteral("supervisor"), args.text(7)},
         {QStringLiteral("station"), args.text(8)}}));
}

} // namespace

void registerPostingProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_OR_SaveChargePrint"), 8, saveChargePrint,
                 saveChargePrints);
    registry.add(QStringLiteral("STATION..sp_OR_ReprintChargeSlip"), 1, reprintChargeSlip);
    registry.add(QStringLiteral("STATION..Nurse_AppendCharging"), 23, appendCharging,
                 appendChargings);
    registry.add(QStringLiteral("STATION..sp_Save_Oxygen_Monitoring"), 8, saveOxygenMonitoring);
    registry.add(QStringLiteral("STATION..sp_Save_Supervisor_Transaction"), 9,
                 saveSupervisorTransaction);
}

} // namespace kestrel::hospitaldb
