// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/requests/PharmacyMenu.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace kestrel {

/// The pharmacy menu: the label `lblPharmacy` and the buttons `cmdRequest(0)` to
/// `cmdRequest(4)`. Every rule is the presenter's (PharmacyMenu).
class frmPharmacyRequest : public QWidget
{
    Q_OBJECT

public:
    explicit frmPharmacyRequest(Session &session, QWidget *parent = nullptr);

    PharmacyMenu &presenter() { return m_presenter; }

private:
    void refresh();
    void closeWindow();

    PharmacyMenu m_presenter;
    QList<QPushButton *> m_buttons;
};

} // namespace kestrel
