// An Access file, whatever its bytes, is read in a child process: the program gets tables or a
// DatabaseError, never a crash or a hang of its own.
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "db/database_error.h"
#include "db/mdb_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("quoinry-mdb-fuzz-" + std::to_string(getpid()) + ".mdb");
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    try {
        quoinry::db::ReadMdbFile(file, std::chrono::seconds(5));
    } catch (const quoinry::db::DatabaseError&) {
    }
    return 0;
}
