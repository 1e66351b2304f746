// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/requests/TranscriptionStore.h"

#include "core/db/NumberFormat.h"

#include <QLocale>

namespace kestrel {

namespace {

// How often a save or a revoke is tried when other workstations keep the database busy.
constexpr int kAttempts = 3;

Binds idBind(const QString &IdNum)
{
    return {{QStringLiteral("id"), IdNum.trimmed()}};
}

} // namespace

Result<QString> TranscriptionStore::save(const TranscriptionBatch &batch,
                                         const QList<RequestLine> &lines)
{
    Result<QString> saved;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        saved = saveOnce(batch, lines);
        if (saved || !saved.error().retryable())
            break;
    }
    return saved;
}

// The series has one row (ID 1), made the first time a number is drawn. The update takes the
// row's lock until the caller's transaction ends, so two workstations never draw the same
// number and a save that fails gives its number back.
Result<QString> TranscriptionStore::drawAssessmentNumber()
{
    if (auto made = m_db.exec(u"insert into BILLING..tbAssessmentNum (ID, AssessmentNum) "
                              u"values (1, 1) on conflict (ID) do nothing");
        !made)
        return tl::unexpected(made.error());
    auto next = m_db.scalar(u"update BILLING..tbAssessmentNum set AssessmentNum = "
                            u"AssessmentNum + 1 where ID = 1 returning AssessmentNum");
    if (!next)
        return tl::unexpected(next.error());
    return QStringLiteral("AS") + QString::number(next->toLongLong() - 1);
}

Result<QString> TranscriptionStore::saveOnce(const TranscriptionBatch &batch,
                                             const QList<RequestLine> &lines)
{
    Transaction tx = m_db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    const QString now = QLocale::c().toString(batch.now, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    QString assessment;
    for (const RequestLine &line : lines) {
        if (line.item.trimmed().isEmpty())
            continue;
        if (assessment.isEmpty()) {
            auto drawn = drawAssessmentNumber();
            if (!drawn)
                return tl::unexpected(drawn.error());
            assessment = *drawn;
        }
        const QString blank = QStringLiteral(" ");
        auto saved =
            m_db.call(u"STATION..sp_Nurse_SaveTranscriptionNote", {batch.hospNum.trimmed(),
                                                                   batch.IdNum.trimmed(),
                                                                   batch.patientClass,
                                                                   line.item,
                                                                   line.amount().toVariant(),
                                                                   line.quantity.toDouble(),
                                                                   line.dosage,
                                                                   blank,
                                                                   now,
                                                                   QStringLiteral("PH"),
                                                                   batch.doctor,
                                                                   blank,
                                                                   batch.user,
                                                                   line.remarks,
                                                                   line.description,
                                                                   batch.station,
                                                                   QStringLiteral("Y"),
                                                                   line.frequency.trimmed(),
                                                                   assessment,
                                                                   batch.room});
        if (!saved)
            return tl::unexpected(saved.error());
    }
    if (assessment.isEmpty())
        return failure(QStringLiteral("There is no transcribed medicine to save."));
    if (auto committed = tx.commit(); !committed)
        return tl::unexpected(committed.error());
    return assessment;
}

Result<QList<TranscriptionStatusLine>> TranscriptionStore::status(const QString &IdNum)
{
    auto rows = m_db.call(u"STATION..sp_Nurse_TranscriptionStatus", {IdNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<TranscriptionStatusLine> out;
    for (int i = 0; i < rows->count(); ++i) {
        const Row &r = rows->at(i);
        TranscriptionStatusLine l;
        l.transNum = r.integer(u"TRANSNUM");
        l.patientName = r.trimmed(u"PATIENT NAME");
        l.item = r.trimmed(u"CODE");
        l.description = r.trimmed(u"DESCRIPTION");
        l.assessment = r.trimmed(u"ASSESS #");
        l.amount = formatNumber(r.money(u"AMOUNT"), kFormatAmount);
        l.status = r.trimmed(u"STATUS");
        l.recordStatus = r.trimmed(u"RecordStatus").toUpper();
        out << l;
    }
    return out;
}

Result<TranscriptionRevoke> TranscriptionStore::revoke(qint64 transNum, const QString &IdNum,
                                                       const QString &user)
{
    Result<RowSet> done;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        done = m_db.call(u"STATION..sp_Nurse_RevokeTranscriptionNotes",
                         {transNum, IdNum.trimmed(), user.trimmed()});
        if (done || !done.error().retryable())
            break;
    }
    if (!done)
        return tl::unexpected(done.error());
    if (done->isEmpty())
        return failure(QStringLiteral("Transcription %1 was not found.").arg(transNum));
    const Row &r = done->at(0);
    const TranscriptionRevoke answer{r.integer(u"Revoked") > 0, r.trimmed(u"RecordStatus")};
    if (!answer.revoked && answer.recordStatus.isEmpty())
        return failure(QStringLiteral("Transcription %1 of admission %2 was not found.")
                           .arg(transNum)
                           .arg(IdNum.trimmed()));
    return answer;
}

Result<QString> TranscriptionStore::doctorOrders(const QString &IdNum)
{
    auto rows = m_db.select(u"select o.OrderDate, o.Orders, d.LastName, d.FirstName "
                            u"from STATION..tbNurseDoctorOrders o "
                            u"left join BUILD_FILE..tbCoDoctor d on d.DoctorID = o.DoctorID "
                            u"where o.IdNum = :id order by o.OrderDate desc, o.OrderID desc",
                            idBind(IdNum));
    if (!rows)
        return tl::unexpected(rows.error());
    QStringList orders;
    for (int i = 0; i < rows->count(); ++i) {
        const Row &r = rows->at(i);
        QString doctor = r.trimmed(u"LastName");
        if (!r.trimmed(u"FirstName").isEmpty())
            doctor += QStringLiteral(", ") + r.trimmed(u"FirstName");
        orders << QLocale::c().toString(r.dateTime(u"OrderDate"),
                                        QStringLiteral("MM/dd/yyyy hh:mm AP")) +
                      (doctor.isEmpty() ? QString() : QStringLiteral("  DR. ") + doctor) + u'\n' +
                      r.text(u"Orders").trimmed();
    }
    return orders.join(QStringLiteral("\n\n"));
}

} // namespace kestrel
