// Whole designs run through the command line, compared byte for byte with their expected
// reports, standard output, standard error and exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "golden_sets.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::set<std::string> FileNames(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
    return names;
}

// A design is named by its folder under the test data: "golden/0001" or "golden2/001".
class GoldenDesign : public testing::TestWithParam<std::string> {};

TEST_P(GoldenDesign, MatchesByteForByte) {
    const fs::path golden = fs::path(QUOINRY_TEST_DATA) / GetParam();
    std::string flat = GetParam();
    std::replace(flat.begin(), flat.end(), '/', '-');
    const fs::path out =
        fs::temp_directory_path() / ("quoinry-" + flat + "-" + std::to_string(::getpid()));
    fs::remove_all(out);
    fs::create_directories(out);
    const std::string command = quoinry::testing_support::kLimits + "'" + QUOINRY_EXECUTABLE +
                                "' run '" + (golden / "design.ini").string() + "' --out '" +
                                out.string() + "' >'" + (out / "stdout.txt").string() + "' 2>'" +
                                (out / "stderr.txt").string() + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    std::ofstream(out / "exit.txt") << WEXITSTATUS(status) << "\n";

    const fs::path expected = golden / "expected";
    EXPECT_EQ(FileNames(out), FileNames(expected));
    for (const auto& name : FileNames(expected)) {
        EXPECT_EQ(ReadBytes(out / name), ReadBytes(expected / name)) << GetParam() << "/" << name;
    }
    fs::remove_all(out);
}

std::vector<std::string> GoldenNames() {
    return quoinry::testing_support::GoldenNames({"golden", "golden2", "golden2012"});
}

TEST(GoldenSets, HoldEveryDesign) {
    quoinry::testing_support::ExpectCompleteGoldenSets({"golden", "golden2", "golden2012"});
}

// golden/0001 is "d0001", golden2/001 is "e001", golden2012/01 (code edition 2012) is "f01".
std::string TestName(const std::string& name) {
    const std::size_t slash = name.find('/');
    const std::string set = name.substr(0, slash);
    return (set == "golden2" ? "e" : set == "golden2012" ? "f" : "d") + name.substr(slash + 1);
}

INSTANTIATE_TEST_SUITE_P(Designs, GoldenDesign, testing::ValuesIn(GoldenNames()),
                         [](const auto& info) { return TestName(info.param); });

}  // namespace
