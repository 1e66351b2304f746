// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/CommonExams.h"

#include "charging/requests/RequestStore.h"
#include "core/AccessRights.h"
#include "core/db/Database.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "examrequests/ExamRequestGuards.h"
#include "patients/modGlobals.h"
#include "profile/results/ExamList.h"

#include <QLocale>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

// How often a save is tried while other workstations keep the stay's rows busy.
constexpr int kTries = 3;

QString str(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

const QList<CommonExams::Panel> &CommonExams::panels()
{
    static const QList<Panel> list{
        {QStringLiteral("LB"), QStringLiteral("Laboratory"), QStringLiteral("lstListLaboratory"),
         QStringLiteral("STATION..LaboratoryExams")},
        {QStringLiteral("XR"), QStringLiteral("X-ray"), QStringLiteral("lstListXray"),
         QStringLiteral("STATION..XrayExams")},
        {QStringLiteral("US"), QStringLiteral("Ultrasound"), QStringLiteral("lstListUltra"),
         QStringLiteral("STATION..UltraExams")},
        {QStringLiteral("OT"), QStringLiteral("Others"), QStringLiteral("lstListOthers"),
         QStringLiteral("STATION..OtherExams")},
    };
    return list;
}

QString CommonExams::departmentName(const QString &department)
{
    for (const ExamDepartment &d : ExamList::departments()) {
        if (d.code == department)
            return d.name;
    }
    for (const Panel &p : panels()) {
        if (p.department == department)
            return p.caption;
    }
    return department;
}

bool CommonExams::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return false;
}

Result<QString> CommonExams::waitingRequest(Database &db, const QString &idNum,
                                            const QString &department, const QString &code)
{
    auto row =
        db.selectOne(u"select RequestNum, RequestDate from STATION..tbNurseCommunicationfile "
                     u"where IDNum = :id and ExamCode = :code and RevenueID = :dept "
                     u"and RecordStatus = '' order by RequestDate limit 1",
                     {{str("id"), idNum}, {str("code"), code}, {str("dept"), department}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return QString();
    return (*row)->trimmed(u"RequestNum") + u'|' +
           QLocale::c().toString((*row)->dateTime(u"RequestDate"),
                                 QStringLiteral("MM/dd/yyyy hh:mm AP"));
}

Result<bool> CommonExams::restrictedForCashBasis(const QString &department, const QString &code)
{
    // Only the laboratory, X-ray and ultrasound masters say which exams a cash-basis patient
    // may have; the other departments' exams wait for a deposit.
    QStringView sql;
    if (department == u"LB")
        sql = u"select coalesce(Unrestricted, 0) as Value from BUILD_FILE..tbCoLabExam "
              u"where LabExamID = :code";
    else if (department == u"XR")
        sql = u"select coalesce(Unrestricted, 0) as Value from BUILD_FILE..tbCoXrayExam "
              u"where XrayExamID = :code";
    else if (department == u"US")
        sql = u"select coalesce(Unrestricted, 0) as Value from BUILD_FILE..tbCoUltraExam "
              u"where UltraExamID = :code";
    else
        return true;
    auto value = m_session.db().scalar(sql, {{str("code"), code}});
    if (!value)
        return tl::unexpected(value.error());
    return value->toInt() != 1;
}

bool CommonExams::add(const ProfileHeader &header, const QString &department, const QString &code,
                      const QString &exam)
{
    Notifier &notifier = m_session.notifier();
    const QString id = header.IdNum.trimmed();
    const QString item = code.trimmed();
    const bool laboratory = department == u"LB";
    if (!HasAccessRight(m_session, u"1")) {
        const QString what = laboratory            ? QStringLiteral("Laboratory")
                             : department == u"XR" ? QStringLiteral("X-ray")
                             : department == u"US" ? QStringLiteral("Ultrasound")
                                                   : QStringLiteral("Diagnostic");
        return refuse(u"Sorry, you don't have access right to Request " + what + u" Exams.");
    }
    if (laboratory && header.outpatient && m_session.settings.NoOPDLab())
        return refuse(QStringLiteral("Sorry, you are not allowed to send Laboratory requests for "
                                     "outpatients.\r\nFor queries, you may call IT department."));
    if (modGlobals::IsClearedByDepartment(m_session, id, department))
        return refuse(u"Patient is already cleared by (" + departmentName(department) +
                      u" Department). " +
                      u"If you have requests to make, notify the Billing staff" +
                      u" immediately for further instructions.");
    auto finalSent = RequestStore(m_session.db()).finalNoticeSent(id);
    if (!finalSent)
        return notifier.errorBox(finalSent.error()), false;
    if (*finalSent)
        return refuse(u"Final discharge order was already sent for " + header.PatientName +
                      u".\r\nYou have to revoke the discharge order to send additional "
                      u"requests.");
    if (!header.outpatient && header.Diagnosis.trimmed().isEmpty())
        return refuse(QStringLiteral("Please provide patient's admitting diagnosis first before "
                                     "sending any request."));
    for (const Order &o : std::as_const(m_orders)) {
        if (o.code.compare(item, Qt::CaseInsensitive) == 0)
            return refuse(QStringLiteral("Examination is already in the Orders List."));
    }
    auto cashBasis = m_session.db().scalar(
        header.outpatient ? u"select isCashBasis from PATIENT_DATA..tbOutPatient where IDNum = :id"
                          : u"select isCashBasis from PATIENT_DATA..tbPatient2 where IDNum = :id",
        {{str("id"), id}});
    if (!cashBasis)
        return notifier.errorBox(cashBasis.error()), false;
    if (cashBasis->toInt() == 1) {
        auto restricted = restrictedForCashBasis(department, item);
        if (!restricted)
            return notifier.errorBox(restricted.error()), false;
        if (*restricted)
            return refuse(QStringLiteral("Item/Exam is restricted for Cash Basis Patients! "));
    }
    auto amount = m_session.db().call(u"STATION..Nurse_GetExamAmount", {item, id});
    if (!amount)
        return notifier.errorBox(amount.error()), false;
    const Money price = amount->isEmpty() ? Money() : amount->at(0).money(u"Amount");
    if (price.isZero())
        return refuse(QStringLiteral("Cannot charge examination with Zero(0) amount."));
    auto waiting = waitingRequest(m_session.db(), id, department, item);
    if (!waiting)
        return notifier.errorBox(waiting.error()), false;
    if (!waiting->isEmpty())
        return refuse(exam.trimmed() + u" was requested on " + waiting->section(u'|', 1) +
                      u" (request " + waiting->section(u'|', 0, 0) +
                      u") and the department has not done it yet.");
    Order order;
    order.department = department;
    order.code = item;
    order.exam = exam.trimmed();
    order.amount = price;
    m_orders << order;
    return true;
}

bool CommonExams::addRequested(const Order &order)
{
    for (const Order &o : std::as_const(m_orders)) {
        if (o.code.compare(order.code, Qt::CaseInsensitive) == 0 &&
            o.department == order.department)
            return refuse(QStringLiteral("Examination is already in the Orders List."));
    }
    m_orders << order;
    return true;
}

bool CommonExams::remove(int row)
{
    if (row < 0 || row >= m_orders.size())
        return false;
    m_orders.removeAt(row);
    return true;
}

Money CommonExams::total() const
{
    Money sum;
    for (const Order &o : m_orders)
        sum += o.amount;
    return sum;
}

Result<QString> CommonExams::trySave(const ProfileHeader &header, QStringList &numbers)
{
    numbers.clear();
    Database &db = m_session.db();
    const QString id = header.IdNum.trimmed();
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    // The stay's own row is held, so a second workstation sending for the same stay waits
    // here and then finds this one's requests waiting.
    if (db.backend() == Backend::Postgres) {
        auto held = db.select(header.outpatient ? u"select IDNum from PATIENT_DATA..tbOutPatient "
                                                  u"where IDNum = :id for update"
                                                : u"select IDNum from PATIENT_DATA..tbPatient "
                                                  u"where IDNum = :id for update",
                              {{str("id"), id}});
        if (!held)
            return tl::unexpected(held.error());
    }
    // The request checks again, now that no other workstation can send for the stay.
    for (const Order &o : std::as_const(m_orders)) {
        ExamRequestLine line;
        line.department = o.department;
        line.code = o.code;
        line.description = o.exam;
        line.stat = o.stat;
        line.specimenId = o.specimenId;
        line.specimen = o.specimen;
        line.statRule = o.statRule;
        line.specimenRequired = o.specimenRequired;
        auto refused = ExamRequestGuards::checkOnSave(db, m_session.StationID, id,
                                                      header.outpatient, line);
        if (!refused)
            return tl::unexpected(refused.error());
        if (!refused->isEmpty())
            return *refused;
    }
    auto doctor = RequestStore(db).attendingDoctor(id);
    if (!doctor)
        return tl::unexpected(doctor.error());
    auto now = db.loadServerDate();
    if (!now)
        return tl::unexpected(now.error());
    const QString at = QLocale::c().toString(*now, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    for (const Order &o : std::as_const(m_orders)) {
        auto sent =
            db.call(u"STATION..Nurse_AppendNurseLogBook", {id,
                                                           header.outpatient ? str("O") : str("I"),
                                                           o.code,
                                                           o.amount.toVariant(),
                                                           o.quantity,
                                                           str(" "),
                                                           QString(),
                                                           at,
                                                           o.department,
                                                           *doctor,
                                                           m_session.employeeCode(),
                                                           o.remarks,
                                                           o.exam,
                                                           str("Y"),
                                                           o.stat,
                                                           str("0"),
                                                           str("0"),
                                                           str("0"),
                                                           0,
                                                           m_session.StationID});
        if (!sent)
            return tl::unexpected(sent.error());
        const QString number = sent->isEmpty() ? QString() : sent->at(0).trimmed(u"RequestNum");
        if (number.isEmpty())
            return failure(QStringLiteral("The request of %1 got no number.").arg(o.code));
        if (!o.section.isEmpty() || !o.specimenId.isEmpty()) {
            auto details = db.call(u"STATION..sp_Nurse_SaveExamRequestDetails",
                                   {number, o.specimenId, o.specimen, o.section});
            if (!details)
                return tl::unexpected(details.error());
        }
        numbers << number;
    }
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return QString();
}

CommonExams::Outcome CommonExams::save(const ProfileHeader &header)
{
    Notifier &notifier = m_session.notifier();
    m_sent.clear();
    if (m_orders.isEmpty()) {
        refuse(QStringLiteral("Please choose the examinations to request first."));
        return Outcome::Refused;
    }
    if (!notifier.confirm(QStringLiteral("Do you want to save and send the request(s)?"),
                          kNotification)) {
        notifier.message(QStringLiteral("Entered request(s) were not saved! "), kNotification,
                         Notifier::Icon::Information);
        return Outcome::Abandoned;
    }
    const QString id = header.IdNum.trimmed();
    if (m_session.settings.CheckCredLim()) {
        QStringList amounts;
        for (const Order &o : std::as_const(m_orders))
            amounts << o.amount.toString();
        if (!modGlobals::IsWithinCreditLine(m_session, id, 2, amounts)) {
            refuse(QStringLiteral("Credit amount not enough. Remaining credit balance is ") +
                   formatNumber(modGlobals::RemainingCreditBalance(m_session, id), u"#,##0.00"));
            return Outcome::Refused;
        }
    }
    Result<QString> outcome;
    QStringList numbers;
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        outcome = trySave(header, numbers);
        if (outcome || !outcome.error().retryable())
            break;
    }
    if (!outcome) {
        notifier.errorBox(outcome.error());
        return Outcome::Failed;
    }
    if (!outcome->isEmpty()) {
        refuse(*outcome);
        return Outcome::Refused;
    }
    m_sent = numbers;
    m_orders.clear();
    notifier.message(QStringLiteral("The request(s) were sent to the departments."), kNotification,
                     Notifier::Icon::Information);
    return Outcome::Saved;
}

} // namespace kestrel
