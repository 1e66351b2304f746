// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "assessment/ClinicalRemarks.h"

#include <QDialog>

class QLineEdit;
class QTableWidget;

namespace kestrel {

/// "Remarks and Lab Specimen": `txtRemarks`, the "List of Specimens" `mshflexSpecimen` and OK.
/// Every rule is the presenter's (ClinicalRemarks).
class frmClinicalAssessmentRemarks : public QDialog
{
    Q_OBJECT

public:
    frmClinicalAssessmentRemarks(Session &session, QWidget *parent = nullptr);

    ClinicalRemarks &presenter() { return m_presenter; }
    /// Shows what the presenter was opened with.
    void load();

private:
    ClinicalRemarks m_presenter;
    QLineEdit *m_remarks = nullptr;
    QTableWidget *m_specimens = nullptr;
};

} // namespace kestrel
