// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel::test {

/// The text of every page of a PDF as poppler's pdftotext lays it out, pages split by form
/// feeds; empty when pdftotext is not installed.
QString pdfText(const QString &path);

} // namespace kestrel::test
