#include "db/connection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <atomic>
#include <filesystem>
#include <system_error>

#include "db/database_error.h"
#include "db/qt_value.h"
#include "db/schema.h"

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

std::string ConnectOptions(const PostgresServer& server) {
    std::string options = server.options;
    if (options.find("connect_timeout=") == std::string::npos) {
        if (!options.empty())
            options += ';';
        options += "connect_timeout=" + std::to_string(kDefaultConnectTimeout);
    }
    return options;
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
            const std::string reason = ErrorText(db.lastError());
            throw DatabaseError((postgres ? "无法连接数据库服务器 " : "无法打开数据库 ") +
                                DescribeLocation(location) + ": " + reason);
        }
    }

    void Close() {
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
        QSqlQuery query = Run(sql, params);
        ResultSet set;
        const QSqlRecord record = query.record();
        const int visible = record.count() - (keyed ? 1 : 0);
        for (int i = 0; i < visible; ++i) {
            set.columns_.push_back({record.fieldName(i).toStdString(),
                                    record.field(i).metaType().id() == QMetaType::QByteArray});
        }
        std::vector<Value> keys;
        while (query.next()) {
            std::vector<Value> row;
            row.reserve(static_cast<std::size_t>(visible));
            for (int i = 0; i < visible; ++i) row.push_back(FromVariant(query.value(i)));
            set.rows_.push_back(std::move(row));
            if (keyed)
                keys.push_back(FromVariant(query.value(visible)));
        }
        if (keyed) {
            set.deleter_ =
                ResultSet::Deleter{shared_from_this(), std::string(delete_sql), std::move(keys)};
        }
        return set;
    }

    std::int64_t Execute(std::string_view sql, const std::vector<Param>& params) const {
        return Run(sql, params).numRowsAffected();
    }

    void ExecuteEach(std::string_view sql, const std::vector<std::vector<Param>>& rows) const {
        QSqlQuery query = Prepare(sql);
        for (const auto& params : rows) {
            for (int i = 0; i < static_cast<int>(params.size()); ++i) {
                query.bindValue(i, ToVariant(params[static_cast<std::size_t>(i)]));
            }
            if (!query.exec())
                throw DatabaseError(ErrorText(query.lastError()));
        }
    }

    void InTransaction(const std::function<void()>& work) const {
        QSqlDatabase db = Database();
        if (!db.transaction())
            throw DatabaseError(ErrorText(db.lastError()));
        try {
            work();
        } catch (...) {
            db.rollback();
            throw;
        }
        if (!db.commit()) {
            const std::string reason = ErrorText(db.lastError());
            db.rollback();
            throw DatabaseError(reason);
        }
    }

    std::vector<std::string> Tables() const {
        std::vector<std::string> names;
        for (const QString& name : Database().tables(QSql::Tables)) {
            names.push_back(name.toLower().toStdString());
        }
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
        // Two windows of one program may write at once; wait for the other one briefly.
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=5000");
    }

    static void ConfigurePostgres(QSqlDatabase& db, const PostgresServer& server) {
        db.setHostName(ToQString(server.host));
        db.setPort(server.port);
        db.setUserName(ToQString(server.user));
        db.setDatabaseName(ToQString(server.database));
        db.setPassword(QString());
        db.setConnectOptions(ToQString(ConnectOptions(server)));
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
            throw DatabaseError(ErrorText(query.lastError()));
        return query;
    }

    QSqlQuery Run(std::string_view sql, const std::vector<Param>& params) const {
        // PostgreSQL cannot prepare definitions (CREATE, DROP); a text without values needs no
        // preparing anyway.
        if (params.empty()) {
            QSqlQuery query = Unprepared();
            if (!query.exec(ToQString(sql)))
                throw DatabaseError(ErrorText(query.lastError()));
            return query;
        }
        QSqlQuery query = Prepare(sql);
        for (const Param& param : params) query.addBindValue(ToVariant(param));
        if (!query.exec())
            throw DatabaseError(ErrorText(query.lastError()));
        return query;
    }

    std::string name_;
    Location location_;
    bool postgres_ = false;
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
