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
    /// Each of the `posters` workstations charges open stays and supplies of its own, as
    /// workstations of different wards do; workstation 0 the landmarks' inpatient among them.
    BatchPoster(BenchSession &session, const hospitaldb::ScaleLandmarks &landmarks,
                int workstation, int posters);
    ~BatchPoster();

    /// Finds the stays, prices the batch once and gives the stays credit for the run.
    Result<void> ready();
    /// Selects the next stay and saves the batch; answers the milliseconds the save took.
    Result<double> postOnce();
    /// Removes every batch this poster saved, the latest first, puts their stock back and
    /// takes back the credit.
    Result<void> removeAll();

private:
    Result<void> changeCredit(qint64 by);

    struct Impl;
    std::unique_ptr<Impl> d;
    int m_workstation = 0;
    int m_posters = 1;
    QStringList m_posted;
    /// Hospital number and admission of each stay charged, in turn.
    QList<std::pair<QString, QString>> m_stays;
    qsizetype m_next = 0;
    qint64 m_credit = 0;
};

} // namespace kestrel::bench
