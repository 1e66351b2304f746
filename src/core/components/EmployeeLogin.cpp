// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/EmployeeLogin.h"

#include "core/db/Database.h"

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

} // namespace

Result<std::optional<EmployeeLogin>> readEmployeeLogin(Database &db, const QString &code)
{
    auto row = db.selectOne(u"select EmployeeID, LastName, FirstName, MiddleName, Initial, "
                            u"PasswordHash, DeptCode, StationID, Status, MustChangePassword "
                            u"from PASSWORD..tbPasswordMaster where EmployeeID = :code",
                            {{QStringLiteral("code"), code.trimmed()}});
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
    auto minimum = passwordMinimumLength(db);
    if (!minimum)
        return tl::unexpected(minimum.error());
    if (password.size() < *minimum)
        return failure(
            QStringLiteral("The password must have at least %1 characters.").arg(*minimum));
    auto hash = hashPassword(password);
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
