// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ReceivableAccount.h"

#include "charging/ChargeEntry.h"
#include "charging/ChargePostingStore.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

Binds idBind(const QString &IdNum)
{
    return {{QStringLiteral("id"), IdNum.trimmed()}};
}

bool isVisit(const QString &IdNum)
{
    return IdNum.trimmed().endsWith(u'B', Qt::CaseInsensitive);
}

} // namespace

ReceivableAccount::ReceivableAccount(Session &session)
    : m_session(session)
{
}

QString ReceivableAccount::invoicedText()
{
    return QStringLiteral("Record indicates that the patient's account was already been "
                          "invoiced! ") +
           QStringLiteral(" Please contact Accounts Receivable section.");
}

QString ReceivableAccount::notBilledText()
{
    return QStringLiteral("This account is not billed yet. Charges to an account that billing "
                          "has not closed are posted in Post Charges, not as late charges.");
}

QString ReceivableAccount::closedText()
{
    return QStringLiteral("Sorry, receivable update for Inpatients and ER patients is disabled.") +
           QStringLiteral("Please contact your IT department.");
}

bool ReceivableAccount::pick(ChargeEntry &entry, const CurrentPatientRecord &stay)
{
    const CurrentPatientRecord before = m_stay;
    m_stay = stay;
    if (entry.open())
        return true;
    m_stay = before;
    return false;
}

bool ReceivableAccount::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return false;
}

std::optional<ReceivableAccount::State> ReceivableAccount::readState()
{
    const QString sql = isVisit(m_stay.IdNum)
                            ? QStringLiteral("select DcrDate, BillingDate, InvoiceDate from "
                                             "PATIENT_DATA..tbOutPatient where IDNum = :id")
                            : QStringLiteral("select DcrDate, BillingDate, InvoiceDate from "
                                             "PATIENT_DATA..tbPatient where IDNum = :id");
    auto row = m_session.db().selectOne(sql, idBind(m_stay.IdNum.trimmed()));
    if (!row) {
        m_session.notifier().errorBox(row.error());
        return std::nullopt;
    }
    if (!*row) {
        refuse(QStringLiteral("Please select patient first."));
        return std::nullopt;
    }
    const Row &r = **row;
    return State{r.dateTime(u"DcrDate").isValid(), r.dateTime(u"BillingDate").isValid(),
                 r.dateTime(u"InvoiceDate").isValid()};
}

bool ReceivableAccount::mayOpen()
{
    if (!m_stay.isSelected())
        return refuse(QStringLiteral("Please select patient first."));
    const std::optional<State> state = readState();
    if (!state)
        return false;
    if (state->invoiced)
        return refuse(invoicedText());
    if (!state->discharged || !state->billed)
        return refuse(notBilledText());
    return true;
}

bool ReceivableAccount::mayPost()
{
    if (!m_stay.isSelected())
        return refuse(QStringLiteral("Please select patient first."));
    const std::optional<State> state = readState();
    if (!state)
        return false;
    if (state->invoiced)
        return refuse(invoicedText());
    const QString IdNum = m_stay.IdNum.trimmed();
    // Where the database closes the account to receivable updates, inpatients and ER patients
    // are told so; any other account that is not billed is refused as such.
    if (!modGlobals::IsReceivableUpdate(m_session, IdNum) &&
        (!isVisit(IdNum) || modGlobals::IsERPatient(m_session, IdNum)))
        return refuse(closedText());
    if (!state->discharged || !state->billed)
        return refuse(notBilledText());
    return true;
}

bool ReceivableAccount::confirmSave()
{
    Notifier &notifier = m_session.notifier();
    if (notifier.confirm(QStringLiteral("Please verify that the item(s) entered are true and "
                                        "correct. Especially the Department Code and the Item "
                                        "Code of the Procedure/Item.") +
                             QStringLiteral("\n\r") +
                             QStringLiteral("Are you sure you want to save these Charge(s)?"),
                         QStringLiteral("Important Message")))
        return true;
    notifier.message(QStringLiteral("Selected charge(s) will not be saved. "), kNotification,
                     Notifier::Icon::Information);
    return false;
}

Result<void> ReceivableAccount::posted(Database &db, const PostingBatch &batch)
{
    // Only an account still billed and not invoiced takes the batch: checked by the statement
    // that clears its mark, inside the batch's transaction.
    const QString sql = isVisit(batch.IdNum)
                            ? QStringLiteral("update PATIENT_DATA..tbOutPatient set LateCharges "
                                             "= 0 where IDNum = :id and BillingDate is not null "
                                             "and InvoiceDate is null")
                            : QStringLiteral("update PATIENT_DATA..tbPatient set LateCharges = 0 "
                                             "where IDNum = :id and BillingDate is not null and "
                                             "InvoiceDate is null");
    auto updated = db.exec(sql, idBind(batch.IdNum));
    if (!updated)
        return tl::unexpected(updated.error());
    if (*updated != 1)
        return failure(QStringLiteral("The account ") + batch.IdNum +
                       QStringLiteral(" was invoiced or reopened while the late charges were "
                                      "saved. Nothing was saved."));
    return {};
}

QString ReceivableAccount::revokeQuestion() const
{
    return QStringLiteral("Are you sure you want to revoke this Charge(s)?");
}

QString ReceivableAccount::nothingLeftToRevoke() const
{
    return QStringLiteral("Can't revoke this charge! The Total Amount is already zero(0).");
}

QString ReceivableAccount::closeQuestion() const
{
    return QStringLiteral("Are you sure to leave Receivable Entry?");
}

} // namespace kestrel
