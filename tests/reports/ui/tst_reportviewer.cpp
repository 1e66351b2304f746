// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The report viewer on screen: page navigation, zoom, the group tree, print and export
// switched off, the export panel and the files it writes; the viewers opened in the main
// window's work area; and the three prompt windows over their presenters.
#include "reports/ReportPeriod.h"
#include "reports/ui/frmReport.h"
#include "reports/ui/frmReportDate.h"
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
#include <QScrollBar>
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

} // namespace

class tst_ReportViewer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void navigation();
    void zoom_data();
    void zoom();
    void groupTree_data();
    void groupTree();
    void printAndExportDisabled_data();
    void printAndExportDisabled();

    void exportWritesTheFile_data();
    void exportWritesTheFile();
    void exportFailureIsReported();
    void exportPanelClosesWhenExportLosesFocus();

    void viewersOpenInTheWorkArea();
    void medicationSheetIsTheSameViewer();

    void periodWindow();
    void dateWindow_data();
    void dateWindow();
    void monthWindow();
};

// --- The viewer -------------------------------------------------------------------------------

void tst_ReportViewer::navigation()
{
    RecordingNotifier notifier;
    const auto report = operationsReport();
    QVERIFY(report->pageCount() >= 4);
    const QString pages = QString::number(report->pageCount());
    frmReportViewer viewer(report, options(), notifier);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));

    auto *pageText = child<QLabel>(viewer, QStringLiteral("lblPage"));
    auto *first = child<QToolButton>(viewer, QStringLiteral("cmdFirstPage"));
    auto *previous = child<QToolButton>(viewer, QStringLiteral("cmdPreviousPage"));
    auto *next = child<QToolButton>(viewer, QStringLiteral("cmdNextPage"));
    auto *last = child<QToolButton>(viewer, QStringLiteral("cmdLastPage"));
    QVERIFY(pageText && first && previous && next && last);
    QCOMPARE(viewer.windowTitle(), QStringLiteral("List of Patients with Operations"));

    QCOMPARE(pageText->text(), QStringLiteral("Page 1 of ") + pages);
    QVERIFY(!first->isEnabled());
    QVERIFY(!previous->isEnabled());
    QVERIFY(next->isEnabled());

    QTest::mouseClick(next, Qt::LeftButton);
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(pageText->text(), QStringLiteral("Page 3 of ") + pages);
    QVERIFY(first->isEnabled());
    QTest::mouseClick(previous, Qt::LeftButton);
    QCOMPARE(pageText->text(), QStringLiteral("Page 2 of ") + pages);

    QTest::mouseClick(last, Qt::LeftButton);
    QCOMPARE(pageText->text(), QStringLiteral("Page %1 of %1").arg(pages));
    QVERIFY(!next->isEnabled());
    QVERIFY(!last->isEnabled());
    QCOMPARE(viewer.presenter().page(), report->pageCount() - 1);

    QTest::mouseClick(first, Qt::LeftButton);
    QCOMPARE(pageText->text(), QStringLiteral("Page 1 of ") + pages);
    QCOMPARE(viewer.presenter().page(), 0);
}

void tst_ReportViewer::zoom_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<double>("percent"); // of the paper's real size; 0 for the fitting zooms

    QTest::newRow("opens at 100 %") << QString() << 100.0;
    QTest::newRow("50 %") << QStringLiteral("50 %") << 50.0;
    QTest::newRow("75 %") << QStringLiteral("75 %") << 75.0;
    QTest::newRow("200 %") << QStringLiteral("200 %") << 200.0;
    QTest::newRow("page width") << QStringLiteral("Page width") << 0.0;
    QTest::newRow("whole page") << QStringLiteral("Whole page") << 0.0;
}

void tst_ReportViewer::zoom()
{
    QFETCH(QString, choice);
    QFETCH(double, percent);

    RecordingNotifier notifier;
    const auto report = operationsReport();
    frmReportViewer viewer(report, options(), notifier);
    viewer.resize(900, 640);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    auto *zoomBox = child<QComboBox>(viewer, QStringLiteral("cboZoom"));
    auto *pages = child<ReportPageView>(viewer, QStringLiteral("CRViewer1"));
    QVERIFY(zoomBox && pages);
    QCOMPARE(zoomBox->currentText(), QStringLiteral("100 %"));
    if (!choice.isEmpty()) {
        const int index = zoomBox->findText(choice);
        QVERIFY(index >= 0);
        zoomBox->setCurrentIndex(index);
    }

    // Letter paper is 612 x 792 points; at 100 % a point is 96/72 of a screen pixel.
    const QSize drawn = pages->pageSize();
    if (percent > 0) {
        QCOMPARE(drawn.width(), qRound(612 * 96.0 / 72.0 * percent / 100.0));
        QCOMPARE(drawn.height(), qRound(792 * 96.0 / 72.0 * percent / 100.0));
    } else {
        const QSize view = pages->viewport()->size();
        QVERIFY2(drawn.width() <= view.width(), "the page is wider than the view");
        if (choice == u"Whole page") {
            QVERIFY2(drawn.height() <= view.height(), "the whole page does not fit");
            QVERIFY(drawn.height() >= view.height() - 40 || drawn.width() >= view.width() - 40);
        } else {
            QVERIFY(drawn.width() >= view.width() - 40);
            QVERIFY(drawn.height() > view.height()); // a page width is taller than the view
        }
    }
}

void tst_ReportViewer::groupTree_data()
{
    QTest::addColumn<bool>("shown");

    QTest::newRow("shown") << true;
    QTest::newRow("hidden") << false;
}

void tst_ReportViewer::groupTree()
{
    QFETCH(bool, shown);

    RecordingNotifier notifier;
    const auto report = operationsReport();
    frmReportViewer viewer(report, options(shown), notifier);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    auto *tree = child<QTreeWidget>(viewer, QStringLiteral("tvwGroupTree"));
    QVERIFY(tree);
    QCOMPARE(tree->isVisible(), shown);
    QCOMPARE(tree->isEnabled(), shown);
    if (!shown)
        return;

    QCOMPARE(tree->topLevelItemCount(), kDoctors.size());
    for (int i = 0; i < kDoctors.size(); ++i)
        QCOMPARE(tree->topLevelItem(i)->text(0), kDoctors.at(i));
    // Each doctor starts further on; a click jumps to his page.
    const QList<ReportGroup> &groups = report->groups();
    QVERIFY(groups.at(1).page > groups.at(0).page);
    QVERIFY(groups.at(2).page > groups.at(1).page);
    for (int i : {2, 1, 0}) {
        QTreeWidgetItem *item = tree->topLevelItem(i);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
        QCOMPARE(viewer.presenter().page(), groups.at(i).page);
        QCOMPARE(child<QLabel>(viewer, QStringLiteral("lblPage"))->text(),
                 viewer.presenter().pageText());
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

    RecordingNotifier notifier;
    QTemporaryDir folder;
    frmReportViewer viewer(operationsReport(), options(false, disabled), notifier);
    int asked = 0;
    viewer.setSaveFileAsker([&](const QString &, const QString &) {
        ++asked;
        return folder.filePath(QStringLiteral("operations.pdf"));
    });
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));

    QCOMPARE(child<QToolButton>(viewer, QStringLiteral("cmdPrint"))->isEnabled(), !disabled);
    QCOMPARE(child<QToolButton>(viewer, QStringLiteral("cmdExport"))->isEnabled(), !disabled);
    // Not even a direct call exports or prints a report whose printing is switched off.
    viewer.exportReport(ReportViewer::ExportFormat::Pdf);
    viewer.printReport(false);
    QCOMPARE(asked, disabled ? 0 : 1);
    QCOMPARE(QFile::exists(folder.filePath(QStringLiteral("operations.pdf"))), !disabled);
}

void tst_ReportViewer::exportWritesTheFile_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("typed"); // "" cancels the dialog
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("magic");

    const QByteArray zip("PK");
    QTest::newRow("Excel") << "imgExcel"
                           << "operations.xlsx"
                           << "Microsof Excel (*.xlsx)"
                           << "operations.xlsx" << zip;
    QTest::newRow("Excel without a suffix") << "imgExcel"
                                            << "operations"
                                            << "Microsof Excel (*.xlsx)"
                                            << "operations.xlsx" << zip;
    QTest::newRow("rich text") << "imgRTF"
                               << "operations.rtf"
                               << "Rich Text Format (*.rtf)"
                               << "operations.rtf" << QByteArray("{\\rtf");
    QTest::newRow("PDF") << "imgPDF"
                         << "operations.pdf"
                         << "PDF (*.pdf)"
                         << "operations.pdf" << QByteArray("%PDF");
    QTest::newRow("cancelled") << "imgRTF"
                               << ""
                               << "Rich Text Format (*.rtf)"
                               << "" << QByteArray();
}

void tst_ReportViewer::exportWritesTheFile()
{
    QFETCH(QString, image);
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(QByteArray, magic);

    RecordingNotifier notifier;
    QTemporaryDir folder;
    frmReportViewer viewer(operationsReport(), options(), notifier);
    QStringList filters;
    viewer.setSaveFileAsker([&](const QString &, const QString &asked) {
        filters << asked;
        return typed.isEmpty() ? QString() : folder.filePath(typed);
    });
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));

    auto *exportButton = child<QToolButton>(viewer, QStringLiteral("cmdExport"));
    auto *more = child<QFrame>(viewer, QStringLiteral("pctMore"));
    QVERIFY(exportButton && more);
    QVERIFY(!more->isVisible());
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QVERIFY(more->isVisible());
    QTest::mouseClick(child<QToolButton>(viewer, image), Qt::LeftButton);

    QVERIFY(!more->isVisible());
    QCOMPARE(filters, QStringList{filter});
    QVERIFY(notifier.boxes().isEmpty());
    if (written.isEmpty()) {
        QVERIFY(QDir(folder.path()).isEmpty());
        return;
    }
    QFile file(folder.filePath(written));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(written));
    QVERIFY(file.read(magic.size()) == magic);
}

void tst_ReportViewer::exportFailureIsReported()
{
    RecordingNotifier notifier;
    QTemporaryDir folder;
    frmReportViewer viewer(operationsReport(), options(), notifier);
    const QString nowhere = folder.filePath(QStringLiteral("no such folder/operations.pdf"));
    viewer.setSaveFileAsker([&](const QString &, const QString &) { return nowhere; });
    viewer.exportReport(ReportViewer::ExportFormat::Pdf);

    QCOMPARE(notifier.boxes().size(), 1);
    QCOMPARE(notifier.boxes().first().title, QStringLiteral("Notification"));
    QVERIFY(notifier.lastText().endsWith(QStringLiteral("Please notify your IT department.")));
    QVERIFY(!QFile::exists(nowhere));
}

void tst_ReportViewer::exportPanelClosesWhenExportLosesFocus()
{
    RecordingNotifier notifier;
    frmReportViewer viewer(operationsReport(), options(), notifier);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    viewer.activateWindow();
    auto *exportButton = child<QToolButton>(viewer, QStringLiteral("cmdExport"));
    auto *more = child<QFrame>(viewer, QStringLiteral("pctMore"));

    QTest::mouseClick(exportButton, Qt::LeftButton);
    QVERIFY(more->isVisible());
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QVERIFY2(!more->isVisible(), "a second click closes the panel");
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QVERIFY(more->isVisible());
    exportButton->setFocus();
    child<QComboBox>(viewer, QStringLiteral("cboZoom"))->setFocus();
    QTRY_VERIFY(!more->isVisible());
}

// --- The work area ----------------------------------------------------------------------------

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
    ViewerOptions other = options();
    other.title = QStringLiteral("Audit Report");
    display.showViewer(second, other);

    // Each report in a viewer of its own, the one shown before left as it was.
    const QList<QMdiSubWindow *> windows = area.subWindowList();
    QCOMPARE(windows.size(), 2);
    QCOMPARE(windows.at(0)->windowTitle(), QStringLiteral("List of Patients with Operations"));
    QCOMPARE(windows.at(1)->windowTitle(), QStringLiteral("Audit Report"));
    auto *firstViewer = qobject_cast<frmReportViewer *>(windows.at(0)->widget());
    auto *secondViewer = qobject_cast<frmReportViewer *>(windows.at(1)->widget());
    QVERIFY(firstViewer && secondViewer);
    QCOMPARE(&firstViewer->presenter().report(), first.get());
    QCOMPARE(&secondViewer->presenter().report(), second.get());
    QVERIFY(firstViewer->presenter().ShowGroupTree());
    QVERIFY(!secondViewer->presenter().ShowGroupTree());
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
    QCOMPARE(sheet.viewer().presenter().page(), 1);
    sheet.close();
    // The sheet's viewer lives as long as the sheet, not as long as its window is open.
    QCOMPARE(sheet.viewer().presenter().page(), 1);
}

// --- The prompts ------------------------------------------------------------------------------

void tst_ReportViewer::periodWindow()
{
    RecordingNotifier notifier;
    const QDate today(2026, 12, 1);
    ReportPeriodPrompt prompt(notifier, QStringLiteral("Enter Report Date for Audit Report"),
                              today);
    frmReport window(prompt);
    QCOMPARE(window.windowTitle(), QStringLiteral("Enter Report Date for Audit Report"));
    window.open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *from = child<QDateEdit>(window, QStringLiteral("dtpFrom"));
    auto *to = child<QDateEdit>(window, QStringLiteral("dtpTo"));
    auto *ok = child<QPushButton>(window, QStringLiteral("cmdOK(0)"));
    QVERIFY(from && to && ok && child<QPushButton>(window, QStringLiteral("cmdOK(1)")));
    QCOMPARE(from->date(), today);
    QCOMPARE(to->date(), today);
    QCOMPARE(to->maximumDate(), today);
    QCOMPARE(from->displayFormat(), QStringLiteral("MM/dd/yyyy"));

    // Tomorrow cannot be picked.
    to->setDate(today.addDays(1));
    QCOMPARE(to->date(), today);

    from->setDate(QDate(2026, 11, 30));
    to->setDate(QDate(2026, 11, 1));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(notifier.lastText(), QStringLiteral("Invalid dates."));
    QVERIFY(window.isVisible());
    QCOMPARE(from->date(), QDate(2026, 11, 30));

    to->setDate(QDate(2026, 11, 30));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(prompt.answer());
    QCOMPARE(prompt.answer()->from, QStringLiteral("11/30/2026"));
}

void tst_ReportViewer::dateWindow_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("format");

    QTest::newRow("day") << 0 << "MM/dd/yyyy";
    QTest::newRow("month") << 1 << "MM/yyyy";
    QTest::newRow("year") << 2 << "yyyy";
}

void tst_ReportViewer::dateWindow()
{
    QFETCH(int, mode);
    QFETCH(QString, format);

    ReportDatePrompt prompt(QDate(2026, 12, 1));
    prompt.SetMode(mode);
    frmReportDate window(prompt);
    window.open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *date = child<QDateEdit>(window, QStringLiteral("dtpDate"));
    QVERIFY(date);
    QCOMPARE(date->displayFormat(), format);
    QCOMPARE(date->date(), QDate(2026, 12, 1));

    // Esc cancels.
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QVERIFY(!prompt.answer());
}

void tst_ReportViewer::monthWindow()
{
    RecordingNotifier notifier;
    ReportMonthPrompt prompt(notifier, QDate(2026, 12, 1));
    frmReportMonth window(prompt);
    window.open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *month = child<QDateEdit>(window, QStringLiteral("dtpMonth"));
    auto *number = child<QLineEdit>(window, QStringLiteral("txtCase"));
    auto *ok = child<QPushButton>(window, QStringLiteral("cmdOK(0)"));
    QVERIFY(month && number && ok);
    QCOMPARE(month->displayFormat(), QStringLiteral("MM/yyyy"));
    QCOMPARE(number->text(), QStringLiteral("1"));

    number->clear();
    QTest::keyClicks(number, QStringLiteral("0x"));
    QCOMPARE(number->text(), QStringLiteral("0")); // digits only
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(notifier.lastText(), QStringLiteral("Starting no. should be > 0"));
    QVERIFY(window.isVisible());
    QTRY_VERIFY(number->hasFocus());

    QTest::keyClicks(number, QStringLiteral("12"));
    month->setDate(QDate(2024, 2, 10));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QVERIFY(prompt.answer());
    QCOMPARE(prompt.answer()->from, QStringLiteral("02/01/2024"));
    QCOMPARE(prompt.answer()->to, QStringLiteral("02/29/2024"));
    QCOMPARE(prompt.answer()->startingNumber, QStringLiteral("12"));
}

QTEST_MAIN(tst_ReportViewer)
#include "tst_reportviewer.moc"
