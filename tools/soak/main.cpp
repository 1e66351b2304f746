// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// kestrel-soak: several workstation processes post charge batches through the charge window's
// posting on a hospital database of the run's own, while workstations are killed (and started
// again at once, resuming) and, on PostgreSQL, the server is restarted. Afterwards it counts
// duplicate slips, partial batches and double charges, which must all be 0, and checks that
// every workstation was still posting at the end. `make soak` runs it on both backends; the
// figures are in docs/reliability.md.
#include "BenchSeams.h"

#include "charging/ChargePosting.h"
#include "charging/ChargeSlipPrinter.h"
#include "core/components/clsDrugPicker.h"
#include "core/db/Database.h"
#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "hospitaldb/Schema.h"
#include "reports/ReportService.h"
#include "support/PrivateServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <csignal>
#include <cstdio>

using namespace kestrel;

namespace {

const QString kWorkstation = QStringLiteral("SOAK-WS-%1");

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

// Where a workstation finds the database: the embedded file, or "pg:host:port:user:database".
ConnectionSettings settingsOf(const QString &where, int workstation)
{
    ConnectionSettings s;
    if (where.startsWith(u"pg:")) {
        const QStringList p = where.split(u':');
        s.backend = Backend::Postgres;
        s.host = p.value(1);
        s.port = p.value(2).toInt();
        s.user = p.value(3);
        s.database = p.value(4);
        s.sslMode = QStringLiteral("disable");
    } else {
        s.sqliteFile = where;
    }
    s.workstation = workstation > 0 ? kWorkstation.arg(workstation) : QStringLiteral("SOAK-CHECK");
    return s;
}

PostingLine line(const QString &department, const QString &item, const QString &description,
                 const QString &amount)
{
    PostingLine l;
    l.line.department = department;
    l.line.item = item;
    l.line.description = description;
    l.line.quantity = QStringLiteral("1");
    l.line.amount = l.line.unitPrice = l.line.listPrice = amount;
    return l;
}

// One workstation: posts until the database holds `batches` of its batches. Prints "slip C…"
// for every batch it was told was saved, "landed C…" when it was told so after a lost
// connection, and "told …" for every save that failed (the user would save again).
int runWorkstation(const QString &where, int workstation, int batches)
{
    const ConnectionSettings settings = settingsOf(where, workstation);
    std::unique_ptr<Database> db;
    // Started while the server restarts: it comes back within seconds.
    for (int tries = 0; !db; ++tries) {
        auto opened = Database::open(settings);
        if (opened)
            db = std::move(*opened);
        else if (tries > 300)
            return 3;
        else
            QThread::msleep(100);
    }
    db->setProcedures(hospitaldb::hospitalProcedures());
    bench::BenchSession s(*db);
    s.session.StationID = QStringLiteral("OR");
    s.session.hospital.IsPrintChargeSlip = false;
    s.notifier.answer = true; // confirms, and tries again when told records were held
    clsDrugPicker picker(s.context);
    picker.InitConnect(db.get());
    bench::NullReportDisplay display;
    ReportService reports(*db, QString(), {}, display, s.notifier);
    ChargeSlipPrinter printer(s.session, reports);
    bench::BenchPostingPrompts prompts;
    prompts.doctor = {QStringLiteral("1102"), QStringLiteral("NEPOMUCENO, ALFREDO")};
    ChargePosting posting(s.session, prompts, &picker, printer);
    const QList<PostingLine> lines{
        line(QStringLiteral("OE"), QStringLiteral("OE2001"),
             QStringLiteral("ELECTROCAUTERY MACHINE"), QStringLiteral("1500")),
        line(QStringLiteral("PH"), QStringLiteral("PH1002"),
             QStringLiteral("KETOROLAC 30 MG/ML AMPULE"), QStringLiteral("95"))};

    auto setUp = [&]() -> bool {
        auto stay = db->selectOne(
            u"select S.IDNum, S.HospNum, S.RoomID from PATIENT_DATA..tbPatient S where "
            u"S.DcrDate is null and S.BillingDate is null and not exists (select 1 from "
            u"STATION..tbNurseDischargeNotice N where N.IDNum = S.IDNum and N.ClearDate is not "
            u"null) order by S.IDNum limit 1");
        if (!stay || !*stay)
            return false;
        CurrentPatientRecord &p = s.session.CurrentPatient;
        p.clear();
        p.IdNum = (*stay)->trimmed(u"IDNum");
        p.HospNum = (*stay)->trimmed(u"HospNum");
        p.RoomID = (*stay)->trimmed(u"RoomID");
        p.PatientClass = QStringLiteral("I");
        p.AttendingDoctor = QStringLiteral("DR. JOSE RIZALINO CRUZ");
        return true;
    };
    auto postedSoFar = [&]() -> std::optional<qint64> {
        auto n = db->scalar(u"select count(*) from STATION..tbORChargeSlipIssued where "
                            u"HostName = :host",
                            {{QStringLiteral("host"), settings.workstation}});
        if (!n)
            return std::nullopt;
        return n->toLongLong();
    };
    std::optional<qint64> done;
    while (!done || !s.session.CurrentPatient.IdNum.size()) {
        done = postedSoFar();
        if (done && !setUp())
            return 4;
        if (!done)
            QThread::msleep(200);
    }
    out() << "resume " << *done << Qt::endl;
    while (*done < batches) {
        const PostingOutcome outcome = posting.save(lines, QStringLiteral("OR"));
        if (outcome.saved()) {
            ++*done;
            out() << (posting.lastWrite().foundLanded ? "landed " : "slip ") << outcome.chargeSlip
                  << Qt::endl;
        } else {
            out() << "told " << s.notifier.takeBoxes().join(u" / ").simplified() << Qt::endl;
            QThread::msleep(200);
        }
    }
    return 0;
}

struct Workstation
{
    int index = 0;
    QProcess *process = nullptr;
    int incarnations = 0;
    qint64 postedSinceRestart = 0; ///< batches since the last server restart
    bool finished = false;
};

struct Figures
{
    int killed = 0;
    int restarts = 0;
    int told = 0;
    int landed = 0;
    int crashed = 0;
    QSet<QString> reported;
    QStringList reportedTwice;
};

Result<void> prepare(Database &db)
{
    db.setProcedures(hospitaldb::hospitalProcedures());
    if (auto ok = hospitaldb::applySchema(db); !ok)
        return ok;
    if (auto ok = hospitaldb::createDemoHospital(db, QDate::currentDate()); !ok)
        return ok;
    // The soak posts thousands of batches to one stay: no credit line, no printing.
    if (auto ok = db.exec(u"delete from STATION..tbNurseSetup where Field = 'CheckCredLim'"); !ok)
        return tl::unexpected(ok.error());
    if (auto ok = db.exec(u"update PATIENT_DATA..tbHospitalInfo set IsPrintChargeSlip = 0"); !ok)
        return tl::unexpected(ok.error());
    return {};
}

qint64 count(Database &db, QStringView sql)
{
    auto n = db.scalar(sql);
    return n ? n->toLongLong() : -1;
}

int runSoak(const QCommandLineParser &args)
{
    const bool server = args.value(QStringLiteral("backend")) == u"postgres";
    const int batches = args.value(QStringLiteral("batches")).toInt();
    const int workstations = args.value(QStringLiteral("workstations")).toInt();
    const int kills = args.value(QStringLiteral("kills")).toInt();
    const int restarts = server ? args.value(QStringLiteral("restarts")).toInt() : 0;
    if (batches <= 0 || workstations <= 0)
        return 2;

    QTemporaryDir scratch;
    test::PrivateServer pg;
    QString where;
    if (server) {
        if (auto ok = pg.start(); !ok) {
            qCritical("%s", qPrintable(ok.error().message));
            return 2;
        }
        if (auto ok = pg.createDatabase(QStringLiteral("kestrel_soak")); !ok) {
            qCritical("%s", qPrintable(ok.error().message));
            return 2;
        }
        where = QStringLiteral("pg:127.0.0.1:%1:%2:kestrel_soak")
                    .arg(pg.port())
                    .arg(test::PrivateServer::user());
    } else {
        where = scratch.filePath(QStringLiteral("soak.sqlite"));
    }
    std::unique_ptr<Database> check;
    {
        auto opened = Database::open(settingsOf(where, 0));
        if (!opened) {
            qCritical("%s", qPrintable(opened.error().message));
            return 2;
        }
        check = std::move(*opened);
    }
    if (auto ok = prepare(*check); !ok) {
        qCritical("%s", qPrintable(ok.error().message));
        return 2;
    }
    const qint64 logbookBefore = count(*check, u"select count(*) from STATION..tbNurseLogBook");
    const qint64 stockCardBefore = count(*check, u"select count(*) from INVENTORY..tbInvStockCard");
    out() << "kestrel-soak: " << (server ? "PostgreSQL" : "SQLite") << ", " << workstations
          << " workstations x " << batches << " batches, " << kills << " kills, " << restarts
          << " server restarts" << Qt::endl;

    QElapsedTimer clock;
    clock.start();
    Figures f;
    QList<Workstation> ws(workstations);
    auto launch = [&](Workstation &w) {
        delete w.process;
        w.process = new QProcess;
        w.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        w.process->start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--worker"), where, QString::number(w.index),
                          QString::number(batches)});
        ++w.incarnations;
    };
    for (int i = 0; i < workstations; ++i) {
        ws[i].index = i + 1;
        launch(ws[i]);
    }
    const qint64 total = qint64(workstations) * batches;
    auto progress = [&] { return qint64(f.reported.size()); };
    auto read = [&](Workstation &w) {
        while (w.process->canReadLine()) {
            const QString text = QString::fromUtf8(w.process->readLine()).trimmed();
            const QString slip = text.section(u' ', 1);
            if (text.startsWith(u"slip ") || text.startsWith(u"landed ")) {
                if (f.reported.contains(slip))
                    f.reportedTwice << slip;
                f.reported.insert(slip);
                f.landed += text.startsWith(u"landed ");
                ++w.postedSinceRestart;
            } else if (text.startsWith(u"told ")) {
                ++f.told;
            }
        }
    };
    auto *random = QRandomGenerator::global();
    while (std::any_of(ws.cbegin(), ws.cend(), [](const Workstation &w) { return !w.finished; })) {
        for (Workstation &w : ws) {
            if (w.finished)
                continue;
            w.process->waitForReadyRead(5);
            read(w);
            if (w.process->state() == QProcess::NotRunning) {
                w.process->waitForFinished(0);
                read(w);
                if (w.process->exitStatus() == QProcess::NormalExit && w.process->exitCode() == 0) {
                    w.finished = true;
                } else {
                    ++f.crashed;
                    launch(w);
                }
            }
        }
        // The kills and restarts are spread over the run by its progress.
        if (f.killed < kills && progress() * (kills + 1) >= (f.killed + 1) * total) {
            QList<Workstation *> running;
            for (Workstation &w : ws)
                if (!w.finished && w.process->state() == QProcess::Running)
                    running << &w;
            if (!running.isEmpty()) {
                Workstation *victim = running.at(random->bounded(int(running.size())));
                // Somewhere inside its work, not always right after a line was printed.
                QThread::msleep(random->bounded(30));
                ::kill(pid_t(victim->process->processId()), SIGKILL);
                victim->process->waitForFinished(5000);
                read(*victim);
                ++f.killed;
                launch(*victim);
            }
        }
        if (f.restarts < restarts && progress() * (restarts + 1) >= (f.restarts + 1) * total) {
            if (auto ok = pg.restart(); !ok)
                qWarning("%s", qPrintable(ok.error().message));
            ++f.restarts;
            for (Workstation &w : ws)
                w.postedSinceRestart = 0;
        }
    }
    const double seconds = double(clock.elapsed()) / 1000;
    for (Workstation &w : ws)
        delete w.process;

    // What the database holds.
    const QString soakSlips = QStringLiteral(
        " from STATION..tbORChargeSlipIssued I where I.HostName like 'SOAK-WS-%'");
    const qint64 stored = count(*check, QString(u"select count(*)" + soakSlips));
    const qint64 distinctSlips =
        count(*check, QString(u"select count(distinct I.ChargeSlip)" + soakSlips));
    const qint64 distinctBatches =
        count(*check, QString(u"select count(distinct I.BatchID)" + soakSlips));
    const qint64 partial = count(
        *check, QString(u"select count(*)" + soakSlips +
                        u" and ((select count(*) from STATION..tbNurseLogBook L where "
                        u"L.ReferenceNum = I.ChargeSlip) <> 2 or (select count(*) from "
                        u"INVENTORY..tbInvStockCard S where S.RefNum = I.ChargeSlip) <> 1)"));
    const qint64 logbook = count(*check, u"select count(*) from STATION..tbNurseLogBook");
    const qint64 stockCard = count(*check, u"select count(*) from INVENTORY..tbInvStockCard");
    QStringList perWorkstation;
    bool everyOneDone = true;
    bool everyOnePosting = true;
    for (const Workstation &w : std::as_const(ws)) {
        const qint64 n =
            check->scalar(u"select count(*) from STATION..tbORChargeSlipIssued where HostName = "
                          u":host",
                          {{QStringLiteral("host"), kWorkstation.arg(w.index)}})
                .value_or(QVariant(-1))
                .toLongLong();
        everyOneDone = everyOneDone && n == batches;
        everyOnePosting = everyOnePosting && (w.postedSinceRestart > 0 || restarts == 0);
        perWorkstation << QString::number(n);
    }
    qsizetype reportedMissing = 0;
    const RowSet slips =
        check->select(QString(u"select I.ChargeSlip" + soakSlips)).value_or(RowSet());
    QSet<QString> storedSlips;
    for (const Row &r : slips)
        storedSlips.insert(r.trimmed(u"ChargeSlip"));
    for (const QString &slip : std::as_const(f.reported))
        reportedMissing += !storedSlips.contains(slip);

    const qint64 duplicates = stored - distinctSlips;
    // More batches than were posted, or a batch identity twice (or none).
    const qint64 doubleCharges = std::max<qint64>(0, stored - total) + (stored - distinctBatches);
    const qint64 orphans = (logbook - logbookBefore - 2 * stored) +
                           (stockCard - stockCardBefore - stored);
    out() << "time " << QString::number(seconds, 'f', 1) << " s, " << stored
          << " batches stored (per workstation " << perWorkstation.join(u", ") << ")\n"
          << "kills " << f.killed << ", server restarts " << f.restarts
          << ", workstation exits other than kills " << f.crashed
          << ", saves told to the user as failed " << f.told
          << ", saves found landed after a lost answer " << f.landed << "\n"
          << "duplicate slips " << duplicates << ", partial batches " << partial
          << ", double charges " << doubleCharges << ", lines outside a batch " << orphans
          << ", slips told but not stored " << reportedMissing << ", slips told twice "
          << f.reportedTwice.size() << "\n"
          << "every workstation posted all its batches: " << (everyOneDone ? "yes" : "NO")
          << ", still posting after the last restart: " << (everyOnePosting ? "yes" : "NO")
          << Qt::endl;
    const bool clean = duplicates == 0 && partial == 0 && doubleCharges == 0 && orphans == 0 &&
                       reportedMissing == 0 && f.reportedTwice.isEmpty() && everyOneDone &&
                       everyOnePosting;
    out() << (clean ? "PASS" : "FAIL") << Qt::endl;
    return clean ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList raw = app.arguments();
    if (raw.size() == 5 && raw.at(1) == u"--worker")
        return runWorkstation(raw.at(2), raw.at(3).toInt(), raw.at(4).toInt());
    QCommandLineParser args;
    args.setApplicationDescription(QStringLiteral(
        "Workstations post charge batches while they are killed and the server restarts."));
    args.addHelpOption();
    args.addOptions({
        {QStringLiteral("backend"), QStringLiteral("sqlite or postgres"), QStringLiteral("name"),
         QStringLiteral("sqlite")},
        {QStringLiteral("batches"), QStringLiteral("Batches per workstation."),
         QStringLiteral("n"), QStringLiteral("2000")},
        {QStringLiteral("workstations"), QStringLiteral("Workstation processes."),
         QStringLiteral("n"), QStringLiteral("4")},
        {QStringLiteral("kills"), QStringLiteral("Workstations killed during the run."),
         QStringLiteral("n"), QStringLiteral("100")},
        {QStringLiteral("restarts"), QStringLiteral("Server restarts during the run (server)."),
         QStringLiteral("n"), QStringLiteral("10")},
    });
    args.process(app);
    return runSoak(args);
}
