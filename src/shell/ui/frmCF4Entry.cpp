// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/frmCF4Entry.h"

#include "core/Notifier.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace kestrel {

namespace {

// The boxes' names, in the order of the sections.
constexpr std::array<const char16_t *, CF4Entry::Outcome> kBoxNames{
    u"txtChiefComplaint", u"txtPresentIllness", u"txtPhysicalExam", u"txtCourseInWard",
    u"txtDrugs"};

} // namespace

frmCF4Entry::frmCF4Entry(CF4Entry &entry, QWidget *parent)
    : QDialog(parent)
    , m_entry(entry)
{
    setObjectName(QStringLiteral("frmCF4Entry"));
    setModal(true);
    buildUi();
    refresh();
}

void frmCF4Entry::buildUi()
{
    setWindowTitle(m_entry.values().Title);
    auto *layout = new QVBoxLayout(this);
    m_heading = new QLabel(m_entry.heading(), this);
    m_heading->setObjectName(QStringLiteral("lblPatient"));
    layout->addWidget(m_heading);

    auto *form = new QFormLayout;
    for (int s = 0; s < CF4Entry::Outcome; ++s) {
        auto *box = new QPlainTextEdit(this);
        box->setObjectName(QString::fromUtf16(kBoxNames[s]));
        box->setTabChangesFocus(true);
        box->setMinimumSize(480, s == CF4Entry::ChiefComplaint ? 40 : 70);
        box->setPlainText(m_entry.text(CF4Entry::Section(s)));
        connect(box, &QPlainTextEdit::textChanged, this,
                [this, box, s] { m_entry.setText(CF4Entry::Section(s), box->toPlainText()); });
        form->addRow(CF4Entry::caption(CF4Entry::Section(s)) + u':', box);
        m_boxes[s] = box;
    }
    m_outcome = new QComboBox(this);
    m_outcome->setObjectName(QStringLiteral("cboOutcome"));
    m_outcome->addItem(QString());
    m_outcome->addItems(CF4Entry::outcomes());
    m_outcome->setCurrentText(m_entry.text(CF4Entry::Outcome));
    connect(m_outcome, &QComboBox::currentTextChanged, this,
            [this](const QString &text) { m_entry.setText(CF4Entry::Outcome, text); });
    form->addRow(CF4Entry::caption(CF4Entry::Outcome) + u':', m_outcome);
    layout->addLayout(form, 1);

    m_missing = new QLabel(this);
    m_missing->setObjectName(QStringLiteral("lblMissing"));
    m_missing->setWordWrap(true);
    layout->addWidget(m_missing);

    m_save = new QPushButton(QStringLiteral("&Save"), this);
    m_save->setObjectName(QStringLiteral("cmdSave"));
    m_print = new QPushButton(QStringLiteral("&Print"), this);
    m_print->setObjectName(QStringLiteral("cmdPrint"));
    m_print->setVisible(m_entry.values().ShowPrint);
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton *b : {m_save, m_print, m_close})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_print);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    connect(&m_entry, &CF4Entry::changed, this, &frmCF4Entry::refresh);
    connect(m_save, &QPushButton::clicked, &m_entry, &CF4Entry::save);
    connect(m_print, &QPushButton::clicked, this, &frmCF4Entry::print);
    connect(m_close, &QPushButton::clicked, this, &frmCF4Entry::reject);
}

void frmCF4Entry::refresh()
{
    m_missing->setText(m_entry.missingText());
}

void frmCF4Entry::reject()
{
    if (m_entry.isModified() &&
        !m_entry.notifier().confirm(QStringLiteral("The CF4 entries were changed and not saved. "
                                                   "Close anyway?"),
                                    QStringLiteral("Confirmation"), Notifier::Icon::Question))
        return;
    QDialog::reject();
}

void frmCF4Entry::print()
{
    const CF4EntryValues &v = m_entry.values();
    QString html = QStringLiteral("<h3 align=center>") + v.HospitalName.toHtmlEscaped() +
                   QStringLiteral("</h3><p align=center>") + v.HospitalAddress.toHtmlEscaped() +
                   QStringLiteral("</p><h4>") + v.Title.toHtmlEscaped() +
                   QStringLiteral("</h4><p>") + m_entry.heading().toHtmlEscaped() +
                   QStringLiteral("</p>");
    for (int s = 0; s < CF4Entry::SectionCount; ++s) {
        const auto section = CF4Entry::Section(s);
        html += QStringLiteral("<p><b>") + CF4Entry::caption(section).toHtmlEscaped() +
                QStringLiteral("</b><br>") +
                m_entry.text(section).toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")) +
                QStringLiteral("</p>");
    }
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
}

void WidgetCF4EntryWindow::show(CF4Entry &entry)
{
    frmCF4Entry window(entry, QApplication::activeWindow());
    window.exec();
}

} // namespace kestrel
