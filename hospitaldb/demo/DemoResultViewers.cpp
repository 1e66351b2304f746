// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

// The examinations of the audiometry and neurology units, which the profile's ordering panel
// offers in lists of their own beside the other departments'.

namespace kestrel::hospitaldb::demo {

namespace {

struct DepartmentExam
{
    QStringView department, code, name;
};

constexpr DepartmentExam kExams[] = {
    {u"AU", u"AU201", u"PURE TONE AUDIOMETRY"},
    {u"AU", u"AU202", u"SPEECH AUDIOMETRY"},
    {u"AU", u"AU203", u"TYMPANOMETRY"},
    {u"NE", u"NE201", u"ELECTROENCEPHALOGRAM (EEG)"},
    {u"NE", u"NE202", u"NERVE CONDUCTION VELOCITY"},
    {u"NE", u"NE203", u"ELECTROMYOGRAPHY (EMG)"},
};

} // namespace

void DemoBuilder::addResultViewerData()
{
    TableRows &exams = table(QStringLiteral("BUILD_FILE..tbCoDeptExam"),
                             {QStringLiteral("DepartmentID"), QStringLiteral("ExamID"),
                              QStringLiteral("ExamName"), QStringLiteral("Status")});
    for (const DepartmentExam &e : kExams)
        exams.add(
            {e.department.toString(), e.code.toString(), e.name.toString(), QStringLiteral("A")});
}

} // namespace kestrel::hospitaldb::demo
