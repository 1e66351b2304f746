// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmCharge.h"

#include "charging/ui/EntryGrid.h"
#include "core/db/NumberFormat.h"
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
#include <QShortcut>
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

// Widths of the posted list's columns, in twips.
constexpr int kListWidths[] = {300, 700, 1200, 3900, 600, 1300, 1400};

QString dateText(const QDateTime &when)
{
    return when.isValid() ? when.toString(QStringLiteral("MM/dd/yyyy")) : QString();
}

} // namespace

frmCharge::frmCharge(Session &session, ChargeEntry::Components components, QWidget *parent)
    : QWidget(parent)
    , m_prompts(session, this)
    , m_pricingPrompts(session, this)
    , m_presenter(session, components, m_prompts, m_pricingPrompts)
{
    setObjectName(QStringLiteral("frmCharge"));
    setWindowTitle(QStringLiteral("Post Charges"));
    buildUi();
    bind();
}

frmCharge::~frmCharge() = default;

QLineEdit *frmCharge::headerField(const QString &name)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(name);
    field->setReadOnly(true);
    m_header.insert(name, field);
    return field;
}

void frmCharge::buildUi()
{
    auto *layout = new QVBoxLayout(this);

    // The patient header.
    auto *header = new QGridLayout;
    auto addField = [&](int row, int column, const QString &caption, const QString &name,
                        int span = 1) {
        if (!caption.isEmpty())
            header->addWidget(new QLabel(caption, this), row, column);
        header->addWidget(headerField(name), row, column + 1, 1, span);
    };
    addField(0, 0, QStringLiteral("Patient Name"), QStringLiteral("txtPatient"), 3);
    addField(0, 4, QStringLiteral("Admission#"), QStringLiteral("txtId"));
    addField(0, 6, QStringLiteral("Hospital#"), QStringLiteral("txtPno"));
    addField(0, 8, QStringLiteral("Room #"), QStringLiteral("txtRoom"));
    addField(1, 0, QStringLiteral("Status"), QStringLiteral("txtStatus"));
    addField(1, 2, QStringLiteral("Birthdate"), QStringLiteral("txtDob"));
    header->addWidget(headerField(QStringLiteral("txtAge")), 1, 4);
    header->addWidget(headerField(QStringLiteral("txtSex")), 1, 5);
    addField(1, 6, QStringLiteral("ADM. Date"), QStringLiteral("txtDateAdmitted"));
    addField(1, 8, QStringLiteral("DCR. Date"), QStringLiteral("txtDateDischarged"));
    addField(2, 0, QStringLiteral("Diet"), QStringLiteral("txtAdiet"));
    addField(2, 2, QStringLiteral("B.T."), QStringLiteral("txtBloodType"));
    addField(2, 4, QStringLiteral("Diag."), QStringLiteral("txtDiagnosis"), 5);
    addField(3, 0, QStringLiteral("Admitting Dr.:"), QStringLiteral("txtDoctor1"), 3);
    addField(3, 4, QStringLiteral("Attending Dr.:"), QStringLiteral("txtDoctor2"), 2);
    header->addWidget(headerField(QStringLiteral("txtDoctor3")), 3, 7, 1, 3);
    m_philhealth = new QLabel(this);
    m_philhealth->setObjectName(QStringLiteral("lblPhilhealth"));
    header->addWidget(m_philhealth, 4, 0, 1, 7);
    m_cdf = new QPushButton(QStringLiteral("CDF"), this);
    m_cdf->setObjectName(QStringLiteral("cmdCDF"));
    header->addWidget(m_cdf, 4, 9);
    for (int c : {1, 3, 5, 7, 9})
        header->setColumnStretch(c, 1);
    layout->addLayout(header);

    // Departments, the entry grid and its prompt.
    m_entryArea = new QWidget(this);
    auto *entry = new QHBoxLayout(m_entryArea);
    entry->setContentsMargins(0, 0, 0, 0);
    auto *deptFrame = new QGroupBox(QStringLiteral("Department Codes"), m_entryArea);
    auto *deptLayout = new QVBoxLayout(deptFrame);
    m_departments = makeDepartmentList(deptFrame);
    deptLayout->addWidget(m_departments, 1);
    m_deptCode = new QLabel(deptFrame);
    m_deptCode->setObjectName(QStringLiteral("lblDeptCode"));
    deptLayout->addWidget(m_deptCode);
    entry->addWidget(deptFrame);

    auto *gridColumn = new QVBoxLayout;
    m_grid = new EntryGrid(m_presenter.grid(), m_presenter, m_entryArea);
    m_grid->setObjectName(QStringLiteral("mshflexEntry"));
    showChargeEntryColumns(*m_grid);
    gridColumn->addWidget(m_grid, 1);
    auto *messageFrame = new QGroupBox(QStringLiteral("Message"), m_entryArea);
    auto *messageLayout = new QVBoxLayout(messageFrame);
    m_message = new QLabel(messageFrame);
    m_message->setObjectName(QStringLiteral("lblMessage"));
    messageLayout->addWidget(m_message);
    gridColumn->addWidget(messageFrame);
    entry->addLayout(gridColumn, 1);
    m_grid->setPromptLabel(m_message);
    layout->addWidget(m_entryArea, 1);

    // The posted charges, the stat option and the buttons.
    auto *bottom = new QHBoxLayout;
    auto *listFrame = new QGroupBox(QStringLiteral("List of Charges Entered"), this);
    auto *listLayout = new QVBoxLayout(listFrame);
    const QStringList headers = ChargeEntry::postedHeaders();
    m_list = new QTableWidget(0, int(headers.size()), listFrame);
    m_list->setObjectName(QStringLiteral("mshflexList"));
    m_list->setHorizontalHeaderLabels(headers);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->verticalHeader()->hide();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    for (int c = 0; c < int(std::size(kListWidths)); ++c)
        m_list->setColumnWidth(c, pixels(kListWidths[c]));
    m_list->setMinimumHeight(pixels(2000));
    m_list->installEventFilter(this);
    listLayout->addWidget(m_list, 1);
    m_noCharges = new QLineEdit(QStringLiteral("No Charges Entered"), listFrame);
    m_noCharges->setObjectName(QStringLiteral("txtMessage"));
    m_noCharges->setReadOnly(true);
    m_noCharges->setAlignment(Qt::AlignCenter);
    listLayout->addWidget(m_noCharges);
    auto *listButtons = new QHBoxLayout;
    for (const QString &caption :
         {QStringLiteral("View All"), QStringLiteral("Revoke"), QStringLiteral("Reprint")}) {
        auto *button = new QPushButton(caption, listFrame);
        button->setObjectName(QStringLiteral("cmdOption(%1)").arg(m_options.size()));
        button->setAutoDefault(false);
        listButtons->addWidget(button);
        m_options << button;
    }
    // Medicines and supplies that come back are credited in the return window.
    auto *returns = new QPushButton(QStringLiteral("Post Returned Medicines"), listFrame);
    returns->setObjectName(QStringLiteral("cmdReturns"));
    returns->setAutoDefault(false);
    connect(returns, &QPushButton::clicked, &m_presenter, &ChargeEntry::postReturns);
    listButtons->addWidget(returns);
    listButtons->addStretch(1);
    m_gross = new QLabel(listFrame);
    m_gross->setObjectName(QStringLiteral("lblGrossAmount"));
    listButtons->addWidget(m_gross);
    listLayout->addLayout(listButtons);
    auto *note = new QLabel(ChargeEntry::note(), listFrame);
    note->setObjectName(QStringLiteral("lblNote"));
    note->setWordWrap(true);
    listLayout->addWidget(note);
    // The package lines are brought in and cancelled through these, by the package windows.
    for (const QString &name :
         {QStringLiteral("mshflexPackageItems"), QStringLiteral("mshflexCancelPackageItems")}) {
        auto *packages = new QTableWidget(listFrame);
        packages->setObjectName(name);
        packages->hide();
    }
    auto *package = new QLineEdit(listFrame);
    package->setObjectName(QStringLiteral("txtPackage"));
    package->hide();
    bottom->addWidget(listFrame, 1);

    auto *side = new QVBoxLayout;
    auto *statFrame = new QGroupBox(QStringLiteral("Stat Patient"), this);
    auto *statLayout = new QHBoxLayout(statFrame);
    m_statYes = new QRadioButton(QStringLiteral("YES"), statFrame);
    m_statYes->setObjectName(QStringLiteral("optStat(0)"));
    m_statNo = new QRadioButton(QStringLiteral("NO"), statFrame);
    m_statNo->setObjectName(QStringLiteral("optStat(1)"));
    m_statNo->setChecked(true);
    statLayout->addWidget(m_statYes);
    statLayout->addWidget(m_statNo);
    side->addWidget(statFrame);
    for (const QString &caption :
         {QStringLiteral("&Save"), QStringLiteral("&View OR Packages"), QStringLiteral("&Close"),
          QStringLiteral("&Refresh"), QStringLiteral("&Delete"), QStringLiteral("View RVS Codes"),
          QStringLiteral("&Ignore All")}) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("Command1(%1)").arg(m_commands.size()));
        button->setAutoDefault(false);
        side->addWidget(button);
        m_commands << button;
    }
    // Piped oxygen, where the station charges it by the hour.
    auto *pipe = new QPushButton(QStringLiteral("Piped O&xygen"), this);
    pipe->setObjectName(QStringLiteral("cmdPipe"));
    pipe->setAutoDefault(false);
    side->addWidget(pipe);
    side->addStretch(1);
    bottom->addLayout(side);
    layout->addLayout(bottom, 1);

    resize(pixels(16500), pixels(11500));
}

void frmCharge::bind()
{
    ChargeEntry &p = m_presenter;
    connect(&p, &ChargeEntry::changed, this, &frmCharge::refresh);
    connect(&p, &ChargeEntry::closeRequested, this, &frmCharge::closeWindow);
    connect(&p, &ChargeEntry::editRequested, m_grid, &EntryGrid::editCell);

    connect(m_departments, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        const int index = m_departments->indexOfTopLevelItem(item);
        m_presenter.chooseDepartment(index);
        // A department picked while its cell is being typed goes into the editor.
        if (m_grid->isEditing() && m_grid->currentCell().column == ChargeEntryLine::Department) {
            m_grid->editor()->setText(item->text(0));
            m_grid->editor()->setFocus();
        }
    });
    connect(m_statYes, &QRadioButton::clicked, this, [this] { m_presenter.setStatPatient(true); });
    connect(m_statNo, &QRadioButton::clicked, this, [this] { m_presenter.setStatPatient(false); });

    connect(m_options.at(0), &QPushButton::clicked, &p, &ChargeEntry::toggleViewAll);
    connect(m_options.at(1), &QPushButton::clicked, this,
            [this] { m_presenter.revoke(m_list->currentRow()); });
    connect(m_options.at(2), &QPushButton::clicked, this,
            [this] { m_presenter.reprint(m_list->currentRow()); });
    connect(m_list, &QTableWidget::cellDoubleClicked, this,
            [this](int row) { m_presenter.revoke(row); });
    // The first column ticks a charge for revoking together with others (MultiCancel).
    connect(m_list, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == 0)
            m_presenter.toggleTick(row);
    });

    connect(m_commands.at(0), &QPushButton::clicked, &p, &ChargeEntry::save);
    connect(m_commands.at(1), &QPushButton::clicked, &p, &ChargeEntry::viewPackages);
    connect(m_commands.at(2), &QPushButton::clicked, &p, &ChargeEntry::close);
    connect(m_commands.at(3), &QPushButton::clicked, &p, &ChargeEntry::refresh);
    connect(m_commands.at(4), &QPushButton::clicked, this, [this] {
        m_grid->cancelEdit();
        m_presenter.deleteLine(m_grid->currentCell().row);
    });
    connect(m_commands.at(5), &QPushButton::clicked, &p, &ChargeEntry::viewRvs);
    connect(m_commands.at(6), &QPushButton::clicked, this, [this] {
        m_grid->cancelEdit();
        m_presenter.ignoreAll();
    });
    connect(m_cdf, &QPushButton::clicked, &p, &ChargeEntry::showCdf);
    connect(findChild<QPushButton *>(QStringLiteral("cmdPipe")), &QPushButton::clicked, &p,
            &ChargeEntry::openOxygenPipe);

    auto *f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    f3->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f3, &QShortcut::activated, this, [this] {
        const int row = m_grid->currentCell().row;
        m_grid->cancelEdit();
        m_presenter.removeLine(row);
    });
}

bool frmCharge::eventFilter(QObject *watched, QEvent *event)
{
    // Enter on a posted charge revokes it, as a double click does.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Space && m_list->currentRow() >= 0) {
            m_presenter.toggleTick(m_list->currentRow());
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_list->currentRow() >= 0) {
            m_presenter.revoke(m_list->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmCharge::refresh()
{
    const ChargeEntry &p = m_presenter;
    const ChargePatientHeader &h = p.header();
    const QList<std::pair<QString, QString>> fields{
        {QStringLiteral("txtPatient"), h.patientName},
        {QStringLiteral("txtId"), h.idNum},
        {QStringLiteral("txtPno"), h.hospNum},
        {QStringLiteral("txtRoom"), h.room},
        {QStringLiteral("txtStatus"), h.status},
        {QStringLiteral("txtDob"), h.birthDate.toString(QStringLiteral("MM/dd/yyyy"))},
        {QStringLiteral("txtAge"), p.age()},
        {QStringLiteral("txtSex"), h.sex},
        {QStringLiteral("txtDateAdmitted"), dateText(h.admitted)},
        {QStringLiteral("txtDateDischarged"), dateText(h.discharged)},
        {QStringLiteral("txtAdiet"), h.diet},
        {QStringLiteral("txtBloodType"), h.bloodType},
        {QStringLiteral("txtDiagnosis"), h.diagnosis},
        {QStringLiteral("txtDoctor1"), h.admittingDoctor},
        {QStringLiteral("txtDoctor2"), h.attendingDoctor1},
        {QStringLiteral("txtDoctor3"), h.attendingDoctor2}};
    for (const auto &[name, text] : fields) {
        QLineEdit *field = m_header.value(name);
        field->setText(text);
        field->setCursorPosition(0);
    }
    m_philhealth->setText(p.philhealthText());
    m_cdf->setEnabled(p.cdfEnabled());
    findChild<QPushButton *>(QStringLiteral("cmdPipe"))->setVisible(p.pipedOxygenShown());

    fillDepartments();
    m_deptCode->setText(p.departmentShown());
    fillPosted();
    m_noCharges->setVisible(p.noChargesEntered());
    m_gross->setText(p.grossAmountText());
    m_statYes->setChecked(p.statPatient());
    m_statNo->setChecked(!p.statPatient());
    m_options.at(0)->setVisible(p.viewAllShown());
    m_options.at(0)->setText(p.viewAllCaption());
    m_entryArea->setVisible(!p.listExpanded());
    m_commands.at(5)->setText(p.rvsCaption());
}

void frmCharge::fillDepartments()
{
    const QList<ChargeDepartment> &departments = m_presenter.departments();
    if (m_departments->topLevelItemCount() == departments.size())
        return;
    m_departments->clear();
    for (const ChargeDepartment &d : departments)
        m_departments->addTopLevelItem(new QTreeWidgetItem({d.code, d.name}));
}

void frmCharge::fillPosted()
{
    const QList<PostedCharge> &posted = m_presenter.postedCharges();
    const int current = m_list->currentRow();
    m_list->setRowCount(int(posted.size()));
    for (int i = 0; i < posted.size(); ++i) {
        const PostedCharge &c = posted.at(i);
        const QStringList cells{m_presenter.isTicked(i) ? QStringLiteral("\u2714") : QString(),
                                c.department,
                                c.item,
                                c.description,
                                numberText(c.quantity),
                                formatNumber(c.amount, kFormatAmount),
                                c.chargeSlip};
        for (int col = 0; col < cells.size(); ++col) {
            auto *item = new QTableWidgetItem(cells.at(col));
            if (col == 4 || col == 5)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_list->setItem(i, col, item);
        }
    }
    if (current >= 0 && current < posted.size())
        m_list->selectRow(current);
}

void frmCharge::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kestrel
