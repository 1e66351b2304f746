// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

// A PostgreSQL server of the test's (or the soak run's) own, in a scratch folder on a free
// port, so that it can be stopped and restarted without touching any server others use. The
// server binaries come from `pg_config --bindir`; a program running as root runs them as the
// postgres user, since the server refuses to run as root.

#include "core/db/Database.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kestrel::test {

class PrivateServer
{
public:
    PrivateServer() = default;
    ~PrivateServer()
    {
        if (m_running)
            (void)pgCtl(
                {QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("stop")});
    }
    PrivateServer(const PrivateServer &) = delete;
    PrivateServer &operator=(const PrivateServer &) = delete;

    /// Where the server binaries are; empty when there are none (the caller skips).
    static QString binaries()
    {
        QProcess config;
        config.start(QStringLiteral("pg_config"), {QStringLiteral("--bindir")});
        QString dir;
        if (config.waitForFinished(10000) && config.exitCode() == 0)
            dir = QString::fromLocal8Bit(config.readAllStandardOutput()).trimmed();
        for (const QString &candidate : {dir, QStringLiteral("/usr/lib/postgresql/15/bin")}) {
            if (!candidate.isEmpty() && QFile::exists(candidate + QStringLiteral("/initdb")) &&
                QFile::exists(candidate + QStringLiteral("/pg_ctl")))
                return candidate;
        }
        return {};
    }

    /// Makes a new cluster and starts it; the error tells why not.
    Result<void> start()
    {
        m_bin = binaries();
        if (m_bin.isEmpty())
            return failure(QStringLiteral("no PostgreSQL server binaries"));
        if (!m_dir.isValid())
            return failure(QStringLiteral("no scratch folder for the server"));
        if (::geteuid() == 0) {
            QProcess chown;
            chown.start(QStringLiteral("chown"),
                        {QStringLiteral("-R"), QStringLiteral("postgres:"), m_dir.path()});
            if (!chown.waitForFinished(10000) || chown.exitCode() != 0)
                return failure(QStringLiteral("cannot hand the scratch folder to postgres"));
        }
        m_port = freePort();
        if (auto ok = run(QStringLiteral("initdb"),
                          {QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), user(),
                           QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
                           QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
                           QStringLiteral("--no-sync")});
            !ok)
            return ok;
        // Sockets stay in the scratch folder; no disk flush, since nothing here outlives it.
        QFile conf(dataDir() + QStringLiteral("/postgresql.auto.conf"));
        if (!conf.open(QIODevice::Append))
            return failure(QStringLiteral("cannot configure the server"));
        conf.write(QStringLiteral("port = %1\nlisten_addresses = '127.0.0.1'\n"
                                  "unix_socket_directories = '%2'\nfsync = off\n"
                                  "max_connections = 60\n")
                       .arg(m_port)
                       .arg(m_dir.path())
                       .toUtf8());
        conf.close();
        if (auto ok = pgCtl({QStringLiteral("-l"), m_dir.filePath(QStringLiteral("log")),
                             QStringLiteral("start")});
            !ok)
            return ok;
        m_running = true;
        return {};
    }

    /// Stops the server quickly (sessions are ended, open transactions rolled back) and starts
    /// it again, as a hospital's server restarts.
    Result<void> restart()
    {
        return pgCtl({QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-l"),
                      m_dir.filePath(QStringLiteral("log")), QStringLiteral("restart")});
    }

    int port() const { return m_port; }
    static QString user() { return QStringLiteral("kestrel"); }

    /// A connection to `database` of this server.
    ConnectionSettings settings(const QString &database) const
    {
        ConnectionSettings s;
        s.backend = Backend::Postgres;
        s.host = QStringLiteral("127.0.0.1");
        s.port = m_port;
        s.user = user();
        s.database = database;
        s.sslMode = QStringLiteral("disable");
        s.workstation = QStringLiteral("OR-TEST-01");
        return s;
    }

    /// Makes the empty database `name` (a name the caller made, never typed by a user).
    Result<void> createDatabase(const QString &name)
    {
        auto admin = Database::open(settings(QStringLiteral("postgres")));
        if (!admin)
            return tl::unexpected(admin.error());
        return (*admin)->execRaw(QStringLiteral("CREATE DATABASE %1").arg(name));
    }

private:
    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }

    static int freePort()
    {
        sockaddr_in a{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t size = sizeof a;
        const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int port = 0;
        if (::bind(s, reinterpret_cast<sockaddr *>(&a), size) == 0 &&
            ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &size) == 0)
            port = ntohs(a.sin_port);
        ::close(s);
        return port;
    }

    Result<void> pgCtl(QStringList args)
    {
        args.prepend(dataDir());
        args.prepend(QStringLiteral("-D"));
        args.prepend(QStringLiteral("-w"));
        return run(QStringLiteral("pg_ctl"), args);
    }

    Result<void> run(const QString &tool, QStringList args)
    {
        QString program = m_bin + u'/' + tool;
        if (::geteuid() == 0) {
            args.prepend(program);
            args.prepend(QStringLiteral("--"));
            args.prepend(QStringLiteral("postgres"));
            args.prepend(QStringLiteral("-u"));
            program = QStringLiteral("runuser");
        }
        QProcess p;
        p.setWorkingDirectory(m_dir.path());
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            return failure(tool + QStringLiteral(" failed: ") +
                           QString::fromLocal8Bit(p.readAll()).trimmed());
        return {};
    }

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/kestrel-pg-XXXXXX")};
    QString m_bin;
    int m_port = 0;
    bool m_running = false;
};

} // namespace kestrel::test
