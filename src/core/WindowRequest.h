// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/CurrentPatient.h"
#include "core/db/RowSet.h"

#include <QMetaType>
#include <QString>
#include <QVariantMap>

namespace kestrel {

/// What a command hands the window it opens. The window itself belongs to the subsystem that
/// owns it; the main window only says which one, for whom and how.
struct WindowRequest
{
    /// The menu or toolbar command that asked ("mnuAudit", "Toolbar1.Open", "cmdPanicLab"),
    /// so a window opened by several commands (the report viewer) knows which one it serves.
    QString command;
    /// How the user knows the window: its caption, or the title of the report.
    QString caption;
    bool modal = false;
    /// The selected stay when the command was given (empty IdNum when none was selected).
    CurrentPatientRecord patient;
    /// Values the command sets on the window before it shows ("StationID", "Title", ...).
    QVariantMap values;
    /// Rows the command read for the window (the charging codes of the walk-in assessment).
    RowSet rows;
};

/// The main window as the windows of the other parts see it: they ask it to open a window
/// and tell it when the selected stay changes what its menus offer. The main window's
/// command side implements it; a window never knows more of the main window than this.
class MainWindowCommands
{
public:
    virtual ~MainWindowCommands() = default;

    /// Opens window `formName` ("frmSchedule") for `request`.
    virtual void openWindow(const QString &formName, const WindowRequest &request) = 0;
    /// Enables or disables the commands that need a selected patient.
    virtual void setPatientCommandsEnabled(bool enabled) = 0;
    /// The caption of the CVOR command ("Untag as CVOR/RR Patient" for a tagged stay).
    virtual void setCVORCaption(const QString &caption) = 0;
    /// Shows or hides one menu.
    virtual void setMenuVisible(const QString &name, bool visible) = 0;
};

} // namespace kestrel

Q_DECLARE_METATYPE(kestrel::WindowRequest)
