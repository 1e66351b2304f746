// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/requests/Transcription.h"

#include "charging/ChargeEntryStore.h"
#include "core/components/clsCodeLookup.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/Component.h"
#include "core/components/DrugLists.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

#include <QLocale>

#include <algorithm>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

int yearsOld(const QDate &born, const QDate &today)
{
    if (!born.isValid() || !today.isValid() || born > today)
        return -1;
    int years = today.year() - born.year();
    if (today.month() < born.month() || (today.month() == born.month() && today.day() < born.day()))
        --years;
    return years;
}

} // namespace

TranscriptionGrid::TranscriptionGrid(const QList<RequestLine> &lines, QObject *parent)
    : QAbstractTableModel(parent)
    , m_lines(lines)
{
}

int TranscriptionGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size()) + 1;
}

int TranscriptionGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant TranscriptionGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumns)
        return {};
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == Quantity || index.column() == Amount;
        return QVariant(int(Qt::AlignVCenter) | int(number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole || index.row() >= m_lines.size())
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
    const RequestLine &l = m_lines.at(index.row());
    switch (index.column()) {
    case Number:
        return QString::number(index.row() + 1);
    case Code:
        return l.text(RequestField::Code);
    case Description:
        return l.text(RequestField::Description);
    case Dosage:
        return l.text(RequestField::Dosage);
    case Quantity:
        return l.text(RequestField::Quantity);
    case Amount:
        return l.text(RequestField::Amount);
    case Remarks:
        return l.text(RequestField::Remarks);
    case Frequency:
        return l.text(RequestField::Frequency);
    default:
        return {};
    }
}

QVariant TranscriptionGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    // The hospital's header: "<# |<Code |<Item Description    |<Dosage |<Quantity|<Amount
    // |<Remarks    ", and the hidden frequency.
    static const QStringList captions{
        QStringLiteral("#"),       QStringLiteral("Code"),     QStringLiteral("Item Description"),
        QStringLiteral("Dosage"),  QStringLiteral("Quantity"), QStringLiteral("Amount"),
        QStringLiteral("Remarks"), QStringLiteral("Freq.")};
    return section >= 0 && section < captions.size() ? QVariant(captions.at(section)) : QVariant();
}

void TranscriptionGrid::reload()
{
    beginResetModel();
    endResetModel();
}

void TranscriptionGrid::lineChanged(int row)
{
    Q_EMIT dataChanged(index(row - 1, 0), index(row - 1, kColumns - 1));
}

Transcription::Transcription(Session &session, RequestEntry::Components components, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_components(components)
    , m_store(session.db())
{
}

void Transcription::tell(const QString &text, Notifier::Icon icon)
{
    m_session.notifier().message(text, kNotification, icon);
}

bool Transcription::open()
{
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    if (!stay.isSelected())
        return false;
    auto read = ChargeEntryStore(m_session.db()).header(stay);
    auto orders = m_store.doctorOrders(stay.IdNum);
    if (!read || !orders) {
        m_session.notifier().errorBox(!read ? read.error() : orders.error());
        return false;
    }
    m_header = TranscriptionHeader();
    m_header.idNum = stay.IdNum.trimmed();
    m_header.hospNum = stay.HospNum.trimmed();
    m_header.account = stay.AccountNumber.trimmed();
    if (*read) {
        const ChargePatientHeader &h = **read;
        const QLocale c = QLocale::c();
        m_header.patient = h.patientName;
        m_header.room = stay.isOutpatientStay() ? QStringLiteral("OPD") : h.room;
        m_header.admitted = c.toString(h.admitted, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
        m_header.diagnosis = h.diagnosis;
        m_header.admittingDoctor = h.admittingDoctor;
        m_header.attendingDoctor = h.attendingDoctor1;
        m_header.status = h.status;
        const int age = yearsOld(h.birthDate, m_session.db().serverNow().date().isValid()
                                                  ? m_session.db().serverNow().date()
                                                  : QDate::currentDate());
        m_header.age = age >= 0 ? QString::number(age) : QString();
        m_header.sex = h.sex;
    }
    m_orders = *orders;
    m_assessment.clear();
    m_lines.clear();
    m_grid.reload();
    Q_EMIT changed();
    return true;
}

bool Transcription::mayEdit(GridCell cell) const
{
    if (cell.row < 1 || cell.row > m_lines.size() + 1)
        return false;
    if (cell.row == m_lines.size() + 1)
        return cell.column == TranscriptionGrid::Code;
    switch (cell.column) {
    case TranscriptionGrid::Code:
    case TranscriptionGrid::Dosage:
    case TranscriptionGrid::Quantity:
    case TranscriptionGrid::Remarks:
        return true;
    default:
        return false;
    }
}

QString Transcription::prompt(int column) const
{
    switch (column) {
    case TranscriptionGrid::Code:
        return QStringLiteral("Type Item Code or first 4 letters of Item Name then Press "
                              "<Enter>.");
    case TranscriptionGrid::Dosage:
        return QStringLiteral("Type Dosage Code or first letters of Dosage Name then Press "
                              "<Enter>.");
    case TranscriptionGrid::Quantity:
        return QStringLiteral("Type Quantity to request then Press <Enter>.");
    case TranscriptionGrid::Remarks:
        return QStringLiteral("Type Addition Remarks and then Press <Enter>.");
    default:
        return {};
    }
}

int Transcription::maxLength(int column) const
{
    switch (column) {
    case TranscriptionGrid::Code:
        return 30;
    case TranscriptionGrid::Dosage:
        return 20;
    case TranscriptionGrid::Quantity:
        return 5;
    case TranscriptionGrid::Remarks:
        return 100;
    default:
        return 0;
    }
}

CellAnswer Transcription::acceptCell(GridCell cell, const QString &text)
{
    if (!mayEdit(cell))
        return CellAnswer::RefuseAndKeep;
    if (cell.column == TranscriptionGrid::Code)
        return acceptItem(cell.row, text);
    RequestLine &line = m_lines[cell.row - 1];
    const QString typed = text.trimmed();
    CellAnswer answer = CellAnswer::Accept;
    if (cell.column == TranscriptionGrid::Dosage)
        answer = acceptDosage(line, typed);
    else if (cell.column == TranscriptionGrid::Quantity)
        answer = acceptQuantity(line, typed);
    else
        line.remarks = typed;
    m_grid.lineChanged(cell.row);
    return answer;
}

CellAnswer Transcription::acceptItem(int row, const QString &text)
{
    Notifier &notifier = m_session.notifier();
    if (text.trimmed().isEmpty())
        return CellAnswer::RefuseAndKeep;
    const QString location = modGlobals::GetRevenueLocation(m_session, QStringLiteral("PH"));
    clsDrug *found = findRequestedDrug(
        notifier, m_components, location, text,
        [](bool fromList) {
            return fromList ? QStringLiteral("Record is inactive. Please check build file of items.")
                            : QStringLiteral("Record is inactive. Please check build of items.");
        },
        [this](const QString &message) { tell(message); });
    if (!found)
        return CellAnswer::RefuseAndKeep;
    clsDrug &drug = *found;
    const QString item = drug.DrugCode().trimmed();
    for (int i = 0; i < m_lines.size(); ++i) {
        if (i != row - 1 && m_lines.at(i).item.compare(item, Qt::CaseInsensitive) == 0) {
            tell(QStringLiteral("Can't request the same medicine."));
            return CellAnswer::RefuseAndKeep;
        }
    }
    RequestLine line;
    line.item = item;
    line.description = drug.DrugName().trimmed();
    line.unitPrice = drug.Invent().SellingPriceIn;
    if (row <= m_lines.size()) {
        // Another medicine on a line keeps the remarks typed for it, not its dosage or quantity.
        line.remarks = m_lines.at(row - 1).remarks;
        m_lines[row - 1] = line;
        m_grid.lineChanged(row);
    } else {
        m_lines.append(line);
        m_grid.reload();
    }
    Q_EMIT changed();
    return CellAnswer::Accept;
}

CellAnswer Transcription::acceptDosage(RequestLine &line, const QString &text)
{
    if (text.compare(u"PRN", Qt::CaseInsensitive) == 0) {
        line.dosage = line.frequency = QStringLiteral("PRN");
        return CellAnswer::Accept;
    }
    clsCodeLookup *lookup = m_components.codeLookup;
    if (!lookup) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("The code list"));
        return CellAnswer::RefuseAndKeep;
    }
    const bool found = !text.isEmpty() && lookup->SearchListing(clsCodeLookup::Dosages, text);
    const DosageRecord dosage = lookup->DosageRecord();
    if (!found || dosage.ResultCode.trimmed().isEmpty()) {
        tell(QStringLiteral("Dosage code does not exist."));
        return CellAnswer::RefuseAndEmpty;
    }
    line.dosage = dosage.ResultCode.trimmed();
    line.frequency = dosage.Frequency.trimmed();
    return CellAnswer::Accept;
}

CellAnswer Transcription::acceptQuantity(RequestLine &line, const QString &text)
{
    bool number = false;
    const double quantity = text.toDouble(&number);
    if (!number || !(quantity > 0)) {
        tell(QStringLiteral("Quantity should be greater than zero(0)."));
        return CellAnswer::RefuseAndEmpty;
    }
    if (quantity > RequestEntry::kMaxQuantity) {
        tell(
            QStringLiteral("Quantity should not be more than %1.").arg(RequestEntry::kMaxQuantity));
        return CellAnswer::RefuseAndEmpty;
    }
    line.quantity = QString::number(quantity);
    return CellAnswer::Accept;
}

bool Transcription::mayBeSaved()
{
    if (m_lines.isEmpty()) {
        tell(QStringLiteral("Please enter the medicines of the doctor's orders to transcribe."));
        return false;
    }
    for (const RequestLine &line : std::as_const(m_lines)) {
        if (line.dosage.isEmpty()) {
            tell(QStringLiteral("Please provide dosage for ") + line.description);
            return false;
        }
        if (line.quantity.isEmpty()) {
            tell(QStringLiteral("Please enter quantity to request for ") + line.description);
            return false;
        }
    }
    return true;
}

bool Transcription::save()
{
    if (!mayBeSaved())
        return false;
    Notifier &notifier = m_session.notifier();
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    TranscriptionBatch batch;
    batch.hospNum = m_header.hospNum;
    batch.IdNum = m_header.idNum;
    batch.patientClass = stay.isOutpatientStay() ? QStringLiteral("O") : QStringLiteral("I");
    batch.user = m_session.employeeCode();
    batch.station = m_session.StationID;
    batch.room = m_header.room;
    auto doctor = RequestStore(m_session.db()).attendingDoctor(batch.IdNum);
    batch.now = modGlobals::LoadServerDate(m_session);
    if (!doctor || !batch.now.isValid()) {
        notifier.errorBox(!doctor ? doctor.error()
                                  : Error::make(QStringLiteral("The server's clock could not be "
                                                               "read.")));
        return false;
    }
    batch.doctor = *doctor;
    auto saved = m_store.save(batch, m_lines);
    if (!saved) {
        notifier.errorBox(saved.error());
        return false;
    }
    m_assessment = *saved;
    m_lines.clear();
    m_grid.reload();
    Q_EMIT changed();
    tell(QStringLiteral("Transcription successfully saved."));
    return true;
}

void Transcription::deleteLine(int row)
{
    if (m_lines.isEmpty()) {
        tell(QStringLiteral("Row cannot be deleted because there are no entries yet."));
        return;
    }
    if (row < 1 || row > m_lines.size())
        return;
    if (!m_session.notifier().confirm(QStringLiteral("Are you sure to delete the request?"),
                                      QStringLiteral("Confirmation"), Notifier::Icon::Question))
        return;
    m_lines.removeAt(row - 1);
    m_grid.reload();
    Q_EMIT changed();
}

void Transcription::listTranscriptions()
{
    if (!m_openWindow)
        return;
    WindowRequest request;
    request.command = QStringLiteral("frmTranscription");
    request.caption = QStringLiteral("Transcription Status");
    request.patient = m_session.CurrentPatient;
    request.values = {{QStringLiteral("IdNum"), m_session.CurrentPatient.IdNum.trimmed()}};
    m_openWindow(QStringLiteral("frmTranscriptionStatus"), request);
}

} // namespace kestrel
