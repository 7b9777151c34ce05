#pragma once

// The golden designs: one folder each under tests/golden, golden2 and golden2012, with the
// design and its expected output. Each set holds at least the number of designs listed here, so
// that a suite reading an empty or cut set fails instead of passing with fewer cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quoinry::testing_support {

struct GoldenSet {
    std::string_view folder;
    std::size_t designs;
};

inline constexpr GoldenSet kGoldenSets[] = {{"golden", 16}, {"golden2", 48}, {"golden2012", 2}};

// "golden/0001", ... of the given sets, sorted; a missing set gives none.
inline std::vector<std::string> GoldenNames(std::initializer_list<std::string_view> sets) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    for (std::string_view set : sets) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(fs::path(QUOINRY_TEST_DATA) / set, error)) {
            if (entry.is_directory())
                names.push_back(std::string(set) + "/" + entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline void ExpectCompleteGoldenSets(std::initializer_list<std::string_view> sets) {
    for (std::string_view set : sets) {
        const auto* known = std::find_if(std::begin(kGoldenSets), std::end(kGoldenSets),
                                         [&](const GoldenSet& s) { return s.folder == set; });
        ASSERT_NE(known, std::end(kGoldenSets)) << set;
        EXPECT_GE(GoldenNames({set}).size(), known->designs)
            << "tests/" << set << " holds fewer golden designs than it should";
    }
}

}  // namespace quoinry::testing_support
