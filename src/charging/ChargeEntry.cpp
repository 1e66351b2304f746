// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargeEntry.h"

#include "patients/modGlobals.h"
#include "core/AccessRights.h"
#include "core/components/clsCodeLookup.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/clsRvsLookup.h"
#include "core/components/Component.h"
#include "core/components/DrugLists.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <algorithm>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kOR = QStringLiteral("OR");

constexpr QStringView kRightPostCharges = u"3";

// The later windows the buttons open, and how the user knows them.
const QString kPackageWindow = QStringLiteral("frmListPackage");
const QString kRevokeWindow = QStringLiteral("frmRevokeCharge");
const QString kCdfWindow = QStringLiteral("frmCDF");

bool isDepartment(const QString &cell, QStringView code)
{
    return cell.trimmed().compare(code, Qt::CaseInsensitive) == 0;
}

// The hospital's item codes carry digits; what has none is the beginning of a name.
bool looksLikeCode(const QString &typed)
{
    return std::any_of(typed.cbegin(), typed.cend(), [](QChar c) { return c.isDigit(); });
}

} // namespace

ChargeEntry::ChargeEntry(Session &session, Components components, ChargeEntryPrompts &prompts,
                         PricingPrompts &pricingPrompts, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_components(components)
    , m_prompts(prompts)
    , m_pricing(session, pricingPrompts)
    , m_store(session.db())
{
}

bool ChargeEntry::open()
{
    Notifier &notifier = m_session.notifier();
    if (!HasAccessRight(m_session, kRightPostCharges)) {
        notifier.message(QStringLiteral("Sorry, you don't have access right to Post Charges."),
                         kNotification, Notifier::Icon::Information);
        return false;
    }
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    if (!stay.isSelected()) {
        notifier.message(QStringLiteral("Please select patient."), kNotification,
                         Notifier::Icon::Information);
        return false;
    }
    if (modGlobals::IsAccountClosed(m_session))
        return false;

    auto header = m_store.header(stay);
    if (!header) {
        notifier.errorBox(header.error());
        return false;
    }
    if (!*header) {
        notifier.message(QStringLiteral("Please select patient."), kNotification,
                         Notifier::Icon::Information);
        return false;
    }
    auto departments = m_store.departments(m_session.StationID);
    if (!departments) {
        notifier.errorBox(departments.error());
        return false;
    }
    m_header = **header;
    m_departments = *departments;
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    m_today = now.isValid() ? now.date() : m_session.ServerDate;
    if (m_session.hospital.clientname == u"QELM") {
        const modGlobals::PatientBanner banner =
            modGlobals::ShowPatientBanner(m_session, stay.IdNum.trimmed());
        m_cdfEnabled =
            banner.TransplantStatus != u"Non_Transplant" || banner.DialysisStatus != u"None";
    } else {
        m_cdfEnabled = false;
    }

    m_lines.clear();
    m_grid.reload();
    m_departmentShown.clear();
    m_statPatient = false;
    m_listExpanded = false;
    loadPosted();
    Q_EMIT changed();
    return true;
}

QString ChargeEntry::age() const
{
    const QDate born = m_header.birthDate;
    if (!born.isValid() || !m_today.isValid())
        return {};
    int years = m_today.year() - born.year();
    if (m_today.month() < born.month() ||
        (m_today.month() == born.month() && m_today.day() < born.day()))
        --years;
    return QString::number(std::max(years, 0));
}

QString ChargeEntry::philhealthText() const
{
    return QStringLiteral("PHIC TYPE ") + m_header.membership;
}

QStringList ChargeEntry::postedHeaders()
{
    // The grid's format string: cells split by "|", each opened by its alignment mark.
    static const QString format =
        QStringLiteral("  |<Dept. |<Item. #|< Item   Description    |<QTY|<Amount |<ChargeSlip #");
    QStringList headers = format.split(u'|');
    for (QString &h : headers) {
        if (h.startsWith(u'<') || h.startsWith(u'>') || h.startsWith(u'^'))
            h.remove(0, 1);
    }
    return headers;
}

QString ChargeEntry::grossAmountText() const
{
    Money gross;
    for (const PostedCharge &c : m_posted)
        gross += c.amount;
    return QStringLiteral("Gross Amount: Php ") + formatNumber(gross, kFormatGross);
}

bool ChargeEntry::viewAllShown() const
{
    return m_session.settings.ExpandList();
}

QString ChargeEntry::viewAllCaption() const
{
    return m_listExpanded ? QStringLiteral("Close") : QStringLiteral("View All");
}

QString ChargeEntry::rvsCaption() const
{
    // A hospital that has not named its scale keeps the usual caption.
    const QString ruvClient = m_session.settings.ClientRUVtext().trimmed();
    return !ruvClient.isEmpty() && ruvClient == m_session.hospital.clientname.trimmed()
               ? QStringLiteral("View RUV Codes")
               : QStringLiteral("View RVS Codes");
}

QString ChargeEntry::note()
{
    return QStringLiteral("Note :  To revoke charges, click on the list of charges entered.Use "
                          "the Arrow Keys to choose and then press the Enter Key.");
}

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

std::optional<GridCell> ChargeEntry::nextCell(GridCell cell, int columnCount) const
{
    if (cell.column < ChargeEntryLine::Quantity)
        return EntryGridRules::nextCell(cell, columnCount);
    // Quantity, price and amount finish the line: the next one starts.
    const GridCell next{cell.row + 1, ChargeEntryLine::Department};
    if (mayEdit(next))
        return next;
    return std::nullopt;
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
    if (!looksLikeCode(code)) {
        if (!m_components.drugList) {
            tellNotAvailable(notifier, QStringLiteral("The drug list"));
            return CellAnswer::RefuseAndKeep;
        }
        code = m_components.drugList->ShowList(location).trimmed();
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
    if (!drug.SearchDrug(code)) {
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
        notifier.message(drug.DrugName() + QStringLiteral(" has no stocks left. The system "
                                                          "can't process the specified item."),
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
                                                        kConfirmation, Notifier::Icon::Question);
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
                                      Notifier::Icon::Question))
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
    auto cashBasis = m_store.isCashBasis(m_session.CurrentPatient.IdNum);
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

void ChargeEntry::chooseDepartment(int index)
{
    if (index < 0 || index >= m_departments.size())
        return;
    m_departmentShown = m_departments.at(index).code;
    Q_EMIT changed();
}

void ChargeEntry::setStatPatient(bool stat)
{
    m_statPatient = stat;
    QList<ChargeLine> charges;
    for (const ChargeEntryLine &line : std::as_const(m_lines))
        charges.append(line.line);
    m_pricing.setStatPatient(charges, stat);
    for (int i = 0; i < m_lines.size(); ++i)
        m_lines[i].line = charges.at(i);
    m_grid.reload();
    Q_EMIT changed();
}

void ChargeEntry::deleteLine(int row)
{
    Notifier &notifier = m_session.notifier();
    if (row < 1 || row > m_lines.size()) {
        notifier.message(QStringLiteral("Row cannot be deleted because there are no entries yet."),
                         kNotification, Notifier::Icon::Information);
        return;
    }
    if (!m_lines.at(row - 1).packageId.trimmed().isEmpty() &&
        m_session.settings.NoPackageItemExclude()) {
        notifier.message(QStringLiteral("Sorry, you are not allowed to exclude package items."),
                         kNotification, Notifier::Icon::Information);
        return;
    }
    if (!notifier.confirm(QStringLiteral("Are you sure to delete the request?"), kConfirmation,
                          Notifier::Icon::Question))
        return;
    removeLine(row);
}

void ChargeEntry::removeLine(int row)
{
    if (row < 1 || row > m_lines.size())
        return;
    m_lines.removeAt(row - 1);
    m_grid.reload();
}

void ChargeEntry::ignoreAll()
{
    if (!m_session.notifier().confirm(QStringLiteral("Entered data will be cleared. Do you want "
                                                     "to continue?"),
                                      kConfirmation, Notifier::Icon::Question))
        return;
    m_lines.clear();
    m_grid.reload();
}

void ChargeEntry::close()
{
    if (m_session.notifier().confirm(QStringLiteral("Are you sure to leave Post Charges?"),
                                     kConfirmation, Notifier::Icon::Question))
        Q_EMIT closeRequested();
}

void ChargeEntry::viewPackages()
{
    if (!modGlobals::HasPackage(m_session, m_session.CurrentPatient.IdNum)) {
        m_session.notifier().message(QStringLiteral("Sorry, no package was tagged for this "
                                                    "patient."),
                                     kNotification, Notifier::Icon::Information);
        return;
    }
    openWindow(kPackageWindow, QStringLiteral("The OR package list"), {});
}

void ChargeEntry::save()
{
    if (!m_saving) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("Posting of charges"));
        return;
    }
    const QList<PostingLine> lines(m_lines.cbegin(), m_lines.cend());
    const PostingOutcome outcome = m_saving->save(lines, m_departmentShown);
    if (outcome.saved()) {
        m_lines.clear();
        m_grid.reload();
        loadPosted();
        Q_EMIT changed();
    } else if (outcome.quantityLine >= 0 && outcome.quantityLine < m_lines.size()) {
        Q_EMIT editRequested(GridCell{outcome.quantityLine + 1, ChargeEntryLine::Quantity});
    }
}

void ChargeEntry::refresh()
{
    loadPosted();
    Q_EMIT changed();
}

void ChargeEntry::viewRvs()
{
    if (!m_components.rvsLookup) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("The relative value scale list"));
        return;
    }
    m_components.rvsLookup->List();
}

void ChargeEntry::toggleViewAll()
{
    m_listExpanded = !m_listExpanded;
    Q_EMIT changed();
}

void ChargeEntry::revoke(int index)
{
    if (index < 0 || index >= m_posted.size())
        return;
    const PostedCharge &c = m_posted.at(index);
    openWindow(kRevokeWindow, QStringLiteral("Revoking of posted charges"),
               {{QStringLiteral("LogBookID"), c.logBookId},
                {QStringLiteral("ChargeSlip"), c.chargeSlip},
                {QStringLiteral("ItemID"), c.item},
                {QStringLiteral("PackageID"), c.packageId}});
}

void ChargeEntry::reprint(int index)
{
    if (index < 0 || index >= m_posted.size())
        return;
    if (!m_saving) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("Reprinting of charge slips"));
        return;
    }
    m_saving->reprint(m_posted.at(index).chargeSlip, m_session.CurrentPatient);
}

void ChargeEntry::showCdf()
{
    openWindow(kCdfWindow, QStringLiteral("The clinical data form"), {});
}

void ChargeEntry::loadPosted()
{
    auto posted = m_store.postedCharges(m_session.CurrentPatient.IdNum, m_session.StationID);
    if (!posted) {
        m_session.notifier().errorBox(posted.error());
        return;
    }
    m_posted = *posted;
}

void ChargeEntry::openWindow(const QString &formName, const QString &caption,
                             const QVariantMap &values)
{
    if (!m_openWindow) {
        tellNotAvailable(m_session.notifier(), caption);
        return;
    }
    WindowRequest request;
    request.command = QStringLiteral("frmCharge");
    request.caption = caption;
    request.patient = m_session.CurrentPatient;
    request.values = values;
    m_openWindow(formName, request);
}

} // namespace kestrel
