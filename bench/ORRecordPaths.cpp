// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR record: one signed operation's record opened as its window opens it and saved again
// (validation, the user's right, one transaction), and the same as bare statements.
#include "BenchPaths.h"

#include "core/db/Database.h"
#include "orrecord/ORRecordEntry.h"

#include <memory>

namespace kestrel::bench {

namespace {

struct ORRecordState
{
    explicit ORRecordState(BenchSession &s)
        : session(s)
    {
    }

    // The latest operation of the hospital, completed the way the OR fills it and signed by
    // its five people, so the save runs every check and keeps the signatures.
    Result<void> prepare()
    {
        Database &db = session.db;
        auto row = db.selectOne(u"select OperatingNum, IdNum, HospNum, RefNum, Procedures "
                                u"from STATION..tbORMasterFile order by OperatingNum desc "
                                u"limit 1");
        if (!row)
            return tl::unexpected(row.error());
        if (!*row)
            return failure(QStringLiteral("the hospital has no OR records"));
        opening.operatingNum = (*row)->integer(u"OperatingNum");
        opening.idNum = (*row)->trimmed(u"IdNum");
        opening.hospNum = (*row)->trimmed(u"HospNum");
        opening.refNum = (*row)->trimmed(u"RefNum");
        // The generator draws an operation's item from every department's items; the OR
        // records an operation, so the record gets the OR's first operation where it has none.
        auto procedure = db.scalar(u"select coalesce((select O.OtherRevenueID from "
                                   u"BUILD_FILE..tbCoOtherRevenue O where O.OtherRevenueID = :p "
                                   u"and O.SectionID = 'PRC'), (select min(OtherRevenueID) from "
                                   u"BUILD_FILE..tbCoOtherRevenue where SectionID = 'PRC'))",
                                   {{QStringLiteral("p"), (*row)->trimmed(u"Procedures")}});
        if (!procedure)
            return tl::unexpected(procedure.error());
        opening.procedureId = procedure->toString().trimmed();
        opening.procedureName = opening.procedureId;
        auto ok = db.exec(
            u"update STATION..tbORMasterFile set Procedures = :procedure, PHICCode = '47600', "
            u"Anesthesia = 'GENERAL', "
            u"SnurseID1 = '2902', CnurseID1 = '2903', ORNumber = 'OR ROOM 1', "
            u"AnesthesiaDate = OperationDate, CuttingDate = OperationDate, "
            u"ClosingDate = OperationDate, OperationDateEnd = OperationDate, "
            u"PatientIn = '2026-01-05 08:00:00', AnesthesiaTime = '2026-01-05 08:10:00', "
            u"OperationTime1 = '2026-01-05 08:20:00', OperationTime2 = '2026-01-05 09:20:00', "
            u"PatientOut = '2026-01-05 09:40:00', AnesDoneDate = OperationDate, "
            u"AnesthesiaEndTime = '2026-01-05 09:30:00', SpecimenInDate = OperationDate, "
            u"SpecimenInTime = '2026-01-05 08:20:00', SpecimenOutDate = OperationDate, "
            u"SpecimenOutTime = '2026-01-05 09:20:00', SurgeonSignID = '2901', "
            u"SurgeonDateSign = getdate(), ASurgeonSignID = '2901', ASurgeonDateSign = getdate(), "
            u"AnestSignID = '2901', AnesDateSign = getdate(), CNurseSignID = '2903', "
            u"CnurseDateSign = getdate(), SNurseSignID = '2902', SnurseDateSign = getdate() "
            u"where OperatingNum = :n",
            {{QStringLiteral("n"), opening.operatingNum},
             {QStringLiteral("procedure"), opening.procedureId}});
        if (!ok)
            return tl::unexpected(ok.error());
        entry = std::make_unique<ORRecordEntry>(session.session);
        return {};
    }

    Result<qint64> program()
    {
        session.notifier.takeBoxes();
        if (!entry->open(opening) || !entry->save())
            return failure(QStringLiteral("the record was not saved: ") +
                           session.notifier.takeBoxes().join(QStringLiteral("; ")));
        session.notifier.takeBoxes();
        return 1;
    }

    // What the program reads and writes, as bare statements in one transaction.
    Result<qint64> bare()
    {
        Database &db = session.db;
        const Binds n{{QStringLiteral("n"), opening.operatingNum}};
        auto record = db.selectOne(u"select * from STATION..tbORMasterFile where "
                                   u"OperatingNum = :n",
                                   n);
        if (!record)
            return tl::unexpected(record.error());
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        auto ok = db.exec(u"update STATION..tbORMasterFile set UserID = '2901', "
                          u"TransDate = getdate(), Remarks = Remarks where OperatingNum = :n",
                          n);
        if (!ok)
            return tl::unexpected(ok.error());
        if (auto done = tx.commit(); !done)
            return tl::unexpected(done.error());
        return 1;
    }

    BenchSession &session;
    OROpening opening;
    std::unique_ptr<ORRecordEntry> entry;
};

} // namespace

QList<BenchPath> orRecordPaths(BenchSession &s)
{
    auto state = std::make_shared<ORRecordState>(s);
    BenchPath save;
    save.name = QStringLiteral("open and save a signed OR record");
    save.program = QStringLiteral("ORRecordEntry::open (the stay, the rooms, the record with its "
                                  "names, signatures and counts) and ORRecordEntry::save (the "
                                  "checks, right 36, the save procedure and the column updates "
                                  "in one transaction)");
    save.bare = QStringLiteral("the record read and one update in one transaction");
    save.targetMs = 100;
    save.prepare = [state] { return state->prepare(); };
    save.runProgram = [state] { return state->program(); };
    save.runBare = [state] { return state->bare(); };
    save.sameRows = true;
    save.notes << QStringLiteral("The hospital's latest operation, completed and signed by its "
                                 "five people before the runs; every run saves it again as the "
                                 "supervisor, the signatures kept.");
    return {save};
}

} // namespace kestrel::bench
