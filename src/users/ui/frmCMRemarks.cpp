// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/ui/frmCMRemarks.h"

#include "users/SupervisorAccess.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace kestrel {

frmCMRemarks::frmCMRemarks(const QStringList &remarks, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCMRemarks"));
    setWindowTitle(QStringLiteral("List of CM Remarks"));
    auto *layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("mshFlexCMRemarks"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->addItems(remarks);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    layout->addWidget(m_list);
    auto *frame = new QGroupBox(QStringLiteral("Important Message"), this);
    auto *frameLayout = new QVBoxLayout(frame);
    auto *message = new QLabel(
        QStringLiteral("Double-click the list to select the CM Remark(s) or use the arrow keys "
                       "Up/Down to choose then press Enter Key."),
        frame);
    message->setWordWrap(true);
    frameLayout->addWidget(message);
    layout->addWidget(frame);
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &frmCMRemarks::choose);
    setMinimumSize(360, 320);
}

bool frmCMRemarks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            choose();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmCMRemarks::choose()
{
    m_chosen.clear();
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->isSelected())
            m_chosen << m_list->item(i)->text();
    }
    if (!m_chosen.isEmpty())
        accept();
}

QString frmCMRemarks::pickInto(Session &session, const QString &reason, QWidget *parent)
{
    CMRemarks remarks(session);
    frmCMRemarks window(remarks.load(), parent);
    if (window.exec() != QDialog::Accepted)
        return reason;
    return CMRemarks::appended(reason, window.chosen());
}

} // namespace kestrel
