// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace kestrel {

class ReportService;
class Session;
class clsDrugPicker;
class clsIssuedMedicines;

/// One line of the return grid `flexMSEntry`: a medicine or supply issued on a charge slip
/// and what of it comes back.
struct ReturnLine
{
    qint64 logBookId = 0;
    QString chargeSlip;
    QString item;
    QString description;
    QString department;
    QString location;  ///< where the stock card took it from, where it goes back to
    double issued = 0; ///< issued and not yet returned
    double stock = 0;
    Money price;       ///< the unit price it was charged at
    double returned = 0;
    QString returnedText;
    Money amount;
    QString remarks;
};

/// The rules of "Post Returned Medicines" / "Post Returned Supplies" (`frmReturn`): lines are
/// picked from what was issued to the selected stay, the quantity coming back is typed, and
/// "&Post" credits them on one credit memo.
///
/// Posting is one transaction: the station's next credit memo number is drawn, each line's
/// return is counted on its logbook line only while the returns stay within what was posted
/// (another workstation returning the same line waits and is then refused if together they
/// would go beyond it), the stock goes back to its location on the stock card, and the credit
/// memo line and adjustment are written. A refusal anywhere leaves nothing written.
class ReturnEntry : public QObject
{
    Q_OBJECT

public:
    ReturnEntry(Session &session, clsIssuedMedicines *issued, clsDrugPicker *drugPicker,
                QObject *parent = nullptr);

    /// Where the credit memo slip is printed after a post (none: not printed).
    void setReports(ReportService *reports) { m_reports = reports; }

    /// Opens for the selected stay; `medicines` false returns supplies. False (told) without
    /// a selected stay.
    bool open(bool medicines);

    bool medicines() const { return m_medicines; }
    QString caption() const;
    QStringList headers() const;
    /// "Admission No." or "OPD No.".
    QString stayLabel() const;
    const QList<ReturnLine> &lines() const { return m_lines; }
    bool hasUnsaved() const { return !m_lines.isEmpty(); }
    /// The credit memo of the last post.
    const QString &creditMemo() const { return m_creditMemo; }

    /// `cmdEntry`: picks a line of what was issued to the stay.
    void addIssued();
    /// Adds the issued line `item` of `chargeSlip` as the issued list hands it over; false
    /// (told) when it cannot be returned here.
    bool addLine(const QString &chargeSlip, const QString &item, const QString &description,
                 double issued, double stock);
    /// The quantity returned typed on `row`; false (told) when refused, and then the line
    /// keeps no quantity.
    bool setReturned(int row, const QString &text);
    void setRemarks(int row, const QString &text);
    /// "&Clear Row", after asking.
    void clearRow(int row);
    /// "&Post": true when the credit memo was saved; its slip is then printed.
    bool post();
    /// Closing the window: asks; true when it may close.
    bool mayClose();

    /// The amount the way the grid shows it ("####.00").
    static QString amountText(Money amount);

Q_SIGNALS:
    void changed();
    /// The user wants to type the quantity of `row` now.
    void quantityRequested(int row);

private:
    bool validatedForReturn();
    bool save();

    Session &m_session;
    clsIssuedMedicines *m_issued;
    clsDrugPicker *m_drugPicker;
    ReportService *m_reports = nullptr;
    bool m_medicines = true;
    QList<ReturnLine> m_lines;
    QString m_creditMemo;
};

} // namespace kestrel
