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
    RecordStatus vchar NOT NULL DEFAULT ''
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
