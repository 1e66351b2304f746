// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryPrompts.h"
#include "charging/ChargePosting.h"
#include "charging/PricingPrompts.h"
#include "reports/ReportService.h"
#include "core/components/clsPatientFinder.h"
#include "core/components/CodePickList.h"
#include "core/components/Component.h"
#include "core/Dialogs.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QStringList>

namespace kestrel::bench {

/// The message boxes of a benchmark run: questions get the answer the path scripted, and any
/// other box is remembered, since a path that tells the user something did not do its work.
class BenchNotifier : public Notifier
{
public:
    void message(const QString &text, const QString &title, Icon icon) override;
    bool confirm(const QString &text, const QString &title, Icon icon, Answer byDefault) override;

    /// What every question is answered.
    bool answer = false;
    /// The boxes shown since the last takeBoxes().
    QStringList takeBoxes();

private:
    QStringList m_boxes;
};

/// Re-validation signed by one employee, every time.
class BenchDialogs : public Dialogs
{
public:
    ValidatedUser validateUser(bool askReason) override;

    QString signer = QStringLiteral("2901");
};

/// The logged-in OR employee on the benchmark's connection.
class BenchUser : public CurrentUser
{
public:
    BenchUser(Database &db, QString code)
        : m_db(db)
        , m_code(std::move(code))
    {
    }
    QString EmployeeCode() const override { return m_code; }
    QString EmployeeName() const override { return QStringLiteral("BENCH, OR ") + m_code; }
    QString Initial() const override { return QStringLiteral("BO"); }
    QString servername() const override { return QStringLiteral("BENCH"); }
    Database *sqlconnection() const override { return &m_db; }

private:
    Database &m_db;
    QString m_code;
};

/// The markup and doctor's fee windows: no markup, and a fixed fee where one is asked.
class BenchPricingPrompts : public PricingPrompts
{
public:
    MarkupChoice askMarkup() override { return {}; }
    DoctorsFeeAnswer askDoctorsFee(const QString &doctorId, const QString &doctorName) override;
};

/// "Enter Requesting Doctor": always the same doctor.
class BenchPostingPrompts : public PostingPrompts
{
public:
    RequestingDoctor askRequestingDoctor() override { return doctor; }
    RequestingDoctor doctor;
};

/// The code pick-list picks the row of the code the benchmark looks up.
class BenchCodePickList : public CodePickList
{
public:
    std::optional<int> pick(const CodeListing &listing) override;

    QString code;
};

/// The procedure list, meals and PSI windows of the charge window, all left without an answer.
class BenchChargePrompts : public ChargeEntryPrompts
{
public:
    QString askORProcedure(const QList<ORProcedure> &) override { return {}; }
    std::optional<MealEntry> askMeals(const QString &) override { return std::nullopt; }
    std::optional<PsiReading> askPsiReading(const ChargeEntryLine &) override
    {
        return std::nullopt;
    }
};

/// Reports go nowhere: the benchmark exports them itself.
class NullReportDisplay : public ReportDisplay
{
public:
    void showViewer(std::shared_ptr<const RenderedReport>, const ViewerOptions &) override {}
    void showMedicationSheet(std::shared_ptr<const RenderedReport>, const QString &) override {}
    Result<void> printNow(std::shared_ptr<const RenderedReport>) override { return {}; }
};

/// A logged-in OR session on the benchmark's connection, with its settings loaded and the
/// patient component the windows find patients with.
struct BenchSession
{
    explicit BenchSession(Database &db);

    Database &db;
    BenchNotifier notifier;
    BenchDialogs dialogs;
    BenchUser user;
    Session session{notifier, dialogs};
    ComponentContext context{notifier};
    clsPatientFinder finder{context};
};

} // namespace kestrel::bench
