// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ReportService.h"

#include "reports/ReportLog.h"
#include "core/db/Database.h"
#include "core/Notifier.h"

#include <QDir>
#include <QFileInfo>

namespace kestrel {

struct ReportService::Private
{
    Database &db;
    QString folder;
    ReportHeadings headings;
    ReportDisplay &display;
    Notifier &notifier;

    /// The report opened last: its definition and what its templates see, kept so that a
    /// subreport given its values later renders the report again.
    std::optional<ReportDefinition> definition;
    QVariantMap context;
    std::shared_ptr<const RenderedReport> current;

    /// The definition file for `file`: a full path as given, else a name in `folder`;
    /// either way found without regard to case.
    QString locate(const QString &file, const QString &inFolder) const
    {
        const QFileInfo info(file);
        if (info.isAbsolute()) {
            if (info.isFile())
                return info.filePath();
            return findReportFile(info.path(), info.fileName());
        }
        return findReportFile(inFolder, file);
    }

    Result<ReportDefinition> loadDefinition(const QString &file, const QString &inFolder) const
    {
        const QString path = locate(file, inFolder);
        if (path.isEmpty()) {
            const QString where = QFileInfo(file).isAbsolute() ? QFileInfo(file).path() : inFolder;
            return failure(QStringLiteral("The report file \"%1\" was not found in \"%2\".")
                               .arg(QFileInfo(file).fileName(), QDir::toNativeSeparators(where)));
        }
        return ReportDefinition::load(path);
    }

    /// The subreport's body HTML with `values`.
    Result<QString> subreportHtml(const ReportDefinition &main, const QString &name,
                                  const QVariantList &values)
    {
        const QString key = name.toLower();
        if (!main.subreports.contains(key))
            return failure(QStringLiteral("The report \"%1\" has no subreport \"%2\".")
                               .arg(QFileInfo(main.path).fileName(), name));
        auto sub = loadDefinition(main.subreports.value(key), QFileInfo(main.path).path());
        if (!sub)
            return tl::unexpected(sub.error());
        ReportRenderer renderer(db, headings);
        auto ctx = renderer.context(*sub, values);
        if (!ctx)
            return tl::unexpected(ctx.error());
        return ReportRenderer::fill(sub->templateText, *ctx,
                                    QFileInfo(sub->path).fileName() +
                                        QStringLiteral(" [template]"));
    }

    /// Asks the prompt for the parameters `values` leaves without a value and puts the
    /// answers in their places; false when the user cancels.
    bool askMissing(const ReportDefinition &definition, QVariantList &values)
    {
        ParameterPrompt *prompt = display.prompt();
        if (!prompt)
            return true;
        QList<ReportParameter> missing;
        QList<qsizetype> places;
        for (qsizetype i = 0; i < definition.parameters.size(); ++i) {
            if (i >= values.size() || values.at(i).isNull()) {
                missing << definition.parameters.at(i);
                places << i;
            }
        }
        if (missing.isEmpty())
            return true;
        const std::optional<QVariantList> answers =
            prompt->askParameters(definition.title, missing);
        if (!answers) {
            qCInfo(lcReports) << "report parameters not given:" << definition.path;
            return false;
        }
        while (values.size() < definition.parameters.size())
            values << QVariant();
        for (qsizetype i = 0; i < places.size() && i < answers->size(); ++i)
            values[places.at(i)] = answers->at(i);
        return true;
    }

    bool fail(const Error &error)
    {
        qCWarning(lcReports) << "report failed:" << error.message;
        definition.reset();
        context.clear();
        current.reset();
        notifier.errorBox(error);
        return false;
    }
};

ReportService::ReportService(Database &db, QString reportsFolder, ReportHeadings headings,
                             ReportDisplay &display, Notifier &notifier)
    : d(std::make_unique<Private>(Private{db,
                                          std::move(reportsFolder),
                                          std::move(headings),
                                          display,
                                          notifier,
                                          std::nullopt,
                                          {},
                                          nullptr}))
{
}

ReportService::~ReportService() = default;

bool ReportService::OpenReport(const QString &file, const QVariantList &values)
{
    d->definition.reset();
    d->context.clear();
    d->current.reset();
    auto definition = d->loadDefinition(file, d->folder);
    if (!definition)
        return d->fail(definition.error());
    QVariantList given = values;
    if (!d->askMissing(*definition, given))
        return false;
    ReportRenderer renderer(d->db, d->headings);
    auto ctx = renderer.context(*definition, given);
    if (!ctx)
        return d->fail(ctx.error());
    // Subreports show with no values until OpenSubreport gives them theirs.
    for (auto it = definition->subreports.cbegin(); it != definition->subreports.cend(); ++it) {
        auto html = d->subreportHtml(*definition, it.key(), {});
        if (!html)
            return d->fail(html.error());
        ctx->insert(QStringLiteral("subreport_") + it.key(), *html);
    }
    auto rendered = renderer.render(*definition, *ctx);
    if (!rendered)
        return d->fail(rendered.error());
    d->definition = std::move(*definition);
    d->context = std::move(*ctx);
    d->current = std::move(*rendered);
    return true;
}

bool ReportService::OpenSubreport(const QString &name, const QVariantList &values)
{
    if (!d->definition)
        return d->fail(Error::make(
            QStringLiteral("The subreport \"%1\" cannot be opened: no report is open.").arg(name)));
    auto html = d->subreportHtml(*d->definition, name, values);
    if (!html)
        return d->fail(html.error());
    QVariantMap ctx = d->context;
    ctx.insert(QStringLiteral("subreport_") + name.toLower(), *html);
    auto rendered = ReportRenderer(d->db, d->headings).render(*d->definition, ctx);
    if (!rendered)
        return d->fail(rendered.error());
    d->context = std::move(ctx);
    d->current = std::move(*rendered);
    return true;
}

ReportService::Shown ReportService::ShowReport(bool showGroupTree, const QString &title,
                                               bool printNow, bool medicationSheet,
                                               bool disablePrintExport)
{
    if (!d->current)
        return Shown::Nothing;
    if (printNow) {
        if (auto ok = d->display.printNow(d->current); !ok) {
            d->notifier.errorBox(ok.error());
            return Shown::Nothing;
        }
        return Shown::Printed;
    }
    if (medicationSheet) {
        d->display.showMedicationSheet(d->current, title);
        return Shown::MedicationSheet;
    }
    ViewerOptions options;
    options.showGroupTree = showGroupTree;
    options.title = title;
    options.disablePrintExport = disablePrintExport;
    d->display.showViewer(d->current, options);
    return Shown::Viewer;
}

std::shared_ptr<const RenderedReport> ReportService::current() const
{
    return d->current;
}

QString ReportService::reportsFolder() const
{
    return d->folder;
}

void ReportService::setHeadings(ReportHeadings headings)
{
    d->headings = std::move(headings);
}

} // namespace kestrel
