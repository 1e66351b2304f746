// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of what the nurse asks for from the patient profile: the price of a diagnostic
// examination for the stay, an operation requested from the OR on the profile's calendar, and
// a request revoked from the profile's list of requests.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/components/PatientRecords.h"
#include "core/db/Database.h"

#include <QLocale>

namespace kestrel::hospitaldb {

namespace {

QString str(const char *name)
{
    return QString::fromLatin1(name);
}

bool isVisit(const QString &idNum)
{
    return idNum.endsWith(u'B', Qt::CaseInsensitive);
}

// The rate letter the stay is priced at: "F" for the special classes 1 and 9 of an admission,
// else the class of the room it is in; "A" for a visit or a room without a class.
Result<QString> rateLetter(Database &db, const QString &idNum)
{
    if (isVisit(idNum))
        return QStringLiteral("A");
    auto row = db.selectOne(u"select coalesce(S.isSpecial, 0) as isSpecial, R.RoomClassID "
                            u"from PATIENT_DATA..tbPatient P "
                            u"left join PATIENT_DATA..tbPatient2 S on S.IDNum = P.IDNum "
                            u"left join BUILD_FILE..tbCoRoom R on R.RoomID = P.RoomID "
                            u"where P.IDNum = :id",
                            {{str("id"), idNum}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return QStringLiteral("A");
    const int special = (*row)->integer(u"isSpecial");
    if (special == 1 || special == 9)
        return QStringLiteral("F");
    const QString letter = (*row)->trimmed(u"RoomClassID").toUpper();
    return letter.size() == 1 && letter.at(0) >= u'A' && letter.at(0) <= u'I' ? letter
                                                                              : QStringLiteral("A");
}

// STATION..Nurse_GetExamAmount exam, IdNum: what the examination costs the stay at its rate
// letter (column Amount); no row for an examination without a price.
Result<RowSet> examAmount(Database &db, const ProcedureArgs &a)
{
    auto letter = rateLetter(db, a.text(1));
    if (!letter)
        return tl::unexpected(letter.error());
    auto rates = db.selectOne(u"select RateA, RateB, RateC, RateD, RateE, RateF, RateG, RateH, "
                              u"RateI from BUILD_FILE..tbCoExamRate where ExamID = :exam "
                              u"order by RevenueID limit 1",
                              {{str("exam"), a.text(0)}});
    if (!rates)
        return tl::unexpected(rates.error());
    RowSet out({QStringLiteral("Amount")});
    if (*rates)
        out.append(QVariantList{(*rates)->money(QString(u"Rate" + *letter)).toVariant()});
    return out;
}

// SCHEDULE..sp_Get_TransactionDate: the server's time (column Tdate).
Result<RowSet> transactionDate(Database &db, const ProcedureArgs &)
{
    return db.select(u"select getdate() as Tdate");
}

// SCHEDULE..sp_Save_RequestORSchedule, seventeen values: IdNum, start ("MM/dd/yyyy hh:mm:ss
// AM/PM"), room id, minutes, procedure code, procedure, surgeon, anaesthesiologist,
// co-surgeons 1 to 3, remarks, station, time tag, request kind, a value kept for the older
// callers, user. A ward's request for an operation, waiting for the OR to confirm it ('P');
// the profile passes NULL for what it does not ask. Answers the TransNum.
Result<RowSet> saveRequestSchedule(Database &db, const ProcedureArgs &a)
{
    const QString idNum = a.text(0);
    const QDateTime start =
        QLocale::c().toDateTime(a.text(1), QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    if (!start.isValid())
        return failure(QStringLiteral("The starting time '%1' is not a date.").arg(a.text(1)));
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto patient = db.selectOne(
        isVisit(idNum) ? u"select M.HospNum, M.LastName, M.FirstName, M.MiddleName, M.Sex, "
                         u"M.BirthDate from PATIENT_DATA..tbOutPatient S join "
                         u"PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum where S.IDNum = :id"
                       : u"select M.HospNum, M.LastName, M.FirstName, M.MiddleName, M.Sex, "
                         u"M.BirthDate from PATIENT_DATA..tbPatient S join "
                         u"PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum where S.IDNum = :id",
        {{str("id"), idNum}});
    if (!patient)
        return tl::unexpected(patient.error());
    if (!*patient)
        return failure(QStringLiteral("There is no stay %1.").arg(idNum));
    const Row &p = **patient;
    auto transNum = drawScheduleTransNum(db);
    if (!transNum)
        return tl::unexpected(transNum.error());
    const QDate born = p.dateTime(u"BirthDate").date();
    const QVariant room = a.text(2).isEmpty() ? QVariant() : QVariant(a.text(2).toInt());
    auto saved = db.exec(
        u"insert into SCHEDULE..tbORScheduleDetails (TransNum, IDNum, HospNum, PatientName, "
        u"PatientClass, Age, Sex, RoomID, ScheduleDate, StartTime, Length, ProcedureCode, "
        u"ProcedureDesc, DoctorID1, DoctorID2, AsstSurgeon1, AsstSurgeon2, AsstSurgeon3, "
        u"Remarks, RecordStatus, RequestNum, RequestingStation, RequestTimeTag, RequestKind, "
        u"RequestDate, RequestBy) values (:trans, :id, :hosp, :name, :class, :age, :sex, :room, "
        u":day, :start, :length, :proc, :procdesc, :surgeon, :anes, :co1, :co2, :co3, :remarks, "
        u"'P', :trans, :station, :tag, :kind, getdate(), :user)",
        {{str("trans"), *transNum},
         {str("id"), idNum},
         {str("hosp"), p.trimmed(u"HospNum")},
         {str("name"),
          completeName(p.trimmed(u"LastName"), p.trimmed(u"FirstName"), p.trimmed(u"MiddleName"))},
         {str("class"), isVisit(idNum) ? QStringLiteral("O") : QStringLiteral("I")},
         {str("age"), born.isValid() ? QVariant(int(born.daysTo(start.date()) / 365)) : QVariant()},
         {str("sex"), p.trimmed(u"Sex")},
         {str("room"), room},
         {str("day"), QDateTime(start.date(), QTime(0, 0))},
         {str("start"), start},
         {str("length"), a.text(3).isEmpty() ? QVariant() : QVariant(a.text(3).toInt())},
         {str("proc"), a.text(4)},
         {str("procdesc"), a.text(5)},
         {str("surgeon"), a.text(6)},
         {str("anes"), a.text(7)},
         {str("co1"), a.text(8)},
         {str("co2"), a.text(9)},
         {str("co3"), a.text(10)},
         {str("remarks"), a.text(11)},
         {str("station"), a.text(12)},
         {str("tag"), a.text(13)},
         {str("kind"), a.text(14).toInt()},
         {str("user"), a.text(16)}});
    if (!saved)
        return tl::unexpected(saved.error());
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    RowSet out({QStringLiteral("TransNum")});
    out.append(QVariantList{*transNum});
    return out;
}

// STATION..sp_Nurse_Revoke_Request code, department, IdNum, user: revokes the stay's request
// shown under `code` in the profile's request list, while it is still pending: a request sent
// to a department that no department took yet, or an examination whose result is not
// released. Everything is decided and written in one transaction; the conditions are part of
// the updates, so of two workstations revoking at once, or a revoke racing the department,
// exactly one wins. Answers column Revoked: the lines revoked, 0 when the request was no longer
// pending (processed, released or revoked meanwhile) and nothing was changed.
Result<RowSet> revokeRequest(Database &db, const ProcedureArgs &a)
{
    const QString code = a.text(0).trimmed();
    const QString department = a.text(1).trimmed().toUpper();
    const Binds key{{str("code"), code},
                    {str("dept"), department},
                    {str("id"), a.text(2).trimmed()},
                    {str("user"), a.text(3).trimmed()}};
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    int revoked = 0;
    // A request sent from the station, not yet taken by any department. The station revoked
    // it itself, so it is acknowledged at once and the revoked-request alert stays quiet.
    auto sent = db.exec(
        u"update STATION..tbNurseCommunicationfile set RecordStatus = 'R', RevokedBy = :user, "
        u"RevokedDate = getdate(), RevAcknow_Date = getdate(), RevAcknow_UserID = :user "
        u"where RequestNum = :code and IDNum = :id and RecordStatus = '' "
        u"and not exists (select 1 from LABORATORY..tbLabResult L where L.RequestNum = :code) "
        u"and not exists (select 1 from STATION..tbNurseDiagResult D "
        u"where D.RequestNum = :code)",
        key);
    if (!sent)
        return tl::unexpected(sent.error());
    revoked += *sent;
    if (revoked == 0 && department == u"LB") {
        // The laboratory's tests of the request; revoked only while none is released.
        auto lab = db.exec(u"update LABORATORY..tbLabResult set RecordStatus = 'R' "
                           u"where RequestNum = :code and IdNum = :id and RecordStatus <> 'R' "
                           u"and ResultDate is null",
                           key);
        if (!lab)
            return tl::unexpected(lab.error());
        revoked += *lab;
        if (revoked > 0) {
            auto released = db.scalar(u"select count(*) from LABORATORY..tbLabResult "
                                      u"where RequestNum = :code and IdNum = :id "
                                      u"and ResultDate is not null",
                                      key);
            if (!released)
                return tl::unexpected(released.error());
            if (released->toLongLong() > 0)
                revoked = 0; // part of it is out: the laboratory has to cancel the rest
        }
    } else if (revoked == 0) {
        auto exam = db.exec(u"update STATION..tbNurseDiagResult set RecordStatus = 'R' "
                            u"where TransNum = :code and IdNum = :id and DepartmentID = :dept "
                            u"and RecordStatus <> 'R' and ResultDate is null",
                            key);
        if (!exam)
            return tl::unexpected(exam.error());
        revoked += *exam;
    }
    RowSet out({QStringLiteral("Revoked")});
    out.append(QVariantList{revoked});
    if (revoked == 0) {
        tx.rollback();
        return out;
    }
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return out;
}

} // namespace

void registerProfileRequestProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..Nurse_GetExamAmount"), 2, examAmount);
    registry.add(QStringLiteral("SCHEDULE..sp_Get_TransactionDate"), 0, transactionDate);
    registry.add(QStringLiteral("SCHEDULE..sp_Save_RequestORSchedule"), 17, saveRequestSchedule);
    registry.add(QStringLiteral("STATION..sp_Nurse_Revoke_Request"), 4, revokeRequest);
}

} // namespace kestrel::hospitaldb
