// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ui/frmReport.h"

#include "reports/ReportPeriod.h"
#include "reports/ui/ReportPromptParts.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kestrel {

frmReport::frmReport(ReportPeriodPrompt &presenter, QWidget *parent)
    : QDialog(parent)
    , m_presenter(presenter)
{
    buildUi();
    bind();
    refresh();
}

void frmReport::buildUi()
{
    setObjectName(QStringLiteral("frmReport"));
    // A prompt without a caption of its own keeps the window's usual one.
    setWindowTitle(m_presenter.caption().isEmpty() ? QStringLiteral("Report Date")
                                                   : m_presenter.caption());
    setModal(true);

    const QString format = kReportDayFormat.toString();
    m_from = makePromptPicker(QStringLiteral("dtpFrom"), format, this);
    m_to = makePromptPicker(QStringLiteral("dtpTo"), format, this);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("From :"), m_from);
    form->addRow(QStringLiteral("To :"), m_to);

    const PromptButtons buttons = makePromptButtons(this);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.row);
    // A caption as long as the longest prompt text stays readable.
    setMinimumWidth(360);
}

void frmReport::bind()
{
    connect(m_from, &QDateEdit::dateChanged, &m_presenter, &ReportPeriodPrompt::setFrom);
    connect(m_to, &QDateEdit::dateChanged, &m_presenter, &ReportPeriodPrompt::setTo);
    connect(m_ok, &QPushButton::clicked, this, [this] { m_presenter.cmdOK(0); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_presenter.cmdOK(1); });
    connect(&m_presenter, &ReportPeriodPrompt::changed, this, &frmReport::refresh);
    connect(&m_presenter, &ReportPeriodPrompt::closeRequested, this,
            [this] { done(m_presenter.answer() ? Accepted : Rejected); });
}

void frmReport::refresh()
{
    for (QDateEdit *picker : {m_from, m_to}) {
        const QSignalBlocker blocker(picker);
        picker->setDateRange(m_presenter.minimumDate(), m_presenter.maximumDate());
    }
    const QSignalBlocker fromBlocker(m_from);
    const QSignalBlocker toBlocker(m_to);
    m_from->setDate(m_presenter.from());
    m_to->setDate(m_presenter.to());
}

void frmReport::reject()
{
    m_presenter.cmdOK(1);
}

} // namespace kestrel
