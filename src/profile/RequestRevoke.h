// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

class Session;

/// One line of the profile's request list, as the nurse picked it: "ITEM DESCRIPTION", "DEPT"
/// and "Code".
struct StatusLine
{
    QString item, department, code;
};

/// Revoking a request from the request list of the patient profile: the revoke right, the
/// administrator's switch for laboratory requests, the question, then the revoke itself, which
/// decides again in its transaction whether the request is still pending.
class RequestRevoke
{
public:
    enum class Outcome { Revoked, Refused, NoLongerPending, Failed };

    explicit RequestRevoke(Session &session)
        : m_session(session)
    {
    }

    /// Revokes `line` of the stay `idNum`. The user was told why when it is not revoked.
    Outcome revoke(const QString &idNum, const StatusLine &line);

private:
    Outcome refuse(const QString &text);

    Session &m_session;
};

} // namespace kestrel
