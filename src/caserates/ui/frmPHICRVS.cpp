// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "caserates/ui/frmPHICRVS.h"

#include "core/db/Database.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

frmPHICRVS::frmPHICRVS(Session &session, Kind kind, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_kind(kind)
{
    setObjectName(QStringLiteral("frmPHICRVS"));
    setWindowTitle(kind == Kind::Rvs ? QStringLiteral("PHIC Relative Value Scale")
                                     : QStringLiteral("ICD-10 Codes"));
    resize(720, 480);
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Code or description:")));
    m_key = new QLineEdit;
    m_key->setObjectName(QStringLiteral("txtSearch"));
    row->addWidget(m_key, 1);
    auto *find = new QPushButton(QStringLiteral("&Search"));
    find->setObjectName(QStringLiteral("cmdSearch"));
    row->addWidget(find);
    layout->addLayout(row);
    m_grid = new QTableWidget(0, 3);
    m_grid->setObjectName(QStringLiteral("grdRVS"));
    m_grid->setHorizontalHeaderLabels({kind == Kind::Rvs ? QStringLiteral("RVSCode")
                                                         : QStringLiteral("ICD"),
                                       QStringLiteral("Description"),
                                       kind == Kind::Rvs ? QStringLiteral("Unit")
                                                         : QStringLiteral("Case Rate")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_grid->verticalHeader()->hide();
    layout->addWidget(m_grid, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *choose = new QPushButton(QStringLiteral("S&elect"));
    choose->setObjectName(QStringLiteral("cmdSelect"));
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"));
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(choose);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(find, &QPushButton::clicked, this, &frmPHICRVS::search);
    connect(m_key, &QLineEdit::returnPressed, this, &frmPHICRVS::search);
    connect(choose, &QPushButton::clicked, this, &frmPHICRVS::select);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &frmPHICRVS::select);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<caserates::CodeHit> frmPHICRVS::pick(Session &session, Kind kind,
                                                   const QString &key, QWidget *parent)
{
    frmPHICRVS picker(session, kind, parent);
    picker.m_key->setText(key.trimmed());
    if (!key.trimmed().isEmpty())
        picker.search();
    if (picker.exec() != QDialog::Accepted)
        return std::nullopt;
    return picker.chosen();
}

void frmPHICRVS::search()
{
    const QString key = m_key->text().trimmed();
    Result<QList<caserates::CodeHit>> found =
        m_kind == Kind::Rvs ? caserates::searchCaseRateProcedures(m_session.db(), key)
                            : caserates::icdCodesStartingWith(m_session.db(), key);
    if (!found) {
        m_session.notifier().errorBox(found.error());
        return;
    }
    m_hits = *found;
    m_grid->setRowCount(0);
    if (m_hits.isEmpty()) {
        m_session.notifier().message(
            QStringLiteral("Sorry, no match for code or description was found."),
            QStringLiteral("Notification"), Notifier::Icon::Information);
        return;
    }
    m_grid->setRowCount(int(m_hits.size()));
    for (int i = 0; i < m_hits.size(); ++i) {
        const caserates::CodeHit &h = m_hits.at(i);
        m_grid->setItem(i, 0, new QTableWidgetItem(h.code));
        m_grid->setItem(i, 1, new QTableWidgetItem(h.description));
        m_grid->setItem(i, 2, new QTableWidgetItem(m_kind == Kind::Rvs ? numberText(h.units)
                                                                        : h.packageId));
    }
    m_grid->selectRow(0);
    m_grid->setFocus();
}

void frmPHICRVS::select()
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_hits.size())
        return;
    m_chosen = m_hits.at(row);
    accept();
}

} // namespace kestrel
