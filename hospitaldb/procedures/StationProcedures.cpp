// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the nursing-station database.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/components/EmployeeLogin.h"
#include "core/db/Database.h"
#include "core/db/LikePattern.h"
#include "users/modEncryption.h"

namespace kestrel::hospitaldb {

namespace {

// The departments a station may charge to: every active revenue code, by name.
Result<RowSet> chargingCodes(Database &db, const ProcedureArgs &)
{
    return db.select(u"select RevenueID, ItemName from BUILD_FILE..tbCoRevenueCode "
                     u"where Status = 'A' order by ItemName, RevenueID");
}

// The rate letter of a room; no row for a room the hospital does not have.
Result<RowSet> roomClassification(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select RoomClassID from BUILD_FILE..tbCoRoom where RoomID = :room",
                     {{QStringLiteral("room"), args.text(0)}});
}

Result<RowSet> noEmployee()
{
    return RowSet({QStringLiteral("LastName"), QStringLiteral("FirstName"),
                   QStringLiteral("MiddleName")});
}

// Answers the employee's name when the code and the scrambled password are valid for the
// department; no row otherwise. The password is unscrambled with the hospital's key and
// checked against the stored hash; it is never stored, logged or compared as text. Wrong
// passwords count towards the lock-out the login and every other password check share.
Result<RowSet> checkUserDepartmentAccess(Database &db, const ProcedureArgs &args)
{
    auto key = db.scalar(u"select ScrambleKey from PASSWORD..tbPasswordKey");
    if (!key)
        return tl::unexpected(key.error());
    if (key->toString().trimmed().isEmpty())
        return failure(QStringLiteral("The password key of this hospital is not set."));
    const QString password = Scramble(u"D", key->toString().trimmed(), args.text(1));
    auto check = checkEmployeePassword(db, args.text(0), password);
    if (!check)
        return tl::unexpected(check.error());
    const std::optional<EmployeeLogin> &employee = check->employee;
    if (check->verdict != PasswordCheck::Verdict::Right || !employee || !employee->isActive() ||
        employee->deptCode != args.text(2))
        return noEmployee();
    RowSet rows = *noEmployee();
    rows.append(QVariantList{employee->lastName, employee->firstName, employee->middleName});
    return rows;
}

// The employees of a station whose code or last name begins with the typed text.
Result<RowSet> searchNurseUsers(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select EmployeeID as EmployeeCode, "
                     u"LastName || ', ' || FirstName || ' ' || MiddleName as EmployeeName, "
                     u"Designation as Position from PASSWORD..tbPasswordMaster "
                     u"where StationID = :station and Status = 'A' and "
                     u"(EmployeeID like :typed escape '\\' or LastName like :typed escape '\\') "
                     u"order by LastName, FirstName, EmployeeID",
                     {{QStringLiteral("station"), args.text(0)},
                      {QStringLiteral("typed"), likePrefix(args.text(1))}});
}

// Replaces an employee's rights, recording who granted them and when.
Result<RowSet> saveUserRights(Database &db, const ProcedureArgs &args)
{
    const Binds binds{{QStringLiteral("employee"), args.text(0)},
                      {QStringLiteral("rights"), args.at(1).toString()},
                      {QStringLiteral("user"), args.text(2)}};
    Transaction tx = db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto updated = db.exec(u"update STATION..tbNurseUserRights set EmployeeRights = :rights, "
                           u"UserID = :user, TransDate = getdate() where EmployeeID = :employee",
                           binds);
    if (!updated)
        return tl::unexpected(updated.error());
    if (*updated == 0) {
        auto inserted = db.exec(u"insert into STATION..tbNurseUserRights (EmployeeID, "
                                u"EmployeeRights, UserID, TransDate) values (:employee, :rights, "
                                u":user, getdate())",
                                binds);
        if (!inserted)
            return tl::unexpected(inserted.error());
    }
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return RowSet();
}

} // namespace

void registerStationProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_Check_User_Department_Access"), 3,
                 checkUserDepartmentAccess);
    registry.add(QStringLiteral("STATION..spNurse_SearchNurseUsers"), 2, searchNurseUsers);
    registry.add(QStringLiteral("STATION..spNurse_SaveUserRights"), 3, saveUserRights);
    registry.add(QStringLiteral("STATION..sp_OR_ChargingCodes"), 1, chargingCodes);
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_RoomClassification"), 1, roomClassification);
}

} // namespace kestrel::hospitaldb
