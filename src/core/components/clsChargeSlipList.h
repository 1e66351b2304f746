// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// The list of the patient's charge slips.
class clsChargeSlipList : public Component
{
    Q_OBJECT
    Q_PROPERTY(QString IdNum MEMBER IdNum)
    Q_PROPERTY(QString StationID MEMBER StationID)

public:
    static constexpr QStringView kProgId = u"KsSlipList.clsChargeSlipList";

    explicit clsChargeSlipList(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Takes the connection (or connection string) the list reads through; true when it was given
    /// one.
    Q_INVOKABLE bool InitConnection(kestrel::Database *connection);
    /// The same, given the login's connection string.
    Q_INVOKABLE bool InitConnection(const QString &connectionString);
    /// Shows the charge slips of the stay IdNum (of the station StationID when it is set)
    /// and answers the charge slip picked, "" when none.
    Q_INVOKABLE QString ShowList();

    QString IdNum;
    QString StationID;
};

} // namespace kestrel
