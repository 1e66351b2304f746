// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/NursingSheetWindows.h"

#include "core/Session.h"
#include "nursing/ui/frmConsent.h"
#include "nursing/ui/frmFluid.h"
#include "nursing/ui/frmHourlyMonitor.h"

namespace kestrel {

namespace {

// The stay a window serves.
template <typename Window> QString stayOf(Window *window)
{
    return window->presenter().stay().IdNum.trimmed();
}

// One window per stay: the open one when it serves the stay asked for, a new one otherwise.
template <typename Window, typename Make>
NursingWindowFactory factory(Session &session, Make make)
{
    return [&session, make](const WindowRequest &request, QWidget *open) -> QWidget * {
        const CurrentPatientRecord stay =
            request.patient.isSelected() ? request.patient : session.CurrentPatient;
        auto *shown = qobject_cast<Window *>(open);
        if (shown && stayOf(shown) == stay.IdNum.trimmed())
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

QHash<QString, NursingWindowFactory> nursingSheetWindows(Session &session,
                                                         std::function<ReportService *()> reports,
                                                         std::function<clsCodeLookup *()> doctors)
{
    using nursing::ConsentKind;
    QHash<QString, NursingWindowFactory> out;
    for (ConsentKind kind : {ConsentKind::SurgicalTreatment, ConsentKind::Treatment,
                             ConsentKind::Sterilization, ConsentKind::SpecialTreatment}) {
        out.insert(nursing::consentDefinition(kind).formName,
                   factory<frmConsent>(session, [&session, reports, doctors, kind] {
                       return new frmConsent(session, reports(), doctors(), kind);
                   }));
    }
    out.insert(QStringLiteral("frmHourlyMonitor"),
               factory<frmHourlyMonitor>(session, [&session, reports] {
                   return new frmHourlyMonitor(session, reports());
               }));
    out.insert(QStringLiteral("frmFluid"), factory<frmFluid>(session, [&session, reports] {
                   return new frmFluid(session, reports());
               }));
    return out;
}

} // namespace kestrel
