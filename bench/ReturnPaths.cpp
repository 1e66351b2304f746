// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Returns: revoking one posted medicine line with its re-validation done, through the charge
// window's revoke and as the bare statements of the same transaction.
#include "BenchPaths.h"

#include "charging/returns/ChargeRevoke.h"
#include "core/components/clsDrugPicker.h"
#include "core/db/Database.h"

#include <memory>

namespace kestrel::bench {

namespace {

const QString kSlip = QStringLiteral("BENCHRVK01");
const QString kItem = QStringLiteral("PH1002");
const QString kLocation = QStringLiteral("PHA");
constexpr double kQuantity = 2;

struct ReturnState
{
    ReturnState(BenchSession &s, const hospitaldb::ScaleLandmarks &l)
        : session(s)
        , landmarks(l)
        , revoke(s.session, &picker,
                 [] {
                     return ValidatedUser{QStringLiteral("2901"), QStringLiteral("BENCH, OR"),
                                          QStringLiteral("Returned unopened")};
                 })
    {
    }

    Binds binds() const
    {
        return {{QStringLiteral("id"), landmarks.inpatientIdNum},
                {QStringLiteral("hosp"), landmarks.inpatientHospNum},
                {QStringLiteral("slip"), kSlip},
                {QStringLiteral("item"), kItem},
                {QStringLiteral("location"), kLocation},
                {QStringLiteral("qty"), kQuantity}};
    }

    // The line to revoke: two ampules posted by the OR to the inpatient stay, taken out of the
    // pharmacy's stock.
    Result<void> postLine()
    {
        Database &db = session.db;
        if (auto gone = undo(); !gone)
            return gone;
        if (auto ok = db.exec(u"delete from STATION..tbNurseLogBook where ReferenceNum = :slip",
                              binds());
            !ok)
            return tl::unexpected(ok.error());
        if (auto ok = db.exec(u"insert into STATION..tbNurseLogBook (IDNum, HospNum, "
                              u"ReferenceNum, RevenueID, ItemID, Description, Quantity, Amount, "
                              u"StationID, TransDate) values (:id, :hosp, :slip, 'PH', :item, "
                              u"'KETOROLAC 30 MG/ML AMPULE', :qty, 190, 'OR', getdate())",
                              binds());
            !ok)
            return tl::unexpected(ok.error());
        if (auto ok = db.exec(u"delete from INVENTORY..tbInvStockCard where RefNum = :slip",
                              binds());
            !ok)
            return tl::unexpected(ok.error());
        if (auto ok = db.exec(u"insert into INVENTORY..tbInvStockCard (IDNum, HospNum, ItemID, "
                              u"LocationID, RefNum, TransType, Quantity, Amount, TransDate) "
                              u"values (:id, :hosp, :item, :location, :slip, 'I', :qty, 190, "
                              u"getdate())",
                              binds());
            !ok)
            return tl::unexpected(ok.error());
        CurrentPatientRecord &stay = session.session.CurrentPatient;
        stay.clear();
        stay.IdNum = landmarks.inpatientIdNum;
        stay.HospNum = landmarks.inpatientHospNum;
        stay.PatientClass = QStringLiteral("I");
        line = PostedCharge{0, QStringLiteral("PH"), kItem, QStringLiteral("KETOROLAC"), kQuantity,
                            Money::fromMinor(1900000), kSlip, QString()};
        return {};
    }

    // Puts the line back as posted: not revoked, its stock out again, no adjustment.
    Result<void> undo()
    {
        Database &db = session.db;
        Transaction tx = db.transaction();
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        auto back = db.scalar(u"select coalesce(sum(Quantity), 0) from INVENTORY..tbInvStockCard "
                              u"where RefNum = :slip and TransType = 'C'",
                              binds());
        if (!back)
            return tl::unexpected(back.error());
        for (QStringView sql :
             {u"update INVENTORY..tbInvent set OnHand = OnHand - :back where ItemID = :item and "
              u"LocationID = :location",
              u"delete from INVENTORY..tbInvStockCard where RefNum = :slip and TransType = 'C'",
              u"delete from STATION..tbBillAdjustInfo where IDNum = :id and RefNum = :slip",
              u"update STATION..tbNurseLogBook set RecordStatus = '', RevokedBy = '', "
              u"RevokedDate = null where ReferenceNum = :slip"}) {
            Binds b = binds();
            b.insert(QStringLiteral("back"), back->toDouble());
            if (auto ok = db.exec(sql, b); !ok)
                return tl::unexpected(ok.error());
        }
        return tx.commit();
    }

    // The revoke's writes as bare statements in one transaction.
    Result<qint64> bareRevoke()
    {
        Database &db = session.db;
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        Binds b = binds();
        b.insert(QStringLiteral("user"), QStringLiteral("2901"));
        auto left = db.select(u"update STATION..tbNurseLogBook set RecordStatus = 'R', RevokedBy "
                              u"= :user, RevokedDate = getdate() where IDNum = :id and "
                              u"ReferenceNum = :slip and ItemID = :item and RecordStatus <> 'R' "
                              u"returning Quantity - ReturnedQty as Qty, Amount - "
                              u"ReturnedAmount as Amount",
                              b);
        if (!left)
            return tl::unexpected(left.error());
        if (left->isEmpty())
            return failure(QStringLiteral("the line was already revoked"));
        b.insert(QStringLiteral("amount"), left->at(0).money(u"Amount").toVariant());
        for (QStringView sql :
             {u"insert into INVENTORY..tbInvStockCard (IDNum, HospNum, ItemID, LocationID, "
              u"RefNum, TransType, Quantity, Amount, TransDate, UserID) values (:id, :hosp, "
              u":item, :location, :slip, 'C', :qty, :amount, getdate(), :user)",
              u"update INVENTORY..tbInvent set OnHand = OnHand + :qty where ItemID = :item and "
              u"LocationID = :location",
              u"insert into STATION..tbBillAdjustInfo (IDNum, RefNum, RevenueID, ItemID, "
              u"Quantity, Amount, AdjustType, UserID, StationID, TransDate) values (:id, :slip, "
              u"'PH', :item, :qty, :amount, 'R', :user, 'OR', getdate())"}) {
            if (auto ok = db.exec(sql, b); !ok)
                return tl::unexpected(ok.error());
        }
        if (auto ok = tx.commit(); !ok)
            return tl::unexpected(ok.error());
        return 1;
    }

    BenchSession &session;
    hospitaldb::ScaleLandmarks landmarks;
    clsDrugPicker picker{session.context};
    ChargeRevoke revoke;
    PostedCharge line;
};

} // namespace

QList<BenchPath> returnPaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks)
{
    auto state = std::make_shared<ReturnState>(s, landmarks);
    BenchPath revoke;
    revoke.name = QStringLiteral("revoke one posted line");
    revoke.program = QStringLiteral("ChargeRevoke::revoke (checks, re-validation, rights, the "
                                    "guarded revoke, stock card and adjustment)");
    revoke.bare = QStringLiteral("the revoke's update, stock card, stock and adjustment in one "
                                 "transaction");
    revoke.targetMs = 50;
    revoke.prepare = [state] { return state->postLine(); };
    revoke.runProgram = [state]() -> Result<qint64> {
        state->session.notifier.answer = true;
        if (state->revoke.revoke(state->line) != ChargeRevoke::Outcome::Revoked)
            return failure(QStringLiteral("the line was not revoked"));
        return 1;
    };
    revoke.runBare = [state] { return state->bareRevoke(); };
    revoke.sameRows = true;
    revoke.afterRun = [state] { return state->undo(); };
    revoke.notes << QStringLiteral("A medicine line of two ampules on the inpatient stay, "
                                   "confirmed and signed by a script (the signer holds the "
                                   "revoke right, and signs again as the supervisor the "
                                   "hospital asks for); after every run the line is posted again, "
                                   "untimed.")
                 << QStringLiteral("The program's side also reads what is left of the charge, "
                                   "the clearance, the server's time and the signer's rights "
                                   "before its transaction.");
    return {revoke};
}

} // namespace kestrel::bench
