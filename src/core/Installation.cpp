// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/Installation.h"

#include <QDir>
#include <QSettings>

namespace kestrel {

QString installationFilePath(const QString &applicationPath)
{
    return QDir(applicationPath).filePath(QStringLiteral("kestrel-installation.ini"));
}

QString installationScrambleKey(const QString &applicationPath)
{
    const QSettings file(installationFilePath(applicationPath), QSettings::IniFormat);
    return file.value(QStringLiteral("Installation/ScrambleKey")).toString().trimmed();
}

std::optional<ConnectionSettings> installationServer(const QString &applicationPath)
{
    QSettings file(installationFilePath(applicationPath), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("Server"));
    auto text = [&](const char *key) {
        return file.value(QLatin1String(key)).toString().trimmed();
    };
    const QDir folder(applicationPath);
    auto path = [&](const char *key) {
        const QString name = text(key);
        return name.isEmpty() ? name : QDir::cleanPath(folder.absoluteFilePath(name));
    };
    ConnectionSettings s;
    s.backend = Backend::Postgres;
    s.service = text("Service");
    s.host = text("Host");
    if (s.service.isEmpty() && s.host.isEmpty())
        return std::nullopt;
    s.port = text("Port").toInt();
    s.database = text("Database");
    s.user = text("User");
    s.sslMode = text("SslMode");
    if (s.sslMode.isEmpty())
        s.sslMode = QStringLiteral("prefer");
    s.sslRootCert = path("SslRootCert");
    s.sslCert = path("SslCert");
    s.sslKey = path("SslKey");
    return s;
}

} // namespace kestrel
