// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/ProfileHistory.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kAskUpdate = QStringLiteral("Are you sure you want to update the Patient Profile?");

QStringList list(std::initializer_list<const char *> items)
{
    QStringList l;
    for (const char *i : items)
        l << QString::fromUtf8(i);
    return l;
}

int slotsOf(ProfileHistory::Group group)
{
    switch (group) {
    case ProfileHistory::Group::Allergy: return 5;
    case ProfileHistory::Group::Family:
    case ProfileHistory::Group::Personal: return 4;
    case ProfileHistory::Group::Social: return 3;
    }
    return 0;
}

} // namespace

ProfileHistory::ProfileHistory(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
    for (Group g : {Group::Allergy, Group::Family, Group::Personal, Group::Social})
        boxes(g) = QList<bool>(names(g).size(), false);
}

QStringList ProfileHistory::names(Group group)
{
    switch (group) {
    case Group::Allergy:
        return list({"Fish (tuna)", "Eggs", "Shrimps", "Crabs", "Chicken", "Salted Fish",
                     "Anchovy Sauce", "Penicillin", "Aspirin", "Urobison (IVP)", "Pollens",
                     "House Dust"});
    case Group::Family:
        return list({"Cancer", "Tuberculosis", "Kidney Disease", "Heart Disease", "Diabetes",
                     "Henophilia", "Arthritis", "Nervous"});
    case Group::Personal:
        return list({"Measles", "Whooping Cough", "Mumps", "Chicken Pox", "Tonsilitis",
                     "Scarlet Fever", "Diptheria", "Rheumatic Fever", "Typhoid Fever", "Malaria",
                     "Pleurisy", "Asthma", "Influenza", "Arthritis", "Amoebiasis", "HIV",
                     "Gonorrhea", "Syphilis"});
    case Group::Social:
        return list({"Smoking", "Alcohol Intake", "Use/Abuse of Prohibited Drugs"});
    }
    return {};
}

QString ProfileHistory::code(Group group, int index)
{
    if (group == Group::Allergy) {
        static const QStringList codes =
            list({"F1", "F2", "F3", "F4", "F5", "F6", "F7", "M1", "M2", "M3", "O1", "O2"});
        return index >= 0 && index < codes.size() ? codes.at(index) : QString();
    }
    return QString::number(index + 1);
}

int ProfileHistory::limit(Group group)
{
    return group == Group::Social ? 0 : slotsOf(group);
}

QList<bool> &ProfileHistory::boxes(Group group)
{
    switch (group) {
    case Group::Allergy: return m_allergies;
    case Group::Family: return m_family;
    case Group::Personal: return m_personal;
    case Group::Social: break;
    }
    return m_social;
}

const QList<bool> &ProfileHistory::boxes(Group group) const
{
    return const_cast<ProfileHistory *>(this)->boxes(group);
}

bool ProfileHistory::isTicked(Group group, int index) const
{
    const QList<bool> &b = boxes(group);
    return index >= 0 && index < b.size() && b.at(index);
}

bool ProfileHistory::setTicked(Group group, int index, bool ticked)
{
    QList<bool> &b = boxes(group);
    if (index < 0 || index >= b.size())
        return false;
    if (ticked && !b.at(index) && limit(group) > 0 && b.count(true) >= limit(group)) {
        m_session.notifier().message(group == Group::Allergy
                                         ? QStringLiteral("You may only choose five(5) allergies.")
                                         : QStringLiteral("You may only select four(4) items."),
                                     kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    b[index] = ticked;
    return ticked;
}

QStringList ProfileHistory::tickedCodes(Group group, int slotCount) const
{
    QStringList codes;
    const QList<bool> &b = boxes(group);
    for (int i = 0; i < b.size(); ++i) {
        if (b.at(i))
            codes << code(group, i);
    }
    while (codes.size() < slotCount)
        codes << QString();
    return codes.mid(0, slotCount);
}

bool ProfileHistory::load(const QString &hospNum, const QString &idNum)
{
    m_hospNum = hospNum.trimmed();
    m_idNum = idNum.trimmed();
    for (Group g : {Group::Allergy, Group::Family, Group::Personal, Group::Social})
        boxes(g).fill(false);
    Database &db = m_session.db();
    const auto fail = [this](const Error &e) {
        m_session.notifier().errorBox(e);
        Q_EMIT changed();
        return false;
    };
    const auto tickCodes = [this](Group g, const Row &r, const QString &prefix, int count) {
        for (int slot = 1; slot <= count; ++slot) {
            const QString value = r.trimmed(QString(prefix + QString::number(slot)));
            for (int i = 0; i < boxes(g).size(); ++i) {
                if (!value.isEmpty() && code(g, i).compare(value, Qt::CaseInsensitive) == 0)
                    boxes(g)[i] = true;
            }
        }
    };

    auto allergies = db.selectOne(u"Select AllergyID1, AllergyID2, AllergyID3, AllergyID4, "
                                  u"AllergyID5, Others from PATIENT_DATA..tbMasterAllergies "
                                  u"Where Hospnum = :hosp",
                                  {{QStringLiteral("hosp"), m_hospNum}});
    if (!allergies)
        return fail(allergies.error());
    allergyOthers.clear();
    if (*allergies) {
        tickCodes(Group::Allergy, **allergies, QStringLiteral("AllergyID"), 5);
        allergyOthers = (*allergies)->text(u"Others");
    }

    auto profile = db.selectOne(u"Select * from STATION..tbNurseProfile "
                                u"where Hospnum = :hosp and IDNum = :id",
                                {{QStringLiteral("hosp"), m_hospNum},
                                 {QStringLiteral("id"), m_idNum}});
    if (!profile)
        return fail(profile.error());
    const Row p = profile->value_or(Row());
    tickCodes(Group::Personal, p, QStringLiteral("PH"), 4);
    tickCodes(Group::Family, p, QStringLiteral("FH"), 4);
    tickCodes(Group::Social, p, QStringLiteral("PSH"), 3);
    familyOthers = p.text(u"FMOthers");
    briefHistory = p.text(u"BriefHistory");
    skin = p.text(u"PEskin");
    headNeck = p.text(u"PEheadneck");
    thorax = p.text(u"PEthorax");
    abdomen = p.text(u"PEabdomen");
    extremeties = p.text(u"PEextremeties");
    lympNodes = p.text(u"PElympnodes");
    genitalia = p.text(u"PEgenitalia");
    rectal = p.text(u"PErectal");
    neurological = p.text(u"PEneurological");
    otherPE = p.text(u"PEOthers");

    admDiagnosis.clear();
    chiefComplaints.clear();
    auto history = db.selectOne(u"Select COALESCE(BriefHistory, '') As BriefHistory, "
                                u"COALESCE(PhysicalExamination, '') As PhysicalExamination, "
                                u"ADMDiagnosis, ChiefComplaint From PATIENT_DATA..tbPatientHistory "
                                u"Where IDNum = :id",
                                {{QStringLiteral("id"), m_idNum}});
    if (!history)
        return fail(history.error());
    if (*history) {
        // The admitting office's history stands where the nurse has written none.
        if (briefHistory.isEmpty())
            briefHistory = (*history)->text(u"BriefHistory");
        if (otherPE.isEmpty())
            otherPE = (*history)->text(u"PhysicalExamination");
        admDiagnosis = (*history)->text(u"ADMDiagnosis");
        chiefComplaints = (*history)->text(u"ChiefComplaint");
    }
    Q_EMIT changed();
    return true;
}

ProfileHistory::Outcome ProfileHistory::save()
{
    Notifier &notifier = m_session.notifier();
    if (m_idNum.isEmpty())
        return Outcome::Refused;
    if (!notifier.confirm(kAskUpdate, kConfirmation, Notifier::Icon::Question))
        return Outcome::Declined;
    for (;;) {
        m_session.validated = m_session.dialogs().validateUser();
        if (m_session.validated.isValid())
            break;
        if (!notifier.confirm(kAskUpdate + QStringLiteral("\r\nUnable to continue this "
                                                          "transaction! "),
                              kConfirmation, Notifier::Icon::Question))
            return Outcome::Abandoned;
    }

    Database &db = m_session.db();
    Transaction tx = db.transaction();
    if (!tx.isActive()) {
        notifier.errorBox(tx.error());
        return Outcome::Failed;
    }
    QVariantList allergy{m_hospNum};
    for (const QString &c : tickedCodes(Group::Allergy, 5))
        allergy << c;
    allergy << allergyOthers;
    QVariantList profile{m_hospNum, m_idNum, briefHistory, skin, headNeck, thorax, abdomen,
                         extremeties, lympNodes, genitalia, rectal, neurological};
    for (Group g : {Group::Personal, Group::Family, Group::Social}) {
        for (const QString &c : tickedCodes(g, slotsOf(g)))
            profile << c;
    }
    profile << familyOthers << otherPE;

    Result<void> ok;
    if (auto a = db.call(u"STATION..Nurse_Save_Allergy", allergy); !a)
        ok = tl::unexpected(a.error());
    else if (auto p = db.call(u"STATION..Nurse_Save_Profile", profile); !p)
        ok = tl::unexpected(p.error());
    else if (!m_idNum.endsWith(u'B', Qt::CaseInsensitive)) {
        auto h = db.exec(u"Update PATIENT_DATA..tbPatientHistory Set ADMDiagnosis = :dx, "
                         u"ChiefComplaint = :complaint, BriefHistory = :history, "
                         u"PhysicalExamination = :pe Where IDNum = :id",
                         {{QStringLiteral("dx"), admDiagnosis},
                          {QStringLiteral("complaint"), chiefComplaints},
                          {QStringLiteral("history"), briefHistory},
                          {QStringLiteral("pe"), otherPE},
                          {QStringLiteral("id"), m_idNum}});
        if (!h)
            ok = tl::unexpected(h.error());
    }
    if (ok)
        ok = tx.commit();
    if (!ok) {
        notifier.errorBox(ok.error());
        return Outcome::Failed;
    }
    notifier.message(QStringLiteral("Patient Profile Successfully Updated."), kNotification,
                     Notifier::Icon::Information);
    return Outcome::Done;
}

} // namespace kestrel
