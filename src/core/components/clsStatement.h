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

    /// Reads through the connection the statement's own connection component opened.
    void setConnection(kestrel::Database *connection) { takeConnection(connection); }

    /// Shows the statement of account of the stay set below: every charge not revoked, with
    /// the total. False when it has no connection or the hospital could not be asked.
    Q_INVOKABLE bool ShowSOA();

    // The stay and who asks for its statement, under the names the hospital's windows set.
    QString AdmissionNumber;
    QString HospitalNumber;
    QString EmployeeCode;
    QString UserID;
    QString EmployeeName;
    QString UserName;
};

/// Who asks for a statement of account, of which stay, and the server he is logged in to.
struct StatementRequest
{
    QString servername;
    QString database;
    QString userId;
    QString serverPassword;
    QString admissionNumber;
    QString hospitalNumber;
    QString employeeCode;
    QString employeeName;
    QString userName;
};

/// The statement of account of a stay as the View Statement of Account command shows it: the
/// statement's own connection is opened to the user's server, then the statement is shown.
/// When either cannot start the user reads "Unable to initialize KsStatement.Dll" and the
/// answer is false.
bool showStatementOfAccount(ComponentContext &ctx, const StatementRequest &request);

} // namespace kestrel
