// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryGrid.h"
#include "charging/ChargeEntryPrompts.h"
#include "charging/ChargeEntryStore.h"
#include "charging/ChargePricing.h"
#include "charging/ChargeSaving.h"
#include "charging/EntryGridRules.h"
#include "core/WindowRequest.h"

#include <QObject>

#include <functional>

namespace kestrel {

class ChargeAccount;
class ChargeRevoke;
class DrugListComponent;
class Session;
class clsCodeLookup;
class clsDrugPicker;
class clsRvsLookup;

/// The rules of the "Post Charges" window `frmCharge`: the patient header, the departments,
/// the lines of the entry grid with every look-up, check and price of a typed cell, the
/// posted charges of the stay with their gross amount, the "Stat Patient" option and the
/// buttons. Saving and reprinting go through the ChargeSaving, revoking through the
/// ChargeRevoke; packages open their windows through the window opener.
class ChargeEntry : public QObject, public EntryGridRules
{
    Q_OBJECT

public:
    /// The companion components the window looks items up with; any may be missing.
    struct Components
    {
        clsCodeLookup *codeLookup = nullptr;
        clsDrugPicker *drugPicker = nullptr;
        DrugListComponent *drugList = nullptr;
        clsRvsLookup *rvsLookup = nullptr;
    };
    /// Opens a window of another part of the program (the main window's openWindow).
    using WindowOpener = std::function<void(const QString &formName, const WindowRequest &)>;

    ChargeEntry(Session &session, Components components, ChargeEntryPrompts &prompts,
                PricingPrompts &pricingPrompts, QObject *parent = nullptr);

    void setSaving(ChargeSaving *saving) { m_saving = saving; }
    /// Revoking goes through `revoke`, which the window holds for as long as it is open.
    void setRevoking(ChargeRevoke *revoke) { m_revoke = revoke; }
    void setWindowOpener(WindowOpener opener) { m_openWindow = std::move(opener); }
    /// Charges `account` instead of the selected patient's stay (the receivable window); it
    /// outlives the window.
    void setAccount(ChargeAccount *account) { m_account = account; }
    /// The stay charged: the account's, else the selected patient's.
    const CurrentPatientRecord &stay() const;

    /// Opens the window for the selected patient: the right to post charges, a selected
    /// patient and an open account are required (each refusal is told). Then the header,
    /// the departments and the posted charges are read, the grid is emptied and "Stat
    /// Patient" is "NO". False when the window must not open.
    bool open();
    /// Readies the grid for a window that enters its lines as this one does but does not post
    /// them to the stay (the assessment windows): the station's departments and an empty grid,
    /// the lines priced for `stay` (a walk-in's is empty); no posted charges are read. False
    /// when the departments could not be read (the user saw why).
    bool openEntry(const CurrentPatientRecord &stay);
    /// Empties the grid without asking (the lines were saved elsewhere).
    void clearLines();
    /// Puts `line` at grid row `row` (1 to the number of lines), or adds it after the last line
    /// for the row below them: a window that fills some lines by rules of its own (the clinical
    /// departments' examinations) keeps them in this grid.
    void setLine(int row, const ChargeEntryLine &line);

    // What the window shows.
    const ChargePatientHeader &header() const { return m_header; }
    /// The patient's age in whole years on the server's date, "" without a birth date.
    QString age() const;
    /// "PHIC TYPE " and the membership.
    QString philhealthText() const;
    /// `cmdCDF` is offered only to the hospital with the clinical data form, for its
    /// dialysis and transplant patients.
    bool cdfEnabled() const { return m_cdfEnabled; }
    const QList<ChargeDepartment> &departments() const { return m_departments; }
    /// `lblDeptCode`: the department chosen last.
    const QString &departmentShown() const { return m_departmentShown; }
    const QList<ChargeEntryLine> &lines() const { return m_lines; }
    ChargeEntryGrid &grid() { return m_grid; }
    const QList<PostedCharge> &postedCharges() const { return m_posted; }
    /// The header of `mshflexList`, cell by cell.
    static QStringList postedHeaders();
    /// `txtMessage` "No Charges Entered" shows while nothing is posted.
    bool noChargesEntered() const { return m_posted.isEmpty(); }
    /// `lblGrossAmount`.
    QString grossAmountText() const;
    bool statPatient() const { return m_statPatient; }
    /// "View All" is offered where the hospital lets the list be enlarged.
    bool viewAllShown() const;
    bool listExpanded() const { return m_listExpanded; }
    QString viewAllCaption() const;
    /// "View RVS Codes", or "View RUV Codes" for the hospital whose scale is called so.
    QString rvsCaption() const;
    static QString note();

    // The entry grid's rules.
    int filledRows() const override { return int(m_lines.size()); }
    bool mayEdit(GridCell cell) const override;
    CellAnswer acceptCell(GridCell cell, const QString &text) override;
    QString prompt(int column) const override;
    int maxLength(int column) const override;

    // What the user does.
    /// A department clicked in `lvwDepartments`: it is shown in `lblDeptCode`.
    void chooseDepartment(int index);
    /// "Stat Patient": YES or NO reprices the lines entered.
    void setStatPatient(bool stat);
    /// "&Delete": removes line `row` after asking.
    void deleteLine(int row);
    /// F3: removes line `row` without asking.
    void removeLine(int row);
    /// "&Ignore All": empties the grid after asking.
    void ignoreAll();
    /// "&Close": asks, then closeRequested().
    void close();
    /// "&View OR Packages".
    void viewPackages();
    /// The package items chosen in the package list, added at the end of the grid.
    void addPackageLines(const QList<ChargeEntryLine> &lines);
    /// "Piped O&xygen" is offered where the station charges piped oxygen by the hour.
    bool pipedOxygenShown() const;
    /// "Piped O&xygen": the tank of the stay opened or closed (`frmPipe`).
    void openOxygenPipe();
    /// "&Save": hands the lines to the ChargeSaving; a save that posted empties the grid and
    /// reads the posted charges again.
    void save();
    /// "&Refresh": reads the posted charges again.
    void refresh();
    /// "View RVS Codes".
    void viewRvs();
    /// "View All": enlarges the posted list, or brings it back.
    void toggleViewAll();
    /// "Revoke", or Enter and double-click on posted charge `index`. With the station switch
    /// `MultiCancel` the ticked charges are revoked together instead.
    void revoke(int index);
    /// With `MultiCancel`: ticks posted charge `index` for revoking, or unticks it.
    void toggleTick(int index);
    bool isTicked(int index) const;
    /// "Post Returned Medicines": the return window for the stay.
    void postReturns();
    /// "Reprint": the charge slip of posted charge `index`.
    void reprint(int index);
    /// `cmdCDF`: the clinical data form.
    void showCdf();

Q_SIGNALS:
    /// Anything shown changed but the entry grid, which tells its own changes.
    void changed();
    /// Posting wants the editor on a cell.
    void editRequested(kestrel::GridCell cell);
    void closeRequested();

private:
    CellAnswer acceptDepartment(int row, const QString &text);
    CellAnswer acceptItem(int row, const QString &text);
    CellAnswer acceptStockItem(ChargeEntryLine &line, int row, const QString &text,
                               const QString &location);
    CellAnswer acceptDoctor(ChargeEntryLine &line, const QString &text);
    CellAnswer acceptService(ChargeEntryLine &line, int row, const QString &text);
    CellAnswer acceptQuantity(ChargeEntryLine &line, const QString &text);
    /// Oxygen lines: the PSI question and readings; false when the line is priced as any other.
    bool pricePsiOxygen(ChargeEntryLine &line);
    /// Finishes the line; an OR line first takes its doctors' meals when `askMeals`.
    void finishLine(ChargeEntryLine &line, bool askMeals);

    /// The hospital restricts what cash-basis patients may be charged, and the stay is one:
    /// true when the item is refused (the user was told).
    bool refusedForCashBasis(const QString &department, const QString &item);
    /// Another line than `row` already charges `item`.
    bool chargedElsewhere(int row, const QString &item) const;
    bool isPackageLocked(const ChargeEntryLine &line) const;
    /// An account window with no account picked yet: the user is told and nothing is done.
    bool refusedWithoutAccount() const;
    void loadPosted();
    void openWindow(const QString &formName, const QString &caption, const QVariantMap &values);

    Session &m_session;
    Components m_components;
    ChargeEntryPrompts &m_prompts;
    ChargePricing m_pricing;
    ChargeEntryStore m_store;
    ChargeSaving *m_saving = nullptr;
    ChargeRevoke *m_revoke = nullptr;
    WindowOpener m_openWindow;
    ChargeAccount *m_account = nullptr;

    ChargePatientHeader m_header;
    QDate m_today;
    bool m_cdfEnabled = false;
    QList<ChargeDepartment> m_departments;
    QString m_departmentShown;
    QList<ChargeEntryLine> m_lines;
    ChargeEntryGrid m_grid{m_lines};
    QList<PostedCharge> m_posted;
    QList<qint64> m_ticked; ///< logbook lines ticked for revoking
    bool m_statPatient = false;
    bool m_listExpanded = false;
    /// Opened through openEntry(): the window shows no posted charges.
    bool m_entryOnly = false;
};

} // namespace kestrel
