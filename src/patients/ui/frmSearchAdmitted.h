// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "patients/ui/PatientListWindow.h"

namespace kestrel {

/// The patient for a new OR schedule: the patient list with two kinds of stay,
/// `optPatientType(0)` "In Patient" and `optPatientType(1)` "Out Patient", and no date search.
/// A click selects the patient; a double-click hands the row's patient to the schedule board
/// and closes this window.
class frmSearchAdmitted : public PatientListWindow
{
    Q_OBJECT

public:
    frmSearchAdmitted(Session &session, clsPatientFinder *finder, MainWindowCommands *menu,
                      QWidget *parent = nullptr);
};

} // namespace kestrel
