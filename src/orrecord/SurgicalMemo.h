// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "orrecord/ORRecordEntry.h"

#include <array>

namespace kestrel {

class Database;

/// One row of the memo's sponge grid: the item counted, its initial count, and the first and
/// second counts on the table, on the floor and their totals.
struct SpongeRow
{
    qint64 entryNum = 0; ///< 0 until the row is saved
    QString sponge;
    std::array<int, 7> counts{};

    bool isEmpty() const;
    bool operator==(const SpongeRow &) const = default;
};

/// The grid's columns after the hidden EntryNum: the item, the initial count, then the first
/// and the second count (on table, on floor, total).
enum SpongeColumn {
    SpongeItem = 1,
    InitialCount = 2,
    FirstOnTable = 3,
    FirstOnFloor = 4,
    FirstTotal = 5,
    SecondOnTable = 6,
    SecondOnFloor = 7,
    SecondTotal = 8
};

/// Writes `text` into cell (`row`, `column`) of the grid as Enter does: an "On Floor" count sets
/// that count's total to on table plus on floor, and filling the last row adds an empty one.
/// False, and nothing changed, for a count that is not a whole number.
bool enterSpongeValue(QList<SpongeRow> &rows, int row, int column, const QString &text);

/// How a hospital keeps the memo.
struct MemoSwitches
{
    bool spongeGrid = false;      ///< client KAVIR: the sponge grid instead of the count boxes
    bool caseNumberEntry = false; ///< OREnableCaseNumberEntry: the case number is asked for
};

/// The memo's columns of the OR record that a save writes after the record's own.
QStringList memoWrittenColumns(const MemoSwitches &switches);

/// The memo's own check, after the record's: the case number when the hospital asks for it.
std::optional<ORRefusal> checkSurgicalMemo(const ORRecord &record, const MemoSwitches &switches);

/// What one save of the memo writes beside the record.
struct MemoWrite
{
    MemoSwitches switches;
    QString hospNum;
    QString idNum;
    QList<SpongeRow> sponges;
    QList<qint64> removedEntries; ///< saved rows the nurse emptied
    QString counterStaff[2];
};

/// Writes the memo's columns of record `operatingNum` and, with the sponge grid, its rows;
/// runs inside the caller's transaction.
Result<void> writeSurgicalMemo(Database &db, qint64 operatingNum, const ORRecord &record,
                               const MemoWrite &memo);

/// The surgical memorandum of an operation ("Surgical Procedures Entry"): the OR record with a
/// case number, counts, the anaesthetic agent, the pre-operative vital signs and, for a
/// caesarean section, the obstetric data; where the hospital counts sponges in a grid, the
/// grid's rows saved with the record in its one transaction.
class SurgicalMemo : public QObject, public ORRecordPart
{
    Q_OBJECT

public:
    /// The memo's part of `entry`, a record of the surgical memo's layout.
    SurgicalMemo(Session &session, ORRecordEntry &entry, QObject *parent = nullptr);
    ~SurgicalMemo() override;

    ORRecordEntry &entry() { return m_entry; }
    const MemoSwitches &switches() const { return m_switches; }
    /// The procedure is a caesarean section: the obstetric tab is open.
    bool isCesarean() const { return m_cesarean; }

    const QList<SpongeRow> &sponges() const { return m_sponges; }
    bool enterSponge(int row, int column, const QString &text);
    QString counterStaff(int i) const { return m_counterStaff[i]; }
    void setCounterStaff(int i, const QString &code) { m_counterStaff[i] = code.trimmed(); }

    std::optional<ORRefusal> check(const ORRecord &record) const override;
    Result<void> read(qint64 operatingNum) override;
    Result<void> write(qint64 operatingNum, const ORRecord &record,
                       const QString &employeeCode) override;
    bool isModified() const override;

private:
    Session &m_session;
    ORRecordEntry &m_entry;
    MemoSwitches m_switches;
    bool m_cesarean = false;
    QList<SpongeRow> m_sponges;
    QList<SpongeRow> m_savedSponges;
    QString m_counterStaff[2];
    QString m_savedCounterStaff[2];
};

} // namespace kestrel
