// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "reports/ReportViewer.h"

#include <QScrollArea>
#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QPrinter;
class QSplitter;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kestrel {

class Notifier;

/// Prints every page of `report` on the workstation's default printer, without a dialog;
/// fails with the reason when there is no printer or the printing fails.
Result<void> printOnDefaultPrinter(const RenderedReport &report);

/// The page view `CRViewer1`: the current page of the report on a grey desk, scaled as the
/// viewer's zoom says, scrolling when it is larger than the view.
class ReportPageView : public QScrollArea
{
    Q_OBJECT

public:
    explicit ReportPageView(ReportViewer &viewer, QWidget *parent = nullptr);

    /// The size the page is drawn at now, in pixels.
    QSize pageSize() const;
    /// Draws the page again after a change of page or zoom.
    void refresh();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    class Canvas;
    ReportViewer &m_viewer;
    Canvas *m_canvas = nullptr;
};

/// The report viewer `frmReportViewer`: the report's pages with navigation ("Page N of M")
/// and zoom, the group tree, printing and the export panel `pctMore` of `cmdExport`
/// (`imgExcel`, `imgRTF`, `imgPDF`). It opens in the main window's work area; several may be
/// open at once, each showing the report it was given.
class frmReportViewer : public QWidget
{
    Q_OBJECT

public:
    /// Asks where to save an export: the dialog's caption and filter; "" when cancelled.
    using SaveFileAsker = std::function<QString(const QString &caption, const QString &filter)>;

    frmReportViewer(std::shared_ptr<const RenderedReport> report, const ViewerOptions &options,
                    Notifier &notifier, QWidget *parent = nullptr);
    ~frmReportViewer() override;

    ReportViewer &presenter() { return m_viewer; }

    /// Replaces the save-file dialog (tests answer it from a script).
    void setSaveFileAsker(SaveFileAsker asker);

    /// Prints the report: through the print dialog, or at once on the default printer.
    void printReport(bool withDialog);
    /// Asks for a file and exports the report to it.
    void exportReport(ReportViewer::ExportFormat format);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void bind();
    void refresh();
    /// The page text, the buttons and the status bar.
    void refreshBar();
    QToolButton *addButton(const QString &name, const QString &text, const QString &toolTip,
                           QWidget *parent);

    Notifier &m_notifier;
    ReportViewer m_viewer;
    SaveFileAsker m_askSaveFile;

    QToolButton *m_first = nullptr;
    QToolButton *m_previous = nullptr;
    QLabel *m_pageText = nullptr;
    QLabel *m_status = nullptr; ///< how far the layout has come while it goes on
    QToolButton *m_next = nullptr;
    QToolButton *m_last = nullptr;
    QComboBox *m_zoom = nullptr;
    QToolButton *m_print = nullptr;
    QToolButton *m_export = nullptr;
    QFrame *m_more = nullptr;
    QToolButton *m_excel = nullptr;
    QToolButton *m_rtf = nullptr;
    QToolButton *m_pdf = nullptr;
    QSplitter *m_splitter = nullptr;
    QTreeWidget *m_groupTree = nullptr;
    ReportPageView *m_pages = nullptr;
    int m_shownPage = 0;
};

} // namespace kestrel
