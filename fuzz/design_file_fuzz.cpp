// libFuzzer entry: any bytes as a design file, read to a design or one message, never a crash;
// a design read is written in the current format and read again to the same text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "design/design_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const quoinry::DesignFileReading reading = quoinry::ParseDesignFile(bytes, "fuzz.ini");
        const std::string text = quoinry::DesignFileText(reading.design);
        const quoinry::DesignFileReading again = quoinry::ParseDesignFile(text, "again.ini");
        if (quoinry::DesignFileText(again.design) != text)
            __builtin_trap();
    } catch (const quoinry::DesignFileError&) {
    }
    return 0;
}
