// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "shell/components/Component.h"

namespace kestrel {

/// One drug or supply as the drug picker finds it.
class clsDrug : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString DrugCode READ DrugCode)
    Q_PROPERTY(QString DrugName READ DrugName)
    Q_PROPERTY(QString Description READ Description)
    Q_PROPERTY(QString GenericName READ GenericName)
    Q_PROPERTY(QString Status READ Status)

public:
    explicit clsDrug(QObject *parent = nullptr);

    /// Looks the drug up by its code; true when found, and then it is held here. The hospital
    /// database has no drug master yet, so no code is found.
    Q_INVOKABLE bool SearchDrug(const QString &code);

    QString DrugCode() const { return m_drugCode; }
    QString DrugName() const { return m_drugName; }
    QString Description() const { return m_description; }
    QString GenericName() const { return m_genericName; }
    /// "A" for an active item.
    QString Status() const { return m_status; }

private:
    QString m_drugCode;
    QString m_drugName;
    QString m_description;
    QString m_genericName;
    QString m_status;
};

/// The drug picker: finds a drug or supply by its code.
class clsDrugPicker : public Component
{
    Q_OBJECT
    Q_PROPERTY(kestrel::clsDrug *Drug READ Drug CONSTANT)
    Q_PROPERTY(QString Description READ Description)

public:
    static constexpr QStringView kProgId = u"KsDrug.clsDrugPicker";

    explicit clsDrugPicker(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Takes the connection (or connection string) the picker reads through; true when it was given
    /// one.
    Q_INVOKABLE bool InitConnect(kestrel::Database *connection);
    /// The same, given the login's connection string.
    Q_INVOKABLE bool InitConnect(const QString &connectionString);
    /// The drug found last.
    kestrel::clsDrug *Drug() const { return m_drug; }
    /// Drug()->SearchDrug(code).
    Q_INVOKABLE bool SearchDrug(const QString &code);
    /// The description of the drug found last.
    QString Description() const { return m_drug->Description(); }

private:
    kestrel::clsDrug *m_drug;
};

} // namespace kestrel
