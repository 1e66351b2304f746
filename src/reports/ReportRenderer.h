// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "reports/RenderedReport.h"
#include "reports/ReportDefinition.h"
#include "core/db/Error.h"

#include <QDateTime>
#include <QVariantList>
#include <QVariantMap>

#include <memory>

namespace kestrel {

class Database;

/// The hospital's two heading texts that every report prints.
struct ReportHeadings
{
    QString Company;
    QString Address1;
};

/// The parameter values of one opening of a report: what the queries bind and what the
/// templates show.
struct ReportArguments
{
    QVariantMap binds; ///< `name` (and `name_end` for dates) → bound value
    QVariantMap shown; ///< `name` → text for the templates
};

/// Turns a definition and its values into a laid-out report: binds the parameters, runs the
/// queries, fills the templates and lays the HTML out on the page.
class ReportRenderer
{
public:
    ReportRenderer(Database &db, ReportHeadings headings);

    /// The values given to the parameters in order; fields without a value get their empty
    /// value and values beyond the last field are not used.
    static ReportArguments bindParameters(const QList<ReportParameter> &parameters,
                                          const QVariantList &values);
    /// A date parameter's value ("mm/dd/yyyy", "mm/yyyy", "yyyy", a QDate or QDateTime) as
    /// the first and the day after the last day of the period it stands for; invalid dates
    /// for a value that is none of these.
    static std::pair<QDate, QDate> datePeriod(const QVariant &value);

    /// Everything the templates of `definition` see with `values`: parameters, headings,
    /// PrintedOn and the rows, counts, sums and groups of every query.
    Result<QVariantMap> context(const ReportDefinition &definition, const QVariantList &values);
    /// What the last context() found wrong in the definition without stopping the report:
    /// fields its templates name that no query or parameter gives (they print blank), each
    /// message naming the definition file and the field.
    const QStringList &warnings() const { return m_warnings; }
    /// Fills `templateText` (Mustache) from `context`; `what` names the template in the
    /// message of a template that does not parse.
    static Result<QString> fill(const QString &templateText, const QVariantMap &context,
                                const QString &what);
    /// Fills the body template and lays the report out with its header and footer.
    Result<std::shared_ptr<const RenderedReport>> render(const ReportDefinition &definition,
                                                         const QVariantMap &context) const;

    /// The page layout of a definition: paper, orientation and margins.
    static QPageLayout pageLayout(const ReportDefinition &definition);
    /// The style sheet every report starts from, then the definition's own `style`.
    static QString defaultStyleSheet();

private:
    Database &m_db;
    ReportHeadings m_headings;
    QStringList m_warnings;
};

} // namespace kestrel
