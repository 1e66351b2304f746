// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

#include <QMap>

#include <algorithm>

// What billing and the OR have charged to the stays of the patients still in, the OR's charge
// slip counters and discharge notices, the station's log-ins, and the stock card the charges
// took the OR's own supplies and medicines out of.

namespace kestrel::hospitaldb::demo {

void DemoBuilder::addCharges()
{
    TableRows &logbook = table(
        QStringLiteral("STATION..tbNurseLogBook"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ReferenceNum"),
         QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
         QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
         QStringLiteral("UserID"), QStringLiteral("StationID"), QStringLiteral("PatientClass"),
         QStringLiteral("RoomID"), QStringLiteral("ChargeDepartment"),
         QStringLiteral("RequestingDoctorID"), QStringLiteral("RecordStatus")});
    TableRows &bills =
        table(QStringLiteral("BILLING..tbBillDailyBill"),
              {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("RefNum"),
               QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
               QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
               QStringLiteral("UserID")});
    TableRows &opBills =
        table(QStringLiteral("BILLING..tbBillOPDailyOut"),
              {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("RefNum"),
               QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
               QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
               QStringLiteral("UserID")});

    // Billing's running charges of the patients still in: room and board for every day so
    // far, and the medicines the pharmacy has issued.
    qint64 billRef = 880100;
    const std::array<std::pair<QStringView, qint64>, 5> medicines{
        {{u"CEFUROXIME 750 MG VIAL", 45000},
         {u"PARACETAMOL 500 MG TABLET", 450},
         {u"OMEPRAZOLE 40 MG VIAL", 38000},
         {u"TRAMADOL 50 MG/ML AMPULE", 12500},
         {u"PLAIN LACTATED RINGER'S 1 L", 9500}}};
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        const QString hospNum = m_patients.at(s.patient).hospNum;
        qint64 roomRate = 0;
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.id == s.room)
                roomRate = r.rate;
        }
        const int days = int(s.admitted.date().daysTo(m_today));
        for (int d = 0; d < days; ++d) {
            bills.add({s.idNum, hospNum, QStringLiteral("RB%1").arg(++billRef),
                       QStringLiteral("RB"), s.room, QStringLiteral("ROOM AND BOARD"), 1.0,
                       pesos(roomRate * 100),
                       QDateTime(s.admitted.date().addDays(d + 1), QTime(0, 5)),
                       QStringLiteral("BILL01")});
            const auto &med = m_rng.pick(medicines);
            const int qty = m_rng.between(1, 4);
            bills.add({s.idNum, hospNum, QStringLiteral("PH%1").arg(++billRef),
                       QStringLiteral("PH"), QStringLiteral("MED%1").arg(m_rng.between(100, 999)),
                       med.first.toString(), double(qty), pesos(med.second * qty),
                       QDateTime(s.admitted.date().addDays(d), QTime(m_rng.between(8, 20), 0)),
                       QStringLiteral("PHA02")});
        }
    }
    for (const Stay &s : std::as_const(m_stays)) {
        if (s.kind != StayKind::Emergency || s.discharged.isValid())
            continue;
        opBills.add({s.idNum, m_patients.at(s.patient).hospNum,
                     QStringLiteral("ER%1").arg(++billRef), QStringLiteral("ER"),
                     QStringLiteral("ERFEE"), QStringLiteral("EMERGENCY ROOM FEE"), 1.0,
                     pesos(150000), s.admitted.addSecs(900), QStringLiteral("ER01")});
    }

    // Charges the OR posted yesterday for the patients it operated on, still waiting for
    // billing; one batch was revoked after a wrong entry.
    qint64 slip = 1238;
    int batches = 0;
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        if (s.surgicalCase < 0 || s.admitted.date().daysTo(m_today) < 2 || batches >= 10)
            continue;
        const SurgicalCase &c = surgicalCases()[std::size_t(s.surgicalCase)];
        const QChar letter = rateClassOf(s);
        const QString ref = QStringLiteral("C%1O").arg(slip++);
        const int hour = m_rng.between(10, 18);
        const QDateTime posted(m_today.addDays(-1), QTime(hour, m_rng.below(60)));
        const QString nurse = staffCode(std::size_t(1 + m_rng.below(2)));
        const QString status = batches == 3 ? QStringLiteral("R") : QString();
        const std::array<std::pair<QStringView, int>, 6> lines{{{c.procedure, 1},
                                                                {u"OR1101", 1},
                                                                {u"OS2003", 2},
                                                                {u"OS2014", 1},
                                                                {u"AN4001", 1},
                                                                {u"OS2016", 3}}};
        for (const auto &[code, qty] : lines) {
            const Item &item = itemByCode(code);
            logbook.add({s.idNum, m_patients.at(s.patient).hospNum, ref, item.department, item.code,
                         item.name, double(qty), pesos(rateCentavos(item.rateA, letter) * qty),
                         posted, nurse, QStringLiteral("OR"), QStringLiteral("I"), s.room,
                         QStringLiteral("OR"), s.doctor, status});
        }
        ++batches;
    }

    TableRows &counters = table(QStringLiteral("STATION..tbORChargeSlip"),
                                {QStringLiteral("StationID"), QStringLiteral("ChargeSlip"),
                                 QStringLiteral("IChargeSlip"), QStringLiteral("OChargeSlip"),
                                 QStringLiteral("AssessNum")});
    // The OR's row comes first: the program reads the first row as the OR's.
    counters.add({QStringLiteral("OR"), slip, 20415, 10388, 5120});
    counters.add({QStringLiteral("DR"), 311, 1204, 96, 40});
    counters.add({QStringLiteral("ER"), 7342, 105, 30551, 2210});

    TableRows &notices =
        table(QStringLiteral("STATION..tbNurseDischargeNotice"),
              {QStringLiteral("IDNum"), QStringLiteral("RecordStatus"), QStringLiteral("IsFinal"),
               QStringLiteral("StationID"), QStringLiteral("NoticeDate"),
               QStringLiteral("OrderedDate"), QStringLiteral("UserID")});
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        if (!s.billed.isValid())
            continue;
        const bool isFinal = notices.rows.size() % 2 == 0;
        notices.add({s.idNum, isFinal ? QStringLiteral("F") : QStringLiteral("P"), isFinal ? 1 : 0,
                     QStringLiteral("OR"), s.billed.addSecs(-1800), s.billed.addSecs(-3600),
                     staffCode(6)});
    }
}

void DemoBuilder::addStationLogs()
{
    TableRows &logs =
        table(QStringLiteral("STATION..tbStationLogs"),
              {QStringLiteral("IdNum"), QStringLiteral("TransDate"), QStringLiteral("Remarks"),
               QStringLiteral("UserID"), QStringLiteral("HostName"), QStringLiteral("StationID")});
    const QString login = QStringLiteral("Log In: Version: ") + QStringLiteral(KESTREL_VERSION);
    for (int day = 3; day >= 1; --day) {
        for (std::size_t e = 0; e < 7; ++e) {
            const QString code = staffCode(e);
            logs.add({code, at(day, m_rng.between(6 * 60, 22 * 60)), login, code,
                      QStringLiteral("OR-PC-0%1").arg(1 + m_rng.below(3)), QStringLiteral("OR")});
        }
    }
    for (const Stay &s : std::as_const(m_stays)) {
        if (s.cvor && !s.discharged.isValid())
            logs.add({s.idNum, s.admitted.addSecs(4 * 3600), QStringLiteral("TAGGED AS CVOR"),
                      staffCode(0), QStringLiteral("OR-PC-01"), QStringLiteral("OR")});
    }
    std::stable_sort(logs.rows.begin(), logs.rows.end(),
                     [](const QVariantList &a, const QVariantList &b) {
                         return a.at(1).toDateTime() < b.at(1).toDateTime();
                     });
}

void DemoBuilder::addStockCard()
{
    // The OR keeps two stocks of its own: medicines and anaesthetic agents ("OM") and supplies
    // ("OS"). Every posted line of them took the item out of its stock, and a revoked line
    // put it back under a credit memo.
    TableRows &locations = table(QStringLiteral("INVENTORY..tbInvLocation"),
                                 {QStringLiteral("LocationID"), QStringLiteral("Location"),
                                  QStringLiteral("InventoryType")});
    locations.add({QStringLiteral("OM"), QStringLiteral("OR MEDICINES"), QStringLiteral("D")});
    locations.add({QStringLiteral("OS"), QStringLiteral("OR SUPPLIES"), QStringLiteral("C")});

    QList<QVariantList> card;
    qint64 creditMemo = 70410;
    for (const TableRows &t : std::as_const(m_tables)) {
        if (t.table != u"STATION..tbNurseLogBook")
            continue;
        auto at = [&t](const QVariantList &row, QStringView name) {
            return row.at(t.columns.indexOf(name.toString()));
        };
        for (const QVariantList &line : t.rows) {
            const QString department = at(line, u"RevenueID").toString();
            const QString item = at(line, u"ItemID").toString();
            QString location;
            if (department == u"OS")
                location = QStringLiteral("OS");
            else if (department == u"PH" && item.startsWith(u"PH1"))
                location = QStringLiteral("OM");
            if (location.isEmpty())
                continue;
            const QDateTime posted = at(line, u"TransDate").toDateTime();
            const QVariantList taken = {at(line, u"IDNum"),
                                        at(line, u"HospNum"),
                                        item,
                                        location,
                                        at(line, u"ReferenceNum"),
                                        QString(),
                                        QStringLiteral("I"),
                                        at(line, u"Quantity"),
                                        at(line, u"Amount"),
                                        posted,
                                        at(line, u"UserID"),
                                        QString()};
            card << taken;
            if (at(line, u"RecordStatus").toString() == u"R") {
                QVariantList back = taken;
                back[5] = QStringLiteral("CM%1").arg(++creditMemo);
                back[6] = QStringLiteral("C");
                back[9] = posted.addSecs(7200);
                back[10] = staffCode(0);
                back[11] = QStringLiteral("REVOKED CHARGE");
                card << back;
            }
        }
    }
    std::stable_sort(card.begin(), card.end(), [](const QVariantList &a, const QVariantList &b) {
        return a.at(9).toDateTime() < b.at(9).toDateTime();
    });
    TableRows &stock = table(
        QStringLiteral("INVENTORY..tbInvStockCard"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ItemID"),
         QStringLiteral("LocationID"), QStringLiteral("RefNum"), QStringLiteral("CreditMemoNum"),
         QStringLiteral("TransType"), QStringLiteral("Quantity"), QStringLiteral("Amount"),
         QStringLiteral("TransDate"), QStringLiteral("UserID"), QStringLiteral("Remarks")});
    stock.rows = card;
}

} // namespace kestrel::hospitaldb::demo
