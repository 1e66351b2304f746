// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/Money.h"
#include "core/WindowRequest.h"

#include <QList>
#include <QMap>
#include <QString>

namespace kestrel {

class ReportService;
class Session;

/// A paid assessment line the cashier can give back.
struct PaidItem
{
    qint64 line = 0; ///< the assessment line
    QString assessment;
    QString department;
    QString item;
    QString description;
    double quantity = 0;
    Money paid;
    Money credited; ///< given back on earlier credit memos
    Money left() const { return paid - credited; }
};

/// The cash credit memo window `frmCashCM`: the patient's paid assessment lines with tick
/// marks; the ticked ones are given back under one credit memo number `CMAdvisenum`, each never
/// more than what is left of what was paid for it, and the memo's slip "CashCM_Slip.rpt" is
/// printed.
///
/// The memo is one transaction: the number drawn, every ticked line given back. A line the
/// cashier no longer shows paid, or that another workstation gave back meanwhile, refuses the
/// whole memo and nothing is written.
class CashCreditMemo
{
public:
    explicit CashCreditMemo(Session &session);

    void setReports(ReportService *reports) { m_reports = reports; }
    /// Opens the window for the selected patient ("Please select patient." without one).
    bool open(const WindowRequest &request);
    const QString &IdNum() const { return m_IdNum; }
    const QList<PaidItem> &items() const { return m_items; }
    static QStringList headers();

    void toggleTick(int index);
    bool isTicked(int index) const;
    /// What ticked item `index` gives back: what is left of it unless a smaller amount was set.
    Money amountOf(int index) const;
    /// Sets what item `index` gives back; false (told) when it is more than what is left of
    /// what was paid, or not more than nothing.
    bool setAmount(int index, Money amount);
    Money total() const;

    /// "Save": the ticked items as one credit memo, then its slip. The memo number, or empty
    /// when nothing was saved.
    QString save();
    void refresh();

private:
    bool load();
    Result<QString> write(const QList<int> &ticked);

    Session &m_session;
    ReportService *m_reports = nullptr;
    QString m_IdNum;
    QList<PaidItem> m_items;
    QList<int> m_ticked;
    QMap<int, Money> m_amounts;
};

} // namespace kestrel
