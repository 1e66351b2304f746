// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsLoginUser.h"

#include "core/components/EmployeeLogin.h"
#include "core/components/PatientRecords.h"
#include "core/Installation.h"
#include "core/Notifier.h"

namespace kestrel {

namespace {

QString cannotOpenText(const Error &error)
{
    return QStringLiteral("The hospital database could not be opened.\n") + error.message;
}

// Where a login request leads: the same answer twice reuses the open connection.
QStringList targetOf(const LoginRequest &r)
{
    if (r.source == LoginSource::Embedded)
        return {QStringLiteral("embedded")};
    if (r.source == LoginSource::Installed)
        return {QStringLiteral("installed")};
    return {QStringLiteral("server"), r.host.trimmed(), QString::number(r.port),
            r.database.trimmed(),     r.user.trimmed(), r.serverPassword};
}

// The connection string of a connection: where it leads, never its password.
QString describe(const Database &db)
{
    const ConnectionSettings &s = db.settings();
    if (s.backend == Backend::Sqlite)
        return QStringLiteral("Provider=SQLite;Data Source=") + s.sqliteFile;
    if (!s.service.isEmpty())
        return QStringLiteral("Provider=PostgreSQL;Service=%1").arg(s.service);
    return QStringLiteral("Provider=PostgreSQL;Server=%1;Port=%2;Database=%3;User ID=%4")
        .arg(s.host)
        .arg(s.port)
        .arg(s.database, s.user);
}

void scrub(QString &secret)
{
    secret.fill(u'\0');
    secret.clear();
}

} // namespace

clsLoginUser::clsLoginUser(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
    , m_classes(new kestrel::clsTarvikClasses(
          ctx.notifier, [this] { return m_connected ? m_db.get() : nullptr; },
          [this] { return m_employeeCode; }, this))
{
}

clsLoginUser::~clsLoginUser() = default;

QString clsLoginUser::emptyFieldsText()
{
    return QStringLiteral("Please enter your employee code and password.");
}

QString clsLoginUser::invalidLoginText()
{
    return QStringLiteral("Invalid employee code or password.");
}

QString clsLoginUser::otherDepartmentText()
{
    return QStringLiteral("You are not allowed to log in to this department.");
}

QString clsLoginUser::inactiveEmployeeText()
{
    return QStringLiteral("This employee code is no longer active.");
}

QString clsLoginUser::newPasswordText()
{
    return QStringLiteral("You logged in with a one-time password. Please choose your own.");
}

void clsLoginUser::showmain()
{
    forget();
    LoginPrompt *prompt = context().loginPrompt;
    if (!prompt) {
        qCWarning(lcComponents) << "login asked for, but this program has no login window";
        m_db.reset();
        return;
    }
    QString refusal;
    int wrongAnswers = 0;
    while (wrongAnswers < kMaxTries) {
        std::optional<LoginRequest> request = prompt->askLogin(refusal);
        if (!request)
            break;
        const Verdict verdict = tryLogin(*request, refusal);
        scrub(request->password);
        scrub(request->serverPassword);
        if (verdict == Verdict::LoggedIn) {
            m_connected = true;
            takeConnection(m_db.get());
            takeConnection(describe(*m_db));
            qCInfo(lcComponents) << "employee" << m_employeeCode << "logged in to" << m_serverName;
            return;
        }
        if (verdict == Verdict::Cancelled)
            break;
        if (verdict == Verdict::WrongAnswer)
            ++wrongAnswers;
    }
    qCInfo(lcComponents) << "login given up after" << wrongAnswers << "wrong answers";
    forget();
    m_db.reset();
    m_target.clear();
}

clsLoginUser::Verdict clsLoginUser::tryLogin(LoginRequest &request, QString &refusal)
{
    const QString code = request.employeeCode.trimmed();
    const QString password = typedPassword(request.password);
    if (code.isEmpty() || password.isEmpty()) {
        refusal = emptyFieldsText();
        return Verdict::Refused;
    }
    // Told before anything is checked: such a password could never sign afterwards.
    if (const QString refused = passwordCharactersRefusal(password); !refused.isEmpty()) {
        refusal = refused;
        return Verdict::Refused;
    }
    if (const QString failed = openDatabase(request); !failed.isEmpty()) {
        refusal = failed;
        return Verdict::Refused;
    }
    // An unknown code costs the same check as a wrong password, reads the same and is
    // locked the same.
    auto check = checkEmployeePassword(*m_db, code, password);
    if (!check) {
        refusal = cannotOpenText(check.error());
        return Verdict::Refused;
    }
    if (check->lockedUntil.isValid()) {
        refusal = lockedOutText(check->lockedUntil);
        return Verdict::WrongAnswer;
    }
    const std::optional<EmployeeLogin> &employee = check->employee;
    if (check->verdict != PasswordCheck::Verdict::Right || !employee) {
        refusal = invalidLoginText();
        return Verdict::WrongAnswer;
    }
    if (!employee->isActive()) {
        refusal = inactiveEmployeeText();
        return Verdict::WrongAnswer;
    }
    if (employee->deptCode != m_deptCode) {
        refusal = otherDepartmentText();
        return Verdict::WrongAnswer;
    }
    if (employee->mustChangePassword && !chooseOwnPassword(*employee, password)) {
        refusal.clear();
        return Verdict::Cancelled;
    }
    takeIdentity(*employee);
    if (request.source == LoginSource::Installed) {
        // The service names the server, so the server answers where it is.
        auto where = m_db->selectOne(u"select current_database() as db, current_user as who");
        const ConnectionSettings &s = m_db->settings();
        m_serverName = s.service.isEmpty() ? s.host : s.service;
        m_databaseName = where && *where ? (**where).trimmed(u"db") : s.database;
        m_userId = where && *where ? (**where).trimmed(u"who") : s.user;
    } else if (request.source == LoginSource::Embedded) {
        m_serverName = kLocalServer.toString();
        m_databaseName = m_db->backend() == Backend::Sqlite ? m_db->settings().sqliteFile
                                                            : m_db->settings().database;
    } else {
        m_serverName = request.host.trimmed();
        m_databaseName = request.database.trimmed();
        m_userId = request.user.trimmed();
        m_serverPassword = request.serverPassword;
    }
    refusal.clear();
    return Verdict::LoggedIn;
}

QString clsLoginUser::openDatabase(const LoginRequest &request)
{
    const QStringList target = targetOf(request);
    if (m_db && target == m_target)
        return {};
    m_db.reset();
    m_target.clear();

    Result<std::unique_ptr<kestrel::Database>> db;
    if (request.source == LoginSource::Installed) {
        std::optional<ConnectionSettings> settings = installationServer(context().applicationPath);
        if (!settings)
            return QStringLiteral("The installation file of this workstation names no "
                                  "hospital server.");
        db = kestrel::Database::open(*settings);
        if (db && context().procedures)
            (*db)->setProcedures(context().procedures);
    } else if (request.source == LoginSource::Embedded) {
        if (!context().openEmbedded)
            return QStringLiteral("The embedded demo hospital is not installed on this "
                                  "workstation.");
        db = context().openEmbedded(context().embeddedPath);
    } else {
        if (request.host.trimmed().isEmpty() || request.database.trimmed().isEmpty() ||
            request.user.trimmed().isEmpty())
            return QStringLiteral("Please enter the server, the database and the user.");
        ConnectionSettings settings;
        settings.backend = Backend::Postgres;
        settings.host = request.host.trimmed();
        settings.port = request.port;
        settings.database = request.database.trimmed();
        settings.user = request.user.trimmed();
        settings.password = request.serverPassword;
        db = kestrel::Database::open(settings);
        scrub(settings.password);
        if (db && context().procedures)
            (*db)->setProcedures(context().procedures);
    }
    if (!db)
        return cannotOpenText(db.error());
    m_db = std::move(*db);
    m_target = target;
    return {};
}

void clsLoginUser::takeIdentity(const EmployeeLogin &employee)
{
    m_employeeCode = employee.code;
    m_employeeName = completeName(employee.lastName, employee.firstName, employee.middleName);
    m_initial = employee.initial;
    m_station = employee.stationId;
}

void clsLoginUser::forget()
{
    m_connected = false;
    takeConnection(static_cast<kestrel::Database *>(nullptr));
    takeConnection(QString());
    m_employeeCode.clear();
    m_employeeName.clear();
    m_initial.clear();
    m_station.clear();
    m_serverName.clear();
    m_databaseName.clear();
    m_userId.clear();
    scrub(m_serverPassword);
}

bool clsLoginUser::chooseOwnPassword(const EmployeeLogin &employee, const QString &oneTime)
{
    LoginPrompt *prompt = context().loginPrompt;
    const QString name = completeName(employee.lastName, employee.firstName, employee.middleName);
    QString refusal = newPasswordText();
    while (true) {
        std::optional<QString> chosen = prompt->askNewPassword(name, refusal);
        if (!chosen)
            return false;
        if (typedPassword(*chosen) == oneTime) {
            refusal = QStringLiteral("Please choose a password other than the one-time password.");
        } else if (auto stored = storePassword(*m_db, employee.code, *chosen, false); !stored) {
            refusal = stored.error().message;
        } else {
            scrub(*chosen);
            qCInfo(lcComponents) << "employee" << employee.code << "chose his own password";
            return true;
        }
        scrub(*chosen);
    }
}

bool clsLoginUser::checkusersettings()
{
    LoginPrompt *prompt = context().loginPrompt;
    if (!m_connected || !m_db || !prompt)
        return false;
    const auto toldLocked = [this](const QDateTime &until) {
        notifier().message(lockedOutText(until), QStringLiteral("Notification"),
                           Notifier::Icon::Critical);
    };
    // A locked code is not asked a password it could not use.
    auto locked = passwordLockedUntil(*m_db, m_employeeCode);
    if (!locked) {
        notifier().errorBox(locked.error());
        return false;
    }
    if (locked->isValid()) {
        toldLocked(*locked);
        return false;
    }
    std::optional<QString> typed = prompt->askPassword(m_employeeName, QString());
    if (!typed)
        return false;
    // The stored hash is read again: the password may have been changed since the login.
    auto check = checkEmployeePassword(*m_db, m_employeeCode, *typed);
    scrub(*typed);
    if (!check) {
        notifier().errorBox(check.error());
        return false;
    }
    if (check->lockedUntil.isValid())
        toldLocked(check->lockedUntil);
    return check->verdict == PasswordCheck::Verdict::Right && check->employee &&
           check->employee->isActive();
}

} // namespace kestrel
