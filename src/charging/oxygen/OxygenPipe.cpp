// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/oxygen/OxygenPipe.h"

#include "charging/ChargePostingStore.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

#include <cmath>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kOxygen = QStringLiteral("OX");

} // namespace

OxygenPipe::OxygenPipe(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

bool OxygenPipe::open()
{
    m_stay = m_session.CurrentPatient;
    if (!m_stay.isSelected())
        return tell(QStringLiteral("Please select patient."));
    if (!m_session.settings.AllowOpenCloseTank())
        return tell(QStringLiteral("This station does not charge piped oxygen by the hour."));
    auto rows = m_session.db().select(
        u"select OtherRevenueID, OtherRevenue, RateA from BUILD_FILE..tbCoOtherRevenue "
        u"where OtherSectionID = 'OX' and IsOpenClose = '1' and Status = 'A' "
        u"order by OtherRevenueID");
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    m_items.clear();
    for (const Row &r : *rows)
        m_items.append({r.trimmed(u"OtherRevenueID"), r.trimmed(u"OtherRevenue"), r.money(u"RateA")});
    if (m_items.isEmpty())
        return tell(QStringLiteral("No oxygen item is charged by the hour. Please check the build "
                                   "file of oxygen items."));
    m_chosen = m_items.size() == 1 ? 0 : -1;
    m_tank.clear();
    m_chargeSlip.clear();
    if (!loadOpenTank())
        return false;
    Q_EMIT changed();
    return true;
}

bool OxygenPipe::loadOpenTank()
{
    auto open = m_session.db().selectOne(
        u"select IDNum, Status, OpeningTime, ClosingTime, ItemID, TankNum "
        u"from STATION..tbOpenCloseTank where Status = 1 and IDNum = :id",
        {{QStringLiteral("id"), m_stay.IdNum.trimmed()}});
    if (!open) {
        m_session.notifier().errorBox(open.error());
        return false;
    }
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    m_end = now;
    if (!*open) {
        m_mode = Mode::Open;
        m_start = now;
        return true;
    }
    m_mode = Mode::Close;
    m_start = (*open)->dateTime(u"OpeningTime");
    m_tank = (*open)->trimmed(u"TankNum");
    const QString item = (*open)->trimmed(u"ItemID");
    m_chosen = -1;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).code.compare(item, Qt::CaseInsensitive) == 0)
            m_chosen = i;
    }
    // The open tank's item lost its hourly rate or its mark since: closing it cannot be priced.
    if (m_chosen < 0)
        m_items.append({item, item, Money()});
    if (m_chosen < 0)
        m_chosen = int(m_items.size()) - 1;
    return true;
}

void OxygenPipe::chooseItem(int index)
{
    if (m_mode == Mode::Close || index < 0 || index >= m_items.size())
        return;
    m_chosen = index;
    Q_EMIT changed();
}

void OxygenPipe::setTimeStopped(const QDateTime &end)
{
    m_end = end;
    Q_EMIT changed();
}

double OxygenPipe::hoursConsumed() const
{
    if (!m_start.isValid() || !m_end.isValid() || m_end <= m_start)
        return 0;
    return std::round(double(m_start.secsTo(m_end)) / 36.0) / 100.0;
}

Money OxygenPipe::ratePerHour() const
{
    return m_chosen >= 0 ? m_items.at(m_chosen).ratePerHour : Money();
}

Money OxygenPipe::totalAmount() const
{
    return (ratePerHour() * hoursConsumed()).round(2);
}

bool OxygenPipe::save()
{
    if (m_chosen < 0)
        return tell(QStringLiteral("Please choose the oxygen item."));
    if (m_tank.isEmpty())
        return tell(QStringLiteral("Please enter Tank #."));
    if (ratePerHour() <= Money())
        return tell(QStringLiteral("No hourly rate was set for ") + m_items.at(m_chosen).code +
                    QStringLiteral(". Please check the build file of oxygen items."));
    return m_mode == Mode::Open ? openTank() : closeTank();
}

bool OxygenPipe::openTank()
{
    Database &db = m_session.db();
    const QString IdNum = m_stay.IdNum.trimmed();
    {
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive()) {
            m_session.notifier().errorBox(tx.error());
            return false;
        }
        auto opened = db.call(u"Station..sp_OpenCloseTank",
                              {IdNum, m_items.at(m_chosen).code, m_tank, QStringLiteral("O"), 0,
                               QString(), QString(), m_session.employeeCode(),
                               m_session.StationID});
        if (opened && tx.commit()) {
            loadOpenTank();
            Q_EMIT changed();
            return true;
        }
    }
    // The stay may keep one tank open: another workstation may have opened one just now.
    auto open = db.selectOne(u"select TankNum from STATION..tbOpenCloseTank "
                             u"where Status = 1 and IDNum = :id",
                             {{QStringLiteral("id"), IdNum}});
    if (open && *open) {
        tell(QStringLiteral("Tank # ") + (*open)->trimmed(u"TankNum") +
             QStringLiteral(" is already open for this patient."));
        loadOpenTank();
        Q_EMIT changed();
        return false;
    }
    m_session.notifier().errorBox(open ? QStringLiteral("The tank could not be opened.")
                                       : open.error().message);
    return false;
}

bool OxygenPipe::closeTank()
{
    const double hours = hoursConsumed();
    const Money amount = totalAmount();
    if (hours <= 0 || amount <= Money())
        return tell(QStringLiteral("Total Consumed is Zero(0), You are not Allow to Save this "
                                   "Amount"));

    Database &db = m_session.db();
    PostingBatch batch;
    batch.station = m_session.StationID;
    batch.IdNum = m_stay.IdNum.trimmed();
    batch.HospNum = m_stay.HospNum.trimmed();
    batch.patientClass = m_stay.PatientClass.trimmed();
    if (batch.patientClass.isEmpty())
        batch.patientClass = m_stay.isOutpatientStay() ? QStringLiteral("O") : QStringLiteral("I");
    batch.room = m_stay.RoomID.trimmed();
    batch.department = kOxygen;
    batch.userCode = m_session.employeeCode();
    batch.when = modGlobals::LoadServerDate(m_session);

    enum class Ending { Charged, NoCounter, AlreadyClosed };
    auto charge = [&]() -> Result<Ending> {
        ChargePostingStore store(db);
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        const SlipFormat format = SlipFormat::of(m_session.settings);
        const SlipCounter counter = format.counterFor(batch.IdNum);
        for (;;) {
            auto drawn = store.takeCounter(batch.station, counter);
            if (!drawn)
                return tl::unexpected(drawn.error());
            if (!*drawn)
                return Ending::NoCounter;
            batch.chargeSlip = format.number(counter, **drawn);
            auto used = store.slipUsed(batch.chargeSlip);
            if (!used)
                return tl::unexpected(used.error());
            if (!*used)
                break;
        }
        auto closed = db.call(u"Station..sp_OpenCloseTank",
                              {batch.IdNum, m_items.at(m_chosen).code, m_tank, QStringLiteral("C"),
                               hours, amount.toVariant(), batch.chargeSlip, batch.userCode,
                               batch.station});
        if (!closed)
            return tl::unexpected(closed.error());
        const std::optional<Row> touched = closed->first();
        if (!touched || touched->integer(u"Touched") == 0)
            return Ending::AlreadyClosed;
        if (auto ok = store.registerSlip(batch); !ok)
            return tl::unexpected(ok.error());
        PostingLine line;
        line.line.department = kOxygen;
        line.line.item = m_items.at(m_chosen).code;
        line.line.description = m_items.at(m_chosen).description;
        line.line.quantity = QString::number(hours);
        line.line.setUnitPrice(ratePerHour());
        line.line.setAmount(amount);
        line.line.statFlag = QStringLiteral("N");
        if (auto ok = store.appendCharging(batch, line); !ok)
            return tl::unexpected(ok.error());
        if (auto ok = tx.commit(); !ok)
            return tl::unexpected(ok.error());
        return Ending::Charged;
    };
    auto ended = charge();
    if (!ended) {
        m_session.notifier().errorBox(ended.error());
        return false;
    }
    if (*ended == Ending::NoCounter)
        return tell(QStringLiteral("No chargeslip sequence number set for Station ") +
                    batch.station);
    if (*ended == Ending::AlreadyClosed) {
        tell(QStringLiteral("This tank was already closed."));
        loadOpenTank();
        Q_EMIT changed();
        return false;
    }
    m_chargeSlip = batch.chargeSlip;
    loadOpenTank();
    m_tank.clear();
    Q_EMIT changed();
    Q_EMIT charged(m_chargeSlip);
    return true;
}

bool OxygenPipe::tell(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return false;
}

} // namespace kestrel
