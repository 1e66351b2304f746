// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/spelling/SpellChecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>

#include <hunspell.hxx>

#include <atomic>

Q_LOGGING_CATEGORY(lcSpelling, "kestrel.spelling")

namespace kestrel {

namespace {

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == QChar(0x2019);
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

/// The lines of a word list: one word a line; blank lines and lines starting with "#" skipped.
QStringList wordsOfFile(const QString &path)
{
    QFile file(path);
    QStringList words;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return words;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            words << line;
    }
    return words;
}

} // namespace

struct SpellChecker::Private
{
    std::unique_ptr<Hunspell> hunspell;
    bool utf8 = true;
    QSet<QString> userWords;

    std::string encoded(const QString &word) const
    {
        QString w = word;
        w.replace(QChar(0x2019), u'\'');
        return utf8 ? w.toStdString() : w.toLatin1().toStdString();
    }
    QString decoded(const std::string &word) const
    {
        return utf8 ? QString::fromStdString(word)
                    : QString::fromLatin1(word.data(), qsizetype(word.size()));
    }
};

QString SpellChecker::systemDictionary()
{
    return QStringLiteral("/usr/share/hunspell/en_US");
}

QString SpellChecker::userWordsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/user-words.txt");
}

SpellChecker::SpellChecker(const QString &dictionary)
    : d(std::make_unique<Private>())
{
    const QString aff = dictionary + QStringLiteral(".aff");
    const QString dic = dictionary + QStringLiteral(".dic");
    if (!QFileInfo::exists(aff) || !QFileInfo::exists(dic)) {
        static std::atomic_bool told = false;
        if (!told.exchange(true))
            qCWarning(lcSpelling) << "no spell checking: the dictionary" << aff << "or" << dic
                                  << "cannot be read";
        return;
    }
    d->hunspell = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(),
                                             QFile::encodeName(dic).constData());
    d->utf8 = QString::fromStdString(d->hunspell->get_dict_encoding())
                  .compare(u"UTF-8", Qt::CaseInsensitive) == 0;
    for (const QString &word : wordsOfFile(QStringLiteral(":/spelling/hospital-words.txt")))
        d->hunspell->add(d->encoded(word));
    for (const QString &word : wordsOfFile(userWordsFile())) {
        d->userWords.insert(word);
        d->hunspell->add(d->encoded(word));
    }
}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::isValid() const
{
    return d->hunspell != nullptr;
}

bool SpellChecker::isCorrect(const QString &word) const
{
    if (!d->hunspell || word.isEmpty())
        return true;
    qsizetype letters = 0;
    bool allCaps = true;
    for (const QChar c : word) {
        if (c.isDigit())
            return true;
        if (c.isLetter()) {
            ++letters;
            allCaps = allCaps && c.isUpper();
        }
    }
    if (allCaps && letters <= 5)
        return true;
    return d->hunspell->spell(d->encoded(word));
}

QStringList SpellChecker::suggestions(const QString &word, int max) const
{
    QStringList out;
    if (!d->hunspell || word.isEmpty())
        return out;
    for (const std::string &s : d->hunspell->suggest(d->encoded(word))) {
        if (out.size() >= max)
            break;
        out << d->decoded(s);
    }
    return out;
}

bool SpellChecker::addWord(const QString &word)
{
    const QString w = word.trimmed();
    if (w.isEmpty() || w.contains(u' '))
        return false;
    if (d->userWords.contains(w))
        return true;
    const QString path = userWordsFile();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        qCWarning(lcSpelling) << "cannot keep the word" << w << "in" << path << ":"
                              << file.errorString();
        return false;
    }
    QTextStream(&file) << w << u'\n';
    if (!file.flush())
        return false;
    d->userWords.insert(w);
    if (d->hunspell)
        d->hunspell->add(d->encoded(w));
    return true;
}

QList<SpellChecker::Word> SpellChecker::words(QStringView text)
{
    QList<Word> out;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < n) {
            if (isWordChar(text[i]))
                ++i;
            else if (isApostrophe(text[i]) && i + 1 < n && isWordChar(text[i + 1]))
                i += 2;
            else
                break;
        }
        out << Word{start, i - start};
    }
    return out;
}

SpellChecker::Word SpellChecker::wordAt(QStringView text, qsizetype pos)
{
    for (const Word &w : words(text)) {
        if (pos >= w.start && pos <= w.start + w.length)
            return w;
    }
    return Word{pos, 0};
}

} // namespace kestrel
