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

class GoldenDesign : public testing::TestWithParam<std::string> {};

TEST_P(GoldenDesign, MatchesByteForByte) {
    const fs::path golden = fs::path(QUOINRY_TEST_DATA) / "golden" / GetParam();
    const fs::path out = fs::temp_directory_path() /
                         ("quoinry-golden-" + GetParam() + "-" + std::to_string(::getpid()));
    fs::remove_all(out);
    fs::create_directories(out);
    const std::string command = std::string("'") + QUOINRY_EXECUTABLE + "' run '" +
                                (golden / "design.ini").string() + "' --out '" + out.string() +
                                "' >'" + (out / "stdout.txt").string() + "' 2>'" +
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
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(QUOINRY_TEST_DATA) / "golden")) {
        if (entry.is_directory())
            names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Designs, GoldenDesign, testing::ValuesIn(GoldenNames()),
                         [](const auto& info) { return "d" + info.param; });

}  // namespace
