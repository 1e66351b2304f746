// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// mdiORMenu's toolbar Toolbar1 with its Report drop-down, and the monitors' alert buttons.
#include "shell/ui/mdiORMenu.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <array>

namespace kestrel {

namespace {

using Slot = void (MainMenu::*)();

// Toolbar1: key, caption, tooltip, picture.
struct ButtonRow
{
    QStringView key;
    QStringView caption;
    QStringView toolTip;
    QStyle::StandardPixmap picture;
};

constexpr std::array kToolbar{
    ButtonRow{u"Open", u"Open", u"Patient List", QStyle::SP_DirOpenIcon},
    ButtonRow{u"Report", u"Report", u"View Reports", QStyle::SP_FileDialogDetailedView},
    ButtonRow{u"Operation", u"Operation", u"Clinical Operation", QStyle::SP_FileDialogInfoView},
    ButtonRow{u"Build", u"Build", u"Build OR Packages", QStyle::SP_FileDialogNewFolder},
    ButtonRow{u"RUV", u"RUV", u"RUV List", QStyle::SP_FileDialogListView},
    ButtonRow{u"Exit", u"Exit", u"Exit Application", QStyle::SP_DialogCloseButton},
};

// The "Report" button's drop-down: key and text.
constexpr std::array<std::pair<QStringView, QStringView>, 5> kReportMenu{{
    {u"Audit", u"Audit Report"},
    {u"Month", u"Monthly Report"},
    {u"Statistics", u"Statistical Report"},
    {u"Stockcard", u"OR Stockcard"},
    {u"Exit", u"Exit Application"},
}};

} // namespace

void mdiORMenu::buildToolbar()
{
    m_toolbar = addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ButtonRow &row : kToolbar) {
        auto *button =
            new QAction(style()->standardIcon(row.picture), row.caption.toString(), this);
        button->setObjectName(row.key.toString());
        button->setToolTip(row.toolTip.toString());
        button->setData(row.key.toString());
        m_toolbar->addAction(button);
        m_buttons.insert(row.key.toString(), button);
    }

    auto *reports = new QMenu(this);
    reports->setObjectName(QStringLiteral("Toolbar1.Report"));
    for (const auto &[key, text] : kReportMenu) {
        QAction *item = reports->addAction(text.toString());
        item->setObjectName(key.toString());
        item->setData(key.toString());
    }
    QAction *reportButton = m_buttons.value(QStringLiteral("Report"));
    reportButton->setMenu(reports);
    // The button only drops its menu down; it has no command of its own.
    if (auto *tool = qobject_cast<QToolButton *>(m_toolbar->widgetForAction(reportButton)))
        tool->setPopupMode(QToolButton::InstantPopup);
}

void mdiORMenu::buildAlerts()
{
    // The alert buttons sit at the right end of the toolbar, hidden until a monitor shows them.
    auto *spacer = new QWidget(m_toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolbar->addWidget(spacer);

    auto *strip = new QWidget(m_toolbar);
    strip->setObjectName(QStringLiteral("alerts"));
    auto *layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);

    auto addButton = [&](const char *name, const QString &text, QStyle::StandardPixmap picture) {
        auto *button = new QPushButton(style()->standardIcon(picture), text, strip);
        button->setObjectName(QString::fromLatin1(name));
        button->setVisible(false);
        layout->addWidget(button);
        m_controls.insert(button->objectName(), button);
        return button;
    };
    addButton("cmdRequestSched", QStringLiteral("There are pending Request(s) for Operation!"),
              QStyle::SP_MessageBoxInformation);
    addButton("cmdAdmissions",
              QStringLiteral("There are available Patient(s) ready to be Discharge!"),
              QStyle::SP_MessageBoxInformation);
    addButton("cmdCommunication",
              QStringLiteral("There are available verified result(s) for printing! Click to view "
                             "the results...."),
              QStyle::SP_MessageBoxInformation);
    addButton("cmdRevokedRequests", QStringLiteral("There are Revoked Request(s)!"),
              QStyle::SP_MessageBoxWarning);
    QPushButton *panic = addButton("cmdPanicLab", QString(), QStyle::SP_MessageBoxCritical);
    panic->setToolTip(QStringLiteral("Panic Value Results"));

    auto *txtPanic = new QLineEdit(QStringLiteral("Panic Value Results"), strip);
    txtPanic->setObjectName(QStringLiteral("txtPanic"));
    txtPanic->setReadOnly(true);
    txtPanic->setFocusPolicy(Qt::NoFocus);
    txtPanic->setCursor(Qt::PointingHandCursor);
    txtPanic->setVisible(false);
    txtPanic->installEventFilter(this);
    layout->addWidget(txtPanic);
    m_controls.insert(txtPanic->objectName(), txtPanic);

    m_toolbar->addWidget(strip);
}

void mdiORMenu::bindToolbar()
{
    for (QAction *button : std::as_const(m_buttons)) {
        connect(button, &QAction::triggered, this,
                [this, button] { m_presenter.toolbarButtonClicked(button->data().toString()); });
    }
    if (QMenu *reports = m_buttons.value(QStringLiteral("Report"))->menu()) {
        connect(reports, &QMenu::triggered, this,
                [this](QAction *item) { m_presenter.reportMenuClicked(item->data().toString()); });
    }

    // The monitors hear of a click first, then the window opens.
    auto bindAlert = [this](const char *name, void (mdiORMenu::*clicked)(), Slot open) {
        auto *button = qobject_cast<QPushButton *>(m_controls.value(QString::fromLatin1(name)));
        connect(button, &QPushButton::clicked, this, clicked);
        const QString key = QString::fromLatin1(name);
        connect(button, &QPushButton::clicked, this, [this, key, open] {
            const auto run = [this, open] { (m_presenter.*open)(); };
            if (m_alertOpener)
                m_alertOpener(key, run);
            else
                run();
        });
    };
    bindAlert("cmdCommunication", &mdiORMenu::communicationClicked, &MainMenu::cmdCommunication);
    bindAlert("cmdPanicLab", &mdiORMenu::panicLabClicked, &MainMenu::cmdPanicLab);
    bindAlert("cmdRevokedRequests", &mdiORMenu::revokedRequestsClicked,
              &MainMenu::cmdRevokedRequests);
    bindAlert("cmdAdmissions", &mdiORMenu::admissionsClicked, &MainMenu::cmdAdmissions);
    bindAlert("cmdRequestSched", &mdiORMenu::requestSchedClicked, &MainMenu::cmdRequestSched);
}

QAction *mdiORMenu::toolbarButton(QStringView key) const
{
    return m_buttons.value(key.toString());
}

void mdiORMenu::setAlertVisible(QStringView name, bool visible)
{
    if (QWidget *w = m_controls.value(name.toString()))
        w->setVisible(visible);
    if (name == u"cmdPanicLab")
        m_controls.value(QStringLiteral("txtPanic"))->setVisible(visible);
}

void mdiORMenu::setAlertColour(QStringView name, const QColor &colour)
{
    QWidget *w = m_controls.value(name.toString());
    if (!w)
        return;
    // The style sheet wins over the palette in every style, the platform's included.
    w->setStyleSheet(colour.isValid()
                         ? QStringLiteral("background-color: %1;").arg(colour.name())
                         : QString());
}

bool mdiORMenu::eventFilter(QObject *watched, QEvent *event)
{
    // The panic text is clicked like its button.
    if (watched == m_controls.value(QStringLiteral("txtPanic")) &&
        event->type() == QEvent::MouseButtonRelease) {
        Q_EMIT panicLabClicked();
        m_presenter.cmdPanicLab();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kestrel
