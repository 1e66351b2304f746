// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "hospitaldb/demo/DemoLists.h"

#include "core/db/Money.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <array>
#include <deque>
#include <span>

// The builder of the demo hospital. Each subsystem's rows are made in a file of their own
// (settings and users, master files, pricing, patients and stays, charges, the operating room,
// results); build() in DemoHospital.cpp runs them in a fixed order, because the patients' rows
// all come from one random stream and later steps read the rows of earlier ones.

namespace kestrel::hospitaldb::demo {

// ---------------------------------------------------------------------------------------------
// Randomness. The demo hospital must come out the same on every machine and library version,
// so it draws from its own splitmix64 stream instead of the standard distributions.

class DemoRandom
{
public:
    explicit DemoRandom(quint64 seed)
        : m_state(seed)
    {
    }

    quint64 next()
    {
        quint64 z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    /// 0 <= result < n.
    int below(int n) { return n <= 0 ? 0 : int(((next() >> 32) * quint64(n)) >> 32); }
    /// lo <= result <= hi.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
    /// Low indexes far more often than high ones (n times the square of a uniform draw): a few
    /// surnames are everywhere, most are rare.
    int skewed(int n)
    {
        const quint64 u = next() >> 40; // 24 bits
        return int(((u * u) >> 24) * quint64(n) >> 24);
    }
    template <typename T, std::size_t N> const T &pick(const std::array<T, N> &items)
    {
        return items[std::size_t(below(int(N)))];
    }
    template <typename T> const T &pick(const QList<T> &items)
    {
        return items.at(below(int(items.size())));
    }
    template <typename T> const T &pick(std::span<T> items)
    {
        return items[std::size_t(below(int(items.size())))];
    }

private:
    quint64 m_state;
};

// ---------------------------------------------------------------------------------------------
// Rows to write, table by table.

struct TableRows
{
    QString table; ///< as the hospital names it, "STATION..tbStationLogs"
    QStringList columns;
    QList<QVariantList> rows;

    void add(QVariantList values)
    {
        Q_ASSERT(values.size() == columns.size());
        rows.append(std::move(values));
    }
};

inline QVariant pesos(qint64 centavos)
{
    return Money::fromMinor(centavos * 100).toVariant();
}

inline QVariant when(const QDateTime &dt)
{
    return dt.isValid() ? QVariant(dt) : QVariant();
}

inline QString padded(qint64 n, int width)
{
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

// Windows colours are stored blue-green-red, high byte to low.
inline int bgr(int red, int green, int blue)
{
    return (blue << 16) | (green << 8) | red;
}

// ---------------------------------------------------------------------------------------------
// The generator.

enum class StayKind { Inpatient, Outpatient, Emergency };

struct Patient
{
    QString hospNum, lastName, firstName, middleName, suffix;
    QChar sex;
    QDate birthDate;
    int age = 0;
    QDateTime created;
};

struct Stay
{
    int patient = 0;
    StayKind kind = StayKind::Inpatient;
    QDateTime admitted, discharged, billed;
    QString idNum, erNum, account, account2, room, doctor, doctor2, precaution, package;
    bool cashBasis = false;
    bool cvor = false;
    bool revoked = false;
    int surgicalCase = -1; // index into surgicalCases()
    QString diagnosis, complaint;
};

class DemoBuilder
{
public:
    DemoBuilder(const QDate &today, quint64 seed)
        : m_today(today)
        , m_rng(seed)
    {
    }

    QList<TableRows> build();

private:
    // DemoSettings.cpp
    void addSettings();
    void addEmployees();
    // DemoMasterFiles.cpp
    void addMasterFiles();
    void addFormularyAndDialysisWare();
    void addReceivableCodesAndWardMedicines();
    void addReferralsVesselsAndAdmittingCodes();
    void addChargeEntryData();
    // DemoPricing.cpp
    void addPricingData();
    void addRequestData();
    void addPricingPatients();
    // DemoPatients.cpp
    void addPatients();
    void addStays();
    void addStayRows();
    // DemoNamesakes.cpp
    void addPatientListNamesakes();
    // DemoCharges.cpp
    void addCharges();
    void addStationLogs();
    void addStockCard();
    // DemoOperatingRoom.cpp
    void addSchedules();
    void addOperatingRoomHistory();
    void addOperationChecksAndRecordUpdates();
    // DemoResults.cpp
    void addLaboratoryResults();
    void addRequestLogs();
    // DemoProfile.cpp
    void addProfileData();
    // DemoSchedule.cpp
    void addScheduleBoard();
    // DemoComponents.cpp
    void addComponentData();
    // DemoResultViewers.cpp
    void addResultViewerData();
    // DemoPackages.cpp
    void addPackagesAndOxygen();
    /// Credit memo remarks, and medicines posted to a stay to revoke or return, some returned.
    void addReturnsData();
    // DemoCaseRates.cpp
    void addCaseRateData();
    // DemoORRecords.cpp
    void addORRecordSignatures();
    // DemoDischarge.cpp
    /// Discharge notices in every state, cleared and not, and a unit with one bed free.
    void addDischargeData();
    // DemoOutpatientResults.cpp
    /// Outpatient OR visits awaiting their result entry, and the chief complaint codes.
    void addOutpatientResults();
    // DemoNursingSheets.cpp
    /// Consents, hourly monitoring sheets over several days and fluid sheets, some partly filled.
    void addNursingSheets();
    // DemoNursingForms.cpp
    /// Pre-operative and surgical safety checklists (complete, partly filled, one with a late
    /// answer), pre-anaesthetic evaluations and a labour room form.
    void addNursingForms();
    // DemoTranscriptions.cpp
    /// Doctors' medication orders, and transcriptions pending, processed and revoked.
    void addTranscriptionData();
    // DemoReceivables.cpp
    /// Discharged and billed accounts, with late charges and without, one not billed, one
    /// invoiced.
    void addReceivableAccounts();

    // DemoMemoCVOR.cpp
    /// Surgical memoranda (one caesarean with its baby), sponge records, CVOR teams.
    void addMemoCVORData();
    // DemoAssessments.cpp
    /// Walk-in and cash assessments pending, paid and revoked, the clinical departments'
    /// examinations with their remarks and specimen, and the laboratory's specimens.
    void addAssessments();
    // DemoExamRequests.cpp
    /// The laboratory's profiles and the exams with a STAT rule or a specimen they need, and
    /// exam requests of a ward patient: waiting, processed today and revoked by another station.
    void addExamRequestData();

    /// Where the hospital's numbers stand after the stays made so far, and the rooms someone
    /// is in: patients added late take the next numbers and the empty rooms.
    struct Numbering
    {
        qint64 hospNum = 0;
        qint64 inpatientNo = 0;
        qint64 outpatientNo = 0;
        qint64 erNo = 0;
        QSet<QString> occupied;
    };
    Numbering numbering() const;

    /// Writes station log entries of the OR (IdNum, TransDate, Remarks, UserID, HostName) in
    /// the order of their times.
    void addOrStationLogs(QList<QVariantList> entries);

    TableRows &table(const QString &name, const QStringList &columns)
    {
        // A deque keeps earlier tables where they are, so a function may hold several.
        m_tables.push_back(TableRows{name, columns, {}});
        return m_tables.back();
    }
    QDateTime at(int daysAgo, int minutesIntoDay) const
    {
        return QDateTime(m_today.addDays(-daysAgo), QTime(0, 0).addSecs(minutesIntoDay * 60));
    }
    QString pickAccount(const QString &hospNum);
    int pickCase(const Patient &p);
    QChar rateClassOf(const Stay &s) const;
    QString patientName(const Patient &p) const
    {
        return p.lastName + QStringLiteral(", ") + p.firstName + u' ' + p.middleName;
    }

    QDate m_today;
    DemoRandom m_rng;
    std::deque<TableRows> m_tables;
    QList<Room> m_rooms = hospitalRooms();
    QList<Patient> m_patients;
    QList<Stay> m_stays;
    QList<int> m_currentInpatients; // indexes into m_stays
};

} // namespace kestrel::hospitaldb::demo
