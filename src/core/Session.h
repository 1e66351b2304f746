// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/CurrentPatient.h"
#include "core/Dialogs.h"
#include "core/settings/clsSettings.h"
#include "core/settings/HospitalSettings.h"

#include <QDate>
#include <QString>

namespace kestrel {

class Database;
class Notifier;

/// The logged-in user as every window reads it: always from the user object itself, never
/// from a copy, and the owner of the connection to the hospital database.
class CurrentUser
{
public:
    virtual ~CurrentUser() = default;
    virtual QString EmployeeCode() const = 0;
    virtual QString EmployeeName() const = 0;
    virtual QString Initial() const = 0;
    virtual QString servername() const = 0;
    virtual Database *sqlconnection() const = 0;
};

/// The process-wide values of one run of the program: who is logged in (and through them the
/// database), the settings, the selected patient, the station, the server date and the last
/// re-validation. The application owns the one Session and hands it to every presenter.
class Session
{
public:
    Session(Notifier &notifier, Dialogs &dialogs)
        : m_notifier(notifier)
        , m_dialogs(dialogs)
    {
    }

    Notifier &notifier() const { return m_notifier; }
    Dialogs &dialogs() const { return m_dialogs; }

    void setCurrentUser(CurrentUser *user) { m_user = user; }
    CurrentUser *currentUser() const { return m_user; }
    /// The hospital database of the logged-in user. Only valid after the login.
    Database &db() const
    {
        Q_ASSERT(m_user && m_user->sqlconnection());
        return *m_user->sqlconnection();
    }
    QString employeeCode() const { return m_user ? m_user->EmployeeCode() : QString(); }

    HospitalSettings hospital; ///< the hospital settings
    clsSettings settings;      ///< the station switches
    CurrentPatientRecord CurrentPatient;
    /// "PAY PATIENT" or "SERVICE PATIENT" for the selected stay, where the hospital tells them
    /// apart; empty otherwise.
    QString PayServiceLabel;
    QString StationID = QStringLiteral("OR");
    QString StationName = QStringLiteral("Operating Room");
    QDate ServerDate;
    bool LoggedIn = false;
    QString ApplicationPath;
    /// The employee of the last re-validation, recorded instead of the logged-in user.
    ValidatedUser validated;
    /// The period of the last report prompt: cleared when a prompt opens, filled on confirm.
    ReportPeriod reportPeriod;

private:
    Notifier &m_notifier;
    Dialogs &m_dialogs;
    CurrentUser *m_user = nullptr;
};

} // namespace kestrel
