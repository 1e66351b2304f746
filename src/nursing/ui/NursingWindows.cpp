// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/NursingWindows.h"

#include "core/Session.h"
#include "nursing/ui/frmLRForm.h"
#include "nursing/ui/frmNursePreopChecklist.h"
#include "nursing/ui/frmPreAnesthetic.h"
#include "nursing/ui/frmSSC.h"

namespace kestrel {

namespace {

// One window per stay: the open one when it serves the stay asked for, a new one otherwise.
template <typename Window, typename Make> NursingWindowFactory factory(Session &session, Make make)
{
    return [&session, make](const WindowRequest &request, QWidget *open) -> QWidget * {
        const CurrentPatientRecord stay =
            request.patient.isSelected() ? request.patient : session.CurrentPatient;
        auto *shown = qobject_cast<Window *>(open);
        if (shown && shown->presenter().idNum() == stay.IdNum.trimmed())
            return shown;
        Window *made = make();
        made->setAttribute(Qt::WA_DeleteOnClose);
        if (made->open(stay))
            return made;
        delete made;
        return open;
    };
}

} // namespace

QHash<QString, NursingWindowFactory> nursingFormWindows(Session &session,
                                                        std::function<ReportService *()> reports,
                                                        std::function<clsCodeLookup *()> doctors)
{
    QHash<QString, NursingWindowFactory> out;
    out.insert(QStringLiteral("frmNursePreopChecklist"),
               factory<frmNursePreopChecklist>(session, [&session, reports, doctors] {
                   return new frmNursePreopChecklist(session, reports(), doctors());
               }));
    out.insert(QStringLiteral("frmSSC"), factory<frmSSC>(session, [&session, reports, doctors] {
                   return new frmSSC(session, reports(), doctors());
               }));
    out.insert(QStringLiteral("frmPreAnesthetic"),
               factory<frmPreAnesthetic>(session, [&session, reports, doctors] {
                   return new frmPreAnesthetic(session, reports(), doctors());
               }));
    out.insert(QStringLiteral("frmLRForm"), factory<frmLRForm>(session, [&session, reports] {
                   return new frmLRForm(session, reports());
               }));
    return out;
}

} // namespace kestrel
