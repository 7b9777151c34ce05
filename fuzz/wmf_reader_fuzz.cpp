// libFuzzer entry: any byte string must read to a picture or a message, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "profile/wmf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto reading = quoinry::profile::ReadWmf({reinterpret_cast<const char*>(data), size});
    if (!reading.message.empty() && !reading.picture.paths.empty())
        __builtin_trap();
    return 0;
}
