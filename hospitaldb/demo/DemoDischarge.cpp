// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Patients on their way out: discharge notices in every state billing leaves them (pending,
// final, processing sheet printed), patients the OR cleared and not, one with a request still
// pending, the discharge instructions of one, and a ward full but for one bed.
#include "hospitaldb/demo/DemoBuilder.h"

namespace kestrel::hospitaldb::demo {

void DemoBuilder::addDischargeData()
{
    Numbering numbers = numbering();
    QSet<QString> &occupied = numbers.occupied;
    // Every stay written so far that is still in its room, whichever step wrote it.
    for (const TableRows &t : m_tables) {
        if (t.table != u"PATIENT_DATA..tbPatient")
            continue;
        const qsizetype room = t.columns.indexOf(QStringLiteral("RoomID"));
        const qsizetype out = t.columns.indexOf(QStringLiteral("DcrDate"));
        for (const QVariantList &row : t.rows) {
            if (room >= 0 && (out < 0 || row.at(out).isNull()))
                occupied.insert(row.at(room).toString());
        }
    }
    const auto stationOf = [this](const QString &room) {
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.id == room)
                return r.station;
        }
        return QString();
    };
    const auto freeRooms = [&](const QString &station) {
        QStringList rooms;
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.station == station && !occupied.contains(r.id))
                rooms << r.id;
        }
        return rooms;
    };

    struct Leaving
    {
        QStringView lastName, firstName, middleName;
        QChar sex;
        int age;
        QStringView diagnosis;
    };
    // The first five are noticed for discharge; the others fill a ward but for one bed.
    static constexpr Leaving people[] = {
        {u"DIMAGIBA", u"LEONORA", u"CRUZ", u'F', 45, u"ACUTE CHOLECYSTITIS"},
        {u"PANGANIBAN", u"ROGELIO", u"SANTOS", u'M', 63, u"COMMUNITY-ACQUIRED PNEUMONIA"},
        {u"MARASIGAN", u"THELMA", u"ROXAS", u'F', 38, u"SYMPTOMATIC UTERINE MYOMA"},
        {u"BUENCAMINO", u"ISAGANI", u"LOPEZ", u'M', 29, u"ACUTE APPENDICITIS"},
        {u"ILUSTRE", u"CORAZON", u"MENDOZA", u'F', 57, u"DIABETIC FOOT ULCER, LEFT"},
        {u"SALVADOR", u"FERDINAND", u"AQUINO", u'M', 71, u"ACUTE MYOCARDIAL INFARCTION"},
        {u"TOLENTINO", u"MARICEL", u"BAUTISTA", u'F', 34, u"SEVERE PREECLAMPSIA"},
        {u"GATCHALIAN", u"ERNESTO", u"DE LEON", u'M', 66, u"SEPSIS, PNEUMONIA"},
        {u"VILLAROMAN", u"LOURDES", u"FAJARDO", u'F', 49, u"SUBARACHNOID HEMORRHAGE"},
        {u"CASTILLEJO", u"BENJAMIN", u"RAMOS", u'M', 58, u"POST-OP CORONARY BYPASS"},
        {u"MAGSINO", u"ANGELITA", u"PEREZ", u'F', 80, u"CHRONIC KIDNEY DISEASE STAGE 5"},
    };
    constexpr int kNoticed = 5;
    constexpr int kFillers = int(std::size(people)) - kNoticed;
    // The noticed patients lie in private rooms when some are free, else wherever a bed is.
    const auto roomForNoticed = [&] {
        QStringList free = freeRooms(QStringLiteral("4N"));
        for (const Room &r : std::as_const(m_rooms)) {
            if (free.isEmpty() && !occupied.contains(r.id))
                free << r.id;
        }
        return free.value(0);
    };
    TableRows &master = table(
        QStringLiteral("PATIENT_DATA..tbMaster"),
        {QStringLiteral("HospNum"), QStringLiteral("LastName"), QStringLiteral("FirstName"),
         QStringLiteral("MiddleName"), QStringLiteral("Sex"), QStringLiteral("BirthDate"),
         QStringLiteral("CivilStatus"), QStringLiteral("Town"), QStringLiteral("Province"),
         QStringLiteral("DateCreated")});
    TableRows &inpatients = table(
        QStringLiteral("PATIENT_DATA..tbPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("AccountNum"), QStringLiteral("RoomID"), QStringLiteral("StationID"),
         QStringLiteral("AdmittingDr"), QStringLiteral("AttendingDr1"), QStringLiteral("UserID")});
    TableRows &extension =
        table(QStringLiteral("PATIENT_DATA..tbPatient2"),
              {QStringLiteral("IDNum"), QStringLiteral("OkeyOR"), QStringLiteral("PatientClass"),
               QStringLiteral("AdmissionTypeID")});
    TableRows &history = table(QStringLiteral("PATIENT_DATA..tbPatientHistory"),
                               {QStringLiteral("IDNum"), QStringLiteral("ADMDiagnosis")});
    TableRows &notices = table(
        QStringLiteral("STATION..tbNurseDischargeNotice"),
        {QStringLiteral("IDNum"), QStringLiteral("RecordStatus"), QStringLiteral("IsFinal"),
         QStringLiteral("StationID"), QStringLiteral("NoticeDate"), QStringLiteral("OrderedDate"),
         QStringLiteral("Remarks"), QStringLiteral("UserID"), QStringLiteral("ClearDate"),
         QStringLiteral("ClearedBy"), QStringLiteral("ClearRemarks"),
         QStringLiteral("ProcessedDate")});
    TableRows &requests = table(
        QStringLiteral("STATION..tbNurseCommunicationfile"),
        {QStringLiteral("RequestNum"), QStringLiteral("IDNum"), QStringLiteral("HospNum"),
         QStringLiteral("StationID"), QStringLiteral("ExamCode"), QStringLiteral("ExamName"),
         QStringLiteral("RequestDate"), QStringLiteral("RecordStatus"),
         QStringLiteral("RevenueID")});

    const QString physician = doctorsIn(u"INTERNAL MEDICINE").value(0);
    const QString surgeon = doctorsIn(u"GENERAL SURGERY").value(0);
    // The beds first: the noticed patients', then all free beds but one of the ward with the
    // fewest free beds.
    QStringList beds;
    for (int i = 0; i < kNoticed; ++i) {
        beds << roomForNoticed();
        occupied.insert(beds.last());
    }
    QStringList fill;
    for (const QString &station : {QStringLiteral("ICU"), QStringLiteral("5N"),
                                   QStringLiteral("3N"), QStringLiteral("4N"),
                                   QStringLiteral("2N")}) {
        const QStringList free = freeRooms(station);
        if (!free.isEmpty() && free.size() <= kFillers + 1 &&
            (fill.isEmpty() || free.size() < fill.size()))
            fill = free;
    }
    beds << fill.mid(1);
    QList<Stay> noticed;
    for (int i = 0; i < int(beds.size()); ++i) {
        const Leaving &l = people[i];
        Patient p;
        p.hospNum = padded(++numbers.hospNum, 8);
        p.lastName = l.lastName.toString();
        p.firstName = l.firstName.toString();
        p.middleName = l.middleName.toString();
        p.sex = l.sex;
        p.age = l.age;
        p.birthDate = QDate(m_today.year() - l.age, 1 + i % 12, 10 + i);
        p.created = at(6 - i % 4, 7 * 60 + i * 13);
        m_patients.append(p);
        master.add({p.hospNum, p.lastName, p.firstName, p.middleName, QString(p.sex),
                    p.birthDate, i % 3 == 0 ? QStringLiteral("SINGLE") : QStringLiteral("MARRIED"),
                    QStringLiteral("SAN BARTOLOME CITY"), QStringLiteral("LAGUNA"), p.created});

        Stay s;
        s.patient = int(m_patients.size()) - 1;
        s.kind = StayKind::Inpatient;
        s.admitted = p.created.addSecs(40 * 60);
        s.idNum = padded(++numbers.inpatientNo, 7);
        s.account = p.hospNum;
        s.doctor = i < kNoticed && i % 2 == 0 ? surgeon : physician;
        s.diagnosis = l.diagnosis.toString();
        s.room = beds.at(i);
        inpatients.add({s.idNum, p.hospNum, s.admitted, s.account, s.room, stationOf(s.room),
                        s.doctor, s.doctor, QStringLiteral("ADM01")});
        extension.add({s.idNum, 1, QStringLiteral("P"), QStringLiteral("1")});
        history.add({s.idNum, s.diagnosis});
        m_currentInpatients << int(m_stays.size());
        m_stays.append(s);
        if (i < kNoticed)
            noticed << s;
    }

    // The notices: one only pending, one final that billing has not processed, and three whose
    // processing sheet billing printed (one cleared by the OR with its instructions written,
    // one not cleared yet, one with a request still pending).
    const QVariant none;
    const QString nurse = staffCode(3);
    const QString clearer = staffCode(1);
    for (int i = 0; i < int(noticed.size()); ++i) {
        const Stay &s = noticed.at(i);
        const QDateTime sent = at(0, 7 * 60 + 15 * i);
        const bool isFinal = i > 0;
        const bool processed = i >= 2;
        const bool cleared = i == 2;
        notices.add({s.idNum, isFinal ? QStringLiteral("F") : QStringLiteral("P"), isFinal ? 1 : 0,
                     QStringLiteral("OR"), sent, sent.addSecs(-1800),
                     i == 3 ? QStringLiteral("Patient's watcher will settle the bill at noon.")
                            : QString(),
                     nurse, cleared ? when(sent.addSecs(3600)) : none,
                     cleared ? clearer : QString(),
                     cleared ? QStringLiteral("Cleared; medicines given, wound dressed.")
                             : QString(),
                     processed ? when(sent.addSecs(1800)) : none});
    }
    if (noticed.size() >= kNoticed) {
        const Stay &waiting = noticed.at(4);
        requests.add({QStringLiteral("DCR-REQ-001"), waiting.idNum,
                      m_patients.at(waiting.patient).hospNum, QStringLiteral("OR"),
                      QStringLiteral("XR001"), QStringLiteral("CHEST PA"), at(0, 6 * 60),
                      QString(), QStringLiteral("XR")});

        const Stay &home = noticed.at(2);
        table(QStringLiteral("STATION..tbNurseDischargeInstructions"),
              {QStringLiteral("IDNum"), QStringLiteral("Instructions"),
               QStringLiteral("Medications"), QStringLiteral("CheckUp"),
               QStringLiteral("CheckInOn"), QStringLiteral("ActivityLevel"),
               QStringLiteral("DietInstruction"), QStringLiteral("WhatToObserve"),
               QStringLiteral("Guardian"), QStringLiteral("ReceivedBy"),
               QStringLiteral("UserID"), QStringLiteral("UserID2"), QStringLiteral("TransDate")})
            .add({home.idNum,
                  // Typed in a hurry: the spell check marks "untill".
                  QStringLiteral("Keep the wound clean and dry. No lifting of heavy objects for "
                                 "six weeks. Shower after 48 hours; no tub bathing untill the "
                                 "stitches are removed."),
                  QStringLiteral("Cefuroxime 500 mg tablet, 1 tab twice a day for 7 days\n"
                                 "Paracetamol 500 mg tablet, 1 tab every 4 hours for pain"),
                  m_today.addDays(7).toString(QStringLiteral("MM/dd/yyyy")),
                  QStringLiteral("OPD Clinic, Room 12"), QStringLiteral("Light activity"),
                  QStringLiteral("Soft diet, low fat"),
                  QStringLiteral("Fever, bleeding or discharge from the wound, severe pain"),
                  QStringLiteral("Husband"), QString(), nurse, nurse, at(0, 9 * 60)});
        table(QStringLiteral("STATION..tbNurseDischargeMedications"),
              {QStringLiteral("IDNum"), QStringLiteral("Drug"), QStringLiteral("Dose"),
               QStringLiteral("Frequency"), QStringLiteral("Duration"), QStringLiteral("TimeA"),
               QStringLiteral("TimeB"), QStringLiteral("TimeC"), QStringLiteral("Transdate"),
               QStringLiteral("UserID"), QStringLiteral("Remarks")})
            .add({home.idNum, QStringLiteral("CEFUROXIME 500 MG TAB"), QStringLiteral("1 tab"),
                  QStringLiteral("BID"), QStringLiteral("7 days"), QStringLiteral("8 AM"),
                  QStringLiteral("8 PM"), QString(), at(0, 9 * 60), nurse, QString()});
        table(QStringLiteral("STATION..tbNurseHomeCarePlan"),
              {QStringLiteral("IDNum"), QStringLiteral("PlanText"), QStringLiteral("UserID"),
               QStringLiteral("TransDate")})
            .add({home.idNum,
                  QStringLiteral("Daily wound inspection by the husband; dressing change every "
                                 "other day at the health center; walk 10 minutes thrice "
                                 "daily."),
                  nurse, at(0, 9 * 60 + 5)});
    }
}

} // namespace kestrel::hospitaldb::demo
