// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/WindowRequest.h"

#include <QHash>
#include <QObject>
#include <QRect>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace kestrel {

class Session;

/// The run-time state of one menu that the main window's commands or start-up change: what
/// is not set stays as the menu was built.
struct MenuState
{
    std::optional<bool> visible;
    std::optional<bool> enabled;
    std::optional<QString> caption;
};

/// The command side of the main window `mdiORMenu`: every menu and toolbar command, the
/// access rights and patient checks in front of them, CVOR tagging, the exit question, the
/// next charge slip number, and the menus whose state changes while the program runs.
///
/// Windows owned by other parts of the program are never created here: every command that
/// opens one goes through openWindow(), which announces it with windowRequested().
class MainMenu : public QObject, public MainWindowCommands
{
    Q_OBJECT

public:
    /// `checkUserSettings` asks the logged-in user's password again (the user object's
    /// `checkusersettings`); true when it was typed right.
    explicit MainMenu(Session &session, std::function<bool()> checkUserSettings = {},
                      QObject *parent = nullptr);

    Session &session() const { return m_session; }
    void setCheckUserSettings(std::function<bool()> checkUserSettings);

    /// The one way a command opens a window: emits windowRequested().
    void openWindow(const QString &formName, const WindowRequest &request) override;

    /// The state the menu `name` has been given since start-up (see MenuState).
    MenuState menuState(const QString &name) const;
    /// Every menu whose state was changed, by name.
    QStringList changedMenus() const { return m_menus.keys(); }
    /// Shows or hides one menu (start-up's client and setting dependent menus).
    void setMenuVisible(const QString &name, bool visible) override;
    void setMenusVisible(const QHash<QString, bool> &visibility);
    /// Enables or disables the commands that need a selected patient: "Personal Info",
    /// "Patient's Ledger" and "Request Status". The patient list turns them on when a
    /// patient is selected and off when it closes.
    void setPatientCommandsEnabled(bool enabled) override;
    /// The caption of the CVOR command. The patient list sets it to "Untag as CVOR/RR Patient"
    /// for a stay already tagged, and the command then untags.
    void setCVORCaption(const QString &caption) override;
    QString cvorCaption() const;

    /// The text of the "Next Charge Slip #" panel, as of the last refresh.
    QString nextChargeSlip() const { return m_nextChargeSlip; }

    /// Asks "Are you sure you want to close Kestrel?"; on Yes emits exitRequested() and
    /// answers true.
    bool confirmExit();

public Q_SLOTS:
    // Every command is named after its menu. A command checks its access right and, where it
    // works on the selected stay, that a patient is selected, telling the user when not; then
    // it opens its window (reports through the report viewer).

    // File
    void mnuOpen();
    void mnuBuild();
    /// Re-validation, then the charge slip right of the employee who signed.
    void mnuChargeSlip();
    void mnuMarkUp();
    void mnuTagProcedures();
    void mnuUserLogs();
    /// The user's password again, then the access-rights editor.
    void mnuUser();

    // Reports
    void mnuCVORCensus();
    void mnuEquipment();
    void mnuDetailed();
    void mnuSummary();
    void mnuProcedureCount();
    void mnuOldFormatIncomeDetailed();
    void mnuGUVOIncomeReport();
    void mnuOldFormatIncomeSummary();
    void mnuPriceList();
    void mnuMedsSummary();
    void mnuPerDate();
    void mnuPerDoctor();
    void mnuPerPatient();
    void mnuPerProcedure();
    void mnuLedger();
    void mnuPxCSSR();
    void mnuAudit();
    void mnuCensusOrig();
    void mnuCensusDetailed();
    void mnuCensusSummary();
    void mnuCensusAllDetailed();
    void mnuCensusAllSummary();
    void mnuMonthly();
    void mnuCSFTemplate();
    void mnuPhilhealth();
    void mnuScheduleofoperations();
    void mnuORMandatory();
    void mnuORReport();
    void mnuORLogbook();
    void mnuMonthlyORRoomCases();
    void mnuYearlyORRoomCases();
    void mnuTopCases();
    void mnuDOH();
    void mnuStat();
    void mnuAdmCensus();
    void mnuCash();
    void mnuTimeNMotion();
    void mnuYearlyIncome();
    void mnuAMPickUp();
    void mnuStocksMonitoring();
    void mnuProcCatRep();

    // Assessment
    /// The walk-in cash assessment with the station's charging codes.
    void mnuAssessment();

    // Inquiry
    void mnuSpecialTreatment();
    void mnuSterilizationConsent();
    void mnuSurgicalTreatment();
    void mnuConsentTreatment();
    void mnuFluid();
    void mnuHourlyMonitoring();
    void mnuLabChemistry();
    void mnuLabHematology();
    void mnuLabImmunoSerology();
    void mnuLabMicrobiology();
    void mnuLabMicroscopic();
    void mnuLRForm();
    void mnuORSchedEntry();
    void mnuPreOp();
    void mnuOperativeTechnique();
    void mnuDischargeNoticeStatus();
    void mnuPDS();
    void mnuInfo();
    /// The CF4 entry of the selected stay, with its title and the hospital's heading.
    void mnuCF4();
    void mnuCSF();
    void mnuPreAnesFirst();
    void mnuReprintLab();
    void mnuRS();
    void mnuCountingSheet();
    void mnuSSC();
    void mnuResultDischarge();
    /// Tags or untags the selected stay as a CVOR/RR patient, as the command's caption says,
    /// in the name of the employee who signs.
    void mnuCVOR();
    void mnuSOA();
    void mnuWHOSurgicalSafety();

    // The other top-level commands
    void mnuSchedule();
    /// Late charges of a discharged patient: turns the selected patient's commands off.
    void mnuRecvbles();
    void mnuListDischargeNotice();
    /// Asks the exit question; see confirmExit().
    void mnuExitApps();

    /// A toolbar button by its key: "Open", "Report", "Operation", "Build", "RUV", "Exit".
    void toolbarButtonClicked(const QString &key);
    /// An item of the toolbar's "Report" drop-down by its key: "Audit", "Month",
    /// "Statistics", "Stockcard", "Exit".
    void reportMenuClicked(const QString &key);

    // The alert buttons of the background monitors
    void cmdCommunication();
    void cmdPanicLab();
    void cmdRevokedRequests();
    void cmdAdmissions();
    void cmdRequestSched();

    /// Reads the next charge slip number again; the main window does it every time it
    /// becomes the active window, so a number changed elsewhere shows at once.
    void refreshNextChargeSlip();

Q_SIGNALS:
    /// A command asks for window `formName` ("frmSchedule"). Reports are asked for as
    /// "frmReportViewer" with the report command in `request.command`.
    void windowRequested(const QString &formName, const kestrel::WindowRequest &request);
    /// The user confirmed the exit question: the main window unloads and the program ends.
    void exitRequested();
    /// The state of menu `name` changed; read it with menuState().
    void menuChanged(const QString &name);
    void nextChargeSlipChanged(const QString &text);

private:
    /// Runs a command that only checks a right and a selected patient, then opens its window.
    void runCommand(QStringView name);
    bool grantedOrTold(QStringView right, QStringView employee, const QString &refusal);
    bool patientSelectedOrTold();
    WindowRequest requestFor(QStringView command, const QString &caption, bool modal) const;
    void updateMenu(const QString &name, const std::function<void(MenuState &)> &change);

    Session &m_session;
    std::function<bool()> m_checkUserSettings;
    QHash<QString, MenuState> m_menus;
    QString m_nextChargeSlip;
    /// Whether the failure of the charge slip refresh was told already. It is told once until
    /// a refresh succeeds again: closing the error box activates the main window, which would
    /// run the refresh straight into the same box, over and over.
    bool m_refreshFailureTold = false;
};

/// The form name under which report commands ask for the report viewer.
inline constexpr QStringView kReportViewer = u"frmReportViewer";

/// Where an MDI child window goes when the screen's work area changes: a child at least as
/// wide as the work area is moved to its left edge and given its width, one at least as tall
/// to its top edge and given its height; a smaller child stays where it is.
QRect keepInsideWorkArea(const QRect &child, const QRect &workArea);

} // namespace kestrel

