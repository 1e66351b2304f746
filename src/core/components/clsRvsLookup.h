// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// The relative value scale of procedures: a list to pick a procedure's code and points from.
class clsRvsLookup : public Component
{
    Q_OBJECT
    Q_PROPERTY(QString RVSCode READ RVSCode)
    Q_PROPERTY(QString RVSDescription READ RVSDescription)
    Q_PROPERTY(double RVSPoints READ RVSPoints)

public:
    static constexpr QStringView kProgId = u"KsRvs.clsRvsLookup";

    explicit clsRvsLookup(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Takes the connection (or connection string) the list reads through; true when it was given
    /// one.
    Q_INVOKABLE bool InitConnection(kestrel::Database *connection);
    /// The same, given the login's connection string.
    Q_INVOKABLE bool InitConnection(const QString &connectionString);
    /// Shows the relative value scale; true when the user picked a procedure, whose code,
    /// description and points are then below.
    Q_INVOKABLE bool List();

    QString RVSCode() const { return m_code; }
    QString RVSDescription() const { return m_description; }
    double RVSPoints() const { return m_points; }

private:
    QString m_code;
    QString m_description;
    double m_points = 0;
};

} // namespace kestrel
