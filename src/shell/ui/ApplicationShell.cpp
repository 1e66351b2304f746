// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/ApplicationShell.h"

#include "assessment/ui/frmAssessment.h"
#include "assessment/ui/frmCashCM.h"
#include "caserates/ui/frmHBPS.h"
#include "caserates/ui/frmHBPSCaseRate.h"
#include "charging/ReceivableSearch.h"
#include "charging/ui/frmCancelPackage.h"
#include "charging/ui/frmCharge.h"
#include "charging/ui/frmChargeSlipVerification.h"
#include "charging/ui/frmCSREntry.h"
#include "charging/ui/frmListPackage.h"
#include "charging/ui/frmListPosted.h"
#include "charging/ui/frmMarkupSettings.h"
#include "charging/ui/frmPharmacyRequest.h"
#include "charging/ui/frmPHEntry.h"
#include "charging/ui/frmPipe.h"
#include "charging/ui/frmRecievable.h"
#include "charging/ui/frmReturn.h"
#include "charging/ui/frmTranscription.h"
#include "charging/ui/frmTranscriptionStatus.h"
#include "charging/ui/WidgetChargeRevoke.h"
#include "charging/ui/WidgetChargeSaving.h"
#include "core/components/clsCodeLookup.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/clsIcdLookup.h"
#include "core/components/clsIssuedMedicines.h"
#include "core/components/clsLoginUser.h"
#include "core/components/clsPatientFinder.h"
#include "core/components/clsRvsLookup.h"
#include "core/components/clsStatement.h"
#include "core/components/clsTarvikClasses.h"
#include "core/components/DrugLists.h"
#include "core/Installation.h"
#include "core/Notifier.h"
#include "core/ui/WaitProgress.h"
#include "discharge/ui/frmClearPatient.h"
#include "discharge/ui/frmDCRInstructionMedicationSheetNew.h"
#include "discharge/ui/frmDischargeMenu.h"
#include "discharge/ui/frmDischargeNotice.h"
#include "examrequests/ui/frmPrintRequestForm.h"
#include "examrequests/ui/frmRequest.h"
#include "examrequests/ui/frmRequestReprint.h"
#include "examrequests/ui/frmSelectLabExam.h"
#include "nursing/ui/NursingSheetWindows.h"
#include "nursing/ui/NursingWindows.h"
#include "orrecord/ui/frmChart.h"
#include "orrecord/ui/frmCVORPatients.h"
#include "orrecord/ui/frmSurgicalMemo.h"
#include "orrecord/ui/frmTagORProcedures.h"
#include "orrecord/ui/frmUpdateORRecord.h"
#include "patients/ui/frmAdmittedPatients.h"
#include "patients/ui/frmInfo.h"
#include "patients/ui/frmPatientIndex.h"
#include "patients/ui/frmSearch.h"
#include "patients/ui/frmSearchAdmitted.h"
#include "profile/results/CdfDetails.h"
#include "profile/results/HeartViewer.h"
#include "profile/results/ui/ExamListWindow.h"
#include "profile/results/ui/frmAutoPrint.h"
#include "profile/results/ui/frmCdfViewing.h"
#include "profile/results/ui/frmPanicValues.h"
#include "profile/results/ui/LabTabularWindow.h"
#include "profile/ui/frmFinal.h"
#include "profile/ui/frmNotificationforHemodialysis.h"
#include "reports/ReportCommands.h"
#include "reports/ReportService.h"
#include "reports/ui/frmMenuPrints.h"
#include "reports/ui/WidgetReportDisplay.h"
#include "scheduling/ui/frmBuildORRooms.h"
#include "scheduling/ui/frmCommunicationSchedule.h"
#include "scheduling/ui/frmEditORSchedule.h"
#include "scheduling/ui/frmRevokedRequests.h"
#include "scheduling/ui/frmSchedule.h"
#include "scheduling/ui/frmScheduleRequestStatus.h"
#include "shell/ClientMenus.h"
#include "shell/ui/LoginDialog.h"
#include "shell/ui/WidgetCodePickList.h"
#include "shell/ui/WidgetMonitors.h"
#include "users/ui/frmUserLogs.h"
#include "users/ui/frmUserRights.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTimer>

namespace kestrel {

namespace {

/// The drug picker of the entry windows. Start-up hands it the login's connection string,
/// through which it cannot search; the windows give it the connection itself.
clsDrugPicker *connectedPicker(const ComponentSet &c, Database &db)
{
    auto *picker = qobject_cast<clsDrugPicker *>(c.drugPicker.get());
    if (picker && !picker->connection())
        picker->InitConnect(&db);
    return picker;
}

/// The companion components the charge, assessment and receivable windows look items up with.
ChargeEntry::Components entryComponents(const ComponentSet &c, Database &db)
{
    return {qobject_cast<clsCodeLookup *>(c.codeLookup.get()), connectedPicker(c, db),
            qobject_cast<DrugListComponent *>(c.drugList.get()),
            qobject_cast<clsRvsLookup *>(c.rvsLookup.get())};
}

/// The companion components the pharmacy's and central supply's request windows look medicines
/// up with.
RequestEntry::Components requestComponents(const ComponentSet &c, Database &db)
{
    const ChargeEntry::Components entry = entryComponents(c, db);
    return {entry.codeLookup, entry.drugPicker, entry.drugList};
}

/// The stay a command asks for: its "IdNum", else the selected patient's.
QString requestedStay(const WindowRequest &request, const Session &session)
{
    return request.values.value(QStringLiteral("IdNum"), session.CurrentPatient.IdNum).toString();
}

/// The patient a command asks for: its "HospNum", else the selected patient's.
QString requestedPatient(const WindowRequest &request, const Session &session)
{
    return request.values.value(QStringLiteral("HospNum"), session.CurrentPatient.HospNum)
        .toString();
}

/// The posted OR procedure the OR record and the surgical memo open on, as their opener
/// hands it over.
OROpening requestedOperation(const WindowRequest &request)
{
    const QVariantMap &v = request.values;
    OROpening o;
    o.hospNum = v.value(QStringLiteral("HospNum"), request.patient.HospNum).toString();
    o.idNum = v.value(QStringLiteral("IdNum"), request.patient.IdNum).toString();
    o.refNum = v.value(QStringLiteral("RefNum")).toString();
    o.operatingNum = v.value(QStringLiteral("OperatingNum")).toLongLong();
    o.procedureId = v.value(QStringLiteral("ProcedureID")).toString();
    o.procedureName = v.value(QStringLiteral("ProcedureName")).toString();
    o.clinicalRevenueId = v.value(QStringLiteral("ClinicalRevenueID")).toString();
    return o;
}

/// What a factory answers once its window tried to open: the window when it opened; else the
/// one already in the work area (if any), a window made for this request being let go.
QWidget *openedOrKept(QWidget *window, bool opened, QWidget *open)
{
    if (opened)
        return window;
    if (window != open)
        delete window;
    return open;
}

} // namespace

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
        if (auto server = installationServer(m_session.ApplicationPath))
            m_loginDialog->setInstalledServer(server->service.isEmpty() ? server->host
                                                                        : server->service);
        m_options.loginPrompt = m_loginDialog.get();
    }
    m_context.loginPrompt = m_options.loginPrompt;
    m_context.codePickList = &m_codePickList;
    m_context.listingView = &m_listingView;
    m_context.sharedConnection = [this]() -> Database * {
        return m_session.currentUser() ? m_session.currentUser()->sqlconnection() : nullptr;
    };
    m_context.applicationPath = m_session.ApplicationPath;
    m_context.openEmbedded = m_options.openEmbedded;
    m_context.embeddedPath = m_options.embeddedPath;
    m_context.procedures = m_options.procedures;

    m_window = std::make_unique<mdiORMenu>(m_presenter);
    // A save waiting for records another workstation holds shows its progress and can be
    // cancelled; the window keeps answering between its tries.
    static WaitProgress waitProgress;
    setWaitObserver(&waitProgress);
    m_windowSeam = std::make_unique<WindowSeam>(*m_window);
    m_assistant = std::make_unique<AssistantWidget>();
    // The monitors poll from the end of start-up; clicking the assistant lists the discharge
    // notices it announces.
    m_monitors = std::make_unique<WidgetMonitors>(m_session, *m_assistant, *m_window);
    connect(m_assistant.get(), &AssistantWidget::clicked, &m_presenter,
            &MainMenu::mnuListDischargeNotice);

    StartupEnvironment env{
        m_notifier,
        *m_assistant,
        *m_windowSeam,
        m_guard,
        m_context,
        &m_monitors->monitors(),
        QCoreApplication::applicationVersion(),
        [](const Session &s) { return StartupMenuVisibility(s.hospital, s.settings); }};
    m_startup = std::make_unique<Startup>(m_session, std::move(env));

    // "User Settings" asks the logged-in user's password again through the login component.
    m_presenter.setCheckUserSettings([this] {
        auto *user = qobject_cast<clsLoginUser *>(m_startup->components().user.get());
        return user && user->checkusersettings();
    });
    connect(&m_presenter, &MainMenu::exitRequested, this, &ApplicationShell::unload);

    registerToolWindows();
    registerChargingWindows();
    registerRequestWindows();
    registerProfileWindows();
    registerScheduleWindows();
    registerORRecordWindows();
    registerDischargeWindows();
    registerNursingWindows();
}

// The report viewer, the users' windows, the markup master and the companion components' own
// windows.
void ApplicationShell::registerToolWindows()
{
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
    // The relative value scale (the toolbar's "RUV") and the statement of account of the
    // current patient are the components' own modal windows.
    m_window->windows().add(
        QStringLiteral("KsRvs.clsRvsLookup"),
        [this](const WindowRequest &, QWidget *) -> QWidget * {
            if (auto *rvs = qobject_cast<clsRvsLookup *>(m_startup->components().rvsLookup.get()))
                rvs->List();
            return nullptr;
        });
    m_window->windows().add(QStringLiteral("KsStatement.clsStatement"),
                            [this](const WindowRequest &, QWidget *) -> QWidget * {
                                auto *user = qobject_cast<clsLoginUser *>(
                                    m_startup->components().user.get());
                                StatementRequest r;
                                if (user) {
                                    r.servername = user->servername();
                                    r.database = user->Database();
                                    r.userId = user->UserID();
                                    r.serverPassword = user->ServerPassword();
                                    r.employeeCode = user->EmployeeCode();
                                    r.employeeName = user->EmployeeName();
                                    r.userName = user->EmployeeName();
                                }
                                r.admissionNumber = m_session.CurrentPatient.IdNum.trimmed();
                                r.hospitalNumber = m_session.CurrentPatient.HospNum.trimmed();
                                showStatementOfAccount(m_context, r);
                                return nullptr;
                            });
    // The charge slip sequence is modal and unloads when it closes.
    m_window->windows().add(QStringLiteral("frmChargeSlipVerification"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (open)
                                    return open;
                                auto *sequence =
                                    new frmChargeSlipVerification(m_session, codeLookup());
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
}

// The charge window and what opens from it, the assessments, the returns and the receivables.
void ApplicationShell::registerChargingWindows()
{
    // The charge window of the selected patient stays in the work area as the one shared
    // instance; it opens only with the right to post, a selected patient and an open account.
    // Selected again for another patient, it shows that patient's charges.
    m_window->windows().add(
        QStringLiteral("frmCharge"), [this](const WindowRequest &, QWidget *open) -> QWidget * {
            auto *charge = qobject_cast<frmCharge *>(open);
            if (charge &&
                charge->presenter().header().idNum == m_session.CurrentPatient.IdNum.trimmed())
                return charge;
            if (!charge) {
                const ChargeEntry::Components c =
                    entryComponents(m_startup->components(), m_session.db());
                charge = new frmCharge(m_session, c);
                charge->presenter().setWindowOpener(windowOpener());
                // Saving and reprinting go through the posting, which prints the slip.
                if (ReportService *reports = reportService())
                    charge->presenter().setSaving(
                        &(new WidgetChargeSaving(m_session, *reports, c.codeLookup, c.drugPicker,
                                                 charge))
                             ->saving());
                // Revoking a posted line puts its stock back through the same picker.
                charge->presenter().setRevoking(
                    &(new WidgetChargeRevoke(m_session, c.drugPicker, charge))->revoke());
            }
            return openedOrKept(charge, charge->presenter().open(), open);
        });
    // Late charges of a discharged and billed account (the menu checked right 13): one window,
    // which picks its account in its own search. Asked with an admission number ("IdNum"), it
    // shows that account at once.
    m_window->windows().add(
        QStringLiteral("frmRecievable"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            auto *receivable = qobject_cast<frmRecievable *>(open);
            if (!receivable) {
                const ChargeEntry::Components c =
                    entryComponents(m_startup->components(), m_session.db());
                receivable = new frmRecievable(m_session, c);
                receivable->presenter().setWindowOpener(windowOpener());
                if (ReportService *reports = reportService()) {
                    auto *saving = new WidgetChargeSaving(m_session, *reports, c.codeLookup,
                                                          c.drugPicker, receivable);
                    saving->posting().setAccount(&receivable->account());
                    receivable->presenter().setSaving(&saving->saving());
                }
                auto *revoke = new WidgetChargeRevoke(m_session, c.drugPicker, receivable);
                revoke->revoke().setAccount(&receivable->account());
                receivable->presenter().setRevoking(&revoke->revoke());
            }
            const QString IdNum = request.values.value(QStringLiteral("IdNum")).toString();
            if (!IdNum.isEmpty()) {
                const bool visit = IdNum.trimmed().endsWith(u'B', Qt::CaseInsensitive);
                ReceivableSearch search(m_session);
                if (search.search(ReceivableSearch::Category::AdmissionNumber, !visit, IdNum))
                    receivable->pick(search.stayOf(0));
            }
            return receivable;
        });
    // The assessment windows: the cash patient's and the clinical departments' for the selected
    // patient, the walk-in's by name. Each stays in the work area as the one shared instance;
    // opened again it starts anew for the patient then selected.
    for (const AssessmentKind kind :
         {AssessmentKind::Cash, AssessmentKind::WalkIn, AssessmentKind::Clinical}) {
        m_window->windows().add(
            AssessmentEntry::formName(kind),
            [this, kind](const WindowRequest &request, QWidget *open) -> QWidget * {
                auto *window = qobject_cast<frmAssessment *>(open);
                if (window && kind == AssessmentKind::WalkIn)
                    return window;
                if (!window) {
                    window = new frmAssessment(
                        m_session, kind, entryComponents(m_startup->components(), m_session.db()));
                    if (ReportService *reports = reportService())
                        window->setReports(*reports);
                    window->setWindowOpener(windowOpener());
                }
                return openedOrKept(window, window->open(request), open);
            });
    }
    // The cash credit memo of the selected patient, opened from the cash assessment window.
    m_window->windows().add(QStringLiteral("frmCashCM"),
                            [this](const WindowRequest &request, QWidget *open) -> QWidget * {
                                auto *memo = qobject_cast<frmCashCM *>(open);
                                if (!memo) {
                                    memo = new frmCashCM(m_session);
                                    memo->presenter().setReports(reportService());
                                }
                                return openedOrKept(memo, memo->open(request), open);
                            });
    // The return window of the selected stay, for medicines or, asked with Mode "CS", supplies.
    // One with lines not yet posted for the same stay is shown as it is.
    m_window->windows().add(
        QStringLiteral("frmReturn"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            const bool medicines = request.values.value(QStringLiteral("Mode")).toString() != u"CS";
            auto *returns = qobject_cast<frmReturn *>(open);
            if (returns && returns->presenter().hasUnsaved() &&
                returns->presenter().medicines() == medicines)
                return returns;
            if (!returns) {
                const ComponentSet &c = m_startup->components();
                returns = new frmReturn(m_session,
                                        qobject_cast<clsIssuedMedicines *>(c.issuedMedicines.get()),
                                        connectedPicker(c, m_session.db()));
                returns->presenter().setReports(reportService());
                QObject::connect(returns, &frmReturn::postedListRequested, returns, [this] {
                    WindowRequest list;
                    list.caption = QStringLiteral("List of Posted Medicines");
                    list.patient = m_session.CurrentPatient;
                    m_presenter.openWindow(QStringLiteral("frmListPosted"), list);
                });
            }
            return openedOrKept(returns, returns->open(medicines), open);
        });
    m_window->windows().add(QStringLiteral("frmListPosted"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                auto *list = qobject_cast<frmListPosted *>(open);
                                if (!list)
                                    list = new frmListPosted(m_session, reportService());
                                return openedOrKept(list, list->load(), open);
                            });
    // The OR packages of the selected stay: the list brings the ticked items into the open charge
    // window's grid; the cancellation of posted packages opens from the list. Both are read
    // again for the stay asked for, and a change reads the charge window's posted list again.
    m_window->windows().add(QStringLiteral("frmListPackage"),
                            [this](const WindowRequest &request, QWidget *open) -> QWidget * {
                                auto *list = qobject_cast<frmListPackage *>(open);
                                if (!list) {
                                    list = new frmListPackage(m_session);
                                    list->setAttribute(Qt::WA_DeleteOnClose);
                                    list->setWindowOpener(windowOpener());
                                }
                                auto *charge = qobject_cast<frmCharge *>(
                                    m_window->windows().openInstance(QStringLiteral("frmCharge")));
                                list->setChargeEntry(charge ? &charge->presenter() : nullptr);
                                const CurrentPatientRecord stay = request.patient.isSelected()
                                                                      ? request.patient
                                                                      : m_session.CurrentPatient;
                                return openedOrKept(list, list->open(stay), open);
                            });
    m_window->windows().add(
        QStringLiteral("frmCancelPackage"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            auto *cancel = qobject_cast<frmCancelPackage *>(open);
            if (!cancel) {
                cancel = new frmCancelPackage(m_session);
                cancel->setAttribute(Qt::WA_DeleteOnClose);
                connect(&cancel->presenter(), &PackageCancellation::cancelled, this, [this] {
                    if (auto *charge = qobject_cast<frmCharge *>(
                            m_window->windows().openInstance(QStringLiteral("frmCharge"))))
                        charge->presenter().refresh();
                });
            }
            const CurrentPatientRecord stay =
                request.patient.isSelected() ? request.patient : m_session.CurrentPatient;
            return openedOrKept(cancel, cancel->open(stay), open);
        });
    // Piped oxygen of the selected stay, from the charge window; a closing charged reads the
    // charge window's posted list again.
    m_window->windows().add(
        QStringLiteral("frmPipe"), [this](const WindowRequest &, QWidget *open) -> QWidget * {
            auto *pipe = qobject_cast<frmPipe *>(open);
            if (!pipe) {
                pipe = new frmPipe(m_session);
                pipe->setAttribute(Qt::WA_DeleteOnClose);
                connect(&pipe->presenter(), &OxygenPipe::charged, this, [this] {
                    if (auto *charge = qobject_cast<frmCharge *>(
                            m_window->windows().openInstance(QStringLiteral("frmCharge"))))
                        charge->presenter().refresh();
                });
            }
            return openedOrKept(pipe, pipe->open(), open);
        });
    m_window->windows().add(QStringLiteral("frmStockMonitoring"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                return open ? open
                                            : new frmStockMonitoring(m_session, reportService());
                            });
}

// The pharmacy menu, the transcription and the request entries of the pharmacy and the central
// supply.
void ApplicationShell::registerRequestWindows()
{
    // The pharmacy menu the profile's "&Pharmacy" and "&Central Supply" open, in the mode they
    // name; opened again, it shows that mode. Its entries open the request windows below.
    m_window->windows().add(QStringLiteral("frmPharmacyRequest"),
                            [this](const WindowRequest &request, QWidget *open) -> QWidget * {
                                auto *menu = qobject_cast<frmPharmacyRequest *>(open);
                                if (!menu) {
                                    menu = new frmPharmacyRequest(m_session);
                                    menu->presenter().setWindowOpener(windowOpener());
                                }
                                menu->presenter().setMode(
                                    request.values.value(QStringLiteral("Mode")).toString());
                                return menu;
                            });
    // The pharmacy menu's transcription of the doctors' medication orders for the selected stay,
    // emptied when it opens, and the stay's transcription list its button opens, read again
    // each time.
    m_window->windows().add(QStringLiteral("frmTranscription"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                auto *notes = qobject_cast<frmTranscription *>(open);
                                if (!notes) {
                                    notes = new frmTranscription(
                                        m_session,
                                        requestComponents(m_startup->components(), m_session.db()));
                                    notes->presenter().setWindowOpener(windowOpener());
                                }
                                return openedOrKept(notes, notes->presenter().open(), open);
                            });
    m_window->windows().add(
        QStringLiteral("frmTranscriptionStatus"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            auto *status = qobject_cast<frmTranscriptionStatus *>(open);
            if (!status)
                status = new frmTranscriptionStatus(m_session);
            return openedOrKept(status, status->presenter().load(requestedStay(request, m_session)),
                                open);
        });
    // The request entries of the pharmacy (three layouts, as the station's switches choose) and
    // of the central supply: one window each for the selected stay, emptied when it opens.
    for (const RequestForm form : {RequestForm::Pharmacy, RequestForm::PharmacyWithDosage,
                                   RequestForm::PharmacyWithRouting, RequestForm::CentralSupply}) {
        m_window->windows().add(
            RequestLayout::of(form).formName,
            [this, form](const WindowRequest &, QWidget *open) -> QWidget * {
                auto *entry = qobject_cast<frmPHEntry *>(open);
                if (!entry) {
                    const RequestEntry::Components components =
                        requestComponents(m_startup->components(), m_session.db());
                    switch (form) {
                    case RequestForm::Pharmacy:
                        entry = new frmPHEntry(m_session, components);
                        break;
                    case RequestForm::PharmacyWithDosage:
                        entry = new frmPHEntrywithDosage(m_session, components);
                        break;
                    case RequestForm::PharmacyWithRouting:
                        entry = new frmPHEntrywithRouting(m_session, components);
                        break;
                    case RequestForm::CentralSupply:
                        entry = new frmCSREntry(m_session, components);
                        break;
                    }
                    entry->presenter().setReports(reportService());
                }
                return openedOrKept(entry, entry->presenter().open(), open);
            });
    }
}

// The patient profile and what opens from it: exam lists and requests, request forms and the
// result viewers; and the main window's result alerts.
void ApplicationShell::registerProfileWindows()
{
    // The patient profile of the stay the patient list selected, opened on the tab the list's
    // link names. Opened again, it shows the stay asked for; its action buttons open the other
    // work windows through the main window ("&Post Charges" the charge window).
    m_window->windows().add(QStringLiteral("frmFinal"),
                            [this](const WindowRequest &request, QWidget *open) -> QWidget * {
                                auto *profile = qobject_cast<frmFinal *>(open);
                                if (!profile) {
                                    profile = new frmFinal(m_session);
                                    profile->presenter().setWindowOpener(windowOpener());
                                    connect(profile, &frmFinal::resultWindowRequested, &m_presenter,
                                            &MainMenu::openWindow);
                                }
                                return openedOrKept(profile, profile->open(request), open);
                            });
    // The examination lists of the diagnostic departments, opened from the profile's ordering
    // panel for its stay; each stays in the work area as the one shared instance.
    for (const ExamDepartment &department : ExamList::departments()) {
        m_window->windows().add(
            department.form,
            [this, department](const WindowRequest &request, QWidget *open) -> QWidget * {
                auto *exams = qobject_cast<ExamListWindow *>(open);
                if (!exams) {
                    exams = new ExamListWindow(m_session, department);
                    // A click hands the examination to the orders of the open profile.
                    connect(
                        &exams->presenter(), &ExamList::examChosen, this,
                        [this](const ChosenExam &exam) {
                            if (auto *profile = qobject_cast<frmFinal *>(
                                    m_window->windows().openInstance(QStringLiteral("frmFinal"))))
                                profile->orderExam(exam);
                        });
                }
                exams->open(requestedStay(request, m_session));
                return exams;
            });
    }
    // The exam request entry of the department the profile's action button names ("LB" for
    // the cytology and surgical pathology exams); "&Accept" hands its lines to the orders of the
    // open profile, which sends them.
    m_window->windows().add(
        QStringLiteral("frmRequest"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            auto *entry = qobject_cast<frmRequest *>(open);
            if (!entry) {
                entry = new frmRequest(m_session, codeLookup());
                connect(&entry->presenter(), &ExamRequestEntry::accepted, this,
                        [this](const QList<ExamRequestLine> &lines) {
                            auto *profile = qobject_cast<frmFinal *>(
                                m_window->windows().openInstance(QStringLiteral("frmFinal")));
                            if (!profile)
                                return;
                            QList<CommonExams::Order> orders;
                            for (const ExamRequestLine &line : lines)
                                orders << ExamRequestEntry::toOrder(line);
                            profile->orderRequested(orders);
                        });
            }
            if (entry->open(requestedStay(request, m_session),
                            request.values.value(QStringLiteral("Mode")).toString())) {
                // Exams the command orders at once ("Codes"), each checked as if typed.
                const QStringList codes =
                    request.values.value(QStringLiteral("Codes")).toStringList();
                for (const QString &code : codes)
                    entry->presenter().pickExam(code);
                return entry;
            }
            if (entry != open)
                delete entry;
            return open;
        });
    // The laboratory request forms of the selected stay: printed, and printed again from the
    // main menu (in the layout with charge slips and nurses where the hospital keeps it). The
    // pharmacy menu's "Reprint Request Forms" asks for the reprint in its mode ("PH" or "CS"):
    // that is the pharmacy or central supply request form printed again.
    for (const LabRequestForms::Mode mode :
         {LabRequestForms::Mode::Print, LabRequestForms::Mode::Reprint,
          LabRequestForms::Mode::ReprintWithCharges}) {
        m_window->windows().add(
            frmPrintRequestForm::formName(mode),
            [this, mode](const WindowRequest &request, QWidget *open) -> QWidget * {
                const QString revenue = request.values.value(QStringLiteral("Mode")).toString();
                const QString idNum = requestedStay(request, m_session);
                if (mode == LabRequestForms::Mode::Reprint &&
                    (revenue == u"PH" || revenue == u"CS")) {
                    auto *reprint = new frmRequestReprint(m_session);
                    reprint->presenter().setReports(reportService());
                    return openedOrKept(reprint, reprint->open(idNum, revenue), open);
                }
                LabRequestForms::Mode shown = mode;
                if (mode == LabRequestForms::Mode::Reprint &&
                    m_session.hospital.clientname == u"QELM")
                    shown = LabRequestForms::Mode::ReprintWithCharges;
                auto *forms = qobject_cast<frmPrintRequestForm *>(open);
                if (!forms || forms->presenter().mode() != shown) {
                    forms = new frmPrintRequestForm(m_session, shown);
                    forms->presenter().setReports(reportService());
                }
                return openedOrKept(forms, forms->open(idNum), open);
            });
    }
    m_window->windows().add(
        QStringLiteral("frmRequestReprint"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            auto *reprint = qobject_cast<frmRequestReprint *>(open);
            if (!reprint) {
                reprint = new frmRequestReprint(m_session);
                reprint->presenter().setReports(reportService());
            }
            return openedOrKept(
                reprint,
                reprint->open(requestedStay(request, m_session),
                              request.values.value(QStringLiteral("Mode")).toString()),
                open);
        });
    // The hemodialysis notifications of the stay the profile's action button names; opened
    // again, it shows that stay.
    m_window->windows().add(QStringLiteral("frmNotificationforHemodialysis"),
                            [this](const WindowRequest &request, QWidget *open) -> QWidget * {
                                auto *hemo = qobject_cast<frmNotificationforHemodialysis *>(open);
                                if (!hemo)
                                    hemo = new frmNotificationforHemodialysis(m_session);
                                return openedOrKept(
                                    hemo,
                                    hemo->open(requestedStay(request, m_session),
                                               requestedPatient(request, m_session),
                                               m_session.CurrentPatient.PatientName),
                                    open);
                            });
    // The kidney programme's fund of the selected patient against his stay's bill: the charge
    // window's "CDF" button asks for it as frmCDF.
    for (const QString &form : {QStringLiteral("frmCdfViewing"), QStringLiteral("frmCDF")}) {
        m_window->windows().add(
            form, [this](const WindowRequest &request, QWidget *open) -> QWidget * {
                auto amounts = readCdfAmounts(m_session.db(), requestedStay(request, m_session),
                                              requestedPatient(request, m_session));
                if (!amounts) {
                    m_notifier.errorBox(amounts.error());
                    return open;
                }
                auto *cdf = qobject_cast<frmCdfViewing *>(open);
                if (!cdf)
                    cdf = new frmCdfViewing;
                cdf->showAmounts(*amounts);
                return cdf;
            });
    }
    // The laboratory exams of a stay printed in the tabular layout (the profile's tabular
    // button where the station chooses the exams first); opened again, it starts anew.
    m_window->windows().add(
        QStringLiteral("frmSelectLabExam"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            auto *select = qobject_cast<frmSelectLabExam *>(open);
            if (!select) {
                select = new frmSelectLabExam(m_session, codeLookup());
                select->presenter().setReports(reportService());
            }
            if (select->open(requestedStay(request, m_session))) {
                // Exams the command names at once ("Codes"), each added as if picked.
                const QStringList codes =
                    request.values.value(QStringLiteral("Codes")).toStringList();
                for (const QString &code : codes)
                    select->presenter().addExam(code);
                return select;
            }
            if (select != open)
                delete select;
            return open;
        });
    // The tabular laboratory view of the profile's stay, read again at each opening.
    m_window->windows().add(QStringLiteral("clsLaboratoryTabularFormat"),
                            [this](const WindowRequest &request, QWidget *open) -> QWidget * {
                                auto *tabular = qobject_cast<LabTabularWindow *>(open);
                                if (!tabular)
                                    tabular = new LabTabularWindow(m_session.db(), m_notifier);
                                tabular->open(
                                    requestedStay(request, m_session),
                                    request.values.value(QStringLiteral("LabExamID")).toString());
                                return tabular;
                            });
    // The heart station's result of the request the profile's heart station list names, in the
    // report viewer.
    m_window->windows().add(
        QStringLiteral("clsHeartViewer"),
        [this](const WindowRequest &request, QWidget *) -> QWidget * {
            HeartViewer(m_session.db(), reportService())
                .ViewHeartResult(request.values.value(QStringLiteral("RequestNum")).toString());
            return nullptr;
        });
    // The main window's alerts: the verified results to print and the panic values, each read
    // again when its alert is clicked while the window is open.
    m_window->windows().add(QStringLiteral("frmAutoPrint"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (auto *print = qobject_cast<frmAutoPrint *>(open)) {
                                    print->reload();
                                    return print;
                                }
                                return new frmAutoPrint(m_session, reportService());
                            });
    m_window->windows().add(QStringLiteral("frmPanicValues"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (auto *panic = qobject_cast<frmPanicValues *>(open)) {
                                    panic->refresh();
                                    return panic;
                                }
                                return new frmPanicValues(m_session, reportService());
                            });
}

// The patient lists, the schedule board and its requests, and the patient index.
void ApplicationShell::registerScheduleWindows()
{
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
    // The schedule board stays in the work area; the patient picker hands it the patient to
    // book. The rooms window is modal and unloads when it closes.
    m_window->windows().add(
        QStringLiteral("frmSchedule"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            auto *board = qobject_cast<frmSchedule *>(open);
            if (!board)
                board = new frmSchedule(m_session, &m_presenter, codeLookup(), reportService());
            const QString hospNum = request.values.value(QStringLiteral("SetHospNum")).toString();
            if (!hospNum.isEmpty())
                board->bookPatient(hospNum,
                                   request.values.value(QStringLiteral("SetIDNum")).toString(),
                                   request.values.value(QStringLiteral("PatientName")).toString());
            return board;
        });
    m_window->windows().add(QStringLiteral("frmBuildORRooms"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (open)
                                    return open;
                                auto *rooms =
                                    new frmBuildORRooms(m_session, codeLookup(), reportService());
                                rooms->setAttribute(Qt::WA_DeleteOnClose);
                                return rooms;
                            });
    // The wards' requests, the confirmed schedules and the revoked requests stay in the work
    // area as shared instances; the edit of one confirmed schedule is modal and unloads when
    // it closes, and a schedule revoked meanwhile opens no window.
    m_window->windows().add(QStringLiteral("frmCommunicationSchedule"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (auto *requests =
                                        qobject_cast<frmCommunicationSchedule *>(open)) {
                                    requests->presenter().load();
                                    return requests;
                                }
                                return new frmCommunicationSchedule(m_session, codeLookup());
                            });
    m_window->windows().add(
        QStringLiteral("frmEditORSchedule"),
        [this](const WindowRequest &request, QWidget *) -> QWidget * {
            auto *edit = new frmEditORSchedule(m_session, codeLookup());
            edit->setAttribute(Qt::WA_DeleteOnClose);
            if (!edit->load(request.values.value(QStringLiteral("TransNum")).toString())) {
                delete edit;
                return nullptr;
            }
            return edit;
        });
    m_window->windows().add(QStringLiteral("frmScheduleRequestStatus"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (open)
                                    return open;
                                return new frmScheduleRequestStatus(m_session, &m_presenter,
                                                                    codeLookup(), reportService());
                            });
    m_window->windows().add(QStringLiteral("frmRevokedRequests"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (auto *revoked = qobject_cast<frmRevokedRequests *>(open)) {
                                    revoked->presenter().load();
                                    return revoked;
                                }
                                return new frmRevokedRequests(m_session);
                            });
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
                cf4Entry());
            index->setAttribute(Qt::WA_DeleteOnClose);
            index->presenter().setWindowOpener([this](const QString &formName,
                                                      const WindowRequest &memo) {
                // Where the hospital keeps no surgical memo, a posted procedure opens its
                // OR record.
                if (!m_session.settings.EnableSurgicalMemoForm() &&
                    formName.startsWith(u"frmSurgicalMemo")) {
                    WindowRequest record = memo;
                    record.caption = QStringLiteral("Operation Procedures Entry");
                    m_presenter.openWindow(formName.endsWith(u"_VZ") ? QStringLiteral("frmChart_VZ")
                                                                     : QStringLiteral("frmChart"),
                                           record);
                    return;
                }
                m_presenter.openWindow(formName, memo);
            });
            if (!request.patient.HospNum.trimmed().isEmpty()) {
                index->presenter().setAdmissionNumber(request.patient.IdNum);
                index->presenter().validatePatient(request.patient.HospNum);
            }
            return index;
        });
}

// The OR record and the surgical memo, CVOR, the CF4, the stay at a glance, the claim signature
// form and the outpatient visit's result entry.
void ApplicationShell::registerORRecordWindows()
{
    // The OR record of one posted OR procedure, with the values its opener hands over (the
    // charge's RefNum, the record's OperatingNum, the procedure); the reduced layout carries
    // the count grids. A record with unsaved changes is only brought forward.
    for (const auto &[form, layout] :
         {std::pair{QStringLiteral("frmChart"), ORRecordEntry::Layout::Chart},
          {QStringLiteral("frmChart_VZ"), ORRecordEntry::Layout::ChartWithCounts}}) {
        m_window->windows().add(
            form, [this, kind = layout](const WindowRequest &request, QWidget *open) -> QWidget * {
                auto *chart = qobject_cast<frmChart *>(open);
                if (chart && chart->presenter().isModified())
                    return chart;
                if (!chart) {
                    chart = new frmChart(m_session, kind);
                    chart->setAttribute(Qt::WA_DeleteOnClose);
                    chart->presenter().setReportService(reportService());
                }
                return openedOrKept(chart, chart->open(requestedOperation(request)), open);
            });
    }
    // The surgical memo of one posted procedure, opened by the patient index with the same
    // values as the OR record (the index sends frmChart instead where the hospital keeps no
    // memo). A memo with unsaved changes is only brought forward.
    for (const QString &form :
         {QStringLiteral("frmSurgicalMemo"), QStringLiteral("frmSurgicalMemo_VZ")}) {
        m_window->windows().add(
            form, [this](const WindowRequest &request, QWidget *open) -> QWidget * {
                auto *memo = qobject_cast<frmSurgicalMemo *>(open);
                if (memo && memo->presenter().isModified())
                    return memo;
                if (!memo) {
                    memo = new frmSurgicalMemo(m_session);
                    memo->setAttribute(Qt::WA_DeleteOnClose);
                    memo->presenter().setReportService(reportService());
                }
                return openedOrKept(memo, memo->open(requestedOperation(request)), open);
            });
    }
    // The CVOR cases, their teams and the tagging of the OR's procedures.
    m_window->windows().add(QStringLiteral("frmCVORPatients"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (open)
                                    return open;
                                auto *cases = new frmCVORPatients(m_session);
                                cases->presenter().setReportService(reportService());
                                cases->setWindowOpener(windowOpener());
                                return cases;
                            });
    m_window->windows().add(
        QStringLiteral("frmUpdateCVOR"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            auto *team = qobject_cast<frmUpdateCVOR *>(open);
            if (team && team->presenter().isModified())
                return team;
            if (!team) {
                team = new frmUpdateCVOR(m_session);
                team->setAttribute(Qt::WA_DeleteOnClose);
            }
            return openedOrKept(
                team,
                team->load(request.values.value(QStringLiteral("IdNum")).toString(),
                           request.values.value(QStringLiteral("RefNum")).toString()),
                open);
        });
    m_window->windows().add(QStringLiteral("frmTagORProcedures"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                return open ? open : new frmTagORProcedures(m_session);
                            });
    // The CF4 of the selected stay, with the values the command hands over; its window is
    // modal and answers no window of the work area.
    m_window->windows().add(
        QStringLiteral("clsCF4"), [this](const WindowRequest &request, QWidget *) -> QWidget * {
            clsCF4 *cf4 = cf4Entry();
            if (!cf4)
                return nullptr;
            for (auto it = request.values.cbegin(); it != request.values.cend(); ++it)
                cf4->setProperty(it.key().toLatin1().constData(), it.value());
            cf4->ShowEntry();
            return nullptr;
        });
    // The selected stay at a glance, read again each time the command is given.
    m_window->windows().add(QStringLiteral("frmInfo"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                auto *info = qobject_cast<frmInfo *>(open);
                                if (!info)
                                    info = new frmInfo(m_session);
                                return openedOrKept(info, info->load(), open);
                            });
    // The claim signature form, complete or as a template; one window for each command.
    m_window->windows().add(
        QStringLiteral("frmCSFDoctors"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            const auto form = request.command == u"mnuCSFTemplate" ? CsfDoctors::Form::Template
                                                                   : CsfDoctors::Form::Complete;
            if (auto *csf = qobject_cast<frmCSFDoctors *>(open)) {
                if (csf->presenter().caption() == request.caption)
                    return csf;
                csf->close();
            }
            auto *csf = new frmCSFDoctors(m_session, reportService(), codeLookup(), form);
            csf->setAttribute(Qt::WA_DeleteOnClose);
            return csf;
        });
    // The result entry of the selected outpatient visit, one window per visit.
    m_window->windows().add(
        QStringLiteral("frmUpdateORRecord"),
        [this](const WindowRequest &request, QWidget *open) -> QWidget * {
            const QString idNum =
                request.values.value(QStringLiteral("IdNum"), request.patient.IdNum)
                    .toString()
                    .trimmed();
            auto *shown = qobject_cast<frmUpdateORRecord *>(open);
            if (shown && shown->presenter().record().idNum == idNum)
                return shown;
            auto *entry = new frmUpdateORRecord(
                m_session, qobject_cast<clsIcdLookup *>(m_startup->components().icdLookup.get()),
                m_session.settings.DcrOrderValidateCF4() ? cf4Entry() : nullptr);
            entry->setAttribute(Qt::WA_DeleteOnClose);
            return openedOrKept(entry, entry->open(idNum), open);
        });
}

// The OR nurses' forms, the consents and the monitoring sheets of the selected stay, from the
// main window's menu.
void ApplicationShell::registerNursingWindows()
{
    const auto nursingForms = nursingFormWindows(
        m_session, [this] { return reportService(); }, [this] { return codeLookup(); });
    for (auto it = nursingForms.cbegin(); it != nursingForms.cend(); ++it)
        m_window->windows().add(it.key(), it.value());
    // The consents and the monitoring sheets, from the main window's menu.
    const auto nursingSheets = nursingSheetWindows(
        m_session, [this] { return reportService(); }, [this] { return codeLookup(); });
    for (auto it = nursingSheets.cbegin(); it != nursingSheets.cend(); ++it)
        m_window->windows().add(it.key(), it.value());
}

// The discharge orders of the profile's stays; the discharge notices (the main window's command
// and the assistant's reminder), modal: a notice chosen opens its clearing, modal too. The
// discharge and room transfer and the discharge instructions open from the patient profile, one
// window per stay.
void ApplicationShell::registerDischargeWindows()
{
    WindowRegistry &windows = m_window->windows();
    // The discharge order of the stay the profile shows (its "Send Discharge Order" action),
    // one window per stay; a station that hides the case rates gets the simpler order with
    // the diagnosis, operation and fees as text.
    const auto dischargeOrder = [this](const WindowRequest &request, QWidget *open) -> QWidget * {
        const QString idNum = requestedStay(request, m_session).trimmed();
        if (m_session.settings.HideCaseRateOptions()) {
            auto *simple = qobject_cast<frmHBPS *>(open);
            if (simple && simple->presenter().idNum() == idNum)
                return simple;
            auto *order = new frmHBPS(m_session);
            order->setAttribute(Qt::WA_DeleteOnClose);
            return openedOrKept(order, order->open(idNum), open);
        }
        auto *caseRates = qobject_cast<frmHBPSCaseRate *>(open);
        if (caseRates && caseRates->presenter().order().idNum == idNum)
            return caseRates;
        auto *order = new frmHBPSCaseRate(m_session);
        order->setAttribute(Qt::WA_DeleteOnClose);
        return openedOrKept(order, order->open(idNum), open);
    };
    m_window->windows().add(QStringLiteral("frmHBPSCaseRate"), dischargeOrder);
    m_window->windows().add(QStringLiteral("frmHBPS"), dischargeOrder);
    windows.add(QStringLiteral("frmDischargeNotice"),
                [this](const WindowRequest &, QWidget *) -> QWidget * {
                    m_assistant->hide();
                    auto *list = new frmDischargeNotice(m_session);
                    list->setAttribute(Qt::WA_DeleteOnClose);
                    connect(list, &QDialog::finished, this, [this, list] {
                        if (!list->Valid())
                            return;
                        WindowRequest clear;
                        clear.command = QStringLiteral("frmDischargeNotice");
                        clear.caption = QStringLiteral("Clear Patient");
                        clear.modal = true;
                        clear.values.insert(QStringLiteral("IdNum"), list->IdNum());
                        QTimer::singleShot(0, this, [this, clear] {
                            m_presenter.openWindow(QStringLiteral("frmClearPatient"), clear);
                        });
                    });
                    if (list->load())
                        return list;
                    delete list;
                    return nullptr;
                });
    windows.add(QStringLiteral("frmClearPatient"),
                [this](const WindowRequest &request, QWidget *) -> QWidget * {
                    auto *clear = new frmClearPatient(m_session);
                    clear->setAttribute(Qt::WA_DeleteOnClose);
                    if (clear->open(request.values.value(QStringLiteral("IdNum")).toString()))
                        return clear;
                    delete clear;
                    return nullptr;
                });
    const auto stayOf = [this](const WindowRequest &request) {
        return requestedStay(request, m_session).trimmed();
    };
    windows.add(QStringLiteral("frmDischargeMenu"),
                [this, stayOf](const WindowRequest &request, QWidget *open) -> QWidget * {
                    const QString idNum = stayOf(request);
                    auto *menu = qobject_cast<frmDischargeMenu *>(open);
                    if (menu && menu->presenter().stay().idNum == idNum)
                        return menu;
                    menu = new frmDischargeMenu(m_session);
                    menu->setAttribute(Qt::WA_DeleteOnClose);
                    return openedOrKept(menu, menu->open(idNum), open);
                });
    const auto sheet = [this, stayOf](bool newer) {
        return [this, stayOf, newer](const WindowRequest &request, QWidget *open) -> QWidget * {
            const QString idNum = stayOf(request);
            auto *shown = qobject_cast<frmDCRInstructionMedicationSheet *>(open);
            if (shown && shown->presenter().idNum() == idNum)
                return shown;
            // The profile's button opens the newer sheet for an emergency-room visit.
            const bool useNewer =
                newer || discharge::DischargeInstructions::kindFor(m_session.db(), idNum) ==
                             discharge::DischargeInstructions::Kind::NewerSheet;
            frmDCRInstructionMedicationSheet *made =
                useNewer ? new frmDCRInstructionMedicationSheetNew(m_session, reportService())
                         : new frmDCRInstructionMedicationSheet(m_session, reportService());
            made->setAttribute(Qt::WA_DeleteOnClose);
            return openedOrKept(made, made->open(idNum), open);
        };
    };
    windows.add(QStringLiteral("frmDCRInstructionMedicationSheet"), sheet(false));
    windows.add(QStringLiteral("frmDCRInstructionMedicationSheetNew"), sheet(true));
}

clsCodeLookup *ApplicationShell::codeLookup() const
{
    return qobject_cast<clsCodeLookup *>(m_startup->components().codeLookup.get());
}

std::function<void(const QString &, const WindowRequest &)> ApplicationShell::windowOpener()
{
    return [this](const QString &formName, const WindowRequest &request) {
        m_presenter.openWindow(formName, request);
    };
}

clsCF4 *ApplicationShell::cf4Entry()
{
    auto *cf4 = qobject_cast<clsCF4 *>(m_startup->components().cf4);
    if (cf4)
        cf4->setEntryWindow(&m_cf4Window);
    return cf4;
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
    m_monitors->monitors().stopAll();
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
