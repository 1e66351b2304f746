// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/NursingFormWidgets.h"

#include "core/components/clsCodeLookup.h"
#include "nursing/NursingForms.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>

namespace kestrel::nursing {

void typeUpperCase(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &typed) {
        const QString upper = typed.toUpper();
        if (upper == typed)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

void typeUpperCase(QPlainTextEdit *edit)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
        const QString typed = edit->toPlainText();
        const QString upper = typed.toUpper();
        if (upper == typed)
            return;
        const int cursor = edit->textCursor().position();
        const QSignalBlocker quiet(edit);
        edit->setPlainText(upper);
        QTextCursor c = edit->textCursor();
        c.setPosition(std::min(cursor, int(upper.size())));
        edit->setTextCursor(c);
    });
}

QLineEdit *upperCaseLine(const QString &objectName, int maxLength)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(objectName);
    edit->setMaxLength(maxLength);
    typeUpperCase(edit);
    return edit;
}

QPlainTextEdit *upperCaseText(const QString &objectName)
{
    auto *edit = new QPlainTextEdit;
    edit->setObjectName(objectName);
    edit->setTabChangesFocus(true);
    typeUpperCase(edit);
    return edit;
}

QStringList textsOf(const QList<QLineEdit *> &edits)
{
    QStringList out;
    for (const QLineEdit *e : edits)
        out << e->text();
    return out;
}

void fillLines(const QList<QLineEdit *> &edits, const QStringList &values)
{
    for (int i = 0; i < edits.size(); ++i)
        edits.at(i)->setText(values.value(i));
}

bool pickDoctor(clsCodeLookup *lookup, QLineEdit *edit)
{
    if (!lookup || !lookup->SearchListing(clsCodeLookup::Doctors, edit->text().trimmed()))
        return false;
    const DoctorRecord &d = lookup->DoctorRecord();
    edit->setText(doctorDisplayName(d.LastName, d.FirstName).toUpper());
    return true;
}

QWidget *doctorLine(clsCodeLookup *lookup, QLineEdit *edit)
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto *search = new QPushButton(QStringLiteral("..."));
    search->setObjectName(edit->objectName() + QStringLiteral("Search"));
    search->setToolTip(QStringLiteral("Search doctor"));
    search->setMaximumWidth(32);
    row->addWidget(edit, 1);
    row->addWidget(search);
    QObject::connect(edit, &QLineEdit::returnPressed, edit,
                     [lookup, edit] { pickDoctor(lookup, edit); });
    QObject::connect(search, &QPushButton::clicked, edit,
                     [lookup, edit] { pickDoctor(lookup, edit); });
    return box;
}

YesNoPair::YesNoPair(const QString &objectName, QWidget *parent)
    : QWidget(parent)
    , m_yes(new QRadioButton(QStringLiteral("YES")))
    , m_no(new QRadioButton(QStringLiteral("NO")))
{
    setObjectName(objectName);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_yes);
    row->addWidget(m_no);
    auto *group = new QButtonGroup(this);
    group->addButton(m_yes);
    group->addButton(m_no);
    connect(group, &QButtonGroup::buttonClicked, this,
            [this](QAbstractButton *) { Q_EMIT answered(value()); });
}

QString YesNoPair::value() const
{
    if (m_yes->isChecked())
        return kYes;
    if (m_no->isChecked())
        return kNo;
    return {};
}

void YesNoPair::setValue(const QString &value)
{
    const QString v = value.trimmed().toUpper();
    // Both unticked: an exclusive group keeps one ticked unless it lets go for a moment.
    auto *group = m_yes->group();
    group->setExclusive(false);
    m_yes->setChecked(v == kYes);
    m_no->setChecked(v == kNo);
    group->setExclusive(true);
}

QStringList answersOf(const QList<YesNoPair *> &pairs)
{
    QStringList out;
    for (const YesNoPair *pair : pairs)
        out << pair->value();
    return out;
}

void fillAnswers(const QList<YesNoPair *> &pairs, const QStringList &values)
{
    for (int i = 0; i < pairs.size(); ++i)
        pairs.at(i)->setValue(values.value(i));
}

FormButtons::FormButtons(NursingForm &form, QWidget *window, std::function<void()> take,
                         std::function<void()> show, QWidget *parent)
    : QWidget(parent)
    , m_window(window)
    , m_form(form)
    , m_take(std::move(take))
    , m_show(std::move(show))
    , m_save(new QPushButton(QStringLiteral("&Save")))
    , m_delete(new QPushButton(QStringLiteral("&Delete")))
    , m_print(new QPushButton(QStringLiteral("&Print")))
{
    auto *close = new QPushButton(QStringLiteral("&Close"));
    m_save->setObjectName(QStringLiteral("cmdSave"));
    m_delete->setObjectName(QStringLiteral("cmdDelete"));
    m_print->setObjectName(QStringLiteral("cmdPrint"));
    close->setObjectName(QStringLiteral("cmdClose"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    for (QPushButton *b : {m_save, m_delete, m_print, close})
        row->addWidget(b);
    connect(m_save, &QPushButton::clicked, this, [this] {
        m_take();
        m_form.save();
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        if (m_form.remove())
            m_show();
    });
    connect(m_print, &QPushButton::clicked, this, [this] {
        m_take();
        m_form.print();
    });
    connect(close, &QPushButton::clicked, window, &QWidget::close);
    window->installEventFilter(this);
}

bool FormButtons::closeRequested()
{
    m_take();
    return m_form.closeRequested();
}

bool FormButtons::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Close && !closeRequested()) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void placeScrolledForm(QWidget *window, QWidget *page, FormButtons *buttons)
{
    auto *outer = new QVBoxLayout(window);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    outer->addWidget(scroll, 1);
    outer->addWidget(buttons);
}

OperationHeader::OperationHeader(clsCodeLookup *doctors, const QString &besideCaption,
                                 const QString &besideName, const QString &operationCaption,
                                 QWidget *parent)
    : QWidget(parent)
    , m_patient(new QLineEdit)
    , m_beside(new QLineEdit)
    , m_surgeon(upperCaseLine(QStringLiteral("txtSurgeon")))
    , m_anesthesiologist(upperCaseLine(QStringLiteral("txtAnesthesiologist")))
    , m_dateSched(upperCaseLine(QStringLiteral("txtDateSched"), 20))
    , m_timeSched(upperCaseLine(QStringLiteral("txtTimeSched"), 20))
    , m_operation(upperCaseLine(QStringLiteral("txtOperation")))
{
    m_patient->setObjectName(QStringLiteral("txtPatient"));
    m_patient->setReadOnly(true);
    m_beside->setObjectName(besideName);
    m_beside->setReadOnly(true);
    m_dateSched->setPlaceholderText(QStringLiteral("MM/DD/YYYY"));
    m_timeSched->setPlaceholderText(QStringLiteral("HH:MM AM"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Patient's Name:")), 0, 0);
    grid->addWidget(m_patient, 0, 1);
    grid->addWidget(new QLabel(besideCaption), 0, 2);
    grid->addWidget(m_beside, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Surgeon:")), 1, 0);
    grid->addWidget(doctorLine(doctors, m_surgeon), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Anesthesiologist:")), 1, 2);
    grid->addWidget(doctorLine(doctors, m_anesthesiologist), 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Date Scheduled:")), 2, 0);
    grid->addWidget(m_dateSched, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Time Scheduled:")), 2, 2);
    grid->addWidget(m_timeSched, 2, 3);
    grid->addWidget(new QLabel(operationCaption), 3, 0);
    grid->addWidget(m_operation, 3, 1, 1, 3);
}

void OperationHeader::showPatient(const QString &name, const QString &beside)
{
    m_patient->setText(name);
    m_beside->setText(beside);
}

void OperationHeader::takeInto(FormRecord &record) const
{
    record.setText(QStringLiteral("Surgeon"), m_surgeon->text());
    record.setText(QStringLiteral("Anesthesiologist"), m_anesthesiologist->text());
    record.setText(QStringLiteral("DateSched"), m_dateSched->text());
    record.setText(QStringLiteral("TimeSched"), m_timeSched->text());
    record.setText(QStringLiteral("Operation"), m_operation->text());
}

void OperationHeader::fillFrom(const FormRecord &record)
{
    m_surgeon->setText(record.text(QStringLiteral("Surgeon")));
    m_anesthesiologist->setText(record.text(QStringLiteral("Anesthesiologist")));
    m_dateSched->setText(record.text(QStringLiteral("DateSched")));
    m_timeSched->setText(record.text(QStringLiteral("TimeSched")));
    m_operation->setText(record.text(QStringLiteral("Operation")));
}

} // namespace kestrel::nursing
