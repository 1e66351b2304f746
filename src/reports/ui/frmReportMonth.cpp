// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ui/frmReportMonth.h"

#include "reports/ReportPeriod.h"
#include "reports/ui/ReportPromptParts.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kestrel {

frmReportMonth::frmReportMonth(ReportMonthPrompt &presenter, QWidget *parent)
    : QDialog(parent)
    , m_presenter(presenter)
{
    buildUi();
    bind();
    refresh();
}

void frmReportMonth::buildUi()
{
    setObjectName(QStringLiteral("frmReportMonth"));
    setWindowTitle(QStringLiteral("OR Logbook"));
    setModal(true);

    m_month =
        makePromptPicker(QStringLiteral("dtpMonth"), ReportMonthPrompt::displayFormat(), this);
    m_case = new QLineEdit(this);
    m_case->setObjectName(QStringLiteral("txtCase"));
    m_case->setValidator(m_presenter.caseValidator());
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Month :"), m_month);
    form->addRow(QStringLiteral("Starting No. :"), m_case);

    const PromptButtons buttons = makePromptButtons(this);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.row);
}

void frmReportMonth::bind()
{
    connect(m_month, &QDateEdit::dateChanged, &m_presenter, &ReportMonthPrompt::setMonth);
    connect(m_case, &QLineEdit::textChanged, &m_presenter, &ReportMonthPrompt::setCase);
    connect(m_ok, &QPushButton::clicked, this, [this] { m_presenter.cmdOK(0); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_presenter.cmdOK(1); });
    connect(&m_presenter, &ReportMonthPrompt::changed, this, &frmReportMonth::refresh);
    connect(&m_presenter, &ReportMonthPrompt::caseRefused, this, [this] {
        m_case->setFocus(Qt::OtherFocusReason);
        m_case->selectAll();
    });
    connect(&m_presenter, &ReportMonthPrompt::closeRequested, this,
            [this] { done(m_presenter.answer() ? Accepted : Rejected); });
}

void frmReportMonth::refresh()
{
    const QSignalBlocker monthBlocker(m_month);
    const QSignalBlocker caseBlocker(m_case);
    m_month->setDate(m_presenter.month());
    if (m_case->text() != m_presenter.txtCase())
        m_case->setText(m_presenter.txtCase());
}

void frmReportMonth::reject()
{
    m_presenter.cmdOK(1);
}

} // namespace kestrel
