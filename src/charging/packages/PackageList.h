// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryLine.h"
#include "charging/packages/PackageStore.h"

#include <QList>
#include <QObject>

#include <optional>

namespace kestrel {

class Session;

/// The rules of the package list `frmListPackage`: the packages tagged to the stay in the left
/// pane, the items of the one clicked with their ticks, and the ticked items brought into the
/// charge window's entry grid as package lines.
class PackageList : public QObject
{
    Q_OBJECT

public:
    explicit PackageList(Session &session, QObject *parent = nullptr);

    /// Reads the packages tagged to the stay `IdNum`; false (the user was told) when there is
    /// none or the database failed.
    bool open(const QString &IdNum);

    const QList<TaggedPackage> &packages() const { return m_packages; }
    /// The package clicked last; -1 before any.
    int chosenPackage() const { return m_chosen; }
    const QList<PackageItem> &items() const { return m_items; }
    bool isTicked(int row) const { return row >= 0 && row < m_ticks.size() && m_ticks.at(row); }
    static QString guide();
    /// `optCheckAll`: "Check All" while an item is unticked, else "Uncheck All".
    QString checkAllCaption() const;

    /// A package clicked in the left pane: its items, none ticked.
    void choosePackage(int index);
    /// Ticks or unticks item `row`. With `AllowZeroOnHand` a stock item none of which is left
    /// is refused (told); false when the tick was refused.
    bool setTicked(int row, bool ticked);
    /// `optCheckAll`: ticks every item the stock allows, or unticks them all.
    void checkAll(bool ticked);

    /// The ticked items as lines of the entry grid that holds `grid`; nothing (the user was
    /// told) when they may not go there.
    std::optional<QList<ChargeEntryLine>> linesFor(const QList<ChargeEntryLine> &grid) const;

Q_SIGNALS:
    void changed();

private:
    bool refuse(const QString &text) const;

    Session &m_session;
    PackageStore m_store;
    QList<TaggedPackage> m_packages;
    int m_chosen = -1;
    QList<PackageItem> m_items;
    QList<bool> m_ticks;
};

} // namespace kestrel
