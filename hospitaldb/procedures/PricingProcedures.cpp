// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures that price a charge: HMO and RUV rates, doctors' fees, company prices, stock on
// hand, and the OR's markup master.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/LikePattern.h"
#include "core/db/Money.h"

namespace kestrel::hospitaldb {

namespace {

bool isVisit(const QString &idNum)
{
    return idNum.endsWith(u'B', Qt::CaseInsensitive);
}

// What an HMO pays for an item of a department at a room class.
Result<RowSet> hmoRateByClass(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select HMORate from BUILD_FILE..tbCoHMORate where RevenueID = :revenue "
                     u"and ItemID = :item and RoomClassID = :class",
                     {{QStringLiteral("revenue"), args.text(0)},
                      {QStringLiteral("item"), args.text(1)},
                      {QStringLiteral("class"), args.text(2)}});
}

// The professional fee of a doctor at a room class (or outpatient rate type), from his rows in
// use.
Result<RowSet> doctorsRate(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select Amount from BUILD_FILE..tbCoDoctorBill where DoctorID = :doctor "
                     u"and RoomClassID = :class and Status = 1 order by DoctorBillID limit 1",
                     {{QStringLiteral("doctor"), args.text(0)},
                      {QStringLiteral("class"), args.text(1)}});
}

// The RUV rate of an OR procedure for a stay: its relative units times what a unit is worth at
// the stay's class (the room's class for an inpatient, the rate type of a visit). No row when
// the procedure has no units or the class no worth.
Result<RowSet> procedureRuv(Database &db, const ProcedureArgs &args)
{
    const QString id = args.text(0);
    const QString classOfStay =
        isVisit(id) ? QStringLiteral("select RateType as RoomClassID from PATIENT_DATA..tbOutPatient "
                                     "where IDNum = :id")
                    : QStringLiteral("select R.RoomClassID from PATIENT_DATA..tbPatient P "
                                     "inner join BUILD_FILE..tbCoRoom R on R.RoomID = P.RoomID "
                                     "where P.IDNum = :id");
    auto stayClass = db.scalar(classOfStay, {{QStringLiteral("id"), id}});
    if (!stayClass)
        return tl::unexpected(stayClass.error());
    auto units = db.selectOne(u"select U.RUV, C.PesoPerUnit from BUILD_FILE..tbCoProcedureRUV U "
                              u"inner join BUILD_FILE..tbCoRUVConversion C "
                              u"on C.RoomClassID = :class where U.OtherRevenueID = :item",
                              {{QStringLiteral("class"), stayClass->toString().trimmed()},
                               {QStringLiteral("item"), args.text(1)}});
    if (!units)
        return tl::unexpected(units.error());
    RowSet out({QStringLiteral("Rate")});
    if (*units) {
        const Money rate = Money::multiply((*units)->money(u"PesoPerUnit"),
                                           (*units)->number(u"RUV"))
                               .round(2);
        out.append(QVariantList{rate.toVariant()});
    }
    return out;
}

// The price agreed with the account that pays, when there is one.
Result<RowSet> companyPrice(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select CompanyPrice from INVENTORY..tbInvCompanyPrice "
                     u"where ItemID = :item and AccountNum = :account",
                     {{QStringLiteral("item"), args.text(0)},
                      {QStringLiteral("account"), args.text(1)}});
}

// The stock of an item at a location; no row for an item the location does not carry.
Result<RowSet> drugInvent(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select OnHand from INVENTORY..tbInvent "
                     u"where ItemID = :item and LocationID = :location",
                     {{QStringLiteral("item"), args.text(0)},
                      {QStringLiteral("location"), args.text(1)}});
}

// The OR's markups whose code or description begins with the text, every one for an empty
// text. Nothing found gives the one column Message.
Result<RowSet> searchOrMarkup(Database &db, const ProcedureArgs &args)
{
    auto rows = db.select(
        u"select MarkupID, Markup, Description, Operation, Status, IsDefault, RegFrom, RegTo "
        u"from STATION..tbORMarkUp where Description like :typed escape '\\' "
        u"or cast(MarkupID as varchar(12)) like :code escape '\\' order by Description, MarkupID",
        {{QStringLiteral("typed"), likePrefix(args.text(0))},
         {QStringLiteral("code"), likePrefix(args.text(0))}});
    if (!rows || !rows->isEmpty())
        return rows;
    RowSet none({QStringLiteral("Message")});
    none.append(QVariantList{QStringLiteral("No data found.")});
    return none;
}

QDateTime validityDay(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    const QDate typed = QDate::fromString(value.toString().trimmed(), QStringLiteral("MM/dd/yyyy"));
    return typed.isValid() ? QDateTime(typed, QTime(0, 0)) : QDateTime();
}

// Saves a markup: code "NEW" (or none) adds it, any other code replaces that row. Arguments:
// code, description, markup, operation, status, default, valid from, valid to. The one default
// markup is the last saved as default. Answers the markup's code.
Result<RowSet> saveOrMarkupValues(Database &db, const ProcedureArgs &args)
{
    const QString code = args.text(0);
    const QDateTime from = validityDay(args.at(6));
    const QDateTime to = validityDay(args.at(7));
    Binds binds{{QStringLiteral("description"), args.text(1)},
                {QStringLiteral("markup"), args.text(2).toDouble()},
                {QStringLiteral("operation"), args.text(3)},
                {QStringLiteral("status"), args.text(4)},
                {QStringLiteral("isdefault"), args.text(5) == u"1" ? 1 : 0},
                {QStringLiteral("regfrom"), from.isValid() ? QVariant(from) : QVariant()},
                {QStringLiteral("regto"), to.isValid() ? QVariant(to) : QVariant()}};
    Transaction tx = db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    if (args.text(5) == u"1") {
        if (auto cleared = db.exec(u"update STATION..tbORMarkUp set IsDefault = 0"); !cleared)
            return tl::unexpected(cleared.error());
    }
    QVariant id;
    if (code.isEmpty() || code.compare(u"NEW", Qt::CaseInsensitive) == 0) {
        auto added = db.scalar(u"insert into STATION..tbORMarkUp (Description, Markup, Operation, "
                               u"Status, IsDefault, RegFrom, RegTo) values (:description, "
                               u":markup, :operation, :status, :isdefault, :regfrom, :regto) "
                               u"returning MarkupID",
                               binds);
        if (!added)
            return tl::unexpected(added.error());
        id = *added;
    } else {
        binds.insert(QStringLiteral("id"), code.toInt());
        auto changed = db.exec(u"update STATION..tbORMarkUp set Description = :description, "
                               u"Markup = :markup, Operation = :operation, Status = :status, "
                               u"IsDefault = :isdefault, RegFrom = :regfrom, RegTo = :regto "
                               u"where MarkupID = :id",
                               binds);
        if (!changed)
            return tl::unexpected(changed.error());
        if (*changed == 0)
            return failure(QStringLiteral("Mark up %1 does not exist.").arg(code));
        id = code.toInt();
    }
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    RowSet out({QStringLiteral("MarkupID")});
    out.append(QVariantList{id});
    return out;
}

} // namespace

void registerPricingProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..Nurse_GetHMORateByClass"), 3, hmoRateByClass);
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_Doctors_Rate"), 2, doctorsRate);
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_Procedure_RUV"), 2, procedureRuv);
    registry.add(QStringLiteral("INVENTORY..sp_Get_CompanyPrice"), 2, companyPrice);
    registry.add(QStringLiteral("INVENTORY..Drug_Invent"), 2, drugInvent);
    registry.add(QStringLiteral("STATION..SearchORMarkup"), 1, searchOrMarkup);
    registry.add(QStringLiteral("STATION..SaveORMarkupValues"), 8, saveOrMarkupValues);
}

} // namespace kestrel::hospitaldb
