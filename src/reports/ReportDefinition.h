// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QString>
#include <QStringList>

namespace kestrel {

/// One parameter field of a report, in the order the program passes its values.
struct ReportParameter
{
    QString name;
    enum class Type { Text, Date, Number, Flag } type = Type::Text;
};

/// One `[query NAME]` section: a statement over the hospital database and how its rows are
/// grouped, summed and formatted for the template. Column names are kept in lower case.
struct ReportQuery
{
    QString name;
    QString sql;
    QString group;
    QStringList sums;
    QHash<QString, QString> numberFormats, dateFormats;
};

/// A report definition file of the `Reports` folder, as docs/reports.md describes it.
struct ReportDefinition
{
    QString path, title, orientation /*portrait|landscape*/, paper /*Letter|Legal|A4*/;
    QMarginsF marginsMm; ///< millimetres (the file lists them top, right, bottom, left)
    QString groupTree, style;
    QList<ReportParameter> parameters;
    QList<ReportQuery> queries;
    QString templateText, headerText, footerText;
    QHash<QString, QString> subreports; ///< `[subreport NAME]` name (lower case) → its file

    /// Reads and parses the file at `path`; a file that cannot be read fails with its name.
    static Result<ReportDefinition> load(const QString &path);
    /// Parses definition text; `path` names the file in messages and gives the default title.
    static Result<ReportDefinition> parse(const QString &text, const QString &path = {});

    /// The query called `name` (without regard to case), or nullptr.
    const ReportQuery *query(const QString &name) const;
};

/// The definition file `name` in `folder`, found without regard to case ("" when none).
QString findReportFile(const QString &folder, const QString &name);

} // namespace kestrel
