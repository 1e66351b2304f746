// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ReceivableSearch.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;

namespace kestrel {

/// "Search Patient" ("Patient Searching"): the discharged and billed accounts found by last
/// name, hospital number or admission number (Enter in the box), of outpatients or inpatients
/// (`optPatientType`), in `mshflexPatient` with the legend of billed and cash-basis patients.
/// Enter or a double-click on an account picks it. Every rule is the ReceivableSearch's.
class frmSearchRecievable : public QDialog
{
    Q_OBJECT

public:
    explicit frmSearchRecievable(Session &session, QWidget *parent = nullptr);

    ReceivableSearch &presenter() { return m_presenter; }
    /// The account picked; not selected when the window was closed without one.
    const CurrentPatientRecord &picked() const { return m_picked; }
    /// Searches as Enter in the box of `category` does.
    void search(ReceivableSearch::Category category);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void fill();
    void pick(int row);

    ReceivableSearch m_presenter;
    CurrentPatientRecord m_picked;
    QList<QLineEdit *> m_boxes;
    QRadioButton *m_outpatients = nullptr;
    QRadioButton *m_inpatients = nullptr;
    QLabel *m_loading = nullptr;
    QTableWidget *m_list = nullptr;
};

} // namespace kestrel
