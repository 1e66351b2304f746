// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QString>

namespace kestrel {

/// The five people who sign an operation's record, by the index of their signature button.
enum class ORRole { Surgeon = 0, SurgicalAssistant = 1, Anesthesiologist = 3,
                    CirculatingNurse = 6, ScrubNurse = 8 };

/// What belongs to one role: whose field it reads, where the signature is kept, and what the
/// nurse reads about it.
struct ORSignatureRole
{
    ORRole role;
    QString personColumn; ///< the field holding the doctor's or nurse's code
    QString signColumn;   ///< employee code of the signer
    QString dateColumn;   ///< server time of signing
    bool doctor;          ///< doctors sign through their user; nurses by their own code
    QString notSignatory; ///< the signer is not the person in the role
    QString question;     ///< asked when a signed person is about to change
    QString logText;      ///< station log text when a signature is cleared
    QString required;     ///< printing without this signature
};

/// The five roles, in the order printing asks for their signatures.
const QList<ORSignatureRole> &signatureRoles();
const ORSignatureRole &signatureRole(ORRole role);

} // namespace kestrel
