// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "support/RecordingNotifier.h"

namespace kestrel::test {

void RecordingNotifier::message(const QString &text, const QString &title, Icon icon)
{
    m_boxes.append(Box{text, title, icon, false, Answer::Yes});
}

bool RecordingNotifier::confirm(const QString &text, const QString &title, Icon icon,
                                Answer byDefault)
{
    m_boxes.append(Box{text, title, icon, true, byDefault});
    return m_answers.isEmpty() ? false : m_answers.dequeue();
}

} // namespace kestrel::test
