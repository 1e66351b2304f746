// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDate>
#include <QObject>
#include <QString>

namespace kestrel {

class ReportService;
class Session;

/// `frmCSFDoctors`, "PhilHealth CSF" and "PhilHealth CSF Template": the claim signature form of
/// the selected stay with the requesting doctor's accreditation. The doctor must hold a
/// PhilHealth accreditation number that has not expired on the server's date.
class CsfDoctors : public QObject
{
    Q_OBJECT

public:
    enum class Form { Complete, Template };

    CsfDoctors(Session &session, ReportService *reports, Form form, QObject *parent = nullptr);

    QString caption() const;
    /// The doctor chosen in the code pick-list (kind 1).
    void setDoctor(const QString &doctorId, const QString &name);
    QString doctorId() const { return m_doctorId; }
    QString doctorName() const { return m_doctorName; }
    bool canPrint() const { return !m_doctorId.isEmpty(); }

    /// Checks the doctor's accreditation, telling the user when it is missing or expired, then
    /// prints the form of the selected stay. True when the form was opened.
    bool print();

Q_SIGNALS:
    void changed();

private:
    Session &m_session;
    ReportService *m_reports;
    Form m_form;
    QString m_doctorId;
    QString m_doctorName;
};

/// `frmStockMonitoring`, "Stocks Monitoring": one of the OR's own stocks, "OM" (medicines) or
/// "OS" (supplies), printed with what went out of it to patients and what came back.
class StockMonitoring : public QObject
{
    Q_OBJECT

public:
    StockMonitoring(Session &session, ReportService *reports, QObject *parent = nullptr);

    /// "OM", "OS", or empty while none is chosen.
    void setRevenue(const QString &revenue) { m_revenue = revenue; }
    QString revenue() const { return m_revenue; }
    /// Prints the stock chosen; with none, says so. True when the report was opened.
    bool print();

private:
    Session &m_session;
    ReportService *m_reports;
    QString m_revenue;
};

} // namespace kestrel
