#pragma once

#include <filesystem>

#include "db/mdb_tables.h"

namespace quoinry::db {

// Reads tables cs and xc of an Access file with libmdb, in this process, and checks them: the
// rows read match each table's own row count, every picture has the length its field states,
// numbers are finite, texts are whole UTF-8. Raises DatabaseError naming the table, row and
// column of the first fault. libmdb may crash or loop on a damaged file, so the program calls
// this only inside a child process (ReadMdbFile).
MdbTables ReadMdbTablesHere(const std::filesystem::path& file);

}  // namespace quoinry::db
