// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/ApplicationShell.h"

#include "charging/ui/WidgetChargeSaving.h"
#include "charging/ui/frmCharge.h"
#include "charging/ui/frmChargeSlipVerification.h"
#include "charging/ui/frmMarkupSettings.h"
#include "patients/ui/frmAdmittedPatients.h"
#include "patients/ui/frmPatientIndex.h"
#include "patients/ui/frmSearch.h"
#include "patients/ui/frmSearchAdmitted.h"
#include "reports/ReportCommands.h"
#include "reports/ReportService.h"
#include "reports/ui/WidgetReportDisplay.h"
#include "shell/ClientMenus.h"
#include "core/components/DrugLists.h"
#include "core/components/clsCodeLookup.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/clsLoginUser.h"
#include "core/components/clsPatientFinder.h"
#include "core/components/clsRvsLookup.h"
#include "core/components/clsTarvikClasses.h"
#include "shell/ui/LoginDialog.h"
#include "shell/ui/WidgetCodePickList.h"
#include "core/Installation.h"
#include "users/ui/frmUserLogs.h"
#include "users/ui/frmUserRights.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

namespace kestrel {

/// The main window as start-up sees it.
class ApplicationShell::WindowSeam : public StartupWindow
{
public:
    explicit WindowSeam(mdiORMenu &window)
        : m_window(window)
    {
    }

    bool loadBackground(const QString &file) override { return m_window.loadBackground(file); }
    void setCaption(const QString &caption) override { m_window.setCaption(caption); }
    void setPanel(int index, const QString &text, const QString &toolTip) override
    {
        m_window.setPanel(index, text, toolTip);
    }
    QString panelText(int index) const override { return m_window.panelText(index); }
    void setMenuVisible(const QString &menuName, bool visible) override
    {
        m_window.setMenuVisible(menuName, visible);
    }
    QSize screenSize() const override { return m_window.screenSize(); }
    QObject *windowObject() override { return &m_window; }

private:
    mdiORMenu &m_window;
};

ApplicationShell::ApplicationShell(Options options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_dialogs(m_notifier)
    , m_session(m_notifier, m_dialogs)
    , m_context(m_notifier)
    , m_presenter(m_session)
    , m_guard(QStringLiteral("kestrel-or"), m_options.lockFolder)
{
    m_session.ApplicationPath = QCoreApplication::applicationDirPath();
    m_dialogs.attach(m_session, installationScrambleKey(m_session.ApplicationPath));

    if (!m_options.loginPrompt) {
        m_loginDialog = std::make_unique<LoginDialog>();
        m_options.loginPrompt = m_loginDialog.get();
    }
    m_context.loginPrompt = m_options.loginPrompt;
    m_context.codePickList = &m_codePickList;
    m_context.applicationPath = m_session.ApplicationPath;
    m_context.openEmbedded = m_options.openEmbedded;
    m_context.embeddedPath = m_options.embeddedPath;
    m_context.procedures = m_options.procedures;

    m_window = std::make_unique<mdiORMenu>(m_presenter);
    m_windowSeam = std::make_unique<WindowSeam>(*m_window);
    m_assistant = std::make_unique<AssistantWidget>();

    StartupEnvironment env{
        m_notifier,
        *m_assistant,
        *m_windowSeam,
        m_guard,
        m_context,
        nullptr,
        QCoreApplication::applicationVersion(),
        [](const Session &s) { return StartupMenuVisibility(s.hospital, s.settings); }};
    m_startup = std::make_unique<Startup>(m_session, std::move(env));

    // "User Settings" asks the logged-in user's password again through the login component.
    m_presenter.setCheckUserSettings([this] {
        auto *user = qobject_cast<clsLoginUser *>(m_startup->components().user.get());
        return user && user->checkusersettings();
    });
    connect(&m_presenter, &MainMenu::exitRequested, this, &ApplicationShell::unload);

    // Every report command asks for the report viewer; each report opens a viewer of its own
    // in the work area, so the factory itself answers no window.
    m_window->windows().add(kReportViewer.toString(),
                            [this](const WindowRequest &request, QWidget *) -> QWidget * {
                                if (ReportCommands *commands = reportCommands())
                                    commands->run(request);
                                return nullptr;
                            });

    // The rights editor is modal and unloads when it closes; the user logs stay in the work
    // area as the one shared instance.
    m_window->windows().add(QStringLiteral("frmUserRights"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (open)
                                    return open;
                                auto *rights = new frmUserRights(m_session);
                                rights->setAttribute(Qt::WA_DeleteOnClose);
                                return rights;
                            });
    // The markup master stays in the work area as the one shared instance.
    m_window->windows().add(QStringLiteral("frmMarkupSettings"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                return open ? open : new frmMarkupSettings(m_session);
                            });
    // The charge window of the selected patient stays in the work area as the one shared
    // instance; it opens only with the right to post, a selected patient and an open account.
    // Selected again for another patient, it shows that patient's charges.
    m_window->windows().add(
        QStringLiteral("frmCharge"), [this](const WindowRequest &, QWidget *open) -> QWidget * {
            auto *charge = qobject_cast<frmCharge *>(open);
            if (charge && charge->presenter().header().idNum ==
                              m_session.CurrentPatient.IdNum.trimmed())
                return charge;
            if (!charge) {
                const ComponentSet &c = m_startup->components();
                // Start-up hands the drug picker the login's connection string, through which
                // it cannot search; the charge window gives it the connection itself.
                auto *picker = qobject_cast<clsDrugPicker *>(c.drugPicker.get());
                if (picker && !picker->connection())
                    picker->InitConnect(&m_session.db());
                charge = new frmCharge(
                    m_session, {qobject_cast<clsCodeLookup *>(c.codeLookup.get()),
                                picker, qobject_cast<DrugListComponent *>(c.drugList.get()),
                                qobject_cast<clsRvsLookup *>(c.rvsLookup.get())});
                charge->presenter().setWindowOpener(
                    [this](const QString &formName, const WindowRequest &request) {
                        m_presenter.openWindow(formName, request);
                    });
                // Saving and reprinting go through the posting, which prints the slip.
                if (ReportService *reports = reportService())
                    charge->presenter().setSaving(
                        &(new WidgetChargeSaving(
                              m_session, *reports, qobject_cast<clsCodeLookup *>(c.codeLookup.get()),
                              qobject_cast<clsDrugPicker *>(c.drugPicker.get()), charge))
                             ->saving());
            }
            if (charge->presenter().open())
                return charge;
            if (charge != open)
                delete charge;
            return open;
        });
    // The charge slip sequence is modal and unloads when it closes.
    m_window->windows().add(
        QStringLiteral("frmChargeSlipVerification"),
        [this](const WindowRequest &, QWidget *open) -> QWidget * {
            if (open)
                return open;
            auto *sequence = new frmChargeSlipVerification(
                m_session, qobject_cast<clsCodeLookup *>(m_startup->components().codeLookup.get()));
            sequence->setAttribute(Qt::WA_DeleteOnClose);
            return sequence;
        });
    m_window->windows().add(QStringLiteral("frmUserLogs"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (open)
                                    return open;
                                ReportService *reports = reportService();
                                return reports ? new frmUserLogs(m_session, *reports) : nullptr;
                            });

    // The patient list and the patient for a new schedule stay in the work area. The list's
    // popup menu on a patient row is the main window's Inquiry menu, with the CVOR command.
    m_window->windows().add(
        QStringLiteral("frmSearch"), [this](const WindowRequest &, QWidget *open) -> QWidget * {
            if (open)
                return open;
            return new frmSearch(
                m_session,
                qobject_cast<clsPatientFinder *>(m_startup->components().patientFinder.get()),
                &m_presenter, m_window->menu(u"mnuInquiry"));
        });
    m_window->windows().add(
        QStringLiteral("frmSearchAdmitted"),
        [this](const WindowRequest &, QWidget *open) -> QWidget * {
            if (open)
                return open;
            return new frmSearchAdmitted(
                m_session,
                qobject_cast<clsPatientFinder *>(m_startup->components().patientFinder.get()),
                &m_presenter);
        });

    // The admitted patients with a scheduled operation stay in the work area; the patient
    // index is modal, unloads when it closes and opens the surgical memo through the main
    // window. Opened from the patient list, it shows the highlighted patient at once.
    m_window->windows().add(QStringLiteral("frmAdmittedPatients"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                return open ? open : new frmAdmittedPatients(m_session);
                            });
    m_window->windows().add(
        QStringLiteral("frmPatientIndex"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            if (open)
                return open;
            const ComponentSet &components = m_startup->components();
            auto *index = new frmPatientIndex(
                m_session, qobject_cast<clsPatientFinder *>(components.patientFinder.get()),
                qobject_cast<clsCF4 *>(components.cf4));
            index->setAttribute(Qt::WA_DeleteOnClose);
            index->presenter().setWindowOpener(
                [this](const QString &formName, const WindowRequest &memo) {
                    m_presenter.openWindow(formName, memo);
                });
            if (!request.patient.HospNum.trimmed().isEmpty()) {
                index->presenter().setAdmissionNumber(request.patient.IdNum);
                index->presenter().validatePatient(request.patient.HospNum);
            }
            return index;
        });
}

ReportService *ApplicationShell::reportService()
{
    if (m_reports)
        return m_reports.get();
    if (m_unloaded || !m_session.currentUser() || !m_session.currentUser()->sqlconnection())
        return nullptr;
    m_reportDisplay = std::make_unique<WidgetReportDisplay>(m_notifier, m_window->workArea());
    m_reports = std::make_unique<ReportService>(
        m_session.db(), QDir(m_session.ApplicationPath).filePath(QStringLiteral("Reports")),
        ReportHeadings{m_session.hospital.Company, m_session.hospital.Address1}, *m_reportDisplay,
        m_notifier);
    return m_reports.get();
}

ReportCommands *ApplicationShell::reportCommands()
{
    if (m_reportCommands)
        return m_reportCommands.get();
    ReportService *reports = reportService();
    if (!reports)
        return nullptr;
    m_reportCommands = std::make_unique<ReportCommands>(m_session, *reports);
    return m_reportCommands.get();
}

ApplicationShell::~ApplicationShell()
{
    unload();
}

Startup::Outcome ApplicationShell::start()
{
    const Startup::Outcome outcome = m_startup->run();
    if (outcome != Startup::Outcome::Running) {
        unload();
        return outcome;
    }
    m_window->show();
    // Showing the window is its first activation, whether or not a window manager says so.
    m_presenter.refreshNextChargeSlip();
    return outcome;
}

void ApplicationShell::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // Every window closes with the main window, before what they work with goes away.
    if (m_window)
        m_window->workArea()->closeAllSubWindows();
    // The reports read through the user's connection, which the start-up releases.
    m_reportCommands.reset();
    m_reports.reset();
    m_reportDisplay.reset();
    m_startup->unload();
    if (m_window)
        m_window->hide();
    Q_EMIT finished();
}

} // namespace kestrel
