// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// mdiORMenu's status bar StbEr with its clock, and the "Next Charge Slip #" panel.
#include "shell/ui/mdiORMenu.h"

#include "shell/ui/LockKeys.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include <array>

namespace kestrel {

namespace {

constexpr int kPanelCount = 8;

QString statusPanelName(int index)
{
    return QStringLiteral("StbEr(%1)").arg(index);
}

} // namespace

void mdiORMenu::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StbEr"));
    bar->setSizeGripEnabled(true);
    const std::array<int, kPanelCount> widths{110, 60, 220, 50, 50, 80, 90, 200};
    for (int i = 1; i <= kPanelCount; ++i) {
        auto *label = new QLabel(bar);
        label->setObjectName(statusPanelName(i));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(widths[std::size_t(i - 1)]);
        // The employee's name takes what room is left.
        bar->addPermanentWidget(label, i == 3 ? 1 : 0);
        m_panels.append(label);
        m_controls.insert(label->objectName(), label);
    }
    setPanel(1, QStringLiteral("USER'S INITIAL "), QStringLiteral("USER'S INITIAL "));
    setPanel(4, QStringLiteral("CAPS"));
    setPanel(5, QStringLiteral("NUM"));
    setPanel(8, QStringLiteral("Server Name"), QStringLiteral("Server Name"));

    m_lockKeys = new LockKeys(this);
    connect(m_lockKeys, &LockKeys::changed, this, &mdiORMenu::showLockKeys);
    showLockKeys();

    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("clock"));
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &mdiORMenu::tick);
    m_clock->start();
    tick();
}

void mdiORMenu::buildChargeSlipPanel()
{
    auto *picture = new QWidget(menuBar());
    picture->setObjectName(QStringLiteral("Picture2"));
    auto *layout = new QHBoxLayout(picture);
    layout->setContentsMargins(6, 0, 6, 0);
    auto *caption = new QLabel(QStringLiteral("Next Charge Slip #"), picture);
    caption->setObjectName(QStringLiteral("lblCS(0)"));
    auto *value = new QLabel(picture);
    value->setObjectName(QStringLiteral("lblCS(1)"));
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    value->setMinimumWidth(80);
    layout->addWidget(caption);
    layout->addWidget(value);
    // In the menu bar's corner the panel stays at the right edge whatever the window's width.
    menuBar()->setCornerWidget(picture, Qt::TopRightCorner);
    m_controls.insert(picture->objectName(), picture);
    m_controls.insert(caption->objectName(), caption);
    m_controls.insert(value->objectName(), value);
}

QLabel *mdiORMenu::panel(int index) const
{
    Q_ASSERT_X(index >= 1 && index <= kPanelCount, "mdiORMenu", "status panels are 1 to 8");
    if (index < 1 || index > kPanelCount)
        return nullptr;
    return m_panels.at(index - 1);
}

void mdiORMenu::setPanel(int index, const QString &text, const QString &toolTip)
{
    if (QLabel *label = panel(index)) {
        label->setText(text);
        label->setToolTip(toolTip);
    }
}

void mdiORMenu::setPanelToolTip(int index, const QString &toolTip)
{
    if (QLabel *label = panel(index))
        label->setToolTip(toolTip);
}

QString mdiORMenu::panelText(int index) const
{
    const QLabel *label = panel(index);
    return label ? label->text() : QString();
}

QString mdiORMenu::panelToolTip(int index) const
{
    const QLabel *label = panel(index);
    return label ? label->toolTip() : QString();
}

void mdiORMenu::showLockKeys()
{
    panel(4)->setEnabled(m_lockKeys->capsLock().value_or(false));
    panel(5)->setEnabled(m_lockKeys->numLock().value_or(false));
}

void mdiORMenu::tick()
{
    // A lock key pressed in another program is seen here within the second.
    m_lockKeys->refresh();
    // The time and date panels show the workstation's clock, as a wall clock would.
    const QDateTime now = QDateTime::currentDateTime();
    panel(6)->setText(now.time().toString(QStringLiteral("h:mm AP")));
    panel(7)->setText(now.date().toString(QStringLiteral("MM/dd/yyyy")));
}

} // namespace kestrel
