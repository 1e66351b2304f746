// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QValidator>

class QLineEdit;

namespace kestrel {

/// Applies the key filter's rules to what is typed (or pasted) into a line edit: letters turn
/// to capitals as they are typed, and refused characters never reach the field.
class KeyFilterValidator : public QValidator
{
    Q_OBJECT

public:
    enum class Rule {
        UpperCase,    ///< letters to capitals, everything else as typed
        DigitsOnly,   ///< digits only
        LettersUpper, ///< letters to capitals, digits refused (name fields)
    };

    explicit KeyFilterValidator(Rule rule, QObject *parent = nullptr);

    Rule rule() const { return m_rule; }
    /// Acceptable, with letters turned to capitals where the rule says so; Invalid when the
    /// text holds a refused character, so the keystroke or paste never reaches the field.
    State validate(QString &input, int &pos) const override;

private:
    Rule m_rule;
};

/// Makes `edit` turn typed letters to capitals.
void installUpperCase(QLineEdit *edit);
/// Makes `edit` take digits only.
void installDigitsOnly(QLineEdit *edit);
/// Makes `edit` turn typed letters to capitals and refuse digits.
void installLettersUpper(QLineEdit *edit);

} // namespace kestrel
