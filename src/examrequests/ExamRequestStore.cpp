// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/ExamRequestStore.h"

#include "core/db/Database.h"

namespace kestrel {

namespace {

QString str(const char *text)
{
    return QString::fromLatin1(text);
}

// The master file of a department's examinations: the table, its code, name and section
// columns, and whether its rows say how many times one line may charge an exam.
struct Master
{
    QStringView table, code, name, section;
    bool quantities;
};

std::optional<Master> masterOf(const QString &department)
{
    if (department == u"LB")
        return Master{u"BUILD_FILE..tbCoLabExam", u"LabExamID", u"LabExam", u"LabSectionID", true};
    if (department == u"XR")
        return Master{u"BUILD_FILE..tbCoXrayExam", u"XrayExamID", u"XrayExam", u"''", true};
    if (department == u"US")
        return Master{u"BUILD_FILE..tbCoUltraExam", u"UltraExamID", u"UltraExam", u"''", true};
    for (QStringView d : {u"HS", u"PT", u"PA", u"NU", u"CT"}) {
        if (department == d)
            return Master{u"BUILD_FILE..tbCoDeptExam", u"ExamID", u"ExamName", u"''", false};
    }
    return std::nullopt;
}

} // namespace

Money ExamRecord::rate(const QString &letter) const
{
    const int index = letter.size() == 1 ? letter.at(0).toUpper().unicode() - u'A' : -1;
    return index >= 0 && index < int(rates.size()) ? rates[std::size_t(index)] : rates[0];
}

int ExamRequestStore::lookupKind(const QString &department)
{
    static const std::pair<QStringView, int> kinds[] = {{u"XR", 29}, {u"LB", 18}, {u"US", 27},
                                                        {u"HS", 17}, {u"PT", 23}, {u"PA", 25},
                                                        {u"NU", 20}, {u"CT", 14}};
    for (const auto &[code, kind] : kinds) {
        if (department == code)
            return kind;
    }
    return 21;
}

Result<std::optional<ExamRecord>> ExamRequestStore::exam(const QString &department,
                                                         const QString &code)
{
    const std::optional<Master> master = masterOf(department);
    QString sql;
    Binds binds{{str("code"), code.trimmed()}, {str("dept"), department}};
    if (master) {
        // Table and column names come from the fixed list above; only values are bound.
        const bool lab = department == u"LB";
        sql = u"select E." + master->code + u" as Code, E." + master->name +
              u" as Description, " + (lab ? u"E.LabSectionID" : u"''") + u" as Section, " +
              (master->quantities ? u"E.IsProcedure, E.OpenQuantity, E.MaxQty, "
                                  : u"0 as IsProcedure, 0 as OpenQuantity, null as MaxQty, ") +
              (lab ? u"coalesce(E.Stat, '') as Stat, E.SpecimenRequired, "
                   : u"'' as Stat, 0 as SpecimenRequired, ") +
              u"R.RateA, R.RateB, R.RateC, R.RateD, R.RateE, R.RateF, R.RateG, R.RateH, R.RateI "
              u"from " + master->table + u" E left join BUILD_FILE..tbCoExamRate R "
              u"on R.RevenueID = :dept and R.ExamID = E." + master->code +
              u" where E." + master->code + u" = :code";
        if (master->table == u"BUILD_FILE..tbCoDeptExam")
            sql += QStringLiteral(" and E.DepartmentID = :dept");
    } else {
        sql = QStringLiteral(
            "select OtherRevenueID as Code, OtherRevenue as Description, '' as Section, "
            "0 as IsProcedure, 0 as OpenQuantity, null as MaxQty, '' as Stat, "
            "0 as SpecimenRequired, RateA, RateB, RateC, RateD, RateE, RateF, RateG, RateH, "
            "RateI from BUILD_FILE..tbCoOtherRevenue where OtherRevenueID = :code "
            "and OtherSectionID = :dept");
    }
    auto row = m_db.selectOne(sql, binds);
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<ExamRecord>();
    const Row &r = **row;
    ExamRecord e;
    e.department = department;
    e.code = r.trimmed(u"Code");
    e.description = r.trimmed(u"Description");
    e.section = r.trimmed(u"Section");
    if (e.section.isEmpty())
        e.section = department;
    static const QStringView letters[] = {u"RateA", u"RateB", u"RateC", u"RateD", u"RateE",
                                          u"RateF", u"RateG", u"RateH", u"RateI"};
    for (std::size_t i = 0; i < e.rates.size(); ++i)
        e.rates[i] = r.money(letters[i]);
    if (!master || !master->quantities)
        e.maxQuantity = 0;
    else if (r.flag(u"IsProcedure") && r.flag(u"OpenQuantity"))
        e.maxQuantity = r.value(u"MaxQty").isNull() ? 0 : int(r.integer(u"MaxQty"));
    e.statRule = r.trimmed(u"Stat").toUpper();
    e.specimenRequired = r.flag(u"SpecimenRequired");
    return std::optional<ExamRecord>(std::move(e));
}

Result<std::optional<FoundRequest>> ExamRequestStore::found(Result<RowSet> rows, QStringView at,
                                                            QStringView by)
{
    if (!rows)
        return tl::unexpected(rows.error());
    if (rows->isEmpty())
        return std::optional<FoundRequest>();
    const Row &r = rows->at(0);
    FoundRequest f;
    f.requestNum = r.trimmed(u"RequestNum");
    f.stationId = r.trimmed(u"StationID");
    f.message = r.has(u"Message") ? r.text(u"Message") : QString();
    f.by = by.isEmpty() ? QString() : r.trimmed(by);
    f.at = r.dateTime(at);
    return std::optional<FoundRequest>(std::move(f));
}

Result<std::optional<FoundRequest>> ExamRequestStore::pendingRequest(const QString &idNum,
                                                                     const QString &code,
                                                                     const QString &department)
{
    return found(m_db.call(u"STATION..Nurse_CheckExamStatus", {idNum, code, department}),
                 u"Requestdate", u"");
}

Result<std::optional<FoundRequest>> ExamRequestStore::processedToday(const QString &idNum,
                                                                     const QString &code,
                                                                     const QString &department)
{
    return found(m_db.call(u"STATION..Nurse_CheckExam_Posted", {idNum, code, department}),
                 u"ProcessDate", u"ProcessBy");
}

Result<std::optional<FoundRequest>> ExamRequestStore::latestToday(const QString &idNum,
                                                                  const QString &code,
                                                                  const QString &department)
{
    auto now = m_db.loadServerDate();
    if (!now)
        return tl::unexpected(now.error());
    const QDateTime start(now->date(), QTime(0, 0));
    return found(m_db.select(u"select RequestNum, StationID, RequestDate, UserID "
                             u"from STATION..tbNurseCommunicationfile where IDNum = :id "
                             u"and ExamCode = :code and RevenueID = :dept "
                             u"and RequestDate >= :start and RequestDate < :end "
                             u"order by RequestDate desc, RequestNum desc limit 1",
                             {{str("id"), idNum.trimmed()},
                              {str("code"), code.trimmed()},
                              {str("dept"), department},
                              {str("start"), start},
                              {str("end"), start.addDays(1)}}),
                 u"RequestDate", u"UserID");
}

Result<std::optional<RequestState>> ExamRequestStore::requestState(const QString &requestNum)
{
    auto rows = m_db.call(u"STATION..sp_Nurse_Check_Request", {requestNum});
    if (!rows)
        return tl::unexpected(rows.error());
    if (rows->isEmpty())
        return std::optional<RequestState>();
    const Row &r = rows->at(0);
    return std::optional<RequestState>(RequestState{
        r.trimmed(u"StationID"), r.trimmed(u"RecordStatus").toUpper(), r.trimmed(u"RevokeBy"),
        r.trimmed(u"ProcessBy"), r.dateTime(u"RevokeDate"), r.dateTime(u"ProcessDate")});
}

Result<QList<ProfileExam>> ExamRequestStore::profileList(const QString &code)
{
    auto rows = m_db.call(u"STATION..sp_Nurse_Get_ProfileList", {code});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<ProfileExam> out;
    for (const Row &r : *rows)
        out << ProfileExam{r.trimmed(u"ExamID"), r.trimmed(u"ExamName"), r.trimmed(u"ProfileID"),
                           r.trimmed(u"ProfileName")};
    return out;
}

Result<QList<Specimen>> ExamRequestStore::specimens(const QString &code)
{
    auto rows = m_db.select(u"select coalesce(A.SpecimenID, '47') as SpecimenID, "
                            u"coalesce(B.Description, 'NONE') as Specimen "
                            u"from BUILD_FILE..tbCoLabExamSpecimen A "
                            u"left outer join BUILD_FILE..tbCoLabSpecimen B "
                            u"on A.SpecimenID = B.SpecimenID where A.ExamID = :code "
                            u"order by Specimen",
                            {{str("code"), code.trimmed()}});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<Specimen> out;
    for (const Row &r : *rows)
        out << Specimen{r.trimmed(u"SpecimenID"), r.trimmed(u"Specimen")};
    return out;
}

Result<Specimen> ExamRequestStore::defaultSpecimen(const QString &code)
{
    auto rows = m_db.call(u"STATION..sp_Nurse_GetLabExam_Specimen", {code});
    if (!rows)
        return tl::unexpected(rows.error());
    const QString id = rows->isEmpty() ? QString() : rows->at(0).trimmed(u"Code");
    if (id.isEmpty() || id.compare(u"None", Qt::CaseInsensitive) == 0)
        return Specimen{QStringLiteral("0"), QStringLiteral("None")};
    return Specimen{id, rows->at(0).trimmed(u"Description")};
}

Result<bool> ExamRequestStore::cashBasis(const QString &idNum, bool outpatient)
{
    auto value = m_db.scalar(
        outpatient ? u"select isCashBasis from PATIENT_DATA..tbOutPatient where IDNum = :id"
                   : u"select isCashBasis from PATIENT_DATA..tbPatient2 where IDNum = :id",
        {{str("id"), idNum.trimmed()}});
    if (!value)
        return tl::unexpected(value.error());
    return value->toInt() == 1;
}

Result<QString> ExamRequestStore::roomOf(const QString &idNum)
{
    auto value = m_db.scalar(u"select RoomID from PATIENT_DATA..tbPatient where IDNum = :id",
                             {{str("id"), idNum.trimmed()}});
    if (!value)
        return tl::unexpected(value.error());
    return value->toString().trimmed();
}

} // namespace kestrel
