// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsOpenConnection.h"

#include "core/db/Database.h"

namespace kestrel {

clsOpenConnection::clsOpenConnection(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsOpenConnection::EstablishedConnection()
{
    if (servername.trimmed().isEmpty() || Database.trimmed().isEmpty())
        return false;
    kestrel::Database *db = database();
    if (!db)
        return false;
    auto answer = db->scalar(u"select 1");
    if (!answer) {
        qCWarning(lcComponents) << "statement of account: no answer from the server:"
                                << answer.error().message;
        return false;
    }
    return takeConnection(db);
}

} // namespace kestrel
