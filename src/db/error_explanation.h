#pragma once

#include <string>
#include <string_view>

namespace quoinry::db {

// A driver's message (SQLite or PostgreSQL) as the user reads it: a Chinese explanation of the
// common cases (not a database file, damaged, read-only, locked, disk full, cannot connect,
// login refused, timeout) followed by the driver's own text in brackets. The command line and
// the windows show database failures through this one function.
std::string ExplainDatabaseError(std::string_view driver_text);

}  // namespace quoinry::db
