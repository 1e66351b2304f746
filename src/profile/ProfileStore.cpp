// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/ProfileStore.h"

#include "core/db/Database.h"

namespace kestrel {

namespace {

QString str(const char *name)
{
    return QString::fromLatin1(name);
}

const QString kDayFormat = QStringLiteral("MM/dd/yyyy");
const QString kTimeFormat = QStringLiteral("MM/dd/yyyy hh:mm:ss AP");

QString personName(const Row &r, QStringView last, QStringView first, QStringView middle)
{
    const QString l = r.trimmed(last);
    if (l.isEmpty())
        return {};
    QString name = l + QStringLiteral(", ") + r.trimmed(first);
    if (!r.trimmed(middle).isEmpty())
        name += u' ' + r.trimmed(middle);
    return name;
}

int yearsBetween(const QDate &birth, const QDate &day)
{
    if (!birth.isValid() || !day.isValid())
        return -1;
    int years = day.year() - birth.year();
    if (day.month() < birth.month() || (day.month() == birth.month() && day.day() < birth.day()))
        --years;
    return years;
}

// The old values of a reading as the station log keeps them, joined by ";".
QString oldValues(const VitalSignRecord &r)
{
    return QStringList{r.bloodPressure, r.temperature, r.pulseRate, r.respiratoryRate, r.o2Sat,
                       r.protocol, r.takenAt.toString(kTimeFormat)}
        .join(u';');
}

} // namespace

QString VitalSignReading::bloodPressure() const
{
    if (systolic.trimmed().isEmpty() && diastolic.trimmed().isEmpty())
        return {};
    return systolic.trimmed() + u'/' + diastolic.trimmed();
}

std::pair<QString, QString> VitalSignReading::splitBloodPressure(const QString &bp)
{
    const qsizetype slash = bp.indexOf(u'/');
    if (slash < 0)
        return {bp.trimmed(), QString()};
    return {bp.left(slash).trimmed(), bp.mid(slash + 1).trimmed()};
}

Result<ProfileHeader> ProfileStore::header(const QString &idNum, const QDate &today) const
{
    ProfileHeader h;
    h.IdNum = idNum.trimmed();
    h.outpatient = h.IdNum.endsWith(u'B', Qt::CaseInsensitive);
    const Binds id{{str("id"), h.IdNum}};
    // Admissions and visits keep their doctors, account and diagnosis in different tables.
    const QStringView sql = h.outpatient
        ? QStringView(u"select s.HospNum, s.AdmDate, s.DcrDate, s.AccountNum, s.PHICCode, "
                      u"'' as RoomID, '' as DietID, '' as AdmissionType, "
                      u"s.DoctorID1 as Dr1, s.DoctorID2 as Dr2, '' as Dr3, "
                      u"h.ChiefComplaints as Diagnosis, m.LastName, m.FirstName, m.MiddleName, "
                      u"m.Sex, m.BirthDate, m.BloodType "
                      u"from PATIENT_DATA..tbOutPatient s "
                      u"left join PATIENT_DATA..tbMaster m on m.HospNum = s.HospNum "
                      u"left join PATIENT_DATA..tbOutpatientHistory h on h.IDNum = s.IDNum "
                      u"where s.IDNum = :id")
        : QStringView(u"select s.HospNum, s.AdmDate, s.DcrDate, s.AccountNum, p2.PHICCode, "
                      u"s.RoomID, p2.DietID, t.AdmissionType, "
                      u"s.AttendingDr1 as Dr1, s.AttendingDr2 as Dr2, s.AttendingDr3 as Dr3, "
                      u"h.ADMDiagnosis as Diagnosis, m.LastName, m.FirstName, m.MiddleName, "
                      u"m.Sex, m.BirthDate, m.BloodType "
                      u"from PATIENT_DATA..tbPatient s "
                      u"left join PATIENT_DATA..tbMaster m on m.HospNum = s.HospNum "
                      u"left join PATIENT_DATA..tbPatient2 p2 on p2.IDNum = s.IDNum "
                      u"left join PATIENT_DATA..tbAdmissionType t "
                      u"on t.AdmissionTypeID = p2.AdmissionTypeID "
                      u"left join PATIENT_DATA..tbPatientHistory h on h.IDNum = s.IDNum "
                      u"where s.IDNum = :id");
    auto stay = m_db.selectOne(sql, id);
    if (!stay)
        return tl::unexpected(stay.error());
    if (!*stay)
        return h;
    const Row &r = **stay;
    h.HospNum = r.trimmed(u"HospNum");
    h.PatientName = personName(r, u"LastName", u"FirstName", u"MiddleName");
    h.Sex = r.trimmed(u"Sex");
    const QDate born = r.date(u"BirthDate");
    h.BirthDate = born.toString(kDayFormat);
    const int age = yearsBetween(born, today);
    h.Age = age >= 0 ? QString::number(age) : QString();
    h.BloodType = r.trimmed(u"BloodType");
    h.Room = r.trimmed(u"RoomID");
    h.DateAdmitted = r.dateTime(u"AdmDate").toString(kTimeFormat);
    const QDateTime left = r.dateTime(u"DcrDate");
    h.DateDischarged = left.toString(kTimeFormat);
    h.Status = left.isValid() ? QStringLiteral("DISCHARGED")
                              : (h.outpatient ? QStringLiteral("OUT-PATIENT")
                                              : QStringLiteral("ADMITTED"));
    h.Diagnosis = r.trimmed(u"Diagnosis");
    h.Diet = r.trimmed(u"DietID");
    h.AdmissionType = r.trimmed(u"AdmissionType");

    QString *doctors[] = {&h.Doctor1, &h.Doctor2, &h.Doctor3};
    const QStringView columns[] = {u"Dr1", u"Dr2", u"Dr3"};
    for (int i = 0; i < 3; ++i) {
        const QString code = r.trimmed(columns[i]);
        if (code.isEmpty())
            continue;
        auto doctor = m_db.selectOne(u"select LastName, FirstName, MiddleName "
                                     u"from BUILD_FILE..tbCoDoctor where DoctorID = :code",
                                     {{str("code"), code}});
        if (!doctor)
            return tl::unexpected(doctor.error());
        *doctors[i] = *doctor ? QStringLiteral("DR. ") +
                                    personName(**doctor, u"LastName", u"FirstName", u"MiddleName")
                              : code;
    }

    const QString account = r.trimmed(u"AccountNum");
    if (account.isEmpty()) {
        h.PatientAccount = QStringLiteral("PERSONAL");
    } else {
        auto company = m_db.scalar(
            u"select Company from BUILD_FILE..tbCoCompany where AccountNum = :account",
            {{str("account"), account}});
        if (!company)
            return tl::unexpected(company.error());
        h.PatientAccount = company->toString().trimmed().isEmpty() ? account
                                                                   : company->toString().trimmed();
    }
    const QString phic = r.trimmed(u"PHICCode");
    if (!phic.isEmpty()) {
        auto type = m_db.scalar(
            u"select PHICDescription from MEDICARE..tbAdmPHICTable where PHICCode = :code",
            {{str("code"), phic}});
        if (!type)
            return tl::unexpected(type.error());
        h.PhicType = type->toString().trimmed();
    }
    auto measured = m_db.selectOne(
        u"select Height, Weight from STATION..tbNurseHeightWeight where IDNum = :id", id);
    if (!measured)
        return tl::unexpected(measured.error());
    if (*measured) {
        h.Height = (*measured)->trimmed(u"Height");
        h.Weight = (*measured)->trimmed(u"Weight");
    }
    return h;
}

Result<QList<VitalSignRecord>> ProfileStore::vitalSigns(const QString &idNum) const
{
    auto rows = m_db.select(u"select TransNum, TRANSDATE, BP, TEMPERATURE, RESPRATE, PULSERATE, "
                            u"O2Sat, NInitial, ProcItemID, Protocol, Remarks, Remarks2, "
                            u"ScheduleTime from STATION..tbNurseVitalSigns where IDNUM = :id "
                            u"order by TRANSDATE desc, TransNum desc",
                            {{str("id"), idNum.trimmed()}});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<VitalSignRecord> list;
    list.reserve(rows->count());
    for (const Row &r : *rows) {
        list.append({r.integer(u"TransNum"), r.dateTime(u"TRANSDATE"), r.trimmed(u"BP"),
                     r.trimmed(u"TEMPERATURE"), r.trimmed(u"RESPRATE"), r.trimmed(u"PULSERATE"),
                     r.trimmed(u"O2Sat"), r.trimmed(u"NInitial"), r.trimmed(u"ProcItemID"),
                     r.trimmed(u"Protocol"), r.trimmed(u"Remarks"), r.trimmed(u"Remarks2"),
                     r.dateTime(u"ScheduleTime")});
    }
    return list;
}

Result<void> ProfileStore::addVitalSign(const QString &idNum, const QDateTime &at,
                                        const VitalSignReading &v, const QString &encoder) const
{
    Transaction tx = m_db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    const QString bp = v.bloodPressure();
    auto added = m_db.call(u"STATION..Nurse_UpdateVitalSigns",
                           {idNum, at, bp, v.temperature.trimmed(), v.pulseRate.trimmed(),
                            v.respiratoryRate.trimmed(), encoder, v.o2Sat.trimmed(), v.protocol,
                            v.itemId, QStringLiteral("DONE"), QString()});
    if (!added)
        return tl::unexpected(added.error());
    auto marked = m_db.call(u"STATION..sp_Update_MarkerForMonitor",
                            {idNum, bp, v.temperature.trimmed(), v.pulseRate.trimmed(),
                             v.respiratoryRate.trimmed(), encoder, v.protocol, v.itemId,
                             QStringLiteral("DONE")});
    if (!marked)
        return tl::unexpected(marked.error());
    return tx.commit();
}

Result<void> ProfileStore::updateVitalSign(const QString &idNum, const VitalSignRecord &old,
                                           const QDateTime &at, const VitalSignReading &v,
                                           const QString &encoder,
                                           const QString &stationId) const
{
    Transaction tx = m_db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto updated = m_db.exec(
        u"UPDATE STATION..tbNurseVitalSigns SET TRANSDATE = :at, BP = :bp, TEMPERATURE = :temp, "
        u"PULSERATE = :pulse, RESPRATE = :resp, NInitial = :user, O2Sat = :o2, "
        u"Protocol = :protocol, ProcItemID = :item WHERE TransNum = :trans AND IDNUM = :id",
        {{str("at"), at},
         {str("bp"), v.bloodPressure()},
         {str("temp"), v.temperature.trimmed()},
         {str("pulse"), v.pulseRate.trimmed()},
         {str("resp"), v.respiratoryRate.trimmed()},
         {str("user"), encoder},
         {str("o2"), v.o2Sat.trimmed()},
         {str("protocol"), v.protocol},
         {str("item"), v.itemId},
         {str("trans"), old.transNum},
         {str("id"), idNum}});
    if (!updated)
        return tl::unexpected(updated.error());
    if (auto logged = log(idNum, QStringLiteral("UPDATE VITAL SIGNS: ") + oldValues(old), encoder,
                          stationId);
        !logged)
        return logged;
    return tx.commit();
}

Result<bool> ProfileStore::isVitalSignAuthor(qint64 transNum, const QString &idNum,
                                             const QString &employee) const
{
    auto row = m_db.selectOne(u"SELECT 1 AS Found FROM STATION..TBNURSEVITALSIGNS "
                              u"WHERE TRANSNUM = :trans and IDNUM = :id and NInitial = :user",
                              {{str("trans"), transNum}, {str("id"), idNum}, {str("user"), employee}});
    if (!row)
        return tl::unexpected(row.error());
    return row->has_value();
}

Result<void> ProfileStore::deleteVitalSign(const QString &idNum, const VitalSignRecord &old,
                                           const QString &employee,
                                           const QString &stationId) const
{
    Transaction tx = m_db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto gone = m_db.exec(u"DELETE FROM STATION..TBNURSEVITALSIGNS WHERE TransNum = :trans",
                          {{str("trans"), old.transNum}});
    if (!gone)
        return tl::unexpected(gone.error());
    if (auto logged = log(idNum, QStringLiteral("DELETE VITAL SIGNS: ") + oldValues(old), employee,
                          stationId);
        !logged)
        return logged;
    return tx.commit();
}

QString ProfileStore::employeeName(const QString &code) const
{
    auto row = m_db.selectOne(u"select LastName, FirstName, MiddleName "
                              u"from PASSWORD..tbPasswordMaster where EmployeeID = :code",
                              {{str("code"), code}});
    if (!row || !*row)
        return code;
    const QString name = personName(**row, u"LastName", u"FirstName", u"MiddleName");
    return name.isEmpty() ? code : name;
}

Result<RowSet> ProfileStore::notes(const QString &idNum) const
{
    return m_db.call(u"STATION..Nurse_GetNotes", {idNum});
}

Result<RowSet> ProfileStore::note(qint64 transNum) const
{
    return m_db.select(u"Select Transdate, Dayshift, Notes from STATION..tbNurseNotes "
                       u"where TransNum = :trans",
                       {{str("trans"), transNum}});
}

Result<void> ProfileStore::addNote(const QString &idNum, const QDateTime &at,
                                   const QString &text, const QString &shift,
                                   const QString &employee) const
{
    Transaction tx = m_db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto saved = m_db.call(u"STATION..Nurse_SaveNursingNotes",
                           {idNum, at, text, shift, employee, QString()});
    if (!saved)
        return tl::unexpected(saved.error());
    return tx.commit();
}

Result<bool> ProfileStore::isNoteOwner(qint64 transNum, const QString &employee) const
{
    auto row = m_db.selectOne(u"Select 1 AS Found from STATION..tbNurseNotes "
                              u"Where TransNum = :trans and UserID = :user",
                              {{str("trans"), transNum}, {str("user"), employee}});
    if (!row)
        return tl::unexpected(row.error());
    return row->has_value();
}

Result<void> ProfileStore::updateNote(qint64 transNum, const QString &text,
                                      const QString &employee) const
{
    Transaction tx = m_db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto saved = m_db.call(u"STATION..sp_Nurse_Update_NurseNotes_New",
                           {QString::number(transNum), text, employee});
    if (!saved)
        return tl::unexpected(saved.error());
    return tx.commit();
}

Result<void> ProfileStore::deleteNote(const QString &idNum, qint64 transNum,
                                      const QString &logText, const QString &employee,
                                      const QString &stationId) const
{
    Transaction tx = m_db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto gone = m_db.exec(u"DELETE FROM STATION..tbNurseNotes WHERE TransNum = :trans",
                          {{str("trans"), transNum}});
    if (!gone)
        return tl::unexpected(gone.error());
    if (auto logged = log(idNum, QStringLiteral("DELETED NURSE NOTES: ") + logText, employee,
                          stationId);
        !logged)
        return logged;
    return tx.commit();
}

Result<QStringList> ProfileStore::activeShifts() const
{
    auto rows = m_db.select(u"SELECT distinct Shift FROM STATION..tbNurseShifts "
                            u"WHERE Status = '1' order by Shift");
    if (!rows)
        return tl::unexpected(rows.error());
    QStringList shifts;
    for (const Row &r : *rows)
        shifts << r.trimmed(u"Shift");
    return shifts;
}

Result<void> ProfileStore::saveHeightWeight(const QString &idNum, const QString &height,
                                            const QString &weight, const QString &employee,
                                            const QString &stationId) const
{
    Transaction tx = m_db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto old = m_db.selectOne(
        u"select Height, Weight from STATION..tbNurseHeightWeight where IDNum = :id",
        {{str("id"), idNum}});
    if (!old)
        return tl::unexpected(old.error());
    const QString oldHeight = *old ? (*old)->trimmed(u"Height") : QString();
    const QString oldWeight = *old ? (*old)->trimmed(u"Weight") : QString();
    auto saved = m_db.call(u"STATION..sp_Nurse_Save_Patient_HTWT",
                           {idNum, height.trimmed(), weight.trimmed(), employee});
    if (!saved)
        return tl::unexpected(saved.error());
    const QString remarks = QStringLiteral("CHANGE HEIGHT AND WEIGHT OLDH:%1 OLDW:%2 NEWH:%3 NEWW:%4")
                                .arg(oldHeight, oldWeight, height.trimmed(), weight.trimmed());
    if (auto logged = log(idNum, remarks, employee, stationId); !logged)
        return logged;
    return tx.commit();
}

Result<void> ProfileStore::log(const QString &idNum, const QString &remarks,
                               const QString &employee, const QString &stationId) const
{
    return done(m_db.exec(u"INSERT INTO STATION..tbStationLogs (Idnum, Transdate, Remarks, "
                          u"UserID, Hostname, StationID) VALUES (:id, getdate(), :remarks, "
                          u":user, host_name(), :station)",
                          {{str("id"), idNum},
                           {str("remarks"), remarks},
                           {str("user"), employee},
                           {str("station"), stationId}}));
}

} // namespace kestrel
