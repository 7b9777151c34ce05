#pragma once

#include <functional>
#include <string_view>

namespace quoinry::db {
class Connection;
}

namespace quoinry::cli {

// Opens the configured engineering database, runs `body` on it and turns a failure into one
// line "quoinry COMMAND: message" on standard error and exit status 1.
int WithDatabase(std::string_view command, const std::function<int(db::Connection&)>& body);

// Runs `body`, reporting a failure as WithDatabase does.
int ReportingErrors(std::string_view command, const std::function<int()>& body);

}  // namespace quoinry::cli
