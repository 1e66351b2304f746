// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargePostingStore.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kestrel {

class clsCodeLookup;

/// "Enter Requesting Doctor": the doctor who asked for the OR charges being saved, typed into
/// `txtRequestingDoctor` or picked from the code look-up's doctor list with `cmdReqDoc`;
/// `cmdOK` closes the window.
class frmRequestingDoctor : public QDialog
{
    Q_OBJECT

public:
    explicit frmRequestingDoctor(clsCodeLookup *lookup, QWidget *parent = nullptr);

    /// The doctor picked (code and name), or the name typed without a code.
    RequestingDoctor doctor() const { return m_doctor; }

private:
    void buildUi();
    void bind();
    void pick();

    clsCodeLookup *m_lookup;
    RequestingDoctor m_doctor;
    QLineEdit *m_name = nullptr;
    QPushButton *m_pick = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace kestrel
