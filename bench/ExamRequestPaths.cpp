// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Exam requests: ten laboratory exams sent from the inpatient stay's profile, through the
// profile's save (the request checks of every line, the numbers, requests and logbook lines in
// one transaction) and as the bare statements of the same writes.
#include "BenchPaths.h"

#include "core/db/Database.h"
#include "examrequests/ExamRequestEntry.h"
#include "profile/CommonExams.h"

#include <memory>

namespace kestrel::bench {

namespace {

constexpr int kExams = 10;

QString benchExam(int n)
{
    return QStringLiteral("BENCHLB%1").arg(n, 2, 10, QLatin1Char('0'));
}

struct ExamRequestRun
{
    ExamRequestRun(BenchSession &s, const hospitaldb::ScaleLandmarks &l)
        : session(s)
        , landmarks(l)
        , exams(s.session)
    {
    }

    // Ten priced laboratory exams of the bench's own, the third STAT, and the stay as the
    // profile shows it.
    Result<void> prepare()
    {
        Database &db = session.db;
        for (int n = 1; n <= kExams; ++n) {
            const Binds b{{QStringLiteral("code"), benchExam(n)},
                          {QStringLiteral("name"), QStringLiteral("BENCH EXAM %1").arg(n)},
                          {QStringLiteral("price"), QStringLiteral("%1.00").arg(300 + n * 25)}};
            for (QStringView sql :
                 {u"insert into BUILD_FILE..tbCoLabExam (LabExamID, LabExam, LabSectionID) "
                  u"values (:code, :name, 'CHEM') on conflict (LabExamID) do nothing",
                  u"insert into BUILD_FILE..tbCoExamRate (RevenueID, ExamID, RateA, RateB, "
                  u"RateC, RateD, RateE, RateF, RateG, RateH, RateI) values ('LB', :code, "
                  u":price, :price, :price, :price, :price, :price, :price, :price, :price) "
                  u"on conflict (RevenueID, ExamID) do nothing"}) {
                if (auto ok = db.exec(sql, b); !ok)
                    return tl::unexpected(ok.error());
            }
            ExamRequestLine line;
            line.department = QStringLiteral("LB");
            line.code = benchExam(n);
            line.description = QStringLiteral("BENCH EXAM %1").arg(n);
            line.section = QStringLiteral("CHEM");
            line.unitPrice = *Money::parse(QStringLiteral("%1.00").arg(300 + n * 25));
            line.amount = line.unitPrice;
            line.stat = n == 3 ? QStringLiteral("Y") : QStringLiteral("N");
            orders << ExamRequestEntry::toOrder(line);
        }
        if (auto ok = db.exec(u"update PATIENT_DATA..tbPatient2 set isCashBasis = 0 "
                              u"where IDNum = :id",
                              {{QStringLiteral("id"), landmarks.inpatientIdNum}});
            !ok)
            return tl::unexpected(ok.error());
        header.IdNum = landmarks.inpatientIdNum;
        header.HospNum = landmarks.inpatientHospNum;
        header.PatientName = QStringLiteral("BENCH PATIENT");
        session.notifier.answer = true;
        // Requests an interrupted run left behind would refuse the first save.
        return undo();
    }

    Result<qint64> save()
    {
        for (const CommonExams::Order &o : std::as_const(orders))
            exams.addRequested(o);
        if (exams.save(header) != CommonExams::Outcome::Saved)
            return failure(session.notifier.takeBoxes().join(u"; "));
        // The nurse is told the requests went out; that box is the save's own, no failure.
        session.notifier.takeBoxes();
        return exams.sentNumbers().size();
    }

    // The same writes as bare statements: per exam the number drawn, the request and its
    // logbook line.
    Result<qint64> bareSave()
    {
        Database &db = session.db;
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        for (const CommonExams::Order &o : std::as_const(orders)) {
            auto n = db.scalar(u"update STATION..tbNurseRequestNumber set LastNum = LastNum + 1 "
                               u"where RevenueID = 'LB' returning LastNum");
            if (!n)
                return tl::unexpected(n.error());
            const Binds b{{QStringLiteral("n"),
                           QStringLiteral("LB%1").arg(n->toLongLong(), 8, 10, QLatin1Char('0'))},
                          {QStringLiteral("id"), header.IdNum},
                          {QStringLiteral("hosp"), header.HospNum},
                          {QStringLiteral("item"), o.code},
                          {QStringLiteral("name"), o.exam},
                          {QStringLiteral("amount"), o.amount.toVariant()},
                          {QStringLiteral("stat"), o.stat}};
            for (QStringView sql :
                 {u"insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, HospNum, "
                  u"StationID, ExamCode, ExamName, RequestDate, ItemID, RevenueID, Quantity, "
                  u"Amount, StatFlag, UserID, Section) values (:n, :id, :hosp, 'OR', :item, "
                  u":name, getdate(), :item, 'LB', 1, :amount, :stat, '2902', 'CHEM')",
                  u"insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, "
                  u"RevenueID, ItemID, Description, Quantity, Amount, TransDate, UserID, "
                  u"StationID, PatientClass, StatFlag) values (:id, :hosp, :n, 'LB', :item, "
                  u":name, 1, :amount, getdate(), '2902', 'OR', 'I', :stat)"}) {
                if (auto ok = db.exec(sql, b); !ok)
                    return tl::unexpected(ok.error());
            }
        }
        if (auto ok = tx.commit(); !ok)
            return tl::unexpected(ok.error());
        return kExams;
    }

    // Takes the bench exams' requests away again, so every run finds the stay as the first
    // did (the number series keeps climbing).
    Result<void> undo()
    {
        Database &db = session.db;
        const Binds id{{QStringLiteral("id"), header.IdNum}};
        for (QStringView sql :
             {u"delete from STATION..tbNurseLogBook where IDNum = :id and RevenueID = 'LB' "
              u"and ItemID like 'BENCHLB%'",
              u"delete from STATION..tbNurseCommunicationfile where IDNum = :id and "
              u"RevenueID = 'LB' and ExamCode like 'BENCHLB%'"}) {
            if (auto ok = db.exec(sql, id); !ok)
                return tl::unexpected(ok.error());
        }
        return {};
    }

    BenchSession &session;
    hospitaldb::ScaleLandmarks landmarks;
    CommonExams exams;
    ProfileHeader header;
    QList<CommonExams::Order> orders;
};

} // namespace

QList<BenchPath> examRequestPaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks)
{
    auto state = std::make_shared<ExamRequestRun>(s, landmarks);
    BenchPath save;
    save.name = QStringLiteral("exam-request-save: 10 exams saved from the profile");
    save.program = QStringLiteral("CommonExams::save (the request checks of every line, ten "
                                  "request numbers, requests and logbook lines in one "
                                  "transaction)");
    save.bare = QStringLiteral("the numbers, requests and logbook lines in one transaction");
    save.targetMs = 100;
    save.prepare = [state] { return state->prepare(); };
    save.runProgram = [state] { return state->save(); };
    save.runBare = [state] { return state->bareSave(); };
    save.sameRows = true;
    save.afterRun = [state] { return state->undo(); };
    save.notes << QStringLiteral("Ten laboratory exams of the inpatient stay, the third STAT, "
                                 "as the exam request entry hands them to the profile; after "
                                 "every run the requests are taken away again, untimed.");
    return {save};
}

} // namespace kestrel::bench
