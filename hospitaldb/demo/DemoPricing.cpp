// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

#include <algorithm>

namespace kestrel::hospitaldb::demo {

// What the pricing rules read: the drug master with each location's stock and prices, prices
// agreed with companies, packages, the OR's markups, HMO and RUV rates, the exams of the
// laboratory, X-ray and ultrasound, and a few patients admitted this morning whose stays call
// for each rule (an HMO visit priced at rate H, the special classes, a foreigner, ER visits, a
// walk-in, an employee's dependent, an HMO patient in a private room, and a mother whose tubal
// ligation the delivery room already charged as her second operation). Draws nothing from the
// random stream.
void DemoBuilder::addPricingData()
{
    struct StockItem
    {
        QStringView code, name, description, generic, classification, route;
        qint64 centavos;
        QStringView locations[2];
    };
    // The OR's medicines are stocked by the pharmacy and the OR's own medicine cabinet; the
    // supplies by the central supply and the OR's supply room.
    QList<StockItem> items;
    for (const OrMedicine &m : orMedicines())
        items.append({m.code, m.name, u"", u"", u"ANESTHETICS AND OR MEDICINES", u"IV", m.centavos,
                      {u"PHA", u"OM"}});
    static constexpr StockItem supplies[] = {
        {u"CS3001", u"IV CANNULA G18", u"WITH INJECTION PORT", u"INTRAVENOUS CATHETER",
         u"IV SUPPLIES", u"", 9500, {u"CSR", u"OS"}},
        {u"CS3002", u"IV CANNULA G22", u"WITH INJECTION PORT", u"INTRAVENOUS CATHETER",
         u"IV SUPPLIES", u"", 9500, {u"CSR", u"OS"}},
        {u"CS3003", u"MACRODRIP IV SET", u"15 DROPS/ML", u"INFUSION SET", u"IV SUPPLIES", u"",
         7800, {u"CSR", u"OS"}},
        {u"CS3004", u"DISPOSABLE SYRINGE 10 ML", u"WITH NEEDLE G23", u"SYRINGE",
         u"SYRINGES AND NEEDLES", u"", 1200, {u"CSR", u"OS"}},
        {u"CS3005", u"SPINAL NEEDLE G25", u"QUINCKE TIP", u"SPINAL NEEDLE",
         u"SYRINGES AND NEEDLES", u"", 18500, {u"CSR", u"OS"}},
        {u"CS3006", u"MICROPORE TAPE 1 INCH", u"PER ROLL", u"SURGICAL TAPE", u"DRESSINGS", u"",
         4500, {u"CSR", u"OS"}},
        {u"CS3007", u"ELASTIC BANDAGE 4 INCHES", u"PER ROLL", u"ELASTIC BANDAGE", u"DRESSINGS",
         u"", 8500, {u"CSR", u"OS"}},
        {u"CS3008", u"STERILE COTTON BALLS", u"PACK OF 100", u"ABSORBENT COTTON", u"DRESSINGS",
         u"", 6000, {u"CSR", u"OS"}},
    };
    for (const StockItem &s : supplies)
        items.append(s);

    TableRows &master = table(QStringLiteral("INVENTORY..tbInvMaster"),
                              {QStringLiteral("ItemID"), QStringLiteral("ItemName"),
                               QStringLiteral("Description"), QStringLiteral("GenericName"),
                               QStringLiteral("ClassificationName"), QStringLiteral("Route"),
                               QStringLiteral("AntiBioticClassID"), QStringLiteral("Unrestricted"),
                               QStringLiteral("Status")});
    TableRows &stock = table(QStringLiteral("INVENTORY..tbInvent"),
                             {QStringLiteral("ItemID"), QStringLiteral("LocationID"),
                              QStringLiteral("OnHand"), QStringLiteral("SellingPriceIn"),
                              QStringLiteral("SellingPriceOut"), QStringLiteral("AverageCost")});
    for (qsizetype i = 0; i < items.size(); ++i) {
        const StockItem &s = items.at(i);
        // The generic name is the medicine's name up to its strength.
        QString generic = s.generic.toString();
        if (generic.isEmpty())
            generic = s.name.toString().section(u' ', 0, 0);
        const bool antibiotic = s.code == u"PH1001";
        master.add({s.code.toString(), s.name.toString(), s.description.toString(), generic,
                    s.classification.toString(), s.route.toString(),
                    antibiotic ? QStringLiteral("CEPH1") : QString(), i % 3 == 0 ? 1 : 0,
                    QStringLiteral("A")});
        // Outpatients pay a tenth more; the hospital bought at seven tenths of the price.
        const qint64 out = (s.centavos * 11 + 5) / 10;
        const qint64 cost = (s.centavos * 7 + 5) / 10;
        for (int l = 0; l < 2; ++l) {
            const int onHand = l == 0 ? 200 + int(i) * 15 : 12 + int(i % 5) * 4;
            stock.add({s.code.toString(), s.locations[l].toString(), double(onHand),
                       pesos(s.centavos), pesos(out), pesos(cost)});
        }
    }
    // Discontinued, and one the OR's cabinet has run out of.
    master.add({QStringLiteral("PH1010"), QStringLiteral("THIOPENTAL 500 MG VIAL"), QString(),
                QStringLiteral("THIOPENTAL"), QStringLiteral("ANESTHETICS AND OR MEDICINES"),
                QStringLiteral("IV"), QString(), 0, QStringLiteral("I")});
    master.add({QStringLiteral("PH1011"), QStringLiteral("EPHEDRINE 50 MG/ML AMPULE"), QString(),
                QStringLiteral("EPHEDRINE"), QStringLiteral("ANESTHETICS AND OR MEDICINES"),
                QStringLiteral("IV"), QString(), 0, QStringLiteral("A")});
    stock.add({QStringLiteral("PH1011"), QStringLiteral("OM"), 0.0, pesos(8500), pesos(9350),
               pesos(5950)});

    TableRows &agreed = table(QStringLiteral("INVENTORY..tbInvCompanyPrice"),
                              {QStringLiteral("ItemID"), QStringLiteral("AccountNum"),
                               QStringLiteral("CompanyPrice")});
    agreed.add({QStringLiteral("PH1001"), QStringLiteral("1102"), pesos(16500)});
    agreed.add({QStringLiteral("PH1002"), QStringLiteral("1102"), pesos(8500)});
    agreed.add({QStringLiteral("CS3005"), QStringLiteral("1102"), pesos(16000)});
    agreed.add({QStringLiteral("PH1001"), QStringLiteral("2101"), pesos(17500)});

    // The medicines as a hospital that prices them by room class sells them (the supplies
    // keep the location's price): a ward bed pays the inpatient price, each better class a
    // twentieth more than the one before.
    TableRows &byClass = table(
        QStringLiteral("INVENTORY..tbInvRoomClassRate"),
        {QStringLiteral("ItemID"), QStringLiteral("RoomClassID"), QStringLiteral("SellingPrice")});
    for (const StockItem &s : std::as_const(items)) {
        if (!s.code.startsWith(u"PH"))
            continue;
        qint64 centavos = s.centavos;
        for (const QChar cls : {u'A', u'B', u'C', u'D', u'E'}) {
            byClass.add({s.code.toString(), QString(cls), pesos(centavos)});
            centavos = (centavos * 21 + 10) / 20;
        }
    }

    TableRows &packages = table(
        QStringLiteral("INVENTORY..tbInvPackage"),
        {QStringLiteral("PackageID"), QStringLiteral("Package"), QStringLiteral("RateA"),
         QStringLiteral("RateB"), QStringLiteral("RateC"), QStringLiteral("RateD"),
         QStringLiteral("RateE")});
    packages.add({QStringLiteral("OPK-CIRC"), QStringLiteral("CIRCUMCISION PACKAGE"),
                  pesos(450000), pesos(480000), pesos(520000), pesos(560000), pesos(600000)});
    packages.add({QStringLiteral("OPK-LIPO"), QStringLiteral("EXCISION OF LIPOMA PACKAGE"),
                  pesos(850000), pesos(900000), pesos(975000), pesos(1050000), pesos(1150000)});

    table(QStringLiteral("STATION..tbCoMarkUp"), {QStringLiteral("Markup")}).add({15.0});
    TableRows &orMarkups = table(QStringLiteral("STATION..tbORMarkUp"),
                                 {QStringLiteral("Description"), QStringLiteral("Markup"),
                                  QStringLiteral("Operation"), QStringLiteral("Status"),
                                  QStringLiteral("IsDefault"), QStringLiteral("RegFrom"),
                                  QStringLiteral("RegTo")});
    const QDate yearStart(m_today.year(), 1, 1);
    const QDate yearEnd(m_today.year(), 12, 31);
    orMarkups.add({QStringLiteral("AFTER OFFICE HOURS"), 0.25, QStringLiteral("*"),
                   QStringLiteral("A"), 1, yearStart, yearEnd});
    orMarkups.add({QStringLiteral("STAT / EMERGENCY CASE"), 0.3, QStringLiteral("*"),
                   QStringLiteral("A"), 0, yearStart, yearEnd});
    orMarkups.add({QStringLiteral("ISOLATION CASE HANDLING"), 1500.0, QStringLiteral("+"),
                   QStringLiteral("A"), 0, yearStart, yearEnd});
    orMarkups.add({QStringLiteral("HOLIDAY SURCHARGE (OLD RATE)"), 0.5, QStringLiteral("*"),
                   QStringLiteral("I"), 0, yearStart.addYears(-2), yearEnd.addYears(-2)});
    TableRows &oldMarkups = table(QStringLiteral("STATION..tbMarkUp"),
                                  {QStringLiteral("MarkupName"), QStringLiteral("MarkUp")});
    oldMarkups.add({QStringLiteral("REGULAR"), 1.0});
    oldMarkups.add({QStringLiteral("STAT / EMERGENCY"), 1.3});
    oldMarkups.add({QStringLiteral("HOLIDAY"), 1.5});

    // HMOs pay by room class for the common operations and the first hour of the OR.
    TableRows &hmo = table(QStringLiteral("BUILD_FILE..tbCoHMORate"),
                           {QStringLiteral("RevenueID"), QStringLiteral("ItemID"),
                            QStringLiteral("RoomClassID"), QStringLiteral("HMORate")});
    static constexpr std::pair<QChar, int> hmoClasses[] = {
        {u'A', 100}, {u'B', 105}, {u'C', 110}, {u'D', 120}, {u'E', 130}, {u'I', 102}};
    for (QStringView code : {u"OR1001", u"OR1002", u"OR1004", u"OR1005", u"OR1009", u"OR1012",
                             u"OR1018", u"OR1023", u"OR1036", u"OR1101"}) {
        const Item &item = itemByCode(code);
        const qint64 base = rateCentavos(item.rateA, u'H');
        for (const auto &[cls, percent] : hmoClasses)
            hmo.add({item.department, item.code, QString(cls),
                     pesos(base * percent / 100)});
    }

    // Relative units of the procedures the OR prices by the scale; the rest keep the list.
    TableRows &ruv = table(QStringLiteral("BUILD_FILE..tbCoProcedureRUV"),
                           {QStringLiteral("OtherRevenueID"), QStringLiteral("RUV")});
    static constexpr std::pair<QStringView, double> units[] = {
        {u"OR1001", 60},  {u"OR1002", 85},  {u"OR1003", 80},  {u"OR1004", 110},
        {u"OR1005", 50},  {u"OR1006", 70},  {u"OR1007", 95},  {u"OR1010", 100},
        {u"OR1018", 90},  {u"OR1019", 95},  {u"OR1022", 105}, {u"OR1026", 130},
        {u"OR1033", 100}, {u"OR1038", 45},  {u"OR1041", 90},  {u"OR1043", 250}};
    for (const auto &[code, value] : units)
        ruv.add({code.toString(), value});
    TableRows &worth = table(QStringLiteral("BUILD_FILE..tbCoRUVConversion"),
                             {QStringLiteral("RoomClassID"), QStringLiteral("PesoPerUnit")});
    static constexpr std::pair<QChar, qint64> perUnit[] = {
        {u'A', 32000}, {u'B', 35000}, {u'C', 40000}, {u'D', 45000}, {u'E', 50000}, {u'H', 38000}};
    for (const auto &[cls, centavos] : perUnit)
        worth.add({QString(cls), pesos(centavos)});

    // Surgeons' fees for HMO visits, priced at the visit's rate type.
    TableRows &fees =
        table(QStringLiteral("BUILD_FILE..tbCoDoctorBill"),
              {QStringLiteral("DoctorID"), QStringLiteral("RoomClassID"),
               QStringLiteral("Description"), QStringLiteral("Amount"), QStringLiteral("Status")});
    for (const QString &doctor : doctorsIn(u"GENERAL SURGERY"))
        fees.add({doctor, QStringLiteral("H"), QStringLiteral("PROFESSIONAL FEE"),
                  pesos(rateCentavos(15000, u'H')), 1});
    // The hospital's standard professional fees, which name no doctor: the doctor's fee window
    // offers them for a doctor who has no fee of his own. One stopped being charged.
    for (const QChar cls : {u'A', u'B', u'C', u'D', u'E'}) {
        fees.add({QString(), QString(cls), QStringLiteral("SURGEON'S FEE - MINOR OPERATION"),
                  pesos(rateCentavos(5000, cls)), 1});
        fees.add({QString(), QString(cls), QStringLiteral("SURGEON'S FEE - MAJOR OPERATION"),
                  pesos(rateCentavos(15000, cls)), 1});
    }
    fees.add({QString(), QStringLiteral("A"), QStringLiteral("SURGEON'S FEE (OLD RATE)"),
              pesos(400000), 0});

    TableRows &labs = table(QStringLiteral("BUILD_FILE..tbCoLabExam"),
                            {QStringLiteral("LabExamID"), QStringLiteral("LabExam"),
                             QStringLiteral("LabSectionID"), QStringLiteral("IsProcedure"),
                             QStringLiteral("OpenQuantity"), QStringLiteral("MaxQty"),
                             QStringLiteral("IsFixedRate")});
    labs.add({QStringLiteral("LB101"), QStringLiteral("BLOOD CULTURE AND SENSITIVITY"),
              QStringLiteral("MIC"), 1, 1, 3, 0});
    labs.add({QStringLiteral("LB102"), QStringLiteral("ARTERIAL BLOOD GAS"),
              QStringLiteral("CHEM"), 1, 1, QVariant(), 0});
    labs.add({QStringLiteral("LB103"), QStringLiteral("FROZEN SECTION"), QStringLiteral("HIS"),
              1, 0, 2, 1});
    TableRows &xrays = table(QStringLiteral("BUILD_FILE..tbCoXrayExam"),
                             {QStringLiteral("XrayExamID"), QStringLiteral("XrayExam"),
                              QStringLiteral("IsProcedure"), QStringLiteral("OpenQuantity"),
                              QStringLiteral("MaxQty"), QStringLiteral("IsFixedRate")});
    xrays.add({QStringLiteral("XR001"), QStringLiteral("CHEST PA"), 0, 0, QVariant(), 1});
    xrays.add({QStringLiteral("XR002"), QStringLiteral("PORTABLE CHEST AP"), 0, 0, QVariant(), 0});
    xrays.add(
        {QStringLiteral("XR010"), QStringLiteral("C-ARM INTRAOPERATIVE FLUOROSCOPY"), 1, 1, 4, 0});
    TableRows &ultrasounds = table(QStringLiteral("BUILD_FILE..tbCoUltraExam"),
                                   {QStringLiteral("UltraExamID"), QStringLiteral("UltraExam"),
                                    QStringLiteral("IsProcedure"), QStringLiteral("OpenQuantity"),
                                    QStringLiteral("MaxQty"), QStringLiteral("IsFixedRate")});
    ultrasounds.add(
        {QStringLiteral("US001"), QStringLiteral("WHOLE ABDOMEN ULTRASOUND"), 0, 0, QVariant(), 1});
    ultrasounds.add({QStringLiteral("US010"), QStringLiteral("ULTRASOUND-GUIDED ASPIRATION"), 1, 1,
                     QVariant(), 0});

    addPricingPatients();
}

// The patients of addPricingData(), admitted or seen this morning. Their numbers follow the
// hospital's last ones, and inpatients get rooms nobody is in.
void DemoBuilder::addPricingPatients()
{
    Numbering numbers = numbering();
    qint64 &hospNum = numbers.hospNum;
    qint64 &inpatientNo = numbers.inpatientNo;
    qint64 &outpatientNo = numbers.outpatientNo;
    qint64 &erNo = numbers.erNo;
    QSet<QString> &occupied = numbers.occupied;
    auto freeRoom = [&](QChar rateClass) {
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.rateClass == rateClass && !occupied.contains(r.id)) {
                occupied.insert(r.id);
                return r.id;
            }
        }
        Q_UNREACHABLE();
    };

    struct PricedPatient
    {
        QStringView lastName, firstName, middleName;
        QChar sex;
        int age;
        QStringView nationality;
        StayKind kind;
        QStringView account; ///< "" for the patient's own hospital number
        QChar roomClass;     ///< inpatients
        int isSpecial;
        QStringView admissionType, rateType, complaint;
    };
    static constexpr PricedPatient patients[] = {
        {u"MANANSALA", u"ROSEMARIE", u"DIZON", u'F', 34, u"FILIPINO", StayKind::Outpatient,
         u"1101", u' ', 0, u"", u"H", u"FOR EXCISION OF LIPOMA, BACK"},
        {u"GUEVARRA", u"TEOFILO", u"LAXAMANA", u'M', 58, u"FILIPINO", StayKind::Inpatient, u"",
         u'A', 9, u"1", u"", u"ACUTE APPENDICITIS"},
        {u"BAYLON", u"CONCHITA", u"REYES", u'F', 47, u"FILIPINO", StayKind::Outpatient, u"",
         u' ', 1, u"", u"A", u"FOR REMOVAL OF SUTURES"},
        {u"HARTLEY", u"GRAHAM", u"", u'M', 61, u"AUSTRALIAN", StayKind::Inpatient, u"", u'B', 0,
         u"3", u"", u"INGUINAL HERNIA, RIGHT, REDUCIBLE"},
        {u"LUMANLAN", u"ARVIN", u"PINEDA", u'M', 26, u"FILIPINO", StayKind::Emergency, u"", u' ',
         0, u"", u"A", u"LACERATED WOUND, LEFT HAND"},
        {u"SALONGA", u"JENALYN", u"CUSTODIO", u'F', 19, u"FILIPINO", StayKind::Outpatient,
         u"4394", u' ', 0, u"", u"A", u"FOR WOUND DRESSING"},
        {u"ESTACIO", u"WILMA", u"ABAD", u'F', 41, u"FILIPINO", StayKind::Inpatient, u"", u'A', 0,
         u"9", u"", u"CHOLELITHIASIS"},
        {u"VALENZUELA", u"RONALDO", u"SISON", u'M', 52, u"FILIPINO", StayKind::Inpatient, u"1102",
         u'C', 0, u"3", u"", u"BENIGN PROSTATIC HYPERPLASIA"},
        {u"AGUINALDO", u"MARISSA", u"TOLENTINO", u'F', 31, u"FILIPINO", StayKind::Inpatient, u"",
         u'B', 0, u"4", u"", u"PREGNANCY UTERINE 39 WEEKS, CEPHALOPELVIC DISPROPORTION"},
        {u"CAPISTRANO", u"EFREN", u"MAGNO", u'M', 44, u"FILIPINO", StayKind::Emergency, u"1103",
         u' ', 0, u"", u"H", u"ABDOMINAL PAIN"},
    };

    TableRows &master = table(
        QStringLiteral("PATIENT_DATA..tbMaster"),
        {QStringLiteral("HospNum"), QStringLiteral("LastName"), QStringLiteral("FirstName"),
         QStringLiteral("MiddleName"), QStringLiteral("Sex"), QStringLiteral("BirthDate"),
         QStringLiteral("CivilStatus"), QStringLiteral("Town"), QStringLiteral("Province"),
         QStringLiteral("Nationality"), QStringLiteral("DateCreated")});
    TableRows &inpatients = table(
        QStringLiteral("PATIENT_DATA..tbPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("AccountNum"), QStringLiteral("RoomID"), QStringLiteral("StationID"),
         QStringLiteral("AdmittingDr"), QStringLiteral("AttendingDr1"), QStringLiteral("UserID")});
    TableRows &extension =
        table(QStringLiteral("PATIENT_DATA..tbPatient2"),
              {QStringLiteral("IDNum"), QStringLiteral("OkeyOR"), QStringLiteral("CreditLine"),
               QStringLiteral("PatientClass"), QStringLiteral("AdmissionTypeID"),
               QStringLiteral("isSpecial"), QStringLiteral("PHICCode")});
    TableRows &history = table(QStringLiteral("PATIENT_DATA..tbPatientHistory"),
                               {QStringLiteral("IDNum"), QStringLiteral("ADMDiagnosis"),
                                QStringLiteral("ChiefComplaint")});
    TableRows &outpatients = table(
        QStringLiteral("PATIENT_DATA..tbOutPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("ERNum"), QStringLiteral("AccountNum"), QStringLiteral("PatientType"),
         QStringLiteral("RateType"), QStringLiteral("isSpecial"), QStringLiteral("DoctorID1"),
         QStringLiteral("PHICCode"), QStringLiteral("UserID")});
    TableRows &opHistory = table(QStringLiteral("PATIENT_DATA..tbOutpatientHistory"),
                                 {QStringLiteral("IDNum"), QStringLiteral("ChiefComplaints")});

    const QString surgeon = doctorsIn(u"GENERAL SURGERY").first();
    Stay mother;
    int minutes = 5 * 60;
    for (const PricedPatient &pp : patients) {
        Patient p;
        p.hospNum = padded(++hospNum, 8);
        p.lastName = pp.lastName.toString();
        p.firstName = pp.firstName.toString();
        p.middleName = pp.middleName.toString();
        p.sex = pp.sex;
        p.age = pp.age;
        p.birthDate = QDate(m_today.year() - pp.age, 3 + p.hospNum.right(1).toInt(), 14);
        p.created = at(0, minutes);
        m_patients.append(p);
        master.add({p.hospNum, p.lastName, p.firstName, p.middleName, QString(p.sex), p.birthDate,
                    QStringLiteral("MARRIED"), QStringLiteral("SAN BARTOLOME CITY"),
                    QStringLiteral("LAGUNA"), pp.nationality.toString(), p.created});

        Stay s;
        s.patient = int(m_patients.size()) - 1;
        s.kind = pp.kind;
        s.admitted = at(0, minutes + 10);
        minutes += 20;
        s.account = pp.account.isEmpty() ? p.hospNum : pp.account.toString();
        s.doctor = surgeon;
        s.complaint = pp.complaint.toString();
        if (pp.kind == StayKind::Inpatient) {
            s.idNum = padded(++inpatientNo, 7);
            s.room = freeRoom(pp.roomClass);
            QString station;
            for (const Room &r : std::as_const(m_rooms)) {
                if (r.id == s.room)
                    station = r.station;
            }
            inpatients.add({s.idNum, p.hospNum, s.admitted, s.account, s.room, station, surgeon,
                            surgeon, QStringLiteral("ADM01")});
            extension.add({s.idNum, 1, pesos(10000000), QStringLiteral("P"),
                           pp.admissionType.toString(), pp.isSpecial, QStringLiteral("EP")});
            history.add({s.idNum, s.complaint, s.complaint});
            m_currentInpatients << int(m_stays.size());
            if (pp.admissionType == u"4")
                mother = s;
        } else {
            s.idNum = padded(++outpatientNo, 7) + u'B';
            if (pp.kind == StayKind::Emergency)
                s.erNum = QStringLiteral("ER-") + padded(++erNo, 6);
            outpatients.add({s.idNum, p.hospNum, s.admitted,
                             s.erNum.isEmpty() ? QVariant() : QVariant(s.erNum), s.account,
                             QStringLiteral("PAY"), pp.rateType.toString(), pp.isSpecial,
                             surgeon, QStringLiteral("EP"),
                             pp.kind == StayKind::Emergency ? QStringLiteral("ER01")
                                                            : QStringLiteral("OPD01")});
            opHistory.add({s.idNum, s.complaint});
        }
        m_stays.append(s);
    }

    // The delivery room did the mother's cesarean section at dawn and charged the tubal
    // ligation after it as her second operation.
    const Item &ligation = itemByCode(u"OR1023");
    table(QStringLiteral("STATION..tbNurseLogBook"),
          {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ReferenceNum"),
           QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
           QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
           QStringLiteral("UserID"), QStringLiteral("StationID"), QStringLiteral("PatientClass"),
           QStringLiteral("RoomID"), QStringLiteral("ChargeDepartment"),
           QStringLiteral("isSecORProc"), QStringLiteral("RecordStatus")})
        .add({mother.idNum, m_patients.at(mother.patient).hospNum, QStringLiteral("C312D"),
              ligation.department, ligation.code, ligation.name, 1.0,
              pesos(rateCentavos(ligation.rateA, u'B') / 2), at(0, 7 * 60 + 40), staffCode(0),
              QStringLiteral("DR"), QStringLiteral("I"), mother.room, QStringLiteral("DR"),
              QStringLiteral("1"), QString()});
}

} // namespace kestrel::hospitaldb::demo
