// The program's decoder of the rows a reading child sends back: whatever the bytes, it returns
// tables or raises std::invalid_argument.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "db/mdb_wire.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        quoinry::db::DecodeMdbTables(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
