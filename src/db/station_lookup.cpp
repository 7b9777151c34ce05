#include "db/station_lookup.h"

#include "db/connection.h"

namespace quoinry::db {

std::vector<std::string> ListRegions(const Connection& connection) {
    return FirstColumnTexts(
        connection.Query("SELECT station FROM cs GROUP BY station ORDER BY MIN(id)"));
}

std::vector<std::string> ListCities(const Connection& connection, const std::string& region) {
    return FirstColumnTexts(
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
