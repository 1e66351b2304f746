// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/LabRequestForms.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"
#include "profile/ProfileStore.h"
#include "reports/ReportService.h"

#include <QLocale>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

// How often the form's lines are written again while another workstation holds the table.
constexpr int kTries = 3;

QString stamp(const QDateTime &at)
{
    return at.isValid() ? QLocale::c().toString(at, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"))
                        : QString();
}

} // namespace

LabRequestForms::LabRequestForms(Session &session, Mode mode, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_mode(mode)
{
}

QString LabRequestForms::caption() const
{
    return m_mode == Mode::Print ? QStringLiteral("Print Laboratory Request Form")
                                 : QStringLiteral("Reprint Laboratory Request Form");
}

QStringList LabRequestForms::captions() const
{
    if (m_mode == Mode::ReprintWithCharges)
        return {QStringLiteral("CODE"),        QStringLiteral("DESCRIPTION"),
                QStringLiteral("CHARGE SLIP"), QStringLiteral("CHARGE DATE/TIME"),
                QStringLiteral("SECTION"),     QStringLiteral("TYPE"),
                QStringLiteral("SPECIMEN"),    QStringLiteral("DIALYSIS"),
                QStringLiteral("TRANSPLANT"),  QStringLiteral("REQUESTNUM"),
                QStringLiteral("NURSE"),       QStringLiteral("CNURSE")};
    return {QStringLiteral("Code"),    QStringLiteral("Description"), QStringLiteral("Request Date"),
            QStringLiteral("Requested By"), QStringLiteral("Section"), QStringLiteral("Type"),
            QStringLiteral("Specimen"), QStringLiteral("Remarks")};
}

QStringList LabRequestForms::cells(int row) const
{
    if (row < 0 || row >= m_exams.count())
        return {};
    const Row &r = m_exams.at(row);
    const QString date = stamp(r.dateTime(u"RequestDate"));
    if (m_mode == Mode::ReprintWithCharges) {
        const modGlobals::PatientBanner banner = modGlobals::ShowPatientBanner(m_session, m_idNum);
        return {r.trimmed(u"Code"),      r.trimmed(u"Description"), r.trimmed(u"RequestNum"),
                date,                    r.trimmed(u"Section"),     r.trimmed(u"Type"),
                r.trimmed(u"Specimen"),  banner.DialysisStatus,     banner.TransplantStatus,
                r.trimmed(u"RequestNum"), r.trimmed(u"RequestedBy"), m_session.employeeCode()};
    }
    return {r.trimmed(u"Code"),     r.trimmed(u"Description"), date,
            r.trimmed(u"RequestedBy"), r.trimmed(u"Section"),   r.trimmed(u"Type"),
            r.trimmed(u"Specimen"), r.trimmed(u"Remarks")};
}

bool LabRequestForms::open(const QString &idNum)
{
    m_idNum = idNum.trimmed();
    m_exams = RowSet();
    m_chosen.clear();
    Q_EMIT listChanged();
    if (m_idNum.isEmpty()) {
        m_session.notifier().message(QStringLiteral("Please select a patient first."),
                                     kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    auto rows = m_session.db().call(m_mode == Mode::Print
                                        ? u"STATION..sp_Nurse_Get_LaboratoryExamPosted"
                                        : u"STATION..Get_LaboratoryRequests",
                                    {m_idNum, QString(), QStringLiteral("0")});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    m_exams = std::move(*rows);
    m_chosen = QList<bool>(m_exams.count(), false);
    Q_EMIT listChanged();
    return true;
}

void LabRequestForms::setChosen(int row, bool chosen)
{
    if (row >= 0 && row < m_chosen.size())
        m_chosen[row] = chosen;
}

void LabRequestForms::chooseAll(bool chosen)
{
    m_chosen.fill(chosen);
}

bool LabRequestForms::print()
{
    Notifier &notifier = m_session.notifier();
    if (!m_chosen.contains(true)) {
        notifier.message(QStringLiteral("No laboratory exams was selected."), kNotification,
                         Notifier::Icon::Exclamation);
        return false;
    }
    Database &db = m_session.db();
    auto now = db.loadServerDate();
    if (!now)
        return notifier.errorBox(now.error()), false;
    auto header = ProfileStore(db).header(m_idNum, now->date());
    if (!header)
        return notifier.errorBox(header.error()), false;
    const modGlobals::PatientBanner banner = modGlobals::ShowPatientBanner(m_session, m_idNum);
    const QString accommodation =
        header->outpatient ? QString() : modGlobals::GetRoomClassification(m_session, header->Room);
    const QString user = m_session.employeeCode();
    Result<void> written;
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        written = [&]() -> Result<void> {
            Transaction tx = db.transaction(TransactionMode::Write);
            if (!tx.isActive())
                return tl::unexpected(tx.error());
            if (auto cleared = db.call(u"LABORATORY..Lab_CleanUp_tbLabRequestForm", {user});
                !cleared)
                return tl::unexpected(cleared.error());
            for (int row = 0; row < m_exams.count(); ++row) {
                if (!m_chosen.at(row))
                    continue;
                const Row &r = m_exams.at(row);
                auto line = db.call(
                    u"LABORATORY..Lab_SaveRequestForm",
                    {QStringLiteral("NS"), user, m_idNum, header->PatientName,
                     header->PatientAccount, header->Doctor1, header->Room, accommodation,
                     r.trimmed(u"Code"), r.trimmed(u"Description"), r.trimmed(u"Section"),
                     r.trimmed(u"Type"), r.trimmed(u"Specimen"), r.trimmed(u"RequestNum"),
                     stamp(r.dateTime(u"RequestDate")), r.trimmed(u"Type"),
                     header->outpatient ? QStringLiteral("Out-Patient")
                                        : QStringLiteral("In-Patient"),
                     r.trimmed(u"RequestedBy"), banner.TransplantStatus, banner.DialysisStatus});
                if (!line)
                    return tl::unexpected(line.error());
            }
            return tx.commit();
        }();
        if (written || !written.error().retryable())
            break;
    }
    if (!written)
        return notifier.errorBox(written.error()), false;
    if (!m_reports)
        return false;
    const QString file = m_mode == Mode::ReprintWithCharges
                             ? QStringLiteral("LabRequestForm_Reprint.RPT")
                             : QStringLiteral("LabRequestForm.RPT");
    if (!m_reports->OpenReport(file, {user}))
        return false;
    m_reports->ShowReport(false, m_mode == Mode::Print
                                     ? QStringLiteral("LABORATORY REQUEST FORM")
                                     : QStringLiteral("REPRINT LABORATORY REQUEST FORM"));
    return true;
}

} // namespace kestrel
