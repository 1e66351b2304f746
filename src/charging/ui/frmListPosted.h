// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QWidget>

class QTableWidget;

namespace kestrel {

class Session;

/// "List of Posted Medicines": the medicines and supplies posted to the selected stay from
/// stock, with what came back of each, and the stay's credit memos.
class frmListPosted : public QWidget
{
    Q_OBJECT

public:
    explicit frmListPosted(Session &session, QWidget *parent = nullptr);

    /// Reads the lists of the selected stay; false (told) without one.
    bool load();

private:
    Session &m_session;
    QTableWidget *m_posted = nullptr;
    QTableWidget *m_memos = nullptr;
};

} // namespace kestrel
