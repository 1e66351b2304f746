-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- Master files kept by the build-file office: doctors, rooms, revenue codes, the priced items of
-- the service departments, companies and HMOs, precautions and small look-up lists.

CREATE TABLE tbCoDoctor (
    DoctorID vchar NOT NULL PRIMARY KEY,
    LastName vchar NOT NULL DEFAULT '',
    FirstName vchar NOT NULL DEFAULT '',
    MiddleName vchar NOT NULL DEFAULT '',
    Specialization vchar NOT NULL DEFAULT '',
    -- The employee code under which the doctor logs in, when he uses the system himself.
    UserID vchar NOT NULL DEFAULT '',
    PhilHealthNum vchar NOT NULL DEFAULT '',
    PHICExpireDate datetime,
    -- 'A' active, 'I' no longer practising here.
    Status vchar NOT NULL DEFAULT 'A',
    -- 1 for the hospital's affiliated doctors, 0 for visiting ones; the doctors' pick-list
    -- can be limited to the affiliated.
    IsAffiliated flag NOT NULL DEFAULT 1
);
CREATE INDEX ix_tbCoDoctor_LastName ON tbCoDoctor (LastName, FirstName);

-- Doctors' professional fees by room class; Status 1 marks the rows in use.
CREATE TABLE tbCoDoctorBill (
    DoctorBillID ident,
    DoctorID vchar NOT NULL DEFAULT '',
    RoomClassID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    Amount money NOT NULL DEFAULT 0,
    Status smallint NOT NULL DEFAULT 1
);
CREATE INDEX ix_tbCoDoctorBill_DoctorID ON tbCoDoctorBill (DoctorID);

-- Pictures kept in the database, such as doctors' signatures.
CREATE TABLE tbDBImage (
    ImageID ident,
    TableName vchar NOT NULL DEFAULT '',
    FieldName vchar NOT NULL DEFAULT '',
    IDKey vchar NOT NULL DEFAULT '',
    Image blob
);
CREATE INDEX ix_tbDBImage_Key ON tbDBImage (TableName, FieldName, IDKey);

-- Hospital rooms. RoomClassID is the rate letter the room's patients are charged at.
CREATE TABLE tbCoRoom (
    RoomID vchar NOT NULL PRIMARY KEY,
    Description vchar NOT NULL DEFAULT '',
    RoomClassID vchar NOT NULL DEFAULT 'A',
    RoomRate money NOT NULL DEFAULT 0,
    StationID vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);

-- Revenue codes (departments). A code with a LocationID is a stock department whose items come
-- from the inventory; the others price their items from tbCoOtherRevenue.
CREATE TABLE tbCoRevenueCode (
    RevenueID vchar NOT NULL PRIMARY KEY,
    ItemName vchar NOT NULL DEFAULT '',
    LocationID vchar NOT NULL DEFAULT '',
    IsPackage flag NOT NULL DEFAULT 0,
    StockCardRevenueID vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);

-- Items of the service departments, with one price column per rate letter A to I.
-- OtherSectionID is the department (revenue code); SectionID 'PRC' marks OR procedures, and
-- ORSection 'P' the procedure lines that the stat surcharge applies to.
CREATE TABLE tbCoOtherRevenue (
    OtherRevenueID vchar NOT NULL PRIMARY KEY,
    OtherRevenue vchar NOT NULL DEFAULT '',
    OtherSectionID vchar NOT NULL DEFAULT '',
    SectionID vchar NOT NULL DEFAULT '',
    ORSection vchar NOT NULL DEFAULT '',
    RateA money NOT NULL DEFAULT 0,
    RateB money NOT NULL DEFAULT 0,
    RateC money NOT NULL DEFAULT 0,
    RateD money NOT NULL DEFAULT 0,
    RateE money NOT NULL DEFAULT 0,
    RateF money NOT NULL DEFAULT 0,
    RateG money NOT NULL DEFAULT 0,
    RateH money NOT NULL DEFAULT 0,
    RateI money NOT NULL DEFAULT 0,
    Unrestricted flag NOT NULL DEFAULT 0,
    IsOpenClose vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);
CREATE INDEX ix_tbCoOtherRevenue_Section ON tbCoOtherRevenue (OtherSectionID, OtherRevenue);

-- Companies, HMOs and insurers that guarantee patients' accounts. CompanyType 'H' is an HMO,
-- 'C' a company, 'I' an insurer.
CREATE TABLE tbCoCompany (
    AccountNum vchar NOT NULL PRIMARY KEY,
    Company vchar NOT NULL DEFAULT '',
    CompanyType vchar NOT NULL DEFAULT 'C',
    Address vchar NOT NULL DEFAULT '',
    ContactPerson vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);

-- IsZPDFirst marks the national insurer's peritoneal dialysis benefit (the PD First
-- Z-package), under which the patient receives three bags a day.
CREATE TABLE tbCoAdmPackage (
    PackageID vchar NOT NULL PRIMARY KEY,
    Package vchar NOT NULL DEFAULT '',
    IsZPDFirst flag NOT NULL DEFAULT 0
);

-- The receivable account a charge goes to, by department, kind of stay ('I' inpatient, 'O'
-- outpatient or ER visit), who pays ('P' the patient, 'C' a company) and transaction ('1' a
-- charge, '2' a credit for a return).
CREATE TABLE tbCoARCode (
    RevenueID vchar NOT NULL,
    PatientClass vchar NOT NULL,
    Guarantor vchar NOT NULL,
    TransType vchar NOT NULL,
    ARCode vchar NOT NULL DEFAULT '',
    PRIMARY KEY (RevenueID, PatientClass, Guarantor, TransType)
);

CREATE TABLE tbExecPackageCode (
    PackageID vchar NOT NULL PRIMARY KEY,
    Description vchar NOT NULL DEFAULT ''
);

CREATE TABLE tbCoChiefComplaint (
    ChiefComplaintID vchar NOT NULL PRIMARY KEY,
    ChiefComplaint vchar NOT NULL DEFAULT ''
);

-- Precautions '1' to '5'. Color is a Windows colour value (blue, green, red bytes from high to
-- low), as every colour the hospital stores.
CREATE TABLE tbCoPrecautions (
    PrecautionID vchar NOT NULL PRIMARY KEY,
    Precaution vchar NOT NULL DEFAULT '',
    Color int NOT NULL DEFAULT 0,
    Status vchar NOT NULL DEFAULT 'A'
);

CREATE TABLE tbCoLabExam (
    LabExamID vchar NOT NULL PRIMARY KEY,
    LabExam vchar NOT NULL DEFAULT '',
    LabSectionID vchar NOT NULL DEFAULT '',
    IsProcedure flag NOT NULL DEFAULT 0,
    OpenQuantity flag NOT NULL DEFAULT 0,
    MaxQty smallint,
    -- 1 for exams priced the same whatever the patient's rate letter.
    IsFixedRate flag NOT NULL DEFAULT 0,
    -- 1 for exams a cash-basis patient may be sent for; the others wait for a deposit.
    Unrestricted flag NOT NULL DEFAULT 0,
    -- 'Y' for exams always done STAT, 'N' for exams always routine; null or '' lets the nurse
    -- choose.
    Stat vchar,
    -- 1 for exams the laboratory refuses without the specimen named on the request.
    SpecimenRequired flag NOT NULL DEFAULT 0
);

-- The laboratory's profiles: a profile is itself an examination (ProfileID a LabExamID) made
-- of the examinations listed here, which are not requested again while it is ordered.
CREATE TABLE tbCoLabProfile (
    ProfileID vchar NOT NULL,
    ExamID vchar NOT NULL,
    PRIMARY KEY (ProfileID, ExamID)
);
CREATE INDEX ix_tbCoLabProfile_ExamID ON tbCoLabProfile (ExamID);

-- Seafarers' vessels, for the vessel look-up of the admission data.
CREATE TABLE tbCoVessel (
    VesselCode vchar NOT NULL PRIMARY KEY,
    VesselName vchar NOT NULL DEFAULT ''
);

-- Other hospitals (referrals and transfers).
CREATE TABLE tbCoHospital (
    HospitalID vchar NOT NULL PRIMARY KEY,
    HospitalName vchar NOT NULL DEFAULT '',
    Address vchar NOT NULL DEFAULT ''
);

-- Holidays and the greeting shown on them. A yearly holiday matches on month and day only.
CREATE TABLE tbCoHoliday (
    HolidayID ident,
    HolidayDate datetime,
    IsYearly flag NOT NULL DEFAULT 0,
    HolidayName vchar NOT NULL DEFAULT '',
    HolidayGreeting memo
);
CREATE INDEX ix_tbCoHoliday_HolidayDate ON tbCoHoliday (HolidayDate);

-- Medicines and exams on the national formulary list, which insurance claims cover.
CREATE TABLE tbCoPNFItem (
    ItemID vchar NOT NULL PRIMARY KEY,
    Description vchar NOT NULL DEFAULT ''
);

-- X-ray and ultrasound examinations. As with the laboratory's, an exam that is a procedure with
-- an open quantity may be charged up to MaxQty times on one line.
CREATE TABLE tbCoXrayExam (
    XrayExamID vchar NOT NULL PRIMARY KEY,
    XrayExam vchar NOT NULL DEFAULT '',
    IsProcedure flag NOT NULL DEFAULT 0,
    OpenQuantity flag NOT NULL DEFAULT 0,
    MaxQty smallint,
    IsFixedRate flag NOT NULL DEFAULT 0,
    Unrestricted flag NOT NULL DEFAULT 0
);

CREATE TABLE tbCoUltraExam (
    UltraExamID vchar NOT NULL PRIMARY KEY,
    UltraExam vchar NOT NULL DEFAULT '',
    IsProcedure flag NOT NULL DEFAULT 0,
    OpenQuantity flag NOT NULL DEFAULT 0,
    MaxQty smallint,
    IsFixedRate flag NOT NULL DEFAULT 0,
    Unrestricted flag NOT NULL DEFAULT 0
);

-- What an HMO pays for an item, by the room class of the stay ('A' and 'I' for visits).
CREATE TABLE tbCoHMORate (
    RevenueID vchar NOT NULL,
    ItemID vchar NOT NULL,
    RoomClassID vchar NOT NULL,
    HMORate money NOT NULL DEFAULT 0,
    PRIMARY KEY (RevenueID, ItemID, RoomClassID)
);

-- Relative unit values of the OR procedures, and the pesos a unit is worth at each rate class:
-- a procedure's RUV rate is its units times the worth of a unit at the stay's class.
CREATE TABLE tbCoProcedureRUV (
    OtherRevenueID vchar NOT NULL PRIMARY KEY,
    RUV float NOT NULL DEFAULT 0
);

CREATE TABLE tbCoRUVConversion (
    RoomClassID vchar NOT NULL PRIMARY KEY,
    PesoPerUnit money NOT NULL DEFAULT 0
);

-- The OR procedures an OR charge line may stand for when the OR tags its procedure lines (the
-- hospital's list of operations, kept apart from the priced items).
CREATE TABLE tbCoORProcedures (
    ItemID vchar NOT NULL PRIMARY KEY,
    ItemName vchar NOT NULL DEFAULT ''
);

-- The kinds of patient a booking before admission is made for. Status 1 is in use.
CREATE TABLE tbcoPatientClass (
    Classification vchar NOT NULL PRIMARY KEY,
    Status smallint NOT NULL DEFAULT 1
);

-- The small code lists the stations pick from: diets, dosages (a dosage's frequency travels with
-- the medicine it is given with), the hospital's services and nursing stations. Status 'A' for
-- codes in use.
CREATE TABLE tbCoDiet (
    DietID vchar NOT NULL PRIMARY KEY,
    Diet vchar NOT NULL DEFAULT '',
    Remarks vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);

CREATE TABLE tbCoDosage (
    DosageID vchar NOT NULL PRIMARY KEY,
    Dosage vchar NOT NULL DEFAULT '',
    Frequency vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);

CREATE TABLE tbCoService (
    ServiceID vchar NOT NULL PRIMARY KEY,
    Service vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);

CREATE TABLE tbCoStation (
    StationID vchar NOT NULL PRIMARY KEY,
    Station vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A'
);

-- The examinations of the other examination departments: CT scan, heart station, nuclear
-- medicine, physical therapy and respiratory therapy. DepartmentID is the department's
-- revenue code ('CT', 'HS', 'NU', 'PT', 'PA').
CREATE TABLE tbCoDeptExam (
    DepartmentID vchar NOT NULL,
    ExamID vchar NOT NULL,
    ExamName vchar NOT NULL DEFAULT '',
    Status vchar NOT NULL DEFAULT 'A',
    PRIMARY KEY (DepartmentID, ExamID)
);

-- What an examination of a diagnostic department costs, one price column per rate letter A to
-- I, as the stay's rate letter picks it. RevenueID is the department ('LB', 'XR', 'US', 'CT').
CREATE TABLE tbCoExamRate (
    RevenueID vchar NOT NULL,
    ExamID vchar NOT NULL,
    RateA money NOT NULL DEFAULT 0,
    RateB money NOT NULL DEFAULT 0,
    RateC money NOT NULL DEFAULT 0,
    RateD money NOT NULL DEFAULT 0,
    RateE money NOT NULL DEFAULT 0,
    RateF money NOT NULL DEFAULT 0,
    RateG money NOT NULL DEFAULT 0,
    RateH money NOT NULL DEFAULT 0,
    RateI money NOT NULL DEFAULT 0,
    PRIMARY KEY (RevenueID, ExamID)
);
CREATE INDEX ix_tbCoExamRate_ExamID ON tbCoExamRate (ExamID);

-- ICD-10 diagnosis codes.
CREATE TABLE tbCoICD10 (
    ICDCode vchar NOT NULL PRIMARY KEY,
    Description vchar NOT NULL DEFAULT ''
);

-- The relative value scale: each procedure's code, description and points.
CREATE TABLE tbCoRVS (
    RVSCode vchar NOT NULL PRIMARY KEY,
    RVSDescription vchar NOT NULL DEFAULT '',
    RVSPoints float NOT NULL DEFAULT 0
);

-- The items of an admission package (tbCoAdmPackage): department, item, quantity and the amount
-- the package charges for it. A NULL Amount is an item whose price was never set.
CREATE TABLE tbCoPackageItems (
    PackageItemID ident,
    PackageID vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    SummaryCode vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money,
    LocationID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbCoPackageItems_PackageID ON tbCoPackageItems (PackageID);

-- The laboratory's specimens, and which of them each examination may be taken from.
CREATE TABLE tbCoLabSpecimen (
    SpecimenID vchar NOT NULL PRIMARY KEY,
    Description vchar NOT NULL DEFAULT ''
);
CREATE TABLE tbCoLabExamSpecimen (
    ExamID vchar NOT NULL,
    SpecimenID vchar NOT NULL,
    PRIMARY KEY (ExamID, SpecimenID)
);
