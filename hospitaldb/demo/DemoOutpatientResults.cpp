// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Outpatient OR visits of this morning still awaiting their result entry: an ER laceration,
// an excision whose patient the ER asked the admitting office to admit today, a colonoscopy
// with an examination still pending, an ER visit half entered, and a patient under droplet
// precaution; and the chief complaint codes of the procedure list's section "AA".
#include "hospitaldb/demo/DemoBuilder.h"

namespace kestrel::hospitaldb::demo {

void DemoBuilder::addOutpatientResults()
{
    struct Complaint
    {
        QStringView code, name;
    };
    static constexpr Complaint complaints[] = {
        {u"AA001", u"ABDOMINAL PAIN"},   {u"AA002", u"FEVER"},
        {u"AA003", u"BLEEDING"},         {u"AA004", u"DIFFICULTY OF BREATHING"},
        {u"AA005", u"WOUND/LACERATION"}, {u"AA006", u"MASS/LUMP"},
        {u"AA007", u"VOMITING"},         {u"AA008", u"CHEST PAIN"},
    };
    TableRows &items = table(QStringLiteral("BUILD_FILE..tbCoOtherRevenue"),
                             {QStringLiteral("OtherRevenueID"), QStringLiteral("OtherRevenue"),
                              QStringLiteral("OtherSectionID")});
    for (const Complaint &c : complaints)
        items.add({c.code.toString(), c.name.toString(), QStringLiteral("AA")});

    struct Visit
    {
        QStringView lastName, firstName, middleName;
        QChar sex;
        int age;
        bool er;
        QStringView complaint;
        QStringView precaution;
    };
    static constexpr Visit visits[] = {
        {u"AGUINALDO", u"RAMON", u"TIONGSON", u'M', 34, true, u"LACERATED WOUND, RIGHT FOREARM",
         u""},
        {u"BERNARDO", u"CRISTINA", u"VALDEZ", u'F', 52, false, u"FOR EXCISION OF LIPOMA, BACK",
         u""},
        {u"CATACUTAN", u"JOSEFINA", u"IBARRA", u'F', 61, false, u"FOR COLONOSCOPY", u""},
        {u"DELOS REYES", u"ARTURO", u"MANALO", u'M', 45, true, u"ABDOMINAL PAIN, VOMITING", u""},
        {u"ESGUERRA", u"MILAGROS", u"CORPUZ", u'F', 29, true, u"HIGH GRADE FEVER, COUGH", u"3"},
    };
    Numbering numbers = numbering();
    TableRows &master =
        table(QStringLiteral("PATIENT_DATA..tbMaster"),
              {QStringLiteral("HospNum"), QStringLiteral("LastName"), QStringLiteral("FirstName"),
               QStringLiteral("MiddleName"), QStringLiteral("Sex"), QStringLiteral("BirthDate"),
               QStringLiteral("CivilStatus"), QStringLiteral("Town"), QStringLiteral("Province"),
               QStringLiteral("DateCreated")});
    TableRows &outpatients =
        table(QStringLiteral("PATIENT_DATA..tbOutPatient"),
              {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
               QStringLiteral("ERNum"), QStringLiteral("AccountNum"), QStringLiteral("PatientType"),
               QStringLiteral("RateType"), QStringLiteral("PrecautionID"),
               QStringLiteral("DoctorID1"), QStringLiteral("UserID")});
    TableRows &history =
        table(QStringLiteral("PATIENT_DATA..tbOutpatientHistory"),
              {QStringLiteral("IDNum"), QStringLiteral("ChiefComplaints"),
               QStringLiteral("ChiefComplaintID1"), QStringLiteral("BriefHistory")});
    TableRows &er =
        table(QStringLiteral("PATIENT_DATA..tbERMaster"),
              {QStringLiteral("IDNum"), QStringLiteral("ERNum"), QStringLiteral("HospNum"),
               QStringLiteral("ERClassification"), QStringLiteral("ERClassID1")});
    const QString surgeon = doctorsIn(u"GENERAL SURGERY").value(0);
    QList<Stay> made;
    for (int i = 0; i < int(std::size(visits)); ++i) {
        const Visit &v = visits[i];
        Patient p;
        p.hospNum = padded(++numbers.hospNum, 8);
        p.lastName = v.lastName.toString();
        p.firstName = v.firstName.toString();
        p.middleName = v.middleName.toString();
        p.sex = v.sex;
        p.age = v.age;
        p.birthDate = QDate(m_today.year() - v.age, 2 + i, 3 + 4 * i);
        p.created = at(0, 5 * 60 + 20 * i);
        m_patients.append(p);
        master.add({p.hospNum, p.lastName, p.firstName, p.middleName, QString(p.sex), p.birthDate,
                    QStringLiteral("MARRIED"), QStringLiteral("SAN BARTOLOME CITY"),
                    QStringLiteral("LAGUNA"), p.created});

        Stay s;
        s.patient = int(m_patients.size()) - 1;
        s.kind = v.er ? StayKind::Emergency : StayKind::Outpatient;
        s.admitted = p.created.addSecs(15 * 60);
        s.idNum = padded(++numbers.outpatientNo, 7) + u'B';
        if (v.er)
            s.erNum = QStringLiteral("ER-") + padded(++numbers.erNo, 6);
        s.account = p.hospNum;
        s.doctor = surgeon;
        s.precaution = v.precaution.toString();
        s.complaint = v.complaint.toString();
        outpatients.add({s.idNum, p.hospNum, s.admitted,
                         s.erNum.isEmpty() ? QVariant() : QVariant(s.erNum), s.account,
                         QStringLiteral("P"), QStringLiteral("A"),
                         s.precaution.isEmpty() ? QVariant() : QVariant(s.precaution), s.doctor,
                         QStringLiteral("ADM02")});
        // The visit half entered has its complaint coded and its classification chosen.
        const bool begun = i == 3;
        history.add({s.idNum, s.complaint, begun ? QStringLiteral("AA001") : QString(),
                     begun ? QStringLiteral("Two days of crampy epigastric pain.") : QString()});
        if (v.er)
            er.add({s.idNum, s.erNum, p.hospNum, begun ? QStringLiteral("Sent Home") : QString(),
                    begun ? QStringLiteral("9") : QString()});
        m_stays.append(s);
        made << s;
    }

    // The ER asked this morning to admit the excision patient; the colonoscopy patient waits
    // for a histopathology result.
    table(QStringLiteral("PATIENT_DATA..tbER_Admitting_Communication"),
          {QStringLiteral("HospNum"), QStringLiteral("OPDIDNum"), QStringLiteral("RecordStatus"),
           QStringLiteral("RequestDate"), QStringLiteral("UserID")})
        .add({m_patients.at(made.at(1).patient).hospNum, made.at(1).idNum, QString(), at(0, 7 * 60),
              QStringLiteral("ER01")});
    table(QStringLiteral("STATION..tbNurseCommunicationfile"),
          {QStringLiteral("RequestNum"), QStringLiteral("IDNum"), QStringLiteral("HospNum"),
           QStringLiteral("StationID"), QStringLiteral("ExamCode"), QStringLiteral("ExamName"),
           QStringLiteral("RequestDate"), QStringLiteral("RecordStatus"),
           QStringLiteral("RevenueID")})
        .add({QStringLiteral("OPR-REQ-001"), made.at(2).idNum,
              m_patients.at(made.at(2).patient).hospNum, QStringLiteral("OR"),
              QStringLiteral("HP001"), QStringLiteral("HISTOPATHOLOGY, COLON BIOPSY"),
              at(0, 7 * 60 + 30), QString(), QStringLiteral("LB")});
}

} // namespace kestrel::hospitaldb::demo
