// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/returns/PostedPrints.h"

#include <QWidget>

class QTableWidget;

namespace kestrel {

class ReportService;
class Session;

/// "List of Posted Medicines": the medicines and supplies posted to the selected stay from
/// stock, with what came back of each, and the stay's credit memos; it prints the list, the
/// drug profile and the slip of the chosen credit memo.
class frmListPosted : public QWidget
{
    Q_OBJECT

public:
    explicit frmListPosted(Session &session, ReportService *reports = nullptr,
                           QWidget *parent = nullptr);

    /// Reads the lists of the selected stay; false (told) without one.
    bool load();

private:
    /// The credit memo of the chosen row of the credit memo list.
    QString chosenCreditMemo() const;

    Session &m_session;
    PostedPrints m_prints;
    QTableWidget *m_posted = nullptr;
    QTableWidget *m_memos = nullptr;
};

} // namespace kestrel
