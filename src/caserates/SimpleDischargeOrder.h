// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "caserates/DischargeNoticeSteps.h"
#include "caserates/DischargeOrderStore.h"

namespace kestrel {

class Session;

namespace caserates {

/// The discharge order of a station that does not bill case rates: the final diagnosis, the
/// operation and the doctors' fees as free text, sent to billing as the same notice.
class SimpleDischargeOrder
{
public:
    explicit SimpleDischargeOrder(Session &session);

    bool open(const QString &idNum);
    const Notice &notice() const { return m_notice; }
    QString idNum() const { return m_idNum; }
    bool isSent() const { return m_notice.isFinal; }

    /// The texts as typed; the dates of the order.
    void setTexts(const QString &diagnosis, const QString &operation, const QString &fees,
                  const QString &remarks);
    void setDates(const QDateTime &ordered, const QDate &billUpTo);

    bool send();
    /// Revokes the order; with the hospital's RetainDataRevokeDischarge on, the texts stay on
    /// screen for the order sent next.
    bool revoke();

private:
    bool refuse(const QString &message);

    Session &m_session;
    DischargeOrderStore m_store;
    DischargeNoticeSteps m_steps;
    QString m_idNum;
    QString m_patientName;
    Notice m_notice;
};

} // namespace caserates
} // namespace kestrel
