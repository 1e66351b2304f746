// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/NursingSheets.h"

#include "core/db/WriteOnce.h"

namespace kestrel::nursing {

namespace {

const QString kId = QStringLiteral("id");
const QString kDay = QStringLiteral("day");

std::optional<int> amountOf(const Row &r, QStringView column)
{
    const QVariant v = r.value(column);
    if (v.isNull())
        return std::nullopt;
    return int(r.integer(column));
}

// The amount as the hourly sheet's procedure takes it: blank for none.
QString amountText(const std::optional<int> &cc)
{
    return cc ? QString::number(*cc) : QString();
}

} // namespace

const QList<FluidShift> &fluidShifts()
{
    static const QList<FluidShift> shifts = {
        {QStringLiteral("7AM-3PM"), QStringLiteral("7 AM to 3 PM")},
        {QStringLiteral("3PM-11PM"), QStringLiteral("3 PM to 11 PM")},
        {QStringLiteral("11PM-7AM"), QStringLiteral("11 PM to 7 AM")}};
    return shifts;
}

std::optional<FluidShift> fluidShift(const QString &code)
{
    for (const FluidShift &s : fluidShifts()) {
        if (s.code == code.trimmed())
            return s;
    }
    return std::nullopt;
}

FluidAmounts &FluidAmounts::operator+=(const FluidAmounts &other)
{
    oral += other.oral;
    parenteral += other.parenteral;
    urine += other.urine;
    drainage += other.drainage;
    others += other.others;
    return *this;
}

FluidAmounts dayTotal(const FluidDay &day)
{
    FluidAmounts total;
    for (const FluidAmounts &shift : day)
        total += shift;
    return total;
}

int HourlyRow::intakeTotal() const
{
    int total = 0;
    for (int i = Mainline; i <= OralNgt; ++i)
        total += cc[std::size_t(i)].value_or(0);
    return total;
}

int HourlyRow::outputTotal() const
{
    int total = 0;
    for (int i = Urine; i <= Others; ++i)
        total += cc[std::size_t(i)].value_or(0);
    return total;
}

bool HourlyRow::isEmpty() const
{
    if (!time.trimmed().isEmpty() || !remarks.trimmed().isEmpty())
        return false;
    for (const auto &amount : cc) {
        if (amount)
            return false;
    }
    return true;
}

const QStringList &hourlyAmountCaptions()
{
    static const QStringList captions = {
        QStringLiteral("Mainline"), QStringLiteral("LA/LF"), QStringLiteral("RA/RF"),
        QStringLiteral("ORAL /NGT"), QStringLiteral("Urine"), QStringLiteral("Drain"),
        QStringLiteral("Drain"),     QStringLiteral("Others")};
    return captions;
}

// The message for a sheet dated after today; empty when `day` may be filled in.
QString futureDayRefusal(const QDate &day, const QDate &today)
{
    if (!day.isValid() || day <= today)
        return {};
    return QStringLiteral("%1 is after today (%2). Please choose today or an earlier date.")
        .arg(day.toString(QStringLiteral("MM/dd/yyyy")),
             today.toString(QStringLiteral("MM/dd/yyyy")));
}

// ---------------------------------------------------------------------------------------------

Result<void> SheetStore::inTransaction(const std::function<Result<void>()> &write)
{
    // A replacement written again is the same replacement: after a lost connection the write
    // simply runs again, so nothing needs asking whether it landed.
    return done(writeOnce<bool>(
        m_db,
        [&write](Database &db) -> Result<bool> {
            Transaction tx = db.transaction(TransactionMode::Write);
            if (!tx.isActive())
                return tl::unexpected(tx.error());
            if (auto written = write(); !written)
                return tl::unexpected(written.error());
            if (auto committed = tx.commit(); !committed)
                return tl::unexpected(committed.error());
            return true;
        },
        [](Database &) -> Result<std::optional<bool>> { return std::optional<bool>(); }));
}

Result<void> SheetStore::hold(const QString &key)
{
    if (m_db.backend() != Backend::Postgres)
        return {};
    return done(m_db.scalar(u"select pg_advisory_xact_lock(hashtext(:key))",
                            {{QStringLiteral("key"), key}}));
}

Result<FluidDay> SheetStore::fluidDay(const QString &idNum, const QDate &day)
{
    auto rows = m_db.select(u"select Shift, Oral, Parenteral, Urine, Drainage, Others "
                            u"from STATION..tbNurseFluid where IDNum = :id and DateEntered = :day",
                            {{kId, idNum.trimmed()}, {kDay, Database::isoText(day)}});
    if (!rows)
        return tl::unexpected(rows.error());
    FluidDay out;
    for (const Row &r : *rows) {
        out.insert(r.trimmed(u"Shift"),
                   FluidAmounts{int(r.integer(u"Oral")), int(r.integer(u"Parenteral")),
                                int(r.integer(u"Urine")), int(r.integer(u"Drainage")),
                                int(r.integer(u"Others"))});
    }
    return out;
}

Result<void> SheetStore::saveFluid(const QString &idNum, const QDate &day, const QString &shift,
                                   const FluidAmounts &a, const QString &nurse)
{
    const QString id = idNum.trimmed();
    const Binds key{{kId, id},
                    {kDay, Database::isoText(day)},
                    {QStringLiteral("shift"), shift}};
    return inTransaction([&]() -> Result<void> {
        if (auto held = hold(u"tbNurseFluid|" + id + u'|' + day.toString(Qt::ISODate) + u'|' +
                             shift);
            !held)
            return held;
        auto gone = m_db.exec(u"DELETE FROM STATION..tbNurseFluid WHERE IDNum = :id AND "
                              u"DateEntered = :day AND Shift = :shift",
                              key);
        if (!gone)
            return tl::unexpected(gone.error());
        Binds binds = key;
        binds.insert(QStringLiteral("oral"), a.oral);
        binds.insert(QStringLiteral("parenteral"), a.parenteral);
        binds.insert(QStringLiteral("intake"), a.intake());
        binds.insert(QStringLiteral("urine"), a.urine);
        binds.insert(QStringLiteral("drainage"), a.drainage);
        binds.insert(QStringLiteral("others"), a.others);
        binds.insert(QStringLiteral("output"), a.output());
        binds.insert(QStringLiteral("nurse"), nurse);
        return done(m_db.exec(
            u"INSERT INTO STATION..tbNurseFluid (IDNum, DateEntered, Shift, Oral, Parenteral, "
            u"InputTotal, Urine, Drainage, Others, OutputTotal, NurseID, Transdate, HostName) "
            u"VALUES (:id, :day, :shift, :oral, :parenteral, :intake, :urine, :drainage, "
            u":others, :output, :nurse, getdate(), host_name())",
            binds));
    });
}

Result<QList<HourlyRow>> SheetStore::hourlySheet(const QString &idNum, const QDate &day)
{
    auto rows = m_db.call(u"STATION..LoadHourlyMonitoringSheet",
                          {idNum.trimmed(), Database::isoText(day)});
    if (!rows)
        return tl::unexpected(rows.error());
    static const std::array<QStringView, HourlyRow::AmountCount> columns = {
        u"Mainline", u"LALF", u"RARF", u"OralNGT", u"Urine", u"Drain1", u"Drain2", u"Others"};
    QList<HourlyRow> out;
    for (const Row &r : *rows) {
        HourlyRow row;
        row.time = r.trimmed(u"HourTime");
        for (std::size_t i = 0; i < columns.size(); ++i)
            row.cc[i] = amountOf(r, columns[i]);
        row.remarks = r.text(u"Remarks");
        out << row;
    }
    return out;
}

Result<QList<QDate>> SheetStore::hourlyDays(const QString &idNum)
{
    auto rows = m_db.select(u"select distinct Date from STATION..tbHourlyMonitoringSheet "
                            u"where IDnum = :id order by Date",
                            {{kId, idNum.trimmed()}});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<QDate> days;
    for (const Row &r : *rows)
        days << r.dateTime(u"Date").date();
    return days;
}

Result<void> SheetStore::saveHourly(const QString &idNum, const QDate &day,
                                    const QList<HourlyRow> &rows, const QString &user)
{
    const QString id = idNum.trimmed();
    const QString dayText = Database::isoText(day);
    return inTransaction([&]() -> Result<void> {
        if (auto held = hold(u"tbHourlyMonitoringSheet|" + id + u'|' + dayText); !held)
            return held;
        auto gone = m_db.exec(u"DELETE FROM Station..tbHourlyMonitoringSheet WHERE IDnum = :id "
                              u"AND Date = :day",
                              {{kId, id}, {kDay, dayText}});
        if (!gone)
            return tl::unexpected(gone.error());
        for (int i = 0; i < rows.size(); ++i) {
            const HourlyRow &r = rows.at(i);
            using A = HourlyRow::Amount;
            const auto cc = [&r](A a) { return amountText(r.cc[std::size_t(a)]); };
            auto saved = m_db.call(
                u"Station..SaveHourlyMonitoringSheet",
                {id, dayText, i + 1, r.time.trimmed(), cc(A::Mainline), cc(A::LaLf), cc(A::RaRf),
                 cc(A::OralNgt), QString::number(r.intakeTotal()), cc(A::Urine), cc(A::Drain1),
                 cc(A::Drain2), cc(A::Others), QString::number(r.outputTotal()), r.remarks,
                 user});
            if (!saved)
                return tl::unexpected(saved.error());
        }
        return {};
    });
}

Result<bool> SheetStore::removeHourly(const QString &idNum, const QDate &day, const QString &user,
                                      const QString &station)
{
    const QString id = idNum.trimmed();
    const QString dayText = Database::isoText(day);
    bool found = false;
    auto removed = inTransaction([&]() -> Result<void> {
        if (auto held = hold(u"tbHourlyMonitoringSheet|" + id + u'|' + dayText); !held)
            return held;
        auto gone = m_db.exec(u"DELETE FROM Station..tbHourlyMonitoringSheet WHERE IDnum = :id "
                              u"AND Date = :day",
                              {{kId, id}, {kDay, dayText}});
        if (!gone)
            return tl::unexpected(gone.error());
        found = *gone > 0;
        if (!found)
            return {};
        // The log entry belongs to the delete: both land or neither does.
        return done(m_db.exec(u"insert into STATION..tbStationLogs (IdNum, TransDate, Remarks, "
                              u"UserID, HostName, StationID) values (:id, getdate(), :remarks, "
                              u":user, host_name(), :station)",
                              {{kId, id},
                               {QStringLiteral("remarks"),
                                QStringLiteral("RESET Hourly Monitoring Sheet")},
                               {QStringLiteral("user"), user},
                               {QStringLiteral("station"), station}}));
    });
    if (!removed)
        return tl::unexpected(removed.error());
    return found;
}

} // namespace kestrel::nursing
