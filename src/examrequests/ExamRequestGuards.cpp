// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/ExamRequestGuards.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QLocale>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

QString stamp(const QDateTime &at)
{
    return QLocale::c().toString(at, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
}

} // namespace

ExamRequestGuards::ExamRequestGuards(Session &session)
    : m_session(session)
{
}

ExamRequestGuards::Outcome ExamRequestGuards::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return Outcome::Refused;
}

ExamRequestGuards::Outcome ExamRequestGuards::fail(const Error &error)
{
    m_session.notifier().errorBox(error);
    return Outcome::Failed;
}

QString ExamRequestGuards::otherStationRefusal(const RequestState &state,
                                               const QString &stationId)
{
    if (state.stationId.compare(stationId, Qt::CaseInsensitive) == 0)
        return QString();
    if (state.recordStatus == u"R")
        return u"Item(s)/exam(s) requested has been revoked By: " + state.revokedBy + u" at " +
               stamp(state.revokedAt);
    if (state.recordStatus == u"X")
        return u"Item(s)/exam(s) requested has been processed By: " + state.processedBy +
               u" at " + stamp(state.processedAt);
    return QString();
}

QString ExamRequestGuards::statRefusal(const ExamRequestLine &line, const QString &typed,
                                       bool cashBasis)
{
    const QString flag = typed.trimmed().toUpper();
    if (flag != u"Y" && flag != u"N")
        return QStringLiteral("Please enter Y (STAT) or N (Routine).");
    if (line.statRule == u"Y" && flag == u"N")
        return line.description + u" is always done STAT.";
    if (line.statRule == u"N" && flag == u"Y")
        return line.description + u" is always done as a routine examination.";
    if (flag == u"Y" && cashBasis)
        return QStringLiteral("STAT requests are not accepted for Cash Basis Patients! ");
    return QString();
}

QString ExamRequestGuards::specimenRefusal(const ExamRequestLine &line)
{
    if (line.department != u"LB" || !line.specimenRequired)
        return QString();
    const QString id = line.specimenId.trimmed();
    if (!id.isEmpty() && id != u"0" && id != u"47")
        return QString();
    return u"Please choose the specimen of " + line.description +
           u". The laboratory does not take it without one.";
}

QString ExamRequestGuards::defaultStat(const QString &statRule, const QDateTime &serverNow,
                                       bool cashBasis)
{
    if (cashBasis)
        return QStringLiteral("N");
    if (statRule == u"Y" || statRule == u"N")
        return statRule;
    const bool saturday = serverNow.date().dayOfWeek() == Qt::Saturday;
    const bool afterFive = serverNow.time() > QTime(17, 0);
    return saturday || afterFive ? QStringLiteral("Y") : QStringLiteral("N");
}

ExamRequestGuards::Outcome ExamRequestGuards::checkExam(const QString &idNum,
                                                        const QString &department,
                                                        const QString &code, const QString &name,
                                                        const QList<ExamRequestLine> &orders,
                                                        QList<ProfileExam> &profiles)
{
    Notifier &notifier = m_session.notifier();
    ExamRequestStore store(m_session.db());
    auto pending = store.pendingRequest(idNum, code, department);
    if (!pending)
        return fail(pending.error());
    if (*pending) {
        notifier.message((*pending)->message + stamp((*pending)->at), QStringLiteral("Message "),
                         Notifier::Icon::Information);
        return Outcome::Refused;
    }
    auto processed = store.processedToday(idNum, code, department);
    if (!processed)
        return fail(processed.error());
    if (*processed &&
        !notifier.confirm(u"This Request has been PROCCESSED TODAY AT " +
                              QLocale::c().toString((*processed)->at, QStringLiteral("hh:mm AP")) +
                              u"! Do you wish to REPEAT it ?",
                          kNotification, Notifier::Icon::Critical, Notifier::Answer::No))
        return Outcome::Refused;
    QList<ProfileExam> own;
    if (department == u"LB") {
        for (const ProfileExam &p : std::as_const(profiles)) {
            if (p.examId.compare(code, Qt::CaseInsensitive) == 0)
                return refuse(u"This Exam " + (p.examName.isEmpty() ? name : p.examName) +
                              u" is included in this Profile(" + p.profileName + u")");
        }
        auto list = store.profileList(code);
        if (!list)
            return fail(list.error());
        for (const ProfileExam &p : std::as_const(*list)) {
            for (const ExamRequestLine &o : orders) {
                if (o.code.compare(p.examId, Qt::CaseInsensitive) == 0)
                    return refuse(u"The Exam " + o.description +
                                  u" in the ORDER LIST is included in this Profile(" +
                                  p.profileName + u")");
            }
        }
        own = std::move(*list);
    }
    auto latest = store.latestToday(idNum, code, department);
    if (!latest)
        return fail(latest.error());
    if (*latest &&
        (*latest)->stationId.compare(m_session.StationID, Qt::CaseInsensitive) != 0) {
        auto state = store.requestState((*latest)->requestNum);
        if (!state)
            return fail(state.error());
        if (*state) {
            const QString text = otherStationRefusal(**state, m_session.StationID);
            if (!text.isEmpty())
                return refuse(text);
        }
    }
    profiles << own;
    return Outcome::Passed;
}

ExamRequestGuards::Outcome ExamRequestGuards::checkStat(const QString &idNum, bool outpatient,
                                                        const ExamRequestLine &line,
                                                        const QString &typed)
{
    bool cashBasis = false;
    if (typed.trimmed().compare(u"Y", Qt::CaseInsensitive) == 0) {
        auto cash = ExamRequestStore(m_session.db()).cashBasis(idNum, outpatient);
        if (!cash)
            return fail(cash.error());
        cashBasis = *cash;
    }
    const QString text = statRefusal(line, typed, cashBasis);
    return text.isEmpty() ? Outcome::Passed : refuse(text);
}

ExamRequestGuards::Outcome ExamRequestGuards::check(const QString &idNum, bool outpatient,
                                                    const ExamRequestLine &line,
                                                    const QList<ExamRequestLine> &orders,
                                                    QList<ProfileExam> &profiles)
{
    const Outcome exam =
        checkExam(idNum, line.department, line.code, line.description, orders, profiles);
    return exam != Outcome::Passed ? exam : checkStat(idNum, outpatient, line, line.stat);
}

Result<QString> ExamRequestGuards::checkOnSave(Database &db, const QString &stationId,
                                               const QString &idNum, bool outpatient,
                                               const ExamRequestLine &line)
{
    ExamRequestStore store(db);
    auto pending = store.pendingRequest(idNum, line.code, line.department);
    if (!pending)
        return tl::unexpected(pending.error());
    if (*pending)
        return QString(line.description + u" was requested on " +
                       QLocale::c().toString((*pending)->at, QStringLiteral("MM/dd/yyyy hh:mm AP")) +
                       u" (request " + (*pending)->requestNum +
                       u") and the department has not done it yet.");
    auto latest = store.latestToday(idNum, line.code, line.department);
    if (!latest)
        return tl::unexpected(latest.error());
    if (*latest && (*latest)->stationId.compare(stationId, Qt::CaseInsensitive) != 0) {
        auto state = store.requestState((*latest)->requestNum);
        if (!state)
            return tl::unexpected(state.error());
        if (*state) {
            const QString text = otherStationRefusal(**state, stationId);
            if (!text.isEmpty())
                return text;
        }
    }
    bool cashBasis = false;
    if (line.stat == u"Y") {
        auto cash = store.cashBasis(idNum, outpatient);
        if (!cash)
            return tl::unexpected(cash.error());
        cashBasis = *cash;
    }
    if (const QString text = statRefusal(line, line.stat, cashBasis); !text.isEmpty())
        return text;
    return specimenRefusal(line);
}

} // namespace kestrel
