// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/PatientSelection.h"

#include "patients/modGlobals.h"
#include "core/components/clsPatientFinder.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "core/WindowsColor.h"

#include <QHash>

#include <algorithm>

namespace kestrel {

namespace {

const QString kPersonal = QStringLiteral("PERSONAL");

// The precautions the hospital colours, "1" (standard) to "5".
bool isKnownPrecaution(const QString &id)
{
    return id.size() == 1 && id.at(0) >= u'1' && id.at(0) <= u'5';
}

// The account a stay is charged to, as the current patient carries it: a stay without an
// account number is the patient's own, under his hospital number.
void takeAccount(CurrentPatientRecord &patient, const AccountInfo &account)
{
    const QString number = account.AccountNumber.trimmed();
    patient.AccountNumber = number.isEmpty() ? patient.HospNum.trimmed() : number;
    patient.Company =
        patient.AccountNumber.trimmed() == patient.HospNum.trimmed() ? kPersonal : account.Company;
}

} // namespace

QString patientTypeCode(PatientType type)
{
    switch (type) {
    case PatientType::Inpatient:
        return QStringLiteral("A");
    case PatientType::Outpatient:
        return QStringLiteral("O");
    case PatientType::Emergency:
        return QStringLiteral("E");
    }
    return {};
}

QString patientClassOf(PatientType type)
{
    return type == PatientType::Inpatient ? QStringLiteral("I") : QStringLiteral("O");
}

PatientSelection::Options PatientSelection::patientListOptions()
{
    return {QStringLiteral("No records found."), true};
}

PatientSelection::Options PatientSelection::newScheduleOptions()
{
    return {QStringLiteral("No Records Found."), false};
}

PatientSelection::PatientSelection(Session &session, clsPatientFinder *finder)
    : m_session(session)
    , m_finder(finder)
{
}

void PatientSelection::clearKeys()
{
    m_session.CurrentPatient.HospNum.clear();
    m_session.CurrentPatient.IdNum.clear();
}

Result<RowSet> PatientSelection::SearchPatients(PatientType type, const QString &lastName,
                                                const QString &hospNum, const QString &idNum,
                                                int limit)
{
    clearKeys();
    m_session.CurrentPatient.ListRow = 1;
    if (limit > 0)
        return PatientsPage(type, lastName, hospNum, idNum, std::nullopt, 0, limit);
    return m_session.db().call(u"STATION..sp_Get_OR_PatientList",
                               {patientTypeCode(type), lastName, hospNum, idNum});
}

Result<RowSet>
PatientSelection::SearchPatientsByAdmissionDate(PatientType type, const QString &lastName,
                                                const QString &hospNum, const QString &idNum,
                                                const QDate &start, const QDate &end, int limit)
{
    clearKeys();
    m_session.CurrentPatient.ListRow = 1;
    if (limit > 0)
        return PatientsPage(type, lastName, hospNum, idNum, std::make_pair(start, end), 0, limit);
    return m_session.db().call(u"STATION..sp_Get_OR_PatientList_by_AdmDate",
                               {patientTypeCode(type), lastName, hospNum, idNum, start, end});
}

Result<RowSet> PatientSelection::PatientsPage(PatientType type, const QString &lastName,
                                              const QString &hospNum, const QString &idNum,
                                              const AdmissionDays &days, int offset, int limit)
{
    return m_session.db().call(u"STATION..sp_Get_OR_PatientList_Page",
                               {patientTypeCode(type), lastName, hospNum, idNum,
                                days ? QVariant(days->first) : QVariant(QString()),
                                days ? QVariant(days->second) : QVariant(QString()), offset,
                                limit});
}

Result<int> PatientSelection::PatientsCount(PatientType type, const QString &lastName,
                                           const QString &hospNum, const QString &idNum,
                                           const AdmissionDays &days)
{
    return PatientsCount(m_session.db(), type, lastName, hospNum, idNum, days);
}

Result<int> PatientSelection::PatientsCount(Database &db, PatientType type,
                                           const QString &lastName, const QString &hospNum,
                                           const QString &idNum, const AdmissionDays &days)
{
    auto counted = db.call(
        u"STATION..sp_Get_OR_PatientList_Count",
        {patientTypeCode(type), lastName, hospNum, idNum,
         days ? QVariant(days->first) : QVariant(QString()),
         days ? QVariant(days->second) : QVariant(QString())});
    if (!counted)
        return tl::unexpected(counted.error());
    return counted->isEmpty() ? 0 : counted->at(0).value(0).toInt();
}

bool PatientSelection::SelectPatient(const QString &hospNum, const QString &idNum, bool inpatient,
                                     const Options &options)
{
    CurrentPatientRecord &patient = m_session.CurrentPatient;
    clearKeys();
    patient.PatientClass.clear();
    patient.Sex.clear();
    patient.AttendingDoctor.clear();
    patient.HospNum = hospNum;
    patient.IdNum = idNum;

    // A patient master that cannot be read leaves the name as it was; the stay decides.
    if (m_finder && m_finder->ValidatePatient(hospNum.trimmed())) {
        const PatientMasterRecord &master = m_finder->PatientMaster();
        patient.PatientName = master.LastName.trimmed() + QStringLiteral(", ") +
                              master.FirstName.trimmed() + u' ' + master.MiddleName.trimmed();
        patient.Address = master.Address.CompleteAddress;
        if (options.fillSexAndDoctor)
            patient.Sex = master.Sex;
    }

    const auto notFound = [&] {
        m_session.notifier().message(options.notFound, QStringLiteral("Notification"),
                                     Notifier::Icon::Information);
        return false;
    };
    if (inpatient) {
        if (!m_finder || !m_finder->ValidateAdmission(idNum))
            return notFound();
        const AdmissionRecord &stay = m_finder->Admission();
        patient.PatientClass = QStringLiteral("I");
        patient.RoomClassID = stay.Room.RoomClassID;
        patient.RoomID = stay.Room.RoomID;
        patient.RoomRate = stay.Room.RoomRate;
        patient.AdmissionDate = stay.AdmissionDate;
        patient.DischargeDate = stay.DischargeDate;
        takeAccount(patient, stay.Account);
        if (options.fillSexAndDoctor)
            patient.AttendingDoctor = stay.AttendingDoctor1.CompleteName;
    } else {
        clsOutPatient *visit = m_finder ? m_finder->PatientClass()->clsOutPatient() : nullptr;
        if (!visit || !visit->OpenOutPatient(idNum))
            return notFound();
        patient.PatientClass = QStringLiteral("O");
        patient.RoomClassID = QStringLiteral("A");
        patient.RoomID = QStringLiteral("OPD");
        patient.RoomRate = Money();
        patient.AdmissionDate = visit->AdmissionDate();
        patient.DischargeDate = visit->DischargeDate();
        takeAccount(patient, visit->Account());
        if (options.fillSexAndDoctor)
            patient.AttendingDoctor = visit->Doctor2().CompleteName;
    }

    if (m_session.hospital.clientname == u"QELM")
        m_session.PayServiceLabel = modGlobals::LoadPayServiceLabel(m_session, patient.IdNum);
    return true;
}

bool PatientSelection::IsCvorPatient(const QString &idNum)
{
    const QString id = idNum.trimmed();
    const QStringView sql = id.endsWith(u'B', Qt::CaseInsensitive)
                                ? u"select 1 as Tagged from PATIENT_DATA..tbOutPatient "
                                  u"where IDNum = :id and coalesce(isCVOR, 0) = 1"
                                : u"select 1 as Tagged from PATIENT_DATA..tbPatient "
                                  u"where IDNum = :id and coalesce(isCVOR, 0) = 1";
    auto row = m_session.db().selectOne(sql, {{QStringLiteral("id"), id}});
    if (!row) {
        m_session.notifier().errorBox(row.error());
        return false;
    }
    return row->has_value();
}

std::optional<QList<std::optional<QColor>>>
PatientSelection::PrecautionColors(const QStringList &idNums)
{
    Database &db = m_session.db();
    // The precautions of the stays, a few hundred in one statement, and the hospital's
    // colours once: a page of the list costs two or three statements, not one per row.
    constexpr qsizetype kStaysPerStatement = 250;
    QHash<QString, QString> precautionOf;
    for (qsizetype from = 0; from < idNums.size(); from += kStaysPerStatement) {
        QStringList marks;
        Binds binds;
        for (qsizetype i = from; i < std::min(idNums.size(), from + kStaysPerStatement); ++i) {
            const QString name = QStringLiteral("id%1").arg(i - from);
            marks << u':' + name;
            binds.insert(name, idNums.at(i).trimmed());
        }
        const QString sql = u"select IDNum, coalesce(PrecautionID, '1') as PrecautionID "
                            u"from PATIENT_DATA..tbPatient where IDNum in (" +
                            marks.join(u", ") + u')';
        auto rows = db.select(sql, binds);
        if (!rows) {
            m_session.notifier().errorBox(rows.error());
            return std::nullopt;
        }
        for (const Row &r : *rows)
            precautionOf.insert(r.trimmed(u"IDNum").toUpper(), r.trimmed(u"PrecautionID"));
    }
    auto known = db.select(u"select PrecautionID, Color from BUILD_FILE..tbCoPrecautions");
    if (!known) {
        m_session.notifier().errorBox(known.error());
        return std::nullopt;
    }
    QHash<QString, QColor> colorOf;
    for (const Row &r : *known)
        colorOf.insert(r.trimmed(u"PrecautionID"), windowsColor(quint32(r.integer(u"Color"))));

    QList<std::optional<QColor>> colors;
    colors.reserve(idNums.size());
    for (const QString &idNum : idNums) {
        QString id = precautionOf.value(idNum.trimmed().toUpper());
        if (id.isEmpty())
            id = QStringLiteral("1");
        if (isKnownPrecaution(id) && colorOf.contains(id))
            colors << colorOf.value(id);
        else
            colors << std::nullopt;
    }
    return colors;
}

} // namespace kestrel
