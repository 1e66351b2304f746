// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/ui/frmFinal.h"

#include "core/Notifier.h"
#include "core/db/Database.h"
#include "core/db/NumberFormat.h"
#include "core/Session.h"
#include "nursing/ui/frmHtWt.h"
#include "profile/RequestRevoke.h"
#include "profile/results/ExamList.h"
#include "profile/ui/VitalSignsChart.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextCharFormat>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QPushButton *button(const QString &caption, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLineEdit *field(const QString &name, QWidget *parent, int twips = 0)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    if (twips > 0)
        e->setMaximumWidth(twips / 15);
    return e;
}

// Captions longer than this are broken at the blank nearest their middle.
constexpr qsizetype kLongCaption = 30;

QString twoLines(const QString &caption)
{
    if (caption.size() <= kLongCaption)
        return caption;
    const qsizetype middle = caption.size() / 2;
    const qsizetype before = caption.lastIndexOf(u' ', middle);
    const qsizetype after = caption.indexOf(u' ', middle);
    qsizetype at = before;
    if (at < 0 || (after >= 0 && after - middle < middle - before))
        at = after;
    if (at < 0)
        return caption;
    QString shown = caption;
    shown[at] = u'\n';
    return shown;
}

QTableWidget *grid(const QString &name, const QStringList &headers, QWidget *parent)
{
    auto *g = new QTableWidget(0, int(headers.size()), parent);
    g->setObjectName(name);
    g->setHorizontalHeaderLabels(headers);
    g->verticalHeader()->hide();
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return g;
}

} // namespace

frmFinal::frmFinal(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmFinal"));
    buildUi();
    bind();
}

void frmFinal::buildUi()
{
    setWindowTitle(QStringLiteral("Clinical Procedures"));

    m_meterLabel = new QLabel(QStringLiteral("Loading Patient Records"), this);
    m_meter = new QProgressBar(this);
    m_meter->setObjectName(QStringLiteral("pctMeter"));
    m_meter->setRange(0, PatientProfile::TabCount);
    auto *meterRow = new QHBoxLayout;
    meterRow->addWidget(m_meterLabel);
    meterRow->addWidget(m_meter, 1);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    const QStringList captions = PatientProfile::tabCaptions();
    for (int tab = 0; tab < captions.size(); ++tab) {
        QWidget *page = nullptr;
        if (tab == PatientProfile::VitalSignsTab)
            page = buildVitalSignsTab();
        else if (tab == PatientProfile::NurseNotesTab)
            page = buildNotesTab();
        else if (tab == PatientProfile::ProfileTab)
            page = buildProfileTab();
        else if (tab == PatientProfile::ResultsTab)
            page = buildResultsTab();
        else if (tab == PatientProfile::ScheduleTab)
            page = buildScheduleTab();
        else if (tab == PatientProfile::RequestStatusTab)
            page = buildRequestStatusTab();
        else if (tab == PatientProfile::CommonExamsTab)
            page = buildCommonExamsTab();
        else if (tab == PatientProfile::ReportsTab)
            page = buildListTab(m_reports, QStringLiteral("mshflexReports"), QString());
        else
            page = new QWidget(this);
        m_tabs->addTab(page, captions.at(tab));
    }

    auto *body = new QHBoxLayout;
    body->addWidget(m_tabs, 1);
    body->addWidget(buildActions());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildHeader());
    layout->addLayout(meterRow);
    layout->addLayout(body, 1);
    m_meter->hide();
    m_meterLabel->hide();
}

QWidget *frmFinal::buildHeader()
{
    auto *box = new QGroupBox(this);
    auto *g = new QGridLayout(box);
    struct Item
    {
        const char *label;
        const char *name;
        QString ProfileHeader::*value;
        int row, column, span;
    };
    static const Item items[] = {
        {"Adm. No.", "txtId", &ProfileHeader::IdNum, 0, 0, 1},
        {"Hosp. No.", "txtPno", &ProfileHeader::HospNum, 0, 2, 1},
        {"Patient", "txtPatient", &ProfileHeader::PatientName, 0, 4, 3},
        {"Sex", "txtSex", &ProfileHeader::Sex, 1, 0, 1},
        {"Age", "txtAge", &ProfileHeader::Age, 1, 2, 1},
        {"Birth Date", "txtDob", &ProfileHeader::BirthDate, 1, 4, 1},
        {"B.T.", "txtBloodType", &ProfileHeader::BloodType, 1, 6, 1},
        {"Room", "txtRoom", &ProfileHeader::Room, 2, 0, 1},
        {"Status", "txtStatus", &ProfileHeader::Status, 2, 2, 1},
        {"Date Admitted", "txtDateAdmitted", &ProfileHeader::DateAdmitted, 2, 4, 1},
        {"Date Discharged", "txtDateDischarged", &ProfileHeader::DateDischarged, 2, 6, 1},
        {"Diagnosis", "txtDiagnosis", &ProfileHeader::Diagnosis, 3, 0, 7},
        {"Doctor", "txtDoctor1", &ProfileHeader::Doctor1, 4, 0, 1},
        {"", "txtDoctor2", &ProfileHeader::Doctor2, 4, 2, 1},
        {"", "txtDoctor3", &ProfileHeader::Doctor3, 4, 4, 1},
        {"Diet", "txtAdiet", &ProfileHeader::Diet, 4, 6, 1},
        {"Adm. Type", "txtAdmType", &ProfileHeader::AdmissionType, 5, 0, 1},
        {"Patient Account", "txtPxAccount", &ProfileHeader::PatientAccount, 5, 2, 3},
        {"Ht. (cm)", "txtHt", &ProfileHeader::Height, 6, 0, 1},
        {"Wt. (kg)", "txtWt", &ProfileHeader::Weight, 6, 2, 1},
    };
    for (const Item &item : items) {
        QLineEdit *edit = field(QString::fromLatin1(item.name), box);
        edit->setReadOnly(true);
        g->addWidget(new QLabel(QString::fromLatin1(item.label), box), item.row, item.column);
        g->addWidget(edit, item.row, item.column + 1, 1, item.span);
        m_headerFields.append({edit, item.value});
    }
    g->addWidget(new QLabel(QStringLiteral("PHIC TYPE"), box), 6, 4);
    m_phicType = new QLabel(box);
    m_phicType->setObjectName(QStringLiteral("lblPHICType"));
    g->addWidget(m_phicType, 6, 5, 1, 3);
    return box;
}

QWidget *frmFinal::buildVitalSignsTab()
{
    auto *page = new QWidget(this);
    m_systolic = field(QStringLiteral("txtBloodPressure(0)"), page, 600);
    m_diastolic = field(QStringLiteral("txtBloodPressure(1)"), page, 600);
    m_temperature = field(QStringLiteral("txtTemperature"), page, 700);
    m_pulse = field(QStringLiteral("txtPulserate"), page, 700);
    m_respiration = field(QStringLiteral("txtRespiratoryrate"), page, 700);
    m_o2Sat = field(QStringLiteral("txtO2Sat"), page, 700);
    m_protocol = new QComboBox(page);
    m_protocol->setObjectName(QStringLiteral("cmbProfile"));
    m_protocol->setEditable(true);
    m_protocol->addItems(VitalSigns::protocols());
    m_protocol->setCurrentIndex(-1);

    auto *entry = new QGridLayout;
    auto *bp = new QHBoxLayout;
    bp->addWidget(m_systolic);
    bp->addWidget(new QLabel(QStringLiteral("/"), page));
    bp->addWidget(m_diastolic);
    bp->addStretch(1);
    entry->addWidget(new QLabel(QStringLiteral("Blood Pressure"), page), 0, 0);
    entry->addLayout(bp, 0, 1);
    entry->addWidget(new QLabel(QStringLiteral("Temperature"), page), 0, 2);
    entry->addWidget(m_temperature, 0, 3);
    entry->addWidget(new QLabel(QStringLiteral("Pulse Rate"), page), 1, 0);
    auto *pulse = new QHBoxLayout;
    pulse->addWidget(m_pulse);
    pulse->addWidget(new QLabel(QStringLiteral("/ min."), page));
    entry->addLayout(pulse, 1, 1);
    entry->addWidget(new QLabel(QStringLiteral("Respiratory Rate"), page), 1, 2);
    auto *resp = new QHBoxLayout;
    resp->addWidget(m_respiration);
    resp->addWidget(new QLabel(QStringLiteral("/ min."), page));
    entry->addLayout(resp, 1, 3);
    entry->addWidget(new QLabel(QStringLiteral("O2 Saturation"), page), 2, 0);
    entry->addWidget(m_o2Sat, 2, 1);
    entry->addWidget(new QLabel(QStringLiteral("Monitoring"), page), 2, 2);
    entry->addWidget(m_protocol, 2, 3);

    m_saveVitalSign = button(QStringLiteral("&Save"), QStringLiteral("cmdSaveVitalSign"), page);
    m_editVitalSign = button(QStringLiteral("Edit"), QStringLiteral("cmdEditVitalSign"), page);
    m_deleteVitalSign =
        button(QStringLiteral("Delete"), QStringLiteral("cmdDeleteVitalSign"), page);
    m_cancelVitalSign =
        button(QStringLiteral("Cancel"), QStringLiteral("cmdCancelVitalSign"), page);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {m_saveVitalSign, m_editVitalSign, m_deleteVitalSign, m_cancelVitalSign})
        buttons->addWidget(b);
    // "Cancel" shows only while a reading is being edited.
    m_cancelVitalSign->hide();

    m_vitalSigns = grid(QStringLiteral("mshflexProcessed(3)"), VitalSigns::columnHeaders(), page);
    for (int column = 0; column < m_vitalSigns->columnCount(); ++column)
        m_vitalSigns->setColumnHidden(column, VitalSigns::isColumnHidden(column));

    // The trend of the stay beside the readings, printable on its own.
    m_chart = new VitalSignsChart(page);
    m_printChart = button(QStringLiteral("Print C&hart"), QStringLiteral("cmdPrintChart"), page);
    buttons->addWidget(m_printChart);
    auto *split = new QSplitter(Qt::Horizontal, page);
    split->addWidget(m_vitalSigns);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({520, 520});

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(entry);
    layout->addLayout(buttons);
    layout->addWidget(split, 1);
    return page;
}

QWidget *frmFinal::buildNotesTab()
{
    auto *page = new QWidget(this);
    m_noteTime = new QDateTimeEdit(page);
    m_noteTime->setObjectName(QStringLiteral("dtpNotes"));
    m_noteTime->setDisplayFormat(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    m_shift = new QComboBox(page);
    m_shift->setObjectName(QStringLiteral("cboShift"));
    m_noteEntry = new QPlainTextEdit(page);
    m_noteEntry->setObjectName(QStringLiteral("txtNotesEntry"));
    m_saveNote = button(QStringLiteral("&Save"), QStringLiteral("cmdSaveNotes"), page);
    auto *entryRow = new QHBoxLayout;
    entryRow->addWidget(new QLabel(QStringLiteral("Date / Time"), page));
    entryRow->addWidget(m_noteTime);
    entryRow->addWidget(new QLabel(QStringLiteral("Shift"), page));
    entryRow->addWidget(m_shift);
    entryRow->addStretch(1);
    entryRow->addWidget(m_saveNote);

    m_previousNotes =
        grid(QStringLiteral("mshflexPrevNotes"),
             {QStringLiteral("Date / Time"), QStringLiteral("Day Shift"),
              QStringLiteral("Entered By"), QStringLiteral("User ID")},
             page);
    m_previousNote = new QPlainTextEdit(page);
    m_previousNote->setObjectName(QStringLiteral("txtPrevNotes"));
    m_editNote = button(QStringLiteral("&Edit"), QStringLiteral("cmdEditNotes"), page);
    m_deleteNote = button(QStringLiteral("&Delete"), QStringLiteral("cmdDeleteNotes"), page);
    auto *noteButtons = new QHBoxLayout;
    noteButtons->addStretch(1);
    noteButtons->addWidget(m_editNote);
    noteButtons->addWidget(m_deleteNote);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(entryRow);
    layout->addWidget(m_noteEntry, 1);
    layout->addWidget(m_previousNotes, 1);
    layout->addWidget(m_previousNote, 1);
    layout->addLayout(noteButtons);
    return page;
}

QWidget *frmFinal::buildProfileTab()
{
    auto *page = new QWidget(this);
    auto *boxes = new QGridLayout;
    struct GroupBox
    {
        ProfileHistory::Group group;
        const char *title;
        const char *prefix;
        int columns;
    };
    static const GroupBox groups[] = {
        {ProfileHistory::Group::Allergy, "Allergies", "chkAllergy", 2},
        {ProfileHistory::Group::Family, "Family History", "chkFH", 2},
        {ProfileHistory::Group::Personal, "Personal History", "chkPH", 3},
        {ProfileHistory::Group::Social, "Social History", "chkPSH", 1},
    };
    int at = 0;
    for (const GroupBox &g : groups) {
        auto *box = new QGroupBox(QString::fromLatin1(g.title), page);
        auto *grid = new QGridLayout(box);
        QList<QCheckBox *> checks;
        const QStringList names = ProfileHistory::names(g.group);
        for (int i = 0; i < names.size(); ++i) {
            auto *check = new QCheckBox(names.at(i), box);
            check->setObjectName(QStringLiteral("%1(%2)").arg(QString::fromLatin1(g.prefix)).arg(i));
            grid->addWidget(check, i / g.columns, i % g.columns);
            connect(check, &QCheckBox::clicked, this, [this, group = g.group, i, check](bool on) {
                const QSignalBlocker quiet(check);
                check->setChecked(m_presenter.history().setTicked(group, i, on));
            });
            checks << check;
        }
        m_historyBoxes.append({g.group, checks});
        // Two groups a row: four side by side do not fit beside the action column.
        boxes->addWidget(box, at / 2, at % 2);
        ++at;
    }

    auto *fields = new QFormLayout;
    struct Text
    {
        const char *label;
        const char *name;
        QString ProfileHistory::*value;
    };
    static const Text texts[] = {
        {"Other Allergies", "txtAllergyOthers", &ProfileHistory::allergyOthers},
        {"Other Family History", "txtFMOthers", &ProfileHistory::familyOthers},
        {"Admitting Diagnosis", "txtADMDiagnosis", &ProfileHistory::admDiagnosis},
        {"Chief Complaints", "txtChiefComplaints", &ProfileHistory::chiefComplaints},
        {"Brief History", "txtBriefHistory", &ProfileHistory::briefHistory},
        {"Skin", "txtSkin", &ProfileHistory::skin},
        {"Head and Neck", "txtHeadNeck", &ProfileHistory::headNeck},
        {"Chest and Lungs", "txtThorax", &ProfileHistory::thorax},
        {"Abdomen", "txtAbdomen", &ProfileHistory::abdomen},
        {"Extremities", "txtExtremeties", &ProfileHistory::extremeties},
        {"Lymph Nodes", "txtLympNodes", &ProfileHistory::lympNodes},
        {"Genitalia", "txtGenitalia", &ProfileHistory::genitalia},
        {"Rectal", "txtRectal", &ProfileHistory::rectal},
        {"Neurological", "txtNeurological", &ProfileHistory::neurological},
        {"Others", "txtOtherPE", &ProfileHistory::otherPE},
    };
    for (const Text &t : texts) {
        QLineEdit *edit = field(QString::fromLatin1(t.name), page);
        fields->addRow(QString::fromLatin1(t.label), edit);
        m_historyFields.append({edit, t.value});
    }
    m_saveProfile = button(QStringLiteral("&Save"), QStringLiteral("cmdSaveProfile"), page);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(boxes);
    layout->addLayout(fields);
    layout->addWidget(m_saveProfile, 0, Qt::AlignRight);
    return page;
}

QWidget *frmFinal::buildListTab(QTableWidget *&list, const QString &name, const QString &note)
{
    auto *page = new QWidget(this);
    list = grid(name, {}, page);
    auto *layout = new QVBoxLayout(page);
    if (!note.isEmpty())
        layout->addWidget(new QLabel(note, page));
    layout->addWidget(list, 1);
    return page;
}

QWidget *frmFinal::buildRequestStatusTab()
{
    QWidget *page = buildListTab(m_requestStatus, QStringLiteral("mshflexProcessed(0)"), QString());
    auto *revoke = button(QStringLiteral("&Revoke"), QStringLiteral("cmdRevokeRequest"), page);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(revoke);
    static_cast<QVBoxLayout *>(page->layout())->addLayout(row);
    // The grid's own menu offers the same.
    auto *action = new QAction(QStringLiteral("Revoke"), m_requestStatus);
    m_requestStatus->addAction(action);
    m_requestStatus->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(revoke, &QPushButton::clicked, this, &frmFinal::revokeRequest);
    connect(action, &QAction::triggered, this, &frmFinal::revokeRequest);
    return page;
}

void frmFinal::revokeRequest()
{
    const int row = m_requestStatus->currentRow();
    const auto cell = [this, row](const QString &column) {
        for (int c = 0; c < m_requestStatus->columnCount(); ++c) {
            const QTableWidgetItem *head = m_requestStatus->horizontalHeaderItem(c);
            if (head && head->text() == column) {
                const QTableWidgetItem *item = m_requestStatus->item(row, c);
                return item ? item->text() : QString();
            }
        }
        return QString();
    };
    const StatusLine line{cell(QStringLiteral("ITEM DESCRIPTION")), cell(QStringLiteral("DEPT")),
                          row < 0 ? QString() : cell(QStringLiteral("Code"))};
    const auto outcome = RequestRevoke(m_session).revoke(m_presenter.idNum(), line);
    if (outcome != RequestRevoke::Outcome::Revoked &&
        outcome != RequestRevoke::Outcome::NoLongerPending)
        return;
    auto rows = m_presenter.lists().requestStatus(m_presenter.idNum());
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return;
    }
    fillGrid(m_requestStatus, *rows);
}

QWidget *frmFinal::buildResultsTab()
{
    auto *page = new QWidget(this);
    m_resultTabs = new QTabWidget(page);
    m_resultTabs->setObjectName(QStringLiteral("tabResults"));
    m_laboratory = grid(QStringLiteral("mshflexLaboratory"), {}, page);
    m_resultTabs->addTab(m_laboratory, QStringLiteral("&Laboratory"));
    for (const ProfileLists::ResultTab &tab : ProfileLists::resultTabs()) {
        auto *sub = new QWidget(page);
        QTableWidget *list = grid(tab.gridName, {}, sub);
        auto *reading = new QPlainTextEdit(sub);
        reading->setObjectName(tab.interpretationBox);
        reading->setReadOnly(true);
        reading->setMaximumHeight(110);
        auto *layout = new QVBoxLayout(sub);
        layout->addWidget(list, 1);
        layout->addWidget(reading);
        m_resultGrids.append({list, reading});
        m_readings.append(QStringList());
        const int index = int(m_resultGrids.size()) - 1;
        // Choosing a row shows its reading below the list.
        connect(list, &QTableWidget::currentCellChanged, this, [this, index](int row) {
            m_resultGrids.at(index).second->setPlainText(m_readings.at(index).value(row));
        });
        m_resultTabs->addTab(sub, tab.caption);
    }
    // The laboratory's tabular view and the heart station's result of the chosen row.
    auto *viewers = new QWidget(page);
    auto *viewerRow = new QHBoxLayout(viewers);
    viewerRow->setContentsMargins(0, 0, 0, 0);
    auto *tabular = button(QStringLiteral("&Tabular"), QStringLiteral("cmdTabular"), viewers);
    auto *heart = button(QStringLiteral("View &Heart Result"), QStringLiteral("cmdHeartResult"),
                         viewers);
    viewerRow->addWidget(tabular);
    viewerRow->addWidget(heart);
    m_resultTabs->setCornerWidget(viewers);
    connect(tabular, &QPushButton::clicked, this, [this] {
        WindowRequest request;
        request.command = QStringLiteral("frmFinal");
        request.values = {{QStringLiteral("IdNum"), m_presenter.idNum()}};
        // Stations that print the tabular results choose the exams first.
        Q_EMIT resultWindowRequested(m_session.settings.LabTabularSelection()
                                         ? QStringLiteral("frmSelectLabExam")
                                         : QStringLiteral("clsLaboratoryTabularFormat"),
                                     request);
    });
    connect(heart, &QPushButton::clicked, this, [this] {
        for (qsizetype i = 0; i < ProfileLists::resultTabs().size(); ++i) {
            QTableWidget *list = m_resultGrids.value(i).first;
            if (ProfileLists::resultTabs().at(i).department != u"HS" || !list ||
                !list->item(list->currentRow(), 0))
                continue;
            WindowRequest request;
            request.command = QStringLiteral("frmFinal");
            request.values = {{QStringLiteral("RequestNum"),
                               list->item(list->currentRow(), 0)->text()}};
            Q_EMIT resultWindowRequested(QStringLiteral("clsHeartViewer"), request);
        }
    });
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_resultTabs);
    return page;
}

QWidget *frmFinal::buildScheduleTab()
{
    auto *page = new QWidget(this);
    m_calendar = new QCalendarWidget(page);
    m_calendar->setObjectName(QStringLiteral("MonthView1"));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_stayOperations =
        grid(QStringLiteral("mshflexOperations"),
             {QStringLiteral("Date / Time"), QStringLiteral("Room"), QStringLiteral("Procedure"),
              QStringLiteral("Category"), QStringLiteral("Minutes"), QStringLiteral("Status")},
             page);
    m_daySchedule = grid(QStringLiteral("mshflexSchedule"), {}, page);
    auto *left = new QVBoxLayout;
    left->addWidget(m_calendar);
    left->addWidget(new QLabel(QStringLiteral("Operations of this stay"), page));
    left->addWidget(m_stayOperations, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Operating rooms on the chosen day"), page));
    right->addWidget(m_daySchedule, 1);
    // The operation asked for on the day chosen in the calendar; the OR confirms it.
    auto *request = new QGroupBox(QStringLiteral("Request an operation on the chosen day"), page);
    m_opProcedure = new QComboBox(request);
    m_opProcedure->setObjectName(QStringLiteral("cboProcedure"));
    m_opSurgeon = new QComboBox(request);
    m_opSurgeon->setObjectName(QStringLiteral("cboSurgeon"));
    m_opRoom = new QComboBox(request);
    m_opRoom->setObjectName(QStringLiteral("cboRoom"));
    m_opTime = field(QStringLiteral("txtTimeOfOperation"), request);
    m_opTime->setPlaceholderText(QStringLiteral("h:mm AM/PM"));
    m_opMinutes = new QSpinBox(request);
    m_opMinutes->setObjectName(QStringLiteral("txtLength"));
    m_opMinutes->setRange(15, 24 * 60);
    m_opMinutes->setSingleStep(15);
    m_opMinutes->setValue(60);
    m_opMinutes->setSuffix(QStringLiteral(" min."));
    m_opRemarks = field(QStringLiteral("txtRemarks"), request);
    m_saveOperation = button(QStringLiteral("&Save Schedule"), QStringLiteral("cmdSaveSchedule"),
                             request);
    auto *form = new QFormLayout(request);
    form->addRow(QStringLiteral("Procedure"), m_opProcedure);
    form->addRow(QStringLiteral("Surgeon"), m_opSurgeon);
    form->addRow(QStringLiteral("Time of operation"), m_opTime);
    form->addRow(QStringLiteral("Length"), m_opMinutes);
    form->addRow(QStringLiteral("OR room"), m_opRoom);
    form->addRow(QStringLiteral("Remarks"), m_opRemarks);
    form->addRow(m_saveOperation);
    right->addWidget(request);
    connect(m_saveOperation, &QPushButton::clicked, this, &frmFinal::saveOperationRequest);
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
    return page;
}

QWidget *frmFinal::buildCommonExamsTab()
{
    auto *page = new QWidget(this);
    auto *lists = new QGridLayout;
    int at = 0;
    for (const CommonExams::Panel &panel : CommonExams::panels()) {
        auto *list = new QListWidget(page);
        list->setObjectName(panel.listName);
        lists->addWidget(new QLabel(panel.caption, page), 0, at);
        lists->addWidget(list, 1, at);
        ++at;
        connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
            if (m_presenter.commonExams().add(m_presenter.header(),
                                              item->data(Qt::UserRole + 1).toString(),
                                              item->data(Qt::UserRole).toString(), item->text()))
                showOrders();
        });
        m_examLists << list;
    }
    m_orders = grid(QStringLiteral("mshflexOrders"),
                    {QStringLiteral("Examination"), QStringLiteral("Dept"), QStringLiteral("Code"),
                     QStringLiteral("Amount")},
                    page);
    m_ordersTotal = new QLabel(page);
    m_ordersTotal->setObjectName(QStringLiteral("lblTotal"));
    m_removeOrder = button(QStringLiteral("&Remove"), QStringLiteral("cmdRemove"), page);
    m_saveOrders = button(QStringLiteral("&Save"), QStringLiteral("cmdSave"), page);
    connect(m_removeOrder, &QPushButton::clicked, this, [this] {
        if (m_presenter.commonExams().remove(m_orders->currentRow()))
            showOrders();
    });
    connect(m_saveOrders, &QPushButton::clicked, this, &frmFinal::saveOrders);
    auto *orderButtons = new QHBoxLayout;
    orderButtons->addWidget(m_ordersTotal, 1);
    orderButtons->addWidget(m_removeOrder);
    orderButtons->addWidget(m_saveOrders);
    // The other departments' examinations, each in a list window of its own; four buttons a
    // row, so the panel fits beside the action column on a 1280-pixel screen.
    auto *departments = new QGridLayout;
    int placed = 0;
    for (const ExamDepartment &d : ExamList::departments()) {
        auto *b = button(d.name, u"cmd" + d.form, page);
        connect(b, &QPushButton::clicked, this, [this, form = d.form] {
            WindowRequest request;
            request.command = QStringLiteral("frmFinal");
            request.values = {{QStringLiteral("IdNum"), m_presenter.idNum()}};
            Q_EMIT resultWindowRequested(form, request);
        });
        departments->addWidget(b, placed / 4, placed % 4);
        ++placed;
    }
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Common Diagnostic Exams"), page));
    layout->addLayout(lists, 2);
    layout->addLayout(departments);
    layout->addWidget(m_orders, 1);
    layout->addLayout(orderButtons);
    return page;
}

QWidget *frmFinal::buildActions()
{
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    for (const PatientProfile::Action &action : PatientProfile::actions()) {
        QPushButton *b = button(action.caption,
                                QStringLiteral("cmdNextPatient(%1)").arg(action.index), column);
        // A long caption goes on two lines, so the column stays narrow beside the tabs.
        if (const QString shown = twoLines(action.caption); shown != action.caption) {
            b->setText(shown);
            b->setToolTip(QString(action.caption).remove(u'&'));
        }
        connect(b, &QPushButton::clicked, this,
                [this, index = action.index] { m_presenter.runAction(index); });
        layout->addWidget(b);
    }
    layout->addStretch(1);
    m_back = button(QStringLiteral("&Back to Patient List"), QStringLiteral("cmdBack"), column);
    layout->addWidget(m_back);
    return column;
}

void frmFinal::bind()
{
    connect(&m_presenter, &PatientProfile::headerChanged, this, &frmFinal::showHeader);
    connect(&m_presenter, &PatientProfile::tabsInvalidated, this, &frmFinal::loadShownTab);
    connect(&m_presenter, &PatientProfile::heightWeightRequested, this,
            &frmFinal::askHeightWeight);
    connect(m_tabs, &QTabWidget::currentChanged, this, &frmFinal::loadShownTab);
    connect(m_back, &QPushButton::clicked, this, [this] {
        if (m_presenter.backToPatientList())
            closeWindow();
    });

    VitalSigns &vs = m_presenter.vitalSigns();
    connect(&vs, &VitalSigns::listChanged, this, &frmFinal::showVitalSigns);
    connect(&vs, &VitalSigns::entryChanged, this, &frmFinal::showVitalSignEntry);
    connect(&vs, &VitalSigns::focusRequested, this, [this](VitalSigns::Field f) {
        QLineEdit *target = f == VitalSigns::Field::Temperature   ? m_temperature
                            : f == VitalSigns::Field::PulseRate   ? m_pulse
                            : f == VitalSigns::Field::RespiratoryRate ? m_respiration
                            : f == VitalSigns::Field::O2Sat       ? m_o2Sat
                                                                  : m_systolic;
        target->setFocus();
        target->selectAll();
    });
    connect(m_saveVitalSign, &QPushButton::clicked, this, [this] {
        readVitalSignEntry();
        m_presenter.vitalSigns().save();
    });
    connect(m_editVitalSign, &QPushButton::clicked, this,
            [this] { m_presenter.vitalSigns().beginEdit(m_vitalSigns->currentRow()); });
    connect(m_deleteVitalSign, &QPushButton::clicked, this,
            [this] { m_presenter.vitalSigns().remove(m_vitalSigns->currentRow()); });
    connect(m_cancelVitalSign, &QPushButton::clicked, this,
            [this] { m_presenter.vitalSigns().cancelEdit(); });
    connect(m_printChart, &QPushButton::clicked, this, &frmFinal::printChart);
    connect(m_resultTabs, &QTabWidget::currentChanged, this, &frmFinal::loadResultTab);
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &frmFinal::showDaySchedule);

    NurseNotes &notes = m_presenter.notes();
    connect(&notes, &NurseNotes::listChanged, this, &frmFinal::showNotes);
    connect(&notes, &NurseNotes::chosenChanged, this, &frmFinal::showChosenNote);
    connect(m_previousNotes, &QTableWidget::cellClicked, this,
            [this](int row, int) { m_presenter.notes().chooseNote(row); });
    connect(m_saveNote, &QPushButton::clicked, this, [this] {
        NurseNotes &n = m_presenter.notes();
        n.entryTime = m_noteTime->dateTime();
        n.entryShift = m_shift->currentText();
        n.entryText = m_noteEntry->toPlainText();
        n.save();
    });
    connect(m_editNote, &QPushButton::clicked, this,
            [this] { m_presenter.notes().edit(m_previousNote->toPlainText()); });
    connect(m_deleteNote, &QPushButton::clicked, this, [this] { m_presenter.notes().remove(); });

    connect(&m_presenter.history(), &ProfileHistory::changed, this, &frmFinal::showHistory);
    connect(m_saveProfile, &QPushButton::clicked, this, [this] {
        readHistory();
        m_presenter.history().save();
    });
}

bool frmFinal::open(const WindowRequest &request)
{
    m_meterLabel->show();
    m_meter->show();
    m_meter->setValue(0);
    // The tab the window opens on is the one read first; the others wait until shown.
    const QSignalBlocker quiet(m_tabs);
    const bool ok = m_presenter.open(request);
    m_meter->setValue(PatientProfile::TabCount);
    m_meter->hide();
    m_meterLabel->hide();
    if (!ok)
        return false;
    m_tabs->setCurrentIndex(m_presenter.initialTab());
    loadShownTab();
    return true;
}

void frmFinal::showHeader()
{
    const ProfileHeader &h = m_presenter.header();
    for (const auto &[edit, value] : std::as_const(m_headerFields))
        edit->setText(h.*value);
    m_phicType->setText(h.PhicType);
    const bool visit = h.outpatient;
    // A visit has no room, diet or admission type of its own.
    for (const char *name : {"txtRoom", "txtAdiet", "txtAdmType"}) {
        if (auto *edit = findChild<QLineEdit *>(QString::fromLatin1(name)))
            edit->setEnabled(!visit);
    }
}

void frmFinal::loadShownTab()
{
    const int tab = m_tabs->currentIndex();
    if (!m_presenter.takeTabToLoad(tab))
        return;
    const QString idNum = m_presenter.idNum();
    if (tab == PatientProfile::VitalSignsTab) {
        m_editVitalSign->setVisible(m_presenter.vitalSigns().canEditDelete());
        m_deleteVitalSign->setVisible(m_presenter.vitalSigns().canEditDelete());
        if (auto ranges = m_presenter.trend().loadRanges(); !ranges)
            m_session.notifier().errorBox(ranges.error());
        m_presenter.vitalSigns().load(idNum);
    } else if (tab == PatientProfile::NurseNotesTab) {
        m_shift->clear();
        m_shift->addItems(m_presenter.notes().shifts());
        m_presenter.notes().load(idNum);
    } else if (tab == PatientProfile::ProfileTab) {
        m_presenter.history().load(m_presenter.header().HospNum, idNum);
    } else if (tab == PatientProfile::ResultsTab) {
        // Each department's list is read when its own tab is first shown.
        m_loadedResultTabs.clear();
        loadResultTab(m_resultTabs->currentIndex());
    } else if (tab == PatientProfile::ScheduleTab) {
        loadOperationRequest();
        loadSchedule();
    } else if (tab == PatientProfile::CommonExamsTab) {
        loadCommonExams();
    } else if (tab == PatientProfile::RequestStatusTab || tab == PatientProfile::ReportsTab) {
        auto rows = tab == PatientProfile::RequestStatusTab
                        ? m_presenter.lists().requestStatus(idNum)
                        : m_presenter.lists().stationReports();
        if (!rows) {
            m_session.notifier().errorBox(rows.error());
            return;
        }
        fillGrid(tab == PatientProfile::RequestStatusTab ? m_requestStatus : m_reports, *rows);
    }
}

void frmFinal::fillGrid(QTableWidget *list, const RowSet &rows, int hidden)
{
    list->clear();
    list->setColumnCount(int(rows.columnNames().size()));
    list->setHorizontalHeaderLabels(rows.columnNames());
    list->setRowCount(rows.count());
    for (int row = 0; row < rows.count(); ++row) {
        for (int column = 0; column < list->columnCount(); ++column)
            list->setItem(row, column, new QTableWidgetItem(rows.at(row).value(column).toString()));
    }
    for (int column = 0; column < list->columnCount(); ++column)
        list->setColumnHidden(column, column >= list->columnCount() - hidden);
    list->resizeColumnsToContents();
}

void frmFinal::loadResultTab(int index)
{
    if (!m_presenter.isTabLoaded(PatientProfile::ResultsTab) || index < 0 ||
        m_loadedResultTabs.contains(index))
        return;
    m_loadedResultTabs.insert(index);
    const QString idNum = m_presenter.idNum();
    if (index == 0) {
        auto rows = m_presenter.lists().laboratoryResults(idNum);
        if (!rows)
            return m_session.notifier().errorBox(rows.error());
        fillGrid(m_laboratory, *rows);
        return;
    }
    const auto &[list, reading] = m_resultGrids.at(index - 1);
    auto results =
        m_presenter.lists().departmentResults(ProfileLists::resultTabs().at(index - 1), idNum);
    if (!results)
        return m_session.notifier().errorBox(results.error());
    m_readings[index - 1] = results->readings;
    reading->clear();
    fillGrid(list, results->rows, results->hiddenColumns);
}

void frmFinal::loadSchedule()
{
    auto operations = m_presenter.lists().stayOperations(m_presenter.idNum());
    if (!operations)
        return m_session.notifier().errorBox(operations.error());
    m_calendar->setDateTextFormat(QDate(), QTextCharFormat());
    QTextCharFormat marked;
    marked.setFontWeight(QFont::Bold);
    marked.setBackground(QColor(0xff, 0xe0, 0x82));
    m_stayOperations->clearContents();
    m_stayOperations->setRowCount(int(operations->size()));
    QDate shown = m_session.db().serverNow().date();
    for (int row = 0; row < int(operations->size()); ++row) {
        const ProfileLists::Operation &o = operations->at(row);
        m_calendar->setDateTextFormat(o.start.date(), marked);
        const QStringList cells{o.start.toString(QStringLiteral("MM/dd/yyyy hh:mm AP")), o.room,
                                o.procedure, o.category, QString::number(o.minutes), o.status};
        for (int column = 0; column < int(cells.size()); ++column)
            m_stayOperations->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        // The month of the stay's last operation is the one shown.
        shown = o.start.date();
    }
    m_stayOperations->resizeColumnsToContents();
    if (shown.isValid())
        m_calendar->setSelectedDate(shown);
    showDaySchedule();
}

void frmFinal::showDaySchedule()
{
    if (!m_presenter.isTabLoaded(PatientProfile::ScheduleTab))
        return;
    auto day = m_presenter.lists().daySchedule(m_calendar->selectedDate());
    if (!day)
        return m_session.notifier().errorBox(day.error());
    fillGrid(m_daySchedule, *day, 1);
}

void frmFinal::loadCommonExams()
{
    for (int i = 0; i < int(m_examLists.size()); ++i) {
        const CommonExams::Panel &panel = CommonExams::panels().at(i);
        auto exams = m_presenter.lists().commonExams(panel.procedure);
        if (!exams)
            return m_session.notifier().errorBox(exams.error());
        QListWidget *list = m_examLists.at(i);
        list->clear();
        for (const Row &r : *exams) {
            auto *item = new QListWidgetItem(r.trimmed(u"Exam"), list);
            item->setData(Qt::UserRole, r.trimmed(u"Code"));
            const QString department = r.trimmed(u"Department");
            item->setData(Qt::UserRole + 1, department.isEmpty() ? panel.department : department);
        }
    }
    showOrders();
}

void frmFinal::showOrders()
{
    const QList<CommonExams::Order> &orders = m_presenter.commonExams().orders();
    m_orders->clearContents();
    m_orders->setRowCount(int(orders.size()));
    for (int row = 0; row < int(orders.size()); ++row) {
        const CommonExams::Order &o = orders.at(row);
        m_orders->setItem(row, 0, new QTableWidgetItem(o.exam));
        m_orders->setItem(row, 1, new QTableWidgetItem(o.department));
        m_orders->setItem(row, 2, new QTableWidgetItem(o.code));
        auto *amount = new QTableWidgetItem(formatNumber(o.amount, u"#,##0.00"));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_orders->setItem(row, 3, amount);
    }
    m_orders->resizeColumnsToContents();
    m_ordersTotal->setText(
        QStringLiteral("Total: %1")
            .arg(formatNumber(m_presenter.commonExams().total(), u"#,##0.00")));
    m_saveOrders->setEnabled(!orders.isEmpty());
    m_removeOrder->setEnabled(!orders.isEmpty());
}

void frmFinal::saveOrders()
{
    if (m_presenter.commonExams().save(m_presenter.header()) != CommonExams::Outcome::Saved) {
        showOrders();
        return;
    }
    showOrders();
    // The requests are on the request status tab the next time it is shown.
    m_presenter.refresh();
}

void frmFinal::loadOperationRequest()
{
    const auto fill = [this](QComboBox *box, const Result<RowSet> &rows, const QString &code,
                             const QString &name) {
        box->clear();
        box->addItem(QString(), QString());
        if (!rows)
            return m_session.notifier().errorBox(rows.error());
        for (const Row &r : *rows)
            box->addItem(r.trimmed(name), r.trimmed(code));
    };
    fill(m_opProcedure, m_presenter.schedule().procedures(), QStringLiteral("Code"),
         QStringLiteral("Procedure"));
    fill(m_opSurgeon, m_presenter.schedule().surgeons(), QStringLiteral("Code"),
         QStringLiteral("Name"));
    auto rooms = m_session.db().call(u"SCHEDULE..sp_List_ORRooms");
    m_opRoom->clear();
    m_opRoom->addItem(QStringLiteral("(the OR chooses)"), 0);
    if (!rooms)
        return m_session.notifier().errorBox(rooms.error());
    for (const Row &r : *rooms)
        m_opRoom->addItem(r.trimmed(u"Room Name"), r.integer(u"RoomID"));
}

void frmFinal::saveOperationRequest()
{
    OperationRequest request;
    request.date = m_calendar->selectedDate();
    request.time = m_opTime->text();
    request.roomId = m_opRoom->currentData().toInt();
    request.minutes = m_opMinutes->value();
    request.procedureCode = m_opProcedure->currentData().toString();
    request.procedureDesc = m_opProcedure->currentText();
    request.surgeonCode = m_opSurgeon->currentData().toString();
    request.remarks = m_opRemarks->text();
    if (m_presenter.schedule().save(m_presenter.header(), request) !=
        ProfileSchedule::Outcome::Saved)
        return;
    m_opTime->clear();
    m_opRemarks->clear();
    loadSchedule();
}

void frmFinal::showHistory()
{
    ProfileHistory &h = m_presenter.history();
    for (const auto &[group, checks] : std::as_const(m_historyBoxes)) {
        for (int i = 0; i < checks.size(); ++i) {
            const QSignalBlocker quiet(checks.at(i));
            checks.at(i)->setChecked(h.isTicked(group, i));
        }
    }
    for (const auto &[edit, value] : std::as_const(m_historyFields))
        edit->setText(h.*value);
}

void frmFinal::readHistory()
{
    ProfileHistory &h = m_presenter.history();
    for (const auto &[edit, value] : std::as_const(m_historyFields))
        h.*value = edit->text();
}

void frmFinal::showVitalSigns()
{
    const VitalSigns &vs = m_presenter.vitalSigns();
    const int rows = int(vs.readings().size());
    m_vitalSigns->clearContents();
    m_vitalSigns->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < m_vitalSigns->columnCount(); ++column)
            m_vitalSigns->setItem(row, column, new QTableWidgetItem(vs.cell(row, column)));
    }
    m_vitalSigns->resizeColumnsToContents();
    m_chart->setSeries(m_presenter.trend().series(vs.readings()));
}

void frmFinal::printChart()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Vital Signs"));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print Vital Signs"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ProfileHeader &h = m_presenter.header();
    m_chart->print(printer, QStringLiteral("Vital Signs: %1 (%2), %3")
                                .arg(h.PatientName, h.IdNum, h.Room));
}

void frmFinal::showVitalSignEntry()
{
    VitalSigns &vs = m_presenter.vitalSigns();
    const VitalSignReading &e = vs.entry();
    m_systolic->setText(e.systolic);
    m_diastolic->setText(e.diastolic);
    m_temperature->setText(e.temperature);
    m_pulse->setText(e.pulseRate);
    m_respiration->setText(e.respiratoryRate);
    m_o2Sat->setText(e.o2Sat);
    m_protocol->setCurrentText(e.protocol);
    m_cancelVitalSign->setVisible(vs.editing());
}

void frmFinal::readVitalSignEntry()
{
    VitalSignReading &e = m_presenter.vitalSigns().entry();
    e.systolic = m_systolic->text();
    e.diastolic = m_diastolic->text();
    e.temperature = m_temperature->text();
    e.pulseRate = m_pulse->text();
    e.respiratoryRate = m_respiration->text();
    e.o2Sat = m_o2Sat->text();
    e.protocol = m_protocol->currentText();
}

void frmFinal::showNotes()
{
    NurseNotes &n = m_presenter.notes();
    const RowSet &notes = n.notes();
    m_previousNotes->clearContents();
    m_previousNotes->setRowCount(int(notes.count()));
    for (int row = 0; row < notes.count(); ++row) {
        for (int column = 0; column < m_previousNotes->columnCount(); ++column) {
            m_previousNotes->setItem(
                row, column, new QTableWidgetItem(notes.at(row).value(column).toString()));
        }
    }
    m_previousNotes->resizeColumnsToContents();
    m_noteTime->setDateTime(n.entryTime);
    m_noteEntry->clear();
}

void frmFinal::showChosenNote()
{
    m_previousNote->setPlainText(m_presenter.notes().chosenText());
}

void frmFinal::askHeightWeight()
{
    frmHtWt entry(m_presenter.header().Height, m_presenter.header().Weight,
                  [this](const QString &height, const QString &weight) {
                      return m_presenter.saveHeightWeight(height, weight);
                  },
                  this);
    entry.exec();
}

void frmFinal::keyPressEvent(QKeyEvent *event)
{
    if (!m_presenter.keyPressed(event->key()))
        QWidget::keyPressEvent(event);
}

void frmFinal::closeWindow()
{
    // In the main window's work area the frame around the window is what has to close.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void frmFinal::orderExam(const ChosenExam &exam)
{
    if (m_presenter.commonExams().add(m_presenter.header(), exam.department, exam.code,
                                      exam.name))
        showOrders();
}

void frmFinal::orderRequested(const QList<CommonExams::Order> &orders)
{
    for (const CommonExams::Order &order : orders) {
        if (!m_presenter.commonExams().addRequested(order))
            break;
    }
    showOrders();
}

} // namespace kestrel
