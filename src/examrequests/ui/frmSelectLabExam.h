// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "examrequests/SelectLabExam.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QTableWidget;

namespace kestrel {

/// The laboratory exams of a stay printed in the tabular layout: a code typed (or left blank)
/// and Enter shows the laboratory's list, the exams picked are listed, "All exams" prints
/// every one; "View" opens the printout.
class frmSelectLabExam : public QWidget
{
    Q_OBJECT

public:
    frmSelectLabExam(Session &session, clsCodeLookup *codeLookup, QWidget *parent = nullptr);

    SelectLabExam &presenter() { return m_presenter; }
    bool open(const QString &idNum);

private:
    void refresh();

    SelectLabExam m_presenter;
    QLineEdit *m_code = nullptr;
    QTableWidget *m_list = nullptr;
    QCheckBox *m_all = nullptr;
};

} // namespace kestrel
