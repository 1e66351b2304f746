// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "scheduling/RevokedRequests.h"

#include <QWidget>

class QTableWidget;

namespace kestrel {

/// "Revoked Requests Monitoring": the station's requests revoked in the last hours, the
/// acknowledged ones painted light green.
class frmRevokedRequests : public QWidget
{
    Q_OBJECT

public:
    explicit frmRevokedRequests(Session &session, QWidget *parent = nullptr);

    RevokedRequests &presenter() { return m_presenter; }

Q_SIGNALS:
    /// A request was acknowledged: the main window's alert looks again.
    void acknowledgedOne();

private:
    void showRows();

    RevokedRequests m_presenter;
    QTableWidget *m_grid = nullptr;
};

} // namespace kestrel
