// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "orrecord/OutpatientResultStore.h"

#include <QStringList>
#include <QTime>

namespace kestrel {

class Session;
class clsCF4;
class clsIcdLookup;

/// The result entry of an outpatient OR visit ("Update Operation Room Record ( Result Entry )"):
/// it closes the visit with its discharge date and time, category, disposition, diagnoses,
/// chief complaints, condition on discharge, death, referral or transfer, precaution, diet and
/// services. The save checks the entry in a fixed order, each check telling why it stops, asks
/// for the user's re-validation and writes everything in one transaction.
class OutpatientResult
{
public:
    /// `icd` validates the diagnosis codes and `cf4` the stay's CF4 where the hospital has
    /// them; either may be null.
    OutpatientResult(Session &session, clsIcdLookup *icd = nullptr, clsCF4 *cf4 = nullptr);

    /// Reads the visit `idNum`; false (and told why) when there is none.
    bool open(const QString &idNum);
    bool isOpen() const { return !m_record.idNum.isEmpty(); }

    OutpatientRecord &record() { return m_record; }
    const OutpatientRecord &record() const { return m_record; }
    const QList<Precaution> &precautions() const { return m_precautions; }

    /// The choices of the window; a category's or condition's code is its index + 1.
    static QStringList categories();
    static QStringList erClassifications(bool referredToACC);
    static QStringList erProcedures();
    static QStringList conditions();
    static QStringList dispositions();
    static QStringList deathTypes();

    /// The discharge date as typed in its "##/##/####" box (blank "  /  /    ") and its time.
    void setDischargeDate(const QString &typed, const QTime &time);
    QString dischargeDateText() const;

    /// The look-ups of the code fields: the code's name (a diet's with its remark in
    /// `remark`), stored in the record at `index`. An unknown code is refused with the
    /// window's message and clears the field; an empty code clears it silently.
    QString lookUpDoctor(int index, const QString &code);
    QString lookUpService(int index, const QString &code);
    QString lookUpChiefComplaint(int index, const QString &code);
    QString lookUpDiet(const QString &code, QString *remark = nullptr);
    /// The diagnosis code `index` (0..9), through the ICD component where there is one.
    QString lookUpDiagnosis(int index, const QString &code);
    /// The name of a code already in the record (shown when the visit is opened).
    QString nameOf(QStringView kind, const QString &code);

    /// Checks the entry in order, re-validates the user and writes the result. True when the
    /// visit's result was saved.
    bool save();

private:
    bool refuse(const QString &text);
    /// The re-validation, asked again after each failure until the user gives up; the
    /// validated employee, or empty.
    QString validateForSave();
    QString lookUp(const Result<std::optional<CodeName>> &found, QString &slot, const QString &code,
                   const QString &missing, QString *remark = nullptr);

    Session &m_session;
    OutpatientResultStore m_store;
    clsIcdLookup *m_icd;
    clsCF4 *m_cf4;
    OutpatientRecord m_record;
    QList<Precaution> m_precautions;
    QString m_typedDate;
    QTime m_dischargeTime;
};

} // namespace kestrel
