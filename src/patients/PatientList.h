// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "patients/PatientGrid.h"
#include "patients/PatientSelection.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace kestrel {

class MainWindowCommands;
class Session;

/// The presenter of the two patient lists: the main patient list (`frmSearch`, "Patient
/// List") and the patient for a new schedule (`frmSearchAdmitted`). It keeps the three search
/// texts (last name, hospital number, admission number), the kind of stay, the grid, the
/// highlighted row and what the labels say; it loads and colours the list, follows the
/// highlighted row into the current patient, selects a patient, and asks the main window for
/// the windows a row opens.
class PatientList : public QObject
{
    Q_OBJECT

public:
    enum class Window {
        PatientList, ///< `frmSearch`
        NewSchedule, ///< `frmSearchAdmitted`
    };
    /// The three search boxes `txtSearch(0)` to `txtSearch(2)`.
    enum SearchBox { LastName = 0, HospitalNumber = 1, AdmissionNumber = 2 };

    /// `menu` is the main window's command side (may be null): it opens the windows a row
    /// leads to and holds the patient-dependent commands and the CVOR command.
    PatientList(Session &session, clsPatientFinder *finder, MainWindowCommands *menu, Window window,
                QObject *parent = nullptr);

    Window window() const { return m_window; }
    PatientGrid &grid() { return m_grid; }
    const PatientGrid &grid() const { return m_grid; }
    PatientSelection &selection() { return m_selection; }

    /// The kinds of stay this window offers, in the order of its option buttons.
    QList<PatientType> patientTypes() const;
    /// The caption of the option button for `type`.
    QString typeCaption(PatientType type) const;
    /// Whether the option button for `type` shows ("ER Patient" is hidden for one client).
    bool isTypeShown(PatientType type) const;
    PatientType patientType() const { return m_type; }
    /// Choosing another kind of stay loads the list again.
    void setPatientType(PatientType type);

    QString searchText(SearchBox box) const { return m_texts[std::size_t(box)]; }
    void setSearchText(SearchBox box, const QString &text);
    /// The user entered box `box`: the other two are emptied, so a search uses one criterion.
    void searchBoxEntered(SearchBox box);

    /// Loads the list with the texts as typed (Search, Refresh, Enter in a search box, a new
    /// kind of stay, and the window opening).
    void load();
    /// "With Adm. Date": the day both date pickers start at, the server's date.
    QDate admissionDateDefault();
    /// The date frame's Search: loads the stays admitted from `start` to `end`.
    void loadByAdmissionDate(const QDate &start, const QDate &end);

    /// Column widths in twips, column 0 by the precaution setting.
    int columnWidthTwips(int column) const;

    /// The highlighted grid row (1 is the first patient), 0 when none is.
    int currentRow() const { return m_currentRow; }
    /// The highlighted row moves to `row`: its numbers become the current patient's keys.
    void rowChanged(int row);
    /// `lblRecNum`: the highlighted row's position, "3  out of  12".
    QString recordNumberText() const { return m_recordNumber; }
    /// Whether a count of the whole list is still running beside the window.
    bool isCounting() const { return m_countsRunning > 0; }
    /// `lblLegend`: shown for a cash-basis row, with the row's legend text.
    bool isLegendShown() const { return m_legendShown; }
    QString legendText() const { return m_legend; }
    /// The link labels work once a patient has been clicked.
    bool areLinksEnabled() const { return m_linksEnabled; }

    /// A click on grid row `row`: selects the patient into the current patient and, when the
    /// stay was found, enables the main window's patient-dependent commands.
    bool select(int row);
    /// Enter on the grid: selects the row, then opens it as a double-click does.
    void activate(int row);
    /// A double-click on grid row `row`: the patient profile on its first tab
    /// (`frmSearch`), or the schedule board with the row's patient (`frmSearchAdmitted`),
    /// after which this window closes.
    void doubleClicked(int row);
    /// Link label `lblProcedures(link)`: the patient profile of the highlighted row on tab 0,
    /// 2 or 6. A window always opens for the stay of the row it names: a row that was only
    /// highlighted is selected first, so no class, room or name of the patient selected
    /// before goes with it.
    void openLink(int link);
    /// The right mouse button on the grid: false when the hospital does not tag CVOR
    /// patients; otherwise the main window's CVOR command is captioned for the highlighted
    /// stay and the popup menu is to be shown.
    bool contextMenuRequested();
    /// The window closes: the patient-dependent commands are disabled (the main list only).
    void closed();

    /// The tab of the patient profile each link label opens.
    static int linkTab(int link);

    /// The rows the list reads first; further pages are read as the user scrolls.
    static constexpr int kFirstPage = 100;
    static constexpr int kNextPage = 500;

Q_SIGNALS:
    /// Anything shown changed: the search texts, the grid, the labels.
    void changed();
    /// The window has done its work and closes (the schedule picker after a double-click).
    void closeRequested();

private:
    // What the list on show was searched for, to read its further pages by.
    struct Search
    {
        QString lastName;
        QString hospNum;
        QString idNum;
        PatientSelection::AdmissionDays days;
    };
    void readMore();
    // Counts the whole list beside the window once its first page shows; a count that comes
    // back after another search is dropped.
    void countFound();
    // Colours the rows from grid row `firstRow` on and paints their precautions.
    void showRows(int firstRow);
    void countRows();

    void loadList(const std::optional<std::pair<QDate, QDate>> &dates);
    void openProfile(int row, int tab);

    Session &m_session;
    MainWindowCommands *m_menu;
    Window m_window;
    PatientSelection m_selection;
    PatientGrid m_grid;
    PatientType m_type = PatientType::Inpatient;
    std::array<QString, 3> m_texts;
    int m_currentRow = 0;
    /// The row whose stay was last selected into the current patient, 0 when none.
    int m_selectedRow = 0;
    /// How many stays the search found in all (the grid holds only the pages read so far).
    int m_found = 0;
    Search m_search;
    int m_countSerial = 0;
    int m_countsRunning = 0;
    QString m_recordNumber;
    bool m_legendShown = false;
    QString m_legend;
    bool m_linksEnabled = false;
};

} // namespace kestrel
