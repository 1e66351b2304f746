// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The insurance's case rates: packages for illnesses (ICD-10) and operations (RVS), the roles
// of the doctors on a discharge order, the billing checklist, and one stay of the OR whose
// discharge order bills an operation as first case rate and an illness as second.
#include "hospitaldb/demo/DemoBuilder.h"

#include <QSet>

namespace kestrel::hospitaldb::demo {

namespace {

// An illness group: its three-character ICD-10 category, what it is, the case rate in pesos
// and whether a second case rate may be billed with it. Each group gives the codes of its
// subdivisions below.
struct Illness
{
    QStringView category, description;
    int pesos;
    bool second;
};

constexpr Illness kIllnesses[] = {
    {u"A09", u"INFECTIOUS GASTROENTERITIS AND COLITIS", 6000, true},
    {u"A15", u"RESPIRATORY TUBERCULOSIS", 10000, true},
    {u"A41", u"SEPSIS", 32000, false},
    {u"A90", u"DENGUE FEVER", 10000, true},
    {u"A91", u"DENGUE HAEMORRHAGIC FEVER", 16000, true},
    {u"B05", u"MEASLES", 8000, true},
    {u"B50", u"PLASMODIUM FALCIPARUM MALARIA", 9000, true},
    {u"C18", u"MALIGNANT NEOPLASM OF COLON", 45000, false},
    {u"C50", u"MALIGNANT NEOPLASM OF BREAST", 40000, false},
    {u"C53", u"MALIGNANT NEOPLASM OF CERVIX UTERI", 38000, false},
    {u"D25", u"LEIOMYOMA OF UTERUS", 22000, true},
    {u"D50", u"IRON DEFICIENCY ANAEMIA", 8000, true},
    {u"E04", u"OTHER NONTOXIC GOITRE", 12000, true},
    {u"E05", u"THYROTOXICOSIS", 12000, true},
    {u"E10", u"TYPE 1 DIABETES MELLITUS", 14000, true},
    {u"E11", u"TYPE 2 DIABETES MELLITUS", 14000, true},
    {u"E86", u"VOLUME DEPLETION", 6000, true},
    {u"F10", u"MENTAL DISORDERS DUE TO USE OF ALCOHOL", 9000, true},
    {u"G40", u"EPILEPSY", 11000, true},
    {u"G45", u"TRANSIENT CEREBRAL ISCHAEMIC ATTACKS", 14000, true},
    {u"H25", u"SENILE CATARACT", 16000, true},
    {u"H66", u"SUPPURATIVE AND UNSPECIFIED OTITIS MEDIA", 5000, true},
    {u"I10", u"ESSENTIAL (PRIMARY) HYPERTENSION", 9000, true},
    {u"I20", u"ANGINA PECTORIS", 16000, true},
    {u"I21", u"ACUTE MYOCARDIAL INFARCTION", 42000, false},
    {u"I50", u"HEART FAILURE", 20000, true},
    {u"I63", u"CEREBRAL INFARCTION", 38000, false},
    {u"I64", u"STROKE, NOT SPECIFIED AS HAEMORRHAGE OR INFARCTION", 32000, false},
    {u"I84", u"HAEMORRHOIDS", 8000, true},
    {u"J02", u"ACUTE PHARYNGITIS", 4000, true},
    {u"J03", u"ACUTE TONSILLITIS", 4500, true},
    {u"J15", u"BACTERIAL PNEUMONIA, NOT ELSEWHERE CLASSIFIED", 15000, true},
    {u"J18", u"PNEUMONIA, ORGANISM UNSPECIFIED", 15000, true},
    {u"J44", u"OTHER CHRONIC OBSTRUCTIVE PULMONARY DISEASE", 12000, true},
    {u"J45", u"ASTHMA", 9000, true},
    {u"K25", u"GASTRIC ULCER", 14000, true},
    {u"K29", u"GASTRITIS AND DUODENITIS", 6000, true},
    {u"K35", u"ACUTE APPENDICITIS", 24000, true},
    {u"K40", u"INGUINAL HERNIA", 21000, true},
    {u"K56", u"PARALYTIC ILEUS AND INTESTINAL OBSTRUCTION", 26000, true},
    {u"K74", u"FIBROSIS AND CIRRHOSIS OF LIVER", 18000, true},
    {u"K80", u"CHOLELITHIASIS", 31000, true},
    {u"K81", u"CHOLECYSTITIS", 28000, true},
    {u"K85", u"ACUTE PANCREATITIS", 22000, true},
    {u"L03", u"CELLULITIS", 7000, true},
    {u"M16", u"COXARTHROSIS", 24000, true},
    {u"M17", u"GONARTHROSIS", 24000, true},
    {u"M51", u"OTHER INTERVERTEBRAL DISC DISORDERS", 18000, true},
    {u"N10", u"ACUTE TUBULO-INTERSTITIAL NEPHRITIS", 9000, true},
    {u"N18", u"CHRONIC KIDNEY DISEASE", 26000, true},
    {u"N20", u"CALCULUS OF KIDNEY AND URETER", 20000, true},
    {u"N39", u"OTHER DISORDERS OF URINARY SYSTEM", 8000, true},
    {u"N40", u"HYPERPLASIA OF PROSTATE", 31000, true},
    {u"N83", u"NONINFLAMMATORY DISORDERS OF OVARY", 19000, true},
    {u"O03", u"SPONTANEOUS ABORTION", 11000, true},
    {u"O14", u"GESTATIONAL HYPERTENSION WITH SIGNIFICANT PROTEINURIA", 16000, true},
    {u"O42", u"PREMATURE RUPTURE OF MEMBRANES", 9000, true},
    {u"O80", u"SINGLE SPONTANEOUS DELIVERY", 8000, false},
    {u"O82", u"SINGLE DELIVERY BY CAESAREAN SECTION", 19000, false},
    {u"P07", u"DISORDERS RELATED TO SHORT GESTATION AND LOW BIRTH WEIGHT", 18000, true},
    {u"P59", u"NEONATAL JAUNDICE FROM OTHER AND UNSPECIFIED CAUSES", 7000, true},
    {u"S06", u"INTRACRANIAL INJURY", 30000, false},
    {u"S42", u"FRACTURE OF SHOULDER AND UPPER ARM", 18000, true},
    {u"S52", u"FRACTURE OF FOREARM", 16000, true},
    {u"S72", u"FRACTURE OF FEMUR", 32000, true},
    {u"S82", u"FRACTURE OF LOWER LEG, INCLUDING ANKLE", 24000, true},
    {u"T14", u"INJURY OF UNSPECIFIED BODY REGION", 6000, true},
    {u"T78", u"ADVERSE EFFECTS, NOT ELSEWHERE CLASSIFIED", 5000, true},
    {u"Z30", u"CONTRACEPTIVE MANAGEMENT", 4000, false},
    {u"Z38", u"LIVEBORN INFANTS ACCORDING TO PLACE OF BIRTH", 1750, false},
};

// The subdivisions each illness group lists.
constexpr std::pair<QStringView, QStringView> kSubdivisions[] = {
    {u".0", u", WITH COMPLICATIONS"},
    {u".8", u", OTHER SPECIFIED"},
    {u".9", u", UNSPECIFIED"},
};

// An operation with a surgical case rate: its RVS code, what it is, its relative value units and
// the case rate in pesos.
struct Operation
{
    QStringView code, description;
    double units;
    int pesos;
    bool second;
};

constexpr Operation kOperations[] = {
    {u"10060", u"INCISION AND DRAINAGE OF ABSCESS", 2.0, 3640, true},
    {u"11042", u"DEBRIDEMENT, SUBCUTANEOUS TISSUE", 3.0, 5460, true},
    {u"11400", u"EXCISION, BENIGN LESION, TRUNK, ARMS OR LEGS", 2.0, 3640, true},
    {u"12001", u"SIMPLE REPAIR OF SUPERFICIAL WOUNDS", 1.5, 2730, true},
    {u"19120", u"EXCISION OF CYST OR FIBROADENOMA OF BREAST", 5.0, 10920, true},
    {u"19303", u"MASTECTOMY, SIMPLE, COMPLETE", 12.0, 31000, true},
    {u"19307", u"MASTECTOMY, MODIFIED RADICAL", 16.0, 40000, true},
    {u"20610", u"ARTHROCENTESIS, MAJOR JOINT", 1.5, 2730, true},
    {u"25600", u"CLOSED TREATMENT OF DISTAL RADIAL FRACTURE", 5.0, 10920, true},
    {u"27130", u"TOTAL HIP ARTHROPLASTY", 25.0, 60000, false},
    {u"27236", u"OPEN TREATMENT OF FEMORAL NECK FRACTURE", 16.0, 45000, true},
    {u"27447", u"TOTAL KNEE ARTHROPLASTY", 25.0, 60000, false},
    {u"27506", u"OPEN TREATMENT OF FEMORAL SHAFT FRACTURE", 18.0, 45000, true},
    {u"27759", u"OPEN TREATMENT OF TIBIAL SHAFT FRACTURE", 14.0, 35000, true},
    {u"31500", u"EMERGENCY ENDOTRACHEAL INTUBATION", 2.0, 3640, true},
    {u"31600", u"TRACHEOSTOMY, PLANNED", 6.0, 14560, true},
    {u"32551", u"TUBE THORACOSTOMY", 4.0, 9100, true},
    {u"36556", u"INSERTION OF CENTRAL VENOUS CATHETER", 2.5, 4550, true},
    {u"38500", u"BIOPSY OR EXCISION OF LYMPH NODE", 4.0, 9100, true},
    {u"42820", u"TONSILLECTOMY AND ADENOIDECTOMY", 6.0, 14560, true},
    {u"43239", u"UPPER GASTROINTESTINAL ENDOSCOPY WITH BIOPSY", 4.0, 9100, true},
    {u"44140", u"COLECTOMY, PARTIAL, WITH ANASTOMOSIS", 20.0, 52000, true},
    {u"44950", u"APPENDECTOMY", 8.0, 24000, true},
    {u"44970", u"LAPAROSCOPIC APPENDECTOMY", 9.0, 24000, true},
    {u"45378", u"COLONOSCOPY, DIAGNOSTIC", 4.0, 9100, true},
    {u"46255", u"HEMORRHOIDECTOMY, INTERNAL AND EXTERNAL", 6.0, 14560, true},
    {u"47562", u"LAPAROSCOPIC CHOLECYSTECTOMY", 14.5, 31000, true},
    {u"47600", u"CHOLECYSTECTOMY, OPEN", 12.0, 31000, true},
    {u"49505", u"REPAIR OF INGUINAL HERNIA", 7.5, 21000, true},
    {u"49560", u"REPAIR OF INCISIONAL HERNIA", 9.0, 24000, true},
    {u"50590", u"EXTRACORPOREAL SHOCK WAVE LITHOTRIPSY", 10.0, 25000, true},
    {u"52000", u"CYSTOURETHROSCOPY", 3.0, 5460, true},
    {u"52601", u"TRANSURETHRAL RESECTION OF PROSTATE", 12.5, 31000, true},
    {u"54640", u"ORCHIOPEXY, INGUINAL APPROACH", 6.0, 14560, true},
    {u"55250", u"VASECTOMY", 2.5, 4000, false},
    {u"57520", u"CONIZATION OF CERVIX", 5.0, 10920, true},
    {u"58120", u"DILATION AND CURETTAGE", 3.5, 11000, true},
    {u"58150", u"TOTAL ABDOMINAL HYSTERECTOMY", 15.0, 30000, true},
    {u"58600", u"BILATERAL TUBAL LIGATION", 5.0, 4000, false},
    {u"58661", u"LAPAROSCOPIC REMOVAL OF ADNEXAL STRUCTURES", 10.0, 25000, true},
    {u"58940", u"OOPHORECTOMY", 9.0, 22000, true},
    {u"59409", u"VAGINAL DELIVERY", 5.0, 8000, false},
    {u"59510", u"CAESAREAN SECTION WITH ROUTINE OBSTETRIC CARE", 14.0, 19000, false},
    {u"60220", u"THYROID LOBECTOMY", 10.0, 26000, true},
    {u"60240", u"TOTAL THYROIDECTOMY", 13.0, 31000, true},
    {u"61154", u"BURR HOLES FOR EVACUATION OF HEMATOMA", 15.0, 40000, false},
    {u"62223", u"VENTRICULOPERITONEAL SHUNT", 18.0, 46000, false},
    {u"63030", u"LAMINOTOMY WITH DISCECTOMY, LUMBAR", 16.0, 42000, true},
    {u"65855", u"TRABECULOPLASTY BY LASER SURGERY", 4.0, 9100, true},
    {u"66821", u"DISCISSION OF SECONDARY MEMBRANE, LASER", 3.0, 5460, true},
    {u"66984", u"CATARACT EXTRACTION WITH LENS IMPLANT", 9.0, 16000, true},
    {u"67036", u"VITRECTOMY, MECHANICAL, PARS PLANA", 14.0, 36000, true},
    {u"69436", u"TYMPANOSTOMY WITH VENTILATING TUBE", 3.0, 5460, true},
    {u"69631", u"TYMPANOPLASTY", 10.0, 26000, true},
};

TableRows *existing(std::deque<TableRows> &tables, const QString &name)
{
    for (TableRows &t : tables) {
        if (t.table == name)
            return &t;
    }
    return nullptr;
}

// The codes already in a code list, so those listed here are added once.
QSet<QString> codesIn(const TableRows *t)
{
    QSet<QString> out;
    if (t) {
        for (const QVariantList &row : t->rows)
            out.insert(row.at(0).toString());
    }
    return out;
}

} // namespace

void DemoBuilder::addCaseRateData()
{
    TableRows &packages =
        table(QStringLiteral("MEDICARE..tbMedPackage"),
              {QStringLiteral("PackageID"), QStringLiteral("Package"), QStringLiteral("Amount"),
               QStringLiteral("PF"), QStringLiteral("HCIPercentage"),
               QStringLiteral("PFPercentage"), QStringLiteral("CaseRatePercentage"),
               QStringLiteral("IsAllowSecondCR")});
    // Illnesses pay the doctors 30 % and operations 40 % of the case rate; a second case rate
    // pays half, split 35/15 for illnesses and 30/20 for operations. Packages without a second
    // case rate leave the percentages empty (read as 100).
    const auto addPackage = [&](const QString &id, const QString &name, int caseRate,
                                int pfPercent, bool second, int hospitalHalf) {
        packages.add({id, name, pesos(qint64(caseRate) * 100),
                      pesos(qint64(caseRate) * pfPercent),
                      second ? QVariant(hospitalHalf) : QVariant(),
                      second ? QVariant(50 - hospitalHalf) : QVariant(),
                      second ? QVariant(50) : QVariant(), second ? 1 : 0});
    };

    TableRows *icdList = existing(m_tables, QStringLiteral("BUILD_FILE..tbCoICD10"));
    if (!icdList)
        icdList = &table(QStringLiteral("BUILD_FILE..tbCoICD10"),
                         {QStringLiteral("ICDCode"), QStringLiteral("Description")});
    QSet<QString> listed = codesIn(icdList);
    TableRows &medical =
        table(QStringLiteral("MEDICARE..tbMed_MedicalCaseRates"),
              {QStringLiteral("ICDCode"), QStringLiteral("PackageID"), QStringLiteral("Description")});
    for (const Illness &i : kIllnesses) {
        const QString package = QStringLiteral("MCR-") + i.category.toString();
        addPackage(package, i.description.toString(), i.pesos, 30, i.second, 35);
        for (const auto &[suffix, wording] : kSubdivisions) {
            const QString code = i.category.toString() + suffix.toString();
            const QString description = i.description.toString() + wording.toString();
            medical.add({code, package, description});
            if (!listed.contains(code)) {
                icdList->add({code, description});
                listed.insert(code);
            }
        }
    }

    TableRows *rvsList = existing(m_tables, QStringLiteral("BUILD_FILE..tbCoRVS"));
    if (!rvsList)
        rvsList = &table(QStringLiteral("BUILD_FILE..tbCoRVS"),
                         {QStringLiteral("RVSCode"), QStringLiteral("RVSDescription"),
                          QStringLiteral("RVSPoints")});
    listed = codesIn(rvsList);
    TableRows &surgical =
        table(QStringLiteral("MEDICARE..tbMed_Procedures"),
              {QStringLiteral("RVSCode"), QStringLiteral("PackageID"), QStringLiteral("Description")});
    for (const Operation &o : kOperations) {
        const QString package = QStringLiteral("SCR-") + o.code.toString();
        addPackage(package, o.description.toString(), o.pesos, 40, o.second, 30);
        surgical.add({o.code.toString(), package, o.description.toString()});
        if (!listed.contains(o.code.toString()))
            rvsList->add({o.code.toString(), o.description.toString(), o.units});
    }

    TableRows &roles = table(QStringLiteral("STATION..tbPHICDxRole"),
                             {QStringLiteral("Role"), QStringLiteral("Status")});
    for (const char *role : {"Anesthesiologist", "Cardiologist", "Physician", "Referral",
                             "Surgeon"})
        roles.add({QString::fromLatin1(role), QStringLiteral("Y")});

    TableRows &checks =
        table(QStringLiteral("STATION..tbNurse_BillingCheckItems"),
              {QStringLiteral("Item"), QStringLiteral("SortOrder"), QStringLiteral("Status")});
    int order = 0;
    for (const char *item :
         {"Charges of the ward posted", "Medicines returned to the pharmacy",
          "Pending requests cancelled or done", "Insurance forms signed by the patient",
          "Clinical summary (CF4) complete", "Doctors' fees entered"})
        checks.add({QString::fromLatin1(item), ++order, QStringLiteral("Y")});

    // One patient of the ward, operated on for appendicitis, whose order bills the appendectomy
    // as first case rate and the diabetes as second; saved, not yet sent.
    // Past the first few, whose wards still wait for requests, and not one billing has noticed.
    int chosen = -1;
    for (int n = 4; n < m_currentInpatients.size() && chosen < 0; ++n) {
        if (!m_stays.at(m_currentInpatients.at(n)).billed.isValid())
            chosen = m_currentInpatients.at(n);
    }
    if (chosen < 0)
        return;
    const Stay &stay = m_stays.at(chosen);
    const QString surgeon = doctorsIn(u"GENERAL SURGERY").value(0);
    const QString anesthesiologist = doctorsIn(u"ANESTHESIOLOGY").value(0);
    const QString physician = doctorsIn(u"INTERNAL MEDICINE").value(0);
    TableRows &lines =
        table(QStringLiteral("STATION..tbPxICDRVS"),
              {QStringLiteral("IDNum"), QStringLiteral("LineNumber"), QStringLiteral("CaseType"),
               QStringLiteral("ICD"), QStringLiteral("RVS"), QStringLiteral("ICDDescription"),
               QStringLiteral("RVSDescription"), QStringLiteral("OperationDate")});
    const QDateTime operated = at(1, 9 * 60);
    lines.add({stay.idNum, 1, QString(), QStringLiteral("K35.8"), QString(),
               QStringLiteral("ACUTE APPENDICITIS, OTHER SPECIFIED"), QString(), QVariant()});
    lines.add({stay.idNum, 2, QStringLiteral("2"), QStringLiteral("E11.9"), QString(),
               QStringLiteral("TYPE 2 DIABETES MELLITUS, UNSPECIFIED"), QString(), QVariant()});
    lines.add({stay.idNum, 3, QStringLiteral("1"), QString(), QStringLiteral("44950"), QString(),
               QStringLiteral("APPENDECTOMY"), when(operated)});
    TableRows &diagnoses = table(QStringLiteral("PATIENT_DATA..tbPatientDiagnosis"),
                                 {QStringLiteral("IDNum"), QStringLiteral("OrderNumber"),
                                  QStringLiteral("DiagnosisID"), QStringLiteral("PrimaryDiagnosis")});
    diagnoses.add({stay.idNum, 1, QStringLiteral("K35.8"), QStringLiteral("Y")});
    diagnoses.add({stay.idNum, 2, QStringLiteral("E11.9"), QStringLiteral("N")});
    TableRows &fees =
        table(QStringLiteral("STATION..tbNurseProfFees"),
              {QStringLiteral("IDNum"), QStringLiteral("DoctorID"), QStringLiteral("DoctorName"),
               QStringLiteral("PF"), QStringLiteral("OrderNumber"), QStringLiteral("CaseType"),
               QStringLiteral("RoleID")});
    const auto nameOf = [](const QString &id) -> QString {
        for (const Doctor &d : allDoctors()) {
            if (d.id == id)
                return d.lastName + QStringLiteral(", ") + d.firstName;
        }
        return QString();
    };
    // The appendectomy pays 40 % of 24,000 to its surgeon; the diabetes as second case rate
    // 15 % of 14,000 to the physician.
    fees.add({stay.idNum, surgeon, nameOf(surgeon), pesos(960000), 1, QStringLiteral("1"),
              QString()});
    fees.add({stay.idNum, physician, nameOf(physician), pesos(210000), 1, QStringLiteral("2"),
              QString()});
    fees.add({stay.idNum, anesthesiologist, nameOf(anesthesiologist), pesos(300000), 1, QString(),
              QStringLiteral("Anesthesiologist")});
    TableRows &notice =
        table(QStringLiteral("STATION..tbNurseDischargeNotice"),
              {QStringLiteral("IDNum"), QStringLiteral("RecordStatus"), QStringLiteral("IsFinal"),
               QStringLiteral("StationID"), QStringLiteral("NoticeDate"),
               QStringLiteral("OrderedDate"), QStringLiteral("BillUpTo"),
               QStringLiteral("OperationDate"), QStringLiteral("Remarks"),
               QStringLiteral("UserID")});
    notice.add({stay.idNum, QStringLiteral("P"), 0, QStringLiteral("OR"), when(at(0, 8 * 60)),
                when(at(0, 8 * 60)), when(at(0, 0)), when(operated),
                QStringLiteral("For discharge after the afternoon rounds."), staffCode(2)});
}

} // namespace kestrel::hospitaldb::demo
