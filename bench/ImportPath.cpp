// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// A hospital's price list loaded by kestrel-admin's import: the file read, every row checked
// and all of them written in one transaction, against the same inserts run bare.
#include "BenchPaths.h"

#include "MasterImport.h"

#include "core/db/Database.h"
#include "core/db/Money.h"

#include <QLocale>

#include <memory>

namespace kestrel::bench {

namespace {

// The imported items' codes: above every code the hospitals use, and removed after each run.
const QString kFirstCode = QStringLiteral("BX000000");
const QString kLastCode = QStringLiteral("BX999999");

struct ImportState
{
    explicit ImportState(BenchSession &s)
        : session(s)
    {
    }
    BenchSession &session;
    QByteArray file;
    /// The rows as the import writes them, for the bare side.
    QList<QVariantList> rows;
};

const QStringList kColumns{QStringLiteral("OtherRevenueID"), QStringLiteral("OtherRevenue"),
                           QStringLiteral("OtherSectionID"), QStringLiteral("SectionID"),
                           QStringLiteral("ORSection"),      QStringLiteral("RateA"),
                           QStringLiteral("RateB"),          QStringLiteral("RateC"),
                           QStringLiteral("RateD"),          QStringLiteral("RateE"),
                           QStringLiteral("RateF"),          QStringLiteral("RateG"),
                           QStringLiteral("RateH"),          QStringLiteral("RateI")};

// The price list as a hospital's office exports it: a procedure now and then, nine rates.
Result<void> makeFile(ImportState &state, int items)
{
    auto revenue = state.session.db.scalar(
        u"select min(RevenueID) from BUILD_FILE..tbCoRevenueCode "
        u"where coalesce(trim(LocationID), '') = '' and RevenueID <> ''");
    if (!revenue)
        return tl::unexpected(revenue.error());
    const QString department = revenue->toString().trimmed();
    if (department.isEmpty())
        return failure(QStringLiteral("the hospital has no revenue code outside the stock"));
    QByteArray text = "code,description,revenuecode,procedure,ratea,rateb,ratec,rated,ratee,"
                      "ratef,rateg,rateh,ratei\n";
    state.rows.clear();
    for (int n = 0; n < items; ++n) {
        const QString code = QStringLiteral("BX%1").arg(n + 1, 6, 10, QChar(u'0'));
        const QString name = QStringLiteral("IMPORTED ITEM %1, \"SIZE %2\"").arg(n + 1).arg(n % 9);
        const bool procedure = n % 10 == 0;
        const QString quoted = QString(name).replace(QStringLiteral("\""), QStringLiteral("\"\""));
        QStringList cells{code, QString(u'"' + quoted + u'"'), department,
                          procedure ? QStringLiteral("Y") : QStringLiteral("N")};
        QVariantList row{code, name, department,
                         procedure ? QStringLiteral("PRC") : QString(),
                         procedure ? QStringLiteral("P") : QString()};
        for (int rate = 0; rate < 9; ++rate) {
            const QString amount =
                QStringLiteral("%1.%2").arg(100 + (n * 37 + rate * 11) % 9000).arg(n % 4 * 25);
            cells << amount;
            row << Money::parse(amount)->toVariant();
        }
        text += cells.join(u',').toUtf8() + '\n';
        state.rows << row;
    }
    state.file = text;
    return {};
}

Result<void> removeImported(Database &db)
{
    auto removed = db.exec(u"delete from BUILD_FILE..tbCoOtherRevenue "
                           u"where OtherRevenueID >= :first and OtherRevenueID <= :last",
                           {{QStringLiteral("first"), kFirstCode},
                            {QStringLiteral("last"), kLastCode}});
    if (!removed)
        return tl::unexpected(removed.error());
    return {};
}

} // namespace

BenchPath importPath(BenchSession &s, int items)
{
    auto state = std::make_shared<ImportState>(s);
    BenchPath p;
    p.name = QStringLiteral("import %1 items").arg(QLocale(QLocale::English).toString(items));
    p.program = QStringLiteral("admin::parseDelimitedText and MasterImport::run, as "
                               "kestrel-admin import runs them");
    p.bare = QStringLiteral("the import's inserts, 100 rows a statement, in one transaction");
    p.targetMs = 10'000;
    p.mostRuns = 5;
    p.sameRows = true;
    p.prepare = [state, items]() -> Result<void> {
        if (auto ok = removeImported(state->session.db); !ok)
            return ok;
        return state->file.isEmpty() ? makeFile(*state, items) : Result<void>();
    };
    p.runProgram = [state]() -> Result<qint64> {
        auto table = admin::parseDelimitedText(state->file);
        if (!table)
            return tl::unexpected(table.error());
        admin::MasterImport import(state->session.db);
        import.add(admin::MasterKind::Items, QStringLiteral("items.csv"), std::move(*table));
        auto report = import.run(false);
        if (!report)
            return tl::unexpected(report.error());
        if (!report->refused.isEmpty())
            return failure(QStringLiteral("the import refused line %1: %2")
                               .arg(report->refused.first().line)
                               .arg(report->refused.first().reason));
        return report->accepted.value(admin::MasterKind::Items);
    };
    p.runBare = [state]() -> Result<qint64> {
        Database &db = state->session.db;
        constexpr qsizetype kRowsPerStatement = 100;
        Transaction tx = db.transaction();
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        for (qsizetype first = 0; first < state->rows.size(); first += kRowsPerStatement) {
            const qsizetype count =
                std::min<qsizetype>(kRowsPerStatement, state->rows.size() - first);
            QStringList tuples;
            Binds binds;
            for (qsizetype r = 0; r < count; ++r) {
                QStringList names;
                const QVariantList &values = state->rows.at(first + r);
                for (qsizetype c = 0; c < values.size(); ++c) {
                    const QString name = QStringLiteral("v%1_%2").arg(r).arg(c);
                    names << u':' + name;
                    binds.insert(name, values.at(c));
                }
                tuples << u'(' + names.join(u',') + u')';
            }
            auto ok = db.exec(QStringLiteral("insert into BUILD_FILE..tbCoOtherRevenue (%1) "
                                             "values %2")
                                  .arg(kColumns.join(u','), tuples.join(u',')),
                              binds);
            if (!ok)
                return tl::unexpected(ok.error());
        }
        if (auto ok = tx.commit(); !ok)
            return tl::unexpected(ok.error());
        return state->rows.size();
    };
    p.afterRun = [state]() { return removeImported(state->session.db); };
    p.notes << QStringLiteral("The program's side reads the file from memory (UTF-8, commas), "
                              "checks every row against the hospital's codes and writes them; "
                              "the items are removed again after each run, untimed.");
    return p;
}

} // namespace kestrel::bench
