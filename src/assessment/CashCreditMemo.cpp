// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "assessment/CashCreditMemo.h"

#include "core/db/Database.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "reports/ReportService.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

CashCreditMemo::CashCreditMemo(Session &session)
    : m_session(session)
{
}

bool CashCreditMemo::open(const WindowRequest &request)
{
    const CurrentPatientRecord &stay =
        request.patient.isSelected() ? request.patient : m_session.CurrentPatient;
    if (!stay.isSelected()) {
        m_session.notifier().message(QStringLiteral("Please select patient."), kNotification,
                                     Notifier::Icon::Information);
        return false;
    }
    m_IdNum = stay.IdNum.trimmed();
    return load();
}

QStringList CashCreditMemo::headers()
{
    return {QString(),
            QStringLiteral("Assessment #"),
            QStringLiteral("Dept."),
            QStringLiteral("Item"),
            QStringLiteral("Description"),
            QStringLiteral("Qty."),
            QStringLiteral("Paid"),
            QStringLiteral("To Credit")};
}

bool CashCreditMemo::load()
{
    auto rows = m_session.db().call(u"PATIENT_DATA..sp_Get_Patient_CashCM",
                                    {m_IdNum, QStringLiteral("OR"), m_session.StationID});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    m_items.clear();
    m_ticked.clear();
    m_amounts.clear();
    for (const Row &row : *rows)
        m_items.append({row.integer(u"AssessmentID"), row.trimmed(u"RefNum"),
                        row.trimmed(u"RevenueID"), row.trimmed(u"ItemID"),
                        row.trimmed(u"Description"), row.number(u"Quantity"),
                        row.money(u"Amount"), row.money(u"CreditedAmount")});
    return true;
}

void CashCreditMemo::refresh()
{
    load();
}

void CashCreditMemo::toggleTick(int index)
{
    if (index < 0 || index >= m_items.size())
        return;
    if (!m_ticked.removeOne(index))
        m_ticked.append(index);
}

bool CashCreditMemo::isTicked(int index) const
{
    return m_ticked.contains(index);
}

Money CashCreditMemo::amountOf(int index) const
{
    if (index < 0 || index >= m_items.size())
        return {};
    return m_amounts.value(index, m_items.at(index).left());
}

bool CashCreditMemo::setAmount(int index, Money amount)
{
    if (index < 0 || index >= m_items.size())
        return false;
    const PaidItem &item = m_items.at(index);
    if (amount <= Money() || amount > item.left()) {
        m_session.notifier().message(
            QStringLiteral("The amount to credit must be more than 0 and at most %1, what is "
                           "left of what was paid for %2.")
                .arg(formatNumber(item.left(), kFormatGross), item.description),
            kNotification, Notifier::Icon::Information);
        return false;
    }
    m_amounts.insert(index, amount);
    return true;
}

Money CashCreditMemo::total() const
{
    Money sum;
    for (int index : m_ticked)
        sum += amountOf(index);
    return sum;
}

QString CashCreditMemo::save()
{
    Notifier &notifier = m_session.notifier();
    if (m_ticked.isEmpty()) {
        notifier.message(QStringLiteral("Please select item(s) to Process Cash Credit Memo."),
                         kNotification, Notifier::Icon::Information);
        return {};
    }
    if (!notifier.confirm(QStringLiteral("Are you sure you want to save this item(s) for Cash "
                                         "CM?"),
                          QStringLiteral("Confirmation"), Notifier::Icon::Question)) {
        notifier.message(QStringLiteral("Selected item(s) to be Cash CM will not be saved! "),
                         kNotification, Notifier::Icon::Information);
        return {};
    }
    Result<QString> saved = write(m_ticked);
    if (!saved) {
        notifier.errorBox(saved.error());
        return {};
    }
    if (saved->isEmpty()) {
        notifier.message(QStringLiteral("The item(s) were not saved: an item is no longer paid, "
                                        "or was given back meanwhile. The list shows the items "
                                        "as they now stand."),
                         kNotification, Notifier::Icon::Exclamation);
        load();
        return {};
    }
    notifier.message(QStringLiteral("Item(s) Successfully Saved."), kNotification,
                     Notifier::Icon::Information);
    if (m_reports && m_reports->OpenReport(QStringLiteral("CashCM_Slip.rpt"), {*saved}))
        m_reports->ShowReport(false, QStringLiteral("CASH CREDIT MEMO PRINTING"));
    load();
    return *saved;
}

Result<QString> CashCreditMemo::write(const QList<int> &ticked)
{
    Database &db = m_session.db();
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    // The cashier's counter row is made the first time a memo is drawn; the draw then reads
    // and moves it on in one statement, locked until this memo commits.
    if (auto made = db.exec(u"insert into BILLING..tbAssessmentNum (ID) values (1) "
                            u"on conflict (ID) do nothing");
        !made)
        return tl::unexpected(made.error());
    auto drawn = db.selectOne(u"update BILLING..tbAssessmentNum set CMAdvisenum = CMAdvisenum + 1 "
                              u"where ID = 1 returning CMAdvisenum - 1 as Drawn");
    if (!drawn)
        return tl::unexpected(drawn.error());
    if (!*drawn)
        return QString();
    const QString memo = QString::number((*drawn)->integer(u"Drawn"));
    for (int index : ticked) {
        auto given = db.call(u"BILLING..spCash_SaveCMAdvise",
                             {memo, m_items.at(index).line, amountOf(index).toVariant(),
                              m_session.employeeCode(), m_session.StationID});
        if (!given)
            return tl::unexpected(given.error());
        // Refused: the transaction rolls back as it goes out of scope.
        if (given->isEmpty())
            return QString();
    }
    if (auto committed = tx.commit(); !committed)
        return tl::unexpected(committed.error());
    return memo;
}

} // namespace kestrel
