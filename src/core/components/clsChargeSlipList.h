// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// The list of the patient's charge slips.
class clsChargeSlipList : public Component
{
    Q_OBJECT

public:
    static constexpr QStringView kProgId = u"KsSlipList.clsChargeSlipList";

    explicit clsChargeSlipList(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Takes the connection (or connection string) the list reads through; true when it was given
    /// one.
    Q_INVOKABLE bool InitConnection(kestrel::Database *connection);
    /// The same, given the login's connection string.
    Q_INVOKABLE bool InitConnection(const QString &connectionString);
    /// Shows the list and answers the charge slip picked, "" when none. The list window is
    /// not available yet: the user is told so.
    Q_INVOKABLE QString ShowList();

private:
};

} // namespace kestrel
