// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace kestrel {

class ReportService;
class Session;

/// The user log window's rules: the logged actions of a kind, or of one employee, in a period,
/// printed as the nurse log report.
class UserLogs
{
public:
    enum class SearchMode { ByTransaction = 0, ByUser = 1 };

    UserLogs(Session &session, ReportService &reports);

    /// The kinds of logged action, as the list shows them.
    static QStringList transactionEntries();
    /// The log's code of an entry of the list (compared in upper case); "" for none.
    static QString transactionCode(const QString &entry);

    SearchMode mode() const { return m_mode; }
    void setMode(SearchMode mode) { m_mode = mode; }

    /// Prints the actions of kind `entry` between the dates; false with a message when no kind
    /// is chosen or the report could not be shown.
    bool printByTransaction(const QString &entry, const QDate &from, const QDate &to);
    /// Prints the actions of employee `code` between the dates.
    bool printByUser(const QString &code, const QDate &from, const QDate &to);

private:
    bool print(const QString &codeOrV, const QDate &from, const QDate &to, const QString &last);

    Session &m_session;
    ReportService &m_reports;
    SearchMode m_mode = SearchMode::ByTransaction;
};

} // namespace kestrel
