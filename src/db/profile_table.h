#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "db/connection.h"

namespace quoinry::db {

// A profile as the window holds it: texts of positions 2 to 16 as typed.
struct ProfileTexts {
    std::string series;
    std::string number;
    std::array<std::string, 15> values;
};

enum class WriteOutcome {
    kWritten,
    kDuplicate,  // another profile has that series and number: nothing stored
};

// The series in the order of their first profile.
std::vector<std::string> ListSeries(const Connection& connection);

// The numbers of a series, sorted by code point.
std::vector<std::string> ListNumbers(const Connection& connection, const std::string& series);

// The record query: positions 0 xl, 1 mc, 2..16 the numbers, 17 the picture. The set can delete
// its current row.
ResultSet OpenProfile(const Connection& connection, const std::string& series,
                      const std::string& number);

// The parameters of ProfileInsertStatement() for a profile and its picture. Raises "类型不匹配"
// when a value is not a number.
std::vector<Param> ProfileInsertParams(const ProfileTexts& profile, const Bytes& picture);

// Stores a new profile with its picture. Raises "类型不匹配" (nothing stored) when a value is not
// a number.
WriteOutcome AddProfile(const Connection& connection, const ProfileTexts& profile,
                        const Bytes& picture);

// Writes the profile shown last (`shown_series`, `shown_number`) under the new series, number
// and values in one transaction; the picture stays. Refuses the series and number of another
// profile; keeping the shown ones is no duplicate. Raises "类型不匹配" for a value that is not a
// number and error 3021 when the shown profile is gone. `before_commit` runs inside the transaction
// (tests use it to die there).
WriteOutcome ChangeProfile(const Connection& connection, const std::string& shown_series,
                           const std::string& shown_number, const ProfileTexts& profile,
                           const std::function<void()>& before_commit = {});

// Deletes one profile; false when there was none.
bool DeleteProfile(const Connection& connection, const std::string& series,
                   const std::string& number);

}  // namespace quoinry::db
