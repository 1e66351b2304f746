// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/MarkUp.h"

#include "patients/modGlobals.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

MarkUp::MarkUp(Session &session)
    : m_session(session)
{
}

bool MarkUp::load()
{
    m_choice = {};
    m_rows.clear();
    m_serverDate = modGlobals::LoadServerDate(m_session).date();
    const bool newKind = m_session.settings.UseNewORMarkUp();
    auto rows = m_session.db().select(
        newKind ? u"select Description as MarkupType, MarkUp, Operation "
                  u"from STATION..tbORMarkUp where Status = 'A'"
                : u"select MarkupName as MarkupType, MarkUp from STATION..tbMarkUp");
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    for (const kestrel::Row &r : *rows)
        m_rows.append({r.text(u"MarkupType"), r.number(u"MarkUp"), r.trimmed(u"Operation")});
    return true;
}

void MarkUp::choose(int index)
{
    if (index < 0 || index >= m_rows.size())
        return;
    const Row &row = m_rows.at(index);
    m_choice.value = row.markup;
    if (!m_session.settings.UseNewORMarkUp()) {
        m_choice.type = MarkupType::None;
    } else if (row.operation == u"*") {
        m_choice.type = MarkupType::Multiply;
    } else if (row.operation == u"+") {
        m_choice.type = MarkupType::Add;
    } else {
        m_choice = {};
    }
}

} // namespace kestrel
