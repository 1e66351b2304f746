// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ui/frmMenuPrints.h"

#include "core/components/clsCodeLookup.h"
#include "core/ui/KeyFilter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

// "&Print" and "&Close" at the foot of a small print window.
QPushButton *addButtons(QWidget *window, QVBoxLayout *layout)
{
    auto *print = new QPushButton(QStringLiteral("&Print"), window);
    print->setObjectName(QStringLiteral("cmdPrint"));
    auto *close = new QPushButton(QStringLiteral("&Close"), window);
    close->setObjectName(QStringLiteral("cmdClose"));
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(print);
    row->addWidget(close);
    layout->addLayout(row);
    QObject::connect(close, &QPushButton::clicked, window, &QWidget::close);
    return print;
}

} // namespace

frmCSFDoctors::frmCSFDoctors(Session &session, ReportService *reports, clsCodeLookup *lookup,
                             CsfDoctors::Form form, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, reports, form)
    , m_lookup(lookup)
{
    setObjectName(QStringLiteral("frmCSFDoctors"));
    setWindowTitle(m_presenter.caption());
    auto *layout = new QVBoxLayout(this);
    auto *fields = new QFormLayout;
    auto *row = new QHBoxLayout;
    m_doctor = new QLineEdit(this);
    m_doctor->setObjectName(QStringLiteral("txtDoctor"));
    m_doctor->setMinimumWidth(280);
    m_pick = new QPushButton(QStringLiteral("..."), this);
    m_pick->setObjectName(QStringLiteral("cmdDoctor"));
    m_pick->setEnabled(m_lookup != nullptr);
    row->addWidget(m_doctor, 1);
    row->addWidget(m_pick);
    fields->addRow(QStringLiteral("Requesting Doctor:"), row);
    layout->addLayout(fields);
    m_print = addButtons(this, layout);

    installUpperCase(m_doctor);
    // Enter in the doctor's box, or the button beside it, opens the doctors' list.
    connect(m_doctor, &QLineEdit::returnPressed, this, &frmCSFDoctors::pickDoctor);
    connect(m_pick, &QPushButton::clicked, this, &frmCSFDoctors::pickDoctor);
    connect(m_print, &QPushButton::clicked, &m_presenter, &CsfDoctors::print);
    connect(&m_presenter, &CsfDoctors::changed, this, &frmCSFDoctors::refresh);
    refresh();
}

void frmCSFDoctors::pickDoctor()
{
    if (!m_lookup || !m_lookup->SearchListing(clsCodeLookup::Doctors, m_doctor->text()))
        return;
    const DoctorRecord &picked = m_lookup->DoctorRecord();
    m_presenter.setDoctor(picked.ResultCode, picked.LastName.trimmed() + QStringLiteral(", ") +
                                                 picked.FirstName.trimmed());
}

void frmCSFDoctors::refresh()
{
    if (!m_presenter.doctorName().isEmpty())
        m_doctor->setText(m_presenter.doctorName());
    m_print->setEnabled(m_presenter.canPrint());
}

frmStockMonitoring::frmStockMonitoring(Session &session, ReportService *reports, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, reports)
{
    setObjectName(QStringLiteral("frmStockMonitoring"));
    setWindowTitle(QStringLiteral("Stocks Monitoring"));
    auto *layout = new QVBoxLayout(this);
    auto *fields = new QFormLayout;
    m_revenue = new QComboBox(this);
    m_revenue->setObjectName(QStringLiteral("cboRevenue"));
    m_revenue->addItem(QString(), QString());
    m_revenue->addItem(QStringLiteral("OM - OR MEDICINES"), QStringLiteral("OM"));
    m_revenue->addItem(QStringLiteral("OS - OR SUPPLIES"), QStringLiteral("OS"));
    fields->addRow(QStringLiteral("Revenue:"), m_revenue);
    layout->addLayout(fields);
    QPushButton *print = addButtons(this, layout);
    connect(m_revenue, &QComboBox::currentIndexChanged, this,
            [this] { m_presenter.setRevenue(m_revenue->currentData().toString()); });
    connect(print, &QPushButton::clicked, &m_presenter, &StockMonitoring::print);
}

} // namespace kestrel
