// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace kestrel {

class ReportService;
class Session;

/// The pharmacy ("PH") and central supply ("CS") request forms of a stay printed again
/// (`frmRequestReprint`): the requests as the nurses sent them, the items of the one chosen,
/// and its form marked as a duplicate.
class RequestReprint : public QObject
{
    Q_OBJECT

public:
    explicit RequestReprint(Session &session, QObject *parent = nullptr);

    void setReports(ReportService *reports) { m_reports = reports; }
    static QStringList requestCaptions();
    static QStringList itemCaptions();

    /// Lists the stay's requests of `revenue` ("PH" or "CS"). False (the user told) without a
    /// stay.
    bool open(const QString &idNum, const QString &revenue);
    const QString &revenue() const { return m_revenue; }
    QString title() const;
    int requestCount() const { return m_requests.count(); }
    QStringList requestCells(int row) const;
    /// Chooses request `row` and lists its items; -1 chooses none.
    bool choose(int row);
    int chosen() const { return m_chosen; }
    int itemCount() const { return m_items.count(); }
    QStringList itemCells(int row) const;

    /// "Print": the chosen request's form, marked "DUPLICATE COPY".
    bool print();

Q_SIGNALS:
    void listChanged();

private:
    Session &m_session;
    ReportService *m_reports = nullptr;
    QString m_idNum, m_revenue;
    RowSet m_requests, m_items;
    int m_chosen = -1;
};

} // namespace kestrel
