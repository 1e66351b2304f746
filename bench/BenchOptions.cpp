// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "BenchOptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace kestrel::bench {

QString BenchOptions::sizeName() const
{
    if (demo)
        return QStringLiteral("demo");
    return small ? QStringLiteral("small") : QStringLiteral("hospital");
}

QString BenchOptions::sqlitePath() const
{
    return sqliteFile.isEmpty()
               ? QStringLiteral("bench-data/") + sizeName() + QStringLiteral(".sqlite")
               : sqliteFile;
}

QString BenchOptions::backendName() const
{
    return backend == Backend::Postgres ? QStringLiteral("postgres") : QStringLiteral("sqlite");
}

std::optional<ServerTarget> parseServerTarget(const QString &text)
{
    const QStringList parts = text.split(u':');
    if (parts.size() < 3 || parts.size() > 4)
        return std::nullopt;
    ServerTarget target;
    target.host = parts.at(0).trimmed();
    bool portOk = false;
    target.port = parts.at(1).trimmed().toInt(&portOk);
    target.database = parts.at(2).trimmed();
    if (parts.size() == 4) {
        target.user = parts.at(3).trimmed();
        if (target.user.isEmpty())
            return std::nullopt;
    }
    // The database is created and dropped by name, and names cannot be bound.
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,62}$"));
    if (target.host.isEmpty() || !portOk || target.port < 1 || target.port > 65535 ||
        !identifier.match(target.database).hasMatch())
        return std::nullopt;
    return target;
}

ParsedArguments parseBenchArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times Kestrel's own code paths against the bare SQL of the same work."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption sqlite(
        QStringLiteral("sqlite"),
        QStringLiteral("The hospital database file (default bench-data/hospital.sqlite, "
                       "bench-data/small.sqlite with --small)."),
        QStringLiteral("file"));
    const QCommandLineOption pg(QStringLiteral("pg"),
                                QStringLiteral("A PostgreSQL 15 database instead of a file."),
                                QStringLiteral("host:port:database[:user]"));
    const QCommandLineOption generate(
        QStringLiteral("generate"),
        QStringLiteral("Create the hospital first (an existing one is replaced)."));
    const QCommandLineOption small(QStringLiteral("small"),
                                   QStringLiteral("A tenth of a hospital instead of a whole one."));
    const QCommandLineOption runs(QStringLiteral("runs"),
                                  QStringLiteral("Timed runs of each path after 3 warm-up runs "
                                                 "(default 30)."),
                                  QStringLiteral("n"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Where the results file goes (default "
                                                "bench/results)."),
                                 QStringLiteral("dir"));
    const QCommandLineOption only(QStringLiteral("only"),
                                  QStringLiteral("Only the paths whose name holds one of these "
                                                 "texts, separated by commas."),
                                  QStringLiteral("text"));
    const QCommandLineOption load(
        QStringLiteral("load"),
        QStringLiteral("Instead of the paths, a load run of this many seconds on PostgreSQL: "
                       "every workstation polls its monitors, ten of them post batches."),
        QStringLiteral("seconds"));
    const QCommandLineOption workstations(
        QStringLiteral("workstations"),
        QStringLiteral("The load run's workstations (default 100)."), QStringLiteral("n"));
    QCommandLineOption demo(QStringLiteral("demo"),
                            QStringLiteral("The demo hospital instead of a generated one."));
    demo.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, sqlite, pg, generate, small, runs, out, only, load, workstations, demo});

    ParsedArguments parsed;
    parsed.helpText = parser.helpText();
    if (!parser.parse(arguments)) {
        parsed.message = parser.errorText();
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.message = QStringLiteral("Unexpected argument \"%1\".")
                             .arg(parser.positionalArguments().constFirst());
        return parsed;
    }

    BenchOptions o;
    o.help = parser.isSet(help);
    o.generate = parser.isSet(generate);
    o.small = parser.isSet(small);
    o.demo = parser.isSet(demo);
    if (parser.isSet(sqlite) && parser.isSet(pg)) {
        parsed.message = QStringLiteral("Choose either --sqlite or --pg, not both.");
        return parsed;
    }
    if (parser.isSet(sqlite)) {
        o.sqliteFile = parser.value(sqlite).trimmed();
        if (o.sqliteFile.isEmpty()) {
            parsed.message = QStringLiteral("--sqlite needs the name of a file.");
            return parsed;
        }
    }
    if (parser.isSet(pg)) {
        const std::optional<ServerTarget> target = parseServerTarget(parser.value(pg));
        if (!target) {
            parsed.message = QStringLiteral("--pg takes host:port:database or "
                                            "host:port:database:user (the database a plain name "
                                            "of letters, digits and _), not \"%1\".")
                                 .arg(parser.value(pg));
            return parsed;
        }
        o.backend = Backend::Postgres;
        o.server = *target;
    }
    for (auto [option, value] : {std::pair{&runs, &o.runs}, std::pair{&load, &o.loadSeconds},
                                 std::pair{&workstations, &o.workstations}}) {
        if (!parser.isSet(*option))
            continue;
        bool ok = false;
        *value = parser.value(*option).trimmed().toInt(&ok);
        if (!ok || *value < 1) {
            parsed.message = QStringLiteral("--%1 takes a whole number of at least 1, not "
                                            "\"%2\".")
                                 .arg(option->names().constFirst(), parser.value(*option));
            return parsed;
        }
    }
    if (o.loadSeconds > 0 && o.backend != Backend::Postgres) {
        parsed.message = QStringLiteral("--load runs against a PostgreSQL server: add --pg.");
        return parsed;
    }
    o.only = parser.value(only).trimmed();
    if (parser.isSet(out)) {
        o.outDir = parser.value(out).trimmed();
        if (o.outDir.isEmpty()) {
            parsed.message = QStringLiteral("--out needs the name of a folder.");
            return parsed;
        }
    }
    if (o.demo && o.small) {
        parsed.message = QStringLiteral("--demo and --small do not go together: the demo "
                                        "hospital has one size.");
        return parsed;
    }
    parsed.options = o;
    return parsed;
}

QString resultFileName(const QDateTime &started, const BenchOptions &options)
{
    return started.toString(QStringLiteral("yyyyMMdd-HHmm")) + u'-' + options.backendName() + u'-' +
           options.sizeName() + QStringLiteral(".json");
}

} // namespace kestrel::bench
