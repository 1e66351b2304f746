// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/returns/ReturnEntry.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace kestrel {

/// "Post Returned Medicines" / "Post Returned Supplies": the patient panel, the return grid
/// `flexMSEntry` with the up-down control for the quantity, and the buttons `cmdEntry`,
/// "&Clear Row", "&Post", "&Close" and "&List of Posted Medicines". Every rule is the
/// presenter's (ReturnEntry).
class frmReturn : public QWidget
{
    Q_OBJECT

public:
    frmReturn(Session &session, clsIssuedMedicines *issued, clsDrugPicker *drugPicker,
              QWidget *parent = nullptr);

    ReturnEntry &presenter() { return m_presenter; }
    /// Opens for the selected stay; false when it must not open.
    bool open(bool medicines);

Q_SIGNALS:
    /// "&List of Posted Medicines".
    void postedListRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildUi();
    void refresh();
    void cellEdited(int row, int column);
    void quantityStepped(int value);

    Session &m_session;
    ReturnEntry m_presenter;
    QLineEdit *m_patient = nullptr;
    QLineEdit *m_stay = nullptr;
    QLabel *m_stayLabel = nullptr;
    QLineEdit *m_hospNum = nullptr;
    QLineEdit *m_room = nullptr;
    QTableWidget *m_grid = nullptr;
    QSpinBox *m_upDown = nullptr;
    bool m_filling = false;
};

} // namespace kestrel
