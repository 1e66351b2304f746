// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/db/Database.h"

#include <QAtomicInt>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSysInfo>
#include <QRandomGenerator>
#include <QThread>
#include <QTimeZone>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <optional>

Q_LOGGING_CATEGORY(lcDb, "kestrel.db")

namespace kestrel {

namespace {

// The hospital's databases. Object names are unique across all of them, so the embedded
// hospital keeps every table in one file under its bare name, and a server keeps one schema
// per database.
const QStringList &databaseNames()
{
    static const QStringList names = {
        QStringLiteral("patient_data"), QStringLiteral("build_file"), QStringLiteral("station"),
        QStringLiteral("billing"),      QStringLiteral("inventory"),  QStringLiteral("schedule"),
        QStringLiteral("radiology"),    QStringLiteral("laboratory"), QStringLiteral("cardio"),
        QStringLiteral("hemodialysis"), QStringLiteral("medicare"),   QStringLiteral("password"),
        QStringLiteral("doctors"),      QStringLiteral("capd"),
    };
    return names;
}

const QRegularExpression &objectNamePattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"((?<![A-Za-z0-9_.])()") + databaseNames().join(u'|') +
            QStringLiteral(R"()\s*\.\s*(?:dbo\s*)?\.\s*([A-Za-z_#][A-Za-z0-9_]*))"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString mapSegment(QStringView segment, Backend backend)
{
    QString out;
    out.reserve(segment.size());
    qsizetype pos = 0;
    auto it = objectNamePattern().globalMatch(segment);
    while (it.hasNext()) {
        const auto m = it.next();
        out += segment.mid(pos, m.capturedStart() - pos);
        if (backend == Backend::Postgres)
            out += m.captured(1).toLower() + u'.' + m.capturedView(2);
        else
            out += m.capturedView(2);
        pos = m.capturedEnd();
    }
    out += segment.mid(pos);
    return out;
}

// getdate() and host_name() of the embedded hospital, registered on every connection.
struct SqliteClock
{
    QDateTime pinned;
    QByteArray workstation;
};

void sqliteGetDate(sqlite3_context *ctx, int, sqlite3_value **)
{
    const auto *clock = static_cast<const SqliteClock *>(sqlite3_user_data(ctx));
    const QDateTime now = clock->pinned.isValid() ? clock->pinned : QDateTime::currentDateTime();
    const QByteArray text = Database::isoText(now).toUtf8();
    sqlite3_result_text(ctx, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

void sqliteHostName(sqlite3_context *ctx, int, sqlite3_value **)
{
    const auto *clock = static_cast<const SqliteClock *>(sqlite3_user_data(ctx));
    sqlite3_result_text(ctx, clock->workstation.constData(), int(clock->workstation.size()),
                        SQLITE_TRANSIENT);
}

// Names compare without regard to case in every alphabet a patient's name is written in, not
// only in ASCII as SQLite's own NOCASE does ("PEÑA" and "peña" are one name): the texts are
// compared case-folded, in code point order, so an index of the column and a prefix range
// agree with the comparisons. Texts of ASCII alone take the quick road.
int sqliteNoCase(void *, int leftSize, const void *leftData, int rightSize, const void *rightData)
{
    const auto *left = static_cast<const unsigned char *>(leftData);
    const auto *right = static_cast<const unsigned char *>(rightData);
    int i = 0;
    for (; i < leftSize && i < rightSize; ++i) {
        unsigned char a = left[i];
        unsigned char b = right[i];
        if (a >= 0x80 || b >= 0x80)
            break;
        a = (a >= 'A' && a <= 'Z') ? a + 32 : a;
        b = (b >= 'A' && b <= 'Z') ? b + 32 : b;
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (i == leftSize || i == rightSize)
        return (leftSize - i) - (rightSize - i) < 0 ? -1 : (leftSize == rightSize ? 0 : 1);
    const QByteArray a =
        QString::fromUtf8(reinterpret_cast<const char *>(left + i), leftSize - i).toCaseFolded().toUtf8();
    const QByteArray b = QString::fromUtf8(reinterpret_cast<const char *>(right + i), rightSize - i)
                             .toCaseFolded()
                             .toUtf8();
    // UTF-8 bytes sort in code point order.
    const int common = int(std::min(a.size(), b.size()));
    if (const int c = std::memcmp(a.constData(), b.constData(), std::size_t(common)))
        return c < 0 ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// `text LIKE pattern [ESCAPE e]` with the same case folding: "%" any run of characters, "_"
// one character, the escape character (when given) taking the next one as it is.
bool likeMatches(QStringView pattern, QStringView text, std::optional<char32_t> escape)
{
    const QList<uint> p = pattern.toString().toCaseFolded().toUcs4();
    const QList<uint> t = text.toString().toCaseFolded().toUcs4();
    qsizetype pi = 0, ti = 0, starP = -1, starT = 0;
    while (ti < t.size()) {
        if (pi < p.size()) {
            const uint c = p[pi];
            if (escape && c == *escape && pi + 1 < p.size()) {
                if (p[pi + 1] == t[ti]) {
                    pi += 2;
                    ++ti;
                    continue;
                }
            } else if (c == u'%') {
                starP = pi++;
                starT = ti;
                continue;
            } else if (c == u'_' || c == t[ti]) {
                ++pi;
                ++ti;
                continue;
            }
        }
        if (starP < 0)
            return false;
        pi = starP + 1;
        ti = ++starT;
    }
    while (pi < p.size() && p[pi] == u'%')
        ++pi;
    return pi == p.size();
}

void sqliteLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    const auto text = [&](int i) {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[i])),
                                 sqlite3_value_bytes(argv[i]));
    };
    std::optional<char32_t> escape;
    if (argc == 3) {
        const QList<uint> e = text(2).toUcs4();
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.first();
    }
    sqlite3_result_int(ctx, likeMatches(text(0), text(1), escape) ? 1 : 0);
}

// The database's own words for a failure, without the server's decorations (severity
// prefix, the echoed statement, the error code): what the user reads in the error box.
QString errorText(const QSqlError &e)
{
    QString text = e.databaseText().trimmed();
    if (text.isEmpty())
        return e.text().trimmed();
    text = text.section(u'\n', 0, 0).trimmed();
    static const QRegularExpression severity(QStringLiteral("^(ERROR|FATAL|PANIC):\\s*"));
    text.remove(severity);
    static const QRegularExpression code(QStringLiteral("\\s*\\([0-9A-Z]{5}\\)$"));
    text.remove(code);
    return text;
}

QVariant bindable(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.isNull() ? QVariant() : QVariant(Database::isoText(v.toDate()));
    case QMetaType::QDateTime:
        return v.isNull() ? QVariant() : QVariant(Database::isoText(v.toDateTime()));
    case QMetaType::QString:
        // A text value is never NULL: an empty text is stored as empty, as the hospital's
        // programs always wrote it. A NULL is bound as an invalid QVariant.
        return v.toString().isNull() ? QVariant(QStringLiteral("")) : v;
    case QMetaType::Bool:
        // Bit columns are small integers on every backend.
        return QVariant(v.toBool() ? 1 : 0);
    default:
        return v;
    }
}

QAtomicInt connectionSerial;

constexpr int kStatementCacheSize = 128;

// The first key of the server's advisory locks by which a writing transaction names its work
// (the second is the Work); the locks are shared, so they never make anyone wait.
constexpr int kWorkLockClass = 0x4B57;

// How long a statement of the embedded file has waited for another workstation's write.
struct SqliteBusy
{
    int limitMs = 0;
    QElapsedTimer waited;
};

// The file's own waiting sleeps ever longer, up to a tenth of a second, so a workstation that
// writes batch after batch keeps the file for itself while the others sleep through its gaps.
// Short random naps let a waiting workstation take its turn in the next gap.
int sqliteBusy(void *data, int count)
{
    auto *busy = static_cast<SqliteBusy *>(data);
    if (count == 0)
        busy->waited.start();
    if (busy->waited.elapsed() >= busy->limitMs)
        return 0;
    QThread::usleep(300 + QRandomGenerator::global()->bounded(1200));
    return 1;
}

// Whether `sql` only reads, so that it may run again on a new connection.
bool onlyReads(QStringView sql)
{
    return sql.trimmed().startsWith(u"select", Qt::CaseInsensitive);
}

} // namespace

QString workName(Work work)
{
    switch (work) {
    case Work::Unnamed:
        break;
    case Work::PostingCharges:
        return QStringLiteral("posting charges");
    }
    return {};
}

FailureKind failureKindOf(Backend backend, const QString &code)
{
    if (code.isEmpty())
        return FailureKind::Other;
    if (backend == Backend::Sqlite) {
        bool number = false;
        const int result = code.toInt(&number);
        if (!number)
            return FailureKind::Other;
        // The extended codes keep their family in the low byte.
        switch (result & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return FailureKind::Contention;
        default:
            return FailureKind::Other;
        }
    }
    if (code == u"40001" || code == u"40P01" || code == u"55P03")
        return FailureKind::Contention;
    if (code.startsWith(u"08") || code == u"57P01" || code == u"57P02" || code == u"57P03")
        return FailureKind::ConnectionLost;
    return FailureKind::Other;
}

struct Database::Private
{
    QString connectionName;
    SqliteClock clock;
    QHash<QString, QSqlQuery *> statements;
    bool lost = false;
    bool reachable = true;
    std::function<void(bool)> reachability;
    QDateTime pinnedServerClock;
    SqliteBusy busy;
    /// The embedded file's writer note names this connection's transaction.
    bool namedWork = false;
    /// Statements wait WaitLimits::watchedMs at a time.
    bool watched = false;

    ~Private() { clearStatements(); }
    void clearStatements()
    {
        qDeleteAll(statements);
        statements.clear();
    }
};

bool isHospitalDatabaseName(QStringView name)
{
    return databaseNames().contains(name.toString().toLower());
}

QStringList hospitalDatabaseNames()
{
    return databaseNames();
}

Database::Database(ConnectionSettings settings)
    : d(std::make_unique<Private>())
    , m_settings(std::move(settings))
    , m_procedures(std::make_shared<ProcedureRegistry>())
{
    if (m_settings.workstation.isEmpty())
        m_settings.workstation = QSysInfo::machineHostName();
    d->clock.workstation = m_settings.workstation.toUtf8();
    d->connectionName = QStringLiteral("kestrel-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
}

Database::~Database()
{
    while (m_depth > 0)
        rollbackLevel();
    d->clearStatements();
    {
        QSqlDatabase db = QSqlDatabase::database(d->connectionName, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(d->connectionName);
}

Result<std::unique_ptr<Database>> Database::open(const ConnectionSettings &settings)
{
    std::unique_ptr<Database> db(new Database(settings));
    if (auto ok = db->connect(); !ok)
        return tl::unexpected(ok.error());
    return db;
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(d->connectionName, false);
}

Result<void> Database::connect()
{
    if (m_settings.backend == Backend::Sqlite) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->connectionName);
        db.setDatabaseName(m_settings.sqliteFile.isEmpty() ? QStringLiteral(":memory:")
                                                           : m_settings.sqliteFile);
        // A statement waits seconds, not minutes, for another workstation's write; the whole
        // transaction is then tried again or the user told.
        const int busyMs = std::max(0, m_settings.waits.sqliteBusyMs);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMs));
        if (!db.open())
            return tl::unexpected(failed(db.lastError()));
        QVariant handle = db.driver()->handle();
        if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
            return failure(QStringLiteral("The embedded database driver gave no handle."));
        sqlite3 *h = *static_cast<sqlite3 *const *>(handle.constData());
        // Failures carry their extended result codes (SQLITE_BUSY_SNAPSHOT, not just BUSY).
        sqlite3_extended_result_codes(h, 1);
        d->busy.limitMs = d->watched ? std::max(0, m_settings.waits.watchedMs) : busyMs;
        sqlite3_busy_handler(h, sqliteBusy, &d->busy);
        sqlite3_create_function_v2(h, "getdate", 0, SQLITE_UTF8, &d->clock, sqliteGetDate, nullptr,
                                   nullptr, nullptr);
        sqlite3_create_function_v2(h, "host_name", 0, SQLITE_UTF8 | SQLITE_DETERMINISTIC, &d->clock,
                                   sqliteHostName, nullptr, nullptr, nullptr);
        sqlite3_create_collation_v2(h, "NOCASE", SQLITE_UTF8, nullptr, sqliteNoCase, nullptr);
        for (int arguments : {2, 3})
            sqlite3_create_function_v2(h, "like", arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                       nullptr, sqliteLike, nullptr, nullptr, nullptr);
        if (m_settings.sqliteFile != u":memory:" && !m_settings.sqliteFile.isEmpty()) {
            if (auto ok = execRaw(QStringLiteral("PRAGMA journal_mode=WAL")); !ok)
                return ok;
            if (auto ok = execRaw(QStringLiteral("PRAGMA synchronous=NORMAL")); !ok)
                return ok;
        }
        return {};
    }

    auto options = serverConnectOptions(m_settings);
    if (!options)
        return tl::unexpected(options.error());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), d->connectionName);
    // What is left empty comes from the service, the environment or the client's defaults.
    if (!m_settings.host.isEmpty())
        db.setHostName(m_settings.host);
    if (m_settings.port > 0)
        db.setPort(m_settings.port);
    db.setDatabaseName(m_settings.database);
    db.setUserName(m_settings.user);
    db.setPassword(m_settings.password);
    // host_name() on the server answers the application name the workstation gives.
    QString name = m_settings.workstation;
    name.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")));
    // Keepalives notice a server (or a network) that went silent, instead of waiting for it.
    const WaitLimits &w = m_settings.waits;
    db.setConnectOptions(QStringLiteral("application_name=%1;connect_timeout=10;keepalives=1;"
                                        "keepalives_idle=%2;keepalives_interval=%3;"
                                        "keepalives_count=%4")
                             .arg(name)
                             .arg(w.keepaliveIdleS)
                             .arg(w.keepaliveIntervalS)
                             .arg(w.keepaliveCount) +
                         *options);
    if (!db.open())
        return tl::unexpected(failed(db.lastError()));
    return startSession();
}

Result<void> Database::startSession()
{
    if (m_settings.backend == Backend::Sqlite)
        return {};
    // Every statement gets the hospital's 120 seconds, and times are the workstation's zone.
    if (auto ok = exec(u"select set_config('statement_timeout', '120000', false)"); !ok)
        return tl::unexpected(ok.error());
    // No workstation holds the others: a lock is waited for a few seconds (the batch is then
    // tried again whole), and a session left idle inside a transaction is ended by the server.
    const WaitLimits &w = m_settings.waits;
    const int lockMs = d->watched ? w.watchedMs : w.lockMs;
    if (auto ok = exec(u"select set_config('lock_timeout', :ms, false), "
                       u"set_config('idle_in_transaction_session_timeout', :idle, false)",
                       {{QStringLiteral("ms"), QString::number(std::max(0, lockMs))},
                        {QStringLiteral("idle"),
                         QString::number(std::max(0, w.idleInTransactionMs))}});
        !ok)
        return tl::unexpected(ok.error());
    // Dates come back as ISO text whatever the server's own default.
    if (auto ok = exec(u"select set_config('DateStyle', 'ISO, MDY', false)"); !ok)
        return tl::unexpected(ok.error());
    const QString zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    if (!zone.isEmpty())
        (void)exec(u"select set_config('TimeZone', :zone, false)",
                   {{QStringLiteral("zone"), zone}});
    if (d->pinnedServerClock.isValid())
        return pinClock(d->pinnedServerClock);
    return {};
}

Error Database::failed(const QSqlError &e, const QString &statement)
{
    Error error = Error::make(errorText(e), statement);
    error.code = e.nativeErrorCode().trimmed();
    error.kind = failureKindOf(m_settings.backend, error.code);
    // The client library gives no code when it lost the server: a question the server would
    // answer (even with a refusal) tells a lost connection from a statement's failure.
    if (m_settings.backend == Backend::Postgres && error.code.isEmpty()) {
        QSqlDatabase db = connection();
        bool alive = db.isValid() && db.isOpen();
        if (alive) {
            QSqlQuery probe(db);
            alive = probe.exec(QStringLiteral("select 1")) ||
                    !probe.lastError().nativeErrorCode().isEmpty();
        }
        if (!alive)
            error.kind = FailureKind::ConnectionLost;
    }
    if (error.connectionLost()) {
        d->lost = true;
        setReachable(false);
    }
    return error;
}

void Database::setReachable(bool reachable)
{
    if (d->reachable == reachable)
        return;
    d->reachable = reachable;
    if (d->reachability)
        d->reachability(reachable);
}

void Database::setReachabilityListener(std::function<void(bool)> listener)
{
    d->reachability = std::move(listener);
}

bool Database::connectionLost() const
{
    return d->lost;
}

Result<void> Database::reconnect()
{
    if (m_depth > 0)
        return failure(QStringLiteral("The connection cannot be opened again inside a "
                                      "transaction."));
    // Closed first: the prepared statements are then let go without a word to a server that
    // is gone (on a half-open connection that word would wait for an answer forever).
    QSqlDatabase db = connection();
    db.close();
    d->clearStatements();
    if (!db.open()) {
        Error error = failed(db.lastError());
        // Whatever the client library said, the server is not there to answer.
        if (error.kind == FailureKind::Other)
            error.kind = FailureKind::ConnectionLost;
        d->lost = true;
        setReachable(false);
        qCWarning(lcDb) << "the server cannot be reached:" << error.message;
        return tl::unexpected(error);
    }
    d->lost = false;
    if (auto ok = startSession(); !ok)
        return ok;
    qCInfo(lcDb) << "connection opened again";
    setReachable(true);
    return {};
}

Result<void> Database::ensureConnected()
{
    if (!d->lost)
        return {};
    if (m_depth > 0) {
        Error error = Error::make(QStringLiteral("The connection to the server was lost."));
        error.kind = FailureKind::ConnectionLost;
        return tl::unexpected(error);
    }
    return reconnect();
}

Result<QString> serverConnectOptions(const ConnectionSettings &settings)
{
    const std::pair<const char *, const QString *> options[] = {
        {"service", &settings.service},         {"sslmode", &settings.sslMode},
        {"sslrootcert", &settings.sslRootCert}, {"sslcert", &settings.sslCert},
        {"sslkey", &settings.sslKey},
    };
    QString out;
    for (const auto &[key, value] : options) {
        if (value->isEmpty())
            continue;
        // The driver turns every ";" into a separator, so such a value cannot be passed on.
        if (value->contains(u';'))
            return failure(QStringLiteral("The connection setting %1 may not hold \";\".")
                               .arg(QLatin1String(key)));
        QString quoted = *value;
        quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
        out += u';' + QLatin1String(key) + QStringLiteral("='") + quoted + u'\'';
    }
    return out;
}

QString Database::mapNames(QStringView sql) const
{
    // Only text outside quoted literals names objects.
    QString out;
    out.reserve(sql.size());
    qsizetype start = 0;
    bool inLiteral = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        if (sql.at(i) != u'\'')
            continue;
        if (!inLiteral) {
            out += mapSegment(sql.mid(start, i - start), m_settings.backend);
            start = i;
            inLiteral = true;
        } else if (i + 1 < sql.size() && sql.at(i + 1) == u'\'') {
            ++i; // a doubled quote inside the literal
        } else {
            out += sql.mid(start, i - start + 1);
            start = i + 1;
            inLiteral = false;
        }
    }
    if (inLiteral)
        out += sql.mid(start);
    else
        out += mapSegment(sql.mid(start), m_settings.backend);
    return out;
}

Result<QSqlQuery *> Database::prepared(QStringView sql)
{
    if (auto ok = ensureConnected(); !ok)
        return tl::unexpected(ok.error());
    const QString key = sql.toString();
    if (QSqlQuery *q = d->statements.value(key))
        return q;
    if (d->statements.size() >= kStatementCacheSize)
        d->clearStatements();
    auto q = std::make_unique<QSqlQuery>(connection());
    q->setForwardOnly(true);
    // Money and decimal columns come back as exact text, never through a double.
    q->setNumericalPrecisionPolicy(QSql::HighPrecision);
    const QString mapped = mapNames(sql);
    if (!q->prepare(mapped)) {
        qCWarning(lcDb) << "prepare failed:" << errorText(q->lastError()) << "in" << mapped;
        return tl::unexpected(failed(q->lastError(), mapped));
    }
    QSqlQuery *raw = q.release();
    d->statements.insert(key, raw);
    return raw;
}

Result<void> Database::bindAndRun(QSqlQuery &q, const Binds &binds, QStringView sql)
{
    for (auto it = binds.cbegin(); it != binds.cend(); ++it)
        q.bindValue(u':' + it.key(), bindable(it.value()));
    if (!q.exec()) {
        const QSqlError error = q.lastError();
        qCWarning(lcDb) << "statement failed:" << errorText(error) << error.nativeErrorCode()
                        << "in" << sql;
        q.finish();
        return tl::unexpected(failed(error, sql.toString()));
    }
    return {};
}

bool Database::ordersTextByCodePoint()
{
    if (backend() == Backend::Sqlite)
        return true;
    if (!m_codePointOrder) {
        // A failed question is answered "no" and asked again next time: the callers then
        // check each text themselves.
        auto collation = scalar(u"select current_setting('lc_collate')");
        if (!collation)
            return false;
        const QString name = collation->toString();
        m_codePointOrder = name == u"C" || name.startsWith(u"C.") || name == u"POSIX";
    }
    return *m_codePointOrder;
}

Result<RowSet> Database::select(QStringView sql, const Binds &binds)
{
    // A connection already known lost was just tried again by selectOnce() itself.
    const bool knownLost = d->lost;
    auto rows = selectOnce(sql, binds);
    // A read is asked once more on a new connection; a write never is, as it may have landed.
    if (!rows && !knownLost && rows.error().connectionLost() && m_depth == 0 && onlyReads(sql)) {
        if (auto ok = reconnect(); !ok)
            return tl::unexpected(ok.error());
        rows = selectOnce(sql, binds);
    }
    return rows;
}

Result<RowSet> Database::selectOnce(QStringView sql, const Binds &binds)
{
    auto q = prepared(sql);
    if (!q)
        return tl::unexpected(q.error());
    QSqlQuery &query = **q;
    if (auto ok = bindAndRun(query, binds, sql); !ok)
        return tl::unexpected(ok.error());
    const QSqlRecord record = query.record();
    QStringList names;
    names.reserve(record.count());
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    RowSet rows(names);
    const int n = record.count();
    while (query.next()) {
        QVariantList values;
        values.reserve(n);
        for (int i = 0; i < n; ++i)
            values << query.value(i);
        rows.append(std::move(values));
    }
    const QSqlError err = query.lastError();
    query.finish();
    if (err.isValid())
        return tl::unexpected(failed(err, sql.toString()));
    return rows;
}

Result<std::optional<Row>> Database::selectOne(QStringView sql, const Binds &binds)
{
    auto rows = select(sql, binds);
    if (!rows)
        return tl::unexpected(rows.error());
    return rows->first();
}

Result<QVariant> Database::scalar(QStringView sql, const Binds &binds)
{
    auto row = selectOne(sql, binds);
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return QVariant();
    return (*row)->value(0);
}

Result<QString> Database::hostName()
{
    if (!m_hostName) {
        auto name = scalar(u"select host_name()");
        if (!name)
            return tl::unexpected(name.error());
        m_hostName = name->toString();
    }
    return *m_hostName;
}

Result<int> Database::exec(QStringView sql, const Binds &binds)
{
    auto q = prepared(sql);
    if (!q)
        return tl::unexpected(q.error());
    if (auto ok = bindAndRun(**q, binds, sql); !ok)
        return tl::unexpected(ok.error());
    const int affected = (*q)->numRowsAffected();
    (*q)->finish();
    return affected;
}

Result<int> Database::execMany(QStringView sql, const QList<Binds> &rows)
{
    int affected = 0;
    for (const Binds &b : rows) {
        auto n = exec(sql, b);
        if (!n)
            return n;
        affected += std::max(0, *n);
    }
    return affected;
}

Result<void> Database::execRaw(const QString &sql)
{
    if (auto ok = ensureConnected(); !ok)
        return ok;
    QSqlQuery q(connection());
    if (!q.exec(sql)) {
        const QSqlError error = q.lastError();
        qCWarning(lcDb) << "statement failed:" << errorText(error) << error.nativeErrorCode()
                        << "in" << sql;
        return tl::unexpected(failed(error, sql));
    }
    return {};
}

namespace {

// The registered procedure `procedure`, or the message the server gives for a call to it with
// `arguments` arguments.
Result<const ProcedureRegistry::Entry *> procedureFor(const ProcedureRegistry &procedures,
                                                      QStringView procedure, qsizetype arguments)
{
    const ProcedureRegistry::Entry *entry = procedures.find(procedure);
    const QString shortName = procedure.toString().section(u'.', -1).trimmed();
    if (!entry)
        return failure(QStringLiteral("Could not find stored procedure '%1'.").arg(shortName),
                       procedure.toString());
    if (arguments > entry->parameterCount) {
        return failure(QStringLiteral("Procedure or function %1 has too many arguments specified.")
                           .arg(shortName),
                       procedure.toString());
    }
    return entry;
}

} // namespace

Result<RowSet> Database::call(QStringView procedure, const QVariantList &args)
{
    auto entry = procedureFor(*m_procedures, procedure, args.size());
    if (!entry)
        return tl::unexpected(entry.error());
    return (*entry)->handler(*this, ProcedureArgs(args));
}

Result<void> Database::callEach(QStringView procedure, const QList<QVariantList> &calls)
{
    qsizetype most = 0;
    for (const QVariantList &args : calls)
        most = std::max(most, args.size());
    auto entry = procedureFor(*m_procedures, procedure, most);
    if (!entry)
        return tl::unexpected(entry.error());
    if (calls.isEmpty())
        return {};
    if ((*entry)->batchHandler && calls.size() > 1) {
        QList<ProcedureArgs> all;
        all.reserve(calls.size());
        for (const QVariantList &args : calls)
            all << ProcedureArgs(args);
        return (*entry)->batchHandler(*this, all);
    }
    for (const QVariantList &args : calls) {
        if (auto ok = (*entry)->handler(*this, ProcedureArgs(args)); !ok)
            return tl::unexpected(ok.error());
    }
    return {};
}

int Database::parameterCount(QStringView database, QStringView procedure) const
{
    return m_procedures->parameterCount(database, procedure);
}

void Database::setProcedures(std::shared_ptr<const ProcedureRegistry> procedures)
{
    m_procedures = procedures ? std::move(procedures) : std::make_shared<ProcedureRegistry>();
}

Result<QDateTime> Database::loadServerDate()
{
    auto v = scalar(u"select GETDATE() AS Tdate");
    if (!v)
        return tl::unexpected(v.error());
    const QDateTime now = dateTimeFromVariant(*v);
    if (!now.isValid())
        return failure(QStringLiteral("The server gave no date."));
    m_serverNow = now;
    return now;
}

Result<void> Database::pinClock(const QDateTime &when)
{
    if (m_settings.backend == Backend::Sqlite) {
        d->clock.pinned = when;
        return {};
    }
    // Kept, so that a connection opened again answers the same time.
    d->pinnedServerClock = when;
    auto ok = exec(u"select set_config('kestrel.now', :when, false)",
                   {{QStringLiteral("when"), when.isValid() ? isoText(when) : QString()}});
    if (!ok)
        return tl::unexpected(ok.error());
    return {};
}

QString Database::isoText(const QDateTime &dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString Database::isoText(const QDate &d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

Transaction Database::transaction(TransactionMode mode)
{
    if (auto ok = begin(mode); !ok)
        return Transaction(this, false, ok.error());
    return Transaction(this, true, {});
}

Transaction Database::transaction(TransactionMode mode, Work work)
{
    if (auto ok = begin(mode); !ok)
        return Transaction(this, false, ok.error());
    if (m_depth == 1 && work != Work::Unnamed) {
        if (auto ok = nameWork(work); !ok) {
            rollbackLevel();
            return Transaction(this, false, ok.error());
        }
    }
    return Transaction(this, true, {});
}

QString Database::workFile() const
{
    const QString &file = m_settings.sqliteFile;
    if (file.isEmpty() || file == u":memory:")
        return {};
    return file + QStringLiteral("-writer");
}

Result<void> Database::nameWork(Work work)
{
    if (m_settings.backend == Backend::Postgres) {
        // Held until the transaction ends; another workstation finds it in the lock table.
        auto ok = exec(u"select pg_advisory_xact_lock_shared(:class, :work)",
                       {{QStringLiteral("class"), kWorkLockClass},
                        {QStringLiteral("work"), int(work)}});
        if (!ok)
            return tl::unexpected(ok.error());
        return {};
    }
    // The embedded file has one writer at a time: the one holding its write lock notes itself
    // in a small file beside it, which the waiting workstations read when they give up.
    const QString path = workFile();
    if (path.isEmpty())
        return {};
    QFile note(path);
    if (note.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        note.write((m_settings.workstation + u'\t' + workName(work)).toUtf8());
        d->namedWork = true;
    }
    return {};
}

void Database::forgetWork()
{
    // Emptied while the write lock is still held, so a later writer's note is never lost.
    if (!d->namedWork)
        return;
    d->namedWork = false;
    QFile note(workFile());
    if (note.open(QIODevice::WriteOnly | QIODevice::Truncate))
        note.close();
}

std::optional<WorkHolder> Database::holderOfWait()
{
    if (m_settings.backend == Backend::Sqlite) {
        QFile note(workFile());
        if (!note.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QString text = QString::fromUtf8(note.readAll());
        if (text.isEmpty())
            return std::nullopt;
        return WorkHolder{text.section(u'\t', 0, 0), text.section(u'\t', 1)};
    }
    if (m_depth > 0)
        return std::nullopt;
    // The transaction that waited is gone with its wait: the oldest other transaction that
    // writes in this database is the one most likely holding what it needed.
    auto row = selectOne(u"select a.application_name as Workstation, w.objid as Work "
                         u"from pg_stat_activity a left join pg_locks w on w.pid = a.pid "
                         u"and w.locktype = 'advisory' and w.classid = :class "
                         u"and w.objsubid = 2 and w.granted "
                         u"where a.datname = current_database() and a.pid <> pg_backend_pid() "
                         u"and a.backend_xid is not null "
                         u"order by a.xact_start, w.objid limit 1",
                         {{QStringLiteral("class"), kWorkLockClass}});
    if (!row || !*row)
        return std::nullopt;
    const Row &r = **row;
    return WorkHolder{r.text(u"Workstation"), workName(Work(r.value(u"Work").toInt()))};
}

Result<void> Database::setWatchedWaits(bool watched)
{
    d->watched = watched;
    const WaitLimits &w = m_settings.waits;
    if (m_settings.backend == Backend::Sqlite) {
        d->busy.limitMs = std::max(0, watched ? w.watchedMs : w.sqliteBusyMs);
        return {};
    }
    // A lost connection takes the setting up again when it is opened again.
    if (d->lost)
        return {};
    auto ok = exec(u"select set_config('lock_timeout', :ms, false)",
                   {{QStringLiteral("ms"),
                     QString::number(std::max(0, watched ? w.watchedMs : w.lockMs))}});
    if (!ok)
        return tl::unexpected(ok.error());
    return {};
}

Result<void> Database::begin(TransactionMode mode)
{
    if (m_depth == 0 && mode == TransactionMode::Write && m_settings.backend == Backend::Sqlite) {
        // The driver's own BEGIN is deferred; its COMMIT and ROLLBACK end this one alike.
        if (auto ok = execRaw(QStringLiteral("BEGIN IMMEDIATE")); !ok)
            return ok;
    } else if (m_depth == 0) {
        if (auto ok = ensureConnected(); !ok)
            return ok;
        if (!connection().transaction())
            return tl::unexpected(failed(connection().lastError()));
    } else if (auto ok = execRaw(QStringLiteral("SAVEPOINT kestrel_%1").arg(m_depth)); !ok) {
        return ok;
    }
    ++m_depth;
    return {};
}

Result<void> Database::commitLevel()
{
    Q_ASSERT(m_depth > 0);
    if (m_depth == 1) {
        forgetWork();
        if (!connection().commit()) {
            Error error = failed(connection().lastError(), QStringLiteral("COMMIT"));
            // The server may have committed before the answer was lost.
            if (error.kind == FailureKind::ConnectionLost)
                error.kind = FailureKind::OutcomeUnknown;
            rollbackLevel();
            return tl::unexpected(error);
        }
        m_depth = 0;
        return {};
    }
    auto ok = execRaw(QStringLiteral("RELEASE SAVEPOINT kestrel_%1").arg(m_depth - 1));
    if (!ok) {
        rollbackLevel();
        return ok;
    }
    --m_depth;
    return {};
}

void Database::rollbackLevel()
{
    if (m_depth <= 0)
        return;
    // Statements still open would keep the transaction's locks.
    for (QSqlQuery *q : std::as_const(d->statements))
        q->finish();
    if (m_depth == 1) {
        forgetWork();
        if (!connection().rollback())
            qCWarning(lcDb) << "rollback failed:" << errorText(connection().lastError());
    } else {
        (void)execRaw(QStringLiteral("ROLLBACK TO SAVEPOINT kestrel_%1").arg(m_depth - 1));
        (void)execRaw(QStringLiteral("RELEASE SAVEPOINT kestrel_%1").arg(m_depth - 1));
    }
    --m_depth;
}

Transaction::Transaction(Database *db, bool active, Error error)
    : m_db(db)
    , m_active(active)
    , m_error(std::move(error))
{
}

Transaction::Transaction(Transaction &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr))
    , m_active(std::exchange(other.m_active, false))
    , m_error(std::move(other.m_error))
{
}

Transaction::~Transaction()
{
    rollback();
}

Result<void> Transaction::commit()
{
    if (!isActive()) {
        if (m_error.message.isEmpty())
            return failure(QStringLiteral("No transaction is open."));
        return tl::unexpected(m_error);
    }
    m_active = false;
    return m_db->commitLevel();
}

void Transaction::rollback()
{
    if (!isActive())
        return;
    m_active = false;
    m_db->rollbackLevel();
}

} // namespace kestrel
