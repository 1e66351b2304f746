// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsPatientInfo.h"

#include "core/components/CodePickList.h"
#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

clsPatientInfo::clsPatientInfo(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsPatientInfo::InitConnect(Database *connection)
{
    return takeConnection(connection);
}

bool clsPatientInfo::InitConnect(const QString &connectionString)
{
    return takeConnection(connectionString);
}

bool clsPatientInfo::LoadInfo()
{
    Database *db = database();
    if (!db) {
        qCWarning(lcComponents) << "patient information asked for before a connection";
        return false;
    }
    auto rows = db->call(u"PATIENT_DATA..sp_PatientInfo", {AdmissionNumber.trimmed()});
    if (!rows) {
        notifier().errorBox(rows.error());
        return false;
    }
    const std::optional<Row> r = rows->first();
    const auto field = [&r](QStringView name, const QString &fallback) {
        const QString stored = r ? r->trimmed(name) : QString();
        return stored.isEmpty() ? fallback.trimmed() : stored;
    };
    QString name = PatientName.trimmed();
    if (r && !r->trimmed(u"LastName").isEmpty())
        name = r->trimmed(u"LastName") + QStringLiteral(", ") + r->trimmed(u"FirstName") + u' ' +
               r->trimmed(u"MiddleName");
    QString doctor = Doctor.trimmed();
    if (r && !r->trimmed(u"DoctorLastName").isEmpty())
        doctor =
            r->trimmed(u"DoctorLastName") + QStringLiteral(", ") + r->trimmed(u"DoctorFirstName");
    QStringList address;
    for (QStringView part : {u"HouseStreet", u"Barangay", u"Town", u"Province"}) {
        if (r && !r->trimmed(part).isEmpty())
            address << r->trimmed(part);
    }
    const bool outpatient = r && r->trimmed(u"PatientClass") == u"O";
    const QString room = Room.trimmed().isEmpty() ? RoomNumber : Room;

    CodeListing panel;
    panel.title = QStringLiteral("Patient Information");
    panel.headers = {QStringLiteral("Item"), QStringLiteral("Details")};
    panel.rows = {
        {outpatient ? QStringLiteral("OPD No.") : QStringLiteral("Admission No."),
         field(u"IDNum", AdmissionNumber)},
        {QStringLiteral("Hospital No."), field(u"HospNum", HospitalNumber)},
        {QStringLiteral("Patient"), name},
        {QStringLiteral("Sex"), field(u"Sex", QString())},
        {QStringLiteral("Birth Date"),
         r ? r->date(u"BirthDate").toString(u"MM/dd/yyyy") : QString()},
        {QStringLiteral("Civil Status"), field(u"CivilStatus", QString())},
        {QStringLiteral("Blood Type"), field(u"BloodType", QString())},
        {QStringLiteral("Address"), address.join(QStringLiteral(", "))},
        {QStringLiteral("Room"), field(u"RoomID", room)},
        {QStringLiteral("Station"), field(u"StationID", StationID)},
        {QStringLiteral("Attending Doctor"), doctor},
        {QStringLiteral("Admitted"),
         r ? r->dateTime(u"AdmDate").toString(u"MM/dd/yyyy hh:mm AP") : QString()},
        {QStringLiteral("Account"), field(u"AccountNum", QString())},
    };
    showListing(panel);
    return true;
}

} // namespace kestrel
