#include "design/library_profile.h"

#include "design/input_fields.h"

namespace quoinry {
namespace {

constexpr LibraryProfileField kFields[kLibraryProfileFieldCount] = {
    {"te1", 2},  {"te5", 3},   {"te6", 6},   {"te7", 4},   {"te8", 7},  {"te9", 8},
    {"te10", 9}, {"te11", 10}, {"te12", 13}, {"te13", 14}, {"te14", 5},
};

}  // namespace

std::span<const LibraryProfileField, kLibraryProfileFieldCount> LibraryProfileFields() {
    return kFields;
}

void ApplyLibraryProfile(Design& design, const LibraryProfile& profile,
                         const std::array<bool, kLibraryProfileFieldCount>& fill) {
    for (std::size_t i = 0; i < kLibraryProfileFieldCount; ++i) {
        // A value the record lacks becomes empty, so the input check names it: another
        // profile's value must not stand in for it.
        if (fill[i])
            SetFieldText(design, *FindInputField("gj", kFields[i].key),
                         profile.texts[i].value_or(""));
    }
    if (design.member)
        design.member->section_drawing.clear();
    design.picture = profile.picture;
}

}  // namespace quoinry
