// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "assessment/AssessmentEntry.h"

#include "charging/modPricing.h"
#include "core/db/NumberFormat.h"
#include "examrequests/ExamRequestStore.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

#include <QLocale>

#include <algorithm>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

AssessmentEntry::AssessmentEntry(Session &session, AssessmentKind kind,
                                 ChargeEntry::Components components, ChargeEntryPrompts &prompts,
                                 PricingPrompts &pricingPrompts, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_entry(session, components, prompts, pricingPrompts)
    , m_saving(session, kind)
{
    m_entry.setSaving(&m_saving);
    connect(&m_entry, &ChargeEntry::changed, this, &AssessmentEntry::changed);
    connect(&m_entry, &ChargeEntry::editRequested, this, &AssessmentEntry::editRequested);
}

QString AssessmentEntry::formName(AssessmentKind kind)
{
    switch (kind) {
    case AssessmentKind::Cash:
        return QStringLiteral("frmCashAssessment");
    case AssessmentKind::Clinical:
        return QStringLiteral("frmAssessmentClinical");
    case AssessmentKind::WalkIn:
        break;
    }
    return QStringLiteral("frmAssessmentEntry");
}

QString AssessmentEntry::caption(AssessmentKind kind)
{
    return kind == AssessmentKind::Clinical
               ? QStringLiteral("Assessment Entry For Clinical Department")
               : QStringLiteral("Assessment Entry");
}

bool AssessmentEntry::open(const WindowRequest &request)
{
    // The main menu names the walk-in window for what it is; the patient windows keep theirs.
    m_caption = kind() == AssessmentKind::WalkIn && !request.caption.trimmed().isEmpty()
                    ? request.caption
                    : caption(kind());
    m_codes.clear();
    for (const Row &row : request.rows)
        m_codes.append({row.trimmed(u"RevenueID"), row.trimmed(u"ItemName")});
    AssessmentPatient patient;
    CurrentPatientRecord stay;
    if (kind() != AssessmentKind::WalkIn) {
        stay = request.patient.isSelected() ? request.patient : m_session.CurrentPatient;
        if (!stay.isSelected()) {
            m_session.notifier().message(QStringLiteral("Please select patient."),
                                         QStringLiteral("Notification"),
                                         Notifier::Icon::Information);
            return false;
        }
        patient = {stay.IdNum.trimmed(), stay.HospNum.trimmed(), stay.PatientName.trimmed(),
                   stay.RoomID.trimmed(), stay.AttendingDoctor.trimmed()};
    }
    if (!m_entry.openEntry(stay))
        return false;
    m_saving.setPatient(patient);
    m_details.clear();
    m_rateLetter = m_session.settings.ClinicalAssessmentRate().trimmed().toUpper();
    if (kind() == AssessmentKind::Clinical &&
        m_session.settings.ClinicalAssessmentRateByAccomodation() && !patient.room.isEmpty()) {
        const QString roomClass =
            modGlobals::GetRoomClassification(m_session, patient.room).trimmed().toUpper();
        if (!roomClass.isEmpty())
            m_rateLetter = roomClass;
    }
    if (m_rateLetter.isEmpty())
        m_rateLetter = QStringLiteral("A");
    m_erOpd = false;
    m_saving.setErOpd(false);
    m_lastSaved.clear();
    loadList();
    Q_EMIT changed();
    return true;
}

Money AssessmentEntry::total() const
{
    Money sum;
    for (const ChargeEntryLine &line : m_entry.lines()) {
        if (line.hasCode())
            sum += line.line.amountValue();
    }
    return sum;
}

QString AssessmentEntry::totalText() const
{
    return QStringLiteral("Total Amount: Php ") + formatNumber(total(), kFormatGross);
}

QStringList AssessmentEntry::listHeaders()
{
    return {QStringLiteral("Assessment #"), QStringLiteral("Patient Name"),
            QStringLiteral("Date / Time"), QStringLiteral("Amount"), QStringLiteral("Status")};
}

QStringList AssessmentEntry::listRow(const AssessmentSummary &a)
{
    return {a.number, a.patientName,
            QLocale::c().toString(a.when, QStringLiteral("MM/dd/yyyy hh:mm AP")),
            formatNumber(a.amount, kFormatGross), a.status};
}

CellAnswer AssessmentEntry::acceptCell(GridCell cell, const QString &text)
{
    CellAnswer answer;
    const QList<ChargeEntryLine> &lines = m_entry.lines();
    const QString department =
        cell.column == ChargeEntryLine::Department
            ? text.trimmed().toUpper()
            : (cell.row >= 1 && cell.row <= lines.size()
                   ? lines.at(cell.row - 1).line.department.trimmed()
                   : QString());
    const bool examCell = cell.column == ChargeEntryLine::Department ||
                          cell.column == ChargeEntryLine::Item ||
                          cell.column == ChargeEntryLine::Quantity;
    if (kind() == AssessmentKind::Clinical && examCell && isExamDepartment(department) &&
        m_entry.mayEdit(cell))
        answer = acceptExamCell(cell, text);
    else
        answer = m_entry.acceptCell(cell, text);
    Q_EMIT changed();
    return answer;
}

bool AssessmentEntry::isExamDepartment(const QString &department)
{
    static constexpr QStringView departments[] = {u"LB", u"XR", u"US", u"CT",
                                                  u"HS", u"NU", u"PT", u"PA"};
    const QString code = department.trimmed().toUpper();
    return std::find(std::begin(departments), std::end(departments), code) !=
           std::end(departments);
}

CellAnswer AssessmentEntry::acceptExamCell(GridCell cell, const QString &text)
{
    if (cell.column == ChargeEntryLine::Item)
        return acceptExam(cell.row, text);
    if (cell.column == ChargeEntryLine::Quantity)
        return acceptExamQuantity(cell.row, text);
    // A new line, or another department for a line: the line starts again empty.
    ChargeEntryLine line;
    const bool existing = cell.row <= m_entry.lines().size();
    if (existing) {
        line = m_entry.lines().at(cell.row - 1);
        if (line.line.department.trimmed() == text.trimmed().toUpper())
            return CellAnswer::Accept;
        m_details.remove(line.line.item.trimmed());
        line = ChargeEntryLine();
    }
    line.line.department = text.trimmed().toUpper();
    m_entry.setLine(cell.row, line);
    return CellAnswer::Accept;
}

CellAnswer AssessmentEntry::acceptExam(int row, const QString &text)
{
    Notifier &notifier = m_session.notifier();
    ChargeEntryLine line = m_entry.lines().at(row - 1);
    const QString department = line.line.department.trimmed();
    const QString code = text.trimmed().toUpper();
    auto exam = ExamRequestStore(m_session.db()).exam(department, code);
    if (!exam) {
        notifier.errorBox(exam.error());
        return CellAnswer::RefuseAndKeep;
    }
    if (!*exam) {
        notifier.message(QStringLiteral("Exam code does not exist. Please refer to the list of "
                                        "examinations."),
                         kNotification, Notifier::Icon::Information);
        return CellAnswer::RefuseAndEmpty;
    }
    const QList<ChargeEntryLine> &lines = m_entry.lines();
    for (int i = 0; i < lines.size(); ++i) {
        if (i != row - 1 && lines.at(i).line.department.trimmed() == department &&
            lines.at(i).line.item.trimmed() == (*exam)->code) {
            notifier.message(QStringLiteral("Can't charge the same exam."), kNotification,
                             Notifier::Icon::Information);
            return CellAnswer::RefuseAndKeep;
        }
    }
    const Money price = (*exam)->rate(m_rateLetter);
    if (price <= Money()) {
        notifier.message(QStringLiteral("Record(s) indicate that the amount of the item is "
                                        "zero(0)! "),
                         kNotification, Notifier::Icon::Information);
        return CellAnswer::RefuseAndEmpty;
    }
    AssessmentLineDetail detail;
    if (department == u"XR")
        detail.portable = notifier.confirm(QStringLiteral("Use Portable Machine?"),
                                           QStringLiteral("Confirmation"),
                                           Notifier::Icon::Question);
    m_details.remove(line.line.item.trimmed());
    line.line.item = (*exam)->code;
    line.line.description = (*exam)->description;
    line.line.quantity = QStringLiteral("1");
    line.line.setUnitPrice(price);
    line.line.listPrice = line.line.unitPrice;
    line.line.setAmount(price);
    m_details.insert(line.line.item, detail);
    m_entry.setLine(row, line);
    return CellAnswer::Accept;
}

CellAnswer AssessmentEntry::acceptExamQuantity(int row, const QString &text)
{
    ChargeEntryLine line = m_entry.lines().at(row - 1);
    const QString department = line.line.department.trimmed();
    bool number = false;
    const double quantity = text.trimmed().toDouble(&number);
    // The laboratory, X-ray and ultrasound set how many of an exam one line may assess.
    const bool limited = department == u"LB" || department == u"XR" || department == u"US";
    const int most = limited ? modPricing::GetMaxQty(m_session, line.line.item, department) : 0;
    if (!number || quantity <= 0 || (limited && quantity > most)) {
        m_session.notifier().message(
            limited ? QStringLiteral("Quantity should be > 0 and <= ") + QString::number(most)
                    : QStringLiteral("Quantity should be > 0"),
            kNotification, Notifier::Icon::Information);
        return CellAnswer::RefuseAndKeep;
    }
    line.line.quantity = numberText(quantity);
    line.line.setAmount(line.line.extended());
    m_entry.setLine(row, line);
    return CellAnswer::Accept;
}

AssessmentLineDetail AssessmentEntry::detail(int row) const
{
    const QList<ChargeEntryLine> &lines = m_entry.lines();
    if (row < 1 || row > lines.size())
        return {};
    return m_details.value(lines.at(row - 1).line.item.trimmed());
}

void AssessmentEntry::setDetail(int row, const AssessmentLineDetail &detail)
{
    const QList<ChargeEntryLine> &lines = m_entry.lines();
    if (row < 1 || row > lines.size() || !lines.at(row - 1).hasCode())
        return;
    m_details.insert(lines.at(row - 1).line.item.trimmed(), detail);
    Q_EMIT changed();
}

QString AssessmentEntry::prompt(int column) const
{
    if (kind() != AssessmentKind::WalkIn)
        return m_entry.prompt(column);
    switch (column) {
    case ChargeEntryLine::Department:
        return QStringLiteral("Type the Department Code.(See Department Codes for the list)");
    case ChargeEntryLine::Item:
        return QStringLiteral("Type the Service Code or First letters of Service Name then Press "
                              "the <Enter> Key.");
    case ChargeEntryLine::Quantity:
        return QStringLiteral("Type quantity to charge.");
    case ChargeEntryLine::Amount:
        return QStringLiteral("Type the total amount to charge.");
    default:
        return m_entry.prompt(column);
    }
}

void AssessmentEntry::setPatientName(const QString &name)
{
    if (kind() != AssessmentKind::WalkIn)
        return;
    AssessmentPatient patient = m_saving.patient();
    patient.name = name;
    m_saving.setPatient(patient);
}

void AssessmentEntry::setErOpd(bool erOpd)
{
    m_erOpd = erOpd;
    m_saving.setErOpd(erOpd);
}

void AssessmentEntry::save()
{
    const QString before = m_saving.lastNumber();
    QList<AssessmentLineDetail> details;
    for (const ChargeEntryLine &line : m_entry.lines())
        details.append(m_details.value(line.line.item.trimmed()));
    m_saving.setDetails(details);
    m_entry.save();
    // A save that landed emptied the grid: the list shows the new assessment, and a walk-in
    // window is ready for the next walk-in.
    if (m_saving.lastNumber() != before) {
        m_lastSaved = m_saving.lastNumber();
        m_details.clear();
        if (kind() == AssessmentKind::WalkIn)
            setPatientName(QString());
        loadList();
    }
    Q_EMIT changed();
}

void AssessmentEntry::revoke(int index)
{
    if (index < 0 || index >= m_assessments.size())
        return;
    const QString number = m_assessments.at(index).number;
    m_saving.revoke(number);
    // Revoked here, or found revoked or processed meanwhile: the list shows it as it stands.
    loadList();
    Q_EMIT changed();
}

void AssessmentEntry::reprint(int index)
{
    if (index < 0 || index >= m_assessments.size())
        return;
    m_saving.reprint(m_assessments.at(index).number, m_session.CurrentPatient);
}

void AssessmentEntry::refresh()
{
    loadList();
    Q_EMIT changed();
}

void AssessmentEntry::loadList()
{
    const QDateTime now = m_session.db().serverNow();
    auto list = AssessmentStore(m_session.db())
                    .list(kind(), m_session.StationID, m_saving.patient().IdNum,
                          now.isValid() ? now.date() : m_session.ServerDate);
    if (!list) {
        m_session.notifier().errorBox(list.error());
        return;
    }
    m_assessments = *list;
}

} // namespace kestrel
