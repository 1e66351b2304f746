// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ui/frmReportDate.h"

#include "reports/ReportPeriod.h"
#include "reports/ui/ReportPromptParts.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kestrel {

frmReportDate::frmReportDate(ReportDatePrompt &presenter, QWidget *parent)
    : QDialog(parent)
    , m_presenter(presenter)
{
    buildUi();
    bind();
    refresh();
}

void frmReportDate::buildUi()
{
    setObjectName(QStringLiteral("frmReportDate"));
    setWindowTitle(QStringLiteral("Report Date"));
    setModal(true);

    m_date = makePromptPicker(QStringLiteral("dtpDate"), m_presenter.displayFormat(), this);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Date :"), m_date);

    const PromptButtons buttons = makePromptButtons(this);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.row);
}

void frmReportDate::bind()
{
    connect(m_date, &QDateEdit::dateChanged, &m_presenter, &ReportDatePrompt::setDate);
    connect(m_ok, &QPushButton::clicked, this, [this] { m_presenter.cmdOK(0); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_presenter.cmdOK(1); });
    connect(&m_presenter, &ReportDatePrompt::changed, this, &frmReportDate::refresh);
    connect(&m_presenter, &ReportDatePrompt::closeRequested, this,
            [this] { done(m_presenter.answer() ? Accepted : Rejected); });
}

void frmReportDate::refresh()
{
    const QSignalBlocker blocker(m_date);
    m_date->setDisplayFormat(m_presenter.displayFormat());
    m_date->setDate(m_presenter.date());
}

void frmReportDate::reject()
{
    m_presenter.cmdOK(1);
}

} // namespace kestrel
