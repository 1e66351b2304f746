// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/ui/KeyFilter.h"

#include "core/components/clsKeyFilter.h"

#include <QLineEdit>

namespace kestrel {

namespace {

bool isDigit(QChar c)
{
    return clsKeyFilter::IsNumber(c.unicode()) != 0;
}

void upperCase(QString &text)
{
    for (QChar &c : text)
        c = QChar(char16_t(clsKeyFilter::AllUppers(c.unicode())));
}

} // namespace

KeyFilterValidator::KeyFilterValidator(Rule rule, QObject *parent)
    : QValidator(parent)
    , m_rule(rule)
{
}

QValidator::State KeyFilterValidator::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos) // capitals have the same length, so the cursor stays where it was
    switch (m_rule) {
    case Rule::DigitsOnly:
        return std::all_of(input.cbegin(), input.cend(), isDigit) ? Acceptable : Invalid;
    case Rule::LettersUpper:
        if (std::any_of(input.cbegin(), input.cend(), isDigit))
            return Invalid;
        upperCase(input);
        return Acceptable;
    case Rule::UpperCase:
        upperCase(input);
        return Acceptable;
    }
    return Invalid;
}

void installUpperCase(QLineEdit *edit)
{
    edit->setValidator(new KeyFilterValidator(KeyFilterValidator::Rule::UpperCase, edit));
}

void installDigitsOnly(QLineEdit *edit)
{
    edit->setValidator(new KeyFilterValidator(KeyFilterValidator::Rule::DigitsOnly, edit));
}

void installLettersUpper(QLineEdit *edit)
{
    edit->setValidator(new KeyFilterValidator(KeyFilterValidator::Rule::LettersUpper, edit));
}

} // namespace kestrel
