// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/packages/PackageCancellation.h"
#include "core/CurrentPatient.h"

#include <QWidget>

class QTableWidget;

namespace kestrel {

/// The cancellation of posted packages: the packages posted to the stay (`mshflexPackage`),
/// the items of the one clicked (`mshflexPackageItems`, items not used in the legend's colour);
/// "Cancel" revokes the package whole, "Exit" closes.
class frmCancelPackage : public QWidget
{
    Q_OBJECT

public:
    explicit frmCancelPackage(Session &session, QWidget *parent = nullptr);

    /// Shows the packages posted to the stay; false (told) when there is none.
    bool open(const CurrentPatientRecord &stay);
    PackageCancellation &presenter() { return m_presenter; }

private:
    void refresh();

    PackageCancellation m_presenter;
    QTableWidget *m_packages = nullptr;
    QTableWidget *m_items = nullptr;
};

} // namespace kestrel
