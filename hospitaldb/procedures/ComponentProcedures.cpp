// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures the companion components read through: the code lists, the drug lists, ICD-10 and
// the relative value scale, a stay's charge slips and issued medicines, the patient's panel,
// results and requests, the histopathology request and the statement of account.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/LikePattern.h"

namespace kestrel::hospitaldb {

namespace {

// Where each kind of code list is kept: its table, code and name columns, the column that
// travels with the pick (a dosage's frequency, a diet's remarks), whether codes carry a status,
// and for the examinations kept together, the department.
struct CodeList
{
    int kind;
    QStringView table;
    QStringView code;
    QStringView name;
    QStringView extra;
    bool hasStatus;
    QStringView department;
};

constexpr CodeList kCodeLists[] = {
    {6, u"BUILD_FILE..tbCoDiet", u"DietID", u"Diet", u"Remarks", true, u""},
    {9, u"BUILD_FILE..tbCoService", u"ServiceID", u"Service", u"", true, u""},
    {10, u"BUILD_FILE..tbCoStation", u"StationID", u"Station", u"", true, u""},
    {14, u"BUILD_FILE..tbCoDeptExam", u"ExamID", u"ExamName", u"", true, u"CT"},
    {16, u"BUILD_FILE..tbCoDosage", u"DosageID", u"Dosage", u"Frequency", true, u""},
    {17, u"BUILD_FILE..tbCoDeptExam", u"ExamID", u"ExamName", u"", true, u"HS"},
    {18, u"BUILD_FILE..tbCoLabExam", u"LabExamID", u"LabExam", u"LabSectionID", false, u""},
    {20, u"BUILD_FILE..tbCoDeptExam", u"ExamID", u"ExamName", u"", true, u"NU"},
    {23, u"BUILD_FILE..tbCoDeptExam", u"ExamID", u"ExamName", u"", true, u"PT"},
    {25, u"BUILD_FILE..tbCoDeptExam", u"ExamID", u"ExamName", u"", true, u"PA"},
    {27, u"BUILD_FILE..tbCoUltraExam", u"UltraExamID", u"UltraExam", u"", false, u""},
    {29, u"BUILD_FILE..tbCoXrayExam", u"XrayExamID", u"XrayExam", u"", false, u""},
};

const QString kBackslashEscape = QStringLiteral(" escape '\\'");

// BUILD_FILE..sp_Search_CodeList kind, typed: the codes of one list whose code or name begins
// with what was typed (everything when nothing was), by name. Columns ResultCode, Description,
// Extra.
Result<RowSet> searchCodeList(Database &db, const ProcedureArgs &args)
{
    const int kind = args.text(0).toInt();
    const CodeList *list = nullptr;
    for (const CodeList &l : kCodeLists) {
        if (l.kind == kind)
            list = &l;
    }
    if (!list)
        return failure(QStringLiteral("There is no code list of kind %1.").arg(args.text(0)));
    // Table and column names come from the fixed list above; only values are bound.
    const QString extra = list->extra.isEmpty() ? QStringLiteral("''") : list->extra.toString();
    QString sql = u"select " + list->code + u" as ResultCode, " + list->name +
                  u" as Description, " + extra + u" as Extra from " + list->table + u" where (" +
                  list->code + u" like :typed" + kBackslashEscape + u" or " + list->name +
                  u" like :typed2" + kBackslashEscape + u')';
    Binds binds{{QStringLiteral("typed"), likePrefix(args.text(1))},
                {QStringLiteral("typed2"), likePrefix(args.text(1))}};
    if (list->hasStatus) {
        sql += QStringLiteral(" and Status = :active");
        binds.insert(QStringLiteral("active"), QStringLiteral("A"));
    }
    if (!list->department.isEmpty()) {
        sql += QStringLiteral(" and DepartmentID = :department");
        binds.insert(QStringLiteral("department"), list->department.toString());
    }
    sql += u" order by " + list->name + u", " + list->code;
    return db.select(sql, binds);
}

// INVENTORY..sp_Search_DrugList location, typed, by generic ("1"), drugs ("1") or supplies
// ("0"): the active items stocked at the location whose code, brand or generic name begins
// with what was typed, by generic or brand name. Without a location, the items stocked at the
// drug locations or at the supply locations.
Result<RowSet> searchDrugList(Database &db, const ProcedureArgs &args)
{
    const QString location = args.text(0);
    const bool byGeneric = args.text(2) == u"1";
    const bool drugs = args.text(3) != u"0";
    QString sql = QStringLiteral(
        "select m.ItemID, m.ItemName, m.GenericName, m.ClassificationName, m.Description, "
        "i.LocationID, i.OnHand, i.SellingPriceIn from INVENTORY..tbInvMaster m "
        "join INVENTORY..tbInvent i on i.ItemID = m.ItemID "
        "where m.Status = :active and (m.ItemID like :typed escape '\\' "
        "or m.ItemName like :typed2 escape '\\' or m.GenericName like :typed3 escape '\\')");
    const QString typed = likePrefix(args.text(1));
    Binds binds{{QStringLiteral("active"), QStringLiteral("A")},
                {QStringLiteral("typed"), typed},
                {QStringLiteral("typed2"), typed},
                {QStringLiteral("typed3"), typed}};
    if (!location.isEmpty()) {
        sql += QStringLiteral(" and i.LocationID = :location");
        binds.insert(QStringLiteral("location"), location);
    } else {
        sql += QStringLiteral(" and i.LocationID in (select LocationID from "
                              "INVENTORY..tbInvLocation where InventoryType = :type)");
        binds.insert(QStringLiteral("type"), drugs ? QStringLiteral("D") : QStringLiteral("C"));
    }
    sql += byGeneric ? QStringLiteral(" order by m.GenericName, m.ItemName, i.LocationID")
                     : QStringLiteral(" order by m.ItemName, m.ItemID, i.LocationID");
    return db.select(sql, binds);
}

// BUILD_FILE..sp_Search_ICD10 typed: the ICD-10 codes that are, or begin with, what was typed,
// or whose description begins with it.
Result<RowSet> searchIcd10(Database &db, const ProcedureArgs &args)
{
    const QString typed = likePrefix(args.text(0));
    return db.select(u"select ICDCode, Description from BUILD_FILE..tbCoICD10 "
                     u"where ICDCode like :typed escape '\\' "
                     u"or Description like :typed2 escape '\\' order by ICDCode",
                     {{QStringLiteral("typed"), typed}, {QStringLiteral("typed2"), typed}});
}

// BUILD_FILE..sp_Search_RVS typed: the relative value scale, by code.
Result<RowSet> searchRvs(Database &db, const ProcedureArgs &args)
{
    const QString typed = likePrefix(args.text(0));
    return db.select(u"select RVSCode, RVSDescription, RVSPoints from BUILD_FILE..tbCoRVS "
                     u"where RVSCode like :typed escape '\\' "
                     u"or RVSDescription like :typed2 escape '\\' order by RVSCode",
                     {{QStringLiteral("typed"), typed}, {QStringLiteral("typed2"), typed}});
}

// STATION..sp_List_ChargeSlips IdNum, station: the charge slips of a stay (of one station when
// given), each with its department, lines, amount and day, newest first; revoked lines left out.
Result<RowSet> listChargeSlips(Database &db, const ProcedureArgs &args)
{
    QString sql = QStringLiteral(
        "select ReferenceNum, min(RevenueID) as RevenueID, count(*) as Lines, "
        "sum(Amount) as Amount, min(TransDate) as TransDate from STATION..tbNurseLogBook "
        "where IDNum = :id and RecordStatus <> 'R' and ReferenceNum <> ''");
    Binds binds{{QStringLiteral("id"), args.text(0)}};
    if (!args.text(1).isEmpty()) {
        sql += QStringLiteral(" and StationID = :station");
        binds.insert(QStringLiteral("station"), args.text(1));
    }
    sql += QStringLiteral(" group by ReferenceNum order by min(TransDate) desc, ReferenceNum");
    return db.select(sql, binds);
}

// INVENTORY..sp_List_IssuedMedicines IdNum, drugs ("1") or supplies ("0"), by drug ("1"): what
// the stock card shows as issued to the stay from the drug (or supply) locations and not yet
// returned, per charge slip and item (per item when listed by drug), with the item's name and
// price and stock at its location.
Result<RowSet> listIssuedMedicines(Database &db, const ProcedureArgs &args)
{
    const bool drugs = args.text(1) != u"0";
    const bool byDrug = args.text(2) == u"1";
    const QString slip = byDrug ? QStringLiteral("max(c.RefNum)") : QStringLiteral("c.RefNum");
    QString sql = u"select " + slip +
                  u" as Chargeslip, c.ItemID, m.ItemName, c.LocationID, "
                  u"sum(case when c.TransType = 'C' then -c.Quantity else c.Quantity end) "
                  u"as IssuedQuantity, max(i.SellingPriceIn) as SellingPriceIn, "
                  u"max(i.OnHand) as OnHand "
                  u"from INVENTORY..tbInvStockCard c "
                  u"join INVENTORY..tbInvMaster m on m.ItemID = c.ItemID "
                  u"join INVENTORY..tbInvLocation l on l.LocationID = c.LocationID "
                  u"left join INVENTORY..tbInvent i on i.ItemID = c.ItemID "
                  u"and i.LocationID = c.LocationID where c.IDNum = :id "
                  u"and l.InventoryType = :type";
    const Binds binds{{QStringLiteral("id"), args.text(0)},
                      {QStringLiteral("type"), drugs ? QStringLiteral("D") : QStringLiteral("C")}};
    // A return is booked under the credit memo, against the slip it came from.
    sql += byDrug ? QStringLiteral(" group by c.ItemID, m.ItemName, c.LocationID")
                  : QStringLiteral(" group by c.RefNum, c.ItemID, m.ItemName, c.LocationID");
    sql += QStringLiteral(" having sum(case when c.TransType = 'C' then -c.Quantity "
                          "else c.Quantity end) > 0 order by 1, m.ItemName");
    return db.select(sql, binds);
}

// PATIENT_DATA..sp_PatientInfo IdNum: the stay, its patient and attending doctor as the
// information panel shows them (in-patients first, then out-patients).
Result<RowSet> patientInfo(Database &db, const ProcedureArgs &args)
{
    const Binds binds{{QStringLiteral("id"), args.text(0)}};
    const QString person =
        QStringLiteral("M.LastName, M.FirstName, M.MiddleName, M.Sex, M.BirthDate, M.CivilStatus, "
                       "M.BloodType, M.HouseStreet, M.Barangay, M.Town, M.Province, "
                       "D.LastName as DoctorLastName, D.FirstName as DoctorFirstName");
    auto in = db.select(
        QString(
            u"select P.IDNum, P.HospNum, 'I' as PatientClass, P.AdmDate, P.RoomID, P.StationID, "
            u"P.AccountNum, " +
            person +
            u" from PATIENT_DATA..tbPatient P "
            u"join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
            u"left join BUILD_FILE..tbCoDoctor D on D.DoctorID = P.AttendingDr1 "
            u"where P.IDNum = :id"),
        binds);
    if (!in || !in->isEmpty())
        return in;
    return db.select(
        QString(u"select P.IDNum, P.HospNum, 'O' as PatientClass, P.AdmDate, '' as RoomID, "
                u"'' as StationID, P.AccountNum, " +
                person +
                u" from PATIENT_DATA..tbOutPatient P "
                u"join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
                u"left join BUILD_FILE..tbCoDoctor D on D.DoctorID = P.DoctorID1 "
                u"where P.IDNum = :id"),
        binds);
}

// STATION..sp_StatementOfAccount IdNum: every charge of the stay that is not revoked, by day,
// with its department, charge slip, item, quantity and amount.
Result<RowSet> statementOfAccount(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select TransDate, RevenueID, ReferenceNum, ItemID, Description, Quantity, "
                     u"Amount from STATION..tbNurseLogBook where IDNum = :id "
                     u"and RecordStatus <> 'R' order by TransDate, LogBookID",
                     {{QStringLiteral("id"), args.text(0)}});
}

// LABORATORY..sp_Nurse_Results IdNum, HospNum: released results of a stay, or of every stay
// of a patient when the stay is empty, by section and test.
Result<RowSet> nurseResults(Database &db, const ProcedureArgs &args)
{
    const bool byStay = !args.text(0).isEmpty();
    const QString sql =
        u"select IdNum, RequestNum, SectionID, TestName, Result, Unit, NormalRange, Flag, "
        u"RequestDate, ResultDate, MedTech from LABORATORY..tbLabResult where " +
        (byStay ? QStringLiteral("IdNum = :key") : QStringLiteral("HospNum = :key")) +
        u" and RecordStatus <> 'R' and ResultDate is not null "
        u"order by IdNum, SectionID, ResultDate, TestName";
    return db.select(sql, {{QStringLiteral("key"), byStay ? args.text(0) : args.text(1)}});
}

// STATION..sp_Nurse_Requests type, IdNum: the stay's requests of one kind, oldest first.
// Type "4" is the vital signs taken; any other type lists the requests the stations sent to
// the departments.
Result<RowSet> nurseRequests(Database &db, const ProcedureArgs &args)
{
    const Binds binds{{QStringLiteral("id"), args.text(1)}};
    if (args.text(0) == u"4")
        return db.select(u"select * from STATION..tbNurseVitalSigns where IDNUM = :id "
                         u"order by TRANSDATE, TransNum",
                         binds);
    return db.select(u"select * from STATION..tbNurseCommunicationfile where IDNum = :id "
                     u"order by RequestDate, RequestNum",
                     binds);
}

// LABORATORY..sp_Histopath_Exams: the laboratory's histopathology and cytology examinations.
Result<RowSet> histopathExams(Database &db, const ProcedureArgs &)
{
    return db.select(u"select LabExamID, LabExam from BUILD_FILE..tbCoLabExam "
                     u"where LabSectionID = :section order by LabExam, LabExamID",
                     {{QStringLiteral("section"), QStringLiteral("HIS")}});
}

// STATION..sp_Histopath_Request IdNum, HospNum, StationID, ExamID, ExamName: sends the
// laboratory a histopathology request for the stay under the next "HP" request number, dated
// now, and answers that number (column RequestNum).
Result<RowSet> histopathRequest(Database &db, const ProcedureArgs &args)
{
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto last = db.scalar(u"select max(RequestNum) from STATION..tbNurseCommunicationfile "
                          u"where RequestNum like :prefix",
                          {{QStringLiteral("prefix"), QStringLiteral("HP%")}});
    if (!last)
        return tl::unexpected(last.error());
    const qint64 next = last->toString().mid(2).toLongLong() + 1;
    const QString number = QStringLiteral("HP%1").arg(next, 8, 10, QLatin1Char('0'));
    auto written = db.exec(
        u"insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, HospNum, StationID, "
        u"ExamCode, ExamName, RequestDate, RecordStatus) values (:number, :id, :hosp, :station, "
        u":exam, :name, getdate(), '')",
        {{QStringLiteral("number"), number},
         {QStringLiteral("id"), args.text(0)},
         {QStringLiteral("hosp"), args.text(1)},
         {QStringLiteral("station"), args.text(2)},
         {QStringLiteral("exam"), args.text(3)},
         {QStringLiteral("name"), args.text(4)}});
    if (!written)
        return tl::unexpected(written.error());
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    RowSet answer(QStringList{QStringLiteral("RequestNum")});
    answer.append(QVariantList{number});
    return answer;
}

} // namespace

void registerComponentProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("BUILD_FILE..sp_Search_CodeList"), 2, searchCodeList);
    registry.add(QStringLiteral("INVENTORY..sp_Search_DrugList"), 4, searchDrugList);
    registry.add(QStringLiteral("BUILD_FILE..sp_Search_ICD10"), 1, searchIcd10);
    registry.add(QStringLiteral("BUILD_FILE..sp_Search_RVS"), 1, searchRvs);
    registry.add(QStringLiteral("STATION..sp_List_ChargeSlips"), 2, listChargeSlips);
    registry.add(QStringLiteral("INVENTORY..sp_List_IssuedMedicines"), 3, listIssuedMedicines);
    registry.add(QStringLiteral("PATIENT_DATA..sp_PatientInfo"), 1, patientInfo);
    registry.add(QStringLiteral("STATION..sp_StatementOfAccount"), 1, statementOfAccount);
    registry.add(QStringLiteral("LABORATORY..sp_Nurse_Results"), 2, nurseResults);
    registry.add(QStringLiteral("STATION..sp_Nurse_Requests"), 2, nurseRequests);
    registry.add(QStringLiteral("LABORATORY..sp_Histopath_Exams"), 0, histopathExams);
    registry.add(QStringLiteral("STATION..sp_Histopath_Request"), 5, histopathRequest);
}

} // namespace kestrel::hospitaldb
