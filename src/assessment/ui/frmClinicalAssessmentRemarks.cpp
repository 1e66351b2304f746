// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "assessment/ui/frmClinicalAssessmentRemarks.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

frmClinicalAssessmentRemarks::frmClinicalAssessmentRemarks(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmClinicalAssessmentRemarks"));
    setWindowTitle(ClinicalRemarks::caption());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Remarks"), this));
    m_remarks = new QLineEdit(this);
    m_remarks->setObjectName(QStringLiteral("txtRemarks"));
    layout->addWidget(m_remarks);
    auto *frame = new QGroupBox(ClinicalRemarks::listTitle(), this);
    auto *frameLayout = new QVBoxLayout(frame);
    m_specimens = new QTableWidget(0, 2, frame);
    m_specimens->setObjectName(QStringLiteral("mshflexSpecimen"));
    m_specimens->setHorizontalHeaderLabels({QStringLiteral("Code"), QStringLiteral("Description")});
    m_specimens->verticalHeader()->hide();
    m_specimens->horizontalHeader()->setStretchLastSection(true);
    m_specimens->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_specimens->setSelectionMode(QAbstractItemView::SingleSelection);
    m_specimens->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frameLayout->addWidget(m_specimens);
    frameLayout->addWidget(new QLabel(ClinicalRemarks::hint(), frame));
    layout->addWidget(frame);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    buttons->addWidget(ok);
    layout->addLayout(buttons);

    connect(m_specimens, &QTableWidget::cellClicked, this,
            [this](int row) { m_presenter.chooseSpecimen(row); });
    connect(ok, &QPushButton::clicked, this, [this] {
        m_presenter.setRemarks(m_remarks->text());
        if (m_presenter.accept())
            accept();
    });
}

void frmClinicalAssessmentRemarks::load()
{
    m_remarks->setText(m_presenter.detail().remarks);
    const auto &specimens = m_presenter.specimens();
    m_specimens->setRowCount(int(specimens.size()));
    for (int i = 0; i < specimens.size(); ++i) {
        m_specimens->setItem(i, 0, new QTableWidgetItem(specimens.at(i).first));
        m_specimens->setItem(i, 1, new QTableWidgetItem(specimens.at(i).second));
    }
    if (m_presenter.chosen() >= 0)
        m_specimens->selectRow(m_presenter.chosen());
    m_specimens->parentWidget()->setVisible(!specimens.isEmpty());
}

} // namespace kestrel
