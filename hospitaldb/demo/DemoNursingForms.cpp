// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR nurses' checklists of the patients in the wards: pre-operative checklists filled and
// one half done, surgical safety checklists at every stage (one complete with an answer changed
// after its pause, one in its time out, one just begun), two pre-anaesthetic evaluations and
// the labour room form of a mother.
#include "hospitaldb/demo/DemoBuilder.h"
#include "hospitaldb/demo/DemoLists.h"

#include "nursing/NursingForms.h"
#include "nursing/SurgicalSafety.h"

namespace kestrel::hospitaldb::demo {

namespace {

using namespace kestrel::nursing;

QString surgeonName(const QString &id)
{
    for (const Doctor &d : allDoctors()) {
        if (d.id == id)
            return doctorDisplayName(d.lastName, d.firstName).toUpper();
    }
    const Doctor &first = allDoctors().value(0);
    return doctorDisplayName(first.lastName, first.firstName).toUpper();
}

QString anesthesiologistName(int n)
{
    const QStringList ids = doctorsIn(u"ANESTHESIOLOGY");
    const QString id = ids.isEmpty() ? QString() : ids.at(n % ids.size());
    return surgeonName(id);
}

// A form's table with its columns as the save procedure writes them.
QStringList columnsOf(const FormDefinition &definition)
{
    QStringList columns{QStringLiteral("IdNum")};
    for (const FormColumn &c : definition.columns)
        columns << c.name;
    return columns << QStringLiteral("UserID") << QStringLiteral("TransDate");
}

QVariantList rowOf(const FormDefinition &definition, const QString &idNum, const FormRecord &record,
                   const QString &user, const QDateTime &saved)
{
    QVariantList row{idNum};
    for (const FormColumn &c : definition.columns)
        row << (c.controls > 0 ? joinAnswers(record.list(c.name)) : record.text(c.name));
    return row << user << when(saved);
}

} // namespace

void DemoBuilder::addNursingForms()
{
    QList<int> ward;
    int mother = -1;
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        if (s.revoked)
            continue;
        if (ward.size() < 5)
            ward << index;
        const Patient &p = m_patients.at(s.patient);
        if (mother < 0 && p.sex == u'F' && p.age >= 18 && p.age <= 40)
            mother = index;
    }
    if (ward.size() < 5)
        return;
    const QString nurse = staffCode(3);
    const QString circulating = staffCode(4);
    TableRows &lines =
        table(QStringLiteral("STATION..tbNurseFormItem"),
              {QStringLiteral("FormID"), QStringLiteral("IdNum"), QStringLiteral("ItemNo"),
               QStringLiteral("Section"), QStringLiteral("Item"), QStringLiteral("Answer"),
               QStringLiteral("Remarks"), QStringLiteral("AnsweredBy"),
               QStringLiteral("AnsweredAt"), QStringLiteral("Late")});
    const auto addLines = [&](const QString &form, const QString &idNum,
                              const QList<FormItem> &items) {
        for (int i = 0; i < items.size(); ++i) {
            const FormItem &item = items.at(i);
            lines.add({form, idNum, i + 1, item.section, item.label, item.answer, item.remark,
                       item.answeredBy, when(item.answeredAt), item.late ? 1 : 0});
        }
    };
    static constexpr std::array<QStringView, 5> operations = {
        u"OPEN CHOLECYSTECTOMY", u"EXPLORATORY LAPAROTOMY", u"TOTAL ABDOMINAL HYSTERECTOMY",
        u"APPENDECTOMY", u"OPEN REDUCTION, INTERNAL FIXATION, LEFT FEMUR"};

    // Pre-operative checklists: the first three filled, the fourth half done.
    const FormDefinition preopDefinition = preop::definition();
    TableRows &preops = table(preopDefinition.table, columnsOf(preopDefinition));
    for (int n = 0; n < 4; ++n) {
        const Stay &s = m_stays.at(ward.at(n));
        const bool partly = n == 3;
        FormRecord r;
        r.setText(QStringLiteral("Surgeon"), surgeonName(s.doctor));
        r.setText(QStringLiteral("Anesthesiologist"), anesthesiologistName(n));
        r.setText(QStringLiteral("DateSched"),
                  m_today.addDays(n == 0 ? 0 : 1).toString(QStringLiteral("MM/dd/yyyy")));
        r.setText(QStringLiteral("TimeSched"),
                  QTime(7 + n * 2, 30).toString(QStringLiteral("hh:mm AP")));
        r.setText(QStringLiteral("Operation"), operations[std::size_t(n)].toString());
        r.setText(QStringLiteral("ByWhom"), partly ? QString() : QStringLiteral("GARCIA, R.N."));
        r.setText(QStringLiteral("Spiritual"),
                  partly ? QString() : QStringLiteral("PATIENT PRAYED WITH THE CHAPLAIN; CALM"));
        QStringList answers, remarks;
        for (int i = 0; i < preop::lines().size(); ++i) {
            const bool noAnswer = partly && i >= 8;
            // Dentures, hairpins and nail polish: nothing to remove for most patients.
            const bool none = i == 6 || i == 7 || i == 9;
            answers << (noAnswer ? QString() : none && n != 1 ? kNo : kYes);
            remarks << (i == 10 && !noAnswer   ? QStringLiteral("CBC, BLOOD TYPING DONE")
                        : i == 17 && !noAnswer ? QStringLiteral("NPO SINCE 10 PM")
                                               : QString());
        }
        r.setList(QStringLiteral("YesNo"), answers);
        r.setList(QStringLiteral("Remarks"), remarks);
        r.setList(QStringLiteral("Medicine"), {QStringLiteral("CEFAZOLIN"),
                                               partly ? QString() : QStringLiteral("RANITIDINE"),
                                               {},
                                               {}});
        r.setList(
            QStringLiteral("Dose"),
            {QStringLiteral("1 G IV"), partly ? QString() : QStringLiteral("50 MG IV"), {}, {}});
        r.setList(
            QStringLiteral("Time"),
            {QStringLiteral("06:00 AM"), partly ? QString() : QStringLiteral("06:10 AM"), {}, {}});
        r.setList(QStringLiteral("Signs"),
                  {QStringLiteral("%1/80").arg(110 + n * 10), QStringLiteral("36.%1").arg(6 + n),
                   QString::number(72 + n * 4), QString::number(18 + n % 2)});
        r.setList(QStringLiteral("Signers"),
                  {partly ? QString() : QStringLiteral("GARCIA, ROSALIE"),
                   partly ? QString() : QStringLiteral("MENDOZA, CARLO"),
                   {},
                   QStringLiteral("VILLANUEVA, ANA"),
                   {}});
        const QDateTime saved = at(n == 0 ? 0 : 1, 6 * 60 + 20 + n * 9);
        preops.add(rowOf(preopDefinition, s.idNum, r, nurse, saved));
        addLines(preopDefinition.itemForm, s.idNum, preopDefinition.items(r));
    }

    // Surgical safety checklists: the first complete, with a Sign In answer changed during
    // the Time Out (late); the second in its Time Out; the fifth with its Sign In begun.
    using ssc::Phase;
    const FormDefinition sscDefinition = ssc::definition();
    TableRows &checklists = table(sscDefinition.table, columnsOf(sscDefinition));
    for (int n : {0, 1, 4}) {
        const Stay &s = m_stays.at(ward.at(n));
        const QDateTime start = at(n == 0 ? 0 : 1, 7 * 60 + 40 + n * 3);
        ssc::SafetyRecord safety;
        const auto answerAll = [&](Phase phase, const QDateTime &when, const QString &by,
                                   int upTo) {
            for (int i = 0; i < std::min<int>(upTo, int(ssc::items(phase).size())); ++i) {
                // An allergy or a difficult airway is the exception, not the rule.
                const bool unusual = phase == Phase::SignIn && (i == 4 || i == 5 || i == 6);
                safety.setAnswer(phase, i, unusual ? kNo : kYes, by, when.addSecs(i * 20));
            }
        };
        if (n == 4) {
            answerAll(Phase::SignIn, start, circulating, 3);
        } else {
            answerAll(Phase::SignIn, start, circulating, 99);
            safety.complete(Phase::SignIn, circulating, start.addSecs(5 * 60));
            answerAll(Phase::TimeOut, start.addSecs(25 * 60), nurse, n == 0 ? 99 : 4);
        }
        if (n == 0) {
            safety.complete(Phase::TimeOut, nurse, start.addSecs(30 * 60));
            // The known allergy came out during the time out: answered late.
            safety.setAnswer(Phase::SignIn, 4, kYes, circulating, start.addSecs(28 * 60));
            answerAll(Phase::SignOut, start.addSecs(115 * 60), nurse, 99);
            safety.complete(Phase::SignOut, nurse, start.addSecs(120 * 60));
        }
        FormRecord r;
        const QString surgeon = surgeonName(s.doctor);
        const QString anesthesiologist = anesthesiologistName(n);
        for (Phase p : ssc::kPhases) {
            const QString pause = ssc::phaseTitle(p).remove(u' ');
            const bool held = safety.unanswered(p) < int(ssc::items(p).size());
            r.setText(u"Surgeon" + pause, held && p != Phase::SignIn ? surgeon : QString());
            r.setText(u"Anesthesiologist" + pause, held ? anesthesiologist : QString());
            r.setText(u"Nurse" + pause, held ? QStringLiteral("GARCIA, ROSALIE") : QString());
        }
        r.setText(QStringLiteral("Operation"), operations[std::size_t(n)].toString());
        safety.writeColumns(r);
        checklists.add(rowOf(sscDefinition, s.idNum, r, nurse, start.addSecs(125 * 60)));
        addLines(sscDefinition.itemForm, s.idNum, safety.lines());
    }

    // Pre-anaesthetic evaluations of the first and the third patient.
    const FormDefinition evaluationDefinition = preanesthetic::definition();
    TableRows &evaluations = table(evaluationDefinition.table, columnsOf(evaluationDefinition));
    for (int n : {0, 2}) {
        const Stay &s = m_stays.at(ward.at(n));
        const Patient &p = m_patients.at(s.patient);
        FormRecord r;
        r.setText(QStringLiteral("Surgeon"), surgeonName(s.doctor));
        r.setText(QStringLiteral("Anesthesiologist"), anesthesiologistName(n));
        r.setText(QStringLiteral("DateSched"),
                  m_today.addDays(n == 0 ? 0 : 1).toString(QStringLiteral("MM/dd/yyyy")));
        r.setText(QStringLiteral("TimeSched"),
                  QTime(7 + n * 2, 30).toString(QStringLiteral("hh:mm AP")));
        r.setText(QStringLiteral("Operation"), operations[std::size_t(n)].toString());
        QStringList answers;
        for (int i = 0; i < preanesthetic::lines().size(); ++i)
            answers << (i < 14 ? (i == 3 && p.age > 50 ? kYes : kNo) : kYes);
        r.setList(QStringLiteral("YesNo"), answers);
        r.setList(QStringLiteral("PreOperative"),
                  {QString::number(52 + n * 6), QStringLiteral("%1/80").arg(120 + n * 5),
                   QStringLiteral("76"), QStringLiteral("12.8 G/DL"), QStringLiteral("O+"),
                   n == 0 ? QStringLiteral("LOSARTAN 50 MG OD") : QStringLiteral("NONE"),
                   QStringLiteral("MIDAZOLAM 2 MG IV ON CALL TO OR")});
        QStringList boxes(preanesthetic::boxes().size());
        boxes[n == 0 ? 1 : 0] = QStringLiteral("1");
        boxes[n == 0 ? 6 : 7] = QStringLiteral("1");
        r.setList(QStringLiteral("OtherBoxes"), boxes);
        r.setText(QStringLiteral("Remarks"),
                  n == 0 ? QStringLiteral("CONTROLLED HYPERTENSION. CONTINUE LOSARTAN ON THE DAY "
                                          "OF SURGERY WITH A SIP OF WATER.")
                         : QStringLiteral("FIT FOR SPINAL ANESTHESIA."));
        evaluations.add(rowOf(evaluationDefinition, s.idNum, r, nurse, at(1, 15 * 60 + n * 10)));
        addLines(evaluationDefinition.itemForm, s.idNum, evaluationDefinition.items(r));
    }

    // The labour room form of a mother in the wards.
    if (mother >= 0) {
        const FormDefinition labourDefinition = labour::definition();
        TableRows &labourRooms = table(labourDefinition.table, columnsOf(labourDefinition));
        FormRecord r;
        r.setText(QStringLiteral("Gravida"), QStringLiteral("3"));
        r.setText(QStringLiteral("Para"), QStringLiteral("2"));
        r.setText(QStringLiteral("DTAdmittedLR"),
                  at(1, 22 * 60 + 10).toString(QStringLiteral("MM/dd/yyyy hh:mm AP")));
        r.setText(QStringLiteral("DTAdmittedDR"),
                  at(0, 3 * 60 + 45).toString(QStringLiteral("MM/dd/yyyy hh:mm AP")));
        r.setText(QStringLiteral("NotifiedBy"), QStringLiteral("RAMOS, JOY"));
        r.setText(QStringLiteral("receivedby"), QStringLiteral("GARCIA, ROSALIE"));
        labourRooms.add(rowOf(labourDefinition, m_stays.at(mother).idNum, r, nurse, at(0, 4 * 60)));
    }
}

} // namespace kestrel::hospitaldb::demo
