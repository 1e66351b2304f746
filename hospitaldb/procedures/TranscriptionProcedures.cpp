// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the pharmacy transcriptions: a transcribed medication order written as one
// request line, the stay's transcriptions with the state the pharmacy left them in, and the
// ward's revoke of a line the pharmacy has not processed yet.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/Money.h"

#include <QLocale>

namespace kestrel::hospitaldb {

namespace {

QString str(const char *s)
{
    return QString::fromLatin1(s);
}

// What the status list shows of a line's RecordStatus.
QString statusText(const QString &recordStatus)
{
    if (recordStatus == u"R")
        return QStringLiteral("REVOKED");
    if (recordStatus == u"P")
        return QStringLiteral("PROCESSED BY PHARMACY");
    return QStringLiteral("PENDING");
}

// STATION..sp_Nurse_SaveTranscriptionNote, twenty arguments in the hospital's order: hospital
// number, admission number, patient class, item, amount, quantity, dosage, a blank, time
// ("MM/dd/yyyy hh:mm:ss AM/PM"), department ("PH"), first attending doctor, a blank, user,
// remarks, description, station, "Y" (sent), frequency, assessment number, room. Writes one
// transcribed line, pending for the pharmacy. The caller's transaction holds its lines together.
Result<RowSet> saveTranscriptionNote(Database &db, const ProcedureArgs &a)
{
    const QDateTime at =
        QLocale::c().toDateTime(a.text(8), QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    if (!at.isValid())
        return failure(QStringLiteral("The transcription date %1 is not a date.").arg(a.text(8)));
    if (a.text(1).isEmpty() || a.text(3).isEmpty())
        return failure(QStringLiteral("A transcription needs the admission and the item."));
    bool number = false;
    const double quantity = a.at(5).toDouble(&number);
    if (!number || !(quantity > 0))
        return failure(
            QStringLiteral("The quantity of %1 must be greater than zero.").arg(a.text(3)));
    if (a.text(18).isEmpty())
        return failure(QStringLiteral("A transcription needs its assessment number."));
    return noRows(db.exec(
        u"insert into STATION..tbNurseTranscription (HospNum, IdNum, PatientClass, ItemID, "
        u"Amount, Quantity, Dosage, TransDate, RevenueID, DoctorID, UserID, Remarks, "
        u"Description, StationID, SentFlag, Frequency, AssessmentNum, RoomID, RecordStatus) "
        u"values (:hosp, :id, :class, :item, :amount, :qty, :dosage, :at, :dept, :doctor, "
        u":user, :remarks, :description, :station, :sent, :frequency, :assessment, :room, '')",
        {{str("hosp"), a.text(0)},
         {str("id"), a.text(1)},
         {str("class"), a.text(2)},
         {str("item"), a.text(3)},
         {str("amount"), Money::fromVariant(a.at(4)).toVariant()},
         {str("qty"), quantity},
         {str("dosage"), a.text(6)},
         {str("at"), at},
         {str("dept"), a.text(9).toUpper()},
         {str("doctor"), a.text(10)},
         {str("user"), a.text(12)},
         {str("remarks"), a.text(13)},
         {str("description"), a.text(14)},
         {str("station"), a.text(15)},
         {str("sent"), a.text(16)},
         {str("frequency"), a.text(17)},
         {str("assessment"), a.text(18)},
         {str("room"), a.text(19)}}));
}

// STATION..sp_Nurse_TranscriptionStatus IdNum: the stay's transcribed lines, oldest first, with
// the patient's name and the state of each line as the list shows it (columns TRANSNUM,
// PATIENT NAME, CODE, DESCRIPTION, ASSESS #, AMOUNT, STATUS) and as it is kept (RecordStatus).
Result<RowSet> transcriptionStatus(Database &db, const ProcedureArgs &a)
{
    auto rows = db.select(u"select t.TransNum, t.ItemID, t.Description, t.AssessmentNum, t.Amount, "
                          u"t.RecordStatus, m.LastName, m.FirstName, m.MiddleName "
                          u"from STATION..tbNurseTranscription t "
                          u"left join PATIENT_DATA..tbMaster m on m.HospNum = t.HospNum "
                          u"where t.IdNum = :id order by t.TransNum",
                          stayIdBind(a));
    if (!rows)
        return tl::unexpected(rows.error());
    RowSet out({str("TRANSNUM"), str("PATIENT NAME"), str("CODE"), str("DESCRIPTION"),
                str("ASSESS #"), str("AMOUNT"), str("STATUS"), str("RecordStatus")});
    for (int i = 0; i < rows->count(); ++i) {
        const Row &r = rows->at(i);
        const QString name = QString(r.trimmed(u"LastName") + QStringLiteral(", ") +
                                     r.trimmed(u"FirstName") + u' ' + r.trimmed(u"MiddleName"))
                                 .trimmed();
        const QString state = r.trimmed(u"RecordStatus").toUpper();
        out.append({r.integer(u"TransNum"), name == u"," ? QString() : name, r.trimmed(u"ItemID"),
                    r.trimmed(u"Description"), r.trimmed(u"AssessmentNum"),
                    r.money(u"Amount").toVariant(), statusText(state), state});
    }
    return out;
}

// STATION..sp_Nurse_RevokeTranscriptionNotes TransNum, IdNum, user: revokes the line only while
// the pharmacy has not processed it. The one update decides that under the row's lock, so a
// pharmacy processing the line at the same moment either comes first (nothing is revoked) or
// finds it revoked. Answers Revoked (1 or 0) and the line's RecordStatus afterwards.
Result<RowSet> revokeTranscription(Database &db, const ProcedureArgs &a)
{
    const Binds key{
        {str("trans"), a.at(0).toLongLong()}, {str("id"), a.text(1)}, {str("user"), a.text(2)}};
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto revoked = db.exec(u"update STATION..tbNurseTranscription set RecordStatus = 'R', "
                           u"RevokedBy = :user, RevokedDate = getdate() "
                           u"where TransNum = :trans and IdNum = :id and RecordStatus = ''",
                           key);
    if (!revoked)
        return tl::unexpected(revoked.error());
    auto state = db.scalar(u"select RecordStatus from STATION..tbNurseTranscription "
                           u"where TransNum = :trans and IdNum = :id",
                           key);
    if (!state)
        return tl::unexpected(state.error());
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    RowSet out({str("Revoked"), str("RecordStatus")});
    out.append({*revoked, state->toString().trimmed().toUpper()});
    return out;
}

} // namespace

void registerTranscriptionProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_Nurse_SaveTranscriptionNote"), 20,
                 saveTranscriptionNote);
    registry.add(QStringLiteral("STATION..sp_Nurse_TranscriptionStatus"), 1, transcriptionStatus);
    registry.add(QStringLiteral("STATION..sp_Nurse_RevokeTranscriptionNotes"), 3,
                 revokeTranscription);
}

} // namespace kestrel::hospitaldb
