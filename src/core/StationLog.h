// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

class Database;

/// Writes one row to the station log with the server's time and this workstation's name.
/// A log that cannot be written never stops the action it records, so failures are ignored.
void WriteStationLog(Database &db, const QString &idNum, const QString &remarks,
                     const QString &userId, const QString &stationId);

} // namespace kestrel
