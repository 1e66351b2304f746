// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ui/frmReportViewer.h"

#include "core/Notifier.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

Result<void> printOn(const RenderedReport &report, QPrinter &printer)
{
    printer.setPageLayout(report.pageLayout());
    printer.setDocName(report.title());
    // The pages the print dialog asked for; the whole report when it asked for all.
    const bool range = printer.printRange() == QPrinter::PageRange;
    return report.print(printer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0);
}

} // namespace

Result<void> printOnDefaultPrinter(const RenderedReport &report)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return failure(QStringLiteral("No printer is set up on this workstation."));
    QPrinter printer(info, QPrinter::HighResolution);
    return printOn(report, printer);
}

// --- CRViewer1 --------------------------------------------------------------------------------

/// The sheet of paper itself.
class ReportPageView::Canvas : public QWidget
{
public:
    Canvas(ReportViewer &viewer, QWidget *parent)
        : QWidget(parent)
        , m_viewer(viewer)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const QRectF sheet = rect();
        painter.fillRect(sheet, Qt::white);
        m_viewer.report().paintPage(painter, m_viewer.page(), sheet);
    }

private:
    ReportViewer &m_viewer;
};

ReportPageView::ReportPageView(ReportViewer &viewer, QWidget *parent)
    : QScrollArea(parent)
    , m_viewer(viewer)
{
    setObjectName(QStringLiteral("CRViewer1"));
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    setWidgetResizable(false);
    m_canvas = new Canvas(viewer, this);
    setWidget(m_canvas);
    refresh();
}

QSize ReportPageView::pageSize() const
{
    return m_canvas->size();
}

void ReportPageView::refresh()
{
    const double scale = m_viewer.scale(viewport()->size());
    const QSizeF paper = m_viewer.report().pageSizePoints();
    m_canvas->resize(std::max(1, qRound(paper.width() * scale)),
                     std::max(1, qRound(paper.height() * scale)));
    m_canvas->update();
}

void ReportPageView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    // The fitting zooms follow the size of the view.
    if (m_viewer.zoomMode() != ReportViewer::ZoomMode::Percent)
        refresh();
}

// --- frmReportViewer --------------------------------------------------------------------------

frmReportViewer::frmReportViewer(std::shared_ptr<const RenderedReport> report,
                                 const ViewerOptions &options, Notifier &notifier, QWidget *parent)
    : QWidget(parent)
    , m_notifier(notifier)
    , m_viewer(std::move(report), options, notifier)
{
    m_askSaveFile = [this](const QString &caption, const QString &filter) {
        return QFileDialog::getSaveFileName(this, caption, QString(), filter);
    };
    buildUi();
    bind();
    refresh();
}

frmReportViewer::~frmReportViewer() = default;

void frmReportViewer::setSaveFileAsker(SaveFileAsker asker)
{
    m_askSaveFile = std::move(asker);
}

QToolButton *frmReportViewer::addButton(const QString &name, const QString &text,
                                        const QString &toolTip, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    return button;
}

void frmReportViewer::buildUi()
{
    setObjectName(QStringLiteral("frmReportViewer"));
    setWindowTitle(m_viewer.title());
    setAttribute(Qt::WA_DeleteOnClose);

    auto *bar = new QWidget(this);
    auto *barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(4, 2, 4, 2);
    m_print = addButton(QStringLiteral("cmdPrint"), QStringLiteral("&Print"),
                        QStringLiteral("Print Report"), bar);
    m_export = addButton(QStringLiteral("cmdExport"), QStringLiteral("&Export"),
                         QStringLiteral("Export Report"), bar);
    // Clicking gives it the focus, so that losing the focus can close the export panel.
    m_export->setFocusPolicy(Qt::StrongFocus);
    m_first = addButton(QStringLiteral("cmdFirstPage"), QStringLiteral("|<"),
                        QStringLiteral("First Page"), bar);
    m_previous = addButton(QStringLiteral("cmdPreviousPage"), QStringLiteral("<"),
                           QStringLiteral("Previous Page"), bar);
    m_pageText = new QLabel(bar);
    m_pageText->setObjectName(QStringLiteral("lblPage"));
    m_next = addButton(QStringLiteral("cmdNextPage"), QStringLiteral(">"),
                       QStringLiteral("Next Page"), bar);
    m_last = addButton(QStringLiteral("cmdLastPage"), QStringLiteral(">|"),
                       QStringLiteral("Last Page"), bar);
    m_zoom = new QComboBox(bar);
    m_zoom->setObjectName(QStringLiteral("cboZoom"));
    m_zoom->addItems(ReportViewer::zoomChoices());
    m_zoom->setToolTip(QStringLiteral("Zoom"));
    for (QWidget *w : std::initializer_list<QWidget *>{m_print, m_export})
        barLayout->addWidget(w);
    barLayout->addSpacing(12);
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_first, m_previous, m_pageText, m_next, m_last})
        barLayout->addWidget(w);
    barLayout->addSpacing(12);
    barLayout->addWidget(m_zoom);
    barLayout->addStretch(1);

    // The export panel drops below the bar when `cmdExport` opens it. Its pictures take no
    // focus, so choosing one does not close the panel first.
    m_more = new QFrame(this);
    m_more->setObjectName(QStringLiteral("pctMore"));
    m_more->setFrameShape(QFrame::StyledPanel);
    auto *moreLayout = new QHBoxLayout(m_more);
    moreLayout->setContentsMargins(4, 2, 4, 2);
    m_excel = addButton(QStringLiteral("imgExcel"), QStringLiteral("Excel"),
                        QStringLiteral("Export to Excel"), m_more);
    m_rtf = addButton(QStringLiteral("imgRTF"), QStringLiteral("RTF"),
                      QStringLiteral("Export to Rich Text Format"), m_more);
    m_pdf = addButton(QStringLiteral("imgPDF"), QStringLiteral("PDF"),
                      QStringLiteral("Export to PDF"), m_more);
    for (QToolButton *image : {m_excel, m_rtf, m_pdf}) {
        image->setFocusPolicy(Qt::NoFocus);
        moreLayout->addWidget(image);
    }
    moreLayout->addStretch(1);

    m_groupTree = new QTreeWidget(this);
    m_groupTree->setObjectName(QStringLiteral("tvwGroupTree"));
    m_groupTree->setHeaderHidden(true);
    m_groupTree->setRootIsDecorated(false);
    for (const QString &key : m_viewer.groupKeys())
        m_groupTree->addTopLevelItem(new QTreeWidgetItem(QStringList{key}));
    m_groupTree->setVisible(m_viewer.ShowGroupTree());
    m_groupTree->setEnabled(m_viewer.ShowGroupTree());

    m_pages = new ReportPageView(m_viewer, this);
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->addWidget(m_groupTree);
    m_splitter->addWidget(m_pages);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({180, 720});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_more);
    layout->addWidget(m_splitter, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(m_status);

    m_print->setEnabled(m_viewer.canPrint());
    m_export->setEnabled(m_viewer.canExport());
    m_more->setVisible(false);
    {
        const QSignalBlocker blocker(m_zoom);
        m_zoom->setCurrentIndex(m_viewer.zoomChoice());
    }
    resize(900, 640);
}

void frmReportViewer::bind()
{
    connect(m_first, &QToolButton::clicked, &m_viewer, &ReportViewer::showFirstPage);
    connect(m_previous, &QToolButton::clicked, &m_viewer, &ReportViewer::showPreviousPage);
    connect(m_next, &QToolButton::clicked, &m_viewer, &ReportViewer::showNextPage);
    connect(m_last, &QToolButton::clicked, &m_viewer, &ReportViewer::showLastPage);
    connect(m_zoom, &QComboBox::currentIndexChanged, &m_viewer, &ReportViewer::setZoomChoice);
    connect(m_groupTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        m_viewer.showGroup(m_groupTree->indexOfTopLevelItem(item));
    });
    connect(m_print, &QToolButton::clicked, this, [this] { printReport(true); });
    connect(m_export, &QToolButton::clicked, &m_viewer, &ReportViewer::toggleMore);
    connect(m_excel, &QToolButton::clicked, this,
            [this] { exportReport(ReportViewer::ExportFormat::Excel); });
    connect(m_rtf, &QToolButton::clicked, this,
            [this] { exportReport(ReportViewer::ExportFormat::RichText); });
    connect(m_pdf, &QToolButton::clicked, this,
            [this] { exportReport(ReportViewer::ExportFormat::Pdf); });
    connect(&m_viewer, &ReportViewer::changed, this, &frmReportViewer::refresh);
    connect(&m_viewer, &ReportViewer::layoutProgressed, this, &frmReportViewer::refreshBar);
    connect(&m_viewer, &ReportViewer::moreVisibleChanged, m_more, &QWidget::setVisible);
    m_export->installEventFilter(this);
}

bool frmReportViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_export && event->type() == QEvent::FocusOut)
        m_viewer.hideMore();
    return QWidget::eventFilter(watched, event);
}

void frmReportViewer::refreshBar()
{
    m_pageText->setText(m_viewer.pageText());
    m_status->setText(m_viewer.progressText());
    m_status->setVisible(m_viewer.isLayingOut());
    m_first->setEnabled(m_viewer.canGoBack());
    m_previous->setEnabled(m_viewer.canGoBack());
    m_next->setEnabled(m_viewer.canGoForward());
    // The last page is reached while the rest is laid out: the click lays it out.
    m_last->setEnabled(m_viewer.canGoForward() || m_viewer.isLayingOut());
}

void frmReportViewer::refresh()
{
    refreshBar();
    if (m_zoom->currentIndex() != m_viewer.zoomChoice()) {
        const QSignalBlocker blocker(m_zoom);
        m_zoom->setCurrentIndex(m_viewer.zoomChoice());
    }
    m_pages->refresh();
    // Another page is read from its top.
    if (m_shownPage != m_viewer.page()) {
        m_shownPage = m_viewer.page();
        m_pages->verticalScrollBar()->setValue(0);
    }
}

void frmReportViewer::printReport(bool withDialog)
{
    if (!m_viewer.canPrint())
        return;
    Result<void> printed;
    if (withDialog) {
        m_viewer.finishLayout(); // the dialog offers the range of every page
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(m_viewer.report().pageLayout());
        printer.setFromTo(1, m_viewer.pageCount());
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, m_viewer.pageCount());
        dialog.setOption(QAbstractPrintDialog::PrintPageRange);
        if (dialog.exec() != QDialog::Accepted)
            return;
        printed = printOn(m_viewer.report(), printer);
    } else {
        printed = printOnDefaultPrinter(m_viewer.report());
    }
    if (!printed)
        m_notifier.errorBox(printed.error());
}

void frmReportViewer::exportReport(ReportViewer::ExportFormat format)
{
    m_viewer.hideMore();
    if (!m_viewer.canExport())
        return;
    const QString fileName = m_askSaveFile ? m_askSaveFile(QStringLiteral("Export Report"),
                                                           ReportViewer::exportFilter(format))
                                           : QString();
    (void)m_viewer.exportTo(format, fileName);
}

} // namespace kestrel
