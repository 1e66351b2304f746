// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// ChargeEntry's entry-grid rules: which cell may be edited, and what a typed cell does to its line.
#include "charging/ChargeEntry.h"

#include "charging/ChargeAccount.h"
#include "core/components/clsCodeLookup.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/Component.h"
#include "core/components/DrugLists.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

#include <algorithm>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kOR = QStringLiteral("OR");

bool isDepartment(const QString &cell, QStringView code)
{
    return cell.trimmed().compare(code, Qt::CaseInsensitive) == 0;
}

} // namespace

bool ChargeEntry::isPackageLocked(const ChargeEntryLine &line) const
{
    return !line.packageId.trimmed().isEmpty() &&
           (m_session.settings.NoPackageItemExclude() || m_session.settings.DontMixPackages());
}

bool ChargeEntry::mayEdit(GridCell cell) const
{
    static constexpr int editable[] = {ChargeEntryLine::Department, ChargeEntryLine::Item,
                                       ChargeEntryLine::Quantity, ChargeEntryLine::UnitPrice,
                                       ChargeEntryLine::Amount};
    if (std::find(std::begin(editable), std::end(editable), cell.column) == std::end(editable))
        return false;
    if (cell.row < 1 || cell.row > m_lines.size() + 1)
        return false;
    // An account window types nothing before its account is picked.
    if (m_account && !stay().isSelected())
        return false;
    // The empty row below the lines starts a new line with its department.
    if (cell.row == m_lines.size() + 1)
        return cell.column == ChargeEntryLine::Department;
    const ChargeEntryLine &line = m_lines.at(cell.row - 1);
    if (isPackageLocked(line))
        return false;
    if (cell.column >= ChargeEntryLine::Item && line.line.department.trimmed().isEmpty())
        return false;
    if (cell.column >= ChargeEntryLine::Quantity && line.line.description.trimmed().isEmpty())
        return false;
    if (cell.column == ChargeEntryLine::UnitPrice && !m_pricing.canEditUnitPrice(line.line))
        return false;
    return true;
}

QString ChargeEntry::prompt(int column) const
{
    switch (column) {
    case ChargeEntryLine::Department:
        return QStringLiteral("Enter Department Code.");
    case ChargeEntryLine::Item:
        return QStringLiteral("Enter the Service Code or First letters of Service Name then "
                              "Press the <Enter> Key");
    case ChargeEntryLine::Quantity:
        return QStringLiteral("Enter quantity to charge.");
    case ChargeEntryLine::UnitPrice:
        return QStringLiteral("Enter unit price.");
    case ChargeEntryLine::Amount:
        return QStringLiteral("Enter total amount to charge.");
    default:
        return {};
    }
}

int ChargeEntry::maxLength(int column) const
{
    // One entry per column the editor may open on, from the department to the AR code.
    static constexpr int lengths[] = {0, 4, 30, 0, 7, 14, 14, 0, 0};
    return column >= 0 && column < int(std::size(lengths)) ? lengths[column] : 0;
}

CellAnswer ChargeEntry::acceptCell(GridCell cell, const QString &text)
{
    if (!mayEdit(cell))
        return CellAnswer::RefuseAndKeep;
    if (cell.column == ChargeEntryLine::Department)
        return acceptDepartment(cell.row, text);
    if (cell.column == ChargeEntryLine::Item)
        return acceptItem(cell.row, text);

    ChargeEntryLine &line = m_lines[cell.row - 1];
    CellAnswer answer = CellAnswer::Accept;
    switch (cell.column) {
    case ChargeEntryLine::Quantity:
        answer = acceptQuantity(line, text);
        break;
    case ChargeEntryLine::UnitPrice:
        if (m_pricing.unitPriceTyped(line.line, text))
            finishLine(line, false);
        else
            answer = CellAnswer::RefuseAndKeep;
        break;
    case ChargeEntryLine::Amount:
        if (!m_pricing.amountTyped(line.line, text))
            answer = CellAnswer::RefuseAndKeep;
        break;
    default:
        answer = CellAnswer::RefuseAndKeep;
        break;
    }
    m_grid.lineChanged(cell.row);
    return answer;
}

CellAnswer ChargeEntry::acceptDepartment(int row, const QString &text)
{
    const QString code = text.trimmed().toUpper();
    const bool known = std::any_of(m_departments.cbegin(), m_departments.cend(),
                                   [&](const ChargeDepartment &d) { return d.code == code; });
    if (code.isEmpty() || !known) {
        m_session.notifier().message(QStringLiteral("Department code does not exist. Please refer "
                                                    "to the list of department codes."),
                                     kNotification, Notifier::Icon::Information);
        return CellAnswer::RefuseAndEmpty;
    }
    if (row > m_lines.size()) {
        ChargeEntryLine line;
        line.line.department = code;
        m_lines.append(line);
        m_grid.reload();
    } else {
        ChargeEntryLine &line = m_lines[row - 1];
        if (!isDepartment(line.line.department, code)) {
            const QString description = line.line.description.trimmed();
            if (!description.isEmpty() &&
                !m_session.notifier().confirm(QStringLiteral("This will remove ") + description +
                                                  QStringLiteral(".\n\nAre you sure you want "
                                                                 "to continue?"),
                                              kConfirmation, Notifier::Icon::Question))
                return CellAnswer::RefuseAndKeep;
            line = ChargeEntryLine();
            line.line.department = code;
            m_grid.lineChanged(row);
        }
    }
    m_departmentShown = code;
    Q_EMIT changed();
    return CellAnswer::Accept;
}

CellAnswer ChargeEntry::acceptItem(int row, const QString &text)
{
    ChargeEntryLine &line = m_lines[row - 1];
    const QString department = line.line.department.trimmed();
    const QString location = modGlobals::GetRevenueLocation(m_session, department);
    CellAnswer answer;
    if (!location.isEmpty())
        answer = acceptStockItem(line, row, text, location);
    else if (isDepartment(department, u"MD"))
        answer = acceptDoctor(line, text);
    else
        answer = acceptService(line, row, text);
    m_grid.lineChanged(row);
    return answer;
}

CellAnswer ChargeEntry::acceptStockItem(ChargeEntryLine &line, int row, const QString &text,
                                        const QString &location)
{
    const HospitalSettings &hs = m_session.hospital;
    Notifier &notifier = m_session.notifier();
    const QString department = line.line.department.trimmed();

    QString code = text.trimmed();
    if (!looksLikeItemCode(code)) {
        if (!m_components.drugList) {
            tellNotAvailable(notifier, QStringLiteral("The drug list"));
            return CellAnswer::RefuseAndKeep;
        }
        code = m_components.drugList->ShowList(location, code).trimmed();
        if (code.isEmpty())
            return CellAnswer::RefuseAndKeep;
    }
    if (refusedForCashBasis(department, code))
        return CellAnswer::RefuseAndKeep;
    if (!m_components.drugPicker) {
        tellNotAvailable(notifier, QStringLiteral("The drug picker"));
        return CellAnswer::RefuseAndKeep;
    }
    clsDrug &drug = *m_components.drugPicker->Drug();
    drug.setLocationID(location);
    // Where the hospital prices drugs by room class, the picker is told whose stay it is.
    const bool found = m_session.settings.InventoryRoomClassRate()
                           ? drug.SearchDrug(code, stay().IdNum.trimmed(),
                                             stay().RoomID.trimmed())
                           : drug.SearchDrug(code);
    if (!found) {
        notifier.message(QStringLiteral("Item code does not exist."), kNotification,
                         Notifier::Icon::Information);
        return CellAnswer::RefuseAndKeep;
    }
    if (drug.Status().trimmed().compare(u"A", Qt::CaseInsensitive) != 0) {
        notifier.message(QStringLiteral("Record is inactive. Please enter an active item."),
                         kNotification, Notifier::Icon::Information);
        return CellAnswer::RefuseAndKeep;
    }
    if (hs.AllowZeroOnHand && drug.Invent().StockOnHand <= 0) {
        notifier.message(noStockLeftText(drug.DrugName(),
                                         m_session.settings.ShowDosagePostMedicines()),
                         kNotification, Notifier::Icon::Critical);
        return CellAnswer::RefuseAndKeep;
    }
    if (chargedElsewhere(row, drug.DrugCode())) {
        notifier.message(QStringLiteral("Can't charge the same Medicine/Supply."), kNotification,
                         Notifier::Icon::Information);
        return CellAnswer::RefuseAndKeep;
    }
    if (m_session.settings.CheckPNF() &&
        modGlobals::GetInventoryType(m_session, location) != u"C" &&
        !modGlobals::IsPNF(m_session, drug.DrugCode())) {
        if (m_session.settings.NoPNFByPass()) {
            notifier.message(QStringLiteral("Item is not under PNF list."), kNotification,
                             Notifier::Icon::Information);
            return CellAnswer::RefuseAndKeep;
        }
        if (!notifier.confirm(QStringLiteral("Item is not under PNF list. Would you like to "
                                             "continue?"),
                              kConfirmation, Notifier::Icon::Question))
            return CellAnswer::RefuseAndKeep;
    }

    ChargeEntryLine priced;
    priced.line.department = department;
    m_pricing.priceStockItem(priced.line, drug);
    priced.stockItem = true;
    priced.stockOnHand = drug.Invent().StockOnHand;
    if (m_session.settings.ShowDosagePostMedicines()) {
        DosageRecord dosage;
        if (m_components.codeLookup &&
            m_components.codeLookup->SearchListing(clsCodeLookup::Dosages, QString()))
            dosage = m_components.codeLookup->DosageRecord();
        if (dosage.ResultCode.trimmed().isEmpty()) {
            notifier.message(QStringLiteral("DOSAGE ID for ") + drug.DrugName() +
                                 QStringLiteral(" is empty. The system can't process the "
                                                "specified item."),
                             kNotification, Notifier::Icon::Critical);
            line = ChargeEntryLine();
            return CellAnswer::RefuseAndEmpty;
        }
        priced.dosage = dosage.ResultCode.trimmed();
        priced.dosageFrequency = dosage.Frequency.trimmed();
    }
    line = priced;
    return CellAnswer::Accept;
}

CellAnswer ChargeEntry::acceptDoctor(ChargeEntryLine &line, const QString &text)
{
    clsCodeLookup *lookup = m_components.codeLookup;
    if (!lookup) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("The code list"));
        return CellAnswer::RefuseAndKeep;
    }
    if (!lookup->SearchListing(clsCodeLookup::Doctors, text.trimmed()))
        return CellAnswer::RefuseAndKeep;
    const DoctorRecord doctor = lookup->DoctorRecord();
    ChargeEntryLine priced;
    priced.line.department = line.line.department.trimmed();
    if (!m_pricing.priceDoctorsFee(priced.line, doctor) ||
        m_pricing.refuseZeroAmount(priced.line)) {
        line = ChargeEntryLine();
        return CellAnswer::RefuseAndEmpty;
    }
    priced.doctorCode = doctor.ResultCode;
    line = priced;
    return CellAnswer::Accept;
}

CellAnswer ChargeEntry::acceptService(ChargeEntryLine &line, int row, const QString &text)
{
    clsCodeLookup *lookup = m_components.codeLookup;
    if (!lookup) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("The code list"));
        return CellAnswer::RefuseAndKeep;
    }
    const QString department = line.line.department.trimmed();
    lookup->setOtherSectionID(department);
    if (!lookup->SearchListing(clsCodeLookup::OtherRevenues, text.trimmed()))
        return CellAnswer::RefuseAndKeep;
    const OtherRevenueRecord item = lookup->OtherRevenueRecord();
    if (refusedForCashBasis(department, item.ResultCode))
        return CellAnswer::RefuseAndKeep;
    if (chargedElsewhere(row, item.ResultCode)) {
        m_session.notifier().message(QStringLiteral("Can't charge the same service."),
                                     kNotification, Notifier::Icon::Information);
        return CellAnswer::RefuseAndKeep;
    }

    ChargeEntryLine priced;
    priced.line.department = department;
    m_pricing.priceServiceItem(priced.line, item);
    if (m_pricing.refuseZeroAmount(priced.line)) {
        line = ChargeEntryLine();
        return CellAnswer::RefuseAndEmpty;
    }
    if (m_session.hospital.IsAllowTaggingORPrc && m_pricing.isORProcedure(priced.line)) {
        const bool major = m_session.notifier().confirm(QStringLiteral("Is it a major operation?"),
                                                        kConfirmation, Notifier::Icon::Question,
                                                        Notifier::Answer::No);
        priced.majorOperation = major ? QStringLiteral("Y") : QStringLiteral("N");
        auto procedures = m_store.orProcedures();
        if (!procedures)
            m_session.notifier().errorBox(procedures.error());
        else
            priced.procedureCode = m_prompts.askORProcedure(*procedures).trimmed();
    }
    line = priced;
    return CellAnswer::Accept;
}

CellAnswer ChargeEntry::acceptQuantity(ChargeEntryLine &line, const QString &text)
{
    Notifier &notifier = m_session.notifier();
    const QString typed = text.trimmed();
    bool number = false;
    const double quantity = typed.toDouble(&number);
    if (!number || quantity <= 0) {
        notifier.message(QStringLiteral("Quantity should be greater than zero(0)."), kNotification,
                         Notifier::Icon::Information);
        return CellAnswer::RefuseAndKeep;
    }
    if (!modGlobals::IsWholeQuantity(m_session, typed)) {
        notifier.message(QStringLiteral("You are only allowed to enter whole number for "
                                        "quantity."),
                         kNotification, Notifier::Icon::Information);
        return CellAnswer::RefuseAndKeep;
    }
    if (line.stockItem && m_session.hospital.AllowZeroOnHand && quantity > line.stockOnHand) {
        notifier.message(QStringLiteral("Stock is not enough for the quantity entered. "
                                        "Remaining stock is: ") +
                             numberText(line.stockOnHand),
                         kNotification, Notifier::Icon::Information);
        line.line.quantity.clear();
        line.line.amount.clear();
        return CellAnswer::RefuseAndEmpty;
    }
    line.line.quantity = typed;
    if (!pricePsiOxygen(line))
        m_pricing.quantityEntered(line.line);
    finishLine(line, true);
    return CellAnswer::Accept;
}

bool ChargeEntry::pricePsiOxygen(ChargeEntryLine &line)
{
    if (!isDepartment(line.line.department, u"OX"))
        return false;
    auto plainLine = [&line] {
        line.psiFlag = QStringLiteral("0");
        line.tankNumber.clear();
        line.initialReading.clear();
        line.lastReading.clear();
        return false;
    };
    if (!m_session.notifier().confirm(QStringLiteral("Is this a PSI Oxygen?"), kNotification,
                                      Notifier::Icon::Question, Notifier::Answer::No))
        return plainLine();
    line.psiFlag = QStringLiteral("1");
    const std::optional<PsiReading> reading = m_prompts.askPsiReading(line);
    if (!reading || reading->used() <= 0)
        return plainLine();

    // The unit price is the charge for up to 100 PSI, unless the hospital charges per PSI.
    const double used = reading->used();
    line.tankNumber = reading->tankNumber;
    line.initialReading = numberText(reading->initialReading);
    line.lastReading = numberText(reading->lastReading);
    line.line.quantity = numberText(used);
    const Money price = line.line.unitPriceValue();
    if (m_session.hospital.PSIOxygenComputationType == 1)
        line.line.setAmount(price * used);
    else if (used >= 100)
        line.line.setAmount(price * (used / 100));
    else
        line.line.setAmount(price);
    return true;
}

void ChargeEntry::finishLine(ChargeEntryLine &line, bool askMeals)
{
    if (askMeals && isDepartment(line.line.department, kOR)) {
        auto meals = m_store.mealDoctors();
        if (!meals) {
            m_session.notifier().errorBox(meals.error());
        } else if (*meals) {
            if (const std::optional<MealEntry> entry = m_prompts.askMeals(line.line.description)) {
                line.line.mealAmount = entry->amount.trimmed();
                line.mealRemarks = entry->remarks.trimmed();
            }
        }
    }
    m_pricing.finishLine(line.line);
}

bool ChargeEntry::refusedForCashBasis(const QString &department, const QString &item)
{
    if (m_session.hospital.clientname != u"ZUL")
        return false;
    Notifier &notifier = m_session.notifier();
    auto cashBasis = m_store.isCashBasis(stay().IdNum);
    if (!cashBasis) {
        notifier.errorBox(cashBasis.error());
        return true;
    }
    if (!*cashBasis)
        return false;
    auto unrestricted = m_store.isUnrestricted(department, item);
    if (!unrestricted) {
        notifier.errorBox(unrestricted.error());
        return true;
    }
    if (*unrestricted)
        return false;
    notifier.message(QStringLiteral("This ITEM/SERVICE/EXAM is restricted for cash basis "
                                    "patients."),
                     kNotification, Notifier::Icon::Information);
    return true;
}

bool ChargeEntry::chargedElsewhere(int row, const QString &item) const
{
    const QString code = item.trimmed();
    for (int i = 0; i < m_lines.size(); ++i) {
        if (i != row - 1 && !code.isEmpty() &&
            m_lines.at(i).line.item.trimmed().compare(code, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace kestrel
