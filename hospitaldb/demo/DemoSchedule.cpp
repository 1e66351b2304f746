// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR schedule around today: the kinds of patient a booking names, a fortnight of
// operations booked by the OR for patients still to be admitted (back to back in the general
// rooms, long heart operations in the CVOR, short scopes in the endoscopy suite), the wards'
// requests the OR has not answered, has confirmed or has turned down, and the OR's own
// requests that other departments revoked this morning.
#include "hospitaldb/demo/DemoBuilder.h"

#include <QMap>

namespace kestrel::hospitaldb::demo {

namespace {

const QString kScheduleTable = QStringLiteral("SCHEDULE..tbORScheduleDetails");

const QStringList kScheduleColumns{
    QStringLiteral("TransNum"),       QStringLiteral("IDNum"),
    QStringLiteral("HospNum"),        QStringLiteral("PatientName"),
    QStringLiteral("PatientClass"),   QStringLiteral("Age"),
    QStringLiteral("Sex"),            QStringLiteral("RoomID"),
    QStringLiteral("ScheduleDate"),   QStringLiteral("StartTime"),
    QStringLiteral("Length"),         QStringLiteral("Description"),
    QStringLiteral("ProcedureCode"),  QStringLiteral("ProcedureDesc"),
    QStringLiteral("Category"),       QStringLiteral("DoctorID1"),
    QStringLiteral("DoctorID2"),      QStringLiteral("RecordStatus"),
    QStringLiteral("RequestNum"),     QStringLiteral("RequestingStation"),
    QStringLiteral("RequestTimeTag"), QStringLiteral("RequestDate"),
    QStringLiteral("RequestBy"),      QStringLiteral("ConfirmedBy"),
    QStringLiteral("ConfirmedDate"),  QStringLiteral("RevokedBy"),
    QStringLiteral("RevokedDate"),    QStringLiteral("ORNotified"),
    QStringLiteral("ORNotifiedUser"), QStringLiteral("ORNotifiedDate")};

QString doctorName(const QString &id)
{
    for (const Doctor &d : allDoctors()) {
        if (d.id == id)
            return d.lastName + QStringLiteral(", ") + d.firstName + u' ' + d.middleName;
    }
    return {};
}

enum class Suite { General, Heart, Delivery, Scope };

Suite suiteOf(const SurgicalCase &c)
{
    if (isHeartCase(c))
        return Suite::Heart;
    if (c.procedure == u"OR1020" || c.procedure == u"OR1021")
        return Suite::Delivery;
    if (c.procedure == u"OR1052" || c.procedure == u"OR1054")
        return Suite::Scope;
    return Suite::General;
}

} // namespace

void DemoBuilder::addScheduleBoard()
{
    DemoRandom rng(m_rng.next());

    const std::array<std::pair<QStringView, int>, 7> kinds{
        {{u"CHARITY", 1}, {u"HMO", 1}, {u"PAY", 1}, {u"PHILHEALTH", 1}, {u"SENIOR CITIZEN", 1},
         {u"SERVICE", 1}, {u"PRIVATE (OLD RATES)", 0}}};
    TableRows &classes = table(QStringLiteral("BUILD_FILE..tbcoPatientClass"),
                               {QStringLiteral("Classification"), QStringLiteral("Status")});
    QStringList inUse;
    for (const auto &[name, status] : kinds) {
        classes.add({name.toString(), status});
        if (status)
            inUse << name.toString();
    }

    // Where each room is free on each day after what the board already holds, the highest
    // schedule number, and the stays that already have an operation.
    QMap<QPair<QDate, int>, QDateTime> freeFrom;
    qint64 transNo = 0;
    QSet<QString> booked;
    for (const TableRows &t : m_tables) {
        if (t.table != kScheduleTable)
            continue;
        const int trans = int(t.columns.indexOf(QStringLiteral("TransNum")));
        const int room = int(t.columns.indexOf(QStringLiteral("RoomID")));
        const int start = int(t.columns.indexOf(QStringLiteral("StartTime")));
        const int length = int(t.columns.indexOf(QStringLiteral("Length")));
        const int idNum = int(t.columns.indexOf(QStringLiteral("IDNum")));
        for (const QVariantList &row : t.rows) {
            transNo = std::max(transNo, row.at(trans).toString().toLongLong());
            booked.insert(row.at(idNum).toString());
            if (row.at(room).isNull())
                continue;
            const QDateTime from = row.at(start).toDateTime();
            const QDateTime end = from.addSecs(row.at(length).toLongLong() * 60 + 30 * 60);
            QDateTime &free = freeFrom[qMakePair(from.date(), row.at(room).toInt())];
            free = std::max(free, end);
        }
    }

    TableRows &sched = table(kScheduleTable, kScheduleColumns);
    const QStringList anaesthesiologists = doctorsIn(u"ANESTHESIOLOGY");
    const std::span<const SurgicalCase> cases = surgicalCases();
    QMap<Suite, QList<const SurgicalCase *>> bySuite;
    for (const SurgicalCase &c : cases)
        bySuite[suiteOf(c)] << &c;
    // An operation of the suite that suits the patient's sex, when the suite has one.
    auto caseFor = [&](Suite suite, QChar sex) -> const SurgicalCase & {
        const QList<const SurgicalCase *> &list = bySuite[suite].isEmpty()
                                                      ? bySuite[Suite::General]
                                                      : bySuite[suite];
        const SurgicalCase *c = list.at(rng.below(int(list.size())));
        for (int tries = 0; tries < 20 && c->sex != u' ' && c->sex != sex; ++tries)
            c = list.at(rng.below(int(list.size())));
        return *c;
    };
    auto adult = [&]() -> const Patient & {
        for (;;) {
            const Patient &p = m_patients.at(rng.below(int(m_patients.size())));
            if (p.age >= 18)
                return p;
        }
    };
    auto nextTrans = [&] { return padded(++transNo, 8); };
    auto details = [&](const QString &name, const QString &procedure, const QString &surgeon,
                       const QString &anaesthesiologist, const QString &patientClass) -> QString {
        return QStringLiteral("Patient Name :") + name + QStringLiteral("\nProcedure :") +
               procedure + QStringLiteral("\nSurgeon:") + doctorName(surgeon) +
               QStringLiteral("\nAnesthesiologist :") + doctorName(anaesthesiologist) +
               QStringLiteral("\nPatient Class :") + patientClass + u'\n';
    };

    // The OR's own bookings: a fortnight around today. The general rooms are left alone the
    // next two days, which the wards' requests below ask for.
    const QDateTime closing(m_today, QTime(18, 0));
    for (int day = -7; day <= 7; ++day) {
        const QDate date = m_today.addDays(day);
        struct Plan
        {
            int room;
            Suite suite;
            int count;
        };
        QList<Plan> plans{{1, Suite::General, 2 + rng.below(2)}, {8, Suite::Scope, 2}};
        if ((day + 7) % 3 == 0)
            plans << Plan{6, Suite::Heart, 1};
        if (rng.percent(60))
            plans << Plan{7, Suite::Delivery, 1};
        if (day < 1 || day > 2)
            plans << Plan{2 + rng.below(4), Suite::General, 1 + rng.below(2)};
        for (const Plan &plan : std::as_const(plans)) {
            QDateTime &free = freeFrom[qMakePair(date, plan.room)];
            free = std::max(free, QDateTime(date, QTime(7, 0)));
            for (int n = 0; n < plan.count; ++n) {
                const Patient &p = adult();
                const SurgicalCase &c = caseFor(plan.suite, p.sex);
                const Item &proc = itemByCode(c.procedure);
                // Heart operations take the whole morning and more.
                const int minutes = plan.suite == Suite::Heart ? 360 : c.minutes + 15 * rng.below(3);
                const QDateTime start = free;
                if (start.addSecs(minutes * 60).time() > closing.time() ||
                    start.addSecs(minutes * 60).date() != date)
                    break;
                // Back to back in the first room, a turnover of half an hour elsewhere.
                free = start.addSecs((minutes + (plan.room == 1 ? 0 : 30)) * 60);
                const QString surgeon = rng.pick(doctorsIn(c.specialization));
                const QString anaesthesiologist = rng.pick(anaesthesiologists);
                const QString patientClass = rng.pick(inUse);
                const QDateTime asked = start.addDays(-2).addSecs(-3 * 3600);
                sched.add({nextTrans(), QString(), p.hospNum, patientName(p), patientClass,
                           p.age, QString(p.sex), plan.room, QDateTime(date, QTime(0, 0)), start,
                           minutes,
                           details(patientName(p), proc.name, surgeon, anaesthesiologist,
                                   patientClass),
                           proc.code, proc.name, c.category.toString(), surgeon,
                           anaesthesiologist, QStringLiteral("C"), QString(),
                           QStringLiteral("OR"), QString(), asked, staffCode(1), staffCode(1),
                           asked, QString(), QVariant(), QString(), QString(), QVariant()});
            }
        }
    }

    // The wards' requests for patients still in who have no operation yet: three waiting
    // (one with its time "to follow"), two the OR confirmed and already checked, two it
    // turned down.
    QList<int> candidates;
    for (int index : std::as_const(m_currentInpatients)) {
        if (!booked.contains(m_stays.at(index).idNum) && m_stays.at(index).kind == StayKind::Inpatient)
            candidates << index;
    }
    const int requests = std::min<int>(7, int(candidates.size()));
    for (int n = 0; n < requests; ++n) {
        const Stay &s = m_stays.at(candidates.at(n));
        const Patient &p = m_patients.at(s.patient);
        QString station = QStringLiteral("2N");
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.id == s.room)
                station = r.station;
        }
        const SurgicalCase &c = caseFor(Suite::General, p.sex);
        const Item &proc = itemByCode(c.procedure);
        const QString surgeon = rng.pick(doctorsIn(c.specialization));
        const QString anaesthesiologist = rng.pick(anaesthesiologists);
        const QDateTime asked = at(0, 6 * 60 + 20 * n);
        const bool waiting = n < 3;
        const bool confirmed = n == 3 || n == 4;
        const bool toFollow = n == 2;
        QVariant room;
        QDateTime start(m_today.addDays(2 + n % 2), QTime(toFollow ? 0 : 9 + n, 0));
        if (confirmed) {
            // Confirmed into OR 1 on the third day, after the OR's own bookings.
            const QDate date = m_today.addDays(3);
            QDateTime &free = freeFrom[qMakePair(date, 1)];
            free = std::max(free, QDateTime(date, QTime(7, 0)));
            start = free;
            free = start.addSecs((c.minutes + 30) * 60);
            room = 1;
        }
        const QString requestNum = QStringLiteral("RQ%1").arg(990201 + n);
        sched.add({nextTrans(), s.idNum, p.hospNum, patientName(p), QStringLiteral("I"), p.age,
                   QString(p.sex), room, QDateTime(start.date(), QTime(0, 0)), start, c.minutes,
                   QString(QStringLiteral("Patient Name :") + patientName(p) +
                           QStringLiteral("\nProcedure :") + proc.name),
                   proc.code, proc.name, c.category.toString(), surgeon, anaesthesiologist,
                   waiting ? QStringLiteral("P") : confirmed ? QStringLiteral("C") : QStringLiteral("R"),
                   requestNum, station, toFollow ? QStringLiteral("TO FOLLOW") : QString(), asked,
                   staffCode(9), confirmed ? staffCode(0) : QString(),
                   confirmed ? QVariant(asked.addSecs(3600)) : QVariant(),
                   waiting || confirmed ? QString() : staffCode(0),
                   waiting || confirmed ? QVariant() : QVariant(asked.addSecs(5400)),
                   confirmed ? QStringLiteral("Y") : QString(),
                   confirmed ? staffCode(2) : QString(),
                   confirmed ? QVariant(asked.addSecs(7200)) : QVariant()});
    }

    // The OR's requests that the laboratory and imaging revoked since last night; the first
    // one was acknowledged already.
    TableRows &revoked = table(
        QStringLiteral("STATION..tbNurseCommunicationfile"),
        {QStringLiteral("RequestNum"), QStringLiteral("IDNum"), QStringLiteral("HospNum"),
         QStringLiteral("StationID"), QStringLiteral("ExamCode"), QStringLiteral("ExamName"),
         QStringLiteral("RequestDate"), QStringLiteral("RecordStatus"), QStringLiteral("RevokedBy"),
         QStringLiteral("RevokedDate"), QStringLiteral("Remarks"), QStringLiteral("RevAcknow_Date"),
         QStringLiteral("RevAcknow_UserID")});
    static constexpr QStringView exams[][3] = {
        {u"L1001", u"COMPLETE BLOOD COUNT", u"Specimen clotted; please send a new one."},
        {u"L1012", u"PROTIME", u"Duplicate request."},
        {u"X2003", u"CHEST PA", u"Patient already had one this morning."},
        {u"L1030", u"BLOOD TYPING", u"Wrong patient label."}};
    const int revokedCount = std::min<int>(4, int(m_currentInpatients.size()));
    for (int n = 0; n < revokedCount; ++n) {
        const Stay &s = m_stays.at(m_currentInpatients.at(m_currentInpatients.size() - 1 - n));
        const QDateTime when = at(0, 60 + 110 * n);
        revoked.add({QStringLiteral("RQ%1").arg(990301 + n), s.idNum,
                     m_patients.at(s.patient).hospNum, QStringLiteral("OR"), exams[n][0].toString(),
                     exams[n][1].toString(), when.addSecs(-3 * 3600), QStringLiteral("R"),
                     exams[n][0].startsWith(u'X') ? QStringLiteral("RAD-03") : QStringLiteral("LAB-07"),
                     when, exams[n][2].toString(), n == 0 ? QVariant(when.addSecs(1800)) : QVariant(),
                     n == 0 ? staffCode(1) : QString()});
    }
}

} // namespace kestrel::hospitaldb::demo
