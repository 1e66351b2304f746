// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "discharge/DischargeMenu.h"

#include "core/AccessRights.h"
#include "core/Dialogs.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel::discharge {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");

} // namespace

DischargeMenu::DischargeMenu(Session &session)
    : m_session(session)
    , m_store(session.db())
{
}

bool DischargeMenu::open(const QString &idNum)
{
    m_stay = {};
    m_newRoom.reset();
    auto found = m_store.stay(idNum);
    if (!found) {
        m_session.notifier().errorBox(found.error());
        return false;
    }
    if (!*found) {
        m_session.notifier().message(QStringLiteral("No records found."), kNotification,
                                     Notifier::Icon::Exclamation);
        return false;
    }
    m_stay = std::move(**found);
    m_canDischarge = HasAccessRight(m_session, u"4");
    m_canTransfer = HasAccessRight(m_session, u"5");
    return true;
}

QString DischargeMenu::admissionDateText() const
{
    return m_stay.admitted.toString(QStringLiteral("MM/dd/yyyy"));
}

QString DischargeMenu::admissionTimeText() const
{
    return m_stay.admitted.toString(QStringLiteral("hh:mm:ss AP"));
}

QStringList DischargeMenu::results()
{
    return {QStringLiteral("Recovered"), QStringLiteral("Improved"), QStringLiteral("Unimproved"),
            QStringLiteral("Died"), QStringLiteral("Diagnosis Only")};
}

QStringList DischargeMenu::dispositions()
{
    return {QStringLiteral("Discharged"), QStringLiteral("Transferred"),
            QStringLiteral("Absconded"),  QStringLiteral("Autopsied"),
            QStringLiteral("DAMA/HAMA"),  QStringLiteral("HPR")};
}

bool DischargeMenu::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return false;
}

QString DischargeMenu::validateForDischarge()
{
    for (;;) {
        const ValidatedUser user = m_session.dialogs().validateUser();
        if (user.isValid()) {
            m_session.validated = user;
            return user.code;
        }
        if (!m_session.notifier().confirm(QStringLiteral("Do you really want to discharge the "
                                                         "patient?\nSelected charge(s) will not "
                                                         "be saved! "),
                                          kConfirmation))
            return QString();
    }
}

bool DischargeMenu::saveDischarge(const QDateTime &when, int result, int disposition)
{
    Notifier &notifier = m_session.notifier();
    if (!m_canDischarge || m_stay.idNum.isEmpty())
        return false;
    auto order = m_store.orderState(m_stay.idNum);
    if (!order) {
        notifier.errorBox(order.error());
        return false;
    }
    if (!*order)
        return refuse(QStringLiteral("You are not allowed to discharge this patient. Please "
                                     "process/send first the Discharge Order to Billing Dept."));
    if (**order != u"P")
        return refuse(QStringLiteral("You are not allowed to discharge this patient. Wait for "
                                     "the Billing to print the Processing Sheet."));
    // Never before the admission, never after the server's clock.
    auto now = m_session.db().loadServerDate();
    if (!now) {
        notifier.errorBox(now.error());
        return false;
    }
    if (!when.isValid() || when < m_stay.admitted || when > *now)
        return refuse(QStringLiteral("Please enter a valid discharge date."));
    auto pending = m_store.hasPendingRequests(m_stay.idNum);
    if (!pending) {
        notifier.errorBox(pending.error());
        return false;
    }
    if (*pending)
        return refuse(QStringLiteral("Patient Has Pending Request(s)! Can't Discharge this "
                                     "Patient."));
    if (result < 0 || result >= results().size() || disposition < 0 ||
        disposition >= dispositions().size())
        return false;
    const QString employee = validateForDischarge();
    if (employee.isEmpty())
        return false;
    if (!notifier.confirm(QStringLiteral("The Patient is about to be discharged. Do you want to "
                                         "proceed?"),
                          QStringLiteral("WARNING"), Notifier::Icon::Critical))
        return false;
    DischargeRequest request;
    request.idNum = m_stay.idNum;
    request.hospNum = m_stay.hospNum;
    request.when = when;
    request.result = QString::number(result + 1);
    request.disposition = QString::number(disposition + 1);
    request.validatedEmployee = employee;
    request.userEmployee = m_session.employeeCode();
    auto done = m_store.discharge(request);
    if (!done) {
        notifier.errorBox(done.error());
        return false;
    }
    if (!*done)
        return refuse(QStringLiteral("The patient has been discharged already."));
    notifier.message(QStringLiteral("Patient Successfully Discharged ."), kNotification,
                     Notifier::Icon::Information);
    return true;
}

QString DischargeMenu::validateRoom(const QString &roomId)
{
    m_newRoom.reset();
    const QString typed = roomId.trimmed().toUpper();
    if (typed.isEmpty())
        return QString();
    auto room = m_store.room(typed);
    if (!room) {
        m_session.notifier().errorBox(room.error());
        return QString();
    }
    m_newRoom = *room;
    return m_newRoom ? m_newRoom->station : QString();
}

bool DischargeMenu::saveTransfer(const QString &roomId, const QTime &time)
{
    Notifier &notifier = m_session.notifier();
    if (!m_canTransfer || m_stay.idNum.isEmpty())
        return false;
    const QString typed = roomId.trimmed().toUpper();
    if (typed.isEmpty()) {
        notifier.message(QStringLiteral("Can't save a blank new room."), kNotification,
                         Notifier::Icon::Exclamation);
        return false;
    }
    if (!m_newRoom || m_newRoom->roomId != typed)
        validateRoom(typed);
    if (!m_newRoom)
        return refuse(QStringLiteral("Room %1 is not a room of the hospital.").arg(typed));
    if (!notifier.confirm(QStringLiteral("Are you sure you want to Transfer this patient ") +
                              m_stay.patientName + QStringLiteral(" to Room ") + typed +
                              u'?',
                          kConfirmation))
        return false;
    const ValidatedUser user = m_session.dialogs().validateUser();
    if (!user.isValid())
        return false;
    m_session.validated = user;
    auto now = m_session.db().loadServerDate();
    if (!now) {
        notifier.errorBox(now.error());
        return false;
    }
    const QDateTime when(now->date(), time.isValid() ? time : now->time());
    auto moved = m_store.transfer(m_stay.idNum, *m_newRoom, when, user.code);
    if (!moved) {
        notifier.errorBox(moved.error());
        return false;
    }
    switch (*moved) {
    case TransferOutcome::Done:
        notifier.message(QStringLiteral("Patient Successfully Transfered to ") + typed + u'.',
                         kNotification, Notifier::Icon::Information);
        return true;
    case TransferOutcome::RoomTaken:
        return refuse(QStringLiteral("Room %1 has just been taken by another patient. Please "
                                     "choose another room.")
                          .arg(typed));
    case TransferOutcome::SameRoom:
        return refuse(QStringLiteral("The patient is already in Room %1.").arg(typed));
    case TransferOutcome::NoSuchRoom:
        return refuse(QStringLiteral("Room %1 is not a room of the hospital.").arg(typed));
    case TransferOutcome::StayGone:
        break;
    }
    return refuse(QStringLiteral("The patient has been discharged already."));
}

} // namespace kestrel::discharge
