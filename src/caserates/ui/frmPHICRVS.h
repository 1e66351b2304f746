// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "caserates/CaseRates.h"

#include <QDialog>

class QLineEdit;
class QTableWidget;

namespace kestrel {

class Session;

/// The relative value scale picker: the procedures with a surgical case rate whose code or
/// description holds what was typed; Select hands back the chosen code, its description and
/// units. The diagnosis search of the discharge order uses the same window over the ICD-10
/// codes.
class frmPHICRVS : public QDialog
{
    Q_OBJECT

public:
    enum class Kind { Rvs, Icd };

    frmPHICRVS(Session &session, Kind kind, QWidget *parent = nullptr);

    /// Opens the picker searching `key` at once when given; the chosen code, or nothing.
    static std::optional<caserates::CodeHit> pick(Session &session, Kind kind, const QString &key,
                                                  QWidget *parent);

    std::optional<caserates::CodeHit> chosen() const { return m_chosen; }

private:
    void search();
    void select();

    Session &m_session;
    Kind m_kind;
    QLineEdit *m_key = nullptr;
    QTableWidget *m_grid = nullptr;
    QList<caserates::CodeHit> m_hits;
    std::optional<caserates::CodeHit> m_chosen;
};

} // namespace kestrel
