// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

// Cash assessments: walk-ins of today (one pending, one paid at the cashier, one revoked), a
// cash outpatient's paid and pending assessments, and the clinical departments' examinations
// of an admitted patient with their remarks and specimen; and the laboratory's specimens.

namespace kestrel::hospitaldb::demo {

namespace {

struct AssessedLine
{
    QStringView department;
    QStringView item;
    QStringView description;
    int quantity;
    qint64 unitCentavos;
    QStringView remarks;
    QStringView specimen;
};

struct AssessmentRow
{
    QStringView number;
    QStringView kind;
    QStringView walkInName; ///< empty: the stay's patient
    QStringView status;
    int minutesIntoDay;
    std::array<AssessedLine, 2> lines; ///< a line without a department is none
};

constexpr std::array kAssessments{
    AssessmentRow{u"C900001O", u"WALKIN", u"BAUTISTA, LEONORA", u"PENDING", 8 * 60 + 12,
                  {AssessedLine{u"OE", u"OE3003", u"ELECTROSURGICAL UNIT USE", 1, 150000, u"", u""},
                   AssessedLine{u"OS", u"OS2003", u"SUTURE, POLYGLACTIN 1", 2, 48000, u"", u""}}},
    AssessmentRow{u"C900002O", u"WALKIN", u"QUIMPO, ARNEL", u"PAID", 9 * 60 + 40,
                  {AssessedLine{u"OE", u"OE3003", u"ELECTROSURGICAL UNIT USE", 1, 150000, u"", u""},
                   AssessedLine{}}},
    AssessmentRow{u"C900003O", u"WALKIN", u"SORIANO, MA. LOURDES", u"REVOKED", 10 * 60 + 5,
                  {AssessedLine{u"OS", u"OS2003", u"SUTURE, POLYGLACTIN 1", 1, 48000, u"", u""},
                   AssessedLine{}}},
    AssessmentRow{u"OR900001", u"CASH", u"", u"PAID", 7 * 60 + 55,
                  {AssessedLine{u"OE", u"OE3003", u"ELECTROSURGICAL UNIT USE", 1, 150000, u"", u""},
                   AssessedLine{u"OS", u"OS2003", u"SUTURE, POLYGLACTIN 1", 3, 48000, u"", u""}}},
    AssessmentRow{u"OR900002", u"CASH", u"", u"PENDING", 11 * 60 + 30,
                  {AssessedLine{u"OS", u"OS2003", u"SUTURE, POLYGLACTIN 1", 1, 48000, u"", u""},
                   AssessedLine{}}},
    AssessmentRow{u"OR900003", u"CLINICAL", u"", u"PENDING", 13 * 60 + 15,
                  {AssessedLine{u"LB", u"LB101", u"BLOOD CULTURE AND SENSITIVITY", 2, 85000,
                                u"FEBRILE POST-OP DAY 2, DRAW BEFORE NEXT ANTIBIOTIC DOSE",
                                u"BLD"},
                   AssessedLine{u"XR", u"XR001", u"CHEST PA", 1, 45000, u"RULE OUT ATELECTASIS",
                                u""}}},
};

} // namespace

void DemoBuilder::addAssessments()
{
    TableRows &specimens = table(QStringLiteral("BUILD_FILE..tbCoLabSpecimen"),
                                 {QStringLiteral("SpecimenID"), QStringLiteral("Description")});
    for (const auto &[code, name] :
         {std::pair{u"BLD", u"WHOLE BLOOD"}, {u"SER", u"SERUM"}, {u"URN", u"URINE"},
          {u"TIS", u"TISSUE"}, {u"FLD", u"BODY FLUID"}})
        specimens.add({QString::fromUtf16(code), QString::fromUtf16(name)});
    TableRows &examSpecimens =
        table(QStringLiteral("BUILD_FILE..tbCoLabExamSpecimen"),
              {QStringLiteral("ExamID"), QStringLiteral("SpecimenID")});
    for (const auto &[exam, code] : {std::pair{u"LB101", u"BLD"}, {u"LB101", u"FLD"},
                                     {u"LB103", u"TIS"}})
        examSpecimens.add({QString::fromUtf16(exam), QString::fromUtf16(code)});

    // The cash patient is the first outpatient visit, the clinical one the first admitted
    // patient still in.
    int outpatient = -1;
    for (int i = 0; i < m_stays.size() && outpatient < 0; ++i) {
        if (m_stays.at(i).kind == StayKind::Outpatient && !m_stays.at(i).revoked)
            outpatient = i;
    }
    const int inpatient = m_currentInpatients.isEmpty() ? -1 : m_currentInpatients.first();

    TableRows &headers = table(
        QStringLiteral("STATION..tbORAssessment"),
        {QStringLiteral("AssessNum"), QStringLiteral("Kind"), QStringLiteral("IDNum"),
         QStringLiteral("HospNum"), QStringLiteral("PatientName"), QStringLiteral("StationID"),
         QStringLiteral("UserID"), QStringLiteral("TransDate"), QStringLiteral("Status"),
         QStringLiteral("RevokedBy"), QStringLiteral("RevokedDate"),
         QStringLiteral("CashierDate")});
    TableRows &lines = table(
        QStringLiteral("BILLING..tbCashAssessment"),
        {QStringLiteral("RefNum"), QStringLiteral("HospNum"), QStringLiteral("IDNum"),
         QStringLiteral("PatientName"), QStringLiteral("RevenueID"), QStringLiteral("ItemID"),
         QStringLiteral("Description"), QStringLiteral("Quantity"), QStringLiteral("UnitPrice"),
         QStringLiteral("Amount"), QStringLiteral("TransDate"), QStringLiteral("UserID"),
         QStringLiteral("StationID"), QStringLiteral("RecordStatus"), QStringLiteral("Remarks"),
         QStringLiteral("SpecimenID")});
    const QString nurse = QStringLiteral("2903");
    for (const AssessmentRow &a : kAssessments) {
        QString idNum, hospNum, name = a.walkInName.toString();
        if (name.isEmpty()) {
            const int stay = a.kind == u"CLINICAL" ? inpatient : outpatient;
            if (stay < 0)
                continue;
            const Stay &s = m_stays.at(stay);
            const Patient &p = m_patients.at(s.patient);
            idNum = s.idNum;
            hospNum = p.hospNum;
            name = p.lastName + QStringLiteral(", ") + p.firstName;
        }
        const QDateTime made = at(0, a.minutesIntoDay);
        const bool revoked = a.status == u"REVOKED";
        const bool paid = a.status == u"PAID";
        headers.add({a.number.toString(), a.kind.toString(), idNum, hospNum, name,
                     QStringLiteral("OR"), nurse, when(made), a.status.toString(),
                     revoked ? QStringLiteral("2901") : QString(),
                     revoked ? when(made.addSecs(25 * 60)) : QVariant(),
                     paid ? when(made.addSecs(40 * 60)) : QVariant()});
        for (const AssessedLine &l : a.lines) {
            if (l.department.isEmpty())
                continue;
            lines.add({a.number.toString(), hospNum, idNum, name, l.department.toString(),
                       l.item.toString(), l.description.toString(), l.quantity,
                       Money::fromMinor(l.unitCentavos).toVariant(),
                       Money::fromMinor(l.unitCentavos * l.quantity).toVariant(), when(made),
                       nurse, QStringLiteral("OR"), revoked ? QStringLiteral("R") : QString(),
                       l.remarks.toString(), l.specimen.toString()});
        }
    }
}

} // namespace kestrel::hospitaldb::demo
