// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// The statement of account's own connection to the hospital database.
class clsOpenConnection : public Component
{
    Q_OBJECT
    Q_PROPERTY(QString servername MEMBER servername)
    Q_PROPERTY(QString Database MEMBER Database)
    Q_PROPERTY(QString UserID MEMBER UserID)
    Q_PROPERTY(QString ServerPassword MEMBER ServerPassword)

public:
    static constexpr QStringView kProgId = u"KsStatement.clsOpenConnection";

    explicit clsOpenConnection(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Opens the connection to the server and database it was told: true when they are the
    /// ones the user is logged in to and the server answers.
    Q_INVOKABLE bool EstablishedConnection();

    // Where the connection leads, as the login component tells it.
    QString servername;
    QString Database;
    QString UserID;
    QString ServerPassword;
};

} // namespace kestrel
