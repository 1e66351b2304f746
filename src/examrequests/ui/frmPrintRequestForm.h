// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "examrequests/LabRequestForms.h"

#include <QWidget>

class QCheckBox;
class QTableWidget;

namespace kestrel {

/// The laboratory request form windows: `frmPrintRequestForm` prints the form of the exams
/// still waiting, `frmReprintLabForm` and `frmReprintLabFormQELM` print it again. The exams of
/// the stay are listed with a tick each; "&Print" and "&Close".
class frmPrintRequestForm : public QWidget
{
    Q_OBJECT

public:
    frmPrintRequestForm(Session &session, LabRequestForms::Mode mode, QWidget *parent = nullptr);

    LabRequestForms &presenter() { return m_presenter; }
    static QString formName(LabRequestForms::Mode mode);
    bool open(const QString &idNum);

private:
    void refresh();

    LabRequestForms m_presenter;
    QTableWidget *m_list = nullptr;
    QCheckBox *m_all = nullptr;
};

} // namespace kestrel
