// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeSlipVerification.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

namespace kestrel {

class clsCodeLookup;

/// "Charge Slip Sequence Number": the next charge slip number in `txtChargeSlip`, the station
/// in `lblStation` (picked with the search image from the code look-up's station list), and
/// the image buttons "Save" and "Close". Its rules are ChargeSlipVerification's.
class frmChargeSlipVerification : public QDialog
{
    Q_OBJECT

public:
    frmChargeSlipVerification(Session &session, clsCodeLookup *lookup, QWidget *parent = nullptr);

    ChargeSlipVerification &presenter() { return m_presenter; }

private:
    void buildUi();
    void bind();
    void pickStation();
    void save();

    ChargeSlipVerification m_presenter;
    clsCodeLookup *m_lookup;
    QLineEdit *m_chargeSlip = nullptr;
    QLabel *m_station = nullptr;
    QToolButton *m_search = nullptr;
    QToolButton *m_save = nullptr;
    QToolButton *m_close = nullptr;
};

} // namespace kestrel
