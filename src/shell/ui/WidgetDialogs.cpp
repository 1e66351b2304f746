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
    m_scrambleKey = scrambleKey;
}

ValidatedUser WidgetDialogs::validateUser(bool askReason)
{
    if (!m_session)
        return {};
    if (m_scrambleKey.isEmpty()) {
        // Without the installation's key no password can be checked: nobody is validated.
        m_session->validated = ValidatedUser();
        m_notifier.errorBox(QStringLiteral("The password key of this installation is missing "
                                           "(kestrel-installation.ini beside the program)."));
        return {};
    }
    UserValidation presenter(*m_session, m_scrambleKey);
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
