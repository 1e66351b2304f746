// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>

#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcSpelling)

namespace kestrel {

/// Checks the words nurses type in free-text fields against the system's English dictionary,
/// the hospital's own words (doses, frequencies, drugs and ward terms, always accepted) and the
/// words the user added, kept one a line in the user's config folder.
///
/// A checker whose dictionary cannot be read is not valid: it accepts every word and suggests
/// nothing, and the first one made in the process says so in the log.
class SpellChecker
{
public:
    /// A word of a text: where it starts and how long it is, in UTF-16 units.
    struct Word
    {
        qsizetype start = 0;
        qsizetype length = 0;
        bool operator==(const Word &) const = default;
    };

    /// The dictionary the system installs: `<path>.aff` and `<path>.dic`.
    static QString systemDictionary();
    /// The file of the words the user added.
    static QString userWordsFile();

    explicit SpellChecker(const QString &dictionary = systemDictionary());
    ~SpellChecker();
    SpellChecker(const SpellChecker &) = delete;
    SpellChecker &operator=(const SpellChecker &) = delete;

    bool isValid() const;
    /// True for a word spelt right, a number, a word with digits ("500mg", "2x") and an
    /// abbreviation of up to five capitals ("NPO", "CBC").
    bool isCorrect(const QString &word) const;
    /// At most `max` corrections, the likeliest first.
    QStringList suggestions(const QString &word, int max = 5) const;
    /// Accepts `word` from now on, in this checker and every one made later. False when the
    /// word is empty or the user's list cannot be written.
    bool addWord(const QString &word);

    /// The words of `text` in order: letters and digits, with inner apostrophes ("don't");
    /// hyphens, blanks and punctuation separate them.
    static QList<Word> words(QStringView text);
    /// The word of `text` that holds position `pos` (also right after its last letter), or a
    /// Word of length 0.
    static Word wordAt(QStringView text, qsizetype pos);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace kestrel
