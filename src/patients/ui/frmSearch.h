// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "patients/ui/PatientListWindow.h"

#include <array>

class QDateEdit;

namespace kestrel {

/// The patient list, "Patient List": the window the user opens first to find the patient to
/// work on. Beside the shared list it has `cmdAdmDate` "With Adm. Date" with the date frame
/// `frmDateEntry` (`dtpStartDate`, `dtpEndDate`, `cmdOKClose(0)` "Search", `cmdOKClose(1)`
/// "Cancel"), and the link labels `lblProcedures(0)` to `lblProcedures(2)` that open the
/// patient profile on one of its tabs. The right mouse button on the grid shows `popup`, the
/// main window's menu with the CVOR command, where the hospital tags CVOR patients.
class frmSearch : public PatientListWindow
{
    Q_OBJECT

public:
    frmSearch(Session &session, clsPatientFinder *finder, MainWindowCommands *menu, QMenu *popup,
              QWidget *parent = nullptr);

protected:
    void refresh() override;

private:
    void buildUi();
    void bindDates();
    void hideDateEntry();

    QPushButton *m_admDate = nullptr;
    QGroupBox *m_dateEntry = nullptr;
    QDateEdit *m_startDate = nullptr;
    QDateEdit *m_endDate = nullptr;
    std::array<QLabel *, 3> m_links{};
};

} // namespace kestrel
