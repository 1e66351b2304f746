// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/Startup.h"

#include "core/Assistant.h"
#include "core/components/clsLoginUser.h"
#include "core/db/Database.h"
#include "core/InstanceGuard.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "core/settings/HospitalSettings.h"
#include "core/StationLog.h"

#include <QDir>
#include <QLocale>
#include <QMetaObject>

namespace kestrel {

namespace {

// Components are called through their members by name, as the hospital's components always
// were: a member that is missing or fails answers false and the caller carries on.
bool callBool(QObject *component, const char *member, const QString &argument)
{
    bool ok = false;
    if (!component)
        return false;
    if (!QMetaObject::invokeMethod(component, member, Qt::DirectConnection, Q_RETURN_ARG(bool, ok),
                                   Q_ARG(QString, argument)))
        return false;
    return ok;
}

void setMember(QObject *component, const char *member, const QVariant &value)
{
    if (component)
        component->setProperty(member, value);
}

} // namespace

Startup::Startup(Session &session, StartupEnvironment env)
    : m_session(session)
    , m_env(std::move(env))
{
}

Startup::~Startup() = default;

QString Startup::serverPanelText(const QString &designText, bool hideServerIP,
                                 const QString &servername, const QString &liveServer,
                                 const QString &testServer)
{
    if (!hideServerIP)
        return designText + QStringLiteral(" : ") + servername;
    if (servername == liveServer)
        return designText + QStringLiteral(" : LIVE SERVER");
    if (servername == testServer)
        return designText + QStringLiteral(" : TEST SERVER");
    return designText + QStringLiteral(" : UNKNOWN SERVER");
}

Startup::Outcome Startup::run()
{
    Notifier &notifier = m_env.notifier;
    const QString appPath = m_session.ApplicationPath;

    // 1. One copy per user.
    if (!m_env.instance.acquire()) {
        notifier.message(QStringLiteral("Kestrel is already running."),
                         QStringLiteral("Notification"), Notifier::Icon::Critical);
        return Outcome::AlreadyRunning;
    }

    // 2-4. The login.
    m_session.LoggedIn = false;
    m_components.user =
        CreateComponent(QStringLiteral("KsUser.clsLoginUser"), m_env.componentContext);
    auto *user = qobject_cast<clsLoginUser *>(m_components.user.get());
    if (user) {
        setMember(user, "PasswordDeptCode", QStringLiteral("29"));
        setMember(user, "hwndParentForm", QVariant::fromValue(m_env.window.windowObject()));
        QMetaObject::invokeMethod(user, "showmain", Qt::DirectConnection);
    }
    if (!user || !user->property("Connected").toBool() || !user->sqlconnection()) {
        notifier.message(QStringLiteral("Login failed."), QStringLiteral("Warning"),
                         Notifier::Icon::Critical);
        return Outcome::LoginFailed;
    }
    m_session.setCurrentUser(user);
    Database &db = *user->sqlconnection();

    // 5. The assistant.
    if (!m_env.assistant.load(QDir(appPath).filePath(QStringLiteral("merlin.acs")))) {
        notifier.message(QStringLiteral("There's something wrong with Microsoft Agent Merlin.\n\n"
                                        "Please make sure he's not missing."),
                         QStringLiteral("Warning"), Notifier::Icon::Critical);
        return Outcome::AssistantMissing;
    }

    // 6. The background picture.
    if (!m_env.window.loadBackground(QDir(appPath).filePath(QStringLiteral("Main Menu1.jpg")))) {
        notifier.message(QStringLiteral("The file 'Main Menu1.jpg' is missing.\n\n"
                                        "Please notify your IT administrator."),
                         QStringLiteral("Warning"), Notifier::Icon::Critical);
        return Outcome::PictureMissing;
    }

    // 7. The server's clock.
    if (auto now = db.loadServerDate())
        m_session.ServerDate = now->date();
    else
        notifier.errorBox(now.error());

    // 8. Settings.
    LoadHospitalSettings(db, m_session.hospital, m_session.settings);

    // 9. Nothing has been written yet, so a station under maintenance leaves no trace.
    if (m_session.settings.ModuleUnderMaintenance()) {
        notifier.message(m_session.settings.ModuleMaintenanceMsg(), QStringLiteral("Notification"),
                         Notifier::Icon::Critical);
        return Outcome::UnderMaintenance;
    }

    // 10-12. The session, the caption and the log-in entry.
    m_session.LoggedIn = true;
    m_session.StationID = QStringLiteral("OR");
    m_session.StationName = QStringLiteral("Operating Room");
    m_env.window.setCaption(QStringLiteral("Tarvik - Operating Room ") + m_env.version);
    WriteStationLog(db, user->EmployeeCode(), QStringLiteral("Log In: Version: ") + m_env.version,
                    user->EmployeeCode(), QStringLiteral("OR"));

    // 13. The assistant waits in the screen's lower right corner.
    const QSize screen = m_env.window.screenSize();
    const QSize character = m_env.assistant.size();
    m_env.assistant.moveTo(screen.width() - character.width(),
                           screen.height() - character.height());

    // 14-15. Status bar.
    m_env.window.setPanel(2, user->Initial(), {});
    m_env.window.setPanel(3, user->EmployeeName(), {});
    // The date's tooltip is the server's date as the workstation writes a long date.
    m_env.window.setPanel(7, m_env.window.panelText(7),
                          QLocale().toString(m_session.ServerDate, QLocale::LongFormat));
    const QString serverPanel = serverPanelText(
        m_env.window.panelText(8), m_session.settings.HideServerIP(), user->servername(),
        m_session.settings.LiveServer(), m_session.settings.TestServer());
    // Only the text changes: the tooltip stays "Server Name".
    m_env.window.setPanel(8, serverPanel, QStringLiteral("Server Name"));
    // While the server cannot be reached the panel says so; the connection is opened again at
    // the next action, and the panel names the server again once it answers.
    db.setReachabilityListener([window = &m_env.window, serverPanel](bool reachable) {
        window->setPanel(8, reachable ? serverPanel : QStringLiteral("SERVER UNREACHABLE"),
                         QStringLiteral("Server Name"));
    });

    // 16. The connection already has the hospital's 120-second limit from the moment it was
    // opened; client-side cursors are how every result is read here anyway.

    // 17. The help file.
    m_helpFile = QDir(appPath).filePath(QStringLiteral("Reports/OR.Hlp"));

    // 18-19. Companion components.
    createComponents();
    handOverConnection();

    // 20-23. The menus of this hospital.
    const QString client = m_session.hospital.clientname;
    if (client == u"QELM")
        m_components.histopath = CreateComponent(QStringLiteral("KsHistopath.clsHistopathRequest"),
                                                 m_env.componentContext);
    if (m_env.menuVisibility) {
        const QHash<QString, bool> menus = m_env.menuVisibility(m_session);
        for (auto it = menus.cbegin(); it != menus.cend(); ++it)
            m_env.window.setMenuVisible(it.key(), it.value());
    }
    if (m_env.monitors && client == u"BRV")
        m_env.monitors->enableAutoPrint();

    // 24-27. The background checks, then the one-shot step that opens the patient list.
    if (m_env.monitors)
        m_env.monitors->checkScheduleRequests(client == u"VZ");
    // 25. Doctors' pick-lists show affiliated doctors only where the hospital says so.
    if (m_session.settings.SearchAffiliatedOnly())
        setMember(m_components.codeLookup.get(), "AffiliatedOnly", true);
    if (m_env.monitors) {
        m_env.monitors->setAbnormalResultCheck(m_session.settings.ShowLBAbnormal());
        m_env.monitors->startOneShot();
    }
    return Outcome::Running;
}

void Startup::createComponents()
{
    ComponentContext &ctx = m_env.componentContext;
    auto create = [&ctx](const char *progId) {
        return CreateComponent(QString::fromLatin1(progId), ctx);
    };
    m_components.drugList = create(m_session.hospital.Bygeneric ? "KsGenericList.clsGenericList"
                                                                : "KsDrugList.clsDrugList");
    m_components.patientFinder = create("KsPatient.clsPatientFinder");
    m_components.drugPicker = create("KsDrug.clsDrugPicker");
    m_components.brandDrugList = create("KsDrugList.clsDrugList");
    m_components.keyFilter = create("KsKeys.clsKeyFilter");
    m_components.codeLookup = create("KsLookup.clsCodeLookup");
    m_components.keyFilter2 = create("KsKeys.clsKeyFilter");
    m_components.icdLookup = create("KsIcd.clsIcdLookup");
    m_components.requestViewer = create("KsNursing.clsRequestViewer");
    m_components.resultViewer = create("KsNursing.clsResultViewer");
    m_components.stayResultViewer = create("KsNursing.clsStayResultViewer");
    m_components.stayViewer = create("KsNursing.clsStayViewer");
    m_components.rvsLookup = create("KsRvs.clsRvsLookup");
    m_components.chargeSlipList = create("KsSlipList.clsChargeSlipList");
    m_components.issuedMedicines = create("KsIssued.clsIssuedMedicines");
    m_components.patientInfo = create("KsPatientInfo.clsPatientInfo");
}

void Startup::handOverConnection()
{
    auto *user = qobject_cast<clsLoginUser *>(m_components.user.get());
    Database *db = user->sqlconnection();
    const QVariant connection = QVariant::fromValue(db);
    const HospitalSettings &hs = m_session.hospital;

    // 19.1 - 19.3
    setMember(m_components.icdLookup.get(), "ActiveConnection", connection);
    if (m_session.settings.ShowCF4() && user->TARVIKCLASSES())
        m_components.cf4 = user->TARVIKCLASSES()->property("clsCF4").value<QObject *>();
    QObject *lookup = m_components.codeLookup.get();
    setMember(lookup, "MTS_Server", hs.MTSServerName);
    setMember(lookup, "SearchMode", true);
    if (lookup)
        QMetaObject::invokeMethod(lookup, "Initialize_Classes", Qt::DirectConnection);
    setMember(lookup, "Connection", connection);
    setMember(lookup, "CompanyName", hs.Company);

    // 19.4: each initialisation only when the one before it succeeded; a false ends the chain
    // without a word and start-up goes on.
    bool finderReady = false;
    if (QObject *finder = m_components.patientFinder.get()) {
        QMetaObject::invokeMethod(finder, "InitConnection", Qt::DirectConnection,
                                  Q_RETURN_ARG(bool, finderReady), Q_ARG(QString, hs.MTSServerName),
                                  Q_ARG(kestrel::Database *, db));
    }
    const QString connectionString = user->connectionString();
    const bool chain =
        finderReady && callBool(m_components.rvsLookup.get(), "InitConnection", connectionString) &&
        callBool(m_components.drugPicker.get(), "InitConnect", connectionString) &&
        callBool(m_components.drugList.get(), "InitConnection", connectionString) &&
        callBool(m_components.patientInfo.get(), "InitConnect", connectionString) &&
        callBool(m_components.issuedMedicines.get(), "InitConnection", connectionString) &&
        callBool(m_components.chargeSlipList.get(), "InitConnection", connectionString);
    if (chain) {
        if (hs.Bygeneric) {
            if (callBool(m_components.brandDrugList.get(), "InitConnection", connectionString))
                setMember(m_components.brandDrugList.get(), "DrugsORCSR", false);
        } else {
            setMember(m_components.brandDrugList.get(), "DrugsORCSR", false);
        }
    }
    m_chainCompleted = chain;

    // 19.5
    if (clsTarvikClasses *classes = user->TARVIKCLASSES()) {
        classes->setProperty("UseClasses", true);
        QMetaObject::invokeMethod(classes, "initwithdb", Qt::DirectConnection);
    }
}

void Startup::unload()
{
    if (m_session.LoggedIn) {
        for (auto *viewer : {&m_components.resultViewer, &m_components.requestViewer,
                             &m_components.stayViewer, &m_components.stayResultViewer}) {
            if (*viewer)
                QMetaObject::invokeMethod(viewer->get(), "Class_Terminate", Qt::DirectConnection);
            viewer->reset();
        }
        m_env.assistant.unload();
    }
    m_components.patientFinder.reset();
    m_components.drugPicker.reset();
    m_components.drugList.reset();
    m_components.brandDrugList.reset();
    m_components.keyFilter.reset();
    m_components.keyFilter2.reset();
    m_components.codeLookup.reset();
    m_components.icdLookup.reset();
    m_components.rvsLookup.reset();
    m_components.patientInfo.reset();
    m_components.issuedMedicines.reset();
    m_components.chargeSlipList.reset();
    m_components.cf4 = nullptr;
    m_components.histopath.reset();
    // The user goes last: it owns the connection the others were handed.
    m_session.setCurrentUser(nullptr);
    m_components.user.reset();
    m_session.LoggedIn = false;
    m_env.instance.release();
}

} // namespace kestrel
