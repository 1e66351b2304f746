// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The surgical memoranda of the operations: a case number, the counts at the start and at the
// close, the anaesthetic agent and the pre-operative vital signs for every other record, and
// for the caesarean sections the mother's history and the baby; the sponge records of the
// latest memo; and the teams of the CVOR patients' operations, all but one named.
#include "hospitaldb/demo/DemoBuilder.h"

namespace kestrel::hospitaldb::demo {

namespace {

TableRows *named(std::deque<TableRows> &tables, QStringView name)
{
    for (TableRows &t : tables) {
        if (t.table == name)
            return &t;
    }
    return nullptr;
}

int columnOf(const TableRows *t, const char *name)
{
    return int(t->columns.indexOf(QString::fromLatin1(name)));
}

} // namespace

void DemoBuilder::addMemoCVORData()
{
    DemoRandom rng(m_rng.next());
    TableRows *records = named(m_tables, u"STATION..tbORMasterFile");
    TableRows *items = named(m_tables, u"BUILD_FILE..tbCoOtherRevenue");
    Q_ASSERT(records && items);

    TableRows &cesareans =
        table(QStringLiteral("STATION..tbIsCesareanPRC"), {QStringLiteral("PrcID")});
    cesareans.add({QStringLiteral("OR1018")});
    cesareans.add({QStringLiteral("OR1019")});

    // The memo's columns on every record; filled on every other one and on each caesarean.
    const QStringList memo =
        QStringLiteral("CaseNumber SuturesText InstrumentsInitial InstrumentsFinal "
                       "Sponge4 Sponge4Final Sponge8 Sponge8Final Peanuts PeanutsFinal "
                       "VisceralPack VisceralPackFinal Needles NeedlesFinal "
                       "AnestheticAgent PreOPHR PreOPO2Sat PreOPWt Menarche LMP Babyout "
                       "PlacentaOut TimeOfInduction Gravida Para Abortion Living FDIU "
                       "StillBirth Gender BirthWeight BodyLength ApgarScore SMAnd "
                       "PresentationCBF PresentationDS")
            .split(u' ');
    const int first = int(records->columns.size());
    records->columns << memo;
    const int procedure = columnOf(records, "Procedures");
    const int anaesthesia = columnOf(records, "Anesthesia");
    const int opened = columnOf(records, "PatientIn");
    const int baseIdNum = columnOf(records, "IdNum");
    int numbered = 0;
    int lastMemo = -1;
    for (int i = 0; i < records->rows.size(); ++i) {
        QVariantList &row = records->rows[i];
        const QString code = row.at(procedure).toString();
        const bool cesarean = code == u"OR1018" || code == u"OR1019";
        QStringList values(memo.size());
        if (i % 2 == 0 || cesarean) {
            lastMemo = i;
            const QDateTime in = row.at(opened).toDateTime();
            const QString year =
                in.isValid() ? QString::number(in.date().year()) : QString::number(m_today.year());
            const int sponges = 10 * (1 + rng.below(3));
            const QString instruments = QString::number(40 + rng.below(20));
            const QStringList filled{year + u'-' + padded(++numbered, 4),
                                     QStringLiteral("CHROMIC 2-0, VICRYL 3-0"),
                                     instruments,
                                     instruments,
                                     QString::number(sponges),
                                     QString::number(sponges),
                                     QStringLiteral("10"),
                                     QStringLiteral("10"),
                                     QStringLiteral("5"),
                                     QStringLiteral("5"),
                                     QStringLiteral("2"),
                                     QStringLiteral("2"),
                                     QStringLiteral("6"),
                                     QStringLiteral("6"),
                                     row.at(anaesthesia).toString().contains(u"SPINAL")
                                         ? QStringLiteral("BUPIVACAINE 0.5% HEAVY")
                                         : QStringLiteral("SEVOFLURANE"),
                                     QString::number(70 + rng.below(25)),
                                     QString::number(96 + rng.below(4)),
                                     QString::number(50 + rng.below(30))};
            for (int c = 0; c < filled.size(); ++c)
                values[c] = filled.at(c);
            if (cesarean && in.isValid()) {
                const QTime incision = in.time().addSecs(20 * 60);
                const QStringList mother{
                    in.date().addYears(-16).toString(QStringLiteral("MM/dd/yyyy")),
                    in.date().addDays(-266).toString(QStringLiteral("MM/dd/yyyy")),
                    incision.addSecs(8 * 60).toString(QStringLiteral("hh:mm:ss AP")),
                    incision.addSecs(14 * 60).toString(QStringLiteral("hh:mm:ss AP")),
                    incision.toString(QStringLiteral("hh:mm:ss AP")),
                    code == u"OR1019" ? QStringLiteral("2") : QStringLiteral("1"),
                    code == u"OR1019" ? QStringLiteral("2") : QStringLiteral("1"),
                    QStringLiteral("0"),
                    code == u"OR1019" ? QStringLiteral("2") : QStringLiteral("1"),
                    QStringLiteral("0"),
                    QStringLiteral("0"),
                    rng.below(2) ? QStringLiteral("MALE") : QStringLiteral("FEMALE"),
                    QString::number(2800 + rng.below(700)) + QStringLiteral(" G"),
                    QString::number(48 + rng.below(5)) + QStringLiteral(" CM"),
                    QString::number(7 + rng.below(2)),
                    QStringLiteral("9"),
                    QStringLiteral("C"),
                    QStringLiteral("S")};
                for (int c = 0; c < mother.size(); ++c)
                    values[18 + c] = mother.at(c);
            }
        }
        for (const QString &v : std::as_const(values))
            row << v;
    }
    Q_ASSERT(records->columns.size() == first + memo.size());

    // The latest memo's sponges, counted in the grid.
    TableRows &sponges = table(
        QStringLiteral("STATION..tbORSpongeRecords"),
        QStringLiteral("HospNum IdNum OperatingNum CounterStaff1 CounterStaff2 Procedures Sponge "
                       "InitialCount FirstCountOnTable FirstCountOnFloor FirstCountTotal "
                       "SecondCountOnTable SecondCountOnFloor SecondCountTotal")
            .split(u' '));
    if (lastMemo >= 0) {
        const QVariantList &row = records->rows.at(lastMemo);
        const int counts[][3] = {{10, 9, 1}, {20, 20, 0}, {5, 4, 1}};
        const char *const names[] = {"ABDOMINAL PACK", "OS", "PEANUTS"};
        for (int i = 0; i < 3; ++i) {
            // The records go in in their order, numbered from one.
            const auto &[initial, onTable, onFloor] = counts[i];
            sponges.add({row.at(columnOf(records, "HospNum")), row.at(baseIdNum), lastMemo + 1,
                         QStringLiteral("2902"), QStringLiteral("2903"), row.at(procedure),
                         QString::fromLatin1(names[i]), initial, onTable, onFloor,
                         onTable + onFloor, onTable, onFloor, onTable + onFloor});
        }
    }

    // The teams of the CVOR patients' operations: every posted procedure of a tagged stay but
    // the last has its team named.
    QSet<QString> cvorStays;
    for (const TableRows &t : m_tables) {
        const int cvor = columnOf(&t, "isCVOR");
        if (t.table != u"PATIENT_DATA..tbPatient" || cvor < 0)
            continue;
        for (const QVariantList &p : t.rows) {
            if (p.at(cvor).toInt() == 1)
                cvorStays.insert(p.at(columnOf(&t, "IDNum")).toString());
        }
    }
    QSet<QString> procedures;
    for (const QVariantList &item : std::as_const(items->rows)) {
        if (item.at(columnOf(items, "SectionID")).toString() == u"PRC")
            procedures.insert(item.at(columnOf(items, "OtherRevenueID")).toString());
    }
    QList<std::pair<QString, QString>> cases;
    for (const TableRows &t : m_tables) {
        if (t.table != u"STATION..tbNurseLogBook")
            continue;
        for (const QVariantList &line : t.rows) {
            const QString idNum = line.at(columnOf(&t, "IDNum")).toString();
            const std::pair key{idNum, line.at(columnOf(&t, "ReferenceNum")).toString()};
            if (cvorStays.contains(idNum) && !cases.contains(key) &&
                procedures.contains(line.at(columnOf(&t, "ItemID")).toString()))
                cases.append(key);
        }
    }
    const TableRows *doctors = named(m_tables, u"BUILD_FILE..tbCoDoctor");
    QStringList doctorIds;
    for (const QVariantList &d : doctors->rows)
        doctorIds << d.at(columnOf(doctors, "DoctorID")).toString();
    TableRows &teams = table(
        QStringLiteral("STATION..tbCVORInfo"),
        QStringLiteral("IdNum RefNum Surgeon AsstSurgeon Anesthesiologist AssocAnest Intensivist "
                       "Perfutionist ScrubNurse1 ScrubNurse2 Circulator1 Circulator2 LastUpdated")
            .split(u' '));
    for (int i = 0; i + 1 < cases.size() && !doctorIds.isEmpty(); ++i) {
        const auto doctor = [&](int k) { return doctorIds.at((i * 5 + k) % doctorIds.size()); };
        teams.add({cases.at(i).first, cases.at(i).second, doctor(0), doctor(1), doctor(2),
                   doctor(3), doctor(4), QStringLiteral("2904"), QStringLiteral("2902"),
                   QStringLiteral("2909"), QStringLiteral("2903"), QStringLiteral("2907"),
                   when(at(1 + i % 5, 15 * 60))});
    }
}

} // namespace kestrel::hospitaldb::demo
