// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "examrequests/ExamRequestStore.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace kestrel {

class Session;

/// The specimen pick-list of a laboratory exam: typing filters the list, Enter or a double
/// click returns the specimen and its id.
class frmSpecimenEntry : public QDialog
{
    Q_OBJECT

public:
    frmSpecimenEntry(Session &session, const QString &examCode, QWidget *parent = nullptr);

    const Specimen &chosen() const { return m_chosen; }
    /// The specimens whose name or id begins with `typed`, without regard to case.
    static QList<Specimen> filtered(const QList<Specimen> &all, const QString &typed);

private:
    void fill();
    void take();

    QList<Specimen> m_all;
    Specimen m_chosen;
    QLineEdit *m_filter = nullptr;
    QListWidget *m_list = nullptr;
};

} // namespace kestrel
