// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/MarkupSettings.h"

#include "patients/modGlobals.h"
#include "core/db/Database.h"
#include "core/db/LikePattern.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

MarkupSettings::MarkupSettings(Session &session)
    : m_session(session)
{
}

bool MarkupSettings::search(const QString &text)
{
    // `text` may be a field of the listing that is about to be replaced.
    m_lastSearch = text;
    m_listing.clear();
    m_listingMessage.clear();
    auto rows = m_session.db().call(u"STATION..SearchORMarkup", {m_lastSearch.trimmed()});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    if (modGlobals::FieldExists(*rows, QStringLiteral("Message"))) {
        m_listingMessage = QStringLiteral("No data found.");
        return true;
    }
    for (const Row &r : *rows) {
        MarkupEntry e;
        e.code = r.trimmed(u"MarkupID");
        e.description = r.trimmed(u"Description");
        e.markup = numberText(r.number(u"Markup"));
        e.operation = r.trimmed(u"Operation");
        e.active = r.trimmed(u"Status") == u"A";
        e.isDefault = r.flag(u"IsDefault");
        e.validFrom = r.date(u"RegFrom");
        e.validTo = r.date(u"RegTo");
        m_listing.append(e);
    }
    return true;
}

void MarkupSettings::select(int index)
{
    if (index < 0 || index >= m_listing.size())
        return;
    m_entry = m_listing.at(index);
    m_editing = false;
}

void MarkupSettings::add()
{
    const QDate today = modGlobals::LoadServerDate(m_session).date();
    m_entry = MarkupEntry();
    m_entry.code = QStringLiteral("NEW");
    m_entry.validFrom = today;
    m_entry.validTo = today;
    m_editing = true;
}

bool MarkupSettings::edit()
{
    if (m_entry.code.trimmed().isEmpty()) {
        m_session.notifier().message(QStringLiteral("Sorry, no code to edit."), kNotification,
                                     Notifier::Icon::Information);
        return false;
    }
    // A markup kept without validity dates is given today's when it is edited.
    const QDate today = modGlobals::LoadServerDate(m_session).date();
    if (!m_entry.validFrom.isValid())
        m_entry.validFrom = today;
    if (!m_entry.validTo.isValid())
        m_entry.validTo = today;
    m_editing = true;
    return true;
}

bool MarkupSettings::DescriptionExists(const QString &text)
{
    auto row = m_session.db().selectOne(u"select 1 from STATION..tbORMarkUp "
                                        u"where Description like :typed escape '\\'",
                                        {{QStringLiteral("typed"), likePrefix(text)}});
    if (!row) {
        m_session.notifier().errorBox(row.error());
        return false;
    }
    return row->has_value();
}

bool MarkupSettings::save()
{
    Notifier &notifier = m_session.notifier();
    if (!notifier.confirm(QStringLiteral("Are you sure you want to save this entry?"),
                          kNotification, Notifier::Icon::Question))
        return false;
    m_entry.description = m_entry.description.trimmed().toUpper();
    if (m_entry.description.isEmpty()) {
        notifier.message(QStringLiteral("Can't save blank description."), kNotification,
                         Notifier::Icon::Information);
        return false;
    }
    if (m_entry.isDefault && !m_entry.active) {
        notifier.message(QStringLiteral("Can't set as default value if item is inactive."),
                         kNotification, Notifier::Icon::Information);
        return false;
    }
    // A new markup may not take a description the hospital already uses.
    if (m_entry.code == u"NEW" && DescriptionExists(m_entry.description)) {
        notifier.message(QStringLiteral("Description already exists."), kNotification,
                         Notifier::Icon::Information);
        return false;
    }
    auto saved = m_session.db().call(
        u"STATION..SaveORMarkupValues",
        {m_entry.code, m_entry.description, m_entry.markup.trimmed(), m_entry.operation,
         m_entry.active ? QStringLiteral("A") : QStringLiteral("I"),
         m_entry.isDefault ? QStringLiteral("1") : QStringLiteral("0"), m_entry.validFrom,
         m_entry.validTo});
    if (!saved) {
        notifier.errorBox(saved.error());
        return false;
    }
    if (const std::optional<Row> row = saved->first())
        m_entry.code = row->trimmed(u"MarkupID");
    m_editing = false;
    notifier.message(QStringLiteral("Mark up successfully saved."), kNotification,
                     Notifier::Icon::Information);
    search(m_lastSearch);
    return true;
}

} // namespace kestrel
