// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/db/RowSet.h"

namespace kestrel {

Columns::Columns(QStringList names)
    : m_names(std::move(names))
{
    m_index.reserve(m_names.size());
    // The first of two same-named columns wins, as a read by name does on the server.
    for (int i = 0; i < m_names.size(); ++i) {
        const QString key = m_names.at(i).toLower();
        if (!m_index.contains(key))
            m_index.insert(key, i);
    }
}

int Columns::indexOf(QStringView name) const
{
    const auto it = m_index.constFind(name.toString().toLower());
    return it == m_index.cend() ? -1 : it.value();
}

Row::Row(std::shared_ptr<const Columns> columns, QVariantList values)
    : m_columns(std::move(columns))
    , m_values(std::move(values))
{
}

bool Row::has(QStringView field) const
{
    return m_columns && m_columns->indexOf(field) >= 0;
}

QVariant Row::value(QStringView field) const
{
    if (!m_columns)
        return {};
    return value(m_columns->indexOf(field));
}

QVariant Row::value(int column) const
{
    if (column < 0 || column >= m_values.size())
        return {};
    return m_values.at(column);
}

const QStringList &Row::columnNames() const
{
    static const QStringList none;
    return m_columns ? m_columns->names() : none;
}

QString Row::text(QStringView field) const
{
    const QVariant v = value(field);
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return v.toString();
}

qint64 Row::integer(QStringView field) const
{
    const QVariant v = value(field);
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (ok)
        return n;
    // Numeric text such as "3.0000" from a money or decimal column.
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok ? qint64(d) : 0;
}

double Row::number(QStringView field) const
{
    const QVariant v = value(field);
    bool ok = false;
    const double d =
        v.typeId() == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
    return ok ? d : 0.0;
}

bool Row::flag(QStringView field) const
{
    const QVariant v = value(field);
    if (v.isNull())
        return false;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    const QString t = v.toString().trimmed();
    if (t.compare(u"Y", Qt::CaseInsensitive) == 0 || t.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    bool ok = false;
    const double d = t.toDouble(&ok);
    return ok && d != 0.0;
}

Money Row::money(QStringView field) const
{
    return Money::fromVariant(value(field));
}

QDate Row::date(QStringView field) const
{
    return dateTimeFromVariant(value(field)).date();
}

QDateTime Row::dateTime(QStringView field) const
{
    return dateTimeFromVariant(value(field));
}

RowSet::RowSet(QStringList columnNames)
    : m_columns(std::make_shared<Columns>(std::move(columnNames)))
{
}

std::optional<Row> RowSet::first() const
{
    if (m_rows.isEmpty())
        return std::nullopt;
    return m_rows.first();
}

void RowSet::append(QVariantList values)
{
    m_rows.append(Row(m_columns, std::move(values)));
}

QDateTime dateTimeFromVariant(const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return v.toDateTime();
    case QMetaType::QDate:
        return v.toDate().startOfDay();
    default:
        break;
    }
    const QString t = v.toString().trimmed();
    if (t.isEmpty())
        return {};
    if (t.size() == 10)
        return QDate::fromString(t, Qt::ISODate).startOfDay();
    QString iso = t;
    if (iso.size() > 10 && iso.at(10) == u' ')
        iso[10] = u'T';
    QDateTime dt = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (!dt.isValid())
        dt = QDateTime::fromString(iso, Qt::ISODate);
    return dt;
}

} // namespace kestrel
