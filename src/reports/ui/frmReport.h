// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDialog>

class QDateEdit;
class QPushButton;

namespace kestrel {

class ReportPeriodPrompt;

/// The period prompt: "From" and "To" pickers, OK (`cmdOK(0)`) and Cancel (`cmdOK(1)`).
/// Every rule is the presenter's; the window closes when the presenter says so.
class frmReport : public QDialog
{
    Q_OBJECT

public:
    explicit frmReport(ReportPeriodPrompt &presenter, QWidget *parent = nullptr);

    ReportPeriodPrompt &presenter() const { return m_presenter; }

public Q_SLOTS:
    /// Esc and the window's close button cancel, as `cmdOK(1)` does.
    void reject() override;

private:
    void buildUi();
    void bind();
    void refresh();

    ReportPeriodPrompt &m_presenter;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace kestrel
