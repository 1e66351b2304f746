// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/CurrentPatient.h"
#include "core/db/Error.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

namespace kestrel {

class Database;
class ReportService;
class Session;

namespace nursing {

class NursingForm;

/// The separator between the answers of a control group kept in one column: the values of the
/// group's controls in index order joined with ":;" (two characters).
inline constexpr QStringView kAnswerSeparator = u":;";

/// The answers of a group joined for their column. An answer holding the separator cannot be
/// kept this way without moving every later answer one control on; the forms refuse such an
/// answer before anything is written (see NursingForm::save), so the stored text stays what
/// the hospital's other programs read: plain answers between separators, nothing escaped.
QString joinAnswers(const QStringList &answers);
/// The stored column split back onto `controls` controls: the n-th value goes to the n-th
/// control; missing values are empty and values beyond the last control are dropped.
QStringList splitAnswers(const QString &stored, int controls);

/// "LastName, FirstName", as the forms show a doctor picked with the doctor search.
QString doctorDisplayName(const QString &lastName, const QString &firstName);

/// One column a form writes, in the order its save procedure takes them after the IdNum.
struct FormColumn
{
    QString name;
    /// The texts the user reads in messages about this column ("Remarks").
    QString label;
    /// The longest text the column takes; a longer one is refused with a message.
    int maxLength = 250;
    /// How many controls share the column as a ":;" list; 0 for a plain text.
    int controls = 0;
};

/// The texts a member form shows around its actions.
struct FormMessages
{
    QString saveQuestion; ///< "Do you want to save ...?"
    QString saved;        ///< "... successfully saved."
    QString savedTitle = QStringLiteral("Notification");
    QString deleteQuestion;
    QString deleted;
    QString deleteLog; ///< the station log's remark for a delete
    /// When set, a failed re-validation ends the save with this text; when empty the save
    /// question is asked again, saying that the entered data will not be saved.
    QString invalidUser;
};

/// One line of a checklist as printed, and (for the surgical safety checklist) who answered it
/// and when. Kept one row per item beside the form's own columns, in the same transaction.
struct FormItem
{
    QString section; ///< the part of the form ("SIGN IN"); empty for one-part lists
    QString label;
    QString answer;
    QString remark;
    QString answeredBy;   ///< employee code
    QDateTime answeredAt; ///< server time
    bool late = false;    ///< answered after its part of the form was completed
    bool operator==(const FormItem &) const = default;
};

/// A form's record: its plain texts and its ":;" lists, by column.
class FormRecord
{
public:
    QString text(const QString &column) const { return m_texts.value(column); }
    void setText(const QString &column, const QString &value) { m_texts.insert(column, value); }
    QStringList list(const QString &column) const { return m_lists.value(column); }
    void setList(const QString &column, const QStringList &values)
    {
        m_lists.insert(column, values);
    }
    bool operator==(const FormRecord &) const = default;

private:
    QHash<QString, QString> m_texts;
    QHash<QString, QStringList> m_lists;
};

/// Everything that makes one nursing form of the shared pattern: its table and save procedure,
/// its columns, its texts, its report and the rules of its own.
struct FormDefinition
{
    QString formName; ///< "frmNursePreopChecklist"
    QString caption;
    QString table;         ///< "STATION..tbNursePreOp", one record per IdNum
    QString saveProcedure; ///< called with the IdNum, every column in order, and the user
    QList<FormColumn> columns;
    QString report; ///< the definition file, passed the IdNum
    QString reportTitle;
    FormMessages messages;
    /// The key of the form's printed lines in STATION..tbNurseFormItem; empty for none.
    QString itemForm;
    /// The printed lines of a record (the store keeps them for the report).
    std::function<QList<FormItem>(const FormRecord &)> items;
    /// A rule of the form's own checked before the save question; the message, or nullopt.
    std::function<std::optional<QString>(const FormRecord &)> check;
    /// The values the report is opened with; unset: the IdNum alone.
    std::function<QVariantList(const NursingForm &)> reportValues;

    const FormColumn *column(const QString &name) const;
};

/// Reads and writes the records of a form. Every write is one transaction, tried again whole
/// while another workstation holds the record (lock conflicts only, by the database's code).
class FormStore
{
public:
    FormStore(Database &db, const FormDefinition &definition)
        : m_db(db)
        , m_definition(definition)
    {
    }

    /// The stay's record; nullopt when none was saved.
    Result<std::optional<FormRecord>> load(const QString &idNum);
    /// The stay's printed lines, in order.
    Result<QList<FormItem>> items(const QString &idNum);
    /// Replaces the stay's record (and its lines) by `record`, saved by `user`.
    Result<void> save(const QString &idNum, const FormRecord &record, const QString &user);
    /// Deletes the stay's record and its lines and logs `logText`; false when there was none.
    Result<bool> remove(const QString &idNum, const QString &user, const QString &station);

private:
    Result<void> writeItems(const QString &idNum, const QList<FormItem> &items);
    Result<void> inTransaction(const std::function<Result<void>()> &write);

    Database &m_db;
    const FormDefinition &m_definition;
};

/// The presenter every nursing form of the pattern uses: it opens the current stay's record,
/// takes what the window typed, and saves (question, re-validation, replace), deletes
/// (question, delete and log), prints and closes with the form's own texts.
class NursingForm
{
public:
    NursingForm(Session &session, ReportService *reports, FormDefinition definition);
    NursingForm(const NursingForm &) = delete;
    NursingForm &operator=(const NursingForm &) = delete;

    const FormDefinition &definition() const { return m_definition; }
    /// Reads the stay's record; "Please select patient." when no stay is selected.
    bool open(const CurrentPatientRecord &stay);
    QString idNum() const { return m_stay.IdNum.trimmed(); }
    const CurrentPatientRecord &stay() const { return m_stay; }
    bool isSaved() const { return m_saved; }
    /// The printed lines as saved with the record (empty when none were).
    const QList<FormItem> &savedItems() const { return m_savedItems; }

    const FormRecord &record() const { return m_record; }
    void setRecord(const FormRecord &record);
    void setText(const QString &column, const QString &value);
    void setList(const QString &column, const QStringList &values);
    bool isChanged() const { return m_changed; }

    /// Why the typed record cannot be saved as it is (an answer holding ":;", a text too long
    /// for its column, the form's own rule); nullopt when it can.
    std::optional<QString> refusal() const;
    bool save();
    bool remove();
    bool print();
    /// The window asks to close; false keeps it open (an unsaved record offered for saving
    /// and not saved).
    bool closeRequested();

    /// The employee who signed the last save (re-validation).
    QString signer() const { return m_signer; }

private:
    enum class SaveOutcome { Saved, Declined, Failed };
    /// Asks the form's question and saves; a failed re-validation asks again, saying that
    /// the entered data will not be saved, until the user signs or declines.
    SaveOutcome saveAsking();

    Session &m_session;
    ReportService *m_reports;
    FormDefinition m_definition;
    FormStore m_store;
    CurrentPatientRecord m_stay;
    FormRecord m_record;
    QList<FormItem> m_savedItems;
    QString m_signer;
    bool m_saved = false;
    bool m_changed = false;
};

} // namespace nursing
} // namespace kestrel
