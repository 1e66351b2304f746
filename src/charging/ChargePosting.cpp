// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargePosting.h"

#include "charging/ChargeAccount.h"
#include "charging/ChargePostingStore.h"
#include "charging/ChargeSlipNumber.h"
#include "charging/ChargeSlipPrinter.h"
#include "charging/packages/PackageStore.h"
#include "patients/modGlobals.h"
#include "core/components/clsDrugPicker.h"
#include "core/db/Database.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QHash>
#include <QSet>

Q_LOGGING_CATEGORY(lcPosting, "kestrel.charging.posting")

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kORDepartment = QStringLiteral("OR");

// What a batch posts, to tell a save of the same lines for the same stay from another one.
QString fingerprint(const QString &IdNum, const QList<PostingLine> &lines)
{
    QStringList parts{IdNum};
    for (const PostingLine &l : lines) {
        if (!l.hasCode())
            continue;
        parts << l.line.department.trimmed() + u'|' + l.line.item.trimmed() + u'|' +
                     l.line.quantity.trimmed() + u'|' + l.line.amount.trimmed() + u'|' +
                     l.line.location.trimmed() + u'|' + l.dosage.trimmed();
    }
    return parts.join(u'\n');
}

bool isStockDepartment(const QString &department)
{
    return department == u"PH" || department == u"CS";
}

// Where supervisors may change prices when posting, a unit price typed over the list price is
// recorded with the supervisor who signed the batch.
bool unitPriceTypedOver(const PostingLine &l)
{
    return !l.line.listPrice.trimmed().isEmpty() &&
           l.line.unitPriceValue() != l.line.listPriceValue();
}

StockCardEntry stockCardEntry(const PostingBatch &batch, const PostingLine &line)
{
    StockCardEntry entry;
    entry.IdNum = batch.IdNum;
    entry.HospNum = batch.HospNum;
    entry.ItemID = line.line.item.trimmed();
    entry.Quantity = line.line.quantityValue();
    entry.Amount = line.line.amountValue();
    entry.RefNum = batch.chargeSlip;
    entry.TransDate = batch.when;
    entry.UserID = batch.userCode;
    return entry;
}

} // namespace

ChargePosting::ChargePosting(Session &session, PostingPrompts &prompts, clsDrugPicker *drugPicker,
                             ChargeSlipPrinter &printer)
    : m_session(session)
    , m_prompts(prompts)
    , m_drugPicker(drugPicker)
    , m_printer(printer)
{
}

const CurrentPatientRecord &ChargePosting::stay() const
{
    return m_account ? m_account->stay() : m_session.CurrentPatient;
}

PostingOutcome ChargePosting::save(const QList<PostingLine> &lines, const QString &department)
{
    PostingOutcome outcome;
    m_requestingDoctor = {};
    m_session.validated = {};
    const CurrentPatientRecord &stay = this->stay();

    if (m_session.settings.CheckCredLim() && !withinCreditLine(lines))
        return outcome;
    if (!gridIsValid(lines, outcome))
        return outcome;
    if (!confirmedAndValidated())
        return outcome;
    if (std::any_of(lines.cbegin(), lines.cend(), [](const PostingLine &l) {
            return l.hasCode() && l.line.department.trimmed() == kORDepartment;
        }))
        m_requestingDoctor = m_prompts.askRequestingDoctor();
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    if (!now.isValid()) {
        outcome.status = PostingOutcome::Status::Failed;
        return outcome;
    }
    const std::optional<QList<PlannedLine>> planned = plan(lines);
    if (!planned)
        return outcome;

    PostingBatch batch;
    batch.station = m_session.StationID;
    batch.IdNum = stay.IdNum.trimmed();
    batch.HospNum = stay.HospNum.trimmed();
    batch.patientClass = stay.PatientClass.trimmed();
    if (batch.patientClass.isEmpty())
        batch.patientClass = stay.isOutpatientStay() ? QStringLiteral("O") : QStringLiteral("I");
    batch.room = stay.RoomID.trimmed();
    batch.department = department.trimmed();
    batch.userCode = m_session.validated.code;
    batch.when = now;
    batch.requestingDoctor = m_requestingDoctor;

    // The identity is made before the first attempt; the same lines saved again after a save
    // that could not learn its outcome keep theirs, and the database is asked first.
    const QString lineText = fingerprint(batch.IdNum, lines);
    const bool again = m_pending && m_pending->lines == lineText;
    batch.identity = again ? m_pending->identity : newWriteIdentity();
    m_pending.reset();
    Database &db = m_session.db();
    auto write = [&](bool askFirst) {
        return writeOnce<QString>(
            db, [&](Database &) { return postBatch(*planned, batch); },
            [&](Database &on) { return ChargePostingStore(on).slipOfBatch(batch.identity); },
            &m_lastWrite, m_retry, askFirst);
    };
    Result<QString> posted = write(again);
    // Records another workstation held past the wait were not written: the user may try the
    // same batch again, outside any transaction.
    while (!posted && posted.error().kind == FailureKind::Contention &&
           m_session.notifier().confirm(posted.error().message + QStringLiteral(" Try again?"),
                                        kConfirmation))
        posted = write(false);
    if (!posted) {
        outcome.status = PostingOutcome::Status::Failed;
        const Error &e = posted.error();
        // The user stopped waiting and knows nothing was saved; the lines stay.
        if (m_lastWrite.cancelled)
            return outcome;
        if (e.kind == FailureKind::Contention)
            return outcome;
        if (!e.connectionLost()) {
            m_session.notifier().errorBox(e);
            return outcome;
        }
        m_pending = PendingBatch{batch.identity, lineText};
        if (e.kind == FailureKind::OutcomeUnknown) {
            m_session.notifier().message(
                QStringLiteral("The connection to the server was lost while the charges were "
                               "saved, and the server cannot be reached to tell whether they "
                               "were. Keep these charges and save them again when the server "
                               "is back: they will not be charged twice."),
                kNotification, Notifier::Icon::Exclamation);
        } else {
            m_session.notifier().message(
                QStringLiteral("The charges were not saved: the server cannot be reached. "
                               "Save them again when it is back."),
                kNotification, Notifier::Icon::Exclamation);
        }
        return outcome;
    }
    if (m_lastWrite.foundLanded) {
        m_shortfall.reset();
        if (!posted->isEmpty())
            m_session.notifier().message(
                QStringLiteral("The connection to the server was lost while the charges were "
                               "saved. They were saved as charge slip ") +
                    *posted + u'.',
                kNotification, Notifier::Icon::Information);
    }
    if (m_shortfall) {
        tellShortfall(*m_shortfall, outcome);
        return outcome;
    }
    if (posted->isEmpty()) {
        m_session.notifier().message(
            QStringLiteral("No chargeslip sequence number set for Station ") + batch.station,
            kNotification, Notifier::Icon::Exclamation);
        return outcome;
    }
    outcome.status = PostingOutcome::Status::Saved;
    outcome.chargeSlip = *posted;
    m_printer.printSaved(outcome.chargeSlip, stay);
    return outcome;
}

void ChargePosting::reprint(const QString &chargeSlip, const CurrentPatientRecord &stay)
{
    m_printer.reprint(chargeSlip, stay);
}

void ChargePosting::tellShortfall(const StockShortfall &shortfall, PostingOutcome &outcome)
{
    Notifier &notifier = m_session.notifier();
    if (shortfall.onHand <= 0) {
        notifier.message(noStockLeftText(shortfall.name,
                                         m_session.settings.ShowDosagePostMedicines()),
                         kNotification, Notifier::Icon::Critical);
        return;
    }
    notifier.message(QStringLiteral("Stock is not enough for the quantity entered. Remaining "
                                    "stock is: ") +
                         numberText(shortfall.onHand),
                     kNotification, Notifier::Icon::Information);
    outcome.quantityLine = shortfall.index;
}

bool ChargePosting::withinCreditLine(const QList<PostingLine> &lines)
{
    const QString IdNum = stay().IdNum.trimmed();
    QStringList amounts;
    for (const PostingLine &l : lines)
        amounts << l.line.amount;
    if (modGlobals::IsWithinCreditLine(m_session, IdNum, 1, amounts))
        return true;
    m_session.notifier().message(
        QStringLiteral("Credit amount not enough. Remaining credit balance is ") +
            numberText(modGlobals::RemainingCreditBalance(m_session, IdNum)) + u'.',
        kNotification, Notifier::Icon::Information);
    return false;
}

bool ChargePosting::gridIsValid(const QList<PostingLine> &lines, PostingOutcome &outcome)
{
    Notifier &notifier = m_session.notifier();
    auto refuse = [&notifier](const QString &text) {
        notifier.message(text, kNotification, Notifier::Icon::Exclamation);
        return false;
    };
    // An account's window (late charges on a billed account) asks the account instead.
    if (m_account) {
        if (!m_account->mayPost())
            return false;
    } else if (modGlobals::IsAccountClosed(m_session)) {
        return false;
    } else if (modGlobals::IsClearedByDepartment(m_session, stay().IdNum.trimmed(),
                                                 kORDepartment)) {
        return refuse(QStringLiteral("Patient is already cleared by (OR Department). ") +
                      QStringLiteral("If you have charges to make, please notify the Billing staff") +
                      QStringLiteral(" immediately for further instructions."));
    }
    if (std::all_of(lines.cbegin(), lines.cend(), [](const PostingLine &l) { return l.isBlank(); }))
        return refuse(QStringLiteral("Can't save a blank data. Please enter charges first."));
    for (int i = 0; i < lines.size(); ++i) {
        const ChargeLine &c = lines.at(i).line;
        if (!c.description.trimmed().isEmpty() && c.quantity.trimmed().isEmpty()) {
            outcome.quantityLine = i;
            return refuse(QStringLiteral("Please enter quantity to request for ") +
                          c.description.trimmed() + u'.');
        }
    }
    if (std::none_of(lines.cbegin(), lines.cend(), [](const PostingLine &l) { return l.hasCode(); }))
        return refuse(QStringLiteral("Can't save blank data. Please enter charges first."));
    QSet<QString> seen;
    for (const PostingLine &l : lines) {
        if (!l.hasCode())
            continue;
        const QString key =
            l.line.department.trimmed().toUpper() + u'|' + l.line.item.trimmed().toUpper();
        if (seen.contains(key))
            return refuse(QStringLiteral("Please double-check list for duplicate items."));
        seen.insert(key);
    }
    if (m_session.settings.NotifyZeroAmount() &&
        std::any_of(lines.cbegin(), lines.cend(), [](const PostingLine &l) {
            return l.hasCode() && l.line.amountValue().isZero();
        }))
        return refuse(QStringLiteral("Please check items with zero amount."));
    return true;
}

bool ChargePosting::confirmedAndValidated()
{
    Notifier &notifier = m_session.notifier();
    if (m_account) {
        if (!m_account->confirmSave())
            return false;
    } else if (!notifier.confirm(QStringLiteral("Please verify that the items entered are true "
                                                "and correct. \n\rDo you want to proceed in "
                                                "saving these charges?"),
                                 kConfirmation)) {
        return false;
    }
    for (;;) {
        m_session.validated = m_session.dialogs().validateUser();
        if (m_session.validated.isValid())
            return true;
        if (!notifier.confirm(QStringLiteral("Selected charges will not be saved. \n"
                                             "Are you sure you want to save these charges?"),
                              kConfirmation))
            return false;
    }
}

std::optional<QList<ChargePosting::PlannedLine>>
ChargePosting::plan(const QList<PostingLine> &lines)
{
    QList<PlannedLine> plan;
    // A batch charges a few departments many times over: each is looked up once.
    QHash<QString, QString> locations;
    QHash<QString, bool> pharmacy;
    const auto once = [](auto &known, const QString &department, const auto &lookUp) {
        auto it = known.constFind(department);
        if (it == known.cend())
            it = known.insert(department, lookUp());
        return *it;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const PostingLine &l = lines.at(i);
        if (!l.hasCode())
            continue;
        const QString department = l.line.department.trimmed();
        QString location = l.line.location.trimmed();
        if (location.isEmpty())
            location = once(locations, department, [&] {
                return modGlobals::GetRevenueLocation(m_session, department).trimmed();
            });
        const bool stock = !location.isEmpty() || isStockDepartment(department);
        const bool medicine =
            stock && (department == u"PH" || once(pharmacy, department, [&] {
                          return modGlobals::IsPharmacyRevenue(m_session, department);
                      }));
        if (medicine && m_session.settings.ShowDosagePostMedicines() &&
            l.dosage.trimmed().isEmpty()) {
            m_session.notifier().message(QStringLiteral("DOSAGE ID for ") +
                                             l.line.description.trimmed() +
                                             QStringLiteral(" is empty. The system can't process "
                                                            "the specified item."),
                                         kNotification, Notifier::Icon::Critical);
            return std::nullopt;
        }
        plan.append({l, stock ? location : QString(), i});
    }
    return plan;
}

Result<QString> ChargePosting::postBatch(const QList<PlannedLine> &lines, PostingBatch batch)
{
    m_shortfall.reset();
    Database &db = m_session.db();
    ChargePostingStore store(db);
    const SlipFormat format = SlipFormat::of(m_session.settings);
    const SlipCounter counter = format.counterFor(batch.IdNum);
    // The number is drawn in a short transaction of its own: workstations posting at the same
    // time then wait for one another only while the counter moves, not for each other's whole
    // batch. Inside a caller's transaction it is drawn in that transaction.
    const bool ownDraw = !db.inTransaction();
    auto draw = [&]() -> Result<std::optional<qint64>> {
        if (!ownDraw)
            return store.takeCounter(batch.station, counter);
        Transaction tx = db.transaction(TransactionMode::Write, Work::PostingCharges);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        auto drawn = store.takeCounter(batch.station, counter);
        if (!drawn)
            return drawn;
        if (auto committed = tx.commit(); !committed)
            return tl::unexpected(committed.error());
        return drawn;
    };
    for (;;) {
        auto drawn = draw();
        if (!drawn)
            return tl::unexpected(drawn.error());
        if (!*drawn)
            return QString();
        batch.chargeSlip = format.number(counter, **drawn);
        auto stored = storeBatch(store, lines, batch);
        if (stored && *stored && !m_shortfall)
            return batch.chargeSlip;
        if (stored && !*stored)
            continue;
        // A batch not stored gives its number back while no later one has been drawn, so the
        // slips of a station run without gaps unless two workstations crossed.
        if (ownDraw && !db.connectionLost()) {
            Transaction tx = db.transaction(TransactionMode::Write, Work::PostingCharges);
            if (tx.isActive() && store.giveBackCounter(batch.station, counter, **drawn))
                (void)tx.commit();
        }
        if (!stored)
            return tl::unexpected(stored.error());
        return QString();
    }
}

Result<bool> ChargePosting::storeBatch(ChargePostingStore &store, const QList<PlannedLine> &lines,
                                       const PostingBatch &batch)
{
    Database &db = m_session.db();
    Transaction tx = db.transaction(TransactionMode::Write, Work::PostingCharges);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto used = store.slipUsed(batch.chargeSlip);
    if (!used)
        return tl::unexpected(used.error());
    if (*used)
        return false;
    auto registered = store.registerSlip(batch);
    if (!registered)
        return tl::unexpected(registered.error());
    if (!*registered)
        return false;
    if (auto ok = store.clearPrintBuffer(); !ok)
        return tl::unexpected(ok.error());
    // The stock card is written through the drug picker, on this connection and so inside
    // this transaction.
    if (m_drugPicker)
        m_drugPicker->InitConnect(&db);
    if (auto ok = postLines(store, batch, lines); !ok)
        return tl::unexpected(ok.error());
    QList<const PlannedLine *> stock;
    for (const PlannedLine &line : lines) {
        if (!line.location.isEmpty())
            stock << &line;
    }
    // The stock rows are what other workstations charge too: they are moved last, item by
    // item in the same order on every workstation, so they are held only from there to the
    // commit and two batches never wait for each other's rows crosswise. Everything else of
    // the batch, the stock cards included, is written before.
    std::stable_sort(stock.begin(), stock.end(), [](const PlannedLine *a, const PlannedLine *b) {
        return std::pair(a->location, a->posting.line.item.trimmed()) <
               std::pair(b->location, b->posting.line.item.trimmed());
    });
    for (const PlannedLine *line : std::as_const(stock)) {
        if (auto ok = writeStockCard(store, batch, *line); !ok)
            return tl::unexpected(ok.error());
    }
    // The items of each package of the batch that none of its lines charges.
    QList<PostingLine> posted;
    for (const PlannedLine &line : lines)
        posted << line.posting;
    if (auto ok = recordUnusedPackageItems(db, batch, posted); !ok)
        return tl::unexpected(ok.error());
    if (m_account) {
        if (auto ok = m_account->posted(db, batch); !ok)
            return tl::unexpected(ok.error());
    }
    for (const PlannedLine *line : std::as_const(stock)) {
        if (auto ok = moveStock(batch, *line); !ok)
            return tl::unexpected(ok.error());
        // Nothing of the batch is kept: the transaction rolls back as it goes out of scope.
        if (m_shortfall)
            return true;
    }
    if (auto committed = tx.commit(); !committed)
        return tl::unexpected(committed.error());
    return true;
}

Result<void> ChargePosting::writeStockCard(ChargePostingStore &store, const PostingBatch &batch,
                                           const PlannedLine &planned)
{
    if (!m_drugPicker)
        return failure(QStringLiteral("The drug picker is not installed."));
    const PostingLine &line = planned.posting;
    clsDrug *drug = m_drugPicker->Drug();
    drug->setLocationID(planned.location);
    if (auto ok = drug->WriteStockCard(stockCardEntry(batch, line)); !ok)
        return ok;
    if (!line.packageId.trimmed().isEmpty())
        return store.stampPackage(batch, line);
    return {};
}

Result<void> ChargePosting::moveStock(const PostingBatch &batch, const PlannedLine &planned)
{
    const PostingLine &line = planned.posting;
    clsDrug *drug = m_drugPicker->Drug();
    drug->setLocationID(planned.location);
    const StockCardEntry entry = stockCardEntry(batch, line);
    auto left = drug->MoveStockOnHand(entry);
    if (!left)
        return tl::unexpected(left.error());
    // The stock is counted after the move, inside the batch: the row stays locked until the
    // batch commits, so another workstation posting the same item waits and then counts what
    // this batch left.
    if (m_session.hospital.AllowZeroOnHand && (!*left || **left < 0))
        m_shortfall = StockShortfall{planned.index, line.line.description.trimmed(),
                                     *left ? **left + entry.Quantity : 0};
    return {};
}

Result<void> ChargePosting::postLines(ChargePostingStore &store, const PostingBatch &batch,
                                      const QList<PlannedLine> &lines)
{
    // The print buffer and logbook rows go in runs, one statement each a run. A run ends at a
    // line whose logbook row is marked afterwards: the mark finds the rows of its item that
    // are written by then, as it would line by line.
    QList<const PostingLine *> run;
    const auto writeRun = [&]() -> Result<void> {
        if (auto ok = store.saveChargePrints(batch, run); !ok)
            return ok;
        if (auto ok = store.appendChargings(batch, run); !ok)
            return ok;
        run.clear();
        return {};
    };
    for (const PlannedLine &planned : lines) {
        const PostingLine &line = planned.posting;
        run << &line;
        const bool secondOperation = line.line.secondOperation.trimmed() == u"1";
        if (!secondOperation && !line.hasDoctorsMeals())
            continue;
        if (auto ok = writeRun(); !ok)
            return ok;
        if (secondOperation) {
            if (auto ok = store.tagSecondOperation(batch, line); !ok)
                return ok;
        }
        if (line.hasDoctorsMeals()) {
            if (auto ok = store.recordDoctorsMeals(batch, line); !ok)
                return ok;
        }
    }
    if (auto ok = writeRun(); !ok)
        return ok;
    for (const PlannedLine &planned : lines) {
        const PostingLine &line = planned.posting;
        if (line.isOxygenByPressure()) {
            if (auto ok = store.saveOxygenMonitoring(batch, line); !ok)
                return ok;
        }
        if (m_session.settings.SupervisorEditAmountPostCharge() && unitPriceTypedOver(line)) {
            if (auto ok = store.saveSupervisorTransaction(batch, line); !ok)
                return ok;
        }
    }
    return {};
}

} // namespace kestrel
