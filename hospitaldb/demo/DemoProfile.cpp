// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

// What the nurses wrote on the patient profiles: vital signs every few hours over the last days
// of the stays still in (a few of them out of the station's bounds, as a fever or a hypertensive
// patient gives), their notes per shift, heights and weights, allergies and histories.

namespace kestrel::hospitaldb::demo {

namespace {

constexpr std::array<QStringView, 4> kNurses{u"2902", u"2903", u"2907", u"2909"};
constexpr std::array<QStringView, 3> kShifts{u"6AM-2PM", u"2PM-10PM", u"10PM-6AM"};
constexpr std::array<QStringView, 4> kProtocols{u"Every 4 hours", u"Once Every Shift",
                                                u"Every Hour", u"Every 2 hours"};
constexpr std::array<QStringView, 8> kNotes{
    u"Received patient from the ward, awake and coherent, with IVF running well.",
    u"Patient's vital signs taken and recorded. No complaints of pain.",
    u"Dressing at the operative site dry and intact. Encouraged deep breathing exercises.",
    u"Patient complained of pain at the operative site; the resident on duty was informed.",
    u"Due medications given as ordered. Patient rested comfortably.",
    u"Patient slept at intervals. Side rails up for safety.",
    u"Febrile episode noted; tepid sponge bath done and the attending physician informed.",
    u"Patient ambulated with assistance. Tolerated soft diet.",
};
constexpr std::array<QStringView, 5> kAllergyCodes{u"F1", u"F3", u"M1", u"M2", u"O2"};

QString decimal(double v, int places)
{
    return QString::number(v, 'f', places);
}

} // namespace

void DemoBuilder::addProfileData()
{
    TableRows &vitals = table(
        QStringLiteral("STATION..tbNurseVitalSigns"),
        {QStringLiteral("IDNUM"), QStringLiteral("TRANSDATE"), QStringLiteral("BP"),
         QStringLiteral("TEMPERATURE"), QStringLiteral("PULSERATE"), QStringLiteral("RESPRATE"),
         QStringLiteral("O2Sat"), QStringLiteral("NInitial"), QStringLiteral("Protocol"),
         QStringLiteral("ProcItemID"), QStringLiteral("Status"), QStringLiteral("Remarks")});
    TableRows &notes =
        table(QStringLiteral("STATION..tbNurseNotes"),
              {QStringLiteral("IdNum"), QStringLiteral("Transdate"), QStringLiteral("Dayshift"),
               QStringLiteral("Notes"), QStringLiteral("UserID"), QStringLiteral("Remarks"),
               QStringLiteral("LastUpdated")});
    TableRows &measures =
        table(QStringLiteral("STATION..tbNurseHeightWeight"),
              {QStringLiteral("IDNum"), QStringLiteral("Height"), QStringLiteral("Weight"),
               QStringLiteral("UserID"), QStringLiteral("TransDate")});
    TableRows &allergies = table(
        QStringLiteral("PATIENT_DATA..tbMasterAllergies"),
        {QStringLiteral("Hospnum"), QStringLiteral("AllergyID1"), QStringLiteral("AllergyID2"),
         QStringLiteral("AllergyID3"), QStringLiteral("AllergyID4"), QStringLiteral("AllergyID5"),
         QStringLiteral("Others")});
    TableRows &histories = table(
        QStringLiteral("STATION..tbNurseProfile"),
        {QStringLiteral("Hospnum"), QStringLiteral("IDNum"), QStringLiteral("BriefHistory"),
         QStringLiteral("PEskin"), QStringLiteral("PEthorax"), QStringLiteral("PEabdomen"),
         QStringLiteral("PH1"), QStringLiteral("PH2"), QStringLiteral("FH1"), QStringLiteral("FH2"),
         QStringLiteral("PSH1"), QStringLiteral("FMOthers"), QStringLiteral("PEOthers")});

    // The station reports a nurse may run from the profile.
    TableRows &reports = table(QStringLiteral("STATION..tbNurse_ReportList"),
                               {QStringLiteral("ReportType"), QStringLiteral("ReportName"),
                                QStringLiteral("RecordStatus")});
    static constexpr QStringView kReports[][2] = {
        {u"CENSUS", u"Census Report by Station"},
        {u"DISCHARGED", u"Discharged List"},
        {u"PROCESSED", u"List of Processed Requests"},
        {u"PENDING", u"List of All Pending Requests By Station"},
        {u"SUMMARY", u"Clinical Summary"},
    };
    for (const auto &r : kReports)
        reports.add({r[0].toString(), r[1].toString(), 1});

    const QDateTime now(m_today, QTime(10, 0));
    QSet<QString> withAllergies;
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &stay = m_stays.at(index);
        const Patient &patient = m_patients.at(stay.patient);
        // Readings every four hours over the last five days of the stay at most.
        QDateTime taken = std::max(stay.admitted, now.addDays(-5));
        taken = QDateTime(taken.date(), QTime(taken.time().hour() / 4 * 4, 0)).addSecs(4 * 3600);
        // One patient in six runs a fever, one in eight is hypertensive.
        const bool febrile = m_rng.percent(16);
        const bool hypertensive = m_rng.percent(12);
        const QString protocol = m_rng.pick(kProtocols).toString();
        for (; taken <= now; taken = taken.addSecs(4 * 3600)) {
            const int systolic = hypertensive ? m_rng.between(150, 262) : m_rng.between(100, 135);
            const int diastolic = hypertensive ? m_rng.between(90, 115) : m_rng.between(38, 88);
            const double temperature =
                febrile ? 37.5 + m_rng.below(25) / 10.0 : 36.2 + m_rng.below(10) / 10.0;
            vitals.add({stay.idNum, taken,
                        QString(QString::number(systolic) + u'/' + QString::number(diastolic)),
                        decimal(temperature, 1), QString::number(m_rng.between(62, 118)),
                        QString::number(m_rng.between(14, 26)),
                        QString::number(m_rng.between(90, 100)), m_rng.pick(kNurses).toString(),
                        protocol, QString(), QStringLiteral("DONE"), QString()});
        }
        // A note for most shifts of the last three days.
        for (int day = 3; day >= 0; --day) {
            for (int shift = 0; shift < int(kShifts.size()); ++shift) {
                const QDateTime written = at(day, 6 * 60 + shift * 8 * 60 + m_rng.between(30, 420));
                if (written > now || written < stay.admitted || m_rng.percent(25))
                    continue;
                notes.add({stay.idNum, written, kShifts[std::size_t(shift)].toString(),
                           m_rng.pick(kNotes).toString(), m_rng.pick(kNurses).toString(),
                           QString(), written});
            }
        }
        const bool child = patient.age < 13;
        measures.add({stay.idNum, QString::number(child ? m_rng.between(80, 150)
                                                        : m_rng.between(148, 182)),
                      decimal(child ? m_rng.between(100, 400) / 10.0
                                    : m_rng.between(420, 980) / 10.0,
                              1),
                      m_rng.pick(kNurses).toString(), stay.admitted.addSecs(3600)});
        if (m_rng.percent(30) && !withAllergies.contains(patient.hospNum)) {
            withAllergies.insert(patient.hospNum);
            const int first = m_rng.below(int(kAllergyCodes.size()));
            const bool two = m_rng.percent(40) && first + 1 < int(kAllergyCodes.size());
            allergies.add({patient.hospNum, kAllergyCodes[std::size_t(first)].toString(),
                           two ? kAllergyCodes[std::size_t(first + 1)].toString() : QString(),
                           QString(), QString(), QString(),
                           m_rng.percent(30) ? QStringLiteral("LATEX") : QString()});
        }
        if (m_rng.percent(50)) {
            histories.add({patient.hospNum, stay.idNum,
                           stay.complaint.isEmpty()
                               ? QStringLiteral("Admitted for %1.").arg(stay.diagnosis.toLower())
                               : stay.complaint,
                           QStringLiteral("Warm, no lesions"), QStringLiteral("Clear breath sounds"),
                           QStringLiteral("Soft, non-tender"), QStringLiteral("1"),
                           m_rng.percent(50) ? QStringLiteral("12") : QString(),
                           m_rng.percent(50) ? QStringLiteral("4") : QString(),
                           m_rng.percent(30) ? QStringLiteral("5") : QString(),
                           m_rng.percent(30) ? QStringLiteral("1") : QString(), QString(),
                           QString()});
        }
    }

    // The price of every examination the diagnostic departments offer, at each rate letter.
    // It follows from the code, so the stream of the parts after this one is not disturbed:
    // from 250 to 2,150 pesos at the ward rate.
    TableRows &examRates = table(QStringLiteral("BUILD_FILE..tbCoExamRate"),
                                 {QStringLiteral("RevenueID"), QStringLiteral("ExamID"),
                                  QStringLiteral("RateA"), QStringLiteral("RateB"),
                                  QStringLiteral("RateC"), QStringLiteral("RateD"),
                                  QStringLiteral("RateE"), QStringLiteral("RateF"),
                                  QStringLiteral("RateG"), QStringLiteral("RateH"),
                                  QStringLiteral("RateI")});
    static const std::pair<QStringView, QStringView> kExamMasters[] = {
        {u"BUILD_FILE..tbCoLabExam", u"LB"},
        {u"BUILD_FILE..tbCoXrayExam", u"XR"},
        {u"BUILD_FILE..tbCoUltraExam", u"US"},
        {u"BUILD_FILE..tbCoDeptExam", u""}};
    QSet<QString> priced;
    for (const TableRows &t : m_tables) {
        for (const auto &[master, department] : kExamMasters) {
            if (t.table != master)
                continue;
            const bool byDepartment = department.isEmpty();
            for (const QVariantList &row : t.rows) {
                const QString revenue =
                    byDepartment ? row.at(0).toString() : department.toString();
                const QString code = row.at(byDepartment ? 1 : 0).toString();
                if (priced.contains(revenue + u'|' + code))
                    continue;
                priced.insert(revenue + u'|' + code);
                qint64 seed = 0;
                for (const QChar c : code)
                    seed = (seed * 31 + c.unicode()) % 9973;
                const qint64 rateA = 250 + seed % 20 * 100;
                QVariantList prices{revenue, code};
                for (const QChar letter : QStringView(u"ABCDEFGHI"))
                    prices << pesos(rateCentavos(rateA, letter));
                examRates.add(prices);
            }
        }
    }
}

} // namespace kestrel::hospitaldb::demo
