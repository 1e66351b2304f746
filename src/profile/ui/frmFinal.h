// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/PatientProfile.h"

#include <QSet>
#include <QWidget>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace kestrel {

struct ChosenExam;

class RowSet;
class VitalSignsChart;

/// "Clinical Procedures": the profile of the selected stay, with its header, the tabs (each
/// read when first shown) and the column of action buttons.
class frmFinal : public QWidget
{
    Q_OBJECT

public:
    explicit frmFinal(Session &session, QWidget *parent = nullptr);

    PatientProfile &presenter() { return m_presenter; }

    /// Shows the stay of `request` on the tab it names. False when the stay cannot be read.
    bool open(const WindowRequest &request);

    /// An examination picked in a department's examination list goes to the orders.
    void orderExam(const ChosenExam &exam);
    /// The orders the exam request entry accepted, added to the orders grid.
    void orderRequested(const QList<CommonExams::Order> &orders);

protected:
    void keyPressEvent(QKeyEvent *event) override;

Q_SIGNALS:
    /// A result viewer or a department's examination list asked for from one of the tabs.
    void resultWindowRequested(const QString &formName, const WindowRequest &request);

private:
    void buildUi();
    QWidget *buildHeader();
    QWidget *buildVitalSignsTab();
    QWidget *buildNotesTab();
    QWidget *buildProfileTab();
    QWidget *buildListTab(QTableWidget *&grid, const QString &name, const QString &note);
    QWidget *buildResultsTab();
    QWidget *buildRequestStatusTab();
    /// The request list's "Revoke": the chosen line, then the list again.
    void revokeRequest();
    QWidget *buildScheduleTab();
    QWidget *buildCommonExamsTab();
    QWidget *buildActions();
    void bind();
    void showHeader();
    void loadShownTab();
    void showVitalSigns();
    void printChart();
    void loadResultTab(int index);
    void loadSchedule();
    void showDaySchedule();
    void loadCommonExams();
    void showOrders();
    void saveOrders();
    void loadOperationRequest();
    void saveOperationRequest();
    /// Fills `list` with `rows`, the last `hidden` columns kept from sight.
    void fillGrid(QTableWidget *list, const RowSet &rows, int hidden = 0);
    void showVitalSignEntry();
    void readVitalSignEntry();
    void showNotes();
    void showChosenNote();
    void showHistory();
    void readHistory();
    void askHeightWeight();
    void closeWindow();

    Session &m_session;
    PatientProfile m_presenter;

    QProgressBar *m_meter = nullptr;
    QLabel *m_meterLabel = nullptr;
    QList<std::pair<QLineEdit *, QString ProfileHeader::*>> m_headerFields;
    QLabel *m_phicType = nullptr;
    QTabWidget *m_tabs = nullptr;

    // Vital signs.
    QLineEdit *m_systolic = nullptr;
    QLineEdit *m_diastolic = nullptr;
    QLineEdit *m_temperature = nullptr;
    QLineEdit *m_pulse = nullptr;
    QLineEdit *m_respiration = nullptr;
    QLineEdit *m_o2Sat = nullptr;
    QComboBox *m_protocol = nullptr;
    QPushButton *m_saveVitalSign = nullptr;
    QPushButton *m_editVitalSign = nullptr;
    QPushButton *m_deleteVitalSign = nullptr;
    QPushButton *m_cancelVitalSign = nullptr;
    QTableWidget *m_vitalSigns = nullptr;
    VitalSignsChart *m_chart = nullptr;
    QPushButton *m_printChart = nullptr;

    // Nurses' notes.
    QDateTimeEdit *m_noteTime = nullptr;
    QComboBox *m_shift = nullptr;
    QPlainTextEdit *m_noteEntry = nullptr;
    QPushButton *m_saveNote = nullptr;
    QTableWidget *m_previousNotes = nullptr;
    QPlainTextEdit *m_previousNote = nullptr;
    QPushButton *m_editNote = nullptr;
    QPushButton *m_deleteNote = nullptr;

    // Patient profile.
    QList<std::pair<ProfileHistory::Group, QList<QCheckBox *>>> m_historyBoxes;
    QList<std::pair<QLineEdit *, QString ProfileHistory::*>> m_historyFields;
    QPushButton *m_saveProfile = nullptr;

    // Lists.
    QTabWidget *m_resultTabs = nullptr;
    QTableWidget *m_laboratory = nullptr;
    /// The department result tabs after the laboratory's: grid and reading box.
    QList<std::pair<QTableWidget *, QPlainTextEdit *>> m_resultGrids;
    QList<QStringList> m_readings;
    QSet<int> m_loadedResultTabs;
    QTableWidget *m_reports = nullptr;
    QTableWidget *m_requestStatus = nullptr;

    // Schedule.
    QCalendarWidget *m_calendar = nullptr;
    QTableWidget *m_stayOperations = nullptr;
    QTableWidget *m_daySchedule = nullptr;
    QComboBox *m_opProcedure = nullptr;
    QComboBox *m_opSurgeon = nullptr;
    QComboBox *m_opRoom = nullptr;
    QLineEdit *m_opTime = nullptr;
    QSpinBox *m_opMinutes = nullptr;
    QLineEdit *m_opRemarks = nullptr;
    QPushButton *m_saveOperation = nullptr;

    // Common exams.
    QList<QListWidget *> m_examLists;
    QTableWidget *m_orders = nullptr;
    QLabel *m_ordersTotal = nullptr;
    QPushButton *m_removeOrder = nullptr;
    QPushButton *m_saveOrders = nullptr;

    QPushButton *m_back = nullptr;
};

} // namespace kestrel
