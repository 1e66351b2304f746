// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/packages/PackageList.h"
#include "core/WindowRequest.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace kestrel {

class ChargeEntry;

/// The package list of the charge window: the packages tagged to the stay on the left, the
/// items of the one clicked on the right with their ticks; "&OK" brings the ticked items into
/// the charge window's grid, "Cancel &Package" opens the cancellation of posted packages.
class frmListPackage : public QWidget
{
    Q_OBJECT

public:
    using WindowOpener = std::function<void(const QString &formName, const WindowRequest &)>;

    explicit frmListPackage(Session &session, QWidget *parent = nullptr);

    /// The charge window whose grid takes the items; none: the items cannot be brought.
    void setChargeEntry(ChargeEntry *charge) { m_charge = charge; }
    void setWindowOpener(WindowOpener opener) { m_openWindow = std::move(opener); }
    /// Shows the packages of the stay; false (told) when there is none.
    bool open(const CurrentPatientRecord &stay);

    PackageList &presenter() { return m_presenter; }

private:
    void refresh();
    void bringIntoGrid();

    Session &m_session;
    PackageList m_presenter;
    QPointer<ChargeEntry> m_charge;
    WindowOpener m_openWindow;
    CurrentPatientRecord m_stay;
    QTableWidget *m_packages = nullptr;
    QTableWidget *m_items = nullptr;
    QLabel *m_guide = nullptr;
    QRadioButton *m_checkAll = nullptr;
    QRadioButton *m_uncheckAll = nullptr;
    bool m_filling = false;
};

} // namespace kestrel
