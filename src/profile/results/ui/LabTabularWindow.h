// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/results/LabTabular.h"

#include <QWidget>

class QTableWidget;

namespace kestrel {

class Notifier;

/// The tabular laboratory view of a stay (`mshflexLabTabular`): examinations down the side,
/// section headings in bold, one column per day of results.
class LabTabularWindow : public QWidget
{
    Q_OBJECT

public:
    LabTabularWindow(Database &db, Notifier &notifier, QWidget *parent = nullptr);

    /// Shows the results of the stay `idNum` (of the examination `labExamId` when given).
    /// False when they cannot be read (the user was told).
    bool open(const QString &idNum, const QString &labExamId = {});
    QTableWidget *grid() const { return m_grid; }

private:
    LabTabular m_tabular;
    Notifier &m_notifier;
    QTableWidget *m_grid = nullptr;
};

} // namespace kestrel
