// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ReceivableAccount.h"
#include "charging/ui/frmCharge.h"

namespace kestrel {

/// "Receivable Update": the charge window for the late charges of a discharged and billed
/// account picked through "Search Patient" (`frmSearchRecievable`) instead of the selected
/// patient. The same departments, entry grid, pricing, posting and charge slip; the account's
/// checks, questions and late-charge mark are the ReceivableAccount's.
class frmRecievable : public frmCharge
{
    Q_OBJECT

public:
    frmRecievable(Session &session, ChargeEntry::Components components,
                  QWidget *parent = nullptr);

    ReceivableAccount &account() { return m_account; }
    /// Shows the account `stay` (as a pick in the search does); false when it was refused.
    bool pick(const CurrentPatientRecord &stay);
    /// "Search Patient": the search window, then the account picked there.
    void searchPatient();

private:
    Session &m_session;
    ReceivableAccount m_account;
};

} // namespace kestrel
