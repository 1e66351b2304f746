// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/SelectLabExam.h"

#include "core/components/clsCodeLookup.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "reports/ReportService.h"

#include <QDate>
#include <QSet>

#include <algorithm>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

SelectLabExam::SelectLabExam(Session &session, clsCodeLookup *codeLookup, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_codeLookup(codeLookup)
{
}

bool SelectLabExam::tell(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return false;
}

bool SelectLabExam::open(const QString &idNum)
{
    m_idNum = idNum.trimmed();
    m_exams.clear();
    m_allExams = false;
    Q_EMIT listChanged();
    if (m_idNum.isEmpty())
        return tell(QStringLiteral("Please select a patient first."));
    return true;
}

bool SelectLabExam::lookUp(const QString &typed)
{
    if (!m_codeLookup || !m_codeLookup->SearchListing(clsCodeLookup::LabExams, typed))
        return false;
    return addExam(m_codeLookup->LabExamRecord().ResultCode);
}

bool SelectLabExam::addExam(const QString &code)
{
    const QString wanted = code.trimmed().toUpper();
    if (wanted.isEmpty())
        return false;
    for (const Exam &e : std::as_const(m_exams)) {
        if (e.code.compare(wanted, Qt::CaseInsensitive) == 0)
            return tell(QStringLiteral("%1 is already chosen.").arg(e.name));
    }
    auto name = m_session.db().scalar(
        u"select LabExam from BUILD_FILE..tbCoLabExam where LabExamID = :code",
        {{QStringLiteral("code"), wanted}});
    if (!name)
        return m_session.notifier().errorBox(name.error()), false;
    if (name->isNull())
        return tell(QStringLiteral("Examination code does not exist."));
    m_exams.append({wanted, name->toString().trimmed()});
    Q_EMIT listChanged();
    return true;
}

void SelectLabExam::removeExam(int row)
{
    if (row < 0 || row >= m_exams.size())
        return;
    m_exams.removeAt(row);
    Q_EMIT listChanged();
}

void SelectLabExam::setAllExams(bool all)
{
    if (m_allExams == all)
        return;
    m_allExams = all;
    Q_EMIT listChanged();
}

bool SelectLabExam::view()
{
    if (m_idNum.isEmpty())
        return tell(QStringLiteral("Please select a patient first."));
    if (!m_allExams && m_exams.isEmpty())
        return tell(QStringLiteral("Please choose the laboratory exams to print, or tick "
                                   "\"All exams\"."));
    // The laboratory files each result under its exam's name.
    QSet<QString> names;
    QString list = QStringLiteral("|");
    for (const Exam &e : std::as_const(m_exams)) {
        names.insert(e.name.toUpper());
        list += e.name.toUpper() + u'|';
    }
    Database &db = m_session.db();
    auto released = db.select(u"select TestName, ResultDate from LABORATORY..tbLabResult "
                              u"where IdNum = :id and RecordStatus <> 'R' "
                              u"and ResultDate is not null",
                              {{QStringLiteral("id"), m_idNum}});
    if (!released)
        return m_session.notifier().errorBox(released.error()), false;
    QList<QDate> days;
    for (const Row &r : std::as_const(*released)) {
        const QDate day = r.dateTime(u"ResultDate").date();
        if ((m_allExams || names.contains(r.trimmed(u"TestName").toUpper())) && day.isValid() &&
            !days.contains(day))
            days.append(day);
    }
    std::sort(days.begin(), days.end());
    // The latest days when there are more than the two parts hold.
    const qsizetype shown = 2 * kDaysPerPart;
    if (days.size() > shown)
        days = days.mid(days.size() - shown);
    if (!m_reports)
        return false;
    if (!m_reports->OpenReport(QStringLiteral("LabResultPrinting-Tabular.RPT"), {m_idNum}))
        return false;
    for (int part = 0; part < 2; ++part) {
        if (part > 0 && days.size() <= kDaysPerPart)
            break;
        QVariantList values{m_idNum, m_allExams, list};
        for (int c = 0; c < kDaysPerPart; ++c) {
            const qsizetype at = qsizetype(part) * kDaysPerPart + c;
            // A day column without a release day stays blank (a date of no value).
            values << (at < days.size() ? QVariant(days.at(at)) : QVariant(QDate()));
        }
        if (!m_reports->OpenSubreport(QStringLiteral("Historical%1").arg(part + 1), values))
            return false;
    }
    m_reports->ShowReport(false, QStringLiteral("LABORATORY Tabular Result"));
    return true;
}

} // namespace kestrel
