// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "patients/PatientList.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <array>

class QBoxLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace kestrel {

/// What the two patient lists share on screen: the three search boxes `txtSearch(0)` to
/// `txtSearch(2)` with `Command1` "&Search" and `Command2` "&Refresh", the option buttons
/// `optPatientType(n)`, the grid `MSHFlexList`, the position `lblRecNum`, the legend swatches
/// and `lblLegend`. Every rule is the presenter's (PatientList); this widget shows its state
/// and hands it what the user does.
class PatientListWindow : public QWidget
{
    Q_OBJECT

public:
    PatientList &presenter() { return m_presenter; }

protected:
    PatientListWindow(Session &session, clsPatientFinder *finder, MainWindowCommands *menu,
                      PatientList::Window window, QWidget *parent);

    /// Builds the shared controls into `layout`; the windows add theirs around them.
    void buildList(QBoxLayout *layout);
    /// The row of buttons beside the search boxes, where a window may add its own.
    QBoxLayout *searchButtons() const { return m_searchButtons; }
    QTableView *grid() const { return m_grid; }
    /// Shows the presenter's state; the windows extend it with their own controls.
    virtual void refresh();
    /// The grid's popup menu, shown on the right mouse button when the presenter allows it.
    void setPopupMenu(QMenu *menu) { m_popup = menu; }

    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    /// Closes the window, with the frame around it in the main window's work area.
    void closeWindow();

private:
    void bind();
    void applyColumnWidths();
    void fitHospitalNumbers();
    /// The grid row (1 is the first patient) of a model index.
    static int gridRow(const QModelIndex &index) { return index.row() + 1; }

    PatientList m_presenter;
    std::array<QLineEdit *, 3> m_search{};
    QPushButton *m_searchButton = nullptr;
    QPushButton *m_refreshButton = nullptr;
    QList<QRadioButton *> m_types;
    QTableView *m_grid = nullptr;
    QLabel *m_recNum = nullptr;
    QLabel *m_legend = nullptr;
    QBoxLayout *m_searchButtons = nullptr;
    QPointer<QMenu> m_popup;
};

} // namespace kestrel
