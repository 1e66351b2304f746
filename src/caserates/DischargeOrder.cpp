// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "caserates/DischargeOrder.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <algorithm>

namespace kestrel::caserates {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kWarning = QStringLiteral("Warning");
const QString kTagFirst = QStringLiteral("Please tag PHIC First Case Rate.");

} // namespace

DischargeOrder::DischargeOrder(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_store(session.db())
    , m_steps(session, m_store)
    , m_lookups(session.db())
{
}

bool DischargeOrder::open(const QString &idNum)
{
    auto opened = m_steps.open(idNum);
    if (!opened)
        return false;
    m_order = std::move(opened->order);
    m_patientName = opened->patientName;
    m_serverTime = true;
    m_linesChanged = false;
    m_otherChanged = false;
    Q_EMIT changed();
    return true;
}

QList<int> DischargeOrder::diagnosisLines() const
{
    QList<int> out;
    for (int i = 0; i < m_order.lines.size(); ++i) {
        if (!m_order.lines.at(i).isOperation())
            out << i;
    }
    return out;
}

QList<int> DischargeOrder::operationLines() const
{
    QList<int> out;
    for (int i = 0; i < m_order.lines.size(); ++i) {
        if (m_order.lines.at(i).isOperation())
            out << i;
    }
    return out;
}

bool DischargeOrder::refuse(const QString &message)
{
    m_session.notifier().message(message, kNotification, Notifier::Icon::Exclamation);
    return false;
}

bool DischargeOrder::refuseWhenSent()
{
    if (!isSent())
        return false;
    refuse(kOrderAlreadySent);
    return true;
}

bool DischargeOrder::alreadyListed(const QString &code, bool operation)
{
    for (const OrderLine &l : std::as_const(m_order.lines)) {
        if (l.isOperation() == operation && l.code().compare(code, Qt::CaseInsensitive) == 0) {
            refuse(code + (operation ? QStringLiteral(" is already an operation of this order.")
                                     : QStringLiteral(" is already a final diagnosis of this "
                                                      "order.")));
            return true;
        }
    }
    return false;
}

bool DischargeOrder::appendLine(OrderLine line)
{
    if (!line.packageId.isEmpty()) {
        auto name = m_lookups.packageName(line.packageId);
        if (!name) {
            m_session.notifier().errorBox(name.error());
            return false;
        }
        line.caseRateName = *name;
    }
    m_order.lines << line;
    m_linesChanged = true;
    Q_EMIT changed();
    return true;
}

bool DischargeOrder::hasTag(CaseRate n) const
{
    return std::any_of(m_order.lines.cbegin(), m_order.lines.cend(),
                       [n](const OrderLine &l) { return l.tag == n; });
}

bool DischargeOrder::addDiagnosis(const QString &typed)
{
    if (refuseWhenSent())
        return false;
    const QString icd = m_session.settings.DisableAutoUCaseHBPS() ? typed.trimmed()
                                                                   : typed.trimmed().toUpper();
    if (icd.isEmpty() || alreadyListed(icd, false))
        return false;
    auto valid = m_lookups.icdIsValid(icd);
    if (!valid) {
        m_session.notifier().errorBox(valid.error());
        return false;
    }
    if (!*valid)
        return refuse(icd + QStringLiteral(" is an invalid ICD. Please double-check the code."));
    OrderLine l;
    l.icd = icd;
    auto description = m_lookups.medicalCaseDescription(icd);
    if (description && description->isEmpty())
        description = m_lookups.icdDescription(icd);
    auto package = m_lookups.packageOfIcd(icd);
    if (!description || !package) {
        m_session.notifier().errorBox(description ? package.error() : description.error());
        return false;
    }
    l.description = *description;
    l.packageId = *package;
    return appendLine(l);
}

bool DischargeOrder::addOperation(const QString &typed, const QDate &operated)
{
    if (refuseWhenSent())
        return false;
    const QString rvs = typed.trimmed().toUpper();
    if (rvs.isEmpty() || alreadyListed(rvs, true))
        return false;
    auto description = m_lookups.rvsDescription(rvs);
    auto units = m_lookups.rvsUnits(rvs);
    auto package = m_lookups.packageOfRvs(rvs);
    if (!description || !units || !package) {
        m_session.notifier().errorBox(!description ? description.error()
                                      : !units     ? units.error()
                                                   : package.error());
        return false;
    }
    if (description->isEmpty() && package->isEmpty())
        return refuse(rvs + QStringLiteral(" is not in the relative value scale. Please "
                                           "double-check the code."));
    OrderLine l;
    l.rvs = rvs;
    l.description = *description;
    l.units = *units;
    l.packageId = *package;
    l.operationDate = operated;
    return appendLine(l);
}

bool DischargeOrder::removeLine(int line)
{
    if (line < 0 || line >= m_order.lines.size() || refuseWhenSent())
        return false;
    m_order.lines.removeAt(line);
    m_linesChanged = true;
    Q_EMIT changed();
    return true;
}

Result<bool> DischargeOrder::validTag(const OrderLine &line, CaseRate n)
{
    if (n != CaseRate::Second || line.packageId.isEmpty())
        return true;
    auto allowed = m_lookups.allowsSecondCaseRate(line.packageId);
    if (!allowed)
        return tl::unexpected(allowed.error());
    if (!*allowed) {
        const QString name = line.caseRateName.isEmpty() ? line.code() : line.caseRateName;
        m_session.notifier().message(
            name + QStringLiteral(" is not allowed for PHIC Second Case Rate."), kNotification,
            Notifier::Icon::Exclamation);
    }
    return *allowed;
}

bool DischargeOrder::tag(int line, CaseRate n)
{
    if (line < 0 || line >= m_order.lines.size() || refuseWhenSent())
        return false;
    OrderLine &l = m_order.lines[line];
    auto valid = validTag(l, n);
    if (!valid) {
        m_session.notifier().errorBox(valid.error());
        return false;
    }
    if (!*valid)
        return false;
    std::optional<FeeShares> shares;
    if (n != CaseRate::None && !l.packageId.isEmpty()) {
        auto package = m_lookups.package(l.packageId);
        if (!package) {
            m_session.notifier().errorBox(package.error());
            return false;
        }
        if (*package)
            shares = feeShares(**package, n);
    }
    // One line carries each case rate: tagging another line moves the tag.
    if (n != CaseRate::None) {
        for (OrderLine &other : m_order.lines) {
            if (other.tag == n) {
                other.tag = CaseRate::None;
                other.shares.reset();
            }
        }
    }
    l.tag = n;
    l.shares = shares;
    m_linesChanged = true;
    Q_EMIT changed();
    return true;
}

bool DischargeOrder::editDescription(int line, const QString &text)
{
    if (line < 0 || line >= m_order.lines.size() || refuseWhenSent())
        return false;
    m_order.lines[line].description = text.trimmed();
    m_linesChanged = true;
    Q_EMIT changed();
    return true;
}

QString DischargeOrder::doctorsGroupName(DoctorGroup group) const
{
    return group == DoctorGroup::CaseRate1 ? QStringLiteral("Case Rate 1 Doctor")
                                           : QStringLiteral("Case Rate 2 Doctor");
}

QString DischargeOrder::caseRateDoctorsLabel(DoctorGroup group) const
{
    return doctorsGroupName(group) +
           (m_session.settings.CaseRateSeveralDoctors() ? QStringLiteral("s:")
                                                        : QStringLiteral(":"));
}

bool DischargeOrder::addDoctor(DoctorGroup group, const QString &typed)
{
    if (refuseWhenSent())
        return false;
    const QString id = typed.trimmed().toUpper();
    if (id.isEmpty())
        return false;
    auto name = m_store.doctorName(id);
    if (!name) {
        m_session.notifier().errorBox(name.error());
        return false;
    }
    if (name->isEmpty()) {
        m_session.notifier().message(QStringLiteral("You have entered an invalid doctor code."),
                                     kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    QList<DoctorFee> &doctors = m_order.doctors[std::size_t(group)];
    for (const DoctorFee &d : std::as_const(doctors)) {
        if (d.doctorId.compare(id, Qt::CaseInsensitive) == 0) {
            m_session.notifier().message(
                QStringLiteral("Name of doctor already exists. Please double-check the list."),
                kNotification, Notifier::Icon::Exclamation);
            return false;
        }
    }
    // Without the several-doctors mode a case rate pays one doctor: the new one replaces him.
    if (group != DoctorGroup::Others && !m_session.settings.CaseRateSeveralDoctors())
        doctors.clear();
    doctors << DoctorFee{id, *name, group == DoctorGroup::Others ? Money() : minimumFor(group),
                         QString()};
    m_otherChanged = true;
    Q_EMIT changed();
    return true;
}

bool DischargeOrder::removeDoctor(DoctorGroup group, int row)
{
    QList<DoctorFee> &doctors = m_order.doctors[std::size_t(group)];
    if (row < 0 || row >= doctors.size() || refuseWhenSent())
        return false;
    doctors.removeAt(row);
    m_otherChanged = true;
    Q_EMIT changed();
    return true;
}

bool DischargeOrder::setDoctorFee(DoctorGroup group, int row, const QString &typed)
{
    QList<DoctorFee> &doctors = m_order.doctors[std::size_t(group)];
    if (row < 0 || row >= doctors.size() || refuseWhenSent())
        return false;
    const std::optional<Money> amount = typedAmount(typed);
    if (!amount || amount->isNegative()) {
        m_session.notifier().message(QStringLiteral("Please enter a valid amount."),
                                     kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    doctors[row].amount = *amount;
    m_otherChanged = true;
    Q_EMIT changed();
    return true;
}

bool DischargeOrder::setDoctorRole(int row, const QString &role)
{
    QList<DoctorFee> &doctors = m_order.doctors[std::size_t(DoctorGroup::Others)];
    if (row < 0 || row >= doctors.size() || refuseWhenSent())
        return false;
    doctors[row].role = role;
    m_otherChanged = true;
    Q_EMIT changed();
    return true;
}

bool DischargeOrder::resetDoctors()
{
    if (refuseWhenSent())
        return false;
    auto own = m_store.staysDoctors(m_order.idNum);
    if (!own) {
        m_session.notifier().errorBox(own.error());
        return false;
    }
    m_order.doctors[std::size_t(DoctorGroup::Others)] = *own;
    m_otherChanged = true;
    Q_EMIT changed();
    return true;
}

Money DischargeOrder::minimumFor(DoctorGroup group) const
{
    const CaseRate n = group == DoctorGroup::CaseRate1 ? CaseRate::First : CaseRate::Second;
    for (const OrderLine &l : m_order.lines) {
        if (l.tag == n && l.shares)
            return l.shares->professional;
    }
    return Money();
}

Money DischargeOrder::doctorsTotal(DoctorGroup group) const
{
    Money total;
    for (const DoctorFee &d : m_order.doctors[std::size_t(group)])
        total = total + d.amount;
    return total;
}

Money DischargeOrder::totalHospitalFee() const
{
    Money total;
    for (const OrderLine &l : m_order.lines) {
        if (l.tag != CaseRate::None && l.shares)
            total = total + l.shares->hospital;
    }
    return total;
}

Money DischargeOrder::totalProfessionalFee() const
{
    Money total;
    for (const OrderLine &l : m_order.lines) {
        if (l.tag != CaseRate::None && l.shares)
            total = total + l.shares->professional;
    }
    return total;
}

bool DischargeOrder::checkMinimum(DoctorGroup group)
{
    const Money minimum = minimumFor(group);
    if (m_order.doctors[std::size_t(group)].isEmpty() || !(doctorsTotal(group) < minimum))
        return true;
    m_session.notifier().message(QStringLiteral("The total amount for '") +
                                     doctorsGroupName(group) +
                                     QStringLiteral("' must not be less than ") +
                                     amountText(minimum) + u'.',
                                 kNotification, Notifier::Icon::Exclamation);
    return false;
}

bool DischargeOrder::leaveCaseRateDoctors(DoctorGroup group)
{
    return group == DoctorGroup::Others || checkMinimum(group);
}

void DischargeOrder::setCheckItem(int row, int state)
{
    if (row < 0 || row >= m_order.checklist.size() || isSent())
        return;
    m_order.checklist[row].state = std::clamp(state, 0, 2);
    m_otherChanged = true;
    Q_EMIT changed();
}

void DischargeOrder::setDischargeInfo(const QDateTime &ordered, bool serverTime,
                                      const QDate &billUpTo, const QString &remarks)
{
    if (isSent())
        return;
    m_order.notice.ordered = ordered;
    m_serverTime = serverTime;
    m_order.notice.billUpTo = billUpTo;
    m_order.notice.remarks = remarks;
    m_otherChanged = true;
}

std::optional<int> DischargeOrder::firstInvalidIcd()
{
    for (int i = 0; i < m_order.lines.size(); ++i) {
        const OrderLine &l = m_order.lines.at(i);
        if (l.isOperation())
            continue;
        auto valid = m_lookups.icdIsValid(l.icd);
        if (valid && *valid)
            continue;
        if (!valid)
            m_session.notifier().errorBox(valid.error());
        else
            m_session.notifier().message(l.icd + QStringLiteral(" is an invalid ICD. Please "
                                                                "double-check the code."),
                                         kNotification, Notifier::Icon::Exclamation);
        return i;
    }
    return std::nullopt;
}

bool DischargeOrder::stayClosed()
{
    auto computed = m_lookups.benefitsComputed(m_order.idNum);
    if (!computed) {
        m_session.notifier().errorBox(computed.error());
        return true;
    }
    if (*computed) {
        m_session.notifier().message(DischargeNoticeSteps::benefitsComputedText(m_patientName),
                                     kWarning, Notifier::Icon::Exclamation);
        return true;
    }
    if (m_order.notice.processed) {
        m_session.notifier().message(kNoticeProcessed, kNotification, Notifier::Icon::Exclamation);
        return true;
    }
    return refuseWhenSent();
}

bool DischargeOrder::write(bool final, const QString &employeeCode)
{
    SaveRequest request;
    request.employeeCode = employeeCode;
    request.final = final;
    request.keepCaseRateDoctors = m_session.settings.HideCaseRateOptions();
    auto now = m_session.db().loadServerDate();
    if (!now) {
        m_session.notifier().errorBox(now.error());
        return false;
    }
    request.ordered = m_serverTime || !m_order.notice.ordered.isValid() ? *now
                                                                        : m_order.notice.ordered;
    request.billUpTo = m_order.notice.billUpTo;
    request.remarks = m_order.notice.remarks;
    auto outcome = m_store.save(m_order, request);
    if (!outcome) {
        // What was typed stays on screen; nothing of it was written.
        m_session.notifier().errorBox(outcome.error());
        return false;
    }
    switch (*outcome) {
    case WriteOutcome::Done:
        break;
    case WriteOutcome::AlreadySent:
        m_order.notice.isFinal = true;
        m_session.notifier().message(kOrderAlreadySent, kNotification, Notifier::Icon::Exclamation);
        return false;
    case WriteOutcome::Processed:
        m_session.notifier().message(kNoticeProcessed, kNotification, Notifier::Icon::Exclamation);
        return false;
    case WriteOutcome::BenefitsComputed:
    case WriteOutcome::NothingToRevoke:
        stayClosed();
        return false;
    }
    m_order.notice.exists = true;
    m_order.notice.isFinal = final;
    m_order.notice.ordered = request.ordered;
    m_order.notice.userId = employeeCode;
    m_order.doctorsFromStay = false;
    return true;
}

bool DischargeOrder::save()
{
    Notifier &notifier = m_session.notifier();
    if (stayClosed() || firstInvalidIcd())
        return false;
    if (hasTag(CaseRate::Second) && !hasTag(CaseRate::First))
        return refuse(kTagFirst);
    ValidatedUser user;
    for (;;) {
        user = m_session.dialogs().validateUser();
        if (user.isValid())
            break;
        if (!notifier.confirm(QStringLiteral("Are you sure you want to save discharge order "
                                             "information?\r\nYou have entered invalid user "
                                             "information."),
                              kConfirmation))
            return false;
    }
    m_session.validated = user;
    if (m_session.settings.HBPSDoctorAccess() && m_linesChanged) {
        auto doctor = m_lookups.userIsDoctor(user.code);
        if (!doctor) {
            notifier.errorBox(doctor.error());
            return false;
        }
        if (!*doctor) {
            notifier.message(QStringLiteral("Sorry, only doctors have access to saving ICD/RVS "
                                            "entries."),
                             kNotification, Notifier::Icon::Exclamation);
            return false;
        }
    }
    if (!write(false, user.code))
        return false;
    const bool onlyLines = m_linesChanged && !m_otherChanged;
    m_linesChanged = m_otherChanged = false;
    notifier.message(onlyLines ? QStringLiteral("ICD/RVS succesfully updated.")
                               : QStringLiteral("Discharge order information successfully "
                                                "updated. \n\nPlease click 'Send Final Discharge "
                                                "Order to Billing' when ready."),
                     kNotification, Notifier::Icon::Information);
    Q_EMIT changed();
    return true;
}

bool DischargeOrder::send()
{
    Notifier &notifier = m_session.notifier();
    if (stayClosed() || !m_steps.noPendingRequests(m_order.idNum) ||
        !m_steps.instructionsWritten(m_order.idNum) || firstInvalidIcd())
        return false;
    if (!m_session.settings.DontRequireICDOnECU() && diagnosisLines().isEmpty())
        return refuse(kNoFinalDiagnosis);
    if (!hasTag(CaseRate::First))
        return refuse(kTagFirst);
    const bool anyFee = std::any_of(m_order.doctors.cbegin(), m_order.doctors.cend(),
                                    [](const QList<DoctorFee> &g) { return !g.isEmpty(); });
    if (!anyFee)
        return refuse(kNoProfessionalFees);
    if (!checkMinimum(DoctorGroup::CaseRate1) || !checkMinimum(DoctorGroup::CaseRate2))
        return false;
    if (m_session.settings.PHIC24HourStay()) {
        auto stayed = m_lookups.stayedOneDay(m_order.idNum);
        if (!stayed) {
            notifier.errorBox(stayed.error());
            return false;
        }
        if (!*stayed)
            return refuse(QStringLiteral("PhilHealth requires a 24 hour hospital stay: you may "
                                         "not proceed until the time has expired."));
    }
    const std::optional<ValidatedUser> user = m_steps.confirmSend();
    if (!user || !write(true, user->code))
        return false;
    m_linesChanged = m_otherChanged = false;
    notifier.message(kOrderSent, kNotification, Notifier::Icon::Information);
    Q_EMIT changed();
    return true;
}

bool DischargeOrder::revoke()
{
    // Kept data is not deleted, and the question does not say it will be.
    const QString deletes = m_steps.retainsData()
                                ? QString()
                                : QStringLiteral("Revoking discharge order will also delete "
                                                 "entered final diagnosis and professional fees. "
                                                 "\r\n");
    const QString question =
        deletes + QStringLiteral("Revoking discharge order will unclear departments so they will "
                                 "be able to perform transactions on patient's account.\r\nAre "
                                 "you sure you want to revoke the discharge order?");
    if (!m_steps.revoke(m_order.idNum, m_patientName, question,
                        QStringLiteral("Discharge order was successfully revoked.")))
        return false;
    return open(m_order.idNum);
}

bool DischargeOrder::confirmClose()
{
    return m_session.notifier().confirm(
        QStringLiteral("Are you sure you want to leave this form?"), kConfirmation);
}

} // namespace kestrel::caserates
