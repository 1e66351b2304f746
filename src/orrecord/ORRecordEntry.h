// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/Dialogs.h"
#include "orrecord/ORCounts.h"
#include "orrecord/ORRecord.h"
#include "orrecord/ORRecordStore.h"
#include "orrecord/ORSignature.h"

#include <QHash>
#include <QObject>
#include <QSet>

namespace kestrel {

class ReportService;
class Session;

/// The patient header of the record window.
struct ORRecordHeader
{
    QString idNum;
    QString hospNum;
    QString patientName;
    QString sex;
    QString age;
    QString birthDate;
    QString room;
    QString admitted;
    QString discharged;
    QString doctors[3];
    QString patientClass; ///< "I" or "O"
};

/// What the window is opened with: the posted OR procedure charge and its record.
struct OROpening
{
    QString hospNum;
    QString idNum;
    QString refNum;
    qint64 operatingNum = 0;
    QString procedureId;
    QString procedureName;
    QString clinicalRevenueId;
};

/// What a window keeps beside the OR record and with it: its own checks after the record's,
/// what it reads with the record and what it writes in the record's transaction.
class ORRecordPart
{
public:
    virtual ~ORRecordPart() = default;
    /// The first refusal of the window's own fields, checked after the record's checks.
    virtual std::optional<ORRefusal> check(const ORRecord &record) const = 0;
    /// Reads what belongs to record `operatingNum` (0: a new record).
    virtual Result<void> read(qint64 operatingNum) = 0;
    /// Writes it for record `operatingNum` inside the save's transaction.
    virtual Result<void> write(qint64 operatingNum, const ORRecord &record,
                               const QString &employeeCode) = 0;
    virtual bool isModified() const = 0;
};

/// The OR record of one operation, as its window works with it without widgets: the fields,
/// the checks and the save, the signatures of the five roles, printing, reset and closing.
class ORRecordEntry : public QObject
{
    Q_OBJECT

public:
    /// The full record ("Operation Procedures Entry"), the reduced one with the count grids, or
    /// the record as a surgical memorandum ("Surgical Procedures Entry").
    enum class Layout { Chart, ChartWithCounts, SurgicalMemo };

    ORRecordEntry(Session &session, Layout layout = Layout::Chart, QObject *parent = nullptr);
    ~ORRecordEntry() override;

    Layout layout() const { return m_layout; }
    const ORRecordSwitches &switches() const { return m_switches; }
    void setReportService(ReportService *reports) { m_reports = reports; }
    /// The window's own part of the record, read, checked and saved with it.
    void setPart(ORRecordPart *part) { m_part = part; }
    Session &session() { return m_session; }

    /// Reads the stay and the record; false (and the error box) when the database fails.
    bool open(const OROpening &opening);
    const OROpening &opening() const { return m_opening; }
    const ORRecordHeader &header() const { return m_header; }
    /// The number of the record in edit; 0 while it is new.
    qint64 operatingNum() const { return m_operatingNum; }
    /// The procedure of the posted charge, as the window's caption shows it.
    QString procedureCaption() const { return m_opening.procedureName; }
    bool procedureLocked() const { return !m_switches.clinicalOperationWithNoPostCharge; }

    const ORRecord &record() const { return m_record; }
    /// The window writes every edit here.
    ORRecord &edit() { return m_record; }
    QString nameOf(const QString &nameColumn) const { return m_names.value(nameColumn); }
    QStringList rooms() const { return m_rooms; }
    QStringList categories() const { return categoryChoices(m_switches); }
    /// The narrative tabs' captions for this hospital.
    QStringList narrativeCaptions() const;
    /// "RVS" or "RUV", as the hospital calls the scale.
    QString scaleWord() const
    {
        return m_switches.ruvText ? QStringLiteral("RUV") : QStringLiteral("RVS");
    }

    /// The look-ups of the window: a doctor, a nurse, an OR procedure or an anaesthesia type,
    /// the RVS code.
    ORRecordStore &store() { return m_store; }
    /// A picked person or code: its code in `column` and its name for display.
    void setPicked(const QString &column, const QString &code, const QString &name);
    QString rvsDescription() const { return m_rvsDescription; }
    QString rvsPoints() const { return m_rvsPoints; }
    void setRvs(const QString &code, const QString &description, const QString &points);

    /// The counts of the grids (reduced layout).
    const QList<ORCountLine> &counts() const { return m_counts; }
    void setCounts(const QList<ORCountLine> &counts) { m_counts = counts; }
    QStringList discrepancies() const { return countDiscrepancies(m_counts); }

    /// Save: the checks, the user's validation, right 36, one transaction. True when saved.
    /// Whatever fails, every field stays as typed.
    bool save();
    /// The refusal of the last save, for the focus.
    const std::optional<ORRefusal> &lastRefusal() const { return m_refusal; }

    bool isSigned(ORRole role) const { return m_signedBy.contains(role); }
    bool signaturesEnabled() const { return m_switches.showSignature && m_operatingNum != 0; }
    /// Signs `role` for the user the validation window answers.
    bool sign(ORRole role);
    /// Enter in a signed person's field: asks whether to change him and clears the signature
    /// on Yes. False when the nurse keeps the signed person (the search does not run).
    bool confirmChangeOf(ORRole role);
    /// The role whose person field is `column`, if that role signs.
    static std::optional<ORRole> roleOfField(QStringView column);

    /// "&Print": the signatures first when they are shown, then the record.
    bool print();
    /// "&Anesthesia Record", or the record of the operation with its counts in the reduced
    /// layout.
    bool printSecond();
    /// "&Reset": deletes the saved record after a confirmation, validation and right 37.
    bool reset();
    /// Whether the window may close: asks, mentioning unsaved changes when there are any.
    bool confirmClose();
    bool isModified() const;

    /// A look-up the database refused: the shared error box.
    void reportError(const Error &error) { fail(error); }

    /// The operation techniques' length warning for the current text.
    QString techniqueWarningText() const;

Q_SIGNALS:
    /// The record was read, saved, signed or reset: the window shows it again.
    void changed();

private:
    bool loadRecord();
    bool fail(const Error &error);
    void refuse(const QString &message);
    std::optional<ValidatedUser> validateForSave();
    /// Opens and shows a report of the saved record; `noRecord` while there is none.
    bool openAndShow(const QString &file, const QString &title, const QString &logText,
                     const QString &noRecord);
    void log(const QString &text);

    Session &m_session;
    Layout m_layout;
    ORRecordStore m_store;
    ORRecordSwitches m_switches;
    ReportService *m_reports = nullptr;
    ORRecordPart *m_part = nullptr;
    OROpening m_opening;
    ORRecordHeader m_header;
    qint64 m_operatingNum = 0;
    ORRecord m_record;
    ORRecord m_saved;
    QList<ORCountLine> m_counts;
    QList<ORCountLine> m_savedCounts;
    QHash<QString, QString> m_names;
    QHash<ORRole, QString> m_signedBy;
    QStringList m_rooms;
    QString m_rvsDescription;
    QString m_rvsPoints;
    std::optional<ORRefusal> m_refusal;
};

} // namespace kestrel
