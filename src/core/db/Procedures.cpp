// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/db/Procedures.h"

#include "core/db/Database.h"

#include <QRegularExpression>

namespace kestrel {

QString ProcedureArgs::text(int i) const
{
    const QVariant v = at(i);
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return Database::isoText(v.toDate());
    if (v.typeId() == QMetaType::QDateTime)
        return Database::isoText(v.toDateTime());
    return v.toString().trimmed();
}

QString ProcedureRegistry::normalizedName(QStringView name)
{
    static const QRegularExpression qualified(
        QStringLiteral(
            R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*\.\s*(?:dbo\s*)?\.\s*([A-Za-z_#][A-Za-z0-9_]*)\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = qualified.match(name);
    if (!m.hasMatch() || !isHospitalDatabaseName(m.capturedView(1)))
        return {};
    return m.captured(1).toLower() + u".." + m.captured(2).toLower();
}

void ProcedureRegistry::add(const QString &name, int parameterCount, ProcedureHandler handler,
                            ProcedureBatchHandler batchHandler)
{
    const QString key = normalizedName(name);
    Q_ASSERT_X(!key.isEmpty(), "ProcedureRegistry::add", "procedure names are DATABASE..name");
    if (key.isEmpty())
        return;
    m_entries.insert(key,
                     Entry{name, parameterCount, std::move(handler), std::move(batchHandler)});
}

const ProcedureRegistry::Entry *ProcedureRegistry::find(QStringView name) const
{
    const auto it = m_entries.constFind(normalizedName(name));
    return it == m_entries.cend() ? nullptr : &it.value();
}

int ProcedureRegistry::parameterCount(QStringView database, QStringView procedure) const
{
    const QString name = database.toString() + u".." + procedure.toString().trimmed();
    const Entry *e = find(name);
    return e ? e->parameterCount : 0;
}

QStringList ProcedureRegistry::names() const
{
    QStringList out;
    for (const Entry &e : m_entries)
        out << e.name;
    out.sort(Qt::CaseInsensitive);
    return out;
}

} // namespace kestrel
