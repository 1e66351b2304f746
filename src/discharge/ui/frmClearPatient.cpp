// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "discharge/ui/frmClearPatient.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QLineEdit *field(const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    return edit;
}

QPlainTextEdit *memo(const char *name)
{
    auto *edit = new QPlainTextEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaximumHeight(60);
    return edit;
}

QGroupBox *frame(const QString &title, const QList<std::pair<QString, QWidget *>> &rows)
{
    auto *box = new QGroupBox(title);
    auto *form = new QFormLayout(box);
    for (const auto &[label, widget] : rows)
        form->addRow(label, widget);
    return box;
}

} // namespace

frmClearPatient::frmClearPatient(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmClearPatient"));
    setWindowTitle(QStringLiteral("Clear Patient"));
    m_hospNo = field("txtHospNo");
    m_admNo = field("txtAdmNo");
    m_admDate = field("txtAdmDate");
    m_roomNo = field("txtRoomNo");
    m_sname = field("txtSname");
    m_fname = field("txtFname");
    m_mname = field("txtMname");
    m_noticeDate = field("txtNoticeDate");
    m_orderDate = field("txtOrderDate");
    m_nurse = field("txtDischargeNurse");
    m_clearDate = field("txtClearDate");
    m_clearedBy = field("txtClearedBy");
    m_remarks = memo("txtRemarks");
    m_remarks->setReadOnly(true);
    m_clearRemarks = memo("txtClearRemarks");

    auto *grid = new QGridLayout;
    grid->addWidget(frame(QStringLiteral("Hospital Information"),
                          {{QStringLiteral("Hospital No."), m_hospNo},
                           {QStringLiteral("Adm. No."), m_admNo},
                           {QStringLiteral("Adm. Date"), m_admDate},
                           {QStringLiteral("Room No."), m_roomNo}}),
                    0, 0);
    grid->addWidget(frame(QStringLiteral("Patient's Name"),
                          {{QStringLiteral("Last Name "), m_sname},
                           {QStringLiteral("First Name  "), m_fname},
                           {QStringLiteral("Middle Name "), m_mname}}),
                    0, 1);
    grid->addWidget(frame(QStringLiteral("Notice Information"),
                          {{QStringLiteral("Notice Date/Time "), m_noticeDate},
                           {QStringLiteral("Order Date/Time "), m_orderDate},
                           {QStringLiteral("Discharge Nurse"), m_nurse},
                           {QStringLiteral("Remarks"), m_remarks}}),
                    1, 0);
    grid->addWidget(frame(QStringLiteral("Clearing Information"),
                          {{QStringLiteral("Cleared Date:"), m_clearDate},
                           {QStringLiteral("Cleared by:"), m_clearedBy},
                           {QStringLiteral("Remarks"), m_clearRemarks}}),
                    1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_save = new QPushButton(QStringLiteral("&Save"));
    m_save->setObjectName(QStringLiteral("cmdSave"));
    m_ignore = new QPushButton(QStringLiteral("&Ignore"));
    m_ignore->setObjectName(QStringLiteral("cmdIgnore"));
    buttons->addWidget(m_save);
    buttons->addWidget(m_ignore);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, [this] {
        if (m_presenter.save(m_clearRemarks->toPlainText()))
            accept();
        else
            showNotice(m_presenter.notice());
    });
    connect(m_ignore, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmClearPatient::open(const QString &idNum)
{
    if (!m_presenter.open(idNum))
        return false;
    showNotice(m_presenter.notice());
    return true;
}

void frmClearPatient::showNotice(const discharge::Notice &n)
{
    m_hospNo->setText(n.hospNum);
    m_admNo->setText(n.idNum);
    m_admDate->setText(discharge::shownDateTime(n.admitted));
    m_roomNo->setText(n.roomId);
    m_sname->setText(n.lastName);
    m_fname->setText(n.firstName);
    m_mname->setText(n.middleName);
    m_noticeDate->setText(discharge::shownDateTime(n.noticeDate));
    m_orderDate->setText(discharge::shownDateTime(n.orderedDate));
    m_nurse->setText(n.dischargeNurse);
    m_remarks->setPlainText(n.remarks);
    m_clearDate->setText(m_presenter.clearDateText());
    m_clearedBy->setText(m_presenter.clearedByText());
    const bool cleared = m_presenter.isCleared();
    if (cleared)
        m_clearRemarks->setPlainText(n.clearRemarks);
    m_clearRemarks->setReadOnly(cleared);
    m_save->setEnabled(m_presenter.canSave());
    m_ignore->setText(m_presenter.ignoreCaption());
}

} // namespace kestrel
