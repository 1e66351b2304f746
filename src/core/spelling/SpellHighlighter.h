// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QSyntaxHighlighter>

namespace kestrel {

class SpellChecker;

/// Underlines the misspelt words of a text document with the red wave of a spell check.
class SpellHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    SpellHighlighter(const SpellChecker &checker, QTextDocument *document);

protected:
    void highlightBlock(const QString &text) override;

private:
    const SpellChecker &m_checker;
};

} // namespace kestrel
