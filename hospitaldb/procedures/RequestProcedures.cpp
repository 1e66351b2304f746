// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the pharmacy and central supply requests: a request written to the nurse
// logbook and the communication file under its own number, the medicines copied to the
// patient's medicine list, and the handling flags of a medicine.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/Money.h"

#include <QLocale>

namespace kestrel::hospitaldb {

namespace {

// Request numbers are the department followed by eight digits: "PH00000042".
QString requestNumber(const QString &department, qint64 n)
{
    return department + QStringLiteral("%1").arg(n, 8, 10, QLatin1Char('0'));
}

// Draws the department's next request number inside the caller's transaction. The row is
// created the first time a department receives a request; the update locks it until the
// caller commits, so two workstations never draw the same number.
Result<QString> nextRequestNumber(Database &db, const QString &department)
{
    const Binds dept{{QStringLiteral("dept"), department}};
    if (auto made = db.exec(u"insert into STATION..tbNurseRequestNumber (RevenueID, LastNum) "
                            u"values (:dept, 0) on conflict (RevenueID) do nothing",
                            dept);
        !made)
        return tl::unexpected(made.error());
    auto drawn = db.scalar(u"update STATION..tbNurseRequestNumber set LastNum = LastNum + 1 "
                           u"where RevenueID = :dept returning LastNum",
                           dept);
    if (!drawn)
        return tl::unexpected(drawn.error());
    return requestNumber(department, drawn->toLongLong());
}

// STATION..Nurse_AppendNurseLogBook, twenty arguments in the hospital's order: admission,
// patient class, item, amount, quantity, a blank, dosage, time ("MM/dd/yyyy hh:mm:ss AM/PM"),
// department ("PH" or "CS"), requesting doctor, user, remarks, description, "Y" (sent), STAT
// ("Y"/"N"), three "0" flags and a 0 kept for the older callers, station. Writes the request to
// the communication file and its line to the logbook under the next request number of the
// department, and answers that number (column RequestNum).
Result<RowSet> appendNurseLogBook(Database &db, const ProcedureArgs &args)
{
    const QString id = args.text(0);
    const QString department = args.text(8).toUpper();
    if (department.isEmpty())
        return failure(QStringLiteral("A request needs the department it is sent to."));
    const QDateTime at =
        QLocale::c().toDateTime(args.text(7), QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    if (!at.isValid())
        return failure(QStringLiteral("The request date %1 is not a date.").arg(args.text(7)));
    auto hospNum = db.scalar(u"select HospNum from PATIENT_DATA..tbPatient where IDNum = :id "
                             u"union all select HospNum from PATIENT_DATA..tbOutPatient "
                             u"where IDNum = :id",
                             {{QStringLiteral("id"), id}});
    if (!hospNum)
        return tl::unexpected(hospNum.error());
    auto number = nextRequestNumber(db, department);
    if (!number)
        return tl::unexpected(number.error());

    const Binds values{{QStringLiteral("number"), *number},
                       {QStringLiteral("id"), id},
                       {QStringLiteral("hosp"), hospNum->toString().trimmed()},
                       {QStringLiteral("class"), args.text(1)},
                       {QStringLiteral("item"), args.text(2)},
                       {QStringLiteral("amount"), Money::fromVariant(args.at(3)).toVariant()},
                       {QStringLiteral("qty"), args.at(4).toDouble()},
                       {QStringLiteral("dosage"), args.text(6)},
                       {QStringLiteral("at"), at},
                       {QStringLiteral("dept"), department},
                       {QStringLiteral("doctor"), args.text(9)},
                       {QStringLiteral("user"), args.text(10)},
                       {QStringLiteral("remarks"), args.text(11)},
                       {QStringLiteral("description"), args.text(12)},
                       {QStringLiteral("stat"), args.text(14)},
                       {QStringLiteral("station"), args.text(19)}};
    if (auto sent = db.exec(
            u"insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, HospNum, "
            u"StationID, ExamCode, ExamName, RequestDate, RecordStatus, Remarks, ItemID, "
            u"RevenueID, Quantity, Amount, Dosage, StatFlag, UserID) values (:number, :id, "
            u":hosp, :station, :item, :description, :at, '', :remarks, :item, :dept, :qty, "
            u":amount, :dosage, :stat, :user)",
            values);
        !sent)
        return tl::unexpected(sent.error());
    if (auto logged = db.exec(
            u"insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, RevenueID, "
            u"ItemID, Description, Quantity, Amount, TransDate, UserID, StationID, "
            u"PatientClass, ChargeDepartment, RequestingDoctorID, StatFlag, Dosage, Remarks, "
            u"RecordStatus) values (:id, :hosp, :number, :dept, :item, :description, :qty, "
            u":amount, :at, :user, :station, :class, :dept, :doctor, :stat, :dosage, "
            u":remarks, '')",
            values);
        !logged)
        return tl::unexpected(logged.error());
    RowSet answer(QStringList{QStringLiteral("RequestNum")});
    answer.append(QVariantList{*number});
    return answer;
}

// STATION..sp_Nurse_InsertMedicines_Into_tbNursePatientMedicines IdNum: the stay's pharmacy
// requests not yet on its medicine list are put there, to be given. Answers how many medicines
// of the list requested before are still not all given to the patient (column
// NotAdministered), those of the requests just copied not counted.
Result<RowSet> insertPatientMedicines(Database &db, const ProcedureArgs &args)
{
    const Binds id{{QStringLiteral("id"), args.text(0)}};
    auto waiting = db.scalar(u"select count(*) from STATION..tbNursePatientMedicines "
                             u"where IDNum = :id and RecordStatus <> 'R' "
                             u"and Quantity > QtyAdministered",
                             id);
    if (!waiting)
        return tl::unexpected(waiting.error());
    if (auto copied = db.exec(
            u"insert into STATION..tbNursePatientMedicines (IDNum, ItemID, RequestNum, Quantity, "
            u"QtyAdministered, RequestDate, RecordStatus) select C.IDNum, C.ItemID, "
            u"C.RequestNum, C.Quantity, 0, C.RequestDate, '' from "
            u"STATION..tbNurseCommunicationfile C where C.IDNum = :id and C.RevenueID = 'PH' "
            u"and C.RecordStatus = '' and not exists (select 1 from "
            u"STATION..tbNursePatientMedicines M where M.RequestNum = C.RequestNum)",
            id);
        !copied)
        return tl::unexpected(copied.error());
    RowSet answer(QStringList{QStringLiteral("NotAdministered")});
    answer.append(QVariantList{waiting->toLongLong()});
    return answer;
}

// Inventory..CheckHAlertRefrigerated item: the medicine's handling flags (columns HighAlert and
// Refrigerated, 1 or 0); no row for an unknown item.
Result<RowSet> highAlertRefrigerated(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select HighAlert, Refrigerated from INVENTORY..tbInvMaster "
                     u"where ItemID = :item",
                     {{QStringLiteral("item"), args.text(0)}});
}

} // namespace

void registerRequestProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..Nurse_AppendNurseLogBook"), 20, appendNurseLogBook);
    registry.add(QStringLiteral("STATION..sp_Nurse_InsertMedicines_Into_tbNursePatientMedicines"),
                 1, insertPatientMedicines);
    registry.add(QStringLiteral("INVENTORY..CheckHAlertRefrigerated"), 1, highAlertRefrigerated);
}

} // namespace kestrel::hospitaldb
