// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// modGlobals' master-file look-ups used by charging, and the installed database's set-up.
#include "patients/modGlobals.h"
#include "patients/StayQueries.h"

#include "core/db/Database.h"
#include "core/Session.h"

namespace kestrel::modGlobals {

using stayqueries::firstRow;
using stayqueries::firstRowOfCall;
using stayqueries::hasRow;

bool IsPNF(Session &session, const QString &code)
{
    return firstRowOfCall(session, u"STATION..CheckIfPNF", {code}).has_value();
}

namespace {

QString lookup(Session &session, QStringView sql, const QString &key, QStringView column)
{
    auto row = firstRow(session, sql, {{QStringLiteral("key"), key}});
    return row ? row->text(column) : QString();
}

} // namespace

QString GetORSection(Session &session, const QString &OtherRevenueID)
{
    return lookup(session,
                  u"select coalesce(ORSection, '') as ORSection from BUILD_FILE..tbCoOtherRevenue "
                  u"where OtherSectionID = 'OR' and OtherRevenueID = :key",
                  OtherRevenueID, u"ORSection");
}

QString GetORItemSection(Session &session, const QString &OtherRevenueID)
{
    return lookup(session,
                  u"select coalesce(SectionID, '') as SectionID from BUILD_FILE..tbCoOtherRevenue "
                  u"where OtherSectionID = 'OR' and OtherRevenueID = :key",
                  OtherRevenueID, u"SectionID");
}

QString GetRevenueLocation(Session &session, const QString &RevenueID)
{
    return lookup(session,
                  u"select coalesce(LocationID, '') as LocationID from BUILD_FILE..tbCoRevenueCode "
                  u"where RevenueID = :key",
                  RevenueID, u"LocationID");
}

bool IsPharmacyRevenue(Session &session, const QString &RevenueID)
{
    return hasRow(session,
                  u"select 1 from BUILD_FILE..tbCoRevenueCode where RevenueID = :key "
                  u"and StockCardRevenueID = 'PH'",
                  {{QStringLiteral("key"), RevenueID}});
}

QString GetInventoryType(Session &session, const QString &LocationID)
{
    return lookup(session,
                  u"select coalesce(InventoryType, '') as InventoryType "
                  u"from INVENTORY..tbInvLocation where LocationID = :key",
                  LocationID, u"InventoryType");
}

double GetOnHand(Session &session, const QString &ItemID, const QString &LocationID)
{
    auto row = firstRowOfCall(session, u"INVENTORY..Drug_Invent", {ItemID, LocationID});
    return row ? row->number(u"OnHand") : 0;
}

QString GetLabSectionID(Session &session, const QString &LabExamID)
{
    return lookup(session,
                  u"select coalesce(LabSectionID, '') as LabSectionID from BUILD_FILE..tbCoLabExam "
                  u"where LabExamID = :key",
                  LabExamID, u"LabSectionID");
}

bool RefNumExists(Session &session, const QString &RefNum)
{
    return hasRow(session,
                  u"select RefNum from BILLING..tbBillDailyBill where RefNum = :key "
                  u"union all select RefNum from BILLING..tbBillOPDailyOut where RefNum = :key "
                  u"union all select RefNum from INVENTORY..tbInvStockCard where RefNum = :key "
                  u"union all select RefNum from BILLING..tbCashAssessment where RefNum = :key",
                  {{QStringLiteral("key"), RefNum}});
}

QString GetCreditMemoIdNum(Session &session, const QString &CreditMemoNum)
{
    return lookup(session,
                  u"select IDNum from INVENTORY..tbInvStockCard where CreditMemoNum = :key",
                  CreditMemoNum, u"IDNum");
}

QString GetARCode(Session &session, const QString &IdNum, const QString &department,
                  const QString &kind)
{
    auto row = firstRowOfCall(session, u"STATION..sp_Get_ARCodes", {IdNum, department, kind});
    return row ? row->text(u"ARCode") : QString();
}

QString HasNotAdministeredMeds(Session &session, const QString &IdNum, const QString &ItemID)
{
    auto row = firstRowOfCall(session, u"STATION..Check_NotAdministeredMeds", {IdNum, ItemID});
    return row ? row->text(u"Unused") : QString();
}

QString GetInventorySwitch89(Session &session)
{
    auto row = firstRow(session,
                        u"select coalesce(KeyValue, '0') as KeyValue from INVENTORY..tbInvSwitch "
                        u"where IDKey = '89'",
                        {});
    return row ? row->text(u"KeyValue") : QString();
}

int GetProcedureParamCount(Session &session, const QString &database, const QString &procedure)
{
    return session.db().parameterCount(database, procedure);
}

} // namespace kestrel::modGlobals
