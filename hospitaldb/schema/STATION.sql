-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- The nursing stations' own data: settings and switches, user rights, the station log, the
-- charge slip counters, the logbook of posted charges and the discharge notices.

-- Settings shared by the nursing stations: exactly one row.
CREATE TABLE tbNursing_Settings (
    ORNoPreprinted flag NOT NULL DEFAULT 0,
    ValidateUnusedMedClearance flag NOT NULL DEFAULT 0,
    AllowAfterTimeRate flag NOT NULL DEFAULT 0,
    -- "hh:mm": the hour after which the after-time rate applies.
    ORAfterTime vchar NOT NULL DEFAULT '',
    AutoORMarkUp flag NOT NULL DEFAULT 0,
    AfterTimeStatHours smallint NOT NULL DEFAULT 0,
    SecProcPercentDiscount smallint NOT NULL DEFAULT 0,
    ORProceduresAllSection flag NOT NULL DEFAULT 0,
    ShowPrecautions flag NOT NULL DEFAULT 0,
    ORCategoryAuto flag NOT NULL DEFAULT 0,
    NoRequestingAfterFinalNotice flag NOT NULL DEFAULT 0,
    PrintPHCSRequest flag NOT NULL DEFAULT 0,
    AppendDrugDescCharge flag NOT NULL DEFAULT 0,
    AssessmentMaxItems smallint NOT NULL DEFAULT 0,
    ORHidePatientClass flag NOT NULL DEFAULT 0,
    EditVSByAuthor flag NOT NULL DEFAULT 0,
    AllowEditDeleteVitalSigns flag NOT NULL DEFAULT 0,
    -- Read directly by the schedule board and the charge window.
    OREditSchedProcedure flag NOT NULL DEFAULT 0,
    OR_AllowEditScheduleDateTime flag NOT NULL DEFAULT 0,
    ORDRMealDoctors flag NOT NULL DEFAULT 0,
    -- After-time surcharge in percent.
    ORAfterTimeRate smallint NOT NULL DEFAULT 0,
    -- The normal range of each vital sign ("low-high"), shaded on the profile's trend chart.
    VSNormalTemperature vchar NOT NULL DEFAULT '36.5-37.5',
    VSNormalPulse vchar NOT NULL DEFAULT '60-100',
    VSNormalRespiration vchar NOT NULL DEFAULT '12-20',
    VSNormalSystolic vchar NOT NULL DEFAULT '90-140',
    VSNormalDiastolic vchar NOT NULL DEFAULT '60-90',
    VSNormalO2Sat vchar NOT NULL DEFAULT '95-100'
);

-- Station switches as key/value rows. Rows are applied in the order they were entered, so the
-- table keeps its own running number to read them back in that order.
CREATE TABLE tbNurseSetup (
    SetupID ident,
    Field vchar NOT NULL DEFAULT '',
    value vchar,
    Description vchar
);

-- Every action worth remembering, by whom, from which workstation.
CREATE TABLE tbStationLogs (
    LogID ident,
    IdNum vchar NOT NULL DEFAULT '',
    TransDate datetime,
    Remarks vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    HostName vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbStationLogs_IdNum ON tbStationLogs (IdNum);

-- The death of a patient who died in the emergency room or arrived dead: one row per patient,
-- replaced by each result entry that records it.
CREATE TABLE tbERDeathMaster (
    DeathID ident,
    HospNum vchar NOT NULL DEFAULT '',
    DeathType vchar NOT NULL DEFAULT '',
    DateTimeExpired datetime,
    DateTimeReleased datetime,
    FuneralParlor vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbERDeathMaster_HospNum ON tbERDeathMaster (HospNum);
CREATE INDEX ix_tbStationLogs_TransDate ON tbStationLogs (TransDate);
CREATE INDEX ix_tbStationLogs_UserID ON tbStationLogs (UserID, TransDate);

-- The catalogue of access rights that can be granted; Status 'A' for those in use.
CREATE TABLE tbNurseUserSettings (
    ItemID vchar NOT NULL PRIMARY KEY,
    Description vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);

-- The rights of one employee: codes separated by "|", e.g. "|3|9|13".
CREATE TABLE tbNurseUserRights (
    EmployeeID vchar NOT NULL PRIMARY KEY,
    EmployeeRights vchar NOT NULL DEFAULT '',
    -- Who granted them last, and when.
    UserID vchar NOT NULL DEFAULT '',
    TransDate datetime
);

-- Charge slip counters, one row per station. ChargeSlip is the common sequence; IChargeSlip and
-- OChargeSlip are the inpatient and outpatient sequences of the fifteen-character format.
CREATE TABLE tbORChargeSlip (
    StationID vchar NOT NULL PRIMARY KEY,
    ChargeSlip bigint NOT NULL DEFAULT 1,
    IChargeSlip bigint NOT NULL DEFAULT 1,
    OChargeSlip bigint NOT NULL DEFAULT 1,
    AssessNum bigint NOT NULL DEFAULT 1,
    -- The station's credit memo sequence (returns of medicines and supplies).
    CreditMemo bigint NOT NULL DEFAULT 1
);

-- Charges posted by the stations, waiting for billing. RecordStatus '' while pending, 'R' once
-- revoked; ReferenceNum is the charge slip number of the batch.
CREATE TABLE tbNurseLogBook (
    LogBookID ident,
    IDNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    ReferenceNum vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    TransDate datetime,
    UserID vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    PatientClass vchar NOT NULL DEFAULT '',
    RoomID vchar NOT NULL DEFAULT '',
    ChargeDepartment vchar NOT NULL DEFAULT '',
    RequestingDoctorID vchar NOT NULL DEFAULT '',
    RequestingDoctorName vchar NOT NULL DEFAULT '',
    ARCode vchar NOT NULL DEFAULT '',
    PackageID vchar NOT NULL DEFAULT '',
    Markup vchar NOT NULL DEFAULT '',
    StatFlag vchar NOT NULL DEFAULT '',
    isSecORProc vchar NOT NULL DEFAULT '',
    Dosage vchar NOT NULL DEFAULT '',
    Remarks vchar NOT NULL DEFAULT '',
    RecordStatus vchar NOT NULL DEFAULT '',
    RevokedBy vchar NOT NULL DEFAULT '',
    RevokedDate datetime,
    -- What came back of the line through credit memos: never more than Quantity, and the
    -- amount credited for it, never more than Amount.
    ReturnedQty float NOT NULL DEFAULT 0,
    ReturnedAmount money NOT NULL DEFAULT 0,
    -- A medicine request's dosage frequency and route of administration.
    Frequency vchar NOT NULL DEFAULT '',
    Route vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbNurseLogBook_IDNum ON tbNurseLogBook (IDNum, RecordStatus, Amount);
CREATE INDEX ix_tbNurseLogBook_ReferenceNum ON tbNurseLogBook (ReferenceNum);
CREATE INDEX ix_tbNurseLogBook_TransDate ON tbNurseLogBook (TransDate);

-- Discharge notices sent to billing. RecordStatus 'P' pending, 'F' final; a clearance by a
-- department fills the Clear columns.
CREATE TABLE tbNurseDischargeNotice (
    NoticeID ident,
    IDNum vchar NOT NULL DEFAULT '',
    RecordStatus vchar NOT NULL DEFAULT '',
    IsFinal flag NOT NULL DEFAULT 0,
    StationID vchar NOT NULL DEFAULT '',
    NoticeDate datetime,
    OrderedDate datetime,
    Remarks vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    ClearDate datetime,
    ClearedBy vchar NOT NULL DEFAULT '',
    ClearRemarks vchar NOT NULL DEFAULT '',
    -- What the discharge order tells billing: bill up to, the operation, the fees and the
    -- final diagnosis as text.
    BillUpTo datetime,
    OperationDate datetime,
    Procedures memo,
    MedicalFees memo,
    FinalDiagnosis memo,
    -- When billing printed the processing sheet of a final notice: the ward may discharge.
    ProcessedDate datetime
);
CREATE INDEX ix_tbNurseDischargeNotice_IDNum ON tbNurseDischargeNotice (IDNum, RecordStatus);
CREATE INDEX ix_tbNurseDischargeNotice_Open ON tbNurseDischargeNotice (ClearDate);

-- What the patient takes home: the discharge instructions and medicines as text, the check-up
-- and the home care plan, one row per stay; the medicines also one row per drug.
CREATE TABLE tbNurseDischargeInstructions (
    IDNum vchar NOT NULL PRIMARY KEY,
    Instructions memo,
    Medications memo,
    CheckUp vchar NOT NULL DEFAULT '',
    CheckInOn vchar NOT NULL DEFAULT '',
    ActivityLevel memo,
    DietInstruction memo,
    WhatToObserve memo,
    Guardian vchar NOT NULL DEFAULT '',
    ReceivedBy vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    UserID2 vchar NOT NULL DEFAULT '',
    TransDate datetime
);
CREATE TABLE tbNurseDischargeMedications (
    MedicationID ident,
    IDNum vchar NOT NULL DEFAULT '',
    Drug vchar NOT NULL DEFAULT '',
    Dose vchar NOT NULL DEFAULT '',
    Frequency vchar NOT NULL DEFAULT '',
    Duration vchar NOT NULL DEFAULT '',
    TimeA vchar NOT NULL DEFAULT '',
    TimeB vchar NOT NULL DEFAULT '',
    TimeC vchar NOT NULL DEFAULT '',
    Transdate datetime,
    UserID vchar NOT NULL DEFAULT '',
    Remarks vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbNurseDischargeMedications_IDNum ON tbNurseDischargeMedications (IDNum);
CREATE TABLE tbNurseHomeCarePlan (
    IDNum vchar NOT NULL PRIMARY KEY,
    PlanText memo,
    UserID vchar NOT NULL DEFAULT '',
    TransDate datetime
);

-- The OR record: one row per operation, tied to the posted procedure charge (RefNum) of the
-- stay. Doctors and nurses are kept by their codes. Every moment of the operation is a full
-- date-time, since an operation may run past midnight; the record window also keeps the day of
-- each phase in its ...Date column. Category is a digit: '1' medium, '2' minor, '3' major,
-- '4' open heart, '5' normal delivery. ORNumber is the OR room's name.
CREATE TABLE tbORMasterFile (
    OperatingNum ident,
    IdNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    RefNum vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    PHICCode vchar NOT NULL DEFAULT '',
    PatientClass vchar NOT NULL DEFAULT '',
    SurgeonID1 vchar NOT NULL DEFAULT '',
    SurgeonID2 vchar NOT NULL DEFAULT '',
    SurgeonID3 vchar NOT NULL DEFAULT '',
    OtherSurgeons vchar NOT NULL DEFAULT '',
    AnestheID vchar NOT NULL DEFAULT '',
    Anesth1 vchar NOT NULL DEFAULT '',
    Anesth2 vchar NOT NULL DEFAULT '',
    -- The type of anaesthesia, as the procedure list names it.
    Anesthesia vchar NOT NULL DEFAULT '',
    SnurseID1 vchar NOT NULL DEFAULT '',
    SnurseID2 vchar NOT NULL DEFAULT '',
    SNOthers vchar NOT NULL DEFAULT '',
    CnurseID1 vchar NOT NULL DEFAULT '',
    CnurseID2 vchar NOT NULL DEFAULT '',
    CNOthers vchar NOT NULL DEFAULT '',
    AsstNurseID1 vchar NOT NULL DEFAULT '',
    AsstNurseID2 vchar NOT NULL DEFAULT '',
    ANOthers vchar NOT NULL DEFAULT '',
    AROD vchar NOT NULL DEFAULT '',
    -- The procedure code of the operation performed.
    Procedures vchar NOT NULL DEFAULT '',
    ORNumber vchar NOT NULL DEFAULT '',
    Category vchar NOT NULL DEFAULT '',
    Prophylaxis vchar NOT NULL DEFAULT '',
    OperationDate datetime,
    PatientIn datetime,
    AnesthesiaDate datetime,
    AnesthesiaTime datetime,
    CuttingDate datetime,
    OperationTime1 datetime,
    ClosingDate datetime,
    OperationTime2 datetime,
    AnesDoneDate datetime,
    AnesthesiaEndTime datetime,
    OperationDateEnd datetime,
    PatientOut datetime,
    -- Pre- and post-operative diagnosis and condition, medicines, drains, pathological
    -- findings, operation techniques, operative findings, the operation done, the specimen.
    prod memo,
    psod memo,
    procnd memo,
    psoc memo,
    meds memo,
    drains memo,
    PF memo,
    ot memo,
    Opfindings memo,
    SpecificDesc memo,
    SpecimenText memo,
    Remarks memo,
    -- 'Y' complete, 'N' incomplete.
    Instrument vchar NOT NULL DEFAULT '',
    Sutures vchar NOT NULL DEFAULT '',
    BloodLoss vchar NOT NULL DEFAULT '',
    -- Where the patient went after the operation: '0' recovery room, '1' ward, '2' ICU.
    PostOPTO vchar NOT NULL DEFAULT '',
    -- When the record was last saved, the sponge count ('Y' complete, 'N' incomplete) and a
    -- third nurse.
    TransDate datetime,
    SpongeCount vchar NOT NULL DEFAULT '',
    Nurse3 vchar NOT NULL DEFAULT '',
    SpecimenInDate datetime,
    SpecimenInTime datetime,
    SpecimenOutDate datetime,
    SpecimenOutTime datetime,
    -- The anaesthesia sheet: the operation proposed, the last food intake, the paper record's
    -- number, fluids and blood, vital signs before and after, the post-operative status, the
    -- review of systems, premedication, induction and maintenance.
    OperationProposed vchar NOT NULL DEFAULT '',
    FoodIntake vchar NOT NULL DEFAULT '',
    ManualORNo vchar NOT NULL DEFAULT '',
    TotalFluids vchar NOT NULL DEFAULT '',
    BloodProducts vchar NOT NULL DEFAULT '',
    PreOPBP vchar NOT NULL DEFAULT '',
    PreOPTemp vchar NOT NULL DEFAULT '',
    PreOPPR vchar NOT NULL DEFAULT '',
    PreOPRR vchar NOT NULL DEFAULT '',
    PostOPBP vchar NOT NULL DEFAULT '',
    PostOPO2Sat vchar NOT NULL DEFAULT '',
    PostOPPR vchar NOT NULL DEFAULT '',
    PostOPRR vchar NOT NULL DEFAULT '',
    PostOPStatus vchar NOT NULL DEFAULT '',
    SystemReview memo,
    Premedication memo,
    Inductions memo,
    Maintenance memo,
    -- 'L' left, 'R' right, 'B' both, '' not said.
    preopdxlat vchar NOT NULL DEFAULT '',
    postopdxlat vchar NOT NULL DEFAULT '',
    opperformedlat vchar NOT NULL DEFAULT '',
    -- Who signed for each role and when; NULL while unsigned.
    SurgeonSignID vchar,
    SurgeonDateSign datetime,
    ASurgeonSignID vchar,
    ASurgeonDateSign datetime,
    AnestSignID vchar,
    AnesDateSign datetime,
    CNurseSignID vchar,
    CnurseDateSign datetime,
    SNurseSignID vchar,
    SnurseDateSign datetime,
    -- The surgical memorandum: the case number, the sutures used, the counts at the start and at
    -- the close (instruments, sponges 4x4 and 8x4, peanuts, visceral packs, needles), the
    -- anaesthetic agent, the other pre-operative vital signs, and for a caesarean section the
    -- mother's history (dates 'MM/dd/yyyy', times 'hh:mm:ss AM') and the baby; SMAnd is the
    -- second APGAR figure, PresentationCBF 'C' cephalic, 'B' breech, 'F' footling and
    -- PresentationDS (the placenta) 'D' Duncan, 'S' Schultz.
    CaseNumber vchar NOT NULL DEFAULT '',
    SuturesText vchar NOT NULL DEFAULT '',
    InstrumentsInitial vchar NOT NULL DEFAULT '',
    InstrumentsFinal vchar NOT NULL DEFAULT '',
    Sponge4 vchar NOT NULL DEFAULT '',
    Sponge4Final vchar NOT NULL DEFAULT '',
    Sponge8 vchar NOT NULL DEFAULT '',
    Sponge8Final vchar NOT NULL DEFAULT '',
    Peanuts vchar NOT NULL DEFAULT '',
    PeanutsFinal vchar NOT NULL DEFAULT '',
    VisceralPack vchar NOT NULL DEFAULT '',
    VisceralPackFinal vchar NOT NULL DEFAULT '',
    Needles vchar NOT NULL DEFAULT '',
    NeedlesFinal vchar NOT NULL DEFAULT '',
    AnestheticAgent vchar NOT NULL DEFAULT '',
    PreOPHR vchar NOT NULL DEFAULT '',
    PreOPO2Sat vchar NOT NULL DEFAULT '',
    PreOPWt vchar NOT NULL DEFAULT '',
    Menarche vchar NOT NULL DEFAULT '',
    LMP vchar NOT NULL DEFAULT '',
    Babyout vchar NOT NULL DEFAULT '',
    PlacentaOut vchar NOT NULL DEFAULT '',
    TimeOfInduction vchar NOT NULL DEFAULT '',
    Gravida vchar NOT NULL DEFAULT '',
    Para vchar NOT NULL DEFAULT '',
    Abortion vchar NOT NULL DEFAULT '',
    Living vchar NOT NULL DEFAULT '',
    FDIU vchar NOT NULL DEFAULT '',
    StillBirth vchar NOT NULL DEFAULT '',
    Gender vchar NOT NULL DEFAULT '',
    BirthWeight vchar NOT NULL DEFAULT '',
    BodyLength vchar NOT NULL DEFAULT '',
    ApgarScore vchar NOT NULL DEFAULT '',
    SMAnd vchar NOT NULL DEFAULT '',
    PresentationCBF vchar NOT NULL DEFAULT '',
    PresentationDS vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbORMasterFile_IdNum ON tbORMasterFile (IdNum, RefNum);
CREATE INDEX ix_tbORMasterFile_OperationDate ON tbORMasterFile (OperationDate);

-- The sponge, instrument, needle and suture counts of an operation: Type 1 the sponge grid
-- (the item, then on table, on floor and total of the first and of the closing count), Type 2
-- the other counts (the item, before, added, closing total). Who counted and when, and whether
-- the closing count differed from what was there, stay with each row.
CREATE TABLE tbSpongeCount (
    SpongeCountID ident,
    IdNum vchar NOT NULL DEFAULT '',
    Column1 vchar NOT NULL DEFAULT '',
    Column2 vchar NOT NULL DEFAULT '',
    Column3 vchar NOT NULL DEFAULT '',
    Column4 vchar NOT NULL DEFAULT '',
    Column5 vchar NOT NULL DEFAULT '',
    Column6 vchar NOT NULL DEFAULT '',
    Column7 vchar NOT NULL DEFAULT '',
    RowNumber int NOT NULL DEFAULT 0,
    OperatingNum int NOT NULL DEFAULT 0,
    CountedBy vchar NOT NULL DEFAULT '',
    Type vchar NOT NULL DEFAULT '',
    CountedAt datetime,
    Discrepancy flag NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbSpongeCount_OperatingNum ON tbSpongeCount (OperatingNum, Type);

-- The procedures that are caesarean sections: the surgical memo asks for the obstetric data of
-- mother and baby only for these.
CREATE TABLE tbIsCesareanPRC (
    PrcID vchar NOT NULL PRIMARY KEY
);

-- The surgical memo's sponge records: one row per counted item of an operation, with the
-- initial count and the first and second counts on the table, on the floor and their totals,
-- who counted and the operation performed.
CREATE TABLE tbORSpongeRecords (
    EntryNum ident,
    HospNum vchar NOT NULL DEFAULT '',
    IdNum vchar NOT NULL DEFAULT '',
    OperatingNum int NOT NULL DEFAULT 0,
    CounterStaff1 vchar NOT NULL DEFAULT '',
    CounterStaff2 vchar NOT NULL DEFAULT '',
    Procedures vchar NOT NULL DEFAULT '',
    Sponge vchar NOT NULL DEFAULT '',
    InitialCount int NOT NULL DEFAULT 0,
    FirstCountOnTable int NOT NULL DEFAULT 0,
    FirstCountOnFloor int NOT NULL DEFAULT 0,
    FirstCountTotal int NOT NULL DEFAULT 0,
    SecondCountOnTable int NOT NULL DEFAULT 0,
    SecondCountOnFloor int NOT NULL DEFAULT 0,
    SecondCountTotal int NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbORSpongeRecords_OperatingNum ON tbORSpongeRecords (OperatingNum, EntryNum);

-- The team of a cardiovascular operation, per posted procedure (IdNum and RefNum): doctors by
-- their codes, the perfusionist and nurses by their employee codes.
CREATE TABLE tbCVORInfo (
    IdNum vchar NOT NULL,
    RefNum vchar NOT NULL,
    Surgeon vchar NOT NULL DEFAULT '',
    AsstSurgeon vchar NOT NULL DEFAULT '',
    Anesthesiologist vchar NOT NULL DEFAULT '',
    AssocAnest vchar NOT NULL DEFAULT '',
    Intensivist vchar NOT NULL DEFAULT '',
    Perfutionist vchar NOT NULL DEFAULT '',
    ScrubNurse1 vchar NOT NULL DEFAULT '',
    ScrubNurse2 vchar NOT NULL DEFAULT '',
    Circulator1 vchar NOT NULL DEFAULT '',
    Circulator2 vchar NOT NULL DEFAULT '',
    LastUpdated datetime,
    PRIMARY KEY (IdNum, RefNum)
);

-- Work table of the statistical report: STATION..sp_Or_MonthlyReport refills it with the OR's
-- procedures of a period, one row per procedure, and the report reads it right after. Each
-- workstation keeps its own rows (HostName) so two clerks printing at once do not mix.
CREATE TABLE tbORMonthlyReport (
    MonthlyReportID ident,
    HostName vchar NOT NULL DEFAULT '',
    DateFrom datetime,
    DateTo datetime,
    ProcedureCode vchar NOT NULL DEFAULT '',
    ProcedureDesc vchar NOT NULL DEFAULT '',
    -- MAJOR or MINOR as the operation was booked; UNCLASSIFIED when it never was.
    Category vchar NOT NULL DEFAULT '',
    InPatients int NOT NULL DEFAULT 0,
    OutPatients int NOT NULL DEFAULT 0,
    TotalCases int NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbORMonthlyReport_HostName ON tbORMonthlyReport (HostName);

-- The medicines requested for a stay, as the ward gives them: what was issued and how much of
-- it has been given to the patient.
CREATE TABLE tbNursePatientMedicines (
    MedicineID ident,
    IDNum vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    RequestNum vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    QtyAdministered float NOT NULL DEFAULT 0,
    RequestDate datetime,
    RecordStatus vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbNursePatientMedicines_IDNum ON tbNursePatientMedicines (IDNum, ItemID);

-- The percentage laid on the average cost of stock items priced at cost: one row.
CREATE TABLE tbCoMarkUp (
    Markup float NOT NULL DEFAULT 0
);

-- The OR's markups: Operation '*' multiplies the price by 1 + Markup, '+' adds Markup to it.
-- Status 'A' active, 'I' inactive; IsDefault marks the one preselected; RegFrom and RegTo are
-- the days the markup is valid.
CREATE TABLE tbORMarkUp (
    MarkupID ident,
    Description vchar NOT NULL DEFAULT '',
    Markup float NOT NULL DEFAULT 0,
    Operation vchar NOT NULL DEFAULT '*',
    Status vchar NOT NULL DEFAULT 'A',
    IsDefault flag NOT NULL DEFAULT 0,
    RegFrom datetime,
    RegTo datetime
);

-- The older list of markups: each MarkUp is a factor the price is multiplied by (1.3 for
-- thirty percent more).
CREATE TABLE tbMarkUp (
    MarkupID ident,
    MarkupName vchar NOT NULL DEFAULT '',
    MarkUp float NOT NULL DEFAULT 1
);

-- The charge slip about to be printed: its lines, refilled at every save and reprint. Each
-- workstation keeps its own rows (HostName), so two workstations printing at the same moment
-- never empty each other's slip.
CREATE TABLE tbORChargePrint (
    PrintID ident,
    ChargeSlip vchar NOT NULL DEFAULT '',
    HostName vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    IDNum vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    TransDate datetime,
    UserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbORChargePrint_HostName ON tbORChargePrint (HostName, ChargeSlip);

-- Every charge slip number a station has posted under, once. A batch whose number is already
-- here cannot be saved: the last guard against two workstations using the same number.
CREATE TABLE tbORChargeSlipIssued (
    ChargeSlip vchar NOT NULL PRIMARY KEY,
    StationID vchar NOT NULL DEFAULT '',
    IDNum vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    HostName vchar NOT NULL DEFAULT '',
    TransDate datetime,
    -- The identity the workstation gave the batch before its first attempt: a batch whose
    -- commit went unanswered is looked up by it, never posted again.
    BatchID vchar
);
CREATE UNIQUE INDEX ux_tbORChargeSlipIssued_BatchID ON tbORChargeSlipIssued (BatchID);

-- Unit prices typed over on posted lines where supervisors may change them: the price the list
-- gave, the price charged, the supervisor who signed the batch and why.
CREATE TABLE tbSupervisorTransaction (
    TransactionID ident,
    IDNum vchar NOT NULL DEFAULT '',
    RefNum vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    ListPrice money NOT NULL DEFAULT 0,
    UnitPrice money NOT NULL DEFAULT 0,
    Reason vchar NOT NULL DEFAULT '',
    SupervisorID vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    TransDate datetime
);
CREATE INDEX ix_tbSupervisorTransaction_IDNum ON tbSupervisorTransaction (IDNum);

-- The station's requests to other departments (laboratory, imaging, pharmacy). RecordStatus
-- 'R' when the receiving department revoked one; the station acknowledges a revoked request
-- so that the main window stops telling about it.
CREATE TABLE tbNurseCommunicationfile (
    RequestNum vchar NOT NULL PRIMARY KEY,
    IDNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    ExamCode vchar NOT NULL DEFAULT '',
    ExamName vchar NOT NULL DEFAULT '',
    RequestDate datetime,
    RecordStatus vchar NOT NULL DEFAULT '',
    RevokedBy vchar NOT NULL DEFAULT '',
    RevokedDate datetime,
    Remarks vchar NOT NULL DEFAULT '',
    RevAcknow_Date datetime,
    RevAcknow_UserID vchar NOT NULL DEFAULT '',
    -- A pharmacy ("PH") or central supply ("CS") request: one item each, priced when sent.
    ItemID vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    Dosage vchar NOT NULL DEFAULT '',
    Frequency vchar NOT NULL DEFAULT '',
    Route vchar NOT NULL DEFAULT '',
    StatFlag vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    -- An examination request: RecordStatus 'X' once the department processed it (who, when),
    -- the specimen sent with a laboratory request and the section of the exam.
    ProcessBy vchar NOT NULL DEFAULT '',
    ProcessDate datetime,
    SpecimenID vchar NOT NULL DEFAULT '',
    Specimen vchar NOT NULL DEFAULT '',
    Section vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbNurseCommunicationfile_Exam ON tbNurseCommunicationfile (IDNum, ExamCode, RevenueID, RequestDate);
CREATE INDEX ix_tbNurseCommunicationfile_Revoked ON tbNurseCommunicationfile (StationID, RevokedDate);
CREATE INDEX ix_tbNurseCommunicationfile_Item ON tbNurseCommunicationfile (IDNum, ItemID, RevenueID);

-- The last request number drawn for each department that receives requests ("PH", "CS").
CREATE TABLE tbNurseRequestNumber (
    RevenueID vchar NOT NULL PRIMARY KEY,
    LastNum bigint NOT NULL DEFAULT 0
);

-- The schema versions this hospital database went through, one row each; the highest is the
-- database's version. Creating a hospital writes the version it was created at, and each
-- migration of an upgrade adds its own row in the transaction that changes the schema.
CREATE TABLE tbSchemaVersion (
    Version int NOT NULL PRIMARY KEY,
    Description vchar NOT NULL DEFAULT '',
    ProgramVersion vchar NOT NULL DEFAULT '',
    AppliedAt datetime
);

-- Vital signs the nurses took, one row per reading. BP is the systolic value, a slash and the
-- diastolic value as typed; the other readings are kept as typed too. NInitial is the
-- employee code of the nurse who entered it, Status 'DONE' once taken.
CREATE TABLE tbNurseVitalSigns (
    TransNum ident,
    IDNUM vchar NOT NULL DEFAULT '',
    TRANSDATE datetime,
    BP vchar NOT NULL DEFAULT '',
    TEMPERATURE vchar NOT NULL DEFAULT '',
    PULSERATE vchar NOT NULL DEFAULT '',
    RESPRATE vchar NOT NULL DEFAULT '',
    O2Sat vchar NOT NULL DEFAULT '',
    NInitial vchar NOT NULL DEFAULT '',
    Protocol vchar NOT NULL DEFAULT '',
    ProcItemID vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT '',
    Remarks vchar NOT NULL DEFAULT '',
    Remarks2 vchar NOT NULL DEFAULT '',
    ScheduleTime datetime
);
CREATE INDEX ix_tbNurseVitalSigns_IdNum ON tbNurseVitalSigns (IDNUM, TRANSDATE);

-- The last reading of each stay, which the ward monitors read to tell when the next is due.
CREATE TABLE tbNurseVitalSignsMonitor (
    IDNUM vchar NOT NULL PRIMARY KEY,
    BP vchar NOT NULL DEFAULT '',
    TEMPERATURE vchar NOT NULL DEFAULT '',
    PULSERATE vchar NOT NULL DEFAULT '',
    RESPRATE vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    Protocol vchar NOT NULL DEFAULT '',
    ProcItemID vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT '',
    LastTaken datetime
);

-- The nurses' notes of a stay; an apostrophe in a note is kept as a backquote.
CREATE TABLE tbNurseNotes (
    TransNum ident,
    IdNum vchar NOT NULL DEFAULT '',
    Transdate datetime,
    Dayshift vchar NOT NULL DEFAULT '',
    Notes memo,
    UserID vchar NOT NULL DEFAULT '',
    Remarks vchar NOT NULL DEFAULT '',
    LastUpdated datetime
);
CREATE INDEX ix_tbNurseNotes_IdNum ON tbNurseNotes (IdNum, Transdate);

-- The nurse's history and physical examination of one stay, with the patient's personal,
-- family and social history as codes (the position in the station's lists, counting from 1).
CREATE TABLE tbNurseProfile (
    Hospnum vchar NOT NULL,
    IDNum vchar NOT NULL,
    BriefHistory memo,
    PEskin memo,
    PEheadneck memo,
    PEthorax memo,
    PEabdomen memo,
    PEextremeties memo,
    PElympnodes memo,
    PEgenitalia memo,
    PErectal memo,
    PEneurological memo,
    PEOthers memo,
    PH1 vchar NOT NULL DEFAULT '',
    PH2 vchar NOT NULL DEFAULT '',
    PH3 vchar NOT NULL DEFAULT '',
    PH4 vchar NOT NULL DEFAULT '',
    FH1 vchar NOT NULL DEFAULT '',
    FH2 vchar NOT NULL DEFAULT '',
    FH3 vchar NOT NULL DEFAULT '',
    FH4 vchar NOT NULL DEFAULT '',
    PSH1 vchar NOT NULL DEFAULT '',
    PSH2 vchar NOT NULL DEFAULT '',
    PSH3 vchar NOT NULL DEFAULT '',
    FMOthers memo,
    PRIMARY KEY (Hospnum, IDNum)
);

-- The height (cm) and weight (kg) of a stay as last measured.
CREATE TABLE tbNurseHeightWeight (
    IDNum vchar NOT NULL PRIMARY KEY,
    Height vchar NOT NULL DEFAULT '',
    Weight vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    TransDate datetime
);

-- The nurses' shifts; Status '1' for those in use.
CREATE TABLE tbNurseShifts (
    Shift vchar NOT NULL PRIMARY KEY,
    Status vchar NOT NULL DEFAULT '1'
);

-- The station reports a nurse may run from the patient profile; RecordStatus 1 when offered.
CREATE TABLE tbNurse_ReportList (
    ReportType vchar NOT NULL PRIMARY KEY,
    ReportName vchar NOT NULL DEFAULT '',
    RecordStatus smallint NOT NULL DEFAULT 1
);

-- The results the diagnostic departments other than the laboratory release to the stations,
-- one row per examination. DepartmentID: 'XR' X-ray, 'US' ultrasound, 'CT' CT scan, 'HS' heart
-- station, 'PT' rehabilitation medicine, 'NU' nuclear medicine, 'PA' pulmonary, 'NE' neurology,
-- 'WC' center for women, 'MR' MRI. TransNum is the department's own examination number.
-- Interpretation stays null until the reader writes it; ResultDate null until released.
-- Reader* name the radiologist, cardiologist or therapist; FormType is the heart station's or
-- the pulmonary laboratory's form. Verified once the reader signed it, Printed once the
-- station printed it.
CREATE TABLE tbNurseDiagResult (
    ResultID ident,
    DepartmentID vchar NOT NULL DEFAULT '',
    IdNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    TransNum vchar NOT NULL DEFAULT '',
    RequestNum vchar NOT NULL DEFAULT '',
    ChargeSlip vchar NOT NULL DEFAULT '',
    ExamID vchar NOT NULL DEFAULT '',
    ExamName vchar NOT NULL DEFAULT '',
    Section vchar NOT NULL DEFAULT '',
    FileNumber vchar NOT NULL DEFAULT '',
    TransDate datetime,
    ResultDate datetime,
    ReaderID vchar NOT NULL DEFAULT '',
    ReaderLastName vchar NOT NULL DEFAULT '',
    ReaderFirstName vchar NOT NULL DEFAULT '',
    ReaderMiddleName vchar NOT NULL DEFAULT '',
    AttendingDoctor vchar NOT NULL DEFAULT '',
    FormType vchar NOT NULL DEFAULT '',
    Interpretation memo,
    InitialEvaluation memo,
    Endorsement memo,
    StationID vchar NOT NULL DEFAULT '',
    Verified flag NOT NULL DEFAULT 0,
    Printed flag NOT NULL DEFAULT 0,
    RecordStatus vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbNurseDiagResult_IdNum ON tbNurseDiagResult (IdNum, DepartmentID, TransDate);
CREATE INDEX ix_tbNurseDiagResult_Printed ON tbNurseDiagResult (DepartmentID, Verified, Printed);

-- The clinical summary the insurer's CF4 form asks for, one per stay: the chief complaint,
-- the history of the present illness, the physical examination on admission, the course in
-- the ward, the drugs and medicines given, and the outcome (IMPROVED, RECOVERED, HAMA,
-- TRANSFERRED, ABSCONDED, EXPIRED). UserID and LastUpdated name who saved it last.
CREATE TABLE tbCF4Entry (
    IdNum vchar NOT NULL PRIMARY KEY,
    HospNum vchar NOT NULL DEFAULT '',
    ChiefComplaint memo,
    PresentIllness memo,
    PhysicalExam memo,
    CourseInWard memo,
    Drugs memo,
    Outcome vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    LastUpdated datetime
);

-- The items of a package that were not used when the package was charged to a stay, by the
-- charge slip that posted the package. RecordStatus 'R' once the package was cancelled.
CREATE TABLE tbPackageItemsUnused (
    UnusedID ident,
    IDNum vchar NOT NULL DEFAULT '',
    PackageID vchar NOT NULL DEFAULT '',
    ChargeSlip vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    UserID vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    TransDate datetime,
    RecordStatus vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbPackageItemsUnused_IDNum ON tbPackageItemsUnused (IDNum, PackageID);

-- Piped oxygen: a tank opened for a stay (Status 1) until it is closed (Status 0), when the hours
-- of use are charged at the item's hourly rate under ChargeSlip. A stay has one open tank at most.
CREATE TABLE tbOpenCloseTank (
    TankID ident,
    IDNum vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    TankNum vchar NOT NULL DEFAULT '',
    Status smallint NOT NULL DEFAULT 1,
    OpeningTime datetime,
    ClosingTime datetime,
    Hours float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    ChargeSlip vchar NOT NULL DEFAULT '',
    OpenedBy vchar NOT NULL DEFAULT '',
    ClosedBy vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX ux_tbOpenCloseTank_Open ON tbOpenCloseTank (IDNum) WHERE Status = 1;

-- The doctors' professional fees of a discharge order: CaseType '1' the doctors paid from the
-- first case rate, '2' from the second, '' the other doctors (with their role).
CREATE TABLE tbNurseProfFees (
    FeeID ident,
    IDNum vchar NOT NULL DEFAULT '',
    DoctorID vchar NOT NULL DEFAULT '',
    DoctorName vchar NOT NULL DEFAULT '',
    PF money NOT NULL DEFAULT 0,
    OrderNumber int NOT NULL DEFAULT 0,
    CaseType vchar NOT NULL DEFAULT '',
    RoleID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbNurseProfFees_IDNum ON tbNurseProfFees (IDNum, CaseType);

-- The diagnosis (ICD) and operation (RVS) lines of a discharge order in screen order, each
-- with its case-rate tag ('1' first, '2' second, '' none) and the description as edited.
CREATE TABLE tbPxICDRVS (
    LineID ident,
    IDNum vchar NOT NULL DEFAULT '',
    LineNumber int NOT NULL DEFAULT 0,
    CaseType vchar NOT NULL DEFAULT '',
    ICD vchar NOT NULL DEFAULT '',
    RVS vchar NOT NULL DEFAULT '',
    ICDDescription vchar NOT NULL DEFAULT '',
    RVSDescription vchar NOT NULL DEFAULT '',
    OperationDate datetime
);
CREATE INDEX ix_tbPxICDRVS_IDNum ON tbPxICDRVS (IDNum, LineNumber);

-- The roles a doctor of a discharge order can have; Status 'Y' for those offered.
CREATE TABLE tbPHICDxRole (
    Role vchar NOT NULL PRIMARY KEY,
    Status vchar NOT NULL DEFAULT 'Y'
);

-- The insurance's sub-descriptions of a code, in order.
CREATE TABLE tbPHICSubDesc (
    Code vchar NOT NULL,
    SortOrder int NOT NULL DEFAULT 0,
    SubDesc vchar NOT NULL DEFAULT '',
    PRIMARY KEY (Code, SortOrder)
);

-- What billing wants ready before it bills a stay, in order; Status 'Y' for the items asked.
CREATE TABLE tbNurse_BillingCheckItems (
    Item vchar NOT NULL PRIMARY KEY,
    SortOrder int NOT NULL DEFAULT 0,
    Status vchar NOT NULL DEFAULT 'Y'
);

-- The billing checklist of a stay: State 0 not checked, 1 done, 2 pending.
CREATE TABLE tbNurse_BillingCheckList (
    IDNum vchar NOT NULL,
    Item vchar NOT NULL,
    State smallint NOT NULL DEFAULT 0,
    UserID vchar NOT NULL DEFAULT '',
    TransDate datetime,
    PRIMARY KEY (IDNum, Item)
);

-- Hemodialysis: the dialyzers and vascular accesses the ward chooses from, the notifications
-- the wards send the dialysis unit for a stay ('' sent, 'R' revoked), and the one
-- notification of a stay the unit has not taken up yet, which a second must not overtake.
CREATE TABLE tbHemoDialyzer (
    DialyzerID vchar NOT NULL PRIMARY KEY,
    Description vchar NOT NULL DEFAULT '',
    Status smallint NOT NULL DEFAULT 1
);
CREATE TABLE tbHemoAccess (
    AccessID int NOT NULL PRIMARY KEY,
    Description vchar NOT NULL DEFAULT '',
    Status smallint NOT NULL DEFAULT 1
);
CREATE TABLE tbHemoRequest (
    RequestID ident,
    IdNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    DialyzerID vchar NOT NULL DEFAULT '',
    AccessID int NOT NULL DEFAULT 0,
    DialysisDate datetime,
    Remarks memo,
    RequestDate datetime,
    UserID vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    RecordStatus vchar NOT NULL DEFAULT '',
    RevokedBy vchar NOT NULL DEFAULT '',
    RevokedDate datetime
);
CREATE INDEX ix_tbHemoRequest_IdNum ON tbHemoRequest (IdNum, RequestDate);
CREATE TABLE tbHemo_Communication (
    IdNum vchar NOT NULL PRIMARY KEY,
    RequestID int NOT NULL DEFAULT 0,
    SentDate datetime,
    StationID vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT ''
);

-- Adjustments of posted charges: a revoked line (AdjustType 'R') or a line credited through a
-- credit memo ('CM'), with who did it, the supervisor who allowed it and why.
CREATE TABLE tbBillAdjustInfo (
    AdjustID ident,
    IDNum vchar NOT NULL DEFAULT '',
    RefNum vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    AdjustType vchar NOT NULL DEFAULT '',
    CreditMemoNum vchar NOT NULL DEFAULT '',
    Reason vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    SupervisorID vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    TransDate datetime
);
CREATE INDEX ix_tbBillAdjustInfo_IDNum ON tbBillAdjustInfo (IDNum, RefNum);

-- The remarks a cancellation or a credit memo may give as its reason, by list (7: the OR's).
CREATE TABLE tbNurseCMRemarks (
    RemarkID ident,
    ListID int NOT NULL DEFAULT 7,
    Remarks vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);

-- The lines of the credit memos the stations issued for returned medicines (TransType 'PC')
-- and supplies ('CC'): what came back of which charge slip, and the amount credited.
CREATE TABLE tbNurseCreditMemo (
    MemoLineID ident,
    CreditMemoNum vchar NOT NULL DEFAULT '',
    TransType vchar NOT NULL DEFAULT '',
    IDNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    RefNum vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    QtyIssued float NOT NULL DEFAULT 0,
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    Remarks vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    TransDate datetime
);
CREATE INDEX ix_tbNurseCreditMemo_CreditMemoNum ON tbNurseCreditMemo (CreditMemoNum);
CREATE INDEX ix_tbNurseCreditMemo_IDNum ON tbNurseCreditMemo (IDNum);

-- Assessments of cash patients, walk-ins and clinical departments, one row per assessment
-- number; their lines are BILLING..tbCashAssessment. Status PENDING, GIVEN, REVOKED or PAID
-- (processed by the cashier). BatchID is the identity the workstation gave the save.
CREATE TABLE tbORAssessment (
    AssessNum vchar NOT NULL PRIMARY KEY,
    Kind vchar NOT NULL DEFAULT '',
    IDNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    PatientName vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    TransDate datetime,
    Status vchar NOT NULL DEFAULT 'PENDING',
    RevokedBy vchar NOT NULL DEFAULT '',
    RevokedDate datetime,
    CashierDate datetime,
    BatchID vchar
);
CREATE UNIQUE INDEX ux_tbORAssessment_BatchID ON tbORAssessment (BatchID);
CREATE INDEX ix_tbORAssessment_Station ON tbORAssessment (StationID, Kind, TransDate);
CREATE INDEX ix_tbORAssessment_IDNum ON tbORAssessment (IDNum, TransDate);

-- The assessment slip's print buffer, per workstation.
CREATE TABLE tbORAssessPrint (
    PrintID ident,
    HostName vchar NOT NULL DEFAULT '',
    AssessNum vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    TransDate datetime
);
CREATE INDEX ix_tbORAssessPrint_Host ON tbORAssessPrint (HostName, AssessNum);

-- The doctors' medication orders of a stay, as the ward keeps them for the nurse who transcribes
-- them into pharmacy requests.
CREATE TABLE tbNurseDoctorOrders (
    OrderID ident,
    IdNum vchar NOT NULL DEFAULT '',
    DoctorID vchar NOT NULL DEFAULT '',
    OrderDate datetime,
    Orders memo,
    UserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbNurseDoctorOrders_IdNum ON tbNurseDoctorOrders (IdNum, OrderDate);

-- The transcribed medication orders: one pharmacy request line each, all lines of one save under
-- one assessment number. RecordStatus is '' while the pharmacy has not processed the line, 'P'
-- once it has, 'R' when the ward revoked it.
CREATE TABLE tbNurseTranscription (
    TransNum ident,
    HospNum vchar NOT NULL DEFAULT '',
    IdNum vchar NOT NULL DEFAULT '',
    PatientClass vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    Dosage vchar NOT NULL DEFAULT '',
    Frequency vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    Remarks vchar NOT NULL DEFAULT '',
    TransDate datetime,
    RevenueID vchar NOT NULL DEFAULT '',
    DoctorID vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    SentFlag vchar NOT NULL DEFAULT '',
    AssessmentNum vchar NOT NULL DEFAULT '',
    RoomID vchar NOT NULL DEFAULT '',
    RecordStatus vchar NOT NULL DEFAULT '',
    ProcessedBy vchar NOT NULL DEFAULT '',
    ProcessedDate datetime,
    RevokedBy vchar NOT NULL DEFAULT '',
    RevokedDate datetime
);
CREATE INDEX ix_tbNurseTranscription_IdNum ON tbNurseTranscription (IdNum, TransNum);
CREATE INDEX ix_tbNurseTranscription_AssessmentNum ON tbNurseTranscription (AssessmentNum);

-- The consents a patient, or whoever signs for him, gives: one of each kind per stay, replaced
-- when saved again. DateSigned counts the patient's age; a consent without it counts to the day
-- it was saved (Transdate).
CREATE TABLE tbSurgicalAuthorization (
    IDNum vchar NOT NULL PRIMARY KEY,
    Surgeon vchar NOT NULL DEFAULT '',
    Procedure memo,
    Exception memo,
    Witness vchar NOT NULL DEFAULT '',
    DateSigned datetime,
    Reason memo,
    Representative vchar NOT NULL DEFAULT '',
    Relation vchar NOT NULL DEFAULT '',
    Transdate datetime,
    HostName vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT ''
);
CREATE TABLE tbConsentTreatment (
    IDNum vchar NOT NULL PRIMARY KEY,
    Witness vchar NOT NULL DEFAULT '',
    DateSigned datetime,
    Reason memo,
    Representative vchar NOT NULL DEFAULT '',
    Relation vchar NOT NULL DEFAULT '',
    Transdate datetime,
    HostName vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT ''
);
CREATE TABLE tbSterilizationConsent (
    IDnum vchar NOT NULL PRIMARY KEY,
    Procedure memo,
    Witness vchar NOT NULL DEFAULT '',
    Authorized vchar NOT NULL DEFAULT '',
    ConsentingSpouse vchar NOT NULL DEFAULT '',
    Transdate datetime,
    HostName vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT ''
);
CREATE TABLE tbSpecialTreatmentConsent (
    IDnum vchar NOT NULL PRIMARY KEY,
    Doctor vchar NOT NULL DEFAULT '',
    Procedure memo,
    Witness vchar NOT NULL DEFAULT '',
    Reason memo,
    Representative vchar NOT NULL DEFAULT '',
    Relation vchar NOT NULL DEFAULT '',
    MinorAge vchar NOT NULL DEFAULT '',
    Transdate datetime,
    HostName vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT ''
);

-- The hourly monitoring sheet: a stay's intake and output hour by hour, one set of rows per
-- day (Date, the day's start), in the order typed. Amounts in whole cc; NULL for a blank cell.
CREATE TABLE tbHourlyMonitoringSheet (
    EntryID ident,
    IDnum vchar NOT NULL DEFAULT '',
    Date datetime NOT NULL,
    RowNo int NOT NULL DEFAULT 0,
    HourTime vchar NOT NULL DEFAULT '',
    Mainline int,
    LALF int,
    RARF int,
    OralNGT int,
    IntakeTotal int,
    Urine int,
    Drain1 int,
    Drain2 int,
    Others int,
    OutputTotal int,
    Remarks memo,
    UserID vchar NOT NULL DEFAULT '',
    HostName vchar NOT NULL DEFAULT '',
    Transdate datetime
);
CREATE UNIQUE INDEX ux_tbHourlyMonitoringSheet_Row ON tbHourlyMonitoringSheet (IDnum, Date, RowNo);

-- The fluid intake and output sheet: one row per stay, day (DateEntered, the day's start) and
-- shift ('7AM-3PM', '3PM-11PM', '11PM-7AM'). Amounts in whole cc.
CREATE TABLE tbNurseFluid (
    IDNum vchar NOT NULL,
    DateEntered datetime NOT NULL,
    Shift vchar NOT NULL,
    Oral int NOT NULL DEFAULT 0,
    Parenteral int NOT NULL DEFAULT 0,
    InputTotal int NOT NULL DEFAULT 0,
    Urine int NOT NULL DEFAULT 0,
    Drainage int NOT NULL DEFAULT 0,
    Others int NOT NULL DEFAULT 0,
    OutputTotal int NOT NULL DEFAULT 0,
    NurseID vchar NOT NULL DEFAULT '',
    HostName vchar NOT NULL DEFAULT '',
    Transdate datetime,
    PRIMARY KEY (IDNum, DateEntered, Shift)
);

-- The OR nurses' checklists, one record per stay: the pre-operative checklist, the
-- pre-anaesthetic evaluation, the surgical safety checklist and the labour room form. Answers of
-- a group of controls are kept in one column, joined with ":;" in the controls' order.
CREATE TABLE tbNursePreOp (
    IdNum vchar NOT NULL PRIMARY KEY,
    Surgeon vchar NOT NULL DEFAULT '',
    Anesthesiologist vchar NOT NULL DEFAULT '',
    TimeSched vchar NOT NULL DEFAULT '',
    DateSched vchar NOT NULL DEFAULT '',
    ByWhom vchar NOT NULL DEFAULT '',
    Operation vchar NOT NULL DEFAULT '',
    Spiritual memo,
    Remarks memo,
    Signs vchar NOT NULL DEFAULT '',
    Medicine vchar NOT NULL DEFAULT '',
    Dose vchar NOT NULL DEFAULT '',
    Time vchar NOT NULL DEFAULT '',
    YesNo vchar NOT NULL DEFAULT '',
    -- Prepared for the OR by, received by, clinical instructor, staff nurse, unit manager.
    Signers vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    TransDate datetime
);
CREATE TABLE tbNursePreAnesthetic (
    IdNum vchar NOT NULL PRIMARY KEY,
    Surgeon vchar NOT NULL DEFAULT '',
    Anesthesiologist vchar NOT NULL DEFAULT '',
    TimeSched vchar NOT NULL DEFAULT '',
    DateSched vchar NOT NULL DEFAULT '',
    Operation vchar NOT NULL DEFAULT '',
    PreOperative memo,
    Remarks memo,
    OtherBoxes memo,
    YesNo memo,
    UserID vchar NOT NULL DEFAULT '',
    TransDate datetime
);
-- SignIn, TimeOut and SignOut hold each pause's answers; ChkBoxes the pauses completed.
CREATE TABLE tbORSSC (
    IdNum vchar NOT NULL PRIMARY KEY,
    SurgeonSignIn vchar NOT NULL DEFAULT '',
    AnesthesiologistSignIn vchar NOT NULL DEFAULT '',
    NurseSignIn vchar NOT NULL DEFAULT '',
    SurgeonTimeOut vchar NOT NULL DEFAULT '',
    AnesthesiologistTimeOut vchar NOT NULL DEFAULT '',
    NurseTimeOut vchar NOT NULL DEFAULT '',
    SurgeonSignOut vchar NOT NULL DEFAULT '',
    AnesthesiologistSignOut vchar NOT NULL DEFAULT '',
    NurseSignOut vchar NOT NULL DEFAULT '',
    Operation vchar NOT NULL DEFAULT '',
    SignIn vchar NOT NULL DEFAULT '',
    TimeOut vchar NOT NULL DEFAULT '',
    SignOut vchar NOT NULL DEFAULT '',
    ChkBoxes memo,
    UserID vchar NOT NULL DEFAULT '',
    TransDate datetime
);
CREATE TABLE tbLRForm (
    IdNum vchar NOT NULL PRIMARY KEY,
    Gravida vchar NOT NULL DEFAULT '',
    Para vchar NOT NULL DEFAULT '',
    DTAdmittedLR vchar NOT NULL DEFAULT '',
    DTAdmittedDR vchar NOT NULL DEFAULT '',
    NotifiedBy vchar NOT NULL DEFAULT '',
    receivedby vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    TransDate datetime
);
-- The lines of a checklist as printed (FormID 'PREOP', 'PREANES', 'SSC'), written with the
-- checklist: each item's answer and remark, and for the surgical safety checklist who answered
-- it, when (the server's clock) and whether it was answered after its pause fell due.
CREATE TABLE tbNurseFormItem (
    FormID vchar NOT NULL,
    IdNum vchar NOT NULL,
    ItemNo int NOT NULL,
    Section vchar NOT NULL DEFAULT '',
    Item vchar NOT NULL DEFAULT '',
    Answer vchar NOT NULL DEFAULT '',
    Remarks vchar NOT NULL DEFAULT '',
    AnsweredBy vchar NOT NULL DEFAULT '',
    AnsweredAt datetime,
    Late flag NOT NULL DEFAULT 0,
    PRIMARY KEY (FormID, IdNum, ItemNo)
);
