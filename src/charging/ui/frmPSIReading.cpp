// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmPSIReading.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace kestrel {

namespace {

// Leaving a field calls back once the focus has left it.
class FieldLeaveFilter : public QObject
{
public:
    FieldLeaveFilter(QObject *parent, std::function<void(QObject *)> left)
        : QObject(parent)
        , m_left(std::move(left))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // After the focus has moved, so the check knows where it went and may bring it back.
        if (event->type() == QEvent::FocusOut)
            QTimer::singleShot(0, this, [this, watched] { m_left(watched); });
        return false;
    }

private:
    std::function<void(QObject *)> m_left;
};

} // namespace

frmPSIReading::frmPSIReading(Session &session, const QString &itemId, const QString &description,
                             QWidget *parent)
    : QDialog(parent)
    , m_entry(session, itemId)
{
    setObjectName(QStringLiteral("frmPSIReading"));
    setWindowTitle(QStringLiteral("PSI Reading"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *item = new QLabel(itemId + QStringLiteral(" - ") + description, this);
    item->setObjectName(QStringLiteral("lblItem"));
    layout->addWidget(item);
    auto *form = new QFormLayout;
    m_tank = new QLineEdit(this);
    m_tank->setObjectName(QStringLiteral("txtTank"));
    m_initial = new QLineEdit(this);
    m_initial->setObjectName(QStringLiteral("txtInitialReading"));
    m_last = new QLineEdit(this);
    m_last->setObjectName(QStringLiteral("txtLastReading"));
    m_consumed = new QLabel(this);
    m_consumed->setObjectName(QStringLiteral("lblConsumed"));
    form->addRow(QStringLiteral("Tank #"), m_tank);
    form->addRow(QStringLiteral("Initial Reading"), m_initial);
    form->addRow(QStringLiteral("Last Reading"), m_last);
    form->addRow(QStringLiteral("PSI Consumed"), m_consumed);
    layout->addLayout(form);
    m_warning = new QLabel(this);
    m_warning->setObjectName(QStringLiteral("lblWarning"));
    m_warning->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(m_warning);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    auto *exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("cmdExit"));
    ok->setAutoDefault(false);
    exit->setAutoDefault(false);
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    layout->addLayout(buttons);

    connect(m_initial, &QLineEdit::textEdited, this, [this] {
        m_warning->setText(m_entry.initialWarning(m_initial->text(), m_last->text()));
        m_consumed->setText(m_entry.consumedText(m_initial->text(), m_last->text()));
    });
    connect(m_last, &QLineEdit::textEdited, this, [this] {
        m_warning->setText(m_entry.lastWarning(m_initial->text(), m_last->text()));
        m_consumed->setText(m_entry.consumedText(m_initial->text(), m_last->text()));
    });
    // Enter moves on as Tab does; on the last reading it accepts.
    connect(m_tank, &QLineEdit::returnPressed, m_initial, qOverload<>(&QWidget::setFocus));
    connect(m_initial, &QLineEdit::returnPressed, m_last, qOverload<>(&QWidget::setFocus));
    connect(m_last, &QLineEdit::returnPressed, this, &frmPSIReading::takeReading);
    auto *filter = new FieldLeaveFilter(this, [this, ok, exit](QObject *field) {
        // Leaving for "Exit" checks nothing; "OK" checks everything itself.
        if (exit->hasFocus() || ok->hasFocus())
            return;
        if (field == m_tank && !m_tank->text().trimmed().isEmpty()) {
            if (m_entry.enterTank(m_tank->text())) {
                if (m_initial->text().trimmed().isEmpty())
                    m_initial->setText(m_entry.initialText());
            } else {
                m_tank->selectAll();
                m_tank->setFocus();
            }
        } else if (field == m_initial && !m_initial->text().trimmed().isEmpty()) {
            if (!m_entry.leaveInitial(m_initial->text(), m_last->text()))
                m_initial->setFocus();
        } else if (field == m_last && !m_last->text().trimmed().isEmpty()) {
            if (!m_entry.leaveLast(m_initial->text(), m_last->text()))
                m_last->setFocus();
        }
    });
    for (QLineEdit *field : {m_tank, m_initial, m_last})
        field->installEventFilter(filter);
    connect(ok, &QPushButton::clicked, this, &frmPSIReading::takeReading);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    m_tank->setFocus();
}

void frmPSIReading::takeReading()
{
    m_reading = m_entry.accept(m_tank->text(), m_initial->text(), m_last->text());
    if (m_reading)
        accept();
}

} // namespace kestrel
