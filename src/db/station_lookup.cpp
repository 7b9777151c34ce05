#include "db/station_lookup.h"

#include "db/connection.h"

namespace quoinry::db {
namespace {

// The first column of every row as text; NULL reads as the empty text.
std::vector<std::string> FirstColumn(ResultSet set) {
    std::vector<std::string> texts;
    for (; !set.AtEnd(); set.MoveNext()) texts.push_back(set.Text(0).value_or(""));
    return texts;
}

}  // namespace

std::vector<std::string> ListRegions(const Connection& connection) {
    return FirstColumn(
        connection.Query("SELECT station FROM cs GROUP BY station ORDER BY MIN(id)"));
}

std::vector<std::string> ListCities(const Connection& connection, const std::string& region) {
    return FirstColumn(
        connection.Query("SELECT city FROM cs WHERE station = ? ORDER BY id", {region}));
}

std::optional<std::string> BasicWindPressure(const Connection& connection,
                                             const std::string& region, const std::string& city) {
    ResultSet set = connection.Query(
        "SELECT wp50 FROM cs WHERE station = ? AND city = ? ORDER BY id", {region, city});
    if (set.AtEnd())
        return std::nullopt;
    return set.Text(0).value_or("");
}

}  // namespace quoinry::db
