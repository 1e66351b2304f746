// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargeEntry.h"

#include "charging/ChargeAccount.h"
#include "charging/returns/ChargeRevoke.h"
#include "core/AccessRights.h"
#include "core/components/clsRvsLookup.h"
#include "core/components/Component.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

#include <algorithm>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");

constexpr QStringView kRightPostCharges = u"3";

// The later windows the buttons open, and how the user knows them.
const QString kPackageWindow = QStringLiteral("frmListPackage");
const QString kCdfWindow = QStringLiteral("frmCDF");

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
    if (m_account) {
        // The account's window has its own right and checks, and prices for its account.
        if (!m_account->mayOpen())
            return false;
        m_pricing.setStay(m_account->stay());
    } else if (!HasAccessRight(m_session, kRightPostCharges)) {
        notifier.message(QStringLiteral("Sorry, you don't have access right to Post Charges."),
                         kNotification, Notifier::Icon::Information);
        return false;
    }
    const CurrentPatientRecord &stay = this->stay();
    if (!stay.isSelected()) {
        notifier.message(QStringLiteral("Please select patient."), kNotification,
                         Notifier::Icon::Information);
        return false;
    }
    if (!m_account && modGlobals::IsAccountClosed(m_session))
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

    m_entryOnly = false;
    m_lines.clear();
    m_grid.reload();
    m_departmentShown.clear();
    m_statPatient = false;
    m_listExpanded = false;
    loadPosted();
    Q_EMIT changed();
    return true;
}

bool ChargeEntry::openEntry(const CurrentPatientRecord &stay)
{
    auto departments = m_store.departments(m_session.StationID);
    if (!departments) {
        m_session.notifier().errorBox(departments.error());
        return false;
    }
    m_entryOnly = true;
    m_pricing.setStay(stay);
    m_header = ChargePatientHeader();
    m_departments = *departments;
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    m_today = now.isValid() ? now.date() : m_session.ServerDate;
    m_cdfEnabled = false;
    m_departmentShown.clear();
    m_statPatient = false;
    m_posted.clear();
    m_ticked.clear();
    clearLines();
    Q_EMIT changed();
    return true;
}

void ChargeEntry::clearLines()
{
    m_lines.clear();
    m_grid.reload();
}

void ChargeEntry::setLine(int row, const ChargeEntryLine &line)
{
    if (row == m_lines.size() + 1) {
        m_lines.append(line);
        m_grid.reload();
    } else if (row >= 1 && row <= m_lines.size()) {
        m_lines[row - 1] = line;
        m_grid.lineChanged(row);
    }
}

const CurrentPatientRecord &ChargeEntry::stay() const
{
    return m_account ? m_account->stay() : m_session.CurrentPatient;
}

bool ChargeEntry::refusedWithoutAccount() const
{
    if (!m_account || m_account->stay().isSelected())
        return false;
    m_session.notifier().message(QStringLiteral("Please select patient first."), kNotification,
                                 Notifier::Icon::Information);
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
    if (refusedWithoutAccount())
        return;
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
    if (refusedWithoutAccount())
        return;
    if (!m_session.notifier().confirm(QStringLiteral("Entered data will be cleared. Do you want "
                                                     "to continue?"),
                                      kConfirmation, Notifier::Icon::Question))
        return;
    m_lines.clear();
    m_grid.reload();
}

void ChargeEntry::close()
{
    const QString question = m_account ? m_account->closeQuestion()
                                       : QStringLiteral("Are you sure to leave Post Charges?");
    if (m_session.notifier().confirm(question, kConfirmation, Notifier::Icon::Question))
        Q_EMIT closeRequested();
}

void ChargeEntry::viewPackages()
{
    if (refusedWithoutAccount())
        return;
    if (!modGlobals::HasPackage(m_session, stay().IdNum)) {
        m_session.notifier().message(QStringLiteral("Sorry, no package was tagged for this "
                                                    "patient."),
                                     kNotification, Notifier::Icon::Information);
        return;
    }
    openWindow(kPackageWindow, QStringLiteral("The OR package list"), {});
}

void ChargeEntry::addPackageLines(const QList<ChargeEntryLine> &lines)
{
    // The grid keeps no empty line in the middle: the package goes after what was entered.
    while (!m_lines.isEmpty() && m_lines.constLast().isBlank())
        m_lines.removeLast();
    m_lines.append(lines);
    m_grid.reload();
    Q_EMIT changed();
}

bool ChargeEntry::pipedOxygenShown() const
{
    // The tank is the selected patient's, in the room he is in: not an account's.
    return !m_account && m_session.settings.AllowOpenCloseTank();
}

void ChargeEntry::openOxygenPipe()
{
    if (refusedWithoutAccount())
        return;
    openWindow(QStringLiteral("frmPipe"), QStringLiteral("The piped oxygen window"), {});
}

void ChargeEntry::save()
{
    if (refusedWithoutAccount())
        return;
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
    if (refusedWithoutAccount())
        return;
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
    if (refusedWithoutAccount())
        return;
    if (index < 0 || index >= m_posted.size())
        return;
    if (!m_revoke) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("Revoking of posted charges"));
        return;
    }
    ChargeRevoke::Outcome outcome = ChargeRevoke::Outcome::Refused;
    if (m_session.settings.MultiCancel()) {
        QList<PostedCharge> ticked;
        for (const PostedCharge &c : std::as_const(m_posted)) {
            if (m_ticked.contains(c.logBookId))
                ticked.append(c);
        }
        outcome = m_revoke->revokeSeveral(ticked);
    } else {
        outcome = m_revoke->revoke(m_posted.at(index));
    }
    // A revoke, or a line another workstation revoked meanwhile: the list shows what is left.
    if (outcome != ChargeRevoke::Outcome::Refused) {
        loadPosted();
        Q_EMIT changed();
    }
}

void ChargeEntry::toggleTick(int index)
{
    if (!m_session.settings.MultiCancel() || index < 0 || index >= m_posted.size())
        return;
    const qint64 line = m_posted.at(index).logBookId;
    if (!m_ticked.removeOne(line))
        m_ticked.append(line);
    Q_EMIT changed();
}

bool ChargeEntry::isTicked(int index) const
{
    return index >= 0 && index < m_posted.size() && m_ticked.contains(m_posted.at(index).logBookId);
}

void ChargeEntry::postReturns()
{
    if (refusedWithoutAccount())
        return;
    openWindow(QStringLiteral("frmReturn"), QStringLiteral("Post Returned Medicines"),
               {{QStringLiteral("Mode"), QStringLiteral("PH")}});
}

void ChargeEntry::reprint(int index)
{
    if (refusedWithoutAccount())
        return;
    if (index < 0 || index >= m_posted.size())
        return;
    if (!m_saving) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("Reprinting of charge slips"));
        return;
    }
    m_saving->reprint(m_posted.at(index).chargeSlip, stay());
}

void ChargeEntry::showCdf()
{
    if (refusedWithoutAccount())
        return;
    openWindow(kCdfWindow, QStringLiteral("The clinical data form"), {});
}

void ChargeEntry::loadPosted()
{
    if (m_entryOnly)
        return;
    auto posted = m_store.postedCharges(stay().IdNum, m_session.StationID);
    if (!posted) {
        m_session.notifier().errorBox(posted.error());
        return;
    }
    m_posted = *posted;
    m_ticked.clear();
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
    request.patient = stay();
    request.values = values;
    m_openWindow(formName, request);
}

} // namespace kestrel
