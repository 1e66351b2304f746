// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsCodeLookup.h"

#include "core/components/CodePickList.h"
#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

namespace {

// "Begins with" for LIKE: what the user typed, with the pattern characters taken literally
// (the statements say `escape '!'`).
QString beginsWith(const QString &typed)
{
    QString p = typed.trimmed();
    p.replace(u'!', QStringLiteral("!!"));
    p.replace(u'%', QStringLiteral("!%"));
    p.replace(u'_', QStringLiteral("!_"));
    return p + u'%';
}

const QString kActive = QStringLiteral("A");

} // namespace

clsCodeLookup::clsCodeLookup(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

clsCodeLookup::~clsCodeLookup() = default;

void clsCodeLookup::Initialize_Classes()
{
    m_doctor = {};
    m_otherRevenue = {};
    m_diet = {};
    m_dosage = {};
    m_codes.clear();
}

bool clsCodeLookup::SearchListing(int kind, const QString &typedText)
{
    switch (kind) {
    case Doctors:
        m_doctor = {};
        break;
    case OtherRevenues: {
        // The section is what the caller chose; only the picked item is let go.
        const QString section = m_otherRevenue.OtherSectionID;
        m_otherRevenue = {};
        m_otherRevenue.OtherSectionID = section;
        break;
    }
    case Diets:
        m_diet = {};
        break;
    case Dosages:
        m_dosage = {};
        break;
    case Services:
    case Stations:
    case CTExams:
    case HSExams:
    case LabExams:
    case NuclearExams:
    case PTExams:
    case RTSExams:
    case UltrasoundExams:
    case XrayExams:
        m_codes.remove(kind);
        break;
    default:
        qCWarning(lcComponents) << "there is no code list of kind" << kind;
        return false;
    }
    if (!context().codePickList) {
        tellNotAvailable(QStringLiteral("The code list"));
        return false;
    }
    if (!connection()) {
        qCWarning(lcComponents) << "code list" << kind << "asked for before a connection";
        return false;
    }
    if (kind == Doctors)
        return searchDoctors(typedText);
    if (kind == OtherRevenues)
        return searchOtherRevenues(typedText);
    return searchCodeList(kind, typedText);
}

bool clsCodeLookup::searchCodeList(int kind, const QString &typedText)
{
    struct Shown
    {
        int kind;
        QStringView title;
        QStringView extra; ///< caption of the third column, none when empty
    };
    static constexpr Shown kShown[] = {
        {Diets, u"Diets", u"Remarks"},
        {Services, u"Services", u""},
        {Stations, u"Stations", u""},
        {CTExams, u"CT Scan Examinations", u""},
        {Dosages, u"Dosages", u"Frequency"},
        {HSExams, u"Heart Station Examinations", u""},
        {LabExams, u"Laboratory Examinations", u"Section"},
        {NuclearExams, u"Nuclear Medicine Examinations", u""},
        {PTExams, u"Physical Therapy", u""},
        {RTSExams, u"Respiratory Therapy", u""},
        {UltrasoundExams, u"Ultrasound Examinations", u""},
        {XrayExams, u"X-ray Examinations", u""},
    };
    const Shown *shown = nullptr;
    for (const Shown &s : kShown) {
        if (s.kind == kind)
            shown = &s;
    }
    Q_ASSERT(shown);
    auto rows = connection()->call(u"BUILD_FILE..sp_Search_CodeList",
                                   {QString::number(kind), typedText.trimmed()});
    if (!rows) {
        notifier().errorBox(rows.error());
        return false;
    }
    QStringList headers{QStringLiteral("Code"), QStringLiteral("Description")};
    QStringList columns{QStringLiteral("ResultCode"), QStringLiteral("Description")};
    if (!shown->extra.isEmpty()) {
        headers << shown->extra.toString();
        columns << QStringLiteral("Extra");
    }
    const int picked = pick(shown->title.toString(), headers, *rows, columns, typedText);
    if (picked < 0)
        return false;
    const Row &r = rows->at(picked);
    if (kind == Diets) {
        m_diet.ResultCode = r.trimmed(u"ResultCode");
        m_diet.Diet = r.trimmed(u"Description");
        m_diet.Remarks = r.trimmed(u"Extra");
    } else if (kind == Dosages) {
        m_dosage.ResultCode = r.trimmed(u"ResultCode");
        m_dosage.Frequency = r.trimmed(u"Extra");
    } else {
        m_codes.insert(kind, {r.trimmed(u"ResultCode"), r.trimmed(u"Description")});
    }
    return true;
}

bool clsCodeLookup::searchDoctors(const QString &typedText)
{
    QString sql =
        QStringLiteral("select DoctorID, LastName, FirstName, MiddleName, Specialization "
                       "from BUILD_FILE..tbCoDoctor where Status = :active "
                       "and (DoctorID like :typed escape '!' or LastName like :typed2 escape '!')");
    if (m_affiliatedOnly)
        sql += QStringLiteral(" and IsAffiliated = 1");
    sql += QStringLiteral(" order by LastName, FirstName, DoctorID");
    const QString typed = beginsWith(typedText);
    auto rows = connection()->select(sql, {{QStringLiteral("active"), kActive},
                                           {QStringLiteral("typed"), typed},
                                           {QStringLiteral("typed2"), typed}});
    if (!rows) {
        notifier().errorBox(rows.error());
        return false;
    }
    const int picked =
        pick(QStringLiteral("Doctors"),
             {QStringLiteral("Code"), QStringLiteral("Last Name"), QStringLiteral("First Name"),
              QStringLiteral("Middle Name"), QStringLiteral("Specialization")},
             *rows,
             {QStringLiteral("DoctorID"), QStringLiteral("LastName"), QStringLiteral("FirstName"),
              QStringLiteral("MiddleName"), QStringLiteral("Specialization")},
             typedText);
    if (picked < 0)
        return false;
    const Row &r = rows->at(picked);
    m_doctor.ResultCode = r.trimmed(u"DoctorID");
    m_doctor.LastName = r.trimmed(u"LastName");
    m_doctor.FirstName = r.trimmed(u"FirstName");
    m_doctor.MiddleName = r.trimmed(u"MiddleName");
    return true;
}

bool clsCodeLookup::searchOtherRevenues(const QString &typedText)
{
    const QString section = m_otherRevenue.OtherSectionID.trimmed();
    QString sql = QStringLiteral(
        "select OtherRevenueID, OtherRevenue, OtherSectionID, RateA, RateB, RateC, RateD, "
        "RateE, RateF, RateG, RateH, RateI from BUILD_FILE..tbCoOtherRevenue "
        "where Status = :active "
        "and (OtherRevenueID like :typed escape '!' or OtherRevenue like :typed2 escape '!')");
    Binds binds{{QStringLiteral("active"), kActive},
                {QStringLiteral("typed"), beginsWith(typedText)},
                {QStringLiteral("typed2"), beginsWith(typedText)}};
    // Without a section the list holds every section's items.
    if (!section.isEmpty()) {
        sql += QStringLiteral(" and OtherSectionID = :section");
        binds.insert(QStringLiteral("section"), section);
    }
    sql += QStringLiteral(" order by OtherRevenue, OtherRevenueID");
    auto rows = connection()->select(sql, binds);
    if (!rows) {
        notifier().errorBox(rows.error());
        return false;
    }
    const int picked = pick(QStringLiteral("Items"),
                            {QStringLiteral("Code"), QStringLiteral("Description"),
                             QStringLiteral("Section"), QStringLiteral("Rate")},
                            *rows,
                            {QStringLiteral("OtherRevenueID"), QStringLiteral("OtherRevenue"),
                             QStringLiteral("OtherSectionID"), QStringLiteral("RateA")},
                            typedText);
    if (picked < 0)
        return false;
    const Row &r = rows->at(picked);
    kestrel::OtherRevenueRecord &o = m_otherRevenue;
    o.ResultCode = r.trimmed(u"OtherRevenueID");
    o.OtherRevenue = r.trimmed(u"OtherRevenue");
    o.OtherSectionID = r.trimmed(u"OtherSectionID");
    o.RateA = r.money(u"RateA");
    o.RateB = r.money(u"RateB");
    o.RateC = r.money(u"RateC");
    o.RateD = r.money(u"RateD");
    o.RateE = r.money(u"RateE");
    o.RateF = r.money(u"RateF");
    o.RateG = r.money(u"RateG");
    o.RateH = r.money(u"RateH");
    o.RateI = r.money(u"RateI");
    return true;
}

int clsCodeLookup::pick(const QString &title, const QStringList &headers, const RowSet &rows,
                        const QStringList &columns, const QString &typedText)
{
    CodeListing listing;
    listing.title = title;
    listing.typedText = typedText.trimmed();
    listing.headers = headers;
    for (const Row &r : rows) {
        QStringList cells;
        for (const QString &c : columns)
            cells << r.trimmed(c);
        listing.rows << cells;
    }
    const std::optional<int> picked = context().codePickList->pick(listing);
    if (!picked || *picked < 0 || *picked >= rows.count())
        return -1;
    return *picked;
}

} // namespace kestrel
