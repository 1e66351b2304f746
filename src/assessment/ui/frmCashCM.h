// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "assessment/CashCreditMemo.h"

#include <QWidget>

class QLabel;
class QTableWidget;

namespace kestrel {

/// The cash credit memo window: the patient's paid items `mshflexList` with tick marks (a click
/// on the first cell), what each gives back (typed in the last cell), the total, and Save,
/// Refresh and Close. Every rule is the presenter's (CashCreditMemo).
class frmCashCM : public QWidget
{
    Q_OBJECT

public:
    frmCashCM(Session &session, QWidget *parent = nullptr);

    CashCreditMemo &presenter() { return m_presenter; }
    bool open(const WindowRequest &request);

private:
    void refresh();

    CashCreditMemo m_presenter;
    QTableWidget *m_list = nullptr;
    QLabel *m_total = nullptr;
    bool m_filling = false;
};

} // namespace kestrel
