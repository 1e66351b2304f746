// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QString>

namespace kestrel::hospitaldb {

/// How a hospital names itself on its printed forms and report headings.
struct HospitalIdentity
{
    QString name;
    QString address;
};

/// The settings rows a new hospital needs before a workstation can log in and charge: its row
/// of PATIENT_DATA..tbHospitalInfo (its name and address, and the same choices the demo
/// hospital makes for the rest), its row of STATION..tbNursing_Settings, the charge slip
/// counters of `station` starting at 1, and the list of access rights the rights editor and
/// the import check against. Station switches are left out: their defaults hold until the
/// hospital sets them. Writes in the caller's transaction.
Result<void> writeHospitalSettings(Database &db, const HospitalIdentity &identity,
                                   const QString &station = QStringLiteral("OR"));

} // namespace kestrel::hospitaldb
