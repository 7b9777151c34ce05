#include "db/profile_table.h"

#include "common/numbers.h"
#include "db/database_error.h"
#include "db/profile_columns.h"

namespace quoinry::db {
namespace {

std::string NumberColumnList() {
    std::string list;
    for (const char* name : kProfileNumberColumns) list += std::string(", ") + name;
    return list;
}

std::string RecordQuery() {
    return "SELECT xl, mc" + NumberColumnList() + ", " + kProfilePictureColumn +
           ", id FROM xc WHERE xl = ? AND mc = ?";
}

std::string UpdateStatement() {
    std::string sql = "UPDATE xc SET xl = ?, mc = ?";
    for (const char* name : kProfileNumberColumns) sql += std::string(", ") + name + " = ?";
    return sql + " WHERE xl = ? AND mc = ?";
}

// Series, number and the fifteen values read strictly; raises before anything is written.
std::vector<Param> ProfileParams(const ProfileTexts& profile) {
    std::vector<Param> params;
    params.reserve(profile.values.size() + 5);
    params.emplace_back(profile.series);
    params.emplace_back(profile.number);
    for (const std::string& text : profile.values) params.emplace_back(ParseStrict(text));
    return params;
}

bool Exists(const Connection& connection, const std::string& series, const std::string& number) {
    return !connection.Query("SELECT 1 FROM xc WHERE xl = ? AND mc = ?", {series, number}).AtEnd();
}

}  // namespace

std::string ProfileInsertStatement() {
    std::string marks = "?, ?";
    for (std::size_t i = 0; i <= kProfileNumberColumns.size(); ++i) marks += ", ?";
    return "INSERT INTO xc (xl, mc" + NumberColumnList() + ", " + kProfilePictureColumn +
           ") VALUES (" + marks + ")";
}

std::vector<Param> ProfileInsertParams(const ProfileTexts& profile, const Bytes& picture) {
    std::vector<Param> params = ProfileParams(profile);
    params.push_back(picture);
    return params;
}

std::vector<std::string> ListSeries(const Connection& connection) {
    return FirstColumnTexts(connection.Query("SELECT xl FROM xc GROUP BY xl ORDER BY MIN(id)"));
}

std::vector<std::string> ListNumbers(const Connection& connection, const std::string& series) {
    // Byte order of UTF-8 is code point order; a server's locale would sort otherwise.
    const char* sql = connection.IsPostgres()
                          ? "SELECT mc FROM xc WHERE xl = ? ORDER BY mc COLLATE \"C\""
                          : "SELECT mc FROM xc WHERE xl = ? ORDER BY mc";
    return FirstColumnTexts(connection.Query(sql, {series}));
}

ResultSet OpenProfile(const Connection& connection, const std::string& series,
                      const std::string& number) {
    return connection.QueryForUpdate(RecordQuery(), {series, number},
                                     "DELETE FROM xc WHERE id = ?");
}

WriteOutcome AddProfile(const Connection& connection, const ProfileTexts& profile,
                        const Bytes& picture) {
    const std::vector<Param> params = ProfileInsertParams(profile, picture);
    WriteOutcome outcome = WriteOutcome::kWritten;
    try {
        connection.InTransaction([&] {
            if (Exists(connection, profile.series, profile.number)) {
                outcome = WriteOutcome::kDuplicate;
                return;
            }
            connection.Execute(ProfileInsertStatement(), params);
        });
    } catch (const DatabaseError&) {
        // Another window may have added the same profile since the check: the unique key
        // refused it.
        if (Exists(connection, profile.series, profile.number))
            return WriteOutcome::kDuplicate;
        throw;
    }
    return outcome;
}

WriteOutcome ChangeProfile(const Connection& connection, const std::string& shown_series,
                           const std::string& shown_number, const ProfileTexts& profile,
                           const std::function<void()>& before_commit) {
    std::vector<Param> params = ProfileParams(profile);
    params.push_back(shown_series);
    params.push_back(shown_number);
    WriteOutcome outcome = WriteOutcome::kWritten;
    // The profile itself keeps its name: only another profile's name is a duplicate.
    const bool renamed = profile.series != shown_series || profile.number != shown_number;
    connection.InTransaction([&] {
        if (renamed && Exists(connection, profile.series, profile.number)) {
            outcome = WriteOutcome::kDuplicate;
            return;
        }
        if (connection.Execute(UpdateStatement(), params) != 1) {
            throw DatabaseError(kNoCurrentRecordError,
                                "要修改的型材已不存在: " + shown_series + " " + shown_number);
        }
        if (before_commit)
            before_commit();
    });
    return outcome;
}

bool DeleteProfile(const Connection& connection, const std::string& series,
                   const std::string& number) {
    ResultSet set = OpenProfile(connection, series, number);
    if (set.AtEnd())
        return false;
    set.DeleteCurrent();
    return true;
}

}  // namespace quoinry::db
