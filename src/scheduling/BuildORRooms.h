// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/RowSet.h"

#include <QObject>

namespace kestrel {

class ReportService;
class Session;

/// The rules of `frmBuildORRooms`, "Build OR Rooms": the master list of OR rooms (added,
/// renamed, made inactive, deleted) and the OR procedures assigned to each room. Every change
/// is signed for and written to the station log.
class BuildORRooms : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Refused, Abandoned, Done, Failed };

    explicit BuildORRooms(Session &session, QObject *parent = nullptr);

    /// Reads the room list, the next room id and the active rooms.
    bool load();
    /// "Room ID", "Room Name", "Status".
    const RowSet &rooms() const { return m_rooms; }
    /// One more than the highest room id, whatever the order of the list; 1 for none.
    int nextRoomId() const { return m_nextId; }
    /// The active rooms offered for procedures, by name.
    QStringList activeRooms() const { return m_activeRooms; }

    Outcome addRoom(const QString &name, bool active);
    Outcome updateRoom(int roomId, const QString &name, bool active);
    Outcome deleteRoom(int roomId, const QString &name);

    /// "Code", "Procedure" of the room called `roomName`.
    bool listProcedures(const QString &roomName);
    const RowSet &procedures() const { return m_procedures; }
    Outcome assignProcedure(const QString &code, const QString &description,
                            const QString &roomName);
    Outcome removeProcedure(const QString &code, const QString &description,
                            const QString &roomName);

    bool print(ReportService *reports);

Q_SIGNALS:
    void roomsChanged();
    void proceduresChanged();

private:
    Outcome refuse(const QString &text);
    Outcome failed(const Error &error);
    Result<bool> nameTaken(const QString &name, const QString &roomId);
    Result<int> roomIdOf(const QString &roomName);
    void log(const QString &text);

    Session &m_session;
    RowSet m_rooms;
    RowSet m_procedures;
    QStringList m_activeRooms;
    int m_nextId = 1;
    QString m_procedureRoom;
};

} // namespace kestrel
