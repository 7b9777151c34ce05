#include "db/mdb_import.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "db/connection.h"
#include "db/database_error.h"
#include "db/mdb_reader.h"
#include "db/mdb_wire.h"
#include "db/profile_columns.h"
#include "platform/child_process.h"
#include "platform/regular_file.h"

namespace quoinry::db {
namespace {

// More than any real library: the parent holds all rows at once.
constexpr std::size_t kTransferLimit = std::size_t{512} << 20;

std::string Refusal(const std::filesystem::path& file, const std::string& reason) {
    return "无法读取Access文件 " + file.string() + ": " + reason;
}

std::string Damaged(const std::filesystem::path& file, const std::string& detail = "") {
    return "无法读取Access文件 " + file.string() + " (文件已损坏" +
           (detail.empty() ? "" : ": " + detail) + ")";
}

// A missing file, a folder or a pipe is said as such, before any child starts.
void CheckFile(const std::filesystem::path& file) {
    const platform::FileRead probe = platform::ProbeRegularFile(file);
    switch (probe.status) {
        case platform::FileReadStatus::kRead:
        case platform::FileReadStatus::kTooLarge:
            return;
        case platform::FileReadStatus::kMissing:
            throw DatabaseError(Refusal(file, "文件不存在"));
        case platform::FileReadStatus::kNotRegular:
            throw DatabaseError(Refusal(file, "不是普通文件"));
        case platform::FileReadStatus::kUnreadable:
            throw DatabaseError(Refusal(file, "没有读取权限 (" + probe.error + ")"));
    }
}

MdbTables Received(const std::filesystem::path& file, const std::string& bytes) {
    try {
        return DecodeMdbTables(bytes);
    } catch (const std::invalid_argument&) {
        throw DatabaseError(Damaged(file));
    }
}

// The unique key of xc would refuse the second one inside the transaction; saying which rows
// is more use.
void CheckDistinctProfiles(const std::filesystem::path& file,
                           const std::vector<std::vector<Value>>& profiles) {
    std::map<std::pair<std::string, std::string>, std::size_t> first_row;
    for (std::size_t row = 0; row < profiles.size(); ++row) {
        const auto key = std::make_pair(std::get<std::string>(profiles[row][0]),
                                        std::get<std::string>(profiles[row][1]));
        const auto [at, inserted] = first_row.emplace(key, row + 1);
        if (!inserted) {
            throw DatabaseError(Refusal(file, "表 xc 第 " + std::to_string(row + 1) + " 行与第 " +
                                                  std::to_string(at->second) + " 行是同一个型材: " +
                                                  key.first + " " + key.second));
        }
    }
}

std::int64_t RowCount(const Connection& connection, const char* table) {
    ResultSet set = connection.Query(std::string("SELECT COUNT(*) FROM ") + table);
    return std::stoll(set.Text(0).value_or("0"));
}

void RefuseNonEmpty(const Connection& connection) {
    for (const char* table : {"cs", "xc"}) {
        if (const auto rows = RowCount(connection, table); rows > 0) {
            throw DatabaseError(std::string("表 ") + table + " 已有 " + std::to_string(rows) +
                                " 行数据, 未导入; 要替换现有数据请加 --replace");
        }
    }
}

}  // namespace

MdbTables ReadMdbFile(const std::filesystem::path& file, std::chrono::milliseconds time_limit) {
    CheckFile(file);
    const platform::ChildResult result = platform::RunInChild(
        [&file] { return EncodeMdbTables(ReadMdbTablesHere(file)); }, time_limit, kTransferLimit);
    switch (result.outcome) {
        case platform::ChildOutcome::kFinished:
            return Received(file, result.output);
        case platform::ChildOutcome::kRefused:
            throw DatabaseError(Refusal(file, result.output));
        case platform::ChildOutcome::kCrashed:
            throw DatabaseError(Damaged(file));
        case platform::ChildOutcome::kTimedOut:
            throw DatabaseError(Damaged(
                file,
                "读取超过 " + std::to_string((time_limit.count() + 999) / 1000) + " 秒仍未结束"));
        case platform::ChildOutcome::kTooLarge:
            throw DatabaseError(Damaged(file, "读出的数据超过 512 MB"));
        case platform::ChildOutcome::kCannotStart:
            break;
    }
    throw DatabaseError(Refusal(file, "无法启动读取进程 (" + result.output + ")"));
}

ImportCounts ImportMdb(const Connection& connection, const std::filesystem::path& file,
                       bool replace) {
    const MdbTables tables = ReadMdbFile(file);
    CheckDistinctProfiles(file, tables.profiles);
    connection.InTransaction([&] {
        if (replace) {
            connection.Execute("DELETE FROM xc");
            connection.Execute("DELETE FROM cs");
        } else {
            RefuseNonEmpty(connection);
        }
        connection.ExecuteEach("INSERT INTO cs (station, city, wp50) VALUES (?, ?, ?)",
                               tables.stations);
        connection.ExecuteEach(ProfileInsertStatement(), tables.profiles);
    });
    return {static_cast<int>(tables.stations.size()), static_cast<int>(tables.profiles.size())};
}

}  // namespace quoinry::db
