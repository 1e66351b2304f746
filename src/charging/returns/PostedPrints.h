// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

class ReportService;
class Session;

/// The prints of the selected stay's posted medicines: "Print &Posted" and "Print &Drug
/// Profile" of the posted list (`frmListPosted`), and the credit memo slip the return window
/// prints after posting and the posted list's "&Reprint CM" prints again.
///
/// Each opens its report definition (`PostedByIndividual.rpt`, `DrugProfile.rpt`,
/// `CMSlip.rpt`) with the stay's values and shows it; the reports read their lines themselves.
class PostedPrints
{
public:
    PostedPrints(Session &session, ReportService *reports);

    /// The list of what was posted to the stay from stock. False (told) without a stay.
    bool printPosted();
    /// The stay's drug profile. False (told) without a stay.
    bool printDrugProfile();
    /// The slip of `creditMemo`; `reprint` captions it "Reprint Credit Memo Slip". False
    /// (told) without a credit memo.
    bool printCreditMemo(const QString &creditMemo, bool reprint);

private:
    bool ready();
    QString initial() const;

    Session &m_session;
    ReportService *m_reports;
};

} // namespace kestrel
