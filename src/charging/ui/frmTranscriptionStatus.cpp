// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmTranscriptionStatus.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

frmTranscriptionStatus::frmTranscriptionStatus(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmTranscriptionStatus"));
    setWindowTitle(QStringLiteral("Transcription Status"));
    auto *layout = new QVBoxLayout(this);
    m_grid = new QTableWidget(0, 8, this);
    m_grid->setObjectName(QStringLiteral("MSHFlexAssess"));
    m_grid->setHorizontalHeaderLabels({QString(), QStringLiteral("TRANSNUM"),
                                       QStringLiteral("PATIENT NAME"), QStringLiteral("CODE"),
                                       QStringLiteral("DESCRIPTION"), QStringLiteral("ASSESS #"),
                                       QStringLiteral("AMOUNT"), QStringLiteral("STATUS")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->setColumnWidth(0, 16);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { revokeCurrent(); });
    layout->addWidget(m_grid, 1);

    auto *bottom = new QHBoxLayout;
    auto *note = new QLabel(QStringLiteral("Double click the request to cancel/revoke."), this);
    note->setObjectName(QStringLiteral("lblNote"));
    bottom->addWidget(note, 1);
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdOption(0)"));
    auto *revoke = new QPushButton(QStringLiteral("&Revoke"), this);
    revoke->setObjectName(QStringLiteral("cmdOption(1)"));
    for (QPushButton *b : {revoke, close}) {
        b->setAutoDefault(false);
        bottom->addWidget(b);
    }
    layout->addLayout(bottom);
    connect(close, &QPushButton::clicked, this, &frmTranscriptionStatus::closeWindow);
    connect(revoke, &QPushButton::clicked, this, &frmTranscriptionStatus::revokeCurrent);
    connect(&m_presenter, &TranscriptionStatus::changed, this, &frmTranscriptionStatus::refresh);
    resize(760, 360);
}

void frmTranscriptionStatus::refresh()
{
    const QList<TranscriptionStatusLine> &lines = m_presenter.lines();
    m_grid->setRowCount(int(lines.size()));
    for (int r = 0; r < lines.size(); ++r) {
        const TranscriptionStatusLine &l = lines.at(r);
        const QStringList cells{QString(),     QString::number(l.transNum),
                                l.patientName, l.item,
                                l.description, l.assessment,
                                l.amount,      l.status};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            // The hospital's header centres the patient's name; the amount reads as a number.
            if (c == 2)
                item->setTextAlignment(Qt::AlignCenter);
            else if (c == 6)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c, item);
        }
    }
    m_grid->resizeColumnsToContents();
}

void frmTranscriptionStatus::revokeCurrent()
{
    m_presenter.revoke(m_grid->currentRow());
}

void frmTranscriptionStatus::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kestrel
