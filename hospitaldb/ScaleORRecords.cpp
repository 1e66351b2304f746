// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The generated operations' OR records, completed by one statement over all of them: every
// value is an expression of the record's number (and of the people the generator already put
// in it), the way the rest of the generated hospital is made.
#include "hospitaldb/ScaleORRecords.h"

#include <QStringList>

namespace kestrel::hospitaldb {

namespace {

// The generator's table of the RVS codes by number, made and dropped here.
const QString kRvsTable = QStringLiteral("scale_orrvs");

Result<void> addRvsTable(Database &db)
{
    const bool pg = db.backend() == Backend::Postgres;
    if (auto ok = db.execRaw(u"DROP TABLE IF EXISTS " + kRvsTable); !ok)
        return ok;
    if (auto ok = db.execRaw(QStringLiteral("CREATE TABLE %1 (k %2 PRIMARY KEY, code %3)")
                                 .arg(kRvsTable, pg ? u"bigint" : u"INTEGER",
                                      pg ? u"citext" : u"TEXT"));
        !ok)
        return ok;
    auto codes = db.select(u"select RVSCode from BUILD_FILE..tbCoRVS order by RVSCode");
    if (!codes)
        return tl::unexpected(codes.error());
    if (codes->isEmpty())
        return failure(QStringLiteral("The demo hospital has no RVS codes for the OR records."));
    QList<Binds> rows;
    for (const Row &r : *codes)
        rows << Binds{{QStringLiteral("k"), qint64(rows.size())},
                      {QStringLiteral("code"), r.trimmed(u"RVSCode")}};
    if (auto n = db.execMany(QStringLiteral("insert into %1 (k, code) values (:k, :code)")
                                 .arg(kRvsTable),
                             rows);
        !n)
        return tl::unexpected(n.error());
    return {};
}

} // namespace

Result<void> completeScaleORRecords(Database &db)
{
    const bool pg = db.backend() == Backend::Postgres;
    // A moment some minutes after another, and the day of a moment.
    const auto plus = [pg](const QString &at, const QString &minutes) {
        return pg ? QStringLiteral("(%1 + (%2) * interval '1 minute')").arg(at, minutes)
                  : QStringLiteral("datetime(%1, (%2) || ' minutes')").arg(at, minutes);
    };
    const auto day = [pg](const QString &at) {
        return pg ? QStringLiteral("date_trunc('day', %1)").arg(at)
                  : QStringLiteral("datetime(date(%1))").arg(at);
    };
    // The phases inside the time the patient was in the room (45 minutes at the least): the
    // anaesthesia 5 to 8 minutes after he came in, the incision 15 to 18, the closing 12 to 15
    // minutes before he went out and the anaesthesia's end 5 to 7.
    const QString in = QStringLiteral("PatientIn");
    const QString out = QStringLiteral("PatientOut");
    const QString anaesthesia = plus(in, QStringLiteral("5 + OperatingNum % 4"));
    const QString cutting = plus(in, QStringLiteral("15 + OperatingNum % 4"));
    const QString closing = plus(out, QStringLiteral("-12 - OperatingNum % 4"));
    const QString anaesthesiaDone = plus(out, QStringLiteral("-5 - OperatingNum % 3"));
    // The first assistant: a doctor after the surgeon in the generator's list.
    const QString assistant = QStringLiteral(
        "(select A.id from scale_doctor A where A.k = (coalesce((select S.k from scale_doctor S "
        "where S.id = SurgeonID1), 0) + 1 + OperatingNum % 5) % "
        "(select count(*) from scale_doctor))");
    const QString scrub =
        QStringLiteral("(case when OperatingNum % 2 = 0 then '2902' else '2909' end)");
    const QString circulating =
        QStringLiteral("(case when OperatingNum % 3 = 0 then '2907' else '2903' end)");
    const QString operation = QStringLiteral(
        "coalesce((select O.OtherRevenue from BUILD_FILE..tbCoOtherRevenue O "
        "where O.OtherRevenueID = Procedures), 'THE OPERATION')");
    // Nine records in ten are signed; one in ten of those waits for the anaesthesiologist.
    const QString signedWhole = QStringLiteral("OperatingNum % 10 <> 0");
    const QString anaesthesiologistSigned = QStringLiteral("OperatingNum % 10 not in (0, 5)");
    const auto signature = [&](const char *role, const QString &when, const QString &signer,
                               int minutes) {
        const QString name = QString::fromLatin1(role);
        return QStringList{
            QStringLiteral("%1SignID = case when %2 then %3 end").arg(name, when, signer),
            QStringLiteral("%1DateSign = case when %2 then %3 end")
                .arg(name == u"Anest" ? QStringLiteral("Anes") : name, when,
                     plus(out, QString::number(minutes) + u" + OperatingNum % 30"))};
    };
    QStringList sets{
        u"SurgeonID2 = " + assistant,
        QStringLiteral("PHICCode = (select R.code from %1 R where R.k = OperatingNum % "
                       "(select count(*) from %1))")
            .arg(kRvsTable),
        QStringLiteral("Anesthesia = case when OperatingNum % 4 = 3 then 'SPINAL ANESTHESIA' "
                       "else 'GENERAL ANESTHESIA' end"),
        u"SnurseID1 = " + scrub,
        u"CnurseID1 = " + circulating,
        QStringLiteral("Prophylaxis = case when Category in ('3', '4') then 'CEFAZOLIN 2 G IV' "
                       "else '' end"),
        u"AnesthesiaDate = " + day(anaesthesia),
        u"AnesthesiaTime = " + anaesthesia,
        u"CuttingDate = " + day(cutting),
        u"OperationTime1 = " + cutting,
        u"ClosingDate = " + day(closing),
        u"OperationTime2 = " + closing,
        u"AnesDoneDate = " + day(anaesthesiaDone),
        u"AnesthesiaEndTime = " + anaesthesiaDone,
        u"prod = 'FOR ' || " + operation,
        u"psod = 'S/P ' || " + operation,
        u"SpecificDesc = " + operation,
        QStringLiteral("ot = 'Under anesthesia, patient placed in proper position. Asepsis and "
                       "antisepsis; sterile drapes applied. Hemostasis secured; sponge, needle "
                       "and instrument counts correct.'"),
        QStringLiteral("SpongeCount = 'Y'"),
        u"TransDate = " + plus(out, QStringLiteral("20"))};
    sets << signature("Surgeon", signedWhole, QStringLiteral("'9' || SurgeonID1"), 60)
         << signature("ASurgeon", signedWhole, u"'9' || " + assistant, 90)
         << signature("Anest", anaesthesiologistSigned, QStringLiteral("'9' || AnestheID"), 45)
         << signature("CNurse", signedWhole, circulating, 15)
         << signature("SNurse", signedWhole, scrub, 20);

    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    if (auto ok = addRvsTable(db); !ok)
        return ok;
    // The statement reads the record as it was before it: the assistant and the nurses are
    // written with the same expressions their signatures use.
    if (auto n = db.exec(QString(u"update STATION..tbORMasterFile set " + sets.join(u", ") +
                                 u" where RefNum like 'OR%'"));
        !n)
        return tl::unexpected(n.error());
    if (auto ok = db.execRaw(u"DROP TABLE " + kRvsTable); !ok)
        return ok;
    return tx.commit();
}

} // namespace kestrel::hospitaldb
