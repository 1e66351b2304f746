-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- Patients, their stays and the hospital's own settings row.
-- An IdNum ending in "B" is an outpatient or ER visit and lives in tbOutPatient; every other
-- IdNum is an inpatient stay in tbPatient (with its extension row in tbPatient2).

-- The hospital's settings: exactly one row. Every switch is a 0/1 bit.
CREATE TABLE tbHospitalInfo (
    Company vchar NOT NULL DEFAULT '',
    Address1 vchar NOT NULL DEFAULT '',
    MTSServerName vchar NOT NULL DEFAULT '',
    clientname vchar NOT NULL DEFAULT '',
    Bygeneric flag NOT NULL DEFAULT 0,
    IsNursePrint flag NOT NULL DEFAULT 0,
    IsLBDirectCharging flag NOT NULL DEFAULT 0,
    IsXRDirectCharging flag NOT NULL DEFAULT 0,
    IsUSDirectCharging flag NOT NULL DEFAULT 0,
    IsCTDirectCharging flag NOT NULL DEFAULT 0,
    IsHSDirectCharging flag NOT NULL DEFAULT 0,
    IsShowAmount flag NOT NULL DEFAULT 0,
    IsPrintChargeSlip flag NOT NULL DEFAULT 0,
    IsAllowZeroAmountForORProcedures flag NOT NULL DEFAULT 0,
    IsAllowORPostChargesIfCashBasis flag NOT NULL DEFAULT 0,
    IsAllowSupervisorCodeForCancellationOfCharges flag NOT NULL DEFAULT 0,
    IsAllowPostReturnMedicinesInOR flag NOT NULL DEFAULT 0,
    IsAllowClinicalAssessmentWithoutValidation flag NOT NULL DEFAULT 0,
    IsAllowEntryOfReasonForCancellation flag NOT NULL DEFAULT 0,
    PSIOxygenComputationType smallint NOT NULL DEFAULT 0,
    isstat flag NOT NULL DEFAULT 0,
    CashStatRate float NOT NULL DEFAULT 0,
    AllowZeroOnHand flag NOT NULL DEFAULT 0,
    isORTechPrint flag NOT NULL DEFAULT 0,
    isListCost flag NOT NULL DEFAULT 0,
    IsCompanyPrice flag NOT NULL DEFAULT 0,
    IsAllowEditAmount flag NOT NULL DEFAULT 0,
    IsAllowTaggingORPrc flag NOT NULL DEFAULT 0,
    IsShowMarkUp flag NOT NULL DEFAULT 0,
    isAllowLowerUnitPrice flag NOT NULL DEFAULT 0,
    blnRequireRadioReason flag NOT NULL DEFAULT 0,
    OREditSchedProcedure flag NOT NULL DEFAULT 0,
    OR_AllowEditScheduleDateTime flag NOT NULL DEFAULT 0,
    VSAllowINC flag NOT NULL DEFAULT 0
);

-- The patient master: one row per person, kept for life under the hospital number.
CREATE TABLE tbMaster (
    HospNum vchar NOT NULL PRIMARY KEY,
    LastName vchar NOT NULL DEFAULT '',
    FirstName vchar NOT NULL DEFAULT '',
    MiddleName vchar NOT NULL DEFAULT '',
    Suffix vchar NOT NULL DEFAULT '',
    Sex vchar NOT NULL DEFAULT '',
    BirthDate datetime,
    BirthPlace vchar NOT NULL DEFAULT '',
    CivilStatus vchar NOT NULL DEFAULT '',
    BloodType vchar NOT NULL DEFAULT '',
    HouseStreet vchar NOT NULL DEFAULT '',
    Barangay vchar NOT NULL DEFAULT '',
    Town vchar NOT NULL DEFAULT '',
    Province vchar NOT NULL DEFAULT '',
    ZipCode vchar NOT NULL DEFAULT '',
    TelNum vchar NOT NULL DEFAULT '',
    Nationality vchar NOT NULL DEFAULT '',
    Religion vchar NOT NULL DEFAULT '',
    Occupation vchar NOT NULL DEFAULT '',
    PhilHealthNum vchar NOT NULL DEFAULT '',
    SeniorCitizenID vchar NOT NULL DEFAULT '',
    -- The number the patient had before the records were renumbered, when there was one.
    OldHospNum vchar NOT NULL DEFAULT '',
    DateCreated datetime
);
CREATE INDEX ix_tbMaster_LastName ON tbMaster (LastName, FirstName);
-- Name searches that list patients in name order walk this and stop at the page's end.
CREATE INDEX ix_tbMaster_NameOrder ON tbMaster (LastName, FirstName, MiddleName, HospNum);

-- Inpatient stays. DcrDate stays null while the patient is in the hospital; BillingDate is set
-- when billing closes the account.
CREATE TABLE tbPatient (
    IDNum vchar NOT NULL PRIMARY KEY,
    HospNum vchar NOT NULL DEFAULT '',
    AdmDate datetime,
    DcrDate datetime,
    BillingDate datetime,
    -- Set when the receivables section invoices the billed account: no late charge after it.
    InvoiceDate datetime,
    AccountNum vchar NOT NULL DEFAULT '',
    AccountNumII vchar NOT NULL DEFAULT '',
    RoomID vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    PrecautionID vchar,
    isCVOR flag NOT NULL DEFAULT 0,
    LateCharges smallint NOT NULL DEFAULT 0,
    AdmittingDr vchar NOT NULL DEFAULT '',
    ReferringDr vchar NOT NULL DEFAULT '',
    AttendingDr1 vchar NOT NULL DEFAULT '',
    AttendingDr2 vchar NOT NULL DEFAULT '',
    AttendingDr3 vchar NOT NULL DEFAULT '',
    AttendingDr4 vchar NOT NULL DEFAULT '',
    AttendingDr5 vchar NOT NULL DEFAULT '',
    AttendingDr6 vchar NOT NULL DEFAULT '',
    AttendingDr7 vchar NOT NULL DEFAULT '',
    AttendingDr8 vchar NOT NULL DEFAULT '',
    AttendingDr9 vchar NOT NULL DEFAULT '',
    AttendingDr10 vchar NOT NULL DEFAULT '',
    AttendingDr11 vchar NOT NULL DEFAULT '',
    AttendingDr12 vchar NOT NULL DEFAULT '',
    AttendingDr13 vchar NOT NULL DEFAULT '',
    AttendingDr14 vchar NOT NULL DEFAULT '',
    AttendingDr15 vchar NOT NULL DEFAULT '',
    -- '' for an ordinary stay, 'R' when the admission was cancelled.
    RecordStatus vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    -- The discharge: result '1' recovered .. '5' diagnosis only, disposition '1' discharged ..
    -- '6' HPR, and who discharged.
    DcrResult vchar NOT NULL DEFAULT '',
    DcrDisposition vchar NOT NULL DEFAULT '',
    DcrUserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbPatient_HospNum ON tbPatient (HospNum);
CREATE INDEX ix_tbPatient_CVOR ON tbPatient (isCVOR, HospNum);
CREATE INDEX ix_tbPatient_AdmDate ON tbPatient (AdmDate);
CREATE INDEX ix_tbPatient_DcrDate ON tbPatient (DcrDate);
-- A room (bed) is taken while a stay not discharged is in it.
CREATE INDEX ix_tbPatient_RoomID ON tbPatient (RoomID, DcrDate);
CREATE INDEX ix_tbPatient_Admitted ON tbPatient (IDNum, HospNum, RoomID, RecordStatus) WHERE DcrDate IS NULL;

-- Every move of an inpatient from one room to another.
CREATE TABLE tbPatientRoomTransfer (
    TransferID ident,
    IDNum vchar NOT NULL DEFAULT '',
    FromRoom vchar NOT NULL DEFAULT '',
    ToRoom vchar NOT NULL DEFAULT '',
    TransferDate datetime,
    RoomRate money NOT NULL DEFAULT 0,
    UserID vchar NOT NULL DEFAULT '',
    Flag vchar NOT NULL DEFAULT '0'
);
CREATE INDEX ix_tbPatientRoomTransfer_IDNum ON tbPatientRoomTransfer (IDNum, TransferDate);

-- What the admitting office adds to an inpatient stay: clearances, credit line, package, class.
CREATE TABLE tbPatient2 (
    IDNum vchar NOT NULL PRIMARY KEY,
    OkeyOR flag NOT NULL DEFAULT 0,
    PatientsMed flag NOT NULL DEFAULT 0,
    CreditLine money,
    PackageID vchar NOT NULL DEFAULT '',
    -- '0' none, '1' transplant patient.
    transplantID vchar NOT NULL DEFAULT '0',
    -- '0' none, '1' pre-dialysis, '2' post-dialysis.
    dialysisID vchar NOT NULL DEFAULT '0',
    VIP flag NOT NULL DEFAULT 0,
    -- 'P' pay patient, 'S' service patient.
    PatientClass vchar NOT NULL DEFAULT 'P',
    AdmissionTypeID vchar NOT NULL DEFAULT '',
    DietID vchar NOT NULL DEFAULT '',
    -- 0 regular; 1 and 9 are the special (charity) classes priced at rate letter F.
    isSpecial smallint NOT NULL DEFAULT 0,
    PHICCode vchar NOT NULL DEFAULT '',
    isCashBasis flag NOT NULL DEFAULT 0,
    CashBasisReason vchar NOT NULL DEFAULT '',
    -- The pharmacy's clearance of the stay: 'B' when the billing officer placed its pharmacy
    -- charges under cash basis, so the OR sends the pharmacy no more requests for it.
    OkeyPH vchar NOT NULL DEFAULT ''
);

-- Outpatient and emergency-room visits (IdNum ends in "B"). A visit with an ERNum came through
-- the ER.
CREATE TABLE tbOutPatient (
    IDNum vchar NOT NULL PRIMARY KEY,
    HospNum vchar NOT NULL DEFAULT '',
    AdmDate datetime,
    DcrDate datetime,
    BillingDate datetime,
    -- Set when the receivables section invoices the billed account: no late charge after it.
    InvoiceDate datetime,
    -- '' for an ordinary visit, 'R' when the visit was revoked.
    RecordStatus vchar NOT NULL DEFAULT '',
    OPDStatus vchar NOT NULL DEFAULT '',
    ERNum vchar,
    AccountNum vchar NOT NULL DEFAULT '',
    PackageID vchar NOT NULL DEFAULT '',
    -- First letter 'P' pay patient, 'S' service patient.
    PatientType vchar NOT NULL DEFAULT 'P',
    -- The outpatient rate letter ("A" regular, "H" HMO rate).
    RateType vchar NOT NULL DEFAULT 'A',
    isSpecial smallint NOT NULL DEFAULT 0,
    isCVOR flag NOT NULL DEFAULT 0,
    PrecautionID vchar,
    DoctorID1 vchar NOT NULL DEFAULT '',
    DoctorID2 vchar NOT NULL DEFAULT '',
    LateCharges smallint NOT NULL DEFAULT 0,
    PHICCode vchar NOT NULL DEFAULT '',
    isCashBasis flag NOT NULL DEFAULT 0,
    CashBasisReason vchar NOT NULL DEFAULT '',
    UserID vchar NOT NULL DEFAULT '',
    -- The result entry that closes the visit: the patient category ('1' consultation .. '6'
    -- referred), the disposition as the list names it, the services and the doctors beyond the
    -- first two, the diet, and who closed it.
    PatientCategory vchar NOT NULL DEFAULT '',
    Disposition vchar NOT NULL DEFAULT '',
    ServiceID1 vchar NOT NULL DEFAULT '',
    ServiceID2 vchar NOT NULL DEFAULT '',
    ServiceID3 vchar NOT NULL DEFAULT '',
    ServiceID4 vchar NOT NULL DEFAULT '',
    ServiceID5 vchar NOT NULL DEFAULT '',
    DoctorID3 vchar NOT NULL DEFAULT '',
    DoctorID4 vchar NOT NULL DEFAULT '',
    DoctorID5 vchar NOT NULL DEFAULT '',
    DietID vchar NOT NULL DEFAULT '',
    DcrUserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbOutPatient_HospNum ON tbOutPatient (HospNum);
CREATE INDEX ix_tbOutPatient_CVOR ON tbOutPatient (isCVOR, HospNum);
CREATE INDEX ix_tbOutPatient_AdmDate ON tbOutPatient (AdmDate);
CREATE INDEX ix_tbOutPatient_ERNum ON tbOutPatient (ERNum);
-- The patient list with nothing typed shows the visits still open.
CREATE INDEX ix_tbOutPatient_DcrDate ON tbOutPatient (DcrDate);

CREATE TABLE tbPatientHistory (
    IDNum vchar NOT NULL PRIMARY KEY,
    Precautions memo,
    ADMDiagnosis memo,
    ChiefComplaint memo,
    BriefHistory memo,
    PhysicalExamination memo
);

CREATE TABLE tbOutpatientHistory (
    IDNum vchar NOT NULL PRIMARY KEY,
    Precautions memo,
    ChiefComplaints memo,
    ChiefComplaintID1 vchar NOT NULL DEFAULT '',
    ChiefComplaintID2 vchar NOT NULL DEFAULT '',
    ChiefComplaintID3 vchar NOT NULL DEFAULT '',
    BriefHistory memo,
    Findings memo,
    Medications memo
);

-- The ICD-10 diagnoses of an outpatient visit's result entry, first to tenth.
CREATE TABLE tbOutpatientDiagnosis (
    IDNum vchar NOT NULL,
    OrderNumber smallint NOT NULL,
    ICDCode vchar NOT NULL DEFAULT '',
    PRIMARY KEY (IDNum, OrderNumber)
);

-- The emergency-room record of a visit: its classification, the procedures done (ERClassID1..5),
-- the condition on discharge (1 stable, 2 critical, 3 expired), the referral or transfer.
CREATE TABLE tbERMaster (
    IDNum vchar NOT NULL PRIMARY KEY,
    ERNum vchar,
    HospNum vchar NOT NULL DEFAULT '',
    ERClassID1 vchar NOT NULL DEFAULT '',
    ERClassID2 vchar NOT NULL DEFAULT '',
    ERClassID3 vchar NOT NULL DEFAULT '',
    ERClassID4 vchar NOT NULL DEFAULT '',
    ERClassID5 vchar NOT NULL DEFAULT '',
    ERClassification vchar NOT NULL DEFAULT '',
    DischargeRemarks memo,
    ReasonofReferral memo,
    ReferredTo vchar NOT NULL DEFAULT '',
    DischargeCondition smallint,
    DateTimeTransferred datetime
);
CREATE INDEX ix_tbERMaster_HospNum ON tbERMaster (HospNum);

-- The ER's request to admit one of its patients; RecordStatus '' while it is still open.
CREATE TABLE tbER_Admitting_Communication (
    CommunicationID ident,
    HospNum vchar NOT NULL DEFAULT '',
    OPDIDNum vchar NOT NULL DEFAULT '',
    RecordStatus vchar NOT NULL DEFAULT '',
    RequestDate datetime,
    UserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbERAdmComm_HospNum ON tbER_Admitting_Communication (HospNum, OPDIDNum);

-- Admission types offered by the admission-type look-up.
CREATE TABLE tbAdmissionType (
    AdmissionTypeID vchar NOT NULL PRIMARY KEY,
    AdmissionType vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);

-- What the patient is allergic to, kept for life under the hospital number: up to five codes
-- of the allergy list ("F1" fish, "M1" penicillin, ...) in slot order, and free text.
CREATE TABLE tbMasterAllergies (
    Hospnum vchar NOT NULL PRIMARY KEY,
    AllergyID1 vchar NOT NULL DEFAULT '',
    AllergyID2 vchar NOT NULL DEFAULT '',
    AllergyID3 vchar NOT NULL DEFAULT '',
    AllergyID4 vchar NOT NULL DEFAULT '',
    AllergyID5 vchar NOT NULL DEFAULT '',
    Others memo
);

-- The final diagnoses of a stay as the discharge order lists them; the first is the primary
-- one (PrimaryDiagnosis 'Y', the others 'N').
CREATE TABLE tbPatientDiagnosis (
    IDNum vchar NOT NULL,
    OrderNumber int NOT NULL,
    DiagnosisID vchar NOT NULL DEFAULT '',
    PrimaryDiagnosis vchar NOT NULL DEFAULT 'N',
    PRIMARY KEY (IDNum, OrderNumber)
);
