// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/ORRecord.h"

#include "core/settings/clsSettings.h"

#include <QHash>

namespace kestrel {

ORRecordSwitches ORRecordSwitches::from(const clsSettings &s)
{
    ORRecordSwitches w;
    w.clinicalOperationWithNoPostCharge = s.ClinicalOperationWithNoPostCharge();
    w.dontRequirePHICCode = s.DontRequirePHICCOde();
    w.dontRequireAnes = s.DontRequireAnes();
    w.dontRequireAnesthesia = s.DontRequireAnesthesia();
    w.dontRequireCirc = s.DontRequireCirc();
    w.dontRequireScrub = s.DontRequireScrub();
    w.requireAntibioticGiven = s.RequireAntibioticGiven();
    w.showAnesthesiaDone = s.ShowAnesthesiaDone();
    w.showSpecimen = s.ShowSpecimen();
    w.requireOperativeDiagnosis = s.RequireOperativeDiagnosis();
    w.requireChartCategory = s.RequireChartCategory();
    w.showCompleteInc = s.ShowCompleteInc();
    w.enableAsstNurse = s.EnableORPrcAsstNurse();
    w.enableLaterality = s.EnableLateralCheckBox();
    w.showSignature = s.ShowSignature();
    w.showTechniqueWarning = s.ShowORTechWarning();
    w.hideMediumCategory = s.HideMediumCategory();
    w.hideOpenHeartCategory = s.HideOpenHeartCategory();
    w.ruvText = !s.ClientRUVtext().trimmed().isEmpty();
    return w;
}

QString ORRecord::text(QStringView column) const
{
    return m_values.value(column.toString()).toString();
}

QDate ORRecord::date(QStringView column) const
{
    return m_values.value(column.toString()).toDate();
}

QTime ORRecord::time(QStringView column) const
{
    return m_values.value(column.toString()).toTime();
}

void ORRecord::setMoment(const ORMoment &moment, const QDateTime &at)
{
    m_values.insert(QString::fromUtf16(moment.dateColumn), at.date());
    m_values.insert(QString::fromUtf16(moment.timeColumn), at.time());
}

QDateTime ORRecord::moment(const ORMoment &moment) const
{
    return QDateTime(date(moment.dateColumn), time(moment.timeColumn));
}

QString ORRecord::momentKey(const ORMoment &moment) const
{
    return date(moment.dateColumn).toString(QStringLiteral("yyyy/MM/dd")) +
           time(moment.timeColumn).toString(QStringLiteral("HH:mm:ss"));
}

QString personNameColumn(QStringView codeColumn)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("SurgeonID1"), QStringLiteral("Surgeon1")},
        {QStringLiteral("SurgeonID2"), QStringLiteral("Surgeon2")},
        {QStringLiteral("SurgeonID3"), QStringLiteral("Surgeon3")},
        {QStringLiteral("AnestheID"), QStringLiteral("Anesthesiologist")},
        {QStringLiteral("Anesth1"), QStringLiteral("Anesth1Name")},
        {QStringLiteral("Anesth2"), QStringLiteral("Anesth2Name")},
        {QStringLiteral("AROD"), QStringLiteral("ARODoctor")},
        {QStringLiteral("SnurseID1"), QStringLiteral("SNurse1")},
        {QStringLiteral("SnurseID2"), QStringLiteral("SNurse2")},
        {QStringLiteral("CnurseID1"), QStringLiteral("CNurse1")},
        {QStringLiteral("CnurseID2"), QStringLiteral("CNurse2")},
        {QStringLiteral("AsstNurseID1"), QStringLiteral("AsstNurse1")},
        {QStringLiteral("AsstNurseID2"), QStringLiteral("AsstNurse2")}};
    return names.value(codeColumn.toString());
}

const QStringList &narrativeColumns()
{
    static const QStringList columns{
        QStringLiteral("prod"),       QStringLiteral("psod"),         QStringLiteral("procnd"),
        QStringLiteral("psoc"),       QStringLiteral("meds"),         QStringLiteral("drains"),
        QStringLiteral("PF"),         QStringLiteral("ot"),           QStringLiteral("Opfindings"),
        QStringLiteral("SpecificDesc"), QStringLiteral("SpecimenText")};
    return columns;
}

const QStringList &anesthesiaSheetColumns()
{
    static const QStringList columns =
        QStringLiteral("OperationProposed FoodIntake ManualORNo TotalFluids BloodLoss "
                       "BloodProducts PreOPBP PreOPTemp PreOPPR PreOPRR PostOPBP PostOPO2Sat "
                       "PostOPPR PostOPRR PostOPStatus PostOPTO SystemReview Premedication "
                       "Inductions Maintenance")
            .split(u' ');
    return columns;
}

namespace {

struct Category
{
    QStringView text;
    QStringView digit;
};

constexpr Category kCategories[] = {{u"Major", u"3"},
                                    {u"Medium", u"1"},
                                    {u"Minor", u"2"},
                                    {u"NSVD", u"5"},
                                    {u"Open Heart", u"4"}};

} // namespace

QStringList categoryChoices(const ORRecordSwitches &switches)
{
    QStringList out;
    for (const Category &c : kCategories) {
        if ((c.digit == u"1" && switches.hideMediumCategory) ||
            (c.digit == u"4" && switches.hideOpenHeartCategory))
            continue;
        out << c.text.toString();
    }
    return out;
}

QString categoryDigit(QStringView text)
{
    for (const Category &c : kCategories) {
        if (c.text.compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return c.digit.toString();
    }
    return {};
}

QString categoryText(QStringView digit)
{
    for (const Category &c : kCategories) {
        if (c.digit == digit.trimmed())
            return c.text.toString();
    }
    return {};
}

namespace {

bool blank(const ORRecord &r, QStringView column)
{
    return r.text(column).trimmed().isEmpty();
}

// A later moment whose key is the same as or earlier than the one before it.
std::optional<ORRefusal> notAfter(const ORRecord &r, const ORMoment &later,
                                  const ORMoment &earlier, const char *message)
{
    if (r.momentKey(later) > r.momentKey(earlier))
        return std::nullopt;
    return ORRefusal{QString::fromLatin1(message), QString::fromUtf16(later.timeColumn)};
}

} // namespace

std::optional<ORRefusal> checkORRecord(const ORRecord &r, const ORRecordSwitches &w,
                                       const ORRecordLookups &lookups)
{
    using namespace ormoment;
    const auto refuse = [](const char *message, const char *column) {
        return std::optional<ORRefusal>(
            ORRefusal{QString::fromLatin1(message), QString::fromLatin1(column)});
    };
    const auto isDoctor = [&](QStringView column) {
        const QString code = r.text(column).trimmed();
        return !code.isEmpty() && lookups.isDoctor && lookups.isDoctor(code);
    };
    const auto isProcedure = [&] {
        const QString code = r.text(u"Procedures").trimmed();
        return !code.isEmpty() && lookups.isORProcedure && lookups.isORProcedure(code);
    };

    if (w.clinicalOperationWithNoPostCharge && !isProcedure())
        return refuse("Please provide operation procedure.", "Procedures");
    if (!w.dontRequirePHICCode && blank(r, u"PHICCode"))
        return refuse("Can't save blank PHIC Code and RVS. Please enter RVS.", "PHICCode");
    if (!isDoctor(u"SurgeonID1") && !isDoctor(u"SurgeonID2") && !isDoctor(u"SurgeonID3"))
        return refuse("Please provide the surgeons.", "SurgeonID1");
    if (!w.dontRequireAnes && !isDoctor(u"AnestheID"))
        return refuse("Please provide the anesthesiologists.", "AnestheID");
    if (!w.dontRequireAnesthesia && blank(r, u"Anesthesia"))
        return refuse("Please provide anesthesia type.", "Anesthesia");
    if (!isProcedure())
        return refuse("Please provide operation procedure.", "Procedures");
    if (!w.dontRequireCirc && blank(r, u"CnurseID1") && blank(r, u"CnurseID2") &&
        blank(r, u"CNOthers"))
        return refuse("Please provide circulating nurses.", "CnurseID1");
    if (!w.dontRequireScrub && blank(r, u"SnurseID1") && blank(r, u"SnurseID2") &&
        blank(r, u"SNOthers"))
        return refuse("Please provide scrub nurses.", "SnurseID1");
    if (blank(r, u"ORNumber"))
        return refuse("Please provide OR room.", "ORNumber");
    if (w.requireAntibioticGiven && blank(r, u"Prophylaxis"))
        return refuse("Please provide Antibiotic Prophylaxis Given.", "Prophylaxis");

    if (auto no = notAfter(r, Anesthesia, PatientIn,
                           "Anesthesia time must not be the same or earlier than Patient Time In."))
        return no;
    if (auto no = notAfter(r, Cutting, Anesthesia,
                           "Cutting time must not be the same or earlier than Anesthesia Time."))
        return no;
    if (auto no = notAfter(r, Closing, Cutting,
                           "Closing time must not be the same or earlier than Cutting Time."))
        return no;
    if (w.showAnesthesiaDone) {
        if (auto no = notAfter(r, AnesthesiaDone, Closing,
                               "Anesthesia Done Time must not be the same or earlier than "
                               "Closing Time."))
            return no;
        if (auto no = notAfter(r, PatientOut, AnesthesiaDone,
                               "Patient Time Out must not be the same or earlier than Anesthesia "
                               "Done Time."))
            return no;
    } else if (auto no = notAfter(r, PatientOut, Closing,
                                  "Patient Time Out must not be the same or earlier than Closing "
                                  "Time.")) {
        return no;
    }
    if (r.date(PatientIn.dateColumn) > r.date(PatientOut.dateColumn))
        return refuse("Operation Date must not be later than Date Out.", "OperationDateEnd");

    if (w.showSpecimen) {
        // Equal moments pass: a specimen may be sent out the minute it came.
        if (r.momentKey(SpecimenOut) < r.momentKey(SpecimenIn))
            return refuse("Specimen out time must not be the same or earlier than Specimen in "
                          "Time.",
                          "SpecimenOutTime");
        // No specimen is taken before the patient is in the room.
        if (r.date(SpecimenIn.dateColumn) < r.date(PatientIn.dateColumn))
            return refuse("Specimen In Date must not be earlier than Date In.", "SpecimenInDate");
    }
    if (w.requireOperativeDiagnosis && blank(r, u"prod"))
        return refuse("Please provide Prep-Operative Diagnosis.", "prod");
    if (w.requireOperativeDiagnosis && blank(r, u"psod"))
        return refuse("Please provide Post-Operative Diagnosis.", "psod");
    if (w.requireChartCategory && blank(r, u"Category"))
        return refuse("Please select category of procedure.", "Category");
    return std::nullopt;
}

QString techniqueWarning(const QString &techniques, bool enabled)
{
    if (!enabled || techniques.trimmed().size() < 2000)
        return {};
    return QStringLiteral("WARNING: Daily course in the ward limit of 2000 characters in "
                          "OPERATION TECHNIQUES has been reached. This will not be saved into "
                          "courses.");
}

QString withBackquotes(QString text)
{
    return text.replace(u'\'', u'`');
}

} // namespace kestrel
