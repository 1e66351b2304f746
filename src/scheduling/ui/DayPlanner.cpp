// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ui/DayPlanner.h"

#include <QMouseEvent>
#include <QPainter>

namespace kestrel {

namespace {

// Category colours: a block of an unknown category keeps the first.
QColor categoryColor(const QString &category)
{
    static const QList<QColor> colors{QColor(0xd6, 0xe8, 0xfa), QColor(0xfa, 0xe3, 0xc8),
                                      QColor(0xd8, 0xf2, 0xd0), QColor(0xf4, 0xd4, 0xe6),
                                      QColor(0xe6, 0xe0, 0xf8)};
    const QString c = category.trimmed().toUpper();
    if (c.isEmpty())
        return colors.first();
    return colors.at(int(qHash(c) % uint(colors.size())));
}

} // namespace

DayPlanner::DayPlanner(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Schedule1"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    relayout();
}

void DayPlanner::setRooms(const QStringList &rooms)
{
    m_rooms = rooms;
    relayout();
}

void DayPlanner::setParameters(const BoardParameters &parameters)
{
    m_parameters = parameters;
    relayout();
}

void DayPlanner::setDay(const QDate &day)
{
    m_day = day;
    update();
}

void DayPlanner::clearItems()
{
    m_items.clear();
    update();
}

void DayPlanner::setItems(const QList<PlannerItem> &items)
{
    m_items = items;
    update();
}

int DayPlanner::lines() const
{
    return std::max(1, m_parameters.dayLength * 60 / std::max(1, m_parameters.increment));
}

void DayPlanner::relayout()
{
    setMinimumSize(sizeHint());
    updateGeometry();
    update();
}

QSize DayPlanner::sizeHint() const
{
    return {kTimeWidth + int(std::max<qsizetype>(m_rooms.size(), 1)) * kColumnWidth + 1,
            kHeaderHeight + lines() * kLineHeight + 1};
}

int DayPlanner::yOf(const QDateTime &at) const
{
    return yOfMinute(minuteOf(at));
}

qint64 DayPlanner::minuteOf(const QDateTime &at) const
{
    // Read off the wall clock: the board shows the hours as the clock on the OR's wall gives
    // them, and reading the date and time avoids a time-zone conversion for every block.
    return m_day.daysTo(at.date()) * 24 * 60 + at.time().msecsSinceStartOfDay() / 60000 -
           qint64(m_parameters.startHour) * 60;
}

int DayPlanner::yOfMinute(qint64 minute) const
{
    return kHeaderHeight + int(double(minute) / m_parameters.increment * kLineHeight);
}

QRect DayPlanner::itemRect(int index) const
{
    if (index < 0 || index >= m_items.size())
        return {};
    const PlannerItem &item = m_items.at(index);
    const int column = int(m_rooms.indexOf(item.room));
    if (column < 0)
        return {};
    const qint64 start = minuteOf(item.start);
    const int top = std::max(yOfMinute(start), kHeaderHeight);
    const int bottom = std::min(yOfMinute(start + std::max(item.length, 1)),
                                kHeaderHeight + lines() * kLineHeight);
    if (bottom <= top)
        return {};
    return QRect(kTimeWidth + column * kColumnWidth + 3, top + 1, kColumnWidth - 6, bottom - top - 2);
}

int DayPlanner::itemAt(const QPoint &pos) const
{
    for (int i = int(m_items.size()) - 1; i >= 0; --i) {
        if (itemRect(i).contains(pos))
            return i;
    }
    return -1;
}

void DayPlanner::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPalette &pal = palette();
    const int height = kHeaderHeight + lines() * kLineHeight;
    const int width = kTimeWidth + int(m_rooms.size()) * kColumnWidth;

    // The time of each line down the side; whole hours in bold.
    for (int line = 0; line < lines(); ++line) {
        const int y = kHeaderHeight + line * kLineHeight;
        const QTime at = QTime(m_parameters.startHour, 0).addSecs(line * m_parameters.increment * 60);
        const bool hour = at.minute() == 0;
        p.setPen(hour ? pal.color(QPalette::Mid) : pal.color(QPalette::Midlight));
        p.drawLine(0, y, width, y);
        QFont f = font();
        f.setBold(hour);
        p.setFont(f);
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QRect(4, y, kTimeWidth - 8, kLineHeight), Qt::AlignRight | Qt::AlignVCenter,
                   at.toString(QStringLiteral("h:mm AP")));
    }
    p.setFont(font());
    // The rooms across the top.
    p.fillRect(QRect(0, 0, width, kHeaderHeight), pal.color(QPalette::Button));
    for (int c = 0; c < m_rooms.size(); ++c) {
        const int x = kTimeWidth + c * kColumnWidth;
        p.setPen(pal.color(QPalette::Mid));
        p.drawLine(x, 0, x, height);
        p.setPen(pal.color(QPalette::ButtonText));
        p.drawText(QRect(x, 0, kColumnWidth, kHeaderHeight), Qt::AlignCenter, m_rooms.at(c));
    }
    p.setPen(pal.color(QPalette::Mid));
    p.drawLine(width, 0, width, height);
    p.drawLine(0, height, width, height);

    // The operations.
    for (int i = 0; i < m_items.size(); ++i) {
        const QRect r = itemRect(i);
        if (r.isEmpty())
            continue;
        const PlannerItem &item = m_items.at(i);
        p.setPen(QColor(0x40, 0x60, 0x90));
        p.setBrush(categoryColor(item.category));
        p.drawRoundedRect(r, 3, 3);
        p.setPen(Qt::black);
        const QString head = item.start.toString(QStringLiteral("h:mm AP")) + QStringLiteral(" - ") +
                             item.start.addSecs(qint64(item.length) * 60).toString(QStringLiteral("h:mm AP"));
        p.drawText(r.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   head + u'\n' + item.text);
    }
}

void DayPlanner::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const int index = itemAt(event->position().toPoint());
    if (index >= 0)
        Q_EMIT itemClicked(m_items.at(index));
}

} // namespace kestrel
