// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/ui/SpellCheckedText.h"

#include "core/spelling/SpellChecker.h"
#include "core/spelling/SpellHighlighter.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace kestrel {

namespace {

// One checker for every sheet open at once: the dictionary is read once, and a word added on
// one sheet is accepted on the others at once. It goes when the last sheet closes.
std::shared_ptr<SpellChecker> sharedChecker()
{
    static std::weak_ptr<SpellChecker> shared;
    if (auto checker = shared.lock())
        return checker;
    auto checker = std::make_shared<SpellChecker>();
    if (checker->isValid())
        shared = checker;
    return checker;
}

} // namespace

SpellCheckedText::SpellCheckedText(std::shared_ptr<SpellChecker> checker, QObject *owner)
    : QObject(owner)
    , m_checker(std::move(checker))
{
}

SpellCheckedText::~SpellCheckedText()
{
    // The highlighters read the checker: they go first (those whose field is still there).
    for (const QPointer<SpellHighlighter> &h : std::as_const(m_highlighters))
        delete h.data();
}

SpellCheckedText *SpellCheckedText::attach(const QList<QPlainTextEdit *> &edits, QObject *owner)
{
    std::shared_ptr<SpellChecker> checker = sharedChecker();
    if (!checker->isValid())
        return nullptr;
    auto *spelling = new SpellCheckedText(std::move(checker), owner);
    for (QPlainTextEdit *edit : edits) {
        spelling->m_highlighters << new SpellHighlighter(*spelling->m_checker, edit->document());
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, spelling,
                [spelling, edit](const QPoint &pos) {
                    QMenu *menu = spelling->menuFor(edit, pos);
                    menu->setAttribute(Qt::WA_DeleteOnClose);
                    menu->popup(edit->viewport()->mapToGlobal(pos));
                });
    }
    return spelling;
}

QMenu *SpellCheckedText::menuFor(QPlainTextEdit *edit, const QPoint &pos)
{
    QMenu *menu = edit->createStandardContextMenu(pos);
    const QTextCursor at = edit->cursorForPosition(pos);
    const QTextBlock block = at.block();
    const QString text = block.text();
    const SpellChecker::Word w = SpellChecker::wordAt(text, at.positionInBlock());
    const QString word = text.mid(w.start, w.length);
    if (word.isEmpty() || m_checker->isCorrect(word))
        return menu;

    QAction *first = menu->actions().value(0);
    const int start = block.position() + int(w.start);
    const int end = start + int(w.length);
    for (const QString &suggestion : m_checker->suggestions(word, 5)) {
        auto *replace = new QAction(suggestion, menu);
        connect(replace, &QAction::triggered, edit, [edit, start, end, suggestion] {
            QTextCursor c(edit->document());
            c.setPosition(start);
            c.setPosition(end, QTextCursor::KeepAnchor);
            c.insertText(suggestion);
        });
        menu->insertAction(first, replace);
    }
    auto *add = new QAction(QStringLiteral("Add to Dictionary"), menu);
    connect(add, &QAction::triggered, this, [this, word] {
        if (!m_checker->addWord(word))
            return;
        for (const QPointer<SpellHighlighter> &h : std::as_const(m_highlighters)) {
            if (h)
                h->rehighlight();
        }
    });
    menu->insertAction(first, add);
    menu->insertSeparator(first);
    return menu;
}

} // namespace kestrel
