// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "discharge/DischargeStore.h"

namespace kestrel {

class ReportService;
class Session;

namespace discharge {

/// The discharge instructions and medicines sheet of a stay, with its home care plan: what the
/// patient takes home. The newer sheet keeps the medicines also as a drug grid. Changes are
/// saved when the window closes, after the user confirms and re-validates.
class DischargeInstructions
{
public:
    enum class Kind { Sheet, NewerSheet };

    DischargeInstructions(Session &session, ReportService *reports, Kind kind);

    /// The sheet a stay is written on: the newer one for emergency-room visits, whose station
    /// switches it follows, the older one for admissions.
    static Kind kindFor(Database &db, const QString &idNum);

    bool open(const QString &idNum);
    QString idNum() const { return m_idNum; }
    Kind kind() const { return m_kind; }
    /// The heading of the sheet: patient, admission, doctor, diagnosis.
    const QVariantMap &header() const { return m_header; }

    const InstructionSheet &sheet() const { return m_sheet; }
    void setSheet(const InstructionSheet &sheet);
    const QList<Medication> &medications() const { return m_medications; }
    void setMedications(const QList<Medication> &medications);
    QString homeCarePlan() const { return m_plan; }
    void setHomeCarePlan(const QString &plan);
    bool isChanged() const { return m_changed; }

    /// The window asks to close: unsaved changes are offered for saving. False keeps it open.
    bool closeRequested();
    /// Saves the home care plan after the user confirms.
    bool saveHomeCarePlan();

    /// Prints the sheet.
    bool print();
    /// Prints the home care plan: the saved one, or the plan as typed, marked as a draft,
    /// where the station allows printing drafts.
    bool printHomeCarePlan();

private:
    bool saveSheet();

    Session &m_session;
    ReportService *m_reports;
    Kind m_kind;
    DischargeStore m_store;
    QString m_idNum;
    QVariantMap m_header;
    InstructionSheet m_sheet;
    QList<Medication> m_medications;
    QString m_plan;
    bool m_changed = false;
    bool m_planChanged = false;
};

} // namespace discharge
} // namespace kestrel
