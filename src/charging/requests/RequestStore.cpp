// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/requests/RequestStore.h"

#include "core/db/NumberFormat.h"

#include <QLocale>

namespace kestrel {

namespace {

Binds itemBind(const QString &item)
{
    return {{QStringLiteral("item"), item.trimmed()}};
}

Binds idBind(const QString &IdNum)
{
    return {{QStringLiteral("id"), IdNum.trimmed()}};
}

// How often a save is tried when other workstations keep the database busy.
constexpr int kAttempts = 3;

} // namespace

QString RequestStore::statNote()
{
    return QStringLiteral(" Note: By pass Cash Basis Condition For STAT Request.");
}

Result<QString> RequestStore::route(const QString &item)
{
    auto v = m_db.scalar(u"select Route from INVENTORY..tbInvMaster where ItemID = :item",
                         itemBind(item));
    if (!v)
        return tl::unexpected(v.error());
    return v->toString().trimmed();
}

Result<QString> RequestStore::antibioticClass(const QString &item)
{
    auto v = m_db.scalar(u"select b.AntiBioticClass from INVENTORY..tbInvMaster a "
                         u"left outer join INVENTORY..tbInvAntibioticClass b "
                         u"on a.AntiBioticClassID = b.AntiBioticClassID where a.ItemID = :item",
                         itemBind(item));
    if (!v)
        return tl::unexpected(v.error());
    return v->toString().trimmed();
}

Result<std::pair<bool, bool>> RequestStore::handlingFlags(const QString &item)
{
    auto rows = m_db.call(u"INVENTORY..CheckHAlertRefrigerated", {item.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    if (rows->isEmpty())
        return std::pair{false, false};
    const Row &r = rows->at(0);
    return std::pair{r.value(u"HighAlert").toInt() == 1, r.value(u"Refrigerated").toInt() == 1};
}

Result<bool> RequestStore::pharmacyCashBasis(const QString &IdNum)
{
    auto v = m_db.scalar(u"select OkeyPH from PATIENT_DATA..tbPatient2 where IDNum = :id",
                         {{QStringLiteral("id"), IdNum.trimmed()}});
    if (!v)
        return tl::unexpected(v.error());
    return v->toString().trimmed().toUpper() == u"B";
}

Result<bool> RequestStore::finalNoticeSent(const QString &IdNum)
{
    auto v = m_db.scalar(u"select count(*) from STATION..tbNurseDischargeNotice "
                         u"where IDNum = :id and RecordStatus = 'F'",
                         idBind(IdNum));
    if (!v)
        return tl::unexpected(v.error());
    return v->toLongLong() > 0;
}

Result<QString> RequestStore::attendingDoctor(const QString &IdNum)
{
    auto v = m_db.scalar(u"select AttendingDr1 from PATIENT_DATA..tbPatient where IDNum = :id",
                         idBind(IdNum));
    if (!v)
        return tl::unexpected(v.error());
    return v->toString().trimmed();
}

Result<QStringList> RequestStore::save(const RequestBatch &batch, const QList<RequestLine> &lines)
{
    Result<QStringList> saved;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        saved = saveOnce(batch, lines);
        if (saved || !saved.error().retryable())
            break;
    }
    return saved;
}

Result<QStringList> RequestStore::saveOnce(const RequestBatch &batch,
                                           const QList<RequestLine> &lines)
{
    Transaction tx = m_db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    const QString now =
        QLocale::c().toString(batch.now, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    const bool keepsFrequency = batch.form == RequestForm::PharmacyWithDosage ||
                                batch.form == RequestForm::PharmacyWithRouting;
    QStringList numbers;
    for (const RequestLine &line : lines) {
        const QString stat = line.stat == u"Y" ? QStringLiteral("Y") : QStringLiteral("N");
        auto appended = m_db.call(
            u"STATION..Nurse_AppendNurseLogBook",
            {batch.IdNum.trimmed(), batch.patientClass, line.item, line.amount().toVariant(),
             line.quantity.toDouble(), QStringLiteral(" "), line.dosage, now, batch.department,
             batch.doctor, batch.user, line.remarks, line.description, QStringLiteral("Y"), stat,
             QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), 0, batch.station});
        if (!appended)
            return tl::unexpected(appended.error());
        const QString number =
            appended->isEmpty() ? QString() : appended->at(0).text(u"RequestNum").trimmed();
        if (number.isEmpty())
            return failure(QStringLiteral("The request of %1 got no number.").arg(line.item));
        const Binds key{{QStringLiteral("number"), number},
                        {QStringLiteral("id"), batch.IdNum.trimmed()},
                        {QStringLiteral("item"), line.item},
                        {QStringLiteral("frequency"), line.frequency},
                        {QStringLiteral("route"), line.route}};
        // The windows with the frequency keep it (and the route) with the request; the one
        // with the route also on the logbook line the pharmacy dispenses from.
        if (keepsFrequency) {
            if (auto kept = m_db.exec(u"UPDATE STATION..tbNurseCommunicationFile SET Frequency = "
                                      u":frequency, Route = :route WHERE RequestNum = :number "
                                      u"and Idnum = :id and ItemID = :item",
                                      key);
                !kept)
                return tl::unexpected(kept.error());
        }
        if (batch.form == RequestForm::PharmacyWithRouting) {
            if (auto kept = m_db.exec(u"UPDATE STATION..tbNurseLogBook SET Frequency = "
                                      u":frequency, Route = :route WHERE ReferenceNum = :number "
                                      u"and IDNum = :id and ItemID = :item",
                                      key);
                !kept)
                return tl::unexpected(kept.error());
        }
        if (stat == u"Y" && batch.cashBasis) {
            auto noted = m_db.call(u"Station..sp_Nurse_Append_tbBillAdjustInfo",
                                   {batch.IdNum.trimmed(), number, batch.department, line.item,
                                    line.quantity.toDouble(), line.amount().toVariant(),
                                    QStringLiteral("S"), QString(), statNote(), batch.user,
                                    QString(), batch.station});
            if (!noted)
                return tl::unexpected(noted.error());
        }
        numbers << number;
    }
    if (auto committed = tx.commit(); !committed)
        return tl::unexpected(committed.error());
    return numbers;
}

Result<qint64> RequestStore::copyToMedicineList(const QString &IdNum)
{
    auto rows = m_db.call(u"STATION..sp_Nurse_InsertMedicines_Into_tbNursePatientMedicines",
                          {IdNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    return rows->isEmpty() ? 0 : rows->at(0).value(u"NotAdministered").toLongLong();
}

} // namespace kestrel
