// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kestrel::admin {

/// A master file as the hospital's office keeps it, a spreadsheet or a text export of one:
/// the names in its first row and the rows below, every cell as text.
struct TableFile
{
    QStringList header;
    QList<QStringList> rows;
    /// The line of the file (text) or the row of the sheet (xlsx) each row came from, for
    /// messages the office can find the row by.
    QList<int> lines;
    /// How the file was read: "UTF-8", "UTF-8 with byte-order mark", "UTF-16", "Latin-1"
    /// or "xlsx".
    QString encoding;
    /// The separator of a text file: ',', ';' or a tab.
    QChar delimiter = u',';
};

/// Reads a master file: `.xlsx` as a spreadsheet (its first sheet), anything else as
/// delimited text.
Result<TableFile> readTableFile(const QString &path);

/// Delimited text as spreadsheets export it. The encoding is UTF-8 when the bytes are valid
/// UTF-8 (a byte-order mark is dropped), UTF-16 with its mark, and Latin-1 otherwise (what
/// office programs on Windows write); the separator is the one of ',', ';' and tab that the
/// first line holds most of. Quoted cells may hold separators, doubled quotes and line breaks.
/// Rows with nothing in them are left out.
Result<TableFile> parseDelimitedText(const QByteArray &bytes);

/// The first sheet of an xlsx workbook (an Office Open XML spreadsheet).
Result<TableFile> parseWorkbook(const QByteArray &bytes);

} // namespace kestrel::admin
