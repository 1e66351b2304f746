// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntry.h"
#include "charging/ChargePosting.h"
#include "charging/ChargePricing.h"
#include "charging/ChargeSlipPrinter.h"
#include "core/components/clsCodeLookup.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/CodePickList.h"
#include "core/components/DrugLists.h"
#include "core/settings/HospitalSettings.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"

#include <QQueue>
#include <QRegularExpression>

namespace kestrel::test {

using namespace Qt::StringLiterals;

inline const QRegularExpression kTrailingZeros(u"\\.?0+$"_s);

/// The markup and doctor's fee windows, answering from a script.
class ScriptedPricingPrompts : public PricingPrompts
{
public:
    MarkupChoice askMarkup() override
    {
        ++markupAsked;
        return markups.isEmpty() ? MarkupChoice{} : markups.dequeue();
    }
    DoctorsFeeAnswer askDoctorsFee(const QString &doctorId, const QString &) override
    {
        feeAskedFor << doctorId;
        using Outcome = DoctorsFeeAnswer::Outcome;
        if (feeWindowClosed)
            return {Outcome::Closed, Money()};
        return fee ? DoctorsFeeAnswer{Outcome::Chosen, *fee} : DoctorsFeeAnswer{};
    }

    QQueue<MarkupChoice> markups;
    std::optional<Money> fee; ///< the fee taken; none: the table had none to offer
    bool feeWindowClosed = false;
    int markupAsked = 0;
    QStringList feeAskedFor;
};

/// A code pick-list picking the row of the next code of its script, remembering what it showed.
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

/// "Enter Requesting Doctor" answering with a fixed doctor.
class ScriptedPostingPrompts : public PostingPrompts
{
public:
    RequestingDoctor askRequestingDoctor() override
    {
        ++asked;
        return doctor;
    }
    RequestingDoctor doctor{u"1102"_s, u"NEPOMUCENO, ALFREDO"_s};
    int asked = 0;
};

/// A charge line as the entry grid leaves it once priced.
inline PostingLine chargeLine(const QString &department, const QString &item,
                              const QString &description, const QString &quantity,
                              const QString &amount)
{
    PostingLine l;
    l.line.department = department;
    l.line.item = item;
    l.line.description = description;
    l.line.quantity = quantity;
    l.line.amount = l.line.unitPrice = l.line.listPrice = amount;
    return l;
}

/// A session logged in as OR nurse 2902 on the demo hospital with its settings loaded, and the
/// pricing of its entry grid.
struct PricingFixture
{
    explicit PricingFixture(Database &database)
        : db(database)
        , f(database, u"2902"_s)
        , pricing(f.session, prompts)
    {
        LoadHospitalSettings(db, f.session.hospital, f.session.settings);
    }

    /// Sets (or, with an empty value, removes) station switches and loads all settings again.
    bool switches(const QList<std::pair<QString, QString>> &values)
    {
        for (const auto &[key, value] : values) {
            if (!db.exec(u"delete from STATION..tbNurseSetup where Field = :k", {{u"k"_s, key}}))
                return false;
            if (!value.isEmpty() &&
                !db.exec(u"insert into STATION..tbNurseSetup (Field, value) values (:k, :v)",
                         {{u"k"_s, key}, {u"v"_s, value}}))
                return false;
        }
        LoadHospitalSettings(db, f.session.hospital, f.session.settings);
        return true;
    }

    /// Makes the stay `sql` finds the current patient; false when it finds none.
    bool selectStay(const QString &sql, const Binds &binds = {})
    {
        auto row = db.selectOne(sql, binds);
        if (!row || !*row)
            return false;
        CurrentPatientRecord &p = f.session.CurrentPatient;
        p.clear();
        for (auto [field, column] : {std::pair{&p.IdNum, u"IDNum"}, {&p.HospNum, u"HospNum"},
                                     {&p.RoomID, u"RoomID"}, {&p.PatientClass, u"PatientClass"},
                                     {&p.PatientName, u"PatientName"}, {&p.Sex, u"Sex"}})
            *field = (*row)->trimmed(column);
        return true;
    }
    bool select(const QString &lastName, const QString &firstName)
    {
        return selectStay(u"select S.IDNum, S.HospNum, S.RoomID, 'I' as PatientClass from "
                          u"PATIENT_DATA..tbPatient S inner join PATIENT_DATA..tbMaster M on "
                          u"M.HospNum = S.HospNum where M.LastName = :last and M.FirstName = "
                          u":first union all select S.IDNum, S.HospNum, '' as RoomID, 'O' as "
                          u"PatientClass from PATIENT_DATA..tbOutPatient S inner join "
                          u"PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum where M.LastName "
                          u"= :last and M.FirstName = :first"_s,
                          {{u"last"_s, lastName}, {u"first"_s, firstName}});
    }

    qint64 number(const QString &sql, const Binds &binds = {})
    {
        auto v = db.scalar(sql, binds);
        return v ? v->toLongLong() : -1;
    }
    /// The rows of `sql` as text, a line a row, fields apart by "|" and trimmed; numbers lose
    /// trailing zeros, as the backends give 2, "2.0" or "2.0000" for the same quantity.
    QString rows(const QString &sql, const Binds &binds = {})
    {
        auto rows = db.select(sql, binds);
        if (!rows)
            return rows.error().message;
        QStringList lines;
        for (const Row &row : *rows) {
            QStringList fields;
            for (const QVariant &value : row.values()) {
                QString text = value.toString().trimmed();
                bool isNumber = false;
                const double number = text.toDouble(&isNumber);
                if (isNumber && (text.contains(u'.') || value.typeId() == QMetaType::Double))
                    text = QString::number(number, 'f', 4).remove(kTrailingZeros);
                fields << text;
            }
            lines << fields.join(u'|');
        }
        return lines.join(u'\n');
    }

    Database &db;
    MainWindowFixture f;
    ScriptedPricingPrompts prompts;
    ChargePricing pricing;
};

/// The pricing fixture with the posting and its charge slip printer, on a recording display.
/// The hospital does not print charge slips until a test says so, nor check credit lines.
struct PostingFixture : PricingFixture
{
    explicit PostingFixture(Database &database)
        : PricingFixture(database)
        , reports(database, QStringLiteral(KESTREL_REPORTS_DIR),
                  {u"BAGONG TALA MEDICAL CENTER"_s, u"88 GEN. LUNA AVENUE, SAN BARTOLOME CITY"_s},
                  display, f.notifier)
    {
        (void)db.exec(u"update PATIENT_DATA..tbHospitalInfo set IsPrintChargeSlip = 0");
        switches({{u"CheckCredLim"_s, QString()}});
    }

    /// Selects the first inpatient stay (or outpatient visit) neither billed nor cleared.
    bool selectOpenStay(bool outpatient = false)
    {
        const bool ok = selectStay(
            u"select S.IDNum, S.HospNum, %1 as RoomID, '%2' as PatientClass, M.LastName || ', ' "
            u"|| M.FirstName as PatientName, M.Sex from PATIENT_DATA..%3 S inner join "
            u"PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum where S.DcrDate is null and "
            u"S.BillingDate is null and not exists (select 1 from STATION..tbNurseDischargeNotice "
            u"N where N.IDNum = S.IDNum and N.ClearDate is not null) order by S.IDNum limit 1"_s
                .arg(outpatient ? u"''"_s : u"S.RoomID"_s, outpatient ? u"O"_s : u"I"_s,
                     outpatient ? u"tbOutPatient"_s : u"tbPatient"_s));
        f.session.CurrentPatient.AttendingDoctor = u"DR. JOSE RIZALINO CRUZ"_s;
        return ok;
    }
    void confirmAndSign() // the user confirms, 2901 signs
    {
        f.notifier.answer({true});
        f.dialogs.sign(u"2901"_s);
    }
    qint64 counter(QStringView column)
    {
        return number(
            u"select %1 from STATION..tbORChargeSlip where StationID = 'OR'"_s.arg(column));
    }

    ScriptedCodePickList pickList;
    ComponentContext context = [this] {
        ComponentContext c(f.notifier);
        c.codePickList = &pickList;
        return c;
    }();
    clsDrugPicker picker{context};
    ScriptedPostingPrompts postingPrompts;
    RecordingReportDisplay display;
    ReportService reports;
    ChargeSlipPrinter printer{f.session, reports};
    ChargePosting posting{f.session, postingPrompts, &picker, printer};
};

/// The posting fixture with the charge window's presenter, its components (code look-up, drug
/// picker, drug list) and scripted windows. Its saves go nowhere until a test says where.
struct ChargeEntryFixture : PostingFixture
{
    explicit ChargeEntryFixture(Database &database)
        : PostingFixture(database)
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
        return select(lastName, firstName) && entry.open();
    }
    /// Types `text` into `column` of `row` and presses Enter.
    CellAnswer type(int row, int column, const QString &text)
    {
        return entry.acceptCell({row, column}, text);
    }
    const ChargeEntryLine &line(int row) const { return entry.lines().at(row - 1); }

    clsCodeLookup lookup{context};
    clsDrugList drugList{context};
    ScriptedChargePrompts chargePrompts;
    ChargeEntry entry{f.session, {&lookup, &picker, &drugList, nullptr}, chargePrompts, prompts};
    QStringList opened;
};

} // namespace kestrel::test
