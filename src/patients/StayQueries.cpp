// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/StayQueries.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel::stayqueries {

bool isOutpatientIdNum(const QString &IdNum)
{
    return IdNum.trimmed().endsWith(u'B', Qt::CaseInsensitive);
}

std::optional<Row> firstRow(Session &session, QStringView sql, const Binds &binds)
{
    auto row = session.db().selectOne(sql, binds);
    if (!row) {
        session.notifier().errorBox(row.error());
        return std::nullopt;
    }
    return *row;
}

std::optional<Row> firstRowOfCall(Session &session, QStringView procedure, const QVariantList &args)
{
    auto rows = session.db().call(procedure, args);
    if (!rows) {
        session.notifier().errorBox(rows.error());
        return std::nullopt;
    }
    return rows->first();
}

Binds idBind(const QString &IdNum)
{
    return {{QStringLiteral("id"), IdNum}};
}

bool hasRow(Session &session, QStringView sql, const Binds &binds)
{
    return firstRow(session, sql, binds).has_value();
}

} // namespace kestrel::stayqueries
