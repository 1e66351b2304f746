// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/EntryGridRules.h"
#include "charging/requests/RequestGrid.h"
#include "charging/requests/RequestStore.h"

#include <QObject>

#include <functional>

namespace kestrel {

class DrugListComponent;
class Notifier;
class ReportService;
class Session;
class clsCodeLookup;
class clsDrug;
class clsDrugPicker;

/// The rules of the request entry windows `frmPHEntry`, `frmPHEntrywithDosage`,
/// `frmPHEntrywithRouting` and `frmCSREntry`: each typed cell of the entry grid looked up and
/// checked, the refusals before a save, the save of every line in one transaction, the copy to
/// the patient's medicine list and the printed request form.
class RequestEntry : public QObject, public EntryGridRules
{
    Q_OBJECT

public:
    /// The companion components the window looks items and dosages up with; any may be missing.
    struct Components
    {
        clsCodeLookup *codeLookup = nullptr;
        clsDrugPicker *drugPicker = nullptr;
        DrugListComponent *drugList = nullptr;
    };

    RequestEntry(Session &session, RequestForm form, Components components,
                 QObject *parent = nullptr);

    /// The report engine the request form prints through; without one nothing is printed.
    void setReports(ReportService *reports) { m_reports = reports; }

    /// Opens the window for the selected stay: the grid is emptied and, for a patient under the
    /// PD first package, its note is read. False without a selected stay.
    bool open();

    const RequestLayout &layout() const { return m_layout; }
    const QList<RequestLine> &lines() const { return m_lines; }
    RequestGrid &grid() { return m_grid; }
    /// "Save/&Print" where the hospital prints the request form, else "&Save".
    QString saveCaption() const;
    /// The fixed note under the grid.
    QString note() const;
    /// The PD first package note of the stay; empty for other patients.
    const QString &packageNote() const { return m_packageNote; }
    /// The request numbers of the last save, line by line.
    const QStringList &lastRequests() const { return m_lastRequests; }

    // The entry grid's rules.
    int filledRows() const override { return int(m_lines.size()); }
    bool mayEdit(GridCell cell) const override;
    CellAnswer acceptCell(GridCell cell, const QString &text) override;
    QString prompt(int column) const override;
    int maxLength(int column) const override;

    // What the user does.
    /// The save button: the refusals, the question, the save, the medicine list and the form.
    /// True when the requests were sent.
    bool save();
    /// "&Delete": removes line `row` after asking.
    void deleteLine(int row);
    /// "&Close".
    void close();

    /// The largest quantity one request line takes.
    static constexpr int kMaxQuantity = 99999;

Q_SIGNALS:
    /// Anything shown beside the grid changed.
    void changed();
    void closeRequested();

private:
    CellAnswer acceptItem(int row, const QString &text);
    CellAnswer acceptDosage(RequestLine &line, const QString &text);
    CellAnswer acceptQuantity(RequestLine &line, const QString &text);
    /// The warnings about an accepted medicine: antibiotic, high alert, refrigerated.
    void warnAbout(const QString &item);
    bool requestedElsewhere(int row, const QString &item) const;
    /// The refusals of a save, in the hospital's order; true when the save may go on.
    bool mayBeSent();
    void print(const RequestBatch &batch);
    void tell(const QString &text, int icon = 0);

    Session &m_session;
    RequestLayout m_layout;
    Components m_components;
    RequestStore m_store;
    ReportService *m_reports = nullptr;
    QList<RequestLine> m_lines;
    RequestGrid m_grid{m_layout, m_lines};
    QString m_packageNote;
    QStringList m_lastRequests;
    bool m_warnAntibiotic = false;
    bool m_warnHighAlert = false;
};

/// The medicine a request grid's item cell names, at the stock `location`: a text that is not a
/// code is looked up in the drug list first, and the drug picker is then set on the medicine.
/// Nothing when the user was told why: the list or picker missing, the list closed, "Code does
/// not exist.", or `inactive(fromList)` for an item that is not active. `tell` shows a message.
clsDrug *findRequestedDrug(Notifier &notifier, const RequestEntry::Components &components,
                           const QString &location, const QString &typed,
                           const std::function<QString(bool fromList)> &inactive,
                           const std::function<void(const QString &)> &tell);

} // namespace kestrel
