// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/Schema.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace kestrel;
using namespace kestrel::hospitaldb;
using namespace Qt::StringLiterals;

class tst_Schema : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translatesTypeWordsNotColumnNames();
    void everyFileIsAHospitalDatabaseWithUniqueNames();
};

void tst_Schema::translatesTypeWordsNotColumnNames()
{
    // Comments go, constraints stay, and a column named like a type word keeps its name.
    const QString sql = u"-- a comment\nCREATE TABLE tbT (\n  Memo memo, Flag flag NOT NULL "
                        u"DEFAULT 0, Money money,\n  PRIMARY KEY (Flag)\n);\n"
                        u"CREATE INDEX ix_tbT_Flag ON tbT (Flag);"_s;
    const auto lite = translateSchema(u"STATION"_s, sql, Backend::Sqlite);
    const auto pg = translateSchema(u"STATION"_s, sql, Backend::Postgres);
    QCOMPARE(lite.size(), 2);
    QCOMPARE(pg.size(), 2);
    QVERIFY2(lite.at(0).sql.contains(u"Flag INTEGER NOT NULL DEFAULT 0"), qPrintable(lite[0].sql));
    QVERIFY(!lite.at(0).sql.contains(u"comment"));
    for (const auto &column : {u"Memo citext", u"Flag smallint NOT NULL DEFAULT 0",
                               u"Money numeric(19,4)", u"PRIMARY KEY (Flag)"})
        QVERIFY2(pg.at(0).sql.contains(column), qPrintable(pg.at(0).sql));
    QCOMPARE(pg.at(1).sql, u"CREATE INDEX ix_tbT_Flag ON tbT (Flag)"_s);
}

void tst_Schema::everyFileIsAHospitalDatabaseWithUniqueNames()
{
    // The embedded hospital keeps every database in one file under bare names, so a table or
    // index name may appear in one database only, and only the known type words are used.
    const QStringList databases = schemaDatabases();
    QVERIFY(databases.contains(u"STATION"));
    QVERIFY(databases.contains(u"PATIENT_DATA"));
    static const QRegularExpression created(
        QStringLiteral(R"(CREATE\s+(?:UNIQUE\s+)?(?:TABLE|INDEX)\s+([A-Za-z0-9_]+))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression unmapped(
        QStringLiteral(R"(^\s*\w+\s+(varchar|text|bit|nvarchar|char)\b)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    QSet<QString> seen;
    for (const QString &database : databases) {
        QVERIFY2(isHospitalDatabaseName(database), qPrintable(database));
        QFile f(QStringLiteral(":/hospitaldb/schema/%1.sql").arg(database));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY2(!unmapped.match(text).hasMatch(),
                 qPrintable(database + u": " + unmapped.match(text).captured(0)));
        for (const auto &s : translateSchema(database, text, Backend::Sqlite)) {
            const auto m = created.match(s.sql);
            if (!m.hasMatch())
                continue;
            const QString name = m.captured(1).toLower();
            QVERIFY2(!seen.contains(name), qPrintable(database + u": " + name + u" repeats"));
            seen.insert(name);
        }
    }
    QVERIFY(seen.size() > 20);
}

QTEST_GUILESS_MAIN(tst_Schema)
#include "tst_schema.moc"
