// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/requests/RequestLayout.h"
#include "core/db/Database.h"

#include <QDateTime>

namespace kestrel {

/// What a batch of requests is sent with, besides its lines.
struct RequestBatch
{
    RequestForm form = RequestForm::Pharmacy;
    QString department; ///< "PH" or "CS"
    QString IdNum;
    QString patientClass; ///< "I" or "O"
    QString doctor;       ///< the requesting doctor's code
    QString user;
    QString station;
    QDateTime now; ///< the server's time of the save
    /// The stay is on cash basis: each STAT line gets the note that lets it pass.
    bool cashBasis = false;
};

/// The statements of the request entry windows.
class RequestStore
{
public:
    explicit RequestStore(Database &db)
        : m_db(db)
    {
    }

    /// The route of administration the drug master gives the item.
    Result<QString> route(const QString &item);
    /// The antibiotic class of the item; empty when it is none.
    Result<QString> antibioticClass(const QString &item);
    /// The high-alert and refrigerated flags of the item.
    Result<std::pair<bool, bool>> handlingFlags(const QString &item);
    /// The billing officer placed the stay's pharmacy charges under cash basis (the stay's
    /// pharmacy clearance reads "B"); never for an outpatient visit.
    Result<bool> pharmacyCashBasis(const QString &IdNum);
    /// The final discharge order of the stay was sent to billing.
    Result<bool> finalNoticeSent(const QString &IdNum);
    /// The first attending doctor of an inpatient stay; empty for a visit.
    Result<QString> attendingDoctor(const QString &IdNum);

    /// Sends the lines in one transaction: each to the logbook and the communication file under
    /// a request number of its own, its frequency and route kept with it, and the cash-basis
    /// note of a STAT line. Answers the request numbers, line by line; on a failure nothing of
    /// the batch is stored. A transaction another workstation made wait too long is tried
    /// again whole.
    Result<QStringList> save(const RequestBatch &batch, const QList<RequestLine> &lines);
    /// Copies the stay's new pharmacy requests to its medicine list; answers how many medicines
    /// requested before are still not all given.
    Result<qint64> copyToMedicineList(const QString &IdNum);

    /// The note that lets a STAT request of a cash-basis patient through.
    static QString statNote();

private:
    Result<QStringList> saveOnce(const RequestBatch &batch, const QList<RequestLine> &lines);

    Database &m_db;
};

} // namespace kestrel
