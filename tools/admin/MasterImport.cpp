// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "MasterImport.h"

#include "core/db/Money.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <tuple>

namespace kestrel::admin {

namespace {

constexpr int kRowsPerStatement = 100;
constexpr QChar kFirstRate = u'A';
constexpr QChar kLastRate = u'I';
// What the refusals call the kinds that may be updated.
constexpr QStringView kRoom = u"OR room";
constexpr QStringView kDoctor = u"doctor";
constexpr QStringView kItem = u"item";

struct MasterColumn
{
    QString key;
    bool required;
    QStringList aliases; ///< spellings of the header, compared as normalized()
};

// "Rate A", "rate_a" and "RATEA" are the same column.
QString normalized(QString name)
{
    static const QRegularExpression noise(QStringLiteral("[^a-z0-9]"));
    return name.toLower().remove(noise);
}

QList<MasterColumn> columnsOf(MasterKind kind)
{
    auto req = [](const char *key, QStringList aliases) {
        return MasterColumn{QLatin1String(key), true, aliases << QLatin1String(key)};
    };
    auto opt = [](const char *key, QStringList aliases) {
        return MasterColumn{QLatin1String(key), false, aliases << QLatin1String(key)};
    };
    switch (kind) {
    case MasterKind::RevenueCodes:
        return {req("code", {QStringLiteral("revenuecode"), QStringLiteral("revenueid")}),
                req("name", {QStringLiteral("description"), QStringLiteral("itemname")}),
                opt("location", {QStringLiteral("locationid")})};
    case MasterKind::Rooms:
        return {req("room", {QStringLiteral("roomid"), QStringLiteral("id")}),
                req("name", {QStringLiteral("roomname")}),
                opt("sortorder", {QStringLiteral("order")}),
                opt("revenuecode", {QStringLiteral("revenueid"), QStringLiteral("department")}),
                opt("active", {})};
    case MasterKind::Doctors:
        return {req("code", {QStringLiteral("doctorid"), QStringLiteral("doctorcode")}),
                req("lastname", {}),
                req("firstname", {}),
                opt("middlename", {}),
                opt("specialization", {QStringLiteral("specialty")}),
                opt("philhealthnumber", {QStringLiteral("philhealthnum")}),
                opt("affiliated", {})};
    case MasterKind::Items: {
        QList<MasterColumn> columns = {
            req("code", {QStringLiteral("itemcode"), QStringLiteral("itemid")}),
            req("description", {QStringLiteral("name"), QStringLiteral("itemname")}),
            req("revenuecode", {QStringLiteral("revenueid"), QStringLiteral("department")}),
            opt("procedure", {QStringLiteral("isprocedure")})};
        for (QChar letter = kFirstRate; letter <= kLastRate; letter = QChar(letter.unicode() + 1))
            columns << MasterColumn{QStringLiteral("rate") + letter.toLower(),
                                    true,
                                    {QStringLiteral("rate") + letter.toLower()}};
        return columns;
    }
    case MasterKind::Employees:
        return {req("code", {QStringLiteral("employeecode"), QStringLiteral("employeeid")}),
                req("lastname", {}),
                req("firstname", {}),
                opt("middlename", {}),
                opt("initial", {QStringLiteral("initials")}),
                opt("department", {QStringLiteral("deptcode")}),
                opt("designation", {QStringLiteral("position")}),
                opt("station", {QStringLiteral("stationid")}),
                opt("rights", {})};
    }
    return {};
}

/// Y/N cells: nullopt for anything else.
std::optional<bool> yesNo(const QString &text, bool whenEmpty)
{
    const QString t = text.trimmed().toUpper();
    if (t.isEmpty())
        return whenEmpty;
    if (t == u"Y" || t == u"YES" || t == u"1" || t == u"TRUE")
        return true;
    if (t == u"N" || t == u"NO" || t == u"0" || t == u"FALSE")
        return false;
    return std::nullopt;
}

/// An amount as the office typed it. With ';' between cells, a lone ',' is the decimal
/// comma of the office's locale ("1250,50").
std::optional<Money> amount(QString text, QChar delimiter)
{
    text = text.trimmed();
    if (delimiter == u';' && text.count(u',') == 1 && !text.contains(u'.'))
        text.replace(u',', u'.');
    return Money::parse(text);
}

struct Table
{
    QString name;
    QStringList columns;
    QList<QVariantList> rows;
};

/// A row the hospital has already that takes the file's values: `columns` = `values` where
/// `keyColumn` = `key` (the code as the database spells it).
struct Update
{
    QString table;
    QString keyColumn;
    QVariant key;
    QStringList columns;
    QVariantList values;
};

} // namespace

struct MasterImport::Pending
{
    // Keys already in the database or accepted from an earlier row, lower case: the hospital's
    // codes compare without regard to case.
    QHash<QString, QString> revenueLocation; ///< revenue code -> its stock location
    QSet<QString> rooms, doctors, items, employees, rights;
    /// The codes of rooms, doctors and items as the database spells them, by lower case.
    QHash<QString, QVariant> stored;
    /// Codes met in the files so far, by kind: "item/en2001".
    QSet<QString> inFiles;
    QDateTime now;
    QList<Table> tables;
    QList<Update> updates;

    Table &table(const QString &name, const QStringList &columns)
    {
        for (Table &t : tables) {
            if (t.name == name)
                return t;
        }
        tables.append(Table{name, columns, {}});
        return tables.last();
    }
};

QString masterKindName(MasterKind kind)
{
    switch (kind) {
    case MasterKind::RevenueCodes:
        return QStringLiteral("revenue-codes");
    case MasterKind::Rooms:
        return QStringLiteral("rooms");
    case MasterKind::Doctors:
        return QStringLiteral("doctors");
    case MasterKind::Items:
        return QStringLiteral("items");
    case MasterKind::Employees:
        return QStringLiteral("employees");
    }
    return {};
}

std::optional<MasterKind> masterKindFromName(QStringView name)
{
    for (MasterKind kind : {MasterKind::RevenueCodes, MasterKind::Rooms, MasterKind::Doctors,
                            MasterKind::Items, MasterKind::Employees}) {
        if (name.compare(masterKindName(kind), Qt::CaseInsensitive) == 0)
            return kind;
    }
    return std::nullopt;
}

MasterImport::MasterImport(Database &db)
    : m_db(db)
{
}

void MasterImport::add(MasterKind kind, const QString &file, TableFile table)
{
    m_tables.append({kind, file, std::move(table)});
}

Result<void> MasterImport::loadExisting()
{
    m_pending = std::make_shared<Pending>();
    Pending &p = *m_pending;
    const auto keys = [&](QStringView sql, QSet<QString> &into,
                          const QString &what = {}) -> Result<void> {
        auto rows = m_db.select(sql);
        if (!rows)
            return tl::unexpected(rows.error());
        for (const Row &r : *rows) {
            into.insert(r.trimmed(u"k").toLower());
            if (!what.isEmpty())
                p.stored.insert(what + u'/' + r.trimmed(u"k").toLower(), r.value(u"k"));
        }
        return {};
    };
    auto revenues = m_db.select(u"select RevenueID, LocationID from BUILD_FILE..tbCoRevenueCode");
    if (!revenues)
        return tl::unexpected(revenues.error());
    for (const Row &r : *revenues)
        p.revenueLocation.insert(r.trimmed(u"RevenueID").toLower(), r.trimmed(u"LocationID"));
    // Rooms, doctors and items may be updated: their codes are kept as the database has them.
    for (auto [sql, into, what] : {
             std::tuple{u"select RoomID as k from SCHEDULE..tbORRoom", &p.rooms, kRoom},
             std::tuple{u"select DoctorID as k from BUILD_FILE..tbCoDoctor", &p.doctors, kDoctor},
             std::tuple{u"select OtherRevenueID as k from BUILD_FILE..tbCoOtherRevenue", &p.items,
                        kItem},
             std::tuple{u"select EmployeeID as k from PASSWORD..tbPasswordMaster", &p.employees,
                        QStringView()},
             std::tuple{u"select ItemID as k from STATION..tbNurseUserSettings", &p.rights,
                        QStringView()},
         }) {
        if (auto ok = keys(sql, *into, what.toString()); !ok)
            return ok;
    }
    auto now = m_db.scalar(u"select getdate()");
    if (!now)
        return tl::unexpected(now.error());
    p.now = dateTimeFromVariant(*now);
    return {};
}

Result<ImportReport> MasterImport::run(bool dryRun)
{
    ImportReport report;
    for (const MasterFile &f : std::as_const(m_files)) {
        const QString name = QFileInfo(f.path).fileName();
        auto table = readTableFile(f.path);
        if (!table) {
            report.refused << RefusedRow{name, 0, table.error().message};
            continue;
        }
        report.encodings.insert(name, table->encoding);
        add(f.kind, name, std::move(*table));
    }
    if (auto ok = loadExisting(); !ok)
        return tl::unexpected(ok.error());
    // A file may use the codes of the files before it, so the kinds go in their order.
    std::stable_sort(m_tables.begin(), m_tables.end(),
                     [](const auto &a, const auto &b) { return std::get<0>(a) < std::get<0>(b); });
    for (const auto &[kind, file, table] : std::as_const(m_tables))
        check(kind, file, table, report);
    if (dryRun || !report.refused.isEmpty())
        return report;
    if (auto ok = write(report); !ok)
        return tl::unexpected(ok.error());
    report.written = true;
    return report;
}

void MasterImport::check(MasterKind kind, const QString &file, const TableFile &table,
                         ImportReport &report)
{
    Pending &p = *m_pending;
    const auto refuse = [&](int line, const QString &reason) {
        report.refused << RefusedRow{file, line, reason};
    };

    // Which cell holds which column; a required column that is missing refuses the file.
    const QList<MasterColumn> wanted = columnsOf(kind);
    QHash<QString, int> at;
    for (const MasterColumn &column : wanted) {
        int found = -1;
        for (int i = 0; i < table.header.size() && found < 0; ++i) {
            if (column.aliases.contains(normalized(table.header.at(i))))
                found = i;
        }
        if (found < 0 && column.required) {
            refuse(0, QStringLiteral("The column %1 is missing.").arg(column.key));
            return;
        }
        at.insert(column.key, found);
    }

    int accepted = 0;
    for (qsizetype n = 0; n < table.rows.size(); ++n) {
        const QStringList &row = table.rows.at(n);
        const int line = n < table.lines.size() ? table.lines.at(n) : int(n) + 2;
        const auto cell = [&](const QString &key) {
            const int i = at.value(key, -1);
            return i >= 0 && i < row.size() ? row.at(i).trimmed() : QString();
        };
        QStringList reasons;
        const auto need = [&](const QString &key, const QString &label) {
            const QString value = cell(key);
            if (value.isEmpty())
                reasons << QStringLiteral("%1 is empty").arg(label);
            return value;
        };
        for (qsizetype i = table.header.size(); i < row.size(); ++i) {
            if (!row.at(i).trimmed().isEmpty()) {
                reasons << QStringLiteral("it has more cells than the first row has names");
                break;
            }
        }
        bool updatesRow = false;
        QVariant stored; // the code of the row to update, as the database has it
        // Whether the code is new; a code the hospital has is refused unless the import updates
        // the kinds that may be updated, and a code twice in the files is refused either way.
        const auto fresh = [&](QSet<QString> &keys, const QString &code, const QString &what,
                               bool updatable = false) {
            if (code.isEmpty())
                return true;
            const QString seen = what + u'/' + code.toLower();
            const bool twice = p.inFiles.contains(seen);
            p.inFiles.insert(seen);
            if (!keys.contains(code.toLower()))
                return true;
            stored = p.stored.value(seen);
            if (twice || !stored.isValid() || !updatable || !m_updateExisting)
                reasons << QStringLiteral("%1 %2 is already in the hospital database or "
                                          "earlier in the file")
                               .arg(what, code);
            return false;
        };
        // The row of a room, doctor or item goes in as a new one or over the stored one.
        const auto keep = [&](bool isNew, const QString &table, const QStringList &columns,
                              const QVariantList &values, int updatedColumns) {
            if (isNew) {
                p.table(table, columns).rows.append(values);
                return;
            }
            p.updates.append(Update{table, columns.at(0), stored, columns.mid(1, updatedColumns),
                                    values.mid(1, updatedColumns)});
            ++report.updated[kind];
            updatesRow = true;
        };

        switch (kind) {
        case MasterKind::RevenueCodes: {
            const QString code = need(QStringLiteral("code"), QStringLiteral("the code"));
            const QString name = need(QStringLiteral("name"), QStringLiteral("the name"));
            if (!code.isEmpty() && p.revenueLocation.contains(code.toLower()))
                reasons << QStringLiteral("revenue code %1 is already in the hospital database "
                                          "or earlier in the file")
                               .arg(code);
            if (reasons.isEmpty()) {
                const QString location = cell(QStringLiteral("location"));
                p.revenueLocation.insert(code.toLower(), location);
                p.table(QStringLiteral("BUILD_FILE..tbCoRevenueCode"),
                        {QStringLiteral("RevenueID"), QStringLiteral("ItemName"),
                         QStringLiteral("LocationID")})
                    .rows.append({code, name, location});
            }
            break;
        }
        case MasterKind::Rooms: {
            const QString id = need(QStringLiteral("room"), QStringLiteral("the room number"));
            const QString name = need(QStringLiteral("name"), QStringLiteral("the name"));
            bool numeric = false;
            const int room = id.toInt(&numeric);
            if (!id.isEmpty() && (!numeric || room <= 0))
                reasons
                    << QStringLiteral("the room number %1 is not a whole number above 0").arg(id);
            const QString key = numeric ? QString::number(room) : id;
            const bool isNew = fresh(p.rooms, key, kRoom.toString(), true);
            const QString sortText = cell(QStringLiteral("sortorder"));
            bool sortNumeric = true;
            const int sort = sortText.isEmpty() ? room : sortText.toInt(&sortNumeric);
            if (!sortNumeric)
                reasons << QStringLiteral("the sort order %1 is not a whole number").arg(sortText);
            QString revenue = cell(QStringLiteral("revenuecode"));
            if (revenue.isEmpty())
                revenue = QStringLiteral("OR");
            if (!p.revenueLocation.contains(revenue.toLower()))
                reasons << QStringLiteral("revenue code %1 is unknown").arg(revenue);
            const auto active = yesNo(cell(QStringLiteral("active")), true);
            if (!active)
                reasons << QStringLiteral("Active must be Y or N");
            if (reasons.isEmpty()) {
                p.rooms.insert(key);
                keep(isNew, QStringLiteral("SCHEDULE..tbORRoom"),
                     {QStringLiteral("RoomID"), QStringLiteral("RoomName"),
                      QStringLiteral("SortOrder"), QStringLiteral("RevenueID"),
                      QStringLiteral("Status")},
                     {room, name, sort, revenue,
                      *active ? QStringLiteral("Y") : QStringLiteral("X")},
                     4);
            }
            break;
        }
        case MasterKind::Doctors: {
            const QString code = need(QStringLiteral("code"), QStringLiteral("the code"));
            const QString last = need(QStringLiteral("lastname"), QStringLiteral("the last name"));
            const QString first =
                need(QStringLiteral("firstname"), QStringLiteral("the first name"));
            const bool isNew = fresh(p.doctors, code, kDoctor.toString(), true);
            const auto affiliated = yesNo(cell(QStringLiteral("affiliated")), true);
            if (!affiliated)
                reasons << QStringLiteral("Affiliated must be Y or N");
            if (reasons.isEmpty()) {
                p.doctors.insert(code.toLower());
                // An updated doctor keeps his Status: a file does not bring back a leaver.
                keep(isNew, QStringLiteral("BUILD_FILE..tbCoDoctor"),
                     {QStringLiteral("DoctorID"), QStringLiteral("LastName"),
                      QStringLiteral("FirstName"), QStringLiteral("MiddleName"),
                      QStringLiteral("Specialization"), QStringLiteral("PhilHealthNum"),
                      QStringLiteral("IsAffiliated"), QStringLiteral("Status")},
                     {code, last, first, cell(QStringLiteral("middlename")),
                      cell(QStringLiteral("specialization")),
                      cell(QStringLiteral("philhealthnumber")), *affiliated ? 1 : 0,
                      QStringLiteral("A")},
                     6);
            }
            break;
        }
        case MasterKind::Items: {
            const QString code = need(QStringLiteral("code"), QStringLiteral("the code"));
            const QString description =
                need(QStringLiteral("description"), QStringLiteral("the description"));
            const QString revenue =
                need(QStringLiteral("revenuecode"), QStringLiteral("the revenue code"));
            const bool isNew = fresh(p.items, code, kItem.toString(), true);
            if (!revenue.isEmpty()) {
                const auto found = p.revenueLocation.constFind(revenue.toLower());
                if (found == p.revenueLocation.constEnd())
                    reasons << QStringLiteral("revenue code %1 is unknown").arg(revenue);
                else if (!found->isEmpty())
                    reasons << QStringLiteral("revenue code %1 is a stock department: its "
                                              "items come from the inventory")
                                   .arg(revenue);
            }
            const auto procedure = yesNo(cell(QStringLiteral("procedure")), false);
            if (!procedure)
                reasons << QStringLiteral("Procedure must be Y or N");
            QVariantList values = {code, description, revenue,
                                   procedure && *procedure ? QStringLiteral("PRC") : QString(),
                                   procedure && *procedure ? QStringLiteral("P") : QString()};
            for (QChar letter = kFirstRate; letter <= kLastRate;
                 letter = QChar(letter.unicode() + 1)) {
                const QString key = QStringLiteral("rate") + letter.toLower();
                const QString text = cell(key);
                const auto rate = amount(text, table.delimiter);
                if (text.isEmpty())
                    reasons << QStringLiteral("Rate%1 is empty").arg(letter);
                else if (!rate)
                    reasons
                        << QStringLiteral("Rate%1 \"%2\" is not a number").arg(letter).arg(text);
                else if (rate->isNegative())
                    reasons << QStringLiteral("Rate%1 is below zero").arg(letter);
                else
                    values << rate->toVariant();
            }
            if (reasons.isEmpty()) {
                p.items.insert(code.toLower());
                QStringList columns = {QStringLiteral("OtherRevenueID"),
                                       QStringLiteral("OtherRevenue"),
                                       QStringLiteral("OtherSectionID"),
                                       QStringLiteral("SectionID"), QStringLiteral("ORSection")};
                for (QChar letter = kFirstRate; letter <= kLastRate;
                     letter = QChar(letter.unicode() + 1))
                    columns << QStringLiteral("Rate") + letter;
                keep(isNew, QStringLiteral("BUILD_FILE..tbCoOtherRevenue"), columns, values,
                     int(columns.size()) - 1);
            }
            break;
        }
        case MasterKind::Employees: {
            const QString code = need(QStringLiteral("code"), QStringLiteral("the code"));
            const QString last = need(QStringLiteral("lastname"), QStringLiteral("the last name"));
            const QString first =
                need(QStringLiteral("firstname"), QStringLiteral("the first name"));
            const QString middle = cell(QStringLiteral("middlename"));
            fresh(p.employees, code, QStringLiteral("employee"));
            QString initial = cell(QStringLiteral("initial"));
            if (initial.isEmpty()) {
                for (const QString &part : {first, middle, last})
                    initial += part.left(1).toUpper();
            }
            QString department = cell(QStringLiteral("department"));
            if (department.isEmpty())
                department = QStringLiteral("29");
            QString station = cell(QStringLiteral("station"));
            if (station.isEmpty())
                station = QStringLiteral("OR");
            // "1|3|10", "1 3 10" or "1,3,10" are stored as the login keeps them: "|1|3|10".
            static const QRegularExpression separators(QStringLiteral("[|,\\s]+"));
            const QStringList rights =
                cell(QStringLiteral("rights")).split(separators, Qt::SkipEmptyParts);
            for (const QString &right : rights) {
                if (!p.rights.isEmpty() && !p.rights.contains(right.toLower()))
                    reasons << QStringLiteral("right %1 is not in the hospital's list of rights")
                                   .arg(right);
            }
            if (reasons.isEmpty()) {
                p.employees.insert(code.toLower());
                p.table(QStringLiteral("PASSWORD..tbPasswordMaster"),
                        {QStringLiteral("EmployeeID"), QStringLiteral("LastName"),
                         QStringLiteral("FirstName"), QStringLiteral("MiddleName"),
                         QStringLiteral("Initial"), QStringLiteral("DeptCode"),
                         QStringLiteral("Designation"), QStringLiteral("StationID"),
                         QStringLiteral("Status"), QStringLiteral("DateCreated")})
                    .rows.append({code, last, first, middle, initial, department,
                                  cell(QStringLiteral("designation")), station, QStringLiteral("A"),
                                  p.now});
                if (!rights.isEmpty())
                    p.table(QStringLiteral("STATION..tbNurseUserRights"),
                            {QStringLiteral("EmployeeID"), QStringLiteral("EmployeeRights"),
                             QStringLiteral("UserID"), QStringLiteral("TransDate")})
                        .rows.append({code, QString(u'|' + rights.join(u'|')),
                                      QStringLiteral("IMPORT"), p.now});
            }
            break;
        }
        }
        if (!reasons.isEmpty())
            refuse(line, reasons.join(QStringLiteral("; ")) + u'.');
        else if (!updatesRow)
            ++accepted;
    }
    report.accepted[kind] += accepted;
}

Result<void> MasterImport::write(const ImportReport &)
{
    Transaction tx = m_db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    for (const Table &t : std::as_const(m_pending->tables)) {
        // Many rows per statement: a hospital's price list is tens of thousands of rows.
        for (qsizetype first = 0; first < t.rows.size(); first += kRowsPerStatement) {
            const qsizetype count = std::min<qsizetype>(kRowsPerStatement, t.rows.size() - first);
            QStringList tuples;
            Binds binds;
            for (qsizetype r = 0; r < count; ++r) {
                QStringList names;
                const QVariantList &values = t.rows.at(first + r);
                for (qsizetype c = 0; c < values.size(); ++c) {
                    const QString name = QStringLiteral("v%1_%2").arg(r).arg(c);
                    names << u':' + name;
                    binds.insert(name, values.at(c));
                }
                tuples << u'(' + names.join(u',') + u')';
            }
            const QString sql = QStringLiteral("insert into %1 (%2) values %3")
                                    .arg(t.name, t.columns.join(u','), tuples.join(u','));
            if (auto ok = m_db.exec(sql, binds); !ok)
                return tl::unexpected(ok.error());
        }
    }
    // Rows that take the file's values, the same statement for every row of a table.
    QMap<QString, QList<Binds>> updates;
    for (const Update &u : std::as_const(m_pending->updates)) {
        QStringList sets;
        Binds binds{{QStringLiteral("key"), u.key}};
        for (qsizetype c = 0; c < u.columns.size(); ++c) {
            sets << u.columns.at(c) + QStringLiteral(" = :") + u.columns.at(c);
            binds.insert(u.columns.at(c), u.values.at(c));
        }
        updates[QStringLiteral("update %1 set %2 where %3 = :key")
                    .arg(u.table, sets.join(QStringLiteral(", ")), u.keyColumn)]
            << binds;
    }
    for (auto it = updates.cbegin(); it != updates.cend(); ++it) {
        if (auto ok = m_db.execMany(it.key(), it.value()); !ok)
            return tl::unexpected(ok.error());
    }
    return tx.commit();
}

} // namespace kestrel::admin
