// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// An ICD-10 diagnosis code and its description.
struct IcdRecord
{
    Q_GADGET
    Q_PROPERTY(QString ICDCode MEMBER ICDCode)
    Q_PROPERTY(QString Description MEMBER Description)

public:
    friend bool operator==(const IcdRecord &, const IcdRecord &) = default;

    QString ICDCode;
    QString Description;
};

/// The ICD-10 diagnosis code look-up.
class clsIcdLookup : public Component
{
    Q_OBJECT
    Q_PROPERTY(kestrel::Database *ActiveConnection READ ActiveConnection WRITE setActiveConnection)
    Q_PROPERTY(kestrel::IcdRecord clsICD READ clsICD)

public:
    static constexpr QStringView kProgId = u"KsIcd.clsIcdLookup";

    explicit clsIcdLookup(const ComponentContext &ctx, QObject *parent = nullptr);

    kestrel::Database *ActiveConnection() const { return connection(); }
    void setActiveConnection(kestrel::Database *connection) { takeConnection(connection); }

    /// Checks `code` against the ICD-10 codes; when it is not one, offers the list of the codes
    /// that begin with it (every code when none does). True when a valid code was given or
    /// picked, which is then in clsICD.
    Q_INVOKABLE bool ValidateICDCode(const QString &code);

    /// The code of the last successful validation.
    const IcdRecord &clsICD() const { return m_icd; }

private:
    IcdRecord m_icd;
};

} // namespace kestrel
