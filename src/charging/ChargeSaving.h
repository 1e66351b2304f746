// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/PostingLine.h"
#include "core/CurrentPatient.h"

#include <QList>
#include <QString>

namespace kestrel {

/// What the charge window's "&Save" and "Reprint" go through: the posting of the lines and the
/// reprint of a charge slip. The window holds one for as long as it is open.
class ChargeSaving
{
public:
    virtual ~ChargeSaving() = default;

    /// Posts the lines of the entry grid (every line, those without an item too, so the
    /// checks before posting see them), recording `department`, the department shown in
    /// `lblDeptCode`. Refusals are told to the user by the posting itself.
    virtual PostingOutcome save(const QList<PostingLine> &lines, const QString &department) = 0;
    /// Prints charge slip `chargeSlip` of `stay` again.
    virtual void reprint(const QString &chargeSlip, const CurrentPatientRecord &stay) = 0;
};

} // namespace kestrel
