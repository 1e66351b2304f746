// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/ui/ExamListWindow.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

ExamListWindow::ExamListWindow(Session &session, const ExamDepartment &department, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, department)
{
    setObjectName(department.form);
    setWindowTitle(department.caption);
    auto *layout = new QVBoxLayout(this);
    m_list = new QListWidget;
    m_list->setObjectName(department.listName);
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_list, 1);
    // The department the orders carry, kept on the window as the hospital's screens keep it.
    auto *code = new QLineEdit(department.code);
    code->setObjectName(QStringLiteral("txtDepartment"));
    code->setVisible(false);
    layout->addWidget(code);
    auto *buttons = new QHBoxLayout;
    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(420, 460);

    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        m_presenter.choose(item->data(Qt::UserRole).toInt());
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

bool ExamListWindow::open(const QString &idNum)
{
    const bool read = m_presenter.load(idNum);
    showExams();
    return read;
}

void ExamListWindow::showExams()
{
    m_list->clear();
    for (int i = 0; i < m_presenter.count(); ++i) {
        auto *item = new QListWidgetItem(m_presenter.exam(i).name, m_list);
        item->setData(Qt::UserRole, i);
    }
    if (const QString empty = m_presenter.emptyText(); !empty.isEmpty()) {
        auto *item = new QListWidgetItem(empty, m_list);
        item->setData(Qt::UserRole, -1);
        item->setFlags(Qt::NoItemFlags);
    }
}

} // namespace kestrel
