// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryPrompts.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace kestrel {

/// "List Of OR Procedures": the OR procedures in `mshFlexProcedures`; `cmdOption`, Enter or a
/// double click takes the highlighted one, `cmdCancel` "Cancel" none.
class frmListProcedures : public QDialog
{
    Q_OBJECT

public:
    explicit frmListProcedures(const QList<ORProcedure> &procedures, QWidget *parent = nullptr);

    /// The ItemID of the procedure taken; "" when none was.
    QString chosen() const { return m_chosen; }

private:
    void takeCurrent();

    QList<ORProcedure> m_procedures;
    QTableWidget *m_grid = nullptr;
    QPushButton *m_option = nullptr;
    QPushButton *m_cancel = nullptr;
    QString m_chosen;
};

} // namespace kestrel
