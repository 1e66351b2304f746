// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmListPosted.h"

#include "charging/returns/PostedMedicines.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QTableWidget *table(QWidget *parent, const QString &name, const QStringList &headers)
{
    auto *t = new QTableWidget(parent);
    t->setObjectName(name);
    t->setColumnCount(int(headers.size()));
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->setVisible(false);
    return t;
}

void fill(QTableWidget *t, const QList<QStringList> &rows)
{
    t->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c)
            t->setItem(r, c, new QTableWidgetItem(rows.at(r).at(c)));
    }
    t->resizeColumnsToContents();
}

} // namespace

frmListPosted::frmListPosted(Session &session, ReportService *reports, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_prints(session, reports)
{
    setObjectName(QStringLiteral("frmListPosted"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    m_posted = table(this, QStringLiteral("mshflexPosted"),
                     {QStringLiteral("Charge Slip"), QStringLiteral("Code"),
                      QStringLiteral("Description"), QStringLiteral("Qty"),
                      QStringLiteral("Returned"), QStringLiteral("Amount"),
                      QStringLiteral("Credited"), QStringLiteral("Date Posted"),
                      QStringLiteral("Status")});
    layout->addWidget(m_posted, 2);
    layout->addWidget(new QLabel(QStringLiteral("Credit Memos"), this));
    m_memos = table(this, QStringLiteral("mshflexCreditMemo"),
                    {QStringLiteral("Credit Memo"), QStringLiteral("Charge Slip"),
                     QStringLiteral("Code"), QStringLiteral("Description"),
                     QStringLiteral("Qty"), QStringLiteral("Amount"), QStringLiteral("Date")});
    layout->addWidget(m_memos, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto button = [this, buttons](const QString &caption, const QString &name,
                                  auto print) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, print);
    };
    button(QStringLiteral("Print &Posted"), QStringLiteral("cmdPrintPosted"),
           [this] { m_prints.printPosted(); });
    button(QStringLiteral("Print &Drug Profile"), QStringLiteral("cmdPrintProfile"),
           [this] { m_prints.printDrugProfile(); });
    button(QStringLiteral("&Reprint CM"), QStringLiteral("cmdReprintCM"),
           [this] { m_prints.printCreditMemo(chosenCreditMemo(), true); });
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(close);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    layout->addLayout(buttons);
    resize(860, 480);
}

bool frmListPosted::load()
{
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    if (!stay.isSelected()) {
        m_session.notifier().message(QStringLiteral("Please select patient."),
                                     QStringLiteral("Notification"), Notifier::Icon::Information);
        return false;
    }
    setWindowTitle(PostedMedicines::caption(stay.isOutpatientStay()));
    PostedMedicines lists(m_session.db());
    auto posted = lists.posted(stay.IdNum);
    auto memos = lists.creditMemos(stay.IdNum);
    if (!posted || !memos) {
        m_session.notifier().errorBox(!posted ? posted.error() : memos.error());
        return false;
    }
    QList<QStringList> rows;
    for (const PostedMedicine &m : std::as_const(*posted))
        rows << QStringList{m.chargeSlip,
                            m.item,
                            m.description,
                            numberText(m.quantity),
                            numberText(m.returned),
                            formatNumber(m.amount, u"#,##0.00"),
                            formatNumber(m.credited, u"#,##0.00"),
                            m.posted.toString(QStringLiteral("MM/dd/yyyy hh:mm AP")),
                            m.revoked ? QStringLiteral("Revoked") : QString()};
    fill(m_posted, rows);
    rows.clear();
    for (const CreditMemoLine &c : std::as_const(*memos))
        rows << QStringList{c.creditMemo,
                            c.chargeSlip,
                            c.item,
                            c.description,
                            numberText(c.quantity),
                            formatNumber(c.amount, u"#,##0.00"),
                            c.when.toString(QStringLiteral("MM/dd/yyyy hh:mm AP"))};
    fill(m_memos, rows);
    return true;
}

} // namespace kestrel

namespace kestrel {

QString frmListPosted::chosenCreditMemo() const
{
    const int row = m_memos->currentRow();
    if (row >= 0 && m_memos->item(row, 0))
        return m_memos->item(row, 0)->text();
    // A stay with a single credit memo needs no choosing.
    QString only;
    for (int r = 0; r < m_memos->rowCount(); ++r) {
        const QString memo = m_memos->item(r, 0) ? m_memos->item(r, 0)->text() : QString();
        if (!only.isEmpty() && memo != only)
            return {};
        only = memo;
    }
    return only;
}

} // namespace kestrel
