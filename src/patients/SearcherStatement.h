// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QString>
#include <QVariantList>

namespace kestrel {

/// A statement of the code search list with the user's text put where the statement says
/// "##". The hospital writes these statements as text with "##" inside a quoted value:
///
///     SELECT HospitalName,HospitalID FROM BUILD_FILE..tbcoHospital
///     WHERE HospitalName like '##' + '%' ORDER BY HospitalName
///
/// Every quoted value that holds "##" (with the quoted values joined to it by "+") becomes a
/// bound value, so the typed text never becomes part of the statement. After LIKE the typed
/// text is matched as typed: its "%", "_" and "\" are escaped, while the statement's own "%"
/// still match anything. A "##" outside quotes is bound as text too. A statement that begins
/// with a procedure's name ("Patient_Data..sp_Adm_SearchAdmissionType '##'") calls that
/// procedure with its quoted arguments. A statement without "##" runs as it is.
class SearcherStatement
{
public:
    SearcherStatement(const QString &query, const QString &typed);

    bool isProcedureCall() const { return !m_procedure.isEmpty(); }
    /// The procedure a procedure call names.
    const QString &procedure() const { return m_procedure; }
    /// Its arguments, the typed text put into them.
    const QVariantList &arguments() const { return m_arguments; }
    /// The statement to run, with a placeholder for each value that held "##".
    const QString &sql() const { return m_sql; }
    const Binds &binds() const { return m_binds; }

    Result<RowSet> run(Database &db) const;

private:
    void bindStatement(const QString &query, const QString &typed);
    void bindProcedureCall(const QString &arguments, const QString &typed);

    QString m_sql;
    Binds m_binds;
    QString m_procedure;
    QVariantList m_arguments;
};

} // namespace kestrel
