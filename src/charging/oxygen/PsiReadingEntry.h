// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryPrompts.h"

#include <QString>

#include <optional>

namespace kestrel {

class Session;

/// The rules of the PSI reading window `frmPSIReading` of an oxygen line: the tank number
/// checked against the tank's history, the initial reading preset from the tank's last one,
/// both readings checked while typed and on leaving their fields, and the pressure used.
class PsiReadingEntry
{
public:
    /// The window for the oxygen item `itemId`.
    PsiReadingEntry(Session &session, QString itemId);

    /// The tank number typed (`txtTank`, on leaving it): required, not spent, and for the
    /// hospital that shares tanks across items one of this item. The initial reading becomes
    /// the tank's last one. False (told) when the tank is refused.
    bool enterTank(const QString &tank);

    /// The text of `txtInitialReading` as preset by the tank's history.
    const QString &initialText() const { return m_initialText; }
    /// While a reading is typed: the warning to show beside it, "" when it is fine.
    QString initialWarning(const QString &initial, const QString &last) const;
    QString lastWarning(const QString &initial, const QString &last) const;
    /// On leaving a reading's field: false (told) when it is refused.
    bool leaveInitial(const QString &initial, const QString &last);
    bool leaveLast(const QString &initial, const QString &last);

    /// `lblConsumed`: the pressure used, "" until both readings are valid.
    QString consumedText(const QString &initial, const QString &last) const;

    /// Accepting the window: the tank and readings, or nothing (told) when any is refused.
    std::optional<PsiReading> accept(const QString &tank, const QString &initial,
                                     const QString &last);

private:
    enum class Problem { None, InitialNotPositive, InitialNotAboveLast, LastNegative,
                         LastNotBelowInitial };
    Problem initialProblem(const QString &initial, const QString &last) const;
    Problem lastProblem(const QString &initial, const QString &last) const;
    bool tell(const QString &text);

    Session &m_session;
    QString m_itemId;
    QString m_tankChecked;
    QString m_initialText;
};

} // namespace kestrel
