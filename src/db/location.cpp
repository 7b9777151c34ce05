#include "db/location.h"

#include <QString>
#include <QUrl>
#include <QUrlQuery>
#include <cstdlib>

#include "common/ini_file.h"
#include "common/program_dir.h"
#include "db/database_error.h"

namespace quoinry::db {
namespace {

constexpr const char* kUrlForm = "postgresql://用户@主机:端口/数据库";

std::string Decoded(const QString& text) {
    return text.toStdString();
}

PostgresServer ParseServer(const std::string& text) {
    const QUrl url(QString::fromStdString(text), QUrl::StrictMode);
    if (!url.isValid()) {
        throw DatabaseError("数据库地址无效: " + text + " (应为 " + kUrlForm + ")");
    }
    const QUrlQuery query(url);
    if (!url.password().isEmpty() || query.hasQueryItem("password")) {
        throw DatabaseError(
            "数据库地址中不能写密码: 请把密码放进 PostgreSQL 的密码文件 (~/.pgpass) 或环境变量 "
            "PGPASSWORD");
    }
    PostgresServer server;
    server.host = Decoded(url.host(QUrl::FullyDecoded));
    server.port = url.port(5432);
    server.user = Decoded(url.userName(QUrl::FullyDecoded));
    server.database = Decoded(url.path(QUrl::FullyDecoded));
    if (!server.database.empty() && server.database.front() == '/')
        server.database.erase(0, 1);
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (!server.options.empty())
            server.options += ';';
        server.options += Decoded(key) + "=" + Decoded(value);
    }
    return server;
}

}  // namespace

Location ParseDatabaseUrl(std::string_view url, const std::filesystem::path& embedded_file) {
    const std::string text(url);
    if (text.empty())
        return SqliteFile{embedded_file};
    if (text.starts_with("postgresql://") || text.starts_with("postgres://")) {
        return ParseServer(text);
    }
    throw DatabaseError("数据库地址无效: " + text + " (应为空或 " + kUrlForm + ")");
}

std::filesystem::path EmbeddedDatabaseFile() {
    return DataDirectory() / "mdb" / "jscs.db";
}

Location ConfiguredLocation() {
    const char* environment = std::getenv("QUOINRY_DATABASE");
    const std::string url = environment != nullptr
                                ? std::string(environment)
                                : ReadIniString(SettingsFile(), "database", "url");
    return ParseDatabaseUrl(url, EmbeddedDatabaseFile());
}

std::string DescribeLocation(const Location& location) {
    if (const auto* file = std::get_if<SqliteFile>(&location))
        return file->file.string();
    const auto& server = std::get<PostgresServer>(location);
    const std::string host = server.host.empty() ? "localhost" : server.host;
    return host + ":" + std::to_string(server.port) + "/" + server.database;
}

}  // namespace quoinry::db
