#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "design/design_file.h"

namespace quoinry {

// A member input that picking a library profile fills in, as the member check window does: the
// [gj] key and the position of its value in the profile record (2 fa, 3 fv, 4 t, 5 area, 6 E,
// 7 Ix, 8 Iy, 9 Wx1, 10 Wx2, 13 Sx1, 14 Sx2).
struct LibraryProfileField {
    std::string_view key;
    int position;
};
inline constexpr std::size_t kLibraryProfileFieldCount = 11;
std::span<const LibraryProfileField, kLibraryProfileFieldCount> LibraryProfileFields();

// A profile of the library: the texts of LibraryProfileFields() in their order (nothing for a
// value the record leaves empty) and its section picture.
struct LibraryProfile {
    std::array<std::optional<std::string>, kLibraryProfileFieldCount> texts;
    std::string picture;
};

// What looking a profile up found. `error` is set when the library could not be read at all.
struct LibraryLookup {
    std::optional<LibraryProfile> profile;
    std::string error;
};

// The profile library as the core sees it; the database module implements it.
class ProfileLibrary {
  public:
    virtual ~ProfileLibrary() = default;
    virtual LibraryLookup Find(const std::string& series, const std::string& number) = 0;
};

// Puts the profile's values into the member inputs listed in `fill` (by the index of
// LibraryProfileFields()), a value the record lacks as an empty text, and its picture; the
// section is the library's from now on.
void ApplyLibraryProfile(Design& design, const LibraryProfile& profile,
                         const std::array<bool, kLibraryProfileFieldCount>& fill);

}  // namespace quoinry
