// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/clsSearcher.h"

#include "patients/SearcherList.h"
#include "patients/SearcherPickList.h"
#include "patients/SearcherStatement.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kInvalidCode = QStringLiteral("Invalid code.");
const QString kNoRecord = QStringLiteral("No record found.");

} // namespace

clsSearcher::clsSearcher(Session &session, SearcherPickList &pickList)
    : m_session(session)
    , m_pickList(pickList)
{
}

bool clsSearcher::SearchAdmissionType(const QString &Code)
{
    static const QString call = QStringLiteral("Patient_Data..sp_Adm_SearchAdmissionType '##'");
    return lookup({call, QStringLiteral("Code"), QStringLiteral("Description"),
                   QStringLiteral("Admission Types"), call, kInvalidCode},
                  Code);
}

bool clsSearcher::SearchVessel(const QString &Code)
{
    return lookup({QStringLiteral("SELECT vesselcode,vesselname FROM BUILD_FILE..tbCoVessel "
                                  "WHERE vesselname like  '##' + '%'"),
                   QStringLiteral("vesselcode"), QStringLiteral("vesselname"),
                   QStringLiteral("Vessels"),
                   // The list shows every vessel, whatever was typed.
                   QStringLiteral("SELECT vesselname,vesselcode FROM BUILD_FILE..tbCoVessel "
                                  "ORDER BY vesselcode"),
                   kInvalidCode},
                  Code);
}

bool clsSearcher::SearchHospital(const QString &strKey)
{
    return lookup({QStringLiteral("SELECT HospitalID,HospitalName FROM BUILD_FILE..tbcoHospital "
                                  "where HospitalName like  '##' + '%'"),
                   QStringLiteral("HospitalID"), QStringLiteral("HospitalName"),
                   QStringLiteral("Hospitals"),
                   QStringLiteral("SELECT HospitalName,HospitalID FROM BUILD_FILE..tbcoHospital "
                                  "WHERE HospitalName like '##' + '%' ORDER BY HospitalName"),
                   kNoRecord},
                  strKey);
}

bool clsSearcher::SearchMembership(const QString &strKey)
{
    return lookup({QStringLiteral("SELECT PHICDescription,PHICCode FROM MEDICARE..tbAdmPHICTable "
                                  "WHERE Status = 1 and PHICCode = '##'"),
                   QStringLiteral("PHICCode"), QStringLiteral("PHICDescription"),
                   QStringLiteral("PHIC Membership"),
                   QStringLiteral("SELECT PHICDescription,PHICCode FROM MEDICARE..tbAdmPHICTable "
                                  "WHERE Status = 1 and PHICDescription like '%' + '##' + '%' "
                                  "ORDER BY PHICDescription"),
                   kNoRecord},
                  strKey);
}

bool clsSearcher::lookup(const Lookup &how, const QString &typed)
{
    const QString text = typed.trimmed();
    auto rows = SearcherStatement(how.statement, text).run(m_session.db());
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    if (rows->count() == 1) {
        m_code = rows->at(0).trimmed(how.codeColumn);
        m_description = rows->at(0).trimmed(how.descriptionColumn);
        return true;
    }
    if (rows->isEmpty()) {
        m_session.notifier().message(how.notFound, QStringLiteral("Notification"),
                                     Notifier::Icon::Critical);
        return false;
    }
    SearcherList list(m_session);
    list.setSearchCaption(how.caption);
    list.setQuery(how.pickListQuery);
    list.setCriteria(text);
    m_pickList.show(list);
    if (!list.Valid())
        return false;
    m_code = list.Code();
    m_description = list.Description();
    return true;
}

} // namespace kestrel
