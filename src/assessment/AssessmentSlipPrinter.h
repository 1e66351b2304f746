// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "assessment/AssessmentStore.h"

#include <QDateTime>
#include <QString>
#include <QVariantList>

namespace kestrel {

class ReportService;
class Session;

/// What an assessment slip names besides its lines.
struct AssessmentSlip
{
    AssessmentKind kind = AssessmentKind::WalkIn;
    QString number;
    QString patientName;
    QString IdNum;
    QString room;
    QString doctor;
    QDateTime when;
    /// A walk-in's slip reads "ER/OPD" instead of "CASH".
    bool erOpd = false;
    /// "(code) name" of the user the slip is signed by.
    QString user;
};

/// Prints an assessment slip through the report engine from this workstation's print buffer:
/// "Assessment_Slip.RPT" for a walk-in, "Assessment_Slip_BlankForm.rpt" for the patient
/// windows, as the original copy after the save or as a reprint.
class AssessmentSlipPrinter
{
public:
    AssessmentSlipPrinter(Session &session, ReportService &reports);

    /// Prints the slip of an assessment just saved (its lines are in the print buffer).
    bool printSaved(const AssessmentSlip &slip);
    /// Fills the print buffer with the assessment's lines again and prints the reprint.
    bool reprint(const AssessmentSlip &slip);

    static QString formFile(AssessmentKind kind);
    /// The values the form takes, in its order.
    static QVariantList formValues(const AssessmentSlip &slip, const QString &hospital,
                                   bool reprinted);

private:
    bool print(const AssessmentSlip &slip, bool reprinted);

    Session &m_session;
    ReportService &m_reports;
};

} // namespace kestrel
