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

// A PostgreSQL server shared by a design office. The password never appears here: libpq takes
// it from PGPASSWORD or the user's password file.
struct PostgresServer {
    std::string host;  // empty: the local socket
    int port = 5432;
    std::string user;
    std::string database;
    // libpq connection options ("connect_timeout=5;sslmode=require").
    std::string options;
};

using Location = std::variant<SqliteFile, PostgresServer>;

// Seconds a connection attempt to a server may take unless the address says otherwise.
inline constexpr int kDefaultConnectTimeout = 5;

// "" is the embedded file; "postgresql://user@host:port/dbname[?option=value&...]" a server.
// Raises DatabaseError for any other text and for a password inside the address.
Location ParseDatabaseUrl(std::string_view url, const std::filesystem::path& embedded_file);

// The embedded file: mdb/jscs.db in the data directory (the program directory when writable).
std::filesystem::path EmbeddedDatabaseFile();

// QUOINRY_DATABASE when set, else the key url of section [database] in info.ini.
Location ConfiguredLocation();

// For messages: the file path, or host:port/database.
std::string DescribeLocation(const Location& location);

}  // namespace quoinry::db
