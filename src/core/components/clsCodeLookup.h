// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/CodeLookupRecords.h"
#include "core/components/Component.h"

#include <QHash>

namespace kestrel {

class Database;
class RowSet;

/// The modal code pick-lists: a list of codes filtered by what the user typed, from which he
/// picks one row; the picked row is then read from the record of that kind of list.
///
/// Set up with MTS_Server, SearchMode, Initialize_Classes, Connection and CompanyName.
class clsCodeLookup : public Component
{
    Q_OBJECT
    Q_PROPERTY(QString MTS_Server READ MTS_Server WRITE setMTS_Server)
    Q_PROPERTY(bool SearchMode READ SearchMode WRITE setSearchMode)
    Q_PROPERTY(kestrel::Database *Connection READ Connection WRITE setConnection)
    Q_PROPERTY(QString CompanyName READ CompanyName WRITE setCompanyName)
    Q_PROPERTY(bool AffiliatedOnly READ AffiliatedOnly WRITE setAffiliatedOnly)
    Q_PROPERTY(kestrel::DoctorRecord DoctorRecord READ DoctorRecord)
    Q_PROPERTY(kestrel::OtherRevenueRecord OtherRevenueRecord READ OtherRevenueRecord WRITE
                   setOtherRevenueRecord)
    Q_PROPERTY(kestrel::DietRecord DietRecord READ DietRecord)
    Q_PROPERTY(kestrel::DosageRecord DosageRecord READ DosageRecord)
    Q_PROPERTY(kestrel::CodeRecord ServiceRecord READ ServiceRecord)
    Q_PROPERTY(kestrel::CodeRecord StationRecord READ StationRecord)
    Q_PROPERTY(kestrel::CodeRecord LabExamRecord READ LabExamRecord)
    Q_PROPERTY(kestrel::CodeRecord XrayExamRecord READ XrayExamRecord)
    Q_PROPERTY(kestrel::CodeRecord UltrasoundRecord READ UltrasoundRecord)
    Q_PROPERTY(kestrel::CodeRecord CTExamRecord READ CTExamRecord)
    Q_PROPERTY(kestrel::CodeRecord HSExamRecord READ HSExamRecord)
    Q_PROPERTY(kestrel::CodeRecord NuclearExamRecord READ NuclearExamRecord)
    Q_PROPERTY(kestrel::CodeRecord PTExamRecord READ PTExamRecord)
    Q_PROPERTY(kestrel::CodeRecord RTSExamRecord READ RTSExamRecord)

public:
    static constexpr QStringView kProgId = u"KsLookup.clsCodeLookup";

    /// The kinds of list SearchListing offers.
    enum Kind {
        Doctors = 1,
        Diets = 6,
        Services = 9,
        Stations = 10,
        CTExams = 14,
        Dosages = 16,
        HSExams = 17,
        LabExams = 18,
        NuclearExams = 20,
        OtherRevenues = 21,
        PTExams = 23,
        RTSExams = 25,
        UltrasoundExams = 27,
        XrayExams = 29,
    };
    Q_ENUM(Kind)

    explicit clsCodeLookup(const ComponentContext &ctx, QObject *parent = nullptr);
    ~clsCodeLookup() override;

    QString MTS_Server() const { return m_mtsServer; }
    void setMTS_Server(const QString &server) { m_mtsServer = server; }
    bool SearchMode() const { return m_searchMode; }
    void setSearchMode(bool on) { m_searchMode = on; }
    kestrel::Database *Connection() const { return connection(); }
    void setConnection(kestrel::Database *connection) { takeConnection(connection); }
    QString CompanyName() const { return m_companyName; }
    void setCompanyName(const QString &name) { m_companyName = name; }
    /// Whether the doctors' list shows only the doctors affiliated with the hospital.
    bool AffiliatedOnly() const { return m_affiliatedOnly; }
    void setAffiliatedOnly(bool on) { m_affiliatedOnly = on; }

    /// Makes every record empty, ready for the first search.
    Q_INVOKABLE void Initialize_Classes();

    /// Shows the list of `kind` filtered by `typedText` (codes or names that begin with it);
    /// true when the user picked a row, which is then in the kind's record. The items of a
    /// revenue section (21) are those of the section in OtherRevenueRecord.OtherSectionID.
    Q_INVOKABLE bool SearchListing(int kind, const QString &typedText);

    const kestrel::DoctorRecord &DoctorRecord() const { return m_doctor; }
    const kestrel::OtherRevenueRecord &OtherRevenueRecord() const { return m_otherRevenue; }
    void setOtherRevenueRecord(const kestrel::OtherRevenueRecord &record)
    {
        m_otherRevenue = record;
    }
    /// Chooses the revenue section the items' list (21) shows.
    void setOtherSectionID(const QString &section) { m_otherRevenue.OtherSectionID = section; }
    const kestrel::DietRecord &DietRecord() const { return m_diet; }
    const kestrel::DosageRecord &DosageRecord() const { return m_dosage; }
    kestrel::CodeRecord ServiceRecord() const { return m_codes.value(Services); }
    kestrel::CodeRecord StationRecord() const { return m_codes.value(Stations); }
    kestrel::CodeRecord LabExamRecord() const { return m_codes.value(LabExams); }
    kestrel::CodeRecord XrayExamRecord() const { return m_codes.value(XrayExams); }
    kestrel::CodeRecord UltrasoundRecord() const { return m_codes.value(UltrasoundExams); }
    kestrel::CodeRecord CTExamRecord() const { return m_codes.value(CTExams); }
    kestrel::CodeRecord HSExamRecord() const { return m_codes.value(HSExams); }
    kestrel::CodeRecord NuclearExamRecord() const { return m_codes.value(NuclearExams); }
    kestrel::CodeRecord PTExamRecord() const { return m_codes.value(PTExams); }
    kestrel::CodeRecord RTSExamRecord() const { return m_codes.value(RTSExams); }

private:
    bool searchDoctors(const QString &typedText);
    bool searchOtherRevenues(const QString &typedText);
    /// The lists kept by the hospital's code-list procedure (every kind but 1 and 21).
    bool searchCodeList(int kind, const QString &typedText);
    /// Shows `rows` in the pick-list; the picked row's index, or -1.
    int pick(const QString &title, const QStringList &headers, const RowSet &rows,
             const QStringList &columns, const QString &typedText);

    QString m_mtsServer;
    bool m_searchMode = false;
    QString m_companyName;
    bool m_affiliatedOnly = false;
    kestrel::DoctorRecord m_doctor;
    kestrel::OtherRevenueRecord m_otherRevenue;
    kestrel::DietRecord m_diet;
    kestrel::DosageRecord m_dosage;
    QHash<int, kestrel::CodeRecord> m_codes; ///< the picked row of each simpler list
};

} // namespace kestrel
