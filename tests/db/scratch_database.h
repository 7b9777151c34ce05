#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "db/connection.h"
#include "db/location.h"

namespace quoinry::db::testing {

enum class Backend { kSqlite, kPostgres };

std::string BackendName(const ::testing::TestParamInfo<Backend>& info);
void PrintTo(Backend backend, std::ostream* out);

// The server of scripts/with-postgres.sh, when the tests run beside one.
std::optional<std::string> PostgresUrl();

// A fresh database of its own for one test (an SQLite file in a temporary folder, or a new
// database on the test server), removed at the end.
class ScratchDatabase {
  public:
    explicit ScratchDatabase(Backend backend);
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    const Location& location() const { return location_; }
    // A folder for files of the test.
    const std::filesystem::path& folder() const { return folder_; }

  private:
    Location location_;
    std::filesystem::path folder_;
    std::string server_database_;
};

// A test run once per backend with an open connection on a fresh database; PostgreSQL runs
// are skipped, visibly, when no test server is configured.
class DatabaseTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<ScratchDatabase> scratch_;
    Connection connection_;
};

std::filesystem::path TestData(const std::string& name);
Bytes ReadBytes(const std::filesystem::path& file);

}  // namespace quoinry::db::testing
