// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/ProfileLists.h"

#include "core/db/Database.h"

#include <algorithm>

namespace kestrel {

namespace {

const QString kTimeFormat = QStringLiteral("MM/dd/yyyy hh:mm:ss AP");

QString when(const Row &r, QStringView field)
{
    return r.dateTime(field).toString(kTimeFormat);
}

QString fullName(const Row &r, QStringView last, QStringView first)
{
    const QString l = r.trimmed(last);
    return l.isEmpty() ? QString() : l + QStringLiteral(", ") + r.trimmed(first);
}

} // namespace

const QList<ProfileLists::ResultTab> &ProfileLists::resultTabs()
{
    const auto s = [](const char *text) { return QString::fromLatin1(text); };
    using L = ResultLayout;
    static const QList<ResultTab> tabs{
        {s("&X-ray"), s("XR"), s("STATION..Nurse_GetXray"), L::Radiology, s("txtXrayInterp"),
         s("mshflexXray")},
        {s("&Ultrasound"), s("US"), s("STATION..Nurse_GetUltra"), L::Radiology,
         s("txtUltraInterp"), s("mshflexUltra")},
        {s("CT-Scan"), s("CT"), s("STATION..Nurse_GetCT"), L::Radiology, s("txtCTInterp"),
         s("mshflexCT")},
        {s("Heart Station"), s("HS"), s("STATION..Nurse_GetHrt"), L::Heart, s("txtHeartInterp"),
         s("mshflexHeart")},
        {s("Rehabilitation Medicine"), s("PT"), s("STATION..Nurse_GetPT"), L::Rehab,
         s("txtPTInterp"), s("mshflexPT")},
        {s("Nuclear"), s("NU"), s("STATION..Nurse_GetNuclear"), L::Radiology, s("txtNucInterp"),
         s("mshflexNuclear")},
        {s("Pulmonary"), s("PA"), s("STATION..Nurse_GetPulmo"), L::Pulmonary,
         s("txtPulmoInterpretation"), s("mshflexPulmo")},
        {s("Neurology"), s("NE"), s("STATION..Nurse_GetNeuro"), L::Neurology, s("txtNeuroInterp"),
         s("mshflexNeuro")},
        {s("Center for Women"), s("WC"), s("STATION..Nurse_GetWC"), L::Radiology,
         s("txtWCInterp"), s("mshflexWC")},
        {s("MRI"), s("MR"), s("STATION..Nurse_GetMRI"), L::Radiology, s("txtMRIInterp"),
         s("mshflexMRI")},
    };
    return tabs;
}

Result<ProfileLists::ResultList> ProfileLists::departmentResults(const ResultTab &tab,
                                                                 const QString &idNum) const
{
    auto rows = m_db.call(tab.procedure, {idNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    const auto s = [](const char *text) { return QString::fromLatin1(text); };
    QStringList headers;
    int hidden = 0;
    switch (tab.layout) {
    case ResultLayout::Radiology:
    case ResultLayout::Pulmonary:
        headers = {s("Trans. No"),    s("Exam. Name"),    s("Trans. Date"),
                   s("Result Date"),  s("DR. Lastname"),  s("DR. Firstname"),
                   s("DR. Middlename"), s("Interpretation")};
        if (tab.layout == ResultLayout::Pulmonary)
            headers << s("FormType");
        break;
    case ResultLayout::Heart:
        headers = {s("Trans. No"), s("Exam. Name"), s("Trans. Date"), s("Result Date"),
                   s("FORM"),      s("ATTN. DOCTOR"), s("CARDIOLOGIST"), s("ReaderID")};
        hidden = 1;
        break;
    case ResultLayout::Rehab:
        headers = {s("REF. NO"), s("REQ. NO"), s("EXAM. NAME"), s("RESULT DATE"),
                   s("RESULT"),  s("INITIALEVALUATION"), s("ENDORSEMENT")};
        break;
    case ResultLayout::Neurology:
        headers = {s("Exam. No"),    s("Exam. Name"), s("Trans. Date"), s("Charge Slip"),
                   s("Request No."), s("Section"),    s("File Number")};
        break;
    }
    ResultList list{RowSet(headers), {}, hidden};
    for (const Row &r : *rows) {
        // A reading not yet written is null in the department's table.
        const QString reading = r.text(u"Interpretation").trimmed();
        const QString number = r.trimmed(u"TransNum"), exam = r.trimmed(u"ExamName");
        QVariantList values;
        switch (tab.layout) {
        case ResultLayout::Radiology:
        case ResultLayout::Pulmonary:
            values = {number, exam, when(r, u"TransDate"), when(r, u"ResultDate"),
                      r.trimmed(u"ReaderLastName"), r.trimmed(u"ReaderFirstName"),
                      r.trimmed(u"ReaderMiddleName"), reading};
            if (tab.layout == ResultLayout::Pulmonary)
                values << r.trimmed(u"FormType");
            break;
        case ResultLayout::Heart:
            values = {number, exam, when(r, u"TransDate"), when(r, u"ResultDate"),
                      r.trimmed(u"FormType"), fullName(r, u"AttendingLast", u"AttendingFirst"),
                      fullName(r, u"ReaderLastName", u"ReaderFirstName"), r.trimmed(u"ReaderID")};
            break;
        case ResultLayout::Rehab:
            values = {number, r.trimmed(u"RequestNum"), exam, when(r, u"ResultDate"), reading,
                      r.text(u"InitialEvaluation").trimmed(), r.text(u"Endorsement").trimmed()};
            break;
        case ResultLayout::Neurology:
            values = {number, exam, when(r, u"TransDate"), r.trimmed(u"ChargeSlip"),
                      r.trimmed(u"RequestNum"), r.trimmed(u"Section"), r.trimmed(u"FileNumber")};
            break;
        }
        list.rows.append(std::move(values));
        list.readings << reading;
    }
    return list;
}

Result<QList<ProfileLists::Operation>> ProfileLists::stayOperations(const QString &idNum) const
{
    auto rows = m_db.select(u"select S.StartTime, S.Length, S.ProcedureDesc, S.Category, "
                            u"S.RecordStatus, R.RoomName from SCHEDULE..tbORScheduleDetails S "
                            u"left join SCHEDULE..tbORRoom R on R.RoomID = S.RoomID "
                            u"where S.IDNum = :id and S.RecordStatus <> 'R' "
                            u"and S.StartTime is not null order by S.StartTime, S.TransNum",
                            {{QStringLiteral("id"), idNum.trimmed()}});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<Operation> out;
    for (const Row &r : *rows) {
        const QString status = r.trimmed(u"RecordStatus");
        out << Operation{r.dateTime(u"StartTime"), int(r.integer(u"Length")),
                         r.trimmed(u"RoomName"), r.trimmed(u"ProcedureDesc"),
                         r.trimmed(u"Category"),
                         status == u"C" ? QStringLiteral("CONFIRMED")
                                        : QStringLiteral("REQUESTED")};
    }
    return out;
}

Result<RowSet> ProfileLists::daySchedule(const QDate &day) const
{
    auto rows = m_db.call(u"SCHEDULE..sp_Get_ORSCHEDULE", {day});
    if (!rows)
        return rows;
    RowSet out({QStringLiteral("Time"), QStringLiteral("Room"), QStringLiteral("Procedure"),
                QStringLiteral("Category"), QStringLiteral("Minutes"), QStringLiteral("TransNum")});
    for (const Row &r : *rows) {
        const QDateTime start = r.dateTime(u"StartTime");
        out.append(QVariantList{QTime(start.time().hour(), 0).toString(u"h:00:00 AP"),
                                r.trimmed(u"RoomName"), r.text(u"Description").trimmed(),
                                r.trimmed(u"CategoryName"), r.integer(u"Length"),
                                r.trimmed(u"TransNum")});
    }
    return out;
}

Result<RowSet> ProfileLists::requestStatus(const QString &idNum) const
{
    const Binds id{{QStringLiteral("id"), idNum.trimmed()}};
    auto lab = m_db.select(u"select TestName, RequestNum, RequestDate, RequestedBy, ResultDate, "
                           u"MedTech, RecordStatus from LABORATORY..tbLabResult where IdNum = :id",
                           id);
    if (!lab)
        return tl::unexpected(lab.error());
    auto departments = m_db.select(u"select ExamName, DepartmentID, TransNum, TransDate, "
                                   u"ResultDate, ReaderLastName, ReaderFirstName, StationID, "
                                   u"RecordStatus from STATION..tbNurseDiagResult "
                                   u"where IdNum = :id",
                                   id);
    if (!departments)
        return tl::unexpected(departments.error());
    auto sent = m_db.select(u"select ExamName, ExamCode, RequestNum, RequestDate, RecordStatus, "
                            u"RevokedBy, RevokedDate from STATION..tbNurseCommunicationfile "
                            u"where IDNum = :id",
                            id);
    if (!sent)
        return tl::unexpected(sent.error());

    struct Line
    {
        QDateTime asked;
        QVariantList values;
    };
    QList<Line> lines;
    const auto remark = [](const Row &r, bool released) {
        if (r.trimmed(u"RecordStatus") == u"R")
            return QStringLiteral("REVOKED");
        return released ? QString() : QStringLiteral("PENDING");
    };
    for (const Row &r : *lab) {
        const bool released = r.dateTime(u"ResultDate").isValid();
        lines << Line{r.dateTime(u"RequestDate"),
                      {r.trimmed(u"TestName"), QStringLiteral("LB"), when(r, u"RequestDate"),
                       r.trimmed(u"RequestNum"), r.trimmed(u"RequestedBy"), when(r, u"RequestDate"),
                       r.trimmed(u"MedTech"), when(r, u"ResultDate"),
                       released ? r.trimmed(u"MedTech") : QString(), remark(r, released)}};
    }
    for (const Row &r : *departments) {
        const bool released = r.dateTime(u"ResultDate").isValid();
        lines << Line{r.dateTime(u"TransDate"),
                      {r.trimmed(u"ExamName"), r.trimmed(u"DepartmentID"), when(r, u"TransDate"),
                       r.trimmed(u"TransNum"), r.trimmed(u"StationID"), when(r, u"TransDate"),
                       QString(), when(r, u"ResultDate"),
                       released ? fullName(r, u"ReaderLastName", u"ReaderFirstName") : QString(),
                       remark(r, released)}};
    }
    for (const Row &r : *sent) {
        const QString number = r.trimmed(u"RequestNum");
        // Histopathology goes to the laboratory; the others by the exam code's department.
        const QString dept = number.startsWith(u"HP") ? QStringLiteral("LB")
                                                      : r.trimmed(u"ExamCode").left(2).toUpper();
        lines << Line{r.dateTime(u"RequestDate"),
                      {r.trimmed(u"ExamName"), dept, when(r, u"RequestDate"), number, QString(),
                       QString(), QString(), QString(), QString(), remark(r, false)}};
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line &a, const Line &b) { return a.asked < b.asked; });
    RowSet out({QStringLiteral("ITEM DESCRIPTION"), QStringLiteral("DEPT"),
                QStringLiteral("REQUEST DATE/TIME"), QStringLiteral("Code"),
                QStringLiteral("REQUESTED BY"), QStringLiteral("PROCESS DATE/TIME"),
                QStringLiteral("PROCESSED BY"), QStringLiteral("RESULT DATE/TIME"),
                QStringLiteral("RESULT BY"), QStringLiteral("REMARKS")});
    for (Line &l : lines)
        out.append(std::move(l.values));
    return out;
}

Result<RowSet> ProfileLists::commonExams(const QString &procedure) const
{
    return m_db.call(procedure);
}

QString ProfileLists::laboratorySection(const QString &sectionId)
{
    static const QHash<QString, QString> sections{
        {QStringLiteral("CHEM"), QStringLiteral("BLOOD CHEMISTRY")},
        {QStringLiteral("HEM"), QStringLiteral("HEMATOLOGY")},
        {QStringLiteral("HISTO"), QStringLiteral("HISTOPATHOLOGY")},
        {QStringLiteral("MICRO"), QStringLiteral("MICBIOLOGY")},
        {QStringLiteral("BB"), QStringLiteral("BLOOD BANK")},
        {QStringLiteral("VIRO"), QStringLiteral("VIROLOGY")},
        {QStringLiteral("CM"), QStringLiteral("CLINICAL MICROSCOPY")},
        {QStringLiteral("SERO"), QStringLiteral("SEROLOGY")},
    };
    return sections.value(sectionId.trimmed().toUpper(), sectionId.trimmed());
}

Result<RowSet> ProfileLists::laboratoryResults(const QString &idNum) const
{
    auto rows = m_db.select(u"select SectionID, RequestNum, TestName, RequestDate, ResultDate, "
                            u"Result, Unit, NormalRange, Flag from LABORATORY..tbLabResult "
                            u"where IdNum = :id and RecordStatus <> 'R' "
                            u"order by SectionID, RequestDate, ResultID",
                            {{QStringLiteral("id"), idNum.trimmed()}});
    if (!rows)
        return rows;
    RowSet list({QStringLiteral("Section"), QStringLiteral("Trans. No"),
                 QStringLiteral("Exam. Name"), QStringLiteral("Trans. Date"),
                 QStringLiteral("Result Date"), QStringLiteral("Result"), QStringLiteral("Unit"),
                 QStringLiteral("Normal Values"), QStringLiteral("Flag")});
    for (const Row &r : *rows) {
        list.append(QVariantList{laboratorySection(r.text(u"SectionID")),
                                 r.trimmed(u"RequestNum"), r.trimmed(u"TestName"),
                                 r.dateTime(u"RequestDate").toString(kTimeFormat),
                                 r.dateTime(u"ResultDate").toString(kTimeFormat),
                                 r.trimmed(u"Result"), r.trimmed(u"Unit"),
                                 r.trimmed(u"NormalRange"), r.trimmed(u"Flag")});
    }
    return list;
}

Result<RowSet> ProfileLists::stationReports() const
{
    auto rows = m_db.select(u"Select ReportType, ReportName From STATION..tbNurse_ReportList "
                            u"Where RecordStatus = 1 Order By ReportName");
    if (!rows)
        return rows;
    RowSet list({QStringLiteral("ReportType"), QString(), QStringLiteral("Report Name")});
    for (const Row &r : *rows)
        list.append(QVariantList{r.trimmed(u"ReportType"), QString(), r.trimmed(u"ReportName")});
    return list;
}

} // namespace kestrel
