// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "scheduling/BuildORRooms.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableWidget;

namespace kestrel {

class clsCodeLookup;
class ReportService;

/// "Build OR Rooms": the tab "OR Rooms" with the new room, the list `mshORRooms` (a
/// double-click edits a room) and the edit frame; the tab "OR Procedures" with the procedures
/// of the room chosen in "Select Room:" and the frame that assigns or removes one.
class frmBuildORRooms : public QDialog
{
    Q_OBJECT

public:
    frmBuildORRooms(Session &session, clsCodeLookup *lookup, ReportService *reports,
                    QWidget *parent = nullptr);

    BuildORRooms &presenter() { return m_presenter; }

private:
    void buildUi();
    void showRooms();
    void showProcedures();
    void editRow(int row);

    BuildORRooms m_presenter;
    clsCodeLookup *m_lookup;
    ReportService *m_reports;
    QLineEdit *m_newId = nullptr;
    QLineEdit *m_newName = nullptr;
    QCheckBox *m_newActive = nullptr;
    QTableWidget *m_rooms = nullptr;
    QLineEdit *m_editId = nullptr;
    QLineEdit *m_editName = nullptr;
    QCheckBox *m_editActive = nullptr;
    QComboBox *m_roomSearch = nullptr;
    QTableWidget *m_procedures = nullptr;
    QComboBox *m_room = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_procedure = nullptr;
};

} // namespace kestrel
