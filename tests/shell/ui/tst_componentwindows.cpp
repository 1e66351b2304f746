// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The pick-list narrowed by what the user types, and the reading window of a statement.
#include "shell/ui/WidgetCodePickList.h"
#include "shell/ui/WidgetListingView.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {
void whenShown(const std::function<void(QDialog &)> &step)
{
    QTimer::singleShot(0, [step] {
        auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(window);
        step(*window);
    });
}

CodeListing dosages()
{
    return {{}, {}, {u"Code"_s, u"Description"_s},
            {{u"BID"_s, u"TWICE A DAY"_s}, {u"HS"_s, u"AT BEDTIME"_s},
             {u"QID"_s, u"FOUR TIMES A DAY"_s}}, {}};
}
} // namespace

class tst_ComponentWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typingNarrowsThePickList_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("visible");
        QTest::addColumn<QString>("pickedCode"); // Enter in the search box; "" picks none
        QTest::newRow("nothing typed") << "" << 3 << "BID";
        QTest::newRow("by description, any case") << "times" << 1 << "QID";
        QTest::newRow("by code") << "hs" << 1 << "HS";
        QTest::newRow("no row holds it") << "weekly" << 0 << "";
    }
    void typingNarrowsThePickList()
    {
        QFETCH(QString, typed);
        const CodeListing listing = dosages();
        int shown = 0;
        whenShown([&](QDialog &window) {
            auto *filter = window.findChild<QLineEdit *>();
            auto *grid = window.findChild<QTableWidget *>();
            QVERIFY(filter && grid);
            QTest::keyClicks(filter, typed);
            for (int r = 0; r < grid->rowCount(); ++r)
                shown += grid->isRowHidden(r) ? 0 : 1;
            QTest::keyClick(filter, Qt::Key_Return);
            if (window.isVisible())
                window.reject();
        });
        const std::optional<int> picked = WidgetCodePickList().pick(listing);
        QTEST(shown, "visible");
        QTEST(picked ? listing.rows.at(*picked).at(0) : QString(), "pickedCode");
    }

    void readingWindowShowsRowsAndNotes()
    {
        CodeListing statement = dosages();
        statement.notes = {u"Total Charges: 1250.00"_s};
        bool checked = false;
        whenShown([&](QDialog &window) {
            auto *grid = window.findChild<QTableWidget *>();
            QVERIFY(grid && grid->rowCount() == 3);
            QCOMPARE(grid->item(2, 1)->text(), u"FOUR TIMES A DAY"_s);
            const auto labels = window.findChildren<QLabel *>();
            checked = std::any_of(labels.begin(), labels.end(), [&](QLabel *label) {
                return label->text() == statement.notes.constFirst();
            });
            window.reject();
        });
        WidgetListingView().show(statement);
        QVERIFY2(checked, "the total is not shown");
    }
};

QTEST_MAIN(tst_ComponentWindows)
#include "tst_componentwindows.moc"
