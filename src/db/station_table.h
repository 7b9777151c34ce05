#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quoinry::db {

struct Station {
    std::string region;
    std::string city;
    std::string wp50;  // Pa, whole number text
};

// The stations of table E.5 of GB50009-2012 built into the program, in the code's order.
const std::vector<Station>& BuiltInStations();

// The rows of the tab-separated table (header line first) that have a 50-year pressure and no
// "FLAG" note; wp50 = w50 (kN/m²) × 1000.
std::vector<Station> ParseStationTable(std::string_view tsv);

}  // namespace quoinry::db
