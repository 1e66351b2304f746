// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patient list and the selection of a stay, through the list's presenter and the patient
// selection, and as the bare statements they run.
#include "BenchPaths.h"

#include "hospitaldb/procedures/PatientListProcedures.h"
#include "patients/PatientList.h"
#include "core/db/Database.h"

#include <QCoreApplication>

#include <memory>

namespace kestrel::bench {

namespace {

// The admission as the patient component reads it when a stay is selected: the stay with its
// room, company, four doctors and admitting history.
const QString kAdmissionSql = QStringLiteral(
    "select p.IDNum, p.HospNum, p.AdmDate, p.DcrDate, p.BillingDate, p.AccountNum, p.RoomID, "
    "p.StationID, p.RecordStatus, p.AdmittingDr, p.AttendingDr1, p.AttendingDr2, "
    "p.AttendingDr3, r.RoomClassID, r.RoomRate, r.Description as RoomDescription, "
    "r.StationID as RoomStationID, c.Company, "
    "ad.LastName as AdmLast, ad.FirstName as AdmFirst, ad.MiddleName as AdmMiddle, "
    "d1.LastName as Dr1Last, d1.FirstName as Dr1First, d1.MiddleName as Dr1Middle, "
    "d2.LastName as Dr2Last, d2.FirstName as Dr2First, d2.MiddleName as Dr2Middle, "
    "d3.LastName as Dr3Last, d3.FirstName as Dr3First, d3.MiddleName as Dr3Middle, "
    "h.Precautions, h.ADMDiagnosis, h.ChiefComplaint, h.BriefHistory, h.PhysicalExamination "
    "from PATIENT_DATA..tbPatient p "
    "left join BUILD_FILE..tbCoRoom r on r.RoomID = p.RoomID "
    "left join BUILD_FILE..tbCoCompany c on c.AccountNum = p.AccountNum "
    "left join BUILD_FILE..tbCoDoctor ad on ad.DoctorID = p.AdmittingDr "
    "left join BUILD_FILE..tbCoDoctor d1 on d1.DoctorID = p.AttendingDr1 "
    "left join BUILD_FILE..tbCoDoctor d2 on d2.DoctorID = p.AttendingDr2 "
    "left join BUILD_FILE..tbCoDoctor d3 on d3.DoctorID = p.AttendingDr3 "
    "left join PATIENT_DATA..tbPatientHistory h on h.IDNum = p.IDNum "
    "where p.IDNum = :key");

const QString kMasterSql = QStringLiteral(
    "select HospNum, LastName, FirstName, MiddleName, Suffix, Sex, BirthDate, CivilStatus, "
    "BloodType, HouseStreet, Barangay, Town, Province, ZipCode, TelNum, PhilHealthNum "
    "from PATIENT_DATA..tbMaster where HospNum = :key");

struct PatientState
{
    explicit PatientState(BenchSession &s)
        : session(s)
        , list(s.session, &s.finder, nullptr, PatientList::Window::PatientList)
        , selection(s.session, &s.finder)
    {
    }
    BenchSession &session;
    PatientList list;
    PatientSelection selection;
};

BenchPath searchPath(const std::shared_ptr<PatientState> &state, PatientList::SearchBox box,
                     const QString &text, const QString &name)
{
    BenchPath p;
    p.name = name;
    p.program = QStringLiteral("PatientList::load, inpatients, the first page "
                               "(PatientSelection::SearchPatients)");
    p.bare = QStringLiteral("hospitaldb::patientListStatement of the first page");
    p.targetMs = 50;
    p.ratioTarget = true;
    p.sameRows = true;
    p.runProgram = [state, box, text]() -> Result<qint64> {
        PatientList &list = state->list;
        list.searchBoxEntered(box);
        list.setSearchText(box, text);
        list.load();
        return list.grid().holdsPatients() ? list.grid().gridRows() - 1 : 0;
    };
    // The user waits for the first page; the count of the whole list follows beside the
    // window and is let finish, untimed, before the next run.
    p.afterRun = [state]() -> Result<void> {
        while (state->list.isCounting())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return {};
    };
    hospitaldb::PatientListQuery query;
    query.type = patientTypeCode(PatientType::Inpatient);
    if (box == PatientList::LastName)
        query.lastName = text;
    else if (box == PatientList::HospitalNumber)
        query.hospNum = text;
    else
        query.idNum = text;
    query.limit = PatientList::kFirstPage;
    const hospitaldb::PatientListStatement statement =
        hospitaldb::patientListStatement(query, state->session.db.ordersTextByCodePoint());
    p.runBare = [state, statement]() -> Result<qint64> {
        auto rows = state->session.db.select(statement.sql, statement.binds);
        if (!rows)
            return tl::unexpected(rows.error());
        return rows->count();
    };
    if (state->session.session.settings.EnableNewPrecaution())
        p.notes << QStringLiteral("The hospital colours the rows by precaution "
                                  "(OREnableNewPrecaution): the list reads the precautions of "
                                  "the page and the colours, which the bare SQL leaves out.");
    return p;
}

} // namespace

QList<BenchPath> patientPaths(BenchSession &s, const hospitaldb::ScaleLandmarks &l)
{
    auto state = std::make_shared<PatientState>(s);
    QList<BenchPath> paths;
    paths << searchPath(state, PatientList::LastName, l.commonPrefix,
                        QStringLiteral("search by last name \"%1\"").arg(l.commonPrefix));
    paths << searchPath(state, PatientList::HospitalNumber, l.hospNum,
                        QStringLiteral("search by hospital number"));
    paths << searchPath(state, PatientList::AdmissionNumber, l.inpatientIdNum,
                        QStringLiteral("search by admission number"));

    BenchPath select;
    select.name = QStringLiteral("select a stay");
    select.program = QStringLiteral("PatientSelection::SelectPatient (clsPatientFinder)");
    select.bare = QStringLiteral("the patient master and the admission statements");
    select.targetMs = 50;
    select.ratioTarget = true;
    select.sameRows = true;
    select.runProgram = [state, l]() -> Result<qint64> {
        if (!state->selection.SelectPatient(l.inpatientHospNum, l.inpatientIdNum, true))
            return failure(QStringLiteral("stay %1 was not found").arg(l.inpatientIdNum));
        return 1;
    };
    select.runBare = [state, l]() -> Result<qint64> {
        Database &db = state->session.db;
        auto master = db.selectOne(kMasterSql, {{QStringLiteral("key"), l.inpatientHospNum}});
        if (!master)
            return tl::unexpected(master.error());
        auto stay = db.selectOne(kAdmissionSql, {{QStringLiteral("key"), l.inpatientIdNum}});
        if (!stay)
            return tl::unexpected(stay.error());
        return stay->has_value() ? 1 : 0;
    };
    if (s.session.hospital.clientname == u"QELM")
        select.notes << QStringLiteral("This hospital also reads the stay's pay/service label, "
                                       "which the bare SQL leaves out.");
    paths << select;
    return paths;
}

} // namespace kestrel::bench
