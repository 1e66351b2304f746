// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the consents a patient (or whoever signs for him) gives the OR, and of the
// hourly monitoring sheet the nurses keep per day.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

const QString kId = QStringLiteral("id");

// A date as the forms pass it ("yyyy-MM-dd", with or without a time, or "MM/dd/yyyy") bound
// as the day's start; null when it is no date.
QVariant dayValue(const QString &text)
{
    QDate day = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        day = QDate::fromString(text.left(10), QStringLiteral("MM/dd/yyyy"));
    return day.isValid() ? QVariant(Database::isoText(day)) : QVariant();
}

// A whole number of cc, null for a blank cell.
QVariant amountValue(const QString &text)
{
    bool ok = false;
    const int cc = text.toInt(&ok);
    return ok ? QVariant(cc) : QVariant();
}

// Two workstations writing the same record take turns from here to their commit. The embedded
// file's write transaction already holds the whole database.
Result<void> holdRecord(Database &db, const QString &key)
{
    if (db.backend() != Backend::Postgres)
        return {};
    auto held = db.scalar(u"select pg_advisory_xact_lock(hashtext(:key))",
                          {{QStringLiteral("key"), key}});
    if (!held)
        return tl::unexpected(held.error());
    return {};
}

// A consent's table, the name its key column has there, and the columns the form writes in
// the order the save procedure takes them after the IdNum (the employee comes last).
struct ConsentTable
{
    QString table;
    QString key;
    QStringList columns;
};

// Saves a consent as a replacement: the stay's consent is deleted and the new one written with
// the server's time, this workstation's name and the employee, all in the caller's transaction.
ProcedureHandler saveConsent(ConsentTable t)
{
    return [t](Database &db, const ProcedureArgs &args) -> Result<RowSet> {
        const QString id = args.text(0);
        if (auto held = holdRecord(db, t.table + u'|' + id); !held)
            return tl::unexpected(held.error());
        // Table and column names are the procedure's own constants; every value is bound.
        auto gone = db.exec(QString(u"delete from " + t.table + u" where " + t.key + u" = :id"),
                            {{kId, id}});
        if (!gone)
            return tl::unexpected(gone.error());
        Binds binds{{kId, id}, {QStringLiteral("user"), args.text(int(t.columns.size()) + 1)}};
        // A consent given no day of signing was signed today, by the server's clock.
        auto now = db.scalar(u"select getdate()");
        if (!now)
            return tl::unexpected(now.error());
        const QVariant today = Database::isoText(dateTimeFromVariant(*now).date());
        QStringList placeholders;
        for (int i = 0; i < t.columns.size(); ++i) {
            const QString &column = t.columns.at(i);
            const QString name = u"c" + QString::number(i);
            placeholders << u':' + name;
            QVariant value = args.at(i + 1).toString();
            if (column == u"DateSigned") {
                value = dayValue(args.text(i + 1));
                if (value.isNull())
                    value = today;
            }
            binds.insert(name, value);
        }
        return noRows(db.exec(QString(u"insert into " + t.table + u" (" + t.key + u", " +
                                      t.columns.join(u", ") +
                                      u", Transdate, HostName, UserID) values (:id, " +
                                      placeholders.join(u", ") +
                                      u", getdate(), host_name(), :user)"),
                              binds));
    };
}

// The hourly sheet's columns after the IdNum, the day and the row number, as its save
// procedure takes them.
const QStringList kHourlyAmounts = {
    QStringLiteral("Mainline"), QStringLiteral("LALF"),        QStringLiteral("RARF"),
    QStringLiteral("OralNGT"),  QStringLiteral("IntakeTotal"), QStringLiteral("Urine"),
    QStringLiteral("Drain1"),   QStringLiteral("Drain2"),      QStringLiteral("Others"),
    QStringLiteral("OutputTotal")};

// STATION..SaveHourlyMonitoringSheet IdNum, day, row number, time, the ten amounts of
// kHourlyAmounts (blank for none), remarks, EmployeeCode: one row of a day's sheet. The
// caller has deleted the day's rows in the same transaction.
Result<RowSet> saveHourlyRow(Database &db, const ProcedureArgs &args)
{
    Binds binds{{kId, args.text(0)},
                {QStringLiteral("day"), dayValue(args.text(1))},
                {QStringLiteral("rowno"), args.at(2).toInt()},
                {QStringLiteral("hour"), args.text(3)},
                {QStringLiteral("remarks"), args.at(14).toString()},
                {QStringLiteral("user"), args.text(15)}};
    QStringList placeholders;
    for (int i = 0; i < kHourlyAmounts.size(); ++i) {
        placeholders << u':' + kHourlyAmounts.at(i);
        binds.insert(kHourlyAmounts.at(i), amountValue(args.text(4 + i)));
    }
    return noRows(db.exec(
        QString(u"insert into STATION..tbHourlyMonitoringSheet (IDnum, Date, RowNo, HourTime, " +
                kHourlyAmounts.join(u", ") +
                u", Remarks, UserID, HostName, Transdate) values (:id, :day, :rowno, :hour, " +
                placeholders.join(u", ") + u", :remarks, :user, host_name(), getdate())"),
        binds));
}

// STATION..LoadHourlyMonitoringSheet IdNum, day: the day's rows in the order they were typed.
Result<RowSet> loadHourlySheet(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select RowNo, HourTime, Mainline, LALF, RARF, OralNGT, IntakeTotal, "
                     u"Urine, Drain1, Drain2, Others, OutputTotal, Remarks, UserID, Transdate "
                     u"from STATION..tbHourlyMonitoringSheet where IDnum = :id and Date = :day "
                     u"order by RowNo",
                     {{kId, args.text(0)}, {QStringLiteral("day"), dayValue(args.text(1))}});
}

} // namespace

void registerNursingSheetProcedures(ProcedureRegistry &registry)
{
    const auto consent = [&registry](const char *name, ConsentTable table) {
        const int count = int(table.columns.size()) + 2;
        registry.add(QString::fromLatin1(name), count, saveConsent(std::move(table)));
    };
    consent("STATION..Nurse_SaveSurgicalAuthorization",
            {QStringLiteral("STATION..tbSurgicalAuthorization"), QStringLiteral("IDNum"),
             {QStringLiteral("Surgeon"), QStringLiteral("Procedure"), QStringLiteral("Exception"),
              QStringLiteral("Witness"), QStringLiteral("DateSigned"), QStringLiteral("Reason"),
              QStringLiteral("Representative"), QStringLiteral("Relation")}});
    consent("STATION..Nurse_SaveConsentTreatment",
            {QStringLiteral("STATION..tbConsentTreatment"), QStringLiteral("IDNum"),
             {QStringLiteral("Witness"), QStringLiteral("DateSigned"), QStringLiteral("Reason"),
              QStringLiteral("Representative"), QStringLiteral("Relation")}});
    consent("STATION..Nurse_SaveSterilizationConsent",
            {QStringLiteral("STATION..tbSterilizationConsent"), QStringLiteral("IDnum"),
             {QStringLiteral("Procedure"), QStringLiteral("Witness"), QStringLiteral("Authorized"),
              QStringLiteral("ConsentingSpouse")}});
    consent("STATION..Nurse_SaveSpecialTreatmentConsent",
            {QStringLiteral("STATION..tbSpecialTreatmentConsent"), QStringLiteral("IDnum"),
             {QStringLiteral("Doctor"), QStringLiteral("Procedure"), QStringLiteral("Witness"),
              QStringLiteral("Reason"), QStringLiteral("Representative"),
              QStringLiteral("Relation"), QStringLiteral("MinorAge")}});
    registry.add(QStringLiteral("STATION..SaveHourlyMonitoringSheet"), 16, saveHourlyRow);
    registry.add(QStringLiteral("STATION..LoadHourlyMonitoringSheet"), 2, loadHourlySheet);
}

} // namespace kestrel::hospitaldb
