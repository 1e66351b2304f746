// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ui/frmEditORSchedule.h"

#include "scheduling/ui/ScheduleWidgets.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kestrel {

using schedulingui::named;

frmEditORSchedule::frmEditORSchedule(Session &session, clsCodeLookup *lookup, QWidget *parent)
    : QDialog(parent)
    , m_presenter(session)
    , m_lookup(lookup)
{
    setObjectName(QStringLiteral("frmEditORSchedule"));
    setWindowTitle(QStringLiteral("Update Schedule Details"));
    auto *form = new QFormLayout(this);
    m_room = named(new QComboBox, QStringLiteral("cboRequestRoom"));
    form->addRow(QStringLiteral("OR Room"), m_room);
    m_start = named(new QDateTimeEdit, QStringLiteral("dtpTime(0)"));
    m_end = named(new QDateTimeEdit, QStringLiteral("dtpTime(1)"));
    for (QDateTimeEdit *t : {m_start, m_end})
        t->setDisplayFormat(QStringLiteral("MM/dd/yyyy hh:mm AP"));
    form->addRow(QStringLiteral("Starting Time"), m_start);
    form->addRow(QStringLiteral("Ending Time"), m_end);
    m_length = named(new QLabel, QStringLiteral("lblLength"));
    form->addRow(QStringLiteral("Length / Duration (min)"), m_length);
    auto doctorRow = [&](const QString &caption, const QString &codeName,
                         const QString &buttonName, QLineEdit *&code, QLabel *&name) {
        code = named(new QLineEdit, codeName);
        name = new QLabel;
        auto *row = new QHBoxLayout;
        row->addWidget(code);
        auto *find = named(new QPushButton(QStringLiteral("...")), buttonName);
        row->addWidget(find);
        row->addWidget(name, 1);
        form->addRow(caption, row);
        QLineEdit *c = code;
        QLabel *n = name;
        connect(find, &QPushButton::clicked, this,
                [this, c, n] { schedulingui::pickDoctor(m_lookup, c, n); });
    };
    doctorRow(QStringLiteral("Surgeon"), QStringLiteral("txtSurgeonID"),
              QStringLiteral("cmdSurgeon"), m_surgeon, m_surgeonName);
    doctorRow(QStringLiteral("Anesthesiologist"), QStringLiteral("txtAnesthesiologistID"),
              QStringLiteral("cmdAnesthesiologist"), m_anes, m_anesName);
    for (int i = 0; i < 3; ++i)
        doctorRow(QStringLiteral("Co-Surgeon"), QStringLiteral("txtSurgeonID%1").arg(i + 1),
                  QStringLiteral("cmdCoSurgeon%1").arg(i + 1), m_coSurgeon[i],
                  m_coSurgeonName[i]);
    auto *buttons = new QHBoxLayout;
    auto *update = named(new QPushButton(QStringLiteral("Update")), QStringLiteral("Command1"));
    auto *cancel = named(new QPushButton(QStringLiteral("Cancel")), QStringLiteral("Command2"));
    buttons->addStretch();
    buttons->addWidget(update);
    buttons->addWidget(cancel);
    form->addRow(buttons);

    connect(m_start, &QDateTimeEdit::editingFinished, this, &frmEditORSchedule::timesChanged);
    connect(m_end, &QDateTimeEdit::editingFinished, this, &frmEditORSchedule::timesChanged);
    connect(update, &QPushButton::clicked, this, [this] {
        if (m_presenter.update(edited()) == EditORSchedule::SaveOutcome::Saved)
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmEditORSchedule::load(const QString &transNum)
{
    if (!m_presenter.load(transNum))
        return false;
    const ScheduleEdit e = m_presenter.current();
    m_room->clear();
    m_room->addItems(m_presenter.roomNames());
    m_room->setCurrentText(e.room);
    m_start->setDateTime(e.start);
    m_end->setDateTime(e.end);
    m_length->setText(QString::number(m_presenter.schedule().length));
    m_surgeon->setText(e.surgeonId);
    m_surgeonName->setText(m_presenter.doctorName(e.surgeonId));
    m_anes->setText(e.anesthesiologistId);
    m_anesName->setText(m_presenter.doctorName(e.anesthesiologistId));
    for (int i = 0; i < 3; ++i) {
        m_coSurgeon[i]->setText(e.coSurgeonIds[i]);
        m_coSurgeonName[i]->setText(m_presenter.doctorName(e.coSurgeonIds[i]));
    }
    return true;
}

void frmEditORSchedule::timesChanged()
{
    if (m_presenter.checkTimes(m_start->dateTime(), m_end->dateTime()))
        m_length->setText(QString::number(
            EditORSchedule::hourLength(m_start->dateTime(), m_end->dateTime())));
}

ScheduleEdit frmEditORSchedule::edited() const
{
    ScheduleEdit e;
    e.room = m_room->currentText();
    e.start = m_start->dateTime();
    e.end = m_end->dateTime();
    e.surgeonId = m_surgeon->text();
    e.surgeonName = m_surgeonName->text();
    e.anesthesiologistId = m_anes->text();
    e.anesthesiologistName = m_anesName->text();
    for (int i = 0; i < 3; ++i)
        e.coSurgeonIds[i] = m_coSurgeon[i]->text();
    return e;
}

} // namespace kestrel
