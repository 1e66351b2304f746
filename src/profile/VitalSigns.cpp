// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/VitalSigns.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QRegularExpression>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kTimeFormat = QStringLiteral("MM/dd/yyyy hh:mm:ss AP");

// Grid columns after "Encoder" that carry the record without showing it.
constexpr int kFirstHidden = 7;
constexpr int kLastHidden = 10;

// The number a reading begins with, as the old entry screens read typed text: "120/" is 120,
// "abc" is 0.
double leadingNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?\\d*\\.?\\d*"));
    return number.match(text).captured(0).trimmed().toDouble();
}

bool isNumber(const QString &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

// Readings a thermometer, an oximeter or a count cannot give: our own guard against a slip of
// the finger, after the hospital's checks.
struct Plausible
{
    QString VitalSignReading::*field;
    VitalSigns::Field focus;
    const char *name;
    double low, high;
};

const Plausible kPlausible[] = {
    {&VitalSignReading::temperature, VitalSigns::Field::Temperature, "Temperature", 25, 45},
    {&VitalSignReading::pulseRate, VitalSigns::Field::PulseRate, "Pulse Rate", 0, 300},
    {&VitalSignReading::respiratoryRate, VitalSigns::Field::RespiratoryRate, "Respiratory Rate",
     0, 100},
    {&VitalSignReading::o2Sat, VitalSigns::Field::O2Sat, "Oxygen Saturation", 0, 100},
};

} // namespace

VitalSigns::VitalSigns(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_store(session.db())
{
}

QStringList VitalSigns::protocols()
{
    return {QStringLiteral("Once Every Shift"), QStringLiteral("Every Hour"),
            QStringLiteral("Every 2 hours"),    QStringLiteral("Every 4 hours"),
            QStringLiteral("Every 15 minutes"), QStringLiteral("Every 30 minutes")};
}

QStringList VitalSigns::columnHeaders()
{
    return {QStringLiteral("Date / Time"), QStringLiteral("BP"),       QStringLiteral("Temp."),
            QStringLiteral("R.R"),         QStringLiteral("P.R"),      QStringLiteral("O.S."),
            QStringLiteral("Encoder"),     QStringLiteral("ItemID"),   QStringLiteral("Protocol"),
            QStringLiteral("Remarks"),     QStringLiteral("Remarks2"), QStringLiteral("ScheduleTime"),
            QStringLiteral("Transaction Number")};
}

bool VitalSigns::isColumnHidden(int column)
{
    return column >= kFirstHidden && column <= kLastHidden;
}

bool VitalSigns::load(const QString &idNum)
{
    m_idNum = idNum.trimmed();
    auto rows = m_store.vitalSigns(m_idNum);
    const bool ok = rows.has_value();
    if (ok) {
        m_readings = std::move(*rows);
    } else {
        m_readings.clear();
        m_session.notifier().errorBox(rows.error());
    }
    Q_EMIT listChanged();
    return ok;
}

QString VitalSigns::cell(int row, int column) const
{
    if (row < 0 || row >= m_readings.size())
        return {};
    const VitalSignRecord &r = m_readings.at(row);
    switch (column) {
    case 0: return r.takenAt.toString(kTimeFormat);
    case 1: return r.bloodPressure;
    case 2: return r.temperature;
    case 3: return r.respiratoryRate;
    case 4: return r.pulseRate;
    case 5: return r.o2Sat;
    case 6: return r.encoder;
    case 7: return r.itemId;
    case 8: return r.protocol;
    case 9: return r.remarks;
    case 10: return r.remarks2;
    case 11: return r.scheduleTime.toString(kTimeFormat);
    case 12: return QString::number(r.transNum);
    default: return {};
    }
}

void VitalSigns::setEntry(const VitalSignReading &reading)
{
    m_entry = reading;
    Q_EMIT entryChanged();
}

std::pair<QString, VitalSigns::Field> VitalSigns::check() const
{
    const bool incomplete = m_session.hospital.VSAllowINC;
    const VitalSignReading &e = m_entry;
    const auto blank = [](const QString &s) { return s.trimmed().isEmpty(); };
    if (!incomplete) {
        if (blank(e.systolic) || blank(e.diastolic))
            return {QStringLiteral("Please enter blood pressure."), Field::BloodPressure};
        if (blank(e.temperature))
            return {QStringLiteral("Please enter body temperature."), Field::Temperature};
        if (blank(e.respiratoryRate))
            return {QStringLiteral("Please enter respiratory rate."), Field::RespiratoryRate};
    }
    const int systolicMax = m_session.settings.SystolicMax();
    const int diastolicMin = m_session.settings.DiastolicMin();
    if ((!blank(e.systolic) || !incomplete) && leadingNumber(e.systolic) > systolicMax) {
        return {QStringLiteral("Please verify the Systolic. It must be equal or lesser than %1.")
                    .arg(systolicMax),
                Field::BloodPressure};
    }
    if ((!blank(e.diastolic) || !incomplete) && leadingNumber(e.diastolic) < diastolicMin) {
        return {QStringLiteral("Please verify the Diastolic. It must be equal or greater than %1.")
                    .arg(diastolicMin),
                Field::BloodPressure};
    }

    // What the hospital's checks let through but no one could have measured.
    if ((!blank(e.systolic) && !isNumber(e.systolic))
        || (!blank(e.diastolic) && !isNumber(e.diastolic))
        || blank(e.systolic) != blank(e.diastolic)) {
        return {QStringLiteral("Please enter the blood pressure as two numbers, the systolic and "
                               "the diastolic."),
                Field::BloodPressure};
    }
    for (const Plausible &p : kPlausible) {
        const QString &value = e.*(p.field);
        if (blank(value))
            continue;
        const QString name = QString::fromLatin1(p.name);
        if (!isNumber(value))
            return {QStringLiteral("Please enter a number for the %1.").arg(name), p.focus};
        const double n = value.trimmed().toDouble();
        if (n < p.low || n > p.high) {
            return {QStringLiteral("Please verify the %1. It must be from %2 to %3.")
                        .arg(name)
                        .arg(p.low)
                        .arg(p.high),
                    p.focus};
        }
    }
    if (blank(e.systolic) && blank(e.temperature) && blank(e.pulseRate)
        && blank(e.respiratoryRate) && blank(e.o2Sat))
        return {QStringLiteral("No data to save."), Field::BloodPressure};
    return {QString(), Field::None};
}

VitalSigns::Outcome VitalSigns::refuse(const QString &text, Field field)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Critical);
    Q_EMIT focusRequested(field);
    return Outcome::Refused;
}

bool VitalSigns::signFor(const QString &question)
{
    for (;;) {
        m_session.validated = m_session.dialogs().validateUser();
        if (m_session.validated.isValid())
            return true;
        if (!m_session.notifier().confirm(question, kConfirmation, Notifier::Icon::Question))
            return false;
    }
}

VitalSigns::Outcome VitalSigns::save()
{
    if (m_idNum.isEmpty())
        return Outcome::Refused;
    if (const auto [text, field] = check(); !text.isEmpty())
        return refuse(text, field);

    VitalSignReading reading = m_entry;
    if (!protocols().contains(reading.protocol))
        reading.protocol.clear();

    if (!signFor(QStringLiteral("Are you sure you want to SAVE VITAL SIGNS?\r\n"
                                "Unable to continue this transaction. ")))
        return Outcome::Abandoned;

    Notifier &notifier = m_session.notifier();
    auto now = m_session.db().loadServerDate();
    if (!now) {
        notifier.errorBox(now.error());
        return Outcome::Failed;
    }
    const QString encoder = m_session.validated.code;
    const Result<void> written =
        editing() ? m_store.updateVitalSign(m_idNum, m_readings.at(m_editing), *now, reading,
                                            encoder, m_session.StationID)
                  : m_store.addVitalSign(m_idNum, *now, reading, encoder);
    if (!written) {
        notifier.errorBox(written.error());
        return Outcome::Failed;
    }
    clearEntry();
    load(m_idNum);
    return Outcome::Done;
}

bool VitalSigns::canEditDelete() const
{
    return m_session.hospital.AllowEditDeleteVitalSigns;
}

void VitalSigns::beginEdit(int row)
{
    if (!canEditDelete() || row < 0 || row >= m_readings.size())
        return;
    const VitalSignRecord &r = m_readings.at(row);
    const auto [systolic, diastolic] = VitalSignReading::splitBloodPressure(r.bloodPressure);
    m_entry = {systolic, diastolic, r.temperature, r.pulseRate, r.respiratoryRate,
               r.o2Sat, r.protocol, r.itemId};
    m_editing = row;
    Q_EMIT entryChanged();
}

bool VitalSigns::cancelEdit()
{
    if (!editing())
        return true;
    if (!m_session.notifier().confirm(
            QStringLiteral("Are you sure you want to cancel editing this patient's vital signs?"),
            kConfirmation, Notifier::Icon::Question))
        return false;
    clearEntry();
    return true;
}

VitalSigns::Outcome VitalSigns::remove(int row)
{
    Notifier &notifier = m_session.notifier();
    if (!canEditDelete() || row < 0 || row >= m_readings.size())
        return Outcome::Refused;
    const VitalSignRecord r = m_readings.at(row);
    const QString details =
        QStringLiteral("Details of the vital signs you are about to delete: \r\n\r\n") +
        QStringLiteral("Date/Time Entered: ") + r.takenAt.toString(kTimeFormat) +
        QStringLiteral("\r\nBlood Pressure: ") + r.bloodPressure +
        QStringLiteral("\r\nTemperature: ") + r.temperature +
        QStringLiteral("\r\nRespiratory Rate: ") + r.respiratoryRate +
        QStringLiteral("\r\nPulse Rate: ") + r.pulseRate +
        QStringLiteral("\r\nOxygen Saturation: ") + r.o2Sat +
        QStringLiteral("\r\nMonitoring Protocol: ") + r.protocol + QStringLiteral("\r\n\r\n") +
        QStringLiteral("Are you sure to delete this patient's vital signs? Click Yes to  "
                       "permanently delete this record.");
    if (!notifier.confirm(details, kConfirmation, Notifier::Icon::Question, Notifier::Answer::No))
        return Outcome::Declined;
    m_session.validated = m_session.dialogs().validateUser();
    if (!m_session.validated.isValid())
        return Outcome::Abandoned;
    const QString signer = m_session.validated.code;

    if (m_session.hospital.EditVSByAuthor) {
        auto author = m_store.isVitalSignAuthor(r.transNum, m_idNum, signer);
        if (!author) {
            notifier.errorBox(author.error());
            return Outcome::Failed;
        }
        if (!*author) {
            notifier.message(QStringLiteral("Sorry, only Mr./Ms. %1 may delete this patient's "
                                            "vital signs.")
                                 .arg(m_store.employeeName(r.encoder)),
                             kNotification, Notifier::Icon::Critical);
            return Outcome::Refused;
        }
    }
    if (auto gone = m_store.deleteVitalSign(m_idNum, r, signer, m_session.StationID); !gone) {
        notifier.errorBox(gone.error());
        return Outcome::Failed;
    }
    clearEntry();
    load(m_idNum);
    return Outcome::Done;
}

void VitalSigns::clearEntry()
{
    m_entry = VitalSignReading();
    m_editing = -1;
    Q_EMIT entryChanged();
}

} // namespace kestrel
