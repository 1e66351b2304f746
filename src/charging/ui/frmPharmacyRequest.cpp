// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmPharmacyRequest.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

frmPharmacyRequest::frmPharmacyRequest(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmPharmacyRequest"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("Pharmacy Request Entry"), this);
    label->setObjectName(QStringLiteral("lblPharmacy"));
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("font-weight: bold;"));
    layout->addWidget(label);
    for (int i = 0; i < 5; ++i) {
        auto *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("cmdRequest(%1)").arg(i));
        button->setAutoDefault(false);
        button->setMinimumHeight(32);
        connect(button, &QPushButton::clicked, this, [this, i] { m_presenter.choose(i); });
        m_buttons << button;
    }
    // The buttons as the user reads them: the entries first, "Close" last.
    for (int i : {0, 1, 3, 4, 2})
        layout->addWidget(m_buttons.at(i));
    connect(&m_presenter, &PharmacyMenu::changed, this, &frmPharmacyRequest::refresh);
    connect(&m_presenter, &PharmacyMenu::closeRequested, this, &frmPharmacyRequest::closeWindow);
    refresh();
    resize(320, 260);
}

void frmPharmacyRequest::refresh()
{
    setWindowTitle(m_presenter.caption());
    const QStringList captions = m_presenter.buttonCaptions();
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_buttons.at(i)->setText(captions.at(i));
        m_buttons.at(i)->setVisible(m_presenter.buttonVisible(i));
    }
}

void frmPharmacyRequest::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kestrel
