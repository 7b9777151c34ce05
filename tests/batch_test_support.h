#pragma once

// Helpers for the project, schedule and batch tests: a scratch folder, files, the golden
// designs, and running the program.

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "design/design_file.h"
#include "document_test_support.h"
#include "golden_sets.h"

namespace quoinry::batch_testing {

namespace fs = std::filesystem;
using document::testing::ReadBytes;
using document::testing::ScratchFolder;
using document::testing::WriteBytes;

// A design for schedules to go over: a member (GR50-01 at 2400 mm) and single glass in 南京.
inline const std::string kBatchBase =
    "[design]\nformat=1\nname=base\n[glass]\nco1=江苏省\nco2=南京\nco3=B类\nco4=单层玻璃\n"
    "co5=普通玻璃\nco6=6\nco7=普通玻璃\nco8=6\nte1=350\nte2=1.5\nte3=20\nte4=1200\nte5=1500\n"
    "op1=False\nop2=False\n[gj]\nco1=竖向杆件\nco2=GR50\nco3=GR50-01\nte1=85.5\nte2=1200\nte3=0\n"
    "te4=2400\nte5=49.6\nte6=70000\nte7=1.4\nte8=50\nte9=30\nte10=10\nte11=12\nte12=8\nte13=7\n"
    "te14=5\n";

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the program with `arguments` (already quoted where needed) in `folder`, with `home` (the
// folder itself unless named) as its program directory, where a command that needs a database
// makes one. Without a display, no arguments is bad usage rather than the windows.
inline Finished RunProgram(const fs::path& folder, const std::string& arguments,
                           const fs::path& home = {}) {
    const std::string command = "cd '" + folder.string() + "' && " + testing_support::kLimits +
                                "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                                "QUOINRY_HOME='" +
                                (home.empty() ? folder : home).string() + "' '" +
                                QUOINRY_EXECUTABLE + "' " + arguments +
                                " >stdout.txt 2>stderr.txt </dev/null";
    const int status = std::system(command.c_str());
    Finished finished;
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    finished.out = ReadBytes(folder / "stdout.txt");
    finished.err = ReadBytes(folder / "stderr.txt");
    fs::remove(folder / "stdout.txt");
    fs::remove(folder / "stderr.txt");
    return finished;
}

// The golden designs: "golden/0001" ... with their folders.
inline std::vector<std::string> GoldenNames() {
    return testing_support::GoldenNames({"golden", "golden2"});
}

inline void ExpectCompleteGoldenSets() {
    testing_support::ExpectCompleteGoldenSets({"golden", "golden2"});
}

inline fs::path GoldenFolder(const std::string& name) {
    return fs::path(QUOINRY_TEST_DATA) / name;
}

inline Design GoldenDesign(const std::string& name) {
    return ReadDesignFile(GoldenFolder(name) / "design.ini").design;
}

// "golden/0001" as a position name.
inline std::string PositionName(const std::string& golden) {
    std::string name = golden;
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

// Expects the report files of `folder` to be those of the golden design's expected output.
inline void ExpectGoldenReports(const std::string& golden, const fs::path& folder) {
    for (const char* report : {"wind.txt", "glass.txt", "gj.txt"}) {
        const fs::path expected = GoldenFolder(golden) / "expected" / report;
        ASSERT_EQ(fs::exists(folder / report), fs::exists(expected)) << golden << " " << report;
        if (fs::exists(expected)) {
            EXPECT_EQ(ReadBytes(folder / report), ReadBytes(expected)) << golden << " " << report;
        }
    }
}

}  // namespace quoinry::batch_testing
