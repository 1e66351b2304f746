// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "support/RecordingNotifier.h"

namespace kestrel::test {

void RecordingNotifier::message(const QString &text, const QString &title, Icon icon)
{
    m_boxes.append(Box{text, title, icon, false});
}

bool RecordingNotifier::confirm(const QString &text, const QString &title, Icon icon)
{
    m_boxes.append(Box{text, title, icon, true});
    return m_answers.isEmpty() ? false : m_answers.dequeue();
}

void RecordingNotifier::answer(QList<bool> answers)
{
    for (bool a : answers)
        m_answers.enqueue(a);
}

} // namespace kestrel::test
