// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

// The OR packages and oxygen: the items of each admission package, packages partly used by
// the patients still in (posted, with their medicines taken out of stock and the items not
// used recorded), the pressure history of the oxygen tanks, and piped-oxygen tanks opened for
// patients in the OR. Draws nothing from the random stream.

namespace kestrel::hospitaldb::demo {

namespace {

struct PackageLine
{
    QStringView package;
    QStringView item;
    QStringView department;
    QStringView location; // the pharmacy's stock for medicines, none for services
    int quantity;
    qint64 pesos;
};

// What each package bundles, at the amount the package charges for the line.
constexpr PackageLine kPackageLines[] = {
    {u"PKG-CS", u"OR1018", u"OR", u"", 1, 30000},
    {u"PKG-CS", u"PH1001", u"PH", u"PHA", 2, 370},
    {u"PKG-CS", u"PH1007", u"PH", u"PHA", 2, 130},
    {u"PKG-CS", u"PH1004", u"PH", u"PHA", 1, 260},
    {u"PKG-CS", u"OS2014", u"OS", u"", 1, 1200},
    {u"PKG-CS", u"OS2003", u"OS", u"", 2, 960},
    {u"PKG-CS", u"OS2016", u"OS", u"", 3, 180},
    {u"PKG-NSD", u"OR1020", u"OR", u"", 1, 12000},
    {u"PKG-NSD", u"PH1007", u"PH", u"PHA", 2, 130},
    {u"PKG-NSD", u"OS2015", u"OS", u"", 1, 550},
    {u"PKG-NSD", u"OS2001", u"OS", u"", 2, 480},
    {u"PKG-LC", u"OR1004", u"OR", u"", 1, 38000},
    {u"PKG-LC", u"PH1001", u"PH", u"PHA", 1, 185},
    {u"PKG-LC", u"PH1003", u"PH", u"PHA", 1, 420},
    {u"PKG-LC", u"OS2012", u"OS", u"", 1, 650},
    {u"PKG-LC", u"OS2014", u"OS", u"", 1, 1200},
    {u"PKG-LC", u"OS2020", u"OS", u"", 4, 220},
    {u"PKG-CAT", u"OS2010", u"OS", u"", 2, 70},
    {u"PKG-CAT", u"OS2015", u"OS", u"", 1, 550},
    {u"PKG-CAT", u"PH1005", u"PH", u"PHA", 1, 120},
};

} // namespace

void DemoBuilder::addPackagesAndOxygen()
{
    TableRows &items = table(QStringLiteral("BUILD_FILE..tbCoPackageItems"),
                             {QStringLiteral("PackageID"), QStringLiteral("RevenueID"),
                              QStringLiteral("SummaryCode"), QStringLiteral("ItemID"),
                              QStringLiteral("Quantity"), QStringLiteral("Amount"),
                              QStringLiteral("LocationID")});
    for (const PackageLine &l : kPackageLines)
        items.add({l.package.toString(), l.department.toString(), l.department.toString(),
                   l.item.toString(), double(l.quantity), pesos(l.pesos),
                   l.location.toString()});

    // Two patients still in used part of their package yesterday: the procedure, the first
    // medicine and the drapes; the other items are recorded as not used.
    TableRows &logbook = table(
        QStringLiteral("STATION..tbNurseLogBook"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ReferenceNum"),
         QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
         QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
         QStringLiteral("UserID"), QStringLiteral("StationID"), QStringLiteral("PatientClass"),
         QStringLiteral("RoomID"), QStringLiteral("ChargeDepartment"), QStringLiteral("PackageID"),
         QStringLiteral("RecordStatus")});
    TableRows &stock = table(
        QStringLiteral("INVENTORY..tbInvStockCard"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ItemID"),
         QStringLiteral("LocationID"), QStringLiteral("RefNum"), QStringLiteral("PackageID"),
         QStringLiteral("TransType"), QStringLiteral("Quantity"), QStringLiteral("Amount"),
         QStringLiteral("TransDate"), QStringLiteral("UserID")});
    TableRows &unused = table(
        QStringLiteral("STATION..tbPackageItemsUnused"),
        {QStringLiteral("IDNum"), QStringLiteral("PackageID"), QStringLiteral("ChargeSlip"),
         QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Quantity"),
         QStringLiteral("Amount"), QStringLiteral("UserID"), QStringLiteral("StationID"),
         QStringLiteral("TransDate")});
    // Numbers far above the OR's counter, so no slip drawn later meets them.
    qint64 slip = 900001;
    int posted = 0;
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        if (s.package.isEmpty() || posted >= 2)
            continue;
        const QString hospNum = m_patients.at(s.patient).hospNum;
        const QString ref = QStringLiteral("C%1O").arg(slip++);
        const QDateTime when(m_today.addDays(-1), QTime(9 + posted * 3, 20));
        const QString nurse = staffCode(1);
        int line = 0;
        for (const PackageLine &l : kPackageLines) {
            if (l.package != s.package)
                continue;
            const bool used = line++ < 2 || l.item == u"OS2014";
            if (!used) {
                unused.add({s.idNum, s.package, ref, l.department.toString(), l.item.toString(),
                            double(l.quantity), pesos(l.pesos), nurse, QStringLiteral("OR"),
                            when});
                continue;
            }
            const QString name = l.location.isEmpty() ? itemByCode(l.item).name
                                                      : orMedicine(l.item).name.toString();
            logbook.add({s.idNum, hospNum, ref, l.department.toString(), l.item.toString(),
                         name, double(l.quantity), pesos(l.pesos), when, nurse,
                         QStringLiteral("OR"), QStringLiteral("I"), s.room, QStringLiteral("OR"),
                         s.package, QString()});
            if (!l.location.isEmpty())
                stock.add({s.idNum, hospNum, l.item.toString(), l.location.toString(), ref,
                           s.package, QStringLiteral("I"), double(l.quantity), pesos(l.pesos),
                           when, nurse});
        }
        ++posted;
    }

    // Piped oxygen charged by the hour with a tank opened and closed, on at this station.
    table(QStringLiteral("BUILD_FILE..tbCoOtherRevenue"),
          {QStringLiteral("OtherRevenueID"), QStringLiteral("OtherRevenue"),
           QStringLiteral("OtherSectionID"), QStringLiteral("RateA"), QStringLiteral("RateB"),
           QStringLiteral("RateC"), QStringLiteral("RateD"), QStringLiteral("RateE"),
           QStringLiteral("IsOpenClose")})
        .add({QStringLiteral("OX5009"), QStringLiteral("OXYGEN, PIPED (OPEN/CLOSE TANK) PER HOUR"),
              QStringLiteral("OX"), pesos(150), pesos(150), pesos(150), pesos(180), pesos(200),
              QStringLiteral("1")});
    table(QStringLiteral("STATION..tbNurseSetup"),
          {QStringLiteral("Field"), QStringLiteral("value"), QStringLiteral("Description")})
        .add({QStringLiteral("isallowopenclosetank"), QStringLiteral("1"),
              QStringLiteral("Charge piped oxygen by the hours a tank is open")});

    // The pressure history of the tanks: one half used, one full, one spent.
    TableRows &tanks = table(QStringLiteral("INVENTORY..tbCSROxygen"),
                             {QStringLiteral("ItemID"), QStringLiteral("TankNum"),
                              QStringLiteral("TransDate"), QStringLiteral("InitialR"),
                              QStringLiteral("LastR"), QStringLiteral("UserID"),
                              QStringLiteral("StationID")});
    tanks.add({QStringLiteral("OX5002"), QStringLiteral("T-0457"), at(3, 600), 2000.0, 1500.0,
               staffCode(1), QStringLiteral("OR")});
    tanks.add({QStringLiteral("OX5002"), QStringLiteral("T-0457"), at(1, 840), 1500.0, 1350.0,
               staffCode(2), QStringLiteral("OR")});
    tanks.add({QStringLiteral("OX5002"), QStringLiteral("T-0520"), at(2, 480), 2200.0, 2000.0,
               staffCode(1), QStringLiteral("OR")});
    tanks.add({QStringLiteral("OX5002"), QStringLiteral("T-0311"), at(5, 700), 400.0, 0.0,
               staffCode(2), QStringLiteral("OR")});

    // Two patients on piped oxygen since this morning.
    TableRows &pipes = table(QStringLiteral("STATION..tbOpenCloseTank"),
                             {QStringLiteral("IDNum"), QStringLiteral("ItemID"),
                              QStringLiteral("TankNum"), QStringLiteral("Status"),
                              QStringLiteral("OpeningTime"), QStringLiteral("OpenedBy"),
                              QStringLiteral("StationID")});
    int open = 0;
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        if (s.surgicalCase < 0 || !s.package.isEmpty() || open >= 2)
            continue;
        pipes.add({s.idNum, QStringLiteral("OX5009"), QStringLiteral("P-%1").arg(101 + open), 1,
                   at(0, 7 * 60 + 30 * open), staffCode(1), QStringLiteral("OR")});
        ++open;
    }
}

} // namespace kestrel::hospitaldb::demo
