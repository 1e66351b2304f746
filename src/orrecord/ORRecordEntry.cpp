// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/ORRecordEntry.h"

#include "core/AccessRights.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "core/StationLog.h"
#include "core/db/Database.h"
#include "reports/ReportService.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kNoRecord = QStringLiteral("Sorry, no clinical operation record.");

// The reduced layout says some refusals its own way.
QString countsLayoutWording(const QString &message)
{
    static const QHash<QString, QString> wording{
        {QStringLiteral("Please provide OR room."),
         QStringLiteral("Please enter Operating Room Number.")},
        {QStringLiteral("Please provide scrub nurses."),
         QStringLiteral("Please enter Scrub Nurse.")},
        {QStringLiteral("Please provide circulating nurses."),
         QStringLiteral("Please enter Circulating Nurse.")},
        {QStringLiteral("Please provide operation procedure."),
         QStringLiteral("Please enter correct Procedure Code.")},
        {QStringLiteral("Please provide anesthesia type."),
         QStringLiteral("Please enter correct Type of Anesthesia.")},
        {QStringLiteral("Please provide the anesthesiologists."),
         QStringLiteral("Please enter correct Anesthesiologist Code.")},
        {QStringLiteral("Please provide the surgeons."),
         QStringLiteral("Please enter correct Doctor/Surgeon Code.")}};
    return wording.value(message, message);
}

QString fullName(const Row &r)
{
    return r.trimmed(u"LastName") + QStringLiteral(", ") + r.trimmed(u"FirstName") + u' ' +
           r.trimmed(u"MiddleName");
}

} // namespace

ORRecordEntry::ORRecordEntry(Session &session, Layout layout, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_layout(layout)
    , m_store(session.db())
    , m_switches(ORRecordSwitches::from(session.settings))
{
    // The surgical memo has no laterality.
    if (m_layout == Layout::SurgicalMemo)
        m_switches.enableLaterality = false;
}

ORRecordEntry::~ORRecordEntry() = default;

bool ORRecordEntry::fail(const Error &error)
{
    m_session.notifier().errorBox(error);
    return false;
}

void ORRecordEntry::refuse(const QString &message)
{
    m_session.notifier().message(message, kNotification, Notifier::Icon::Critical);
}

void ORRecordEntry::log(const QString &text)
{
    const QString user = m_session.validated.isValid() ? m_session.validated.code
                                                       : m_session.employeeCode();
    WriteStationLog(m_session.db(), m_header.idNum, text, user, QStringLiteral("OR"));
}

bool ORRecordEntry::open(const OROpening &opening)
{
    m_opening = opening;
    m_operatingNum = opening.operatingNum;
    m_switches = ORRecordSwitches::from(m_session.settings);
    if (m_layout == Layout::SurgicalMemo)
        m_switches.enableLaterality = false;
    m_header = ORRecordHeader();
    m_header.idNum = opening.idNum.trimmed();
    m_header.hospNum = opening.hospNum.trimmed();
    const bool outpatient = m_header.idNum.endsWith(u'B', Qt::CaseInsensitive);
    m_header.patientClass = outpatient ? QStringLiteral("O") : QStringLiteral("I");
    auto stay = m_store.stay(m_header.idNum, outpatient);
    if (!stay)
        return fail(stay.error());
    if (*stay) {
        const Row &r = **stay;
        if (m_header.hospNum.isEmpty())
            m_header.hospNum = r.trimmed(u"HospNum");
        m_header.patientName = fullName(r).trimmed();
        m_header.sex = r.trimmed(u"Sex");
        const QDate born = r.dateTime(u"BirthDate").date();
        m_header.birthDate = born.toString(QStringLiteral("MM/dd/yyyy"));
        const QDate today = m_session.db().serverNow().isValid()
                                ? m_session.db().serverNow().date()
                                : QDate::currentDate();
        if (born.isValid()) {
            int years = today.year() - born.year();
            if (today < born.addYears(years))
                --years;
            m_header.age = QString::number(years);
        }
        m_header.room = r.trimmed(u"RoomID");
        const QString admitted = outpatient ? QStringLiteral("MM/dd/yyyy")
                                            : QStringLiteral("MM/dd/yyyy hh:mm:ss AP");
        m_header.admitted = r.dateTime(u"AdmDate").toString(admitted);
        m_header.discharged = r.dateTime(u"DcrDate").toString(admitted);
        for (int i = 0; i < 3; ++i)
            m_header.doctors[i] = r.trimmed(QStringLiteral("Doctor%1").arg(i + 1));
    }
    auto rooms = m_store.rooms();
    if (!rooms)
        return fail(rooms.error());
    m_rooms = *rooms;
    return loadRecord();
}

bool ORRecordEntry::loadRecord()
{
    m_names.clear();
    m_signedBy.clear();
    m_counts.clear();
    std::optional<LoadedORRecord> loaded;
    if (m_operatingNum != 0) {
        auto read = m_store.load(m_header.hospNum, m_header.idNum, m_operatingNum);
        if (!read)
            return fail(read.error());
        loaded = std::move(*read);
    }
    if (loaded) {
        m_record = loaded->record;
        m_names = loaded->names;
        m_signedBy = loaded->signedBy;
    } else {
        // A new record starts at the server's time, each phase a few minutes after the last.
        m_operatingNum = 0;
        m_record = ORRecord();
        auto now = m_session.db().loadServerDate();
        const QDateTime at = now ? QDateTime(now->date(), QTime(now->time().hour(),
                                                                 now->time().minute()))
                                 : QDateTime::currentDateTime();
        using namespace ormoment;
        int minutes = 0;
        for (const ORMoment &m : {PatientIn, Anesthesia, Cutting, Closing, AnesthesiaDone,
                                  PatientOut}) {
            m_record.setMoment(m, at.addSecs(minutes * 60));
            minutes += m.timeColumn == Cutting.timeColumn ? 60 : 5;
        }
        m_record.setMoment(SpecimenIn, m_record.moment(Cutting));
        m_record.setMoment(SpecimenOut, m_record.moment(Closing));
        m_record.setText(QStringLiteral("SpongeCount"), QStringLiteral("N"));
    }
    if (m_operatingNum == 0 || m_record.text(u"Procedures").trimmed().isEmpty())
        m_record.setText(QStringLiteral("Procedures"), m_opening.procedureId);
    const QString client = m_session.hospital.clientname.trimmed().toUpper();
    m_rvsDescription.clear();
    m_rvsPoints.clear();
    if (client == u"TWY" || client == u"PEV") {
        m_record.setText(QStringLiteral("PHICCode"), m_opening.procedureId);
        m_rvsDescription = m_opening.procedureName;
    } else if (const QString code = m_record.text(u"PHICCode").trimmed(); !code.isEmpty()) {
        if (auto rvs = m_store.rvs(code)) {
            m_rvsDescription = rvs->first;
            m_rvsPoints = QString::number(rvs->second);
        }
    }
    if (m_operatingNum != 0) {
        auto counts = m_store.counts(m_header.idNum, m_operatingNum);
        if (!counts)
            return fail(counts.error());
        m_counts = *counts;
    }
    if (m_part) {
        if (auto read = m_part->read(m_operatingNum); !read)
            return fail(read.error());
    }
    m_saved = m_record;
    m_savedCounts = m_counts;
    Q_EMIT changed();
    return true;
}

QStringList ORRecordEntry::narrativeCaptions() const
{
    if (m_layout == Layout::SurgicalMemo)
        return {QStringLiteral("Pre-Op Diagnosis"),
                QStringLiteral("Post-Op Diagnosis"),
                QStringLiteral("Blood And Fluids"),
                QStringLiteral("Sutures And Instruments"),
                QStringLiteral("Medication Given"),
                QStringLiteral("Pre-OP Vital Signs"),
                QStringLiteral("For Cesarian Section"),
                QStringLiteral("Detailed Surgical Techniques"),
                QStringLiteral("Operative Findings"),
                QStringLiteral("Operation Performed"),
                QStringLiteral("Specimen")};
    QStringList captions{QStringLiteral("Pre-Operative Diagnosis"),
                         QStringLiteral("Post-Operative Diagnosis"),
                         QStringLiteral("Prep-Operative Condition"),
                         QStringLiteral("Post-Operative Condition"),
                         QStringLiteral("Meds./ I. V."),
                         QStringLiteral("Drains"),
                         QStringLiteral("Pathological Findings"),
                         QStringLiteral("Operation Techniques"),
                         QStringLiteral("Operative Findings"),
                         QStringLiteral("Operation Done (Specific Description)"),
                         QStringLiteral("Specimen In and Out")};
    if (m_session.hospital.clientname.trimmed().compare(u"TRUSK", Qt::CaseInsensitive) == 0) {
        captions[0] = QStringLiteral("Operative Diagnosis");
        captions[7] = QStringLiteral("Description of Technique");
        captions[9] = QStringLiteral("Operation Performed");
        captions[8] = QStringLiteral("Findings");
        captions[3] = QStringLiteral("Immediate Post of Condition");
    }
    return captions;
}

void ORRecordEntry::setPicked(const QString &column, const QString &code, const QString &name)
{
    m_record.setText(column, code);
    if (const QString nameColumn = personNameColumn(column); !nameColumn.isEmpty())
        m_names.insert(nameColumn, name);
}

void ORRecordEntry::setRvs(const QString &code, const QString &description, const QString &points)
{
    m_record.setText(QStringLiteral("PHICCode"), code);
    m_rvsDescription = description;
    m_rvsPoints = points;
}

std::optional<ValidatedUser> ORRecordEntry::validateForSave()
{
    for (;;) {
        m_session.validated = m_session.dialogs().validateUser();
        if (m_session.validated.isValid())
            return m_session.validated;
        if (!m_session.notifier().confirm(
                QStringLiteral("Are you sure you want to save this operating procedure details?"
                               "\r\nEntered operating procedure details  will not be saved! "),
                kNotification, Notifier::Icon::Question))
            return std::nullopt;
    }
}

bool ORRecordEntry::save()
{
    const ORRecordLookups lookups{
        [this](const QString &code) { return !m_store.doctorName(code).isEmpty(); },
        [this](const QString &code) {
            return !m_store.procedureName(code, QStringLiteral("OR")).isEmpty();
        }};
    m_refusal = checkORRecord(m_record, m_switches, lookups);
    if (!m_refusal && m_layout == Layout::ChartWithCounts) {
        if (const QString error = countEntryError(m_counts); !error.isEmpty())
            m_refusal = ORRefusal{error, QStringLiteral("Counts")};
    }
    if (!m_refusal && m_part)
        m_refusal = m_part->check(m_record);
    if (m_refusal) {
        if (m_layout == Layout::ChartWithCounts)
            m_refusal->message = countsLayoutWording(m_refusal->message);
        refuse(m_refusal->message);
        return false;
    }
    const std::optional<ValidatedUser> user = validateForSave();
    if (!user)
        return false;
    if (!HasAccessRight(m_session, u"36", user->code)) {
        refuse(QStringLiteral("Sorry, you don't have access to save clinical operation."));
        return false;
    }
    ORSaveContext context{m_header.hospNum, m_header.idNum, m_opening.refNum,
                          m_header.patientClass, user->code, m_operatingNum, m_switches};
    std::function<Result<void>(qint64)> alsoWrite;
    if (m_part)
        alsoWrite = [this, code = user->code](qint64 number) {
            return m_part->write(number, m_record, code);
        };
    auto number = m_store.save(m_record, context,
                               m_layout == Layout::ChartWithCounts ? &m_counts : nullptr,
                               alsoWrite);
    if (!number)
        return fail(number.error());
    m_operatingNum = *number;
    m_session.notifier().message(QStringLiteral("Details of operation saved."), kNotification,
                                 Notifier::Icon::Information);
    // Read back what was stored: the names, who has signed, when the counts were taken.
    const ORRecord typed = m_record;
    if (!loadRecord()) {
        m_record = typed;
        return true;
    }
    return true;
}

std::optional<ORRole> ORRecordEntry::roleOfField(QStringView column)
{
    for (const ORSignatureRole &r : signatureRoles()) {
        if (r.personColumn.compare(column, Qt::CaseInsensitive) == 0)
            return r.role;
    }
    return std::nullopt;
}

bool ORRecordEntry::sign(ORRole role)
{
    if (m_operatingNum == 0)
        return false;
    m_session.validated = m_session.dialogs().validateUser();
    const ValidatedUser user = m_session.validated;
    if (!user.isValid())
        return false;
    const ORSignatureRole &r = signatureRole(role);
    // The person the saved record names in that role signs, nobody else.
    const QString person = m_saved.text(r.personColumn).trimmed();
    bool signatory = false;
    if (r.doctor) {
        auto ok = m_store.isDoctorsUser(person, user.code);
        if (!ok)
            return fail(ok.error());
        signatory = !person.isEmpty() && *ok;
    } else {
        signatory = !person.isEmpty() && person == user.code.trimmed();
    }
    if (!signatory) {
        refuse(r.notSignatory);
        return false;
    }
    auto image = m_store.hasSignatureImage(user.code);
    if (!image)
        return fail(image.error());
    if (!*image) {
        refuse(QStringLiteral("No electronic signature. Please contact IT department."));
        return false;
    }
    auto signedNow = m_store.sign(m_operatingNum, role, user.code);
    if (!signedNow || !*signedNow) {
        refuse(QStringLiteral("Saving Failed!"));
        return false;
    }
    m_signedBy.insert(role, user.code);
    m_session.notifier().message(QStringLiteral("Successfully Saved!"), kNotification,
                                 Notifier::Icon::Information);
    Q_EMIT changed();
    return true;
}

bool ORRecordEntry::confirmChangeOf(ORRole role)
{
    if (!isSigned(role))
        return true;
    const ORSignatureRole &r = signatureRole(role);
    if (!m_session.notifier().confirm(r.question, QStringLiteral("Clarification"),
                                      Notifier::Icon::Question))
        return false;
    if (auto cleared = m_store.clearSignature(m_operatingNum, role); !cleared)
        return fail(cleared.error());
    log(r.logText);
    m_signedBy.remove(role);
    Q_EMIT changed();
    return true;
}

bool ORRecordEntry::openAndShow(const QString &file, const QString &title,
                                const QString &logText, const QString &noRecord)
{
    if (m_operatingNum == 0) {
        refuse(noRecord);
        return false;
    }
    if (!m_reports) {
        refuse(QStringLiteral("The report viewer is not available on this workstation."));
        return false;
    }
    if (!m_reports->OpenReport(file, {m_operatingNum}))
        return false;
    m_reports->ShowReport(false, title);
    if (!logText.isEmpty())
        WriteStationLog(m_session.db(), m_header.idNum, logText, m_session.employeeCode(),
                        QStringLiteral("OR"));
    return true;
}

bool ORRecordEntry::print()
{
    if (m_switches.showSignature) {
        for (const ORSignatureRole &r : signatureRoles()) {
            if (!isSigned(r.role)) {
                refuse(r.required);
                return false;
            }
        }
    }
    if (m_layout == Layout::SurgicalMemo)
        return openAndShow(QStringLiteral("SurgicalMemorandum.RPT"),
                           QStringLiteral("Surgical Memorandum"),
                           QStringLiteral("PRINT SURGICAL MEMORANDUM"), kNoRecord);
    return openAndShow(QStringLiteral("OperationProcedure.RPT"),
                       QStringLiteral("Operation Procedure"),
                       QStringLiteral("PRINT CLINICAL OPERATION"), kNoRecord);
}

bool ORRecordEntry::printSecond()
{
    if (m_layout == Layout::ChartWithCounts)
        return openAndShow(QStringLiteral("RecordOperation.RPT"),
                           QStringLiteral("Record of Operation"),
                           QStringLiteral("PRINT CLINICAL OPERATION"), kNoRecord);
    return openAndShow(QStringLiteral("AnesthesiaRecord.RPT"), QStringLiteral("Anesthesia Record"),
                       QString(), QStringLiteral("Sorry, no anesthesia record to print."));
}

bool ORRecordEntry::reset()
{
    if (!m_session.notifier().confirm(
            QStringLiteral("Are you sure want to reset saved information for this operation?"),
            QStringLiteral("Confirmation"), Notifier::Icon::Question))
        return false;
    m_session.validated = m_session.dialogs().validateUser(true);
    const ValidatedUser user = m_session.validated;
    if (!user.isValid())
        return false;
    if (!HasAccessRight(m_session, u"37", user.code)) {
        refuse(QStringLiteral("Sorry, you don't have access to reset clinical operations."));
        return false;
    }
    auto gone = m_operatingNum == 0 ? Result<int>(0) : m_store.reset(m_operatingNum);
    if (!gone)
        return fail(gone.error());
    if (*gone == 0) {
        m_session.notifier().message(QStringLiteral("No records changed."), kNotification,
                                     Notifier::Icon::Information);
        return false;
    }
    log(QStringLiteral("RESET OR CHART: ") + user.reason);
    m_session.notifier().message(QStringLiteral("Information successfully reset."),
                                 kNotification, Notifier::Icon::Information);
    m_operatingNum = 0;
    return loadRecord();
}

bool ORRecordEntry::isModified() const
{
    return m_record != m_saved || m_counts != m_savedCounts || (m_part && m_part->isModified());
}

bool ORRecordEntry::confirmClose()
{
    if (isModified())
        return m_session.notifier().confirm(
            QStringLiteral("The operation record has changes that are not saved. Close the "
                           "window and lose them?"),
            kNotification, Notifier::Icon::Question, Notifier::Answer::No);
    return m_session.notifier().confirm(QStringLiteral("Are you sure to close this window?"),
                                        kNotification, Notifier::Icon::Question);
}

QString ORRecordEntry::techniqueWarningText() const
{
    return techniqueWarning(m_record.text(u"ot"), m_switches.showTechniqueWarning);
}

} // namespace kestrel
