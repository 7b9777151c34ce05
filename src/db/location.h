#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace quoinry::db {

// The embedded database: one SQLite file.
struct SqliteFile {
    std::filesystem::path file;
};

// Seconds a connection attempt to a server may take unless the address says otherwise.
inline constexpr int kDefaultConnectTimeout = 5;
// Seconds one statement may take, unless [database] statement_timeout says otherwise.
inline constexpr int kDefaultStatementTimeout = 30;
inline constexpr int kMaxTimeout = 3600;

// A PostgreSQL server shared by a design office. The password never appears here: libpq takes
// it from PGPASSWORD or the user's password file.
struct PostgresServer {
    std::string host;  // empty: the local socket
    int port = 5432;
    std::string user;
    std::string database;
    // Checked libpq connection options ("connect_timeout=5;sslmode=require"), only of the keys
    // ParseDatabaseUrl knows.
    std::string options;
    int statement_timeout = kDefaultStatementTimeout;  // seconds
};

using Location = std::variant<SqliteFile, PostgresServer>;

// "" is the embedded file; "postgresql://user@host:port/dbname[?key=value&...]" a server, with
// the keys host, port, dbname, user, sslmode, connect_timeout and application_name. Raises
// DatabaseError for any other text, an unknown key, a value with ";", "=", quotes or blanks,
// and a password in any form.
Location ParseDatabaseUrl(std::string_view url, const std::filesystem::path& embedded_file);

// The embedded file: mdb/jscs.db in the data directory (the program directory when writable).
std::filesystem::path EmbeddedDatabaseFile();

// Section [database] of a settings file.
struct DatabaseSettings {
    std::string url;
    int statement_timeout = kDefaultStatementTimeout;
};

// Reads [database] url and statement_timeout (seconds) of `settings_file`; the defaults when
// the file does not exist. Raises DatabaseError naming the file when it exists but cannot be
// read, is not a regular file or is larger than 1 MB, and when statement_timeout is not a
// whole number of seconds from 1 to 3600.
DatabaseSettings ReadDatabaseSettings(const std::filesystem::path& settings_file);

// The url of QUOINRY_DATABASE when set, else that of the settings file info.ini, with the
// statement timeout of the settings file.
Location ConfiguredLocation();

// For messages: the file path, or host:port/database.
std::string DescribeLocation(const Location& location);

// For messages: host:port of a server.
std::string DescribeServer(const PostgresServer& server);

}  // namespace quoinry::db
