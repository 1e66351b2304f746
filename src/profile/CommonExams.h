// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/Money.h"
#include "profile/ProfileStore.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kestrel {

class Session;

/// The panel of common diagnostic exams on the patient profile: the lists of the laboratory,
/// X-ray, ultrasound and the other departments, the orders the nurse picks from them with what
/// each costs the stay, and "&Save", which sends them to the departments.
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
        Money amount;
        /// What the exam request entry adds to an order; a click on a list orders one,
        /// routine, without remarks.
        double quantity = 1;
        QString stat = QStringLiteral("N");
        QString remarks, section, specimenId, specimen, reason;
        /// The exam's STAT rule and specimen need, as the request entry read them.
        QString statRule;
        bool specimenRequired = false;
    };

    enum class Outcome { Saved, Refused, Abandoned, Failed };

    explicit CommonExams(Session &session)
        : m_session(session)
    {
    }

    static const QList<Panel> &panels();
    /// The department as the clearance message names it ("Laboratory", "CT-Scan").
    static QString departmentName(const QString &department);

    /// A click on an exam of `department`'s list for the stay of `header`, checked in the
    /// hospital's order: the right to ask that department, the laboratory's rule for
    /// outpatients, the department's clearance, a final discharge order, the admitting
    /// diagnosis of an admission, no exam twice, a cash-basis account's restricted exams; then
    /// its price for the stay, and an exam the department still has waiting is not asked again.
    /// False when refused; the user was told why.
    bool add(const ProfileHeader &header, const QString &department, const QString &code,
             const QString &exam);
    /// An order built by the exam request entry, which checked it already; refused only when
    /// the exam is in the orders already.
    bool addRequested(const Order &order);
    /// Takes order `row` off the list.
    bool remove(int row);
    const QList<Order> &orders() const { return m_orders; }
    Money total() const;
    void clear() { m_orders.clear(); }

    /// "&Save": asks, checks the stay's credit when the hospital does, and sends every order in
    /// one transaction, each under a request number of its department. An exam another station
    /// sent for the stay meanwhile refuses the whole list, which stays for the nurse to change.
    Outcome save(const ProfileHeader &header);
    /// The request numbers of the last save, order by order.
    const QStringList &sentNumbers() const { return m_sent; }

private:
    bool refuse(const QString &text);
    /// The request of `code` the department has not yet done for the stay: "number|date" of
    /// it, empty when there is none.
    static Result<QString> waitingRequest(Database &db, const QString &idNum,
                                          const QString &department, const QString &code);
    Result<bool> restrictedForCashBasis(const QString &department, const QString &code);
    /// One attempt at the save; the exam found waiting, when one refuses the list.
    Result<QString> trySave(const ProfileHeader &header, QStringList &numbers);

    Session &m_session;
    QList<Order> m_orders;
    QStringList m_sent;
};

} // namespace kestrel
