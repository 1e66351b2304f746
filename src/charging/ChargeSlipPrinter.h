// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/CurrentPatient.h"

#include <QString>
#include <QVariantList>

namespace kestrel {

class ReportService;
class Session;

/// Prints a posted charge slip through the report engine: after a save as the original copy,
/// from the posted list as a reprint. The slip's lines are put into this workstation's print
/// buffer first, and the form (preprinted, blank paper, or the discount slip of one client)
/// reads them from there.
class ChargeSlipPrinter
{
public:
    ChargeSlipPrinter(Session &session, ReportService &reports);

    /// Prints the slip of a batch just saved for `stay`, signed by the validated user, when
    /// the hospital prints charge slips; false when nothing was printed.
    bool printSaved(const QString &chargeSlip, const CurrentPatientRecord &stay);
    /// Prints a posted slip of `stay` again, for the logged-in user; false when nothing was
    /// printed.
    bool reprint(const QString &chargeSlip, const CurrentPatientRecord &stay);

private:
    /// The values the charge slip forms take, in their order: the slip, "NAME / age / sex",
    /// the hospital, room, admission number, attending doctor, "(code) name" of the user and
    /// the copy text.
    QVariantList formValues(const QString &chargeSlip, const CurrentPatientRecord &stay,
                            const QString &userText, bool reprinted) const;
    bool print(const QString &chargeSlip, const CurrentPatientRecord &stay,
               const QString &userText, bool reprinted);
    /// The form to print on: the discount slip, the blank paper or the preprinted form (asked
    /// unless the hospital has no preprinted forms).
    QString formFile(bool reprinted) const;

    Session &m_session;
    ReportService &m_reports;
};

} // namespace kestrel
