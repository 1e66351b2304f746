// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/Migrations.h"

#include "hospitaldb/Schema.h"

namespace kestrel::hospitaldb {

namespace {

// Whether `database`..`table` exists, asked of the database's own catalogue.
Result<bool> tableExists(Database &db, const QString &database, const QString &table)
{
    Result<QVariant> n;
    if (db.backend() == Backend::Sqlite) {
        n = db.scalar(u"select count(*) from sqlite_master where type = 'table' "
                      u"and lower(name) = :name",
                      {{QStringLiteral("name"), table.toLower()}});
    } else {
        n = db.scalar(u"select count(*) from information_schema.tables "
                      u"where table_schema = :schema and table_name = :name",
                      {{QStringLiteral("schema"), database.toLower()},
                       {QStringLiteral("name"), table.toLower()}});
    }
    if (!n)
        return tl::unexpected(n.error());
    return n->toInt() > 0;
}

} // namespace

const QList<Migration> &migrations()
{
    static const QList<Migration> steps = {
        {1,
         QStringLiteral("Schema versions are recorded"),
         {QStringLiteral("CREATE TABLE STATION..tbSchemaVersion ("
                         " Version int NOT NULL PRIMARY KEY,"
                         " Description vchar NOT NULL DEFAULT '',"
                         " ProgramVersion vchar NOT NULL DEFAULT '',"
                         " AppliedAt datetime)")}},
        {2,
         QStringLiteral("One-time passwords: an employee chooses his own at the next login"),
         {QStringLiteral("ALTER TABLE PASSWORD..tbPasswordMaster"
                         " ADD COLUMN MustChangePassword flag NOT NULL DEFAULT 0")}},
        {3,
         QStringLiteral("The OR schedule's room index and counter, the profile's vital signs, "
                        "notes and histories, and the code lists of the companion components"),
         {
         QStringLiteral("CREATE TABLE BUILD_FILE..tbcoPatientClass (Classification vchar NOT NULL PRIMARY KEY, Status smallint NOT NULL DEFAULT 1)"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoDiet (DietID vchar NOT NULL PRIMARY KEY, Diet vchar NOT NULL DEFAULT '', Remarks vchar NOT NULL DEFAULT '', Status vchar NOT NULL DEFAULT 'A')"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoDosage (DosageID vchar NOT NULL PRIMARY KEY, Dosage vchar NOT NULL DEFAULT '', Frequency vchar NOT NULL DEFAULT '', Status vchar NOT NULL DEFAULT 'A')"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoService (ServiceID vchar NOT NULL PRIMARY KEY, Service vchar NOT NULL DEFAULT '', Status vchar NOT NULL DEFAULT 'A')"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoStation (StationID vchar NOT NULL PRIMARY KEY, Station vchar NOT NULL DEFAULT '', Status vchar NOT NULL DEFAULT 'A')"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoDeptExam (DepartmentID vchar NOT NULL, ExamID vchar NOT NULL, ExamName vchar NOT NULL DEFAULT '', Status vchar NOT NULL DEFAULT 'A', PRIMARY KEY (DepartmentID, ExamID))"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoICD10 (ICDCode vchar NOT NULL PRIMARY KEY, Description vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoRVS (RVSCode vchar NOT NULL PRIMARY KEY, RVSDescription vchar NOT NULL DEFAULT '', RVSPoints float NOT NULL DEFAULT 0)"),
         QStringLiteral("CREATE TABLE PATIENT_DATA..tbMasterAllergies (Hospnum vchar NOT NULL PRIMARY KEY, AllergyID1 vchar NOT NULL DEFAULT '', AllergyID2 vchar NOT NULL DEFAULT '', AllergyID3 vchar NOT NULL DEFAULT '', AllergyID4 vchar NOT NULL DEFAULT '', AllergyID5 vchar NOT NULL DEFAULT '', Others memo)"),
         QStringLiteral("CREATE TABLE SCHEDULE..tbORScheduleNumber (ID int NOT NULL PRIMARY KEY, LastTransNum int NOT NULL DEFAULT 0)"),
         QStringLiteral("DROP INDEX IF EXISTS SCHEDULE..ix_tbORScheduleDetails_Room"),
         QStringLiteral("CREATE INDEX ix_tbORScheduleDetails_Room ON SCHEDULE..tbORScheduleDetails (RoomID, RecordStatus, StartTime)"),
         QStringLiteral("CREATE INDEX ix_tbORScheduleDetails_RoomLength ON SCHEDULE..tbORScheduleDetails (RoomID, RecordStatus, Length)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseCommunicationfile (RequestNum vchar NOT NULL PRIMARY KEY, IDNum vchar NOT NULL DEFAULT '', HospNum vchar NOT NULL DEFAULT '', StationID vchar NOT NULL DEFAULT '', ExamCode vchar NOT NULL DEFAULT '', ExamName vchar NOT NULL DEFAULT '', RequestDate datetime, RecordStatus vchar NOT NULL DEFAULT '', RevokedBy vchar NOT NULL DEFAULT '', RevokedDate datetime, Remarks vchar NOT NULL DEFAULT '', RevAcknow_Date datetime, RevAcknow_UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE TABLE STATION..tbNurseVitalSigns (TransNum ident, IDNUM vchar NOT NULL DEFAULT '', TRANSDATE datetime, BP vchar NOT NULL DEFAULT '', TEMPERATURE vchar NOT NULL DEFAULT '', PULSERATE vchar NOT NULL DEFAULT '', RESPRATE vchar NOT NULL DEFAULT '', O2Sat vchar NOT NULL DEFAULT '', NInitial vchar NOT NULL DEFAULT '', Protocol vchar NOT NULL DEFAULT '', ProcItemID vchar NOT NULL DEFAULT '', Status vchar NOT NULL DEFAULT '', Remarks vchar NOT NULL DEFAULT '', Remarks2 vchar NOT NULL DEFAULT '', ScheduleTime datetime)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseVitalSignsMonitor (IDNUM vchar NOT NULL PRIMARY KEY, BP vchar NOT NULL DEFAULT '', TEMPERATURE vchar NOT NULL DEFAULT '', PULSERATE vchar NOT NULL DEFAULT '', RESPRATE vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '', Protocol vchar NOT NULL DEFAULT '', ProcItemID vchar NOT NULL DEFAULT '', Status vchar NOT NULL DEFAULT '', LastTaken datetime)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseNotes (TransNum ident, IdNum vchar NOT NULL DEFAULT '', Transdate datetime, Dayshift vchar NOT NULL DEFAULT '', Notes memo, UserID vchar NOT NULL DEFAULT '', Remarks vchar NOT NULL DEFAULT '', LastUpdated datetime)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseProfile (Hospnum vchar NOT NULL, IDNum vchar NOT NULL, BriefHistory memo, PEskin memo, PEheadneck memo, PEthorax memo, PEabdomen memo, PEextremeties memo, PElympnodes memo, PEgenitalia memo, PErectal memo, PEneurological memo, PEOthers memo, PH1 vchar NOT NULL DEFAULT '', PH2 vchar NOT NULL DEFAULT '', PH3 vchar NOT NULL DEFAULT '', PH4 vchar NOT NULL DEFAULT '', FH1 vchar NOT NULL DEFAULT '', FH2 vchar NOT NULL DEFAULT '', FH3 vchar NOT NULL DEFAULT '', FH4 vchar NOT NULL DEFAULT '', PSH1 vchar NOT NULL DEFAULT '', PSH2 vchar NOT NULL DEFAULT '', PSH3 vchar NOT NULL DEFAULT '', FMOthers memo, PRIMARY KEY (Hospnum, IDNum))"),
         QStringLiteral("CREATE TABLE STATION..tbNurseHeightWeight (IDNum vchar NOT NULL PRIMARY KEY, Height vchar NOT NULL DEFAULT '', Weight vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '', TransDate datetime)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseShifts (Shift vchar NOT NULL PRIMARY KEY, Status vchar NOT NULL DEFAULT '1')"),
         QStringLiteral("CREATE TABLE STATION..tbNurse_ReportList (ReportType vchar NOT NULL PRIMARY KEY, ReportName vchar NOT NULL DEFAULT '', RecordStatus smallint NOT NULL DEFAULT 1)"),
         QStringLiteral("CREATE INDEX ix_tbNurseCommunicationfile_Revoked ON STATION..tbNurseCommunicationfile (StationID, RevokedDate)"),
         QStringLiteral("CREATE INDEX ix_tbNurseVitalSigns_IdNum ON STATION..tbNurseVitalSigns (IDNUM, TRANSDATE)"),
         QStringLiteral("CREATE INDEX ix_tbNurseNotes_IdNum ON STATION..tbNurseNotes (IdNum, Transdate)")}},
        {4,
         QStringLiteral("Drug prices by the room class of the stay, and the CF4 clinical "
                        "summaries of the stays"),
         {
         QStringLiteral("CREATE TABLE INVENTORY..tbInvRoomClassRate (ItemID vchar NOT NULL, RoomClassID vchar NOT NULL, SellingPrice money NOT NULL DEFAULT 0, PRIMARY KEY (ItemID, RoomClassID))"),
         QStringLiteral("CREATE TABLE STATION..tbCF4Entry (IdNum vchar NOT NULL PRIMARY KEY, HospNum vchar NOT NULL DEFAULT '', ChiefComplaint memo, PresentIllness memo, PhysicalExam memo, CourseInWard memo, Drugs memo, Outcome vchar NOT NULL DEFAULT '', StationID vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '', LastUpdated datetime)")}},
        {5,
         QStringLiteral("The diagnostic departments' results on the patient profile, the "
                        "laboratory's panic values and printed results, and the normal ranges "
                        "of the vital signs"),
         {
         QStringLiteral("CREATE TABLE STATION..tbNurseDiagResult (ResultID ident, DepartmentID vchar NOT NULL DEFAULT '', IdNum vchar NOT NULL DEFAULT '', HospNum vchar NOT NULL DEFAULT '', TransNum vchar NOT NULL DEFAULT '', RequestNum vchar NOT NULL DEFAULT '', ChargeSlip vchar NOT NULL DEFAULT '', ExamID vchar NOT NULL DEFAULT '', ExamName vchar NOT NULL DEFAULT '', Section vchar NOT NULL DEFAULT '', FileNumber vchar NOT NULL DEFAULT '', TransDate datetime, ResultDate datetime, ReaderID vchar NOT NULL DEFAULT '', ReaderLastName vchar NOT NULL DEFAULT '', ReaderFirstName vchar NOT NULL DEFAULT '', ReaderMiddleName vchar NOT NULL DEFAULT '', AttendingDoctor vchar NOT NULL DEFAULT '', FormType vchar NOT NULL DEFAULT '', Interpretation memo, InitialEvaluation memo, Endorsement memo, StationID vchar NOT NULL DEFAULT '', Verified flag NOT NULL DEFAULT 0, Printed flag NOT NULL DEFAULT 0, RecordStatus vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbNurseDiagResult_IdNum ON STATION..tbNurseDiagResult (IdNum, DepartmentID, TransDate)"),
         QStringLiteral("CREATE INDEX ix_tbNurseDiagResult_Printed ON STATION..tbNurseDiagResult (DepartmentID, Verified, Printed)"),
         QStringLiteral("ALTER TABLE LABORATORY..tbLabResult ADD COLUMN PanicValue vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE LABORATORY..tbLabResult ADD COLUMN Printed flag NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE STATION..tbNursing_Settings ADD COLUMN VSNormalTemperature vchar NOT NULL DEFAULT '36.5-37.5'"),
         QStringLiteral("ALTER TABLE STATION..tbNursing_Settings ADD COLUMN VSNormalPulse vchar NOT NULL DEFAULT '60-100'"),
         QStringLiteral("ALTER TABLE STATION..tbNursing_Settings ADD COLUMN VSNormalRespiration vchar NOT NULL DEFAULT '12-20'"),
         QStringLiteral("ALTER TABLE STATION..tbNursing_Settings ADD COLUMN VSNormalSystolic vchar NOT NULL DEFAULT '90-140'"),
         QStringLiteral("ALTER TABLE STATION..tbNursing_Settings ADD COLUMN VSNormalDiastolic vchar NOT NULL DEFAULT '60-90'"),
         QStringLiteral("ALTER TABLE STATION..tbNursing_Settings ADD COLUMN VSNormalO2Sat vchar NOT NULL DEFAULT '95-100'")}},
    };
    return steps;
}

int latestSchemaVersion()
{
    return migrations().isEmpty() ? 0 : migrations().constLast().version;
}

Result<bool> holdsHospital(Database &db)
{
    return tableExists(db, QStringLiteral("PASSWORD"), QStringLiteral("tbPasswordMaster"));
}

Result<int> schemaVersion(Database &db)
{
    auto versioned = tableExists(db, QStringLiteral("STATION"), QStringLiteral("tbSchemaVersion"));
    if (!versioned)
        return tl::unexpected(versioned.error());
    if (*versioned) {
        auto v = db.scalar(u"select max(Version) from STATION..tbSchemaVersion");
        if (!v)
            return tl::unexpected(v.error());
        return v->toInt();
    }
    auto hospital = holdsHospital(db);
    if (!hospital)
        return tl::unexpected(hospital.error());
    if (!*hospital)
        return failure(QStringLiteral("This database holds no hospital."));
    return 0;
}

Result<void> recordSchemaVersion(Database &db, int version, const QString &description)
{
    auto ok = db.exec(u"insert into STATION..tbSchemaVersion "
                      u"(Version, Description, ProgramVersion, AppliedAt) "
                      u"values (:version, :description, :program, getdate())",
                      {{QStringLiteral("version"), version},
                       {QStringLiteral("description"), description},
                       {QStringLiteral("program"), QStringLiteral(KESTREL_VERSION)}});
    if (!ok)
        return tl::unexpected(ok.error());
    return {};
}

Result<UpgradeOutcome> upgradeSchema(Database &db, const QList<Migration> &steps,
                                     const std::function<Result<void>(Database &)> &beforeEach,
                                     const std::function<void(const Migration &)> &beforeCommit)
{
    auto current = schemaVersion(db);
    if (!current)
        return tl::unexpected(current.error());
    UpgradeOutcome outcome;
    outcome.from = *current;
    outcome.to = *current;
    const int known = steps.isEmpty() ? 0 : steps.constLast().version;
    if (*current > known)
        return failure(QStringLiteral("This hospital database has schema version %1, newer than "
                                      "the version %2 this program knows. Upgrade it with the "
                                      "administration tool of that release or a later one.")
                           .arg(*current)
                           .arg(known));
    for (const Migration &step : steps) {
        if (step.version <= outcome.to)
            continue;
        Transaction tx = db.transaction();
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        if (beforeEach) {
            if (auto ok = beforeEach(db); !ok)
                return tl::unexpected(ok.error());
        }
        for (const QString &text : step.statements) {
            for (const SchemaStatement &s : translateSchema(QString(), text, db.backend())) {
                if (auto ok = db.execRaw(db.mapNames(s.sql)); !ok)
                    return failure(QStringLiteral("Migration %1 (%2) failed: %3")
                                       .arg(step.version)
                                       .arg(step.description, ok.error().message),
                                   s.sql);
            }
        }
        if (auto ok = recordSchemaVersion(db, step.version, step.description); !ok)
            return tl::unexpected(ok.error());
        if (beforeCommit)
            beforeCommit(step);
        if (auto ok = tx.commit(); !ok)
            return tl::unexpected(ok.error());
        outcome.to = step.version;
        outcome.applied << step.version;
    }
    return outcome;
}

} // namespace kestrel::hospitaldb
