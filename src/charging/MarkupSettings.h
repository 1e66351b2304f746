// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace kestrel {

class Session;

/// One markup of the OR as the master window edits it.
struct MarkupEntry
{
    QString code; ///< the markup's number, "NEW" while it is being added
    QString description;
    QString markup;                             ///< as typed
    QString operation = QStringLiteral("*");    ///< "*" multiply or "+" add
    bool active = true;
    bool isDefault = false;
    QDate validFrom;
    QDate validTo;
};

/// The rules of the markup master `frmMarkupSettings` ("Mark Up Settings"): search the OR's
/// markups, add or edit one, save it.
class MarkupSettings
{
public:
    explicit MarkupSettings(Session &session);

    /// Lists the markups whose code or description begins with `text` (all for an empty text).
    /// False when the list could not be read.
    bool search(const QString &text);
    const QList<MarkupEntry> &listing() const { return m_listing; }
    /// "No data found." when the last search found nothing, else empty.
    QString listingMessage() const { return m_listingMessage; }

    /// Shows row `index` of the listing; what was being added or edited is dropped.
    void select(int index);
    /// Starts a new markup: code "NEW", active, multiplied, valid from today.
    void add();
    /// Starts editing the markup shown; false (and the user told) when none is.
    bool edit();
    /// The fields may be typed in while adding or editing.
    bool isEditing() const { return m_editing; }

    MarkupEntry &entry() { return m_entry; }
    const MarkupEntry &entry() const { return m_entry; }

    /// Saves the entry after asking, unless it is refused; true when saved, and the listing is
    /// then searched again.
    bool save();

    /// A markup whose description begins with `text` exists.
    bool DescriptionExists(const QString &text);

private:
    Session &m_session;
    QList<MarkupEntry> m_listing;
    QString m_listingMessage;
    QString m_lastSearch;
    MarkupEntry m_entry;
    bool m_editing = false;
};

} // namespace kestrel
