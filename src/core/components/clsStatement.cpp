// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsStatement.h"

#include "core/components/clsOpenConnection.h"
#include "core/components/CodePickList.h"
#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

clsStatement::clsStatement(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsStatement::ShowSOA()
{
    Database *db = connection();
    if (!db) {
        qCWarning(lcComponents) << "statement of account shown before a connection";
        return false;
    }
    auto rows = db->call(u"STATION..sp_StatementOfAccount", {AdmissionNumber.trimmed()});
    if (!rows) {
        notifier().errorBox(rows.error());
        return false;
    }
    CodeListing statement;
    statement.title = QStringLiteral("Statement of Account");
    statement.headers = {QStringLiteral("Date"),        QStringLiteral("Dept."),
                         QStringLiteral("Charge Slip"), QStringLiteral("Code"),
                         QStringLiteral("Description"), QStringLiteral("Qty"),
                         QStringLiteral("Amount")};
    Money total;
    for (const Row &r : *rows) {
        total += r.money(u"Amount");
        statement.rows << QStringList{r.dateTime(u"TransDate").toString(u"MM/dd/yyyy"),
                                      r.trimmed(u"RevenueID"),
                                      r.trimmed(u"ReferenceNum"),
                                      r.trimmed(u"ItemID"),
                                      r.trimmed(u"Description"),
                                      QString::number(r.number(u"Quantity")),
                                      r.money(u"Amount").toString()};
    }
    statement.notes = {QStringLiteral("Admission No.: ") + AdmissionNumber.trimmed() +
                           QStringLiteral("    Hospital No.: ") + HospitalNumber.trimmed(),
                       QStringLiteral("Total Charges: ") + total.toString(),
                       QStringLiteral("Printed by: ") + EmployeeName.trimmed()};
    showListing(statement);
    return true;
}

bool showStatementOfAccount(ComponentContext &ctx, const StatementRequest &request)
{
    std::unique_ptr<Component> opener = CreateComponent(clsOpenConnection::kProgId.toString(), ctx);
    std::unique_ptr<Component> shown = CreateComponent(clsStatement::kProgId.toString(), ctx);
    auto *open = qobject_cast<clsOpenConnection *>(opener.get());
    auto *statement = qobject_cast<clsStatement *>(shown.get());
    if (open) {
        open->servername = request.servername;
        open->Database = request.database;
        open->UserID = request.userId;
        open->ServerPassword = request.serverPassword;
    }
    if (!open || !statement || !open->EstablishedConnection()) {
        ctx.notifier.message(QStringLiteral("Unable to initialize KsStatement.Dll"),
                             QStringLiteral("Notification"), Notifier::Icon::Critical);
        return false;
    }
    statement->setConnection(open->connection());
    statement->AdmissionNumber = request.admissionNumber;
    statement->HospitalNumber = request.hospitalNumber;
    statement->EmployeeCode = request.employeeCode;
    statement->UserID = request.userId;
    statement->EmployeeName = request.employeeName;
    statement->UserName = request.userName;
    return statement->ShowSOA();
}

} // namespace kestrel
