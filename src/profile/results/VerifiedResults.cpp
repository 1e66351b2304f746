// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/VerifiedResults.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "profile/ProfileLists.h"
#include "reports/ReportService.h"

namespace kestrel {

const QList<VerifiedKind> &VerifiedResults::kinds()
{
    const auto s = [](const char *text) { return QString::fromUtf8(text); };
    static const QList<VerifiedKind> list{
        {s("Laboratory"), s("LB"), 0, s("LabResult.rpt"), s("Laboratory Result"), {}},
        {s("Xray"), s("XR"), 1, s("RadioResult.Rpt"), s("Xray Result"), s("X-RAY SECTION")},
        {s("CT-Scan"), s("CT"), 2, s("RadioResult.Rpt"), s("CT Result"), s("CT-SCAN SECTION")},
        {s("Ultrasound"), s("US"), 3, s("RadioResult.Rpt"), s("Ultrasound Result"),
         s("ULTRASOUND SECTION")},
    };
    return list;
}

VerifiedResults::Printer VerifiedResults::reportPrinter(ReportService *reports)
{
    return [reports](const VerifiedKind &kind, const VerifiedResult &result) {
        if (!reports)
            return false;
        QVariantList values{result.requestNum};
        if (kind.imagingType != 0)
            values << kind.section;
        return reports->OpenReport(kind.report, values) &&
               reports->ShowReport(false, kind.title, true) == ReportService::Shown::Printed;
    };
}

VerifiedResults::VerifiedResults(Session &session, Printer printer, const VerifiedKind &kind,
                                 QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_print(std::move(printer))
    , m_kind(kind)
{
}

QStringList VerifiedResults::columns()
{
    return {QStringLiteral("Tag"),          QStringLiteral("Ref. No."),
            QStringLiteral("Adm. No."),     QStringLiteral("Hospital No."),
            QStringLiteral("Patient Name"), QStringLiteral("Exam"),
            QStringLiteral("Result Date")};
}

bool VerifiedResults::load()
{
    m_results.clear();
    auto rows =
        m_kind.imagingType == 0
            ? m_session.db().call(u"STATION..sp_Nurse_Get_LabAutoPrint", {m_session.StationID})
            : m_session.db().call(u"STATION..sp_Nurse_Get_RadiologyAutoPrint",
                                  {m_session.StationID, m_kind.imagingType});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        Q_EMIT listChanged();
        return false;
    }
    for (const Row &r : *rows) {
        QString patient = r.trimmed(u"LastName") + u", " + r.trimmed(u"FirstName");
        if (!r.trimmed(u"MiddleName").isEmpty())
            patient += u' ' + r.trimmed(u"MiddleName");
        const qint64 tests = r.integer(u"Tests");
        const QString exam = tests > 1 ? ProfileLists::laboratorySection(r.text(u"SectionID"))
                                       : r.trimmed(u"ExamName");
        m_results.append({r.trimmed(u"RequestNum"), r.trimmed(u"IdNum"), r.trimmed(u"HospNum"),
                          patient, exam, r.dateTime(u"ResultDate").toString(u"MM/dd/yyyy hh:mm AP"),
                          false});
    }
    Q_EMIT listChanged();
    return true;
}

void VerifiedResults::setTagged(int row, bool tagged)
{
    if (row >= 0 && row < m_results.size())
        m_results[row].tagged = tagged;
}

QString VerifiedResults::printingText(const VerifiedResult &result)
{
    return u"Printing : " + result.patient + u"'s " + result.exam + u" result.";
}

int VerifiedResults::printAll()
{
    return print(false);
}

int VerifiedResults::printTagged()
{
    return print(true);
}

int VerifiedResults::print(bool taggedOnly)
{
    QList<VerifiedResult> chosen;
    for (const VerifiedResult &r : std::as_const(m_results)) {
        if (!taggedOnly || r.tagged)
            chosen.append(r);
    }
    if (chosen.isEmpty()) {
        m_session.notifier().message(QStringLiteral("No results are available for printing."),
                                     QStringLiteral("Notification"), Notifier::Icon::Information);
        return 0;
    }
    int printed = 0;
    for (int i = 0; i < chosen.size(); ++i) {
        Q_EMIT progress(i, int(chosen.size()), printingText(chosen.at(i)));
        const int outcome = printOne(chosen.at(i));
        if (outcome < 0)
            break;
        printed += outcome;
    }
    Q_EMIT progress(int(chosen.size()), int(chosen.size()), QString());
    load();
    return printed;
}

int VerifiedResults::printOne(const VerifiedResult &result)
{
    if (!m_print)
        return -1;
    Database &db = m_session.db();
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive()) {
        m_session.notifier().errorBox(tx.error());
        return -1;
    }
    // Marking first holds the request's rows, so another workstation marking the same request
    // waits for this print and then finds nothing left to mark.
    auto marked =
        db.call(u"STATION..sp_Comm_UpdateMasterFile", {result.requestNum, m_kind.department});
    if (!marked) {
        m_session.notifier().errorBox(marked.error());
        return -1;
    }
    const std::optional<Row> row = marked->first();
    if (!row || row->integer(u"Marked") == 0)
        return 0;
    if (!m_print(m_kind, result))
        return -1;
    if (auto ok = tx.commit(); !ok) {
        m_session.notifier().errorBox(ok.error());
        return -1;
    }
    return 1;
}

} // namespace kestrel
