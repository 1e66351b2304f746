// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/Dialogs.h"
#include "users/RevalidationKey.h"

namespace kestrel {

class Notifier;
class Session;

/// The modal questions of the running program, as real windows.
class WidgetDialogs : public Dialogs
{
public:
    explicit WidgetDialogs(Notifier &notifier)
        : m_notifier(notifier)
    {
    }

    /// Gives the re-validation window the session it signs into and the installation's key
    /// passwords are scrambled with where the hospital database has none.
    void attach(Session &session, const QString &scrambleKey);

    /// The re-validation window `frmTransaction_UserValidation`, modal; a cancellation
    /// (`askReason`) also asks why.
    ValidatedUser validateUser(bool askReason) override;

    /// The report prompts `frmReport`, `frmReportDate` and `frmReportMonth`.
    std::optional<ReportPeriod> askPeriod(const QString &caption, bool allowFutureDate,
                                          const QDate &serverDate) override;
    std::optional<ReportPeriod> askDate(int setMode, const QDate &serverDate) override;
    std::optional<ReportPeriod> askMonth(const QDate &serverDate) override;

private:
    Notifier &m_notifier;
    Session *m_session = nullptr;
    RevalidationKey m_scrambleKey;
};

} // namespace kestrel
