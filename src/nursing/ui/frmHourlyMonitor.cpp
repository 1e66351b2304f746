// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/frmHourlyMonitor.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

using namespace nursing;

namespace {

// The grid's columns: TIME, four intakes, their total, four outputs, their total, Remarks.
constexpr int kIntakeTotal = 5;
constexpr int kOutputTotal = 10;
constexpr int kRemarks = 11;

// The grid column of amount `a` of HourlyRow.
int columnOf(int a)
{
    return a < HourlyRow::Urine ? a + 1 : a + 2;
}

QLineEdit *shown(const QString &name, const QString &text)
{
    auto *edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

} // namespace

frmHourlyMonitor::frmHourlyMonitor(Session &session, ReportService *reports, QWidget *parent)
    : QWidget(parent)
    , m_sheet(session, reports)
{
    setObjectName(QStringLiteral("frmHourlyMonitor"));
    setWindowTitle(QStringLiteral("Hourly Monitoring Sheet"));
    build();
}

void frmHourlyMonitor::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *header = new QGridLayout;
    layout->addLayout(header);
    m_date = new QDateEdit;
    m_date->setObjectName(QStringLiteral("dtpDate"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    connect(m_date, &QDateEdit::dateChanged, this, [this](const QDate &day) {
        if (!m_sheet.setDate(day)) {
            const QSignalBlocker quiet(m_date);
            m_date->setDate(m_sheet.date());
        }
        showDay();
    });
    m_saved = new QLabel;
    m_saved->setObjectName(QStringLiteral("lblSavedDays"));

    QStringList captions{QStringLiteral("TIME")};
    for (int a = 0; a < HourlyRow::AmountCount; ++a) {
        captions << (a == HourlyRow::Mainline ? QStringLiteral("PARENTERALS\nMainline")
                                              : hourlyAmountCaptions().at(a));
        if (a == HourlyRow::OralNgt || a == HourlyRow::Others)
            captions << QStringLiteral("Total /Hr");
    }
    captions << QStringLiteral("Remarks");
    m_grid = new QTableWidget(kRows, int(captions.size()));
    m_grid->setObjectName(QStringLiteral("grdEntry"));
    m_grid->setHorizontalHeaderLabels(captions);
    m_grid->horizontalHeader()->setSectionResizeMode(kRemarks, QHeaderView::Stretch);
    auto *groups = new QHBoxLayout;
    groups->addWidget(new QLabel(QStringLiteral("INTAKE (in cc)")), 5);
    groups->addWidget(new QLabel(QStringLiteral("OUTPUT (in cc)")), 5);
    groups->addStretch(3);
    connect(m_grid, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (m_filling)
            return;
        if (column != kRemarks && column != 0) {
            m_filling = true;
            showRowTotals(row);
            m_filling = false;
        }
    });

    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(QStringLiteral("&Save/Print"));
    save->setObjectName(QStringLiteral("cmdSave"));
    auto *remove = new QPushButton(QStringLiteral("&Delete"));
    remove->setObjectName(QStringLiteral("cmdDelete"));
    auto *print = new QPushButton(QStringLiteral("&Print"));
    print->setObjectName(QStringLiteral("cmdPrint"));
    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addStretch(1);
    for (QPushButton *b : {save, remove, print, close})
        buttons->addWidget(b);
    connect(save, &QPushButton::clicked, this, [this] {
        takeGrid();
        if (m_sheet.saveAndPrint() || !m_sheet.isChanged())
            showDay();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_sheet.deleteDay())
            showDay();
    });
    connect(print, &QPushButton::clicked, this, [this] {
        takeGrid();
        m_sheet.print();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    m_header = header;
    layout->addLayout(groups);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(1000, 640);
}

bool frmHourlyMonitor::open(const CurrentPatientRecord &stay)
{
    if (!m_sheet.open(stay))
        return false;
    const QList<std::pair<QString, QString>> fields = {
        {QStringLiteral("Patient Name:"), stay.PatientName},
        {QStringLiteral("Hospital No.:"), stay.HospNum},
        {QStringLiteral("Admission No.:"), stay.IdNum.trimmed()},
        {QStringLiteral("Room No.:"), stay.RoomID},
        {QStringLiteral("Attending Physician:"), stay.AttendingDoctor}};
    for (int i = 0; i < fields.size(); ++i) {
        m_header->addWidget(new QLabel(fields.at(i).first), i / 3, (i % 3) * 2);
        m_header->addWidget(shown(QStringLiteral("txtHeader_%1").arg(i), fields.at(i).second),
                            i / 3, (i % 3) * 2 + 1);
    }
    m_header->addWidget(new QLabel(QStringLiteral("Date:")), 1, 4);
    m_header->addWidget(m_date, 1, 5);
    m_header->addWidget(m_saved, 2, 0, 1, 6);
    const QSignalBlocker quiet(m_date);
    m_date->setMaximumDate(m_sheet.today());
    m_date->setDate(m_sheet.date());
    showDay();
    return true;
}

void frmHourlyMonitor::showDay()
{
    m_filling = true;
    m_grid->clearContents();
    const QList<HourlyRow> &rows = m_sheet.rows();
    m_grid->setRowCount(std::max(kRows, int(rows.size()) + 4));
    for (int r = 0; r < rows.size(); ++r) {
        const HourlyRow &row = rows.at(r);
        m_grid->setItem(r, 0, new QTableWidgetItem(row.time));
        for (int a = 0; a < HourlyRow::AmountCount; ++a) {
            const auto &cc = row.cc[std::size_t(a)];
            m_grid->setItem(r, columnOf(a), new QTableWidgetItem(cc ? QString::number(*cc)
                                                                    : QString()));
        }
        m_grid->setItem(r, kRemarks, new QTableWidgetItem(row.remarks));
        showRowTotals(r);
    }
    m_filling = false;
    QStringList days;
    for (const QDate &d : m_sheet.savedDays())
        days << d.toString(QStringLiteral("MM/dd/yyyy"));
    m_saved->setText(days.isEmpty() ? QStringLiteral("No sheet saved yet.")
                                    : QStringLiteral("Sheets saved: ") + days.join(u", "));
}

void frmHourlyMonitor::showRowTotals(int row)
{
    int intake = 0;
    int output = 0;
    for (int a = 0; a < HourlyRow::AmountCount; ++a) {
        const QTableWidgetItem *item = m_grid->item(row, columnOf(a));
        const int cc = item ? item->text().trimmed().toInt() : 0;
        (a < HourlyRow::Urine ? intake : output) += cc;
    }
    for (const auto &[column, total] : {std::pair{kIntakeTotal, intake}, {kOutputTotal, output}}) {
        auto *item = new QTableWidgetItem(QString::number(total));
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        m_grid->setItem(row, column, item);
    }
}

std::optional<QString> frmHourlyMonitor::takeGrid()
{
    QList<QStringList> cells;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        const auto text = [&](int column) {
            const QTableWidgetItem *item = m_grid->item(r, column);
            return item ? item->text() : QString();
        };
        QStringList row{text(0)};
        for (int a = 0; a < HourlyRow::AmountCount; ++a)
            row << text(columnOf(a));
        row << text(kRemarks);
        cells << row;
    }
    return m_sheet.setCells(cells);
}

void frmHourlyMonitor::closeEvent(QCloseEvent *event)
{
    if (m_sheet.closeRequested())
        event->accept();
    else
        event->ignore();
}

} // namespace kestrel
