#pragma once

#include <vector>

#include "db/value.h"

namespace quoinry::db {

// The rows of tables cs and xc of an Access file as they will be stored: cs rows are three
// texts (station, city, wp50); xc rows are xl and mc (texts), the fifteen numbers (a double or
// NULL) and the picture (bytes or NULL).
struct MdbTables {
    std::vector<std::vector<Value>> stations;
    std::vector<std::vector<Value>> profiles;
};

inline constexpr int kStationColumns = 3;

}  // namespace quoinry::db
