// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/MarkupSettings.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;

namespace kestrel {

/// "Mark Up Settings": the OR's markups. Search them with `txtSearch`, pick one from
/// `grdListing`, Add or Edit it in the fields and Save. The fields can be typed in only while
/// adding or editing.
class frmMarkupSettings : public QWidget
{
    Q_OBJECT

public:
    explicit frmMarkupSettings(Session &session, QWidget *parent = nullptr);

    MarkupSettings &presenter() { return m_presenter; }

private:
    void buildUi();
    void bind();
    /// Shows the presenter's listing.
    void showListing();
    /// Shows the presenter's entry and what may be typed.
    void showEntry();
    /// Hands what was typed to the presenter's entry.
    void takeEntry();
    void search();
    void save();

    MarkupSettings m_presenter;
    QAction *m_addAction = nullptr;
    QAction *m_editAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_findAction = nullptr;
    QLineEdit *m_search = nullptr;
    QTableWidget *m_listing = nullptr;
    QLabel *m_message = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_description = nullptr;
    QLineEdit *m_markup = nullptr;
    QRadioButton *m_multiply = nullptr;
    QRadioButton *m_addition = nullptr;
    QCheckBox *m_active = nullptr;
    QCheckBox *m_default = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
};

} // namespace kestrel
