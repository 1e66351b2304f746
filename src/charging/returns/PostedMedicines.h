// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/Money.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace kestrel {

class Database;

/// A medicine or supply posted to a stay from stock, with what came back of it.
struct PostedMedicine
{
    QString chargeSlip;
    QString item;
    QString description;
    double quantity = 0;
    double returned = 0;
    Money amount;
    Money credited;
    bool revoked = false;
    QDateTime posted;
};

/// One line of a credit memo of the stay.
struct CreditMemoLine
{
    QString creditMemo;
    QString chargeSlip;
    QString item;
    QString description;
    double quantity = 0;
    Money amount;
    QDateTime when;
};

/// What "List of Posted Medicines" (`frmListPosted`) reads of a stay.
class PostedMedicines
{
public:
    explicit PostedMedicines(Database &db)
        : m_db(db)
    {
    }

    /// The stay's lines taken out of stock, oldest first.
    Result<QList<PostedMedicine>> posted(const QString &IdNum);
    /// The stay's credit memo lines, by credit memo.
    Result<QList<CreditMemoLine>> creditMemos(const QString &IdNum);

    /// The window's caption for an inpatient stay, or an outpatient's.
    static QString caption(bool outpatient);

private:
    Database &m_db;
};

} // namespace kestrel
