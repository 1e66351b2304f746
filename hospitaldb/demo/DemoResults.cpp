// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

#include <QMap>

#include <algorithm>

// What the OR's forms and monitoring reports read besides the charges: the laboratory's results
// for the patients still in, and the log entries of the month's confirmed schedules and
// laboratory requests. The stock card of the OR's own supplies and medicines is made with the
// charges.

namespace kestrel::hospitaldb::demo {

namespace {

// A test as the laboratory reports it. Numeric tests draw a result between low and high (now and
// then outside, flagged); the others report `normal`.
struct LabTest
{
    QStringView section, name, unit, range;
    double low, high;
    int decimals;
    QStringView normal;
};

constexpr std::array kLabTests{
    LabTest{u"HEM", u"HEMOGLOBIN", u"g/L", u"M: 140-170 / F: 120-150", 120, 170, 0, u""},
    LabTest{u"HEM", u"HEMATOCRIT", u"L/L", u"M: 0.40-0.54 / F: 0.37-0.47", 0.37, 0.54, 2, u""},
    LabTest{u"HEM", u"RBC COUNT", u"x10^12/L", u"4.0 - 5.5", 4.0, 5.5, 1, u""},
    LabTest{u"HEM", u"WBC COUNT", u"x10^9/L", u"5.0 - 10.0", 5.0, 10.0, 1, u""},
    LabTest{u"HEM", u"NEUTROPHILS", u"", u"0.50 - 0.70", 0.50, 0.70, 2, u""},
    LabTest{u"HEM", u"LYMPHOCYTES", u"", u"0.20 - 0.40", 0.20, 0.40, 2, u""},
    LabTest{u"HEM", u"MONOCYTES", u"", u"0.02 - 0.08", 0.02, 0.08, 2, u""},
    LabTest{u"HEM", u"EOSINOPHILS", u"", u"0.01 - 0.04", 0.01, 0.04, 2, u""},
    LabTest{u"HEM", u"PLATELET COUNT", u"x10^9/L", u"150 - 400", 150, 400, 0, u""},
    LabTest{u"HEM", u"PROTHROMBIN TIME", u"sec", u"11.0 - 13.5", 11.0, 13.5, 1, u""},
    LabTest{u"HEM", u"INR", u"", u"0.8 - 1.2", 0.8, 1.2, 2, u""},
    LabTest{u"HEM", u"APTT", u"sec", u"25 - 35", 25, 35, 1, u""},
    LabTest{u"CHEM", u"FASTING BLOOD SUGAR", u"mmol/L", u"4.1 - 5.9", 4.1, 5.9, 1, u""},
    LabTest{u"CHEM", u"BLOOD UREA NITROGEN", u"mmol/L", u"2.5 - 6.4", 2.5, 6.4, 1, u""},
    LabTest{u"CHEM", u"CREATININE", u"umol/L", u"53 - 115", 53, 115, 0, u""},
    LabTest{u"CHEM", u"SODIUM", u"mmol/L", u"135 - 145", 135, 145, 0, u""},
    LabTest{u"CHEM", u"POTASSIUM", u"mmol/L", u"3.5 - 5.1", 3.5, 5.1, 1, u""},
    LabTest{u"SERO", u"HBSAG SCREENING", u"", u"NONREACTIVE", 0, 0, 0, u"NONREACTIVE"},
    LabTest{u"CM", u"URINE COLOR", u"", u"YELLOW", 0, 0, 0, u"YELLOW"},
    LabTest{u"CM", u"URINE TRANSPARENCY", u"", u"CLEAR", 0, 0, 0, u"CLEAR"},
    LabTest{u"CM", u"URINE PH", u"", u"5.0 - 8.0", 5.0, 7.5, 1, u""},
    LabTest{u"CM", u"SPECIFIC GRAVITY", u"", u"1.005 - 1.030", 1.005, 1.030, 3, u""},
    LabTest{u"CM", u"URINE PROTEIN", u"", u"NEGATIVE", 0, 0, 0, u"NEGATIVE"},
    LabTest{u"CM", u"URINE SUGAR", u"", u"NEGATIVE", 0, 0, 0, u"NEGATIVE"},
    LabTest{u"CM", u"PUS CELLS", u"/hpf", u"0 - 5", 0, 5, 0, u""},
    LabTest{u"CM", u"RED BLOOD CELLS", u"/hpf", u"0 - 2", 0, 2, 0, u""},
};

// An examination of a department other than the laboratory and the reading it comes back with.
struct DeptExam
{
    QStringView department, id, name, section, form, reading, evaluation, endorsement;
};

constexpr std::array kDeptExams{
    DeptExam{u"XR", u"XR101", u"CHEST PA", u"X-RAY", u"",
             u"The lungs are clear. The heart is not enlarged. The diaphragms and sulci are "
             u"intact.",
             u"", u""},
    DeptExam{u"US", u"US101", u"WHOLE ABDOMEN ULTRASOUND", u"ULTRASOUND", u"",
             u"Normal sonographic appearance of the liver, gallbladder, pancreas and kidneys.",
             u"", u""},
    DeptExam{u"CT", u"CT101", u"CT SCAN, CRANIAL, PLAIN", u"CT-SCAN", u"",
             u"No intracranial hemorrhage, mass effect or midline shift.", u"", u""},
    DeptExam{u"HS", u"HS101", u"12-LEAD ELECTROCARDIOGRAM", u"HEART STATION", u"D",
             u"Sinus rhythm, rate 78/min. Normal axis. No acute ST-T changes.", u"", u""},
    DeptExam{u"PT", u"PT101", u"CHEST PHYSIOTHERAPY", u"REHABILITATION", u"",
             u"Tolerated percussion and postural drainage; cleared moderate whitish secretions.",
             u"Productive cough, decreased breath sounds at both bases.",
             u"Continue twice a day until discharge."},
    DeptExam{u"NU", u"NU101", u"THYROID SCAN", u"NUCLEAR MEDICINE", u"",
             u"Homogeneous tracer uptake in both lobes; no cold nodule.", u"", u""},
    DeptExam{u"PA", u"PA102", u"INCENTIVE SPIROMETRY", u"PULMONARY", u"S",
             u"Reached 1,500 mL on the spirometer after coaching.", u"", u""},
    DeptExam{u"NE", u"NE101", u"ELECTROENCEPHALOGRAM", u"NEUROLOGY", u"",
             u"Normal awake and drowsy record; no epileptiform discharges.", u"", u""},
    DeptExam{u"WC", u"WC101", u"TRANSVAGINAL ULTRASOUND", u"CENTER FOR WOMEN", u"",
             u"Uterus of normal size; both ovaries unremarkable.", u"", u""},
    DeptExam{u"MR", u"MR101", u"MRI, LUMBOSACRAL SPINE", u"MRI", u"",
             u"Mild disc bulge at L4-L5 without nerve root compression.", u"", u""},
    DeptExam{u"US", u"US102", u"KUB ULTRASOUND", u"ULTRASOUND", u"",
             u"No stones or hydronephrosis. Bladder unremarkable.", u"", u""},
    DeptExam{u"XR", u"XR102", u"ABDOMEN, SUPINE AND UPRIGHT", u"X-RAY", u"",
             u"Nonspecific bowel gas pattern. No free air.", u"", u""},
};

// The department's doctors who read the examinations.
struct Reader
{
    QStringView id, last, first, middle;
};

constexpr std::array kReaders{
    Reader{u"R101", u"SALVADOR", u"ANTONIO", u"REYES"},
    Reader{u"R102", u"VILLANUEVA", u"MARIA CRISTINA", u"DIZON"},
    Reader{u"R103", u"TAN", u"BENJAMIN", u"CO"},
    Reader{u"R104", u"OCAMPO", u"LOURDES", u"BAUTISTA"},
};

} // namespace

void DemoBuilder::addLaboratoryResults()
{
    DemoRandom rng(m_rng.next());
    TableRows &results = table(
        QStringLiteral("LABORATORY..tbLabResult"),
        {QStringLiteral("IdNum"), QStringLiteral("HospNum"), QStringLiteral("RequestNum"),
         QStringLiteral("SectionID"), QStringLiteral("TestName"), QStringLiteral("Result"),
         QStringLiteral("Unit"), QStringLiteral("NormalRange"), QStringLiteral("Flag"),
         QStringLiteral("Specimen"), QStringLiteral("StationID"), QStringLiteral("RequestedBy"),
         QStringLiteral("RequestDate"), QStringLiteral("IsAMPickUp"), QStringLiteral("ResultDate"),
         QStringLiteral("MedTech"), QStringLiteral("PanicValue"), QStringLiteral("Printed")});

    // Blood types as the patient master has them, so the result agrees with the chart.
    QMap<QString, QString> bloodTypes;
    for (const TableRows &t : std::as_const(m_tables)) {
        if (t.table != u"PATIENT_DATA..tbMaster")
            continue;
        const qsizetype hosp = t.columns.indexOf(QStringLiteral("HospNum"));
        const qsizetype blood = t.columns.indexOf(QStringLiteral("BloodType"));
        for (const QVariantList &row : t.rows)
            bloodTypes.insert(row.at(hosp).toString(), row.at(blood).toString());
    }

    // Results come out in the early morning's run at the latest; what was asked for after it
    // is still being worked on.
    const QDateTime lastRun(m_today, QTime(8, 30));
    qint64 requestNo = 2611000;
    const std::array<QStringView, 3> medTechs{u"LAB03", u"LAB05", u"LAB08"};
    auto request = [&](const Stay &s, const QString &station, const QString &by,
                       const QDateTime &asked, bool amPickUp, QStringView section,
                       const QList<QStringView> &tests) {
        const Patient &p = m_patients.at(s.patient);
        const QString number = QStringLiteral("LB%1").arg(++requestNo);
        const QDateTime released = asked.addSecs(60 * rng.between(90, 240));
        const bool done = released <= lastRun;
        const QString tech = rng.pick(medTechs).toString();
        for (QStringView name : tests) {
            const LabTest *test = nullptr;
            for (const LabTest &t : kLabTests) {
                if (t.section == section && t.name == name)
                    test = &t;
            }
            Q_ASSERT(test);
            QString value, flag, panic;
            if (done && !test->normal.isEmpty()) {
                value = test->normal.toString();
            } else if (done) {
                double low = test->low, high = test->high;
                if (name == u"HEMOGLOBIN" || name == u"HEMATOCRIT") {
                    // The women's range is the lower one.
                    if (p.sex == u'F')
                        high = name == u"HEMOGLOBIN" ? 150 : 0.47;
                    else
                        low = name == u"HEMOGLOBIN" ? 140 : 0.40;
                }
                double v = low + (high - low) * rng.below(1001) / 1000.0;
                if (rng.percent(12)) {
                    const bool up = rng.percent(60);
                    v = up ? high + (high - low) * rng.between(5, 40) / 100.0
                           : std::max(0.0, low - (high - low) * rng.between(5, 30) / 100.0);
                    flag = up ? QStringLiteral("H") : QStringLiteral("L");
                    // A result a third of the range beyond its limit is called to the ward.
                    const double margin = (high - low) / 3;
                    if (up && v > high + margin)
                        panic = u"> " + QString::number(high + margin, 'f', test->decimals);
                    else if (!up && v < low - margin)
                        panic = u"< " + QString::number(low - margin, 'f', test->decimals);
                }
                value = QString::number(v, 'f', test->decimals);
            }
            const QString specimen =
                section == u"CM" ? QStringLiteral("URINE") : QStringLiteral("BLOOD");
            results.add({s.idNum, p.hospNum, number, section.toString(), name.toString(), value,
                         test->unit.toString(), test->range.toString(), flag, specimen, station, by,
                         asked, amPickUp ? 1 : 0, done ? QVariant(released) : QVariant(),
                         done ? tech : QString(), panic, done && requestNo % 3 != 0 ? 1 : 0});
        }
    };
    // Tests whose result is a finding, not a number.
    auto finding = [&](const Stay &s, const QString &station, const QDateTime &asked,
                       QStringView section, QStringView name, QStringView specimen,
                       QStringView result, QStringView normal, bool abnormal) {
        const Patient &p = m_patients.at(s.patient);
        const QDateTime released = asked.addDays(2);
        const bool done = released <= lastRun;
        results.add(
            {s.idNum, p.hospNum, QStringLiteral("LB%1").arg(++requestNo), section.toString(),
             name.toString(), done ? result.toString() : QString(), QString(), normal.toString(),
             done && abnormal ? QStringLiteral("H") : QString(), specimen.toString(), station,
             QStringLiteral("1401"), asked, 0, done ? QVariant(released) : QVariant(),
             done ? rng.pick(medTechs).toString() : QString(), QString(),
             done && requestNo % 3 != 0 ? 1 : 0});
    };

    const QList<QStringView> cbc{u"HEMOGLOBIN", u"HEMATOCRIT",  u"RBC COUNT",
                                 u"WBC COUNT",  u"NEUTROPHILS", u"LYMPHOCYTES",
                                 u"MONOCYTES",  u"EOSINOPHILS", u"PLATELET COUNT"};
    const QList<QStringView> urinalysis{u"URINE COLOR",      u"URINE TRANSPARENCY", u"URINE PH",
                                        u"SPECIFIC GRAVITY", u"URINE PROTEIN",      u"URINE SUGAR",
                                        u"PUS CELLS",        u"RED BLOOD CELLS"};
    const QList<QStringView> chemistry{u"FASTING BLOOD SUGAR", u"BLOOD UREA NITROGEN",
                                       u"CREATININE", u"SODIUM", u"POTASSIUM"};
    const QList<QStringView> coagulation{u"PROTHROMBIN TIME", u"INR", u"APTT"};

    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        QString ward = QStringLiteral("4N");
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.id == s.room)
                ward = r.station;
        }
        // The ward's admission work-up.
        const QDateTime admission = s.admitted.addSecs(40 * 60);
        request(s, ward, QStringLiteral("1401"), admission, false, u"HEM", cbc);
        request(s, ward, QStringLiteral("1401"), admission, false, u"CM", urinalysis);
        request(s, ward, QStringLiteral("1401"), admission, false, u"CHEM", chemistry);
        if (s.surgicalCase < 0) {
            finding(s, ward, admission, u"MICRO", u"BLOOD CULTURE AND SENSITIVITY", u"BLOOD",
                    u"NO GROWTH AFTER 48 HOURS", u"NO GROWTH", false);
            continue;
        }
        const SurgicalCase &c = surgicalCases()[std::size_t(s.surgicalCase)];
        // The OR's pre-operative work-up: clotting times, blood typing and hepatitis B screen.
        const QDateTime preOp = s.admitted.addSecs(75 * 60);
        request(s, QStringLiteral("OR"), QStringLiteral("2903"), preOp, false, u"HEM", coagulation);
        request(s, QStringLiteral("OR"), QStringLiteral("2903"), preOp, false, u"SERO",
                {u"HBSAG SCREENING"});
        const Patient &p = m_patients.at(s.patient);
        results.add({s.idNum, p.hospNum, QStringLiteral("LB%1").arg(++requestNo),
                     QStringLiteral("HEM"), QStringLiteral("BLOOD TYPE"),
                     bloodTypes.value(p.hospNum), QString(), QString(), QString(),
                     QStringLiteral("BLOOD"), QStringLiteral("OR"), QStringLiteral("2903"), preOp,
                     0, preOp.addSecs(3600), rng.pick(medTechs).toString(), QString(), 1});
        if (c.procedure == u"OR1014")
            finding(s, QStringLiteral("OR"), preOp, u"MICRO", u"WOUND CULTURE AND SENSITIVITY",
                    u"WOUND SWAB", u"MODERATE GROWTH OF STAPHYLOCOCCUS AUREUS", u"NO GROWTH", true);
        // Patients on today's and tomorrow's list get a fresh count and potassium, collected
        // on the laboratory's morning round of the OR.
        if (s.admitted.date().daysTo(m_today) <= 1) {
            const QDateTime round(m_today, QTime(5, rng.between(0, 45)));
            request(s, QStringLiteral("OR"), QStringLiteral("2909"), round, true, u"HEM",
                    {u"HEMOGLOBIN", u"HEMATOCRIT", u"WBC COUNT", u"PLATELET COUNT"});
            request(s, QStringLiteral("OR"), QStringLiteral("2909"), round, true, u"CHEM",
                    {u"POTASSIUM"});
        }
    }
    // The other departments' examinations of the same patients: every department has some,
    // a few still being read, a few read but not yet signed, and signed ones the ward has not
    // printed yet.
    DemoRandom drng(rng.next());
    TableRows &dept = table(
        QStringLiteral("STATION..tbNurseDiagResult"),
        {QStringLiteral("DepartmentID"), QStringLiteral("IdNum"), QStringLiteral("HospNum"),
         QStringLiteral("TransNum"), QStringLiteral("RequestNum"), QStringLiteral("ChargeSlip"),
         QStringLiteral("ExamID"), QStringLiteral("ExamName"), QStringLiteral("Section"),
         QStringLiteral("FileNumber"), QStringLiteral("TransDate"), QStringLiteral("ResultDate"),
         QStringLiteral("ReaderID"), QStringLiteral("ReaderLastName"),
         QStringLiteral("ReaderFirstName"), QStringLiteral("ReaderMiddleName"),
         QStringLiteral("AttendingDoctor"), QStringLiteral("FormType"),
         QStringLiteral("Interpretation"), QStringLiteral("InitialEvaluation"),
         QStringLiteral("Endorsement"), QStringLiteral("StationID"), QStringLiteral("Verified"),
         QStringLiteral("Printed")});
    int examNo = 0;
    for (qsizetype n = 0; n < m_currentInpatients.size(); ++n) {
        const Stay &s = m_stays.at(m_currentInpatients.at(n));
        const Patient &p = m_patients.at(s.patient);
        // A chest film for everyone, and two other departments in turn.
        QList<int> picks{0};
        for (int k = 1; k <= 2; ++k)
            picks << 1 + int((n * 2 + k - 1) % (qsizetype(kDeptExams.size()) - 1));
        for (int pick : std::as_const(picks)) {
            const DeptExam &e = kDeptExams[std::size_t(pick)];
            const Reader &r = kReaders[std::size_t(drng.below(int(kReaders.size())))];
            ++examNo;
            const QDateTime asked = s.admitted.addSecs(60 * drng.between(60, 600));
            const QDateTime read = asked.addSecs(60 * drng.between(120, 1440));
            const bool released = read <= lastRun;
            // Now and then the reader releases the result before typing the reading.
            const bool typed = released && examNo % 7 != 3;
            const bool verified = typed && examNo % 4 != 0;
            const QString number = e.department.toString() + QString::number(26000 + examNo);
            dept.add({e.department.toString(), s.idNum, p.hospNum, number,
                      QStringLiteral("RQ%1").arg(880000 + examNo),
                      QStringLiteral("CS%1").arg(410000 + examNo), e.id.toString(),
                      e.name.toString(), e.section.toString(),
                      e.department == u"NE" ? QStringLiteral("NF-%1").arg(examNo) : QString(),
                      asked, released ? QVariant(read) : QVariant(), r.id.toString(),
                      r.last.toString(), r.first.toString(), r.middle.toString(),
                      e.department == u"HS" ? s.doctor : QString(), e.form.toString(),
                      typed ? QVariant(e.reading.toString()) : QVariant(),
                      e.department == u"PT" && typed ? QVariant(e.evaluation.toString())
                                                      : QVariant(),
                      e.department == u"PT" && typed ? QVariant(e.endorsement.toString())
                                                      : QVariant(),
                      QStringLiteral("OR"), verified ? 1 : 0, verified && examNo % 2 ? 1 : 0});
        }
    }
}

void DemoBuilder::addRequestLogs()
{
    // The log entries the OR's clerks and nurses left this month: operations confirmed on the
    // board and laboratory requests sent from the OR.
    QList<QVariantList> entries;
    const QDateTime monthAgo(m_today.addDays(-30), QTime(0, 0));
    for (const TableRows &t : std::as_const(m_tables)) {
        auto at = [&t](const QVariantList &row, QStringView name) {
            return row.at(t.columns.indexOf(name.toString()));
        };
        if (t.table == u"SCHEDULE..tbORScheduleDetails") {
            for (const QVariantList &row : t.rows) {
                const QDateTime confirmed = at(row, u"ConfirmedDate").toDateTime();
                if (at(row, u"RecordStatus").toString() != u"C" || confirmed < monthAgo)
                    continue;
                entries << QVariantList{at(row, u"IDNum"), confirmed,
                                        QString(QStringLiteral("OR SCHEDULE CONFIRMED: ") +
                                                at(row, u"TransNum").toString() + u' ' +
                                                at(row, u"ProcedureDesc").toString()),
                                        at(row, u"ConfirmedBy"), QStringLiteral("OR-PC-01")};
            }
        } else if (t.table == u"LABORATORY..tbLabResult") {
            QString last;
            for (const QVariantList &row : t.rows) {
                const QString number = at(row, u"RequestNum").toString();
                if (at(row, u"StationID").toString() != u"OR" || number == last)
                    continue;
                last = number;
                entries << QVariantList{
                    at(row, u"IdNum"), at(row, u"RequestDate"),
                    QString(QStringLiteral("SEND REQUEST: LABORATORY ") + number),
                    at(row, u"RequestedBy"), QStringLiteral("OR-PC-02")};
            }
        }
    }
    addOrStationLogs(std::move(entries));
}

} // namespace kestrel::hospitaldb::demo
