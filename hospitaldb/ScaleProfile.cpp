// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/ScaleProfile.h"

namespace kestrel::hospitaldb {

using namespace Qt::StringLiterals;

namespace {

// The tables filled here, whose indexes are made after the load.
const QStringList kTables{u"STATION..tbNurseVitalSigns"_s, u"LABORATORY..tbLabResult"_s,
                          u"STATION..tbNurseDiagResult"_s};

// The generated admissions (stay number J) with the quarter hour S they were admitted at, as
// the generator admitted them.
const QString kAdmissions = QStringLiteral(
    "(select IDNum, HospNum, StationID, J, J * (:slots - 96) / :stays as S from "
    "(select IDNum, HospNum, StationID, cast(cast(IDNum as text) as bigint) - 2000000 as J "
    "from PATIENT_DATA..tbPatient where IDNum >= '2000000' and length(IDNum) = 7) Y)");

// The long stay alone, admitted at its last quarter hour so that its rows run back from it.
const QString kLongStay = QStringLiteral(
    "(select IDNum, HospNum, StationID, cast(cast(IDNum as text) as bigint) - 2000000 as J, "
    ":slots - 1 as S from PATIENT_DATA..tbPatient where IDNum = :longStay)");

// A reading of admission X, the L-th: the values move with both so that a stay's chart has a
// shape and a few readings fall outside the station's ranges.
const QString kReadingValues = QStringLiteral(
    "cast(100 + (X.J * 7 + L.n * 13) % 60 as varchar(12)) || '/' || "
    "cast(55 + (X.J * 3 + L.n * 11) % 40 as varchar(12)), "
    "case when (X.J + L.n) % 17 = 0 then '38.' else '36.' end || "
    "cast((X.J + L.n) % 10 as varchar(12)), "
    "cast(60 + (X.J * 5 + L.n * 7) % 45 as varchar(12)), "
    "cast(14 + (X.J + L.n) % 9 as varchar(12)), cast(93 + (X.J + L.n) % 7 as varchar(12)), "
    "U.id, ");

// A CASE choosing from `values` by `index` modulo their number.
QString pick(const QString &index, const QStringList &values)
{
    QString sql = u"case ("_s + index + u") % "_s + QString::number(values.size());
    for (qsizetype i = 0; i < values.size(); ++i)
        sql += u" when %1 then '%2'"_s.arg(i).arg(values.at(i));
    return sql + u" end"_s;
}

const QStringList kSections{u"HEM"_s, u"CHEM"_s, u"CM"_s, u"SERO"_s, u"BB"_s};
const QStringList kTests{u"HEMOGLOBIN"_s, u"CREATININE"_s, u"URINALYSIS"_s, u"HBSAG"_s,
                         u"BLOOD TYPING"_s};
const QStringList kResults{u"13.2"_s, u"88"_s, u"NORMAL"_s, u"NON-REACTIVE"_s, u"O POSITIVE"_s};
const QStringList kDepartments{u"XR"_s, u"US"_s, u"CT"_s, u"HS"_s, u"PT"_s,
                               u"NU"_s, u"PA"_s, u"NE"_s, u"WC"_s, u"MR"_s};
const QStringList kExams{u"CHEST PA"_s,           u"WHOLE ABDOMEN ULTRASOUND"_s,
                         u"CT SCAN, CRANIAL"_s,   u"12-LEAD ECG"_s,
                         u"INITIAL EVALUATION"_s, u"THYROID SCAN"_s,
                         u"SPIROMETRY"_s,         u"EEG"_s,
                         u"PELVIC ULTRASOUND"_s,  u"MRI, LUMBAR SPINE"_s};

QString vitalSigns(const QString &stays, const QString &count, const QString &step)
{
    return u"insert into STATION..tbNurseVitalSigns (IDNUM, TRANSDATE, BP, TEMPERATURE, "
           u"PULSERATE, RESPRATE, O2Sat, NInitial, Protocol, Status) select X.IDNum, T.at, "_s +
           kReadingValues + u"'Every 4 hours', 'DONE' from "_s + stays +
           u" X cross join scale_k L join scale_slot T on T.s = case when X.S + L.n * (%1) < "
           u":slots and X.S + L.n * (%1) >= 0 then X.S + L.n * (%1) else :slots - 1 end "
           u"join scale_user U on U.k = (X.J + L.n) % (select count(*) from scale_user) "
           u"where L.n < %2"_s.arg(step, count);
}

QString labResults(const QString &stays, const QString &count, const QString &where)
{
    return u"insert into LABORATORY..tbLabResult (IdNum, HospNum, RequestNum, SectionID, "
           u"TestName, Result, StationID, RequestedBy, RequestDate, ResultDate, MedTech, "
           u"Printed) select X.IDNum, X.HospNum, 'LB' || cast(100000000 + X.J * 50 + L.n as "
           u"varchar(12)), "_s +
           pick(u"L.n"_s, kSections) + u", "_s + pick(u"L.n"_s, kTests) + u", "_s +
           pick(u"L.n"_s, kResults) + u", X.StationID, U.id, R.at, D.at, 'LAB-07', 1 from "_s +
           stays +
           u" X cross join scale_k L "
           u"join scale_slot R on R.s = case when X.S + 8 - L.n < :slots then X.S + 8 - L.n "
           u"else :slots - 1 end "
           u"join scale_slot D on D.s = case when X.S + 16 - L.n < :slots then X.S + 16 - L.n "
           u"else :slots - 1 end "
           u"join scale_user U on U.k = X.J % (select count(*) from scale_user) "
           u"where L.n < "_s +
           count + where;
}

QString departmentResults(const QString &stays, const QString &count, const QString &department,
                          const QString &where)
{
    return u"insert into STATION..tbNurseDiagResult (DepartmentID, IdNum, HospNum, TransNum, "
           u"RequestNum, ExamID, ExamName, TransDate, ResultDate, ReaderID, ReaderLastName, "
           u"ReaderFirstName, AttendingDoctor, Interpretation, StationID, Verified, Printed) "
           u"select "_s +
           pick(department, kDepartments) +
           u", X.IDNum, X.HospNum, 'T' || cast(100000000 + "
           u"X.J * 50 + L.n as varchar(12)), 'D' || "
           u"cast(100000000 + X.J * 50 + L.n as varchar(12)), "
           u"'E' || cast(L.n as varchar(12)), "_s +
           pick(department, kExams) +
           u", R.at, D.at, Dr.id, 'SANTOS', 'MARIA', Dr.id, 'No significant findings.', "
           u"X.StationID, 1, 1 from "_s +
           stays +
           u" X cross join scale_k L "
           u"join scale_slot R on R.s = case when X.S + 4 - L.n < :slots then X.S + 4 - L.n "
           u"else :slots - 1 end "
           u"join scale_slot D on D.s = case when X.S + 20 - L.n < :slots then X.S + 20 - L.n "
           u"else :slots - 1 end "
           u"join scale_doctor Dr on Dr.k = X.J % (select count(*) from scale_doctor) "
           u"where L.n < "_s +
           count + where;
}

} // namespace

Result<void> addScaleProfile(Database &db, const ScaleSize &size, const ScaleProgress &progress)
{
    const bool pg = db.backend() == Backend::Postgres;
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto slots = db.scalar(u"select count(*) from scale_slot");
    if (!slots)
        return tl::unexpected(slots.error());

    // The indexes of the tables filled below, made again once their rows are in.
    QStringList indexes;
    for (const QString &table : kTables) {
        const QString schema = table.section(u'.', 0, 0).toLower();
        const QString name = table.section(u'.', -1);
        auto found =
            pg ? db.select(u"select indexname, indexdef from pg_indexes where schemaname = :s "
                           u"and tablename = lower(:t) and indexname like 'ix%'",
                           {{u"s"_s, schema}, {u"t"_s, name}})
               : db.select(u"select name, sql from sqlite_master where type = 'index' and "
                           u"tbl_name = :t and sql is not null",
                           {{u"t"_s, name}});
        if (!found)
            return tl::unexpected(found.error());
        for (const Row &r : *found) {
            indexes << r.value(1).toString();
            const QString drop = pg ? u"DROP INDEX %1.%2"_s.arg(schema, r.value(0).toString())
                                    : u"DROP INDEX %1"_s.arg(r.value(0).toString());
            if (auto ok = db.execRaw(drop); !ok)
                return ok;
        }
    }

    const Binds binds{{u"slots"_s, slots->toLongLong()},
                      {u"stays"_s, size.stays},
                      {u"longStay"_s, scaleLandmarks(size).longStayIdNum}};
    const QString everyFourth = u" and X.J % 4 = 0"_s;
    const QList<std::pair<QString, QString>> steps{
        {u"vital signs"_s, vitalSigns(kAdmissions, u"20"_s, u"16"_s)},
        {u"vital signs"_s, vitalSigns(kLongStay, u"500"_s, u"-1"_s)},
        {u"results"_s, labResults(kAdmissions, u"3"_s, everyFourth)},
        {u"results"_s, labResults(kLongStay, u"50"_s, QString())},
        {u"results"_s, departmentResults(kAdmissions, u"1"_s, u"X.J"_s, everyFourth)},
        {u"results"_s, departmentResults(kLongStay, u"50"_s, u"L.n"_s, QString())}};
    qint64 done = 0;
    const qint64 total = steps.size() + indexes.size();
    for (const auto &[step, sql] : steps) {
        if (progress)
            progress(step, done, total);
        Binds used;
        for (auto it = binds.cbegin(); it != binds.cend(); ++it) {
            if (sql.contains(u':' + it.key()))
                used.insert(it.key(), it.value());
        }
        if (auto n = db.exec(sql, used); !n)
            return tl::unexpected(n.error());
        ++done;
    }
    for (const QString &definition : std::as_const(indexes)) {
        if (progress)
            progress(u"profile indexes"_s, done, total);
        if (auto ok = db.execRaw(definition); !ok)
            return ok;
        ++done;
    }
    if (progress)
        progress(u"profile indexes"_s, total, total);
    return tx.commit();
}

} // namespace kestrel::hospitaldb
