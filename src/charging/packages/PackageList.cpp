// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/packages/PackageList.h"

#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

PackageList::PackageList(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_store(session.db())
{
}

bool PackageList::open(const QString &IdNum)
{
    auto packages = m_store.taggedPackages(IdNum);
    if (!packages) {
        m_session.notifier().errorBox(packages.error());
        return false;
    }
    if (packages->isEmpty())
        return refuse(QStringLiteral("Sorry, no package was tagged for this patient."));
    m_packages = *packages;
    m_chosen = -1;
    m_items.clear();
    m_ticks.clear();
    Q_EMIT changed();
    return true;
}

QString PackageList::guide()
{
    return QStringLiteral("Click on the List of Packages to view the details.");
}

QString PackageList::checkAllCaption() const
{
    const bool allTicked =
        !m_ticks.isEmpty() && std::all_of(m_ticks.cbegin(), m_ticks.cend(), [](bool t) { return t; });
    return allTicked ? QStringLiteral("Uncheck All") : QStringLiteral("Check All");
}

void PackageList::choosePackage(int index)
{
    if (index < 0 || index >= m_packages.size())
        return;
    auto items = m_store.items(m_packages.at(index).code);
    if (!items) {
        m_session.notifier().errorBox(items.error());
        return;
    }
    m_chosen = index;
    m_items = *items;
    m_ticks = QList<bool>(m_items.size(), false);
    Q_EMIT changed();
}

bool PackageList::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= m_items.size())
        return false;
    const PackageItem &item = m_items.at(row);
    if (ticked && item.isStockItem() && m_session.hospital.AllowZeroOnHand) {
        auto stock = m_store.onHand(item.itemId, item.locationId);
        if (!stock) {
            m_session.notifier().errorBox(stock.error());
            return false;
        }
        if (*stock <= 0) {
            m_session.notifier().message(QStringLiteral("There is no stock left for ") +
                                             item.description +
                                             QStringLiteral(". The item will not be included in "
                                                            "the request."),
                                         kNotification, Notifier::Icon::Critical);
            m_ticks[row] = false;
            Q_EMIT changed();
            return false;
        }
    }
    m_ticks[row] = ticked;
    Q_EMIT changed();
    return true;
}

void PackageList::checkAll(bool ticked)
{
    if (m_chosen < 0) {
        refuse(QStringLiteral("Please select package from the left pane."));
        return;
    }
    for (int row = 0; row < m_items.size(); ++row)
        setTicked(row, ticked);
}

std::optional<QList<ChargeEntryLine>> PackageList::linesFor(const QList<ChargeEntryLine> &grid) const
{
    if (m_chosen < 0) {
        refuse(QStringLiteral("Please select package from the left pane."));
        return std::nullopt;
    }
    if (std::none_of(m_ticks.cbegin(), m_ticks.cend(), [](bool t) { return t; })) {
        refuse(QStringLiteral("Please select package items."));
        return std::nullopt;
    }
    const QString package = m_packages.at(m_chosen).code;
    for (const ChargeEntryLine &line : grid) {
        const QString held = line.packageId.trimmed();
        if (held.isEmpty()) {
            if (line.hasCode() && m_session.settings.DontMixPackages()) {
                refuse(QStringLiteral("Please don't mix non-package and package items."));
                return std::nullopt;
            }
            continue;
        }
        if (held.compare(package, Qt::CaseInsensitive) == 0) {
            refuse(QStringLiteral("Package was previously added to the list of charges."));
            return std::nullopt;
        }
        refuse(QStringLiteral("Please don't mix two or more packages in a single chargeslip."));
        return std::nullopt;
    }

    QList<ChargeEntryLine> lines;
    for (int row = 0; row < m_items.size(); ++row) {
        if (!m_ticks.at(row))
            continue;
        const PackageItem &item = m_items.at(row);
        // An item the package never priced would post at nothing: the build file is wrong.
        if (!item.amount) {
            refuse(QStringLiteral("No price was set for ") + item.description +
                   QStringLiteral(" in package ") + package +
                   QStringLiteral(". Please check the build file of the package."));
            return std::nullopt;
        }
        if (item.quantity <= 0) {
            refuse(QStringLiteral("No quantity was set for ") + item.description +
                   QStringLiteral(" in package ") + package +
                   QStringLiteral(". Please check the build file of the package."));
            return std::nullopt;
        }
        ChargeEntryLine line;
        line.line.department = item.revenueId;
        line.line.item = item.itemId;
        line.line.description = item.description;
        line.line.quantity = numberText(item.quantity);
        line.line.setUnitPrice(
            Money::fromMinor(std::llround(double(item.amount->minor()) / item.quantity)));
        line.line.setAmount(*item.amount);
        line.line.listPrice = line.line.unitPrice;
        line.line.location = item.locationId;
        line.line.statFlag = QStringLiteral("N");
        line.packageId = package;
        line.stockItem = item.isStockItem();
        lines.append(line);
    }
    return lines;
}

bool PackageList::refuse(const QString &text) const
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Information);
    return false;
}

} // namespace kestrel
