// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the patient profile: vital signs, nurses' notes, the patient's allergies and
// histories, the room check, the diagnostic departments' results and the common exams.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

QString str(const char *name)
{
    return QString::fromLatin1(name);
}

// A date argument: bound as a date and time, or typed the hospital's way
// ("12/01/2026 10:00:00 AM"). An argument that is neither reads as null.
QVariant dateArgument(const ProcedureArgs &args, int i)
{
    const QVariant v = args.at(i);
    if (v.metaType().id() == QMetaType::QDateTime || v.metaType().id() == QMetaType::QDate)
        return v;
    const QString text = args.text(i);
    for (const QString &format : {QStringLiteral("MM/dd/yyyy hh:mm:ss AP"),
                                  QStringLiteral("MM/dd/yyyy h:mm:ss AP"),
                                  QStringLiteral("MM/dd/yyyy")}) {
        const QDateTime parsed = QDateTime::fromString(text, format);
        if (parsed.isValid())
            return parsed;
    }
    const QDateTime iso = QDateTime::fromString(text, Qt::ISODate);
    return iso.isValid() ? QVariant(iso) : QVariant();
}

// Nurse_UpdateVitalSigns: IdNum, date and time, BP, temperature, pulse, respiration, encoder,
// O2 saturation, protocol, item, status, remarks. Adds one reading.
Result<RowSet> updateVitalSigns(Database &db, const ProcedureArgs &a)
{
    auto ok = db.exec(u"insert into STATION..tbNurseVitalSigns (IDNUM, TRANSDATE, BP, "
                      u"TEMPERATURE, PULSERATE, RESPRATE, NInitial, O2Sat, Protocol, ProcItemID, "
                      u"Status, Remarks) values (:id, :at, :bp, :temp, :pulse, :resp, :user, "
                      u":o2, :protocol, :item, :status, :remarks)",
                      {{str("id"), a.text(0)},
                       {str("at"), dateArgument(a, 1)},
                       {str("bp"), a.text(2)},
                       {str("temp"), a.text(3)},
                       {str("pulse"), a.text(4)},
                       {str("resp"), a.text(5)},
                       {str("user"), a.text(6)},
                       {str("o2"), a.text(7)},
                       {str("protocol"), a.text(8)},
                       {str("item"), a.text(9)},
                       {str("status"), a.text(10)},
                       {str("remarks"), a.text(11)}});
    if (!ok)
        return tl::unexpected(ok.error());
    return RowSet();
}

// sp_Update_MarkerForMonitor: IdNum, BP, temperature, pulse, respiration, encoder, protocol,
// item, status. Keeps the stay's last reading for the ward monitors.
Result<RowSet> updateMarkerForMonitor(Database &db, const ProcedureArgs &a)
{
    auto gone = db.exec(u"delete from STATION..tbNurseVitalSignsMonitor where IDNUM = :id",
                        {{str("id"), a.text(0)}});
    if (!gone)
        return tl::unexpected(gone.error());
    auto ok = db.exec(u"insert into STATION..tbNurseVitalSignsMonitor (IDNUM, BP, TEMPERATURE, "
                      u"PULSERATE, RESPRATE, UserID, Protocol, ProcItemID, Status, LastTaken) "
                      u"values (:id, :bp, :temp, :pulse, :resp, :user, :protocol, :item, "
                      u":status, getdate())",
                      {{str("id"), a.text(0)},
                       {str("bp"), a.text(1)},
                       {str("temp"), a.text(2)},
                       {str("pulse"), a.text(3)},
                       {str("resp"), a.text(4)},
                       {str("user"), a.text(5)},
                       {str("protocol"), a.text(6)},
                       {str("item"), a.text(7)},
                       {str("status"), a.text(8)}});
    if (!ok)
        return tl::unexpected(ok.error());
    return RowSet();
}

// Nurse_GetNotes: the stay's notes, latest first, as the notes grid shows them.
Result<RowSet> getNotes(Database &db, const ProcedureArgs &a)
{
    auto rows = db.select(u"select n.TransNum, n.Transdate, n.Dayshift, n.UserID, "
                          u"p.LastName, p.FirstName from STATION..tbNurseNotes n "
                          u"left join PASSWORD..tbPasswordMaster p on p.EmployeeID = n.UserID "
                          u"where n.IdNum = :id order by n.Transdate desc, n.TransNum desc",
                          {{str("id"), a.text(0)}});
    if (!rows)
        return rows;
    RowSet notes({str("Date / Time"), str("Day Shift"), str("Entered By"), str("User ID"),
                  str("TransNum")});
    for (const Row &r : *rows) {
        const QString last = r.trimmed(u"LastName");
        const QString name = last.isEmpty() ? QString()
                                            : last + QStringLiteral(", ") + r.trimmed(u"FirstName");
        notes.append(QVariantList{
            r.dateTime(u"Transdate").toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP")),
            r.trimmed(u"Dayshift"), name, r.trimmed(u"UserID"), r.integer(u"TransNum")});
    }
    return notes;
}

// Nurse_SaveNursingNotes: IdNum, date and time, note, shift, employee, remarks.
Result<RowSet> saveNursingNotes(Database &db, const ProcedureArgs &a)
{
    auto ok = db.exec(u"insert into STATION..tbNurseNotes (IdNum, Transdate, Notes, Dayshift, "
                      u"UserID, Remarks, LastUpdated) values (:id, :at, :note, :shift, :user, "
                      u":remarks, getdate())",
                      {{str("id"), a.text(0)},
                       {str("at"), dateArgument(a, 1)},
                       {str("note"), a.at(2).toString()},
                       {str("shift"), a.text(3)},
                       {str("user"), a.text(4)},
                       {str("remarks"), a.text(5)}});
    if (!ok)
        return tl::unexpected(ok.error());
    return RowSet();
}

// sp_Nurse_Update_NurseNotes_New: TransNum, note, employee who changed it.
Result<RowSet> updateNurseNotes(Database &db, const ProcedureArgs &a)
{
    auto ok = db.exec(u"update STATION..tbNurseNotes set Notes = :note, LastUpdated = getdate() "
                      u"where TransNum = :trans",
                      {{str("note"), a.at(1).toString()}, {str("trans"), a.text(0).toLongLong()}});
    if (!ok)
        return tl::unexpected(ok.error());
    return RowSet();
}

// Nurse_Save_Allergy: HospNum, the five allergy codes, other allergies.
Result<RowSet> saveAllergy(Database &db, const ProcedureArgs &a)
{
    auto gone = db.exec(u"delete from PATIENT_DATA..tbMasterAllergies where Hospnum = :hosp",
                        {{str("hosp"), a.text(0)}});
    if (!gone)
        return tl::unexpected(gone.error());
    auto ok = db.exec(u"insert into PATIENT_DATA..tbMasterAllergies (Hospnum, AllergyID1, "
                      u"AllergyID2, AllergyID3, AllergyID4, AllergyID5, Others) values (:hosp, "
                      u":a1, :a2, :a3, :a4, :a5, :others)",
                      {{str("hosp"), a.text(0)},
                       {str("a1"), a.text(1)},
                       {str("a2"), a.text(2)},
                       {str("a3"), a.text(3)},
                       {str("a4"), a.text(4)},
                       {str("a5"), a.text(5)},
                       {str("others"), a.at(6).toString()}});
    if (!ok)
        return tl::unexpected(ok.error());
    return RowSet();
}

// The columns of Nurse_Save_Profile after HospNum and IdNum, in argument order.
const QStringList &profileColumns()
{
    static const QStringList columns{
        str("BriefHistory"), str("PEskin"),      str("PEheadneck"),    str("PEthorax"),
        str("PEabdomen"),    str("PEextremeties"), str("PElympnodes"), str("PEgenitalia"),
        str("PErectal"),     str("PEneurological"), str("PH1"),        str("PH2"),
        str("PH3"),          str("PH4"),         str("FH1"),           str("FH2"),
        str("FH3"),          str("FH4"),         str("PSH1"),          str("PSH2"),
        str("PSH3"),         str("FMOthers"),    str("PEOthers")};
    return columns;
}

// Nurse_Save_Profile: HospNum, IdNum, then the columns above.
Result<RowSet> saveProfile(Database &db, const ProcedureArgs &a)
{
    const Binds key{{str("hosp"), a.text(0)}, {str("id"), a.text(1)}};
    auto gone = db.exec(
        u"delete from STATION..tbNurseProfile where Hospnum = :hosp and IDNum = :id", key);
    if (!gone)
        return tl::unexpected(gone.error());
    QStringList names{str("Hospnum"), str("IDNum")};
    QStringList marks{str(":hosp"), str(":id")};
    Binds binds = key;
    for (int i = 0; i < profileColumns().size(); ++i) {
        const QString bind = QStringLiteral("c%1").arg(i);
        names << profileColumns().at(i);
        marks << u':' + bind;
        binds.insert(bind, a.at(i + 2).toString());
    }
    // The statement is made of our own column list; every value is bound.
    const QString sql = QStringLiteral("insert into STATION..tbNurseProfile (%1) values (%2)")
                            .arg(names.join(u", "), marks.join(u", "));
    auto ok = db.exec(sql, binds);
    if (!ok)
        return tl::unexpected(ok.error());
    return RowSet();
}

// Nurse_CheckPatientRoom: the room and station the stay is in now.
Result<RowSet> checkPatientRoom(Database &db, const ProcedureArgs &a)
{
    return db.select(u"select RoomID, StationID from PATIENT_DATA..tbPatient where IDNum = :id",
                     {{str("id"), a.text(0)}});
}

// sp_Nurse_Save_Patient_HTWT: IdNum, height in cm, weight in kg, employee.
Result<RowSet> savePatientHeightWeight(Database &db, const ProcedureArgs &a)
{
    const Binds key{{str("id"), a.text(0)}};
    auto gone = db.exec(u"delete from STATION..tbNurseHeightWeight where IDNum = :id", key);
    if (!gone)
        return tl::unexpected(gone.error());
    auto ok = db.exec(u"insert into STATION..tbNurseHeightWeight (IDNum, Height, Weight, UserID, "
                      u"TransDate) values (:id, :height, :weight, :user, getdate())",
                      {{str("id"), a.text(0)},
                       {str("height"), a.text(1)},
                       {str("weight"), a.text(2)},
                       {str("user"), a.text(3)}});
    if (!ok)
        return tl::unexpected(ok.error());
    return RowSet();
}

// Nurse_GetHrt and its twins: IdNum. The stay's examinations in one department, oldest
// first, with the attending doctor's name; revoked ones left out.
ProcedureHandler departmentResults(const QString &department)
{
    return [department](Database &db, const ProcedureArgs &a) -> Result<RowSet> {
        return db.select(
            u"select r.TransNum, r.RequestNum, r.ChargeSlip, r.ExamID, r.ExamName, r.Section, "
            u"r.FileNumber, r.TransDate, r.ResultDate, r.ReaderID, r.ReaderLastName, "
            u"r.ReaderFirstName, r.ReaderMiddleName, r.FormType, r.Interpretation, "
            u"r.InitialEvaluation, r.Endorsement, r.Verified, r.Printed, "
            u"d.LastName as AttendingLast, d.FirstName as AttendingFirst "
            u"from STATION..tbNurseDiagResult r "
            u"left join BUILD_FILE..tbCoDoctor d on d.DoctorID = r.AttendingDoctor "
            u"where r.IdNum = :id and r.DepartmentID = :dept and r.RecordStatus <> 'R' "
            u"order by r.TransDate, r.ResultID",
            {{str("id"), a.text(0)}, {str("dept"), department}});
    };
}

// LaboratoryExams and its twins: the exams the panel of common exams offers, by name.
ProcedureHandler commonExams(QStringView sql)
{
    return [sql = sql.toString()](Database &db, const ProcedureArgs &) -> Result<RowSet> {
        return db.select(sql);
    };
}

} // namespace

// In ProfileHemodialysisProcedures.cpp.
void registerProfileHemodialysisProcedures(ProcedureRegistry &registry);
// In ProfileRequestProcedures.cpp.
void registerProfileRequestProcedures(ProcedureRegistry &registry);

void registerProfileProcedures(ProcedureRegistry &registry)
{
    registerProfileHemodialysisProcedures(registry);
    registerProfileRequestProcedures(registry);
    for (const auto &[name, department] :
         {std::pair{"Xray", "XR"}, std::pair{"Ultra", "US"}, std::pair{"CT", "CT"},
          std::pair{"Hrt", "HS"}, std::pair{"PT", "PT"}, std::pair{"Nuclear", "NU"},
          std::pair{"Pulmo", "PA"}, std::pair{"Neuro", "NE"}, std::pair{"WC", "WC"},
          std::pair{"MRI", "MR"}}) {
        registry.add(QStringLiteral("STATION..Nurse_Get") + QString::fromLatin1(name), 1,
                     departmentResults(QString::fromLatin1(department)));
    }
    registry.add(QStringLiteral("STATION..LaboratoryExams"), 0,
                 commonExams(u"select LabExamID as Code, LabExam as Exam from "
                             u"BUILD_FILE..tbCoLabExam order by LabExam"));
    registry.add(QStringLiteral("STATION..XrayExams"), 0,
                 commonExams(u"select XrayExamID as Code, XrayExam as Exam from "
                             u"BUILD_FILE..tbCoXrayExam order by XrayExam"));
    registry.add(QStringLiteral("STATION..UltraExams"), 0,
                 commonExams(u"select UltraExamID as Code, UltraExam as Exam from "
                             u"BUILD_FILE..tbCoUltraExam order by UltraExam"));
    // The other departments' exams, each under its department's code.
    registry.add(QStringLiteral("STATION..OtherExams"), 0,
                 commonExams(u"select ExamID as Code, ExamName as Exam, DepartmentID as "
                             u"Department from "
                             u"BUILD_FILE..tbCoDeptExam where Status = 'A' "
                             u"order by DepartmentID, ExamName"));
    registry.add(QStringLiteral("STATION..Nurse_UpdateVitalSigns"), 12, updateVitalSigns);
    registry.add(QStringLiteral("STATION..sp_Update_MarkerForMonitor"), 9, updateMarkerForMonitor);
    registry.add(QStringLiteral("STATION..Nurse_GetNotes"), 1, getNotes);
    registry.add(QStringLiteral("STATION..Nurse_SaveNursingNotes"), 6, saveNursingNotes);
    registry.add(QStringLiteral("STATION..sp_Nurse_Update_NurseNotes_New"), 3, updateNurseNotes);
    registry.add(QStringLiteral("STATION..Nurse_Save_Allergy"), 7, saveAllergy);
    registry.add(QStringLiteral("STATION..Nurse_Save_Profile"), 2 + int(profileColumns().size()),
                 saveProfile);
    registry.add(QStringLiteral("STATION..Nurse_CheckPatientRoom"), 1, checkPatientRoom);
    registry.add(QStringLiteral("STATION..sp_Nurse_Save_Patient_HTWT"), 4,
                 savePatientHeightWeight);
}

} // namespace kestrel::hospitaldb
