// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

// The remarks a revoke or a credit memo picks its reason from, and medicines the OR posted to
// the first patient still in: some still to revoke or return, one partly returned already and
// one returned whole on earlier credit memos.

namespace kestrel::hospitaldb::demo {

namespace {

struct PostedMedicineRow
{
    QStringView slip;
    QStringView item;
    QStringView name;
    int quantity;
    qint64 unitCentavos;
    int returned; ///< on an earlier credit memo
    QStringView remark;
    int hoursAgo;
};

constexpr std::array kPosted{
    PostedMedicineRow{u"R900101", u"PH1002", u"KETOROLAC 30 MG/ML AMPULE", 4, 9500, 1,
                      u"NOT USED", 30},
    PostedMedicineRow{u"R900101", u"PH1006", u"MIDAZOLAM 5 MG/ML AMPULE", 2, 15500, 0, u"", 30},
    PostedMedicineRow{u"R900102", u"PH1001", u"CEFAZOLIN 1 G VIAL", 3, 18500, 3,
                      u"DOCTOR'S ORDER CANCELLED", 20},
    PostedMedicineRow{u"R900103", u"PH1005", u"LIDOCAINE 2%, 50 ML VIAL", 2, 12000, 0, u"", 6},
};

constexpr std::array kRemarks{u"NOT USED",          u"PATIENT TRANSFERRED",
                              u"WRONG ITEM CHARGED", u"DOCTOR'S ORDER CANCELLED",
                              u"EXPIRED / DAMAGED", u"PATIENT DISCHARGED",
                              u"DUPLICATE CHARGE"};

} // namespace

void DemoBuilder::addReturnsData()
{
    TableRows &remarks = table(QStringLiteral("STATION..tbNurseCMRemarks"),
                               {QStringLiteral("ListID"), QStringLiteral("Remarks"),
                                QStringLiteral("Status")});
    for (QStringView r : kRemarks)
        remarks.add({7, r.toString(), QStringLiteral("A")});
    if (m_currentInpatients.isEmpty())
        return;
    const Stay &s = m_stays.at(m_currentInpatients.first());
    const QString hospNum = m_patients.at(s.patient).hospNum;
    const QString nurse = QStringLiteral("2901");
    TableRows &logbook = table(
        QStringLiteral("STATION..tbNurseLogBook"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ReferenceNum"),
         QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
         QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
         QStringLiteral("UserID"), QStringLiteral("StationID"), QStringLiteral("PatientClass"),
         QStringLiteral("RoomID"), QStringLiteral("ChargeDepartment"),
         QStringLiteral("RecordStatus"), QStringLiteral("ReturnedQty"),
         QStringLiteral("ReturnedAmount")});
    TableRows &card = table(
        QStringLiteral("INVENTORY..tbInvStockCard"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ItemID"),
         QStringLiteral("LocationID"), QStringLiteral("RefNum"), QStringLiteral("CreditMemoNum"),
         QStringLiteral("TransType"), QStringLiteral("Quantity"), QStringLiteral("Amount"),
         QStringLiteral("TransDate"), QStringLiteral("UserID"), QStringLiteral("Remarks")});
    TableRows &memos = table(
        QStringLiteral("STATION..tbNurseCreditMemo"),
        {QStringLiteral("CreditMemoNum"), QStringLiteral("TransType"), QStringLiteral("IDNum"),
         QStringLiteral("HospNum"), QStringLiteral("RefNum"), QStringLiteral("RevenueID"),
         QStringLiteral("ItemID"), QStringLiteral("Description"), QStringLiteral("QtyIssued"),
         QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("Remarks"),
         QStringLiteral("StationID"), QStringLiteral("UserID"), QStringLiteral("TransDate")});
    TableRows &adjustments = table(
        QStringLiteral("STATION..tbBillAdjustInfo"),
        {QStringLiteral("IDNum"), QStringLiteral("RefNum"), QStringLiteral("RevenueID"),
         QStringLiteral("ItemID"), QStringLiteral("Quantity"), QStringLiteral("Amount"),
         QStringLiteral("AdjustType"), QStringLiteral("CreditMemoNum"), QStringLiteral("Reason"),
         QStringLiteral("UserID"), QStringLiteral("StationID"), QStringLiteral("TransDate")});

    // Earlier credit memos are numbered apart from those the station's sequence draws.
    int memo = 900000;
    const QDateTime now(m_today, QTime(10, 0));
    for (const PostedMedicineRow &p : kPosted) {
        const QDateTime posted = now.addSecs(-3600 * p.hoursAgo);
        const QVariant amount = pesos(p.quantity * p.unitCentavos);
        const QVariant credited = pesos(p.returned * p.unitCentavos);
        logbook.add({s.idNum, hospNum, p.slip.toString(), QStringLiteral("PH"),
                     p.item.toString(), p.name.toString(), double(p.quantity), amount, posted,
                     nurse, QStringLiteral("OR"), QStringLiteral("I"), s.room, QStringLiteral("OR"),
                     QString(), double(p.returned), credited});
        card.add({s.idNum, hospNum, p.item.toString(), QStringLiteral("PHA"), p.slip.toString(),
                  QString(), QStringLiteral("I"), double(p.quantity), amount, posted, nurse,
                  QString()});
        if (p.returned == 0)
            continue;
        const QString number = QStringLiteral("CMOR%1").arg(++memo);
        const QDateTime back = posted.addSecs(3 * 3600);
        card.add({s.idNum, hospNum, p.item.toString(), QStringLiteral("PHA"), p.slip.toString(),
                  number, QStringLiteral("C"), double(p.returned), credited, back, nurse,
                  p.remark.toString()});
        memos.add({number, QStringLiteral("PC"), s.idNum, hospNum, p.slip.toString(),
                   QStringLiteral("PH"), p.item.toString(), p.name.toString(), double(p.quantity),
                   double(p.returned), credited, p.remark.toString(), QStringLiteral("OR"), nurse,
                   back});
        adjustments.add({s.idNum, p.slip.toString(), QStringLiteral("PH"), p.item.toString(),
                         double(p.returned), credited, QStringLiteral("CM"), number,
                         p.remark.toString(), nurse, QStringLiteral("OR"), back});
    }
}

} // namespace kestrel::hospitaldb::demo
