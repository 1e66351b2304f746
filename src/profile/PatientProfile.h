// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/WindowRequest.h"
#include "profile/CommonExams.h"
#include "profile/NurseNotes.h"
#include "profile/ProfileHistory.h"
#include "profile/ProfileLists.h"
#include "profile/ProfileSchedule.h"
#include "profile/ProfileStore.h"
#include "profile/VitalSigns.h"
#include "profile/VitalSignsTrend.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <functional>

namespace kestrel {

class Session;

/// The rules of `frmFinal`, "Clinical Procedures": the working screen of one selected stay.
/// It holds the read-only header, knows which tabs were read already (each is read when it
/// is first shown, not all at opening), and gates the column of action buttons that open the
/// other work windows through the main window.
class PatientProfile : public QObject
{
    Q_OBJECT

public:
    /// The tabs, in the order the patient list's links count them: 0 the clinical summary,
    /// 2 the results, 6 the requests and charges.
    enum Tab {
        VitalSignsTab,
        NurseNotesTab,
        ResultsTab,
        ProfileTab,
        ScheduleTab,
        RequestStatusTab,
        CommonExamsTab,
        ReportsTab,
        TabCount
    };

    /// One button of the column `cmdNextPatient(index)`.
    struct Action
    {
        int index;
        QString caption;
        /// Any one of these rights lets the user in; none needed when empty.
        QStringList rights;
        QString refusal;
        /// The window it opens; empty for the height and weight entry, which is the profile's.
        QString form;
        /// The "Mode" value handed to the window ("PH", "CS"), when it serves several.
        QString mode;
    };

    using WindowOpener = std::function<void(const QString &formName, const WindowRequest &)>;

    explicit PatientProfile(Session &session, QObject *parent = nullptr);

    static QStringList tabCaptions();
    static const QList<Action> &actions();

    void setWindowOpener(WindowOpener opener) { m_openWindow = std::move(opener); }

    /// Opens the profile of the stay in `request` (values "HospNum", "IdNum", "Tab"; the
    /// selected stay when they are missing): reads the header and forgets which tabs were
    /// read. False when the stay cannot be read (the user was told).
    bool open(const WindowRequest &request);
    const ProfileHeader &header() const { return m_header; }
    QString idNum() const { return m_header.IdNum; }
    /// The tab the window opens on.
    int initialTab() const { return m_initialTab; }

    /// Whether `tab` must still be read; marks it read. The window asks this when a tab is
    /// shown, so each is read at most once until the next refresh.
    bool takeTabToLoad(int tab);
    bool isTabLoaded(int tab) const { return m_loadedTabs.contains(tab); }

    /// A button of the action column: the right, then the window.
    void runAction(int index);
    /// Function keys of the window: F5 refreshes, F6 and F7 open the pharmacy and the central
    /// supply requests, F11 the statement of account. True when the key was the window's.
    bool keyPressed(int key);
    /// F5 and the request timer: checks the room the patient is in, reads the header again
    /// and has every tab read again when next shown.
    void refresh();

    /// "&Back to Patient List": asks, then opens the patient list. True when the profile
    /// should close.
    bool backToPatientList();

    /// The height and weight entry's save: numbers in cm and kg, logged with the old values.
    bool saveHeightWeight(const QString &height, const QString &weight);

    VitalSigns &vitalSigns() { return m_vitalSigns; }
    NurseNotes &notes() { return m_notes; }
    ProfileHistory &history() { return m_history; }
    const ProfileLists &lists() const { return m_lists; }
    CommonExams &commonExams() { return m_commonExams; }
    ProfileSchedule &schedule() { return m_schedule; }
    VitalSignsTrend &trend() { return m_trend; }

Q_SIGNALS:
    void headerChanged();
    /// Every tab is to be read again when next shown.
    void tabsInvalidated();
    void heightWeightRequested();

private:
    bool allowed(const Action &action) const;
    void openForm(const QString &form, const QString &caption, const QString &mode);
    bool readHeader();

    Session &m_session;
    ProfileStore m_store;
    VitalSigns m_vitalSigns;
    NurseNotes m_notes;
    ProfileHistory m_history;
    ProfileLists m_lists;
    CommonExams m_commonExams;
    ProfileSchedule m_schedule;
    VitalSignsTrend m_trend;
    WindowOpener m_openWindow;
    ProfileHeader m_header;
    int m_initialTab = VitalSignsTab;
    QSet<int> m_loadedTabs;
};

} // namespace kestrel
