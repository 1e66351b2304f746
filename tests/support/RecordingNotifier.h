// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/Notifier.h"

#include <QList>
#include <QQueue>

namespace kestrel::test {

/// A Notifier for tests: remembers every box and answers questions from a script.
class RecordingNotifier : public Notifier
{
public:
    struct Box
    {
        QString text;
        QString title;
        Icon icon;
        bool question;
        /// The button Enter presses, for questions.
        Answer byDefault = Answer::Yes;
    };

    void message(const QString &text, const QString &title, Icon icon) override;
    bool confirm(const QString &text, const QString &title, Icon icon, Answer byDefault) override;

    /// The answers the next confirm() calls give, in order; No when the script runs out.
    void answer(const QList<bool> &answers) { m_answers.append(answers); }

    const QList<Box> &boxes() const { return m_boxes; }
    /// The text of the last box, or "" when none was shown.
    QString lastText() const { return m_boxes.isEmpty() ? QString() : m_boxes.last().text; }
    void clear() { m_boxes.clear(); }

private:
    QList<Box> m_boxes;
    QQueue<bool> m_answers;
};

} // namespace kestrel::test
