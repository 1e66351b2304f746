// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/ORSignature.h"

namespace kestrel {

const QList<ORSignatureRole> &signatureRoles()
{
    // The surgical assistant's field is the first assistant surgeon; clearing his signature is
    // logged as an edit of the surgeons' signatories, as the surgeon's is.
    static const QList<ORSignatureRole> roles{
        {ORRole::Surgeon, QStringLiteral("SurgeonID1"), QStringLiteral("SurgeonSignID"),
         QStringLiteral("SurgeonDateSign"), true,
         QStringLiteral("Sorry, you are not a valid signatory for surgeon."),
         QStringLiteral("Do you want to change the Surgeon?"),
         QStringLiteral("Edit Surgeon Signatory"), QStringLiteral("Surgeon Signature is Required")},
        {ORRole::Anesthesiologist, QStringLiteral("AnestheID"), QStringLiteral("AnestSignID"),
         QStringLiteral("AnesDateSign"), true,
         QStringLiteral("Sorry, you are not a valid signatory for Anesthesiologist."),
         QStringLiteral("Do you want to change the Anesthesiologist?"),
         QStringLiteral("Edit Anesthesiologist Signatory"),
         QStringLiteral("Anesthesiologist Signature is Required")},
        {ORRole::CirculatingNurse, QStringLiteral("CnurseID1"), QStringLiteral("CNurseSignID"),
         QStringLiteral("CnurseDateSign"), false,
         QStringLiteral("Sorry, you are not a valid signatory for Circulating nurse."),
         QStringLiteral("Do you want to edit Circulating Nurse?"),
         QStringLiteral("Edit Circulating Nurse Signatory"),
         QStringLiteral("Circulating Nurse Signature is Required")},
        {ORRole::ScrubNurse, QStringLiteral("SnurseID1"), QStringLiteral("SNurseSignID"),
         QStringLiteral("SnurseDateSign"), false,
         QStringLiteral("Sorry, you are not a valid signatory for Scrub Nurse."),
         QStringLiteral("Do you want to edit Scrub Nurse?"),
         QStringLiteral("Edit Scrub Nurse Signatory"),
         QStringLiteral("Scrub Nurse Signature is Required")},
        {ORRole::SurgicalAssistant, QStringLiteral("SurgeonID2"), QStringLiteral("ASurgeonSignID"),
         QStringLiteral("ASurgeonDateSign"), true,
         QStringLiteral("Sorry, you are not a valid signatory for Surgical Assistant."),
         QStringLiteral("Do you want to change the Surgical Assistant?"),
         QStringLiteral("Edit Surgeon Signatory"),
         QStringLiteral("Surgical Assistant Signature is Required")},
    };
    return roles;
}

const ORSignatureRole &signatureRole(ORRole role)
{
    for (const ORSignatureRole &r : signatureRoles()) {
        if (r.role == role)
            return r;
    }
    Q_UNREACHABLE();
}

} // namespace kestrel
