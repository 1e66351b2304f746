// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "examrequests/ExamRequestEntry.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace kestrel {

class EntryGrid;

/// The exam request entry: the department `txtDept`, the entry grid `mshflexEntry` with its
/// editor `txtEntry`, the hint `lblMessage` in `fraMessage`, and `cmdOption` "&Accept",
/// "&Delete", "&Exit"; for the laboratory "&Specimen" opens the specimen pick-list of the line.
/// Every rule is the presenter's (ExamRequestEntry).
class frmRequest : public QWidget
{
    Q_OBJECT

public:
    frmRequest(Session &session, clsCodeLookup *codeLookup, QWidget *parent = nullptr);
    ~frmRequest() override;

    ExamRequestEntry &presenter() { return m_presenter; }
    EntryGrid &entryGrid() { return *m_grid; }
    /// Opens the entry for the stay and department; the editor waits in the code column.
    bool open(const QString &idNum, const QString &department);

private:
    void chooseSpecimen();
    void closeWindow();

    Session &m_session;
    ExamRequestEntry m_presenter;
    EntryGrid *m_grid = nullptr;
    QLabel *m_department = nullptr;
    QPushButton *m_specimen = nullptr;
};

} // namespace kestrel
