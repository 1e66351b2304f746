// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDialog>

class QDateEdit;
class QPushButton;

namespace kestrel {

class ReportDatePrompt;

/// The single-date prompt: the picker `dtpDate` shows a day, a month or a year as the
/// presenter's mode says; OK (`cmdOK(0)`) and Cancel (`cmdOK(1)`).
class frmReportDate : public QDialog
{
    Q_OBJECT

public:
    explicit frmReportDate(ReportDatePrompt &presenter, QWidget *parent = nullptr);

    ReportDatePrompt &presenter() const { return m_presenter; }

public Q_SLOTS:
    /// Esc and the window's close button cancel, as `cmdOK(1)` does.
    void reject() override;

private:
    void buildUi();
    void bind();
    void refresh();

    ReportDatePrompt &m_presenter;
    QDateEdit *m_date = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace kestrel
