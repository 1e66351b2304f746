// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmSearchRecievable.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

// The legend's colours: billed accounts and cash-basis patients.
const QColor kBilled(0, 0, 128);
const QColor kCashBasis(192, 0, 0);

// Column widths in twips, fifteen to a pixel.
constexpr int kWidths[] = {300, 1200, 1200, 3600, 1700, 1700, 1700};

QString dateText(const QDate &day)
{
    return day.isValid() ? day.toString(QStringLiteral("MM/dd/yyyy")) : QString();
}

} // namespace

frmSearchRecievable::frmSearchRecievable(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmSearchRecievable"));
    setWindowTitle(QStringLiteral("Search Patient"));
    setModal(true);
    buildUi();
}

void frmSearchRecievable::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("Patient Searching"), this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    heading->setFont(bold);
    layout->addWidget(heading);

    auto *criteria = new QGridLayout;
    using Category = ReceivableSearch::Category;
    const QList<std::pair<Category, QString>> boxes{
        {Category::LastName, QStringLiteral("txtLastName")},
        {Category::HospitalNumber, QStringLiteral("txtHospNum")},
        {Category::AdmissionNumber, QStringLiteral("txtIdNum")}};
    for (const auto &[category, name] : boxes) {
        const int row = int(m_boxes.size());
        criteria->addWidget(new QLabel(ReceivableSearch::prompt(category), this), row, 0);
        auto *box = new QLineEdit(this);
        box->setObjectName(name);
        criteria->addWidget(box, row, 1);
        connect(box, &QLineEdit::returnPressed, this,
                [this, category = category] { search(category); });
        m_boxes << box;
    }
    auto *type = new QGroupBox(this);
    auto *typeLayout = new QVBoxLayout(type);
    m_outpatients = new QRadioButton(QStringLiteral("Out Patient"), type);
    m_outpatients->setObjectName(QStringLiteral("optPatientType(0)"));
    m_inpatients = new QRadioButton(QStringLiteral("In Patient"), type);
    m_inpatients->setObjectName(QStringLiteral("optPatientType(1)"));
    m_inpatients->setChecked(true);
    typeLayout->addWidget(m_outpatients);
    typeLayout->addWidget(m_inpatients);
    criteria->addWidget(type, 0, 2, 3, 1);
    criteria->setColumnStretch(1, 1);
    layout->addLayout(criteria);

    const QStringList headers = ReceivableSearch::headers();
    m_list = new QTableWidget(0, int(headers.size()), this);
    m_list->setObjectName(QStringLiteral("mshflexPatient"));
    m_list->setHorizontalHeaderLabels(headers);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->verticalHeader()->hide();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    for (int c = 0; c < int(std::size(kWidths)); ++c)
        m_list->setColumnWidth(c, kWidths[c] / 15);
    m_list->setMinimumHeight(300);
    m_list->installEventFilter(this);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int row) { pick(row); });
    layout->addWidget(m_list, 1);

    auto *bottom = new QHBoxLayout;
    for (const auto &[caption, colour] :
         {std::pair{QStringLiteral("Billed Patient"), kBilled},
          std::pair{QStringLiteral("Cash Basis Patient"), kCashBasis}}) {
        auto *legend = new QLabel(caption, this);
        legend->setStyleSheet(QStringLiteral("color: %1").arg(colour.name()));
        bottom->addWidget(legend);
    }
    bottom->addStretch(1);
    m_loading = new QLabel(QStringLiteral("Loading..."), this);
    m_loading->setObjectName(QStringLiteral("lblLoading"));
    m_loading->hide();
    bottom->addWidget(m_loading);
    layout->addLayout(bottom);
    resize(12000 / 15, 6000 / 15);
}

void frmSearchRecievable::search(ReceivableSearch::Category category)
{
    const int box = category == ReceivableSearch::Category::HospitalNumber    ? 1
                    : category == ReceivableSearch::Category::AdmissionNumber ? 2
                                                                              : 0;
    m_loading->show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_presenter.search(category, m_inpatients->isChecked(), m_boxes.at(box)->text());
    m_loading->hide();
    fill();
    if (m_list->rowCount() > 0) {
        m_list->selectRow(0);
        m_list->setFocus();
    }
}

void frmSearchRecievable::fill()
{
    const QList<ReceivableAccountRow> &rows = m_presenter.rows();
    m_list->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const ReceivableAccountRow &a = rows.at(i);
        const QStringList cells{QString(),           a.hospNum,
                                a.idNum,             a.patientName,
                                dateText(a.admitted), dateText(a.discharged),
                                dateText(a.billed)};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            item->setForeground(a.cashBasis ? kCashBasis : kBilled);
            m_list->setItem(i, c, item);
        }
    }
}

bool frmSearchRecievable::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_list->currentRow() >= 0) {
            pick(m_list->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSearchRecievable::pick(int row)
{
    m_picked = m_presenter.stayOf(row);
    if (m_picked.isSelected())
        accept();
}

} // namespace kestrel
