#include "db/mdb_import.h"

#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/text.h"
#include "common/text_encoding.h"
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

std::string RowName(const char* table, std::size_t row) {
    return std::string("表 ") + table + " 第 " + std::to_string(row + 1) + " 行";
}

// A name the windows, reports and documents can show on one line: no control characters (nor
// tab or line ends), no U+FFFE or U+FFFF, no bytes that break UTF-8.
std::optional<std::string> BadName(const Value& value, const char* column) {
    const std::optional<std::string> text = ValueText(value);
    if (text && (FirstOutsideXml(*text) || text->find_first_of("\t\r\n") != std::string::npos))
        return std::string(column) + "含有控制字符或不是文字的字节";
    return std::nullopt;
}

// A basic wind pressure is a positive number. NULL or an empty text is a station without data
// (the sample's 无数据; the windows then take the value typed in); blanks, control characters or
// anything else that is no number make a broken row.
std::optional<std::string> BadPressure(const Value& value) {
    const std::optional<std::string> text = ValueText(value);
    if (!text || text->empty())
        return std::nullopt;
    const std::string_view trimmed = TrimBlanks(*text);
    if (trimmed.empty())
        return "基本风压(wp50)只有空格";
    double pressure = 0;
    const auto [end, error] =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), pressure);
    if (error != std::errc() || end != trimmed.data() + trimmed.size() ||
        !std::isfinite(pressure) || pressure <= 0)
        return "基本风压(wp50)“" + XmlSafe(*text) + "”不是正数";
    return std::nullopt;
}

// Rows the windows could not use are refused before anything is stored, naming table and row.
void CheckRows(const std::filesystem::path& file, const MdbTables& tables) {
    for (std::size_t row = 0; row < tables.stations.size(); ++row) {
        const std::vector<Value>& cells = tables.stations[row];
        std::optional<std::string> problem = BadName(cells[0], "地区(station)");
        if (!problem)
            problem = BadName(cells[1], "城市(city)");
        if (!problem)
            problem = BadPressure(cells[2]);
        if (problem)
            throw DatabaseError(Refusal(file, RowName("cs", row) + ": " + *problem));
    }
    for (std::size_t row = 0; row < tables.profiles.size(); ++row) {
        const std::vector<Value>& cells = tables.profiles[row];
        std::optional<std::string> problem;
        for (const auto& [column, name] : {std::pair{0, "型材系列(xl)"}, {1, "型材编号(mc)"}}) {
            const std::optional<std::string> text = ValueText(cells[column]);
            if (!problem && (!text || TrimBlanks(*text).empty()))
                problem = std::string("没有") + name;
            if (!problem)
                problem = BadName(cells[column], name);
        }
        if (problem)
            throw DatabaseError(Refusal(file, RowName("xc", row) + ": " + *problem));
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
    CheckRows(file, tables);
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
