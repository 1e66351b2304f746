// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/returns/ReturnEntry.h"

#include "charging/returns/PostedPrints.h"
#include "charging/returns/ReturnStore.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/clsIssuedMedicines.h"
#include "core/db/Database.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kMoreThanIssued = QStringLiteral("Quantity returned is greater than quantity issued.");

// The credit of `quantity` units of a line under its lock: the share of the posted amount, and
// the last units take exactly what is left, so the credits of a line add up to its amount.
Money creditFor(const LockedLine &line, double quantity)
{
    const Money left = line.amount - line.credited;
    if (line.returned + quantity >= line.quantity || line.quantity <= 0)
        return left;
    const Money share = Money::fromMinor(
        qint64(std::llround(double(line.amount.minor()) * quantity / line.quantity)));
    return std::min(share, left);
}

} // namespace

ReturnEntry::ReturnEntry(Session &session, clsIssuedMedicines *issued, clsDrugPicker *drugPicker,
                         QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_issued(issued)
    , m_drugPicker(drugPicker)
{
}

bool ReturnEntry::open(bool medicines)
{
    m_medicines = medicines;
    m_lines.clear();
    m_creditMemo.clear();
    if (!m_session.CurrentPatient.isSelected()) {
        m_session.notifier().message(QStringLiteral("Please select patient."), kNotification,
                                     Notifier::Icon::Information);
        return false;
    }
    Q_EMIT changed();
    return true;
}

QString ReturnEntry::caption() const
{
    return QStringLiteral("Post Returned ") +
           (m_medicines ? QStringLiteral("Medicines") : QStringLiteral("Supplies"));
}

QStringList ReturnEntry::headers() const
{
    QStringList h{QStringLiteral("Charge Slip"), QStringLiteral("Code"),
                  QStringLiteral("Product Description"), QStringLiteral("Qty. Issued"),
                  QStringLiteral("Qty. Returned"),
                  m_medicines ? QStringLiteral("Stock") : QStringLiteral("Stock#"),
                  QStringLiteral("Amount")};
    if (m_medicines)
        h << QStringLiteral("Remarks/Reason");
    return h;
}

QString ReturnEntry::stayLabel() const
{
    return m_session.CurrentPatient.isOutpatientStay() ? QStringLiteral("OPD No.")
                                                       : QStringLiteral("Admission No.");
}

QString ReturnEntry::amountText(Money amount)
{
    return formatNumber(amount, u"####.00");
}

void ReturnEntry::addIssued()
{
    if (!m_issued) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("The list of issued medicines"));
        return;
    }
    m_issued->InitConnection(&m_session.db());
    m_issued->IdNum = m_session.CurrentPatient.IdNum.trimmed();
    m_issued->DrugsORCSR = m_medicines;
    if (!m_issued->ShowList())
        return;
    addLine(m_issued->Chargeslip(), m_issued->ItemID(), m_issued->ItemName(),
            m_issued->IssuedQuantity(), m_issued->StockOnHand());
}

bool ReturnEntry::addLine(const QString &chargeSlip, const QString &item,
                          const QString &description, double issued, double stock)
{
    Notifier &notifier = m_session.notifier();
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines.at(i).item.compare(item.trimmed(), Qt::CaseInsensitive) == 0 &&
            m_lines.at(i).chargeSlip.compare(chargeSlip.trimmed(), Qt::CaseInsensitive) == 0) {
            notifier.message(QStringLiteral("Drug code is already in line ") +
                                 QString::number(i + 1) + u'.',
                             kNotification, Notifier::Icon::Exclamation);
            return false;
        }
    }
    ReturnStore store(m_session.db());
    auto line = store.issuedLine(m_session.CurrentPatient.IdNum, chargeSlip, item);
    if (!line) {
        notifier.errorBox(line.error());
        return false;
    }
    if (!*line || (*line)->location.isEmpty()) {
        notifier.message(QStringLiteral("That medicine was not posted to the patient."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    auto price = store.actualPrice(chargeSlip, item);
    if (!price) {
        notifier.errorBox(price.error());
        return false;
    }
    ReturnLine l;
    l.logBookId = (*line)->logBookId;
    l.department = (*line)->department;
    l.location = (*line)->location;
    l.chargeSlip = chargeSlip.trimmed();
    l.item = item.trimmed();
    l.description = description.trimmed();
    l.issued = issued;
    l.stock = stock;
    l.price = *price;
    m_lines.append(l);
    Q_EMIT changed();
    return true;
}

bool ReturnEntry::setReturned(int row, const QString &text)
{
    if (row < 0 || row >= m_lines.size())
        return false;
    ReturnLine &l = m_lines[row];
    l.returned = 0;
    l.returnedText.clear();
    l.amount = {};
    auto refuse = [this](const QString &why) {
        m_session.notifier().message(why, kNotification, Notifier::Icon::Exclamation);
        Q_EMIT changed();
        return false;
    };
    bool isNumber = false;
    const double quantity = text.trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(quantity) || quantity <= 0)
        return refuse(QStringLiteral("Please enter a quantity greater than zero(0)."));
    if (quantity != std::floor(quantity))
        return refuse(QStringLiteral("Please enter the quantity returned in whole units."));
    if (quantity > l.issued)
        return refuse(kMoreThanIssued);
    l.returned = quantity;
    l.returnedText = numberText(quantity);
    l.amount = Money::multiply(l.price, quantity);
    Q_EMIT changed();
    return true;
}

void ReturnEntry::setRemarks(int row, const QString &text)
{
    if (row >= 0 && row < m_lines.size())
        m_lines[row].remarks = text.trimmed();
}

void ReturnEntry::clearRow(int row)
{
    if (row < 0 || row >= m_lines.size())
        return;
    if (!m_session.notifier().confirm(QStringLiteral("Are you sure to delete the item?"),
                                      kConfirmation))
        return;
    m_lines.removeAt(row);
    Q_EMIT changed();
}

bool ReturnEntry::mayClose()
{
    const QString question = hasUnsaved()
                                 ? QStringLiteral("You have unsaved entry.  Do you wish to exit?")
                                 : QStringLiteral("Are you sure to leave this window?");
    return m_session.notifier().confirm(question, kConfirmation);
}

bool ReturnEntry::post()
{
    Notifier &notifier = m_session.notifier();
    if (m_lines.isEmpty()) {
        notifier.message(QStringLiteral("Please choose the items to return first."),
                         kNotification, Notifier::Icon::Information);
        return false;
    }
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines.at(i).returned > 0)
            continue;
        if (notifier.confirm(QStringLiteral("Row ") + QString::number(i + 1) +
                                 QStringLiteral(" can't be saved. Please enter the quantity to be "
                                                "returned. Do you want to enter the quantity "
                                                "now?"),
                             kConfirmation))
            Q_EMIT quantityRequested(i);
        return false;
    }
    if (!validatedForReturn())
        return false;
    if (!save())
        return false;
    notifier.message(QStringLiteral("The returned items were posted under Credit Memo No. ") +
                         m_creditMemo + u'.',
                     kNotification, Notifier::Icon::Information);
    m_lines.clear();
    Q_EMIT changed();
    if (m_reports)
        PostedPrints(m_session, m_reports).printCreditMemo(m_creditMemo, false);
    return true;
}

bool ReturnEntry::validatedForReturn()
{
    for (;;) {
        m_session.validated = m_session.dialogs().validateUser();
        if (m_session.validated.isValid())
            return true;
        if (!m_session.notifier().confirm(
                QStringLiteral("Selected transaction(s) will not be saved. ") + u'\n' +
                    QStringLiteral("Are you sure you want to return this medicine(s)?"),
                kConfirmation))
            return false;
    }
}

bool ReturnEntry::save()
{
    Notifier &notifier = m_session.notifier();
    Database &db = m_session.db();
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    if (!now.isValid())
        return false;
    if (!m_drugPicker) {
        tellNotAvailable(notifier, QStringLiteral("The drug picker"));
        return false;
    }
    auto fail = [&notifier](const Error &error) {
        notifier.errorBox(error);
        return false;
    };
    ReturnStore store(db);
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return fail(tx.error());
    auto memo = store.drawCreditMemo(m_session.StationID);
    if (!memo)
        return fail(memo.error());
    if (!*memo) {
        notifier.message(QStringLiteral("No credit memo sequence number set for Station ") +
                             m_session.StationID,
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }

    // Logbook lines are locked in one order, then the stock of the locations in one order, so
    // two workstations returning several lines never wait for each other in a circle.
    QList<int> order(m_lines.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [this](int a, int b) {
        return m_lines.at(a).logBookId < m_lines.at(b).logBookId;
    });
    QList<Money> credits(m_lines.size());
    for (int i : std::as_const(order)) {
        const ReturnLine &l = m_lines.at(i);
        auto locked = store.takeReturn(l.logBookId, l.returned);
        if (!locked)
            return fail(locked.error());
        if (!*locked) {
            // Returned or revoked meanwhile: what is left now is what may come back.
            auto left = store.remainder(stay.IdNum, l.chargeSlip, l.item);
            tx.rollback();
            m_lines[i].issued = left ? std::max(0.0, left->quantity) : 0;
            notifier.message(kMoreThanIssued + QStringLiteral(" (") + l.description +
                                 QStringLiteral(", line ") + QString::number(i + 1) + u')',
                             kNotification, Notifier::Icon::Exclamation);
            Q_EMIT changed();
            return false;
        }
        credits[i] = creditFor(**locked, l.returned);
        if (auto ok = store.credit(l.logBookId, credits.at(i), m_session.StationID); !ok)
            return fail(ok.error());
    }
    std::sort(order.begin(), order.end(), [this](int a, int b) {
        const ReturnLine &x = m_lines.at(a);
        const ReturnLine &y = m_lines.at(b);
        return std::tie(x.item, x.location, x.logBookId) < std::tie(y.item, y.location, y.logBookId);
    });
    m_drugPicker->InitConnect(&db);
    const QString user = m_session.validated.code;
    for (int i : std::as_const(order)) {
        const ReturnLine &l = m_lines.at(i);
        clsDrug *drug = m_drugPicker->Drug();
        drug->setLocationID(l.location);
        StockCardEntry back;
        back.IdNum = stay.IdNum.trimmed();
        back.HospNum = stay.HospNum.trimmed();
        back.ItemID = l.item;
        back.Quantity = l.returned;
        back.Amount = credits.at(i);
        back.RefNum = l.chargeSlip;
        back.TransDate = now;
        back.UserID = user;
        back.TransType = QStringLiteral("C");
        back.CreditMemoNum = **memo;
        if (auto ok = drug->AppendStockCard(back); !ok)
            return fail(ok.error());
        if (auto ok = store.stockRemarks(**memo, l.item, l.chargeSlip, l.remarks); !ok)
            return fail(ok.error());
        ReturnStore::MemoLine m;
        m.creditMemo = **memo;
        m.kind = m_medicines ? QStringLiteral("PC") : QStringLiteral("CC");
        m.IdNum = stay.IdNum;
        m.HospNum = stay.HospNum;
        m.chargeSlip = l.chargeSlip;
        m.department = l.department;
        m.item = l.item;
        m.description = l.description;
        m.issued = l.issued;
        m.quantity = l.returned;
        m.amount = credits.at(i);
        m.remarks = l.remarks;
        m.station = m_session.StationID;
        m.user = user;
        if (auto ok = store.saveMemoLine(m); !ok)
            return fail(ok.error());
        ReturnStore::Adjustment a;
        a.IdNum = stay.IdNum;
        a.chargeSlip = l.chargeSlip;
        a.department = l.department;
        a.item = l.item;
        a.quantity = l.returned;
        a.amount = credits.at(i);
        a.kind = QStringLiteral("CM");
        a.creditMemo = **memo;
        a.reason = l.remarks;
        a.user = user;
        a.station = m_session.StationID;
        if (auto ok = store.appendAdjustment(a); !ok)
            return fail(ok.error());
    }
    if (auto ok = tx.commit(); !ok)
        return fail(ok.error());
    m_creditMemo = **memo;
    return true;
}

} // namespace kestrel
