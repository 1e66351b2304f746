// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmPHEntry.h"

#include "charging/ui/EntryGrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

// Twips are 1/1440 inch: fifteen to a pixel at 96 dots per inch.
int pixels(int twips)
{
    return qRound(twips / 15.0);
}

int widthOf(RequestField field)
{
    switch (field) {
    case RequestField::Number:
        return 400;
    case RequestField::Code:
        return 1000;
    case RequestField::Description:
        return 3600;
    case RequestField::Remarks:
        return 2000;
    case RequestField::Stat:
        return 600;
    default:
        return 1000;
    }
}

} // namespace

frmPHEntry::frmPHEntry(Session &session, RequestEntry::Components components, QWidget *parent)
    : frmPHEntry(session, RequestForm::Pharmacy, components, parent)
{
}

frmPHEntry::frmPHEntry(Session &session, RequestForm form, RequestEntry::Components components,
                       QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, form, components)
{
    setObjectName(m_presenter.layout().formName);
    setWindowTitle(m_presenter.layout().caption);
    buildUi();
    bind();
    refresh();
}

frmPHEntry::~frmPHEntry() = default;

void frmPHEntry::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    const RequestLayout &l = m_presenter.layout();

    m_packageNote = new QLabel(this);
    m_packageNote->setObjectName(QStringLiteral("lblPackageNote"));
    m_packageNote->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    layout->addWidget(m_packageNote);

    m_grid = new EntryGrid(m_presenter.grid(), m_presenter, this);
    m_grid->setObjectName(QStringLiteral("mshflexEntry"));
    for (int c = 0; c < l.columns.size(); ++c) {
        if (c < l.shownColumns)
            m_grid->setColumnWidth(c, pixels(widthOf(l.columns.at(c))));
        else
            m_grid->setColumnHidden(c, true);
    }
    m_grid->setMinimumHeight(pixels(3500));
    layout->addWidget(m_grid, 1);

    auto *messageFrame = new QGroupBox(QStringLiteral("Message"), this);
    auto *messageLayout = new QVBoxLayout(messageFrame);
    m_message = new QLabel(messageFrame);
    m_message->setObjectName(QStringLiteral("lblMessage"));
    m_message->setWordWrap(true);
    messageLayout->addWidget(m_message);
    layout->addWidget(messageFrame);
    m_grid->setPromptLabel(m_message);

    auto *bottom = new QHBoxLayout;
    auto *note = new QLabel(m_presenter.note(), this);
    note->setObjectName(QStringLiteral("lblNote"));
    note->setWordWrap(true);
    bottom->addWidget(note, 1);
    for (const QString &caption :
         {m_presenter.saveCaption(), QStringLiteral("&Delete"), QStringLiteral("&Close")}) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("cmdMedOption(%1)").arg(m_buttons.size()));
        button->setAutoDefault(false);
        bottom->addWidget(button);
        m_buttons << button;
    }
    layout->addLayout(bottom);
    resize(pixels(11500), pixels(7000));
}

void frmPHEntry::bind()
{
    RequestEntry &p = m_presenter;
    connect(&p, &RequestEntry::changed, this, &frmPHEntry::refresh);
    connect(&p, &RequestEntry::closeRequested, this, &frmPHEntry::closeWindow);
    connect(m_buttons.at(0), &QPushButton::clicked, this, [this] {
        m_grid->cancelEdit();
        if (m_presenter.save())
            m_grid->editCell({1, 1});
    });
    connect(m_buttons.at(1), &QPushButton::clicked, this, [this] {
        const int row = m_grid->currentCell().row;
        m_grid->cancelEdit();
        m_presenter.deleteLine(row);
    });
    connect(m_buttons.at(2), &QPushButton::clicked, &p, &RequestEntry::close);
}

void frmPHEntry::refresh()
{
    m_packageNote->setText(m_presenter.packageNote());
    m_packageNote->setVisible(!m_presenter.packageNote().isEmpty());
    m_buttons.at(0)->setText(m_presenter.saveCaption());
}

void frmPHEntry::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kestrel
