// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "assessment/AssessmentStore.h"

#include "charging/ChargePostingStore.h"
#include "core/db/Database.h"
#include "core/db/NumberFormat.h"

namespace kestrel {

QString assessmentKindCode(AssessmentKind kind)
{
    switch (kind) {
    case AssessmentKind::Cash:
        return QStringLiteral("CASH");
    case AssessmentKind::Clinical:
        return QStringLiteral("CLINICAL");
    case AssessmentKind::WalkIn:
        break;
    }
    return QStringLiteral("WALKIN");
}

AssessmentStore::AssessmentStore(Database &db)
    : m_db(db)
{
}

QString AssessmentStore::number(const SlipFormat &format, AssessmentKind kind, qint64 n)
{
    if (kind == AssessmentKind::WalkIn)
        return format.number(SlipCounter::Common, n);
    if (format.fifteen)
        return u"OC2" + formatNumber(double(n), format.birFormat);
    const QString digits = format.newFormat.isEmpty() ? QString::number(n)
                                                      : formatNumber(double(n), format.newFormat);
    return u"OR" + digits;
}

QString AssessmentStore::counterColumn(const SlipFormat &format, AssessmentKind kind)
{
    if (kind == AssessmentKind::WalkIn)
        return QStringLiteral("ChargeSlip");
    return format.fifteen ? QStringLiteral("IChargeSlip") : QStringLiteral("AssessNum");
}

Result<std::optional<qint64>> AssessmentStore::takeNumber(const QString &station,
                                                          const SlipFormat &format,
                                                          AssessmentKind kind)
{
    // The charge slip counters are drawn as charge posting draws them; the assessment counter
    // the same way: read and moved on in one statement, the row locked until the commit.
    if (kind == AssessmentKind::WalkIn)
        return ChargePostingStore(m_db).takeCounter(station, SlipCounter::Common);
    if (format.fifteen)
        return ChargePostingStore(m_db).takeCounter(station, SlipCounter::Inpatient);
    auto row = m_db.selectOne(u"update STATION..tbORChargeSlip set AssessNum = AssessNum + 1 "
                              u"where StationID = :station returning AssessNum - 1 as Drawn",
                              {{QStringLiteral("station"), station}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<qint64>();
    return std::optional<qint64>((*row)->integer(u"Drawn"));
}

Result<bool> AssessmentStore::claimNumber(const AssessmentBatch &batch)
{
    ChargePostingStore slips(m_db);
    auto used = slips.slipUsed(batch.number);
    if (!used)
        return tl::unexpected(used.error());
    if (*used)
        return false;
    // A number drawn from a charge slip counter is registered as charge slips are, so that a
    // charge batch of another workstation drawing the same value passes it over.
    if (!batch.number.startsWith(u"OR")) {
        PostingBatch issued;
        issued.chargeSlip = batch.number;
        issued.station = batch.station;
        issued.IdNum = batch.IdNum;
        issued.userCode = batch.userCode;
        issued.when = batch.when;
        auto registered = slips.registerSlip(issued);
        if (!registered || !*registered)
            return registered;
    }
    auto written = m_db.exec(
        u"insert into STATION..tbORAssessment (AssessNum, Kind, IDNum, HospNum, PatientName, "
        u"StationID, UserID, TransDate, Status, BatchID) values (:no, :kind, :id, :hosp, :name, "
        u":station, :user, :at, 'PENDING', :batch) on conflict (AssessNum) do nothing",
        {{QStringLiteral("no"), batch.number},
         {QStringLiteral("kind"), assessmentKindCode(batch.kind)},
         {QStringLiteral("id"), batch.IdNum},
         {QStringLiteral("hosp"), batch.HospNum},
         {QStringLiteral("name"), batch.patientName},
         {QStringLiteral("station"), batch.station},
         {QStringLiteral("user"), batch.userCode},
         {QStringLiteral("at"), batch.when},
         {QStringLiteral("batch"),
          batch.identity.isEmpty() ? QVariant() : QVariant(batch.identity)}});
    if (!written)
        return tl::unexpected(written.error());
    return *written > 0;
}

Result<void> AssessmentStore::saveLine(const AssessmentBatch &batch, const AssessmentLine &line)
{
    const ChargeLine &c = line.posting.line;
    return done(m_db.call(u"STATION..sp_OR_AssessmentEntry",
                          {batch.number, batch.IdNum, batch.HospNum, batch.patientName,
                           c.department.trimmed(), c.item.trimmed(), c.description.trimmed(),
                           c.quantityValue(), c.unitPriceValue().toVariant(),
                           c.amountValue().toVariant(), chargingDateText(batch.when),
                           batch.userCode, batch.station, line.detail.remarks.trimmed(),
                           line.detail.specimen.trimmed(),
                           line.detail.portable ? QStringLiteral("1") : QStringLiteral("0")}));
}

Result<void> AssessmentStore::fillPrintBuffer(const QString &number)
{
    return done(m_db.call(u"STATION..sp_OR_PrintAssessment", {number}));
}

Result<std::optional<QString>> AssessmentStore::numberOfBatch(const QString &identity)
{
    auto row = m_db.selectOne(u"select AssessNum from STATION..tbORAssessment "
                              u"where BatchID = :batch",
                              {{QStringLiteral("batch"), identity}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<QString>();
    return std::optional<QString>((*row)->text(u"AssessNum"));
}

Result<QString> AssessmentStore::status(const QString &number, AssessmentKind kind)
{
    auto rows = m_db.call(kind == AssessmentKind::Clinical
                              ? u"STATION..sp_Nurse_Clinical_AssessmentStatus"
                              : u"STATION..sp_OR_AssessmentStatus",
                          {number});
    if (!rows)
        return tl::unexpected(rows.error());
    return rows->isEmpty() ? QString() : rows->at(0).trimmed(u"Status").toUpper();
}

Result<bool> AssessmentStore::revoke(const QString &number, const QString &user,
                                     const QDateTime &when)
{
    auto rows = m_db.call(u"STATION..sp_Nurse_Revoke_Assessment",
                          {number, user, chargingDateText(when)});
    if (!rows)
        return tl::unexpected(rows.error());
    return !rows->isEmpty();
}

Result<QList<AssessmentSummary>> AssessmentStore::list(AssessmentKind kind, const QString &station,
                                                       const QString &IdNum, const QDate &day)
{
    const bool walkIn = kind == AssessmentKind::WalkIn;
    const QString where = walkIn ? QStringLiteral("H.StationID = :station and H.TransDate >= "
                                                  ":from and H.TransDate < :to")
                                 : QStringLiteral("H.IDNum = :id");
    Binds binds{{QStringLiteral("kind"), assessmentKindCode(kind)}};
    if (walkIn) {
        binds.insert(QStringLiteral("station"), station);
        binds.insert(QStringLiteral("from"), QDateTime(day, QTime(0, 0)));
        binds.insert(QStringLiteral("to"), QDateTime(day.addDays(1), QTime(0, 0)));
    } else {
        binds.insert(QStringLiteral("id"), IdNum.trimmed());
    }
    auto rows = m_db.select(
        QStringLiteral("select H.AssessNum, H.PatientName, H.TransDate, H.Status, "
                       "coalesce(sum(A.Amount), 0) as Amount from STATION..tbORAssessment H "
                       "left join BILLING..tbCashAssessment A on A.RefNum = H.AssessNum "
                       "where H.Kind = :kind and %1 group by H.AssessNum, H.PatientName, "
                       "H.TransDate, H.Status order by H.TransDate desc, H.AssessNum desc")
            .arg(where),
        binds);
    if (!rows)
        return tl::unexpected(rows.error());
    QList<AssessmentSummary> list;
    for (const Row &row : *rows)
        list.append({row.trimmed(u"AssessNum"), row.trimmed(u"PatientName"),
                     row.dateTime(u"TransDate"), row.money(u"Amount"),
                     row.trimmed(u"Status").toUpper()});
    return list;
}

} // namespace kestrel
