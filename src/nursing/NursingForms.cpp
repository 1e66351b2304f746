// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/NursingForms.h"

#include "core/db/Database.h"

namespace kestrel::nursing {

namespace {

const QString kNotificatioin = QStringLiteral("Notificatioin");

// The longest typed narrative a form keeps (spiritual preparation, remarks of the evaluation).
constexpr int kNarrative = 2000;

FormColumn text(const char *name, const char *label, int maxLength = 250)
{
    return {QString::fromLatin1(name), QString::fromLatin1(label), maxLength, 0};
}

FormColumn list(const char *name, const char *label, qsizetype controls, int maxLength = 250)
{
    return {QString::fromLatin1(name), QString::fromLatin1(label), maxLength, int(controls)};
}

// The scheduled operation every checklist opens with.
QList<FormColumn> operationColumns()
{
    return {text("Surgeon", "Surgeon"), text("Anesthesiologist", "Anesthesiologist"),
            text("TimeSched", "Time Scheduled", 20), text("DateSched", "Date Scheduled", 20)};
}

} // namespace

Result<std::optional<PatientHeading>> patientHeading(Database &db, const QString &hospNum)
{
    auto row = db.selectOne(u"select LastName, FirstName, MiddleName, BirthDate "
                            u"from PATIENT_DATA..tbMaster where HospNum = :hosp",
                            {{QStringLiteral("hosp"), hospNum.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<PatientHeading>();
    const Row &r = **row;
    PatientHeading h;
    h.name = QString(r.trimmed(u"LastName") + u", " + r.trimmed(u"FirstName") + u' ' +
                     r.trimmed(u"MiddleName"))
                 .trimmed();
    h.birthDate = r.dateTime(u"BirthDate").date();
    return std::optional<PatientHeading>(h);
}

QString wardDateTime(const QDateTime &when)
{
    return when.isValid() ? when.toString(QStringLiteral("MM/dd/yyyy hh:mm AP")) : QString();
}

QDateTime fromWardDateTime(const QString &text)
{
    return QDateTime::fromString(text.trimmed(), QStringLiteral("MM/dd/yyyy hh:mm AP"));
}

QList<FormItem> yesNoItems(const QList<ChecklistLine> &lines, const QStringList &answers,
                           const QStringList &remarks)
{
    QList<FormItem> out;
    for (int i = 0; i < lines.size(); ++i) {
        FormItem item;
        item.section = lines.at(i).section;
        item.label = lines.at(i).label;
        item.answer = answers.value(i);
        item.remark = remarks.value(i);
        out << item;
    }
    return out;
}

namespace preop {

const QList<ChecklistLine> &lines()
{
    static const QList<ChecklistLine> items = {
        {{}, QStringLiteral("1. Consent for Operation Signed")},
        {{}, QStringLiteral("2. Operative Area Prepared:")},
        {{}, QStringLiteral("3. Cleaning Edema Done by:")},
        {{}, QStringLiteral("4. Voided Freely or Cathetherized:")},
        {{}, QStringLiteral("5. Clothing Prepared:")},
        {{}, QStringLiteral("6. Head Covered with Towel:")},
        {QStringLiteral("7. Removal of:"), QStringLiteral("A. Dentures")},
        {QStringLiteral("7. Removal of:"), QStringLiteral("B. Hairpins")},
        {QStringLiteral("7. Removal of:"), QStringLiteral("C. Jewelry && Accs.")},
        {QStringLiteral("7. Removal of:"), QStringLiteral("D. Nail Polish")},
        {QStringLiteral("8. Laboratory Reports"), QStringLiteral("A. Blood Report")},
        {QStringLiteral("8. Laboratory Reports"), QStringLiteral("B. Urine Report")},
        {QStringLiteral("8. Laboratory Reports"), QStringLiteral("C. X-ray Report")},
        {QStringLiteral("8. Laboratory Reports"), QStringLiteral("D. ECG")},
        {QStringLiteral("8. Laboratory Reports"), QStringLiteral("E. Miscellaneous")},
        {{}, QStringLiteral("9. History & P.E Done:")},
        {{}, QStringLiteral("10. Blood Pressure Taken")},
        {{}, QStringLiteral("11. NPO")},
        {{}, QStringLiteral("12. Temperature/Pulse Rate/Respiratory")},
        {{}, QStringLiteral("13. Pre-Operative Medication Administer")},
    };
    return items;
}

const QStringList &signs()
{
    static const QStringList names = {QStringLiteral("BP"), QStringLiteral("Temp."),
                                      QStringLiteral("PR"), QStringLiteral("RR")};
    return names;
}

const QStringList &signers()
{
    static const QStringList names = {
        QStringLiteral("Prepared For O.R. By:"), QStringLiteral("Received By:"),
        QStringLiteral("Clinical Instructor:"), QStringLiteral("Staff Nurse:"),
        QStringLiteral("Unit Manager:")};
    return names;
}

FormDefinition definition()
{
    FormDefinition s;
    s.formName = QStringLiteral("frmNursePreopChecklist");
    s.caption = QStringLiteral("Nurse Pre-Operative Checklist Entry");
    s.table = QStringLiteral("STATION..tbNursePreOp");
    s.saveProcedure = QStringLiteral("STATION..Nurse_SavePreOp");
    s.columns = operationColumns();
    s.columns << text("ByWhom", "By Whom:") << text("Operation", "Operation to be performed")
              << text("Spiritual", "Spiritual/Psychological Preparation:", kNarrative)
              << list("Remarks", "Remarks", lines().size())
              << list("Signs", "Vital Signs", signs().size(), 20)
              << list("Medicine", "MEDICINE", kMedicationRows)
              << list("Dose", "DOSE", kMedicationRows, 50)
              << list("Time", "TIME", kMedicationRows, 20)
              << list("YesNo", "YES/NO", lines().size(), 3)
              << list("Signers", "Signers", signers().size());
    s.report = QStringLiteral("NursePreOp.rpt");
    s.reportTitle = QStringLiteral("Physician's Order Sheet");
    s.messages.saveQuestion = QStringLiteral("Do you want to save Nurse Pre-Operative Checklist?");
    s.messages.saved = QStringLiteral("Nurse Pre-Operative Checklist successfully saved.");
    s.messages.deleteQuestion = QStringLiteral("Are you sure you want to delete Nurse's "
                                               "Pre-Operative Checklist record for this patient?");
    s.messages.deleted = QStringLiteral("Nurse's Pre-Operative Checklist record deleted.");
    s.messages.deleteLog = QStringLiteral("DELETE NURSE PRE-OP");
    s.itemForm = QStringLiteral("PREOP");
    s.items = [](const FormRecord &r) {
        QList<FormItem> out =
            yesNoItems(lines(), r.list(QStringLiteral("YesNo")), r.list(QStringLiteral("Remarks")));
        // The medicines given (those written), the vital signs and the signatures print
        // below the items.
        const QStringList meds = r.list(QStringLiteral("Medicine"));
        const QStringList doses = r.list(QStringLiteral("Dose"));
        const QStringList times = r.list(QStringLiteral("Time"));
        for (int i = 0; i < kMedicationRows; ++i) {
            if (!meds.value(i).trimmed().isEmpty())
                out << FormItem{
                    kMedicineSection, meds.value(i), doses.value(i), times.value(i), {}, {}, false};
        }
        const QStringList taken = r.list(QStringLiteral("Signs"));
        for (int i = 0; i < signs().size(); ++i)
            out << FormItem{kSignsSection, signs().at(i), taken.value(i), {}, {}, {}, false};
        const QStringList names = r.list(QStringLiteral("Signers"));
        for (int i = 0; i < signers().size(); ++i)
            out << FormItem{kSignersSection, signers().at(i), names.value(i), {}, {}, {}, false};
        return out;
    };
    return s;
}

} // namespace preop

namespace preanesthetic {

const QList<ChecklistLine> &lines()
{
    const QString history = QStringLiteral("HISTORY");
    const QString airway = QStringLiteral("AIRWAY");
    const QString readiness = QStringLiteral("READINESS");
    static const QList<ChecklistLine> items = {
        {history, QStringLiteral("Previous operation")},
        {history, QStringLiteral("Previous anesthesia")},
        {history, QStringLiteral("Untoward reaction to anesthesia (patient or family)")},
        {history, QStringLiteral("Hypertension")},
        {history, QStringLiteral("Heart disease")},
        {history, QStringLiteral("Asthma / lung disease")},
        {history, QStringLiteral("Diabetes")},
        {history, QStringLiteral("Kidney or liver disease")},
        {history, QStringLiteral("Bleeding tendency")},
        {history, QStringLiteral("Known allergy")},
        {history, QStringLiteral("Smoker / alcohol intake")},
        {airway, QStringLiteral("Dentures or loose teeth")},
        {airway, QStringLiteral("Limited mouth opening or neck movement")},
        {airway, QStringLiteral("Expected difficult airway")},
        {readiness, QStringLiteral("NPO since midnight")},
        {readiness, QStringLiteral("Consent for anesthesia signed")},
        {readiness, QStringLiteral("Blood available")},
    };
    return items;
}

const QStringList &boxes()
{
    static const QStringList names = {
        QStringLiteral("ASA I"),           QStringLiteral("ASA II"),
        QStringLiteral("ASA III"),         QStringLiteral("ASA IV"),
        QStringLiteral("ASA V"),           QStringLiteral("Emergency"),
        QStringLiteral("General"),         QStringLiteral("Spinal"),
        QStringLiteral("Epidural"),        QStringLiteral("Regional block"),
        QStringLiteral("Local / sedation")};
    return names;
}

const QStringList &findings()
{
    static const QStringList names = {
        QStringLiteral("Weight (kg)"),          QStringLiteral("Blood pressure"),
        QStringLiteral("Pulse rate"),           QStringLiteral("Hemoglobin"),
        QStringLiteral("Blood type"),           QStringLiteral("Current medications"),
        QStringLiteral("Premedication ordered")};
    return names;
}

FormDefinition definition()
{
    FormDefinition s;
    s.formName = QStringLiteral("frmPreAnesthetic");
    s.caption = QStringLiteral("Pre-Anesthetic Evaluation");
    s.table = QStringLiteral("STATION..tbNursePreAnesthetic");
    s.saveProcedure = QStringLiteral("STATION..Nurse_PreAnes");
    s.columns = operationColumns();
    s.columns << text("Operation", "Operation")
              << list("PreOperative", "Pre-Operative Assessment", findings().size())
              << text("Remarks", "Remarks", kNarrative)
              << list("OtherBoxes", "Classification and Plan", boxes().size(), 1)
              << list("YesNo", "YES/NO", lines().size(), 3);
    s.report = QStringLiteral("PreAnesthetic.rpt");
    s.reportTitle = QStringLiteral("Pre-Anesthetic Evaluation");
    s.messages.saveQuestion = QStringLiteral("Do you want to save Pre-Anesthetic evaluation "
                                             "record?");
    s.messages.saved = QStringLiteral("Pre-Anesthetic evaluation successfully saved.");
    s.messages.savedTitle = kNotificatioin;
    s.messages.deleteQuestion = QStringLiteral("Are you sure you want to delete Preanesthetic "
                                               "Evaluation record for this patient?");
    s.messages.deleted = QStringLiteral("Pre-Anesthetic evaluation record successfully deleted.");
    s.messages.deleteLog = QStringLiteral("Deleted Preanesthetic Evaluation");
    s.itemForm = QStringLiteral("PREANES");
    s.items = [](const FormRecord &r) {
        QList<FormItem> out = yesNoItems(lines(), r.list(QStringLiteral("YesNo")), {});
        const QStringList typed = r.list(QStringLiteral("PreOperative"));
        for (int i = 0; i < findings().size(); ++i)
            out << FormItem{QStringLiteral("PRE-OPERATIVE ASSESSMENT"),
                            findings().at(i),
                            typed.value(i),
                            {},
                            {},
                            {},
                            false};
        const QStringList ticked = r.list(QStringLiteral("OtherBoxes"));
        for (int i = 0; i < boxes().size(); ++i) {
            if (ticked.value(i) == u"1")
                out << FormItem{QStringLiteral("CLASSIFICATION AND PLAN"),
                                boxes().at(i),
                                QStringLiteral("X"),
                                {},
                                {},
                                {},
                                false};
        }
        return out;
    };
    return s;
}

} // namespace preanesthetic

namespace labour {

FormDefinition definition()
{
    FormDefinition s;
    s.formName = QStringLiteral("frmLRForm");
    s.caption = QStringLiteral("Labor Room Form");
    s.table = QStringLiteral("STATION..tbLRForm");
    s.saveProcedure = QStringLiteral("STATION..SaveLRForm");
    s.columns = {text("Gravida", "Gravida", 2),
                 text("Para", "Para", 2),
                 text("DTAdmittedLR", "Date/Time Admitted to Labor Room", 20),
                 text("DTAdmittedDR", "Date/Time Admitted to Delivery Room", 20),
                 text("NotifiedBy", "Notified By"),
                 text("receivedby", "Received By")};
    s.report = QStringLiteral("LaborRoomForm.rpt");
    s.reportTitle = QStringLiteral("Labor Room Form");
    s.messages.saveQuestion = QStringLiteral("Do you want to save Labor Room Form?");
    s.messages.saved = QStringLiteral("Labor Room Form successfully saved.");
    s.messages.savedTitle = kNotificatioin;
    s.messages.deleteQuestion = QStringLiteral("Are you sure you want to delete Labor Room Form "
                                               "record?");
    s.messages.deleted = QStringLiteral("Labor Room Form record successfully deleted.");
    s.messages.deleteLog = QStringLiteral("Deleted Labor Room Form");
    s.check = [](const FormRecord &r) -> std::optional<QString> {
        bool gravidaOk = false, paraOk = false;
        const int gravida = r.text(QStringLiteral("Gravida")).trimmed().toInt(&gravidaOk);
        const int para = r.text(QStringLiteral("Para")).trimmed().toInt(&paraOk);
        if (!gravidaOk || !paraOk || gravida < 1 || para < 0 || para > gravida || gravida > 30)
            return QStringLiteral("Please enter gravida (1 to 30) and para (0 up to the "
                                  "gravida) as whole numbers.");
        const QDateTime labour = fromWardDateTime(r.text(QStringLiteral("DTAdmittedLR")));
        const QDateTime delivery = fromWardDateTime(r.text(QStringLiteral("DTAdmittedDR")));
        if (!labour.isValid())
            return QStringLiteral("Please enter the date and time the patient was admitted to "
                                  "the labor room.");
        if (delivery.isValid() && delivery < labour)
            return QStringLiteral("The patient was admitted to the delivery room before the "
                                  "labor room. Please check the dates and times.");
        return std::nullopt;
    };
    return s;
}

} // namespace labour

} // namespace kestrel::nursing
