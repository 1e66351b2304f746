// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

#include <QFile>
#include <QMap>

#include <algorithm>

// The hospital's master files: doctors, rooms, revenue codes and the priced items with their
// rates, companies, and the small code lists of the admitting office and the wards.

namespace kestrel::hospitaldb::demo {

namespace {

struct Revenue
{
    QStringView id, name, location, stockCardRevenue;
};

// Departments that draw from a stock location price from the inventory; the rest price their
// items from the other-revenue list (items.tsv).
constexpr std::array kRevenueCodes{
    Revenue{u"OR", u"OPERATING ROOM", u"", u""},
    Revenue{u"OS", u"OR SUPPLIES", u"", u""},
    Revenue{u"OE", u"OR EQUIPMENT", u"", u""},
    Revenue{u"AN", u"ANESTHESIA", u"", u""},
    Revenue{u"OX", u"OXYGEN", u"", u""},
    Revenue{u"DR", u"DELIVERY ROOM", u"", u""},
    Revenue{u"MD", u"DOCTOR'S FEE", u"", u""},
    Revenue{u"RB", u"ROOM AND BOARD", u"", u""},
    Revenue{u"ER", u"EMERGENCY ROOM", u"", u""},
    Revenue{u"PH", u"PHARMACY", u"PHA", u"PH"},
    Revenue{u"CS", u"CENTRAL SUPPLY", u"CSR", u"CS"},
    Revenue{u"LB", u"LABORATORY", u"", u""},
    Revenue{u"XR", u"X-RAY", u"", u""},
    Revenue{u"US", u"ULTRASOUND", u"", u""},
    Revenue{u"CT", u"CT SCAN", u"", u""},
    Revenue{u"HS", u"HEART STATION", u"", u""},
    Revenue{u"BB", u"BLOOD BANK", u"", u""},
};

constexpr std::array kCompanies{
    Company{u"1101", u"BAYANIHAN HEALTH PLANS, INC.", u"H", u"ORTIGAS CENTER, PASIG CITY"},
    Company{u"1102", u"LUZVIMINDA CARE HMO CORPORATION", u"H", u"AYALA AVENUE, MAKATI CITY"},
    Company{u"1103", u"PACIFIC LINGAP HEALTHCARE, INC.", u"H", u"EDSA, QUEZON CITY"},
    Company{u"1104", u"KALUSUGAN FIRST HMO, INC.", u"H", u"BONIFACIO GLOBAL CITY, TAGUIG"},
    Company{u"1105", u"ISLA MEDICAL SHIELD CORPORATION", u"H", u"CEBU BUSINESS PARK, CEBU CITY"},
    Company{u"2101", u"MAKILING STEEL AND WIRE CORPORATION", u"C", u"LIGTASAN, SAN BARTOLOME"},
    Company{u"2102", u"TALAHIB ELECTRONICS PHILS., INC.", u"C", u"TECHNOPARK, SAN BARTOLOME"},
    Company{u"2103", u"RURAL BANK OF SAN BARTOLOME", u"C", u"POBLACION, SAN BARTOLOME"},
    Company{u"2104", u"LAGUNA AGRO-INDUSTRIAL COOPERATIVE", u"C", u"BAY, LAGUNA"},
    Company{u"2105", u"CITY GOVERNMENT OF SAN BARTOLOME", u"C", u"CITY HALL, SAN BARTOLOME"},
    Company{u"3101", u"PANATAG LIFE AND HEALTH INSURANCE", u"I", u"BUENDIA, MAKATI CITY"},
};

constexpr std::array kOrMedicines{
    OrMedicine{u"PH1001", u"CEFAZOLIN 1 G VIAL", 18500},
    OrMedicine{u"PH1002", u"KETOROLAC 30 MG/ML AMPULE", 9500},
    OrMedicine{u"PH1003", u"PROPOFOL 10 MG/ML, 20 ML AMPULE", 42000},
    OrMedicine{u"PH1004", u"BUPIVACAINE 0.5% HEAVY, 4 ML AMPULE", 26000},
    OrMedicine{u"PH1005", u"LIDOCAINE 2%, 50 ML VIAL", 12000},
    OrMedicine{u"PH1006", u"MIDAZOLAM 5 MG/ML AMPULE", 15500},
    OrMedicine{u"PH1007", u"OXYTOCIN 10 IU/ML AMPULE", 6500},
    OrMedicine{u"PH1008", u"SEVOFLURANE, PER 10 ML", 95000},
    OrMedicine{u"PH1009", u"PLAIN LACTATED RINGER'S 1 L", 9500},
};

} // namespace

QList<QStringList> dataFileRows(const QString &name, int fields)
{
    QFile file(u":/hospitaldb/demo/" + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("The demo hospital's data file %s is not built into the program.", qPrintable(name));
    QList<QStringList> rows;
    const QString text = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QStringList row;
        for (QStringView field : line.split(u'\t'))
            row << field.toString();
        if (row.size() != fields)
            qFatal("Line \"%s\" of %s has %d fields instead of %d.", qPrintable(line.toString()),
                   qPrintable(name), int(row.size()), fields);
        rows << row;
    }
    return rows;
}

const QList<Doctor> &allDoctors()
{
    static const QList<Doctor> doctors = [] {
        QList<Doctor> list;
        for (const QStringList &f : dataFileRows(QStringLiteral("doctors.tsv"), 5))
            list.append({f[0], f[1], f[2], f[3], f[4]});
        return list;
    }();
    return doctors;
}

QStringList doctorsIn(QStringView specialization)
{
    QStringList ids;
    for (const Doctor &d : allDoctors()) {
        if (d.specialization == specialization)
            ids << d.id;
    }
    return ids;
}

const QList<Item> &allItems()
{
    static const QList<Item> items = [] {
        QList<Item> list;
        for (const QStringList &f : dataFileRows(QStringLiteral("items.tsv"), 5)) {
            const ItemKind kind = f[3] == u"procedure" ? ItemKind::Procedure
                                  : f[3] == u"fee"     ? ItemKind::Fee
                                                       : ItemKind::Other;
            list.append({f[0], f[1], f[2], kind, f[4].toLongLong()});
        }
        return list;
    }();
    return items;
}

const Item &itemByCode(QStringView code)
{
    for (const Item &i : allItems()) {
        if (i.code == code)
            return i;
    }
    Q_UNREACHABLE();
}

qint64 rateCentavos(qint64 rateA, QChar letter)
{
    static const QMap<QChar, int> percent = {
        {u'A', 100}, {u'B', 110}, {u'C', 125}, {u'D', 140}, {u'E', 160},
        {u'F', 80},  {u'G', 175}, {u'H', 120}, {u'I', 115},
    };
    const qint64 raw = rateA * percent.value(letter, 100); // pesos times percent: centavos
    const qint64 step = rateA >= 10000 ? 5000 : rateA >= 100 ? 500 : 100; // P50, P5, P1
    return (raw + step / 2) / step * step;
}

QList<Room> hospitalRooms()
{
    QList<Room> rooms;
    for (int r = 201; r <= 206; ++r) {
        for (QChar bed : {u'A', u'B', u'C', u'D'})
            rooms.append({QString::number(r) + u'-' + bed, QStringLiteral("WARD"), u'A', 850,
                          QStringLiteral("2N")});
    }
    for (int r = 301; r <= 308; ++r) {
        for (QChar bed : {u'A', u'B'})
            rooms.append({QString::number(r) + u'-' + bed, QStringLiteral("SEMI-PRIVATE"), u'B',
                          1800, QStringLiteral("3N")});
    }
    for (int r = 401; r <= 414; ++r)
        rooms.append(
            {QString::number(r), QStringLiteral("PRIVATE"), u'C', 3200, QStringLiteral("4N")});
    for (int r = 501; r <= 504; ++r)
        rooms.append(
            {QString::number(r), QStringLiteral("SUITE"), u'D', 6500, QStringLiteral("5N")});
    for (int b = 1; b <= 6; ++b)
        rooms.append({QStringLiteral("ICU-%1").arg(b, 2, 10, QLatin1Char('0')),
                      QStringLiteral("INTENSIVE CARE UNIT"), u'E', 7500, QStringLiteral("ICU")});
    return rooms;
}

std::span<const Company> allCompanies()
{
    return kCompanies;
}

std::span<const OrMedicine> orMedicines()
{
    return kOrMedicines;
}

const OrMedicine &orMedicine(QStringView code)
{
    for (const OrMedicine &m : kOrMedicines) {
        if (m.code == code)
            return m;
    }
    Q_UNREACHABLE();
}

void DemoBuilder::addMasterFiles()
{
    DemoRandom fixed(0x6b657374726c); // master data must not change with the patients' seed

    TableRows &doctors = table(QStringLiteral("BUILD_FILE..tbCoDoctor"),
                               {QStringLiteral("DoctorID"), QStringLiteral("LastName"),
                                QStringLiteral("FirstName"), QStringLiteral("MiddleName"),
                                QStringLiteral("Specialization"), QStringLiteral("PhilHealthNum"),
                                QStringLiteral("PHICExpireDate"), QStringLiteral("Status")});
    TableRows &fees =
        table(QStringLiteral("BUILD_FILE..tbCoDoctorBill"),
              {QStringLiteral("DoctorID"), QStringLiteral("RoomClassID"),
               QStringLiteral("Description"), QStringLiteral("Amount"), QStringLiteral("Status")});
    const QDate endOfYear(m_today.year(), 12, 31);
    const QList<Doctor> &roster = allDoctors();
    for (qsizetype i = 0; i < roster.size(); ++i) {
        const Doctor &d = roster.at(i);
        // One draw per statement: the order of operands of + is up to the compiler.
        const QString panHead = padded(fixed.between(1000, 9999), 4);
        const QString panBody = padded(fixed.between(1000000, 9999999), 7);
        const QString pan = panHead + u'-' + panBody + u'-' + QString::number(fixed.below(10));
        // Two accreditations have lapsed and one doctor has none, so the checks have work.
        QVariant expiry = QDate(endOfYear);
        if (i == 6 || i == 19)
            expiry = endOfYear.addYears(-1);
        const bool accredited = i != 24;
        doctors.add({d.id, d.lastName, d.firstName, d.middleName, d.specialization,
                     accredited ? pan : QString(), accredited ? expiry : QVariant(),
                     QStringLiteral("A")});
        if (d.specialization == u"INTERNAL MEDICINE" || d.specialization == u"CARDIOLOGY")
            continue;
        const qint64 base = d.specialization == u"ANESTHESIOLOGY" ? 8000 : 15000;
        for (QChar cls : {u'A', u'B', u'C', u'D', u'E'})
            fees.add({d.id, QString(cls), QStringLiteral("PROFESSIONAL FEE"),
                      pesos(rateCentavos(base, cls)), 1});
    }

    TableRows &rooms = table(QStringLiteral("BUILD_FILE..tbCoRoom"),
                             {QStringLiteral("RoomID"), QStringLiteral("Description"),
                              QStringLiteral("RoomClassID"), QStringLiteral("RoomRate"),
                              QStringLiteral("StationID")});
    for (const Room &r : std::as_const(m_rooms))
        rooms.add({r.id, r.description, QString(r.rateClass), pesos(r.rate * 100), r.station});

    TableRows &revenues =
        table(QStringLiteral("BUILD_FILE..tbCoRevenueCode"),
              {QStringLiteral("RevenueID"), QStringLiteral("ItemName"),
               QStringLiteral("LocationID"), QStringLiteral("StockCardRevenueID")});
    for (const Revenue &r : kRevenueCodes)
        revenues.add({r.id.toString(), r.name.toString(), r.location.toString(),
                      r.stockCardRevenue.toString()});

    TableRows &locations = table(QStringLiteral("INVENTORY..tbInvLocation"),
                                 {QStringLiteral("LocationID"), QStringLiteral("Location"),
                                  QStringLiteral("InventoryType")});
    locations.add({QStringLiteral("PHA"), QStringLiteral("PHARMACY"), QStringLiteral("D")});
    locations.add({QStringLiteral("CSR"), QStringLiteral("CENTRAL SUPPLY"), QStringLiteral("C")});
    TableRows &switches = table(QStringLiteral("INVENTORY..tbInvSwitch"),
                                {QStringLiteral("IDKey"), QStringLiteral("KeyValue")});
    switches.add({QStringLiteral("89"), QStringLiteral("0")});

    QStringList columns = {QStringLiteral("OtherRevenueID"), QStringLiteral("OtherRevenue"),
                           QStringLiteral("OtherSectionID"), QStringLiteral("SectionID"),
                           QStringLiteral("ORSection")};
    for (QChar letter = u'A'; letter <= u'I'; letter = QChar(letter.unicode() + 1))
        columns << QStringLiteral("Rate") + letter;
    TableRows &items = table(QStringLiteral("BUILD_FILE..tbCoOtherRevenue"), columns);
    for (const Item &i : allItems()) {
        const bool procedure = i.kind == ItemKind::Procedure;
        QVariantList row = {i.code, i.name, i.department,
                            procedure ? QStringLiteral("PRC") : QString(),
                            procedure ? QStringLiteral("P") : QString()};
        for (QChar letter = u'A'; letter <= u'I'; letter = QChar(letter.unicode() + 1))
            row << pesos(rateCentavos(i.rateA, letter));
        items.add(row);
    }

    TableRows &companies = table(QStringLiteral("BUILD_FILE..tbCoCompany"),
                                 {QStringLiteral("AccountNum"), QStringLiteral("Company"),
                                  QStringLiteral("CompanyType"), QStringLiteral("Address")});
    for (const Company &c : kCompanies)
        companies.add(
            {c.account.toString(), c.name.toString(), c.type.toString(), c.address.toString()});

    TableRows &precautions = table(
        QStringLiteral("BUILD_FILE..tbCoPrecautions"),
        {QStringLiteral("PrecautionID"), QStringLiteral("Precaution"), QStringLiteral("Color")});
    precautions.add(
        {QStringLiteral("1"), QStringLiteral("STANDARD PRECAUTION"), bgr(255, 255, 255)});
    precautions.add({QStringLiteral("2"), QStringLiteral("CONTACT PRECAUTION"), bgr(255, 214, 0)});
    precautions.add({QStringLiteral("3"), QStringLiteral("DROPLET PRECAUTION"), bgr(0, 176, 80)});
    precautions.add({QStringLiteral("4"), QStringLiteral("AIRBORNE PRECAUTION"), bgr(0, 112, 192)});
    precautions.add(
        {QStringLiteral("5"), QStringLiteral("BLEEDING / FALL RISK PRECAUTION"), bgr(230, 0, 0)});

    TableRows &packages = table(QStringLiteral("BUILD_FILE..tbCoAdmPackage"),
                                {QStringLiteral("PackageID"), QStringLiteral("Package")});
    packages.add({QStringLiteral("PKG-CS"), QStringLiteral("CESAREAN SECTION PACKAGE")});
    packages.add({QStringLiteral("PKG-NSD"), QStringLiteral("NORMAL DELIVERY PACKAGE")});
    packages.add(
        {QStringLiteral("PKG-LC"), QStringLiteral("LAPAROSCOPIC CHOLECYSTECTOMY PACKAGE")});
    packages.add({QStringLiteral("PKG-CAT"), QStringLiteral("CATARACT SURGERY PACKAGE")});
    TableRows &exec = table(QStringLiteral("BUILD_FILE..tbExecPackageCode"),
                            {QStringLiteral("PackageID"), QStringLiteral("Description")});
    exec.add({QStringLiteral("EXEC-A"), QStringLiteral("EXECUTIVE CHECK-UP A")});
    exec.add({QStringLiteral("EXEC-B"), QStringLiteral("EXECUTIVE CHECK-UP B (WITH STRESS TEST)")});

    TableRows &complaints =
        table(QStringLiteral("BUILD_FILE..tbCoChiefComplaint"),
              {QStringLiteral("ChiefComplaintID"), QStringLiteral("ChiefComplaint")});
    const std::span<const OutpatientReason> reasons = outpatientReasons();
    for (std::size_t i = 0; i < reasons.size(); ++i)
        complaints.add({QStringLiteral("CC%1").arg(i + 1, 3, 10, QLatin1Char('0')),
                        reasons[i].complaint.toString()});

    TableRows &labs = table(
        QStringLiteral("BUILD_FILE..tbCoLabExam"),
        {QStringLiteral("LabExamID"), QStringLiteral("LabExam"), QStringLiteral("LabSectionID")});
    labs.add(
        {QStringLiteral("LB001"), QStringLiteral("COMPLETE BLOOD COUNT"), QStringLiteral("HEM")});
    labs.add({QStringLiteral("LB002"), QStringLiteral("PROTHROMBIN TIME"), QStringLiteral("HEM")});
    labs.add({QStringLiteral("LB003"), QStringLiteral("BLOOD TYPING"), QStringLiteral("BB")});
    labs.add({QStringLiteral("LB004"), QStringLiteral("CREATININE"), QStringLiteral("CHEM")});
    labs.add({QStringLiteral("LB005"), QStringLiteral("URINALYSIS"), QStringLiteral("CM")});
    labs.add({QStringLiteral("LB006"), QStringLiteral("HISTOPATHOLOGY, SMALL SPECIMEN"),
              QStringLiteral("HIS")});

    TableRows &vessels = table(QStringLiteral("BUILD_FILE..tbCoVessel"),
                               {QStringLiteral("VesselCode"), QStringLiteral("VesselName")});
    vessels.add({QStringLiteral("V001"), QStringLiteral("MV BITUIN NG SILANGAN")});
    vessels.add({QStringLiteral("V002"), QStringLiteral("MV LAKANDULA STAR")});
    vessels.add({QStringLiteral("V003"), QStringLiteral("MT HABAGAT PIONEER")});
    vessels.add({QStringLiteral("V004"), QStringLiteral("MV ALON MARINA")});

    TableRows &hospitals = table(
        QStringLiteral("BUILD_FILE..tbCoHospital"),
        {QStringLiteral("HospitalID"), QStringLiteral("HospitalName"), QStringLiteral("Address")});
    hospitals.add({QStringLiteral("H01"), QStringLiteral("SAN BARTOLOME DISTRICT HOSPITAL"),
                   QStringLiteral("POBLACION, SAN BARTOLOME CITY")});
    hospitals.add({QStringLiteral("H02"), QStringLiteral("LAGUNA LAKESHORE GENERAL HOSPITAL"),
                   QStringLiteral("BAY, LAGUNA")});
    hospitals.add({QStringLiteral("H03"), QStringLiteral("MALIGAYA CHILDREN'S HOSPITAL"),
                   QStringLiteral("CALAMBA CITY, LAGUNA")});
    hospitals.add({QStringLiteral("H04"), QStringLiteral("SOUTHERN TAGALOG HEART INSTITUTE"),
                   QStringLiteral("TANAUAN CITY, BATANGAS")});

    TableRows &holidays = table(QStringLiteral("BUILD_FILE..tbCoHoliday"),
                                {QStringLiteral("HolidayDate"), QStringLiteral("IsYearly"),
                                 QStringLiteral("HolidayName"), QStringLiteral("HolidayGreeting")});
    static constexpr QStringView yearly[][4] = {
        {u"1", u"1", u"NEW YEAR'S DAY", u"Happy New Year from the OR family!"},
        {u"4", u"9", u"ARAW NG KAGITINGAN", u"Mabuhay ang ating mga bayani!"},
        {u"5", u"1", u"LABOR DAY", u"Thank you for your hard work. Happy Labor Day!"},
        {u"6", u"12", u"INDEPENDENCE DAY", u"Maligayang Araw ng Kalayaan!"},
        {u"8", u"21", u"NINOY AQUINO DAY", u"Have a meaningful holiday."},
        {u"11", u"1", u"ALL SAINTS' DAY", u"Remember and honour our departed loved ones."},
        {u"11", u"30", u"BONIFACIO DAY", u"Maligayang Araw ni Bonifacio!"},
        {u"12", u"8", u"FEAST OF THE IMMACULATE CONCEPTION", u"A blessed feast day to all."},
        {u"12", u"25", u"CHRISTMAS DAY", u"Maligayang Pasko! Merry Christmas from the OR family."},
        {u"12", u"30", u"RIZAL DAY", u"Let us remember Dr. Jose Rizal today."},
    };
    for (const auto &h : yearly)
        holidays.add({QDate(m_today.year(), h[0].toInt(), h[1].toInt()), 1, h[2].toString(),
                      h[3].toString()});

    TableRows &admTypes =
        table(QStringLiteral("PATIENT_DATA..tbAdmissionType"),
              {QStringLiteral("AdmissionTypeID"), QStringLiteral("AdmissionType")});
    static constexpr QStringView types[][2] = {
        {u"1", u"REGULAR"},   {u"2", u"EMERGENCY"}, {u"3", u"ELECTIVE SURGERY"},
        {u"4", u"OBSTETRIC"}, {u"5", u"NEWBORN"},   {u"9", u"EMPLOYEE / DEPENDENT"}};
    for (const auto &t : types)
        admTypes.add({t[0].toString(), t[1].toString()});

    TableRows &phic = table(
        QStringLiteral("MEDICARE..tbAdmPHICTable"),
        {QStringLiteral("PHICCode"), QStringLiteral("PHICDescription"), QStringLiteral("Status")});
    static constexpr QStringView memberships[][2] = {
        {u"EP", u"EMPLOYED - PRIVATE"},   {u"EG", u"EMPLOYED - GOVERNMENT"},
        {u"IP", u"INDIVIDUALLY PAYING"},  {u"OF", u"OVERSEAS FILIPINO WORKER"},
        {u"SP", u"SPONSORED / INDIGENT"}, {u"SC", u"SENIOR CITIZEN"},
        {u"LM", u"LIFETIME MEMBER"},      {u"NH", u"NON-PHIC"}};
    for (const auto &m : memberships)
        phic.add({m[0].toString(), m[1].toString(), m[0] == u"NH" ? 0 : 1});

    TableRows &orRooms =
        table(QStringLiteral("SCHEDULE..tbORRoom"),
              {QStringLiteral("RoomID"), QStringLiteral("RoomName"), QStringLiteral("SortOrder"),
               QStringLiteral("RevenueID"), QStringLiteral("Status")});
    // OR 6 is closed for renovation; the endoscopy suite was added before the status column and
    // still has none, which counts as active.
    static constexpr QStringView orRoomNames[][2] = {
        {u"OR 1", u"Y"}, {u"OR 2", u"Y"}, {u"OR 3", u"Y"},     {u"OR 4", u"Y"}, {u"OR 5", u"Y"},
        {u"CVOR", u"Y"}, {u"DR 1", u"Y"}, {u"ENDOSCOPY", u""}, {u"OR 6", u"X"}};
    int roomId = 0;
    for (const auto &r : orRoomNames) {
        ++roomId;
        orRooms.add({roomId, r[0].toString(), roomId, QStringLiteral("OR"),
                     r[1].isEmpty() ? QVariant() : QVariant(r[1].toString())});
    }

    TableRows &procRooms = table(QStringLiteral("SCHEDULE..tbProcedureRoom"),
                                 {QStringLiteral("Code"), QStringLiteral("RoomID"),
                                  QStringLiteral("RoomName"), QStringLiteral("ProcedureDesc")});
    auto assign = [&](QStringView code, int room, QStringView roomName) {
        procRooms.add({code.toString(), room, roomName.toString(), itemByCode(code).name});
    };
    for (QStringView code : {u"OR1047", u"OR1048", u"OR1049", u"OR1050", u"OR1051"})
        assign(code, 6, u"CVOR");
    for (QStringView code : {u"OR1020", u"OR1021"})
        assign(code, 7, u"DR 1");
    for (QStringView code : {u"OR1052", u"OR1053", u"OR1054", u"OR1055"})
        assign(code, 8, u"ENDOSCOPY");

    TableRows &board = table(QStringLiteral("SCHEDULE..tbORApplication"),
                             {QStringLiteral("StartTime"), QStringLiteral("DayLength"),
                              QStringLiteral("ScheduleIncrement")});
    board.add({6, 14, 15});
}

// The OR medicines on the national formulary list, and the dialysis ware that belongs to the
// dialysis package with its case rate. Draws nothing from the random stream, so every table
// built before it keeps its rows.
void DemoBuilder::addFormularyAndDialysisWare()
{
    TableRows &formulary = table(QStringLiteral("BUILD_FILE..tbCoPNFItem"),
                                 {QStringLiteral("ItemID"), QStringLiteral("Description")});
    // Propofol is left off: the hospital buys it outside the list.
    for (const OrMedicine &m : kOrMedicines) {
        if (!m.name.startsWith(u"PROPOFOL"))
            formulary.add({m.code.toString(), m.name.toString()});
    }

    TableRows &ware = table(
        QStringLiteral("CAPD..tbcapdware_Invent"),
        {QStringLiteral("TransType"), QStringLiteral("ItemID"), QStringLiteral("Description")});
    static constexpr QStringView dialysisWare[][2] = {
        {u"CAPD001", u"PERITONEAL DIALYSIS SOLUTION 1.5%, 2 L"},
        {u"CAPD002", u"PERITONEAL DIALYSIS SOLUTION 2.5%, 2 L"},
        {u"CAPD003", u"TRANSFER SET, 6 MONTHS"},
    };
    for (const auto &w : dialysisWare)
        ware.add({QStringLiteral("ZPACKAGE AND CASERATE"), w[0].toString(), w[1].toString()});
    ware.add({QStringLiteral("REGULAR"), QStringLiteral("CAPD101"),
              QStringLiteral("MINICAP DISCONNECT CAP")});
}

// The receivable accounts charges go to, the PD First dialysis benefit, and the medicines the
// wards have given (or not yet given) to the patients in the hospital now.
void DemoBuilder::addReceivableCodesAndWardMedicines()
{
    TableRows &codes =
        table(QStringLiteral("BUILD_FILE..tbCoARCode"),
              {QStringLiteral("RevenueID"), QStringLiteral("PatientClass"),
               QStringLiteral("Guarantor"), QStringLiteral("TransType"), QStringLiteral("ARCode")});
    // Inpatient receivables are 1131-, outpatient 1132-; a company's share ends in 2, a credit
    // for a return carries the suffix R.
    for (const Revenue &r : kRevenueCodes) {
        for (const QString &cls : {QStringLiteral("I"), QStringLiteral("O")}) {
            for (const QString &payer : {QStringLiteral("P"), QStringLiteral("C")}) {
                const QString code =
                    QStringLiteral("%1-%2-%3")
                        .arg(cls == u"I" ? QStringLiteral("1131") : QStringLiteral("1132"),
                             r.id.toString(),
                             payer == u"P" ? QStringLiteral("1") : QStringLiteral("2"));
                codes.add({r.id.toString(), cls, payer, QStringLiteral("1"), code});
                codes.add({r.id.toString(), cls, payer, QStringLiteral("2"), QString(code + u'R')});
            }
        }
    }

    table(QStringLiteral("BUILD_FILE..tbCoAdmPackage"),
          {QStringLiteral("PackageID"), QStringLiteral("Package"), QStringLiteral("IsZPDFirst")})
        .add({QStringLiteral("PKG-PDF"), QStringLiteral("PD FIRST Z-BENEFIT PACKAGE"), 1});

    TableRows &medicines =
        table(QStringLiteral("STATION..tbNursePatientMedicines"),
              {QStringLiteral("IDNum"), QStringLiteral("ItemID"), QStringLiteral("RequestNum"),
               QStringLiteral("Quantity"), QStringLiteral("QtyAdministered"),
               QStringLiteral("RequestDate"), QStringLiteral("RecordStatus")});
    // Each of the first patients in the hospital has two medicines: the first given in full,
    // the second with a dose or two still to give.
    const int wards = std::min<int>(int(m_currentInpatients.size()), 6);
    for (int n = 0; n < wards; ++n) {
        const Stay &stay = m_stays.at(m_currentInpatients.at(n));
        const OrMedicine &given = kOrMedicines.at(std::size_t(n) % kOrMedicines.size());
        const OrMedicine &pending = kOrMedicines.at(std::size_t(n + 1) % kOrMedicines.size());
        const QString request = QStringLiteral("RQ%1").arg(26120 + n, 6, 10, QChar(u'0'));
        medicines.add({stay.idNum, given.code.toString(), request, 3, 3, at(1, 8 * 60), QString()});
        medicines.add({stay.idNum, pending.code.toString(), request, 4, 4 - (n % 2 + 1),
                       at(0, 6 * 60), QString()});
    }
}

// More of the admitting office's small master files, for the code look-ups: hospitals the OR
// refers patients to (several in San Bartolome, whose names begin alike), the ships calling
// at the port whose seafarers come to the hospital, the insurance membership categories and
// admission types added since. Draws nothing from the random stream.
void DemoBuilder::addReferralsVesselsAndAdmittingCodes()
{
    TableRows &hospitals = table(
        QStringLiteral("BUILD_FILE..tbCoHospital"),
        {QStringLiteral("HospitalID"), QStringLiteral("HospitalName"), QStringLiteral("Address")});
    static constexpr QStringView referrals[][3] = {
        {u"H05", u"SAN BARTOLOME DOCTORS HOSPITAL", u"RIZAL AVENUE, SAN BARTOLOME CITY"},
        {u"H06", u"SAN ROQUE MATERNITY AND GENERAL HOSPITAL", u"SAN ROQUE, SAN BARTOLOME CITY"},
        {u"H07", u"SAN ISIDRO LABRADOR MEDICAL CENTER", u"PIER 3 ROAD, SAN BARTOLOME CITY"},
        {u"H08", u"DR. AMPARO REYES-MANALO MEMORIAL HOSPITAL", u"STO. NINO, LIPA CITY"},
        {u"H09", u"LIWAYWAY KIDNEY AND DIALYSIS CENTER", u"CALAMBA CITY, LAGUNA"},
    };
    for (const auto &h : referrals)
        hospitals.add({h[0].toString(), h[1].toString(), h[2].toString()});

    TableRows &vessels = table(QStringLiteral("BUILD_FILE..tbCoVessel"),
                               {QStringLiteral("VesselCode"), QStringLiteral("VesselName")});
    static constexpr QStringView ships[][2] = {
        {u"V005", u"MV DALAMPASIGAN EXPRESS"}, {u"V006", u"MV LAKANDULA TRADER"},
        {u"V007", u"MT TALA NG DAGAT"},        {u"V008", u"LCT SAN BARTOLOME II"},
        {u"V009", u"MV PERLAS NG TIMOG"},
    };
    for (const auto &v : ships)
        vessels.add({v[0].toString(), v[1].toString()});

    TableRows &phic = table(
        QStringLiteral("MEDICARE..tbAdmPHICTable"),
        {QStringLiteral("PHICCode"), QStringLiteral("PHICDescription"), QStringLiteral("Status")});
    phic.add({QStringLiteral("OS"), QStringLiteral("OVERSEAS FILIPINO WORKER - SEA-BASED"), 1});
    phic.add({QStringLiteral("KM"), QStringLiteral("KASAMBAHAY (DOMESTIC WORKER)"), 1});
    phic.add({QStringLiteral("NP"), QStringLiteral("NON-PAYING MEMBER (OLD CATEGORY)"), 0});

    // The charity code of the old admitting system is no longer given.
    TableRows &admTypes = table(QStringLiteral("PATIENT_DATA..tbAdmissionType"),
                                {QStringLiteral("AdmissionTypeID"), QStringLiteral("AdmissionType"),
                                 QStringLiteral("Status")});
    admTypes.add({QStringLiteral("6"), QStringLiteral("DAY SURGERY"), QStringLiteral("A")});
    admTypes.add(
        {QStringLiteral("7"), QStringLiteral("TRANSFER FROM OTHER HOSPITAL"), QStringLiteral("A")});
    admTypes.add({QStringLiteral("0"), QStringLiteral("CHARITY (OLD CODE)"), QStringLiteral("X")});
}

// The list of operations the charge window offers when the OR tags a procedure line: every OR
// procedure the hospital prices, under its own code.
void DemoBuilder::addChargeEntryData()
{
    TableRows &procedures = table(QStringLiteral("BUILD_FILE..tbCoORProcedures"),
                                  {QStringLiteral("ItemID"), QStringLiteral("ItemName")});
    for (const Item &i : allItems()) {
        if (i.kind == ItemKind::Procedure && i.department == u"OR")
            procedures.add({i.code, i.name});
    }
}

} // namespace kestrel::hospitaldb::demo
