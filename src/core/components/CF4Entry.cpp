// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/CF4Entry.h"

#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

// The columns of STATION..tbCF4Entry, in the order of the sections.
constexpr std::array<QStringView, CF4Entry::SectionCount> kColumns{
    u"ChiefComplaint", u"PresentIllness", u"PhysicalExam", u"CourseInWard", u"Drugs", u"Outcome"};

bool isOutpatientVisit(const QString &idNum)
{
    return idNum.trimmed().endsWith(u'B', Qt::CaseInsensitive);
}

QStringList emptySections(const std::array<QString, CF4Entry::SectionCount> &texts)
{
    QStringList missing;
    for (int s = 0; s < CF4Entry::SectionCount; ++s) {
        if (texts.at(s).trimmed().isEmpty())
            missing << CF4Entry::caption(CF4Entry::Section(s));
    }
    return missing;
}

} // namespace

QString CF4Entry::caption(Section section)
{
    switch (section) {
    case ChiefComplaint:
        return QStringLiteral("Chief Complaint");
    case PresentIllness:
        return QStringLiteral("History of Present Illness");
    case PhysicalExam:
        return QStringLiteral("Physical Examination on Admission");
    case CourseInWard:
        return QStringLiteral("Course in the Ward");
    case Drugs:
        return QStringLiteral("Drugs and Medicines");
    case Outcome:
        return QStringLiteral("Outcome");
    case SectionCount:
        break;
    }
    return {};
}

QStringList CF4Entry::outcomes()
{
    return {QStringLiteral("IMPROVED"),    QStringLiteral("RECOVERED"), QStringLiteral("HAMA"),
            QStringLiteral("TRANSFERRED"), QStringLiteral("ABSCONDED"), QStringLiteral("EXPIRED")};
}

Result<QStringList> CF4Entry::missingOf(Database &db, const QString &idNum)
{
    auto row = db.selectOne(u"select ChiefComplaint, PresentIllness, PhysicalExam, CourseInWard, "
                            u"Drugs, Outcome from STATION..tbCF4Entry where IdNum = :id",
                            {{QStringLiteral("id"), idNum.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    std::array<QString, SectionCount> texts;
    if (*row) {
        for (int s = 0; s < SectionCount; ++s)
            texts[s] = (*row)->text(kColumns[s]);
    }
    return emptySections(texts);
}

CF4Entry::CF4Entry(Database &db, Notifier &notifier, CF4EntryValues values, QObject *parent)
    : QObject(parent)
    , m_db(db)
    , m_notifier(notifier)
    , m_values(std::move(values))
{
    m_values.IdNum = m_values.IdNum.trimmed();
}

bool CF4Entry::load()
{
    const bool outpatient = isOutpatientVisit(m_values.IdNum);
    const QString sql =
        outpatient ? QStringLiteral("select S.HospNum, S.AdmDate, '' as RoomID, M.LastName, "
                                    "M.FirstName, M.MiddleName from PATIENT_DATA..tbOutPatient S "
                                    "inner join PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum "
                                    "where S.IDNum = :id")
                   : QStringLiteral("select S.HospNum, S.AdmDate, S.RoomID, M.LastName, "
                                    "M.FirstName, M.MiddleName from PATIENT_DATA..tbPatient S "
                                    "inner join PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum "
                                    "where S.IDNum = :id");
    auto stay = m_db.selectOne(sql, {{QStringLiteral("id"), m_values.IdNum}});
    if (!stay) {
        m_notifier.errorBox(stay.error());
        return false;
    }
    if (!*stay) {
        m_notifier.message(QStringLiteral("No records found."), kNotification,
                           Notifier::Icon::Information);
        return false;
    }
    const Row &s = **stay;
    m_hospNum = s.trimmed(u"HospNum");
    m_heading = s.trimmed(u"LastName") + QStringLiteral(", ") + s.trimmed(u"FirstName") + u' ' +
                s.trimmed(u"MiddleName");
    m_heading = m_heading.trimmed() + QStringLiteral("    Hospital # ") + m_hospNum +
                QStringLiteral("    Adm. # ") + m_values.IdNum + QStringLiteral("    Admitted ") +
                s.dateTime(u"AdmDate").toString(QStringLiteral("MM/dd/yyyy"));
    if (!s.trimmed(u"RoomID").isEmpty())
        m_heading += QStringLiteral("    Room ") + s.trimmed(u"RoomID");

    auto saved = m_db.selectOne(u"select ChiefComplaint, PresentIllness, PhysicalExam, "
                                u"CourseInWard, Drugs, Outcome from STATION..tbCF4Entry "
                                u"where IdNum = :id",
                                {{QStringLiteral("id"), m_values.IdNum}});
    if (!saved) {
        m_notifier.errorBox(saved.error());
        return false;
    }
    m_saved = saved->has_value();
    if (m_saved) {
        for (int i = 0; i < SectionCount; ++i)
            m_texts[i] = (*saved)->text(kColumns[i]);
    } else if (!prefill(outpatient ? m_values.IdNum : QString())) {
        return false;
    }
    m_modified = false;
    Q_EMIT changed();
    return true;
}

bool CF4Entry::prefill(const QString &outpatientVisit)
{
    m_texts = {};
    const Binds id{{QStringLiteral("id"), m_values.IdNum}};
    auto history =
        outpatientVisit.isEmpty()
            ? m_db.selectOne(u"select ChiefComplaint, BriefHistory, PhysicalExamination "
                             u"from PATIENT_DATA..tbPatientHistory where IDNum = :id",
                             id)
            : m_db.selectOne(u"select ChiefComplaints as ChiefComplaint, BriefHistory, "
                             u"'' as PhysicalExamination from PATIENT_DATA..tbOutpatientHistory "
                             u"where IDNum = :id",
                             id);
    if (!history) {
        m_notifier.errorBox(history.error());
        return false;
    }
    if (*history) {
        m_texts[ChiefComplaint] = (*history)->trimmed(u"ChiefComplaint");
        m_texts[PresentIllness] = (*history)->trimmed(u"BriefHistory");
        m_texts[PhysicalExam] = (*history)->trimmed(u"PhysicalExamination");
    }
    // The medicines charged to the stay and not revoked, each with the quantity given.
    auto medicines = m_db.select(u"select Description, sum(Quantity) as Quantity "
                                 u"from STATION..tbNurseLogBook where IDNum = :id "
                                 u"and RevenueID = 'PH' and RecordStatus <> 'R' "
                                 u"group by Description order by Description",
                                 id);
    if (!medicines) {
        m_notifier.errorBox(medicines.error());
        return false;
    }
    QStringList lines;
    for (const Row &m : *medicines)
        lines << m.trimmed(u"Description") + QStringLiteral(" - ") +
                     QString::number(m.number(u"Quantity"));
    m_texts[Drugs] = lines.join(u'\n');
    return true;
}

void CF4Entry::setText(Section section, const QString &text)
{
    if (section < 0 || section >= SectionCount || m_texts.at(section) == text)
        return;
    m_texts[section] = text;
    m_modified = true;
    Q_EMIT changed();
}

QStringList CF4Entry::missing() const
{
    return emptySections(m_texts);
}

QString CF4Entry::missingText() const
{
    const QStringList still = missing();
    if (still.isEmpty())
        return QStringLiteral("Every part of the CF4 is entered.");
    return QStringLiteral("Still to be entered: ") + still.join(QStringLiteral(", ")) + u'.';
}

bool CF4Entry::save()
{
    Binds binds{{QStringLiteral("id"), m_values.IdNum},
                {QStringLiteral("hosp"), m_hospNum},
                {QStringLiteral("station"), m_values.StationID.trimmed()},
                {QStringLiteral("user"), m_values.EmployeeCode.trimmed()}};
    for (int i = 0; i < SectionCount; ++i)
        binds.insert(kColumns[i].toString(), m_texts.at(i).trimmed());
    Transaction tx = m_db.transaction(TransactionMode::Write);
    if (!tx.isActive()) {
        m_notifier.errorBox(tx.error());
        return false;
    }
    // One statement whatever another workstation saved meanwhile: the last save wins whole.
    auto written = m_db.exec(
        u"insert into STATION..tbCF4Entry (IdNum, HospNum, ChiefComplaint, PresentIllness, "
        u"PhysicalExam, CourseInWard, Drugs, Outcome, StationID, UserID, LastUpdated) values "
        u"(:id, :hosp, :ChiefComplaint, :PresentIllness, :PhysicalExam, :CourseInWard, :Drugs, "
        u":Outcome, :station, :user, getdate()) on conflict (IdNum) do update set "
        u"HospNum = excluded.HospNum, ChiefComplaint = excluded.ChiefComplaint, "
        u"PresentIllness = excluded.PresentIllness, PhysicalExam = excluded.PhysicalExam, "
        u"CourseInWard = excluded.CourseInWard, Drugs = excluded.Drugs, "
        u"Outcome = excluded.Outcome, StationID = excluded.StationID, "
        u"UserID = excluded.UserID, LastUpdated = excluded.LastUpdated",
        binds);
    if (!written) {
        m_notifier.errorBox(written.error());
        return false;
    }
    if (auto done = tx.commit(); !done) {
        m_notifier.errorBox(done.error());
        return false;
    }
    m_saved = true;
    m_modified = false;
    Q_EMIT changed();
    m_notifier.message(QStringLiteral("CF4 entries successfully saved."), kNotification,
                       Notifier::Icon::Information);
    return true;
}

} // namespace kestrel
