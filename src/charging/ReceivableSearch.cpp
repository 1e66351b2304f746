// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ReceivableSearch.h"

#include "core/components/PatientRecords.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

// The day of a date and time as either database hands it: a date and time, or its text.
QDate dayOf(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    return QDate::fromString(value.toString().trimmed().left(10), Qt::ISODate);
}

} // namespace

ReceivableSearch::ReceivableSearch(Session &session)
    : m_session(session)
{
}

QStringList ReceivableSearch::headers()
{
    // The list's format string: cells split by "|", each opened by its alignment mark.
    static const QString format =
        QStringLiteral("  |<Hospital #|<ADM. Num.|< Patient Name                    |<Admission "
                       "Date     |<Discharged Date    |<Billing Date       ");
    QStringList headers = format.split(u'|');
    for (QString &h : headers) {
        if (h.startsWith(u'<') || h.startsWith(u'>') || h.startsWith(u'^'))
            h.remove(0, 1);
    }
    return headers;
}

QString ReceivableSearch::prompt(Category category)
{
    switch (category) {
    case Category::HospitalNumber:
        return QStringLiteral("Enter Hospital Number :");
    case Category::AdmissionNumber:
        return QStringLiteral("Enter Admission Number :");
    case Category::LastName:
        break;
    }
    return QStringLiteral("Enter Lastname :");
}

bool ReceivableSearch::search(Category category, bool inpatients, const QString &text)
{
    m_rows.clear();
    m_inpatients = inpatients;
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return true;
    const QString kind = inpatients ? QStringLiteral("A") : QStringLiteral("O");
    const QString by = category == Category::HospitalNumber    ? QStringLiteral("H")
                       : category == Category::AdmissionNumber ? QStringLiteral("I")
                                                               : QStringLiteral("L");
    auto rows =
        m_session.db().call(u"STATION..sp_Get_Recievable_DRPatient", {kind, typed.toUpper(), by});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    for (const Row &r : *rows) {
        ReceivableAccountRow a;
        a.hospNum = r.trimmed(u"HospNum");
        a.idNum = r.trimmed(u"IDNum");
        a.patientName = completeName(r.trimmed(u"LastName"), r.trimmed(u"FirstName"),
                                     r.trimmed(u"MiddleName"));
        a.room = r.trimmed(u"RoomID");
        a.admitted = dayOf(r.value(u"AdmDate"));
        a.discharged = dayOf(r.value(u"DcrDate"));
        a.billed = dayOf(r.value(u"BillingDate"));
        a.cashBasis = r.flag(u"isCashBasis");
        m_rows.append(a);
    }
    return true;
}

CurrentPatientRecord ReceivableSearch::stayOf(int index) const
{
    CurrentPatientRecord stay;
    if (index < 0 || index >= m_rows.size())
        return stay;
    const ReceivableAccountRow &a = m_rows.at(index);
    stay.IdNum = a.idNum;
    stay.HospNum = a.hospNum;
    stay.PatientName = a.patientName;
    stay.RoomID = a.room;
    stay.PatientClass = m_inpatients ? QStringLiteral("I") : QStringLiteral("O");
    return stay;
}

} // namespace kestrel
