// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ui/frmRevokedRequests.h"

#include "scheduling/ui/ScheduleWidgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

using schedulingui::named;

namespace {

// The hospital's colour 80FF80 (blue-green-red): light green.
const QColor kAcknowledged(0x80, 0xFF, 0x80);
// The request number (1) and the acknowledgement status (13) are kept but not shown.
constexpr int kStatusColumn = 13;

} // namespace

frmRevokedRequests::frmRevokedRequests(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmRevokedRequests"));
    setWindowTitle(QStringLiteral("Revoked Requests Monitoring"));
    auto *layout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(QStringLiteral("List of Revoked Requests"));
    auto *box = new QVBoxLayout(frame);
    m_grid = schedulingui::grid(QStringLiteral("grdRevoked"),
                                {200, 0, 1500, 1500, 1500, 2500, 1800, 1500, 2500, 1300, 1800,
                                 1800, 0, 0});
    const QString header = QStringLiteral(
        "  |<Last Name|<First Name|<Middle Name|<Exam Name (Code)|<Date/Time Revoked|<Revoked By "
        "|<Remarks     |<Adm. No.  |<Date/Time Acknowledged |<Acknowledged By  ");
    const QStringList titles = header.split(u'|');
    m_grid->setHorizontalHeaderItem(0, new QTableWidgetItem(titles.at(0)));
    for (int i = 1; i < titles.size(); ++i)
        m_grid->setHorizontalHeaderItem(i + 1, new QTableWidgetItem(titles.at(i).mid(1)));
    box->addWidget(m_grid, 1);
    auto *legend = named(new QLabel(QStringLiteral("Acknowledged")), QStringLiteral("lblLegend"));
    legend->setAutoFillBackground(true);
    legend->setStyleSheet(QStringLiteral("background-color: #80ff80; padding: 2px;"));
    auto *notes = new QHBoxLayout;
    notes->addWidget(legend);
    notes->addWidget(new QLabel(QStringLiteral("Note: This is a list of revoked requests for the "
                                               "last few hours. Acknowledge item to stop "
                                               "notification.")),
                     1);
    box->addLayout(notes);
    layout->addWidget(frame, 1);
    auto *buttons = new QHBoxLayout;
    auto *refresh = named(new QPushButton(QStringLiteral("&Refresh")), QStringLiteral("Command1"));
    auto *acknowledge = named(new QPushButton(QStringLiteral("&Acknowledge")),
                              QStringLiteral("cmdAcknowledge"));
    auto *close = named(new QPushButton(QStringLiteral("&Close")), QStringLiteral("cmdClose"));
    buttons->addStretch();
    for (QPushButton *b : {refresh, acknowledge, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(&m_presenter, &RevokedRequests::rowsChanged, this, &frmRevokedRequests::showRows);
    connect(refresh, &QPushButton::clicked, this, [this] { m_presenter.load(); });
    connect(acknowledge, &QPushButton::clicked, this, [this] {
        const auto chosen = m_grid->selectedItems();
        if (m_presenter.acknowledge(chosen.isEmpty() ? -1 : chosen.first()->row()) ==
            RevokedRequests::Outcome::Done)
            Q_EMIT acknowledgedOne();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    m_presenter.load();
}

void frmRevokedRequests::showRows()
{
    const RowSet &rows = m_presenter.rows();
    m_grid->clearContents();
    m_grid->setRowCount(int(rows.count()));
    for (int r = 0; r < rows.count(); ++r) {
        const Row &row = rows.at(r);
        // The request number and the ten shown columns, then the status.
        for (int c = 0; c < 11 && c < row.columnCount(); ++c)
            m_grid->setItem(r, c + 1, new QTableWidgetItem(row.value(c).toString()));
        m_grid->setItem(r, kStatusColumn, new QTableWidgetItem(row.trimmed(u"Status")));
        if (m_presenter.acknowledged(r)) {
            for (int c = 0; c < m_grid->columnCount(); ++c) {
                if (!m_grid->item(r, c))
                    m_grid->setItem(r, c, new QTableWidgetItem);
                m_grid->item(r, c)->setBackground(kAcknowledged);
            }
        }
    }
}

} // namespace kestrel
