// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/NursingFormWidgets.h"

#include "core/components/clsCodeLookup.h"
#include "nursing/NursingForms.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextCursor>

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

FormButtons::FormButtons(NursingForm &form, QWidget *window, std::function<void()> take,
                         std::function<void()> show, QWidget *parent)
    : QWidget(parent)
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
}

bool FormButtons::closeRequested()
{
    m_take();
    return m_form.closeRequested();
}

} // namespace kestrel::nursing
