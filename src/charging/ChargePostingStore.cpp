// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargePostingStore.h"

#include "charging/StockCardStatements.h"
#include "core/db/Database.h"

#include <QLocale>

namespace kestrel {

namespace {

const QString kSupervisorReason = QStringLiteral("Editing of Unit Price");

/// The column of the station's counter row that holds `counter`.
QString counterColumn(SlipCounter counter)
{
    switch (counter) {
    case SlipCounter::Inpatient:
        return QStringLiteral("IChargeSlip");
    case SlipCounter::Outpatient:
        return QStringLiteral("OChargeSlip");
    case SlipCounter::Common:
        break;
    }
    return QStringLiteral("ChargeSlip");
}

} // namespace

QString chargingDateText(const QDateTime &when)
{
    return QLocale::c().toString(when, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
}

ChargePostingStore::ChargePostingStore(Database &db)
    : m_db(db)
{
}

Result<std::optional<qint64>> ChargePostingStore::takeCounter(const QString &station,
                                                              SlipCounter counter)
{
    // Read and moved on in one statement, so no other workstation can draw the same value.
    const QString sql = QStringLiteral("update STATION..tbORChargeSlip set %1 = %1 + 1 where "
                                       "StationID = :station returning %1 - 1 as Drawn")
                            .arg(counterColumn(counter));
    auto row = m_db.selectOne(sql, {{QStringLiteral("station"), station}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<qint64>();
    return std::optional<qint64>((*row)->integer(u"Drawn"));
}

Result<void> ChargePostingStore::giveBackCounter(const QString &station, SlipCounter counter,
                                                 qint64 drawn)
{
    const QString sql = QStringLiteral("update STATION..tbORChargeSlip set %1 = :drawn "
                                       "where StationID = :station and %1 = :next")
                            .arg(counterColumn(counter));
    return done(m_db.exec(sql, {{QStringLiteral("drawn"), drawn},
                                {QStringLiteral("next"), drawn + 1},
                                {QStringLiteral("station"), station}}));
}

Result<std::optional<qint64>> ChargePostingStore::commonCounter(const QString &station)
{
    auto row = m_db.selectOne(u"select ChargeSlip from STATION..tbORChargeSlip "
                              u"where StationID = :station",
                              {{QStringLiteral("station"), station}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<qint64>();
    return std::optional<qint64>((*row)->integer(u"ChargeSlip"));
}

Result<void> ChargePostingStore::setCommonCounter(const QString &station, qint64 value)
{
    return done(m_db.exec(u"update STATION..tbORChargeSlip set ChargeSlip = :value "
                          u"where StationID = :station or :station = 'ALL'",
                          {{QStringLiteral("value"), value}, {QStringLiteral("station"), station}}));
}

Result<bool> ChargePostingStore::slipUsed(const QString &chargeSlip)
{
    auto row = m_db.selectOne(
        u"select RefNum from BILLING..tbBillDailyBill where RefNum = :slip "
        u"union all select RefNum from BILLING..tbBillOPDailyOut where RefNum = :slip "
        u"union all select RefNum from INVENTORY..tbInvStockCard where RefNum = :slip "
        u"union all select RefNum from BILLING..tbCashAssessment where RefNum = :slip "
        u"union all select ChargeSlip from STATION..tbORChargeSlipIssued where ChargeSlip = :slip",
        {{QStringLiteral("slip"), chargeSlip}});
    if (!row)
        return tl::unexpected(row.error());
    return row->has_value();
}

Result<bool> ChargePostingStore::registerSlip(const PostingBatch &batch)
{
    // A number another batch holds, even one not committed yet, is passed over: the insert
    // waits for that batch and then writes nothing.
    auto written = m_db.exec(u"insert into STATION..tbORChargeSlipIssued (ChargeSlip, StationID, "
                             u"IDNum, UserID, HostName, TransDate, BatchID) values (:slip, "
                             u":station, :id, :user, host_name(), :at, :batch) "
                             u"on conflict (ChargeSlip) do nothing",
                             {{QStringLiteral("slip"), batch.chargeSlip},
                              {QStringLiteral("station"), batch.station},
                              {QStringLiteral("id"), batch.IdNum},
                              {QStringLiteral("user"), batch.userCode},
                              {QStringLiteral("at"), batch.when},
                              {QStringLiteral("batch"), batch.identity.isEmpty()
                                                            ? QVariant()
                                                            : QVariant(batch.identity)}});
    if (!written)
        return tl::unexpected(written.error());
    return *written > 0;
}

Result<std::optional<QString>> ChargePostingStore::slipOfBatch(const QString &identity)
{
    auto row = m_db.selectOne(u"select ChargeSlip from STATION..tbORChargeSlipIssued "
                              u"where BatchID = :batch",
                              {{QStringLiteral("batch"), identity}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<QString>();
    return std::optional<QString>((*row)->text(u"ChargeSlip"));
}

Result<void> ChargePostingStore::clearPrintBuffer()
{
    auto host = m_db.hostName();
    if (!host)
        return tl::unexpected(host.error());
    return done(m_db.exec(u"delete from STATION..tbORChargePrint where HostName = :host",
                          {{QStringLiteral("host"), *host}}));
}

Result<void> ChargePostingStore::saveChargePrints(const PostingBatch &batch,
                                                  const QList<const PostingLine *> &lines)
{
    // The newer procedure also takes the station and the charge slip.
    const bool newer = m_db.parameterCount(u"STATION", u"sp_OR_SaveChargePrint") > 6;
    QList<QVariantList> calls;
    for (const PostingLine *line : lines) {
        const ChargeLine &c = line->line;
        QVariantList args{c.item.trimmed(),        c.amountValue().toVariant(),
                          c.quantityValue(),       c.department.trimmed(),
                          c.description.trimmed(), batch.IdNum};
        if (newer)
            args << batch.station << batch.chargeSlip;
        calls << args;
    }
    return m_db.callEach(u"STATION..sp_OR_SaveChargePrint", calls);
}

Result<void> ChargePostingStore::refillPrintBuffer(const QString &chargeSlip)
{
    return done(m_db.call(u"STATION..sp_OR_ReprintChargeSlip", {chargeSlip}));
}

Result<void> ChargePostingStore::stampPackage(const PostingBatch &batch, const PostingLine &line)
{
    return StockCardStatements::stampPackage(m_db, batch.IdNum, line.line.item,
                                             batch.chargeSlip, line.packageId);
}

Result<void> ChargePostingStore::appendCharging(const PostingBatch &batch, const PostingLine &line)
{
    return appendChargings(batch, {&line});
}

Result<void> ChargePostingStore::appendChargings(const PostingBatch &batch,
                                                 const QList<const PostingLine *> &lines)
{
    QList<QVariantList> calls;
    for (const PostingLine *line : lines) {
        const ChargeLine &c = line->line;
        // The hospital's argument list, then the charge slip (the logbook's ReferenceNum), the
        // station and the line's stat answer. "X" and "D" are the procedure's fixed markers;
        // the slot before the markup is passed as NULL.
        calls << QVariantList{batch.HospNum,
                              batch.IdNum,
                              c.item.trimmed(),
                              c.amountValue().toVariant(),
                              c.quantityValue(),
                              chargingDateText(batch.when),
                              c.department.trimmed(),
                              QStringLiteral("X"),
                              batch.userCode,
                              c.description.trimmed(),
                              batch.patientClass,
                              QStringLiteral("D"),
                              batch.room,
                              batch.department,
                              batch.requestingDoctor.code,
                              c.arCode.trimmed(),
                              batch.requestingDoctor.name,
                              line->packageId.trimmed(),
                              QVariant(),
                              c.markupText.trimmed(),
                              batch.chargeSlip,
                              batch.station,
                              c.statFlag.trimmed()};
    }
    return m_db.callEach(u"STATION..Nurse_AppendCharging", calls);
}

Result<void> ChargePostingStore::tagSecondOperation(const PostingBatch &batch,
                                                    const PostingLine &line)
{
    return done(m_db.exec(u"update STATION..tbNurseLogBook set isSecORProc = :flag "
                          u"where ReferenceNum = :slip and ItemID = :item and IDNum = :id",
                          {{QStringLiteral("flag"), line.line.secondOperation.trimmed()},
                           {QStringLiteral("slip"), batch.chargeSlip},
                           {QStringLiteral("item"), line.line.item.trimmed()},
                           {QStringLiteral("id"), batch.IdNum}}));
}

Result<void> ChargePostingStore::recordDoctorsMeals(const PostingBatch &batch,
                                                    const PostingLine &line)
{
    return done(m_db.exec(u"update STATION..tbNurseLogBook set Remarks = :remark "
                          u"where ReferenceNum = :slip and ItemID = :item and IDNum = :id",
                          {{QStringLiteral("remark"), line.doctorsMealRemark()},
                           {QStringLiteral("slip"), batch.chargeSlip},
                           {QStringLiteral("item"), line.line.item.trimmed()},
                           {QStringLiteral("id"), batch.IdNum}}));
}

Result<void> ChargePostingStore::saveOxygenMonitoring(const PostingBatch &batch,
                                                      const PostingLine &line)
{
    return done(m_db.call(u"STATION..sp_Save_Oxygen_Monitoring",
                          {batch.IdNum, line.line.item.trimmed(), line.tankNumber.trimmed(),
                           line.initialReading.trimmed(), line.lastReading.trimmed(),
                           batch.chargeSlip, batch.userCode, batch.station}));
}

Result<void> ChargePostingStore::saveSupervisorTransaction(const PostingBatch &batch,
                                                           const PostingLine &line)
{
    const ChargeLine &c = line.line;
    return done(m_db.call(u"STATION..sp_Save_Supervisor_Transaction",
                          {batch.IdNum, batch.chargeSlip, c.department.trimmed(), c.item.trimmed(),
                           c.listPriceValue().toVariant(), c.unitPriceValue().toVariant(),
                           kSupervisorReason, batch.userCode, batch.station}));
}

Result<QDate> ChargePostingStore::birthDate(const QString &HospNum)
{
    auto row = m_db.selectOne(u"select BirthDate from PATIENT_DATA..tbMaster where HospNum = :hosp",
                              {{QStringLiteral("hosp"), HospNum}});
    if (!row)
        return tl::unexpected(row.error());
    return *row ? (*row)->date(u"BirthDate") : QDate();
}

} // namespace kestrel
