// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "reports/ReportCatalog.h"
#include "core/WindowRequest.h"

#include <QDate>
#include <QObject>
#include <QVariantList>

namespace kestrel {

class ReportService;
class Session;

/// The key of `WindowRequest::values` under which a report command is handed the admission
/// number ("ADM. Num.") of the row highlighted in the patient list.
inline constexpr QStringView kHighlightedIdNum = u"HighlightedIdNum";

/// Runs the report commands of the main window from the catalog: asks the period with the
/// command's prompt, builds the report's values in the catalog's order, opens the report file
/// of the reports folder and shows it in the viewer or prints it at once.
///
/// The access rights of the catalog are the main window's: it checks them before it asks for
/// the report viewer, so a command reaches this presenter only once its right is granted.
class ReportCommands : public QObject
{
    Q_OBJECT

public:
    ReportCommands(Session &session, ReportService &service, QObject *parent = nullptr);

    /// Runs the report command `request.command` ("mnuAudit") for the hospital of the session.
    /// True when a report was shown or printed; false when the user cancelled, was told why
    /// not (no patient selected), or the report failed (told in the shared error box).
    bool run(const WindowRequest &request);

    /// The values of `part` in order, from the period, the settings, the user, the server date
    /// and the patient of `request`.
    QVariantList values(const ReportPart &part, const WindowRequest &request) const;

    /// The catalog entry of `command` as this hospital runs it.
    std::optional<ReportCommandEntry> entry(const QString &command) const;

private:
    /// Asks the period with the entry's prompt into the session's report period; false when
    /// the user cancelled.
    bool askPeriod(const ReportCommandEntry &entry);
    /// Runs what must be ready before the report reads its data; false when it failed.
    bool prepare(const ReportCommandEntry &entry);
    QDate serverDate() const;
    /// The admission number of the patient list's highlighted row ("" when none).
    static QString highlightedIdNum(const WindowRequest &request);

    Session &m_session;
    ReportService &m_service;
};

} // namespace kestrel
