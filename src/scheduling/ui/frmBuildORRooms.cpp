// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ui/frmBuildORRooms.h"

#include "core/components/clsCodeLookup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

template <typename W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

void fill(QTableWidget *grid, const RowSet &rows)
{
    grid->setRowCount(int(rows.count()));
    for (int r = 0; r < rows.count(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(rows.at(r).value(c).toString()));
    }
}

} // namespace

frmBuildORRooms::frmBuildORRooms(Session &session, clsCodeLookup *lookup, ReportService *reports,
                                 QWidget *parent)
    : QDialog(parent)
    , m_presenter(session)
    , m_lookup(lookup)
    , m_reports(reports)
{
    setObjectName(QStringLiteral("frmBuildORRooms"));
    setWindowTitle(QStringLiteral("Build OR Rooms"));
    buildUi();
    connect(&m_presenter, &BuildORRooms::roomsChanged, this, &frmBuildORRooms::showRooms);
    connect(&m_presenter, &BuildORRooms::proceduresChanged, this, &frmBuildORRooms::showProcedures);
    m_presenter.load();
}

void frmBuildORRooms::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    auto *tabs = named(new QTabWidget, QStringLiteral("SSTab1"));
    layout->addWidget(tabs);

    auto *roomsTab = new QWidget;
    auto *roomsBox = new QVBoxLayout(roomsTab);
    auto *newRoom = new QGroupBox(QStringLiteral("New Room"));
    auto *newForm = new QHBoxLayout(newRoom);
    m_newId = named(new QLineEdit, QStringLiteral("txtRoomID"));
    m_newId->setReadOnly(true);
    m_newName = named(new QLineEdit, QStringLiteral("txtRoomName"));
    m_newActive = named(new QCheckBox(QStringLiteral("Active")), QStringLiteral("chkActive"));
    m_newActive->setChecked(true);
    auto *add = named(new QPushButton(QStringLiteral("&Add")), QStringLiteral("cmdAdd"));
    for (QWidget *w : std::initializer_list<QWidget *>{m_newId, m_newName, m_newActive, add})
        newForm->addWidget(w);
    roomsBox->addWidget(newRoom);
    m_rooms = named(new QTableWidget(0, 3), QStringLiteral("mshORRooms"));
    m_rooms->setHorizontalHeaderLabels(
        {QStringLiteral("Room ID"), QStringLiteral("Room Name"), QStringLiteral("Status")});
    m_rooms->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rooms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    roomsBox->addWidget(m_rooms);
    roomsBox->addWidget(new QLabel(QStringLiteral("*Double-click item to edit.")));
    auto *editRoom = new QGroupBox(QStringLiteral("Edit Room"));
    auto *editForm = new QHBoxLayout(editRoom);
    m_editId = named(new QLineEdit, QStringLiteral("txtIDedit"));
    m_editId->setReadOnly(true);
    m_editName = named(new QLineEdit, QStringLiteral("txtNameEdit"));
    m_editActive = named(new QCheckBox(QStringLiteral("Active")), QStringLiteral("chkActiveEdit"));
    auto *save = named(new QPushButton(QStringLiteral("Save")), QStringLiteral("cmdSave"));
    auto *remove = named(new QPushButton(QStringLiteral("Delete")), QStringLiteral("cmdDelete"));
    auto *cancel = named(new QPushButton(QStringLiteral("Cancel")), QStringLiteral("cmdCancel"));
    for (QWidget *w : std::initializer_list<QWidget *>{m_editId, m_editName, m_editActive, save,
                                                       remove, cancel})
        editForm->addWidget(w);
    roomsBox->addWidget(editRoom);
    tabs->addTab(roomsTab, QStringLiteral("OR Rooms"));

    auto *procTab = new QWidget;
    auto *procBox = new QVBoxLayout(procTab);
    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Select Room:")));
    m_roomSearch = named(new QComboBox, QStringLiteral("cboRoomSearch"));
    search->addWidget(m_roomSearch, 1);
    procBox->addLayout(search);
    m_procedures = named(new QTableWidget(0, 2), QStringLiteral("mshProcedures"));
    m_procedures->setHorizontalHeaderLabels({QStringLiteral("Code"), QStringLiteral("Procedure")});
    m_procedures->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_procedures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_procedures->horizontalHeader()->setStretchLastSection(true);
    procBox->addWidget(m_procedures);
    auto *assign = new QGroupBox(QStringLiteral("Assign Procedures"));
    auto *assignForm = new QFormLayout(assign);
    m_room = named(new QComboBox, QStringLiteral("cboRoom"));
    m_code = named(new QLineEdit, QStringLiteral("txtCode"));
    m_procedure = named(new QLineEdit, QStringLiteral("txtProcedure"));
    auto *find = named(new QPushButton(QStringLiteral("...")), QStringLiteral("cmdSearch"));
    assignForm->addRow(QStringLiteral("OR Room:"), m_room);
    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(m_code);
    codeRow->addWidget(find);
    assignForm->addRow(QStringLiteral("Code:"), codeRow);
    assignForm->addRow(QStringLiteral("Procedure:"), m_procedure);
    auto *saveProc = named(new QPushButton(QStringLiteral("Save")), QStringLiteral("cmdSaveProc"));
    auto *removeProc = named(new QPushButton(QStringLiteral("Remove")), QStringLiteral("cmdRemove"));
    auto *procButtons = new QHBoxLayout;
    procButtons->addWidget(saveProc);
    procButtons->addWidget(removeProc);
    assignForm->addRow(procButtons);
    procBox->addWidget(assign);
    tabs->addTab(procTab, QStringLiteral("OR Procedures"));

    auto *bottom = new QHBoxLayout;
    auto *print = named(new QPushButton(QStringLiteral("Print Procedure Assignment")),
                        QStringLiteral("cmdPrint"));
    auto *close = named(new QPushButton(QStringLiteral("Close")), QStringLiteral("cmdClose"));
    bottom->addStretch();
    bottom->addWidget(print);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    connect(add, &QPushButton::clicked, this, [this] {
        if (m_presenter.addRoom(m_newName->text(), m_newActive->isChecked()) ==
            BuildORRooms::Outcome::Done)
            m_newName->clear();
    });
    connect(m_rooms, &QTableWidget::cellDoubleClicked, this, &frmBuildORRooms::editRow);
    connect(save, &QPushButton::clicked, this, [this] {
        if (!m_editId->text().isEmpty())
            m_presenter.updateRoom(m_editId->text().toInt(), m_editName->text(),
                                   m_editActive->isChecked());
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (!m_editId->text().isEmpty() &&
            m_presenter.deleteRoom(m_editId->text().toInt(), m_editName->text()) ==
                BuildORRooms::Outcome::Done) {
            m_editId->clear();
            m_editName->clear();
        }
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_editId->clear();
        m_editName->clear();
        m_editActive->setChecked(false);
    });
    connect(m_roomSearch, &QComboBox::activated, this,
            [this] { m_presenter.listProcedures(m_roomSearch->currentText()); });
    connect(find, &QPushButton::clicked, this, [this] {
        if (!m_lookup)
            return;
        m_lookup->setOtherSectionID(QStringLiteral("OR"));
        if (m_lookup->SearchListing(21, m_code->text().trimmed())) {
            m_code->setText(m_lookup->OtherRevenueRecord().ResultCode);
            m_procedure->setText(m_lookup->OtherRevenueRecord().OtherRevenue);
        }
    });
    connect(saveProc, &QPushButton::clicked, this, [this] {
        m_presenter.assignProcedure(m_code->text(), m_procedure->text(), m_room->currentText());
    });
    connect(m_procedures, &QTableWidget::cellClicked, this, [this](int row) {
        m_code->setText(m_procedures->item(row, 0)->text());
        m_procedure->setText(m_procedures->item(row, 1)->text());
    });
    connect(removeProc, &QPushButton::clicked, this, [this] {
        m_presenter.removeProcedure(m_code->text(), m_procedure->text(),
                                    m_roomSearch->currentText());
    });
    connect(print, &QPushButton::clicked, this, [this] { m_presenter.print(m_reports); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void frmBuildORRooms::showRooms()
{
    fill(m_rooms, m_presenter.rooms());
    m_newId->setText(QString::number(m_presenter.nextRoomId()));
    const QString chosen = m_roomSearch->currentText();
    for (QComboBox *combo : {m_roomSearch, m_room}) {
        combo->clear();
        combo->addItems(m_presenter.activeRooms());
    }
    m_roomSearch->setCurrentText(chosen);
}

void frmBuildORRooms::showProcedures()
{
    fill(m_procedures, m_presenter.procedures());
}

void frmBuildORRooms::editRow(int row)
{
    m_editId->setText(m_rooms->item(row, 0)->text());
    m_editName->setText(m_rooms->item(row, 1)->text());
    m_editActive->setChecked(m_rooms->item(row, 2)->text() == u"Active");
}

} // namespace kestrel
