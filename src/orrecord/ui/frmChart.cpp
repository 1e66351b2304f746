// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/ui/frmChart.h"

#include "core/Notifier.h"
#include "core/Session.h"
#include "core/ui/KeyFilter.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeEdit>

namespace kestrel {

namespace {

constexpr const char *kColumn = "orColumn";

QString pickFrom(QWidget *parent, const QString &title,
                 const QList<std::pair<QString, QString>> &rows)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
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
    dialog.resize(520, 380);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return {};
    return list->currentItem()->data(Qt::UserRole).toString();
}

QString buttonColour(bool signedRole)
{
    // Signed green, unsigned light red, as the hospital's forms show them.
    return signedRole ? QStringLiteral("background-color: #80FF80;")
                      : QStringLiteral("background-color: #FF8080;");
}

} // namespace

frmChart::frmChart(Session &session, ORRecordEntry::Layout layout, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, layout)
{
    setWindowTitle(QStringLiteral("Operation Procedures Entry"));
    setObjectName(layout == ORRecordEntry::Layout::Chart ? QStringLiteral("frmChart")
                                                          : QStringLiteral("frmChart_VZ"));
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(buildHeader());
    m_procedureCaption = new QLabel(this);
    QFont bold = m_procedureCaption->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_procedureCaption->setFont(bold);
    outer->addWidget(m_procedureCaption);

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(buildStaff(), QStringLiteral("Operation"));
    m_tabs->addTab(buildTimes(), QStringLiteral("Time"));
    buildNarrative();
    if (layout != ORRecordEntry::Layout::ChartWithCounts)
        m_tabs->addTab(buildOtherInfo(), QStringLiteral("Other Info"));
    else
        m_tabs->addTab(buildCounts(), QStringLiteral("Counts"));
    outer->addWidget(m_tabs, 1);
    outer->addWidget(buildButtons());
    connect(&m_presenter, &ORRecordEntry::changed, this, &frmChart::showRecord);
    resize(980, 720);
}

bool frmChart::open(const OROpening &opening)
{
    return m_presenter.open(opening);
}

QWidget *frmChart::buildHeader()
{
    auto *box = new QGroupBox(this);
    auto *grid = new QGridLayout(box);
    const QList<std::pair<QString, QString>> fields{
        {QStringLiteral("txtId"), QStringLiteral("Adm. No.")},
        {QStringLiteral("txtPno"), QStringLiteral("Hosp. No.")},
        {QStringLiteral("txtPatient"), QStringLiteral("Patient")},
        {QStringLiteral("txtSex"), QStringLiteral("Sex")},
        {QStringLiteral("txtAge"), QStringLiteral("Age")},
        {QStringLiteral("txtDob"), QStringLiteral("Birth Date")},
        {QStringLiteral("txtRoom"), QStringLiteral("Room")},
        {QStringLiteral("txtDateAdmitted"), QStringLiteral("Date Admitted")},
        {QStringLiteral("txtDateDischarged"), QStringLiteral("Date Discharged")},
        {QStringLiteral("txtDoctor1"), QStringLiteral("Doctor")},
        {QStringLiteral("txtDoctor2"), QStringLiteral("Doctor")},
        {QStringLiteral("txtDoctor3"), QStringLiteral("Doctor")}};
    QList<std::pair<QWidget *, QString>> shown;
    for (const auto &[name, caption] : fields) {
        auto *value = new QLabel(box);
        value->setObjectName(name);
        value->setFrameShape(QFrame::StyledPanel);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_header.insert(name, value);
        shown.append({value, caption});
    }
    captioned(grid, shown, 4, false);
    return box;
}

void frmChart::captioned(QGridLayout *grid, const QList<std::pair<QWidget *, QString>> &fields,
                         int perLine, bool down)
{
    for (int i = 0; i < fields.size(); ++i) {
        const int line = down ? i % perLine : i / perLine;
        const int column = (down ? i / perLine : i % perLine) * 2;
        QWidget *field = fields.at(i).first;
        grid->addWidget(new QLabel(fields.at(i).second, field->parentWidget()), line, column);
        grid->addWidget(field, line, column + 1);
    }
}

QLineEdit *frmChart::lookupField(const QString &column, const QString &list, QWidget *parent)
{
    Lookup l{column, list, new QLineEdit(parent), new QLabel(parent)};
    l.code->setProperty(kColumn, column);
    l.code->setObjectName(column);
    l.code->setMaximumWidth(list == u"EA" ? 260 : 110);
    installUpperCase(l.code);
    l.code->installEventFilter(this);
    l.name->setMinimumWidth(200);
    m_lookups << l;
    return l.code;
}

QLineEdit *frmChart::textField(const QString &column)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(column);
    m_texts.insert(column, edit);
    return edit;
}

QButtonGroup *frmChart::options(const QString &column, const QStringList &captions,
                                const QStringList &values, QWidget *parent)
{
    auto *group = new QButtonGroup(parent);
    group->setExclusive(false);
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < captions.size(); ++i) {
        auto *button = new QRadioButton(captions.at(i), row);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    layout->addStretch();
    // One choice at most, and none is a choice too.
    connect(group, &QButtonGroup::idToggled, this, [group](int id, bool on) {
        if (!on)
            return;
        for (QAbstractButton *b : group->buttons()) {
            if (group->id(b) != id)
                b->setChecked(false);
        }
    });
    row->setObjectName(column);
    m_options.insert(column, group);
    m_optionValues.insert(column, values);
    return group;
}

QWidget *frmChart::buildStaff()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    int row = 0;
    const auto addLookup = [&](const QString &caption, const QString &column,
                               const QString &list) {
        grid->addWidget(new QLabel(caption, page), row, 0);
        grid->addWidget(lookupField(column, list, page), row, 1);
        grid->addWidget(m_lookups.last().name, row, 2, 1, 2);
        ++row;
    };
    const ORRecordSwitches &w = m_presenter.switches();
    const QString scale = m_presenter.scaleWord();
    addLookup(scale + QStringLiteral(" Code (PHIC)"), QStringLiteral("PHICCode"),
              QStringLiteral("RVS"));
    m_rvsDescription = m_lookups.last().name;
    m_rvsPoints = new QLabel(page);
    grid->addWidget(new QLabel(scale + QStringLiteral(" Points"), page), row, 0);
    grid->addWidget(m_rvsPoints, row++, 1);
    addLookup(QStringLiteral("Operation Performed"), QStringLiteral("Procedures"),
              QStringLiteral("OR"));
    addLookup(QStringLiteral("Surgeon"), QStringLiteral("SurgeonID1"), QStringLiteral("DOCTOR"));
    addLookup(QStringLiteral("1st Asst."), QStringLiteral("SurgeonID2"), QStringLiteral("DOCTOR"));
    addLookup(QStringLiteral("2nd Asst."), QStringLiteral("SurgeonID3"), QStringLiteral("DOCTOR"));
    grid->addWidget(new QLabel(QStringLiteral("Other Surgeons"), page), row, 0);
    grid->addWidget(textField(QStringLiteral("OtherSurgeons")), row++, 1, 1, 3);
    addLookup(QStringLiteral("Anesthesiologist"), QStringLiteral("AnestheID"),
              QStringLiteral("DOCTOR"));
    addLookup(QStringLiteral("1st Asst."), QStringLiteral("Anesth1"), QStringLiteral("DOCTOR"));
    addLookup(QStringLiteral("2nd Asst."), QStringLiteral("Anesth2"), QStringLiteral("DOCTOR"));
    addLookup(QStringLiteral("Anesthesia Type"), QStringLiteral("Anesthesia"),
              QStringLiteral("EA"));
    addLookup(QStringLiteral("Other Doctor"), QStringLiteral("AROD"), QStringLiteral("DOCTOR"));
    auto *arod = new QPushButton(QStringLiteral("..."), page);
    arod->setObjectName(QStringLiteral("cmdAROD"));
    grid->addWidget(arod, row - 1, 4);
    connect(arod, &QPushButton::clicked, this, [this] { lookUp(QStringLiteral("AROD")); });

    int nurseRow = 0;
    auto *nurses = new QGridLayout;
    const auto addNurse = [&](const QString &caption, const QString &column) {
        nurses->addWidget(new QLabel(caption, page), nurseRow, 0);
        nurses->addWidget(lookupField(column, QStringLiteral("NURSE"), page), nurseRow, 1);
        nurses->addWidget(m_lookups.last().name, nurseRow, 2);
        ++nurseRow;
    };
    addNurse(QStringLiteral("Scrub Nurse 1:"), QStringLiteral("SnurseID1"));
    addNurse(QStringLiteral("Scrub Nurse 2:"), QStringLiteral("SnurseID2"));
    nurses->addWidget(new QLabel(QStringLiteral("Others"), page), nurseRow, 0);
    nurses->addWidget(textField(QStringLiteral("SNOthers")), nurseRow++, 1, 1, 2);
    addNurse(QStringLiteral("Circulating Nurse 1:"), QStringLiteral("CnurseID1"));
    addNurse(QStringLiteral("Circulating Nurse 2:"), QStringLiteral("CnurseID2"));
    nurses->addWidget(new QLabel(QStringLiteral("Others"), page), nurseRow, 0);
    nurses->addWidget(textField(QStringLiteral("CNOthers")), nurseRow++, 1, 1, 2);
    if (w.enableAsstNurse) {
        addNurse(QStringLiteral("A. Nurse 1:"), QStringLiteral("AsstNurseID1"));
        addNurse(QStringLiteral("A. Nurse 2:"), QStringLiteral("AsstNurseID2"));
        nurses->addWidget(new QLabel(QStringLiteral("Others"), page), nurseRow, 0);
        nurses->addWidget(textField(QStringLiteral("ANOthers")), nurseRow++, 1, 1, 2);
    }
    m_room = new QComboBox(page);
    m_room->setObjectName(QStringLiteral("ORNumber"));
    nurses->addWidget(new QLabel(QStringLiteral("OR Room"), page), nurseRow, 0);
    nurses->addWidget(m_room, nurseRow++, 1, 1, 2);
    m_category = new QComboBox(page);
    m_category->setObjectName(QStringLiteral("Category"));
    nurses->addWidget(new QLabel(QStringLiteral("Category"), page), nurseRow, 0);
    nurses->addWidget(m_category, nurseRow++, 1, 1, 2);
    nurses->addWidget(new QLabel(QStringLiteral("Antibiotic Prophylaxis Given"), page), nurseRow,
                      0);
    nurses->addWidget(textField(QStringLiteral("Prophylaxis")), nurseRow++, 1, 1, 2);
    const QStringList yesNo{QStringLiteral("Y"), QStringLiteral("N")};
    const QStringList complete{QStringLiteral("Complete"), QStringLiteral("Incomplete")};
    if (w.showCompleteInc) {
        for (const auto &[caption, column] :
             {std::pair{QStringLiteral("Sponge Count"), QStringLiteral("SpongeCount")},
              {QStringLiteral("Sutures/Blade"), QStringLiteral("Sutures")},
              {QStringLiteral("Instruments"), QStringLiteral("Instrument")}}) {
            options(column, complete, yesNo, page);
            nurses->addWidget(new QLabel(caption, page), nurseRow, 0);
            nurses->addWidget(m_options.value(column)->buttons().first()->parentWidget(),
                              nurseRow++, 1, 1, 2);
        }
    } else {
        m_spongeComplete = new QCheckBox(QStringLiteral("Sponge Count"), page);
        m_spongeComplete->setObjectName(QStringLiteral("SpongeCount"));
        nurses->addWidget(m_spongeComplete, nurseRow++, 1, 1, 2);
    }
    nurses->setRowStretch(nurseRow, 1);
    grid->addLayout(nurses, 0, 5, row, 1);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget *frmChart::buildTimes()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    using namespace ormoment;
    QList<std::pair<QString, ORMoment>> moments{{QStringLiteral("Date / Time In"), PatientIn},
                                                {QStringLiteral("Anesthesia"), Anesthesia},
                                                {QStringLiteral("Cutting"), Cutting},
                                                {QStringLiteral("Closing"), Closing}};
    if (m_presenter.switches().showAnesthesiaDone)
        moments << std::pair{QStringLiteral("Anesthesia Done"), AnesthesiaDone};
    moments << std::pair{QStringLiteral("Date / Time Out"), PatientOut};
    grid->addLayout(momentEdits(moments, page), 0, 0);
    grid->setRowStretch(1, 1);
    return page;
}

QGridLayout *frmChart::momentEdits(const QList<std::pair<QString, ORMoment>> &moments,
                                   QWidget *page)
{
    auto *grid = new QGridLayout;
    int row = 0;
    for (const auto &[caption, moment] : moments) {
        MomentEdit e{moment, new QDateEdit(page), new QTimeEdit(page)};
        e.date->setCalendarPopup(true);
        e.date->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
        e.time->setDisplayFormat(QStringLiteral("hh:mm AP"));
        e.date->setObjectName(QString::fromUtf16(moment.dateColumn));
        e.time->setObjectName(QString::fromUtf16(moment.timeColumn));
        grid->addWidget(new QLabel(caption, page), row, 0);
        grid->addWidget(e.date, row, 1);
        grid->addWidget(e.time, row++, 2);
        m_moments << e;
    }
    grid->setColumnStretch(3, 1);
    return grid;
}

QWidget *frmChart::buildNarrative()
{
    const QStringList captions = m_presenter.narrativeCaptions();
    const QStringList columns = narrativeColumns();
    const ORRecordSwitches &w = m_presenter.switches();
    const QStringList lateral{QStringLiteral("Left"), QStringLiteral("Right"),
                              QStringLiteral("Both")};
    const QStringList letters{QStringLiteral("L"), QStringLiteral("R"), QStringLiteral("B")};
    for (int i = 0; i < columns.size(); ++i) {
        auto *page = new QWidget(this);
        auto *layout = new QVBoxLayout(page);
        auto *memo = new QPlainTextEdit(page);
        memo->setObjectName(columns.at(i));
        m_memos.insert(columns.at(i), memo);
        layout->addWidget(memo, 1);
        const QString lat = i == 0 ? QStringLiteral("preopdxlat")
                            : i == 1 ? QStringLiteral("postopdxlat")
                            : i == 7 ? QStringLiteral("opperformedlat")
                                     : QString();
        if (w.enableLaterality && !lat.isEmpty()) {
            options(lat, lateral, letters, page);
            auto *row = new QHBoxLayout;
            row->addWidget(new QLabel(QStringLiteral("Laterality"), page));
            row->addWidget(m_options.value(lat)->buttons().first()->parentWidget(), 1);
            layout->addLayout(row);
        }
        if (i == 7) {
            m_techniqueWarning = new QLabel(page);
            m_techniqueWarning->setObjectName(QStringLiteral("lblWarningORTech"));
            m_techniqueWarning->setStyleSheet(QStringLiteral("color: #C00000;"));
            m_techniqueWarning->setWordWrap(true);
            layout->addWidget(m_techniqueWarning);
            connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] {
                m_presenter.edit().setText(QStringLiteral("ot"), memo->toPlainText());
                m_techniqueWarning->setText(m_presenter.techniqueWarningText());
            });
        }
        if (i == 10 && w.showSpecimen)
            layout->addLayout(momentEdits({{QStringLiteral("Specimen In"), ormoment::SpecimenIn},
                                           {QStringLiteral("Specimen Out"), ormoment::SpecimenOut}},
                                          page));
        m_tabs->addTab(page, captions.at(i));
    }
    auto *remarks = new QPlainTextEdit(this);
    remarks->setObjectName(QStringLiteral("Remarks"));
    m_memos.insert(QStringLiteral("Remarks"), remarks);
    m_tabs->addTab(remarks, QStringLiteral("Remarks"));
    return nullptr;
}

QWidget *frmChart::buildOtherInfo()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    const QList<std::pair<QString, QString>> fields{
        {QStringLiteral("OperationProposed"), QStringLiteral("Operation Proposed")},
        {QStringLiteral("FoodIntake"), QStringLiteral("Last Food Intake")},
        {QStringLiteral("ManualORNo"), QStringLiteral("Manual OR No.")},
        {QStringLiteral("TotalFluids"), QStringLiteral("Total Fluids")},
        {QStringLiteral("BloodLoss"), QStringLiteral("Blood Loss")},
        {QStringLiteral("BloodProducts"), QStringLiteral("Blood Products")},
        {QStringLiteral("PreOPBP"), QStringLiteral("Pre-Op BP")},
        {QStringLiteral("PreOPTemp"), QStringLiteral("Pre-Op Temp")},
        {QStringLiteral("PreOPPR"), QStringLiteral("Pre-Op PR")},
        {QStringLiteral("PreOPRR"), QStringLiteral("Pre-Op RR")},
        {QStringLiteral("PostOPBP"), QStringLiteral("Post-Op BP")},
        {QStringLiteral("PostOPO2Sat"), QStringLiteral("Post-Op O2 Sat")},
        {QStringLiteral("PostOPPR"), QStringLiteral("Post-Op PR")},
        {QStringLiteral("PostOPRR"), QStringLiteral("Post-Op RR")},
        {QStringLiteral("PostOPStatus"), QStringLiteral("Post-Op Status")}};
    QList<std::pair<QWidget *, QString>> edits;
    for (const auto &[column, caption] : fields)
        edits.append({textField(column), caption});
    captioned(grid, edits, 8, true);
    options(QStringLiteral("PostOPTO"),
            {QStringLiteral("RR"), QStringLiteral("WARD"), QStringLiteral("ICU")},
            {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}, page);
    grid->addWidget(new QLabel(QStringLiteral("Transferred To"), page), 7, 2);
    grid->addWidget(m_options.value(QStringLiteral("PostOPTO"))->buttons().first()->parentWidget(),
                    7, 3);
    int row = 8;
    for (const auto &[column, caption] :
         {std::pair{QStringLiteral("SystemReview"), QStringLiteral("Review of Systems")},
          {QStringLiteral("Premedication"), QStringLiteral("Premedication")},
          {QStringLiteral("Inductions"), QStringLiteral("Induction")},
          {QStringLiteral("Maintenance"), QStringLiteral("Maintenance")}}) {
        auto *memo = new QPlainTextEdit(page);
        memo->setObjectName(column);
        memo->setMaximumHeight(60);
        m_memos.insert(column, memo);
        grid->addWidget(new QLabel(caption, page), row, 0);
        grid->addWidget(memo, row++, 1, 1, 3);
    }
    return page;
}

QWidget *frmChart::buildCounts()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    m_sponges = new QTableWidget(6, 7, page);
    m_sponges->setObjectName(QStringLiteral("mshSponge"));
    m_sponges->setHorizontalHeaderLabels(
        {QStringLiteral("SPONGE COUNT"), QStringLiteral("ON TABLE"), QStringLiteral("ON FLOOR"),
         QStringLiteral("TOTAL"), QStringLiteral("ON TABLE"), QStringLiteral("ON FLOOR"),
         QStringLiteral("TOTAL")});
    m_otherCounts = new QTableWidget(6, 7, page);
    m_otherCounts->setObjectName(QStringLiteral("mshOtherCount"));
    m_otherCounts->setHorizontalHeaderLabels({QString(), QStringLiteral("BEFORE"),
                                              QStringLiteral("AFTER"), QStringLiteral("TOTAL"),
                                              QString(), QString(), QString()});
    m_otherCounts->horizontalHeaderItem(4)->setToolTip(QStringLiteral("Closing count"));
    for (QTableWidget *grid : {m_sponges, m_otherCounts}) {
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        connect(grid, &QTableWidget::itemChanged, this, [this] {
            if (m_showing)
                return;
            collectCounts();
            showCounts();
        });
    }
    layout->addWidget(m_sponges);
    layout->addWidget(m_otherCounts);
    m_discrepancy = new QLabel(page);
    m_discrepancy->setObjectName(QStringLiteral("lblCountDiscrepancy"));
    m_discrepancy->setStyleSheet(QStringLiteral("color: #C00000; font-weight: bold;"));
    m_discrepancy->setWordWrap(true);
    layout->addWidget(m_discrepancy);
    return page;
}

QWidget *frmChart::buildButtons()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    const bool counts = m_presenter.layout() == ORRecordEntry::Layout::ChartWithCounts;
    for (const ORSignatureRole &r : signatureRoles()) {
        auto *b = new QPushButton(QStringLiteral("Signature"), bar);
        b->setObjectName(QStringLiteral("cmdSignature%1").arg(int(r.role)));
        b->setToolTip(r.required.section(QStringLiteral(" Signature"), 0, 0));
        b->setVisible(m_presenter.switches().showSignature);
        connect(b, &QPushButton::clicked, this, [this, role = r.role] {
            collect();
            m_presenter.sign(role);
        });
        m_signatures.insert(r.role, b);
        row->addWidget(b);
    }
    row->addStretch();
    m_save = new QPushButton(QStringLiteral("&Save"), bar);
    auto *close = new QPushButton(QStringLiteral("&Close"), bar);
    auto *print = new QPushButton(QStringLiteral("&Print"), bar);
    auto *second = new QPushButton(
        counts ? QStringLiteral("&Record of Operation") : QStringLiteral("&Anesthesia Record"),
        bar);
    auto *reset = new QPushButton(QStringLiteral("&Reset"), bar);
    for (auto *b : {m_save, close, print, second, reset})
        row->addWidget(b);
    m_save->setObjectName(QStringLiteral("cmdOption0"));
    close->setObjectName(QStringLiteral("cmdOption1"));
    print->setObjectName(QStringLiteral("cmdOption2"));
    second->setObjectName(QStringLiteral("cmdOption3"));
    reset->setObjectName(QStringLiteral("cmdReset"));
    connect(m_save, &QPushButton::clicked, this, &frmChart::doSave);
    connect(close, &QPushButton::clicked, this, [this] {
        if (auto *sub = parentWidget(); sub && sub->inherits("QMdiSubWindow"))
            sub->close();
        else
            QWidget::close();
    });
    connect(print, &QPushButton::clicked, this, [this] { m_presenter.print(); });
    connect(second, &QPushButton::clicked, this, [this] { m_presenter.printSecond(); });
    connect(reset, &QPushButton::clicked, this, [this] { m_presenter.reset(); });
    return bar;
}

QWidget *frmChart::fieldOf(const QString &column) const
{
    if (column == u"Counts")
        return m_sponges;
    return findChild<QWidget *>(column);
}

void frmChart::showRecord()
{
    m_showing = true;
    const ORRecordEntry &p = m_presenter;
    const ORRecord &r = p.record();
    const ORRecordHeader &h = p.header();
    m_header.value(QStringLiteral("txtId"))->setText(h.idNum);
    m_header.value(QStringLiteral("txtPno"))->setText(h.hospNum);
    m_header.value(QStringLiteral("txtPatient"))->setText(h.patientName);
    m_header.value(QStringLiteral("txtSex"))->setText(h.sex);
    m_header.value(QStringLiteral("txtAge"))->setText(h.age);
    m_header.value(QStringLiteral("txtDob"))->setText(h.birthDate);
    m_header.value(QStringLiteral("txtRoom"))->setText(h.room);
    m_header.value(QStringLiteral("txtDateAdmitted"))->setText(h.admitted);
    m_header.value(QStringLiteral("txtDateDischarged"))->setText(h.discharged);
    for (int i = 0; i < 3; ++i)
        m_header.value(QStringLiteral("txtDoctor%1").arg(i + 1))->setText(h.doctors[i]);
    m_procedureCaption->setText(p.procedureCaption());

    for (const Lookup &l : std::as_const(m_lookups)) {
        l.code->setText(r.text(l.column).trimmed());
        if (l.column == u"PHICCode")
            l.name->setText(p.rvsDescription());
        else if (l.list == u"OR")
            l.name->setText(l.code->text().isEmpty()
                                ? QString()
                                : (l.code->text() == p.opening().procedureId
                                       ? p.opening().procedureName
                                       : m_presenter.store().procedureName(
                                             l.code->text(), QStringLiteral("OR"))));
        else
            l.name->setText(p.nameOf(personNameColumn(l.column)));
        if (l.list == u"OR")
            l.code->setReadOnly(p.procedureLocked());
    }
    m_rvsPoints->setText(p.rvsPoints());
    for (const MomentEdit &e : std::as_const(m_moments)) {
        const QDateTime at = r.moment(e.moment);
        e.date->setDate(at.date().isValid() ? at.date() : QDate::currentDate());
        e.time->setTime(at.time().isValid() ? at.time() : QTime(0, 0));
    }
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it)
        it.value()->setText(r.text(it.key()));
    for (auto it = m_memos.cbegin(); it != m_memos.cend(); ++it) {
        if (it.value()->toPlainText() != r.text(it.key()))
            it.value()->setPlainText(r.text(it.key()));
    }
    for (auto it = m_options.cbegin(); it != m_options.cend(); ++it) {
        const int chosen = m_optionValues.value(it.key()).indexOf(r.text(it.key()).trimmed());
        for (QAbstractButton *b : it.value()->buttons())
            b->setChecked(it.value()->id(b) == chosen);
    }
    if (m_spongeComplete)
        m_spongeComplete->setChecked(r.text(u"SpongeCount").trimmed() == u"Y");
    m_room->clear();
    m_room->addItem(QString());
    m_room->addItems(p.rooms());
    const QString room = r.text(u"ORNumber").trimmed();
    if (!room.isEmpty() && m_room->findText(room) < 0)
        m_room->addItem(room);
    m_room->setCurrentText(room);
    m_category->clear();
    m_category->addItem(QString());
    m_category->addItems(p.categories());
    m_category->setCurrentText(categoryText(r.text(u"Category")));
    if (m_techniqueWarning)
        m_techniqueWarning->setText(p.techniqueWarningText());
    showSignatures();
    showCounts();
    m_showing = false;
}

void frmChart::showSignatures()
{
    const bool enabled = m_presenter.signaturesEnabled();
    for (auto it = m_signatures.cbegin(); it != m_signatures.cend(); ++it) {
        it.value()->setEnabled(enabled);
        it.value()->setStyleSheet(buttonColour(m_presenter.isSigned(it.key())));
    }
}

void frmChart::showCounts()
{
    if (!m_sponges)
        return;
    const bool wasShowing = m_showing;
    m_showing = true;
    QList<ORCountLine> lines = m_presenter.counts();
    const auto fill = [&](QTableWidget *grid, int type, const QStringList &items) {
        for (int row = 0; row < 6; ++row) {
            const ORCountLine *line = nullptr;
            for (const ORCountLine &l : std::as_const(lines)) {
                if (l.type == type && l.row == row + 1)
                    line = &l;
            }
            const QString item = line ? line->item : items.value(row);
            const auto cell = [&](int column, const QString &text) {
                auto *it = grid->item(row, column);
                if (!it) {
                    it = new QTableWidgetItem;
                    grid->setItem(row, column, it);
                }
                if (it->text() != text)
                    it->setText(text);
                it->setForeground(line && line->discrepancy() ? QColor(0xC0, 0, 0)
                                                               : QColor(Qt::black));
            };
            cell(0, item);
            for (int c = 1; c < 7; ++c)
                cell(c, line ? line->value(c - 1) : QString());
        }
    };
    fill(m_sponges, 1, spongeItems());
    fill(m_otherCounts, 2, otherCountItems());
    const QStringList off = m_presenter.discrepancies();
    m_discrepancy->setText(off.isEmpty() ? QString()
                                         : QStringLiteral("COUNT DISCREPANCY: ") +
                                               off.join(QStringLiteral("; ")));
    m_showing = wasShowing;
}

void frmChart::collectCounts()
{
    if (!m_sponges)
        return;
    QList<ORCountLine> lines;
    QHash<std::pair<int, int>, ORCountLine> kept;
    for (const ORCountLine &l : m_presenter.counts())
        kept.insert({l.type, l.row}, l);
    for (int type : {1, 2}) {
        QTableWidget *grid = type == 1 ? m_sponges : m_otherCounts;
        for (int row = 0; row < 6; ++row) {
            ORCountLine l = kept.value({type, row + 1});
            l.type = type;
            l.row = row + 1;
            const auto text = [&](int c) {
                return grid->item(row, c) ? grid->item(row, c)->text().trimmed() : QString();
            };
            l.item = text(0);
            l.values.clear();
            for (int c = 1; c < 7; ++c)
                l.values << text(c);
            if (!l.isEmpty() || kept.contains({type, row + 1}))
                lines << l;
        }
    }
    m_presenter.setCounts(lines);
}

void frmChart::collect()
{
    if (m_showing)
        return;
    ORRecord &r = m_presenter.edit();
    for (const Lookup &l : std::as_const(m_lookups)) {
        if (r.text(l.column).trimmed() != l.code->text().trimmed())
            r.setText(l.column, l.code->text().trimmed());
    }
    for (const MomentEdit &e : std::as_const(m_moments))
        r.setMoment(e.moment, QDateTime(e.date->date(), e.time->time()));
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it)
        r.setText(it.key(), it.value()->text());
    for (auto it = m_memos.cbegin(); it != m_memos.cend(); ++it)
        r.setText(it.key(), it.value()->toPlainText());
    for (auto it = m_options.cbegin(); it != m_options.cend(); ++it) {
        const int chosen = it.value()->checkedId();
        r.setText(it.key(), chosen < 0 ? QString() : m_optionValues.value(it.key()).value(chosen));
    }
    if (m_spongeComplete)
        r.setText(QStringLiteral("SpongeCount"),
                  m_spongeComplete->isChecked() ? QStringLiteral("Y") : QStringLiteral("N"));
    r.setText(QStringLiteral("ORNumber"), m_room->currentText().trimmed());
    r.setText(QStringLiteral("Category"), categoryDigit(m_category->currentText()));
    collectCounts();
}

void frmChart::lookUp(const QString &column)
{
    auto found = std::find_if(m_lookups.begin(), m_lookups.end(),
                              [&](const Lookup &l) { return l.column == column; });
    if (found == m_lookups.end() || found->code->isReadOnly())
        return;
    const Lookup l = *found;
    collect();
    // A signed person is changed only when the nurse says so.
    if (const auto role = ORRecordEntry::roleOfField(column)) {
        if (!m_presenter.confirmChangeOf(*role)) {
            l.code->setText(m_presenter.record().text(column).trimmed());
            return;
        }
    }
    const QString typed = l.code->text().trimmed();
    auto rows = m_presenter.store().search(l.list, typed);
    if (!rows) {
        m_presenter.reportError(rows.error());
        return;
    }
    QString code;
    for (const auto &[c, name] : *rows) {
        if (c.compare(typed, Qt::CaseInsensitive) == 0)
            code = c;
    }
    if (code.isEmpty() && rows->size() == 1)
        code = rows->first().first;
    if (code.isEmpty() && !rows->isEmpty())
        code = pickFrom(this, QStringLiteral("Search"), *rows);
    if (code.isEmpty()) {
        if (rows->isEmpty())
            l.name->setText(QStringLiteral("(not found)"));
        return;
    }
    QString name;
    for (const auto &[c, n] : *rows) {
        if (c == code)
            name = n;
    }
    if (l.list == u"RVS") {
        const auto rvs = m_presenter.store().rvs(code);
        m_presenter.setRvs(code, name, rvs ? QString::number(rvs->second) : QString());
    } else if (l.list == u"EA") {
        // The type of anaesthesia is kept by its name.
        m_presenter.setPicked(column, name, name);
    } else {
        m_presenter.setPicked(column, code, name);
    }
    showRecord();
    focusNextChild();
}

bool frmChart::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const QString column = watched->property(kColumn).toString();
            if (!column.isEmpty()) {
                lookUp(column);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmChart::focusRefusal()
{
    const auto &refusal = m_presenter.lastRefusal();
    if (!refusal)
        return;
    QWidget *field = fieldOf(refusal->column);
    if (!field)
        return;
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->widget(i)->isAncestorOf(field) || m_tabs->widget(i) == field)
            m_tabs->setCurrentIndex(i);
    }
    field->setFocus();
}

void frmChart::doSave()
{
    collect();
    if (!m_presenter.save())
        focusRefusal();
}

void frmChart::closeEvent(QCloseEvent *event)
{
    collect();
    if (m_presenter.confirmClose())
        event->accept();
    else
        event->ignore();
}

} // namespace kestrel
