// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

#include <algorithm>

namespace kestrel::hospitaldb::demo {

namespace {

struct Code
{
    QStringView id, name, extra;
};

constexpr Code kDiets[] = {
    {u"DT01", u"REGULAR DIET", u""},
    {u"DT02", u"SOFT DIET", u"NO FRIED FOOD"},
    {u"DT03", u"CLEAR LIQUIDS", u"AFTER OPERATION"},
    {u"DT04", u"LOW SALT, LOW FAT", u"HYPERTENSIVE PATIENTS"},
    {u"DT05", u"DIABETIC DIET", u"1800 KCAL"},
    {u"DT06", u"NOTHING BY MOUTH", u"BEFORE OPERATION"},
};

// The frequency travels with the medicine charged under the dosage.
constexpr Code kDosages[] = {
    {u"OD", u"ONCE A DAY", u"1X A DAY"},
    {u"BID", u"TWICE A DAY", u"2X A DAY"},
    {u"TID", u"THREE TIMES A DAY", u"3X A DAY"},
    {u"QID", u"FOUR TIMES A DAY", u"4X A DAY"},
    {u"Q4", u"EVERY FOUR HOURS", u"EVERY 4 HRS"},
    {u"Q6", u"EVERY SIX HOURS", u"EVERY 6 HRS"},
    {u"HS", u"AT BEDTIME", u"HS"},
    {u"PRN", u"AS NEEDED", u"PRN"},
    {u"STAT", u"AT ONCE", u"STAT"},
};

constexpr Code kServices[] = {
    {u"MED", u"INTERNAL MEDICINE", u""},
    {u"SUR", u"SURGERY", u""},
    {u"OB", u"OBSTETRICS", u""},
    {u"GYN", u"GYNECOLOGY", u""},
    {u"PED", u"PEDIATRICS", u""},
    {u"ORT", u"ORTHOPEDICS", u""},
    {u"ENT", u"EAR, NOSE AND THROAT", u""},
    {u"OPH", u"OPHTHALMOLOGY", u""},
};

// The examinations of the departments whose exams are kept together, by department.
constexpr Code kDepartmentExams[] = {
    {u"CT", u"CT101", u"CT SCAN, CRANIAL, PLAIN"},
    {u"CT", u"CT102", u"CT SCAN, WHOLE ABDOMEN WITH CONTRAST"},
    {u"CT", u"CT103", u"CT SCAN, CHEST, PLAIN"},
    {u"HS", u"HS101", u"12-LEAD ELECTROCARDIOGRAM"},
    {u"HS", u"HS102", u"2D ECHOCARDIOGRAPHY"},
    {u"HS", u"HS103", u"TREADMILL STRESS TEST"},
    {u"NU", u"NU101", u"THYROID SCAN"},
    {u"NU", u"NU102", u"BONE SCAN, WHOLE BODY"},
    {u"PT", u"PT101", u"CHEST PHYSIOTHERAPY"},
    {u"PT", u"PT102", u"GAIT TRAINING"},
    {u"PT", u"PT103", u"ULTRASOUND THERAPY"},
    {u"PA", u"PA101", u"NEBULIZATION"},
    {u"PA", u"PA102", u"INCENTIVE SPIROMETRY"},
    {u"PA", u"PA103", u"MECHANICAL VENTILATION, PER DAY"},
};

constexpr Code kIcd10[] = {
    {u"K35.8", u"ACUTE APPENDICITIS, OTHER AND UNSPECIFIED", u""},
    {u"K80.2", u"CALCULUS OF GALLBLADDER WITHOUT CHOLECYSTITIS", u""},
    {u"K40.9", u"UNILATERAL INGUINAL HERNIA, WITHOUT OBSTRUCTION OR GANGRENE", u""},
    {u"O82.0", u"DELIVERY BY ELECTIVE CAESAREAN SECTION", u""},
    {u"D25.9", u"LEIOMYOMA OF UTERUS, UNSPECIFIED", u""},
    {u"N20.0", u"CALCULUS OF KIDNEY", u""},
    {u"S72.0", u"FRACTURE OF NECK OF FEMUR", u""},
    {u"E04.9", u"NONTOXIC GOITRE, UNSPECIFIED", u""},
    {u"H25.9", u"SENILE CATARACT, UNSPECIFIED", u""},
    {u"N40", u"HYPERPLASIA OF PROSTATE", u""},
    {u"I10", u"ESSENTIAL (PRIMARY) HYPERTENSION", u""},
    {u"E11.9", u"TYPE 2 DIABETES MELLITUS WITHOUT COMPLICATIONS", u""},
};

struct RvsCode
{
    QStringView code, description;
    double points;
};

constexpr RvsCode kRvs[] = {
    {u"44950", u"APPENDECTOMY", 8.0},
    {u"47562", u"LAPAROSCOPIC CHOLECYSTECTOMY", 14.5},
    {u"47600", u"CHOLECYSTECTOMY, OPEN", 12.0},
    {u"49505", u"REPAIR OF INGUINAL HERNIA", 7.5},
    {u"59510", u"CAESAREAN SECTION WITH ROUTINE OBSTETRIC CARE", 14.0},
    {u"58150", u"TOTAL ABDOMINAL HYSTERECTOMY", 15.0},
    {u"58600", u"BILATERAL TUBAL LIGATION", 5.0},
    {u"50590", u"EXTRACORPOREAL SHOCK WAVE LITHOTRIPSY", 10.0},
    {u"27236", u"OPEN TREATMENT OF FEMORAL NECK FRACTURE", 16.0},
    {u"60240", u"TOTAL THYROIDECTOMY", 13.0},
    {u"66984", u"CATARACT EXTRACTION WITH LENS IMPLANT", 9.0},
    {u"52601", u"TRANSURETHRAL RESECTION OF PROSTATE", 12.5},
};

} // namespace

// The code lists the stations pick from (diets, dosages, services, stations and the exams of
// the departments that keep theirs together), ICD-10 codes and the relative value scale, and
// a few requests the wards sent for their current patients. Draws nothing from the random
// stream.
void DemoBuilder::addComponentData()
{
    const auto addCodes = [this](const QString &tableName, const QStringList &columns,
                                 std::span<const Code> codes) {
        TableRows &t = table(tableName, columns);
        for (const Code &c : codes) {
            QVariantList row{c.id.toString(), c.name.toString()};
            if (columns.size() > 3)
                row << c.extra.toString();
            row << QStringLiteral("A");
            t.add(row);
        }
    };
    addCodes(QStringLiteral("BUILD_FILE..tbCoDiet"),
             {QStringLiteral("DietID"), QStringLiteral("Diet"), QStringLiteral("Remarks"),
              QStringLiteral("Status")},
             kDiets);
    addCodes(QStringLiteral("BUILD_FILE..tbCoDosage"),
             {QStringLiteral("DosageID"), QStringLiteral("Dosage"), QStringLiteral("Frequency"),
              QStringLiteral("Status")},
             kDosages);
    addCodes(QStringLiteral("BUILD_FILE..tbCoService"),
             {QStringLiteral("ServiceID"), QStringLiteral("Service"), QStringLiteral("Status")},
             kServices);

    // The wards of the rooms, and the stations without rooms.
    TableRows &stations =
        table(QStringLiteral("BUILD_FILE..tbCoStation"),
              {QStringLiteral("StationID"), QStringLiteral("Station"), QStringLiteral("Status")});
    QStringList wards;
    for (const Room &r : std::as_const(m_rooms)) {
        if (!r.station.isEmpty() && !wards.contains(r.station))
            wards << r.station;
    }
    for (const QString &w : std::as_const(wards))
        stations.add({w, QString(u"NURSING STATION " + w), QStringLiteral("A")});
    stations.add({QStringLiteral("OR"), QStringLiteral("OPERATING ROOM"), QStringLiteral("A")});
    stations.add({QStringLiteral("DR"), QStringLiteral("DELIVERY ROOM"), QStringLiteral("A")});
    stations.add({QStringLiteral("ER"), QStringLiteral("EMERGENCY ROOM"), QStringLiteral("A")});

    TableRows &exams = table(QStringLiteral("BUILD_FILE..tbCoDeptExam"),
                             {QStringLiteral("DepartmentID"), QStringLiteral("ExamID"),
                              QStringLiteral("ExamName"), QStringLiteral("Status")});
    for (const Code &e : kDepartmentExams)
        exams.add({e.id.toString(), e.name.toString(), e.extra.toString(), QStringLiteral("A")});

    TableRows &icd = table(QStringLiteral("BUILD_FILE..tbCoICD10"),
                           {QStringLiteral("ICDCode"), QStringLiteral("Description")});
    for (const Code &c : kIcd10)
        icd.add({c.id.toString(), c.name.toString()});

    TableRows &rvs = table(
        QStringLiteral("BUILD_FILE..tbCoRVS"),
        {QStringLiteral("RVSCode"), QStringLiteral("RVSDescription"), QStringLiteral("RVSPoints")});
    for (const RvsCode &r : kRvs)
        rvs.add({r.code.toString(), r.description.toString(), r.points});

    // Requests the wards sent this morning for their first patients, still open.
    TableRows &requests =
        table(QStringLiteral("STATION..tbNurseCommunicationfile"),
              {QStringLiteral("RequestNum"), QStringLiteral("IDNum"), QStringLiteral("HospNum"),
               QStringLiteral("StationID"), QStringLiteral("ExamCode"), QStringLiteral("ExamName"),
               QStringLiteral("RequestDate"), QStringLiteral("RecordStatus")});
    const int asking = std::min<int>(int(m_currentInpatients.size()), 4);
    for (int n = 0; n < asking; ++n) {
        const Stay &stay = m_stays.at(m_currentInpatients.at(n));
        QString station;
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.id == stay.room)
                station = r.station;
        }
        const Code &exam = kDepartmentExams[std::size_t(n * 3) % std::size(kDepartmentExams)];
        requests.add({QStringLiteral("RQ%1").arg(880101 + n), stay.idNum,
                      m_patients.at(stay.patient).hospNum, station, exam.name.toString(),
                      exam.extra.toString(), when(at(0, 6 * 60 + 15 * n)), QString()});
    }
}

} // namespace kestrel::hospitaldb::demo
