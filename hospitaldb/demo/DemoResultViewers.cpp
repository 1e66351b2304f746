// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

// The examinations of the audiometry and neurology units, which the profile's ordering panel
// offers in lists of their own beside the other departments'; the dialysis unit's dialyzers
// and accesses with the notifications the wards sent it; the kidney programme's fund of the
// patients on dialysis or with a transplant.

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

constexpr QStringView kDialyzers[][2] = {
    {u"D01", u"FX 60 HIGH FLUX"},          {u"D02", u"FX 80 HIGH FLUX"},
    {u"D03", u"POLYSULFONE 1.6 M2"},       {u"D04", u"POLYSULFONE 1.8 M2"},
    {u"D05", u"CELLULOSE TRIACETATE 1.5"}, {u"D06", u"LOW FLUX 1.3 M2 (INACTIVE)"},
};
constexpr QStringView kAccesses[] = {
    u"ARTERIOVENOUS FISTULA", u"ARTERIOVENOUS GRAFT", u"INTERNAL JUGULAR CATHETER",
    u"FEMORAL CATHETER",      u"SUBCLAVIAN CATHETER",
};
constexpr std::array<QStringView, 3> kFundSources{u"KIDNEY PROGRAMME", u"CHARITY SPONSOR",
                                                  u"LOCAL GOVERNMENT"};

} // namespace

void DemoBuilder::addResultViewerData()
{
    TableRows &exams = table(QStringLiteral("BUILD_FILE..tbCoDeptExam"),
                             {QStringLiteral("DepartmentID"), QStringLiteral("ExamID"),
                              QStringLiteral("ExamName"), QStringLiteral("Status")});
    for (const DepartmentExam &e : kExams)
        exams.add(
            {e.department.toString(), e.code.toString(), e.name.toString(), QStringLiteral("A")});

    TableRows &dialyzers = table(
        QStringLiteral("STATION..tbHemoDialyzer"),
        {QStringLiteral("DialyzerID"), QStringLiteral("Description"), QStringLiteral("Status")});
    for (const auto &d : kDialyzers)
        dialyzers.add({d[0].toString(), d[1].toString(), d[0] == u"D06" ? 0 : 1});
    TableRows &accesses = table(
        QStringLiteral("STATION..tbHemoAccess"),
        {QStringLiteral("AccessID"), QStringLiteral("Description"), QStringLiteral("Status")});
    for (int i = 0; i < int(std::size(kAccesses)); ++i)
        accesses.add({i + 1, kAccesses[i].toString(), 1});

    // The programme's patients among the stays still in: those the admitting office marked on
    // dialysis or with a transplant, and at least the first two of the ward.
    QSet<QString> programme;
    for (const TableRows &t : m_tables) {
        if (t.table != u"PATIENT_DATA..tbPatient2")
            continue;
        const qsizetype id = t.columns.indexOf(u"IDNum"),
                        dialysis = t.columns.indexOf(u"dialysisID"),
                        transplant = t.columns.indexOf(u"transplantID");
        // Other parts of the demo add stays without the programme's columns.
        if (id < 0 || dialysis < 0 || transplant < 0)
            continue;
        for (const QVariantList &row : t.rows) {
            if (row.at(dialysis).toString() != u"0" || row.at(transplant).toString() != u"0")
                programme.insert(row.at(id).toString());
        }
    }
    TableRows &requests =
        table(QStringLiteral("STATION..tbHemoRequest"),
              {QStringLiteral("IdNum"), QStringLiteral("HospNum"), QStringLiteral("DialyzerID"),
               QStringLiteral("AccessID"), QStringLiteral("DialysisDate"),
               QStringLiteral("Remarks"), QStringLiteral("RequestDate"), QStringLiteral("UserID"),
               QStringLiteral("StationID"), QStringLiteral("RecordStatus"),
               QStringLiteral("RevokedBy"), QStringLiteral("RevokedDate")});
    TableRows &waiting =
        table(QStringLiteral("STATION..tbHemo_Communication"),
              {QStringLiteral("IdNum"), QStringLiteral("RequestID"), QStringLiteral("SentDate"),
               QStringLiteral("StationID"), QStringLiteral("UserID")});
    TableRows &funds =
        table(QStringLiteral("BILLING..tbParsCDFTransaction"),
              {QStringLiteral("HospNum"), QStringLiteral("Amount"), QStringLiteral("Source"),
               QStringLiteral("TransDate"), QStringLiteral("UserID")});
    TableRows &utilized =
        table(QStringLiteral("BILLING..tbParsCDFUtilized"),
              {QStringLiteral("HospNum"), QStringLiteral("IDNum"), QStringLiteral("Amount"),
               QStringLiteral("TransDate"), QStringLiteral("UserID")});
    int requestId = 0;
    QSet<QString> funded;
    for (int n = 0; n < int(m_currentInpatients.size()); ++n) {
        const Stay &stay = m_stays.at(m_currentInpatients.at(n));
        if (n >= 2 && !programme.contains(stay.idNum))
            continue;
        const QString hospNum = m_patients.at(stay.patient).hospNum;
        // Three sessions a week: the last two sent and received; the one of the stay's first
        // patient still waits for the unit, the second's was taken back.
        for (int session = 2; session >= 0; --session) {
            const QDateTime sent = at(session * 2 + 1, 7 * 60 + m_rng.between(0, 90));
            if (sent < stay.admitted)
                continue;
            const bool revoked = n == 1 && session == 0;
            requests.add(
                {stay.idNum, hospNum, kDialyzers[std::size_t(m_rng.below(5))][0].toString(),
                 m_rng.between(1, 3), sent.addSecs(4 * 3600),
                 session == 0 ? QStringLiteral("Heparin-free, patient for surgery") : QString(),
                 sent, QStringLiteral("2902"), QStringLiteral("OR"),
                 revoked ? QStringLiteral("R") : QString(),
                 revoked ? QStringLiteral("2903") : QString(),
                 revoked ? QVariant(sent.addSecs(1800)) : QVariant()});
            ++requestId;
            if (n == 0 && session == 0)
                waiting.add(
                    {stay.idNum, requestId, sent, QStringLiteral("OR"), QStringLiteral("2902")});
        }
        if (funded.contains(hospNum))
            continue;
        funded.insert(hospNum);
        // Grants of 20,000 to 60,000; some patients have used up part of theirs, one all.
        const int grants = m_rng.between(1, 2);
        qint64 granted = 0;
        for (int g = 0; g < grants; ++g) {
            const qint64 amount = m_rng.between(20, 60) * 1000;
            granted += amount;
            funds.add({hospNum, pesos(amount * 100), m_rng.pick(kFundSources).toString(),
                       stay.admitted.addDays(-30 * (g + 1)), QStringLiteral("2901")});
        }
        const qint64 used = n == 1 ? granted : granted * m_rng.between(0, 60) / 100;
        if (used > 0)
            utilized.add({hospNum, QString(), pesos(used * 100), stay.admitted.addDays(-10),
                          QStringLiteral("2901")});
    }
}

} // namespace kestrel::hospitaldb::demo
