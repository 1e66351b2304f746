// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// The list of medicines and supplies issued to the patient, from which a line is chosen
/// for a return.
class clsIssuedMedicines : public Component
{
    Q_OBJECT
    Q_PROPERTY(bool DrugsORCSR MEMBER DrugsORCSR)
    Q_PROPERTY(bool ListIssuedbyDrugs MEMBER ListIssuedbyDrugs)
    Q_PROPERTY(QString Chargeslip READ Chargeslip)
    Q_PROPERTY(double IssuedQuantity READ IssuedQuantity)

public:
    static constexpr QStringView kProgId = u"KsIssued.clsIssuedMedicines";

    explicit clsIssuedMedicines(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Takes the connection (or connection string) the list reads through; true when it was given
    /// one.
    Q_INVOKABLE bool InitConnection(kestrel::Database *connection);
    /// The same, given the login's connection string.
    Q_INVOKABLE bool InitConnection(const QString &connectionString);
    /// Shows the list; true when the user chose a line, whose charge slip and quantity are then
    /// in Chargeslip and IssuedQuantity. The list window is not available yet: the user is
    /// told so.
    Q_INVOKABLE bool ShowList();

    /// The charge slip of the chosen line.
    QString Chargeslip() const { return m_chargeSlip; }
    /// The quantity issued on the chosen line.
    double IssuedQuantity() const { return m_issuedQuantity; }

    /// Whether the list offers the central supply's items besides the pharmacy's.
    bool DrugsORCSR = true;
    /// Whether the list is grouped by drug rather than by charge slip.
    bool ListIssuedbyDrugs = false;

private:
    QString m_chargeSlip;
    double m_issuedQuantity = 0;
};

} // namespace kestrel
