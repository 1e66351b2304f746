// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/BuildORRooms.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "core/StationLog.h"
#include "reports/ReportService.h"
#include "scheduling/ScheduleStore.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

QString activeFlag(bool active)
{
    return active ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

BuildORRooms::BuildORRooms(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

BuildORRooms::Outcome BuildORRooms::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Information);
    return Outcome::Refused;
}

BuildORRooms::Outcome BuildORRooms::failed(const Error &error)
{
    m_session.notifier().errorBox(error);
    return Outcome::Failed;
}

void BuildORRooms::log(const QString &text)
{
    WriteStationLog(m_session.db(), QString(), text, m_session.validated.code, QStringLiteral("OR"));
}

bool BuildORRooms::load()
{
    Database &db = m_session.db();
    auto rooms = db.select(u"SELECT RoomID, RoomName, CASE WHEN COALESCE(Status, 'Y') = 'Y' "
                           u"THEN 'Active' ELSE 'Inactive' END AS Status "
                           u"FROM SCHEDULE..tbORRoom ORDER BY SortOrder, RoomID");
    auto next = db.scalar(u"SELECT RoomID + 1 AS RoomID FROM SCHEDULE..tbORRoom "
                          u"ORDER BY RoomID DESC LIMIT 1");
    auto active = db.select(u"SELECT RoomName FROM SCHEDULE..tbORRoom "
                            u"WHERE COALESCE(Status, 'Y') = 'Y' ORDER BY RoomName");
    if (!rooms || !next || !active) {
        failed(!rooms ? rooms.error() : !next ? next.error() : active.error());
        return false;
    }
    m_rooms = RowSet({QStringLiteral("Room ID"), QStringLiteral("Room Name"),
                      QStringLiteral("Status")});
    for (const Row &r : *rooms)
        m_rooms.append(QVariantList{r.trimmed(u"RoomID").left(2), r.trimmed(u"RoomName"),
                                    r.trimmed(u"Status")});
    m_nextId = next->isNull() ? 1 : next->toInt();
    m_activeRooms.clear();
    for (const Row &r : *active)
        m_activeRooms << r.trimmed(u"RoomName");
    Q_EMIT roomsChanged();
    return true;
}

Result<bool> BuildORRooms::nameTaken(const QString &name, const QString &roomId)
{
    // With no id every room of that name counts; otherwise only the others.
    auto taken = m_session.db().scalar(u"SELECT 1 FROM SCHEDULE..tbORRoom WHERE RoomName = :name "
                                       u"AND (RoomID <> :id OR :blank = '') LIMIT 1",
                                       {{QStringLiteral("name"), name.trimmed()},
                                        {QStringLiteral("id"), roomId.isEmpty() ? -1 : roomId.toInt()},
                                        {QStringLiteral("blank"), roomId}});
    if (!taken)
        return tl::unexpected(taken.error());
    return !taken->isNull();
}

BuildORRooms::Outcome BuildORRooms::addRoom(const QString &name, bool active)
{
    if (name.trimmed().isEmpty())
        return refuse(QStringLiteral("Please enter name of OR room."));
    auto taken = nameTaken(name, QString());
    if (!taken)
        return failed(taken.error());
    if (*taken)
        return refuse(QStringLiteral("New room was not saved. Room name already exists."));
    if (!signOrAbandon(m_session, QStringLiteral("Room was not added! ") + u'\n' +
                                      QStringLiteral("Are you sure you want to add this room?")))
        return Outcome::Abandoned;
    const int id = m_nextId;
    auto added = m_session.db().exec(u"INSERT INTO SCHEDULE..tbORRoom (RoomID, RoomName, SortOrder, "
                                     u"RevenueID, Status) VALUES (:id, :name, 0, 'OR', :status)",
                                     {{QStringLiteral("id"), id},
                                      {QStringLiteral("name"), name.trimmed()},
                                      {QStringLiteral("status"), active ? QStringLiteral("Y") : QStringLiteral("X")}});
    if (!added)
        return failed(added.error());
    log(QStringLiteral("ADD ROOM: ") + name.trimmed() + QStringLiteral(" ROOM ID: ") +
        QString::number(id) + QStringLiteral(" STATUS: ") + activeFlag(active));
    refuse(QStringLiteral("Room successfully added."));
    load();
    return Outcome::Done;
}

BuildORRooms::Outcome BuildORRooms::updateRoom(int roomId, const QString &name, bool active)
{
    if (name.trimmed().isEmpty())
        return refuse(QStringLiteral("Please enter name of OR room."));
    auto taken = nameTaken(name, QString::number(roomId));
    if (!taken)
        return failed(taken.error());
    if (*taken)
        return refuse(QStringLiteral("Room details were not updated. Room name already exists."));
    if (!signOrAbandon(m_session, QStringLiteral("Room was not updated! ") + u'\n' +
                                      QStringLiteral("Are you sure you want to update this room?")))
        return Outcome::Abandoned;
    auto updated = m_session.db().exec(u"UPDATE SCHEDULE..tbORRoom SET RoomName = :name, "
                                       u"Status = :status WHERE RoomID = :id",
                                       {{QStringLiteral("id"), roomId},
                                        {QStringLiteral("name"), name.trimmed()},
                                        {QStringLiteral("status"), active ? QStringLiteral("Y") : QStringLiteral("X")}});
    if (!updated)
        return failed(updated.error());
    log(QStringLiteral("UPDATE ROOM: ") + QString::number(roomId) + QStringLiteral("Room: ") +
        name.trimmed() + QStringLiteral(" STATUS: ") + activeFlag(active));
    refuse(QStringLiteral("Room successfully updated."));
    load();
    return Outcome::Done;
}

BuildORRooms::Outcome BuildORRooms::deleteRoom(int roomId, const QString &name)
{
    if (!m_session.notifier().confirm(QStringLiteral("Are you sure to delete this OR Room?"),
                                      QStringLiteral("Confirmation"), Notifier::Icon::Question))
        return Outcome::Abandoned;
    if (!signOrAbandon(m_session, QStringLiteral("Room was not deleted! ") + u'\n' +
                                      QStringLiteral("Are you sure you want to delete this room?")))
        return Outcome::Abandoned;
    auto deleted = m_session.db().exec(u"DELETE FROM SCHEDULE..tbORRoom WHERE RoomID = :id",
                                       {{QStringLiteral("id"), roomId}});
    if (!deleted)
        return failed(deleted.error());
    log(QStringLiteral("DELETE ROOM: ") + QString::number(roomId) + QStringLiteral(" ROOM NAME: ") +
        name.trimmed());
    refuse(QStringLiteral("Room successfully deleted."));
    load();
    return Outcome::Done;
}

Result<int> BuildORRooms::roomIdOf(const QString &roomName)
{
    auto id = m_session.db().scalar(u"SELECT RoomID FROM SCHEDULE..tbORRoom "
                                    u"WHERE RoomName = :name ORDER BY RoomID LIMIT 1",
                                    {{QStringLiteral("name"), roomName.trimmed()}});
    if (!id)
        return tl::unexpected(id.error());
    return id->isNull() ? 0 : id->toInt();
}

bool BuildORRooms::listProcedures(const QString &roomName)
{
    m_procedureRoom = roomName.trimmed();
    auto id = roomIdOf(roomName);
    if (!id)
        return failed(id.error()), false;
    auto rows = m_session.db().select(u"SELECT Code, ProcedureDesc AS Procedure "
                                      u"FROM SCHEDULE..tbProcedureRoom WHERE RoomID = :id "
                                      u"ORDER BY RoomName, Code",
                                      {{QStringLiteral("id"), *id}});
    if (!rows)
        return failed(rows.error()), false;
    m_procedures = RowSet({QStringLiteral("Code"), QStringLiteral("Procedure")});
    for (const Row &r : *rows)
        m_procedures.append(QVariantList{r.trimmed(u"Code"), r.trimmed(u"Procedure")});
    Q_EMIT proceduresChanged();
    return true;
}

BuildORRooms::Outcome BuildORRooms::assignProcedure(const QString &code,
                                                    const QString &description,
                                                    const QString &roomName)
{
    if (code.trimmed().isEmpty())
        return refuse(QStringLiteral("Please select procedure to assign."));
    if (roomName.trimmed().isEmpty())
        return refuse(QStringLiteral("Please select room to assign procedure."));
    auto id = roomIdOf(roomName);
    if (!id)
        return failed(id.error());
    if (*id == 0)
        return refuse(QStringLiteral("Room not found."));
    if (!signOrAbandon(m_session,
                       QStringLiteral("Procedure was not added! ") + u'\n' +
                           QStringLiteral("Are you sure you want to add this procedure?")))
        return Outcome::Abandoned;
    Database &db = m_session.db();
    Transaction tx = db.transaction();
    if (!tx.isActive())
        return failed(tx.error());
    // A procedure belongs to one room: assigning it moves it.
    auto cleared = db.exec(u"DELETE FROM SCHEDULE..tbProcedureRoom WHERE Code = :code",
                           {{QStringLiteral("code"), code.trimmed()}});
    if (!cleared)
        return failed(cleared.error());
    auto added = db.exec(u"INSERT INTO SCHEDULE..tbProcedureRoom (RoomID, RoomName, Code, "
                         u"ProcedureDesc) VALUES (:id, :room, :code, :desc)",
                         {{QStringLiteral("id"), *id},
                          {QStringLiteral("room"), roomName.trimmed()},
                          {QStringLiteral("code"), code.trimmed()},
                          {QStringLiteral("desc"), description.trimmed()}});
    if (!added)
        return failed(added.error());
    if (auto ok = tx.commit(); !ok)
        return failed(ok.error());
    log(QStringLiteral("ADD PROCEDURE: ") + description.trimmed() + QStringLiteral(" CODE: ") +
        code.trimmed() + QStringLiteral(" ROOM: ") + roomName.trimmed() +
        QStringLiteral(" ROOM ID: ") + QString::number(*id));
    refuse(QStringLiteral("Procedure successfully assigned."));
    listProcedures(m_procedureRoom.isEmpty() ? roomName : m_procedureRoom);
    return Outcome::Done;
}

BuildORRooms::Outcome BuildORRooms::removeProcedure(const QString &code,
                                                    const QString &description,
                                                    const QString &roomName)
{
    if (code.trimmed().isEmpty())
        return refuse(QStringLiteral("Please select procedure to assign."));
    if (!signOrAbandon(m_session,
                       QStringLiteral("Procedure was not deleted! ") + u'\n' +
                           QStringLiteral("Are you sure you want to delete this procedure?")))
        return Outcome::Abandoned;
    auto removed = m_session.db().exec(u"DELETE FROM SCHEDULE..tbProcedureRoom WHERE Code = :code",
                                       {{QStringLiteral("code"), code.trimmed()}});
    if (!removed)
        return failed(removed.error());
    log(QStringLiteral("DELETE PROCEDURE: ") + description.trimmed() +
        QStringLiteral("Assigned Room: ") + roomName.trimmed());
    refuse(QStringLiteral("Procedure successfully removed."));
    listProcedures(m_procedureRoom);
    return Outcome::Done;
}

bool BuildORRooms::print(ReportService *reports)
{
    if (!reports || !reports->OpenReport(QStringLiteral("ProcedureRoom.RPT"), {}))
        return false;
    reports->ShowReport(false, QStringLiteral("Procedures per OR Room"));
    return true;
}

} // namespace kestrel
