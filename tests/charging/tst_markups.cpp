// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR's markups: the list the markup window offers, and the master window's search, add,
// edit and save, on every backend.
#include "charging/MarkUp.h"
#include "charging/MarkupSettings.h"
#include "charging/PricingFixture.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;

namespace {

qint64 count(Database &db, const QString &sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toLongLong() : -1;
}

int rowOf(const MarkUp &markUp, const QString &type)
{
    for (int i = 0; i < markUp.rows().size(); ++i) {
        if (markUp.rows().at(i).type == type)
            return i;
    }
    return -1;
}

} // namespace

class tst_Markups : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void markupList_data();
    void markupList();
    void holidayPresetOnSundays();
    void searchListsAndSaysWhenNone();
    void addEditAndSave();
    void saveRefusals_data();
    void saveRefusals();
};

void tst_Markups::markupList_data()
{
    QTest::addColumn<bool>("newKind");
    QTest::addColumn<QString>("type");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("markupType");
    QTest::addColumn<int>("rows");
    // The inactive markup of the new kind is not offered.
    QTest::newRow("multiplied") << true << "AFTER OFFICE HOURS" << 0.25 << 1 << 3;
    QTest::newRow("added") << true << "ISOLATION CASE HANDLING" << 1500.0 << 2 << 3;
    QTest::newRow("older factor") << false << "STAT / EMERGENCY" << 1.3 << 0 << 3;
}

void tst_Markups::markupList()
{
    QFETCH(bool, newKind);
    QFETCH(QString, type);
    QFETCH(double, value);
    QFETCH(int, markupType);
    QFETCH(int, rows);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches({{QStringLiteral("UseNewORMarkUp"), newKind ? "1" : ""}}));
    MarkUp markUp(p.f.session);
    QVERIFY(markUp.load());
    QCOMPARE(markUp.rows().size(), rows);
    QCOMPARE(markUp.choice().value, 0.0);
    const int row = rowOf(markUp, type);
    QVERIFY(row >= 0);
    markUp.choose(row);
    QCOMPARE(markUp.choice().value, value);
    QCOMPARE(int(markUp.choice().type), markupType);

    // A row of the new kind with an operation it does not know is no markup; loading again
    // starts from none.
    if (newKind) {
        QVERIFY(db.exec(u"update STATION..tbORMarkUp set Operation = '/' where Description = :d",
                        {{QStringLiteral("d"), type}}));
        QVERIFY(markUp.load());
        markUp.choose(rowOf(markUp, type));
        QCOMPARE(markUp.choice().value, 0.0);
        QCOMPARE(markUp.choice().type, MarkupType::None);
    }
}

void tst_Markups::holidayPresetOnSundays()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    MarkUp markUp(p.f.session);
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 11, 29), QTime(9, 0)))); // a Sunday
    QVERIFY(markUp.load());
    QVERIFY(markUp.holidayPreset());
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 11, 30), QTime(9, 0))));
    QVERIFY(markUp.load());
    QVERIFY(!markUp.holidayPreset());
}

void tst_Markups::searchListsAndSaysWhenNone()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    MarkupSettings settings(p.f.session);
    QVERIFY(settings.search(QString()));
    QCOMPARE(settings.listing().size(), 4);
    QCOMPARE(settings.listingMessage(), QString());

    // By the beginning of the description, in any case; wildcards are taken as typed.
    QVERIFY(settings.search(QStringLiteral("stat")));
    QCOMPARE(settings.listing().size(), 1);
    const MarkupEntry stat = settings.listing().first();
    QCOMPARE(stat.description, QStringLiteral("STAT / EMERGENCY CASE"));
    QCOMPARE(stat.markup, QStringLiteral("0.3"));
    QCOMPARE(stat.operation, QStringLiteral("*"));
    QVERIFY(stat.active);
    QCOMPARE(stat.validFrom, QDate(2026, 1, 1));
    QVERIFY(settings.search(QStringLiteral("%")));
    QVERIFY(settings.listing().isEmpty());
    QCOMPARE(settings.listingMessage(), QStringLiteral("No data found."));

    // By code.
    QVERIFY(settings.search(stat.code));
    QVERIFY(!settings.listing().isEmpty());
    QCOMPARE(settings.listing().first().code, stat.code);
}

void tst_Markups::addEditAndSave()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    MarkupSettings settings(p.f.session);
    QVERIFY(settings.search(QString()));

    // Edit before anything is shown.
    QVERIFY(!settings.edit());
    QCOMPARE(p.f.notifier.lastText(), QStringLiteral("Sorry, no code to edit."));
    QVERIFY(!settings.isEditing());

    settings.add();
    QVERIFY(settings.isEditing());
    QCOMPARE(settings.entry().code, QStringLiteral("NEW"));
    QCOMPARE(settings.entry().validFrom, QDate(2026, 12, 1));
    settings.entry().description = QStringLiteral("weekend elective case");
    settings.entry().markup = QStringLiteral("0.15");
    settings.entry().isDefault = true;

    // Answering No saves nothing.
    QVERIFY(!settings.save());
    QCOMPARE(count(db, "select count(*) from STATION..tbORMarkUp"), 4);

    p.f.notifier.answer({true});
    QVERIFY(settings.save());
    QCOMPARE(p.f.notifier.lastText(), QStringLiteral("Mark up successfully saved."));
    QVERIFY(!settings.isEditing());
    QCOMPARE(settings.listing().size(), 5);
    const QString code = settings.entry().code;
    QVERIFY(code != u"NEW");
    auto saved = db.selectOne(u"select Description, Markup, Operation, Status, IsDefault "
                              u"from STATION..tbORMarkUp where MarkupID = :id",
                              {{QStringLiteral("id"), code.toInt()}});
    QVERIFY(saved && *saved);
    QCOMPARE((*saved)->text(u"Description"), QStringLiteral("WEEKEND ELECTIVE CASE"));
    QCOMPARE((*saved)->number(u"Markup"), 0.15);
    QCOMPARE((*saved)->text(u"Status"), QStringLiteral("A"));
    // Only one markup is the default.
    QCOMPARE(count(db, "select count(*) from STATION..tbORMarkUp where IsDefault = 1"), 1);

    // Edit the isolation fee into an inactive added markup.
    int isolation = -1;
    for (int i = 0; i < settings.listing().size(); ++i) {
        if (settings.listing().at(i).description.startsWith(u"ISOLATION"))
            isolation = i;
    }
    settings.select(isolation);
    QVERIFY(settings.edit());
    settings.entry().markup = QStringLiteral("2000");
    settings.entry().active = false;
    p.f.notifier.answer({true});
    QVERIFY(settings.save());
    QCOMPARE(count(db, "select count(*) from STATION..tbORMarkUp where Status = 'I'"), 2);
    QCOMPARE(count(db, "select count(*) from STATION..tbORMarkUp where Markup = 2000 "
                       "and Operation = '+'"),
             1);
    QCOMPARE(count(db, "select count(*) from STATION..tbORMarkUp"), 5);
}

void tst_Markups::saveRefusals_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("isDefault");
    QTest::addColumn<QString>("message");
    QTest::newRow("blank description") << "   " << true << false
                                       << "Can't save blank description.";
    QTest::newRow("inactive default") << "PEDIATRIC CASE" << false << true
                                      << "Can't set as default value if item is inactive.";
    QTest::newRow("description taken") << "after office" << true << false
                                       << "Description already exists.";
}

void tst_Markups::saveRefusals()
{
    QFETCH(QString, description);
    QFETCH(bool, active);
    QFETCH(bool, isDefault);
    QFETCH(QString, message);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    MarkupSettings settings(p.f.session);
    settings.add();
    settings.entry().description = description;
    settings.entry().markup = QStringLiteral("0.2");
    settings.entry().active = active;
    settings.entry().isDefault = isDefault;
    p.f.notifier.answer({true});
    QVERIFY(!settings.save());
    QCOMPARE(p.f.notifier.boxes().first().text,
             QStringLiteral("Are you sure you want to save this entry?"));
    QCOMPARE(p.f.notifier.boxes().first().title, QStringLiteral("Notification"));
    QCOMPARE(p.f.notifier.lastText(), message);
    QVERIFY(settings.isEditing());
    QCOMPARE(count(db, "select count(*) from STATION..tbORMarkUp"), 4);
}

QTEST_GUILESS_MAIN(tst_Markups)
#include "tst_markups.moc"
