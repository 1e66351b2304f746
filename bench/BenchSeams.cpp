// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "BenchSeams.h"

#include "core/settings/HospitalSettings.h"

namespace kestrel::bench {

void BenchNotifier::message(const QString &text, const QString &title, Icon icon)
{
    Q_UNUSED(icon);
    m_boxes << (title.isEmpty() ? text : title + QStringLiteral(": ") + text);
}

bool BenchNotifier::confirm(const QString &text, const QString &title, Icon icon,
                            Answer byDefault)
{
    Q_UNUSED(text);
    Q_UNUSED(title);
    Q_UNUSED(icon);
    Q_UNUSED(byDefault);
    return answer;
}

QStringList BenchNotifier::takeBoxes()
{
    return std::exchange(m_boxes, {});
}

ValidatedUser BenchDialogs::validateUser(bool askReason)
{
    Q_UNUSED(askReason);
    return {signer, QStringLiteral("BENCH SIGNER ") + signer, QString()};
}

DoctorsFeeAnswer BenchPricingPrompts::askDoctorsFee(const QString &doctorId,
                                                    const QString &doctorName)
{
    Q_UNUSED(doctorId);
    Q_UNUSED(doctorName);
    return {DoctorsFeeAnswer::Outcome::Chosen, Money::fromDouble(15000)};
}

std::optional<int> BenchCodePickList::pick(const CodeListing &listing)
{
    for (int i = 0; i < listing.rows.size(); ++i) {
        if (listing.rows.at(i).value(0).compare(code, Qt::CaseInsensitive) == 0)
            return i;
    }
    return std::nullopt;
}

BenchSession::BenchSession(Database &database)
    : db(database)
    , user(database, QStringLiteral("2901"))
{
    session.setCurrentUser(&user);
    session.LoggedIn = true;
    LoadHospitalSettings(db, session.hospital, session.settings);
    if (auto now = db.loadServerDate())
        session.ServerDate = now->date();
    finder.InitConnection(QStringLiteral("BENCH"), &db);
}

} // namespace kestrel::bench
