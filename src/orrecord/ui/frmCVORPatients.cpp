// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/ui/frmCVORPatients.h"

#include "core/Session.h"
#include "core/ui/KeyFilter.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

namespace kestrel {

namespace {

// One of `rows` (code and name) as the user picks it; empty when he picks none.
QString pickOne(QWidget *parent, const QList<std::pair<QString, QString>> &rows)
{
    if (rows.size() == 1)
        return rows.first().first;
    if (rows.isEmpty())
        return {};
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Search"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *list = new QListWidget(&dialog);
    for (const auto &[code, name] : rows) {
        auto *item = new QListWidgetItem(code + QStringLiteral("  ") + name, list);
        item->setData(Qt::UserRole, code);
    }
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return {};
    return list->currentItem()->data(Qt::UserRole).toString();
}

} // namespace

frmCVORPatients::frmCVORPatients(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmCVORPatients"));
    setWindowTitle(QStringLiteral("CVOR Patients"));
    auto *outer = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    m_key = new QLineEdit(this);
    m_key->setObjectName(QStringLiteral("txtSearch"));
    installUpperCase(m_key);
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("cboSearchType"));
    m_type->addItem(QString());
    m_type->addItems(CVORPatients::searchTypes());
    auto *find = new QPushButton(QStringLiteral("&Search"), this);
    bar->addWidget(new QLabel(QStringLiteral("Search"), this));
    bar->addWidget(m_key, 1);
    bar->addWidget(m_type);
    bar->addWidget(find);
    outer->addLayout(bar);

    auto *frame = new QGroupBox(QStringLiteral("LIST OF CVOR CASES"), this);
    auto *inFrame = new QVBoxLayout(frame);
    m_grid = new QTableWidget(0, 8, frame);
    m_grid->setObjectName(QStringLiteral("grdList"));
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("#"), QStringLiteral("Patient Name"), QStringLiteral("Hospital No."),
         QStringLiteral("ID. No"), QStringLiteral("Transaction Date"), QStringLiteral("Procedure"),
         QStringLiteral("Ref. No."), QStringLiteral("Item Code")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    inFrame->addWidget(m_grid);
    outer->addWidget(frame, 1);

    auto *buttons = new QHBoxLayout;
    auto *edit = new QPushButton(QStringLiteral("&Edit"), this);
    edit->setObjectName(QStringLiteral("cmdEdit"));
    m_form = new QComboBox(this);
    m_form->setObjectName(QStringLiteral("cboForm"));
    m_form->addItems(CVORPatients::caseForms());
    auto *printCase = new QPushButton(QStringLiteral("Print &Form"), this);
    auto *census = new QPushButton(QStringLiteral("&Census"), this);
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    buttons->addWidget(edit);
    buttons->addStretch();
    buttons->addWidget(m_form);
    buttons->addWidget(printCase);
    buttons->addWidget(census);
    buttons->addWidget(close);
    outer->addLayout(buttons);

    connect(find, &QPushButton::clicked, this, &frmCVORPatients::search);
    connect(m_key, &QLineEdit::returnPressed, this, &frmCVORPatients::search);
    connect(edit, &QPushButton::clicked, this, &frmCVORPatients::editSelected);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &frmCVORPatients::editSelected);
    connect(printCase, &QPushButton::clicked, this,
            [this] { m_presenter.printCase(m_grid->currentRow(), m_form->currentText()); });
    connect(census, &QPushButton::clicked, this, [this] { m_presenter.printCensus(); });
    connect(close, &QPushButton::clicked, this, [this] {
        if (auto *sub = parentWidget(); sub && sub->inherits("QMdiSubWindow"))
            sub->close();
        else
            QWidget::close();
    });
    resize(900, 520);
}

void frmCVORPatients::search()
{
    m_presenter.search(m_type->currentText(), m_key->text());
    showCases();
}

void frmCVORPatients::showCases()
{
    const RowSet &cases = m_presenter.cases();
    m_grid->setRowCount(cases.count());
    const QStringList columns = cases.columnNames();
    for (int row = 0; row < cases.count(); ++row) {
        for (int c = 0; c < columns.size() && c < m_grid->columnCount(); ++c)
            m_grid->setItem(row, c, new QTableWidgetItem(cases.at(row).trimmed(columns.at(c))));
    }
    m_grid->resizeColumnsToContents();
    if (cases.count() > 0)
        m_grid->selectRow(0);
}

void frmCVORPatients::editSelected()
{
    const auto [idNum, refNum] = m_presenter.caseAt(m_grid->currentRow());
    if (idNum.isEmpty() || !m_openWindow)
        return;
    WindowRequest request;
    request.command = QStringLiteral("frmCVORPatients");
    request.caption = QStringLiteral("Update CVOR Info");
    request.values.insert(QStringLiteral("IdNum"), idNum);
    request.values.insert(QStringLiteral("RefNum"), refNum);
    m_openWindow(QStringLiteral("frmUpdateCVOR"), request);
}

frmUpdateCVOR::frmUpdateCVOR(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmUpdateCVOR"));
    setWindowTitle(QStringLiteral("Update CVOR Info"));
    auto *outer = new QVBoxLayout(this);
    auto *patient = new QGroupBox(this);
    auto *info = new QGridLayout(patient);
    const QStringList captions{QStringLiteral("Patient Name:"), QStringLiteral("Admission #"),
                               QStringLiteral("Hospital #"),    QStringLiteral("Procedure"),
                               QStringLiteral("Reference No."), QStringLiteral("Trans. Date:")};
    for (int i = 0; i < captions.size(); ++i) {
        auto *value = new QLabel(patient);
        value->setFrameShape(QFrame::StyledPanel);
        m_info.insert(captions.at(i), value);
        info->addWidget(new QLabel(captions.at(i), patient), i / 2, (i % 2) * 2);
        info->addWidget(value, i / 2, (i % 2) * 2 + 1);
    }
    outer->addWidget(patient);

    auto *medical = new QGroupBox(QStringLiteral("Medical Staff"), this);
    auto *doctors = new QGridLayout(medical);
    const QStringList doctorCaptions{QStringLiteral("Surgeon:"), QStringLiteral("Asst: Surgeon:"),
                                     QStringLiteral("Anesthesiologist.:"),
                                     QStringLiteral("Assoc. Anest:"),
                                     QStringLiteral("Intensivist:")};
    for (int i = 0; i < CVORTeam::doctorColumns().size(); ++i) {
        const QString column = CVORTeam::doctorColumns().at(i);
        auto *code = new QLineEdit(medical);
        code->setObjectName(u"txt" + column);
        code->setMaximumWidth(110);
        installUpperCase(code);
        auto *name = new QLabel(medical);
        name->setMinimumWidth(220);
        m_codes.insert(column, code);
        m_names.insert(column, name);
        doctors->addWidget(new QLabel(doctorCaptions.at(i), medical), i, 0);
        doctors->addWidget(code, i, 1);
        doctors->addWidget(name, i, 2);
        connect(code, &QLineEdit::returnPressed, this, [this, column] { pickDoctor(column); });
    }
    outer->addWidget(medical);

    auto *allied = new QGroupBox(QStringLiteral("Allied Staff"), this);
    auto *staff = new QGridLayout(allied);
    const QStringList staffCaptions{
        QStringLiteral("Perfutionist"), QStringLiteral("Surgical Nurse 1:"),
        QStringLiteral("Surgical Nurse2:"), QStringLiteral("Circulator 1:"),
        QStringLiteral("Circulator 2:")};
    const QList<std::pair<QString, QString>> nurses = m_presenter.nurses();
    for (int i = 0; i < CVORTeam::staffColumns().size(); ++i) {
        const QString column = CVORTeam::staffColumns().at(i);
        auto *list = new QComboBox(allied);
        list->setObjectName(u"cbo" + column);
        list->addItem(QString(), QString());
        for (const auto &[code, name] : nurses)
            list->addItem(name, code);
        m_staff.insert(column, list);
        staff->addWidget(new QLabel(staffCaptions.at(i), allied), i, 0);
        staff->addWidget(list, i, 1);
        connect(list, &QComboBox::currentIndexChanged, this, [this, column, list] {
            if (!m_showing)
                m_presenter.setPerson(column, list->currentData().toString(), list->currentText());
        });
    }
    outer->addWidget(allied);

    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(QStringLiteral("&Save"), this);
    save->setObjectName(QStringLiteral("cmdSave"));
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    outer->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, [this] { m_presenter.save(); });
    connect(close, &QPushButton::clicked, this, [this] {
        if (auto *sub = parentWidget(); sub && sub->inherits("QMdiSubWindow"))
            sub->close();
        else
            QWidget::close();
    });
    connect(&m_presenter, &CVORTeam::changed, this, &frmUpdateCVOR::showTeam);
}

bool frmUpdateCVOR::load(const QString &idNum, const QString &refNum)
{
    return m_presenter.load(idNum, refNum);
}

void frmUpdateCVOR::pickDoctor(const QString &column)
{
    QLineEdit *code = m_codes.value(column);
    const QString picked = pickOne(this, m_presenter.doctors(code->text()));
    if (picked.isEmpty()) {
        showTeam();
        return;
    }
    for (const auto &[c, name] : m_presenter.doctors(picked)) {
        if (c == picked)
            m_presenter.setPerson(column, c, name);
    }
    focusNextChild();
}

void frmUpdateCVOR::showTeam()
{
    m_showing = true;
    for (auto it = m_info.cbegin(); it != m_info.cend(); ++it)
        it.value()->setText(m_presenter.info(it.key()));
    for (auto it = m_codes.cbegin(); it != m_codes.cend(); ++it) {
        it.value()->setText(m_presenter.code(it.key()));
        m_names.value(it.key())->setText(m_presenter.name(it.key()));
    }
    for (auto it = m_staff.cbegin(); it != m_staff.cend(); ++it) {
        const QString code = m_presenter.code(it.key());
        int index = it.value()->findData(code);
        if (index < 0 && !code.isEmpty()) {
            it.value()->addItem(m_presenter.name(it.key()), code);
            index = it.value()->count() - 1;
        }
        it.value()->setCurrentIndex(std::max(index, 0));
    }
    m_showing = false;
}

void frmUpdateCVOR::closeEvent(QCloseEvent *event)
{
    if (m_presenter.confirmClose())
        event->accept();
    else
        event->ignore();
}

} // namespace kestrel
