// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/MainMenu.h"

#include "core/AccessRights.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "core/StationLog.h"
#include "core/components/EmployeeLogin.h"

#include <QDir>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

constexpr QStringView kRightAssessment = u"9";
constexpr QStringView kRightReceivables = u"13";
constexpr QStringView kRightChargeSlip = u"20";

const QString kMnuInfo = QStringLiteral("mnuInfo");
const QString kMnuLedger = QStringLiteral("mnuLedger");
const QString kMnuRS = QStringLiteral("mnuRS");
const QString kMnuCVOR = QStringLiteral("mnuCVOR");

} // namespace

MainMenu::MainMenu(Session &session, std::function<bool()> checkUserSettings, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_checkUserSettings(std::move(checkUserSettings))
{
    // As the menus are laid out: the patient commands wait for a selected patient, and the
    // CVOR command tags until the patient list says the stay is tagged already.
    for (const QString &name : {kMnuInfo, kMnuLedger, kMnuRS})
        m_menus[name].enabled = false;
    m_menus[kMnuCVOR].caption = QStringLiteral("Tag as CVOR/RR Patient");
}

void MainMenu::setCheckUserSettings(std::function<bool()> checkUserSettings)
{
    m_checkUserSettings = std::move(checkUserSettings);
}

void MainMenu::openWindow(const QString &formName, const WindowRequest &request)
{
    Q_EMIT windowRequested(formName, request);
}

MenuState MainMenu::menuState(const QString &name) const
{
    return m_menus.value(name);
}

void MainMenu::updateMenu(const QString &name, const std::function<void(MenuState &)> &change)
{
    change(m_menus[name]);
    Q_EMIT menuChanged(name);
}

void MainMenu::setMenuVisible(const QString &name, bool visible)
{
    updateMenu(name, [visible](MenuState &s) { s.visible = visible; });
}

void MainMenu::setMenusVisible(const QHash<QString, bool> &visibility)
{
    for (auto it = visibility.cbegin(); it != visibility.cend(); ++it)
        setMenuVisible(it.key(), it.value());
}

void MainMenu::setPatientCommandsEnabled(bool enabled)
{
    for (const QString &name : {kMnuInfo, kMnuLedger, kMnuRS})
        updateMenu(name, [enabled](MenuState &s) { s.enabled = enabled; });
}

void MainMenu::setCVORCaption(const QString &caption)
{
    updateMenu(kMnuCVOR, [&caption](MenuState &s) { s.caption = caption; });
}

QString MainMenu::cvorCaption() const
{
    return m_menus.value(kMnuCVOR).caption.value_or(QString());
}

bool MainMenu::confirmExit()
{
    if (!m_session.notifier().confirm(QStringLiteral("Are you sure you want to close Kestrel?"),
                                      QStringLiteral("Confirmation"), Notifier::Icon::Question))
        return false;
    Q_EMIT exitRequested();
    return true;
}

WindowRequest MainMenu::requestFor(QStringView command, const QString &caption, bool modal) const
{
    WindowRequest request;
    request.command = command.toString();
    request.caption = caption;
    request.modal = modal;
    request.patient = m_session.CurrentPatient;
    return request;
}

bool MainMenu::grantedOrTold(QStringView right, QStringView employee, const QString &refusal)
{
    if (HasAccessRight(m_session, right, employee))
        return true;
    m_session.notifier().message(refusal, kNotification, Notifier::Icon::Information);
    return false;
}

bool MainMenu::patientSelectedOrTold()
{
    if (m_session.CurrentPatient.isSelected())
        return true;
    m_session.notifier().message(QStringLiteral("Please select patient."), kNotification,
                                 Notifier::Icon::Information);
    return false;
}

// --- Commands with rules of their own -------------------------------------------------------

void MainMenu::mnuChargeSlip()
{
    // Asked of whoever signs here, not of the logged-in user; nobody signing means nobody
    // holds the right.
    m_session.validated = m_session.dialogs().validateUser();
    if (!grantedOrTold(kRightChargeSlip, m_session.validated.code,
                       QStringLiteral("Sorry, you don't have access right for Charge Slip "
                                      "Setting.")))
        return;
    openWindow(QStringLiteral("frmChargeSlipVerification"),
               requestFor(u"mnuChargeSlip", QStringLiteral("Charge Slip Setting"), true));
}

void MainMenu::mnuUser()
{
    if (m_checkUserSettings && m_checkUserSettings()) {
        openWindow(QStringLiteral("frmUserRights"),
                   requestFor(u"mnuUser", QStringLiteral("User Settings"), true));
        return;
    }
    // A locked code has been told so, and until when, by the check itself.
    auto locked = passwordLockedUntil(m_session.db(), m_session.employeeCode());
    if (locked && locked->isValid())
        return;
    m_session.notifier().message(QStringLiteral("Invalid Password"), kNotification,
                                 Notifier::Icon::Critical);
    // The user is asked once more, but even a right answer does not open the rights: the
    // command has to be given again.
    if (m_checkUserSettings)
        (void)m_checkUserSettings();
}

void MainMenu::mnuAssessment()
{
    if (!grantedOrTold(kRightAssessment, {},
                       QStringLiteral("Sorry, you don't have access right for Assessment Entry.")))
        return;
    auto codes = m_session.db().call(u"STATION..sp_OR_ChargingCodes", {m_session.StationID});
    if (!codes) {
        m_session.notifier().errorBox(codes.error());
        return;
    }
    WindowRequest request = requestFor(
        u"mnuAssessment", QStringLiteral("CASH ASSESSMENT ENTRY (WALK-IN PATIENTS)"), false);
    request.values.insert(QStringLiteral("StationID"), m_session.StationID);
    request.rows = std::move(*codes);
    openWindow(QStringLiteral("frmAssessmentEntry"), request);
}

void MainMenu::mnuRecvbles()
{
    if (!grantedOrTold(kRightReceivables, {},
                       QStringLiteral("Sorry, you don't have access right for Receivable Entry.")))
        return;
    // Receivables are entered for a discharged patient chosen there, not for the selected
    // one, so the commands about the selected patient are off until one is selected again.
    setPatientCommandsEnabled(false);
    openWindow(QStringLiteral("frmRecievable"),
               requestFor(u"mnuRecvbles", QStringLiteral("Receivable Update"), false));
}

void MainMenu::mnuCF4()
{
    const CurrentPatientRecord &patient = m_session.CurrentPatient;
    const QString title = QStringLiteral("PhilHealth CF4 Entries ") + QStringLiteral(" - ") +
                          patient.PatientName + QStringLiteral(" ( ") + patient.IdNum +
                          QStringLiteral(" )");
    WindowRequest request = requestFor(u"mnuCF4", QStringLiteral("PhilHealth CF4 Entry"), false);
    request.values = {
        {QStringLiteral("IdNum"), patient.IdNum},
        {QStringLiteral("StationID"), QStringLiteral("OR")},
        {QStringLiteral("Title"), title},
        {QStringLiteral("ShowPrint"), m_session.settings.NursePrintCF4()},
        {QStringLiteral("HospitalName"), m_session.hospital.Company},
        {QStringLiteral("HospitalAddress"), m_session.hospital.Address1},
        {QStringLiteral("ReportPath"),
         QDir(m_session.ApplicationPath).filePath(QStringLiteral("Reports"))},
        {QStringLiteral("EmployeeCode"), m_session.employeeCode()},
    };
    openWindow(QStringLiteral("clsCF4"), request);
}

void MainMenu::mnuCVOR()
{
    m_session.validated = m_session.dialogs().validateUser();
    const bool untag = cvorCaption().toUpper() == QStringLiteral("UNTAG AS CVOR/RR PATIENT");
    const QString validatedCode = m_session.validated.code;
    if (validatedCode.isEmpty())
        return;

    const CurrentPatientRecord &patient = m_session.CurrentPatient;
    const QString sql = patient.isOutpatientStay()
                            ? QStringLiteral("UPDATE Patient_data..tbOutpatient SET isCVOR = :tag "
                                             "WHERE IDnum = :idnum")
                            : QStringLiteral("UPDATE Patient_data..tbPatient SET isCVOR = :tag "
                                             "WHERE IDnum = :idnum");
    auto updated = m_session.db().exec(
        sql, {{QStringLiteral("tag"), untag ? 0 : 1}, {QStringLiteral("idnum"), patient.IdNum}});
    if (!updated) {
        m_session.notifier().errorBox(updated.error());
        return;
    }

    const QString done = untag ? QStringLiteral("untagged") : QStringLiteral("tagged");
    WriteStationLog(m_session.db(), patient.IdNum, done.toUpper() + QStringLiteral(" AS CVOR"),
                    validatedCode, m_session.StationID);
    m_session.notifier().message(QStringLiteral("You have succesfully ") + done +
                                     QStringLiteral(" patient ") + patient.PatientName +
                                     QStringLiteral(" as CVOR/RR patient."),
                                 kNotification, Notifier::Icon::Information);
}

void MainMenu::mnuExitApps()
{
    (void)confirmExit();
}

void MainMenu::toolbarButtonClicked(const QString &key)
{
    if (key == u"Open" || key == u"Operation" || key == u"RUV")
        runCommand(QString(QStringLiteral("Toolbar1.") + key));
    else if (key == u"Exit")
        mnuExitApps();
    // "Report" only drops its menu down, and "Build" does nothing.
}

void MainMenu::reportMenuClicked(const QString &key)
{
    if (key == u"Audit")
        mnuAudit();
    else if (key == u"Month")
        mnuMonthly();
    else if (key == u"Statistics")
        mnuStat();
    else if (key == u"Exit")
        mnuExitApps();
    // "Stockcard" does nothing.
}

void MainMenu::refreshNextChargeSlip()
{
    // Every station's counter lives in the same table; this workstation shows its own.
    auto slip = m_session.db().selectOne(
        u"Select ChargeSlip from STATION..tbORChargeSlip where StationID = :station",
        {{QStringLiteral("station"), m_session.StationID}});
    if (!slip) {
        if (!m_refreshFailureTold)
            m_session.notifier().errorBox(slip.error());
        m_refreshFailureTold = true;
        return;
    }
    m_refreshFailureTold = false;
    if (!*slip)
        return;
    const QString text = (*slip)->trimmed(u"Chargeslip");
    if (text == m_nextChargeSlip)
        return;
    m_nextChargeSlip = text;
    Q_EMIT nextChargeSlipChanged(text);
}

QRect keepInsideWorkArea(const QRect &child, const QRect &workArea)
{
    QRect placed = child;
    if (child.width() >= workArea.width()) {
        placed.moveLeft(workArea.left());
        placed.setWidth(workArea.width());
    }
    if (child.height() >= workArea.height()) {
        placed.moveTop(workArea.top());
        placed.setHeight(workArea.height());
    }
    return placed;
}

} // namespace kestrel
