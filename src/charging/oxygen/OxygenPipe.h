// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/CurrentPatient.h"
#include "core/db/Error.h"
#include "core/db/Money.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace kestrel {

class Session;

/// An oxygen item charged by the hour through the pipe ("OX", marked open/close).
struct PipeItem
{
    QString code;
    QString description;
    Money ratePerHour;
};

/// The rules of piped oxygen `frmPipe`: a tank is opened for the stay, and closed when the
/// oxygen is stopped; closing charges the hours of use at the item's hourly rate under a charge
/// slip of its own, in one transaction with the closing.
class OxygenPipe : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Open, Close };

    explicit OxygenPipe(Session &session, QObject *parent = nullptr);

    /// Opens the window for the selected stay: the hospital must charge oxygen by the pipe and
    /// have an hourly item. The stay's open tank, if any, fills the starting time and the window
    /// closes it. False (told) when the window must not open.
    bool open();

    const CurrentPatientRecord &stay() const { return m_stay; }
    const QList<PipeItem> &items() const { return m_items; }
    Mode mode() const { return m_mode; }
    /// The item chosen (or that of the open tank); -1 when none.
    int chosenItem() const { return m_chosen; }
    const QString &tankNumber() const { return m_tank; }
    /// `txtStart` "Starting Time": the open tank's, else the time of opening.
    const QDateTime &startingTime() const { return m_start; }
    /// `txtEnd` "Time Stopped": the server's time when the window opened, until changed.
    const QDateTime &timeStopped() const { return m_end; }

    void chooseItem(int index);
    void setTankNumber(const QString &tank) { m_tank = tank.trimmed(); }
    void setTimeStopped(const QDateTime &end);

    /// The hours between starting and stopping, to the hundredth; 0 when stopped before starting.
    double hoursConsumed() const;
    /// "Rate/hr" of the chosen item.
    Money ratePerHour() const;
    /// "Total Amount": hours × rate, to the centavo.
    Money totalAmount() const;

    /// "Save": opens the tank, or closes it and charges the oxygen. True when saved.
    bool save();
    /// The charge slip of the last closing.
    const QString &chargeSlip() const { return m_chargeSlip; }

Q_SIGNALS:
    void changed();
    /// A closing was charged: the charge window reads its posted charges again.
    void charged(const QString &chargeSlip);

private:
    bool loadOpenTank();
    bool openTank();
    bool closeTank();
    bool tell(const QString &text);

    Session &m_session;
    CurrentPatientRecord m_stay;
    QList<PipeItem> m_items;
    Mode m_mode = Mode::Open;
    int m_chosen = -1;
    QString m_tank;
    QDateTime m_start;
    QDateTime m_end;
    QString m_chargeSlip;
};

} // namespace kestrel
