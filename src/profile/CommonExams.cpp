// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/CommonExams.h"

#include "core/AccessRights.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

const QList<CommonExams::Panel> &CommonExams::panels()
{
    static const QList<Panel> list{
        {QStringLiteral("LB"), QStringLiteral("Laboratory"), QStringLiteral("lstListLaboratory"),
         QStringLiteral("STATION..LaboratoryExams")},
        {QStringLiteral("XR"), QStringLiteral("X-ray"), QStringLiteral("lstListXray"),
         QStringLiteral("STATION..XrayExams")},
        {QStringLiteral("US"), QStringLiteral("Ultrasound"), QStringLiteral("lstListUltra"),
         QStringLiteral("STATION..UltraExams")},
        {QStringLiteral("OT"), QStringLiteral("Others"), QStringLiteral("lstListOthers"),
         QStringLiteral("STATION..OtherExams")},
    };
    return list;
}

bool CommonExams::refuse(const QString &text)
{
    m_session.notifier().message(text, QStringLiteral("Notification"),
                                 Notifier::Icon::Exclamation);
    return false;
}

bool CommonExams::add(const ProfileHeader &header, const QString &department,
                      const QString &code, const QString &exam)
{
    const bool laboratory = department == u"LB";
    if (!HasAccessRight(m_session, u"1")) {
        const QString what = laboratory              ? QStringLiteral("Laboratory")
                             : department == u"XR"   ? QStringLiteral("X-ray")
                             : department == u"US"   ? QStringLiteral("Ultrasound")
                                                     : QStringLiteral("Diagnostic");
        return refuse(u"Sorry, you don't have access right to Request " + what + u" Exams.");
    }
    if (laboratory && header.outpatient && m_session.settings.NoOPDLab())
        return refuse(QStringLiteral("Sorry, you are not allowed to send Laboratory requests for "
                                     "outpatients.\r\nFor queries, you may call IT department."));
    if (!header.outpatient && header.Diagnosis.trimmed().isEmpty())
        return refuse(QStringLiteral("Please provide patient's admitting diagnosis first before "
                                     "sending any request."));
    for (const Order &o : std::as_const(m_orders)) {
        if (o.code.compare(code.trimmed(), Qt::CaseInsensitive) == 0)
            return refuse(QStringLiteral("Examination is already in the Orders List."));
    }
    m_orders << Order{department, code.trimmed(), exam.trimmed()};
    return true;
}

} // namespace kestrel
