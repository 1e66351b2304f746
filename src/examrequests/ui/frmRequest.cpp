// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/ui/frmRequest.h"

#include "charging/ui/EntryGrid.h"
#include "core/Session.h"
#include "examrequests/ui/frmSpecimenEntry.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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

} // namespace

frmRequest::frmRequest(Session &session, clsCodeLookup *codeLookup, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session, codeLookup)
{
    setObjectName(QStringLiteral("frmRequest"));
    setWindowTitle(QStringLiteral("Examination Request"));
    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    m_department = new QLabel(this);
    m_department->setObjectName(QStringLiteral("txtDept"));
    m_department->setStyleSheet(QStringLiteral("font-weight: bold;"));
    top->addWidget(new QLabel(QStringLiteral("Department:"), this));
    top->addWidget(m_department);
    top->addStretch(1);
    layout->addLayout(top);

    m_grid = new EntryGrid(m_presenter.grid(), m_presenter, this);
    m_grid->setObjectName(QStringLiteral("mshflexEntry"));
    const int widths[] = {200, 1200, 3800, 600, 1100, 900, 600, 2000};
    for (int c = 0; c < ExamRequestEntry::ColumnCount; ++c) {
        if (ExamRequestEntry::isHidden(c))
            m_grid->setColumnHidden(c, true);
        else if (c < int(std::size(widths)))
            m_grid->setColumnWidth(c, pixels(widths[c]));
        else
            m_grid->setColumnWidth(c, pixels(2000));
    }
    m_grid->editor()->setObjectName(QStringLiteral("txtEntry"));
    m_grid->setMinimumHeight(pixels(3000));
    layout->addWidget(m_grid, 1);

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraMessage"));
    auto *frameLayout = new QVBoxLayout(frame);
    auto *message = new QLabel(frame);
    message->setObjectName(QStringLiteral("lblMessage"));
    message->setWordWrap(true);
    frameLayout->addWidget(message);
    layout->addWidget(frame);
    m_grid->setPromptLabel(message);

    auto *bottom = new QHBoxLayout;
    m_specimen = new QPushButton(QStringLiteral("&Specimen"), this);
    m_specimen->setObjectName(QStringLiteral("cmdSpecimen"));
    m_specimen->setAutoDefault(false);
    bottom->addWidget(m_specimen);
    bottom->addStretch(1);
    QList<QPushButton *> buttons;
    for (const QString &caption :
         {QStringLiteral("&Accept"), QStringLiteral("&Delete"), QStringLiteral("&Exit")}) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("cmdOption(%1)").arg(buttons.size()));
        button->setAutoDefault(false);
        bottom->addWidget(button);
        buttons << button;
    }
    layout->addLayout(bottom);
    connect(m_specimen, &QPushButton::clicked, this, &frmRequest::chooseSpecimen);
    connect(buttons.at(0), &QPushButton::clicked, this, [this] {
        m_grid->cancelEdit();
        if (m_presenter.accept())
            closeWindow();
    });
    connect(buttons.at(1), &QPushButton::clicked, this, [this] {
        const int row = m_grid->currentCell().row;
        m_grid->cancelEdit();
        m_presenter.deleteLine(row);
    });
    connect(buttons.at(2), &QPushButton::clicked, this, &frmRequest::closeWindow);
    resize(pixels(11000), pixels(6500));
}

frmRequest::~frmRequest() = default;

bool frmRequest::open(const QString &idNum, const QString &department)
{
    if (!m_presenter.open(idNum, department))
        return false;
    m_department->setText(m_presenter.department());
    m_specimen->setVisible(m_presenter.department() == u"LB");
    m_grid->editCell({1, ExamRequestEntry::Code});
    return true;
}

void frmRequest::chooseSpecimen()
{
    const int row = m_grid->currentCell().row;
    if (row < 1 || row > m_presenter.lines().size())
        return;
    m_grid->cancelEdit();
    frmSpecimenEntry picker(m_session, m_presenter.lines().at(row - 1).code, this);
    if (picker.exec() == QDialog::Accepted)
        m_presenter.setSpecimen(row, picker.chosen());
}

void frmRequest::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kestrel
