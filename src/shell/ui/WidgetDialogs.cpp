// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/WidgetDialogs.h"

#include "reports/ReportPeriod.h"
#include "reports/ui/frmReport.h"
#include "reports/ui/frmReportDate.h"
#include "reports/ui/frmReportMonth.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "users/ui/frmTransaction_UserValidation.h"

#include <QApplication>

namespace kestrel {

void WidgetDialogs::attach(Session &session, const QString &scrambleKey)
{
    m_session = &session;
    m_scrambleKey = RevalidationKey(scrambleKey);
}

ValidatedUser WidgetDialogs::validateUser(bool askReason)
{
    if (!m_session)
        return {};
    const QString key = m_scrambleKey.key(*m_session);
    if (key.isEmpty()) {
        // Without a key no password can be checked: nobody is validated.
        m_session->validated = ValidatedUser();
        return {};
    }
    UserValidation presenter(*m_session, key);
    frmTransaction_UserValidation window(presenter, askReason ? 1 : 0,
                                         QApplication::activeWindow());
    window.exec();
    return m_session->validated;
}

std::optional<ReportPeriod> WidgetDialogs::askPeriod(const QString &caption, bool allowFutureDate,
                                                     const QDate &serverDate)
{
    ReportPeriodPrompt prompt(m_notifier, caption, serverDate);
    prompt.setAllowFutureDate(allowFutureDate);
    frmReport window(prompt, QApplication::activeWindow());
    window.exec();
    return prompt.answer();
}

std::optional<ReportPeriod> WidgetDialogs::askDate(int setMode, const QDate &serverDate)
{
    ReportDatePrompt prompt(serverDate);
    prompt.SetMode(setMode);
    frmReportDate window(prompt, QApplication::activeWindow());
    window.exec();
    return prompt.answer();
}

std::optional<ReportPeriod> WidgetDialogs::askMonth(const QDate &serverDate)
{
    ReportMonthPrompt prompt(m_notifier, serverDate);
    frmReportMonth window(prompt, QApplication::activeWindow());
    window.exec();
    return prompt.answer();
}

} // namespace kestrel
