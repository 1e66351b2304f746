// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeAccount.h"

#include <optional>

namespace kestrel {

class ChargeEntry;
class Session;

/// The account of the "Receivable Update" window `frmRecievable`: a discharged and billed stay
/// picked in the receivable search, to which late charges are posted through the charge
/// window's rules. An account the receivables section has invoiced takes none; neither does one
/// billing has not billed, nor, where the database closes them, an inpatient's or ER patient's.
/// Each batch of late charges clears the account's late-charge mark in the batch's own
/// transaction, and only while the account is still billed and not invoiced, so a batch racing
/// an invoice saves nothing.
class ReceivableAccount : public ChargeAccount
{
public:
    explicit ReceivableAccount(Session &session);

    /// Shows `stay` in the charge window `entry`: the account is checked and the window read for
    /// it. On a refusal (told to the user) the account shown before stays; false then.
    bool pick(ChargeEntry &entry, const CurrentPatientRecord &stay);

    const CurrentPatientRecord &stay() const override { return m_stay; }
    bool mayOpen() override;
    bool mayPost() override;
    bool confirmSave() override;
    Result<void> posted(Database &db, const PostingBatch &batch) override;
    QString closeQuestion() const override;
    QString revokeQuestion() const override;
    QString nothingLeftToRevoke() const override;

    static QString invoicedText();
    static QString notBilledText();
    static QString closedText();

private:
    struct State
    {
        bool discharged = false;
        bool billed = false;
        bool invoiced = false;
    };
    /// The account as the database has it now; nothing when it is gone or cannot be read (the
    /// user was told).
    std::optional<State> readState();
    /// Tells `text` and answers false.
    bool refuse(const QString &text);

    Session &m_session;
    CurrentPatientRecord m_stay;
};

} // namespace kestrel
