// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QMetaType>
#include <QObject>
#include <QString>

// The rows a code pick-list hands back, one record per kind of list, with the member names the
// windows read. They are gadgets, so their members are also reachable by name at run time.

namespace kestrel {

/// A doctor picked from the doctors' list.
struct DoctorRecord
{
    Q_GADGET
    Q_PROPERTY(QString ResultCode MEMBER ResultCode)
    Q_PROPERTY(QString LastName MEMBER LastName)
    Q_PROPERTY(QString FirstName MEMBER FirstName)
    Q_PROPERTY(QString MiddleName MEMBER MiddleName)

public:
    friend bool operator==(const DoctorRecord &, const DoctorRecord &) = default;

    QString ResultCode; ///< the doctor's code
    QString LastName;
    QString FirstName;
    QString MiddleName;
};

/// A procedure or supply of one revenue section. OtherSectionID is set before the search to
/// choose the section; the rest is the picked item.
struct OtherRevenueRecord
{
    Q_GADGET
    Q_PROPERTY(QString OtherSectionID MEMBER OtherSectionID)
    Q_PROPERTY(QString ResultCode MEMBER ResultCode)
    Q_PROPERTY(QString OtherRevenue MEMBER OtherRevenue)
    Q_PROPERTY(kestrel::Money RateA MEMBER RateA)
    Q_PROPERTY(kestrel::Money RateB MEMBER RateB)
    Q_PROPERTY(kestrel::Money RateC MEMBER RateC)
    Q_PROPERTY(kestrel::Money RateD MEMBER RateD)
    Q_PROPERTY(kestrel::Money RateE MEMBER RateE)
    Q_PROPERTY(kestrel::Money RateF MEMBER RateF)
    Q_PROPERTY(kestrel::Money RateG MEMBER RateG)
    Q_PROPERTY(kestrel::Money RateH MEMBER RateH)
    Q_PROPERTY(kestrel::Money RateI MEMBER RateI)

public:
    friend bool operator==(const OtherRevenueRecord &, const OtherRevenueRecord &) = default;

    QString OtherSectionID;
    QString ResultCode;   ///< the item's code
    QString OtherRevenue; ///< the item's name
    // The item's price at each rate letter.
    Money RateA, RateB, RateC, RateD, RateE, RateF, RateG, RateH, RateI;
};

/// A diet picked from the diets' list.
struct DietRecord
{
    Q_GADGET
    Q_PROPERTY(QString ResultCode MEMBER ResultCode)
    Q_PROPERTY(QString Diet MEMBER Diet)
    Q_PROPERTY(QString Remarks MEMBER Remarks)

public:
    friend bool operator==(const DietRecord &, const DietRecord &) = default;

    QString ResultCode;
    QString Diet;
    QString Remarks;
};

/// A dosage picked from the dosages' list.
struct DosageRecord
{
    Q_GADGET
    Q_PROPERTY(QString ResultCode MEMBER ResultCode)
    Q_PROPERTY(QString Frequency MEMBER Frequency)

public:
    friend bool operator==(const DosageRecord &, const DosageRecord &) = default;

    QString ResultCode;
    QString Frequency;
};

/// A row of the simpler lists (services, stations and the examinations of each department):
/// a code and what it stands for.
struct CodeRecord
{
    Q_GADGET
    Q_PROPERTY(QString ResultCode MEMBER ResultCode)
    Q_PROPERTY(QString Description MEMBER Description)

public:
    friend bool operator==(const CodeRecord &, const CodeRecord &) = default;

    QString ResultCode;
    QString Description;
};

} // namespace kestrel
