// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/clsTarvikClasses.h"
#include "core/components/Component.h"
#include "core/components/LoginPrompt.h"
#include "core/db/Database.h"
#include "core/Session.h"

#include <memory>

namespace kestrel {

struct EmployeeLogin;

/// The login component: asks who logs in and to which hospital database, checks the employee
/// and his password, and then owns the connection every window uses.
///
/// A login writes nothing to the database but the count of wrong passwords it shares with
/// every other password check (checkEmployeePassword), and the password of his own that an
/// employee who came with a one-time password must choose. Passwords are compared without
/// their surrounding blanks and only ever with the stored one-way hash; none is logged, put
/// into a statement or shown in a message.
class clsLoginUser : public Component, public CurrentUser
{
    Q_OBJECT
    Q_PROPERTY(QString PasswordDeptCode READ PasswordDeptCode WRITE setPasswordDeptCode)
    Q_PROPERTY(QObject *hwndParentForm READ hwndParentForm WRITE setHwndParentForm)
    Q_PROPERTY(bool Connected READ Connected)
    Q_PROPERTY(QString EmployeeCode READ EmployeeCode)
    Q_PROPERTY(QString EmployeeName READ EmployeeName)
    Q_PROPERTY(QString Initial READ Initial)
    Q_PROPERTY(QString Station READ Station)
    Q_PROPERTY(QString servername READ servername)
    Q_PROPERTY(QString Database READ Database)
    Q_PROPERTY(QString UserID READ UserID)
    Q_PROPERTY(QString ServerPassword READ ServerPassword)
    Q_PROPERTY(kestrel::Database *sqlconnection READ sqlconnection)
    Q_PROPERTY(kestrel::clsTarvikClasses *TARVIKCLASSES READ TARVIKCLASSES CONSTANT)

public:
    static constexpr QStringView kProgId = u"KsUser.clsLoginUser";
    /// Wrong answers allowed before the login gives up.
    static constexpr int kMaxTries = 3;
    /// What servername answers for the embedded demo hospital.
    static constexpr QStringView kLocalServer = u"(local)";

    explicit clsLoginUser(const ComponentContext &ctx, QObject *parent = nullptr);
    ~clsLoginUser() override;

    /// The password group an employee must belong to ("29" for the OR).
    QString PasswordDeptCode() const { return m_deptCode; }
    void setPasswordDeptCode(const QString &code) { m_deptCode = code.trimmed(); }
    /// The window the login dialog belongs to.
    QObject *hwndParentForm() const { return m_parentForm; }
    void setHwndParentForm(QObject *form) { m_parentForm = form; }

    /// Shows the login window until an employee has logged in, the user cancels, or three
    /// wrong answers were given; Connected then tells which. Answers with empty fields or a
    /// database that cannot be opened are turned down without counting as a wrong answer.
    Q_INVOKABLE void showmain();
    /// Asks the logged-in employee for his password again; true when he typed it right. A
    /// locked code is told until when, and not asked.
    Q_INVOKABLE bool checkusersettings();

    /// True after a successful login.
    bool Connected() const { return m_connected; }
    QString EmployeeCode() const override { return m_employeeCode; }
    /// "LASTNAME, FIRSTNAME MIDDLENAME".
    QString EmployeeName() const override { return m_employeeName; }
    QString Initial() const override { return m_initial; }
    /// The employee's own nursing station.
    QString Station() const { return m_station; }
    /// The database server's host, or "(local)" for the embedded demo hospital.
    QString servername() const override { return m_serverName; }
    /// The database's name on the server, or the embedded hospital's file.
    QString Database() const { return m_databaseName; }
    /// The user the server connection logs in as ("" for the embedded hospital).
    QString UserID() const { return m_userId; }
    /// The server login's password, for the report viewer's own connection ("" for the
    /// embedded hospital).
    QString ServerPassword() const { return m_serverPassword; }
    // connectionString() (from Component) describes the open connection after a login:
    // "Provider=...;Server=...;Database=...;User ID=...", never with a password.

    /// The open connection after a login; nullptr before.
    kestrel::Database *sqlconnection() const override { return m_db.get(); }
    kestrel::clsTarvikClasses *TARVIKCLASSES() const { return m_classes; }

    // The texts the login window shows when it turns an answer down.
    static QString emptyFieldsText();
    static QString invalidLoginText();
    static QString otherDepartmentText();
    static QString inactiveEmployeeText();
    static QString newPasswordText();

private:
    enum class Verdict { LoggedIn, Refused, WrongAnswer, Cancelled };

    Verdict tryLogin(LoginRequest &request, QString &refusal);
    /// Opens the database the request names, or keeps the one already open when it is the
    /// same. "" on success, else the refusal text.
    QString openDatabase(const LoginRequest &request);
    /// Has an employee who logged in with a one-time password choose his own; false when he
    /// cancels.
    bool chooseOwnPassword(const EmployeeLogin &employee, const QString &oneTime);
    void takeIdentity(const EmployeeLogin &employee);
    void forget();

    QString m_deptCode;
    QObject *m_parentForm = nullptr;
    bool m_connected = false;
    QString m_employeeCode;
    QString m_employeeName;
    QString m_initial;
    QString m_station;
    QString m_serverName;
    QString m_databaseName;
    QString m_userId;
    QString m_serverPassword;
    std::unique_ptr<kestrel::Database> m_db;
    QStringList m_target; ///< where m_db leads

    kestrel::clsTarvikClasses *m_classes;
};

} // namespace kestrel
