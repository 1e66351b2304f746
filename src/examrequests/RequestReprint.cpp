// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/RequestReprint.h"

#include "core/db/Database.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "profile/ProfileStore.h"
#include "reports/ReportService.h"

#include <QLocale>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

RequestReprint::RequestReprint(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

QStringList RequestReprint::requestCaptions()
{
    return {QStringLiteral("#"), QStringLiteral("Date/Time Requested"),
            QStringLiteral("Requesting Nurse"), QStringLiteral("No. of Items")};
}

QStringList RequestReprint::itemCaptions()
{
    return {QStringLiteral("#"),         QStringLiteral("Code"),     QStringLiteral("Description"),
            QStringLiteral("Frequency"), QStringLiteral("Quantity"), QStringLiteral("Remarks")};
}

QString RequestReprint::title() const
{
    return m_revenue == u"CS" ? QStringLiteral("CENTRAL SUPPLIES REQUEST FORM")
                              : QStringLiteral("PHARMACY REQUEST FORM");
}

bool RequestReprint::open(const QString &idNum, const QString &revenue)
{
    m_idNum = idNum.trimmed();
    m_revenue = revenue.trimmed().toUpper() == u"CS" ? QStringLiteral("CS") : QStringLiteral("PH");
    m_requests = RowSet();
    m_items = RowSet();
    m_chosen = -1;
    Q_EMIT listChanged();
    if (m_idNum.isEmpty()) {
        m_session.notifier().message(QStringLiteral("Please select a patient first."),
                                     kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    auto rows = m_session.db().call(u"STATION..GetRequestByRevenueID",
                                    {m_idNum, m_revenue, QStringLiteral("1"), QString()});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    m_requests = std::move(*rows);
    Q_EMIT listChanged();
    return true;
}

QStringList RequestReprint::requestCells(int row) const
{
    if (row < 0 || row >= m_requests.count())
        return {};
    const Row &r = m_requests.at(row);
    return {r.trimmed(u"RequestNum"),
            QLocale::c().toString(r.dateTime(u"DateRequested"),
                                  QStringLiteral("MM/dd/yyyy hh:mm:ss AP")),
            r.trimmed(u"RequestingNurse"), QString::number(r.integer(u"Items"))};
}

bool RequestReprint::choose(int row)
{
    m_items = RowSet();
    m_chosen = row >= 0 && row < m_requests.count() ? row : -1;
    if (m_chosen >= 0) {
        auto rows = m_session.db().call(u"STATION..GetRequestByRevenueID",
                                        {m_idNum, m_revenue, QStringLiteral("0"),
                                         m_requests.at(m_chosen).trimmed(u"RequestNum")});
        if (!rows) {
            m_session.notifier().errorBox(rows.error());
            Q_EMIT listChanged();
            return false;
        }
        m_items = std::move(*rows);
    }
    Q_EMIT listChanged();
    return m_chosen >= 0;
}

QStringList RequestReprint::itemCells(int row) const
{
    if (row < 0 || row >= m_items.count())
        return {};
    const Row &r = m_items.at(row);
    return {QString::number(row + 1),  r.trimmed(u"Code"),
            r.trimmed(u"Description"), r.trimmed(u"Frequency"),
            formatNumber(r.number(u"Quantity"), u"#,##0"), r.trimmed(u"Remarks")};
}

bool RequestReprint::print()
{
    Notifier &notifier = m_session.notifier();
    if (m_chosen < 0) {
        notifier.message(QStringLiteral("Please select request transaction to reprint."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (!m_reports)
        return false;
    Database &db = m_session.db();
    auto now = db.loadServerDate();
    if (!now)
        return notifier.errorBox(now.error()), false;
    auto header = ProfileStore(db).header(m_idNum, now->date());
    if (!header)
        return notifier.errorBox(header.error()), false;
    const Row &r = m_requests.at(m_chosen);
    if (!m_reports->OpenReport(QStringLiteral("PHCSRequest.RPT"),
                               {m_idNum, m_revenue, r.trimmed(u"FirstNum"),
                                r.trimmed(u"LastNum"), header->PatientName, header->Room,
                                r.trimmed(u"RequestingNurse"),
                                QStringLiteral("DUPLICATE COPY")}))
        return false;
    m_reports->ShowReport(false, title());
    return true;
}

} // namespace kestrel
