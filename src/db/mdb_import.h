#pragma once

#include <filesystem>

namespace quoinry::db {

class Connection;

struct ImportCounts {
    int stations = 0;
    int profiles = 0;
};

// Copies tables cs and xc of an Access file (jscs.mdb of an older installation) into the
// database in one transaction: texts as UTF-8, numbers exactly, pictures byte for byte, NULL as
// the empty text. Columns of xc are taken by position. Refuses (DatabaseError, nothing changed)
// when a target table holds rows, unless `replace` empties both first.
ImportCounts ImportMdb(const Connection& connection, const std::filesystem::path& file,
                       bool replace);

}  // namespace quoinry::db
