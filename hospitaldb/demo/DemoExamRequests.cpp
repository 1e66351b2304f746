// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The exam requests of the demo hospital: the laboratory's pre-operative profile, an exam
// always done STAT, one always routine, one the laboratory does not take without its specimen,
// and the requests of the first ward patient still in — one waiting for the laboratory, one
// the laboratory processed this morning, one another station revoked, and an X-ray done
// yesterday. The rows follow from fixed values, so the random stream is left alone.
#include "hospitaldb/demo/DemoBuilder.h"

namespace kestrel::hospitaldb::demo {

namespace {

struct LabExam
{
    QStringView code, name, section, stat;
    bool specimenRequired;
    qint64 rateA; // pesos at the ward rate
};

constexpr LabExam kLabExams[] = {
    {u"LB200", u"PRE-OPERATIVE PROFILE", u"PROF", u"", false, 1850},
    {u"LB201", u"ARTERIAL BLOOD GAS, STAT", u"CHEM", u"Y", false, 1450},
    {u"LB202", u"LIPID PANEL", u"CHEM", u"N", false, 950},
    {u"LB203", u"SURGICAL PATHOLOGY, TISSUE", u"HIS", u"", true, 2400},
};

// The examinations the pre-operative profile is made of.
constexpr QStringView kProfileExams[] = {u"LB001", u"LB002", u"LB003", u"LB004"};

struct Earlier
{
    QStringView number, department, code, name, station, status, section;
    int daysAgo, requestedAt, doneAt; // minutes into the day
    QStringView by;
};

constexpr Earlier kEarlier[] = {
    {u"LBD00001", u"LB", u"LB004", u"CREATININE", u"OR", u"", u"CHEM", 0, 7 * 60 + 10, 0, u""},
    {u"LBD00002", u"LB", u"LB005", u"URINALYSIS", u"3W", u"X", u"CM", 0, 6 * 60, 8 * 60 + 30,
     u"MT-0412"},
    {u"LBD00003", u"LB", u"LB002", u"PROTHROMBIN TIME", u"3W", u"R", u"HEM", 0, 6 * 60 + 5,
     7 * 60 + 45, u"2905"},
    {u"XRD00001", u"XR", u"XR001", u"CHEST PA", u"OR", u"X", u"XR", 1, 9 * 60, 11 * 60,
     u"RT-0107"},
};

} // namespace

void DemoBuilder::addExamRequestData()
{
    TableRows &labs = table(QStringLiteral("BUILD_FILE..tbCoLabExam"),
                            {QStringLiteral("LabExamID"), QStringLiteral("LabExam"),
                             QStringLiteral("LabSectionID"), QStringLiteral("Stat"),
                             QStringLiteral("SpecimenRequired")});
    TableRows &rates = table(QStringLiteral("BUILD_FILE..tbCoExamRate"),
                             {QStringLiteral("RevenueID"), QStringLiteral("ExamID"),
                              QStringLiteral("RateA"), QStringLiteral("RateB"),
                              QStringLiteral("RateC"), QStringLiteral("RateD"),
                              QStringLiteral("RateE"), QStringLiteral("RateF"),
                              QStringLiteral("RateG"), QStringLiteral("RateH"),
                              QStringLiteral("RateI")});
    for (const LabExam &e : kLabExams) {
        labs.add({e.code.toString(), e.name.toString(), e.section.toString(),
                  e.stat.isEmpty() ? QVariant() : QVariant(e.stat.toString()),
                  int(e.specimenRequired)});
        QVariantList prices{QStringLiteral("LB"), e.code.toString()};
        // The private rooms pay a tenth more per letter after the ward's.
        for (int letter = 0; letter < 9; ++letter)
            prices << pesos(e.rateA + e.rateA * letter / 10);
        rates.add(prices);
    }
    TableRows &profile = table(QStringLiteral("BUILD_FILE..tbCoLabProfile"),
                               {QStringLiteral("ProfileID"), QStringLiteral("ExamID")});
    for (QStringView exam : kProfileExams)
        profile.add({QStringLiteral("LB200"), exam.toString()});
    TableRows &specimens = table(QStringLiteral("BUILD_FILE..tbCoLabExamSpecimen"),
                                 {QStringLiteral("ExamID"), QStringLiteral("SpecimenID")});
    specimens.add({QStringLiteral("LB201"), QStringLiteral("BLD")});
    specimens.add({QStringLiteral("LB203"), QStringLiteral("TIS")});
    specimens.add({QStringLiteral("LB203"), QStringLiteral("FLD")});

    if (m_currentInpatients.isEmpty())
        return;
    const Stay &stay = m_stays.at(m_currentInpatients.first());
    TableRows &requests = table(
        QStringLiteral("STATION..tbNurseCommunicationfile"),
        {QStringLiteral("RequestNum"), QStringLiteral("IDNum"), QStringLiteral("HospNum"),
         QStringLiteral("StationID"), QStringLiteral("ExamCode"), QStringLiteral("ExamName"),
         QStringLiteral("RequestDate"), QStringLiteral("RecordStatus"), QStringLiteral("ItemID"),
         QStringLiteral("RevenueID"), QStringLiteral("Quantity"), QStringLiteral("StatFlag"),
         QStringLiteral("UserID"), QStringLiteral("Section"), QStringLiteral("RevokedBy"),
         QStringLiteral("RevokedDate"), QStringLiteral("ProcessBy"),
         QStringLiteral("ProcessDate")});
    for (const Earlier &e : kEarlier) {
        const bool revoked = e.status == u"R";
        const bool processed = e.status == u"X";
        const QDateTime done = at(e.daysAgo, e.doneAt);
        requests.add({e.number.toString(), stay.idNum, m_patients.at(stay.patient).hospNum,
                      e.station.toString(), e.code.toString(), e.name.toString(),
                      when(at(e.daysAgo, e.requestedAt)), e.status.toString(), e.code.toString(),
                      e.department.toString(), 1.0, QStringLiteral("N"),
                      e.station == u"OR" ? QStringLiteral("2902") : QStringLiteral("2905"),
                      e.section.toString(), revoked ? e.by.toString() : QString(),
                      revoked ? when(done) : QVariant(), processed ? e.by.toString() : QString(),
                      processed ? when(done) : QVariant()});
    }
}

} // namespace kestrel::hospitaldb::demo
