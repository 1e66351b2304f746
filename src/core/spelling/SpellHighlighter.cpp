// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/spelling/SpellHighlighter.h"

#include "core/spelling/SpellChecker.h"

namespace kestrel {

SpellHighlighter::SpellHighlighter(const SpellChecker &checker, QTextDocument *document)
    : QSyntaxHighlighter(document)
    , m_checker(checker)
{
}

void SpellHighlighter::highlightBlock(const QString &text)
{
    QTextCharFormat misspelt;
    misspelt.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    misspelt.setUnderlineColor(Qt::red);
    for (const SpellChecker::Word &w : SpellChecker::words(text)) {
        if (!m_checker.isCorrect(text.mid(w.start, w.length)))
            setFormat(int(w.start), int(w.length), misspelt);
    }
}

} // namespace kestrel
