// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// The histopathology request window of the hospitals that send specimens from the OR.
class clsHistopathRequest : public Component
{
    Q_OBJECT

public:
    static constexpr QStringView kProgId = u"KsHistopath.clsHistopathRequest";

    explicit clsHistopathRequest(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Shows the request window. It is not available yet: the user is told so.
    Q_INVOKABLE void showform();
};

} // namespace kestrel
