// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR's patient list: inpatient stays, outpatient visits and ER visits found by last name,
// hospital number or admission number, or everybody still in the hospital.
#include "hospitaldb/procedures/PatientListProcedures.h"

#include "hospitaldb/procedures/HospitalProcedures.h"
#include "core/components/PatientRecords.h"
#include "core/db/LikePattern.h"

#include <algorithm>

namespace kestrel::hospitaldb {

namespace {

// How the list shows a date and time.
const QString kListDateFormat = QStringLiteral("MM/dd/yyyy hh:mm AP");

// The columns of the list, in the order the grid shows them; the last two stay hidden.
const QStringList kListColumns{
    QStringLiteral("HospNum"),        QStringLiteral("IdNum"),
    QStringLiteral("PatientName"),    QStringLiteral("AdmissionDate"),
    QStringLiteral("DischargedDate"), QStringLiteral("BillingDate"),
    QStringLiteral("CashBasis"),      QStringLiteral("CashBasisRemarks")};

QString listDate(const QDateTime &when)
{
    return when.isValid() ? when.toString(kListDateFormat) : QString();
}

// A date argument as the program binds it (a date) or as older callers typed it
// ("mm/dd/yyyy").
QDate dateArgument(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    const QString text = value.toString().trimmed();
    const QDate typed = QDate::fromString(text, QStringLiteral("MM/dd/yyyy"));
    return typed.isValid() ? typed : dateTimeFromVariant(value).date();
}

Result<RowSet> patientList(Database &db, const PatientListQuery &query)
{
    const PatientListStatement statement = patientListStatement(query, db.ordersTextByCodePoint());
    auto stays = db.select(statement.sql, statement.binds);
    if (!stays)
        return tl::unexpected(stays.error());
    RowSet out(kListColumns);
    for (const Row &r : *stays) {
        const bool cashBasis = r.flag(u"isCashBasis");
        const QString reason = r.trimmed(u"CashBasisReason");
        QString legend;
        if (cashBasis)
            legend = reason.isEmpty() ? QStringLiteral("CASH BASIS PATIENT")
                                      : QStringLiteral("CASH BASIS: ") + reason;
        out.append(QVariantList{
            r.trimmed(u"HospNum"), r.trimmed(u"IDNum"),
            completeName(r.text(u"LastName"), r.text(u"FirstName"), r.text(u"MiddleName")),
            listDate(r.dateTime(u"AdmDate")), listDate(r.dateTime(u"DcrDate")),
            listDate(r.dateTime(u"BillingDate")), cashBasis ? 1 : 0, legend});
    }
    return out;
}

PatientListQuery queryOf(const ProcedureArgs &args)
{
    return {args.text(0), args.text(1), args.text(2), args.text(3), {}, {}, 0, 0};
}

Result<RowSet> orPatientList(Database &db, const ProcedureArgs &args)
{
    return patientList(db, queryOf(args));
}

Result<RowSet> orPatientListByAdmDate(Database &db, const ProcedureArgs &args)
{
    PatientListQuery query = queryOf(args);
    query.admittedFrom = dateArgument(args.at(4));
    query.admittedTo = dateArgument(args.at(5));
    if (!query.admittedFrom.isValid() || !query.admittedTo.isValid())
        return failure(QStringLiteral("The admission dates of the patient list are not valid."));
    return patientList(db, query);
}

// A page of the list, for a window that shows the first rows at once and reads on as the
// user scrolls: the four criteria, the admission dates (both empty for none), the rows to skip
// and the rows to read.
Result<RowSet> orPatientListPage(Database &db, const ProcedureArgs &args)
{
    PatientListQuery query = queryOf(args);
    if (!args.text(4).isEmpty() || !args.text(5).isEmpty()) {
        query.admittedFrom = dateArgument(args.at(4));
        query.admittedTo = dateArgument(args.at(5));
        if (!query.admittedFrom.isValid() || !query.admittedTo.isValid())
            return failure(
                QStringLiteral("The admission dates of the patient list are not valid."));
    }
    query.offset = std::max(0, args.at(6).toInt());
    query.limit = std::max(1, args.at(7).toInt());
    return patientList(db, query);
}

// How many stays the list finds, all pages together: the same criteria as a page without the
// rows to skip and read. The patient list shows it as "1  out of  3,210".
Result<RowSet> orPatientListCount(Database &db, const ProcedureArgs &args)
{
    PatientListQuery query = queryOf(args);
    if (!args.text(4).isEmpty() || !args.text(5).isEmpty()) {
        query.admittedFrom = dateArgument(args.at(4));
        query.admittedTo = dateArgument(args.at(5));
        if (!query.admittedFrom.isValid() || !query.admittedTo.isValid())
            return failure(
                QStringLiteral("The admission dates of the patient list are not valid."));
    }
    const PatientListStatement statement = patientListStatement(query, db.ordersTextByCodePoint());
    // Counted without the order of the rows, which only costs the server a sort.
    const qsizetype ordered = statement.sql.lastIndexOf(QStringLiteral(" order by "));
    const QString stays = ordered < 0 ? statement.sql : statement.sql.left(ordered);
    auto counted =
        db.scalar(QString(QStringLiteral("select count(*) from (") + stays + u") stays"),
                  statement.binds);
    if (!counted)
        return tl::unexpected(counted.error());
    RowSet out(QStringList{QStringLiteral("Stays")});
    out.append(QVariantList{QVariant(counted->toInt())});
    return out;
}

} // namespace

PatientListStatement patientListStatement(const PatientListQuery &query, bool rangeIsExact)
{
    const bool inpatients = query.type.compare(u"A", Qt::CaseInsensitive) == 0;
    const bool er = query.type.compare(u"E", Qt::CaseInsensitive) == 0;
    PatientListStatement s;
    QStringList where;
    if (inpatients) {
        s.sql = QStringLiteral(
            "select S.HospNum, S.IDNum, M.LastName, M.FirstName, M.MiddleName, S.AdmDate, "
            "S.DcrDate, S.BillingDate, X.isCashBasis, X.CashBasisReason "
            "from PATIENT_DATA..tbPatient S "
            "inner join PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum "
            "left join PATIENT_DATA..tbPatient2 X on X.IDNum = S.IDNum ");
    } else {
        s.sql = QStringLiteral(
            "select S.HospNum, S.IDNum, M.LastName, M.FirstName, M.MiddleName, S.AdmDate, "
            "S.DcrDate, S.BillingDate, S.isCashBasis, S.CashBasisReason "
            "from PATIENT_DATA..tbOutPatient S "
            "inner join PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum ");
        // A visit that came through the ER carries its ER number. Written so that no plan
        // walks the ER numbers of every outpatient visit instead of the criterion's index.
        where << (er ? QStringLiteral("S.ERNum <> ''")
                     : QStringLiteral("coalesce(S.ERNum, '') = ''"));
    }
    // Cancelled admissions and revoked visits are nobody's stay.
    where << QStringLiteral("S.RecordStatus <> 'R'");

    if (!query.lastName.isEmpty()) {
        const PrefixRange range = prefixRange(query.lastName);
        where << QStringLiteral("M.LastName >= :nameFrom and M.LastName < :nameTo");
        s.binds.insert(QStringLiteral("nameFrom"), range.low);
        s.binds.insert(QStringLiteral("nameTo"), range.high);
        if (!rangeIsExact) {
            where << QStringLiteral("M.LastName like :name escape '\\'");
            s.binds.insert(QStringLiteral("name"), likePrefix(query.lastName));
        }
    }
    if (!query.hospNum.isEmpty()) {
        where << QStringLiteral("S.HospNum = :hospNum");
        s.binds.insert(QStringLiteral("hospNum"), query.hospNum);
    }
    if (!query.idNum.isEmpty()) {
        where << QStringLiteral("S.IDNum = :idNum");
        s.binds.insert(QStringLiteral("idNum"), query.idNum);
    }
    const bool dated = query.admittedFrom.isValid() && query.admittedTo.isValid();
    if (dated) {
        // The whole of the last day counts.
        where << QStringLiteral("S.AdmDate >= :admittedFrom and S.AdmDate < :admittedBefore");
        s.binds.insert(QStringLiteral("admittedFrom"), QDateTime(query.admittedFrom, QTime(0, 0)));
        s.binds.insert(QStringLiteral("admittedBefore"),
                       QDateTime(query.admittedTo.addDays(1), QTime(0, 0)));
    }
    // Nothing typed and no dates: the stays of patients who are still in the hospital.
    if (query.lastName.isEmpty() && query.hospNum.isEmpty() && query.idNum.isEmpty() && !dated)
        where << QStringLiteral("S.DcrDate is null");

    s.sql += QStringLiteral("where ") + where.join(QStringLiteral(" and ")) +
             QStringLiteral(" order by M.LastName, M.FirstName, M.MiddleName, S.AdmDate desc, "
                            "S.IDNum");
    if (query.limit > 0) {
        s.sql += QStringLiteral(" limit :limit offset :offset");
        s.binds.insert(QStringLiteral("limit"), query.limit);
        s.binds.insert(QStringLiteral("offset"), query.offset);
    }
    return s;
}

void registerPatientListProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_Get_OR_PatientList"), 4, orPatientList);
    registry.add(QStringLiteral("STATION..sp_Get_OR_PatientList_by_AdmDate"), 6,
                 orPatientListByAdmDate);
    registry.add(QStringLiteral("STATION..sp_Get_OR_PatientList_Page"), 8, orPatientListPage);
    registry.add(QStringLiteral("STATION..sp_Get_OR_PatientList_Count"), 6, orPatientListCount);
}

} // namespace kestrel::hospitaldb
