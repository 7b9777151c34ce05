#include "scratch_database.h"

#include <unistd.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace quoinry::db::testing {
namespace {

// Runs one statement on the server's maintenance database.
void RunOnServer(const std::string& sql) {
    static std::atomic<int> counter{0};
    const auto server = std::get<PostgresServer>(ParseDatabaseUrl(*PostgresUrl(), {}));
    const QString name = QString("scratch-admin-%1").arg(++counter);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", name);
        admin.setHostName(QString::fromStdString(server.host));
        admin.setPort(server.port);
        admin.setUserName(QString::fromStdString(server.user));
        admin.setDatabaseName(QString::fromStdString(server.database));
        if (!admin.open()) {
            ADD_FAILURE() << "test server: " << admin.lastError().text().toStdString();
        } else {
            QSqlQuery query(admin);
            if (!query.exec(QString::fromStdString(sql))) {
                ADD_FAILURE() << sql << ": " << query.lastError().text().toStdString();
            }
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase(name);
}

std::filesystem::path MakeTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quoinry-db-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    return pattern;
}

}  // namespace

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::kSqlite ? "sqlite" : "postgresql";
}

void PrintTo(Backend backend, std::ostream* out) {
    *out << (backend == Backend::kSqlite ? "sqlite" : "postgresql");
}

std::optional<std::string> PostgresUrl() {
    const char* url = std::getenv("QUOINRY_TEST_PG_URL");
    if (url == nullptr || *url == '\0')
        return std::nullopt;
    return std::string(url);
}

ScratchDatabase::ScratchDatabase(Backend backend) : folder_(MakeTempFolder()) {
    if (backend == Backend::kSqlite) {
        location_ = SqliteFile{folder_ / "mdb" / "jscs.db"};
        return;
    }
    static std::atomic<int> counter{0};
    server_database_ = "scratch_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    RunOnServer("CREATE DATABASE " + server_database_);
    auto server = std::get<PostgresServer>(ParseDatabaseUrl(*PostgresUrl(), {}));
    server.database = server_database_;
    location_ = server;
}

ScratchDatabase::~ScratchDatabase() {
    if (!server_database_.empty()) {
        RunOnServer("DROP DATABASE IF EXISTS " + server_database_ + " WITH (FORCE)");
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void DatabaseTest::SetUp() {
    if (GetParam() == Backend::kPostgres && !PostgresUrl()) {
        GTEST_SKIP() << "QUOINRY_TEST_PG_URL is not set: PostgreSQL run skipped (scripts/"
                        "with-postgres.sh starts a test server)";
    }
    scratch_ = std::make_unique<ScratchDatabase>(GetParam());
    connection_.Open(scratch_->location());
}

void DatabaseTest::TearDown() {
    connection_.Close();
    scratch_.reset();
}

std::filesystem::path TestData(const std::string& name) {
    return std::filesystem::path(QUOINRY_TEST_DATA) / name;
}

Bytes ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace quoinry::db::testing
