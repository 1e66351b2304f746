// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "assessment/ui/frmAssessment.h"

#include "assessment/ui/frmClinicalAssessmentRemarks.h"
#include "charging/ui/EntryGrid.h"
#include "core/components/Component.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

// Twips are 1/1440 inch: fifteen to a pixel at 96 dots per inch.
int pixels(int twips)
{
    return qRound(twips / 15.0);
}

} // namespace

frmAssessment::frmAssessment(Session &session, AssessmentKind kind,
                             ChargeEntry::Components components, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_prompts(session, this)
    , m_pricingPrompts(session, this)
    , m_presenter(session, kind, components, m_prompts, m_pricingPrompts)
{
    setObjectName(AssessmentEntry::formName(kind));
    setWindowTitle(AssessmentEntry::caption(kind));
    buildUi();
    bind();
}

frmAssessment::~frmAssessment() = default;

void frmAssessment::setReports(ReportService &reports)
{
    m_printer = std::make_unique<AssessmentSlipPrinter>(m_session, reports);
    m_presenter.setPrinter(m_printer.get());
}

bool frmAssessment::open(const WindowRequest &request)
{
    if (!m_presenter.open(request))
        return false;
    setWindowTitle(m_presenter.windowCaption());
    m_name->setText(m_presenter.patient().name);
    refresh();
    return true;
}

void frmAssessment::buildUi()
{
    const bool walkIn = m_presenter.kind() == AssessmentKind::WalkIn;
    auto *layout = new QVBoxLayout(this);

    // The patient: a walk-in's name is typed, the selected patient's is shown.
    auto *header = new QGridLayout;
    header->addWidget(new QLabel(QStringLiteral("Patient Name"), this), 0, 0);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_name->setReadOnly(!walkIn);
    m_name->setMaxLength(AssessmentSaving::kMaxNameLength);
    header->addWidget(m_name, 0, 1);
    m_id = new QLineEdit(this);
    m_id->setObjectName(QStringLiteral("txtId"));
    m_id->setReadOnly(true);
    if (walkIn) {
        m_cash = new QRadioButton(QStringLiteral("CASH"), this);
        m_cash->setObjectName(QStringLiteral("optCash"));
        m_cash->setChecked(true);
        m_erOpd = new QRadioButton(QStringLiteral("ER/OPD"), this);
        m_erOpd->setObjectName(QStringLiteral("optEROPD"));
        header->addWidget(m_cash, 0, 2);
        header->addWidget(m_erOpd, 0, 3);
        m_id->hide();
    } else {
        header->addWidget(new QLabel(QStringLiteral("Admission No."), this), 0, 2);
        header->addWidget(m_id, 0, 3);
    }
    header->setColumnStretch(1, 1);
    layout->addLayout(header);

    // Departments, the entry grid and its prompt.
    auto *entry = new QHBoxLayout;
    auto *deptFrame = new QGroupBox(QStringLiteral("Department Codes"), this);
    auto *deptLayout = new QVBoxLayout(deptFrame);
    m_departments = makeDepartmentList(deptFrame);
    deptLayout->addWidget(m_departments, 1);
    entry->addWidget(deptFrame);

    auto *gridColumn = new QVBoxLayout;
    m_grid = new EntryGrid(m_presenter.grid(), m_presenter, this);
    m_grid->setObjectName(QStringLiteral("mshflexEntry"));
    showChargeEntryColumns(*m_grid);
    gridColumn->addWidget(m_grid, 1);
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("lblTotal"));
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    gridColumn->addWidget(m_total);
    auto *messageFrame = new QGroupBox(QStringLiteral("Message"), this);
    auto *messageLayout = new QVBoxLayout(messageFrame);
    m_message = new QLabel(messageFrame);
    m_message->setObjectName(QStringLiteral("lblMessage"));
    messageLayout->addWidget(m_message);
    gridColumn->addWidget(messageFrame);
    entry->addLayout(gridColumn, 1);
    m_grid->setPromptLabel(m_message);
    layout->addLayout(entry, 1);

    // The assessments entered and the buttons.
    auto *listFrame = new QGroupBox(AssessmentEntry::listTitle(), this);
    auto *listLayout = new QVBoxLayout(listFrame);
    const QStringList headers = AssessmentEntry::listHeaders();
    m_list = new QTableWidget(0, int(headers.size()), listFrame);
    m_list->setObjectName(QStringLiteral("mshflexList"));
    m_list->setHorizontalHeaderLabels(headers);
    m_list->verticalHeader()->hide();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(1, pixels(4000));
    m_list->installEventFilter(this);
    listLayout->addWidget(m_list);
    auto *listButtons = new QHBoxLayout;
    for (const QString &caption : {QStringLiteral("Revoke"), QStringLiteral("Reprint")}) {
        auto *button = new QPushButton(caption, listFrame);
        button->setObjectName(QStringLiteral("cmdOption"));
        listButtons->addWidget(button);
    }
    if (m_presenter.kind() == AssessmentKind::Cash) {
        auto *memo = new QPushButton(QStringLiteral("Cash Credit Memo"), listFrame);
        memo->setObjectName(QStringLiteral("cmdCashCM"));
        listButtons->addWidget(memo);
    }
    if (m_presenter.kind() == AssessmentKind::Clinical) {
        auto *remarks = new QPushButton(QStringLiteral("Remarks / Specimen"), listFrame);
        remarks->setObjectName(QStringLiteral("cmdRemarks"));
        listButtons->addWidget(remarks);
    }
    listButtons->addStretch(1);
    listLayout->addLayout(listButtons);
    layout->addWidget(listFrame);

    auto *commands = new QHBoxLayout;
    commands->addStretch(1);
    for (const QString &caption :
         {QStringLiteral("&Save"), QStringLiteral("&Delete"), QStringLiteral("&Ignore All"),
          QStringLiteral("&Refresh"), QStringLiteral("&Close")}) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("Command1"));
        commands->addWidget(button);
    }
    layout->addLayout(commands);
    resize(pixels(15000), pixels(10500));
}

void frmAssessment::bind()
{
    AssessmentEntry &p = m_presenter;
    connect(&p, &AssessmentEntry::changed, this, &frmAssessment::refresh);
    connect(&p, &AssessmentEntry::editRequested, m_grid, &EntryGrid::editCell);
    connect(&p.entry(), &ChargeEntry::closeRequested, this, &frmAssessment::closeWindow);
    connect(m_name, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_presenter.setPatientName(text); });
    if (m_erOpd)
        connect(m_erOpd, &QRadioButton::toggled, this,
                [this](bool on) { m_presenter.setErOpd(on); });
    connect(m_departments, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        // A department picked while its cell is being typed goes into the editor.
        if (m_grid->isEditing() && m_grid->currentCell().column == ChargeEntryLine::Department) {
            m_grid->editor()->setText(item->text(0));
            m_grid->editor()->setFocus();
        }
    });
    const QList<QPushButton *> options = findChildren<QPushButton *>(QStringLiteral("cmdOption"));
    connect(options.at(0), &QPushButton::clicked, this,
            [this] { m_presenter.revoke(m_list->currentRow()); });
    connect(options.at(1), &QPushButton::clicked, this,
            [this] { m_presenter.reprint(m_list->currentRow()); });
    if (auto *memo = findChild<QPushButton *>(QStringLiteral("cmdCashCM")))
        connect(memo, &QPushButton::clicked, this, [this] {
            if (!m_openWindow) {
                tellNotAvailable(m_session.notifier(), QStringLiteral("The cash credit memo"));
                return;
            }
            WindowRequest request;
            request.command = objectName();
            request.caption = QStringLiteral("Cash Credit Memo");
            request.patient = m_session.CurrentPatient;
            m_openWindow(QStringLiteral("frmCashCM"), request);
        });
    if (auto *remarks = findChild<QPushButton *>(QStringLiteral("cmdRemarks")))
        connect(remarks, &QPushButton::clicked, this, &frmAssessment::editRemarks);
    connect(m_list, &QTableWidget::cellDoubleClicked, this,
            [this](int row) { m_presenter.revoke(row); });
    const QList<QPushButton *> commands = findChildren<QPushButton *>(QStringLiteral("Command1"));
    connect(commands.at(0), &QPushButton::clicked, this, [this] {
        m_grid->cancelEdit();
        m_presenter.save();
    });
    connect(commands.at(1), &QPushButton::clicked, this, [this] {
        m_grid->cancelEdit();
        m_presenter.deleteLine(m_grid->currentCell().row);
    });
    connect(commands.at(2), &QPushButton::clicked, this, [this] {
        m_grid->cancelEdit();
        m_presenter.ignoreAll();
    });
    connect(commands.at(3), &QPushButton::clicked, &p, &AssessmentEntry::refresh);
    connect(commands.at(4), &QPushButton::clicked, this, &frmAssessment::closeWindow);
}

bool frmAssessment::eventFilter(QObject *watched, QEvent *event)
{
    // Enter on an assessment of the list revokes it, as a double click does.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_list->currentRow() >= 0) {
            m_presenter.revoke(m_list->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmAssessment::refresh()
{
    const AssessmentEntry &p = m_presenter;
    if (m_name->text() != p.patient().name)
        m_name->setText(p.patient().name);
    m_id->setText(p.patient().IdNum);
    // The walk-in window lists the charging codes it was opened with; the others the
    // station's departments.
    QList<std::pair<QString, QString>> codes = p.chargingCodes();
    if (codes.isEmpty()) {
        for (const ChargeDepartment &d : m_presenter.entry().departments())
            codes.append({d.code, d.name});
    }
    if (m_departments->topLevelItemCount() != codes.size()) {
        m_departments->clear();
        for (const auto &[code, name] : codes)
            m_departments->addTopLevelItem(new QTreeWidgetItem({code, name}));
    }
    m_total->setText(p.totalText());
    const QList<AssessmentSummary> &list = p.assessments();
    const int current = m_list->currentRow();
    m_list->setRowCount(int(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        const QStringList cells = AssessmentEntry::listRow(list.at(i));
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            if (c == 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_list->setItem(i, c, item);
        }
    }
    if (current >= 0 && current < list.size())
        m_list->selectRow(current);
}

void frmAssessment::editRemarks()
{
    // The remarks and specimen of the line the grid is on.
    const int row = m_grid->currentCell().row;
    if (row < 1 || row > m_presenter.lines().size() || !m_presenter.lines().at(row - 1).hasCode())
        return;
    const ChargeLine &line = m_presenter.lines().at(row - 1).line;
    frmClinicalAssessmentRemarks window(m_session, this);
    if (!window.presenter().open(line.department, line.item, m_presenter.detail(row)))
        return;
    window.load();
    if (window.exec() == QDialog::Accepted)
        m_presenter.setDetail(row, window.presenter().detail());
}

void frmAssessment::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kestrel
