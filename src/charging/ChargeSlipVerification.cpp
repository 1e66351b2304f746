// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargeSlipVerification.h"

#include "charging/ChargePostingStore.h"
#include "charging/ChargeSlipNumber.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QRegularExpression>

namespace kestrel {

ChargeSlipVerification::ChargeSlipVerification(Session &session)
    : m_session(session)
    , m_station(session.StationID.trimmed())
{
}

bool ChargeSlipVerification::load()
{
    auto counter = ChargePostingStore(m_session.db()).commonCounter(m_station);
    if (!counter) {
        m_session.notifier().errorBox(counter.error());
        return false;
    }
    m_chargeSlip = *counter ? QString::number(**counter) : QString();
    return true;
}

void ChargeSlipVerification::setStation(const QString &station)
{
    if (!station.trimmed().isEmpty())
        m_station = station.trimmed();
}

bool ChargeSlipVerification::canSave(const QString &typed)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,15}$"));
    return digits.match(typed.trimmed()).hasMatch();
}

std::optional<qint64> ChargeSlipVerification::save(const QString &typed)
{
    if (!canSave(typed))
        return std::nullopt;
    ChargePostingStore store(m_session.db());
    const SlipFormat plain;
    qint64 number = typed.trimmed().toLongLong();
    for (;;) {
        auto used = store.slipUsed(plain.number(SlipCounter::Common, number));
        if (!used) {
            m_session.notifier().errorBox(used.error());
            return std::nullopt;
        }
        if (!*used)
            break;
        ++number;
    }
    if (auto saved = store.setCommonCounter(m_station, number); !saved) {
        m_session.notifier().errorBox(saved.error());
        return std::nullopt;
    }
    m_session.notifier().message(QStringLiteral("Available Charge Slip Number : ") +
                                     QString::number(number),
                                 QStringLiteral("Notification"), Notifier::Icon::Information);
    return number;
}

} // namespace kestrel
