// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/spelling/SpellHighlighter.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class QMenu;
class QPlainTextEdit;
class QPoint;

namespace kestrel {

class SpellChecker;

/// Spell checking for a window's free-text fields: misspelt words are underlined as they are
/// typed, and the field's context menu on a misspelt word starts with up to five corrections
/// (a click puts one in the word's place) and "Add to Dictionary", then the usual entries.
/// The fields, and those of every other window checked at the same time, share one checker;
/// a word added in one is accepted in all of them.
class SpellCheckedText : public QObject
{
    Q_OBJECT

public:
    /// Checks `edits` (owned by a window that outlives this object's parent `owner`). Returns
    /// nullptr and leaves the fields as they are when the dictionary cannot be read.
    static SpellCheckedText *attach(const QList<QPlainTextEdit *> &edits, QObject *owner);
    ~SpellCheckedText() override;

    const SpellChecker &checker() const { return *m_checker; }
    /// The context menu of `edit` for a click at `pos` (in the field's viewport); the caller
    /// owns it.
    QMenu *menuFor(QPlainTextEdit *edit, const QPoint &pos);

private:
    SpellCheckedText(std::shared_ptr<SpellChecker> checker, QObject *owner);

    std::shared_ptr<SpellChecker> m_checker;
    QList<QPointer<SpellHighlighter>> m_highlighters;
};

} // namespace kestrel
