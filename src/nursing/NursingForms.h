// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/NursingForm.h"

#include <QDate>

namespace kestrel::nursing {

/// One line of a checklist's item list: the part it belongs to (empty for none) and its text.
struct ChecklistLine
{
    QString section;
    QString label;
};

/// The nurse's pre-operative checklist, "Nurse Pre-Operative Checklist Entry".
namespace preop {
/// The item list, in the order of the YES/NO pairs and the remarks.
const QList<ChecklistLine> &lines();
inline constexpr int kMedicationRows = 4;
/// The parts of the printed lines below the items.
inline const QString kMedicineSection = QStringLiteral("MEDICINE DOSE TIME");
inline const QString kSignsSection = QStringLiteral("VITAL SIGNS");
inline const QString kSignersSection = QStringLiteral("SIGNATURES");
/// The vital signs taken before the patient goes to the OR.
const QStringList &signs();
/// The nurses who sign the checklist, in the order of the form.
const QStringList &signers();
FormDefinition definition();
} // namespace preop

/// The pre-anaesthetic evaluation, "Pre-Anesthetic Evaluation".
namespace preanesthetic {
/// The YES/NO questions of the evaluation.
const QList<ChecklistLine> &lines();
/// The tick boxes of the findings (OtherBoxes).
const QStringList &boxes();
/// The typed findings of the pre-operative assessment (PreOperative).
const QStringList &findings();
FormDefinition definition();
} // namespace preanesthetic

/// A date and time as the forms keep them in text, "MM/dd/yyyy hh:mm AM".
QString wardDateTime(const QDateTime &when);
/// The date and time of such a text; invalid when it is none.
QDateTime fromWardDateTime(const QString &text);

/// The labour room form, "Labor Room Form": gravida and para, when the mother was admitted to
/// the labour room and to the delivery room, who notified and who received her.
namespace labour {
FormDefinition definition();
} // namespace labour

/// The patient of a stay as the evaluation's heading shows him: "LASTNAME, FIRSTNAME MIDDLENAME"
/// and the birth date (invalid when unknown).
struct PatientHeading
{
    QString name;
    QDate birthDate;
};
/// The heading of the patient `hospNum`; nullopt when there is no such patient.
Result<std::optional<PatientHeading>> patientHeading(Database &db, const QString &hospNum);

/// The answers a YES/NO pair gives: "YES", "NO" or nothing.
inline const QString kYes = QStringLiteral("YES");
inline const QString kNo = QStringLiteral("NO");

/// The lines of a YES/NO list as printed: each line's answer and remark.
QList<FormItem> yesNoItems(const QList<ChecklistLine> &lines, const QStringList &answers,
                           const QStringList &remarks);

} // namespace kestrel::nursing
