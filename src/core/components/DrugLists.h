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
    /// Shows the list of the stock location `locationId` and answers the code of the drug
    /// picked, "" when none. The list window is not available yet: the user is told so.
    Q_INVOKABLE QString ShowList(const QString &locationId = QString());

    /// Whether the list offers the central supply's items besides the pharmacy's.
    bool DrugsORCSR = true;

protected:
    DrugListComponent(QString progId, QString listName, const ComponentContext &ctx,
                      QObject *parent);

private:
    QString m_listName;
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
