// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

class Session;

/// The key a signature's password is scrambled with on its way to the hospital database. The
/// database's own row (PASSWORD..tbPasswordKey) is the key the database unscrambles with, so
/// it is taken first; the key of the workstation's installation file is the fallback for a
/// database that does not let the workstation read it.
class RevalidationKey
{
public:
    explicit RevalidationKey(QString installationKey = {});

    /// The key, read once and then kept. "" when neither the hospital database nor the
    /// installation has one: the first time in a run the user is told what is missing, later
    /// signatures are refused without another box.
    QString key(Session &session);

    /// What a workstation without any key is told.
    static QString missingText();

private:
    QString m_installationKey;
    QString m_key;
    bool m_told = false;
};

} // namespace kestrel
