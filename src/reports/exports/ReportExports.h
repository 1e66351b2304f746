// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QPageLayout>
#include <QString>

namespace kestrel {

class ReportLayout;

/// Writes every table of the laid-out `body` (tables holding no other table) as rows of one
/// sheet, with `title` in A1; cells that read as numbers are written as numbers.
Result<void> writeXlsx(const ReportLayout &body, const QString &title, const QString &path);

/// Writes `body` as rich text: its tables row by row as laid out, its free text as
/// paragraphs with their bold, italic, size and alignment; `headerHtml` becomes the page
/// header.
Result<void> writeRtf(const ReportLayout &body, const QString &title, const QPageLayout &layout,
                      const QString &headerHtml, const QString &path);

/// The rich-text form of plain text: `\`, `{`, `}` escaped, non-ASCII as `\uN?`.
QString rtfEscaped(const QString &text);

/// A cell text as a number when it reads as one ("1,234.50", "-12", "0.5"); texts that only
/// look numeric, like hospital numbers with leading zeros, stay text.
std::optional<double> spreadsheetNumber(const QString &text);

} // namespace kestrel
