// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Saving a walk-in's assessment of twenty lines: the assessment number drawn from the charge
// slip counter, the assessment and its lines written and the slip's print buffer filled in one
// transaction, through the assessment saving and as the bare statements of the same work.
#include "BenchPaths.h"

#include "assessment/AssessmentSaving.h"
#include "charging/ChargePostingStore.h"
#include "core/db/Database.h"

#include <memory>

namespace kestrel::bench {

namespace {

constexpr int kLines = 20;

struct AssessmentState
{
    explicit AssessmentState(BenchSession &s)
        : session(s)
        , saving(s.session, AssessmentKind::WalkIn)
    {
        saving.setPatient({{}, {}, QStringLiteral("BENCH WALK-IN, PATIENT"), {}, {}});
    }

    /// Twenty service items with a price, as the entry grid leaves them priced.
    Result<void> pickLines()
    {
        auto rows = session.db.select(u"select OtherRevenueID, OtherRevenue, OtherSectionID, "
                                      u"RateA from BUILD_FILE..tbCoOtherRevenue where RateA > 0 "
                                      u"order by OtherRevenueID limit 20");
        if (!rows)
            return tl::unexpected(rows.error());
        if (rows->count() < kLines)
            return failure(QStringLiteral("fewer than %1 priced services").arg(kLines));
        lines.clear();
        for (const Row &row : *rows) {
            PostingLine l;
            l.line.department = row.trimmed(u"OtherSectionID");
            l.line.item = row.trimmed(u"OtherRevenueID");
            l.line.description = row.trimmed(u"OtherRevenue");
            l.line.quantity = QStringLiteral("2");
            l.line.setUnitPrice(row.money(u"RateA"));
            l.line.listPrice = l.line.unitPrice;
            l.line.setAmount(row.money(u"RateA") * 2);
            lines.append(l);
        }
        return {};
    }

    /// Takes the assessment `number` away again, in one transaction.
    Result<void> remove(const QString &number)
    {
        Database &db = session.db;
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        const Binds no{{QStringLiteral("no"), number}};
        for (QStringView sql : {u"delete from BILLING..tbCashAssessment where RefNum = :no",
                                u"delete from STATION..tbORAssessment where AssessNum = :no",
                                u"delete from STATION..tbORChargeSlipIssued where ChargeSlip = :no",
                                u"delete from STATION..tbORAssessPrint where AssessNum = :no"}) {
            if (auto ok = db.exec(sql, no); !ok)
                return tl::unexpected(ok.error());
        }
        return tx.commit();
    }

    /// The same work as bare statements: the number, the assessment, its lines and the print
    /// buffer in one transaction.
    Result<qint64> bare()
    {
        Database &db = session.db;
        const QString station = session.session.StationID;
        const QDateTime now = db.serverNow();
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        auto drawn = db.selectOne(u"update STATION..tbORChargeSlip set ChargeSlip = ChargeSlip + 1 "
                                  u"where StationID = :station returning ChargeSlip - 1 as Drawn",
                                  {{QStringLiteral("station"), station}});
        if (!drawn)
            return tl::unexpected(drawn.error());
        if (!*drawn)
            return failure(QStringLiteral("no counter row"));
        lastNumber = u'C' + QString::number((*drawn)->integer(u"Drawn")) + u'O';
        const Binds header{{QStringLiteral("no"), lastNumber},
                           {QStringLiteral("station"), station},
                           {QStringLiteral("at"), now}};
        for (QStringView sql :
             {u"insert into STATION..tbORChargeSlipIssued (ChargeSlip, StationID, HostName, "
              u"TransDate) values (:no, :station, host_name(), :at)",
              u"insert into STATION..tbORAssessment (AssessNum, Kind, PatientName, StationID, "
              u"TransDate) values (:no, 'WALKIN', 'BENCH WALK-IN, PATIENT', :station, :at)"}) {
            if (auto ok = db.exec(sql, header); !ok)
                return tl::unexpected(ok.error());
        }
        QList<Binds> rows;
        for (const PostingLine &l : std::as_const(lines))
            rows.append({{QStringLiteral("no"), lastNumber},
                         {QStringLiteral("revenue"), l.line.department},
                         {QStringLiteral("item"), l.line.item},
                         {QStringLiteral("description"), l.line.description},
                         {QStringLiteral("qty"), l.line.quantityValue()},
                         {QStringLiteral("price"), l.line.unitPriceValue().toVariant()},
                         {QStringLiteral("amount"), l.line.amountValue().toVariant()},
                         {QStringLiteral("station"), station},
                         {QStringLiteral("at"), now}});
        if (auto ok = db.execMany(u"insert into BILLING..tbCashAssessment (RefNum, PatientName, "
                                  u"RevenueID, ItemID, Description, Quantity, UnitPrice, Amount, "
                                  u"TransDate, StationID) values (:no, 'BENCH WALK-IN, PATIENT', "
                                  u":revenue, :item, :description, :qty, :price, :amount, :at, "
                                  u":station)",
                                  rows);
            !ok)
            return tl::unexpected(ok.error());
        for (QStringView sql :
             {u"delete from STATION..tbORAssessPrint where HostName = host_name()",
              u"insert into STATION..tbORAssessPrint (HostName, AssessNum, RevenueID, ItemID, "
              u"Description, Quantity, Amount, TransDate) select host_name(), RefNum, RevenueID, "
              u"ItemID, Description, Quantity, Amount, TransDate from BILLING..tbCashAssessment "
              u"where RefNum = :no"}) {
            if (auto ok = db.exec(sql, {{QStringLiteral("no"), lastNumber}}); !ok)
                return tl::unexpected(ok.error());
        }
        if (auto ok = tx.commit(); !ok)
            return tl::unexpected(ok.error());
        return lines.size();
    }

    BenchSession &session;
    AssessmentSaving saving;
    QList<PostingLine> lines;
    QString lastNumber;
};

} // namespace

QList<BenchPath> assessmentPaths(BenchSession &s)
{
    auto state = std::make_shared<AssessmentState>(s);
    BenchPath p;
    p.name = QStringLiteral("assessment-save");
    p.program = QStringLiteral("AssessmentSaving::save through ChargeSaving");
    p.bare = QStringLiteral("the assessment's number, rows and print buffer in one transaction");
    p.targetMs = 100;
    p.sameRows = true;
    p.prepare = [state]() -> Result<void> { return state->pickLines(); };
    p.runProgram = [state]() -> Result<qint64> {
        state->session.notifier.answer = true;
        const PostingOutcome outcome = state->saving.save(state->lines, {});
        state->lastNumber = outcome.chargeSlip;
        if (!outcome.saved())
            return failure(QStringLiteral("the assessment was not saved"));
        return state->lines.size();
    };
    p.runBare = [state] { return state->bare(); };
    p.afterRun = [state] { return state->remove(state->lastNumber); };
    p.notes << QStringLiteral("A walk-in's assessment of twenty service lines, signed by a "
                              "script; the slip's print buffer is filled in the save, the slip "
                              "itself is not rendered. Each assessment is removed again after "
                              "its run, untimed.");
    return {p};
}

} // namespace kestrel::bench
