// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace kestrel {

class CF4EntryWindow;
class Database;
class Notifier;

/// The CF4 entry object: the insurance claim's clinical form for one stay.
class clsCF4 : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString IdNum MEMBER IdNum)
    Q_PROPERTY(QString StationID MEMBER StationID)
    Q_PROPERTY(QString Title MEMBER Title)
    Q_PROPERTY(bool ShowPrint MEMBER ShowPrint)
    Q_PROPERTY(QString HospitalName MEMBER HospitalName)
    Q_PROPERTY(QString HospitalAddress MEMBER HospitalAddress)
    Q_PROPERTY(QString ReportPath MEMBER ReportPath)
    Q_PROPERTY(QString EmployeeCode MEMBER EmployeeCode)

public:
    explicit clsCF4(Notifier &notifier, QObject *parent = nullptr);

    /// Whether the CF4 of stay IdNum is complete. When it is not, the user is told which parts
    /// are still to be entered. False without a stay or a connection.
    Q_INVOKABLE bool ValidateRequirements() const;
    /// Opens the CF4 entry window of stay IdNum with the values set above.
    Q_INVOKABLE void ShowEntry();

    /// The window the entry is shown in; the program's is given before the first ShowEntry.
    void setEntryWindow(CF4EntryWindow *window) { m_window = window; }
    /// The connection to read and save through when the object stands alone; otherwise the
    /// one its class library was handed.
    void setConnection(Database *db) { m_db = db; }
    Database *connection() const;

    // What the window is opened with, under the names the hospital's windows set.
    QString IdNum;
    QString StationID;
    QString Title;
    bool ShowPrint = false;
    QString HospitalName;
    QString HospitalAddress;
    QString ReportPath;
    QString EmployeeCode;

private:
    Notifier &m_notifier;
    CF4EntryWindow *m_window = nullptr;
    Database *m_db = nullptr;
};

/// The class library of the login component: switched on with UseClasses, then given the
/// login's connection with initwithdb. It carries the CF4 entry object.
class clsTarvikClasses : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool UseClasses READ UseClasses WRITE setUseClasses)
    Q_PROPERTY(kestrel::clsCF4 *clsCF4 READ clsCF4 CONSTANT)

public:
    /// `connection` and `employeeCode` are asked of the login each time, never copied early.
    clsTarvikClasses(Notifier &notifier, std::function<Database *()> connection,
                     std::function<QString()> employeeCode, QObject *parent = nullptr);

    bool UseClasses() const { return m_useClasses; }
    void setUseClasses(bool on) { m_useClasses = on; }

    /// Hands the login's connection to the classes. True when the classes are switched on and
    /// there is a connection to hand over.
    Q_INVOKABLE bool initwithdb();
    /// Whether initwithdb succeeded.
    bool initialised() const { return m_db != nullptr; }
    Database *connection() const { return m_db; }

    kestrel::clsCF4 *clsCF4() const { return m_cf4; }

private:
    bool m_useClasses = false;
    Database *m_db = nullptr;
    std::function<Database *()> m_connection;
    std::function<QString()> m_employeeCode;
    kestrel::clsCF4 *m_cf4;
};

} // namespace kestrel
