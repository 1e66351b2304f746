// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QString>

#include <optional>

namespace kestrel {

/// The installation file hospital IT deploys beside the program: `kestrel-installation.ini`.
QString installationFilePath(const QString &applicationPath);

/// What a hospital's installation supplies beside the program in `kestrel-installation.ini`:
/// the key re-validation passwords are scrambled with, used where the hospital database does
/// not give the workstation its own (RevalidationKey). "" when the file or the key is missing.
QString installationScrambleKey(const QString &applicationPath);

/// The hospital server this workstation logs in to, from the `[Server]` section of the
/// installation file: a service of pg_service.conf (`Service=`) or `Host=`, `Port=`,
/// `Database=`, `User=`, and the TLS settings `SslMode=` (default prefer), `SslRootCert=`,
/// `SslCert=`, `SslKey=`; a relative file name is taken from the installation file's folder.
/// The server's password is never kept there: it comes from ~/.pgpass or a client
/// certificate. nullopt when the file names no server (no Service and no Host).
std::optional<ConnectionSettings> installationServer(const QString &applicationPath);

} // namespace kestrel
