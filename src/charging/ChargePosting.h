// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargePostingStore.h"
#include "charging/ChargeSaving.h"
#include "charging/PostingLine.h"
#include "core/CurrentPatient.h"
#include "core/db/Error.h"
#include "core/db/WriteOnce.h"

#include <QList>
#include <QLoggingCategory>
#include <QString>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcPosting)

namespace kestrel {

class ChargeAccount;
class ChargeSlipPrinter;
class Session;
class clsDrugPicker;

/// The windows posting asks while it saves. The charge window answers with its own windows,
/// tests with a script.
class PostingPrompts
{
public:
    virtual ~PostingPrompts() = default;
    /// "Enter Requesting Doctor" (`frmRequestingDoctor`), asked when the batch holds an OR
    /// line: the doctor who requested it; empty when the user gave none.
    virtual RequestingDoctor askRequestingDoctor() = 0;
};

/// Saving the entry grid of the charge window ("&Save"): the checks before anything is
/// written, the confirmation and re-validation, the requesting doctor, then the batch, then the
/// charge slip; and the reprint of a posted slip.
///
/// A batch is one database transaction: its charge slip number is drawn from the station's
/// counter inside it, and its stock card rows, print buffer, logbook lines, second-operation
/// tags, oxygen and supervisor records are written in it. A failure anywhere rolls back
/// everything, the number included; a batch that lost a race for a lock is tried again whole.
///
/// Every batch gets an identity before its first attempt, stored with its charge slip. When the
/// connection is lost while the batch commits, the database is asked by that identity whether
/// it landed: the user is told the charge slip it was saved as, or the batch is tried again;
/// when the server cannot be asked, the identity is kept and saving the same lines again asks
/// first, so the patient is never charged twice.
class ChargePosting : public ChargeSaving
{
public:
    /// `drugPicker` writes the stock card of stock lines (without one, a batch with stock
    /// lines fails); `printer` prints the slip after the save.
    ChargePosting(Session &session, PostingPrompts &prompts, clsDrugPicker *drugPicker,
                  ChargeSlipPrinter &printer);

    /// Saves the lines of the entry grid for the selected patient, recording `department`
    /// (`lblDeptCode`) on every logbook line; see PostingOutcome. Refusals and failures are
    /// told to the user.
    PostingOutcome save(const QList<PostingLine> &lines, const QString &department) override;
    /// "Reprint": prints a posted slip of the stay again.
    void reprint(const QString &chargeSlip, const CurrentPatientRecord &stay) override;

    /// Posts to `account` instead of the selected patient's open stay (the receivable
    /// window); it outlives the posting.
    void setAccount(ChargeAccount *account) { m_account = account; }

    /// The requesting doctor of the last save; emptied when a save starts.
    const RequestingDoctor &requestingDoctor() const { return m_requestingDoctor; }

    /// How long a batch keeps trying while other workstations hold what it needs.
    void setRetryPolicy(const RetryPolicy &policy) { m_retry = policy; }
    /// What happened on the way to the last save's answer.
    const WriteReport &lastWrite() const { return m_lastWrite; }

private:
    /// A line to post, with the stock location it is taken from (empty for a service) and its
    /// place among the lines handed over.
    struct PlannedLine
    {
        PostingLine posting;
        QString location;
        int index = -1;
    };
    /// A stock line asking for more than its location has left once the batch moved it.
    struct StockShortfall
    {
        int index = -1;
        QString name;
        double onHand = 0; ///< the stock before this batch
    };

    /// The stay posted to: the account's, else the selected patient's.
    const CurrentPatientRecord &stay() const;
    bool withinCreditLine(const QList<PostingLine> &lines);
    /// Tells the user which stock line came short; a line that asked more than was left gets
    /// the editor on its quantity.
    void tellShortfall(const StockShortfall &shortfall, PostingOutcome &outcome);
    bool gridIsValid(const QList<PostingLine> &lines, PostingOutcome &outcome);
    bool confirmedAndValidated();
    /// The lines to post with their stock locations; nothing (told) when a medicine lacks its
    /// dosage.
    std::optional<QList<PlannedLine>> plan(const QList<PostingLine> &lines);
    /// One attempt at the whole batch: the charge slip, or an empty text when the station has
    /// no counter row or a stock line came short (m_shortfall).
    Result<QString> postBatch(const QList<PlannedLine> &lines, PostingBatch batch);
    /// The batch under the number in `batch`, inside one transaction: false when another
    /// posting or bill already carries the number.
    Result<bool> storeBatch(ChargePostingStore &store, const QList<PlannedLine> &lines,
                            const PostingBatch &batch);
    /// Writes the lines of the batch, in order: print buffer, logbook and each line's own
    /// records.
    Result<void> postLines(ChargePostingStore &store, const PostingBatch &batch,
                           const QList<PlannedLine> &lines);
    /// Writes a stock line's move out of its location on the stock card.
    Result<void> writeStockCard(ChargePostingStore &store, const PostingBatch &batch,
                                const PlannedLine &line);
    /// Takes a stock line's quantity off the location's stock on hand. Where stock is counted
    /// a line the location cannot cover sets m_shortfall.
    Result<void> moveStock(const PostingBatch &batch, const PlannedLine &line);

    Session &m_session;
    PostingPrompts &m_prompts;
    clsDrugPicker *m_drugPicker;
    ChargeSlipPrinter &m_printer;
    ChargeAccount *m_account = nullptr;
    RequestingDoctor m_requestingDoctor;
    std::optional<StockShortfall> m_shortfall;
    RetryPolicy m_retry;
    WriteReport m_lastWrite;
    /// A batch whose save was cut off with the server out of reach: saving the same lines for
    /// the same stay again reuses its identity and asks before writing.
    struct PendingBatch
    {
        QString identity;
        QString lines;
    };
    std::optional<PendingBatch> m_pending;
};

} // namespace kestrel
