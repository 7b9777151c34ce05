#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quoinry::db {

class Connection;

// Every region of table cs once, in the order of its first station.
std::vector<std::string> ListRegions(const Connection& connection);

// The cities of a region in table order; empty for an unknown region.
std::vector<std::string> ListCities(const Connection& connection, const std::string& region);

// The basic wind pressure (Pa) of a city as text; nothing when the pair is not in the table.
// A NULL pressure reads as the empty text.
std::optional<std::string> BasicWindPressure(const Connection& connection,
                                             const std::string& region, const std::string& city);

}  // namespace quoinry::db
