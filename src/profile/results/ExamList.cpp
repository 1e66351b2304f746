// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/ExamList.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

namespace kestrel {

const QList<ExamDepartment> &ExamList::departments()
{
    const auto s = [](const char *text) { return QString::fromUtf8(text); };
    static const QList<ExamDepartment> list{
        {s("frmAudio"), s("Audiometry Examinations"), s("lstListAudio"), s("AU"), s("Audiometry"),
         s("STATION..AudioExams")},
        {s("frmCTfile"), s("CT Scan Examinations"), s("lstListCT"), s("CT"), s("CT-Scan"),
         s("STATION..CTExams")},
        {s("frmHeart"), s("Heart Station Examinations"), s("lstListHS"), s("HS"),
         s("Heart Station"), s("STATION..HSExams")},
        {s("frmNuclear"), s("Nuclear Medicine Examinations"), s("lstListNuclear"), s("NU"),
         s("Nuclear Medicine"), s("STATION..NuclearExams")},
        {s("frmPTFile"), s("PTExaminations"), s("lstListPT"), s("PT"), s("Rehabilitation Medicine"),
         s("STATION..PTExams")},
        {s("frmRTfile"), s("Pulmonary Examinations"), s("lstListRTS"), s("PA"), s("Pulmonary"),
         s("STATION..RTSExams")},
        {s("frmNeuRoExams"), s("Neurology Examinations"), s("lstListNeuro"), s("NE"),
         s("Neurology"), s("STATION..NeuroExams")},
    };
    return list;
}

const ExamDepartment *ExamList::department(const QString &form)
{
    for (const ExamDepartment &d : departments()) {
        if (d.form.compare(form, Qt::CaseInsensitive) == 0)
            return &d;
    }
    return nullptr;
}

ExamList::ExamList(Session &session, const ExamDepartment &department, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_department(department)
{
}

bool ExamList::load(const QString &idNum)
{
    m_idNum = idNum.trimmed();
    m_exams.clear();
    auto rows = m_session.db().call(m_department.procedure, {});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    for (const Row &r : *rows) {
        const QString name = r.trimmed(u"Exam");
        if (!name.isEmpty())
            m_exams.append({r.trimmed(u"Code"), name, m_department.code});
    }
    return true;
}

QString ExamList::emptyText() const
{
    if (!m_exams.isEmpty())
        return {};
    return u"The " + m_department.name + u" department has no examinations to offer.";
}

bool ExamList::choose(int row)
{
    if (row < 0 || row >= m_exams.size())
        return false;
    if (!m_idNum.isEmpty() &&
        modGlobals::IsClearedByDepartment(m_session, m_idNum, m_department.code)) {
        m_session.notifier().message(u"Patient is already cleared by (" + m_department.name +
                                         u" Department). " +
                                         u"If you have requests to make, notify the Billing staff" +
                                         u" immediately for further instructions.",
                                     QStringLiteral("Notification"), Notifier::Icon::Exclamation);
        return false;
    }
    Q_EMIT examChosen(m_exams.at(row));
    return true;
}

} // namespace kestrel
