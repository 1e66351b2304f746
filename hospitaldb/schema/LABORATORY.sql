-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- Laboratory results as the laboratory releases them, read by the stations' result forms.

-- One row per test of a request. SectionID is the laboratory section: 'CHEM' chemistry,
-- 'HEM' hematology, 'SERO' immunoserology, 'MICRO' microbiology, 'CM' clinical microscopy.
-- Result, Unit and NormalRange are kept as the analyser or the medical technologist wrote them;
-- Flag is 'H' or 'L' for a result outside the normal range. ResultDate stays null until the
-- result is released. IsAMPickUp marks a specimen the laboratory collects on its early-morning
-- round of the requesting station.
CREATE TABLE tbLabResult (
    ResultID ident,
    IdNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    RequestNum vchar NOT NULL DEFAULT '',
    SectionID vchar NOT NULL DEFAULT '',
    TestName vchar NOT NULL DEFAULT '',
    Result vchar NOT NULL DEFAULT '',
    Unit vchar NOT NULL DEFAULT '',
    NormalRange vchar NOT NULL DEFAULT '',
    Flag vchar NOT NULL DEFAULT '',
    Specimen vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    RequestedBy vchar NOT NULL DEFAULT '',
    RequestDate datetime,
    IsAMPickUp flag NOT NULL DEFAULT 0,
    ResultDate datetime,
    MedTech vchar NOT NULL DEFAULT '',
    -- '' for a live request, 'R' once the station revoked it.
    RecordStatus vchar NOT NULL DEFAULT '',
    -- The critical limit a result crossed ("< 2.5"), for the panic-value list; '' otherwise.
    PanicValue vchar NOT NULL DEFAULT '',
    -- 1 once the station printed the released result.
    Printed flag NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbLabResult_IdNum ON tbLabResult (IdNum, SectionID);
CREATE INDEX ix_tbLabResult_RequestDate ON tbLabResult (StationID, RequestDate);
CREATE INDEX ix_tbLabResult_Printed ON tbLabResult (StationID, Printed);

-- The laboratory request forms a user is printing: cleared and filled for each print, one line
-- per examination, read by the request form report.
CREATE TABLE tbLabRequestForm (
    FormLineID ident,
    UserID vchar NOT NULL DEFAULT '',
    Source vchar NOT NULL DEFAULT '',
    IdNum vchar NOT NULL DEFAULT '',
    PatientName vchar NOT NULL DEFAULT '',
    AccountNum vchar NOT NULL DEFAULT '',
    Doctor vchar NOT NULL DEFAULT '',
    Room vchar NOT NULL DEFAULT '',
    Accommodation vchar NOT NULL DEFAULT '',
    ExamCode vchar NOT NULL DEFAULT '',
    Description vchar NOT NULL DEFAULT '',
    Section vchar NOT NULL DEFAULT '',
    ExamType vchar NOT NULL DEFAULT '',
    Specimen vchar NOT NULL DEFAULT '',
    RequestNum vchar NOT NULL DEFAULT '',
    ChargeDate datetime,
    Priority vchar NOT NULL DEFAULT '',
    PatientType vchar NOT NULL DEFAULT '',
    Nurse vchar NOT NULL DEFAULT '',
    Transplant vchar NOT NULL DEFAULT '',
    Dialysis vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbLabRequestForm_UserID ON tbLabRequestForm (UserID, RequestNum);
