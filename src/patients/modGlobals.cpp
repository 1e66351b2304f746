// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// modGlobals' account and stay status, the credit line, and the small utilities.
#include "patients/modGlobals.h"
#include "patients/StayQueries.h"

#include "core/db/Database.h"
#include "core/db/Money.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel::modGlobals {

using stayqueries::firstRow;
using stayqueries::firstRowOfCall;
using stayqueries::hasRow;
using stayqueries::idBind;
using stayqueries::isOutpatientIdNum;

namespace {

// The walk-in account: outpatients on it pay for themselves.
const QString kWalkInAccount = QStringLiteral("4394");

// Reads a whole-peso amount; false when the statement failed.
bool readWhole(Session &session, QStringView sql, const Binds &binds, qint64 &pesos)
{
    auto row = session.db().selectOne(sql, binds);
    if (!row) {
        session.notifier().errorBox(row.error());
        return false;
    }
    pesos = *row ? wholePesos((*row)->money(u"Amount").minor()) : 0;
    return true;
}

} // namespace

qint64 wholePesos(qint64 minor)
{
    qint64 whole = minor / Money::kScale;
    const qint64 rest = minor % Money::kScale;
    const qint64 half = Money::kScale / 2;
    if (rest > half || (rest == half && whole % 2 != 0))
        ++whole;
    else if (rest < -half || (rest == -half && whole % 2 != 0))
        --whole;
    return whole;
}

bool IsAccountClosed(Session &session)
{
    const CurrentPatientRecord &patient = session.CurrentPatient;
    if (!patient.isSelected())
        return false;
    // Read the stay again rather than trusting the copy taken at selection.
    const bool outpatient =
        patient.PatientClass.trimmed().compare(u"O", Qt::CaseInsensitive) == 0 ||
        patient.isOutpatientStay();
    const QString sql = outpatient
                            ? QStringLiteral("select BillingDate from PATIENT_DATA..tbOutPatient "
                                             "where IDNum = :id")
                            : QStringLiteral("select BillingDate from PATIENT_DATA..tbPatient "
                                             "where IDNum = :id");
    auto row = firstRow(session, sql, idBind(patient.IdNum.trimmed()));
    if (!row || row->value(u"BillingDate").isNull() ||
        row->value(u"BillingDate").toString().trimmed().isEmpty())
        return false;
    session.notifier().message(
        QStringLiteral("The patient's account has already been closed. \n\n"
                       "If you have transactions to make, please notify the Billing staff"
                       " immediately for further instructions."),
        QStringLiteral("Notification"), Notifier::Icon::Exclamation);
    return true;
}

bool HasDischargeNotice(Session &session, const QString &IdNum)
{
    return hasRow(session,
                  u"select 1 from STATION..tbNurseDischargeNotice where IDNum = :id "
                  u"and (RecordStatus = 'F' or RecordStatus = 'P')",
                  idBind(IdNum));
}

bool IsDischarged(Session &session, const QString &IdNum)
{
    return hasRow(session,
                  u"select 1 from PATIENT_DATA..tbPatient where IDNum = :id "
                  u"and DcrDate is not null",
                  idBind(IdNum));
}

bool IsClearedByDepartment(Session &session, const QString &IdNum, const QString &department)
{
    auto row =
        firstRowOfCall(session, u"STATION..sp_Nurse_Check_ClearedDepartment", {IdNum, department});
    return row && !row->text(u"ClearDate").trimmed().isEmpty();
}

bool IsOROkay(Session &session, const QString &IdNum)
{
    auto row = firstRow(session,
                        u"select coalesce(OkeyOR, 0) as OKeyOR from PATIENT_DATA..tbPatient2 "
                        u"where IDNum = :id",
                        idBind(IdNum));
    return row && row->flag(u"OKeyOR");
}

bool HasPatientsOwnMedicine(Session &session, const QString &IdNum)
{
    auto row = firstRow(session,
                        u"select coalesce(PatientsMed, 0) as PatientsMed "
                        u"from PATIENT_DATA..tbPatient2 where IDNum = :id",
                        idBind(IdNum));
    return row && row->flag(u"PatientsMed");
}

QString GetOpenStayHospNum(Session &session, const QString &IdNum)
{
    const QString sql = isOutpatientIdNum(IdNum)
                            ? QStringLiteral("select HospNum from PATIENT_DATA..tbOutPatient "
                                             "where IDNum = :id and DcrDate is null "
                                             "and RecordStatus <> 'R'")
                            : QStringLiteral("select HospNum from PATIENT_DATA..tbPatient "
                                             "where IDNum = :id and DcrDate is null");
    auto row = firstRow(session, sql, idBind(IdNum));
    return row ? row->text(u"HospNum") : QString();
}

bool IsCompanyAccountOutpatient(Session &session, const QString &IdNum, const QString &HospNum)
{
    auto row = firstRow(session,
                        u"select coalesce(AccountNum, '') as AccountNum "
                        u"from PATIENT_DATA..tbOutPatient where IDNum = :id",
                        idBind(IdNum));
    if (!row)
        return false;
    const QString account = row->text(u"AccountNum").trimmed();
    return account != HospNum.trimmed() && account != kWalkInAccount;
}

bool IsERPatient(Session &session, const QString &IdNum)
{
    return hasRow(session,
                  u"select 1 from PATIENT_DATA..tbOutPatient where IDNum = :id "
                  u"and ERNum is not null and OPDStatus <> 'R'",
                  idBind(IdNum));
}

bool HasERAdmittingCommunication(Session &session, const QString &HospNum, const QString &IdNum)
{
    return hasRow(session,
                  u"select 1 from PATIENT_DATA..tbER_Admitting_Communication "
                  u"where HospNum = :hosp and OPDIDNum = :id "
                  u"and coalesce(RecordStatus, '') = ''",
                  {{QStringLiteral("hosp"), HospNum}, {QStringLiteral("id"), IdNum}});
}

namespace {

// The credit line less the current bill and the charges waiting in the log book; the credit
// line and the bill count in whole pesos. Nothing when a statement failed.
std::optional<Money> creditBalance(Session &session, const QString &IdNum)
{
    qint64 creditLine = 0;
    qint64 currentBill = 0;
    Money pending;
    if (!IdNum.isEmpty()) {
        const Binds binds = idBind(IdNum);
        if (!readWhole(session,
                       u"select CreditLine as Amount from PATIENT_DATA..tbPatient2 "
                       u"where IDNum = :id",
                       binds, creditLine))
            return std::nullopt;
        if (!readWhole(session,
                       u"select coalesce(sum(Amount), 0) as Amount "
                       u"from BILLING..tbBillDailyBill where IDNum = :id",
                       binds, currentBill))
            return std::nullopt;
        auto row = firstRow(session,
                            u"select coalesce(sum(Amount), 0) as TotalPendingCurrentBill "
                            u"from STATION..tbNurseLogBook where IDNum = :id "
                            u"and RecordStatus = ''",
                            binds);
        if (!row)
            return std::nullopt;
        pending = row->money(u"TotalPendingCurrentBill");
    }
    return Money::fromMinor((creditLine - currentBill) * Money::kScale) - pending;
}

} // namespace

bool IsWithinCreditLine(Session &session, const QString &IdNum, int source,
                        const QStringList &screenAmounts)
{
    // Both grids are read the same way once their amount cells are handed over; the source
    // only tells the caller which column that is.
    Q_UNUSED(source);
    const std::optional<Money> balance = creditBalance(session, IdNum);
    if (!balance)
        return false;
    Money onScreen;
    for (const QString &cell : screenAmounts) {
        if (cell.trimmed().isEmpty())
            continue;
        onScreen += Money::parse(cell).value_or(Money());
    }
    return onScreen <= *balance;
}

Money RemainingCreditBalance(Session &session, const QString &IdNum)
{
    return creditBalance(session, IdNum).value_or(Money());
}

bool IsReceivableUpdate(Session &session, const QString &IdNum)
{
    auto row =
        firstRowOfCall(session, u"PATIENT_DATA..sp_Check_Patient_For_ReceivableUpdate", {IdNum});
    return row && row->flag(u"IsReceivableUpdate");
}

TodaysHoliday LoadHolidayGreeting(Session &session)
{
    TodaysHoliday greeting;
    if (auto row = firstRowOfCall(session, u"BUILD_FILE..Build_GetHolidayToday", {})) {
        greeting.IsHolidayToday = true;
        greeting.HolidayName = row->text(u"HolidayName");
        greeting.HolidayGreeting = row->text(u"HolidayGreeting");
    }
    return greeting;
}

QDateTime LoadServerDate(Session &session)
{
    auto now = session.db().loadServerDate();
    if (!now) {
        session.notifier().errorBox(now.error());
        return QDateTime();
    }
    session.ServerDate = now->date();
    return *now;
}

bool FieldExists(const RowSet &recordset, const QString &name)
{
    return recordset.columnNames().contains(name, Qt::CaseInsensitive);
}

QString NullToSpace(const QVariant &value)
{
    return value.isNull() ? QStringLiteral(" ") : value.toString();
}

bool IsWholeQuantity(const Session &session, const QString &text)
{
    if (session.settings.AllowDecimalQty())
        return true;
    // Every character must be a plain digit; an empty entry has none that fails.
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace kestrel::modGlobals
