// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/ui/frmAdmittedPatients.h"

#include "core/ui/KeyFilter.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrel {

frmAdmittedPatients::frmAdmittedPatients(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmAdmittedPatients"));
    buildUi();
    bind();
    m_presenter.search();
}

void frmAdmittedPatients::buildUi()
{
    setWindowTitle(QStringLiteral("Admitted Patients w/ Scheduled Operation"));

    m_searchBy = new QComboBox(this);
    m_searchBy->setObjectName(QStringLiteral("cboBySearch"));
    m_searchBy->addItems(AdmittedPatients::searchKinds());
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    installUpperCase(m_search);
    m_searchButton = new QPushButton(QStringLiteral("&Search"), this);
    m_searchButton->setObjectName(QStringLiteral("cmdSearch"));
    m_searchButton->setAutoDefault(false);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Search By:"), this));
    searchRow->addWidget(m_searchBy);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_searchButton);

    const QList<int> widths = AdmittedPatients::columnWidths();
    m_grid = new QTableWidget(0, int(widths.size()), this);
    m_grid->setObjectName(QStringLiteral("mshflexAdmitted"));
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setMinimumSectionSize(1);
    for (int column = 0; column < widths.size(); ++column) {
        // Twips at 96 dpi; a column of width 0 carries a key the user does not read.
        if (widths.at(column) == 0)
            m_grid->setColumnHidden(column, true);
        else
            m_grid->setColumnWidth(column, std::max(1, widths.at(column) / 15));
    }
    m_grid->setMinimumSize(11000 / 15, 4500 / 15);

    auto *recordLabel = new QLabel(QStringLiteral("Rec. No."), this);
    m_position = new QLabel(this);
    m_position->setObjectName(QStringLiteral("lblRecNum"));
    m_position->setMinimumWidth(1500 / 15);
    auto *hint = new QLabel(QStringLiteral("Click on the List to Select a Patient."), this);
    m_checked = new QPushButton(QStringLiteral("Checked?"), this);
    m_checked->setObjectName(QStringLiteral("cmdPending(1)"));
    m_exit = new QPushButton(QStringLiteral("Exit"), this);
    m_exit->setObjectName(QStringLiteral("cmdPending(0)"));
    for (QPushButton *b : {m_checked, m_exit})
        b->setAutoDefault(false);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(recordLabel);
    bottom->addWidget(m_position);
    bottom->addWidget(hint);
    bottom->addStretch(1);
    bottom->addWidget(m_checked);
    bottom->addWidget(m_exit);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
}

void frmAdmittedPatients::bind()
{
    connect(&m_presenter, &AdmittedPatients::listChanged, this, &frmAdmittedPatients::showList);
    connect(&m_presenter, &AdmittedPatients::chosenChanged, this, &frmAdmittedPatients::showChosen);
    auto search = [this] { m_presenter.search(m_search->text()); };
    connect(m_searchButton, &QPushButton::clicked, this, search);
    connect(m_search, &QLineEdit::returnPressed, this, search);
    // The grid's rows are the presenter's grid rows less the header row.
    connect(m_grid, &QTableWidget::cellClicked, this,
            [this](int row, int) { m_presenter.chooseRow(row + 1); });
    connect(m_checked, &QPushButton::clicked, this, [this] { m_presenter.tagChecked(); });
    connect(m_exit, &QPushButton::clicked, this, &frmAdmittedPatients::closeWindow);
}

void frmAdmittedPatients::showList()
{
    m_grid->clearContents();
    m_grid->setHorizontalHeaderLabels(m_presenter.headers());
    const int patients = m_presenter.rows().count();
    m_grid->setRowCount(patients);
    for (int row = 1; row <= patients; ++row) {
        for (int column = 1; column < m_grid->columnCount(); ++column)
            m_grid->setItem(row - 1, column, new QTableWidgetItem(m_presenter.cell(row, column)));
    }
    showChosen();
}

void frmAdmittedPatients::showChosen()
{
    const int chosen = m_presenter.chosenRow();
    if (chosen == 0)
        m_grid->clearSelection();
    else
        m_grid->selectRow(chosen - 1);
    m_position->setText(m_presenter.positionText());
}

void frmAdmittedPatients::closeWindow()
{
    // In the main window's work area the frame around the window is what has to close.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kestrel
