// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

#include <QMap>
#include <QPair>

#include <algorithm>

// The operating room's board and records: the operations of the patients still in, the OR's
// year of work behind its reports, and the OR's check of the confirmed operations.

namespace kestrel::hospitaldb::demo {

namespace {

enum class Anaesthesia { General, Regional, Sedation, Local };

struct AnaesthesiaOf
{
    QStringView procedure, type;
    Anaesthesia kind;
};

// Operations done under anything but general endotracheal anaesthesia.
constexpr std::array kAnaesthesiaTypes{
    AnaesthesiaOf{u"OR1006", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1011", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1018", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1019", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1026", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1030", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1033", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1035", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1022", u"COMBINED SPINAL-EPIDURAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1027", u"BRACHIAL PLEXUS BLOCK", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1021", u"INTRAVENOUS SEDATION", Anaesthesia::Sedation},
    AnaesthesiaOf{u"OR1052", u"INTRAVENOUS SEDATION", Anaesthesia::Sedation},
    AnaesthesiaOf{u"OR1053", u"INTRAVENOUS SEDATION", Anaesthesia::Sedation},
    AnaesthesiaOf{u"OR1054", u"INTRAVENOUS SEDATION", Anaesthesia::Sedation},
    AnaesthesiaOf{u"OR1009", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1012", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1014", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1020", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1036", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1041", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1042", u"LOCAL ANESTHESIA", Anaesthesia::Local},
};

AnaesthesiaOf anaesthesiaFor(QStringView procedure)
{
    for (const AnaesthesiaOf &a : kAnaesthesiaTypes) {
        if (a.procedure == procedure)
            return a;
    }
    return {procedure, u"GENERAL ENDOTRACHEAL ANESTHESIA", Anaesthesia::General};
}

// What brings an outpatient to the OR, and what the OR does for it.
struct OutpatientProcedure
{
    QStringView complaint, procedure, diagnosis, specialization;
    int minutes;
};

constexpr std::array kOutpatientProcedures{
    OutpatientProcedure{u"FOR CIRCUMCISION", u"OR1036", u"PHIMOSIS", u"UROLOGY", 30},
    OutpatientProcedure{u"FOR EXCISION OF LIPOMA, BACK", u"OR1012", u"LIPOMA, BACK",
                        u"GENERAL SURGERY", 45},
    OutpatientProcedure{u"FOR UPPER GI ENDOSCOPY", u"OR1052", u"DYSPEPSIA, FOR EVALUATION",
                        u"GENERAL SURGERY", 30},
    OutpatientProcedure{u"FOR COLONOSCOPY", u"OR1053", u"HEMATOCHEZIA, FOR EVALUATION",
                        u"GENERAL SURGERY", 45},
    OutpatientProcedure{u"FOR PTERYGIUM EXCISION", u"OR1042", u"PTERYGIUM, RIGHT EYE",
                        u"OPHTHALMOLOGY", 40},
};

constexpr std::array<QStringView, 8> kOrRoomNames{u"OR 1", u"OR 2", u"OR 3", u"OR 4",
                                                  u"OR 5", u"CVOR", u"DR 1", u"ENDOSCOPY"};

int ageOn(const QDate &birth, const QDate &day)
{
    int years = day.year() - birth.year();
    if (day.month() < birth.month() || (day.month() == birth.month() && day.day() < birth.day()))
        --years;
    return years;
}

int hoursOf(int minutes)
{
    return std::max(1, (minutes + 59) / 60);
}

} // namespace

void DemoBuilder::addSchedules()
{
    TableRows &sched = table(QStringLiteral("SCHEDULE..tbORScheduleDetails"),
                             {QStringLiteral("TransNum"),      QStringLiteral("IDNum"),
                              QStringLiteral("HospNum"),       QStringLiteral("PatientName"),
                              QStringLiteral("PatientClass"),  QStringLiteral("Age"),
                              QStringLiteral("Sex"),           QStringLiteral("RoomID"),
                              QStringLiteral("ScheduleDate"),  QStringLiteral("StartTime"),
                              QStringLiteral("Length"),        QStringLiteral("Description"),
                              QStringLiteral("ProcedureCode"), QStringLiteral("ProcedureDesc"),
                              QStringLiteral("Category"),      QStringLiteral("DoctorID1"),
                              QStringLiteral("DoctorID2"),     QStringLiteral("RecordStatus"),
                              QStringLiteral("RequestNum"),    QStringLiteral("RequestingStation"),
                              QStringLiteral("RequestDate"),   QStringLiteral("RequestBy"),
                              QStringLiteral("ConfirmedBy"),   QStringLiteral("ConfirmedDate")});

    // Each room's day fills from 7 AM; every booking starts where the room's last one ended.
    QMap<QPair<int, int>, int> nextFree; // (days from today, room) -> minutes into the day
    qint64 transNo = 20431;
    int pending = 0;
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        if (s.surgicalCase < 0)
            continue;
        const SurgicalCase &c = surgicalCases()[std::size_t(s.surgicalCase)];
        const Patient &p = m_patients.at(s.patient);
        const Item &proc = itemByCode(c.procedure);
        // Patients admitted days ago were operated on yesterday; the rest are on today's or
        // tomorrow's list, and a few still wait for the OR to confirm the ward's request.
        const int admittedDaysAgo = int(s.admitted.date().daysTo(m_today));
        const bool request = admittedDaysAgo == 0 && pending < 3;
        const int day = admittedDaysAgo >= 2 ? -1 : admittedDaysAgo == 1 ? 0 : 1;
        int room = m_rng.between(1, 5);
        if (isHeartCase(c))
            room = 6;
        else if (c.procedure == u"OR1020" || c.procedure == u"OR1021")
            room = 7;
        else if (c.procedure == u"OR1052" || c.procedure == u"OR1054")
            room = 8;
        int &slot = nextFree[qMakePair(day, room)];
        if (slot == 0)
            slot = 7 * 60;
        const int length = c.minutes + 15 * m_rng.below(3);
        // A ward asks for tomorrow afternoon; the OR gives the room's next free time.
        const QDateTime start =
            request ? QDateTime(m_today.addDays(1), QTime(13 + pending, 0))
                    : QDateTime(m_today.addDays(day), QTime(0, 0).addSecs(slot * 60));
        if (!request)
            slot += length + 30;
        const QString sex = p.sex == u'F' ? QStringLiteral("Female") : QStringLiteral("Male");
        const QString details = QStringLiteral("Patient Name :") + patientName(p) +
                                QStringLiteral("\nGender :") + sex + QStringLiteral("\nAge :") +
                                QString::number(p.age) + QStringLiteral("\nProcedure :") +
                                proc.name + QStringLiteral("\nSurgeon:") + s.doctor +
                                QStringLiteral("\nAnesthesiologist :") + s.doctor2;
        const QDateTime requested = s.admitted.addSecs(2 * 3600);
        sched.add({padded(++transNo, 8),
                   s.idNum,
                   p.hospNum,
                   patientName(p),
                   QStringLiteral("I"),
                   p.age,
                   QString(p.sex),
                   request ? QVariant() : QVariant(room),
                   start.date(),
                   start,
                   length,
                   details,
                   proc.code,
                   proc.name,
                   c.category.toString(),
                   s.doctor,
                   s.doctor2,
                   request ? QStringLiteral("P") : QStringLiteral("C"),
                   QStringLiteral("RQ%1").arg(transNo),
                   QStringLiteral("4N"),
                   requested,
                   QStringLiteral("1401"),
                   request ? QString() : staffCode(std::size_t(m_rng.below(3))),
                   request ? QVariant() : QVariant(requested.addSecs(3600))});
        if (request)
            ++pending;
    }
}

// The OR's year of work behind its reports. Earlier surgical stays and the outpatient
// procedures of the last thirteen months are booked on the board, recorded in the OR record
// and charged to the stay under one charge slip each; yesterday's operations of the patients
// still in were booked by addSchedules() and charged by addCharges(), and only get their OR
// record here.
void DemoBuilder::addOperatingRoomHistory()
{
    DemoRandom rng(m_rng.next());

    struct Operation
    {
        int stay = 0;
        QString procedure, category, diagnosis, surgeon, assistant, anaesthesiologist, refNum;
        int room = 1;
        int minutes = 60; ///< booked on the board
        QDateTime start;
        bool booked = false; ///< already on the board and charged
    };
    QList<Operation> operations;

    auto roomFor = [&rng](QStringView procedure, bool heart) {
        if (heart)
            return 6;
        if (procedure == u"OR1020" || procedure == u"OR1021")
            return 7;
        if (procedure == u"OR1052" || procedure == u"OR1053" || procedure == u"OR1054")
            return 8;
        return rng.between(1, 5);
    };

    // Thirteen months back, so a year's reports and the month before have their cases.
    const QDate earliest = m_today.addDays(-400);
    const QStringList anaesthesiologists = doctorsIn(u"ANESTHESIOLOGY");
    for (int i = 0; i < m_stays.size(); ++i) {
        const Stay &s = m_stays.at(i);
        if (!s.discharged.isValid() || s.revoked || s.admitted.date() < earliest)
            continue;
        Operation op;
        op.stay = i;
        if (s.kind == StayKind::Inpatient) {
            if (s.surgicalCase < 0)
                continue;
            const SurgicalCase &c = surgicalCases()[std::size_t(s.surgicalCase)];
            op.procedure = c.procedure.toString();
            op.category = c.category.toString();
            op.diagnosis = s.diagnosis;
            op.surgeon = s.doctor;
            op.anaesthesiologist = s.doctor2;
            op.minutes = c.minutes + 15 * rng.below(3);
            op.room = roomFor(c.procedure, isHeartCase(c));
            // The day after admission when the stay lasted that long, else the day itself;
            // never before the patient has been in for two hours.
            QDate day = s.admitted.date().addDays(1);
            if (day >= s.discharged.date())
                day = s.admitted.date();
            op.start = QDateTime(day, QTime(rng.between(7, 14), 15 * rng.below(4)));
            op.start = std::max(op.start, s.admitted.addSecs(2 * 3600));
            if (rng.percent(40)) {
                const QStringList colleagues = doctorsIn(c.specialization);
                const QString other = rng.pick(colleagues);
                if (other != op.surgeon)
                    op.assistant = other;
            }
        } else {
            if (s.kind != StayKind::Outpatient)
                continue;
            const OutpatientProcedure *what = nullptr;
            for (const OutpatientProcedure &p : kOutpatientProcedures) {
                if (p.complaint == s.complaint)
                    what = &p;
            }
            if (!what)
                continue;
            op.procedure = what->procedure.toString();
            op.category = QStringLiteral("MINOR");
            op.diagnosis = what->diagnosis.toString();
            op.surgeon = what->specialization == u"GENERAL SURGERY"
                             ? s.doctor
                             : rng.pick(doctorsIn(what->specialization));
            if (anaesthesiaFor(what->procedure).kind == Anaesthesia::Sedation)
                op.anaesthesiologist = rng.pick(anaesthesiologists);
            op.minutes = what->minutes;
            op.room = roomFor(what->procedure, false);
            op.start = s.admitted.addSecs(45 * 60);
        }
        operations << op;
    }
    std::stable_sort(operations.begin(), operations.end(),
                     [](const Operation &a, const Operation &b) { return a.start < b.start; });

    // Yesterday's operations of the patients still in, from the board and the logbook.
    const int firstRow = int(m_tables.size());
    const TableRows *board = nullptr;
    const TableRows *logbook = nullptr;
    for (int t = 0; t < firstRow; ++t) {
        if (!board && m_tables.at(t).table == u"SCHEDULE..tbORScheduleDetails")
            board = &m_tables.at(t);
        if (!logbook && m_tables.at(t).table == u"STATION..tbNurseLogBook")
            logbook = &m_tables.at(t);
    }
    Q_ASSERT(board && logbook);
    auto column = [](const TableRows *t, QStringView name) {
        return int(t->columns.indexOf(name.toString()));
    };
    QList<Operation> yesterday;
    for (const QVariantList &row : board->rows) {
        const QDateTime start = row.at(column(board, u"StartTime")).toDateTime();
        if (row.at(column(board, u"RecordStatus")).toString() != u"C" || start.date() >= m_today)
            continue;
        Operation op;
        op.booked = true;
        const QString idNum = row.at(column(board, u"IDNum")).toString();
        for (int i = 0; i < m_stays.size(); ++i) {
            if (m_stays.at(i).idNum == idNum)
                op.stay = i;
        }
        op.procedure = row.at(column(board, u"ProcedureCode")).toString();
        op.category = row.at(column(board, u"Category")).toString();
        op.diagnosis = m_stays.at(op.stay).diagnosis;
        op.surgeon = row.at(column(board, u"DoctorID1")).toString();
        op.anaesthesiologist = row.at(column(board, u"DoctorID2")).toString();
        op.room = row.at(column(board, u"RoomID")).toInt();
        op.minutes = row.at(column(board, u"Length")).toInt();
        op.start = start;
        for (const QVariantList &line : logbook->rows) {
            if (line.at(column(logbook, u"IDNum")).toString() == idNum &&
                line.at(column(logbook, u"ItemID")).toString() == op.procedure)
                op.refNum = line.at(column(logbook, u"ReferenceNum")).toString();
        }
        yesterday << op;
    }

    // Appending a table may move the others, so they are taken by index once all exist.
    table(QStringLiteral("SCHEDULE..tbORScheduleDetails"),
          {QStringLiteral("TransNum"),      QStringLiteral("IDNum"),
           QStringLiteral("HospNum"),       QStringLiteral("PatientName"),
           QStringLiteral("PatientClass"),  QStringLiteral("Age"),
           QStringLiteral("Sex"),           QStringLiteral("RoomID"),
           QStringLiteral("ScheduleDate"),  QStringLiteral("StartTime"),
           QStringLiteral("Length"),        QStringLiteral("Description"),
           QStringLiteral("ProcedureCode"), QStringLiteral("ProcedureDesc"),
           QStringLiteral("Category"),      QStringLiteral("DoctorID1"),
           QStringLiteral("DoctorID2"),     QStringLiteral("RecordStatus"),
           QStringLiteral("RequestNum"),    QStringLiteral("RequestingStation"),
           QStringLiteral("RequestDate"),   QStringLiteral("RequestBy"),
           QStringLiteral("ConfirmedBy"),   QStringLiteral("ConfirmedDate")});
    // The OR record's columns the record window fills for every operation.
    table(QStringLiteral("STATION..tbORMasterFile"),
          QStringLiteral("IdNum HospNum RefNum UserID PatientClass SurgeonID1 SurgeonID2 "
                         "AnestheID Anesthesia SnurseID1 CnurseID1 Procedures ORNumber Category "
                         "Prophylaxis OperationDate PatientIn AnesthesiaDate AnesthesiaTime "
                         "CuttingDate OperationTime1 ClosingDate OperationTime2 AnesDoneDate "
                         "AnesthesiaEndTime OperationDateEnd PatientOut prod psod procnd psoc ot "
                         "SpecificDesc Instrument Sutures BloodLoss PostOPTO")
              .split(u' '));
    table(QStringLiteral("STATION..tbNurseLogBook"),
          {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ReferenceNum"),
           QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
           QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
           QStringLiteral("UserID"), QStringLiteral("StationID"), QStringLiteral("PatientClass"),
           QStringLiteral("RoomID"), QStringLiteral("ChargeDepartment"),
           QStringLiteral("RequestingDoctorID"), QStringLiteral("RecordStatus"),
           QStringLiteral("RevokedBy"), QStringLiteral("RevokedDate")});

    TableRows &sched = m_tables[firstRow];
    TableRows &records = m_tables[firstRow + 1];
    TableRows &charges = m_tables[firstRow + 2];

    // The earlier slips and board numbers run up to the first ones of yesterday's batches.
    Q_ASSERT(operations.size() < 1200);
    qint64 slip = 1238 - operations.size();
    qint64 transNo = 20431 - operations.size();
    const std::array<QStringView, 2> scrubNurses{u"2902", u"2909"};
    const std::array<QStringView, 2> circulatingNurses{u"2903", u"2907"};
    QMap<QPair<QDate, int>, QDateTime> roomFreeAt;
    const QList<Operation> all = operations + yesterday;
    for (Operation op : all) {
        const Stay &s = m_stays.at(op.stay);
        const Patient &p = m_patients.at(s.patient);
        const bool inpatient = s.kind == StayKind::Inpatient;
        const QString patientClass = inpatient ? QStringLiteral("I") : QStringLiteral("O");
        const Item &proc = itemByCode(op.procedure);
        const AnaesthesiaOf anaesthesia = anaesthesiaFor(op.procedure);
        const bool heart = op.room == 6;
        const bool major = op.category == u"MAJOR";

        if (!op.booked) {
            // A room takes one operation at a time: a later booking waits for the room.
            QDateTime &freeAt = roomFreeAt[qMakePair(op.start.date(), op.room)];
            if (freeAt.isValid() && op.start < freeAt)
                op.start = freeAt;
            freeAt = op.start.addSecs(60 * (op.minutes + 30));
            op.refNum = QStringLiteral("C%1O").arg(slip++);
        }

        // What really happened, phase by phase, against the booking.
        const QDateTime in = op.start.addSecs(60 * rng.between(-5, 20));
        const QDateTime anaesthesiaStart = in.addSecs(60 * rng.between(8, 20));
        const bool local = anaesthesia.kind == Anaesthesia::Local;
        const QDateTime cutting =
            anaesthesiaStart.addSecs(60 * (local ? rng.between(5, 10) : rng.between(10, 25)));
        const int operating = std::max(15, op.minutes * rng.between(70, 115) / 100);
        const QDateTime closing = cutting.addSecs(60 * operating);
        const QDateTime anaesthesiaEnd = closing.addSecs(60 * rng.between(5, 15));
        const QDateTime out = anaesthesiaEnd.addSecs(60 * rng.between(5, 15));
        const QString scrub = rng.pick(scrubNurses).toString();
        const QString circulating = rng.pick(circulatingNurses).toString();
        const QString categoryDigit = heart                       ? QStringLiteral("4")
                                      : op.procedure == u"OR1020" ? QStringLiteral("5")
                                      : major                     ? QStringLiteral("3")
                                                                  : QStringLiteral("2");
        const QString technique =
            QStringLiteral("Under %1, patient placed in proper position. Asepsis and antisepsis; "
                           "sterile drapes applied. %2 done. Hemostasis secured; sponge, needle "
                           "and instrument counts correct.")
                .arg(anaesthesia.type.toString().toLower(), proc.name);
        records.add({s.idNum,
                     p.hospNum,
                     op.refNum,
                     circulating,
                     patientClass,
                     op.surgeon,
                     op.assistant,
                     local ? QString() : op.anaesthesiologist,
                     anaesthesia.type.toString(),
                     scrub,
                     circulating,
                     op.procedure,
                     kOrRoomNames[std::size_t(op.room - 1)].toString(),
                     categoryDigit,
                     major ? QStringLiteral("CEFAZOLIN 2 G IV") : QString(),
                     in.date(),
                     in,
                     anaesthesiaStart.date(),
                     anaesthesiaStart,
                     cutting.date(),
                     cutting,
                     closing.date(),
                     closing,
                     anaesthesiaEnd.date(),
                     anaesthesiaEnd,
                     out.date(),
                     out,
                     op.diagnosis,
                     op.diagnosis,
                     QStringLiteral("CONSCIOUS, COHERENT, NOT IN DISTRESS"),
                     heart ? QStringLiteral("INTUBATED, STABLE")
                           : QStringLiteral("AWAKE, STABLE VITAL SIGNS"),
                     technique,
                     proc.name,
                     QStringLiteral("Y"),
                     QStringLiteral("Y"),
                     major ? QStringLiteral("%1 ML").arg(50 * rng.between(2, 8))
                           : QStringLiteral("MINIMAL"),
                     heart ? QStringLiteral("2") : QStringLiteral("0")});
        if (op.booked)
            continue;

        QString station = QStringLiteral("OPD");
        for (const Room &r : std::as_const(m_rooms)) {
            if (inpatient && r.id == s.room)
                station = r.station;
        }
        const QString sex = p.sex == u'F' ? QStringLiteral("Female") : QStringLiteral("Male");
        const int age = ageOn(p.birthDate, op.start.date());
        const QString details = QStringLiteral("Patient Name :") + patientName(p) +
                                QStringLiteral("\nGender :") + sex + QStringLiteral("\nAge :") +
                                QString::number(age) + QStringLiteral("\nProcedure :") + proc.name +
                                QStringLiteral("\nSurgeon:") + op.surgeon +
                                QStringLiteral("\nAnesthesiologist :") + op.anaesthesiologist;
        // The ward asks soon after admission; the clinic books its patients two days ahead.
        const QDateTime requested = inpatient ? s.admitted.addSecs(1800) : op.start.addDays(-2);
        ++transNo;
        sched.add({padded(transNo, 8),
                   s.idNum,
                   p.hospNum,
                   patientName(p),
                   patientClass,
                   age,
                   QString(p.sex),
                   op.room,
                   op.start.date(),
                   op.start,
                   op.minutes,
                   details,
                   op.procedure,
                   proc.name,
                   op.category,
                   op.surgeon,
                   op.anaesthesiologist,
                   QStringLiteral("C"),
                   QStringLiteral("RQ%1").arg(transNo),
                   station,
                   requested,
                   inpatient ? QStringLiteral("1401") : QStringLiteral("OPD01"),
                   staffCode(std::size_t(rng.below(3))),
                   requested.addSecs(1800)});

        // The charge slip of the operation, posted when the patient left the room; now and
        // then a slip was revoked after a wrong entry.
        const QChar letter = rateClassOf(s);
        const QDateTime posted = out.addSecs(60 * rng.between(10, 40));
        const bool revoked = rng.percent(4);
        const QString room = inpatient ? s.room : QString();
        auto addLine = [&](QStringView department, QStringView code, QStringView name, int qty,
                           qint64 centavos) {
            charges.add({s.idNum, p.hospNum, op.refNum, department.toString(), code.toString(),
                         name.toString(), double(qty), pesos(centavos * qty), posted, circulating,
                         QStringLiteral("OR"), patientClass, room, QStringLiteral("OR"), op.surgeon,
                         revoked ? QStringLiteral("R") : QString(),
                         revoked ? staffCode(0) : QString(),
                         revoked ? QVariant(posted.addSecs(7200)) : QVariant()});
        };
        auto item = [&](QStringView code, int qty) {
            const Item &i = itemByCode(code);
            addLine(i.department, i.code, i.name, qty, rateCentavos(i.rateA, letter));
        };
        auto medicine = [&](QStringView code, int qty) {
            const OrMedicine &m = orMedicine(code);
            addLine(u"PH", m.code, m.name, qty, m.centavos);
        };

        const int hours = hoursOf(int(in.secsTo(out) / 60));
        item(op.procedure, 1);
        if (heart) {
            item(u"OR1108", hours);
        } else if (major) {
            item(u"OR1101", 1);
            if (hours > 1)
                item(u"OR1102", hours - 1);
        } else {
            item(u"OR1103", 1);
        }
        if (!local)
            item(u"OR1104", 1);

        if (major) {
            item(u"OS2014", 1);
            item(u"OS2003", 2);
            item(u"OS2013", 2);
            item(u"OS2012", 1);
            item(u"OS2016", 3);
        } else {
            item(u"OS2015", 1);
            item(u"OS2006", 1);
            item(u"OS2016", 2);
        }
        if (op.procedure == u"OR1002" || op.procedure == u"OR1004") {
            item(u"OS2030", 3);
            item(u"OS2031", 1);
        }
        if (op.procedure == u"OR1006")
            item(u"OS2029", 1);
        if (op.procedure == u"OR1018" || op.procedure == u"OR1019")
            item(u"OS2002", 3);

        switch (anaesthesia.kind) {
        case Anaesthesia::General:
            item(u"AN4001", 1);
            if (hours > 1)
                item(u"AN4002", hours - 1);
            item(u"AN4005", 1);
            item(u"AN4007", 1);
            item(u"AN4008", 1);
            item(u"AN4009", 1);
            medicine(u"PH1003", 1);
            medicine(u"PH1008", hours);
            break;
        case Anaesthesia::Regional:
            item(op.procedure == u"OR1022" ? u"AN4004" : u"AN4003", 1);
            item(u"AN4008", 1);
            item(u"AN4009", 1);
            medicine(u"PH1004", 1);
            break;
        case Anaesthesia::Sedation:
            item(u"AN4009", 1);
            item(u"OX5003", 1);
            medicine(u"PH1006", 1);
            break;
        case Anaesthesia::Local:
            item(u"AN4009", 1);
            medicine(u"PH1005", 1);
            break;
        }
        if (!local)
            item(u"OX5001", hours);

        if (heart) {
            item(u"OE3006", 1);
            item(u"OE3010", 1);
        } else if (major) {
            item(u"OE3003", 1);
        }
        if (op.procedure == u"OR1002" || op.procedure == u"OR1004")
            item(u"OE3002", 1);
        if (op.procedure == u"OR1026" || op.procedure == u"OR1027" || op.procedure == u"OR1030") {
            item(u"OE3001", 1);
            item(u"OE3007", 1);
        }
        if (op.procedure == u"OR1041" || op.procedure == u"OR1042")
            item(u"OE3005", 1);
        if (op.room == 8)
            item(u"OE3009", 1);
        if (in.secsTo(out) >= 3 * 3600)
            item(u"OE3008", 1);

        if (major) {
            medicine(u"PH1001", 2);
            medicine(u"PH1002", 1);
            medicine(u"PH1009", 1);
        }
        if (op.procedure == u"OR1018" || op.procedure == u"OR1019")
            medicine(u"PH1007", 2);
    }
}

void DemoBuilder::addOrStationLogs(QList<QVariantList> entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const QVariantList &a, const QVariantList &b) {
                         return a.at(1).toDateTime() < b.at(1).toDateTime();
                     });
    TableRows &logs =
        table(QStringLiteral("STATION..tbStationLogs"),
              {QStringLiteral("IdNum"), QStringLiteral("TransDate"), QStringLiteral("Remarks"),
               QStringLiteral("UserID"), QStringLiteral("HostName"), QStringLiteral("StationID")});
    for (QVariantList &e : entries) {
        e << QStringLiteral("OR");
        logs.add(std::move(e));
    }
}

// The OR's check of the confirmed operations, and what its staff did to the OR records. An OR
// nurse checks a scheduled patient when he is brought in, so every operation that began
// before nine this morning is checked; the later ones of today and tomorrow's still wait. Of
// the operations done more than two weeks ago, some records were printed, some surgical
// memos too, and now and then a signatory was changed before printing.
void DemoBuilder::addOperationChecksAndRecordUpdates()
{
    DemoRandom rng(m_rng.next());
    const std::array<QStringView, 4> nurses{u"2902", u"2903", u"2907", u"2909"};
    const QDateTime checkedBefore(m_today, QTime(9, 0));
    for (TableRows &t : m_tables) {
        if (t.table != u"SCHEDULE..tbORScheduleDetails")
            continue;
        const int status = int(t.columns.indexOf(QStringLiteral("RecordStatus")));
        const int start = int(t.columns.indexOf(QStringLiteral("StartTime")));
        t.columns << QStringLiteral("ORNotified") << QStringLiteral("ORNotifiedUser")
                  << QStringLiteral("ORNotifiedDate");
        for (QVariantList &row : t.rows) {
            const QDateTime begins = row.at(start).toDateTime();
            if (row.at(status).toString() == u"C" && begins < checkedBefore)
                row << QStringLiteral("Y") << rng.pick(nurses).toString()
                    << QVariant(begins.addSecs(-60 * rng.between(10, 40)));
            else
                row << QString() << QString() << QVariant();
        }
    }

    const TableRows *records = nullptr;
    for (const TableRows &t : m_tables) {
        if (t.table == u"STATION..tbORMasterFile")
            records = &t;
    }
    Q_ASSERT(records);
    const int idNum = int(records->columns.indexOf(QStringLiteral("IdNum")));
    const int user = int(records->columns.indexOf(QStringLiteral("UserID")));
    const int out = int(records->columns.indexOf(QStringLiteral("PatientOut")));
    const QDateTime recentFrom(m_today.addDays(-14), QTime(0, 0));
    QList<QVariantList> entries;
    for (const QVariantList &record : records->rows) {
        const QDateTime left = record.at(out).toDateTime();
        if (left >= recentFrom || !rng.percent(30))
            continue;
        const QString stay = record.at(idNum).toString();
        const QString nurse = record.at(user).toString();
        const QString host = QStringLiteral("OR-PC-0%1").arg(1 + rng.below(3));
        QDateTime when = left.addSecs(60 * rng.between(30, 180));
        if (rng.percent(15)) {
            entries.append(
                {stay, when, QStringLiteral("Edit Surgeon Signatory"), staffCode(0), host});
            when = when.addSecs(60 * rng.between(5, 30));
        }
        entries.append({stay, when, QStringLiteral("PRINT CLINICAL OPERATION"), nurse, host});
        if (rng.percent(40))
            entries.append({stay, when.addSecs(60 * rng.between(2, 20)),
                            QStringLiteral("PRINT SURGICAL MEMORANDUM"), nurse, host});
    }
    addOrStationLogs(std::move(entries));
}

} // namespace kestrel::hospitaldb::demo
