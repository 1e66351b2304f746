// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The save procedures of the OR nurses' forms: the pre-operative checklist, the pre-anaesthetic
// evaluation, the surgical safety checklist and the labour room form. Each keeps one record per
// stay and replaces it whole: a second save of the same stay, from this workstation or another
// at the same moment, leaves one record holding the last save's values.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

struct FormTable
{
    QString procedure;
    QString table;
    /// The columns in the order the procedure takes them, after the IdNum; the saving
    /// employee comes last.
    QStringList columns;
};

// The statement that replaces a stay's record of `form`.
QString upsertStatement(const FormTable &form)
{
    QStringList names{QStringLiteral("IdNum")}, values{QStringLiteral(":id")}, updates;
    for (int i = 0; i < form.columns.size(); ++i) {
        names << form.columns.at(i);
        values << u":c" + QString::number(i);
        updates << form.columns.at(i) + u" = excluded." + form.columns.at(i);
    }
    names << QStringLiteral("UserID") << QStringLiteral("TransDate");
    values << QStringLiteral(":user") << QStringLiteral("getdate()");
    updates << QStringLiteral("UserID = excluded.UserID")
            << QStringLiteral("TransDate = excluded.TransDate");
    return u"insert into " + form.table + u" (" + names.join(u", ") + u") values (" +
           values.join(u", ") + u") on conflict (IdNum) do update set " + updates.join(u", ");
}

void addForm(ProcedureRegistry &registry, const FormTable &form)
{
    const QString sql = upsertStatement(form);
    const int count = int(form.columns.size());
    registry.add(form.procedure, count + 2, [sql, count](Database &db, const ProcedureArgs &args) {
        Binds binds{{QStringLiteral("id"), args.text(0)},
                    {QStringLiteral("user"), args.text(count + 1)}};
        for (int i = 0; i < count; ++i)
            binds.insert(u"c" + QString::number(i), args.at(i + 1).toString());
        return noRows(db.exec(sql, binds));
    });
}

} // namespace

void registerNursingFormProcedures(ProcedureRegistry &registry)
{
    // STATION..Nurse_SavePreOp IdNum, Surgeon, ..., YesNo, Signers, UserID
    addForm(registry,
            {QStringLiteral("STATION..Nurse_SavePreOp"),
             QStringLiteral("STATION..tbNursePreOp"),
             {QStringLiteral("Surgeon"), QStringLiteral("Anesthesiologist"),
              QStringLiteral("TimeSched"), QStringLiteral("DateSched"), QStringLiteral("ByWhom"),
              QStringLiteral("Operation"), QStringLiteral("Spiritual"), QStringLiteral("Remarks"),
              QStringLiteral("Signs"), QStringLiteral("Medicine"), QStringLiteral("Dose"),
              QStringLiteral("Time"), QStringLiteral("YesNo"), QStringLiteral("Signers")}});
    // STATION..Nurse_PreAnes IdNum, Surgeon, ..., YesNo, UserID
    addForm(registry,
            {QStringLiteral("STATION..Nurse_PreAnes"),
             QStringLiteral("STATION..tbNursePreAnesthetic"),
             {QStringLiteral("Surgeon"), QStringLiteral("Anesthesiologist"),
              QStringLiteral("TimeSched"), QStringLiteral("DateSched"), QStringLiteral("Operation"),
              QStringLiteral("PreOperative"), QStringLiteral("Remarks"),
              QStringLiteral("OtherBoxes"), QStringLiteral("YesNo")}});
    // STATION..Nurse_SSC IdNum, the nine signers, Operation, SignIn, TimeOut, SignOut,
    // ChkBoxes, UserID
    addForm(registry,
            {QStringLiteral("STATION..Nurse_SSC"),
             QStringLiteral("STATION..tbORSSC"),
             {QStringLiteral("SurgeonSignIn"), QStringLiteral("AnesthesiologistSignIn"),
              QStringLiteral("NurseSignIn"), QStringLiteral("SurgeonTimeOut"),
              QStringLiteral("AnesthesiologistTimeOut"), QStringLiteral("NurseTimeOut"),
              QStringLiteral("SurgeonSignOut"), QStringLiteral("AnesthesiologistSignOut"),
              QStringLiteral("NurseSignOut"), QStringLiteral("Operation"), QStringLiteral("SignIn"),
              QStringLiteral("TimeOut"), QStringLiteral("SignOut"), QStringLiteral("ChkBoxes")}});
    // STATION..SaveLRForm IdNum, Gravida, Para, DTAdmittedLR, DTAdmittedDR, NotifiedBy,
    // receivedby, UserID
    addForm(registry, {QStringLiteral("STATION..SaveLRForm"),
                       QStringLiteral("STATION..tbLRForm"),
                       {QStringLiteral("Gravida"), QStringLiteral("Para"),
                        QStringLiteral("DTAdmittedLR"), QStringLiteral("DTAdmittedDR"),
                        QStringLiteral("NotifiedBy"), QStringLiteral("receivedby")}});
}

} // namespace kestrel::hospitaldb
