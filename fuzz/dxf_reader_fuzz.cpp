// libFuzzer entry: any byte string must read to a measured section or a SectionError, never a
// crash, a hang or another exception.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "profile/dxf_drawing.h"
#include "profile/regions.h"
#include "profile/section_error.h"
#include "profile/section_values.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quoinry::profile;
    try {
        const Drawing drawing = ReadDxfText({reinterpret_cast<const char*>(data), size});
        const auto regions = FindRegions(drawing.loops, drawing.origin);
        if (!regions.empty())
            MeasureProfile(regions.front());
    } catch (const SectionError&) {
    }
    return 0;
}
