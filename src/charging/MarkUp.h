// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/PricingPrompts.h"

#include <QDate>
#include <QList>
#include <QString>

namespace kestrel {

class Session;

/// The rules of the markup window `frmMarkUp`: the list of markups the hospital keeps (the new
/// kind, multiplied or added, or the older list of factors), the row chosen, and the holiday
/// box preset on Sundays.
class MarkUp
{
public:
    /// One row of the list: what the grid shows under "Mark-Up Type", and the markup itself.
    struct Row
    {
        QString type;
        double markup = 0;
        QString operation; ///< "*" or "+" for the new kind; empty in the older list
    };

    explicit MarkUp(Session &session);

    /// Fills the list and starts again from no markup; false when the list cannot be read.
    bool load();
    const QList<Row> &rows() const { return m_rows; }
    /// The holiday box starts ticked when the server's day is a Sunday.
    bool holidayPreset() const { return m_serverDate.dayOfWeek() == Qt::Sunday; }

    /// Chooses row `index`: its markup, multiplied ("*") or added ("+"); any other operation
    /// of the new kind is no markup at all.
    void choose(int index);
    /// The markup chosen, value 0 while none is.
    MarkupChoice choice() const { return m_choice; }

private:
    Session &m_session;
    QList<Row> m_rows;
    QDate m_serverDate;
    MarkupChoice m_choice;
};

} // namespace kestrel
