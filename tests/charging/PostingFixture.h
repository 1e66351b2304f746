// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargePosting.h"
#include "charging/ChargeSlipPrinter.h"
#include "reports/ReportService.h"
#include "shell/components/clsDrugPicker.h"
#include "shell/db/Database.h"
#include "charging/PricingFixture.h"
#include "support/RecordingReportDisplay.h"

namespace kestrel::test {

/// "Enter Requesting Doctor" answering with a fixed doctor, counting how often it was asked.
class ScriptedPostingPrompts : public PostingPrompts
{
public:
    RequestingDoctor askRequestingDoctor() override
    {
        ++asked;
        return doctor;
    }
    RequestingDoctor doctor{QStringLiteral("1102"), QStringLiteral("NEPOMUCENO, ALFREDO")};
    int asked = 0;
};

/// A charge line as the entry grid leaves it once priced.
inline PostingLine chargeLine(const QString &department, const QString &item,
                              const QString &description, const QString &quantity,
                              const QString &amount)
{
    PostingLine l;
    l.line.department = department;
    l.line.item = item;
    l.line.description = description;
    l.line.quantity = quantity;
    l.line.amount = amount;
    l.line.unitPrice = amount;
    l.line.listPrice = amount;
    return l;
}

/// The pricing fixture's logged-in session on a demo hospital, with the charge slip printer on
/// a recording display and the posting. The hospital does not print charge slips until a test
/// says so, nor check credit lines. Every save signs as employee 2901.
struct PostingFixture : PricingFixture
{
    explicit PostingFixture(Database &database)
        : PricingFixture(database)
        , picker(context)
        , reports(database, QStringLiteral(KESTREL_REPORTS_DIR),
                  ReportHeadings{QStringLiteral("BAGONG TALA MEDICAL CENTER"),
                                 QStringLiteral("88 GEN. LUNA AVENUE, SAN BARTOLOME CITY")},
                  display, f.notifier)
        , printer(f.session, reports)
        , posting(f.session, postingPrompts, &picker, printer)
    {
        (void)db.exec(u"update PATIENT_DATA..tbHospitalInfo set IsPrintChargeSlip = 0");
        switches({{QStringLiteral("CheckCredLim"), QString()}});
    }

    /// Selects the first open stay (an inpatient stay, or an outpatient visit) that billing has
    /// not closed and the OR has not cleared.
    bool selectOpenStay(bool outpatient = false)
    {
        const QString sql =
            QStringLiteral("select S.IDNum, S.HospNum, %1 as RoomID, M.LastName || ', ' || "
                           "M.FirstName as PatientName, M.Sex from PATIENT_DATA..%2 S "
                           "inner join PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum "
                           "where S.DcrDate is null and S.BillingDate is null and not exists "
                           "(select 1 from STATION..tbNurseDischargeNotice N where N.IDNum = "
                           "S.IDNum and N.ClearDate is not null) order by S.IDNum limit 1")
                .arg(outpatient ? QStringLiteral("''") : QStringLiteral("S.RoomID"),
                     outpatient ? QStringLiteral("tbOutPatient") : QStringLiteral("tbPatient"));
        auto row = db.selectOne(sql);
        if (!row || !*row)
            return false;
        CurrentPatientRecord &p = f.session.CurrentPatient;
        p.clear();
        p.IdNum = (*row)->trimmed(u"IDNum");
        p.HospNum = (*row)->trimmed(u"HospNum");
        p.RoomID = (*row)->trimmed(u"RoomID");
        p.PatientName = (*row)->trimmed(u"PatientName");
        p.Sex = (*row)->trimmed(u"Sex");
        p.PatientClass = outpatient ? QStringLiteral("O") : QStringLiteral("I");
        p.AttendingDoctor = QStringLiteral("DR. JOSE RIZALINO CRUZ");
        return true;
    }

    /// Scripts a save that the user confirms and 2901 signs.
    void confirmAndSign()
    {
        f.notifier.answer({true});
        f.dialogs.sign(QStringLiteral("2901"));
    }

    /// The first field of `sql` as a number (-1 when it failed).
    qint64 number(const QString &sql, const Binds &binds = {})
    {
        auto v = db.scalar(sql, binds);
        return v ? v->toLongLong() : -1;
    }
    qint64 counter(QStringView column)
    {
        return number(QStringLiteral("select %1 from STATION..tbORChargeSlip where StationID = 'OR'")
                          .arg(column));
    }

    ComponentContext context{f.notifier};
    clsDrugPicker picker;
    ScriptedPostingPrompts postingPrompts;
    RecordingReportDisplay display;
    ReportService reports;
    ChargeSlipPrinter printer;
    ChargePosting posting;
};

} // namespace kestrel::test
