// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The nurses' paperwork of the patients in the wards: consents signed (one by the mother of a
// minor where a minor is admitted), hourly monitoring sheets over several days, and fluid
// intake and output sheets with every shift of a day, and some days only partly filled.
#include "hospitaldb/demo/DemoBuilder.h"
#include "hospitaldb/demo/DemoLists.h"

namespace kestrel::hospitaldb::demo {

namespace {

QString doctorName(const QString &id)
{
    for (const Doctor &d : allDoctors()) {
        if (d.id == id)
            return d.lastName + QStringLiteral(", ") + d.firstName;
    }
    return allDoctors().value(0).lastName + QStringLiteral(", ") +
           allDoctors().value(0).firstName;
}

} // namespace

void DemoBuilder::addNursingSheets()
{
    const auto day = [this](int daysAgo) { return m_today.addDays(-daysAgo).startOfDay(); };
    const QString host = QStringLiteral("OR-STATION-1");
    const QString nurse = staffCode(3);
    // The first patients in the wards, and a minor among them when there is one.
    QList<int> ward;
    int minor = -1;
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        if (s.revoked)
            continue;
        if (ward.size() < 6)
            ward << index;
        if (minor < 0 && m_patients.at(s.patient).age < 18)
            minor = index;
    }
    if (ward.isEmpty())
        return;
    const auto stayOf = [this](int index) -> const Stay & { return m_stays.at(index); };
    const auto patientOf = [&](int index) -> const Patient & {
        return m_patients.at(stayOf(index).patient);
    };

    TableRows &surgical = table(
        QStringLiteral("STATION..tbSurgicalAuthorization"),
        {QStringLiteral("IDNum"), QStringLiteral("Surgeon"), QStringLiteral("Procedure"),
         QStringLiteral("Exception"), QStringLiteral("Witness"), QStringLiteral("DateSigned"),
         QStringLiteral("Reason"), QStringLiteral("Representative"), QStringLiteral("Relation"),
         QStringLiteral("Transdate"), QStringLiteral("HostName"), QStringLiteral("UserID")});
    static constexpr std::array<QStringView, 3> operations = {
        u"OPEN CHOLECYSTECTOMY", u"EXPLORATORY LAPAROTOMY", u"OPEN REDUCTION, INTERNAL FIXATION"};
    for (int n = 0; n < std::min<int>(3, int(ward.size())); ++n) {
        const Stay &s = stayOf(ward.at(n));
        surgical.add({s.idNum, doctorName(s.doctor), operations[std::size_t(n)].toString(),
                      n == 1 ? QStringLiteral("NO BLOOD TRANSFUSION") : QString(),
                      QStringLiteral("DELA CRUZ, MARIA"), day(1), QString(), QString(), QString(),
                      at(1, 9 * 60 + 15 + n * 7), host, nurse});
    }
    if (minor >= 0 && !ward.mid(0, 3).contains(minor)) {
        const Stay &s = stayOf(minor);
        surgical.add({s.idNum, doctorName(s.doctor), QStringLiteral("APPENDECTOMY"), QString(),
                      QStringLiteral("SANTOS, LIZA"), day(0), QString(),
                      QString(u"MOTHER OF " + patientOf(minor).firstName),
                      QStringLiteral("MOTHER"), at(0, 8 * 60 + 40), host, nurse});
    }

    TableRows &treatment = table(
        QStringLiteral("STATION..tbConsentTreatment"),
        {QStringLiteral("IDNum"), QStringLiteral("Witness"), QStringLiteral("DateSigned"),
         QStringLiteral("Reason"), QStringLiteral("Representative"), QStringLiteral("Relation"),
         QStringLiteral("Transdate"), QStringLiteral("HostName"), QStringLiteral("UserID")});
    for (int n = 0; n < int(ward.size()) - 1; ++n) {
        const Stay &s = stayOf(ward.at(n));
        // The fourth patient came in unconscious; her husband signed.
        const bool unable = n == 3;
        treatment.add({s.idNum, QStringLiteral("REYES, JOANNA"), when(s.admitted),
                       unable ? QStringLiteral("UNCONSCIOUS ON ADMISSION") : QString(),
                       unable ? QStringLiteral("SPOUSE OF THE PATIENT") : QString(),
                       unable ? QStringLiteral("HUSBAND") : QString(), when(s.admitted), host,
                       nurse});
    }

    // A sterilization consent for the first woman of child-bearing age, with her husband's.
    TableRows &sterilization = table(
        QStringLiteral("STATION..tbSterilizationConsent"),
        {QStringLiteral("IDnum"), QStringLiteral("Procedure"), QStringLiteral("Witness"),
         QStringLiteral("Authorized"), QStringLiteral("ConsentingSpouse"),
         QStringLiteral("Transdate"), QStringLiteral("HostName"), QStringLiteral("UserID")});
    for (int index : std::as_const(ward)) {
        const Patient &p = patientOf(index);
        if (p.sex != u'F' || p.age < 20 || p.age > 45)
            continue;
        sterilization.add({stayOf(index).idNum, QStringLiteral("BILATERAL TUBAL LIGATION"),
                           QStringLiteral("REYES, JOANNA"), doctorName(stayOf(index).doctor),
                           QString(u"ROMEO " + p.lastName), at(1, 14 * 60), host, nurse});
        break;
    }

    TableRows &special = table(
        QStringLiteral("STATION..tbSpecialTreatmentConsent"),
        {QStringLiteral("IDnum"), QStringLiteral("Doctor"), QStringLiteral("Procedure"),
         QStringLiteral("Witness"), QStringLiteral("Reason"), QStringLiteral("Representative"),
         QStringLiteral("Relation"), QStringLiteral("MinorAge"), QStringLiteral("Transdate"),
         QStringLiteral("HostName"), QStringLiteral("UserID")});
    special.add({stayOf(ward.at(0)).idNum, doctorName(stayOf(ward.at(0)).doctor),
                 QStringLiteral("BLOOD TRANSFUSION, 2 UNITS PACKED RED CELLS"),
                 QStringLiteral("DELA CRUZ, MARIA"), QString(), QString(), QString(), QString(),
                 at(1, 10 * 60), host, nurse});

    // Hourly monitoring: three days of the first patient, today's first hours of the second.
    TableRows &hourly = table(
        QStringLiteral("STATION..tbHourlyMonitoringSheet"),
        {QStringLiteral("IDnum"), QStringLiteral("Date"), QStringLiteral("RowNo"),
         QStringLiteral("HourTime"), QStringLiteral("Mainline"), QStringLiteral("LALF"),
         QStringLiteral("RARF"), QStringLiteral("OralNGT"), QStringLiteral("IntakeTotal"),
         QStringLiteral("Urine"), QStringLiteral("Drain1"), QStringLiteral("Drain2"),
         QStringLiteral("Others"), QStringLiteral("OutputTotal"), QStringLiteral("Remarks"),
         QStringLiteral("UserID"), QStringLiteral("HostName"), QStringLiteral("Transdate")});
    const auto hours = [&](int index, int daysAgo, int from, int count) {
        for (int h = 0; h < count; ++h) {
            const int hour = from + h;
            const int mainline = 80 + int(m_rng.below(5)) * 10;
            const int side = h % 2 == 0 ? 30 : 0;
            const int oral = h % 3 == 0 ? 100 + int(m_rng.below(3)) * 50 : 0;
            const int urine = 40 + int(m_rng.below(8)) * 10;
            const int drain = 10 + int(m_rng.below(4)) * 5;
            const QVariant none;
            hourly.add({stayOf(index).idNum, day(daysAgo), h + 1,
                        QTime(hour % 24, 0).toString(QStringLiteral("h:mm AP")), mainline,
                        side ? QVariant(side) : none, none, oral ? QVariant(oral) : none,
                        mainline + side + oral, urine, drain, none, none, urine + drain,
                        h == 0 ? QStringLiteral("IVF D5LR 1L @ 30 GTTS/MIN") : QString(),
                        nurse, host, at(daysAgo, (hour % 24) * 60 + 5)});
        }
    };
    hours(ward.at(0), 2, 8, 8);
    hours(ward.at(0), 1, 8, 12);
    hours(ward.at(0), 0, 6, 4);
    if (ward.size() > 1)
        hours(ward.at(1), 0, 7, 2);

    // Fluid sheets: two whole days and today's morning shift of the first patient, yesterday
    // of the third.
    TableRows &fluid = table(
        QStringLiteral("STATION..tbNurseFluid"),
        {QStringLiteral("IDNum"), QStringLiteral("DateEntered"), QStringLiteral("Shift"),
         QStringLiteral("Oral"), QStringLiteral("Parenteral"), QStringLiteral("InputTotal"),
         QStringLiteral("Urine"), QStringLiteral("Drainage"), QStringLiteral("Others"),
         QStringLiteral("OutputTotal"), QStringLiteral("NurseID"), QStringLiteral("HostName"),
         QStringLiteral("Transdate")});
    static constexpr std::array<QStringView, 3> shifts = {u"7AM-3PM", u"3PM-11PM", u"11PM-7AM"};
    const auto shiftsOf = [&](int index, int daysAgo, int count) {
        for (int n = 0; n < count; ++n) {
            const int oral = 300 + int(m_rng.below(6)) * 50;
            const int parenteral = 600 + int(m_rng.below(5)) * 50;
            const int urine = 450 + int(m_rng.below(8)) * 50;
            const int drainage = int(m_rng.below(4)) * 25;
            const int others = n == 1 ? 100 : 0;
            fluid.add({stayOf(index).idNum, day(daysAgo), shifts[std::size_t(n)].toString(), oral,
                       parenteral, oral + parenteral, urine, drainage, others,
                       urine + drainage + others, nurse, host,
                       at(daysAgo, 14 * 60 + 50 + n * 8 * 60)});
        }
    };
    shiftsOf(ward.at(0), 2, 3);
    shiftsOf(ward.at(0), 1, 3);
    shiftsOf(ward.at(0), 0, 1);
    if (ward.size() > 2)
        shiftsOf(ward.at(2), 1, 3);
}

} // namespace kestrel::hospitaldb::demo
