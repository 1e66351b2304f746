// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/MarkUp.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace kestrel {

/// The markup window: the user chooses the markup of an OR line from `mshFlexMarkUp` by
/// double-click, Enter or `cmdOption`; `cmdCancel` and closing leave no markup.
class frmMarkUp : public QDialog
{
    Q_OBJECT

public:
    explicit frmMarkUp(Session &session, QWidget *parent = nullptr);

    MarkUp &presenter() { return m_presenter; }
    /// The markup chosen; value 0 when the window was closed without one.
    MarkupChoice choice() const { return m_presenter.choice(); }

private:
    void buildUi();
    void bind();
    void fill();
    void chooseCurrent();

    MarkUp m_presenter;
    QTableWidget *m_grid = nullptr;
    QCheckBox *m_withMarkup = nullptr;
    QRadioButton *m_stat = nullptr;
    QRadioButton *m_scheduled = nullptr;
    QCheckBox *m_holiday = nullptr;
    QPushButton *m_option = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace kestrel
