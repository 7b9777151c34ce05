#pragma once

#include <string_view>

namespace quoinry::db {

// data/gb50009_2012_e5_wind.tsv as built into the program (generated at build time).
std::string_view StationTableTsv();

}  // namespace quoinry::db
