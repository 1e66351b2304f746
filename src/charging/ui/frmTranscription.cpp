// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmTranscription.h"

#include "charging/ui/EntryGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

// Twips are 1/1440 inch: fifteen to a pixel at 96 dots per inch.
int pixels(int twips)
{
    return qRound(twips / 15.0);
}

struct Field
{
    const char *caption;
    const char *name;
    QString TranscriptionHeader::*value;
    int row, column, span;
};

} // namespace

frmTranscription::frmTranscription(Session &session, RequestEntry::Components components,
                                   QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, components)
{
    setObjectName(QStringLiteral("frmTranscription"));
    setWindowTitle(QStringLiteral("PHARMACY TRANSCRIPTION NOTES"));
    buildUi();
    connect(&m_presenter, &Transcription::changed, this, &frmTranscription::refresh);
    connect(&m_presenter, &Transcription::closeRequested, this, &frmTranscription::closeWindow);
    refresh();
}

frmTranscription::~frmTranscription() = default;

void frmTranscription::buildUi()
{
    auto *layout = new QVBoxLayout(this);

    auto *panel = new QGridLayout;
    using H = TranscriptionHeader;
    static const Field kFields[] = {
        {"Patient Name", "txtPatient", &H::patient, 0, 0, 3},
        {"Admission #", "txtId", &H::idNum, 0, 4, 1},
        {"Hospital #", "txtPno", &H::hospNum, 0, 6, 1},
        {"Room #", "txtRoom", &H::room, 1, 0, 1},
        {"ADM Date", "txtDateAdmitted", &H::admitted, 1, 2, 1},
        {"Age", "txtAge", &H::age, 1, 4, 1},
        {"Sex", "txtSex", &H::sex, 1, 6, 1},
        {"Diagnosis", "txtDiagnosis", &H::diagnosis, 2, 0, 3},
        {"Status", "txtStatus", &H::status, 2, 4, 1},
        {"Account #", "txtAccount", &H::account, 2, 6, 1},
        {"Admitting Dr.", "txtDoctor1", &H::admittingDoctor, 3, 0, 3},
        {"Attending Dr.", "txtDoctor2", &H::attendingDoctor, 3, 4, 3},
    };
    for (const Field &f : kFields) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(f.name));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        panel->addWidget(new QLabel(QString::fromLatin1(f.caption), this), f.row, f.column);
        panel->addWidget(edit, f.row, f.column + 1, 1, f.span);
        m_fields.append({edit, f.value});
    }
    m_assessment = new QLineEdit(this);
    m_assessment->setObjectName(QStringLiteral("txtAssessment"));
    m_assessment->setReadOnly(true);
    m_assessment->setFocusPolicy(Qt::NoFocus);
    m_assessment->setStyleSheet(QStringLiteral("font-weight: bold;"));
    panel->addWidget(new QLabel(QStringLiteral("Assessment #"), this), 4, 0);
    panel->addWidget(m_assessment, 4, 1);
    layout->addLayout(panel);

    auto *ordersFrame = new QGroupBox(QStringLiteral("Orders"), this);
    auto *ordersLayout = new QVBoxLayout(ordersFrame);
    m_orders = new QPlainTextEdit(ordersFrame);
    m_orders->setObjectName(QStringLiteral("txtOrders"));
    m_orders->setReadOnly(true);
    m_orders->setMaximumHeight(pixels(1500));
    ordersLayout->addWidget(m_orders);
    layout->addWidget(ordersFrame);

    m_grid = new EntryGrid(m_presenter.grid(), m_presenter, this);
    m_grid->setObjectName(QStringLiteral("mshflexEntry"));
    const int widths[] = {400, 1000, 3600, 1000, 1000, 1000, 2000};
    for (int c = 0; c < TranscriptionGrid::kColumns; ++c) {
        if (c < int(std::size(widths)))
            m_grid->setColumnWidth(c, pixels(widths[c]));
        else
            m_grid->setColumnHidden(c, true);
    }
    m_grid->editor()->setObjectName(QStringLiteral("txtEntry"));
    m_grid->setMinimumHeight(pixels(2500));
    layout->addWidget(m_grid, 1);

    auto *instructions = new QGroupBox(QStringLiteral("Instructions"), this);
    auto *instructionsLayout = new QVBoxLayout(instructions);
    auto *message = new QLabel(instructions);
    message->setObjectName(QStringLiteral("lblMessage"));
    message->setWordWrap(true);
    instructionsLayout->addWidget(message);
    layout->addWidget(instructions);
    m_grid->setPromptLabel(message);

    auto *bottom = new QHBoxLayout;
    auto *list = new QPushButton(QStringLiteral("List of Pending Transcription Notes"), this);
    list->setObjectName(QStringLiteral("cmdListTranscription"));
    list->setAutoDefault(false);
    connect(list, &QPushButton::clicked, &m_presenter, &Transcription::listTranscriptions);
    bottom->addWidget(list);
    bottom->addStretch(1);
    QList<QPushButton *> buttons;
    for (const QString &caption :
         {QStringLiteral("&Save"), QStringLiteral("&Close"), QStringLiteral("&Delete")}) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("cmdMedOption(%1)").arg(buttons.size()));
        button->setAutoDefault(false);
        bottom->addWidget(button);
        buttons << button;
    }
    layout->addLayout(bottom);
    connect(buttons.at(0), &QPushButton::clicked, this, [this] {
        m_grid->cancelEdit();
        if (m_presenter.save())
            m_grid->editCell({1, TranscriptionGrid::Code});
    });
    connect(buttons.at(1), &QPushButton::clicked, &m_presenter, &Transcription::close);
    connect(buttons.at(2), &QPushButton::clicked, this, [this] {
        const int row = m_grid->currentCell().row;
        m_grid->cancelEdit();
        m_presenter.deleteLine(row);
    });
    resize(pixels(11500), pixels(9000));
}

void frmTranscription::refresh()
{
    const TranscriptionHeader &h = m_presenter.header();
    for (const auto &[edit, value] : std::as_const(m_fields))
        edit->setText(h.*value);
    m_assessment->setText(m_presenter.assessment());
    if (m_orders->toPlainText() != m_presenter.orders())
        m_orders->setPlainText(m_presenter.orders());
}

void frmTranscription::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kestrel
