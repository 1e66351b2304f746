// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kestrel {

/// One modal pick-list of codes: what the code look-up found for the typed text.
struct CodeListing
{
    QString title;       ///< what is being picked ("Doctors")
    QString typedText;   ///< the text the list was filtered by
    QStringList headers; ///< column captions; column 0 is the code
    QList<QStringList> rows;
    QStringList notes; ///< lines shown under the rows (totals, who the rows are about)
};

/// The window that shows a code listing and lets the user pick one row. The running program
/// answers with a list window, tests with a script.
class CodePickList
{
public:
    virtual ~CodePickList() = default;

    /// The index of the row the user picked, or nullopt when he picked none.
    virtual std::optional<int> pick(const CodeListing &listing) = 0;
};

} // namespace kestrel
