// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmPipe.h"

#include "core/db/NumberFormat.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

const QString kTimeFormat = QStringLiteral("MM/dd/yyyy hh:mm AP");

} // namespace

frmPipe::frmPipe(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmPipe"));
    setWindowTitle(QStringLiteral("Oxygen Pipe"));
    auto *layout = new QVBoxLayout(this);
    auto *modeFrame = new QGroupBox(this);
    auto *modeLayout = new QHBoxLayout(modeFrame);
    m_open = new QRadioButton(QStringLiteral("Open Tank"), modeFrame);
    m_open->setObjectName(QStringLiteral("Option1(0)"));
    m_close = new QRadioButton(QStringLiteral("Close Tank"), modeFrame);
    m_close->setObjectName(QStringLiteral("Option1(1)"));
    // The stay's tank decides: the user reads which one the save does.
    m_open->setEnabled(false);
    m_close->setEnabled(false);
    modeLayout->addWidget(m_open);
    modeLayout->addWidget(m_close);
    layout->addWidget(modeFrame);

    auto *form = new QFormLayout;
    m_item = new QComboBox(this);
    m_item->setObjectName(QStringLiteral("cboCode"));
    m_description = new QLabel(this);
    m_description->setObjectName(QStringLiteral("lblDescription"));
    m_rate = new QLabel(this);
    m_rate->setObjectName(QStringLiteral("lblRate"));
    m_tank = new QLineEdit(this);
    m_tank->setObjectName(QStringLiteral("txtTank"));
    m_start = new QLineEdit(this);
    m_start->setObjectName(QStringLiteral("txtStart"));
    m_start->setReadOnly(true);
    m_end = new QDateTimeEdit(this);
    m_end->setObjectName(QStringLiteral("txtEnd"));
    m_end->setDisplayFormat(kTimeFormat);
    m_consumed = new QLabel(this);
    m_consumed->setObjectName(QStringLiteral("lblConsumed"));
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("lblTotalAmount"));
    form->addRow(QStringLiteral("Code"), m_item);
    form->addRow(QStringLiteral("Description"), m_description);
    form->addRow(QStringLiteral("Rate/hr"), m_rate);
    form->addRow(QStringLiteral("Tank #"), m_tank);
    form->addRow(QStringLiteral("Starting Time"), m_start);
    form->addRow(QStringLiteral("Time Stopped"), m_end);
    form->addRow(QStringLiteral("Hours Consumed"), m_consumed);
    form->addRow(QStringLiteral("Total Amount"), m_total);
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("cmdSave"));
    auto *exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("cmdExit"));
    save->setAutoDefault(false);
    exit->setAutoDefault(false);
    buttons->addWidget(save);
    buttons->addWidget(exit);
    layout->addLayout(buttons);

    connect(&m_presenter, &OxygenPipe::changed, this, &frmPipe::refresh);
    connect(m_item, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling)
            m_presenter.chooseItem(index);
    });
    connect(m_tank, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_presenter.setTankNumber(text); });
    connect(m_end, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime &end) {
        if (!m_filling)
            m_presenter.setTimeStopped(end);
    });
    connect(save, &QPushButton::clicked, this, [this] { m_presenter.save(); });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
}

bool frmPipe::open()
{
    return m_presenter.open();
}

void frmPipe::refresh()
{
    m_filling = true;
    const OxygenPipe &p = m_presenter;
    const bool closing = p.mode() == OxygenPipe::Mode::Close;
    setWindowTitle(QStringLiteral("Oxygen Pipe - ") + p.stay().PatientName.trimmed());
    m_open->setChecked(!closing);
    m_close->setChecked(closing);
    m_item->clear();
    for (const PipeItem &item : p.items())
        m_item->addItem(item.code);
    m_item->setCurrentIndex(p.chosenItem());
    m_item->setEnabled(!closing);
    const int chosen = p.chosenItem();
    m_description->setText(chosen >= 0 ? p.items().at(chosen).description : QString());
    m_rate->setText(formatNumber(p.ratePerHour(), kFormatAmount));
    if (m_tank->text().trimmed() != p.tankNumber())
        m_tank->setText(p.tankNumber());
    m_tank->setReadOnly(closing);
    m_start->setText(p.startingTime().toString(kTimeFormat));
    m_end->setDateTime(p.timeStopped());
    m_end->setEnabled(closing);
    m_consumed->setText(closing ? numberText(p.hoursConsumed()) : QString());
    m_total->setText(closing ? formatNumber(p.totalAmount(), kFormatAmount) : QString());
    m_filling = false;
}

} // namespace kestrel
