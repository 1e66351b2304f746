// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// kestrel-admin: what hospital IT does with the hospital database from a shell.
#include "AdminCommands.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrel-admin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTREL_VERSION));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return kestrel::admin::runAdmin(arguments);
}
