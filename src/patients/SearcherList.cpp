// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/SearcherList.h"

#include "patients/SearcherStatement.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

SearcherList::SearcherList(Session &session)
    : m_session(session)
{
}

QString SearcherList::hospitalName() const
{
    return m_session.hospital.Company;
}

void SearcherList::open()
{
    m_valid = false;
    m_code.clear();
    m_description.clear();
    refresh(m_criteria);
}

void SearcherList::refresh(const QString &typed)
{
    m_headers.clear();
    m_rows.clear();
    auto result = SearcherStatement(m_query, typed).run(m_session.db());
    if (!result) {
        m_session.notifier().errorBox(result.error());
        return;
    }
    m_headers = result->columnNames();
    for (const Row &r : *result) {
        QStringList cells;
        for (const QVariant &v : r.values())
            cells << v.toString().trimmed();
        m_rows << cells;
    }
}

QString SearcherList::descriptionAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).value(0) : QString();
}

bool SearcherList::select(int row)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    m_description = m_rows.at(row).value(0);
    m_code = m_rows.at(row).value(1);
    m_valid = true;
    return true;
}

void SearcherList::cancel()
{
    m_valid = false;
}

} // namespace kestrel
