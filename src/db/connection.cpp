#include "db/connection.h"

#include <dlfcn.h>

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

#include "db/database_error.h"
#include "db/error_explanation.h"
#include "db/qt_value.h"
#include "db/schema.h"
#include "db/statement_watchdog.h"

namespace quoinry::db {
namespace {

// The driver's message on one line: libpq adds an indented hint line of its own.
std::string ErrorText(const QSqlError& error) {
    QString text = error.databaseText().simplified();
    const QString driver = error.driverText().simplified();
    if (text.isEmpty()) {
        text = driver;
    } else if (!driver.isEmpty() && !text.contains(driver)) {
        text = driver + ": " + text;
    }
    return text.toStdString();
}

std::string NextConnectionName() {
    static std::atomic<int> counter{0};
    return "quoinry-db-" + std::to_string(++counter);
}

// Keepalives find a server whose host or network is gone while the connection idles;
// tcp_user_timeout bounds a send that is never acknowledged.
std::string ConnectOptions(const PostgresServer& server) {
    std::string options = server.options;
    auto add = [&options](const std::string& option) {
        if (!options.empty())
            options += ';';
        options += option;
    };
    if (options.find("connect_timeout=") == std::string::npos)
        add("connect_timeout=" + std::to_string(kDefaultConnectTimeout));
    add("keepalives=1;keepalives_idle=10;keepalives_interval=5;keepalives_count=3");
    add("tcp_user_timeout=" + std::to_string(server.statement_timeout * 1000));
    return options;
}

// The server stops a statement a moment before the program gives up on it, so a slow statement
// ends with the server's answer and the connection stays usable.
int ServerTimeoutMilliseconds(int seconds) {
    return seconds * 1000 - std::min(1000, seconds * 250);
}

// libpq's PQsocket, from the libpq that Qt's PostgreSQL driver has loaded. Linking libpq for this
// one call would load it, with its TLS and Kerberos libraries, at every start of the windows.
int PostgresSocket(const void* connection) {
    using Socket = int (*)(const void*);
    static const Socket socket = [] {
        void* libpq = dlopen("libpq.so.5", RTLD_LAZY | RTLD_NOLOAD);
        return libpq != nullptr ? reinterpret_cast<Socket>(dlsym(libpq, "PQsocket")) : nullptr;
    }();
    return socket != nullptr ? socket(connection) : -1;
}

// The socket of a PostgreSQL connection; -1 when the driver does not say.
int SocketOf(const QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    // Qt names the type by its struct tag.
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return -1;
    const void* connection = *static_cast<void* const*>(handle.constData());
    return connection != nullptr ? PostgresSocket(connection) : -1;
}

}  // namespace

// The driver connection behind a Connection; result sets that can delete rows keep it alive.
class ConnectionState : public std::enable_shared_from_this<ConnectionState> {
  public:
    ConnectionState() : name_(NextConnectionName()) {}
    ~ConnectionState() { Remove(); }

    void Open(const Location& location) {
        Close();
        location_ = location;
        const bool postgres = std::holds_alternative<PostgresServer>(location);
        const QString driver = postgres ? "QPSQL" : "QSQLITE";
        if (!QSqlDatabase::isDriverAvailable(driver)) {
            throw DatabaseError(postgres ? "缺少 PostgreSQL 数据库驱动 (libqt6sql6-psql)"
                                         : "缺少 SQLite 数据库驱动 (libqt6sql6-sqlite)");
        }
        if (Database().driverName() != driver) {
            Remove();
            QSqlDatabase::addDatabase(driver, ToQString(name_));
        }
        postgres_ = postgres;
        QSqlDatabase db = Database();
        if (postgres) {
            ConfigurePostgres(db, std::get<PostgresServer>(location));
        } else {
            ConfigureSqlite(db, std::get<SqliteFile>(location));
        }
        if (!db.open()) {
            const std::string reason = ExplainDatabaseError(ErrorText(db.lastError()));
            throw DatabaseError((postgres ? "无法连接数据库服务器 " : "无法打开数据库 ") +
                                DescribeLocation(location) + ": " + reason);
        }
        if (postgres)
            LimitStatements(db, std::get<PostgresServer>(location).statement_timeout);
    }

    void Close() {
        socket_ = -1;
        broken_ = false;
        QSqlDatabase db = Database();
        if (db.isValid() && db.isOpen())
            db.close();
    }

    bool IsOpen() const {
        const QSqlDatabase db = Database();
        return db.isValid() && db.isOpen();
    }

    bool postgres() const { return postgres_; }
    const Location& location() const { return location_; }

    // With a `delete_sql`, the last selected column is the row key handed to it.
    ResultSet Query(std::string_view sql, const std::vector<Param>& params,
                    std::string_view delete_sql = {}) {
        const bool keyed = !delete_sql.empty();
        ResultSet set;
        std::vector<Value> keys;
        // The driver may fetch rows while stepping through them: the watch covers that too.
        Watched([&] {
            QSqlQuery query = Run(sql, params);
            const QSqlRecord record = query.record();
            const int visible = record.count() - (keyed ? 1 : 0);
            for (int i = 0; i < visible; ++i) {
                set.columns_.push_back({record.fieldName(i).toStdString(),
                                        record.field(i).metaType().id() == QMetaType::QByteArray});
            }
            while (query.next()) {
                std::vector<Value> row;
                row.reserve(static_cast<std::size_t>(visible));
                for (int i = 0; i < visible; ++i) row.push_back(FromVariant(query.value(i)));
                set.rows_.push_back(std::move(row));
                if (keyed)
                    keys.push_back(FromVariant(query.value(visible)));
            }
            if (query.lastError().isValid())
                throw Failure(query.lastError());
        });
        if (keyed) {
            set.deleter_ =
                ResultSet::Deleter{shared_from_this(), std::string(delete_sql), std::move(keys)};
        }
        return set;
    }

    std::int64_t Execute(std::string_view sql, const std::vector<Param>& params) const {
        std::int64_t affected = 0;
        Watched([&] { affected = Run(sql, params).numRowsAffected(); });
        return affected;
    }

    void ExecuteEach(std::string_view sql, const std::vector<std::vector<Param>>& rows) const {
        std::optional<QSqlQuery> query;
        Watched([&] { query.emplace(Prepare(sql)); });
        for (const auto& params : rows) {
            for (int i = 0; i < static_cast<int>(params.size()); ++i) {
                query->bindValue(i, ToVariant(params[static_cast<std::size_t>(i)]));
            }
            Watched([&] {
                if (!query->exec())
                    throw Failure(query->lastError());
            });
        }
    }

    void InTransaction(const std::function<void()>& work) const {
        QSqlDatabase db = Database();
        Watched([&] {
            if (!db.transaction())
                throw Failure(db.lastError());
        });
        try {
            work();
        } catch (...) {
            RollBack(db);
            throw;
        }
        Watched([&] {
            if (!db.commit()) {
                const DatabaseError failure = Failure(db.lastError());
                db.rollback();
                throw failure;
            }
        });
    }

    std::vector<std::string> Tables() const {
        std::vector<std::string> names;
        Watched([&] {
            for (const QString& name : Database().tables(QSql::Tables)) {
                names.push_back(name.toLower().toStdString());
            }
        });
        return names;
    }

  private:
    QSqlDatabase Database() const { return QSqlDatabase::database(ToQString(name_), false); }

    void Remove() {
        if (!QSqlDatabase::contains(ToQString(name_)))
            return;
        Close();
        QSqlDatabase::removeDatabase(ToQString(name_));
    }

    static void ConfigureSqlite(QSqlDatabase& db, const SqliteFile& location) {
        std::error_code ignored;
        std::filesystem::create_directories(location.file.parent_path(), ignored);
        db.setDatabaseName(QString::fromStdString(location.file.string()));
        // Two windows of one program may write at once; wait for the other one briefly, and
        // say within a second that another program holds the database.
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=400");
    }

    static void ConfigurePostgres(QSqlDatabase& db, const PostgresServer& server) {
        db.setHostName(ToQString(server.host));
        db.setPort(server.port);
        db.setUserName(ToQString(server.user));
        db.setDatabaseName(ToQString(server.database));
        db.setPassword(QString());
        db.setConnectOptions(ToQString(ConnectOptions(server)));
    }

    void LimitStatements(const QSqlDatabase& db, int seconds) {
        socket_ = SocketOf(db);
        limit_ = std::chrono::seconds(seconds);
        Execute("SET statement_timeout = " + std::to_string(ServerTimeoutMilliseconds(seconds)),
                {});
    }

    // Runs one exchange with the server under the statement watchdog. A failure after the
    // watchdog cut the connection is reported as the server not answering.
    template <typename Step>
    void Watched(Step&& step) const {
        if (broken_)
            throw Unanswered();
        WatchedStatement watch(watchdog_, socket_, limit_);
        try {
            step();
        } catch (const DatabaseError&) {
            if (watch.Fired())
                throw Unanswered();
            throw;
        }
        // A reply that came in just as the watchdog fired still counts; the next statement
        // learns that the connection is gone.
        broken_ = watch.Fired();
    }

    DatabaseError Unanswered() const {
        broken_ = true;
        const auto& server = std::get<PostgresServer>(location_);
        return DatabaseError("数据库服务器 " + DescribeServer(server) + " 在 " +
                             std::to_string(server.statement_timeout) +
                             " 秒内没有回答, 连接已断开: 请检查服务器和网络; 需要更长时间时, "
                             "在 info.ini 的 [database] 中设置 statement_timeout (秒)");
    }

    void RollBack(QSqlDatabase& db) const {
        if (broken_)
            return;
        try {
            Watched([&] { db.rollback(); });
        } catch (const DatabaseError&) {
            // The work's own failure is the one to report.
        }
    }

    // A driver error as the user reads it, with the database it came from.
    DatabaseError Failure(const QSqlError& error) const {
        return DatabaseError("数据库 " + DescribeLocation(location_) + ": " +
                             ExplainDatabaseError(ErrorText(error)));
    }

    QSqlQuery Unprepared() const {
        QSqlDatabase db = Database();
        if (!db.isValid() || !db.isOpen())
            throw DatabaseError("数据库连接未打开");
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        return query;
    }

    QSqlQuery Prepare(std::string_view sql) const {
        QSqlQuery query = Unprepared();
        if (!query.prepare(ToQString(sql)))
            throw Failure(query.lastError());
        return query;
    }

    QSqlQuery Run(std::string_view sql, const std::vector<Param>& params) const {
        // PostgreSQL cannot prepare definitions (CREATE, DROP); a text without values needs no
        // preparing anyway.
        if (params.empty()) {
            QSqlQuery query = Unprepared();
            if (!query.exec(ToQString(sql)))
                throw Failure(query.lastError());
            return query;
        }
        QSqlQuery query = Prepare(sql);
        for (const Param& param : params) query.addBindValue(ToVariant(param));
        if (!query.exec())
            throw Failure(query.lastError());
        return query;
    }

    std::string name_;
    Location location_;
    bool postgres_ = false;
    int socket_ = -1;  // of a server connection, for the watchdog
    std::chrono::milliseconds limit_{0};
    mutable StatementWatchdog watchdog_;
    mutable bool broken_ = false;  // the watchdog cut the connection
};

void ResultSet::MoveNext() {
    if (!AtEnd())
        ++row_;
}

Field ResultSet::Column(int position) const {
    if (AtEnd())
        throw DatabaseError(kNoCurrentRecordError, "没有当前记录");
    if (position < 0 || position >= ColumnCount()) {
        throw DatabaseError("列序号超出范围: " + std::to_string(position));
    }
    const auto index = static_cast<std::size_t>(position);
    return Field(rows_[row_][index], columns_[index].long_data);
}

void ResultSet::DeleteCurrent() {
    if (!deleter_ || !deleter_->state)
        throw DatabaseError("记录集不允许删除");
    if (AtEnd())
        throw DatabaseError(kNoCurrentRecordError, "没有当前记录");
    deleter_->state->Execute(deleter_->statement, {deleter_->keys[row_]});
}

std::vector<std::string> FirstColumnTexts(ResultSet set) {
    std::vector<std::string> texts;
    for (; !set.AtEnd(); set.MoveNext()) texts.push_back(set.Text(0).value_or(""));
    return texts;
}

Connection::Connection() : state_(std::make_shared<ConnectionState>()) {}

Connection::~Connection() = default;

bool Connection::Open(const Location& location) {
    state_->Open(location);
    return EnsureSchema(*this);
}

void Connection::Close() {
    state_->Close();
}

bool Connection::IsOpen() const {
    return state_->IsOpen();
}

bool Connection::IsPostgres() const {
    return state_->postgres();
}

const Location& Connection::location() const {
    return state_->location();
}

ResultSet Connection::Query(std::string_view sql, const std::vector<Param>& params) const {
    return state_->Query(sql, params);
}

ResultSet Connection::QueryForUpdate(std::string_view sql, const std::vector<Param>& params,
                                     std::string_view delete_sql) const {
    return state_->Query(sql, params, delete_sql);
}

std::int64_t Connection::Execute(std::string_view sql, const std::vector<Param>& params) const {
    return state_->Execute(sql, params);
}

void Connection::ExecuteEach(std::string_view sql,
                             const std::vector<std::vector<Param>>& rows) const {
    state_->ExecuteEach(sql, rows);
}

void Connection::InTransaction(const std::function<void()>& work) const {
    state_->InTransaction(work);
}

std::vector<std::string> Connection::Tables() const {
    return state_->Tables();
}

}  // namespace quoinry::db
