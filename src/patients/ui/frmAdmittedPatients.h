// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "patients/AdmittedPatients.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kestrel {

/// "Admitted Patients w/ Scheduled Operation": the admitted patients whose confirmed
/// operation the OR has not yet checked, searched by the text in `txtSearch`; a click on the
/// list `mshflexAdmitted` chooses a patient, `cmdPending(1)` "Checked?" tags him as checked
/// and `cmdPending(0)` "Exit" closes the window. The list is read when the window opens.
class frmAdmittedPatients : public QWidget
{
    Q_OBJECT

public:
    explicit frmAdmittedPatients(Session &session, QWidget *parent = nullptr);

    AdmittedPatients &presenter() { return m_presenter; }

private:
    void buildUi();
    void bind();
    /// Shows the presenter's list.
    void showList();
    /// Shows the chosen row and its position.
    void showChosen();
    void closeWindow();

    AdmittedPatients m_presenter;
    QComboBox *m_searchBy = nullptr;
    QLineEdit *m_search = nullptr;
    QPushButton *m_searchButton = nullptr;
    QTableWidget *m_grid = nullptr;
    QLabel *m_position = nullptr;
    QPushButton *m_checked = nullptr;
    QPushButton *m_exit = nullptr;
};

} // namespace kestrel
