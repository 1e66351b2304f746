// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntry.h"
#include "charging/PricingFixture.h"
#include "shell/components/clsCodeLookup.h"
#include "shell/components/clsDrugPicker.h"
#include "shell/components/CodePickList.h"
#include "shell/components/DrugLists.h"

#include <QQueue>

namespace kestrel::test {

/// A code pick-list that picks the row whose code comes next in its script, and remembers
/// what it was shown; nothing when the script is empty or the code is not listed.
class ScriptedCodePickList : public CodePickList
{
public:
    std::optional<int> pick(const CodeListing &listing) override
    {
        shown << listing;
        const QString code = codes.isEmpty() ? QString() : codes.dequeue();
        for (int i = 0; i < listing.rows.size(); ++i) {
            if (listing.rows.at(i).value(0) == code)
                return i;
        }
        return std::nullopt;
    }

    QQueue<QString> codes;
    QList<CodeListing> shown;
};

/// The procedure list, meals and PSI windows, answering from a script.
class ScriptedChargePrompts : public ChargeEntryPrompts
{
public:
    QString askORProcedure(const QList<ORProcedure> &procedures) override
    {
        offered = procedures;
        return procedure;
    }
    std::optional<MealEntry> askMeals(const QString &description) override
    {
        mealsAskedFor << description;
        return meals;
    }
    std::optional<PsiReading> askPsiReading(const ChargeEntryLine &line) override
    {
        psiAskedFor << line.line.item;
        return psi;
    }

    QString procedure;
    QList<ORProcedure> offered;
    std::optional<MealEntry> meals;
    QStringList mealsAskedFor;
    std::optional<PsiReading> psi;
    QStringList psiAskedFor;
};

/// Posting as a test sees it: the lines it was handed, and the outcome it is told to give.
class RecordingSaving : public ChargeSaving
{
public:
    PostingOutcome save(const QList<PostingLine> &lines, const QString &department) override
    {
        saved << lines;
        departments << department;
        return outcome;
    }
    void reprint(const QString &chargeSlip, const CurrentPatientRecord &stay) override
    {
        reprinted << chargeSlip + u'/' + stay.IdNum;
    }

    PostingOutcome outcome;
    QList<QList<PostingLine>> saved;
    QStringList departments;
    QStringList reprinted;
};

/// A logged-in OR nurse on the demo hospital with the charge window's presenter, its
/// components (code look-up, drug picker, drug list) and scripted windows.
struct ChargeEntryFixture
{
    explicit ChargeEntryFixture(Database &database)
        : p(database)
        , context(contextWith(p.f.notifier, pickList))
        , lookup(context)
        , picker(context)
        , drugList(context)
        , entry(p.f.session, {&lookup, &picker, &drugList, nullptr}, prompts, p.prompts)
    {
        lookup.setConnection(&database);
        lookup.Initialize_Classes();
        picker.InitConnect(&database);
        drugList.InitConnection(&database);
        entry.setWindowOpener([this](const QString &formName, const WindowRequest &request) {
            opened << formName + u'|' + request.caption;
        });
    }

    /// Selects the demo patient and opens the window for him; false when it refused.
    bool open(const QString &lastName, const QString &firstName)
    {
        return p.select(lastName, firstName) && entry.open();
    }

    /// Types `text` into `column` of `row` and presses Enter.
    CellAnswer type(int row, int column, const QString &text)
    {
        return entry.acceptCell({row, column}, text);
    }

    const ChargeEntryLine &line(int row) const { return entry.lines().at(row - 1); }

    static ComponentContext contextWith(Notifier &notifier, CodePickList &pickList)
    {
        ComponentContext ctx(notifier);
        ctx.codePickList = &pickList;
        return ctx;
    }

    PricingFixture p;
    ScriptedCodePickList pickList;
    ComponentContext context;
    clsCodeLookup lookup;
    clsDrugPicker picker;
    clsDrugList drugList;
    ScriptedChargePrompts prompts;
    ChargeEntry entry;
    QStringList opened;
};

} // namespace kestrel::test
