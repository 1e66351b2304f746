// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/requests/RequestEntry.h"

#include "charging/ChargeEntryStore.h"
#include "charging/modPricing.h"
#include "core/components/clsCodeLookup.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/Component.h"
#include "core/components/DrugLists.h"
#include "core/db/NumberFormat.h"
#include "core/Dialogs.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"
#include "reports/ReportService.h"

#include <algorithm>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");

} // namespace

clsDrug *findRequestedDrug(Notifier &notifier, const RequestEntry::Components &components,
                           const QString &location, const QString &typed,
                           const std::function<QString(bool fromList)> &inactive,
                           const std::function<void(const QString &)> &tell)
{
    QString code = typed.trimmed();
    if (code.isEmpty())
        return nullptr;
    const bool fromList = !looksLikeItemCode(code);
    if (fromList) {
        if (!components.drugList) {
            tellNotAvailable(notifier, QStringLiteral("The drug list"));
            return nullptr;
        }
        code = components.drugList->ShowList(location, code).trimmed();
        if (code.isEmpty())
            return nullptr;
    }
    if (!components.drugPicker) {
        tellNotAvailable(notifier, QStringLiteral("The drug picker"));
        return nullptr;
    }
    clsDrug *drug = components.drugPicker->Drug();
    drug->setLocationID(location);
    if (!drug->SearchDrug(code)) {
        tell(QStringLiteral("Code does not exist."));
        return nullptr;
    }
    if (drug->Status().trimmed().compare(u"A", Qt::CaseInsensitive) != 0) {
        tell(inactive(fromList));
        return nullptr;
    }
    return drug;
}

RequestEntry::RequestEntry(Session &session, RequestForm form, Components components,
                           QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_layout(RequestLayout::of(form))
    , m_components(components)
    , m_store(session.db())
{
}

void RequestEntry::tell(const QString &text, int icon)
{
    m_session.notifier().message(text, kNotification,
                                 icon ? Notifier::Icon::Critical : Notifier::Icon::Information);
}

bool RequestEntry::open()
{
    const QString IdNum = m_session.CurrentPatient.IdNum.trimmed();
    if (IdNum.isEmpty())
        return false;
    m_lines.clear();
    m_grid.reload();
    m_lastRequests.clear();
    m_packageNote.clear();
    QString last;
    if (m_session.settings.CheckZPDFirstPackage() &&
        modGlobals::IsZFirstPackage(m_session, IdNum, last))
        m_packageNote = QStringLiteral("Note: Patient Last Transaction: ") + last + u'\n' +
                        QStringLiteral("This patient is under PD First Package Z-Package and "
                                       "receives 3x bags per day from Philhealth.");
    // The antibiotic and handling warnings are station switches of their own.
    m_warnAntibiotic = m_session.settings.IsAntiBiotic();
    m_warnHighAlert = m_session.settings.HighAlert();
    Q_EMIT changed();
    return true;
}

QString RequestEntry::saveCaption() const
{
    return m_session.hospital.PrintPHCSRequest ? QStringLiteral("Save/&Print")
                                               : QStringLiteral("&Save");
}

QString RequestEntry::note() const
{
    return QStringLiteral("Upon hitting the SAVE button, all entered requests are sent to the ") +
           (m_layout.isPharmacy() ? QStringLiteral("Pharmacy") : QStringLiteral("Central Supply")) +
           QStringLiteral(" at once and can no longer be changed here.");
}

bool RequestEntry::mayEdit(GridCell cell) const
{
    if (cell.row < 1 || cell.row > m_lines.size() + 1)
        return false;
    const RequestField field = m_layout.field(cell.column);
    if (cell.row == m_lines.size() + 1)
        return field == RequestField::Code;
    switch (field) {
    case RequestField::Code:
    case RequestField::Quantity:
    case RequestField::Remarks:
    case RequestField::Stat:
    case RequestField::Dosage:
    case RequestField::Route:
        return true;
    case RequestField::Frequency:
        // Where the route takes the dosage's place, the frequency cell looks the dosage up.
        return m_layout.form == RequestForm::PharmacyWithRouting;
    default:
        return false;
    }
}

QString RequestEntry::prompt(int column) const
{
    const bool pharmacy = m_layout.isPharmacy();
    switch (m_layout.field(column)) {
    case RequestField::Code:
        return pharmacy ? QStringLiteral("Type Item Code or first 4 letters of Item Name then "
                                         "Press <Enter>.")
                        : QStringLiteral("Type Item Code or first four letters of Item Name "
                                         "then Press <Enter>.");
    case RequestField::Dosage:
    case RequestField::Frequency:
        return QStringLiteral("Type Dosage Code or first letters of Dosage Name then Press "
                              "<Enter>.");
    case RequestField::Route:
        return QStringLiteral("Type the Route of administration then Press <Enter>.");
    case RequestField::Quantity:
        return QStringLiteral("Type Quantity to request then Press <Enter>.");
    case RequestField::Remarks:
        return pharmacy ? QStringLiteral("Type additional remarks and then press <Enter>.")
                        : QStringLiteral("Type Addition Remarks and then Press <Enter>.");
    case RequestField::Stat:
        return QStringLiteral("Type [Y]-YES if the medicine is STAT and [N]-NO if it is Routine "
                              "and then Press <Enter>.");
    default:
        return {};
    }
}

int RequestEntry::maxLength(int column) const
{
    switch (m_layout.field(column)) {
    case RequestField::Code:
        return 30;
    case RequestField::Dosage:
    case RequestField::Frequency:
        return 20;
    case RequestField::Route:
        return 30;
    case RequestField::Quantity:
        return 5;
    case RequestField::Remarks:
        return 100;
    case RequestField::Stat:
        return 1;
    default:
        return 0;
    }
}

CellAnswer RequestEntry::acceptCell(GridCell cell, const QString &text)
{
    if (!mayEdit(cell))
        return CellAnswer::RefuseAndKeep;
    const RequestField field = m_layout.field(cell.column);
    if (field == RequestField::Code)
        return acceptItem(cell.row, text);

    RequestLine &line = m_lines[cell.row - 1];
    CellAnswer answer = CellAnswer::Accept;
    const QString typed = text.trimmed();
    switch (field) {
    case RequestField::Dosage:
    case RequestField::Frequency:
        answer = acceptDosage(line, typed);
        break;
    case RequestField::Route:
        line.route = typed.toUpper();
        break;
    case RequestField::Quantity:
        answer = acceptQuantity(line, typed);
        break;
    case RequestField::Remarks:
        line.remarks = typed;
        break;
    case RequestField::Stat:
        if (typed.compare(u"Y", Qt::CaseInsensitive) == 0 ||
            typed.compare(u"N", Qt::CaseInsensitive) == 0)
            line.stat = typed.toUpper();
        else
            answer = CellAnswer::RefuseAndEmpty;
        break;
    default:
        answer = CellAnswer::RefuseAndKeep;
        break;
    }
    m_grid.lineChanged(cell.row);
    return answer;
}

bool RequestEntry::requestedElsewhere(int row, const QString &item) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (i != row - 1 && m_lines.at(i).item.compare(item.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

CellAnswer RequestEntry::acceptItem(int row, const QString &text)
{
    Notifier &notifier = m_session.notifier();
    const HospitalSettings &hs = m_session.hospital;
    const bool pharmacy = m_layout.isPharmacy();
    const QString location = modGlobals::GetRevenueLocation(m_session, m_layout.department);

    clsDrug *found = findRequestedDrug(
        notifier, m_components, location, text,
        [pharmacy](bool) {
            return pharmacy ? QStringLiteral("Item is inactive. Please check build file of items.")
                            : QStringLiteral("Record is inactive. Please check build file of "
                                             "items.");
        },
        [this](const QString &message) { tell(message); });
    if (!found)
        return CellAnswer::RefuseAndKeep;
    clsDrug &drug = *found;
    if (pharmacy && m_session.settings.CheckPNF() &&
        !modGlobals::IsPNF(m_session, drug.DrugCode())) {
        if (m_session.settings.NoPNFByPass()) {
            tell(QStringLiteral("Item is not under PNF list."));
            return CellAnswer::RefuseAndKeep;
        }
        if (!notifier.confirm(QStringLiteral("Item is not under PNF list. Would you like to "
                                             "continue?"),
                              kConfirmation, Notifier::Icon::Question))
            return CellAnswer::RefuseAndKeep;
    }
    if (requestedElsewhere(row, drug.DrugCode())) {
        tell(pharmacy ? QStringLiteral("Can't request the same medicine! Please check previous "
                                       "requests.")
                      : QStringLiteral("Can't request the same supply."));
        return CellAnswer::RefuseAndKeep;
    }
    if (hs.AllowZeroOnHand && drug.Invent().StockOnHand <= 0) {
        tell(QStringLiteral("There is no stock left for ") + drug.DrugName() +
                 QStringLiteral(". The system can't process the specified item."),
             1);
        return CellAnswer::RefuseAndKeep;
    }

    RequestLine line;
    line.item = drug.DrugCode().trimmed();
    line.description = drug.DrugName().trimmed();
    line.stockOnHand = drug.Invent().StockOnHand;
    // Outpatients pay the outpatient price, a company's patients the price agreed with it.
    const bool outpatient = m_session.CurrentPatient.isOutpatientStay();
    line.unitPrice = outpatient ? drug.Invent().SellingPriceOut : drug.Invent().SellingPriceIn;
    if (hs.IsCompanyPrice) {
        const QString account = modPricing::GetStayAccount(
            m_session, m_session.CurrentPatient.IdNum.trimmed(), outpatient);
        if (const std::optional<Money> agreed =
                modPricing::GetCompanyPrice(m_session, line.item, account))
            line.unitPrice = *agreed;
    }
    if (m_layout.form == RequestForm::PharmacyWithRouting) {
        auto route = m_store.route(line.item);
        if (!route) {
            notifier.errorBox(route.error());
            return CellAnswer::RefuseAndKeep;
        }
        line.route = *route;
    }
    // A line whose item is replaced keeps what was typed for it, but not its quantity's check.
    if (row <= m_lines.size()) {
        const RequestLine &old = m_lines.at(row - 1);
        line.remarks = old.remarks;
        line.stat = old.stat;
        m_lines[row - 1] = line;
        m_grid.lineChanged(row);
    } else {
        m_lines.append(line);
        m_grid.reload();
    }
    if (pharmacy)
        warnAbout(line.item);
    return CellAnswer::Accept;
}

void RequestEntry::warnAbout(const QString &item)
{
    Notifier &notifier = m_session.notifier();
    if (m_warnAntibiotic) {
        auto antibiotic = m_store.antibioticClass(item);
        if (!antibiotic)
            notifier.errorBox(antibiotic.error());
        else if (!antibiotic->isEmpty())
            tell(QStringLiteral("  . The Drug you are requesting is  ") + *antibiotic +
                 QStringLiteral(" ANTIBIOTIC"));
    }
    if (m_warnHighAlert) {
        auto flags = m_store.handlingFlags(item);
        if (!flags) {
            notifier.errorBox(flags.error());
            return;
        }
        const auto [highAlert, cold] = *flags;
        if (highAlert && cold)
            tell(QStringLiteral("ITEM IS TAGGED AS HIGH ALERT AND REFRIGERATED!"));
        else if (highAlert)
            tell(QStringLiteral("ITEM IS TAGGED AS HIGH ALERT!"));
        else if (cold)
            tell(QStringLiteral("ITEM IS TAGGED AS REFRIGERATED!"));
    }
}

CellAnswer RequestEntry::acceptDosage(RequestLine &line, const QString &text)
{
    clsCodeLookup *lookup = m_components.codeLookup;
    if (!lookup) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("The code list"));
        return CellAnswer::RefuseAndKeep;
    }
    if (text.isEmpty() && !m_layout.isPharmacy()) {
        line.dosage.clear();
        line.frequency.clear();
        return CellAnswer::Accept;
    }
    const bool found = lookup->SearchListing(clsCodeLookup::Dosages, text);
    const DosageRecord dosage = lookup->DosageRecord();
    if (!found || dosage.ResultCode.trimmed().isEmpty()) {
        tell(QStringLiteral("Dosage code does not exist."));
        return CellAnswer::RefuseAndEmpty;
    }
    line.dosage = dosage.ResultCode.trimmed();
    line.frequency = dosage.Frequency.trimmed();
    return CellAnswer::Accept;
}

CellAnswer RequestEntry::acceptQuantity(RequestLine &line, const QString &text)
{
    bool number = false;
    const double quantity = text.toDouble(&number);
    if (!number || !(quantity > 0)) {
        tell(QStringLiteral("Quantity should be greater than zero(0)."));
        return CellAnswer::RefuseAndEmpty;
    }
    if (!modGlobals::IsWholeQuantity(m_session, text)) {
        tell(QStringLiteral("You are only allowed to enter whole number for quantity."));
        return CellAnswer::RefuseAndEmpty;
    }
    if (quantity > kMaxQuantity) {
        tell(QStringLiteral("Quantity should not be more than %1.").arg(kMaxQuantity));
        return CellAnswer::RefuseAndEmpty;
    }
    if (m_session.hospital.AllowZeroOnHand && quantity > line.stockOnHand) {
        tell(QStringLiteral("Stock is not enough for the quantity entered. Remaining stock is: ") +
             numberText(line.stockOnHand));
        return CellAnswer::RefuseAndEmpty;
    }
    line.quantity = numberText(quantity);
    return CellAnswer::Accept;
}

bool RequestEntry::mayBeSent()
{
    Notifier &notifier = m_session.notifier();
    const QString IdNum = m_session.CurrentPatient.IdNum.trimmed();
    const bool pharmacy = m_layout.isPharmacy();
    if (modGlobals::IsClearedByDepartment(m_session, IdNum, m_layout.department)) {
        tell(QStringLiteral("Patient is already cleared by ") +
             (pharmacy ? QStringLiteral("(Pharmacy Department). ")
                       : QStringLiteral("(Central Supply Department). ")) +
             QStringLiteral("If you have requests to make, notify the Billing staff") +
             QStringLiteral(" immediately for further instructions."));
        return false;
    }
    if (m_session.hospital.NoRequestingAfterFinalNotice) {
        auto sent = m_store.finalNoticeSent(IdNum);
        if (!sent) {
            notifier.errorBox(sent.error());
            return false;
        }
        if (*sent) {
            tell(QStringLiteral("Final discharge order was already sent for ") +
                     m_session.CurrentPatient.PatientName.trimmed() + QStringLiteral(".") +
                     u'\n' +
                     QStringLiteral("You have to revoke the discharge order to send additional "
                                    "requests."),
                 1);
            return false;
        }
    }
    if (m_lines.isEmpty()) {
        tell(pharmacy ? QStringLiteral("Please enter medicines to request.")
                      : QStringLiteral("Please enter supplies to request."));
        return false;
    }
    if (pharmacy) {
        for (const RequestLine &line : std::as_const(m_lines)) {
            if (line.dosage.isEmpty()) {
                tell(QStringLiteral("Please provide dosage for ") + line.description);
                return false;
            }
        }
    }
    for (const RequestLine &line : std::as_const(m_lines)) {
        if (line.quantity.isEmpty()) {
            tell(QStringLiteral("Please enter quantity to request for ") + line.description);
            return false;
        }
    }
    return true;
}

bool RequestEntry::save()
{
    if (!mayBeSent())
        return false;
    Notifier &notifier = m_session.notifier();
    const bool pharmacy = m_layout.isPharmacy();
    const QString notSaved = QStringLiteral("Entered request(s) will not be saved! ");
    if (!notifier.confirm(pharmacy ? QStringLiteral("Do you want to save and send the "
                                                    "request(s)?")
                                   : QStringLiteral("Do you want to save the request(s)?"),
                          kConfirmation, Notifier::Icon::Question)) {
        tell(notSaved);
        return false;
    }
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    RequestBatch batch;
    batch.form = m_layout.form;
    batch.department = m_layout.department;
    batch.IdNum = stay.IdNum.trimmed();
    batch.patientClass = stay.isOutpatientStay() ? QStringLiteral("O") : QStringLiteral("I");
    batch.station = m_session.StationID;
    batch.user = m_session.employeeCode();
    // Central supply asks who sends the supplies.
    if (!pharmacy) {
        const ValidatedUser signer = m_session.dialogs().validateUser();
        if (!signer.isValid()) {
            tell(QStringLiteral("You entered invalid user information. Entered request(s) will "
                                "not be saved! "));
            return false;
        }
        batch.user = signer.code;
    }
    auto doctor = m_store.attendingDoctor(batch.IdNum);
    auto cashBasis = ChargeEntryStore(m_session.db()).isCashBasis(batch.IdNum);
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    if (!doctor || !cashBasis || !now.isValid()) {
        notifier.errorBox(!doctor      ? doctor.error()
                          : !cashBasis ? cashBasis.error()
                                       : Error::make(QStringLiteral("The server's clock could "
                                                                    "not be read.")));
        return false;
    }
    batch.doctor = *doctor;
    batch.cashBasis = *cashBasis;
    batch.now = now;

    auto saved = m_store.save(batch, m_lines);
    if (!saved) {
        notifier.errorBox(saved.error());
        return false;
    }
    m_lastRequests = *saved;
    if (pharmacy) {
        auto waiting = m_store.copyToMedicineList(batch.IdNum);
        if (!waiting)
            notifier.errorBox(waiting.error());
        else if (*waiting > 0)
            tell(QStringLiteral("Please check list of medicines for this patient.") + u'\n' +
                 QStringLiteral("Please administer previously requested medicines before "
                                "requesting again. "));
    }
    if (m_session.hospital.PrintPHCSRequest)
        print(batch);
    m_lines.clear();
    m_grid.reload();
    Q_EMIT changed();
    return true;
}

void RequestEntry::print(const RequestBatch &batch)
{
    if (!m_reports || m_lastRequests.isEmpty())
        return;
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    const QVariantList values{batch.IdNum,
                              batch.department,
                              m_lastRequests.constFirst(),
                              m_lastRequests.constLast(),
                              stay.PatientName.trimmed(),
                              stay.RoomID.trimmed(),
                              batch.user,
                              QStringLiteral("ORIGINAL COPY")};
    if (m_reports->OpenReport(QStringLiteral("PHCSRequest.RPT"), values))
        m_reports->ShowReport(false, QStringLiteral("PHARMACY REQUEST FORM"));
}

void RequestEntry::deleteLine(int row)
{
    if (m_lines.isEmpty()) {
        tell(QStringLiteral("Row cannot be deleted because there are no entries yet."));
        return;
    }
    if (row < 1 || row > m_lines.size())
        return;
    if (!m_session.notifier().confirm(QStringLiteral("Are you sure to delete the request?"),
                                      kConfirmation, Notifier::Icon::Question))
        return;
    m_lines.removeAt(row - 1);
    m_grid.reload();
    Q_EMIT changed();
}

void RequestEntry::close()
{
    Q_EMIT closeRequested();
}

} // namespace kestrel
