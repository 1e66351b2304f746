// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/CVOR.h"

#include "core/db/Database.h"
#include "core/db/LikePattern.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "core/StationLog.h"
#include "reports/ReportService.h"

namespace kestrel {

namespace {

const QString kTitle = QStringLiteral("Notification");

void tell(Session &session, const QString &text, Notifier::Icon icon = Notifier::Icon::Information)
{
    session.notifier().message(text, kTitle, icon);
}

QString personName(const QString &last, const QString &first)
{
    return last.isEmpty() ? QString() : last + QStringLiteral(", ") + first;
}

} // namespace

CVORPatients::CVORPatients(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

QStringList CVORPatients::searchTypes()
{
    return {QStringLiteral("Lastname"), QStringLiteral("Hospital No."), QStringLiteral("ID No.")};
}

QStringList CVORPatients::caseForms()
{
    return {QStringLiteral("CVOR_Hospital1.rpt")};
}

bool CVORPatients::search(const QString &type, const QString &key)
{
    m_cases = RowSet();
    if (key.trimmed().isEmpty()) {
        tell(m_session, QStringLiteral("Please enter search key."), Notifier::Icon::Exclamation);
        return false;
    }
    if (!searchTypes().contains(type)) {
        tell(m_session, QStringLiteral("Please select search type."), Notifier::Icon::Exclamation);
        return false;
    }
    auto rows = m_session.db().call(u"STATION..SearchCVORCases", {type, key.trimmed()});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    m_cases = std::move(*rows);
    if (m_cases.isEmpty()) {
        tell(m_session, QStringLiteral("No record found."));
        return false;
    }
    return true;
}

std::pair<QString, QString> CVORPatients::caseAt(int row) const
{
    if (row < 0 || row >= m_cases.count())
        return {};
    return {m_cases.at(row).trimmed(u"ID. No"), m_cases.at(row).trimmed(u"Ref. No.")};
}

bool CVORPatients::printCensus()
{
    if (!m_reports)
        return false;
    auto now = m_session.db().loadServerDate();
    const QDate today = now ? now->date() : QDate::currentDate();
    const QDate first(today.year(), today.month(), 1);
    if (!m_reports->OpenReport(QStringLiteral("CVORCensus.rpt"),
                               {first.toString(QStringLiteral("MM/dd/yyyy")),
                                today.toString(QStringLiteral("MM/dd/yyyy"))}))
        return false;
    m_reports->ShowReport(false, QStringLiteral("CVOR Census"));
    return true;
}

bool CVORPatients::printCase(int row, const QString &file)
{
    const auto [idNum, refNum] = caseAt(row);
    if (idNum.isEmpty()) {
        tell(m_session, QStringLiteral("Please select patient case to print."),
             Notifier::Icon::Exclamation);
        return false;
    }
    if (!m_reports || !m_reports->OpenReport(file, {idNum, refNum}))
        return false;
    m_reports->ShowReport(false, QStringLiteral("CVOR Case"));
    return true;
}

CVORTeam::CVORTeam(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

QStringList CVORTeam::doctorColumns()
{
    return {QStringLiteral("Surgeon"), QStringLiteral("AsstSurgeon"),
            QStringLiteral("Anesthesiologist"), QStringLiteral("AssocAnest"),
            QStringLiteral("Intensivist")};
}

QStringList CVORTeam::staffColumns()
{
    return {QStringLiteral("Perfutionist"), QStringLiteral("ScrubNurse1"),
            QStringLiteral("ScrubNurse2"), QStringLiteral("Circulator1"),
            QStringLiteral("Circulator2")};
}

bool CVORTeam::load(const QString &idNum, const QString &refNum)
{
    auto rows = m_session.db().call(u"STATION..LoadCVORInfo", {idNum.trimmed(), refNum.trimmed()});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    if (rows->isEmpty()) {
        tell(m_session, QStringLiteral("No record found."));
        return false;
    }
    const Row &r = rows->at(0);
    m_idNum = r.trimmed(u"IDNum");
    m_refNum = r.trimmed(u"ReferenceNum");
    m_info.clear();
    m_info.insert(QStringLiteral("Patient Name:"),
                  QString(r.trimmed(u"LastName") + QStringLiteral(", ") + r.trimmed(u"FirstName") +
                          u' ' + r.trimmed(u"MiddleName"))
                      .trimmed());
    m_info.insert(QStringLiteral("Admission #"), m_idNum);
    m_info.insert(QStringLiteral("Hospital #"), r.trimmed(u"HospNum"));
    m_info.insert(QStringLiteral("Procedure"), r.trimmed(u"ProcedureName"));
    m_info.insert(QStringLiteral("Reference No."), m_refNum);
    m_info.insert(QStringLiteral("Trans. Date:"),
                  r.dateTime(u"TransDate").toString(QStringLiteral("MM/dd/yyyy")));
    m_codes.clear();
    m_names.clear();
    for (const QString &c : doctorColumns() + staffColumns()) {
        m_codes.insert(c, r.trimmed(c));
        m_names.insert(c, r.trimmed(QString(c + u"Name")));
    }
    m_savedCodes = m_codes;
    Q_EMIT changed();
    return true;
}

void CVORTeam::setPerson(const QString &column, const QString &code, const QString &name)
{
    m_codes.insert(column, code.trimmed());
    m_names.insert(column, name);
    Q_EMIT changed();
}

QList<std::pair<QString, QString>> CVORTeam::nurses()
{
    QList<std::pair<QString, QString>> out;
    auto rows = m_session.db().select(
        u"select EmployeeID, LastName, FirstName from PASSWORD..tbPasswordMaster "
        u"where Status = 'A' and Designation like '%NURSE%' order by LastName, FirstName");
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return out;
    }
    for (const Row &r : *rows)
        out << std::pair{r.trimmed(u"EmployeeID"),
                         personName(r.trimmed(u"LastName"), r.trimmed(u"FirstName"))};
    return out;
}

QList<std::pair<QString, QString>> CVORTeam::doctors(const QString &typed)
{
    QList<std::pair<QString, QString>> out;
    auto rows = m_session.db().select(
        u"select DoctorID, LastName, FirstName from BUILD_FILE..tbCoDoctor where Status = 'A' "
        u"and (DoctorID like :typed escape '\\' or LastName like :typed escape '\\') "
        u"order by LastName, FirstName limit 500",
        {{QStringLiteral("typed"), likePrefix(typed.trimmed())}});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return out;
    }
    for (const Row &r : *rows)
        out << std::pair{r.trimmed(u"DoctorID"),
                         personName(r.trimmed(u"LastName"), r.trimmed(u"FirstName"))};
    return out;
}

bool CVORTeam::save()
{
    if (m_idNum.isEmpty())
        return false;
    QVariantList args{m_idNum, m_refNum};
    for (const QString &c : doctorColumns() + staffColumns())
        args << m_codes.value(c);
    Database &db = m_session.db();
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive()) {
        m_session.notifier().errorBox(tx.error());
        return false;
    }
    if (auto done = db.call(u"Station..UpdateCVORInfo", args); !done) {
        m_session.notifier().errorBox(done.error());
        return false;
    }
    WriteStationLog(db, m_idNum, QStringLiteral("Modified CVOR Info"), m_session.employeeCode(),
                    QStringLiteral("OR"));
    if (auto ok = tx.commit(); !ok) {
        m_session.notifier().errorBox(ok.error());
        return false;
    }
    m_savedCodes = m_codes;
    tell(m_session, QStringLiteral("You have successfully updated CVOR info."));
    return true;
}

bool CVORTeam::confirmClose()
{
    return m_session.notifier().confirm(QStringLiteral("Are you sure to close this window?"),
                                        kTitle, Notifier::Icon::Question);
}

ProcedureTagging::ProcedureTagging(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

QList<std::pair<QString, QString>> ProcedureTagging::search(const QString &typed)
{
    QList<std::pair<QString, QString>> out;
    auto rows = m_session.db().select(
        u"select OtherRevenueID, OtherRevenue from BUILD_FILE..tbCoOtherRevenue "
        u"where OtherSectionID = 'OR' and (OtherRevenueID like :typed escape '\\' or "
        u"OtherRevenue like :typed escape '\\') order by OtherRevenue limit 500",
        {{QStringLiteral("typed"), likePrefix(typed.trimmed())}});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return out;
    }
    for (const Row &r : *rows)
        out << std::pair{r.trimmed(u"OtherRevenueID"), r.trimmed(u"OtherRevenue")};
    return out;
}

bool ProcedureTagging::select(const QString &code)
{
    m_code.clear();
    m_description.clear();
    m_tagged = false;
    auto row = m_session.db().selectOne(
        u"select OtherRevenueID, OtherRevenue, SectionID from BUILD_FILE..tbCoOtherRevenue "
        u"where OtherSectionID = 'OR' and OtherRevenueID = :code",
        {{QStringLiteral("code"), code.trimmed()}});
    if (!row) {
        m_session.notifier().errorBox(row.error());
        return false;
    }
    if (!*row)
        return false;
    m_code = (*row)->trimmed(u"OtherRevenueID");
    m_description = (*row)->trimmed(u"OtherRevenue");
    m_tagged = (*row)->trimmed(u"SectionID") == u"PRC";
    return m_tagged;
}

bool ProcedureTagging::save(bool procedure)
{
    if (m_code.isEmpty()) {
        tell(m_session, QStringLiteral("Please select item to update."),
             Notifier::Icon::Exclamation);
        return false;
    }
    auto done = m_session.db().exec(
        u"UPDATE BUILD_FILE..TBCOOTHERREVENUE SET SECTIONID = :section "
        u"WHERE OTHERSECTIONID = 'OR' AND OTHERREVENUEID = :code",
        {{QStringLiteral("section"), procedure ? QStringLiteral("PRC") : QString()},
         {QStringLiteral("code"), m_code}});
    if (!done) {
        m_session.notifier().errorBox(done.error());
        return false;
    }
    m_tagged = procedure;
    tell(m_session, procedure ? QStringLiteral("Item successfully tagged as a procedure.")
                              : QStringLiteral("Item successfully untagged as a procedure."));
    return true;
}

} // namespace kestrel
