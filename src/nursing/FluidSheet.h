// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/CurrentPatient.h"
#include "nursing/NursingSheets.h"

#include <QSet>

namespace kestrel {

class ReportService;
class Session;

namespace nursing {

/// "Fluid Intake and Output Entry": a stay's fluid sheet, one column per shift of a day and the
/// day's "24 Hrs. TOTAL", with the totals of intake and output and the balance of each. A save
/// replaces one shift of one day.
class FluidSheet
{
public:
    FluidSheet(Session &session, ReportService *reports);

    /// Opens the stay's sheet on today's date (the server's). Without a stay the sheet opens
    /// empty and saving asks for a patient first.
    bool open(const CurrentPatientRecord &stay);
    const CurrentPatientRecord &stay() const { return m_stay; }
    QDate today() const { return m_today; }

    QDate date() const { return m_date; }
    /// Shows the sheet of `day`; a day after today is refused with a message.
    bool setDate(const QDate &day);

    /// What the day's shift `code` holds as shown (typed or saved).
    FluidAmounts amounts(const QString &code) const { return m_day.value(code); }
    void setAmounts(const QString &code, const FluidAmounts &amounts);
    const FluidDay &day() const { return m_day; }
    FluidAmounts total() const { return dayTotal(m_day); }

    /// Saves the shown amounts of shift `code` for the shown date: "Record updated.".
    bool save(const QString &code);
    bool isChanged() const { return !m_unsaved.isEmpty(); }
    /// Prints the shown date's sheet; `all` prints every day of the stay. Shifts typed and not
    /// saved are refused with a message: the sheet prints what is saved.
    bool print(bool all = false);

private:
    bool refuseWithoutPatient() const;
    bool load();

    Session &m_session;
    ReportService *m_reports;
    SheetStore m_store;
    CurrentPatientRecord m_stay;
    QDate m_today;
    QDate m_date;
    FluidDay m_day;
    QSet<QString> m_unsaved; ///< shifts typed and not saved yet
};

} // namespace nursing
} // namespace kestrel
