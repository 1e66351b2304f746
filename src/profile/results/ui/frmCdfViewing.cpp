// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/ui/frmCdfViewing.h"

#include "core/db/NumberFormat.h"
#include "profile/results/CdfDetails.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

frmCdfViewing::frmCdfViewing(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCdfViewing"));
    setWindowTitle(QStringLiteral("CDF Details"));
    auto *frame = new QGroupBox(QStringLiteral("CDF Details"), this);
    auto *grid = new QGridLayout(frame);
    const QStringList captions{QStringLiteral("Hospital Bill :"), QStringLiteral("Total CDF :"),
                               QStringLiteral("Utilized CDF :"), QStringLiteral("CDF Balance :"),
                               QStringLiteral("Net Hospital Bill After CDF :")};
    const QStringList names{QStringLiteral("lblHospBill"), QStringLiteral("lblTotalCDF"),
                            QStringLiteral("lblPaidCDF"), QStringLiteral("lblCDFBalance"),
                            QStringLiteral("lblNetHospBill")};
    for (int i = 0; i < captions.size(); ++i) {
        auto *amount = new QLabel(frame);
        amount->setObjectName(names.at(i));
        amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        amount->setMinimumWidth(120);
        grid->addWidget(new QLabel(captions.at(i), frame), i, 0);
        grid->addWidget(amount, i, 1);
        m_amounts << amount;
        setAmount(i, 0);
    }
    // The net bill is what the patient still owes: it stands out.
    QFont bold = m_amounts.last()->font();
    bold.setBold(true);
    m_amounts.last()->setFont(bold);

    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
}

void frmCdfViewing::setAmount(int index, double amount)
{
    m_amounts.at(index)->setText(formatNumber(amount, kFormatGross));
}

void frmCdfViewing::setHospBill(double amount)
{
    setAmount(0, amount);
}

void frmCdfViewing::setTotalCDF(double amount)
{
    setAmount(1, amount);
}

void frmCdfViewing::setPaidCDF(double amount)
{
    setAmount(2, amount);
}

void frmCdfViewing::setCDFBalance(double amount)
{
    setAmount(3, amount);
}

void frmCdfViewing::setNetHospBill(double amount)
{
    setAmount(4, amount);
}

void frmCdfViewing::showAmounts(const CdfAmounts &a)
{
    setHospBill(a.hospBill.toDouble());
    setTotalCDF(a.totalCdf.toDouble());
    setPaidCDF(a.paidCdf.toDouble());
    setCDFBalance(a.cdfBalance.toDouble());
    setNetHospBill(a.netHospBill.toDouble());
}

QString frmCdfViewing::shown(int index) const
{
    return index >= 0 && index < m_amounts.size() ? m_amounts.at(index)->text() : QString();
}

} // namespace kestrel
