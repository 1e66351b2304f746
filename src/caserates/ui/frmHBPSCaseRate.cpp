// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "caserates/ui/frmHBPSCaseRate.h"

#include "caserates/ui/frmPHICRVS.h"
#include "core/db/Database.h"
#include "core/Session.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace kestrel {

using caserates::CaseRate;
using caserates::DoctorGroup;
using caserates::OrderLine;

namespace {

// The tag colours: C0FFC0 light green for the first case rate, FFFFC0 for the second.
const QColor kFirst(0xC0, 0xFF, 0xC0);
const QColor kSecond(0xC0, 0xFF, 0xFF);
const QString kNoCaseRate = QStringLiteral("No Case Rate.");

QTableWidgetItem *cell(const QString &text, bool editable = false)
{
    auto *item = new QTableWidgetItem(text);
    if (!editable)
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QString feeText(const OrderLine &l, bool hospital)
{
    if (l.tag == CaseRate::None)
        return QString();
    if (!l.shares)
        return kNoCaseRate;
    return caserates::amountText(hospital ? l.shares->hospital : l.shares->professional);
}

QLabel *legend(const QString &text, const QColor &colour)
{
    auto *label = new QLabel(text);
    label->setStyleSheet(QStringLiteral("background-color: %1; padding: 2px;").arg(colour.name()));
    return label;
}

} // namespace

frmHBPSCaseRate::frmHBPSCaseRate(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmHBPSCaseRate"));
    setWindowTitle(QStringLiteral("Discharge Order"));
    auto *layout = new QVBoxLayout(this);
    m_patient = new QLabel;
    m_patient->setObjectName(QStringLiteral("lblPatient"));
    layout->addWidget(m_patient);

    auto *top = new QHBoxLayout;
    auto *diagnoses = new QGroupBox(QStringLiteral("Final Diagnosis (ICD)"));
    auto *diagnosisBox = new QVBoxLayout(diagnoses);
    auto *diagnosisEntry = new QHBoxLayout;
    m_diagEntry = new QLineEdit;
    m_diagEntry->setObjectName(QStringLiteral("txtDiagEntry"));
    auto *icdSearch = new QPushButton(QStringLiteral("Search"));
    icdSearch->setObjectName(QStringLiteral("cmdICDSearch"));
    auto *common = new QPushButton(QStringLiteral("Common ICD10"));
    common->setObjectName(QStringLiteral("cmdCommon"));
    diagnosisEntry->addWidget(m_diagEntry, 1);
    diagnosisEntry->addWidget(icdSearch);
    diagnosisEntry->addWidget(common);
    diagnosisBox->addLayout(diagnosisEntry);
    m_icd = lineGrid(QStringLiteral("mshflxICD"),
                     {QStringLiteral("ICD"), QStringLiteral("Description/Diagnosis"),
                      QStringLiteral("RUV Pts."), QStringLiteral("Case Rate/Subgroup"),
                      QStringLiteral("Hosp. Fee"), QStringLiteral("Prof. Fee")});
    diagnosisBox->addWidget(m_icd, 1);
    diagnosisBox->addWidget(new QLabel(QStringLiteral(
        "NOTE: Right-click on diagnosis to tag as PHIC First Case Rate or Second Case Rate.")));
    top->addWidget(diagnoses, 1);

    auto *operations = new QGroupBox(QStringLiteral("Operation Information"));
    auto *operationBox = new QVBoxLayout(operations);
    auto *operationEntry = new QHBoxLayout;
    m_orEntry = new QLineEdit;
    m_orEntry->setObjectName(QStringLiteral("txtOREntry"));
    m_operated = new QDateEdit;
    m_operated->setObjectName(QStringLiteral("dtpOperation"));
    m_operated->setCalendarPopup(true);
    m_operated->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    operationEntry->addWidget(m_orEntry, 1);
    operationEntry->addWidget(m_operated);
    operationBox->addLayout(operationEntry);
    m_rvs = lineGrid(QStringLiteral("flxRVS"),
                     {QStringLiteral("RVS Code"), QStringLiteral("Description"),
                      QStringLiteral("RUV Points"), QStringLiteral("Operation Date"),
                      QStringLiteral("Hospital Fee"), QStringLiteral("Professional Fee"),
                      QStringLiteral("Case Rate")});
    operationBox->addWidget(m_rvs, 1);
    top->addWidget(operations, 1);
    layout->addLayout(top, 3);

    auto *fees = new QGroupBox(QStringLiteral("Professional Fees"));
    auto *feeBox = new QGridLayout(fees);
    const std::array<QString, 3> entryNames{QStringLiteral("txtEntry"), QStringLiteral("txtCase1Dr"),
                                            QStringLiteral("txtCase2Dr")};
    const std::array<QString, 3> gridNames{QStringLiteral("mshflxPF"),
                                           QStringLiteral("flxCaseRate1Dr"),
                                           QStringLiteral("flxCaseRate2Dr")};
    for (int g : {1, 2, 0}) {
        const int column = g == 0 ? 2 : g - 1;
        m_doctorLabel[std::size_t(g)] = new QLabel(
            g == 0 ? QStringLiteral("Other Doctors:")
                   : m_presenter.caseRateDoctorsLabel(DoctorGroup(g)));
        m_doctorEntry[std::size_t(g)] = new QLineEdit;
        m_doctorEntry[std::size_t(g)]->setObjectName(entryNames[std::size_t(g)]);
        m_doctors[std::size_t(g)] = doctorGrid(gridNames[std::size_t(g)], g == 0);
        feeBox->addWidget(m_doctorLabel[std::size_t(g)], 0, column);
        feeBox->addWidget(m_doctorEntry[std::size_t(g)], 1, column);
        feeBox->addWidget(m_doctors[std::size_t(g)], 2, column);
        connect(m_doctorEntry[std::size_t(g)], &QLineEdit::returnPressed, this,
                [this, g] { addDoctor(DoctorGroup(g)); });
        connect(m_doctors[std::size_t(g)], &QTableWidget::cellChanged, this,
                [this, g](int row, int col) { feeEdited(DoctorGroup(g), row, col); });
    }
    auto *reset = new QPushButton(QStringLiteral("Reset"));
    reset->setObjectName(QStringLiteral("cmdResetDoctors"));
    feeBox->addWidget(reset, 3, 2);
    feeBox->addWidget(new QLabel(QStringLiteral("All amounts must be VAT-inclusive.")), 3, 0, 1, 2);
    layout->addWidget(fees, 2);

    auto *bottom = new QHBoxLayout;
    auto *totals = new QGroupBox;
    auto *totalBox = new QGridLayout(totals);
    m_totalHospital = new QLabel;
    m_totalHospital->setObjectName(QStringLiteral("lblHF"));
    m_totalProfessional = new QLabel;
    m_totalProfessional->setObjectName(QStringLiteral("lblPF"));
    totalBox->addWidget(new QLabel(QStringLiteral("Total Hospital Fee :")), 0, 0);
    totalBox->addWidget(m_totalHospital, 0, 1);
    totalBox->addWidget(new QLabel(QStringLiteral("Total Professional Fee :")), 1, 0);
    totalBox->addWidget(m_totalProfessional, 1, 1);
    totalBox->addWidget(legend(QStringLiteral("PHIC First Case Rate"), kFirst), 2, 0);
    totalBox->addWidget(legend(QStringLiteral("PHIC Second Case Rate"), kSecond), 2, 1);
    totalBox->addWidget(new QLabel(QStringLiteral("Total PhilHealth Benefit")), 3, 0);
    bottom->addWidget(totals);

    auto *info = new QGroupBox(QStringLiteral("Discharge Information"));
    auto *infoBox = new QGridLayout(info);
    m_orderDate = new QDateEdit;
    m_orderDate->setObjectName(QStringLiteral("dtpOrder"));
    m_orderDate->setCalendarPopup(true);
    m_orderDate->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    m_orderTime = new QTimeEdit;
    m_orderTime->setObjectName(QStringLiteral("dtpOrderTime"));
    m_orderTime->setDisplayFormat(QStringLiteral("hh:mm AP"));
    m_serverTime = new QCheckBox(QStringLiteral("Auto (Server Time)"));
    m_serverTime->setChecked(true);
    m_billUpTo = new QDateEdit;
    m_billUpTo->setObjectName(QStringLiteral("dtpBill"));
    m_billUpTo->setCalendarPopup(true);
    m_billUpTo->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    m_remarks = new QPlainTextEdit;
    m_remarks->setObjectName(QStringLiteral("txtRemarks"));
    infoBox->addWidget(new QLabel(QStringLiteral("Date Ordered")), 0, 0);
    infoBox->addWidget(m_orderDate, 0, 1);
    infoBox->addWidget(new QLabel(QStringLiteral("Time Ordered")), 1, 0);
    infoBox->addWidget(m_orderTime, 1, 1);
    infoBox->addWidget(m_serverTime, 1, 2);
    infoBox->addWidget(new QLabel(QStringLiteral("Bill Up To")), 2, 0);
    infoBox->addWidget(m_billUpTo, 2, 1);
    infoBox->addWidget(new QLabel(QStringLiteral("Remarks")), 3, 0);
    infoBox->addWidget(m_remarks, 3, 1, 1, 2);
    bottom->addWidget(info, 1);

    auto *checks = new QGroupBox(QStringLiteral("Billing Checklist"));
    auto *checkBox = new QVBoxLayout(checks);
    m_checklist = new QTableWidget(0, 2);
    m_checklist->setObjectName(QStringLiteral("mshFlexCheckList"));
    m_checklist->setHorizontalHeaderLabels({QStringLiteral("Item"), QStringLiteral("Status")});
    m_checklist->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_checklist->verticalHeader()->hide();
    m_checklist->setEditTriggers(QAbstractItemView::NoEditTriggers);
    checkBox->addWidget(m_checklist, 1);
    checkBox->addWidget(new QLabel(QStringLiteral("Guideline: Click on the item to "
                                                  "Select/Unselect")));
    checks->setVisible(!session.settings.HideBillingCheckList());
    bottom->addWidget(checks, 1);
    layout->addLayout(bottom, 2);

    auto *buttons = new QHBoxLayout;
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    buttons->addWidget(m_status, 1);
    m_revoke = new QPushButton(QStringLiteral("Revoke Discharge Order"));
    m_revoke->setObjectName(QStringLiteral("cmdRevoke"));
    m_save = new QPushButton(QStringLiteral("&Save"));
    m_save->setObjectName(QStringLiteral("Command1_0"));
    m_send = new QPushButton(QStringLiteral("Send Final Discharge Order to Billing"));
    m_send->setObjectName(QStringLiteral("Command1_1"));
    auto *close = new QPushButton(QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("Command1_2"));
    for (QPushButton *b : {m_revoke, m_save, m_send, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(m_diagEntry, &QLineEdit::returnPressed, this,
            [this] { addDiagnosis(m_diagEntry->text()); });
    connect(icdSearch, &QPushButton::clicked, this, [this] {
        if (auto hit = frmPHICRVS::pick(m_session, frmPHICRVS::Kind::Icd, m_diagEntry->text(),
                                        this))
            addDiagnosis(hit->code);
    });
    connect(common, &QPushButton::clicked, this, [this] {
        if (auto hit = frmPHICRVS::pick(m_session, frmPHICRVS::Kind::Icd, QString(), this))
            addDiagnosis(hit->code);
    });
    connect(m_orEntry, &QLineEdit::returnPressed, this,
            [this] { addOperation(m_orEntry->text()); });
    connect(reset, &QPushButton::clicked, this, [this] { m_presenter.resetDoctors(); });
    connect(m_checklist, &QTableWidget::cellClicked, this, [this](int row, int) {
        const auto &items = m_presenter.order().checklist;
        if (row >= 0 && row < items.size())
            m_presenter.setCheckItem(row, (items.at(row).state + 1) % 3);
    });
    connect(m_save, &QPushButton::clicked, this, [this] {
        takeDischargeInfo();
        m_presenter.save();
    });
    connect(m_send, &QPushButton::clicked, this, [this] {
        takeDischargeInfo();
        if (m_presenter.send())
            showAll();
    });
    connect(m_revoke, &QPushButton::clicked, this, [this] { m_presenter.revoke(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_presenter, &caserates::DischargeOrder::changed, this, &frmHBPSCaseRate::showAll);
    for (QTableWidget *grid : {m_icd, m_rvs})
        connect(grid, &QWidget::customContextMenuRequested, this,
                [this, grid](const QPoint &at) { lineMenu(grid, at); });
}

bool frmHBPSCaseRate::open(const QString &idNum)
{
    if (!m_presenter.open(idNum))
        return false;
    const caserates::Notice &n = m_presenter.order().notice;
    const QDateTime now = m_session.db().serverNow().isValid() ? m_session.db().serverNow()
                                                               : QDateTime::currentDateTime();
    m_filling = true;
    m_orderDate->setDate(n.ordered.isValid() ? n.ordered.date() : now.date());
    m_orderTime->setTime(n.ordered.isValid() ? n.ordered.time() : now.time());
    m_billUpTo->setDate(n.billUpTo.isValid() ? n.billUpTo : now.date());
    m_remarks->setPlainText(n.remarks);
    m_operated->setDate(now.date());
    m_filling = false;
    showAll();
    return true;
}

QTableWidget *frmHBPSCaseRate::lineGrid(const QString &name, const QStringList &headers)
{
    auto *grid = new QTableWidget(0, int(headers.size()));
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headers);
    grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grid->verticalHeader()->hide();
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    return grid;
}

QTableWidget *frmHBPSCaseRate::doctorGrid(const QString &name, bool withRole)
{
    QStringList headers{QStringLiteral("Doctor's ID"), QStringLiteral("Doctor's Name"),
                        QStringLiteral("Amount")};
    if (withRole && m_session.settings.ShowDoctorRoles())
        headers << QStringLiteral("Role");
    auto *grid = new QTableWidget(0, int(headers.size()));
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headers);
    grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grid->verticalHeader()->hide();
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *remove = new QAction(QStringLiteral("Remove Doctor"), grid);
    grid->addAction(remove);
    connect(remove, &QAction::triggered, this, [this, grid] {
        for (int g = 0; g < 3; ++g) {
            if (m_doctors[std::size_t(g)] == grid)
                m_presenter.removeDoctor(DoctorGroup(g), grid->currentRow());
        }
    });
    return grid;
}

int frmHBPSCaseRate::lineAt(QTableWidget *grid, int row) const
{
    const QList<int> lines =
        grid == m_rvs ? m_presenter.operationLines() : m_presenter.diagnosisLines();
    return row >= 0 && row < lines.size() ? lines.at(row) : -1;
}

void frmHBPSCaseRate::showLines(QTableWidget *grid, const QList<int> &lines, bool operations)
{
    grid->setRowCount(int(lines.size()));
    for (int r = 0; r < lines.size(); ++r) {
        const OrderLine &l = m_presenter.order().lines.at(lines.at(r));
        QStringList cells{l.code(), l.description, l.units};
        if (operations)
            cells << l.operationDate.toString(QStringLiteral("MM/dd/yyyy")) << feeText(l, true)
                  << feeText(l, false) << l.caseRateName;
        else
            cells << l.caseRateName << feeText(l, true) << feeText(l, false);
        const QColor back = l.tag == CaseRate::First    ? kFirst
                            : l.tag == CaseRate::Second ? kSecond
                                                        : QColor();
        for (int c = 0; c < cells.size(); ++c) {
            QTableWidgetItem *item = cell(cells.at(c));
            if (back.isValid())
                item->setBackground(back);
            grid->setItem(r, c, item);
        }
    }
}

void frmHBPSCaseRate::showDoctors(DoctorGroup group)
{
    QTableWidget *grid = m_doctors[std::size_t(group)];
    const auto &doctors = m_presenter.order().doctors[std::size_t(group)];
    grid->setRowCount(int(doctors.size()));
    for (int r = 0; r < doctors.size(); ++r) {
        const caserates::DoctorFee &d = doctors.at(r);
        grid->setItem(r, 0, cell(d.doctorId));
        grid->setItem(r, 1, cell(d.name));
        grid->setItem(r, 2, cell(caserates::amountText(d.amount), !m_presenter.isSent()));
        if (grid->columnCount() > 3)
            grid->setItem(r, 3, cell(d.role, !m_presenter.isSent()));
    }
}

void frmHBPSCaseRate::showAll()
{
    m_filling = true;
    const caserates::OrderData &o = m_presenter.order();
    m_patient->setText(m_presenter.patientName() + QStringLiteral("   Adm. No. ") + o.idNum);
    showLines(m_icd, m_presenter.diagnosisLines(), false);
    showLines(m_rvs, m_presenter.operationLines(), true);
    for (int g = 0; g < 3; ++g)
        showDoctors(DoctorGroup(g));
    m_totalHospital->setText(caserates::amountText(m_presenter.totalHospitalFee()));
    m_totalProfessional->setText(caserates::amountText(m_presenter.totalProfessionalFee()));
    static const QStringList kStates{QString(), QStringLiteral("Checked/Done"),
                                     QStringLiteral("Pending")};
    m_checklist->setRowCount(int(o.checklist.size()));
    for (int r = 0; r < o.checklist.size(); ++r) {
        m_checklist->setItem(r, 0, cell(o.checklist.at(r).item));
        m_checklist->setItem(r, 1, cell(kStates.value(o.checklist.at(r).state)));
    }
    const bool sent = m_presenter.isSent();
    for (QWidget *w : std::initializer_list<QWidget *>{m_diagEntry, m_orEntry, m_save, m_send})
        w->setEnabled(!sent);
    for (QLineEdit *e : m_doctorEntry)
        e->setEnabled(!sent);
    m_revoke->setEnabled(o.notice.exists);
    m_status->setText(QStringLiteral("USERID: %1   BILLING DATE: %2   NOTICE DATE: %3")
                          .arg(o.notice.userId,
                               o.notice.billUpTo.toString(QStringLiteral("MM/dd/yyyy")),
                               o.notice.noticeDate.toString(QStringLiteral("MM/dd/yyyy hh:mm AP"))));
    m_filling = false;
}

void frmHBPSCaseRate::lineMenu(QTableWidget *grid, const QPoint &at)
{
    const int line = lineAt(grid, grid->rowAt(at.y()));
    if (line < 0)
        return;
    const bool operation = grid == m_rvs;
    QMenu menu(this);
    QAction *first = menu.addAction(QStringLiteral("PHIC First Case Rate"));
    QAction *second = menu.addAction(QStringLiteral("PHIC Second Case Rate"));
    QAction *untag = menu.addAction(QStringLiteral("Untag"));
    menu.addSeparator();
    QAction *editIcd = menu.addAction(QStringLiteral("Edit ICD Description"));
    QAction *editRvs = menu.addAction(QStringLiteral("Edit RVS Description"));
    editIcd->setEnabled(!operation);
    editRvs->setEnabled(operation);
    QAction *remove = menu.addAction(operation ? QStringLiteral("Remove Operation")
                                               : QStringLiteral("Remove Diagnosis"));
    QAction *picked = menu.exec(grid->viewport()->mapToGlobal(at));
    if (picked == first) {
        m_presenter.tag(line, CaseRate::First);
    } else if (picked == second) {
        m_presenter.tag(line, CaseRate::Second);
    } else if (picked == untag) {
        m_presenter.untag(line);
    } else if (picked == editIcd || picked == editRvs) {
        bool ok = false;
        const QString text = QInputDialog::getText(
            this, picked->text(), QStringLiteral("Description:"), QLineEdit::Normal,
            m_presenter.order().lines.at(line).description, &ok);
        if (ok)
            m_presenter.editDescription(line, text);
    } else if (picked == remove) {
        m_presenter.removeLine(line);
    }
}

void frmHBPSCaseRate::addDiagnosis(const QString &typed)
{
    if (m_presenter.addDiagnosis(typed))
        m_diagEntry->clear();
}

void frmHBPSCaseRate::addOperation(const QString &typed)
{
    QString code = typed.trimmed();
    // A description typed instead of a code opens the relative value scale on it.
    if (code.isEmpty() || !code.at(0).isDigit()) {
        auto hit = frmPHICRVS::pick(m_session, frmPHICRVS::Kind::Rvs, code, this);
        if (!hit)
            return;
        code = hit->code;
    }
    if (m_presenter.addOperation(code, m_operated->date()))
        m_orEntry->clear();
}

void frmHBPSCaseRate::addDoctor(DoctorGroup group)
{
    QLineEdit *entry = m_doctorEntry[std::size_t(group)];
    if (m_presenter.addDoctor(group, entry->text()))
        entry->clear();
}

void frmHBPSCaseRate::feeEdited(DoctorGroup group, int row, int column)
{
    if (m_filling)
        return;
    QTableWidget *grid = m_doctors[std::size_t(group)];
    const QString text = grid->item(row, column) ? grid->item(row, column)->text() : QString();
    if (column == 2) {
        if (!m_presenter.setDoctorFee(group, row, text))
            showDoctors(group);
        else if (group != DoctorGroup::Others)
            m_presenter.leaveCaseRateDoctors(group);
    } else if (column == 3) {
        m_presenter.setDoctorRole(row, text);
    }
}

void frmHBPSCaseRate::takeDischargeInfo()
{
    m_presenter.setDischargeInfo(QDateTime(m_orderDate->date(), m_orderTime->time()),
                                 m_serverTime->isChecked(), m_billUpTo->date(),
                                 m_remarks->toPlainText());
}

void frmHBPSCaseRate::closeEvent(QCloseEvent *event)
{
    if (!m_closing && !m_presenter.confirmClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace kestrel
