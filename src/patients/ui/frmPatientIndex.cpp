// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/ui/frmPatientIndex.h"

#include "core/ui/KeyFilter.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QTableWidget *makeGrid(const QString &name, QWidget *parent)
{
    auto *grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

// The grid shows the result as it comes, its column names as the header.
void fillGrid(QTableWidget *grid, const RowSet &rows)
{
    grid->clear();
    grid->setColumnCount(int(rows.columnNames().size()));
    grid->setHorizontalHeaderLabels(rows.columnNames());
    grid->setRowCount(rows.count());
    for (int r = 0; r < rows.count(); ++r) {
        const Row &row = rows.at(r);
        for (int c = 0; c < row.columnCount(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(row.value(c).toString()));
    }
    grid->resizeColumnsToContents();
}

QLineEdit *makeShownField(const QString &name, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}

} // namespace

frmPatientIndex::frmPatientIndex(Session &session, clsPatientFinder *finder, clsCF4 *cf4,
                                 QWidget *parent)
    : QDialog(parent)
    , m_presenter(session, finder, cf4)
{
    setObjectName(QStringLiteral("frmPatientIndex"));
    m_presenter.setChooser(
        [this](const QList<PatientMatch> &matches) { return choosePatient(matches); });
    buildUi();
    bind();
    showPatient();
}

void frmPatientIndex::buildUi()
{
    setWindowTitle(QStringLiteral("Update Patient Operating Procedure"));

    m_hospNum = new QLineEdit(this);
    m_hospNum->setObjectName(QStringLiteral("txtHospNum"));
    installUpperCase(m_hospNum);
    m_idNum = makeShownField(QStringLiteral("txtIdNum"), this);
    m_guideline = new QLabel(this);
    m_guideline->setObjectName(QStringLiteral("lblGuideline"));
    m_guideline->setWordWrap(true);
    // Room for the two lines of the guideline whether it shows or not, so nothing moves.
    m_guideline->setMinimumHeight(2 * m_guideline->fontMetrics().lineSpacing() + 4);
    m_guideline->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_patientName = makeShownField(QStringLiteral("txtPatientName"), this);
    m_address = makeShownField(QStringLiteral("txtAddress"), this);
    m_birthDate = makeShownField(QStringLiteral("txtBirthDate"), this);
    m_age = makeShownField(QStringLiteral("txtAge"), this);
    m_sex = makeShownField(QStringLiteral("txtSex"), this);
    m_bloodType = makeShownField(QStringLiteral("txtBloodType"), this);

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Hospital #"), this), 0, 0);
    fields->addWidget(m_hospNum, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Adm. #"), this), 0, 2);
    fields->addWidget(m_idNum, 0, 3);
    fields->addWidget(m_guideline, 1, 0, 1, 6);
    fields->addWidget(new QLabel(QStringLiteral("Patient Name"), this), 2, 0);
    fields->addWidget(m_patientName, 2, 1, 1, 5);
    fields->addWidget(new QLabel(QStringLiteral("Address"), this), 3, 0);
    fields->addWidget(m_address, 3, 1, 1, 5);
    fields->addWidget(new QLabel(QStringLiteral("Birth Date"), this), 4, 0);
    fields->addWidget(m_birthDate, 4, 1);
    fields->addWidget(new QLabel(QStringLiteral("Age"), this), 4, 2);
    fields->addWidget(m_age, 4, 3);
    fields->addWidget(new QLabel(QStringLiteral("Sex"), this), 5, 0);
    fields->addWidget(m_sex, 5, 1);
    fields->addWidget(new QLabel(QStringLiteral("Blood Type"), this), 5, 2);
    fields->addWidget(m_bloodType, 5, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_procedures = makeGrid(QStringLiteral("grdAdmissionList"), m_tabs);
    m_updates = makeGrid(QStringLiteral("grdUpdates"), m_tabs);
    m_tabs->addTab(m_procedures, QStringLiteral("List of Operating Procedures Done"));
    m_tabs->addTab(m_updates, QStringLiteral("User Updates"));

    m_new = new QPushButton(QStringLiteral("New Procedure"), this);
    m_new->setObjectName(QStringLiteral("cmdNew"));
    m_refresh = new QPushButton(QStringLiteral("&Refresh"), this);
    m_refresh->setObjectName(QStringLiteral("cmdRefresh"));
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    // Enter belongs to the hospital-number field; no button may take it as its default.
    for (QPushButton *b : {m_new, m_refresh, m_close}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    resize(10500 / 15, 7500 / 15);
}

void frmPatientIndex::bind()
{
    m_hospNum->installEventFilter(this);
    connect(&m_presenter, &PatientIndex::changed, this, &frmPatientIndex::showPatient);
    connect(m_hospNum, &QLineEdit::returnPressed, this,
            [this] { m_presenter.enter(m_hospNum->text()); });
    connect(m_procedures, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { m_presenter.openProcedure(row); });
    connect(m_new, &QPushButton::clicked, this, [this] { m_presenter.newProcedure(); });
    connect(m_refresh, &QPushButton::clicked, this, [this] { m_presenter.refresh(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmPatientIndex::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_hospNum && event->type() == QEvent::FocusIn)
        m_guideline->setText(PatientIndex::guideline());
    else if (watched == m_hospNum && event->type() == QEvent::FocusOut)
        m_guideline->clear();
    return QDialog::eventFilter(watched, event);
}

void frmPatientIndex::showPatient()
{
    // A patient found by name shows his hospital number in place of what was typed.
    if (!m_presenter.hospNum().isEmpty())
        m_hospNum->setText(m_presenter.hospNum());
    m_idNum->setText(m_presenter.admissionNumber());
    const PatientIndexFields &f = m_presenter.fields();
    m_patientName->setText(f.PatientName);
    m_address->setText(f.Address);
    m_birthDate->setText(f.BirthDate);
    m_age->setText(f.Age);
    m_sex->setText(f.Sex);
    m_bloodType->setText(f.BloodType);
    fillGrid(m_procedures, m_presenter.procedures());
    fillGrid(m_updates, m_presenter.updates());
}

std::optional<int> frmPatientIndex::choosePatient(const QList<PatientMatch> &matches)
{
    QDialog picker(this);
    picker.setObjectName(QStringLiteral("frmPatientPicker"));
    picker.setWindowTitle(QStringLiteral("Select Patient"));
    auto *grid = makeGrid(QStringLiteral("grdPatients"), &picker);
    grid->setColumnCount(4);
    grid->setHorizontalHeaderLabels({QStringLiteral("Hospital #"), QStringLiteral("Patient Name"),
                                     QStringLiteral("Birth Date"), QStringLiteral("Sex")});
    grid->setRowCount(int(matches.size()));
    for (int r = 0; r < matches.size(); ++r) {
        const PatientMatch &m = matches.at(r);
        const QStringList cells{m.HospNum, m.PatientName, m.BirthDate, m.Sex};
        for (int c = 0; c < cells.size(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(cells.at(c)));
    }
    grid->resizeColumnsToContents();
    grid->selectRow(0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &picker);
    connect(buttons, &QDialogButtonBox::accepted, &picker, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &picker, &QDialog::reject);
    connect(grid, &QTableWidget::cellDoubleClicked, &picker, &QDialog::accept);
    auto *layout = new QVBoxLayout(&picker);
    layout->addWidget(new QLabel(QStringLiteral("More than one patient has this name. Choose "
                                                "the patient:"),
                                 &picker));
    layout->addWidget(grid, 1);
    layout->addWidget(buttons);
    picker.resize(7500 / 15, 4500 / 15);
    if (picker.exec() != QDialog::Accepted || grid->currentRow() < 0)
        return std::nullopt;
    return grid->currentRow();
}

} // namespace kestrel
