// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "assessment/AssessmentSaving.h"
#include "charging/ChargeEntry.h"
#include "core/WindowRequest.h"

#include <QMap>
#include <QObject>

namespace kestrel {

/// The rules of the three assessment windows: the cash assessment of the selected patient
/// (`frmCashAssessment`), the walk-in assessment by name (`frmAssessmentEntry`) and the
/// clinical departments' assessment (`frmAssessmentClinical`). Lines are entered, looked up
/// and priced by the charge window's own entry rules (ChargeEntry), which this presenter holds
/// and hands its saving; the list of assessments entered, their reprint and revoke are its own.
class AssessmentEntry : public QObject, public EntryGridRules
{
    Q_OBJECT

public:
    AssessmentEntry(Session &session, AssessmentKind kind, ChargeEntry::Components components,
                    ChargeEntryPrompts &prompts, PricingPrompts &pricingPrompts,
                    QObject *parent = nullptr);

    AssessmentKind kind() const { return m_saving.kind(); }
    static QString formName(AssessmentKind kind);
    static QString caption(AssessmentKind kind);
    /// The caption the window shows: the command's when it named one.
    const QString &windowCaption() const { return m_caption; }
    static QString listTitle() { return QStringLiteral("List of Cash Assessment Entered"); }

    void setPrinter(AssessmentSlipPrinter *printer) { m_saving.setPrinter(printer); }
    AssessmentSaving &saving() { return m_saving; }
    ChargeEntry &entry() { return m_entry; }

    /// Opens the window for `request`: the patient windows need a selected patient ("Please
    /// select patient."); the walk-in window starts with no name. False when it must not open.
    bool open(const WindowRequest &request);

    // What the window shows.
    const AssessmentPatient &patient() const { return m_saving.patient(); }
    /// The walk-in window's charging codes (department code, name).
    const QList<std::pair<QString, QString>> &chargingCodes() const { return m_codes; }
    const QList<ChargeEntryLine> &lines() const { return m_entry.lines(); }
    ChargeEntryGrid &grid() { return m_entry.grid(); }
    /// The sum of the lines entered, as the total label shows it.
    Money total() const;
    QString totalText() const;
    const QList<AssessmentSummary> &assessments() const { return m_assessments; }
    static QStringList listHeaders();
    /// One row of the list, cell by cell.
    static QStringList listRow(const AssessmentSummary &assessment);
    bool erOpd() const { return m_erOpd; }
    /// The last assessment saved in this window; empty before the first.
    const QString &lastSaved() const { return m_lastSaved; }

    // The clinical departments' examinations.
    /// Laboratory, X-ray, ultrasound, CT, heart station, nuclear medicine, physical and
    /// respiratory therapy: the departments whose examinations the clinical window assesses.
    static bool isExamDepartment(const QString &department);
    /// The rate letter the clinical window prices examinations at: the class of the patient's
    /// room where the hospital assesses by accommodation, else the hospital's clinical rate.
    const QString &rateLetter() const { return m_rateLetter; }
    /// The remarks, specimen and portable machine of the line at grid row `row`.
    AssessmentLineDetail detail(int row) const;
    void setDetail(int row, const AssessmentLineDetail &detail);

    // The entry grid's rules: the charge window's, with the walk-in window's own prompts.
    int filledRows() const override { return m_entry.filledRows(); }
    bool mayEdit(GridCell cell) const override { return m_entry.mayEdit(cell); }
    CellAnswer acceptCell(GridCell cell, const QString &text) override;
    QString prompt(int column) const override;
    int maxLength(int column) const override { return m_entry.maxLength(column); }

    // What the user does.
    /// The walk-in's name as typed (kept as typed; saved in capitals).
    void setPatientName(const QString &name);
    void setErOpd(bool erOpd);
    void deleteLine(int row) { m_entry.deleteLine(row); }
    void ignoreAll() { m_entry.ignoreAll(); }
    /// "&Save": the lines are saved as one assessment and its slip printed; the grid is then
    /// emptied and the list read again.
    void save();
    /// "Revoke", Enter or double-click on assessment `index` of the list.
    void revoke(int index);
    /// "Reprint" of assessment `index`.
    void reprint(int index);
    void refresh();

Q_SIGNALS:
    void changed();
    void editRequested(kestrel::GridCell cell);

private:
    void loadList();
    /// A cell of an examination line of the clinical window: its department, the exam and its
    /// quantity.
    CellAnswer acceptExamCell(GridCell cell, const QString &text);
    CellAnswer acceptExam(int row, const QString &text);
    CellAnswer acceptExamQuantity(int row, const QString &text);

    Session &m_session;
    ChargeEntry m_entry;
    AssessmentSaving m_saving;
    QString m_caption;
    QList<std::pair<QString, QString>> m_codes;
    QList<AssessmentSummary> m_assessments;
    bool m_erOpd = false;
    QString m_lastSaved;
    QString m_rateLetter;
    /// The details of the lines entered, by item code (an item is entered once).
    QMap<QString, AssessmentLineDetail> m_details;
};

} // namespace kestrel
