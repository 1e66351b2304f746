// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/ui/frmNotificationforHemodialysis.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
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

} // namespace

frmNotificationforHemodialysis::frmNotificationforHemodialysis(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmNotificationforHemodialysis"));
    setWindowTitle(QStringLiteral("Notification for Hemodialysis"));

    m_patient = new QLabel(this);
    m_patient->setObjectName(QStringLiteral("lblPatient"));
    m_list = new QTableWidget(0, int(HemodialysisNotification::columns().size()), this);
    m_list->setObjectName(QStringLiteral("grdNotifications"));
    m_list->setHorizontalHeaderLabels(HemodialysisNotification::columns());
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);

    auto *entry = new QGroupBox(QStringLiteral("New Notification"), this);
    m_search = new QLineEdit(entry);
    m_search->setObjectName(QStringLiteral("txtDialyzer"));
    m_search->setPlaceholderText(QStringLiteral("Type the first letters of the dialyzer"));
    m_dialyzers = new QListWidget(entry);
    m_dialyzers->setObjectName(QStringLiteral("lstDialyzer"));
    m_dialyzers->setMaximumHeight(110);
    m_access = new QComboBox(entry);
    m_access->setObjectName(QStringLiteral("cboAccess"));
    m_date = new QDateTimeEdit(entry);
    m_date->setObjectName(QStringLiteral("dtpDialysis"));
    m_date->setDisplayFormat(QStringLiteral("MM/dd/yyyy hh:mm AP"));
    m_date->setCalendarPopup(true);
    m_remarks = new QPlainTextEdit(entry);
    m_remarks->setObjectName(QStringLiteral("txtRemarks"));
    m_remarks->setMaximumHeight(70);
    auto *form = new QFormLayout(entry);
    form->addRow(QStringLiteral("Dialyzer"), m_search);
    form->addRow(QString(), m_dialyzers);
    form->addRow(QStringLiteral("Vascular Access"), m_access);
    form->addRow(QStringLiteral("Date of Dialysis"), m_date);
    form->addRow(QStringLiteral("Remarks"), m_remarks);

    auto *save = button(QStringLiteral("&Save"), QStringLiteral("cmdSave"), this);
    auto *revoke = button(QStringLiteral("&Revoke"), QStringLiteral("cmdRevoke"), this);
    auto *close = button(QStringLiteral("&Close"), QStringLiteral("cmdClose"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {save, revoke, close})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_patient);
    layout->addWidget(new QLabel(QStringLiteral("Notifications sent"), this));
    layout->addWidget(m_list, 1);
    layout->addWidget(entry);
    layout->addLayout(buttons);
    resize(760, 560);

    connect(&m_presenter, &HemodialysisNotification::listChanged, this,
            &frmNotificationforHemodialysis::showList);
    connect(&m_presenter, &HemodialysisNotification::dialyzersChanged, this,
            &frmNotificationforHemodialysis::showDialyzers);
    connect(m_search, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_presenter.findDialyzers(text); });
    connect(save, &QPushButton::clicked, this, [this] {
        readEntry();
        if (m_presenter.save() == HemodialysisNotification::Outcome::Done)
            m_remarks->clear();
    });
    connect(revoke, &QPushButton::clicked, this,
            [this] { m_presenter.revoke(m_list->currentRow()); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

bool frmNotificationforHemodialysis::open(const QString &idNum, const QString &hospNum,
                                          const QString &patient)
{
    m_patient->setText(patient.isEmpty() ? idNum : patient + QStringLiteral("  (") + idNum + u')');
    m_search->clear();
    m_remarks->clear();
    if (!m_presenter.open(idNum, hospNum))
        return false;
    m_access->clear();
    for (const HemodialysisNotification::Choice &c : m_presenter.accesses())
        m_access->addItem(c.description, c.code);
    m_access->setCurrentIndex(-1);
    m_date->setDateTime(m_presenter.dialysisDate);
    return true;
}

void frmNotificationforHemodialysis::showList()
{
    const int rows = int(m_presenter.sent().size());
    m_list->clearContents();
    m_list->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < m_list->columnCount(); ++column)
            m_list->setItem(row, column, new QTableWidgetItem(m_presenter.cell(row, column)));
    }
    m_list->resizeColumnsToContents();
}

void frmNotificationforHemodialysis::showDialyzers()
{
    m_dialyzers->clear();
    for (const HemodialysisNotification::Choice &c : m_presenter.dialyzers()) {
        auto *item = new QListWidgetItem(c.description, m_dialyzers);
        item->setData(Qt::UserRole, c.code);
    }
    // One match is the one meant.
    if (m_dialyzers->count() == 1)
        m_dialyzers->setCurrentRow(0);
}

void frmNotificationforHemodialysis::readEntry()
{
    const QListWidgetItem *dialyzer = m_dialyzers->currentItem();
    m_presenter.dialyzerId = dialyzer ? dialyzer->data(Qt::UserRole).toString() : QString();
    m_presenter.accessId = m_access->currentData().toString();
    m_presenter.dialysisDate = m_date->dateTime();
    m_presenter.remarks = m_remarks->toPlainText();
}

} // namespace kestrel
