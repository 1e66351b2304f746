// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace kestrel {

class clsSettings;

/// The station switches that shape the OR record window and its checks.
struct ORRecordSwitches
{
    bool clinicalOperationWithNoPostCharge = false;
    bool dontRequirePHICCode = false;
    bool dontRequireAnes = false;
    bool dontRequireAnesthesia = false;
    bool dontRequireCirc = false;
    bool dontRequireScrub = false;
    bool requireAntibioticGiven = false;
    bool showAnesthesiaDone = false;
    bool showSpecimen = false;
    bool requireOperativeDiagnosis = false;
    bool requireChartCategory = false;
    bool showCompleteInc = false;
    bool enableAsstNurse = false;
    bool enableLaterality = false;
    bool showSignature = false;
    bool showTechniqueWarning = false;
    bool hideMediumCategory = false;
    bool hideOpenHeartCategory = false;
    bool ruvText = false;

    static ORRecordSwitches from(const clsSettings &settings);
};

/// One moment of the operation: the column of its day and the column of its time of day.
struct ORMoment
{
    const char16_t *dateColumn;
    const char16_t *timeColumn;
};

namespace ormoment {
inline constexpr ORMoment PatientIn{u"OperationDate", u"PatientIn"};
inline constexpr ORMoment Anesthesia{u"AnesthesiaDate", u"AnesthesiaTime"};
inline constexpr ORMoment Cutting{u"CuttingDate", u"OperationTime1"};
inline constexpr ORMoment Closing{u"ClosingDate", u"OperationTime2"};
inline constexpr ORMoment AnesthesiaDone{u"AnesDoneDate", u"AnesthesiaEndTime"};
inline constexpr ORMoment PatientOut{u"OperationDateEnd", u"PatientOut"};
inline constexpr ORMoment SpecimenIn{u"SpecimenInDate", u"SpecimenInTime"};
inline constexpr ORMoment SpecimenOut{u"SpecimenOutDate", u"SpecimenOutTime"};
/// Every moment the record keeps, those of the operation in their order, then the specimen's.
inline constexpr ORMoment All[] = {PatientIn,      Anesthesia, Cutting,   Closing,
                                   AnesthesiaDone, PatientOut, SpecimenIn, SpecimenOut};
} // namespace ormoment

/// The record of one operation as the window edits it: every field under the name of the
/// column of STATION..tbORMasterFile that keeps it (texts as QString, days as QDate, times of
/// day as QTime).
class ORRecord
{
public:
    QString text(QStringView column) const;
    void setText(const QString &column, const QString &value) { m_values.insert(column, value); }
    QDate date(QStringView column) const;
    QTime time(QStringView column) const;
    void setMoment(const ORMoment &moment, const QDateTime &at);
    QDateTime moment(const ORMoment &moment) const;
    /// "yyyy/MM/dd" and "HH:mm:ss" run together: moments compare as these texts.
    QString momentKey(const ORMoment &moment) const;
    const QVariantMap &values() const { return m_values; }
    void setValue(const QString &column, const QVariant &value) { m_values.insert(column, value); }
    bool operator==(const ORRecord &) const = default;

private:
    QVariantMap m_values;
};

/// The column a person's name is read back in for the column of his code ("Surgeon1" for
/// "SurgeonID1"); empty for a column that holds no person.
QString personNameColumn(QStringView codeColumn);

/// The columns the window keeps in free text fields, in the order of its narrative tabs.
const QStringList &narrativeColumns();
/// The columns of the anaesthesia sheet ("Other Info"), each written as a text.
const QStringList &anesthesiaSheetColumns();

/// The category list's texts as the window offers them, with the hidden ones left out.
QStringList categoryChoices(const ORRecordSwitches &switches);
/// The digit kept for a category text ("3" for "Major"); empty for none.
QString categoryDigit(QStringView text);
/// The category text of a kept digit.
QString categoryText(QStringView digit);

/// What the checks ask of the hospital's lists.
struct ORRecordLookups
{
    std::function<bool(const QString &)> isDoctor;      ///< a code the doctor search accepts
    std::function<bool(const QString &)> isORProcedure; ///< an OR procedure of the list
};

/// A check that refused the record: the message the user reads and the column of the field
/// the focus goes to.
struct ORRefusal
{
    QString message;
    QString column;
    bool operator==(const ORRefusal &) const = default;
};

/// The checks of a save, in the order the nurse meets them; the first refusal, or none.
std::optional<ORRefusal> checkORRecord(const ORRecord &record, const ORRecordSwitches &switches,
                                       const ORRecordLookups &lookups);

/// The warning under the operation techniques once they reach the ward's limit; empty below.
QString techniqueWarning(const QString &techniques, bool enabled);

/// Every "'" of a free text as "`", as the record keeps quotes.
QString withBackquotes(QString text);

} // namespace kestrel
