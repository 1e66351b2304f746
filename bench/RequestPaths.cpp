// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Requests: saving a pharmacy request of twenty lines for the inpatient stay, through the
// request store and as the bare statements of the same transaction.
#include "BenchPaths.h"

#include "charging/requests/RequestStore.h"
#include "core/db/Database.h"

#include <memory>

namespace kestrel::bench {

namespace {

constexpr int kLines = 20;

struct RequestState
{
    RequestState(BenchSession &s, const hospitaldb::ScaleLandmarks &l)
        : session(s)
        , landmarks(l)
        , store(s.db)
    {
    }

    // Twenty medicines the pharmacy stocks, a dosage each; the stay sends them as routine
    // requests, the first STAT.
    Result<void> prepare()
    {
        auto items = session.db.select(u"select M.ItemID, M.ItemName, I.SellingPriceIn from "
                                       u"INVENTORY..tbInvMaster M inner join INVENTORY..tbInvent "
                                       u"I on I.ItemID = M.ItemID and I.LocationID = 'PHA' "
                                       u"order by M.ItemID limit 20");
        if (!items)
            return tl::unexpected(items.error());
        if (items->count() < kLines)
            return failure(QStringLiteral("the pharmacy stocks fewer than twenty items"));
        lines.clear();
        for (int i = 0; i < kLines; ++i) {
            const Row &r = items->at(i);
            RequestLine line;
            line.item = r.trimmed(u"ItemID");
            line.description = r.trimmed(u"ItemName");
            line.dosage = QStringLiteral("BID");
            line.frequency = QStringLiteral("2X A DAY");
            line.quantity = QStringLiteral("2");
            line.unitPrice = r.money(u"SellingPriceIn");
            line.stat = i == 0 ? QStringLiteral("Y") : QStringLiteral("N");
            lines << line;
        }
        batch.department = QStringLiteral("PH");
        batch.IdNum = landmarks.inpatientIdNum;
        batch.patientClass = QStringLiteral("I");
        batch.user = QStringLiteral("2902");
        batch.station = QStringLiteral("OR");
        batch.now = QDateTime::currentDateTime();
        if (auto ok = session.db.exec(u"insert into STATION..tbNurseRequestNumber (RevenueID, "
                                      u"LastNum) values ('PH', 0) on conflict (RevenueID) do "
                                      u"nothing");
            !ok)
            return tl::unexpected(ok.error());
        return {};
    }

    // The same writes as bare statements: the number drawn, the request and its logbook line.
    Result<qint64> bareSave()
    {
        Database &db = session.db;
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        for (const RequestLine &line : std::as_const(lines)) {
            auto n = db.scalar(u"update STATION..tbNurseRequestNumber set LastNum = LastNum + 1 "
                               u"where RevenueID = 'PH' returning LastNum");
            if (!n)
                return tl::unexpected(n.error());
            const Binds b{{QStringLiteral("n"),
                           QStringLiteral("PH%1").arg(n->toLongLong(), 8, 10, QLatin1Char('0'))},
                          {QStringLiteral("id"), batch.IdNum},
                          {QStringLiteral("hosp"), landmarks.inpatientHospNum},
                          {QStringLiteral("item"), line.item},
                          {QStringLiteral("name"), line.description},
                          {QStringLiteral("qty"), 2.0},
                          {QStringLiteral("amount"), line.amount().toVariant()},
                          {QStringLiteral("stat"), line.stat}};
            for (QStringView sql :
                 {u"insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, HospNum, "
                  u"StationID, ExamCode, ExamName, RequestDate, ItemID, RevenueID, Quantity, "
                  u"Amount, Dosage, StatFlag, UserID) values (:n, :id, :hosp, 'OR', :item, "
                  u":name, getdate(), :item, 'PH', :qty, :amount, 'BID', :stat, '2902')",
                  u"insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, "
                  u"RevenueID, ItemID, Description, Quantity, Amount, TransDate, UserID, "
                  u"StationID, PatientClass, StatFlag, Dosage) values (:id, :hosp, :n, 'PH', "
                  u":item, :name, :qty, :amount, getdate(), '2902', 'OR', 'I', :stat, 'BID')"}) {
                if (auto ok = db.exec(sql, b); !ok)
                    return tl::unexpected(ok.error());
            }
        }
        if (auto ok = tx.commit(); !ok)
            return tl::unexpected(ok.error());
        return kLines;
    }

    // Takes the stay's requests of the runs away again, so every run finds the stay as the
    // first did (the number series keeps climbing).
    Result<void> undo()
    {
        Database &db = session.db;
        const Binds id{{QStringLiteral("id"), batch.IdNum}};
        for (QStringView sql :
             {u"delete from STATION..tbNurseLogBook where IDNum = :id and RevenueID = 'PH' and "
              u"ReferenceNum like 'PH%'",
              u"delete from STATION..tbNurseCommunicationfile where IDNum = :id and RevenueID = "
              u"'PH'",
              u"delete from STATION..tbNursePatientMedicines where IDNum = :id"}) {
            if (auto ok = db.exec(sql, id); !ok)
                return tl::unexpected(ok.error());
        }
        return {};
    }

    BenchSession &session;
    hospitaldb::ScaleLandmarks landmarks;
    RequestStore store;
    RequestBatch batch;
    QList<RequestLine> lines;
};

} // namespace

QList<BenchPath> requestPaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks)
{
    auto state = std::make_shared<RequestState>(s, landmarks);
    BenchPath save;
    save.name = QStringLiteral("save a pharmacy request of 20 lines");
    save.program = QStringLiteral("RequestStore::save (one transaction: twenty request numbers, "
                                  "requests and logbook lines) and the copy to the medicine "
                                  "list");
    save.bare = QStringLiteral("the numbers, requests and logbook lines in one transaction");
    save.targetMs = 100;
    save.prepare = [state] { return state->prepare(); };
    save.runProgram = [state]() -> Result<qint64> {
        auto saved = state->store.save(state->batch, state->lines);
        if (!saved)
            return tl::unexpected(saved.error());
        if (auto copied = state->store.copyToMedicineList(state->batch.IdNum); !copied)
            return tl::unexpected(copied.error());
        return saved->size();
    };
    save.runBare = [state] { return state->bareSave(); };
    save.sameRows = true;
    save.afterRun = [state] { return state->undo(); };
    save.notes << QStringLiteral("Twenty pharmacy medicines of the inpatient stay, two each, the "
                                 "first STAT; after every run the stay's requests are taken "
                                 "away again, untimed.");
    return {save};
}

} // namespace kestrel::bench
