// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/packages/PackageStore.h"

#include <QList>
#include <QObject>

namespace kestrel {

class Session;

/// The rules of `frmCancelPackage`: the packages posted to the stay (`mshflexPackage`), the
/// items of the one clicked (`mshflexPackageItems`, those used and those recorded as not used),
/// and "Cancel", which revokes the package whole after the re-validation.
class PackageCancellation : public QObject
{
    Q_OBJECT

public:
    explicit PackageCancellation(Session &session, QObject *parent = nullptr);

    /// Reads the packages posted to the stay `IdNum`; false (told) when there is none.
    bool open(const QString &IdNum);
    /// Reads the posted packages again, keeping none chosen.
    void reload();

    const QList<PostedPackage> &packages() const { return m_packages; }
    int chosenPackage() const { return m_chosen; }
    const QList<PostedPackageItem> &items() const { return m_items; }
    static QString guide();

    void choosePackage(int index);
    /// "Cancel": the chosen package is revoked whole. True when it was.
    bool cancel();

Q_SIGNALS:
    void changed();
    /// A package was cancelled: the charge window reads its posted charges again.
    void cancelled(const QString &chargeSlip, const QString &packageId);

private:
    bool refuse(const QString &text) const;

    Session &m_session;
    PackageStore m_store;
    QString m_IdNum;
    QList<PostedPackage> m_packages;
    int m_chosen = -1;
    QList<PostedPackageItem> m_items;
};

} // namespace kestrel
