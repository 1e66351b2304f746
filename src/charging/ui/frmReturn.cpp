// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmReturn.h"

#include "core/db/NumberFormat.h"
#include "core/Session.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

constexpr int kReturnedColumn = 4;
constexpr int kRemarksColumn = 7;

} // namespace

frmReturn::frmReturn(Session &session, clsIssuedMedicines *issued, clsDrugPicker *drugPicker,
                     QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session, issued, drugPicker)
{
    setObjectName(QStringLiteral("frmReturn"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildUi();
    // Queued: a change told while the grid is still handing over an edited cell must not
    // replace that cell under it.
    connect(&m_presenter, &ReturnEntry::changed, this, &frmReturn::refresh,
            Qt::QueuedConnection);
    connect(&m_presenter, &ReturnEntry::quantityRequested, this, [this](int row) {
        m_grid->setCurrentCell(row, kReturnedColumn);
        m_grid->editItem(m_grid->item(row, kReturnedColumn));
    });
}

void frmReturn::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    auto *panel = new QFormLayout;
    auto field = [this, panel](const QString &label, const QString &name) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setReadOnly(true);
        auto *caption = new QLabel(label, this);
        panel->addRow(caption, edit);
        if (name == u"txtIdNum")
            m_stayLabel = caption;
        return edit;
    };
    m_patient = field(QStringLiteral("Patient Name"), QStringLiteral("txtPatient"));
    m_stay = field(QStringLiteral("Admission No."), QStringLiteral("txtIdNum"));
    m_hospNum = field(QStringLiteral("Hospital No."), QStringLiteral("txtHospNum"));
    m_room = field(QStringLiteral("Room"), QStringLiteral("txtRoom"));
    layout->addLayout(panel);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("flexMSEntry"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setVisible(false);
    layout->addWidget(m_grid, 1);
    connect(m_grid, &QTableWidget::cellChanged, this, &frmReturn::cellEdited);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) {
        const QSignalBlocker block(m_upDown);
        const bool valid = row >= 0 && row < m_presenter.lines().size();
        m_upDown->setEnabled(valid);
        if (valid) {
            const ReturnLine &l = m_presenter.lines().at(row);
            m_upDown->setMaximum(int(l.issued));
            m_upDown->setValue(int(l.returned));
        }
    });

    auto *buttons = new QHBoxLayout;
    auto button = [this, buttons](const QString &caption, const QString &name) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    QPushButton *entry = button(QStringLiteral("&Issued Items"), QStringLiteral("cmdEntry"));
    buttons->addWidget(new QLabel(QStringLiteral("Qty. Returned"), this));
    m_upDown = new QSpinBox(this);
    m_upDown->setObjectName(QStringLiteral("UpDown1"));
    m_upDown->setRange(0, 0);
    m_upDown->setEnabled(false);
    buttons->addWidget(m_upDown);
    buttons->addStretch(1);
    QPushButton *clear = button(QStringLiteral("&Clear Row"), QStringLiteral("cmdClearRow"));
    QPushButton *post = button(QStringLiteral("&Post"), QStringLiteral("cmdPost"));
    QPushButton *list =
        button(QStringLiteral("&List of Posted Medicines"), QStringLiteral("cmdListPosted"));
    QPushButton *close = button(QStringLiteral("&Close"), QStringLiteral("cmdClose"));
    layout->addLayout(buttons);

    connect(entry, &QPushButton::clicked, &m_presenter, &ReturnEntry::addIssued);
    connect(clear, &QPushButton::clicked, this,
            [this] { m_presenter.clearRow(m_grid->currentRow()); });
    connect(post, &QPushButton::clicked, &m_presenter, &ReturnEntry::post);
    connect(list, &QPushButton::clicked, this, &frmReturn::postedListRequested);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_upDown, &QSpinBox::valueChanged, this, &frmReturn::quantityStepped);
    resize(860, 420);
}

bool frmReturn::open(bool medicines)
{
    if (!m_presenter.open(medicines))
        return false;
    setWindowTitle(m_presenter.caption());
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    m_patient->setText(stay.PatientName);
    m_stay->setText(stay.IdNum);
    m_stayLabel->setText(m_presenter.stayLabel());
    m_hospNum->setText(stay.HospNum);
    m_room->setText(stay.RoomID);
    refresh();
    return true;
}

void frmReturn::refresh()
{
    m_filling = true;
    const QStringList headers = m_presenter.headers();
    m_grid->setColumnCount(int(headers.size()));
    m_grid->setHorizontalHeaderLabels(headers);
    const QList<ReturnLine> &lines = m_presenter.lines();
    m_grid->setRowCount(int(lines.size()));
    for (int r = 0; r < lines.size(); ++r) {
        const ReturnLine &l = lines.at(r);
        const QStringList cells{l.chargeSlip,          l.item,
                                l.description,         numberText(l.issued),
                                l.returnedText,        numberText(l.stock),
                                l.returned > 0 ? ReturnEntry::amountText(l.amount) : QString(),
                                l.remarks};
        for (int c = 0; c < headers.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.value(c));
            if (c != kReturnedColumn && c != kRemarksColumn)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_grid->setItem(r, c, item);
        }
    }
    m_grid->resizeColumnsToContents();
    m_filling = false;
}

void frmReturn::cellEdited(int row, int column)
{
    if (m_filling)
        return;
    const QString text = m_grid->item(row, column)->text();
    if (column == kReturnedColumn)
        m_presenter.setReturned(row, text);
    else if (column == kRemarksColumn)
        m_presenter.setRemarks(row, text);
}

void frmReturn::quantityStepped(int value)
{
    const int row = m_grid->currentRow();
    if (row >= 0 && value > 0)
        m_presenter.setReturned(row, QString::number(value));
}

void frmReturn::closeEvent(QCloseEvent *event)
{
    if (!m_presenter.mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace kestrel
