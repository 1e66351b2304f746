// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

namespace kestrel::hospitaldb::demo {

// What the pharmacy and central supply requests read: the antibiotic classes, the medicines
// that are high-alert or kept cold, and the requests the OR sent earlier for the patients in
// the wards (some of them STAT), with the pharmacy's medicines on each patient's medicine list,
// partly given. The pharmacy and the central supply have issued and charged those requests on
// their own slips, so their logbook lines are not the OR's and are left out here. Draws nothing
// from the random stream.
void DemoBuilder::addRequestData()
{
    TableRows &classes =
        table(QStringLiteral("INVENTORY..tbInvAntibioticClass"),
              {QStringLiteral("AntiBioticClassID"), QStringLiteral("AntiBioticClass")});
    classes.add({QStringLiteral("CEPH1"), QStringLiteral("CEPHALOSPORIN")});
    classes.add({QStringLiteral("PEN1"), QStringLiteral("PENICILLIN")});

    TableRows &sent = table(
        QStringLiteral("STATION..tbNurseCommunicationfile"),
        {QStringLiteral("RequestNum"), QStringLiteral("IDNum"), QStringLiteral("HospNum"),
         QStringLiteral("StationID"), QStringLiteral("ExamCode"), QStringLiteral("ExamName"),
         QStringLiteral("RequestDate"), QStringLiteral("RecordStatus"), QStringLiteral("Remarks"),
         QStringLiteral("ItemID"), QStringLiteral("RevenueID"), QStringLiteral("Quantity"),
         QStringLiteral("Amount"), QStringLiteral("Dosage"), QStringLiteral("Frequency"),
         QStringLiteral("StatFlag"), QStringLiteral("UserID")});
    TableRows &medicines = table(
        QStringLiteral("STATION..tbNursePatientMedicines"),
        {QStringLiteral("IDNum"), QStringLiteral("ItemID"), QStringLiteral("RequestNum"),
         QStringLiteral("Quantity"), QStringLiteral("QtyAdministered"),
         QStringLiteral("RequestDate"), QStringLiteral("RecordStatus")});

    struct Requested
    {
        QStringView department, item, name, dosage, frequency;
        qint64 centavos;
        int quantity;
        bool stat;
        QStringView remarks;
    };
    // What the OR asks for before and after an operation, in turn for each ward patient.
    static constexpr Requested kRequests[] = {
        {u"PH", u"PH1001", u"CEFAZOLIN 1 G VIAL", u"STAT", u"STAT", 18500, 1, true,
         u"30 MINUTES BEFORE INCISION"},
        {u"PH", u"PH1002", u"KETOROLAC 30 MG/ML AMPULE", u"Q6", u"EVERY 6 HRS", 9500, 4, false,
         u"FOR PAIN"},
        {u"CS", u"CS3001", u"IV CANNULA G18", u"", u"", 9500, 2, false, u""},
        {u"PH", u"PH1009", u"PLAIN LACTATED RINGER'S 1 L", u"OD", u"1X A DAY", 9500, 3, false,
         u""},
        {u"CS", u"CS3003", u"MACRODRIP IV SET", u"", u"", 7800, 1, true, u"FOR OR USE"},
        {u"PH", u"PH1006", u"MIDAZOLAM 5 MG/ML AMPULE", u"PRN", u"PRN", 15500, 2, false, u""},
    };
    qint64 numbers[2] = {0, 0}; // PH, CS
    const int patients = std::min<int>(8, int(m_currentInpatients.size()));
    int next = 0;
    for (int p = 0; p < patients; ++p) {
        const Stay &stay = m_stays.at(m_currentInpatients.at(p));
        const QString hospNum = m_patients.at(stay.patient).hospNum;
        for (int n = 0; n < 2; ++n, ++next) {
            const Requested &r = kRequests[next % std::size(kRequests)];
            const bool pharmacy = r.department == u"PH";
            const QString number = r.department.toString() + padded(++numbers[pharmacy ? 0 : 1], 8);
            const QDateTime requested = at(p % 3, 7 * 60 + p * 41 + n * 17);
            const QVariant amount = pesos(r.centavos * r.quantity);
            const QString stat = r.stat ? QStringLiteral("Y") : QStringLiteral("N");
            const QString user = pharmacy ? QStringLiteral("2902") : QStringLiteral("2903");
            sent.add({number, stay.idNum, hospNum, QStringLiteral("OR"), r.item.toString(),
                      r.name.toString(), when(requested), QString(), r.remarks.toString(),
                      r.item.toString(), r.department.toString(), double(r.quantity), amount,
                      r.dosage.toString(), r.frequency.toString(), stat, user});
            if (pharmacy)
                medicines.add({stay.idNum, r.item.toString(), number, double(r.quantity),
                               double(p % 2 == 0 ? r.quantity : r.quantity / 2),
                               when(requested), QString()});
        }
    }
    TableRows &counters = table(QStringLiteral("STATION..tbNurseRequestNumber"),
                                {QStringLiteral("RevenueID"), QStringLiteral("LastNum")});
    counters.add({QStringLiteral("PH"), numbers[0]});
    counters.add({QStringLiteral("CS"), numbers[1]});

    // Propofol and midazolam are high-alert medicines; oxytocin is kept cold.
    for (TableRows &t : m_tables) {
        if (t.table != u"INVENTORY..tbInvMaster")
            continue;
        t.columns << QStringLiteral("HighAlert") << QStringLiteral("Refrigerated");
        for (QVariantList &row : t.rows) {
            const QString item = row.at(0).toString();
            row << int(item == u"PH1003" || item == u"PH1006") << int(item == u"PH1007");
        }
    }
}

} // namespace kestrel::hospitaldb::demo
