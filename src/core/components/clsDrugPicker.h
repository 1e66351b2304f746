// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"
#include "core/db/Money.h"

#include <QDateTime>

#include <optional>

namespace kestrel {

class clsDrugPicker;

/// The stock of the drug found last at the picker's location, and the prices it sells at there.
struct InventRecord
{
    Q_GADGET
    Q_PROPERTY(double StockOnHand MEMBER StockOnHand)
    Q_PROPERTY(kestrel::Money SellingPriceIn MEMBER SellingPriceIn)
    Q_PROPERTY(kestrel::Money SellingPriceOut MEMBER SellingPriceOut)
    Q_PROPERTY(kestrel::Money averagecost MEMBER averagecost)

public:
    friend bool operator==(const InventRecord &, const InventRecord &) = default;

    double StockOnHand = 0;
    Money SellingPriceIn;  ///< to inpatients
    Money SellingPriceOut; ///< to outpatients
    Money averagecost;     ///< what the hospital paid, on average
};

/// One movement of stock for the stock card: a charge ("I", taken out of the location) or a
/// return ("C", put back). RefNum is the charge slip; CreditMemoNum the credit memo of a return.
struct StockCardEntry
{
    QString IdNum;
    QString HospNum;
    QString ItemID;
    double Quantity = 0;
    Money Amount;
    QString RefNum;
    QDateTime TransDate;
    QString UserID;
    QString TransType = QStringLiteral("I");
    QString CreditMemoNum;
};

/// One drug or supply as the drug picker finds it.
class clsDrug : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString LocationID READ LocationID WRITE setLocationID)
    Q_PROPERTY(QString DrugCode READ DrugCode)
    Q_PROPERTY(QString DrugName READ DrugName)
    Q_PROPERTY(QString Description READ Description)
    Q_PROPERTY(QString GenericName READ GenericName)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(kestrel::InventRecord Invent READ Invent)

public:
    explicit clsDrug(clsDrugPicker *picker);

    /// The stock location whose stock and prices Invent holds (the stock location of the
    /// department being charged).
    QString LocationID() const { return m_locationId; }
    void setLocationID(const QString &location) { m_locationId = location.trimmed(); }

    /// Looks the drug up by its code in the drug master; true when found, and then it is held
    /// here with its stock at LocationID (none when the location does not carry it).
    Q_INVOKABLE bool SearchDrug(const QString &code);
    /// The same for a stay whose room class prices the item: where the hospital keeps a rate
    /// of the item for the class of `room` (an outpatient's room, "OPD", is of class "A"),
    /// that rate is what Invent sells it at, to inpatients and outpatients alike.
    Q_INVOKABLE bool SearchDrug(const QString &code, const QString &admission, const QString &room);

    QString DrugCode() const { return m_drugCode; }
    QString DrugName() const { return m_drugName; }
    QString Description() const { return m_description; }
    QString GenericName() const { return m_genericName; }
    /// "A" for an active item.
    QString Status() const { return m_status; }
    const InventRecord &Invent() const { return m_invent; }

    /// Writes the movement to the stock card (INVENTORY..tbInvStockCard) at LocationID and
    /// moves the stock on hand there with it. It runs on the picker's connection inside the
    /// caller's transaction, so a failure is handed back for the caller to undo and report.
    Result<void> AppendStockCard(const StockCardEntry &entry);
    /// The two halves of AppendStockCard, for a batch that writes all its cards first and
    /// moves the stock rows, which other workstations charge too, only at its end: the card...
    Result<void> WriteStockCard(const StockCardEntry &entry);
    /// ...and the move of the stock on hand at LocationID, answering what is left there
    /// (nothing when the location does not carry the item).
    Result<std::optional<double>> MoveStockOnHand(const StockCardEntry &entry);

private:
    friend class clsDrugPicker;
    void clear();

    clsDrugPicker *m_picker;
    QString m_locationId;
    QString m_drugCode;
    QString m_drugName;
    QString m_description;
    QString m_genericName;
    QString m_status;
    InventRecord m_invent;
};

/// The drug picker: finds a drug or supply of the pharmacy's and the central supply's master by
/// its code, with its stock and prices at one location.
class clsDrugPicker : public Component
{
    Q_OBJECT
    Q_PROPERTY(kestrel::clsDrug *Drug READ Drug CONSTANT)
    Q_PROPERTY(QString Description READ Description)

public:
    static constexpr QStringView kProgId = u"KsDrug.clsDrugPicker";

    explicit clsDrugPicker(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Takes the connection (or connection string) the picker reads through; true when it was given
    /// one. Drugs are found only through a connection.
    Q_INVOKABLE bool InitConnect(kestrel::Database *connection);
    /// The same, given the login's connection string.
    Q_INVOKABLE bool InitConnect(const QString &connectionString);
    /// The drug found last.
    kestrel::clsDrug *Drug() const { return m_drug; }
    /// Drug()->SearchDrug(code).
    Q_INVOKABLE bool SearchDrug(const QString &code);
    /// Drug()->SearchDrug(code, admission, room).
    Q_INVOKABLE bool SearchDrug(const QString &code, const QString &admission, const QString &room);
    /// The description of the drug found last.
    QString Description() const { return m_drug->Description(); }

private:
    friend class clsDrug;
    bool find(const QString &code, const QString &admission = {}, const QString &room = {});
    void priceByRoomClass(const QString &room);

    kestrel::clsDrug *m_drug;
};

} // namespace kestrel
