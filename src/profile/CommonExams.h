// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/ProfileStore.h"

#include <QList>
#include <QString>

namespace kestrel {

class Session;

/// The panel of common diagnostic exams on the patient profile: the lists of the laboratory,
/// X-ray, ultrasound and the other departments, and the orders the nurse picks from them.
/// An exam enters the orders only when the nurse may ask the department for it.
class CommonExams
{
public:
    /// One list of the panel.
    struct Panel
    {
        QString department;
        QString caption;
        QString listName;
        /// The procedure that gives the list's exams ("Code", "Exam").
        QString procedure;
    };

    struct Order
    {
        QString department, code, exam;
    };

    explicit CommonExams(Session &session)
        : m_session(session)
    {
    }

    static const QList<Panel> &panels();

    /// A click on an exam of `department`'s list for the stay of `header`: the right to ask
    /// that department, the laboratory's rule for outpatients, the admitting diagnosis of an
    /// admission, then no exam twice. False when refused; the user was told why.
    bool add(const ProfileHeader &header, const QString &department, const QString &code,
             const QString &exam);
    const QList<Order> &orders() const { return m_orders; }
    void clear() { m_orders.clear(); }

private:
    bool refuse(const QString &text);

    Session &m_session;
    QList<Order> m_orders;
};

} // namespace kestrel
