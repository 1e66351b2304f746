// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDialog>

class QListWidget;

namespace kestrel {

class Session;

/// "List of CM Remarks": the remarks a reason is picked from. A double-click, or Enter on the
/// rows chosen with the arrow keys, hands them to the calling window.
class frmCMRemarks : public QDialog
{
    Q_OBJECT

public:
    frmCMRemarks(const QStringList &remarks, QWidget *parent = nullptr);

    /// The remarks chosen; empty when the window was closed.
    QStringList chosen() const { return m_chosen; }

    /// Shows the list and answers `reason` with the chosen remarks appended.
    static QString pickInto(Session &session, const QString &reason, QWidget *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose();

    QListWidget *m_list = nullptr;
    QStringList m_chosen;
};

} // namespace kestrel
