// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "discharge/ui/frmDischargeMenu.h"

#include "core/Session.h"
#include "core/db/Database.h"

#include <QButtonGroup>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QLineEdit *shown(const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    return edit;
}

QGroupBox *options(const QString &title, const char *name, const QStringList &choices,
                   QButtonGroup *group)
{
    auto *box = new QGroupBox(title);
    auto *layout = new QVBoxLayout(box);
    for (int i = 0; i < choices.size(); ++i) {
        auto *option = new QRadioButton(choices.at(i));
        option->setObjectName(QStringLiteral("%1(%2)").arg(QString::fromLatin1(name)).arg(i));
        option->setChecked(i == 0);
        group->addButton(option, i);
        layout->addWidget(option);
    }
    return box;
}

} // namespace

frmDischargeMenu::frmDischargeMenu(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmDischargeMenu"));
    setWindowTitle(QStringLiteral("Discharges /Room Transfer"));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget;
    m_tabs->addTab(dischargeTab(), QStringLiteral("Discharge Patient"));
    m_tabs->addTab(transferTab(), QStringLiteral("Room Transfer"));
    layout->addWidget(m_tabs);
}

QWidget *frmDischargeMenu::dischargeTab()
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    auto *form = new QFormLayout;
    m_admDate = shown("txtADMDate");
    m_admTime = shown("txtADMTime");
    m_dcr = new QDateTimeEdit;
    m_dcr->setObjectName(QStringLiteral("dtpDCR"));
    m_dcr->setDisplayFormat(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    m_dcr->setCalendarPopup(true);
    form->addRow(QStringLiteral("Admission Date"), m_admDate);
    form->addRow(QStringLiteral("Admission Time"), m_admTime);
    form->addRow(QStringLiteral("Discharge Date/Time"), m_dcr);
    layout->addLayout(form);
    m_results = new QButtonGroup(tab);
    m_dispositions = new QButtonGroup(tab);
    auto *choices = new QHBoxLayout;
    choices->addWidget(options(QStringLiteral("Results"), "optResults",
                               discharge::DischargeMenu::results(), m_results));
    choices->addWidget(options(QStringLiteral("Disposition"), "optDisposition",
                               discharge::DischargeMenu::dispositions(), m_dispositions));
    layout->addLayout(choices);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *save = new QPushButton(QStringLiteral("Save Discharge"));
    save->setObjectName(QStringLiteral("cmdOptions(0)"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("cmdOptions(1)"));
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, [this] {
        if (m_presenter.saveDischarge(m_dcr->dateTime(), m_results->checkedId(),
                                      m_dispositions->checkedId()))
            close();
    });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    return tab;
}

QWidget *frmDischargeMenu::transferTab()
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    auto *form = new QFormLayout;
    m_oldRoom = shown("txtOldRoom");
    m_oldStation = shown("txtOldStation");
    m_newRoom = new QLineEdit;
    m_newRoom->setObjectName(QStringLiteral("txtNewRoom"));
    m_newStation = shown("txtNewStation");
    m_transferTime = new QTimeEdit;
    m_transferTime->setObjectName(QStringLiteral("dtpTimeTransfer"));
    m_transferTime->setDisplayFormat(QStringLiteral("hh:mm:ss AP"));
    form->addRow(QStringLiteral("Old Room"), m_oldRoom);
    form->addRow(QStringLiteral("Old Station"), m_oldStation);
    form->addRow(QStringLiteral("New Room"), m_newRoom);
    form->addRow(QStringLiteral("New Station"), m_newStation);
    form->addRow(QStringLiteral("Time of Transfer"), m_transferTime);
    layout->addLayout(form);
    layout->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *save = new QPushButton(QStringLiteral("Save New Room"));
    save->setObjectName(QStringLiteral("cmdTransfer(0)"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("cmdTransfer(1)"));
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(m_newRoom, &QLineEdit::textEdited, this, [this](const QString &text) {
        const int at = m_newRoom->cursorPosition();
        m_newRoom->setText(text.toUpper());
        m_newRoom->setCursorPosition(at);
    });
    connect(m_newRoom, &QLineEdit::editingFinished, this,
            [this] { m_newStation->setText(m_presenter.validateRoom(m_newRoom->text())); });
    connect(save, &QPushButton::clicked, this, [this] {
        if (m_presenter.saveTransfer(m_newRoom->text(), m_transferTime->time()))
            close();
    });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    return tab;
}

bool frmDischargeMenu::open(const QString &idNum)
{
    if (!m_presenter.open(idNum))
        return false;
    const discharge::Stay &s = m_presenter.stay();
    setWindowTitle(QStringLiteral("Discharges /Room Transfer"));
    m_admDate->setText(m_presenter.admissionDateText());
    m_admTime->setText(m_presenter.admissionTimeText());
    const QDateTime now = m_session.db().serverNow().isValid() ? m_session.db().serverNow()
                                                               : QDateTime::currentDateTime();
    m_dcr->setDateTime(now);
    m_oldRoom->setText(s.roomId);
    m_oldStation->setText(s.station);
    m_transferTime->setTime(now.time());
    m_tabs->widget(0)->setEnabled(m_presenter.canDischarge());
    m_tabs->widget(1)->setEnabled(m_presenter.canTransfer());
    m_tabs->setCurrentIndex(m_presenter.canDischarge() || !m_presenter.canTransfer() ? 0 : 1);
    return true;
}

} // namespace kestrel
