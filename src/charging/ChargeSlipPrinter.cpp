// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargeSlipPrinter.h"

#include "charging/ChargePostingStore.h"
#include "patients/PatientIndex.h"
#include "reports/ReportService.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kPreprinted = QStringLiteral("Charge_Slip_New.RPT");
const QString kBlankPaper = QStringLiteral("Charge_Slip_BlankForm.RPT");
const QString kDiscount = QStringLiteral("Charge_Slip_Discount.RPT");
// The client that prints its charge slips with the discounts.
const QString kDiscountClient = QStringLiteral("QELM");

QString userText(const QString &code, const QString &name)
{
    return u'(' + code + QStringLiteral(") ") + name;
}

} // namespace

ChargeSlipPrinter::ChargeSlipPrinter(Session &session, ReportService &reports)
    : m_session(session)
    , m_reports(reports)
{
}

bool ChargeSlipPrinter::printSaved(const QString &chargeSlip, const CurrentPatientRecord &stay)
{
    if (!m_session.hospital.IsPrintChargeSlip && !m_session.settings.EnableChargeSlipPrinting())
        return false;
    return print(chargeSlip, stay, userText(m_session.validated.code, m_session.validated.name),
                 false);
}

bool ChargeSlipPrinter::reprint(const QString &chargeSlip, const CurrentPatientRecord &stay)
{
    const CurrentUser *user = m_session.currentUser();
    return print(chargeSlip, stay,
                 userText(m_session.employeeCode(), user ? user->EmployeeName() : QString()), true);
}

QVariantList ChargeSlipPrinter::formValues(const QString &chargeSlip,
                                           const CurrentPatientRecord &stay,
                                           const QString &userText, bool reprinted) const
{
    QString age;
    if (auto born = ChargePostingStore(m_session.db()).birthDate(stay.HospNum.trimmed())) {
        const QDateTime now = m_session.db().serverNow();
        const int years = PatientIndex::ageInYears(
            *born, now.isValid() ? now.date() : m_session.ServerDate);
        if (years >= 0)
            age = QString::number(years);
    }
    const QString patient = QStringList{stay.PatientName.trimmed(), age, stay.Sex.trimmed()}.join(
        QStringLiteral(" / "));
    return {chargeSlip,
            patient,
            m_session.hospital.Company,
            stay.RoomID.trimmed(),
            stay.IdNum.trimmed(),
            stay.AttendingDoctor.trimmed(),
            userText,
            reprinted ? QStringLiteral("REPRINTED COPY") : QStringLiteral("ORIGINAL COPY")};
}

bool ChargeSlipPrinter::print(const QString &chargeSlip, const CurrentPatientRecord &stay,
                              const QString &userText, bool reprinted)
{
    if (auto filled = ChargePostingStore(m_session.db()).refillPrintBuffer(chargeSlip); !filled) {
        m_session.notifier().errorBox(filled.error());
        return false;
    }
    const QString file = formFile(reprinted);
    if (!m_reports.OpenReport(file, formValues(chargeSlip, stay, userText, reprinted)))
        return false;
    m_reports.ShowReport(false, reprinted ? QStringLiteral("Reprint ChargeSlip")
                                          : QStringLiteral("Print ChargeSlip"));
    return true;
}

QString ChargeSlipPrinter::formFile(bool reprinted) const
{
    if (m_session.hospital.clientname.trimmed() == kDiscountClient)
        return kDiscount;
    if (m_session.hospital.ORNoPreprinted)
        return kBlankPaper;
    const QString question =
        reprinted ? QStringLiteral("Reprint Charge Slip! [YES] Preprinted Form [NO] Blank Paper")
                  : QStringLiteral("Print Charge Slip! [YES] Preprinted Form [NO] Blank Paper");
    return m_session.notifier().confirm(question, QStringLiteral("Notification"),
                                        Notifier::Icon::Question, Notifier::Answer::No)
               ? kPreprinted
               : kBlankPaper;
}

} // namespace kestrel
