// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QDate>
#include <QList>
#include <QString>

namespace kestrel::hospitaldb {

/// One employee of the demo hospital and the password he logs in with.
struct DemoLogin
{
    QString employeeCode;
    QString password;
    QString name;
    QString role;
};

/// The demo users and their passwords, for the README and the tour.
QList<DemoLogin> demoLogins();

/// Fills an empty, freshly created hospital database with the demo hospital: settings, doctors,
/// rooms, revenue codes and priced items, companies, employees with rights, about three hundred
/// patients with their stays, schedules and posted charges.
///
/// The same `seed` and `today` give the same rows on every machine; stay dates fall in the two
/// years before `today`, and the patients still in the hospital were admitted in its last days.
Result<void> createDemoHospital(Database &db, const QDate &today, quint64 seed = 20261205);

/// The demo installation's key for scrambling re-validation passwords: the demo hospital's
/// database holds it, and so does the installation file the build writes beside the program.
QString demoScrambleKey();

} // namespace kestrel::hospitaldb
