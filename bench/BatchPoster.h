// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "BenchSeams.h"

#include "core/db/Error.h"
#include "hospitaldb/ScaleHospital.h"

#include <QStringList>

#include <memory>

namespace kestrel::bench {

/// One workstation posting the charging path's batch of twenty lines over and over, as the
/// load run's posting workstations do: each batch is saved through the charge window's
/// posting; at the end they are all removed again, so the stock and the stays are as before.
class BatchPoster
{
public:
    /// Workstation 0 charges the landmarks' inpatient; each other one charges an open stay and
    /// supplies of its own, as workstations of different wards do.
    BatchPoster(BenchSession &session, const hospitaldb::ScaleLandmarks &landmarks,
                int workstation);
    ~BatchPoster();

    /// Selects the stay, prices the batch once and gives the stay credit for the run.
    Result<void> ready();
    /// Saves the batch; answers the milliseconds the save took.
    Result<double> postOnce();
    /// Removes every batch this poster saved, the latest first, puts their stock back and
    /// takes back the credit.
    Result<void> removeAll();

private:
    Result<void> changeCredit(qint64 by);

    struct Impl;
    std::unique_ptr<Impl> d;
    int m_workstation = 0;
    QStringList m_posted;
    qint64 m_credit = 0;
};

} // namespace kestrel::bench
