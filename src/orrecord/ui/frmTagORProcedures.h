// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "orrecord/CVOR.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;

namespace kestrel {

/// "OR Revenue - Procedure Tagging": an item of the OR list found by its code or name, and
/// the "OR Procedure" tick saved on it.
class frmTagORProcedures : public QWidget
{
    Q_OBJECT

public:
    explicit frmTagORProcedures(Session &session, QWidget *parent = nullptr);

    ProcedureTagging &presenter() { return m_presenter; }
    /// The item search with the typed code or name, as Enter runs it.
    void searchItem();

private:
    void showItem();

    ProcedureTagging m_presenter;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_description = nullptr;
    QCheckBox *m_procedure = nullptr;
};

} // namespace kestrel
