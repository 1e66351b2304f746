// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "assessment/AssessmentEntry.h"
#include "charging/ui/WidgetChargeEntryPrompts.h"
#include "charging/ui/WidgetPricingPrompts.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTreeWidget;

namespace kestrel {

class EntryGrid;

/// The assessment windows `frmCashAssessment` and `frmAssessmentEntry` ("Assessment Entry")
/// and `frmAssessmentClinical` ("Assessment Entry For Clinical Department"): the patient (a
/// walk-in's name `txtName` and "CASH" or "ER/OPD"), the department codes, the charge window's
/// entry grid `mshflexEntry` with its prompt `lblMessage`, the total, the "List of Cash
/// Assessment Entered" `mshflexList` and the buttons `cmdOption` (Revoke, Reprint) and
/// `Command1` (Save, Delete, Ignore All, Refresh, Close). Every rule is the presenter's.
class frmAssessment : public QWidget
{
    Q_OBJECT

public:
    frmAssessment(Session &session, AssessmentKind kind, ChargeEntry::Components components,
                  QWidget *parent = nullptr);
    ~frmAssessment() override;

    AssessmentEntry &presenter() { return m_presenter; }
    EntryGrid &entryGrid() { return *m_grid; }
    /// Opens a window of another part of the program (the main window's openWindow): the
    /// cash window's "Cash Credit Memo".
    void setWindowOpener(ChargeEntry::WindowOpener opener) { m_openWindow = std::move(opener); }
    /// Slips are printed through `reports`.
    void setReports(ReportService &reports);
    /// Opens the window for `request`; false when it must not open.
    bool open(const WindowRequest &request);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void bind();
    void refresh();
    void closeWindow();
    /// "Remarks / Specimen" of the clinical window: `frmClinicalAssessmentRemarks` for the
    /// examination the grid is on.
    void editRemarks();

    Session &m_session;
    ChargeEntry::WindowOpener m_openWindow;
    std::unique_ptr<AssessmentSlipPrinter> m_printer;
    WidgetChargeEntryPrompts m_prompts;
    WidgetPricingPrompts m_pricingPrompts;
    AssessmentEntry m_presenter;

    QLineEdit *m_name = nullptr;
    QLineEdit *m_id = nullptr;
    QRadioButton *m_cash = nullptr;
    QRadioButton *m_erOpd = nullptr;
    QTreeWidget *m_departments = nullptr;
    EntryGrid *m_grid = nullptr;
    QLabel *m_message = nullptr;
    QLabel *m_total = nullptr;
    QTableWidget *m_list = nullptr;
};

} // namespace kestrel
