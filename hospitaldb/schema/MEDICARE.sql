-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- National health insurance data.

-- Membership categories; Status 1 for those in use.
CREATE TABLE tbAdmPHICTable (
    PHICCode vchar NOT NULL PRIMARY KEY,
    PHICDescription vchar NOT NULL DEFAULT '',
    Status smallint NOT NULL DEFAULT 1
);

-- Case-rate packages: what the insurance pays for one illness or operation (Amount), and the
-- part of it that goes to the doctors (PF). A second case rate pays the hospital and the
-- doctors their own percentages of Amount when CaseRatePercentage is 50; a null percentage
-- counts as 100.
CREATE TABLE tbMedPackage (
    PackageID vchar NOT NULL PRIMARY KEY,
    Package vchar NOT NULL DEFAULT '',
    Amount money,
    PF money,
    HCIPercentage float,
    PFPercentage float,
    CaseRatePercentage float,
    IsAllowSecondCR flag NOT NULL DEFAULT 0
);

-- The medical case rate of an ICD-10 code, with the description the insurance uses.
CREATE TABLE tbMed_MedicalCaseRates (
    ICDCode vchar NOT NULL PRIMARY KEY,
    PackageID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbMed_MedicalCaseRates_PackageID ON tbMed_MedicalCaseRates (PackageID);

-- The surgical case rate of a relative value scale code.
CREATE TABLE tbMed_Procedures (
    RVSCode vchar NOT NULL PRIMARY KEY,
    PackageID vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbMed_Procedures_PackageID ON tbMed_Procedures (PackageID);

-- Stays whose insurance benefits billing has already computed: their discharge order is
-- closed to the wards.
CREATE TABLE tbMedActual (
    IDNum vchar NOT NULL PRIMARY KEY,
    ComputedDate datetime,
    UserID vchar NOT NULL DEFAULT ''
);
