// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QList>
#include <QPair>
#include <QString>

namespace kestrel {

class Session;

/// `frmInfo`, "Personal Info": the selected stay as the OR reads it at a glance: the patient,
/// the admission or the emergency/outpatient visit, its room and its account. Dates and times
/// are written "mm/dd/yyyy hh:mm:ss AM/PM".
class PersonalInfo
{
public:
    explicit PersonalInfo(Session &session);

    /// The captions and values of the selected stay, in the order the window shows them.
    Result<QList<QPair<QString, QString>>> rows() const;

private:
    Session &m_session;
};

} // namespace kestrel
