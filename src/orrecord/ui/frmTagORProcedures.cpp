// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/ui/frmTagORProcedures.h"

#include "core/ui/KeyFilter.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kestrel {

frmTagORProcedures::frmTagORProcedures(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmTagORProcedures"));
    setWindowTitle(QStringLiteral("OR Revenue - Procedure Tagging"));
    auto *grid = new QGridLayout(this);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("txtCode"));
    installUpperCase(m_code);
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("txtDesc"));
    installUpperCase(m_description);
    m_procedure = new QCheckBox(QStringLiteral("OR Procedure"), this);
    m_procedure->setObjectName(QStringLiteral("chkProcedure"));
    auto *save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("cmdSave"));
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    grid->addWidget(new QLabel(QStringLiteral("Code"), this), 0, 0);
    grid->addWidget(m_code, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Item"), this), 1, 0);
    grid->addWidget(m_description, 1, 1, 1, 3);
    grid->addWidget(m_procedure, 2, 1);
    grid->addWidget(save, 3, 2);
    grid->addWidget(close, 3, 3);
    grid->setColumnStretch(1, 1);
    connect(m_code, &QLineEdit::returnPressed, this, &frmTagORProcedures::searchItem);
    connect(m_description, &QLineEdit::returnPressed, this, [this] {
        m_code->setText(m_description->text());
        searchItem();
    });
    connect(save, &QPushButton::clicked, this,
            [this] { m_presenter.save(m_procedure->isChecked()); });
    connect(close, &QPushButton::clicked, this, [this] {
        if (auto *sub = parentWidget(); sub && sub->inherits("QMdiSubWindow"))
            sub->close();
        else
            QWidget::close();
    });
    resize(560, 160);
}

void frmTagORProcedures::searchItem()
{
    const auto rows = m_presenter.search(m_code->text());
    QString code = rows.size() == 1 ? rows.first().first : QString();
    for (const auto &[c, name] : rows) {
        if (c.compare(m_code->text().trimmed(), Qt::CaseInsensitive) == 0)
            code = c;
    }
    if (code.isEmpty() && rows.size() > 1) {
        QDialog dialog(this);
        dialog.setWindowTitle(QStringLiteral("Search"));
        auto *layout = new QVBoxLayout(&dialog);
        auto *list = new QListWidget(&dialog);
        for (const auto &[c, name] : rows) {
            auto *item = new QListWidgetItem(c + QStringLiteral("  ") + name, list);
            item->setData(Qt::UserRole, c);
        }
        list->setCurrentRow(0);
        layout->addWidget(list);
        auto *buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
        if (dialog.exec() == QDialog::Accepted && list->currentItem())
            code = list->currentItem()->data(Qt::UserRole).toString();
    }
    m_presenter.select(code);
    showItem();
}

void frmTagORProcedures::showItem()
{
    m_code->setText(m_presenter.code());
    m_description->setText(m_presenter.description());
    m_procedure->setChecked(m_presenter.isTagged());
}

} // namespace kestrel
