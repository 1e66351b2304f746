// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

// A TCP relay between a workstation and the database server that cuts the connection as a
// broken network or a restarted server would: at the next COMMIT (before the server gets it,
// or after the server committed and before its answer arrives), all connections at once, or
// every new one (the server unreachable). It runs on a thread of its own, since the workstation
// waits for its answers.

#include <QByteArray>
#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace kestrel::test {

class CuttingProxy
{
public:
    enum class Cut { None, BeforeCommit, AfterCommit };

    /// Relays from a port of its own on 127.0.0.1 to the server at `host`:`port`.
    CuttingProxy(const QString &host, int port)
    {
        m_server.sin_family = AF_INET;
        m_server.sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, host.toLatin1().constData(), &m_server.sin_addr);
        sockaddr_in a{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t size = sizeof a;
        // Every socket is closed on exec: a server started by the test must not keep one open.
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::bind(m_listen, reinterpret_cast<sockaddr *>(&a), size) == 0 &&
            ::listen(m_listen, 16) == 0 &&
            ::getsockname(m_listen, reinterpret_cast<sockaddr *>(&a), &size) == 0) {
            m_port = ntohs(a.sin_port);
            m_thread = std::thread([this] { run(); });
        }
    }
    ~CuttingProxy()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        while (!m_pairs.empty())
            closePair(0);
        ::close(m_listen);
    }

    int port() const { return m_port; }
    /// Cuts the connection that sends a COMMIT, once, after letting `passOver` of them through.
    void cutAtNextCommit(Cut how, int passOver = 0)
    {
        m_passOver = passOver;
        m_cut = how;
    }
    /// Hands the next COMMIT to the server and then runs `action` (a server restart) before
    /// relaying anything else, once: the answer arrives or not as the server manages.
    void atNextCommit(std::function<void()> action)
    {
        std::lock_guard lock(m_actionLock);
        m_action = std::move(action);
    }
    /// Cuts every open connection (the server restarted).
    void dropAll() { m_drop = true; }
    /// While true, every new connection is closed at once (the server unreachable).
    void refuse(bool refusing) { m_refuse = refusing; }
    int commitCuts() const { return m_commitCuts; }

private:
    void closePair(size_t i)
    {
        ::close(m_pairs[i].first);
        ::close(m_pairs[i].second);
        m_pairs.erase(m_pairs.begin() + static_cast<std::ptrdiff_t>(i));
    }

    // Relays what arrived on `from`; false when the pair is to be closed.
    bool relay(int from, int to, bool fromClient)
    {
        // The simple query "COMMIT", as the client library sends it.
        static const QByteArray commit("Q\0\0\0\x0b" "COMMIT\0", 12);
        char buffer[65536];
        const ssize_t n = ::recv(from, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        if (fromClient && QByteArray::fromRawData(buffer, n).contains(commit)) {
            std::function<void()> action;
            {
                std::lock_guard lock(m_actionLock);
                std::swap(action, m_action);
            }
            if (action) {
                ++m_commitCuts;
                const bool sent = ::send(to, buffer, size_t(n), MSG_NOSIGNAL) == n;
                action();
                return sent;
            }
        }
        const Cut cut = m_cut.load();
        if (fromClient && cut != Cut::None &&
            QByteArray::fromRawData(buffer, n).contains(commit) && m_passOver-- <= 0) {
            m_cut = Cut::None;
            ++m_commitCuts;
            // After: the server commits and answers, and the answer is dropped.
            pollfd answer{to, POLLIN, 0};
            if (cut == Cut::AfterCommit && ::send(to, buffer, size_t(n), MSG_NOSIGNAL) == n &&
                ::poll(&answer, 1, 5000) > 0)
                (void)::recv(to, buffer, sizeof buffer, 0);
            return false;
        }
        return ::send(to, buffer, size_t(n), MSG_NOSIGNAL) == n;
    }

    void run()
    {
        while (!m_stop) {
            if (m_drop.exchange(false))
                while (!m_pairs.empty())
                    closePair(0);
            std::vector<pollfd> fds{{m_listen, POLLIN, 0}};
            for (const auto &[client, server] : m_pairs) {
                fds.push_back({client, POLLIN, 0});
                fds.push_back({server, POLLIN, 0});
            }
            if (::poll(fds.data(), fds.size(), 20) <= 0)
                continue;
            for (size_t i = m_pairs.size(); i-- > 0;) {
                const auto [client, server] = m_pairs[i];
                if ((fds[1 + 2 * i].revents && !relay(client, server, true)) ||
                    (fds[2 + 2 * i].revents && !relay(server, client, false)))
                    closePair(i);
            }
            if (!(fds[0].revents & POLLIN))
                continue;
            const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (m_refuse ||
                ::connect(server, reinterpret_cast<const sockaddr *>(&m_server), sizeof m_server)) {
                ::close(client);
                ::close(server);
                continue;
            }
            m_pairs.emplace_back(client, server);
        }
    }

    sockaddr_in m_server{};
    int m_listen = -1;
    int m_port = 0;
    std::thread m_thread;
    std::vector<std::pair<int, int>> m_pairs;
    std::atomic<bool> m_stop{false}, m_drop{false}, m_refuse{false};
    std::atomic<Cut> m_cut{Cut::None};
    std::atomic<int> m_commitCuts{0};
    std::atomic<int> m_passOver{0};
    std::mutex m_actionLock;
    std::function<void()> m_action;
};

} // namespace kestrel::test
