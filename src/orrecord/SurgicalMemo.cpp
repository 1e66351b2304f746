// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/SurgicalMemo.h"

#include "core/db/Database.h"
#include "core/Session.h"

namespace kestrel {

namespace {

// The count boxes of the "Sutures And Instruments" tab, initial and final.
const QStringList &countColumns()
{
    static const QStringList columns{
        QStringLiteral("SuturesText"),       QStringLiteral("InstrumentsInitial"),
        QStringLiteral("InstrumentsFinal"),  QStringLiteral("Sponge4"),
        QStringLiteral("Sponge4Final"),      QStringLiteral("Sponge8"),
        QStringLiteral("Sponge8Final"),      QStringLiteral("Peanuts"),
        QStringLiteral("PeanutsFinal"),      QStringLiteral("VisceralPack"),
        QStringLiteral("VisceralPackFinal"), QStringLiteral("Needles"),
        QStringLiteral("NeedlesFinal")};
    return columns;
}

} // namespace

bool SpongeRow::isEmpty() const
{
    if (!sponge.trimmed().isEmpty())
        return false;
    for (int c : counts) {
        if (c != 0)
            return false;
    }
    return true;
}

bool enterSpongeValue(QList<SpongeRow> &rows, int row, int column, const QString &text)
{
    if (row < 0 || column < SpongeItem || column > SecondTotal)
        return false;
    int count = 0;
    if (column != SpongeItem && !text.trimmed().isEmpty()) {
        bool ok = false;
        count = text.trimmed().toInt(&ok);
        if (!ok || count < 0)
            return false;
    }
    while (rows.size() <= row)
        rows.append(SpongeRow());
    SpongeRow &r = rows[row];
    if (column == SpongeItem)
        r.sponge = text.trimmed().toUpper();
    else
        r.counts[column - InitialCount] = count;
    // counts[]: 0 initial, 1-3 first count, 4-6 second count.
    if (column == FirstOnFloor)
        r.counts[3] = r.counts[1] + r.counts[2];
    if (column == SecondOnFloor)
        r.counts[6] = r.counts[4] + r.counts[5];
    if (row == rows.size() - 1 && !r.isEmpty())
        rows.append(SpongeRow());
    return true;
}

QStringList memoWrittenColumns(const MemoSwitches &switches)
{
    QStringList columns;
    if (!switches.spongeGrid) {
        columns << countColumns();
        columns << QStringLiteral("AnestheticAgent") << QStringLiteral("PreOPBP")
                << QStringLiteral("PreOPRR") << QStringLiteral("PreOPTemp")
                << QStringLiteral("PreOPHR") << QStringLiteral("PreOPO2Sat")
                << QStringLiteral("PreOPWt");
        for (const char *c :
             {"Menarche", "LMP", "Babyout", "PlacentaOut", "TimeOfInduction", "Gravida", "Para",
              "Abortion", "Living", "FDIU", "StillBirth", "Gender", "BirthWeight", "BodyLength",
              "ApgarScore", "SMAnd", "PresentationCBF", "PresentationDS"})
            columns << QString::fromLatin1(c);
    }
    for (const char *c : {"Inductions", "PreOPBP", "PreOPRR", "PreOPTemp"}) {
        if (!columns.contains(QString::fromLatin1(c)))
            columns << QString::fromLatin1(c);
    }
    if (switches.caseNumberEntry)
        columns << QStringLiteral("CaseNumber");
    return columns;
}

std::optional<ORRefusal> checkSurgicalMemo(const ORRecord &record, const MemoSwitches &switches)
{
    if (switches.caseNumberEntry && record.text(u"CaseNumber").trimmed().isEmpty())
        return ORRefusal{QStringLiteral("Please enter Case Number."), QStringLiteral("CaseNumber")};
    return std::nullopt;
}

Result<void> writeSurgicalMemo(Database &db, qint64 operatingNum, const ORRecord &record,
                               const MemoWrite &memo)
{
    Binds binds;
    QStringList sets;
    for (const QString &column : memoWrittenColumns(memo.switches)) {
        binds.insert(column, withBackquotes(record.text(column).trimmed()));
        sets << QString(column + u" = :" + column);
    }
    binds.insert(QStringLiteral("number"), operatingNum);
    auto updated = db.exec(QString(u"UPDATE STATION..TBORMASTERFILE SET " + sets.join(u", ") +
                                   u" WHERE OPERATINGNUM = :number"),
                           binds);
    if (!updated)
        return tl::unexpected(updated.error());
    if (!memo.switches.spongeGrid)
        return {};
    for (qint64 entry : memo.removedEntries) {
        auto gone =
            db.exec(u"DELETE FROM STATION..tbORSpongeRecords WHERE EntryNum = :entry "
                    u"AND OperatingNum = :number",
                    {{QStringLiteral("entry"), entry}, {QStringLiteral("number"), operatingNum}});
        if (!gone)
            return tl::unexpected(gone.error());
    }
    for (const SpongeRow &row : memo.sponges) {
        if (row.isEmpty())
            continue;
        QVariantList args{memo.hospNum,
                          memo.idNum,
                          memo.counterStaff[0],
                          memo.counterStaff[1],
                          record.text(u"Procedures").trimmed(),
                          withBackquotes(row.sponge)};
        for (int c : row.counts)
            args << c;
        args << row.entryNum << operatingNum;
        if (auto saved = db.call(u"STATION..sp_OR_SaveSpongeCount", args); !saved)
            return tl::unexpected(saved.error());
    }
    return {};
}

SurgicalMemo::SurgicalMemo(Session &session, ORRecordEntry &entry, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_entry(entry)
{
    m_entry.setPart(this);
}

SurgicalMemo::~SurgicalMemo()
{
    m_entry.setPart(nullptr);
}

bool SurgicalMemo::enterSponge(int row, int column, const QString &text)
{
    return enterSpongeValue(m_sponges, row, column, text);
}

std::optional<ORRefusal> SurgicalMemo::check(const ORRecord &record) const
{
    return checkSurgicalMemo(record, m_switches);
}

Result<void> SurgicalMemo::read(qint64 operatingNum)
{
    Database &db = m_session.db();
    m_switches.spongeGrid =
        m_session.hospital.clientname.trimmed().compare(u"KAVIR", Qt::CaseInsensitive) == 0;
    auto caseNumber =
        db.scalar(u"select value from STATION..tbNurseSetup "
                  u"where Field = :field order by SetupID desc limit 1",
                  {{QStringLiteral("field"), QStringLiteral("OREnableCaseNumberEntry")}});
    if (!caseNumber)
        return tl::unexpected(caseNumber.error());
    m_switches.caseNumberEntry = caseNumber->toString().trimmed() == u"1";
    auto cesarean = db.scalar(u"SELECT 1 from Station..tbIsCesareanPRC where PrcID = :prc",
                              {{QStringLiteral("prc"), m_entry.opening().procedureId.trimmed()}});
    if (!cesarean)
        return tl::unexpected(cesarean.error());
    m_cesarean = !cesarean->isNull();

    m_sponges.clear();
    m_counterStaff[0].clear();
    m_counterStaff[1].clear();
    if (m_switches.spongeGrid && operatingNum != 0) {
        const OROpening &o = m_entry.opening();
        auto rows = db.call(
            u"STATION..sp_OR_GetSpongeRecords",
            {o.hospNum, o.idNum, m_entry.record().text(u"Procedures").trimmed(), operatingNum});
        if (!rows)
            return tl::unexpected(rows.error());
        static const char16_t *const counts[] = {
            u"InitialCount",       u"FirstCountOnTable",  u"FirstCountOnFloor", u"FirstCountTotal",
            u"SecondCountOnTable", u"SecondCountOnFloor", u"SecondCountTotal"};
        for (const Row &r : *rows) {
            SpongeRow s;
            s.entryNum = r.integer(u"EntryNum");
            s.sponge = r.trimmed(u"Sponge");
            for (int i = 0; i < 7; ++i)
                s.counts[i] = int(r.integer(counts[i]));
            m_sponges << s;
            m_counterStaff[0] = r.trimmed(u"CounterStaff1");
            m_counterStaff[1] = r.trimmed(u"CounterStaff2");
        }
    }
    if (m_switches.spongeGrid)
        m_sponges << SpongeRow();
    m_savedSponges = m_sponges;
    m_savedCounterStaff[0] = m_counterStaff[0];
    m_savedCounterStaff[1] = m_counterStaff[1];
    return {};
}

Result<void> SurgicalMemo::write(qint64 operatingNum, const ORRecord &record,
                                 const QString &employeeCode)
{
    Q_UNUSED(employeeCode)
    const ORRecordHeader &h = m_entry.header();
    MemoWrite memo{m_switches, h.hospNum, h.idNum, m_sponges, {}, {}};
    memo.counterStaff[0] = m_counterStaff[0];
    memo.counterStaff[1] = m_counterStaff[1];
    // Rows of another record (a reset one) are not this record's to delete.
    if (operatingNum == m_entry.operatingNum()) {
        for (const SpongeRow &saved : std::as_const(m_savedSponges)) {
            const bool kept =
                std::any_of(m_sponges.cbegin(), m_sponges.cend(), [&](const SpongeRow &r) {
                    return r.entryNum == saved.entryNum && !r.isEmpty();
                });
            if (saved.entryNum != 0 && !kept)
                memo.removedEntries << saved.entryNum;
        }
    } else {
        for (SpongeRow &r : memo.sponges)
            r.entryNum = 0;
    }
    return writeSurgicalMemo(m_session.db(), operatingNum, record, memo);
}

bool SurgicalMemo::isModified() const
{
    return m_sponges != m_savedSponges || m_counterStaff[0] != m_savedCounterStaff[0] ||
           m_counterStaff[1] != m_savedCounterStaff[1];
}

} // namespace kestrel
