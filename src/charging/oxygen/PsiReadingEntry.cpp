// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/oxygen/PsiReadingEntry.h"

#include "core/db/Database.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <cmath>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

// A tank whose last reading is at or below this pressure has nothing left to give.
constexpr double kTankFloor = 0;

// A typed reading: a finite number, or nothing.
std::optional<double> reading(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

PsiReadingEntry::PsiReadingEntry(Session &session, QString itemId)
    : m_session(session)
    , m_itemId(std::move(itemId).trimmed())
{
}

bool PsiReadingEntry::enterTank(const QString &typed)
{
    const QString tank = typed.trimmed();
    m_tankChecked.clear();
    if (tank.isEmpty())
        return tell(QStringLiteral("Please enter Tank #."));
    // One hospital numbers its tanks across every oxygen item, the others per item.
    const bool sharedTanks = m_session.hospital.clientname == u"WERPA";
    Result<std::optional<Row>> history =
        sharedTanks
            ? m_session.db().selectOne(
                  u"select CSR.ItemID, CSR.TankNum, CSR.InitialR, CSR.LastR, "
                  u"OT.OtherRevenue as ItemName from INVENTORY..tbCSROxygen CSR "
                  u"left outer join BUILD_FILE..tbCoOtherRevenue OT on OT.OtherRevenueID = "
                  u"CSR.ItemID where CSR.TankNum = :tank order by CSR.TransDate desc, "
                  u"CSR.OxygenID desc limit 1",
                  {{QStringLiteral("tank"), tank}})
            : m_session.db().selectOne(
                  u"select ItemID, TankNum, InitialR, LastR from INVENTORY..tbCSROxygen "
                  u"where ItemID = :item and TankNum = :tank order by TransDate desc, "
                  u"OxygenID desc limit 1",
                  {{QStringLiteral("item"), m_itemId}, {QStringLiteral("tank"), tank}});
    if (!history) {
        m_session.notifier().errorBox(history.error());
        return false;
    }
    m_initialText.clear();
    if (const std::optional<Row> &last = *history) {
        if (last->number(u"LastR") <= kTankFloor)
            return tell(QStringLiteral("This Tank # is already consumed. Please enter a new "
                                       "Tank #."));
        if (sharedTanks && last->trimmed(u"ItemID").compare(m_itemId, Qt::CaseInsensitive) != 0)
            return tell(QStringLiteral("This tank number is for ") + last->trimmed(u"ItemName") +
                        QStringLiteral(". Please make sure the right tank is entered and the "
                                       "corresponding measurement is correct."));
        m_initialText = numberText(last->number(u"LastR"));
    }
    m_tankChecked = tank;
    return true;
}

PsiReadingEntry::Problem PsiReadingEntry::initialProblem(const QString &initial,
                                                         const QString &last) const
{
    const std::optional<double> i = reading(initial);
    if (!i || *i <= 0)
        return Problem::InitialNotPositive;
    const std::optional<double> l = reading(last);
    if (l && *i <= *l)
        return Problem::InitialNotAboveLast;
    return Problem::None;
}

PsiReadingEntry::Problem PsiReadingEntry::lastProblem(const QString &initial,
                                                      const QString &last) const
{
    const std::optional<double> l = reading(last);
    if (!l || *l < 0)
        return Problem::LastNegative;
    const std::optional<double> i = reading(initial);
    if (i && *l >= *i)
        return Problem::LastNotBelowInitial;
    return Problem::None;
}

QString PsiReadingEntry::initialWarning(const QString &initial, const QString &last) const
{
    switch (initialProblem(initial, last)) {
    case Problem::InitialNotPositive:
        return QStringLiteral("INVALID Initial Reading! It should be > 0");
    case Problem::InitialNotAboveLast:
        return QStringLiteral("INVALID Initial Reading! It should be > Last Reading");
    default:
        return {};
    }
}

QString PsiReadingEntry::lastWarning(const QString &initial, const QString &last) const
{
    switch (lastProblem(initial, last)) {
    case Problem::LastNegative:
        return QStringLiteral("INVALID Last Reading! It should be >= 0");
    case Problem::LastNotBelowInitial:
        return QStringLiteral("INVALID Last Reading! It should be < Initial Reading");
    default:
        return {};
    }
}

bool PsiReadingEntry::leaveInitial(const QString &initial, const QString &last)
{
    switch (initialProblem(initial, last)) {
    case Problem::InitialNotPositive:
        return tell(QStringLiteral("INVALID Initial Reading! It should be greater than zero(0)"));
    case Problem::InitialNotAboveLast:
        return tell(QStringLiteral("INVALID Initial Reading! It should be greater than the Last "
                                   "Reading"));
    default:
        return true;
    }
}

bool PsiReadingEntry::leaveLast(const QString &initial, const QString &last)
{
    switch (lastProblem(initial, last)) {
    case Problem::LastNegative:
        return tell(QStringLiteral("INVALID Last Reading! It should be greater than zero or equal "
                                   "to zero(0)."));
    case Problem::LastNotBelowInitial:
        return tell(QStringLiteral("INVALID Last Reading! It should be less than the Initial "
                                   "Reading"));
    default:
        return true;
    }
}

QString PsiReadingEntry::consumedText(const QString &initial, const QString &last) const
{
    if (initialProblem(initial, last) != Problem::None || lastProblem(initial, last) != Problem::None)
        return {};
    return numberText(*reading(initial) - *reading(last));
}

std::optional<PsiReading> PsiReadingEntry::accept(const QString &tank, const QString &initial,
                                                  const QString &last)
{
    if (m_tankChecked.isEmpty() || m_tankChecked != tank.trimmed()) {
        if (!enterTank(tank))
            return std::nullopt;
    }
    if (!leaveInitial(initial, last) || !leaveLast(initial, last))
        return std::nullopt;
    return PsiReading{m_tankChecked, *reading(initial), *reading(last)};
}

bool PsiReadingEntry::tell(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return false;
}

} // namespace kestrel
