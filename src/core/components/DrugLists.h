// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// What the drug lists by brand and by generic name have in common.
class DrugListComponent : public Component
{
    Q_OBJECT
    Q_PROPERTY(bool DrugsORCSR MEMBER DrugsORCSR)

public:
    /// Takes the connection (or connection string) the list reads through; true when it was given
    /// one.
    Q_INVOKABLE bool InitConnection(kestrel::Database *connection);
    /// The same, given the login's connection string.
    Q_INVOKABLE bool InitConnection(const QString &connectionString);
    /// Shows the active items stocked at the location `locationId` whose code, brand or
    /// generic name begins with `searchText` (all of them when it is empty) and answers the
    /// code of the item picked, "" when none.
    Q_INVOKABLE QString ShowList(const QString &locationId = QString(),
                                 const QString &searchText = QString());

    /// Without a location: true lists the pharmacy's drugs, false the central supply's items.
    bool DrugsORCSR = true;

protected:
    DrugListComponent(QString progId, QString title, bool byGeneric, const ComponentContext &ctx,
                      QObject *parent);

private:
    QString m_title;
    bool m_byGeneric = false;
};

/// The drug list by brand name.
class clsDrugList : public DrugListComponent
{
    Q_OBJECT

public:
    static constexpr QStringView kProgId = u"KsDrugList.clsDrugList";
    explicit clsDrugList(const ComponentContext &ctx, QObject *parent = nullptr);
};

/// The drug list by generic name, used for charging when the hospital lists by generic name.
class clsGenericList : public DrugListComponent
{
    Q_OBJECT

public:
    static constexpr QStringView kProgId = u"KsGenericList.clsGenericList";
    explicit clsGenericList(const ComponentContext &ctx, QObject *parent = nullptr);
};

} // namespace kestrel
