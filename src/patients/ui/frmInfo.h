// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QWidget>

namespace kestrel {

class Session;

/// "Personal Info": the selected stay's patient, admission or visit, room and account, read
/// only (`txtInfo(0)`, `txtInfo(1)`, …), with `cmdClose` "&Close".
class frmInfo : public QWidget
{
    Q_OBJECT

public:
    explicit frmInfo(Session &session, QWidget *parent = nullptr);

    /// Shows the stay selected now; false after telling a failure.
    bool load();

private:
    Session &m_session;
};

} // namespace kestrel
