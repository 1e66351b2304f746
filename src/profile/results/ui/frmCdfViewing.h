// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QWidget>

class QLabel;

namespace kestrel {

struct CdfAmounts;

/// The frame "CDF Details": a patient's kidney-programme fund against the hospital bill of his
/// stay. The five amounts are set from outside, as the CDF routine sets them.
class frmCdfViewing : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double HospBill WRITE setHospBill)
    Q_PROPERTY(double TotalCDF WRITE setTotalCDF)
    Q_PROPERTY(double PaidCDF WRITE setPaidCDF)
    Q_PROPERTY(double CDFBalance WRITE setCDFBalance)
    Q_PROPERTY(double NetHospBill WRITE setNetHospBill)

public:
    explicit frmCdfViewing(QWidget *parent = nullptr);

    void setHospBill(double amount);
    void setTotalCDF(double amount);
    void setPaidCDF(double amount);
    void setCDFBalance(double amount);
    void setNetHospBill(double amount);
    /// All five at once.
    void showAmounts(const CdfAmounts &amounts);
    /// The amount shown beside caption `index` (0 "Hospital Bill :" ... 4 "Net Hospital Bill
    /// After CDF :").
    QString shown(int index) const;

private:
    void setAmount(int index, double amount);

    QList<QLabel *> m_amounts;
};

} // namespace kestrel
