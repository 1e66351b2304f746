// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the result viewers: the examinations of each diagnostic department, the
// laboratory results of a stay laid out by date, the results with panic values, and the
// verified results a station has still to print.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

#include <QDate>
#include <QSet>

namespace kestrel::hospitaldb {

namespace {

// The active examinations of one department, by name.
Result<RowSet> departmentExams(Database &db, const QString &department)
{
    return db.select(u"select ExamID as Code, ExamName as Exam from BUILD_FILE..tbCoDeptExam "
                     u"where DepartmentID = :department and Status = 'A' "
                     u"order by ExamName, ExamID",
                     {{QStringLiteral("department"), department}});
}

ProcedureHandler examsOf(const char *department)
{
    return [department = QString::fromLatin1(department)](Database &db, const ProcedureArgs &) {
        return departmentExams(db, department);
    };
}

// The released laboratory results of a stay.
const QString kReleased =
    QStringLiteral("from LABORATORY..tbLabResult where IdNum = :id and RecordStatus <> 'R' "
                   "and ResultDate is not null");

// STATION..sp_Nurse_GetPatient_LabResult_MaxCol IdNum: how many days the stay's laboratory
// results were released on (maxcol) and the first of them (StartDate, null without results).
Result<RowSet> labResultMaxCol(Database &db, const ProcedureArgs &args)
{
    auto rows = db.select(QString(u"select distinct ResultDate " + kReleased),
                          {{QStringLiteral("id"), args.text(0)}});
    if (!rows)
        return rows;
    QSet<QDate> days;
    QDate first;
    for (const Row &r : *rows) {
        const QDate day = r.dateTime(u"ResultDate").date();
        days.insert(day);
        if (!first.isValid() || day < first)
            first = day;
    }
    RowSet answer({QStringLiteral("maxcol"), QStringLiteral("StartDate")});
    answer.append(QVariantList{int(days.size()), first.isValid() ? QVariant(first) : QVariant()});
    return answer;
}

// STATION..sp_Nurse_GetPatient_LabResult_NormalValues IdNum: every laboratory test of the stay
// that was not revoked, section by section, with its normal values, release date and result
// (a test still being worked on has neither).
Result<RowSet> labResultNormalValues(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select SectionID as Section, TestName as Exam, NormalRange as NormalValue, "
                     u"ResultDate as Resultdate, Result as result, TestName as LabExamID "
                     u"from LABORATORY..tbLabResult where IdNum = :id and RecordStatus <> 'R' "
                     u"order by SectionID, TestName, ResultDate",
                     {{QStringLiteral("id"), args.text(0)}});
}

// Station..GetLBAbnormalResult StationID: the released results of the station's patients that
// crossed a panic value, newest first; every station's when StationID is empty.
Result<RowSet> abnormalResults(Database &db, const ProcedureArgs &args)
{
    const QString station = args.text(0);
    QString sql = QStringLiteral(
        "select R.HospNum, R.IdNum, M.LastName, M.FirstName, M.MiddleName, R.RequestNum, "
        "R.TestName, R.PanicValue, R.Result, R.Unit, R.ResultDate "
        "from LABORATORY..tbLabResult R "
        "left join PATIENT_DATA..tbMaster M on M.HospNum = R.HospNum "
        "where R.PanicValue <> '' and R.ResultDate is not null and R.RecordStatus <> 'R' ");
    Binds binds;
    if (!station.isEmpty()) {
        sql += u"and R.StationID = :station ";
        binds.insert(QStringLiteral("station"), station);
    }
    sql += u"order by R.ResultDate desc, R.RequestNum, R.TestName";
    return db.select(sql, binds);
}

// STATION..sp_Nurse_Get_LabAutoPrint StationID: the station's laboratory requests whose every
// test is released and not yet printed, one row per request, oldest release first.
Result<RowSet> labAutoPrint(Database &db, const ProcedureArgs &args)
{
    return db.select(
        u"select R.RequestNum, R.IdNum, R.HospNum, M.LastName, M.FirstName, M.MiddleName, "
        u"min(R.SectionID) as SectionID, min(R.TestName) as ExamName, count(*) as Tests, "
        u"max(R.ResultDate) as ResultDate from LABORATORY..tbLabResult R "
        u"left join PATIENT_DATA..tbMaster M on M.HospNum = R.HospNum "
        u"where R.StationID = :station and R.RecordStatus <> 'R' and R.Printed = 0 "
        u"group by R.RequestNum, R.IdNum, R.HospNum, M.LastName, M.FirstName, M.MiddleName "
        u"having count(R.ResultDate) = count(*) "
        u"order by max(R.ResultDate), R.RequestNum",
        {{QStringLiteral("station"), args.text(0)}});
}

// The imaging department of each kind the verified-results window lists: 1 X-ray, 2 CT scan,
// 3 ultrasound.
QString imagingDepartment(const QString &kind)
{
    if (kind == u"2")
        return QStringLiteral("CT");
    if (kind == u"3")
        return QStringLiteral("US");
    return QStringLiteral("XR");
}

// STATION..sp_Nurse_Get_RadiologyAutoPrint StationID, kind: the station's imaging results of
// the kind that the reader signed and the station has not printed yet, oldest first.
Result<RowSet> radiologyAutoPrint(Database &db, const ProcedureArgs &args)
{
    return db.select(
        u"select D.RequestNum, D.IdNum, D.HospNum, M.LastName, M.FirstName, M.MiddleName, "
        u"D.ExamName, 1 as Tests, D.ResultDate from STATION..tbNurseDiagResult D "
        u"left join PATIENT_DATA..tbMaster M on M.HospNum = D.HospNum "
        u"where D.StationID = :station and D.DepartmentID = :department and D.Verified = 1 "
        u"and D.Printed = 0 and D.RecordStatus <> 'R' and D.ResultDate is not null "
        u"order by D.ResultDate, D.RequestNum",
        {{QStringLiteral("station"), args.text(0)},
         {QStringLiteral("department"), imagingDepartment(args.text(1))}});
}

// STATION..sp_Comm_UpdateMasterFile RequestNum, Department: marks the request's results
// printed by the station ('LB' the laboratory's, 'XR', 'CT', 'US' the imaging departments').
// Only results not yet marked are touched, so of two stations marking one request at once only
// the first marks it; "Marked" answers how many rows this call marked.
Result<RowSet> updateMasterFile(Database &db, const ProcedureArgs &args)
{
    const QString department = args.text(1).toUpper();
    const Binds binds{{QStringLiteral("request"), args.text(0)},
                      {QStringLiteral("department"), department}};
    auto marked = department == u"LB"
                      ? db.exec(u"update LABORATORY..tbLabResult set Printed = 1 "
                                u"where RequestNum = :request and Printed = 0 "
                                u"and ResultDate is not null and RecordStatus <> 'R'",
                                {{QStringLiteral("request"), args.text(0)}})
                      : db.exec(u"update STATION..tbNurseDiagResult set Printed = 1 "
                                u"where RequestNum = :request and DepartmentID = :department "
                                u"and Verified = 1 and Printed = 0",
                                binds);
    if (!marked)
        return tl::unexpected(marked.error());
    RowSet answer(QStringList{QStringLiteral("Marked")});
    answer.append(QVariantList{*marked});
    return answer;
}

} // namespace

// In ResultsCdfProcedures.cpp.
void registerResultsCdfProcedures(ProcedureRegistry &registry);

void registerResultProcedures(ProcedureRegistry &registry)
{
    registerResultsCdfProcedures(registry);
    registry.add(QStringLiteral("STATION..AudioExams"), 0, examsOf("AU"));
    registry.add(QStringLiteral("STATION..CTExams"), 0, examsOf("CT"));
    registry.add(QStringLiteral("STATION..HSExams"), 0, examsOf("HS"));
    registry.add(QStringLiteral("STATION..NuclearExams"), 0, examsOf("NU"));
    registry.add(QStringLiteral("STATION..PTExams"), 0, examsOf("PT"));
    registry.add(QStringLiteral("STATION..RTSExams"), 0, examsOf("PA"));
    registry.add(QStringLiteral("STATION..NeuroExams"), 0, examsOf("NE"));
    registry.add(QStringLiteral("STATION..sp_Nurse_GetPatient_LabResult_MaxCol"), 1,
                 labResultMaxCol);
    registry.add(QStringLiteral("STATION..sp_Nurse_GetPatient_LabResult_NormalValues"), 1,
                 labResultNormalValues);
    registry.add(QStringLiteral("STATION..GetLBAbnormalResult"), 1, abnormalResults);
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_LabAutoPrint"), 1, labAutoPrint);
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_RadiologyAutoPrint"), 2, radiologyAutoPrint);
    registry.add(QStringLiteral("STATION..sp_Comm_UpdateMasterFile"), 2, updateMasterFile);
}

} // namespace kestrel::hospitaldb
