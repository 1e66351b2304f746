// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/ui/UserSearchPanel.h"

#include "core/ui/KeyFilter.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

// The grid's columns: a narrow row marker, then what identifies the employee.
enum Column { Marker = 0, Code = 1, Name = 2, Position = 3, ColumnCount };

} // namespace

UserSearchPanel::UserSearchPanel(Search search, QWidget *parent)
    : QGroupBox(QStringLiteral("1. Search User"), parent)
    , m_search(std::move(search))
{
    buildUi();
    bind();
}

void UserSearchPanel::buildUi()
{
    auto *fields = new QGridLayout;
    m_employeeId = new QLineEdit(this);
    m_employeeId->setObjectName(QStringLiteral("txtEmployeeID"));
    installUpperCase(m_employeeId);
    m_employee = new QLineEdit(this);
    m_employee->setObjectName(QStringLiteral("txtEmployee"));
    // The name comes from the chosen row; the search works on the code field.
    m_employee->setReadOnly(true);
    m_employee->setFocusPolicy(Qt::NoFocus);
    m_searchButton = new QPushButton(QStringLiteral("&Search"), this);
    m_searchButton->setObjectName(QStringLiteral("cmdSearch"));
    // Enter belongs to the code field; no button of the window may take it as its default.
    m_searchButton->setAutoDefault(false);
    fields->addWidget(new QLabel(QStringLiteral("Employee Code"), this), 0, 0);
    fields->addWidget(m_employeeId, 0, 1);
    fields->addWidget(m_searchButton, 0, 2);
    fields->addWidget(new QLabel(QStringLiteral("Employee Name"), this), 1, 0);
    fields->addWidget(m_employee, 1, 1, 1, 2);
    fields->setColumnStretch(1, 1);

    m_users = new QGroupBox(this);
    m_users->setObjectName(QStringLiteral("fmeUsers"));
    m_grid = new QTableWidget(0, ColumnCount, m_users);
    m_grid->setObjectName(QStringLiteral("grdUsers"));
    m_grid->setHorizontalHeaderLabels({QString(), QStringLiteral("Employee Code"),
                                       QStringLiteral("Employee Name"),
                                       QStringLiteral("Position")});
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setColumnWidth(Marker, 15);
    m_grid->setColumnWidth(Code, 1425 / 15);
    m_grid->setColumnWidth(Name, 3600 / 15);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumHeight(2400 / 15);
    auto *usersLayout = new QVBoxLayout(m_users);
    usersLayout->setContentsMargins(2, 2, 2, 2);
    usersLayout->addWidget(m_grid);
    m_users->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_users);
}

void UserSearchPanel::bind()
{
    connect(m_employeeId, &QLineEdit::returnPressed, this, &UserSearchPanel::search);
    connect(m_searchButton, &QPushButton::clicked, this, &UserSearchPanel::search);
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int) { rowClicked(row); });
}

void UserSearchPanel::search()
{
    m_found = m_search(m_employeeId->text());
    m_grid->clearContents();
    m_grid->setRowCount(int(m_found.size()));
    for (int row = 0; row < m_found.size(); ++row) {
        const EmployeeRow &e = m_found.at(row);
        m_grid->setItem(row, Code, new QTableWidgetItem(e.code));
        m_grid->setItem(row, Name, new QTableWidgetItem(e.name));
        m_grid->setItem(row, Position, new QTableWidgetItem(e.position));
    }
    m_users->setVisible(!m_found.isEmpty());
}

void UserSearchPanel::rowClicked(int row)
{
    if (row < 0 || row >= m_found.size())
        return;
    const EmployeeRow employee = m_found.at(row);
    m_employeeId->setText(employee.code);
    m_employee->setText(employee.name);
    m_users->hide();
    Q_EMIT employeeClicked(employee);
}

} // namespace kestrel
