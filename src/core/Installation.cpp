// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/Installation.h"

#include <QDir>
#include <QSettings>

namespace kestrel {

QString installationScrambleKey(const QString &applicationPath)
{
    const QSettings file(QDir(applicationPath).filePath(QStringLiteral("kestrel-installation.ini")),
                         QSettings::IniFormat);
    return file.value(QStringLiteral("Installation/ScrambleKey")).toString().trimmed();
}

} // namespace kestrel
