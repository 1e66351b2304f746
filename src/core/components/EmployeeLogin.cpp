// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/EmployeeLogin.h"

#include "core/CharacterCodes.h"
#include "core/db/Database.h"
#include "core/StationLog.h"

#include <QByteArray>

#include <sodium.h>

namespace kestrel {

namespace {

// A hash of random bytes nobody can type, made once per run with the same limits the
// hospital's hashes use, so checking it costs what a real check costs.
const QByteArray &decoyHash()
{
    static const QByteArray hash = [] {
        QByteArray secret(32, '\0');
        randombytes_buf(secret.data(), std::size_t(secret.size()));
        QByteArray out(crypto_pwhash_STRBYTES, '\0');
        if (crypto_pwhash_str(
                out.data(), secret.constData(), static_cast<unsigned long long>(secret.size()),
                crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
            out.clear();
        sodium_memzero(secret.data(), std::size_t(secret.size()));
        return QByteArray(out.constData()); // up to the terminating zero
    }();
    return hash;
}

constexpr int kDefaultPasswordMinimum = 8;

// The failures of `code` that still count at `now`, newest first, and the end of the lock
// they make (invalid: no lock).
struct Failures
{
    int count = 0;
    QDateTime lockedUntil;
};

Result<Failures> recentFailures(Database &db, const QString &code, const QDateTime &now)
{
    auto rows = db.select(u"select FailedAt from PASSWORD..tbValidationFailures "
                          u"where EmployeeID = :code and FailedAt > :since "
                          u"order by FailedAt desc",
                          {{QStringLiteral("code"), code},
                           {QStringLiteral("since"), now.addSecs(-kFailureWindowSeconds)}});
    if (!rows)
        return tl::unexpected(rows.error());
    Failures f;
    f.count = int(rows->count());
    if (f.count >= kFailuresBeforeLock) {
        const QDateTime until = rows->at(0).dateTime(u"FailedAt").addSecs(kLockSeconds);
        if (until > now)
            f.lockedUntil = until;
    }
    return f;
}

Result<QDateTime> serverClock(Database &db)
{
    auto now = db.scalar(u"select getdate()");
    if (!now)
        return tl::unexpected(now.error());
    return dateTimeFromVariant(*now);
}

} // namespace

QString typedPassword(const QString &typed)
{
    return typed.trimmed();
}

QString passwordCharactersRefusal(QStringView password)
{
    for (qsizetype i = 0; i < password.size(); ++i) {
        if (hospitalCharacterCode(password.at(i)))
            continue;
        const qsizetype length = password.at(i).isHighSurrogate() ? 2 : 1;
        return QStringLiteral("A password cannot hold \"%1\": signatures cannot carry it. "
                              "Please use letters, digits and the signs of the keyboard.")
            .arg(password.mid(i, length));
    }
    return {};
}

QString lockedOutText(const QDateTime &until)
{
    return QStringLiteral("This employee code is locked after %1 wrong passwords. "
                          "Please try again after %2.")
        .arg(kFailuresBeforeLock)
        .arg(until.toString(QStringLiteral("h:mm:ss AP")));
}

Result<QDateTime> passwordLockedUntil(Database &db, const QString &code)
{
    auto now = serverClock(db);
    if (!now)
        return tl::unexpected(now.error());
    auto failures = recentFailures(db, code.trimmed(), *now);
    if (!failures)
        return tl::unexpected(failures.error());
    return failures->lockedUntil;
}

Result<PasswordCheck> checkEmployeePassword(Database &db, const QString &code,
                                            const QString &password)
{
    const QString who = code.trimmed();
    const Binds ofCode{{QStringLiteral("code"), who}};
    PasswordCheck check;
    {
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        // The employee's row is held first: another check of the same code waits here until
        // this one has counted.
        auto employee = readEmployeeLogin(db, who, true);
        if (!employee)
            return tl::unexpected(employee.error());
        check.employee = std::move(*employee);
        auto now = serverClock(db);
        if (!now)
            return tl::unexpected(now.error());
        auto failures = recentFailures(db, who, *now);
        if (!failures)
            return tl::unexpected(failures.error());
        if (failures->lockedUntil.isValid()) {
            check.verdict = PasswordCheck::Verdict::Locked;
            check.lockedUntil = failures->lockedUntil;
        } else if (passwordMatches(check.employee ? check.employee->passwordHash : QString(),
                                   typedPassword(password)) &&
                   check.employee) {
            check.verdict = PasswordCheck::Verdict::Right;
            auto cleared = db.exec(
                u"delete from PASSWORD..tbValidationFailures where EmployeeID = :code", ofCode);
            if (!cleared)
                return tl::unexpected(cleared.error());
        } else {
            check.verdict = PasswordCheck::Verdict::Wrong;
            // Failures too old to count are dropped, so the table stays small.
            Binds old = ofCode;
            old.insert(QStringLiteral("since"), now->addSecs(-kFailureWindowSeconds));
            auto dropped = db.exec(u"delete from PASSWORD..tbValidationFailures "
                                   u"where EmployeeID = :code and FailedAt <= :since",
                                   old);
            if (!dropped)
                return tl::unexpected(dropped.error());
            Binds failed = ofCode;
            failed.insert(QStringLiteral("at"), *now);
            auto noted = db.exec(u"insert into PASSWORD..tbValidationFailures "
                                 u"(EmployeeID, FailedAt) values (:code, :at)",
                                 failed);
            if (!noted)
                return tl::unexpected(noted.error());
            if (failures->count + 1 >= kFailuresBeforeLock)
                check.lockedUntil = now->addSecs(kLockSeconds);
        }
        if (auto ok = tx.commit(); !ok)
            return tl::unexpected(ok.error());
    }
    if (check.verdict == PasswordCheck::Verdict::Locked)
        WriteStationLog(db, who, QStringLiteral("PASSWORD REFUSED: TOO MANY FAILED TRIES"), who,
                        QStringLiteral("OR"));
    return check;
}

Result<std::optional<EmployeeLogin>> readEmployeeLogin(Database &db, const QString &code,
                                                       bool lockRow)
{
    QString sql = QStringLiteral(
        "select EmployeeID, LastName, FirstName, MiddleName, Initial, PasswordHash, DeptCode, "
        "StationID, Status, MustChangePassword from PASSWORD..tbPasswordMaster "
        "where EmployeeID = :code");
    // On SQLite the write transaction it is read in already holds the whole database.
    if (lockRow && db.backend() == Backend::Postgres)
        sql += QStringLiteral(" for update");
    auto row = db.selectOne(sql, {{QStringLiteral("code"), code.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<EmployeeLogin>();
    const Row &r = **row;
    EmployeeLogin e;
    e.code = r.trimmed(u"EmployeeID");
    e.lastName = r.trimmed(u"LastName");
    e.firstName = r.trimmed(u"FirstName");
    e.middleName = r.trimmed(u"MiddleName");
    e.initial = r.trimmed(u"Initial");
    e.passwordHash = r.trimmed(u"PasswordHash");
    e.deptCode = r.trimmed(u"DeptCode");
    e.stationId = r.trimmed(u"StationID");
    e.status = r.trimmed(u"Status");
    e.mustChangePassword = r.flag(u"MustChangePassword");
    return std::optional<EmployeeLogin>(std::move(e));
}

bool passwordMatches(const QString &passwordHash, const QString &password)
{
    if (sodium_init() < 0)
        return false;
    QByteArray typed = password.toUtf8();
    const auto typedSize = static_cast<unsigned long long>(typed.size());
    bool same = false;
    if (passwordHash.isEmpty()) {
        // The answer is known to be no; only the time it takes matters.
        if (const QByteArray &decoy = decoyHash(); !decoy.isEmpty()) {
            const int spent =
                crypto_pwhash_str_verify(decoy.constData(), typed.constData(), typedSize);
            Q_UNUSED(spent)
        }
    } else {
        const QByteArray hash = passwordHash.toLatin1();
        same = crypto_pwhash_str_verify(hash.constData(), typed.constData(), typedSize) == 0;
    }
    sodium_memzero(typed.data(), std::size_t(typed.size()));
    return same;
}

Result<int> passwordMinimumLength(Database &db)
{
    auto value = db.scalar(u"select value from STATION..tbNurseSetup "
                           u"where Field = 'PasswordMinLength' order by SetupID desc");
    if (!value)
        return tl::unexpected(value.error());
    bool ok = false;
    const int length = value->toString().trimmed().toInt(&ok);
    return ok && length > 0 ? length : kDefaultPasswordMinimum;
}

Result<QString> hashPassword(const QString &password)
{
    if (sodium_init() < 0)
        return failure(QStringLiteral("The password library could not start."));
    QByteArray typed = password.toUtf8();
    QByteArray out(crypto_pwhash_STRBYTES, '\0');
    const int rc = crypto_pwhash_str(
        out.data(), typed.constData(), static_cast<unsigned long long>(typed.size()),
        crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE);
    sodium_memzero(typed.data(), std::size_t(typed.size()));
    if (rc != 0)
        return failure(QStringLiteral("There is not enough memory to hash the password."));
    return QString::fromLatin1(out.constData()); // up to the terminating zero
}

Result<bool> storePassword(Database &db, const QString &code, const QString &password, bool oneTime)
{
    const QString typed = typedPassword(password);
    if (const QString refusal = passwordCharactersRefusal(typed); !refusal.isEmpty())
        return failure(refusal);
    auto minimum = passwordMinimumLength(db);
    if (!minimum)
        return tl::unexpected(minimum.error());
    if (typed.size() < *minimum)
        return failure(
            QStringLiteral("The password must have at least %1 characters.").arg(*minimum));
    auto hash = hashPassword(typed);
    if (!hash)
        return tl::unexpected(hash.error());
    auto changed = db.exec(u"update PASSWORD..tbPasswordMaster set PasswordHash = :hash, "
                           u"MustChangePassword = :once where EmployeeID = :code",
                           {{QStringLiteral("hash"), *hash},
                            {QStringLiteral("once"), oneTime},
                            {QStringLiteral("code"), code.trimmed()}});
    if (!changed)
        return tl::unexpected(changed.error());
    return *changed > 0;
}

} // namespace kestrel
