// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace kestrel {

class ReportService;
class Session;

/// The laboratory request forms of a stay: printed for the requests still waiting for the
/// laboratory (`frmPrintRequestForm`), or printed again for any request not revoked
/// (`frmReprintLabForm`, and `frmReprintLabFormQELM` in the layout of the hospitals that list the
/// charge slip and the nurses). The nurse ticks the exams; the form's lines are written for the
/// user in one transaction and the form prints through the report engine.
class LabRequestForms : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Print, Reprint, ReprintWithCharges };

    LabRequestForms(Session &session, Mode mode, QObject *parent = nullptr);

    void setReports(ReportService *reports) { m_reports = reports; }
    Mode mode() const { return m_mode; }
    QString caption() const;
    /// The list's column captions.
    QStringList captions() const;
    /// The cells of list row `row` under captions().
    QStringList cells(int row) const;

    /// Lists the laboratory exams of stay `idNum`, none ticked. False (the user told) without a
    /// stay.
    bool open(const QString &idNum);
    const QString &idNum() const { return m_idNum; }
    int count() const { return m_exams.count(); }
    bool isChosen(int row) const { return m_chosen.value(row); }
    void setChosen(int row, bool chosen);
    void chooseAll(bool chosen);

    /// "&Print": the form of the ticked exams. "No laboratory exams was selected." when none
    /// is ticked; false when nothing was printed.
    bool print();

Q_SIGNALS:
    void listChanged();

private:
    Session &m_session;
    Mode m_mode;
    ReportService *m_reports = nullptr;
    QString m_idNum;
    RowSet m_exams;
    QList<bool> m_chosen;
};

} // namespace kestrel
