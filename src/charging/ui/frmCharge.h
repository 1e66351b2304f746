// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntry.h"
#include "charging/ui/WidgetChargeEntryPrompts.h"
#include "charging/ui/WidgetPricingPrompts.h"

#include <QMap>
#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTreeWidget;

namespace kestrel {

class EntryGrid;

/// "Post Charges": the patient header, the "Department Codes" list `lvwDepartments`, the entry
/// grid `mshflexEntry` with its editor `txtEntry` and the "Message" prompt `lblMessage`, the
/// posted charges `mshflexList` with `txtMessage` and `lblGrossAmount`, the "Stat Patient"
/// options `optStat`, the buttons `cmdOption` and `Command1`, `lblNote`, and F3. Every rule is
/// the presenter's (ChargeEntry).
class frmCharge : public QWidget
{
    Q_OBJECT

public:
    frmCharge(Session &session, ChargeEntry::Components components, QWidget *parent = nullptr);
    ~frmCharge() override;

    ChargeEntry &presenter() { return m_presenter; }
    EntryGrid &entryGrid() { return *m_grid; }
    /// The markup and doctor's fee windows the window's pricing asks.
    WidgetPricingPrompts &pricingPrompts() { return m_pricingPrompts; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void bind();
    void refresh();
    void fillDepartments();
    void fillPosted();
    void closeWindow();
    QLineEdit *headerField(const QString &name);

    WidgetChargeEntryPrompts m_prompts;
    WidgetPricingPrompts m_pricingPrompts;
    ChargeEntry m_presenter;

    QMap<QString, QLineEdit *> m_header;
    QLabel *m_philhealth = nullptr;
    QPushButton *m_cdf = nullptr;
    QWidget *m_entryArea = nullptr;
    QTreeWidget *m_departments = nullptr;
    QLabel *m_deptCode = nullptr;
    EntryGrid *m_grid = nullptr;
    QLabel *m_message = nullptr;
    QTableWidget *m_list = nullptr;
    QLineEdit *m_noCharges = nullptr;
    QLabel *m_gross = nullptr;
    QRadioButton *m_statYes = nullptr;
    QRadioButton *m_statNo = nullptr;
    QList<QPushButton *> m_options;
    QList<QPushButton *> m_commands;
};

} // namespace kestrel
