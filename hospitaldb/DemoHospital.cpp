// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/DemoHospital.h"

#include "hospitaldb/demo/DemoBuilder.h"

namespace kestrel::hospitaldb {

namespace demo {

// The order of the steps is part of the demo hospital: the patients' steps draw from one random
// stream in turn, and later steps read the rows of earlier ones. A step added at the end leaves
// the rows of every step before it as they were.
QList<TableRows> DemoBuilder::build()
{
    addSettings();
    addMasterFiles();
    addEmployees();
    addPatients();
    addStays();
    addStayRows();
    addSchedules();
    addCharges();
    addStationLogs();
    addOperatingRoomHistory();
    addLaboratoryResults();
    addStockCard();
    addRequestLogs();
    addFormularyAndDialysisWare();
    addReceivableCodesAndWardMedicines();
    addReferralsVesselsAndAdmittingCodes();
    addOperationChecksAndRecordUpdates();
    addPricingData();
    addChargeEntryData();
    addRequestData();
    addPatientListNamesakes();
    addComponentData();
    addProfileData();
    addScheduleBoard();
    addResultViewerData();
    addCaseRateData();
    addPackagesAndOxygen();
    addReturnsData();
    addDischargeData();
    addNursingSheets();
    addORRecordSignatures();
    addOutpatientResults();
    addTranscriptionData();
    addReceivableAccounts();
    addAssessments();
    addMemoCVORData();
    addNursingForms();
    addExamRequestData();
    return QList<TableRows>(m_tables.begin(), m_tables.end());
}

} // namespace demo

namespace {

Result<void> writeRows(Database &db, const demo::TableRows &t)
{
    if (t.rows.isEmpty())
        return {};
    QStringList marks;
    for (const QString &c : t.columns)
        marks << u':' + c;
    const QString sql = u"INSERT INTO " + t.table + u" (" + t.columns.join(QStringLiteral(", ")) +
                        u") VALUES (" + marks.join(QStringLiteral(", ")) + u')';
    QList<Binds> binds;
    binds.reserve(t.rows.size());
    for (const QVariantList &row : t.rows) {
        Binds b;
        for (qsizetype i = 0; i < t.columns.size(); ++i) {
            // The drivers bind a null QString as NULL; NULLs here are always an empty QVariant.
            const QVariant &v = row.at(i);
            const bool nullText = v.typeId() == QMetaType::QString && v.toString().isNull();
            b.insert(t.columns.at(i), nullText ? QVariant(QLatin1String("")) : v);
        }
        binds.append(std::move(b));
    }
    if (auto n = db.execMany(sql, binds); !n)
        return tl::unexpected(n.error());
    return {};
}

} // namespace

Result<void> createDemoHospital(Database &db, const QDate &today, quint64 seed)
{
    if (!today.isValid())
        return failure(QStringLiteral("The demo hospital needs a valid date for today."));
    demo::DemoBuilder builder(today, seed);
    const QList<demo::TableRows> tables = builder.build();

    Transaction tx = db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    for (const demo::TableRows &t : tables) {
        if (auto ok = writeRows(db, t); !ok)
            return ok;
    }
    if (auto ok = db.exec(u"insert into PASSWORD..tbPasswordKey (ScrambleKey) values (:key)",
                          {{QStringLiteral("key"), demoScrambleKey()}});
        !ok)
        return tl::unexpected(ok.error());
    return tx.commit();
}

} // namespace kestrel::hospitaldb
