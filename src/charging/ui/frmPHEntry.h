// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/requests/RequestEntry.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace kestrel {

class EntryGrid;

/// "Pharmacy Request Entry": the entry grid `mshflexEntry` (the charge window's grid) with its
/// editor `txtEntry` and prompt `lblMessage`, the fixed note, the PD first package note and the
/// buttons `cmdMedOption` (save, "&Delete", "&Close"). The other request windows are this one
/// laid out for their form. Every rule is the presenter's (RequestEntry).
class frmPHEntry : public QWidget
{
    Q_OBJECT

public:
    frmPHEntry(Session &session, RequestEntry::Components components,
               QWidget *parent = nullptr);
    ~frmPHEntry() override;

    RequestEntry &presenter() { return m_presenter; }
    EntryGrid &entryGrid() { return *m_grid; }

protected:
    frmPHEntry(Session &session, RequestForm form, RequestEntry::Components components,
               QWidget *parent);

private:
    void buildUi();
    void bind();
    void refresh();
    void closeWindow();

    RequestEntry m_presenter;
    EntryGrid *m_grid = nullptr;
    QLabel *m_message = nullptr;
    QLabel *m_packageNote = nullptr;
    QList<QPushButton *> m_buttons;
};

/// "Pharmacy Request Entry" with the frequency of each medicine's dosage.
class frmPHEntrywithDosage : public frmPHEntry
{
    Q_OBJECT

public:
    frmPHEntrywithDosage(Session &session, RequestEntry::Components components,
                         QWidget *parent = nullptr)
        : frmPHEntry(session, RequestForm::PharmacyWithDosage, components, parent)
    {
    }
};

/// "Pharmacy Request Entry" with the frequency and the route of administration.
class frmPHEntrywithRouting : public frmPHEntry
{
    Q_OBJECT

public:
    frmPHEntrywithRouting(Session &session, RequestEntry::Components components,
                          QWidget *parent = nullptr)
        : frmPHEntry(session, RequestForm::PharmacyWithRouting, components, parent)
    {
    }
};

} // namespace kestrel
