// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/oxygen/PsiReadingEntry.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

namespace kestrel {

/// The PSI readings of a tank oxygen line: `txtTank`, `txtInitialReading`, `txtLastReading`,
/// the pressure used in `lblConsumed`; "OK" accepts, "Exit" leaves without a reading.
class frmPSIReading : public QDialog
{
    Q_OBJECT

public:
    frmPSIReading(Session &session, const QString &itemId, const QString &description,
                  QWidget *parent = nullptr);

    /// The readings accepted; nothing after "Exit".
    const std::optional<PsiReading> &reading() const { return m_reading; }

private:
    void takeReading();

    PsiReadingEntry m_entry;
    QLineEdit *m_tank = nullptr;
    QLineEdit *m_initial = nullptr;
    QLineEdit *m_last = nullptr;
    QLabel *m_consumed = nullptr;
    QLabel *m_warning = nullptr;
    std::optional<PsiReading> m_reading;
};

} // namespace kestrel
