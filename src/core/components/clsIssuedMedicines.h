// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"
#include "core/db/Money.h"

namespace kestrel {

/// The list of medicines and supplies issued to the patient, from which a line is chosen
/// for a return.
class clsIssuedMedicines : public Component
{
    Q_OBJECT
    Q_PROPERTY(bool DrugsORCSR MEMBER DrugsORCSR)
    Q_PROPERTY(bool ListIssuedbyDrugs MEMBER ListIssuedbyDrugs)
    Q_PROPERTY(QString IdNum MEMBER IdNum)
    Q_PROPERTY(QString Chargeslip READ Chargeslip)
    Q_PROPERTY(double IssuedQuantity READ IssuedQuantity)
    Q_PROPERTY(QString ItemID READ ItemID)
    Q_PROPERTY(QString ItemName READ ItemName)
    Q_PROPERTY(double StockOnHand READ StockOnHand)
    Q_PROPERTY(kestrel::Money SellingPriceIn READ SellingPriceIn)

public:
    static constexpr QStringView kProgId = u"KsIssued.clsIssuedMedicines";

    explicit clsIssuedMedicines(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Takes the connection (or connection string) the list reads through; true when it was given
    /// one.
    Q_INVOKABLE bool InitConnection(kestrel::Database *connection);
    /// The same, given the login's connection string.
    Q_INVOKABLE bool InitConnection(const QString &connectionString);
    /// Shows what was issued to the stay IdNum and is not yet returned; true when the user
    /// chose a line, whose charge slip, item, quantity, stock and price are then below.
    Q_INVOKABLE bool ShowList();

    /// The charge slip of the chosen line.
    QString Chargeslip() const { return m_chargeSlip; }
    /// The quantity issued on the chosen line, less what came back.
    double IssuedQuantity() const { return m_issuedQuantity; }
    QString ItemID() const { return m_itemId; }
    QString ItemName() const { return m_itemName; }
    /// The stock at the location the line was issued from.
    double StockOnHand() const { return m_stockOnHand; }
    Money SellingPriceIn() const { return m_price; }

    /// The stay whose issued items are listed.
    QString IdNum;
    /// True lists the medicines issued, false the supplies.
    bool DrugsORCSR = true;
    /// Whether the list is one line per drug rather than per charge slip and drug.
    bool ListIssuedbyDrugs = false;

private:
    QString m_chargeSlip;
    double m_issuedQuantity = 0;
    QString m_itemId;
    QString m_itemName;
    double m_stockOnHand = 0;
    Money m_price;
};

} // namespace kestrel
