// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/NursingForm.h"

#include "core/db/Database.h"
#include "core/db/WriteTransaction.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "reports/ReportService.h"

#include <QLocale>

namespace kestrel::nursing {

namespace {

const QString kConfirmation = QStringLiteral("Confirmation");
const QString kNotification = QStringLiteral("Notification");
const QString kId = QStringLiteral("id");
const QString kForm = QStringLiteral("form");

} // namespace

QString joinAnswers(const QStringList &answers)
{
    return answers.join(kAnswerSeparator);
}

QStringList splitAnswers(const QString &stored, int controls)
{
    QStringList values =
        stored.isEmpty() ? QStringList() : stored.split(kAnswerSeparator.toString());
    if (values.size() > controls)
        values.resize(controls);
    while (values.size() < controls)
        values << QString();
    return values;
}

QString doctorDisplayName(const QString &lastName, const QString &firstName)
{
    const QString last = lastName.trimmed();
    const QString first = firstName.trimmed();
    if (first.isEmpty())
        return last;
    return last + u", " + first;
}

const FormColumn *FormDefinition::column(const QString &name) const
{
    for (const FormColumn &c : columns) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------

Result<void> FormStore::inTransaction(const std::function<Result<void>()> &write)
{
    return inWriteTransaction(m_db, write);
}

Result<std::optional<FormRecord>> FormStore::load(const QString &idNum)
{
    // The table's name is the form's own, never typed by a user.
    auto row = m_db.selectOne(QString(u"select * from " + m_definition.table + u" where IdNum = :id"),
                              {{kId, idNum.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<FormRecord>();
    FormRecord record;
    for (const FormColumn &c : m_definition.columns) {
        const QString stored = (*row)->text(c.name);
        if (c.controls > 0)
            record.setList(c.name, splitAnswers(stored, c.controls));
        else
            record.setText(c.name, stored);
    }
    return std::optional<FormRecord>(record);
}

Result<QList<FormItem>> FormStore::items(const QString &idNum)
{
    QList<FormItem> out;
    if (m_definition.itemForm.isEmpty())
        return out;
    auto rows = m_db.select(u"select Section, Item, Answer, Remarks, AnsweredBy, AnsweredAt, Late "
                            u"from STATION..tbNurseFormItem where FormID = :form and IdNum = :id "
                            u"order by ItemNo",
                            {{kForm, m_definition.itemForm}, {kId, idNum.trimmed()}});
    if (!rows)
        return tl::unexpected(rows.error());
    for (const Row &r : *rows) {
        out << FormItem{r.text(u"Section"), r.text(u"Item"),          r.text(u"Answer"),
                        r.text(u"Remarks"), r.trimmed(u"AnsweredBy"), r.dateTime(u"AnsweredAt"),
                        r.flag(u"Late")};
    }
    return out;
}

Result<void> FormStore::writeItems(const QString &idNum, const QList<FormItem> &items)
{
    auto cleared = m_db.exec(u"delete from STATION..tbNurseFormItem "
                             u"where FormID = :form and IdNum = :id",
                             {{kForm, m_definition.itemForm}, {kId, idNum}});
    if (!cleared)
        return tl::unexpected(cleared.error());
    QList<Binds> rows;
    for (int i = 0; i < items.size(); ++i) {
        const FormItem &item = items.at(i);
        rows << Binds{{kForm, m_definition.itemForm},
                      {kId, idNum},
                      {QStringLiteral("no"), i + 1},
                      {QStringLiteral("section"), item.section},
                      {QStringLiteral("item"), item.label},
                      {QStringLiteral("answer"), item.answer},
                      {QStringLiteral("remarks"), item.remark},
                      {QStringLiteral("by"), item.answeredBy},
                      {QStringLiteral("at"), item.answeredAt.isValid()
                                                 ? QVariant(Database::isoText(item.answeredAt))
                                                 : QVariant()},
                      {QStringLiteral("late"), item.late ? 1 : 0}};
    }
    if (rows.isEmpty())
        return {};
    return done(m_db.execMany(
        u"insert into STATION..tbNurseFormItem (FormID, IdNum, ItemNo, Section, Item, Answer, "
        u"Remarks, AnsweredBy, AnsweredAt, Late) values (:form, :id, :no, :section, :item, "
        u":answer, :remarks, :by, :at, :late)",
        rows));
}

Result<void> FormStore::save(const QString &idNum, const FormRecord &record, const QString &user)
{
    const QString id = idNum.trimmed();
    QVariantList args{id};
    for (const FormColumn &c : m_definition.columns)
        args << (c.controls > 0 ? joinAnswers(record.list(c.name)) : record.text(c.name));
    args << user;
    const QList<FormItem> lines = m_definition.items ? m_definition.items(record) : QList<FormItem>();
    return inTransaction([&]() -> Result<void> {
        auto saved = m_db.call(m_definition.saveProcedure, args);
        if (!saved)
            return tl::unexpected(saved.error());
        if (m_definition.itemForm.isEmpty())
            return {};
        return writeItems(id, lines);
    });
}

Result<bool> FormStore::remove(const QString &idNum, const QString &user, const QString &station)
{
    const QString id = idNum.trimmed();
    bool found = false;
    auto removed = inTransaction([&]() -> Result<void> {
        auto deleted =
            m_db.exec(QString(u"delete from " + m_definition.table + u" where IdNum = :id"), {{kId, id}});
        if (!deleted)
            return tl::unexpected(deleted.error());
        found = *deleted > 0;
        if (!found)
            return {};
        if (!m_definition.itemForm.isEmpty()) {
            auto lines = m_db.exec(u"delete from STATION..tbNurseFormItem "
                                   u"where FormID = :form and IdNum = :id",
                                   {{kForm, m_definition.itemForm}, {kId, id}});
            if (!lines)
                return tl::unexpected(lines.error());
        }
        // The log entry belongs to the delete: both land or neither does.
        return done(m_db.exec(u"insert into STATION..tbStationLogs (IdNum, TransDate, Remarks, "
                              u"UserID, HostName, StationID) values (:id, getdate(), :remarks, "
                              u":user, host_name(), :station)",
                              {{kId, id},
                               {QStringLiteral("remarks"), m_definition.messages.deleteLog},
                               {QStringLiteral("user"), user},
                               {QStringLiteral("station"), station}}));
    });
    if (!removed)
        return tl::unexpected(removed.error());
    return found;
}

// ---------------------------------------------------------------------------------------------

NursingForm::NursingForm(Session &session, ReportService *reports, FormDefinition definition)
    : m_session(session)
    , m_reports(reports)
    , m_definition(std::move(definition))
    , m_store(session.db(), m_definition)
{
}

bool NursingForm::open(const CurrentPatientRecord &stay)
{
    Notifier &notifier = m_session.notifier();
    if (!stay.isSelected()) {
        notifier.message(QStringLiteral("Please select patient."), kNotification,
                         Notifier::Icon::Exclamation);
        return false;
    }
    auto loaded = m_store.load(stay.IdNum);
    if (!loaded) {
        notifier.errorBox(loaded.error());
        return false;
    }
    auto lines = m_store.items(stay.IdNum);
    if (!lines) {
        notifier.errorBox(lines.error());
        return false;
    }
    m_savedItems = *lines;
    m_stay = stay;
    m_saved = loaded->has_value();
    m_record = m_saved ? **loaded : FormRecord();
    if (!m_saved) {
        for (const FormColumn &c : m_definition.columns) {
            if (c.controls > 0)
                m_record.setList(c.name, splitAnswers(QString(), c.controls));
            else
                m_record.setText(c.name, QString());
        }
    }
    m_changed = false;
    return true;
}

void NursingForm::setRecord(const FormRecord &record)
{
    if (record == m_record)
        return;
    m_record = record;
    m_changed = true;
}

void NursingForm::setText(const QString &column, const QString &value)
{
    if (m_record.text(column) == value)
        return;
    m_record.setText(column, value);
    m_changed = true;
}

void NursingForm::setList(const QString &column, const QStringList &values)
{
    if (m_record.list(column) == values)
        return;
    m_record.setList(column, values);
    m_changed = true;
}

std::optional<QString> NursingForm::refusal() const
{
    const QLocale english(QLocale::English);
    for (const FormColumn &c : m_definition.columns) {
        if (c.controls > 0) {
            const QStringList answers = m_record.list(c.name);
            for (const QString &answer : answers) {
                if (answer.contains(kAnswerSeparator))
                    return QStringLiteral("An answer of \"%1\" contains \":;\", which the form "
                                          "keeps between its answers. Please write it without "
                                          "\":;\".")
                        .arg(c.label);
                if (answer.size() > c.maxLength)
                    return QStringLiteral("An answer of \"%1\" is %2 characters long; it may "
                                          "hold at most %3.")
                        .arg(c.label, english.toString(answer.size()),
                             english.toString(c.maxLength));
            }
            continue;
        }
        const qsizetype length = m_record.text(c.name).size();
        if (length > c.maxLength)
            return QStringLiteral("\"%1\" is %2 characters long; it may hold at most %3.")
                .arg(c.label, english.toString(length), english.toString(c.maxLength));
    }
    if (m_definition.check)
        return m_definition.check(m_record);
    return std::nullopt;
}

bool NursingForm::save()
{
    return saveAsking() == SaveOutcome::Saved;
}

NursingForm::SaveOutcome NursingForm::saveAsking()
{
    Notifier &notifier = m_session.notifier();
    if (!m_stay.isSelected()) {
        notifier.message(QStringLiteral("Please select patient."), kNotification,
                         Notifier::Icon::Exclamation);
        return SaveOutcome::Failed;
    }
    if (const auto refused = refusal()) {
        notifier.message(*refused, kNotification, Notifier::Icon::Exclamation);
        return SaveOutcome::Failed;
    }
    QString question = m_definition.messages.saveQuestion;
    ValidatedUser user;
    for (;;) {
        if (!notifier.confirm(question, kConfirmation))
            return SaveOutcome::Declined;
        user = m_session.dialogs().validateUser();
        if (user.isValid())
            break;
        if (!m_definition.messages.invalidUser.isEmpty()) {
            notifier.message(m_definition.messages.invalidUser, kNotification,
                             Notifier::Icon::Exclamation);
            return SaveOutcome::Failed;
        }
        question = m_definition.messages.saveQuestion + QStringLiteral("\r\nEntered data will not be "
                                                                 "saved! ");
    }
    m_session.validated = user;
    auto saved = m_store.save(idNum(), m_record, user.code);
    if (!saved) {
        notifier.errorBox(saved.error());
        return SaveOutcome::Failed;
    }
    m_signer = user.code;
    m_saved = true;
    m_changed = false;
    notifier.message(m_definition.messages.saved, m_definition.messages.savedTitle,
                     Notifier::Icon::Information);
    return SaveOutcome::Saved;
}

bool NursingForm::remove()
{
    Notifier &notifier = m_session.notifier();
    if (!m_stay.isSelected()) {
        notifier.message(QStringLiteral("Please select patient."), kNotification,
                         Notifier::Icon::Exclamation);
        return false;
    }
    if (!notifier.confirm(m_definition.messages.deleteQuestion, kConfirmation, Notifier::Icon::Question,
                          Notifier::Answer::No))
        return false;
    auto removed = m_store.remove(idNum(), m_session.employeeCode(), m_session.StationID);
    if (!removed) {
        notifier.errorBox(removed.error());
        return false;
    }
    if (!*removed) {
        notifier.message(QStringLiteral("There is no saved record of this form for the patient."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (!open(m_stay))
        return false;
    notifier.message(m_definition.messages.deleted, m_definition.messages.savedTitle,
                     Notifier::Icon::Information);
    return true;
}

bool NursingForm::print()
{
    Notifier &notifier = m_session.notifier();
    if (!m_stay.isSelected()) {
        notifier.message(QStringLiteral("Please select patient."), kNotification,
                         Notifier::Icon::Exclamation);
        return false;
    }
    if (!m_saved || m_changed) {
        notifier.message(QStringLiteral("Please save the form before printing it."), kNotification,
                         Notifier::Icon::Exclamation);
        return false;
    }
    const QVariantList values =
        m_definition.reportValues ? m_definition.reportValues(*this) : QVariantList{idNum()};
    if (!m_reports || !m_reports->OpenReport(m_definition.report, values))
        return false;
    return m_reports->ShowReport(false, m_definition.reportTitle) != ReportService::Shown::Nothing;
}

bool NursingForm::closeRequested()
{
    if (!m_changed)
        return true;
    // Declining the question closes without saving; a save that fails keeps the window open.
    return saveAsking() != SaveOutcome::Failed;
}

} // namespace kestrel::nursing
