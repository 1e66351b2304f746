// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsDrugPicker.h"

#include "core/Notifier.h"

namespace kestrel {

clsDrug::clsDrug(clsDrugPicker *picker)
    : QObject(picker)
    , m_picker(picker)
{
    setObjectName(QStringLiteral("Drug"));
}

bool clsDrug::SearchDrug(const QString &code)
{
    return m_picker->find(code);
}

bool clsDrug::SearchDrug(const QString &code, const QString &admission, const QString &room)
{
    return m_picker->find(code, admission, room);
}

Result<void> clsDrug::AppendStockCard(const StockCardEntry &entry)
{
    if (auto ok = WriteStockCard(entry); !ok)
        return ok;
    if (auto moved = MoveStockOnHand(entry); !moved)
        return tl::unexpected(moved.error());
    return {};
}

Result<void> clsDrug::WriteStockCard(const StockCardEntry &entry)
{
    Database *db = m_picker->connection();
    if (!db)
        return failure(QStringLiteral("The drug picker has no connection to the hospital."));
    return done(db->exec(
        u"insert into INVENTORY..tbInvStockCard (IDNum, HospNum, ItemID, LocationID, RefNum, "
        u"CreditMemoNum, TransType, Quantity, Amount, TransDate, UserID) values (:id, :hosp, "
        u":item, :location, :ref, :memo, :type, :qty, :amount, :at, :user)",
        {{QStringLiteral("id"), entry.IdNum.trimmed()},
         {QStringLiteral("hosp"), entry.HospNum.trimmed()},
         {QStringLiteral("item"), entry.ItemID.trimmed()},
         {QStringLiteral("location"), m_locationId},
         {QStringLiteral("ref"), entry.RefNum.trimmed()},
         {QStringLiteral("memo"), entry.CreditMemoNum.trimmed()},
         {QStringLiteral("type"), entry.TransType},
         {QStringLiteral("qty"), entry.Quantity},
         {QStringLiteral("amount"), entry.Amount.toVariant()},
         {QStringLiteral("at"), entry.TransDate},
         {QStringLiteral("user"), entry.UserID}}));
}

Result<std::optional<double>> clsDrug::MoveStockOnHand(const StockCardEntry &entry)
{
    Database *db = m_picker->connection();
    if (!db)
        return failure(QStringLiteral("The drug picker has no connection to the hospital."));
    // A return puts back what a charge took out.
    const double moved = entry.TransType == u"C" ? entry.Quantity : -entry.Quantity;
    auto left = db->selectOne(u"update INVENTORY..tbInvent set OnHand = OnHand + :moved "
                              u"where ItemID = :item and LocationID = :location "
                              u"returning OnHand",
                              {{QStringLiteral("moved"), moved},
                               {QStringLiteral("item"), entry.ItemID.trimmed()},
                               {QStringLiteral("location"), m_locationId}});
    if (!left)
        return tl::unexpected(left.error());
    if (!*left)
        return std::optional<double>();
    return std::optional<double>((*left)->number(u"OnHand"));
}

void clsDrug::clear()
{
    m_drugCode.clear();
    m_drugName.clear();
    m_description.clear();
    m_genericName.clear();
    m_status.clear();
    m_invent = {};
}

clsDrugPicker::clsDrugPicker(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
    , m_drug(new kestrel::clsDrug(this))
{
}

bool clsDrugPicker::InitConnect(Database *connection)
{
    return takeConnection(connection);
}

bool clsDrugPicker::InitConnect(const QString &connectionString)
{
    return takeConnection(connectionString);
}

bool clsDrugPicker::SearchDrug(const QString &code)
{
    return m_drug->SearchDrug(code);
}

bool clsDrugPicker::SearchDrug(const QString &code, const QString &admission, const QString &room)
{
    return m_drug->SearchDrug(code, admission, room);
}

bool clsDrugPicker::find(const QString &code, const QString &admission, const QString &room)
{
    m_drug->clear();
    if (!connection()) {
        qCWarning(lcComponents) << "drug searched for before a connection";
        return false;
    }
    auto item = connection()->selectOne(
        u"select ItemID, ItemName, Description, GenericName, Status from INVENTORY..tbInvMaster "
        u"where ItemID = :item",
        {{QStringLiteral("item"), code.trimmed()}});
    if (!item) {
        notifier().errorBox(item.error());
        return false;
    }
    if (!*item)
        return false;
    const Row &r = **item;
    m_drug->m_drugCode = r.trimmed(u"ItemID");
    m_drug->m_drugName = r.trimmed(u"ItemName");
    m_drug->m_description = r.trimmed(u"Description");
    m_drug->m_genericName = r.trimmed(u"GenericName");
    m_drug->m_status = r.trimmed(u"Status");

    auto stock = connection()->selectOne(
        u"select OnHand, SellingPriceIn, SellingPriceOut, AverageCost from INVENTORY..tbInvent "
        u"where ItemID = :item and LocationID = :location",
        {{QStringLiteral("item"), m_drug->m_drugCode},
         {QStringLiteral("location"), m_drug->m_locationId}});
    if (!stock) {
        notifier().errorBox(stock.error());
        return true;
    }
    if (*stock) {
        m_drug->m_invent.StockOnHand = (*stock)->number(u"OnHand");
        m_drug->m_invent.SellingPriceIn = (*stock)->money(u"SellingPriceIn");
        m_drug->m_invent.SellingPriceOut = (*stock)->money(u"SellingPriceOut");
        m_drug->m_invent.averagecost = (*stock)->money(u"AverageCost");
    }
    if (!admission.trimmed().isEmpty())
        priceByRoomClass(room);
    return true;
}

void clsDrugPicker::priceByRoomClass(const QString &room)
{
    // The class of the room the stay is in; a room the hospital does not list (the "OPD" of
    // an outpatient visit) is of the outpatients' class "A".
    auto cls = connection()->scalar(
        u"select coalesce((select RoomClassID from BUILD_FILE..tbCoRoom where RoomID = :room), "
        u"'A')",
        {{QStringLiteral("room"), room.trimmed()}});
    if (!cls) {
        notifier().errorBox(cls.error());
        return;
    }
    auto rate = connection()->selectOne(u"select SellingPrice from INVENTORY..tbInvRoomClassRate "
                                        u"where ItemID = :item and RoomClassID = :class",
                                        {{QStringLiteral("item"), m_drug->m_drugCode},
                                         {QStringLiteral("class"), cls->toString().trimmed()}});
    if (!rate) {
        notifier().errorBox(rate.error());
        return;
    }
    if (!*rate)
        return;
    m_drug->m_invent.SellingPriceIn = (*rate)->money(u"SellingPrice");
    m_drug->m_invent.SellingPriceOut = m_drug->m_invent.SellingPriceIn;
}

} // namespace kestrel
