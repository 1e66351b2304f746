-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- Doctors' consultations of a stay.

CREATE TABLE Consultation (
    ConsultationID ident,
    IdNum vchar NOT NULL DEFAULT '',
    DoctorID vchar NOT NULL DEFAULT '',
    ChiefComplaint vchar NOT NULL DEFAULT '',
    ConsultDate datetime
);
CREATE INDEX ix_Consultation_IdNum ON Consultation (IdNum);
