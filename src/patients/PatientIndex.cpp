// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/PatientIndex.h"

#include "patients/modGlobals.h"
#include "core/components/clsPatientFinder.h"
#include "core/components/clsTarvikClasses.h"
#include "core/db/Database.h"
#include "core/db/LikePattern.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QDir>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

// The surgical memo window, and the one the "VZ" hospital has in its place.
const QString kSurgicalMemo = QStringLiteral("frmSurgicalMemo");
const QString kSurgicalMemoVZ = QStringLiteral("frmSurgicalMemo_VZ");

// A name search lists at most this many patients; a longer list is typed more fully.
constexpr int kMostMatches = 500;

bool hasDigit(const QString &text)
{
    for (const QChar c : text) {
        if (c.isDigit())
            return true;
    }
    return false;
}

} // namespace

PatientIndex::PatientIndex(Session &session, clsPatientFinder *finder, clsCF4 *cf4, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_finder(finder)
    , m_cf4(cf4)
{
}

QString PatientIndex::guideline()
{
    return QStringLiteral("Guideline: Enter hospital # or type in the name of the patient "
                          "(Lastname, FirstName, MiddleName) then press enter to continue...");
}

int PatientIndex::ageInYears(const QDate &birth, const QDate &day)
{
    if (!birth.isValid() || !day.isValid() || day < birth)
        return -1;
    int years = day.year() - birth.year();
    if (day.month() < birth.month() || (day.month() == birth.month() && day.day() < birth.day()))
        --years;
    return years;
}

bool PatientIndex::enter(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return false;
    if (hasDigit(text))
        return validatePatient(text);

    const QList<PatientMatch> matches = findByName(text);
    if (matches.isEmpty()) {
        clear();
        m_session.notifier().message(QStringLiteral("No patient named \"%1\" was found.").arg(text),
                                     kNotification, Notifier::Icon::Information);
        return false;
    }
    if (matches.size() == 1)
        return validatePatient(matches.first().HospNum);
    const std::optional<int> picked = m_chooser ? m_chooser(matches) : std::nullopt;
    if (!picked || *picked < 0 || *picked >= matches.size())
        return false;
    return validatePatient(matches.at(*picked).HospNum);
}

QList<PatientMatch> PatientIndex::findByName(const QString &typed)
{
    QStringList parts = typed.split(u',');
    while (parts.size() < 3)
        parts << QString();
    auto rows = m_session.db().select(
        QStringLiteral("select HospNum, LastName, FirstName, MiddleName, Sex, BirthDate "
                       "from PATIENT_DATA..tbMaster "
                       "where LastName like :last escape '\\' and FirstName like :first "
                       "escape '\\' and MiddleName like :middle escape '\\' "
                       "order by LastName, FirstName, MiddleName, HospNum limit %1")
            .arg(kMostMatches),
        {{QStringLiteral("last"), likePrefix(parts.at(0))},
         {QStringLiteral("first"), likePrefix(parts.at(1))},
         {QStringLiteral("middle"), likePrefix(parts.at(2))}});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return {};
    }
    QList<PatientMatch> matches;
    for (const Row &r : *rows) {
        matches.append({r.trimmed(u"HospNum"),
                        completeName(r.trimmed(u"LastName"), r.trimmed(u"FirstName"),
                                     r.trimmed(u"MiddleName")),
                        r.date(u"BirthDate").toString(QStringLiteral("MM/dd/yyyy")),
                        r.trimmed(u"Sex")});
    }
    return matches;
}

bool PatientIndex::validatePatient(const QString &hospNum)
{
    const QString wanted = hospNum.trimmed();
    if (!m_finder || !m_finder->ValidatePatient(wanted)) {
        clear();
        m_session.notifier().message(
            QStringLiteral("No patient with hospital # %1 was found.").arg(wanted), kNotification,
            Notifier::Icon::Information);
        return false;
    }
    const PatientMasterRecord &p = m_finder->PatientMaster();
    m_hospNum = p.HospitalNumber;
    m_fields.PatientName = p.LastName.trimmed() + QStringLiteral(", ") + p.FirstName.trimmed() +
                           u' ' + p.MiddleName.trimmed();
    m_fields.Address = p.Address.CompleteAddress;
    m_fields.BirthDate = p.BirthDate.toString(QStringLiteral("MM/dd/yyyy"));
    const QDateTime serverNow = modGlobals::LoadServerDate(m_session);
    const int age =
        ageInYears(p.BirthDate, serverNow.isValid() ? serverNow.date() : m_session.ServerDate);
    m_fields.Age = age < 0 ? QString() : QString::number(age);
    m_fields.Sex = p.Sex;
    m_fields.BloodType = p.BloodType;
    m_procedures = listOf(u"Station..sp_Get_Patient_PostedProcedure");
    m_updates = listOf(u"Station..Get_ClinicalOperations");
    Q_EMIT changed();
    return true;
}

bool PatientIndex::refresh()
{
    return !m_hospNum.isEmpty() && validatePatient(m_hospNum);
}

void PatientIndex::clear()
{
    m_hospNum.clear();
    m_fields = PatientIndexFields();
    m_procedures = RowSet();
    m_updates = RowSet();
    Q_EMIT changed();
}

RowSet PatientIndex::listOf(QStringView procedure)
{
    auto rows = m_session.db().call(procedure, {m_hospNum});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return RowSet();
    }
    return std::move(*rows);
}

void PatientIndex::openProcedure(int row)
{
    if (row < 0 || row >= m_procedures.count())
        return;
    const Row &procedure = m_procedures.at(row);
    const QString idNum = procedure.trimmed(u"Adm. #");

    // The CF4 of the procedure's stay first, where the hospital keeps one; its window says
    // what is still missing.
    if (m_session.settings.ShowCF4() && m_cf4 && !idNum.isEmpty()) {
        m_cf4->IdNum = idNum;
        m_cf4->StationID = m_session.StationID;
        m_cf4->Title = QStringLiteral("PhilHealth CF4 Entries ") + QStringLiteral(" - ") +
                       m_fields.PatientName + QStringLiteral(" ( ") + idNum + QStringLiteral(" )");
        m_cf4->ShowPrint = m_session.settings.NursePrintCF4();
        m_cf4->HospitalName = m_session.hospital.Company;
        m_cf4->HospitalAddress = m_session.hospital.Address1;
        m_cf4->ReportPath = QDir(m_session.ApplicationPath).filePath(QStringLiteral("Reports"));
        m_cf4->EmployeeCode = m_session.employeeCode();
        m_cf4->ShowEntry();
    }

    QVariantMap values;
    for (const QString &field :
         {QStringLiteral("ProcedureID"), QStringLiteral("ProcedureName"), QStringLiteral("RefNum"),
          QStringLiteral("OperatingNum"), QStringLiteral("ClinicalRevenueID")})
        values.insert(field, procedure.trimmed(field));
    openMemo(values, idNum);
}

void PatientIndex::newProcedure()
{
    if (m_hospNum.isEmpty())
        return;
    openMemo({}, m_idNum);
}

void PatientIndex::openMemo(const QVariantMap &values, const QString &idNum)
{
    if (!m_openWindow)
        return;
    WindowRequest request;
    request.command = QStringLiteral("frmPatientIndex");
    request.caption = QStringLiteral("Surgical Procedures Entry");
    request.modal = true;
    request.patient.HospNum = m_hospNum;
    request.patient.IdNum = idNum;
    request.patient.PatientName = m_fields.PatientName;
    request.values = values;
    request.values.insert(QStringLiteral("HospNum"), m_hospNum);
    request.values.insert(QStringLiteral("IdNum"), idNum);
    const bool vz =
        m_session.hospital.clientname.trimmed().compare(u"VZ", Qt::CaseInsensitive) == 0;
    m_openWindow(vz ? kSurgicalMemoVZ : kSurgicalMemo, request);
}

} // namespace kestrel
