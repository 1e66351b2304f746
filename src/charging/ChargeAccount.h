// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/CurrentPatient.h"
#include "core/db/Error.h"

#include <QString>

namespace kestrel {

class Database;
struct PostingBatch;

/// The account a charge window posts to when it is not the selected patient's open stay: the
/// receivable window's discharged and billed account, picked in its own search. The charge
/// window and its posting ask it instead of the selected patient; without one they charge the
/// selected patient's open stay as always.
class ChargeAccount
{
public:
    virtual ~ChargeAccount() = default;

    /// The stay charged; not selected while none was picked.
    virtual const CurrentPatientRecord &stay() const = 0;
    /// Whether the window may show the account (told to the user when not); it replaces the
    /// right to post charges and the open-account check of the selected patient.
    virtual bool mayOpen() = 0;
    /// Checked before lines are posted, instead of the open-account and clearance checks; a
    /// refusal is told to the user.
    virtual bool mayPost() = 0;
    /// The question before saving; false when the user declined (he was told).
    virtual bool confirmSave() = 0;
    /// Written inside the batch's transaction after its lines; a failure rolls the whole batch
    /// back, its charge slip number included.
    virtual Result<void> posted(Database &db, const PostingBatch &batch) = 0;
    /// What "&Close" asks.
    virtual QString closeQuestion() const = 0;
    /// What revoking a posted charge asks, and says of one whose amount is all revoked.
    virtual QString revokeQuestion() const = 0;
    virtual QString nothingLeftToRevoke() const = 0;
};

} // namespace kestrel
