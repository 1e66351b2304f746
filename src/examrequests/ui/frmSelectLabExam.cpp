// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/ui/frmSelectLabExam.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

frmSelectLabExam::frmSelectLabExam(Session &session, clsCodeLookup *codeLookup, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, codeLookup)
{
    setObjectName(QStringLiteral("frmSelectLabExam"));
    setWindowTitle(QStringLiteral("Select Laboratory Exams"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Exam code:"), this));
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("txtCode"));
    m_code->setPlaceholderText(QStringLiteral("Type a code or name and press Enter"));
    top->addWidget(m_code, 1);
    layout->addLayout(top);
    m_list = new QTableWidget(0, 2, this);
    m_list->setObjectName(QStringLiteral("lstExams"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Code"), QStringLiteral("Exam")});
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(m_list, 1);
    m_all = new QCheckBox(QStringLiteral("All exams"), this);
    m_all->setObjectName(QStringLiteral("chkAllExams"));
    layout->addWidget(m_all);
    auto *bottom = new QHBoxLayout;
    auto *remove = new QPushButton(QStringLiteral("&Remove"), this);
    remove->setObjectName(QStringLiteral("cmdRemove"));
    auto *view = new QPushButton(QStringLiteral("&View"), this);
    view->setObjectName(QStringLiteral("cmdView"));
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    bottom->addWidget(remove);
    bottom->addStretch(1);
    bottom->addWidget(view);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    resize(520, 420);

    connect(m_code, &QLineEdit::returnPressed, this, [this] {
        if (m_presenter.lookUp(m_code->text()))
            m_code->clear();
    });
    connect(m_all, &QCheckBox::toggled, this,
            [this](bool on) { m_presenter.setAllExams(on); });
    connect(remove, &QPushButton::clicked, this,
            [this] { m_presenter.removeExam(m_list->currentRow()); });
    connect(view, &QPushButton::clicked, this, [this] { m_presenter.view(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_presenter, &SelectLabExam::listChanged, this, &frmSelectLabExam::refresh);
}

bool frmSelectLabExam::open(const QString &idNum)
{
    const bool opened = m_presenter.open(idNum);
    refresh();
    return opened;
}

void frmSelectLabExam::refresh()
{
    const QList<SelectLabExam::Exam> &exams = m_presenter.exams();
    m_list->setRowCount(int(exams.size()));
    for (int row = 0; row < exams.size(); ++row) {
        m_list->setItem(row, 0, new QTableWidgetItem(exams.at(row).code));
        m_list->setItem(row, 1, new QTableWidgetItem(exams.at(row).name));
    }
    const bool all = m_presenter.allExams();
    m_all->setChecked(all);
    m_code->setEnabled(!all);
    m_list->setEnabled(!all);
}

} // namespace kestrel
