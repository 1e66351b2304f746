// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "examrequests/RequestReprint.h"

#include <QWidget>

class QTableWidget;

namespace kestrel {

/// The pharmacy or central supply request forms printed again: the requests of the stay above,
/// the items of the one chosen below, "Print" and "Close".
class frmRequestReprint : public QWidget
{
    Q_OBJECT

public:
    explicit frmRequestReprint(Session &session, QWidget *parent = nullptr);

    RequestReprint &presenter() { return m_presenter; }
    bool open(const QString &idNum, const QString &revenue);

private:
    void refresh();

    RequestReprint m_presenter;
    QTableWidget *m_requests = nullptr;
    QTableWidget *m_items = nullptr;
};

} // namespace kestrel
