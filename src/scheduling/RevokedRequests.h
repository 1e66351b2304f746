// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"

#include <QObject>

namespace kestrel {

class Session;

/// The rules of `frmRevokedRequests`, "Revoked Requests Monitoring": this station's requests
/// that the receiving departments revoked in the last hours, and their acknowledgement.
class RevokedRequests : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Refused, Abandoned, Done, Failed };

    explicit RevokedRequests(Session &session, QObject *parent = nullptr);

    bool load();
    /// Request number, the names, exam, when and by whom revoked, remarks, admission number,
    /// when and by whom acknowledged, and the status ("A" once acknowledged).
    const RowSet &rows() const { return m_rows; }
    bool acknowledged(int row) const;
    /// "&Acknowledge" of `row` (-1 when none is chosen).
    Outcome acknowledge(int row);

Q_SIGNALS:
    void rowsChanged();

private:
    Session &m_session;
    RowSet m_rows;
};

} // namespace kestrel
