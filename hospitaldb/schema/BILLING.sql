-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- The billing office's ledgers: charges billed to inpatient stays, to outpatient visits, and
-- cash assessments of walk-in patients. RefNum is the charge slip or assessment number.

CREATE TABLE tbBillDailyBill (
    DailyBillID ident,
    IDNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    RefNum vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    TransDate datetime,
    UserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbBillDailyBill_IDNum ON tbBillDailyBill (IDNum);
CREATE INDEX ix_tbBillDailyBill_RefNum ON tbBillDailyBill (RefNum);

CREATE TABLE tbBillOPDailyOut (
    OPDailyOutID ident,
    IDNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    RefNum vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    TransDate datetime,
    UserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbBillOPDailyOut_IDNum ON tbBillOPDailyOut (IDNum);
CREATE INDEX ix_tbBillOPDailyOut_RefNum ON tbBillOPDailyOut (RefNum);

-- One row per assessed item; RecordStatus 'R' once revoked.
CREATE TABLE tbCashAssessment (
    AssessmentID ident,
    RefNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    IDNum vchar NOT NULL DEFAULT '',
    PatientName vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    TransDate datetime,
    UserID vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    RecordStatus vchar NOT NULL DEFAULT '',
    -- The unit price the line was assessed at, what credit memos gave back of it, and for an
    -- examination assessed by the clinical departments its remarks, specimen and whether the
    -- portable X-ray machine is used.
    UnitPrice money NOT NULL DEFAULT 0,
    CreditedAmount money NOT NULL DEFAULT 0,
    Remarks vchar NOT NULL DEFAULT '',
    SpecimenID vchar NOT NULL DEFAULT '',
    Portable flag NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbCashAssessment_RefNum ON tbCashAssessment (RefNum);
CREATE INDEX ix_tbCashAssessment_IDNum ON tbCashAssessment (IDNum);

-- The kidney programme's fund (CDF) of a patient: what the programme and its sponsors granted
-- him, and what was taken off his hospital bills.
CREATE TABLE tbParsCDFTransaction (
    CDFTransID ident,
    HospNum vchar NOT NULL DEFAULT '',
    Amount money NOT NULL DEFAULT 0,
    Source vchar NOT NULL DEFAULT '',
    TransDate datetime,
    UserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbParsCDFTransaction_HospNum ON tbParsCDFTransaction (HospNum);
CREATE TABLE tbParsCDFUtilized (
    UtilizedID ident,
    HospNum vchar NOT NULL DEFAULT '',
    IDNum vchar NOT NULL DEFAULT '',
    Amount money NOT NULL DEFAULT 0,
    TransDate datetime,
    UserID vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbParsCDFUtilized_HospNum ON tbParsCDFUtilized (HospNum);

-- The cashier's number series: AssessmentNum, and CMAdvisenum for cash credit memos. One row.
CREATE TABLE tbAssessmentNum (
    ID int NOT NULL PRIMARY KEY,
    AssessmentNum bigint NOT NULL DEFAULT 1,
    CMAdvisenum bigint NOT NULL DEFAULT 1
);

-- Cash credit memos: one row per paid assessment line given back, under its memo number.
CREATE TABLE tbCashCMAdvise (
    CMLineID ident,
    CMAdviseNum vchar NOT NULL DEFAULT '',
    AssessmentID int NOT NULL DEFAULT 0,
    RefNum vchar NOT NULL DEFAULT '',
    IDNum vchar NOT NULL DEFAULT '',
    RevenueID vchar NOT NULL DEFAULT '',
    ItemID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    Quantity float NOT NULL DEFAULT 0,
    Amount money NOT NULL DEFAULT 0,
    UserID vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    TransDate datetime
);
CREATE INDEX ix_tbCashCMAdvise_Num ON tbCashCMAdvise (CMAdviseNum);
