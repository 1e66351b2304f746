// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The report viewer on screen: page navigation, zoom, the group tree, print and export
// switched off, the export panel and the files it writes; the viewers opened in the main
// window's work area; and the three prompt windows over their presenters (whose rules
// tst_reportperiod checks).
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
    void zoom_data();
    void zoom();
    void groupTree_data();
    void groupTree();
    void printAndExportDisabled_data();
    void printAndExportDisabled();
    void exportWritesTheFile_data();
    void exportWritesTheFile();
    void exportFailureIsReported();

    void viewersOpenInTheWorkArea();
    void medicationSheetIsTheSameViewer();

    void promptWindowsReachTheirPresenters();
};

// --- The viewer -------------------------------------------------------------------------------

void tst_ReportViewer::navigation()
{
    SHOW_VIEWER(v);
    QCOMPARE(v.window.windowTitle(), QStringLiteral("List of Patients with Operations"));
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

void tst_ReportViewer::zoom_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<double>("percent"); // of the paper's real size; 0 for the fitting zooms

    QTest::newRow("opens at 100 %") << "" << 100.0;
    QTest::newRow("50 %") << "50 %" << 50.0;
    QTest::newRow("200 %") << "200 %" << 200.0;
    QTest::newRow("page width") << "Page width" << 0.0;
    QTest::newRow("whole page") << "Whole page" << 0.0;
}

void tst_ReportViewer::zoom()
{
    QFETCH(QString, choice);
    QFETCH(double, percent);

    SHOW_VIEWER(v);
    auto *zoomBox = child<QComboBox>(v.window, QStringLiteral("cboZoom"));
    auto *pages = child<ReportPageView>(v.window, QStringLiteral("CRViewer1"));
    QVERIFY(zoomBox && pages);
    QCOMPARE(zoomBox->currentText(), QStringLiteral("100 %"));
    if (!choice.isEmpty())
        zoomBox->setCurrentIndex(zoomBox->findText(choice));

    // Letter paper is 612 x 792 points; at 100 % a point is 96/72 of a screen pixel.
    const QSize drawn = pages->pageSize();
    const QSize view = pages->viewport()->size();
    if (percent > 0) {
        QCOMPARE(drawn, QSize(qRound(612 * 96.0 / 72.0 * percent / 100.0),
                              qRound(792 * 96.0 / 72.0 * percent / 100.0)));
    } else if (choice == u"Whole page") {
        QVERIFY2(drawn.width() <= view.width() && drawn.height() <= view.height(),
                 "the whole page does not fit");
        QVERIFY(drawn.height() >= view.height() - 40 || drawn.width() >= view.width() - 40);
    } else {
        QVERIFY(drawn.width() <= view.width() && drawn.width() >= view.width() - 40);
        QVERIFY(drawn.height() > view.height()); // a page width is taller than the view
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

    SHOW_VIEWER(v, options(shown));
    auto *tree = child<QTreeWidget>(v.window, QStringLiteral("tvwGroupTree"));
    QVERIFY(tree);
    QCOMPARE(tree->isVisible(), shown);
    QCOMPARE(tree->isEnabled(), shown);
    if (!shown)
        return;

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
        QCOMPARE(child<QLabel>(v.window, QStringLiteral("lblPage"))->text(),
                 v.window.presenter().pageText());
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
    const char *excel = "Microsof Excel (*.xlsx)";
    const char *rtf = "Rich Text Format (*.rtf)";
    row("Excel", "imgExcel", "operations.xlsx", excel, "operations.xlsx", "PK");
    row("Excel without a suffix", "imgExcel", "operations", excel, "operations.xlsx", "PK");
    row("rich text", "imgRTF", "operations.rtf", rtf, "operations.rtf", "{\\rtf");
    row("PDF", "imgPDF", "operations.pdf", "PDF (*.pdf)", "operations.pdf", "%PDF");
    row("cancelled", "imgRTF", "", rtf, "", "");
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
    QVERIFY(v.notifier.boxes().isEmpty());
    if (written.isEmpty()) {
        QVERIFY(QDir(v.folder.path()).isEmpty());
        return;
    }
    QFile file(v.folder.filePath(written));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(written));
    QCOMPARE(file.read(magic.size()), magic);
}

void tst_ReportViewer::exportFailureIsReported()
{
    SHOW_VIEWER(v);
    v.saveAs = QStringLiteral("no such folder/operations.pdf");
    v.window.exportReport(ReportViewer::ExportFormat::Pdf);
    QCOMPARE(v.notifier.boxes().size(), 1);
    QCOMPARE(v.notifier.boxes().first().title, QStringLiteral("Notification"));
    QVERIFY(v.notifier.lastText().endsWith(QStringLiteral("Please notify your IT department.")));
    QVERIFY(!QFile::exists(v.folder.filePath(v.saveAs)));
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
    sheet.close();
    // The sheet's viewer lives as long as the sheet, not as long as its window is open.
    QCOMPARE(sheet.viewer().presenter().page(), 1);
}

// --- The prompts ------------------------------------------------------------------------------

void tst_ReportViewer::promptWindowsReachTheirPresenters()
{
    RecordingNotifier notifier;
    const QDate today(2026, 12, 1);

    // The period: its caption, the pickers' range and format, OK refused and then confirmed.
    ReportPeriodPrompt period(notifier, QStringLiteral("Enter Report Date for Audit Report"),
                              today);
    frmReport periodWindow(period);
    QCOMPARE(periodWindow.windowTitle(), QStringLiteral("Enter Report Date for Audit Report"));
    periodWindow.open();
    QVERIFY(QTest::qWaitForWindowExposed(&periodWindow));
    auto *from = child<QDateEdit>(periodWindow, QStringLiteral("dtpFrom"));
    auto *to = child<QDateEdit>(periodWindow, QStringLiteral("dtpTo"));
    auto *ok = child<QPushButton>(periodWindow, QStringLiteral("cmdOK(0)"));
    QVERIFY(from && to && ok && child<QPushButton>(periodWindow, QStringLiteral("cmdOK(1)")));
    QCOMPARE(from->date(), today);
    QCOMPARE(to->maximumDate(), today);
    QCOMPARE(from->displayFormat(), QStringLiteral("MM/dd/yyyy"));
    from->setDate(QDate(2026, 11, 30));
    to->setDate(QDate(2026, 11, 1));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(notifier.lastText(), QStringLiteral("Invalid dates."));
    QVERIFY(periodWindow.isVisible());
    to->setDate(QDate(2026, 11, 30));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!periodWindow.isVisible());
    QCOMPARE(periodWindow.result(), int(QDialog::Accepted));
    QCOMPARE(period.answer().value_or(ReportPeriod()).from, QStringLiteral("11/30/2026"));

    // The single date: the mode's format; Esc cancels.
    ReportDatePrompt date(today);
    date.SetMode(ReportDatePrompt::Year);
    frmReportDate dateWindow(date);
    dateWindow.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dateWindow));
    QCOMPARE(child<QDateEdit>(dateWindow, QStringLiteral("dtpDate"))->displayFormat(),
             QStringLiteral("yyyy"));
    QTest::keyClick(&dateWindow, Qt::Key_Escape);
    QVERIFY(!dateWindow.isVisible());
    QVERIFY(!date.answer());

    // The month: digits only in the starting number, the cursor back in it when refused.
    ReportMonthPrompt month(notifier, today);
    frmReportMonth monthWindow(month);
    monthWindow.open();
    QVERIFY(QTest::qWaitForWindowExposed(&monthWindow));
    auto *picker = child<QDateEdit>(monthWindow, QStringLiteral("dtpMonth"));
    auto *number = child<QLineEdit>(monthWindow, QStringLiteral("txtCase"));
    ok = child<QPushButton>(monthWindow, QStringLiteral("cmdOK(0)"));
    QVERIFY(picker && number && ok);
    QCOMPARE(picker->displayFormat(), QStringLiteral("MM/yyyy"));
    QCOMPARE(number->text(), QStringLiteral("1"));
    number->clear();
    QTest::keyClicks(number, QStringLiteral("0x"));
    QCOMPARE(number->text(), QStringLiteral("0"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(notifier.lastText(), QStringLiteral("Starting no. should be > 0"));
    QVERIFY(monthWindow.isVisible());
    QTRY_VERIFY(number->hasFocus());
    QTest::keyClicks(number, QStringLiteral("12"));
    picker->setDate(QDate(2024, 2, 10));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!monthWindow.isVisible());
    QCOMPARE(month.answer().value_or(ReportPeriod()),
             (ReportPeriod{QStringLiteral("02/01/2024"), QStringLiteral("02/29/2024"),
                           QStringLiteral("12")}));
}

QTEST_MAIN(tst_ReportViewer)
#include "tst_reportviewer.moc"
