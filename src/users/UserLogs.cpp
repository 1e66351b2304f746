// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/UserLogs.h"

#include "reports/ReportService.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QDir>

namespace kestrel {

namespace {

struct Transaction
{
    const char16_t *entry;
    const char16_t *code;
};

// In the order the list shows them.
constexpr Transaction kTransactions[] = {
    {u"Build File OR Room", u"I"},    {u"Cancel Request", u"A"},
    {u"Change Diet", u"B"},           {u"Change Height and Weight", u"C"},
    {u"Clinical Operation", u"J"},    {u"Edit Patient Profile", u"D"},
    {u"OR Schedule Operation", u"K"}, {u"Revoke Discharge Order", u"E"},
    {u"Send Request", u"F"},
};

} // namespace

UserLogs::UserLogs(Session &session, ReportService &reports)
    : m_session(session)
    , m_reports(reports)
{
}

QStringList UserLogs::transactionEntries()
{
    QStringList entries;
    for (const Transaction &t : kTransactions)
        entries << QString::fromUtf16(t.entry);
    return entries;
}

QString UserLogs::transactionCode(const QString &entry)
{
    const QString wanted = entry.trimmed().toUpper();
    for (const Transaction &t : kTransactions) {
        if (QString::fromUtf16(t.entry).toUpper() == wanted)
            return QString::fromUtf16(t.code);
    }
    return {};
}

bool UserLogs::printByTransaction(const QString &entry, const QDate &from, const QDate &to)
{
    const QString code = transactionCode(entry);
    if (code.isEmpty()) {
        m_session.notifier().message(QStringLiteral("Please select transaction type."),
                                     QStringLiteral("Notification"), Notifier::Icon::Information);
        return false;
    }
    return print(code, from, to, QString());
}

bool UserLogs::printByUser(const QString &code, const QDate &from, const QDate &to)
{
    if (code.trimmed().isEmpty()) {
        m_session.notifier().message(QStringLiteral("Please select employee."),
                                     QStringLiteral("Notification"), Notifier::Icon::Information);
        return false;
    }
    return print(QStringLiteral("V"), from, to, code.trimmed());
}

bool UserLogs::print(const QString &codeOrV, const QDate &from, const QDate &to,
                     const QString &last)
{
    const QString format = QStringLiteral("MM/dd/yyyy");
    const QVariantList values{m_session.hospital.Company,
                              m_session.hospital.Address1,
                              codeOrV,
                              from.toString(format),
                              to.toString(format),
                              last,
                              int(m_mode)};
    if (!m_reports.OpenReport(QStringLiteral("NurseLogs.RPT"), values))
        return false;
    m_reports.ShowReport(false, QStringLiteral("Nurse Log"));
    return true;
}

} // namespace kestrel
