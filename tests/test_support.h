#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/calc_error.h"
#include "common/report.h"

namespace quoinry::testing_support {

namespace fs = std::filesystem;

// A fresh, empty folder for one test, removed afterwards. Named after the process too: the
// release and the sanitizer tests, or another checkout's, may run the same test at once.
class ScratchFolder {
  public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "quoinry-" + std::string(test->test_suite_name()) + "-" + test->name() +
                           "-" + std::to_string(getpid());
        std::replace(name.begin(), name.end(), '/', '_');  // parameterized test names
        path_ = fs::temp_directory_path() / name;
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

    // Names of everything in the folder, sorted.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    fs::path path_;
};

inline void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

inline std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The start of a shell command that runs a program with at most two minutes and 4 GB of address
// space: a fault that loops or allocates without end fails its test instead of hanging the suite
// or exhausting the machine. AddressSanitizer reserves terabytes of address space: time only.
#ifdef __SANITIZE_ADDRESS__
inline const std::string kLimits = "timeout 120 ";
#else
inline const std::string kLimits = "ulimit -v 4000000 && timeout 120 ";
#endif

inline bool HasLine(const ReportLines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Runs a calculation that must fail; returns the error kind and leaves the partial report.
template <typename Call>
ErrorKind ErrorOf(Call&& call) {
    try {
        call();
    } catch (const CalcError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no error raised";
    return ErrorKind::PathFileAccess;
}

}  // namespace quoinry::testing_support
