// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargePricing.h"
#include "shell/db/Database.h"
#include "shell/MainWindowFixture.h"
#include "shell/settings/HospitalSettings.h"

#include <QQueue>

namespace kestrel::test {

/// The markup and doctor's fee windows, answering from a script and counting how often they
/// were asked.
class ScriptedPricingPrompts : public PricingPrompts
{
public:
    MarkupChoice askMarkup() override
    {
        ++markupAsked;
        return markups.isEmpty() ? MarkupChoice{} : markups.dequeue();
    }
    std::optional<Money> askDoctorsFee(const QString &doctorId, const QString &doctorName) override
    {
        Q_UNUSED(doctorName);
        feeAskedFor << doctorId;
        return fee;
    }

    QQueue<MarkupChoice> markups;
    std::optional<Money> fee;
    int markupAsked = 0;
    QStringList feeAskedFor;
};

/// A logged-in session on the demo hospital with its settings loaded, and the pricing of its
/// entry grid.
struct PricingFixture
{
    explicit PricingFixture(Database &database)
        : db(database)
        , f(database, QStringLiteral("2902"))
        , pricing(f.session, prompts)
    {
        LoadHospitalSettings(db, f.session.hospital, f.session.settings);
    }

    /// Sets (or, with an empty value, removes) station switches, then loads the settings again;
    /// the hospital settings are loaded again too, so change them after this.
    bool switches(const QList<std::pair<QString, QString>> &values)
    {
        for (const auto &[key, value] : values) {
            if (!db.exec(u"delete from STATION..tbNurseSetup where Field = :key",
                         {{QStringLiteral("key"), key}}))
                return false;
            if (!value.isEmpty() &&
                !db.exec(u"insert into STATION..tbNurseSetup (Field, value) values (:key, :value)",
                         {{QStringLiteral("key"), key}, {QStringLiteral("value"), value}}))
                return false;
        }
        LoadHospitalSettings(db, f.session.hospital, f.session.settings);
        return true;
    }

    /// Selects the stay of the demo patient with that name; false when there is none.
    bool select(const QString &lastName, const QString &firstName)
    {
        auto row = db.selectOne(
            u"select S.IDNum, S.HospNum, S.RoomID, 'I' as PatientClass from PATIENT_DATA..tbPatient S "
            u"inner join PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum "
            u"where M.LastName = :last and M.FirstName = :first "
            u"union all select S.IDNum, S.HospNum, '' as RoomID, 'O' as PatientClass "
            u"from PATIENT_DATA..tbOutPatient S inner join PATIENT_DATA..tbMaster M "
            u"on M.HospNum = S.HospNum where M.LastName = :last and M.FirstName = :first",
            {{QStringLiteral("last"), lastName}, {QStringLiteral("first"), firstName}});
        if (!row || !*row)
            return false;
        CurrentPatientRecord &p = f.session.CurrentPatient;
        p.clear();
        p.IdNum = (*row)->trimmed(u"IDNum");
        p.HospNum = (*row)->trimmed(u"HospNum");
        p.RoomID = (*row)->trimmed(u"RoomID");
        p.PatientClass = (*row)->trimmed(u"PatientClass");
        return true;
    }

    Database &db;
    MainWindowFixture f;
    ScriptedPricingPrompts prompts;
    ChargePricing pricing;
};

} // namespace kestrel::test
