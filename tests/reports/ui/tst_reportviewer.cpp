// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The report viewer on screen: pages, zoom, the group tree, print and export switched off, the
// export panel; the viewers in the main window's work area; the prompt windows.
#include "reports/ReportPeriod.h"
#include "reports/ui/frmReport.h"
#include "reports/ui/frmReportMedicationsheet.h"
#include "reports/ui/frmReportMonth.h"
#include "reports/ui/frmReportViewer.h"
#include "reports/ui/WidgetReportDisplay.h"
#include "support/RecordingNotifier.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageLayout>
#include <QPageSize>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace kestrel;
using kestrel::test::RecordingNotifier;

namespace {
const QStringList kDoctors{QStringLiteral("DR. ABAD"), QStringLiteral("DR. BAUTISTA"),
                           QStringLiteral("DR. CRUZ")};

/// A list of operations grouped by doctor, long enough for several pages per doctor.
std::shared_ptr<const RenderedReport> operationsReport()
{
    QString body;
    QList<ReportGroup> groups;
    for (int d = 0; d < kDoctors.size(); ++d) {
        const QString anchor = QStringLiteral("doctor%1").arg(d);
        body += QStringLiteral("<a name=\"%1\"></a><h2>%2</h2><table>").arg(anchor, kDoctors[d]);
        for (int row = 1; row <= 70; ++row)
            body += QStringLiteral("<tr><td>%1</td><td>APPENDECTOMY</td><td>1,500.00</td></tr>")
                        .arg(row);
        body += QStringLiteral("</table>");
        groups.append(ReportGroup{kDoctors[d], anchor, 0});
    }
    const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                             QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    return std::make_shared<const RenderedReport>(
        QStringLiteral("List of Patients with Operations"), body, QString(), letter,
        [](int, int) { return QStringLiteral("<p>KESTREL GENERAL HOSPITAL</p>"); },
        [](int page, int pages) {
            return QStringLiteral("<p>Page %1 of %2</p>").arg(page).arg(pages);
        },
        groups);
}

template <typename T> T *child(QWidget &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qWarning("no control %s", qPrintable(name));
    return found;
}

ViewerOptions options(bool groupTree = false, bool disablePrintExport = false)
{
    ViewerOptions o;
    o.title = QStringLiteral("List of Patients with Operations");
    o.showGroupTree = groupTree;
    o.disablePrintExport = disablePrintExport;
    return o;
}

/// The operations list in a viewer on screen; exports go to `folder`, under the name the
/// test answers the save dialog with ("" cancels it).
struct Viewer
{
    explicit Viewer(const ViewerOptions &o = options())
        : window(report, o, notifier)
    {
        window.setSaveFileAsker([this](const QString &, const QString &filter) {
            filters << filter;
            return saveAs.isEmpty() ? QString() : folder.filePath(saveAs);
        });
        window.resize(900, 640);
        window.show();
    }
    QToolButton *button(const char *name) { return child<QToolButton>(window, name); }
    RecordingNotifier notifier;
    std::shared_ptr<const RenderedReport> report = operationsReport();
    frmReportViewer window;
    QTemporaryDir folder;
    QString saveAs = QStringLiteral("operations.pdf");
    QStringList filters;
};

#define SHOW_VIEWER(v, ...)                                                                        \
    Viewer v{__VA_ARGS__};                                                                         \
    QVERIFY(QTest::qWaitForWindowExposed(&v.window))
} // namespace

class tst_ReportViewer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void navigation();
    void zoom();
    void groupTree();
    void printAndExportDisabled_data();
    void printAndExportDisabled();
    void exportWritesTheFile_data();
    void exportWritesTheFile();
    void viewersOpenInTheWorkArea();
    void medicationSheetIsTheSameViewer();
    void promptWindowsReachTheirPresenters();
};

void tst_ReportViewer::navigation()
{
    SHOW_VIEWER(v);
    const int pages = v.report->pageCount();
    QVERIFY(pages >= 4);
    auto *first = v.button("cmdFirstPage");
    auto *previous = v.button("cmdPreviousPage");
    auto *next = v.button("cmdNextPage");
    auto *last = v.button("cmdLastPage");
    QVERIFY(first && previous && next && last);
    const auto showing = [&](int page) {
        return child<QLabel>(v.window, QStringLiteral("lblPage"))->text() ==
                   QStringLiteral("Page %1 of %2").arg(page).arg(pages) &&
               v.window.presenter().page() == page - 1 && first->isEnabled() == (page > 1) &&
               previous->isEnabled() == (page > 1) && next->isEnabled() == (page < pages) &&
               last->isEnabled() == (page < pages);
    };
    QVERIFY(showing(1));
    QTest::mouseClick(next, Qt::LeftButton);
    QTest::mouseClick(next, Qt::LeftButton);
    QVERIFY(showing(3));
    QTest::mouseClick(previous, Qt::LeftButton);
    QVERIFY(showing(2));
    QTest::mouseClick(last, Qt::LeftButton);
    QVERIFY(showing(pages));
    QTest::mouseClick(first, Qt::LeftButton);
    QVERIFY(showing(1));
}

void tst_ReportViewer::zoom()
{
    SHOW_VIEWER(v);
    auto *zoomBox = child<QComboBox>(v.window, QStringLiteral("cboZoom"));
    auto *pages = child<ReportPageView>(v.window, QStringLiteral("CRViewer1"));
    QVERIFY(zoomBox && pages);
    QCOMPARE(zoomBox->currentText(), QStringLiteral("100 %"));
    // Letter paper is 612 x 792 points; at 100 % a point is 96/72 of a screen pixel.
    zoomBox->setCurrentIndex(zoomBox->findText(QStringLiteral("200 %")));
    QCOMPARE(pages->pageSize(),
             QSize(qRound(612 * 96.0 / 72.0 * 2), qRound(792 * 96.0 / 72.0 * 2)));
    zoomBox->setCurrentIndex(zoomBox->findText(QStringLiteral("Page width")));
    QSize drawn = pages->pageSize(), view = pages->viewport()->size();
    QVERIFY(drawn.width() <= view.width() && drawn.width() >= view.width() - 40);
    QVERIFY(drawn.height() > view.height()); // a page width is taller than the view
    zoomBox->setCurrentIndex(zoomBox->findText(QStringLiteral("Whole page")));
    drawn = pages->pageSize();
    view = pages->viewport()->size();
    QVERIFY2(drawn.width() <= view.width() && drawn.height() <= view.height(), "does not fit");
    QVERIFY(drawn.height() >= view.height() - 40 || drawn.width() >= view.width() - 40);
}

void tst_ReportViewer::groupTree()
{
    SHOW_VIEWER(hidden);
    QVERIFY(!child<QTreeWidget>(hidden.window, QStringLiteral("tvwGroupTree"))->isVisible());
    SHOW_VIEWER(v, options(true));
    auto *tree = child<QTreeWidget>(v.window, QStringLiteral("tvwGroupTree"));
    QVERIFY(tree && tree->isVisible() && tree->isEnabled());
    QCOMPARE(tree->topLevelItemCount(), kDoctors.size());
    // Each doctor starts further on; a click jumps to his page.
    const QList<ReportGroup> &groups = v.report->groups();
    QVERIFY(groups.at(0).page < groups.at(1).page && groups.at(1).page < groups.at(2).page);
    for (int i : {2, 1, 0}) {
        QTreeWidgetItem *item = tree->topLevelItem(i);
        QCOMPARE(item->text(0), kDoctors.at(i));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
        QCOMPARE(v.window.presenter().page(), groups.at(i).page);
    }
}

void tst_ReportViewer::printAndExportDisabled_data()
{
    QTest::addColumn<bool>("disabled");
    QTest::newRow("allowed") << false;
    QTest::newRow("disabled") << true;
}

void tst_ReportViewer::printAndExportDisabled()
{
    QFETCH(bool, disabled);
    SHOW_VIEWER(v, options(false, disabled));
    QCOMPARE(v.button("cmdPrint")->isEnabled(), !disabled);
    QCOMPARE(v.button("cmdExport")->isEnabled(), !disabled);
    // Not even a direct call exports or prints a report whose printing is switched off.
    v.window.exportReport(ReportViewer::ExportFormat::Pdf);
    v.window.printReport(false);
    QCOMPARE(v.filters.size(), disabled ? 0 : 1);
    QCOMPARE(QFile::exists(v.folder.filePath(v.saveAs)), !disabled);
}

void tst_ReportViewer::exportWritesTheFile_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("typed"); // "" cancels the dialog
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("magic");
    const auto row = [](const char *name, const char *image, const char *typed, const char *filter,
                        const char *written, const char *magic) {
        QTest::newRow(name) << QString(image) << QString(typed) << QString(filter)
                            << QString(written) << QByteArray(magic);
    };
    row("Excel: the suffix added", "imgExcel", "operations", "Microsof Excel (*.xlsx)",
        "operations.xlsx", "PK");
    row("PDF", "imgPDF", "operations.pdf", "PDF (*.pdf)", "operations.pdf", "%PDF");
    row("cancelled", "imgRTF", "", "Rich Text Format (*.rtf)", "", "");
    row("fails: the error box", "imgPDF", "no such folder/x.pdf", "PDF (*.pdf)", "", "");
}

void tst_ReportViewer::exportWritesTheFile()
{
    QFETCH(QString, image);
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(QByteArray, magic);
    SHOW_VIEWER(v);
    v.saveAs = typed;
    auto *exportButton = v.button("cmdExport");
    auto *more = child<QFrame>(v.window, QStringLiteral("pctMore"));
    QVERIFY(exportButton && more);
    QVERIFY(!more->isVisible());
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QVERIFY(more->isVisible());
    QTest::mouseClick(child<QToolButton>(v.window, image), Qt::LeftButton);
    QVERIFY(!more->isVisible());
    QCOMPARE(v.filters, QStringList{filter});
    const bool fails = written.isEmpty();
    QCOMPARE(v.notifier.boxes().size(), fails ? 1 : 0);
    if (written.isEmpty()) {
        QVERIFY(QDir(v.folder.path()).isEmpty());
        QVERIFY(!fails || v.notifier.lastText().endsWith(u"Please notify your IT department."));
        return;
    }
    QFile file(v.folder.filePath(written));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(written));
    QCOMPARE(file.read(magic.size()), magic);
}

void tst_ReportViewer::viewersOpenInTheWorkArea()
{
    RecordingNotifier notifier;
    QMdiArea area;
    area.resize(1000, 700);
    area.show();
    WidgetReportDisplay display(notifier, &area);
    const auto first = operationsReport();
    const auto second = operationsReport();
    display.showViewer(first, options(true));
    display.showViewer(second, options());
    // Each report in a viewer of its own, the one shown before left as it was.
    const QList<QMdiSubWindow *> windows = area.subWindowList();
    QCOMPARE(windows.size(), 2);
    auto *firstViewer = qobject_cast<frmReportViewer *>(windows.at(0)->widget());
    auto *secondViewer = qobject_cast<frmReportViewer *>(windows.at(1)->widget());
    QVERIFY(firstViewer && secondViewer);
    QCOMPARE(&firstViewer->presenter().report(), first.get());
    QCOMPARE(&secondViewer->presenter().report(), second.get());
    QVERIFY(firstViewer->presenter().ShowGroupTree() && !secondViewer->presenter().ShowGroupTree());
    QCOMPARE(area.activeSubWindow(), windows.at(1));
    // Closing a viewer lets its report go.
    windows.at(0)->close();
    QTRY_COMPARE(area.subWindowList().size(), 1);
    QTRY_COMPARE(first.use_count(), 1L);
}

void tst_ReportViewer::medicationSheetIsTheSameViewer()
{
    RecordingNotifier notifier;
    ViewerOptions sheetOptions;
    sheetOptions.title = QStringLiteral("Medication Sheet");
    frmReportMedicationsheet sheet(operationsReport(), sheetOptions, notifier);
    QVERIFY(sheet.isModal());
    QCOMPARE(sheet.windowTitle(), QStringLiteral("Medication Sheet"));
    sheet.open();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    QTest::mouseClick(child<QToolButton>(sheet, QStringLiteral("cmdNextPage")), Qt::LeftButton);
    sheet.close();
    // The sheet's viewer lives as long as the sheet, not as long as its window is open.
    QCOMPARE(sheet.viewer().presenter().page(), 1);
}

void tst_ReportViewer::promptWindowsReachTheirPresenters()
{
    // The windows over the presenters whose rules tst_reportperiod checks: the pickers and OK
    // reach them, a refusal keeps the window open.
    RecordingNotifier notifier;
    const QDate today(2026, 12, 1);
    ReportPeriodPrompt period(notifier, QStringLiteral("Enter Report Date"), today);
    frmReport periodWindow(period);
    periodWindow.open();
    QVERIFY(QTest::qWaitForWindowExposed(&periodWindow));
    auto *to = child<QDateEdit>(periodWindow, QStringLiteral("dtpTo"));
    auto *ok = child<QPushButton>(periodWindow, QStringLiteral("cmdOK(0)"));
    QVERIFY(to && ok);
    QCOMPARE(to->maximumDate(), today);
    to->setDate(QDate(2026, 11, 1));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(notifier.lastText(), QStringLiteral("Invalid dates."));
    QVERIFY(periodWindow.isVisible());
    child<QDateEdit>(periodWindow, QStringLiteral("dtpFrom"))->setDate(QDate(2026, 10, 30));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!periodWindow.isVisible());
    QCOMPARE(period.answer().value_or(ReportPeriod()).from, QStringLiteral("10/30/2026"));
    // The month: digits only in the starting number, the cursor back in it when refused.
    ReportMonthPrompt month(notifier, today);
    frmReportMonth monthWindow(month);
    monthWindow.open();
    QVERIFY(QTest::qWaitForWindowExposed(&monthWindow));
    auto *number = child<QLineEdit>(monthWindow, QStringLiteral("txtCase"));
    ok = child<QPushButton>(monthWindow, QStringLiteral("cmdOK(0)"));
    QVERIFY(number && ok);
    number->clear();
    QTest::keyClicks(number, QStringLiteral("0x"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(notifier.lastText(), QStringLiteral("Starting no. should be > 0"));
    QTRY_VERIFY(number->hasFocus());
    QTest::keyClicks(number, QStringLiteral("12"));
    child<QDateEdit>(monthWindow, QStringLiteral("dtpMonth"))->setDate(QDate(2024, 2, 10));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!monthWindow.isVisible());
    QCOMPARE(month.answer().value_or(ReportPeriod()),
             (ReportPeriod{QStringLiteral("02/01/2024"), QStringLiteral("02/29/2024"),
                           QStringLiteral("12")}));
}

QTEST_MAIN(tst_ReportViewer)
#include "tst_reportviewer.moc"
