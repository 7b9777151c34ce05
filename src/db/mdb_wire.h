#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "db/mdb_tables.h"

namespace quoinry::db {

// The tables as bytes, to pass them from the reading child to the program.
std::string EncodeMdbTables(const MdbTables& tables);

// The tables back from EncodeMdbTables' bytes. Every count and length is checked against the
// bytes that are there, and each row against the shape of its table; raises
// std::invalid_argument for anything else.
MdbTables DecodeMdbTables(std::string_view bytes);

}  // namespace quoinry::db
