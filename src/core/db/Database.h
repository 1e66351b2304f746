// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/Procedures.h"
#include "core/db/RowSet.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class QSqlError;

Q_DECLARE_LOGGING_CATEGORY(lcDb)

namespace kestrel {

enum class Backend { Sqlite, Postgres };

/// The kind of failure the database's `code` names on `backend` (a SQLSTATE on the server, an
/// extended result code on the embedded file): the one place that decides which failures are
/// tried again. Lock conflicts (serialization failure 40001, deadlock 40P01, lock not available
/// 55P03, SQLITE_BUSY and SQLITE_LOCKED with their extended codes) are Contention; a lost or
/// refused connection (class 08, the server shutting down 57P01-57P03) is ConnectionLost.
FailureKind failureKindOf(Backend backend, const QString &code);

/// How long the connection waits before a lock conflict is reported.
struct WaitLimits
{
    /// The embedded file: how long a statement waits for another workstation's write.
    int sqliteBusyMs = 5000;
    /// The server: how long a statement waits for a row or table another transaction holds.
    int lockMs = 5000;
    /// The server ends a session left inside a transaction with nothing to do this long (a
    /// workstation suspended or cut off mid-save), so it cannot hold the others' work.
    int idleInTransactionMs = 30000;
    /// TCP keepalives: a server that stopped answering is noticed after idle + count x interval.
    int keepaliveIdleS = 20;
    int keepaliveIntervalS = 5;
    int keepaliveCount = 3;
    /// While the user watches a write wait (a window showing its progress), each statement
    /// waits this long at a time, so the window answers and can be cancelled between tries.
    int watchedMs = 500;
};

/// The kinds of work a writing transaction names, so that a workstation it makes wait can tell
/// its user what holds the records. The numbers are stored nowhere but in the server's lock
/// table while the transaction runs; a new kind takes the next number.
enum class Work { Unnamed = 0, PostingCharges = 1 };

/// How the user reads `work`: "posting charges"; empty for Unnamed.
QString workName(Work work);

/// Another workstation's transaction that held what a write waited for, as far as the
/// database can tell: the workstation's name and the kind of work (empty when its transaction
/// named none).
struct WorkHolder
{
    QString workstation;
    QString work;
};

/// Where the hospital database lives.
struct ConnectionSettings
{
    Backend backend = Backend::Sqlite;
    QString sqliteFile; ///< the embedded hospital's file, or ":memory:"
    /// A service of the PostgreSQL service file (pg_service.conf) naming the server, database
    /// and user. Host, port, database and user given here as well win over the service's;
    /// leave them empty (port 0) to take the service's.
    QString service;
    QString host = QStringLiteral("127.0.0.1");
    int port = 5432; ///< 0: the service's or the client library's default
    QString database;
    QString user;
    /// Empty: the client library finds it (~/.pgpass, PGPASSFILE) or needs none (certificate).
    QString password;
    /// TLS to the server: disable, allow, prefer (the client library's default), require,
    /// verify-ca or verify-full. Empty leaves the default.
    QString sslMode;
    QString sslRootCert; ///< the CA file the server's certificate must be signed by
    QString sslCert;     ///< this workstation's client certificate, when the server asks one
    QString sslKey;      ///< the client certificate's key
    /// What host_name() answers in statements: this workstation's name.
    QString workstation;
    WaitLimits waits;
};

/// The connection options a server connection hands to the client library beyond host, port,
/// database, user and password: the service and the TLS settings, each `key='value'`. A value
/// holding ";" cannot be passed through and is refused.
Result<QString> serverConnectOptions(const ConnectionSettings &settings);

/// Values bound to the `:name` placeholders of a statement (names without the colon).
using Binds = QVariantMap;

class Transaction;

/// What a transaction expects to do. A Write transaction on SQLite takes the database's write
/// lock when it begins (BEGIN IMMEDIATE), so a read it makes before writing can never be
/// overtaken by another writer; on PostgreSQL it is an ordinary transaction, whose statements
/// lock the rows they need (SELECT ... FOR UPDATE). Inside another transaction it is a
/// savepoint of that one and has the outer transaction's locks.
enum class TransactionMode { Deferred, Write };

/// The one connection to the hospital database that every window uses.
///
/// Statements are written with the hospital's object names (`STATION..tbStationLogs`,
/// `Build_File.dbo.tbCoDoctor`) and bound values only; the connection maps the names for the
/// database it is on, runs the statement, and reads the whole result. Failures come back as
/// an Error holding the database's own message.
class Database
{
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    /// Opens a connection. SQLite files are created when missing.
    static Result<std::unique_ptr<Database>> open(const ConnectionSettings &settings);

    Backend backend() const { return m_settings.backend; }
    const ConnectionSettings &settings() const { return m_settings; }
    /// The underlying connection, for item models that read straight from it.
    QSqlDatabase connection() const;

    /// `sql` with every hospital object name rewritten for this backend.
    QString mapNames(QStringView sql) const;

    /// Runs a query and reads every row.
    Result<RowSet> select(QStringView sql, const Binds &binds = {});
    /// The first row, or nullopt when there is none.
    Result<std::optional<Row>> selectOne(QStringView sql, const Binds &binds = {});
    /// The first field of the first row; a null QVariant when there is no row.
    Result<QVariant> scalar(QStringView sql, const Binds &binds = {});
    /// Runs a statement that returns no rows; answers the number of rows it touched.
    Result<int> exec(QStringView sql, const Binds &binds = {});
    /// Runs a statement for every row of `rows` with one prepared statement (bulk loads).
    Result<int> execMany(QStringView sql, const QList<Binds> &rows);
    /// Runs a statement without placeholders or name mapping (schema scripts).
    Result<void> execRaw(const QString &sql);

    /// Calls a stored procedure of the hospital database ("STATION..sp_X") with its
    /// arguments in order.
    Result<RowSet> call(QStringView procedure, const QVariantList &args = {});
    /// Calls `procedure` once for each argument list, in order, for a procedure whose answer
    /// is not read. A procedure that writes its rows in one statement gets all the calls at
    /// once: one round trip to the server instead of one a call.
    Result<void> callEach(QStringView procedure, const QList<QVariantList> &calls);
    /// The parameter-count probe: how many parameters `procedure` of `database` declares,
    /// 0 when it does not exist (callers then use the older argument list).
    int parameterCount(QStringView database, QStringView procedure) const;
    void setProcedures(std::shared_ptr<const ProcedureRegistry> procedures);
    const ProcedureRegistry &procedures() const { return *m_procedures; }
    /// The registry itself, for a second connection to the same hospital.
    std::shared_ptr<const ProcedureRegistry> procedureRegistry() const { return m_procedures; }

    /// Starts a transaction; inside another one it becomes a savepoint of it.
    Transaction transaction(TransactionMode mode = TransactionMode::Deferred);
    /// Starts a transaction that names its `work` to the workstations it makes wait (see
    /// holderOfWait()); inside another transaction the outer one's name stays.
    Transaction transaction(TransactionMode mode, Work work);
    /// Who holds the records a write of this connection just waited for in vain: the oldest
    /// other writing transaction on the server, or the embedded file's current writer;
    /// nullopt when none is found (it let go meanwhile) or the question failed.
    std::optional<WorkHolder> holderOfWait();
    /// Whether each statement waits only WaitLimits::watchedMs for another workstation (true)
    /// or the connection's usual limits (false).
    Result<void> setWatchedWaits(bool watched);
    bool inTransaction() const { return m_depth > 0; }

    /// Reads the server's clock ("select GETDATE() AS Tdate") and keeps it as serverNow().
    Result<QDateTime> loadServerDate();
    /// The server time of the last loadServerDate().
    QDateTime serverNow() const { return m_serverNow; }
    /// Makes getdate() answer `when` (tests and demonstrations); an invalid value unpins.
    Result<void> pinClock(const QDateTime &when);

    /// Whether text is ordered by code point, without regard to case: SQLite always,
    /// PostgreSQL under the C collation. Then the texts between a prefix and the prefix
    /// followed by U+10FFFF are exactly those that begin with it. Asked once per connection.
    bool ordersTextByCodePoint();
    /// What host_name() answers on this connection, asked once. A workstation's own rows are
    /// found by comparing their host name to this as a bound value: the server's function
    /// answers plain text, which the index of a case-blind column cannot take.
    Result<QString> hostName();

    /// Whether the connection was found lost and is not back yet.
    bool connectionLost() const;
    /// Opens the connection again with the same settings (no new login): the statements it
    /// prepared, the session settings and a pinned clock are set up again. Refused inside a
    /// transaction, which the lost connection took with it.
    Result<void> reconnect();
    /// Called with false when the server is found unreachable and with true when it answers
    /// again (the main window's status bar).
    void setReachabilityListener(std::function<void(bool reachable)> listener);

    /// The text form a date-time is bound and stored in.
    static QString isoText(const QDateTime &dt);
    static QString isoText(const QDate &d);

private:
    friend class Transaction;
    explicit Database(ConnectionSettings settings);
    Result<void> connect();
    Result<void> startSession();
    /// Reconnects when the connection was found lost and no transaction is open.
    Result<void> ensureConnected();
    /// The failure `e` of `statement` as the database coded it; notes a lost connection.
    Error failed(const QSqlError &e, const QString &statement = {});
    void setReachable(bool reachable);
    Result<RowSet> selectOnce(QStringView sql, const Binds &binds);
    Result<QSqlQuery *> prepared(QStringView sql);
    Result<void> bindAndRun(QSqlQuery &q, const Binds &binds, QStringView sql);
    Result<void> begin(TransactionMode mode);
    Result<void> nameWork(Work work);
    void forgetWork();
    QString workFile() const;
    Result<void> commitLevel();
    void rollbackLevel();

    struct Private;
    std::unique_ptr<Private> d;
    ConnectionSettings m_settings;
    std::shared_ptr<const ProcedureRegistry> m_procedures;
    QDateTime m_serverNow;
    int m_depth = 0;
    std::optional<bool> m_codePointOrder;
    std::optional<QString> m_hostName;
};

/// Writes that belong together. A Transaction that goes out of scope without commit() rolls
/// back, so a failure half-way leaves nothing half-written.
class Transaction
{
public:
    Transaction(Transaction &&other) noexcept;
    Transaction &operator=(Transaction &&) = delete;
    Transaction(const Transaction &) = delete;
    ~Transaction();

    /// False when the transaction could not be started; error() tells why.
    bool isActive() const { return m_db && m_active; }
    const Error &error() const { return m_error; }

    Result<void> commit();
    void rollback();

private:
    friend class Database;
    Transaction(Database *db, bool active, Error error);
    Database *m_db = nullptr;
    bool m_active = false;
    Error m_error;
};

/// Whether the database names `object` is known: the hospital's databases, in one place.
bool isHospitalDatabaseName(QStringView name);
/// The hospital's databases, spelled as PostgreSQL keeps their schemas (lower case).
QStringList hospitalDatabaseNames();

} // namespace kestrel
