// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmDoctorsFee.h"

#include "core/db/NumberFormat.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

// Column widths in twips: class, description, amount.
constexpr int kColumnTwips[] = {900, 3600, 1500};

} // namespace

frmDoctorsFee::frmDoctorsFee(DoctorsFee &presenter, QWidget *parent)
    : QDialog(parent)
    , m_presenter(presenter)
{
    setObjectName(QStringLiteral("frmDoctorsFee"));
    setModal(true);
    buildUi();
    fill();
}

void frmDoctorsFee::buildUi()
{
    setWindowTitle(QStringLiteral("Doctor's Fee"));
    auto *layout = new QVBoxLayout(this);
    m_doctor = new QLabel(this);
    m_doctor->setObjectName(QStringLiteral("lblDoctor"));
    m_patient = new QLabel(this);
    m_patient->setObjectName(QStringLiteral("lblPatient"));
    layout->addWidget(m_doctor);
    layout->addWidget(m_patient);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("mshFlexDoctorsFee"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    int width = 0;
    for (int twips : kColumnTwips)
        width += twips / 15;
    m_grid->setMinimumSize(width + 24, 2400 / 15);
    layout->addWidget(m_grid, 1);

    auto *hint = new QLabel(DoctorsFee::hint(), this);
    hint->setObjectName(QStringLiteral("lblMessage"));
    hint->setWordWrap(true);
    layout->addWidget(hint);

    // Enter (activated) and a double-click take the fee; Esc is the dialog's own reject.
    connect(m_grid, &QTableWidget::activated, this, &frmDoctorsFee::chooseCurrent);
    connect(m_grid, &QTableWidget::doubleClicked, this, &frmDoctorsFee::chooseCurrent);
}

void frmDoctorsFee::fill()
{
    m_doctor->setText(m_presenter.doctorLabel());
    m_patient->setText(m_presenter.patientLabel());
    const QStringList headers = DoctorsFee::headers();
    const QList<DoctorsFee::Row> &rows = m_presenter.rows();
    m_grid->setColumnCount(int(headers.size()));
    m_grid->setHorizontalHeaderLabels(headers);
    m_grid->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const DoctorsFee::Row &r = rows.at(i);
        m_grid->setItem(i, 0, new QTableWidgetItem(r.roomClass));
        m_grid->setItem(i, 1, new QTableWidgetItem(r.description));
        auto *amount = new QTableWidgetItem(formatNumber(r.amount, u"###,##0.00"));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setItem(i, 2, amount);
    }
    for (int c = 0; c < int(std::size(kColumnTwips)); ++c)
        m_grid->setColumnWidth(c, kColumnTwips[c] / 15);
    if (const int row = m_presenter.initialRow(); row >= 0)
        m_grid->setCurrentCell(row, 0);
    m_grid->setFocus();
}

void frmDoctorsFee::chooseCurrent()
{
    if (m_presenter.choose(m_grid->currentRow()))
        accept();
}

} // namespace kestrel
