#pragma once

#include <chrono>
#include <filesystem>

#include "db/mdb_tables.h"

namespace quoinry::db {

class Connection;

struct ImportCounts {
    int stations = 0;
    int profiles = 0;
};

// How long reading an Access file may take before the file counts as damaged.
inline constexpr std::chrono::seconds kMdbReadTimeLimit{60};

// Reads and checks tables cs and xc of an Access file (ReadMdbTablesHere) in a child process,
// so that libmdb crashing or looping on a damaged file ends in a message. Raises DatabaseError
// "无法读取Access文件 FILE: ..." naming the table and row of a fault, or "无法读取Access文件
// FILE (文件已损坏)" when the reading crashed or did not end within `time_limit`.
MdbTables ReadMdbFile(const std::filesystem::path& file,
                      std::chrono::milliseconds time_limit = kMdbReadTimeLimit);

// Copies tables cs and xc of an Access file (jscs.mdb of an older installation) into the
// database: texts as UTF-8, numbers exactly, pictures byte for byte, NULL texts as the empty
// text; columns of xc are taken by position. Everything is read and checked first
// (ReadMdbFile), then written in one transaction, so a refused file leaves the database as it
// was. Refuses (DatabaseError, nothing changed) when a target table holds rows, unless
// `replace` empties both first.
ImportCounts ImportMdb(const Connection& connection, const std::filesystem::path& file,
                       bool replace);

}  // namespace quoinry::db
