// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "reports/ReportService.h"

#include <QObject>
#include <QTimer>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

namespace kestrel {

class Notifier;

/// The report viewer `frmReportViewer` without its widgets: the report it shows, the page
/// and zoom of the moment, the group tree, and the print and export commands.
class ReportViewer : public QObject
{
    Q_OBJECT

public:
    enum class ExportFormat { Excel, RichText, Pdf };
    enum class ZoomMode { Percent, PageWidth, WholePage };

    ReportViewer(std::shared_ptr<const RenderedReport> report, ViewerOptions options,
                 Notifier &notifier, QObject *parent = nullptr);

    const RenderedReport &report() const { return *m_report; }
    std::shared_ptr<const RenderedReport> sharedReport() const { return m_report; }
    QString title() const { return m_options.title; }

    /// The switches set before the viewer shows.
    bool ShowGroupTree() const { return m_options.showGroupTree; }
    bool DirectPrint() const { return m_options.directPrint; }
    bool DisablePrintExport() const { return m_options.disablePrintExport; }
    bool canPrint() const { return !m_options.disablePrintExport; }
    bool canExport() const { return !m_options.disablePrintExport; }

    // Pages, 0-based.
    int page() const { return m_page; }
    /// The pages laid out so far: the report's pages once it is laid out whole.
    int pageCount() const;
    /// "Page 2 of 5"; "Page 2 of …" while the rest of the report is being laid out.
    QString pageText() const;

    // The viewer opens on the first page while the rest of the report is laid out behind it,
    // a slice at a time between the user's clicks.
    bool isLayingOut() const { return !m_report->isLaidOut(); }
    /// The status bar's text: how far the layout has come; empty once it is done.
    QString progressText() const;
    /// Lays out the next slice (about 30 ms); the viewer's timer calls it until done.
    void layoutMore();
    /// Lays out the rest at once: the print dialog and the last page need every page.
    void finishLayout();
    bool canGoBack() const { return m_page > 0; }
    bool canGoForward() const { return m_page + 1 < pageCount(); }
    void showPage(int page);
    void showFirstPage() { showPage(0); }
    void showPreviousPage() { showPage(m_page - 1); }
    void showNextPage() { showPage(m_page + 1); }
    void showLastPage();

    /// The group tree: the report's groups by key, each jumping to its page.
    QStringList groupKeys() const;
    void showGroup(int index);

    // Zoom
    /// The choices of the zoom box, in order: percentages from 200 down to 50, then
    /// "Page width" and "Whole page".
    static QStringList zoomChoices();
    /// The choice the viewer opens with: 100 %.
    static int defaultZoomChoice();
    void setZoomChoice(int index);
    int zoomChoice() const { return m_zoomChoice; }
    ZoomMode zoomMode() const;
    /// Screen pixels per point of paper for a view area of `viewport` pixels: 100 % shows the
    /// paper at its real size on a 96 dpi screen; the fitting modes fill the area.
    double scale(const QSizeF &viewport) const;

    // Export
    /// Whether the small export panel `pctMore` is open.
    bool moreVisible() const { return m_moreVisible; }
    /// `cmdExport`: opens or closes the panel.
    void toggleMore();
    /// Closes the panel (`cmdExport` lost the focus, or an export was chosen).
    void hideMore();
    /// The save dialog's filter for `format`.
    static QString exportFilter(ExportFormat format);
    /// Writes the report to `fileName` (the format's suffix added when the name has none).
    /// An empty name is a cancelled dialog: nothing is written or shown. A failure is told in
    /// the shared error box. True when the file was written.
    bool exportTo(ExportFormat format, const QString &fileName);

Q_SIGNALS:
    /// The page or zoom changed; the view paints again.
    void changed();
    /// More pages were laid out behind the one shown: the page count and the status change,
    /// the page shown does not.
    void layoutProgressed();
    void moreVisibleChanged(bool visible);

private:
    std::shared_ptr<const RenderedReport> m_report;
    QTimer *m_layoutTimer = nullptr;
    ViewerOptions m_options;
    Notifier &m_notifier;
    int m_page = 0;
    int m_zoomChoice = 0;
    bool m_moreVisible = false;
};

} // namespace kestrel
