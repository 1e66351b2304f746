// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "scheduling/ScheduleRequests.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTimeEdit;

namespace kestrel {

class clsCodeLookup;

/// "Requests for Operation Schedule": the wards' pending requests in `mshflexPending`, and the
/// confirmation panel `pictConfirm` that a click on a request fills.
class frmCommunicationSchedule : public QWidget
{
    Q_OBJECT

public:
    frmCommunicationSchedule(Session &session, clsCodeLookup *lookup, QWidget *parent = nullptr);

    ScheduleRequests &presenter() { return m_presenter; }

Q_SIGNALS:
    /// A request was confirmed or revoked: the main window's request button looks again.
    void requestsHandled();

private:
    void buildUi();
    QWidget *buildConfirmPanel();
    void showRequests();
    void selectRow(int row);
    void startChanged();
    void timesChanged();
    void confirm();
    RequestConfirmation confirmation() const;

    ScheduleRequests m_presenter;
    clsCodeLookup *m_lookup;
    QTableWidget *m_grid = nullptr;
    QWidget *m_panel = nullptr;
    RequestConfirmation m_selected;
    int m_row = -1;

    QLabel *m_patientName = nullptr;
    QDateEdit *m_date = nullptr;
    QTimeEdit *m_start = nullptr;
    QTimeEdit *m_end = nullptr;
    QLabel *m_length = nullptr;
    QLineEdit *m_procedure = nullptr;
    QLabel *m_procedureName = nullptr;
    QLineEdit *m_surgeon = nullptr;
    QLabel *m_surgeonName = nullptr;
    QLineEdit *m_coSurgeon[3] = {};
    QLabel *m_coSurgeonName[3] = {};
    QLineEdit *m_anes = nullptr;
    QLabel *m_anesName = nullptr;
    QComboBox *m_room = nullptr;
    QLineEdit *m_remarks = nullptr;
    QLineEdit *m_scrubNurse = nullptr;
    QLineEdit *m_circulatingNurse = nullptr;
};

} // namespace kestrel
