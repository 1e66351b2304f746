// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace kestrel {

class ReportMonthPrompt;

/// The OR logbook's prompt: the month `dtpMonth` and the starting number `txtCase`; OK
/// (`cmdOK(0)`) and Cancel (`cmdOK(1)`).
class frmReportMonth : public QDialog
{
    Q_OBJECT

public:
    explicit frmReportMonth(ReportMonthPrompt &presenter, QWidget *parent = nullptr);

    ReportMonthPrompt &presenter() const { return m_presenter; }

public Q_SLOTS:
    /// Esc and the window's close button cancel, as `cmdOK(1)` does.
    void reject() override;

private:
    void buildUi();
    void bind();
    void refresh();

    ReportMonthPrompt &m_presenter;
    QDateEdit *m_month = nullptr;
    QLineEdit *m_case = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace kestrel
