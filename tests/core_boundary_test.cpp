// The calculation core stays plain C++: no Qt header may creep into it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(CoreBoundary, NoQtHeaderInTheCalculationCore) {
    const fs::path src = fs::path(QUOINRY_TEST_DATA).parent_path() / "src";
    for (const char* dir : {"common", "platform", "edition", "wind", "glass", "member", "design"}) {
        if (!fs::exists(src / dir))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(src / dir)) {
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                const bool qt = line.starts_with("#include <Q") || line.starts_with("#include \"Q");
                EXPECT_FALSE(qt) << entry.path().string() << ":" << number << ": " << line;
            }
        }
    }
}

}  // namespace
