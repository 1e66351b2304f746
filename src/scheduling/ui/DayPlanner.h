// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "scheduling/ScheduleStore.h"

#include <QWidget>

namespace kestrel {

/// The schedule board's day planner: the rooms are the columns, the hours of the board's day
/// run down the side a line per increment, and every operation is a block in its room from
/// its start for its length, with its text. A left click on a block gives the operation.
class DayPlanner : public QWidget
{
    Q_OBJECT

public:
    explicit DayPlanner(QWidget *parent = nullptr);

    void setRooms(const QStringList &rooms);
    void setParameters(const BoardParameters &parameters);
    void setDay(const QDate &day);
    void clearItems();
    void setItems(const QList<PlannerItem> &items);

    QStringList rooms() const { return m_rooms; }
    const QList<PlannerItem> &items() const { return m_items; }
    /// The rectangle the operation `index` is drawn in; empty when it lies outside the day
    /// shown or in a room the board does not show.
    QRect itemRect(int index) const;
    /// The operation drawn at `pos`, or -1.
    int itemAt(const QPoint &pos) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void itemClicked(const kestrel::PlannerItem &item);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    int lines() const;
    int yOf(const QDateTime &at) const;
    qint64 minuteOf(const QDateTime &at) const;
    int yOfMinute(qint64 minute) const;
    void relayout();

    QStringList m_rooms;
    BoardParameters m_parameters;
    QDate m_day;
    QList<PlannerItem> m_items;
    static constexpr int kTimeWidth = 70;
    static constexpr int kHeaderHeight = 24;
    static constexpr int kColumnWidth = 170;
    static constexpr int kLineHeight = 22;
};

} // namespace kestrel
