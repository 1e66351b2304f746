// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/frmFluid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

using namespace nursing;

namespace {

// The rows of the sheet, top to bottom; -1 for a heading or a total.
enum SheetRow {
    InputHeading, Oral, Parenteral, InputTotal, OutputHeading, Urine, Drainage, Others,
    OutputTotal, Balance, RowCount
};

const QStringList kRowCaptions = {
    QStringLiteral("INPUT"),  QStringLiteral("Oral:"),     QStringLiteral("Parenteral:"),
    QStringLiteral("Total:"), QStringLiteral("OUTPUT"),    QStringLiteral("Urine:"),
    QStringLiteral("Drainage:"), QStringLiteral("Others:"), QStringLiteral("Total:"),
    QStringLiteral("BALANCE (Intake - Output):")};

// The typed rows in the order FluidAmounts keeps them.
constexpr SheetRow kTypedRows[] = {Oral, Parenteral, Urine, Drainage, Others};

// The value of `row` in `a`; for a typed row its amount.
int valueOf(const FluidAmounts &a, int row)
{
    switch (row) {
    case Oral: return a.oral;
    case Parenteral: return a.parenteral;
    case InputTotal: return a.intake();
    case Urine: return a.urine;
    case Drainage: return a.drainage;
    case Others: return a.others;
    case OutputTotal: return a.output();
    case Balance: return a.balance();
    default: return 0;
    }
}

} // namespace

frmFluid::frmFluid(Session &session, ReportService *reports, QWidget *parent)
    : QWidget(parent)
    , m_sheet(session, reports)
{
    setObjectName(QStringLiteral("frmFluid"));
    setWindowTitle(QStringLiteral("Fluid Intake and Output Entry"));
    build();
}

void frmFluid::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *header = new QHBoxLayout;
    m_patient = new QLineEdit;
    m_patient->setObjectName(QStringLiteral("txtPatient"));
    m_patient->setReadOnly(true);
    m_date = new QDateEdit;
    m_date->setObjectName(QStringLiteral("dtpDate"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    header->addWidget(new QLabel(QStringLiteral("Patient:")));
    header->addWidget(m_patient, 1);
    header->addWidget(new QLabel(QStringLiteral("Date:")));
    header->addWidget(m_date);
    layout->addLayout(header);
    connect(m_date, &QDateEdit::dateChanged, this, [this](const QDate &day) {
        if (!m_sheet.setDate(day)) {
            const QSignalBlocker quiet(m_date);
            m_date->setDate(m_sheet.date());
        }
        showDay();
    });

    const QList<FluidShift> &shifts = fluidShifts();
    m_grid = new QTableWidget(RowCount, int(shifts.size()) + 1);
    m_grid->setObjectName(QStringLiteral("grdFluid"));
    QStringList columns;
    for (const FluidShift &s : shifts)
        columns << s.caption;
    columns << QStringLiteral("24 Hrs. TOTAL");
    m_grid->setHorizontalHeaderLabels(columns);
    m_grid->setVerticalHeaderLabels(kRowCaptions);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < RowCount; ++row) {
        for (int column = 0; column < m_grid->columnCount(); ++column) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(row, column, item);
        }
    }
    for (int n = 0; n < shifts.size(); ++n) {
        QList<QSpinBox *> amounts;
        for (SheetRow row : kTypedRows) {
            auto *box = new QSpinBox;
            box->setObjectName(QStringLiteral("txtFluid_%1_%2").arg(row).arg(n));
            box->setRange(0, kMostCcPerShift);
            box->setSuffix(QStringLiteral(" cc"));
            box->setAlignment(Qt::AlignRight);
            connect(box, &QSpinBox::valueChanged, this, [this, n] {
                m_sheet.setAmounts(fluidShifts().at(n).code, typed(n));
                showTotals();
            });
            m_grid->setCellWidget(row, n, box);
            amounts << box;
        }
        m_amounts << amounts;
    }
    layout->addWidget(m_grid, 1);

    auto *buttons = new QHBoxLayout;
    m_shift = new QComboBox;
    m_shift->setObjectName(QStringLiteral("cboShift"));
    for (const FluidShift &s : shifts)
        m_shift->addItem(s.caption, s.code);
    auto *save = new QPushButton(QStringLiteral("&Save"));
    save->setObjectName(QStringLiteral("cmdSave"));
    auto *print = new QPushButton(QStringLiteral("&Print"));
    print->setObjectName(QStringLiteral("cmdPrint"));
    auto *printAll = new QPushButton(QStringLiteral("Print &All"));
    printAll->setObjectName(QStringLiteral("cmdPrintAll"));
    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(new QLabel(QStringLiteral("Shift:")));
    buttons->addWidget(m_shift);
    buttons->addStretch(1);
    for (QPushButton *b : {save, print, printAll, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this,
            [this] { m_sheet.save(m_shift->currentData().toString()); });
    connect(print, &QPushButton::clicked, this, [this] { m_sheet.print(false); });
    connect(printAll, &QPushButton::clicked, this, [this] { m_sheet.print(true); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    resize(720, 440);
}

bool frmFluid::open(const CurrentPatientRecord &stay)
{
    if (!m_sheet.open(stay))
        return false;
    m_patient->setText(stay.isSelected() ? stay.IdNum.trimmed() + u"  " + stay.PatientName
                                         : QString());
    const QSignalBlocker quiet(m_date);
    m_date->setMaximumDate(m_sheet.today());
    m_date->setDate(m_sheet.date());
    showDay();
    return true;
}

FluidAmounts frmFluid::typed(int n) const
{
    const QList<QSpinBox *> &b = m_amounts.at(n);
    return FluidAmounts{b.at(0)->value(), b.at(1)->value(), b.at(2)->value(), b.at(3)->value(),
                        b.at(4)->value()};
}

void frmFluid::showDay()
{
    for (int n = 0; n < m_amounts.size(); ++n) {
        const FluidAmounts a = m_sheet.amounts(fluidShifts().at(n).code);
        for (int i = 0; i < m_amounts.at(n).size(); ++i) {
            const QSignalBlocker quiet(m_amounts.at(n).at(i));
            m_amounts.at(n).at(i)->setValue(valueOf(a, kTypedRows[i]));
        }
    }
    showTotals();
}

void frmFluid::showTotals()
{
    const QList<FluidShift> &shifts = fluidShifts();
    const FluidAmounts total = m_sheet.total();
    for (int row : {int(InputTotal), int(OutputTotal), int(Balance)}) {
        for (int n = 0; n < shifts.size(); ++n)
            m_grid->item(row, n)->setText(
                QString::number(valueOf(m_sheet.amounts(shifts.at(n).code), row)));
    }
    for (int row = Oral; row < RowCount; ++row) {
        if (row != OutputHeading)
            m_grid->item(row, int(shifts.size()))->setText(QString::number(valueOf(total, row)));
    }
}

} // namespace kestrel
