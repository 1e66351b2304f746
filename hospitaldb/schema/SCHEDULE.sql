-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- OR rooms, the procedures assigned to them, the schedule board's parameters and the operation
-- schedules (ward requests and confirmed bookings alike).

-- Status 'Y' active, 'X' inactive (null counts as active). The board lists rooms by SortOrder.
CREATE TABLE tbORRoom (
    RoomID int NOT NULL PRIMARY KEY,
    RoomName vchar NOT NULL DEFAULT '',
    SortOrder int NOT NULL DEFAULT 0,
    RevenueID vchar NOT NULL DEFAULT 'OR',
    Status vchar
);

-- A procedure code belongs to at most one room.
CREATE TABLE tbProcedureRoom (
    Code vchar NOT NULL PRIMARY KEY,
    RoomID int NOT NULL DEFAULT 0,
    RoomName vchar NOT NULL DEFAULT '',
    ProcedureDesc vchar NOT NULL DEFAULT ''
);
CREATE INDEX ix_tbProcedureRoom_RoomID ON tbProcedureRoom (RoomID);

-- The schedule board: first hour shown, hours in a day, minutes per line. Exactly one row.
CREATE TABLE tbORApplication (
    StartTime int NOT NULL DEFAULT 7,
    DayLength int NOT NULL DEFAULT 12,
    ScheduleIncrement int NOT NULL DEFAULT 30
);

-- Operation schedules. RecordStatus 'P' is a ward's request still waiting for the OR, 'C' a
-- confirmed booking (only these block a room), 'R' revoked. Length is in minutes.
CREATE TABLE tbORScheduleDetails (
    TransNum vchar NOT NULL PRIMARY KEY,
    IDNum vchar NOT NULL DEFAULT '',
    HospNum vchar NOT NULL DEFAULT '',
    PatientName vchar NOT NULL DEFAULT '',
    PatientClass vchar NOT NULL DEFAULT '',
    Age smallint,
    Sex vchar NOT NULL DEFAULT '',
    RoomID int,
    ScheduleDate datetime,
    StartTime datetime,
    Length int,
    Description memo,
    ProcedureCode vchar NOT NULL DEFAULT '',
    ProcedureDesc vchar NOT NULL DEFAULT '',
    Category vchar NOT NULL DEFAULT '',
    DoctorID1 vchar NOT NULL DEFAULT '',
    DoctorID2 vchar NOT NULL DEFAULT '',
    AsstSurgeon1 vchar NOT NULL DEFAULT '',
    AsstSurgeon2 vchar NOT NULL DEFAULT '',
    AsstSurgeon3 vchar NOT NULL DEFAULT '',
    Remarks vchar NOT NULL DEFAULT '',
    RecordStatus vchar NOT NULL DEFAULT '',
    RequestNum vchar NOT NULL DEFAULT '',
    RequestingStation vchar NOT NULL DEFAULT '',
    RequestTimeTag vchar NOT NULL DEFAULT '',
    RequestKind smallint NOT NULL DEFAULT 0,
    RequestDate datetime,
    RequestBy vchar NOT NULL DEFAULT '',
    ConfirmedBy vchar NOT NULL DEFAULT '',
    ConfirmedDate datetime,
    RevokedBy vchar NOT NULL DEFAULT '',
    RevokedDate datetime,
    ORNotified vchar NOT NULL DEFAULT '',
    ORNotifiedUser vchar NOT NULL DEFAULT '',
    ORNotifiedDate datetime
);
CREATE INDEX ix_tbORScheduleDetails_IDNum ON tbORScheduleDetails (IDNum);
-- The room conflict check reads a room's confirmed operations that start before the new one
-- ends and no earlier than the room's longest operation before it starts: one range of the
-- first index, and the longest from the end of the second.
CREATE INDEX ix_tbORScheduleDetails_Room ON tbORScheduleDetails (RoomID, RecordStatus, StartTime);
CREATE INDEX ix_tbORScheduleDetails_RoomLength ON tbORScheduleDetails (RoomID, RecordStatus, Length);
CREATE INDEX ix_tbORScheduleDetails_Status ON tbORScheduleDetails (RecordStatus, StartTime);
CREATE INDEX ix_tbORScheduleDetails_NotChecked ON tbORScheduleDetails (RecordStatus, IDNum) WHERE RecordStatus = 'C' AND ORNotified <> 'Y';

-- The last schedule transaction number drawn: exactly one row, ID 1. Numbers are drawn inside
-- the saving transaction, so two workstations never get the same one.
CREATE TABLE tbORScheduleNumber (
    ID int NOT NULL PRIMARY KEY,
    LastTransNum int NOT NULL DEFAULT 0
);
