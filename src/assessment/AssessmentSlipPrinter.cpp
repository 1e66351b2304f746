// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "assessment/AssessmentSlipPrinter.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "reports/ReportService.h"

#include <QLocale>

namespace kestrel {

AssessmentSlipPrinter::AssessmentSlipPrinter(Session &session, ReportService &reports)
    : m_session(session)
    , m_reports(reports)
{
}

QString AssessmentSlipPrinter::formFile(AssessmentKind kind)
{
    return kind == AssessmentKind::WalkIn ? QStringLiteral("Assessment_Slip.RPT")
                                          : QStringLiteral("Assessment_Slip_BlankForm.rpt");
}

QVariantList AssessmentSlipPrinter::formValues(const AssessmentSlip &slip, const QString &hospital,
                                               bool reprinted)
{
    const QString copy =
        reprinted ? QStringLiteral("REPRINTED COPY") : QStringLiteral("ORIGINAL COPY");
    if (slip.kind == AssessmentKind::WalkIn) {
        const QLocale c = QLocale::c();
        return {slip.number,
                slip.patientName,
                slip.erOpd ? QStringLiteral("ER/OPD") : QStringLiteral("CASH"),
                c.toString(slip.when, QStringLiteral("MM/dd/yyyy")),
                c.toString(slip.when, QStringLiteral("hh:mm:ss AP")),
                hospital,
                slip.user,
                copy};
    }
    return {slip.number, slip.patientName, slip.IdNum, slip.room, slip.doctor,
            hospital,    slip.user,        copy};
}

bool AssessmentSlipPrinter::printSaved(const AssessmentSlip &slip)
{
    return print(slip, false);
}

bool AssessmentSlipPrinter::reprint(const AssessmentSlip &slip)
{
    Database &db = m_session.db();
    Transaction tx = db.transaction(TransactionMode::Write);
    Result<void> filled = tx.isActive() ? AssessmentStore(db).fillPrintBuffer(slip.number)
                                        : Result<void>(tl::unexpected(tx.error()));
    if (filled)
        filled = tx.commit();
    if (!filled) {
        m_session.notifier().errorBox(filled.error());
        return false;
    }
    return print(slip, true);
}

bool AssessmentSlipPrinter::print(const AssessmentSlip &slip, bool reprinted)
{
    if (!m_reports.OpenReport(formFile(slip.kind),
                              formValues(slip, m_session.hospital.Company, reprinted)))
        return false;
    m_reports.ShowReport(false, reprinted ? QStringLiteral("Reprint Assessment Slip")
                                          : QStringLiteral("Print Assessment Slip"));
    return true;
}

} // namespace kestrel
