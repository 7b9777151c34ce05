#include "db/location.h"

#include <QString>
#include <QUrl>
#include <QUrlQuery>
#include <array>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <set>

#include "common/ini_file.h"
#include "common/program_dir.h"
#include "common/settings_file.h"
#include "common/text.h"
#include "db/database_error.h"

namespace quoinry::db {
namespace {

constexpr const char* kUrlForm = "postgresql://用户@主机:端口/数据库";

DatabaseError PasswordRefused() {
    return DatabaseError(
        "数据库地址中不能写密码: 请把密码放进 PostgreSQL 的密码文件 (~/.pgpass) 或环境变量 "
        "PGPASSWORD");
}

bool MentionsPassword(std::string_view text) {
    return AsciiLower(text).find("password") != std::string::npos;
}

// libpq reads blanks, quotes and backslashes, and Qt reads ";", as the end of a value or the
// start of another option.
bool IsPlainValue(std::string_view value) {
    constexpr std::string_view kSeparators = ";='\"\\";
    if (value.empty())
        return false;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7f || kSeparators.find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

// A whole number from `low` to `high`, digits only.
std::optional<int> WholeNumber(std::string_view text, int low, int high) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || text.front() == '-' || error != std::errc() ||
        end != text.data() + text.size() || number < low || number > high) {
        return std::nullopt;
    }
    return number;
}

bool IsPort(std::string_view text) {
    return WholeNumber(text, 1, 65535).has_value();
}

bool IsTimeout(std::string_view text) {
    return WholeNumber(text, 1, kMaxTimeout).has_value();
}

bool IsSslMode(std::string_view text) {
    for (std::string_view mode :
         {"disable", "allow", "prefer", "require", "verify-ca", "verify-full"}) {
        if (text == mode)
            return true;
    }
    return false;
}

bool AnyPlainValue(std::string_view) {
    return true;
}

enum class Target { kHost, kPort, kDatabase, kUser, kOption };

struct QueryKey {
    std::string_view name;
    Target target;
    bool (*valid)(std::string_view);
    std::string_view expected;  // for the message when `valid` refuses
};

constexpr std::array kQueryKeys{
    QueryKey{"host", Target::kHost, AnyPlainValue, ""},
    QueryKey{"port", Target::kPort, IsPort, "1 到 65535 的整数"},
    QueryKey{"dbname", Target::kDatabase, AnyPlainValue, ""},
    QueryKey{"user", Target::kUser, AnyPlainValue, ""},
    QueryKey{"sslmode", Target::kOption, IsSslMode,
             "disable, allow, prefer, require, verify-ca 或 verify-full"},
    QueryKey{"connect_timeout", Target::kOption, IsTimeout, "1 到 3600 的整数 (秒)"},
    QueryKey{"application_name", Target::kOption, AnyPlainValue, ""},
};

const QueryKey* FindQueryKey(std::string_view name) {
    for (const QueryKey& key : kQueryKeys) {
        if (key.name == name)
            return &key;
    }
    return nullptr;
}

DatabaseError UrlError(const std::string& url, const std::string& reason) {
    return DatabaseError("数据库地址无效: " + url + " (" + reason + ")");
}

// Host, port, database and user may come from the address or from its query, not from both.
void SetOnce(std::string& field, const std::string& value, const std::string& url,
             std::string_view key) {
    if (!field.empty() && field != value) {
        throw UrlError(
            url, "地址中已有 " + std::string(key) + ", 不能再写 " + std::string(key) + "=" + value);
    }
    field = value;
}

void ApplyQueryItem(PostgresServer& server, const std::string& url, const std::string& key,
                    const std::string& value) {
    const QueryKey* known = FindQueryKey(key);
    if (known == nullptr) {
        throw UrlError(url, "不认识参数 " + key +
                                "; 只能用 host, port, dbname, user, sslmode, connect_timeout, "
                                "application_name");
    }
    if (!IsPlainValue(value)) {
        throw UrlError(url, "参数 " + key + " 的值不能为空, 也不能含有 ; = 引号 反斜杠 或空白");
    }
    if (!known->valid(value)) {
        throw UrlError(url,
                       "参数 " + key + "=" + value + " 无效, 应为 " + std::string(known->expected));
    }
    switch (known->target) {
        case Target::kHost:
            return SetOnce(server.host, value, url, key);
        case Target::kDatabase:
            return SetOnce(server.database, value, url, key);
        case Target::kUser:
            return SetOnce(server.user, value, url, key);
        case Target::kPort: {
            const int port = *WholeNumber(value, 1, 65535);
            if (server.port > 0 && server.port != port)
                throw UrlError(url, "地址中已有端口, 不能再写 port=" + value);
            server.port = port;
            return;
        }
        case Target::kOption:
            if (!server.options.empty())
                server.options += ';';
            server.options += key + "=" + value;
            return;
    }
}

PostgresServer ParseServer(const std::string& text) {
    const QUrl url(QString::fromStdString(text), QUrl::StrictMode);
    if (!url.isValid() || url.hasFragment())
        throw UrlError(text, std::string("应为 ") + kUrlForm);
    if (!url.password().isEmpty() || url.userInfo().contains(':'))
        throw PasswordRefused();
    PostgresServer server;
    server.host = url.host(QUrl::FullyDecoded).toStdString();
    server.port = url.port(-1);
    server.user = url.userName(QUrl::FullyDecoded).toStdString();
    server.database = url.path(QUrl::FullyDecoded).toStdString();
    if (!server.database.empty() && server.database.front() == '/')
        server.database.erase(0, 1);
    std::set<std::string> seen;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        const std::string name = key.toStdString();
        const std::string decoded = value.toStdString();
        if (MentionsPassword(name) || MentionsPassword(decoded))
            throw PasswordRefused();
        if (!seen.insert(name).second)
            throw UrlError(text, "参数 " + name + " 写了两次");
        ApplyQueryItem(server, text, name, decoded);
    }
    if (server.port < 0)
        server.port = 5432;
    return server;
}

int StatementTimeout(const std::filesystem::path& file, const std::string& text) {
    if (text.empty())
        return kDefaultStatementTimeout;
    if (const auto seconds = WholeNumber(text, 1, kMaxTimeout))
        return *seconds;
    throw DatabaseError("设置文件 " + file.string() + " 中 [database] statement_timeout=" + text +
                        " 无效: 应为 1 到 3600 的整数 (秒)");
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

DatabaseSettings ReadDatabaseSettings(const std::filesystem::path& settings_file) {
    std::optional<std::string> bytes;
    try {
        bytes = ReadSettingsFile(settings_file);
    } catch (const SettingsFileError& e) {
        throw DatabaseError(e.what());
    }
    if (!bytes)
        return {};
    const IniDocument document = IniDocument::Parse(*bytes);
    return {document.Value("database", "url"),
            StatementTimeout(settings_file, document.Value("database", "statement_timeout"))};
}

Location ConfiguredLocation() {
    const DatabaseSettings settings = ReadDatabaseSettings(SettingsFile());
    const char* environment = std::getenv("QUOINRY_DATABASE");
    Location location = ParseDatabaseUrl(environment != nullptr ? environment : settings.url,
                                         EmbeddedDatabaseFile());
    if (auto* server = std::get_if<PostgresServer>(&location))
        server->statement_timeout = settings.statement_timeout;
    return location;
}

std::string DescribeServer(const PostgresServer& server) {
    const std::string host = server.host.empty() ? "localhost" : server.host;
    return host + ":" + std::to_string(server.port);
}

std::string DescribeLocation(const Location& location) {
    if (const auto* file = std::get_if<SqliteFile>(&location))
        return file->file.string();
    const auto& server = std::get<PostgresServer>(location);
    return DescribeServer(server) + "/" + server.database;
}

}  // namespace quoinry::db
