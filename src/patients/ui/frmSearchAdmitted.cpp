// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/ui/frmSearchAdmitted.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kestrel {

frmSearchAdmitted::frmSearchAdmitted(Session &session, clsPatientFinder *finder, MainWindowCommands *menu,
                                     QWidget *parent)
    : PatientListWindow(session, finder, menu, PatientList::Window::NewSchedule, parent)
{
    setObjectName(QStringLiteral("frmSearchAdmitted"));
    setWindowTitle(QStringLiteral("Patient List"));
    auto *layout = new QVBoxLayout(this);
    buildList(layout);
    auto *hint = new QLabel(
        QStringLiteral("Double-click on name of patient to schedule operation now."), this);
    QFont bold = hint->font();
    bold.setBold(true);
    hint->setFont(bold);
    layout->addWidget(hint);
    presenter().load();
}

} // namespace kestrel
