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
        {6,
         QStringLiteral("Hemodialysis notifications of the stays with the unit's dialyzers and "
                        "vascular accesses, and the kidney programme's fund of each patient"),
         {
         QStringLiteral("CREATE TABLE STATION..tbHemoDialyzer (DialyzerID vchar NOT NULL PRIMARY KEY, Description vchar NOT NULL DEFAULT '', Status smallint NOT NULL DEFAULT 1)"),
         QStringLiteral("CREATE TABLE STATION..tbHemoAccess (AccessID int NOT NULL PRIMARY KEY, Description vchar NOT NULL DEFAULT '', Status smallint NOT NULL DEFAULT 1)"),
         QStringLiteral("CREATE TABLE STATION..tbHemoRequest (RequestID ident, IdNum vchar NOT NULL DEFAULT '', HospNum vchar NOT NULL DEFAULT '', DialyzerID vchar NOT NULL DEFAULT '', AccessID int NOT NULL DEFAULT 0, DialysisDate datetime, Remarks memo, RequestDate datetime, UserID vchar NOT NULL DEFAULT '', StationID vchar NOT NULL DEFAULT '', RecordStatus vchar NOT NULL DEFAULT '', RevokedBy vchar NOT NULL DEFAULT '', RevokedDate datetime)"),
         QStringLiteral("CREATE INDEX ix_tbHemoRequest_IdNum ON STATION..tbHemoRequest (IdNum, RequestDate)"),
         QStringLiteral("CREATE TABLE STATION..tbHemo_Communication (IdNum vchar NOT NULL PRIMARY KEY, RequestID int NOT NULL DEFAULT 0, SentDate datetime, StationID vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE TABLE BILLING..tbParsCDFTransaction (CDFTransID ident, HospNum vchar NOT NULL DEFAULT '', Amount money NOT NULL DEFAULT 0, Source vchar NOT NULL DEFAULT '', TransDate datetime, UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbParsCDFTransaction_HospNum ON BILLING..tbParsCDFTransaction (HospNum)"),
         QStringLiteral("CREATE TABLE BILLING..tbParsCDFUtilized (UtilizedID ident, HospNum vchar NOT NULL DEFAULT '', IDNum vchar NOT NULL DEFAULT '', Amount money NOT NULL DEFAULT 0, TransDate datetime, UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbParsCDFUtilized_HospNum ON BILLING..tbParsCDFUtilized (HospNum)")}},
        {7,
         QStringLiteral("Pharmacy and central supply requests: the item, price, dosage, "
                        "frequency, route and STAT flag of each request, their number series, "
                        "and the medicines' antibiotic classes and handling flags"),
         {
         QStringLiteral("ALTER TABLE STATION..tbNurseLogBook ADD COLUMN Frequency vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseLogBook ADD COLUMN Route vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN ItemID vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN RevenueID vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN Quantity float NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN Amount money NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN Dosage vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN Frequency vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN Route vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN StatFlag vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN UserID vchar NOT NULL DEFAULT ''"),
         QStringLiteral("CREATE INDEX ix_tbNurseCommunicationfile_Item ON STATION..tbNurseCommunicationfile (IDNum, ItemID, RevenueID)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseRequestNumber (RevenueID vchar NOT NULL PRIMARY KEY, LastNum bigint NOT NULL DEFAULT 0)"),
         QStringLiteral("ALTER TABLE INVENTORY..tbInvMaster ADD COLUMN HighAlert flag NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE INVENTORY..tbInvMaster ADD COLUMN Refrigerated flag NOT NULL DEFAULT 0"),
         QStringLiteral("CREATE TABLE INVENTORY..tbInvAntibioticClass (AntiBioticClassID vchar NOT NULL PRIMARY KEY, AntiBioticClass vchar NOT NULL DEFAULT '')")}},
        {8,
         QStringLiteral("Returns and revokes of posted charges: what came back of each line, the "
                        "stations' credit memo sequence, adjustments, credit memos and their "
                        "remarks"),
         {
         QStringLiteral("ALTER TABLE STATION..tbNurseLogBook ADD COLUMN ReturnedQty float NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE STATION..tbNurseLogBook ADD COLUMN ReturnedAmount money NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE STATION..tbORChargeSlip ADD COLUMN CreditMemo bigint NOT NULL DEFAULT 1"),
         QStringLiteral("CREATE TABLE STATION..tbBillAdjustInfo (AdjustID ident, IDNum vchar NOT NULL DEFAULT '', RefNum vchar NOT NULL DEFAULT '', RevenueID vchar NOT NULL DEFAULT '', ItemID vchar NOT NULL DEFAULT '', Quantity float NOT NULL DEFAULT 0, Amount money NOT NULL DEFAULT 0, AdjustType vchar NOT NULL DEFAULT '', CreditMemoNum vchar NOT NULL DEFAULT '', Reason vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '', SupervisorID vchar NOT NULL DEFAULT '', StationID vchar NOT NULL DEFAULT '', TransDate datetime)"),
         QStringLiteral("CREATE INDEX ix_tbBillAdjustInfo_IDNum ON STATION..tbBillAdjustInfo (IDNum, RefNum)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseCMRemarks (RemarkID ident, ListID int NOT NULL DEFAULT 7, Remarks vchar NOT NULL DEFAULT '', Status vchar NOT NULL DEFAULT 'A')"),
         QStringLiteral("CREATE TABLE STATION..tbNurseCreditMemo (MemoLineID ident, CreditMemoNum vchar NOT NULL DEFAULT '', TransType vchar NOT NULL DEFAULT '', IDNum vchar NOT NULL DEFAULT '', HospNum vchar NOT NULL DEFAULT '', RefNum vchar NOT NULL DEFAULT '', RevenueID vchar NOT NULL DEFAULT '', ItemID vchar NOT NULL DEFAULT '', Description vchar NOT NULL DEFAULT '', QtyIssued float NOT NULL DEFAULT 0, Quantity float NOT NULL DEFAULT 0, Amount money NOT NULL DEFAULT 0, Remarks vchar NOT NULL DEFAULT '', StationID vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '', TransDate datetime)"),
         QStringLiteral("CREATE INDEX ix_tbNurseCreditMemo_CreditMemoNum ON STATION..tbNurseCreditMemo (CreditMemoNum)"),
         QStringLiteral("CREATE INDEX ix_tbNurseCreditMemo_IDNum ON STATION..tbNurseCreditMemo (IDNum)")}},
        {9,
         QStringLiteral("The items of the OR packages and those a stay did not use, and the "
                        "oxygen tanks opened and closed for piped oxygen"),
         {
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoPackageItems (PackageItemID ident, PackageID vchar NOT NULL DEFAULT '', RevenueID vchar NOT NULL DEFAULT '', SummaryCode vchar NOT NULL DEFAULT '', ItemID vchar NOT NULL DEFAULT '', Quantity float NOT NULL DEFAULT 0, Amount money, LocationID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbCoPackageItems_PackageID ON BUILD_FILE..tbCoPackageItems (PackageID)"),
         QStringLiteral("CREATE TABLE STATION..tbPackageItemsUnused (UnusedID ident, IDNum vchar NOT NULL DEFAULT '', PackageID vchar NOT NULL DEFAULT '', ChargeSlip vchar NOT NULL DEFAULT '', RevenueID vchar NOT NULL DEFAULT '', ItemID vchar NOT NULL DEFAULT '', Quantity float NOT NULL DEFAULT 0, Amount money NOT NULL DEFAULT 0, UserID vchar NOT NULL DEFAULT '', StationID vchar NOT NULL DEFAULT '', TransDate datetime, RecordStatus vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbPackageItemsUnused_IDNum ON STATION..tbPackageItemsUnused (IDNum, PackageID)"),
         QStringLiteral("CREATE TABLE STATION..tbOpenCloseTank (TankID ident, IDNum vchar NOT NULL DEFAULT '', ItemID vchar NOT NULL DEFAULT '', TankNum vchar NOT NULL DEFAULT '', Status smallint NOT NULL DEFAULT 1, OpeningTime datetime, ClosingTime datetime, Hours float NOT NULL DEFAULT 0, Amount money NOT NULL DEFAULT 0, ChargeSlip vchar NOT NULL DEFAULT '', OpenedBy vchar NOT NULL DEFAULT '', ClosedBy vchar NOT NULL DEFAULT '', StationID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE UNIQUE INDEX ux_tbOpenCloseTank_Open ON STATION..tbOpenCloseTank (IDNum) WHERE Status = 1")}},
        {10,
         QStringLiteral("The discharge order's case rates: the insurance's packages and the case "
                        "rates of diagnoses and operations, a stay's final diagnoses, tagged "
                        "lines and doctors' fees, the billing checklist, and what the notice "
                        "tells billing"),
         {
         QStringLiteral("CREATE TABLE MEDICARE..tbMedPackage (PackageID vchar NOT NULL PRIMARY KEY, Package vchar NOT NULL DEFAULT '', Amount money, PF money, HCIPercentage float, PFPercentage float, CaseRatePercentage float, IsAllowSecondCR flag NOT NULL DEFAULT 0)"),
         QStringLiteral("CREATE TABLE MEDICARE..tbMed_MedicalCaseRates (ICDCode vchar NOT NULL PRIMARY KEY, PackageID vchar NOT NULL DEFAULT '', Description vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbMed_MedicalCaseRates_PackageID ON MEDICARE..tbMed_MedicalCaseRates (PackageID)"),
         QStringLiteral("CREATE TABLE MEDICARE..tbMed_Procedures (RVSCode vchar NOT NULL PRIMARY KEY, PackageID vchar NOT NULL DEFAULT '', Description vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbMed_Procedures_PackageID ON MEDICARE..tbMed_Procedures (PackageID)"),
         QStringLiteral("CREATE TABLE MEDICARE..tbMedActual (IDNum vchar NOT NULL PRIMARY KEY, ComputedDate datetime, UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE TABLE PATIENT_DATA..tbPatientDiagnosis (IDNum vchar NOT NULL, OrderNumber int NOT NULL, DiagnosisID vchar NOT NULL DEFAULT '', PrimaryDiagnosis vchar NOT NULL DEFAULT 'N', PRIMARY KEY (IDNum, OrderNumber))"),
         QStringLiteral("CREATE TABLE STATION..tbNurseProfFees (FeeID ident, IDNum vchar NOT NULL DEFAULT '', DoctorID vchar NOT NULL DEFAULT '', DoctorName vchar NOT NULL DEFAULT '', PF money NOT NULL DEFAULT 0, OrderNumber int NOT NULL DEFAULT 0, CaseType vchar NOT NULL DEFAULT '', RoleID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbNurseProfFees_IDNum ON STATION..tbNurseProfFees (IDNum, CaseType)"),
         QStringLiteral("CREATE TABLE STATION..tbPxICDRVS (LineID ident, IDNum vchar NOT NULL DEFAULT '', LineNumber int NOT NULL DEFAULT 0, CaseType vchar NOT NULL DEFAULT '', ICD vchar NOT NULL DEFAULT '', RVS vchar NOT NULL DEFAULT '', ICDDescription vchar NOT NULL DEFAULT '', RVSDescription vchar NOT NULL DEFAULT '', OperationDate datetime)"),
         QStringLiteral("CREATE INDEX ix_tbPxICDRVS_IDNum ON STATION..tbPxICDRVS (IDNum, LineNumber)"),
         QStringLiteral("CREATE TABLE STATION..tbPHICDxRole (Role vchar NOT NULL PRIMARY KEY, Status vchar NOT NULL DEFAULT 'Y')"),
         QStringLiteral("CREATE TABLE STATION..tbPHICSubDesc (Code vchar NOT NULL, SortOrder int NOT NULL DEFAULT 0, SubDesc vchar NOT NULL DEFAULT '', PRIMARY KEY (Code, SortOrder))"),
         QStringLiteral("CREATE TABLE STATION..tbNurse_BillingCheckItems (Item vchar NOT NULL PRIMARY KEY, SortOrder int NOT NULL DEFAULT 0, Status vchar NOT NULL DEFAULT 'Y')"),
         QStringLiteral("CREATE TABLE STATION..tbNurse_BillingCheckList (IDNum vchar NOT NULL, Item vchar NOT NULL, State smallint NOT NULL DEFAULT 0, UserID vchar NOT NULL DEFAULT '', TransDate datetime, PRIMARY KEY (IDNum, Item))"),
         QStringLiteral("ALTER TABLE STATION..tbNurseDischargeNotice ADD COLUMN BillUpTo datetime"),
         QStringLiteral("ALTER TABLE STATION..tbNurseDischargeNotice ADD COLUMN OperationDate datetime"),
         QStringLiteral("ALTER TABLE STATION..tbNurseDischargeNotice ADD COLUMN Procedures memo"),
         QStringLiteral("ALTER TABLE STATION..tbNurseDischargeNotice ADD COLUMN MedicalFees memo"),
         QStringLiteral("ALTER TABLE STATION..tbNurseDischargeNotice ADD COLUMN FinalDiagnosis memo")}},
        {11,
         QStringLiteral("The OR record written by the program: specimen times, the anaesthesia "
                        "sheet, laterality, the signatures of the five roles, and the sponge and "
                        "instrument counts"),
         {
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN TransDate datetime"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SpongeCount vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Nurse3 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SpecimenInDate datetime"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SpecimenInTime datetime"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SpecimenOutDate datetime"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SpecimenOutTime datetime"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN OperationProposed vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN FoodIntake vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN ManualORNo vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN TotalFluids vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN BloodProducts vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PreOPBP vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PreOPTemp vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PreOPPR vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PreOPRR vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PostOPBP vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PostOPO2Sat vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PostOPPR vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PostOPRR vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PostOPStatus vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SystemReview memo"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Premedication memo"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Inductions memo"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Maintenance memo"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN preopdxlat vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN postopdxlat vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN opperformedlat vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SurgeonSignID vchar"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SurgeonDateSign datetime"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN ASurgeonSignID vchar"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN ASurgeonDateSign datetime"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN AnestSignID vchar"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN AnesDateSign datetime"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN CNurseSignID vchar"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN CnurseDateSign datetime"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SNurseSignID vchar"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SnurseDateSign datetime"),
         QStringLiteral("CREATE TABLE STATION..tbSpongeCount (SpongeCountID ident, IdNum vchar NOT NULL DEFAULT '', Column1 vchar NOT NULL DEFAULT '', Column2 vchar NOT NULL DEFAULT '', Column3 vchar NOT NULL DEFAULT '', Column4 vchar NOT NULL DEFAULT '', Column5 vchar NOT NULL DEFAULT '', Column6 vchar NOT NULL DEFAULT '', Column7 vchar NOT NULL DEFAULT '', RowNumber int NOT NULL DEFAULT 0, OperatingNum int NOT NULL DEFAULT 0, CountedBy vchar NOT NULL DEFAULT '', Type vchar NOT NULL DEFAULT '', CountedAt datetime, Discrepancy flag NOT NULL DEFAULT 0)"),
         QStringLiteral("CREATE INDEX ix_tbSpongeCount_OperatingNum ON STATION..tbSpongeCount (OperatingNum, Type)")}},
        {12,
         QStringLiteral("Every charge batch carries the identity its workstation gave it, so "
                        "that a batch whose commit went unanswered is found, never posted twice"),
         {
         QStringLiteral("ALTER TABLE STATION..tbORChargeSlipIssued ADD COLUMN BatchID vchar"),
         QStringLiteral("CREATE UNIQUE INDEX ux_tbORChargeSlipIssued_BatchID ON STATION..tbORChargeSlipIssued (BatchID)")}},
        {13,
         QStringLiteral("The main window's monitors find results waiting to be printed and "
                        "discharge notices not yet cleared by an index"),
         {
         QStringLiteral("CREATE INDEX ix_tbLabResult_Printed ON LABORATORY..tbLabResult (StationID, Printed)"),
         QStringLiteral("CREATE INDEX ix_tbNurseDischargeNotice_Open ON STATION..tbNurseDischargeNotice (ClearDate)")}},
        {14,
         QStringLiteral("Discharges and room transfers: the result and disposition of a "
                        "discharge, the transfers of a stay, billing's processing sheet on the "
                        "notice, the discharge instructions, medicines and home care plan"),
         {
         QStringLiteral("ALTER TABLE STATION..tbNurseDischargeNotice ADD COLUMN ProcessedDate datetime"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbPatient ADD COLUMN DcrResult vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbPatient ADD COLUMN DcrDisposition vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbPatient ADD COLUMN DcrUserID vchar NOT NULL DEFAULT ''"),
         QStringLiteral("CREATE INDEX ix_tbPatient_RoomID ON PATIENT_DATA..tbPatient (RoomID, DcrDate)"),
         QStringLiteral("CREATE TABLE PATIENT_DATA..tbPatientRoomTransfer (TransferID ident, IDNum vchar NOT NULL DEFAULT '', FromRoom vchar NOT NULL DEFAULT '', ToRoom vchar NOT NULL DEFAULT '', TransferDate datetime, RoomRate money NOT NULL DEFAULT 0, UserID vchar NOT NULL DEFAULT '', Flag vchar NOT NULL DEFAULT '0')"),
         QStringLiteral("CREATE INDEX ix_tbPatientRoomTransfer_IDNum ON PATIENT_DATA..tbPatientRoomTransfer (IDNum, TransferDate)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseDischargeInstructions (IDNum vchar NOT NULL PRIMARY KEY, Instructions memo, Medications memo, CheckUp vchar NOT NULL DEFAULT '', CheckInOn vchar NOT NULL DEFAULT '', ActivityLevel memo, DietInstruction memo, WhatToObserve memo, Guardian vchar NOT NULL DEFAULT '', ReceivedBy vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '', UserID2 vchar NOT NULL DEFAULT '', TransDate datetime)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseDischargeMedications (MedicationID ident, IDNum vchar NOT NULL DEFAULT '', Drug vchar NOT NULL DEFAULT '', Dose vchar NOT NULL DEFAULT '', Frequency vchar NOT NULL DEFAULT '', Duration vchar NOT NULL DEFAULT '', TimeA vchar NOT NULL DEFAULT '', TimeB vchar NOT NULL DEFAULT '', TimeC vchar NOT NULL DEFAULT '', Transdate datetime, UserID vchar NOT NULL DEFAULT '', Remarks vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbNurseDischargeMedications_IDNum ON STATION..tbNurseDischargeMedications (IDNum)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseHomeCarePlan (IDNum vchar NOT NULL PRIMARY KEY, PlanText memo, UserID vchar NOT NULL DEFAULT '', TransDate datetime)")}},
        {15,
         QStringLiteral("The prices of the diagnostic departments' examinations by rate letter, "
                        "and the examinations a cash-basis patient may be sent for"),
         {
         QStringLiteral("ALTER TABLE BUILD_FILE..tbCoLabExam ADD COLUMN Unrestricted flag NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE BUILD_FILE..tbCoXrayExam ADD COLUMN Unrestricted flag NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE BUILD_FILE..tbCoUltraExam ADD COLUMN Unrestricted flag NOT NULL DEFAULT 0"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoExamRate (RevenueID vchar NOT NULL, ExamID vchar NOT NULL, RateA money NOT NULL DEFAULT 0, RateB money NOT NULL DEFAULT 0, RateC money NOT NULL DEFAULT 0, RateD money NOT NULL DEFAULT 0, RateE money NOT NULL DEFAULT 0, RateF money NOT NULL DEFAULT 0, RateG money NOT NULL DEFAULT 0, RateH money NOT NULL DEFAULT 0, RateI money NOT NULL DEFAULT 0, PRIMARY KEY (RevenueID, ExamID))"),
         QStringLiteral("CREATE INDEX ix_tbCoExamRate_ExamID ON BUILD_FILE..tbCoExamRate (ExamID)")}},
        {16,
         QStringLiteral("The pharmacy's clearance of an admission, which billing sets to \"B\" "
                        "when the stay's pharmacy charges go under cash basis"),
         {
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbPatient2 ADD COLUMN OkeyPH vchar NOT NULL DEFAULT ''")}},
        {17,
         QStringLiteral("The admitted patients the OR has still to check in are found by an index "
                        "of their own, however many operations the hospital has confirmed"),
         {
         QStringLiteral("CREATE INDEX ix_tbORScheduleDetails_NotChecked ON SCHEDULE..tbORScheduleDetails (IDNum) WHERE RecordStatus = 'C' AND COALESCE(ORNotified, '') <> 'Y'")}},
        {18,
         QStringLiteral("The nurses' pre-operative checklist, pre-anaesthetic evaluation, surgical "
                        "safety checklist and labour room form of a stay, and the lines of the "
                        "checklists with who answered each and when"),
         {
         QStringLiteral("CREATE TABLE STATION..tbNursePreOp (IdNum vchar NOT NULL PRIMARY KEY, Surgeon vchar NOT NULL DEFAULT '', Anesthesiologist vchar NOT NULL DEFAULT '', TimeSched vchar NOT NULL DEFAULT '', DateSched vchar NOT NULL DEFAULT '', ByWhom vchar NOT NULL DEFAULT '', Operation vchar NOT NULL DEFAULT '', Spiritual memo, Remarks memo, Signs vchar NOT NULL DEFAULT '', Medicine vchar NOT NULL DEFAULT '', Dose vchar NOT NULL DEFAULT '', Time vchar NOT NULL DEFAULT '', YesNo vchar NOT NULL DEFAULT '', Signers vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '', TransDate datetime)"),
         QStringLiteral("CREATE TABLE STATION..tbNursePreAnesthetic (IdNum vchar NOT NULL PRIMARY KEY, Surgeon vchar NOT NULL DEFAULT '', Anesthesiologist vchar NOT NULL DEFAULT '', TimeSched vchar NOT NULL DEFAULT '', DateSched vchar NOT NULL DEFAULT '', Operation vchar NOT NULL DEFAULT '', PreOperative memo, Remarks memo, OtherBoxes memo, YesNo memo, UserID vchar NOT NULL DEFAULT '', TransDate datetime)"),
         QStringLiteral("CREATE TABLE STATION..tbORSSC (IdNum vchar NOT NULL PRIMARY KEY, SurgeonSignIn vchar NOT NULL DEFAULT '', AnesthesiologistSignIn vchar NOT NULL DEFAULT '', NurseSignIn vchar NOT NULL DEFAULT '', SurgeonTimeOut vchar NOT NULL DEFAULT '', AnesthesiologistTimeOut vchar NOT NULL DEFAULT '', NurseTimeOut vchar NOT NULL DEFAULT '', SurgeonSignOut vchar NOT NULL DEFAULT '', AnesthesiologistSignOut vchar NOT NULL DEFAULT '', NurseSignOut vchar NOT NULL DEFAULT '', Operation vchar NOT NULL DEFAULT '', SignIn vchar NOT NULL DEFAULT '', TimeOut vchar NOT NULL DEFAULT '', SignOut vchar NOT NULL DEFAULT '', ChkBoxes memo, UserID vchar NOT NULL DEFAULT '', TransDate datetime)"),
         QStringLiteral("CREATE TABLE STATION..tbLRForm (IdNum vchar NOT NULL PRIMARY KEY, Gravida vchar NOT NULL DEFAULT '', Para vchar NOT NULL DEFAULT '', DTAdmittedLR vchar NOT NULL DEFAULT '', DTAdmittedDR vchar NOT NULL DEFAULT '', NotifiedBy vchar NOT NULL DEFAULT '', receivedby vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '', TransDate datetime)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseFormItem (FormID vchar NOT NULL, IdNum vchar NOT NULL, ItemNo int NOT NULL, Section vchar NOT NULL DEFAULT '', Item vchar NOT NULL DEFAULT '', Answer vchar NOT NULL DEFAULT '', Remarks vchar NOT NULL DEFAULT '', AnsweredBy vchar NOT NULL DEFAULT '', AnsweredAt datetime, Late flag NOT NULL DEFAULT 0, PRIMARY KEY (FormID, IdNum, ItemNo))")}},
        {19,
         QStringLiteral("The consents a patient or his representative signs, and the hourly "
                        "monitoring and fluid intake and output sheets of a stay"),
         {
         QStringLiteral("CREATE TABLE STATION..tbSurgicalAuthorization (IDNum vchar NOT NULL PRIMARY KEY, Surgeon vchar NOT NULL DEFAULT '', Procedure memo, Exception memo, Witness vchar NOT NULL DEFAULT '', DateSigned datetime, Reason memo, Representative vchar NOT NULL DEFAULT '', Relation vchar NOT NULL DEFAULT '', Transdate datetime, HostName vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE TABLE STATION..tbConsentTreatment (IDNum vchar NOT NULL PRIMARY KEY, Witness vchar NOT NULL DEFAULT '', DateSigned datetime, Reason memo, Representative vchar NOT NULL DEFAULT '', Relation vchar NOT NULL DEFAULT '', Transdate datetime, HostName vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE TABLE STATION..tbSterilizationConsent (IDnum vchar NOT NULL PRIMARY KEY, Procedure memo, Witness vchar NOT NULL DEFAULT '', Authorized vchar NOT NULL DEFAULT '', ConsentingSpouse vchar NOT NULL DEFAULT '', Transdate datetime, HostName vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE TABLE STATION..tbSpecialTreatmentConsent (IDnum vchar NOT NULL PRIMARY KEY, Doctor vchar NOT NULL DEFAULT '', Procedure memo, Witness vchar NOT NULL DEFAULT '', Reason memo, Representative vchar NOT NULL DEFAULT '', Relation vchar NOT NULL DEFAULT '', MinorAge vchar NOT NULL DEFAULT '', Transdate datetime, HostName vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE TABLE STATION..tbHourlyMonitoringSheet (EntryID ident, IDnum vchar NOT NULL DEFAULT '', Date datetime NOT NULL, RowNo int NOT NULL DEFAULT 0, HourTime vchar NOT NULL DEFAULT '', Mainline int, LALF int, RARF int, OralNGT int, IntakeTotal int, Urine int, Drain1 int, Drain2 int, Others int, OutputTotal int, Remarks memo, UserID vchar NOT NULL DEFAULT '', HostName vchar NOT NULL DEFAULT '', Transdate datetime)"),
         QStringLiteral("CREATE UNIQUE INDEX ux_tbHourlyMonitoringSheet_Row ON STATION..tbHourlyMonitoringSheet (IDnum, Date, RowNo)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseFluid (IDNum vchar NOT NULL, DateEntered datetime NOT NULL, Shift vchar NOT NULL, Oral int NOT NULL DEFAULT 0, Parenteral int NOT NULL DEFAULT 0, InputTotal int NOT NULL DEFAULT 0, Urine int NOT NULL DEFAULT 0, Drainage int NOT NULL DEFAULT 0, Others int NOT NULL DEFAULT 0, OutputTotal int NOT NULL DEFAULT 0, NurseID vchar NOT NULL DEFAULT '', HostName vchar NOT NULL DEFAULT '', Transdate datetime, PRIMARY KEY (IDNum, DateEntered, Shift))")}},
        {20,
         QStringLiteral("The surgical memorandum of an operation (case number, counts, vital signs, "
                        "obstetric data and its sponge records), the caesarean procedures, and "
                        "the staff of the cardiovascular operations with indexes to find them"),
         {
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN CaseNumber vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SuturesText vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN InstrumentsInitial vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN InstrumentsFinal vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Sponge4 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Sponge4Final vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Sponge8 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Sponge8Final vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Peanuts vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PeanutsFinal vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN VisceralPack vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN VisceralPackFinal vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Needles vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN NeedlesFinal vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN AnestheticAgent vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PreOPHR vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PreOPO2Sat vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PreOPWt vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Menarche vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN LMP vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Babyout vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PlacentaOut vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN TimeOfInduction vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Gravida vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Para vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Abortion vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Living vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN FDIU vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN StillBirth vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN Gender vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN BirthWeight vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN BodyLength vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN ApgarScore vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN SMAnd vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PresentationCBF vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbORMasterFile ADD COLUMN PresentationDS vchar NOT NULL DEFAULT ''"),
         QStringLiteral("CREATE TABLE STATION..tbIsCesareanPRC (PrcID vchar NOT NULL PRIMARY KEY)"),
         QStringLiteral("CREATE TABLE STATION..tbORSpongeRecords (EntryNum ident, HospNum vchar NOT NULL DEFAULT '', IdNum vchar NOT NULL DEFAULT '', OperatingNum int NOT NULL DEFAULT 0, CounterStaff1 vchar NOT NULL DEFAULT '', CounterStaff2 vchar NOT NULL DEFAULT '', Procedures vchar NOT NULL DEFAULT '', Sponge vchar NOT NULL DEFAULT '', InitialCount int NOT NULL DEFAULT 0, FirstCountOnTable int NOT NULL DEFAULT 0, FirstCountOnFloor int NOT NULL DEFAULT 0, FirstCountTotal int NOT NULL DEFAULT 0, SecondCountOnTable int NOT NULL DEFAULT 0, SecondCountOnFloor int NOT NULL DEFAULT 0, SecondCountTotal int NOT NULL DEFAULT 0)"),
         QStringLiteral("CREATE INDEX ix_tbORSpongeRecords_OperatingNum ON STATION..tbORSpongeRecords (OperatingNum, EntryNum)"),
         QStringLiteral("CREATE TABLE STATION..tbCVORInfo (IdNum vchar NOT NULL, RefNum vchar NOT NULL, Surgeon vchar NOT NULL DEFAULT '', AsstSurgeon vchar NOT NULL DEFAULT '', Anesthesiologist vchar NOT NULL DEFAULT '', AssocAnest vchar NOT NULL DEFAULT '', Intensivist vchar NOT NULL DEFAULT '', Perfutionist vchar NOT NULL DEFAULT '', ScrubNurse1 vchar NOT NULL DEFAULT '', ScrubNurse2 vchar NOT NULL DEFAULT '', Circulator1 vchar NOT NULL DEFAULT '', Circulator2 vchar NOT NULL DEFAULT '', LastUpdated datetime, PRIMARY KEY (IdNum, RefNum))"),
         QStringLiteral("CREATE INDEX ix_tbPatient_CVOR ON PATIENT_DATA..tbPatient (isCVOR, HospNum)"),
         QStringLiteral("CREATE INDEX ix_tbOutPatient_CVOR ON PATIENT_DATA..tbOutPatient (isCVOR, HospNum)")}},
        {21,
         QStringLiteral("The result entry that closes an outpatient OR visit: its category, "
                        "disposition, services, doctors, diet, findings, medications and "
                        "diagnoses, the emergency-room record and the deaths it records"),
         {
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN PatientCategory vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN Disposition vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN ServiceID1 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN ServiceID2 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN ServiceID3 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN ServiceID4 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN ServiceID5 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN DoctorID3 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN DoctorID4 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN DoctorID5 vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN DietID vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN DcrUserID vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutpatientHistory ADD COLUMN Findings memo"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutpatientHistory ADD COLUMN Medications memo"),
         QStringLiteral("CREATE TABLE PATIENT_DATA..tbOutpatientDiagnosis (IDNum vchar NOT NULL, OrderNumber smallint NOT NULL, ICDCode vchar NOT NULL DEFAULT '', PRIMARY KEY (IDNum, OrderNumber))"),
         QStringLiteral("CREATE TABLE PATIENT_DATA..tbERMaster (IDNum vchar NOT NULL PRIMARY KEY, ERNum vchar, HospNum vchar NOT NULL DEFAULT '', ERClassID1 vchar NOT NULL DEFAULT '', ERClassID2 vchar NOT NULL DEFAULT '', ERClassID3 vchar NOT NULL DEFAULT '', ERClassID4 vchar NOT NULL DEFAULT '', ERClassID5 vchar NOT NULL DEFAULT '', ERClassification vchar NOT NULL DEFAULT '', DischargeRemarks memo, ReasonofReferral memo, ReferredTo vchar NOT NULL DEFAULT '', DischargeCondition smallint, DateTimeTransferred datetime)"),
         QStringLiteral("CREATE INDEX ix_tbERMaster_HospNum ON PATIENT_DATA..tbERMaster (HospNum)"),
         QStringLiteral("CREATE TABLE STATION..tbERDeathMaster (DeathID ident, HospNum vchar NOT NULL DEFAULT '', DeathType vchar NOT NULL DEFAULT '', DateTimeExpired datetime, DateTimeReleased datetime, FuneralParlor vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbERDeathMaster_HospNum ON STATION..tbERDeathMaster (HospNum)")}},
        {22,
         QStringLiteral("Cash and clinical assessments: the assessments with their status, the "
                        "unit price, remarks and specimen of each assessed line, the print "
                        "buffer of the assessment slip, cash credit memos with their counter, "
                        "and the specimens of the laboratory's examinations"),
         {
         QStringLiteral("CREATE TABLE STATION..tbORAssessment (AssessNum vchar NOT NULL PRIMARY KEY, Kind vchar NOT NULL DEFAULT '', IDNum vchar NOT NULL DEFAULT '', HospNum vchar NOT NULL DEFAULT '', PatientName vchar NOT NULL DEFAULT '', StationID vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '', TransDate datetime, Status vchar NOT NULL DEFAULT 'PENDING', RevokedBy vchar NOT NULL DEFAULT '', RevokedDate datetime, CashierDate datetime, BatchID vchar)"),
         QStringLiteral("CREATE UNIQUE INDEX ux_tbORAssessment_BatchID ON STATION..tbORAssessment (BatchID)"),
         QStringLiteral("CREATE INDEX ix_tbORAssessment_Station ON STATION..tbORAssessment (StationID, Kind, TransDate)"),
         QStringLiteral("CREATE INDEX ix_tbORAssessment_IDNum ON STATION..tbORAssessment (IDNum, TransDate)"),
         QStringLiteral("ALTER TABLE BILLING..tbCashAssessment ADD COLUMN UnitPrice money NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE BILLING..tbCashAssessment ADD COLUMN CreditedAmount money NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE BILLING..tbCashAssessment ADD COLUMN Remarks vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE BILLING..tbCashAssessment ADD COLUMN SpecimenID vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE BILLING..tbCashAssessment ADD COLUMN Portable flag NOT NULL DEFAULT 0"),
         QStringLiteral("CREATE TABLE STATION..tbORAssessPrint (PrintID ident, HostName vchar NOT NULL DEFAULT '', AssessNum vchar NOT NULL DEFAULT '', RevenueID vchar NOT NULL DEFAULT '', ItemID vchar NOT NULL DEFAULT '', Description vchar NOT NULL DEFAULT '', Quantity float NOT NULL DEFAULT 0, Amount money NOT NULL DEFAULT 0, TransDate datetime)"),
         QStringLiteral("CREATE INDEX ix_tbORAssessPrint_Host ON STATION..tbORAssessPrint (HostName, AssessNum)"),
         QStringLiteral("CREATE TABLE BILLING..tbAssessmentNum (ID int NOT NULL PRIMARY KEY, AssessmentNum bigint NOT NULL DEFAULT 1, CMAdvisenum bigint NOT NULL DEFAULT 1)"),
         QStringLiteral("CREATE TABLE BILLING..tbCashCMAdvise (CMLineID ident, CMAdviseNum vchar NOT NULL DEFAULT '', AssessmentID int NOT NULL DEFAULT 0, RefNum vchar NOT NULL DEFAULT '', IDNum vchar NOT NULL DEFAULT '', RevenueID vchar NOT NULL DEFAULT '', ItemID vchar NOT NULL DEFAULT '', Description vchar NOT NULL DEFAULT '', Quantity float NOT NULL DEFAULT 0, Amount money NOT NULL DEFAULT 0, UserID vchar NOT NULL DEFAULT '', StationID vchar NOT NULL DEFAULT '', TransDate datetime)"),
         QStringLiteral("CREATE INDEX ix_tbCashCMAdvise_Num ON BILLING..tbCashCMAdvise (CMAdviseNum)"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoLabSpecimen (SpecimenID vchar NOT NULL PRIMARY KEY, Description vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoLabExamSpecimen (ExamID vchar NOT NULL, SpecimenID vchar NOT NULL, PRIMARY KEY (ExamID, SpecimenID))")}},
        {23,
         QStringLiteral("Late charges: an account the receivables section has invoiced takes no "
                        "more of them, and the search of billed accounts walks the patients' "
                        "names in the order it lists them"),
         {
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbPatient ADD COLUMN InvoiceDate datetime"),
         QStringLiteral("ALTER TABLE PATIENT_DATA..tbOutPatient ADD COLUMN InvoiceDate datetime"),
         QStringLiteral("CREATE INDEX ix_tbMaster_NameOrder ON PATIENT_DATA..tbMaster (LastName, FirstName, MiddleName, HospNum)")}},
        {24,
         QStringLiteral("Exam requests: the laboratory's profiles and the STAT rule and specimen "
                        "need of its examinations, who processed a request and when, the "
                        "specimen and section sent with it, the laboratory's request-form print "
                        "table, and an index for the checks that guard a request"),
         {
         QStringLiteral("ALTER TABLE BUILD_FILE..tbCoLabExam ADD COLUMN Stat vchar"),
         QStringLiteral("ALTER TABLE BUILD_FILE..tbCoLabExam ADD COLUMN SpecimenRequired flag NOT NULL DEFAULT 0"),
         QStringLiteral("CREATE TABLE BUILD_FILE..tbCoLabProfile (ProfileID vchar NOT NULL, ExamID vchar NOT NULL, PRIMARY KEY (ProfileID, ExamID))"),
         QStringLiteral("CREATE INDEX ix_tbCoLabProfile_ExamID ON BUILD_FILE..tbCoLabProfile (ExamID)"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN ProcessBy vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN ProcessDate datetime"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN SpecimenID vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN Specimen vchar NOT NULL DEFAULT ''"),
         QStringLiteral("ALTER TABLE STATION..tbNurseCommunicationfile ADD COLUMN Section vchar NOT NULL DEFAULT ''"),
         QStringLiteral("CREATE INDEX ix_tbNurseCommunicationfile_Exam ON STATION..tbNurseCommunicationfile (IDNum, ExamCode, RevenueID, RequestDate)"),
         QStringLiteral("CREATE TABLE LABORATORY..tbLabRequestForm (FormLineID ident, UserID vchar NOT NULL DEFAULT '', Source vchar NOT NULL DEFAULT '', IdNum vchar NOT NULL DEFAULT '', PatientName vchar NOT NULL DEFAULT '', AccountNum vchar NOT NULL DEFAULT '', Doctor vchar NOT NULL DEFAULT '', Room vchar NOT NULL DEFAULT '', Accommodation vchar NOT NULL DEFAULT '', ExamCode vchar NOT NULL DEFAULT '', Description vchar NOT NULL DEFAULT '', Section vchar NOT NULL DEFAULT '', ExamType vchar NOT NULL DEFAULT '', Specimen vchar NOT NULL DEFAULT '', RequestNum vchar NOT NULL DEFAULT '', ChargeDate datetime, Priority vchar NOT NULL DEFAULT '', PatientType vchar NOT NULL DEFAULT '', Nurse vchar NOT NULL DEFAULT '', Transplant vchar NOT NULL DEFAULT '', Dialysis vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbLabRequestForm_UserID ON LABORATORY..tbLabRequestForm (UserID, RequestNum)")}},
        {25,
         QStringLiteral("Pharmacy transcriptions: the doctors' medication orders of a stay, and "
                        "the orders transcribed into pharmacy request lines under an assessment "
                        "number, with the state the pharmacy and the ward left them in"),
         {
         QStringLiteral("CREATE TABLE STATION..tbNurseDoctorOrders (OrderID ident, IdNum vchar NOT NULL DEFAULT '', DoctorID vchar NOT NULL DEFAULT '', OrderDate datetime, Orders memo, UserID vchar NOT NULL DEFAULT '')"),
         QStringLiteral("CREATE INDEX ix_tbNurseDoctorOrders_IdNum ON STATION..tbNurseDoctorOrders (IdNum, OrderDate)"),
         QStringLiteral("CREATE TABLE STATION..tbNurseTranscription (TransNum ident, HospNum vchar NOT NULL DEFAULT '', IdNum vchar NOT NULL DEFAULT '', PatientClass vchar NOT NULL DEFAULT '', ItemID vchar NOT NULL DEFAULT '', Description vchar NOT NULL DEFAULT '', Dosage vchar NOT NULL DEFAULT '', Frequency vchar NOT NULL DEFAULT '', Quantity float NOT NULL DEFAULT 0, Amount money NOT NULL DEFAULT 0, Remarks vchar NOT NULL DEFAULT '', TransDate datetime, RevenueID vchar NOT NULL DEFAULT '', DoctorID vchar NOT NULL DEFAULT '', UserID vchar NOT NULL DEFAULT '', StationID vchar NOT NULL DEFAULT '', SentFlag vchar NOT NULL DEFAULT '', AssessmentNum vchar NOT NULL DEFAULT '', RoomID vchar NOT NULL DEFAULT '', RecordStatus vchar NOT NULL DEFAULT '', ProcessedBy vchar NOT NULL DEFAULT '', ProcessedDate datetime, RevokedBy vchar NOT NULL DEFAULT '', RevokedDate datetime)"),
         QStringLiteral("CREATE INDEX ix_tbNurseTranscription_IdNum ON STATION..tbNurseTranscription (IdNum, TransNum)"),
         QStringLiteral("CREATE INDEX ix_tbNurseTranscription_AssessmentNum ON STATION..tbNurseTranscription (AssessmentNum)")}},
        {26,
         QStringLiteral("The pending charges of a stay, which every posting adds up against "
                        "the credit line, are read from the logbook's index alone"),
         {
         QStringLiteral("DROP INDEX IF EXISTS STATION..ix_tbNurseLogBook_IDNum"),
         QStringLiteral("CREATE INDEX ix_tbNurseLogBook_IDNum ON STATION..tbNurseLogBook (IDNum, RecordStatus, Amount)")}},
        {27,
         QStringLiteral("The admitted patients' alert reads the few operations the OR has still to "
                        "check in first, and the patients in the hospital from an index of their own"),
         {
         QStringLiteral("DROP INDEX IF EXISTS SCHEDULE..ix_tbORScheduleDetails_NotChecked"),
         QStringLiteral("CREATE INDEX ix_tbORScheduleDetails_NotChecked ON SCHEDULE..tbORScheduleDetails (RecordStatus, IDNum) WHERE RecordStatus = 'C' AND ORNotified <> 'Y'"),
         QStringLiteral("CREATE INDEX ix_tbPatient_Admitted ON PATIENT_DATA..tbPatient (IDNum, HospNum, RoomID, RecordStatus) WHERE DcrDate IS NULL")}},
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
