// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmChargeSlipVerification.h"

#include "core/components/clsCodeLookup.h"
#include "core/ui/KeyFilter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QToolButton *imageButton(const QString &name, const QString &text, QStyle::StandardPixmap icon,
                         QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

frmChargeSlipVerification::frmChargeSlipVerification(Session &session, clsCodeLookup *lookup,
                                                     QWidget *parent)
    : QDialog(parent)
    , m_presenter(session)
    , m_lookup(lookup)
{
    setObjectName(QStringLiteral("frmChargeSlipVerification"));
    setModal(true);
    buildUi();
    bind();
    m_presenter.load();
    m_chargeSlip->setText(m_presenter.chargeSlip());
    m_station->setText(m_presenter.station());
    m_save->setEnabled(ChargeSlipVerification::canSave(m_chargeSlip->text()));
}

void frmChargeSlipVerification::buildUi()
{
    setWindowTitle(QStringLiteral("Charge Slip Setting"));
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("Charge Slip Sequence Number"), this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    heading->setFont(bold);
    layout->addWidget(heading);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Charge Slip #"), this), 0, 0);
    m_chargeSlip = new QLineEdit(this);
    m_chargeSlip->setObjectName(QStringLiteral("txtChargeSlip"));
    m_chargeSlip->setMaxLength(15);
    fields->addWidget(m_chargeSlip, 0, 1, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("Nurse Station"), this), 1, 0);
    m_station = new QLabel(this);
    m_station->setObjectName(QStringLiteral("lblStation"));
    m_station->setFrameShape(QFrame::Panel);
    m_station->setFrameShadow(QFrame::Sunken);
    fields->addWidget(m_station, 1, 1);
    m_search = imageButton(QStringLiteral("imgSearch"), QString(),
                           QStyle::SP_FileDialogContentsView, this);
    m_search->setToolTip(QStringLiteral("Nurse Station"));
    fields->addWidget(m_search, 1, 2);
    layout->addLayout(fields);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_save = imageButton(QStringLiteral("imgSave"), QStringLiteral("Save"),
                         QStyle::SP_DialogSaveButton, this);
    m_close = imageButton(QStringLiteral("imgClose"), QStringLiteral("Close"),
                          QStyle::SP_DialogCloseButton, this);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
}

void frmChargeSlipVerification::bind()
{
    installDigitsOnly(m_chargeSlip);
    connect(m_chargeSlip, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_save->setEnabled(ChargeSlipVerification::canSave(text));
    });
    connect(m_search, &QToolButton::clicked, this, &frmChargeSlipVerification::pickStation);
    connect(m_save, &QToolButton::clicked, this, &frmChargeSlipVerification::save);
    connect(m_close, &QToolButton::clicked, this, &QDialog::reject);
    // The station list needs the code look-up.
    m_search->setEnabled(m_lookup != nullptr);
}

void frmChargeSlipVerification::pickStation()
{
    if (!m_lookup->SearchListing(clsCodeLookup::Stations, QString()))
        return;
    m_presenter.setStation(m_lookup->StationRecord().ResultCode);
    m_station->setText(m_presenter.station());
}

void frmChargeSlipVerification::save()
{
    if (const std::optional<qint64> number = m_presenter.save(m_chargeSlip->text()))
        m_chargeSlip->setText(QString::number(*number));
}

} // namespace kestrel
