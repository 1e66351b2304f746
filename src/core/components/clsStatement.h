// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// The patient's statement of account.
class clsStatement : public Component
{
    Q_OBJECT
    Q_PROPERTY(QString AdmissionNumber MEMBER AdmissionNumber)
    Q_PROPERTY(QString HospitalNumber MEMBER HospitalNumber)
    Q_PROPERTY(QString EmployeeCode MEMBER EmployeeCode)
    Q_PROPERTY(QString UserID MEMBER UserID)
    Q_PROPERTY(QString EmployeeName MEMBER EmployeeName)
    Q_PROPERTY(QString UserName MEMBER UserName)

public:
    static constexpr QStringView kProgId = u"KsStatement.clsStatement";

    explicit clsStatement(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Shows the statement of account of the stay set below. It is not available yet: the
    /// user is told so.
    Q_INVOKABLE void ShowSOA();

    // The stay and who asks for its statement, under the names the hospital's windows set.
    QString AdmissionNumber;
    QString HospitalNumber;
    QString EmployeeCode;
    QString UserID;
    QString EmployeeName;
    QString UserName;
};

} // namespace kestrel
