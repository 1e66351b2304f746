// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "EmployeeAdmin.h"

#include <sodium.h>

namespace kestrel::admin {

namespace {

Result<bool> employeeExists(Database &db, const QString &code)
{
    auto n = db.scalar(u"select count(*) from PASSWORD..tbPasswordMaster where EmployeeID = :code",
                       {{QStringLiteral("code"), code.trimmed()}});
    if (!n)
        return tl::unexpected(n.error());
    return n->toInt() > 0;
}

} // namespace

Result<void> addEmployee(Database &db, const NewEmployee &e)
{
    if (e.code.trimmed().isEmpty() || e.lastName.trimmed().isEmpty() ||
        e.firstName.trimmed().isEmpty())
        return failure(QStringLiteral("An employee needs a code, a last name and a first name."));
    auto exists = employeeExists(db, e.code);
    if (!exists)
        return tl::unexpected(exists.error());
    if (*exists)
        return failure(QStringLiteral("Employee %1 already exists.").arg(e.code.trimmed()));
    auto catalogue = db.select(u"select ItemID from STATION..tbNurseUserSettings");
    if (!catalogue)
        return tl::unexpected(catalogue.error());
    QStringList known;
    for (const Row &r : *catalogue)
        known << r.trimmed(u"ItemID");
    // A hospital without a list of rights yet takes the codes as they come, as the import
    // does.
    for (const QString &right : e.rights) {
        if (!known.isEmpty() && !known.contains(right.trimmed(), Qt::CaseInsensitive))
            return failure(QStringLiteral("Right %1 is not in the hospital's list of rights.")
                               .arg(right.trimmed()));
    }
    QString initial = e.initial.trimmed();
    if (initial.isEmpty()) {
        for (const QString &part : {e.firstName, e.middleName, e.lastName})
            initial += part.trimmed().left(1).toUpper();
    }

    Transaction tx = db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto added = db.exec(u"insert into PASSWORD..tbPasswordMaster (EmployeeID, LastName, "
                         u"FirstName, MiddleName, Initial, DeptCode, Designation, StationID, "
                         u"Status, DateCreated) values (:code, :last, :first, :middle, "
                         u":initial, :dept, :designation, :station, 'A', getdate())",
                         {{QStringLiteral("code"), e.code.trimmed()},
                          {QStringLiteral("last"), e.lastName.trimmed()},
                          {QStringLiteral("first"), e.firstName.trimmed()},
                          {QStringLiteral("middle"), e.middleName.trimmed()},
                          {QStringLiteral("initial"), initial},
                          {QStringLiteral("dept"), e.department.trimmed()},
                          {QStringLiteral("designation"), e.designation.trimmed()},
                          {QStringLiteral("station"), e.station.trimmed()}});
    if (!added)
        return tl::unexpected(added.error());
    if (!e.rights.isEmpty()) {
        QStringList codes;
        for (const QString &right : e.rights)
            codes << right.trimmed();
        auto granted = db.exec(u"insert into STATION..tbNurseUserRights "
                               u"(EmployeeID, EmployeeRights, UserID, TransDate) "
                               u"values (:code, :rights, 'ADMIN', getdate())",
                               {{QStringLiteral("code"), e.code.trimmed()},
                                {QStringLiteral("rights"), QString(u'|' + codes.join(u'|'))}});
        if (!granted)
            return tl::unexpected(granted.error());
    }
    return tx.commit();
}

QString randomText(int length)
{
    static constexpr char kAlphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789";
    constexpr auto kSize = std::uint32_t(sizeof(kAlphabet) - 1);
    if (sodium_init() < 0)
        return {};
    QString password;
    for (int i = 0; i < length; ++i)
        password += QLatin1Char(kAlphabet[randombytes_uniform(kSize)]);
    return password;
}

Result<bool> unlockEmployee(Database &db, const QString &code)
{
    auto exists = employeeExists(db, code);
    if (!exists || !*exists)
        return exists;
    auto cleared = db.exec(u"delete from PASSWORD..tbValidationFailures where EmployeeID = :code",
                           {{QStringLiteral("code"), code.trimmed()}});
    if (!cleared)
        return tl::unexpected(cleared.error());
    return true;
}

Result<bool> disableEmployee(Database &db, const QString &code)
{
    auto changed = db.exec(u"update PASSWORD..tbPasswordMaster set Status = 'I' "
                           u"where EmployeeID = :code",
                           {{QStringLiteral("code"), code.trimmed()}});
    if (!changed)
        return tl::unexpected(changed.error());
    return *changed > 0;
}

} // namespace kestrel::admin
