// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmMarkupSettings.h"

#include "core/ui/KeyFilter.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace kestrel {

frmMarkupSettings::frmMarkupSettings(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmMarkupSettings"));
    buildUi();
    bind();
    m_presenter.search(QString());
    showListing();
    showEntry();
}

void frmMarkupSettings::buildUi()
{
    setWindowTitle(QStringLiteral("Mark Up Settings"));
    auto *layout = new QVBoxLayout(this);

    auto *toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_addAction = toolbar->addAction(QStringLiteral("Add"));
    m_addAction->setObjectName(QStringLiteral("Add"));
    m_editAction = toolbar->addAction(QStringLiteral("Edit"));
    m_editAction->setObjectName(QStringLiteral("Edit"));
    m_saveAction = toolbar->addAction(QStringLiteral("Save"));
    m_saveAction->setObjectName(QStringLiteral("Save"));
    toolbar->addSeparator();
    m_search = new QLineEdit(toolbar);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    installUpperCase(m_search);
    toolbar->addWidget(m_search);
    m_findAction = toolbar->addAction(QStringLiteral("Search"));
    m_findAction->setObjectName(QStringLiteral("Search"));
    layout->addWidget(toolbar);

    auto *fields = new QFormLayout;
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("txtCode"));
    m_code->setReadOnly(true);
    fields->addRow(QStringLiteral("Code"), m_code);
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("txtDesc"));
    installUpperCase(m_description);
    fields->addRow(QStringLiteral("Description"), m_description);
    m_markup = new QLineEdit(this);
    m_markup->setObjectName(QStringLiteral("txtMarkup"));
    auto *numbers = new QDoubleValidator(0, 9999999, 4, m_markup);
    numbers->setNotation(QDoubleValidator::StandardNotation);
    numbers->setLocale(QLocale::c());
    m_markup->setValidator(numbers);
    fields->addRow(QStringLiteral("Mark up"), m_markup);
    m_multiply = new QRadioButton(QStringLiteral("Multiply (*)"), this);
    m_multiply->setObjectName(QStringLiteral("optMarkup(0)"));
    m_addition = new QRadioButton(QStringLiteral("Add (+)"), this);
    m_addition->setObjectName(QStringLiteral("optMarkup(1)"));
    auto *operation = new QHBoxLayout;
    operation->addWidget(m_multiply);
    operation->addWidget(m_addition);
    operation->addStretch(1);
    fields->addRow(QString(), operation);
    m_active = new QCheckBox(QStringLiteral("Active"), this);
    m_active->setObjectName(QStringLiteral("chkActive"));
    m_default = new QCheckBox(QStringLiteral("Default"), this);
    m_default->setObjectName(QStringLiteral("chkDefault"));
    auto *flags = new QHBoxLayout;
    flags->addWidget(m_active);
    flags->addWidget(m_default);
    flags->addStretch(1);
    fields->addRow(QString(), flags);
    m_from = new QDateEdit(this);
    m_from->setObjectName(QStringLiteral("dtRegFrom"));
    m_to = new QDateEdit(this);
    m_to->setObjectName(QStringLiteral("dtRegTo"));
    for (QDateEdit *d : {m_from, m_to}) {
        d->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
        d->setCalendarPopup(true);
    }
    auto *validity = new QHBoxLayout;
    validity->addWidget(m_from);
    validity->addWidget(new QLabel(QStringLiteral("To"), this));
    validity->addWidget(m_to);
    validity->addStretch(1);
    fields->addRow(QStringLiteral("From"), validity);
    layout->addLayout(fields);

    m_listing = new QTableWidget(0, 3, this);
    m_listing->setObjectName(QStringLiteral("grdListing"));
    m_listing->setHorizontalHeaderLabels(
        {QStringLiteral("Code"), QStringLiteral("MarkUp"), QStringLiteral("Description")});
    m_listing->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listing->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listing->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listing->verticalHeader()->hide();
    m_listing->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_listing, 1);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("lblMessage"));
    layout->addWidget(m_message);
    setMinimumSize(6000 / 15, 5400 / 15);
}

void frmMarkupSettings::bind()
{
    connect(m_addAction, &QAction::triggered, this, [this] {
        m_presenter.add();
        showEntry();
        m_description->setFocus();
    });
    connect(m_editAction, &QAction::triggered, this, [this] {
        if (m_presenter.edit())
            showEntry();
    });
    connect(m_saveAction, &QAction::triggered, this, &frmMarkupSettings::save);
    connect(m_findAction, &QAction::triggered, this, &frmMarkupSettings::search);
    connect(m_search, &QLineEdit::returnPressed, this, &frmMarkupSettings::search);
    connect(m_listing, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_presenter.select(row);
        showEntry();
    });
}

void frmMarkupSettings::showListing()
{
    const QList<MarkupEntry> &rows = m_presenter.listing();
    const QSignalBlocker blocker(m_listing);
    m_listing->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const MarkupEntry &e = rows.at(i);
        m_listing->setItem(i, 0, new QTableWidgetItem(e.code));
        m_listing->setItem(i, 1, new QTableWidgetItem(e.markup));
        m_listing->setItem(i, 2, new QTableWidgetItem(e.description));
    }
    m_message->setText(m_presenter.listingMessage());
}

void frmMarkupSettings::showEntry()
{
    const MarkupEntry &e = m_presenter.entry();
    m_code->setText(e.code);
    m_description->setText(e.description);
    m_markup->setText(e.markup);
    m_multiply->setChecked(e.operation != u"+");
    m_addition->setChecked(e.operation == u"+");
    m_active->setChecked(e.active);
    m_default->setChecked(e.isDefault);
    m_from->setDate(e.validFrom.isValid() ? e.validFrom : m_from->minimumDate());
    m_to->setDate(e.validTo.isValid() ? e.validTo : m_to->minimumDate());
    const bool editing = m_presenter.isEditing();
    for (QWidget *w : std::initializer_list<QWidget *>{m_description, m_markup, m_multiply,
                                                       m_addition, m_active, m_default, m_from,
                                                       m_to})
        w->setEnabled(editing);
    m_saveAction->setEnabled(editing);
}

void frmMarkupSettings::takeEntry()
{
    MarkupEntry &e = m_presenter.entry();
    e.description = m_description->text();
    e.markup = m_markup->text();
    e.operation = m_addition->isChecked() ? QStringLiteral("+") : QStringLiteral("*");
    e.active = m_active->isChecked();
    e.isDefault = m_default->isChecked();
    e.validFrom = m_from->date();
    e.validTo = m_to->date();
}

void frmMarkupSettings::search()
{
    m_presenter.search(m_search->text());
    showListing();
}

void frmMarkupSettings::save()
{
    takeEntry();
    if (m_presenter.save())
        showListing();
    showEntry();
}

} // namespace kestrel
