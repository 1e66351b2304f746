// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

// The doctors' medication orders of the first patients still in, and the orders the ward has
// transcribed into pharmacy requests: lines still waiting for the pharmacy, lines it processed
// and a line the ward revoked, under assessment numbers the hospital's series has passed.

namespace kestrel::hospitaldb::demo {

namespace {

struct TranscribedRow
{
    int stay;               ///< index into the patients still in
    QStringView assessment; ///< one per save
    QStringView item, name, dosage, frequency;
    int quantity;
    qint64 unitCentavos;
    QStringView remarks;
    QChar state; ///< ' ' pending, 'P' processed by the pharmacy, 'R' revoked
    int hoursAgo;
};

struct OrderRow
{
    int stay;
    QStringView text;
};

constexpr std::array kOrders{
    OrderRow{0, u"CEFAZOLIN 1 G IV EVERY 8 HOURS FOR 3 DOSES AFTER THE OPERATION.\n"
                u"KETOROLAC 30 MG IV EVERY 6 HOURS AS NEEDED FOR PAIN.\n"
                u"OXYTOCIN 10 IU IN 1 L LACTATED RINGER'S, RUN AT 30 DROPS A MINUTE."},
    OrderRow{0, u"MIDAZOLAM 2 MG IV ON CALL TO THE OR."},
    OrderRow{1, u"KETOROLAC 30 MG IV EVERY 6 HOURS FOR 24 HOURS, THEN AS NEEDED.\n"
                u"PLAIN LACTATED RINGER'S 1 L TO RUN FOR 8 HOURS."},
};

constexpr std::array kTranscribed{
    TranscribedRow{0, u"AS1001", u"PH1001", u"CEFAZOLIN 1 G VIAL", u"TID", u"3X A DAY", 3, 18500,
                   u"POST-OP", 'P', 30},
    TranscribedRow{0, u"AS1001", u"PH1002", u"KETOROLAC 30 MG/ML AMPULE", u"PRN", u"PRN", 4, 9500,
                   u"FOR PAIN", ' ', 30},
    TranscribedRow{0, u"AS1002", u"PH1006", u"MIDAZOLAM 5 MG/ML AMPULE", u"STAT", u"STAT", 1, 15500,
                   u"ON CALL TO THE OR", 'R', 8},
    TranscribedRow{0, u"AS1002", u"PH1007", u"OXYTOCIN 10 IU/ML AMPULE", u"OD", u"1X A DAY", 2,
                   6500, u"", ' ', 8},
    TranscribedRow{1, u"AS1003", u"PH1002", u"KETOROLAC 30 MG/ML AMPULE", u"Q6", u"EVERY 6 HRS", 4,
                   9500, u"", ' ', 3},
    TranscribedRow{1, u"AS1003", u"PH1009", u"PLAIN LACTATED RINGER'S 1 L", u"OD", u"1X A DAY", 1,
                   9500, u"", 'P', 3},
};

} // namespace

void DemoBuilder::addTranscriptionData()
{
    if (m_currentInpatients.size() < 2)
        return;
    // The series goes on after the numbers below.
    table(QStringLiteral("BILLING..tbAssessmentNum"),
          {QStringLiteral("ID"), QStringLiteral("AssessmentNum")})
        .add({1, 1004});
    TableRows &orders =
        table(QStringLiteral("STATION..tbNurseDoctorOrders"),
              {QStringLiteral("IdNum"), QStringLiteral("DoctorID"), QStringLiteral("OrderDate"),
               QStringLiteral("Orders"), QStringLiteral("UserID")});
    int hoursAgo = 36;
    for (const auto &[stay, text] : kOrders) {
        const Stay &s = m_stays.at(m_currentInpatients.at(stay));
        orders.add({s.idNum, s.doctor, when(at(0, 0).addSecs(-hoursAgo * 3600)), text.toString(),
                    staffCode(1)});
        hoursAgo -= 12;
    }
    TableRows &lines = table(QStringLiteral("STATION..tbNurseTranscription"),
                             {QStringLiteral("HospNum"),       QStringLiteral("IdNum"),
                              QStringLiteral("PatientClass"),  QStringLiteral("ItemID"),
                              QStringLiteral("Description"),   QStringLiteral("Dosage"),
                              QStringLiteral("Frequency"),     QStringLiteral("Quantity"),
                              QStringLiteral("Amount"),        QStringLiteral("Remarks"),
                              QStringLiteral("TransDate"),     QStringLiteral("RevenueID"),
                              QStringLiteral("DoctorID"),      QStringLiteral("UserID"),
                              QStringLiteral("StationID"),     QStringLiteral("SentFlag"),
                              QStringLiteral("AssessmentNum"), QStringLiteral("RoomID"),
                              QStringLiteral("RecordStatus"),  QStringLiteral("ProcessedBy"),
                              QStringLiteral("ProcessedDate"), QStringLiteral("RevokedBy"),
                              QStringLiteral("RevokedDate")});
    for (const TranscribedRow &r : kTranscribed) {
        const Stay &s = m_stays.at(m_currentInpatients.at(r.stay));
        const QDateTime sent = at(0, 0).addSecs(-r.hoursAgo * 3600);
        const QDateTime later = sent.addSecs(45 * 60);
        const bool processed = r.state == u'P', revoked = r.state == u'R';
        lines.add({m_patients.at(s.patient).hospNum,
                   s.idNum,
                   QStringLiteral("I"),
                   r.item.toString(),
                   r.name.toString(),
                   r.dosage.toString(),
                   r.frequency.toString(),
                   r.quantity,
                   pesos(r.unitCentavos * r.quantity),
                   r.remarks.toString(),
                   when(sent),
                   QStringLiteral("PH"),
                   s.doctor,
                   staffCode(1),
                   QStringLiteral("OR"),
                   QStringLiteral("Y"),
                   r.assessment.toString(),
                   s.room,
                   r.state == u' ' ? QString() : QString(r.state),
                   processed ? QStringLiteral("PHARMACY") : QString(),
                   processed ? when(later) : QVariant(),
                   revoked ? staffCode(1) : QString(),
                   revoked ? when(later) : QVariant()});
    }
}

} // namespace kestrel::hospitaldb::demo
