#include "common/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "common/ini_file.h"
#include "test_support.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public testing::Test {
  protected:
    // The folder can be removed again whatever a test took away.
    void TearDown() override {
        fs::permissions(file_, fs::perms::owner_all, fs::perm_options::add, ignored_);
    }

    void WriteBytes(std::size_t count, char byte = 'x') const {
        std::ofstream(file_, std::ios::binary) << std::string(count, byte);
    }

    testing_support::ScratchFolder folder_;
    fs::path dir_ = folder_.path();
    fs::path file_ = dir_ / "info.ini";
    std::error_code ignored_;
};

TEST_F(SettingsFileTest, ReadsARegularFileUpTo1MB) {
    EXPECT_EQ(ReadSettingsFile(file_), std::nullopt) << "missing";
    WriteBytes(0);
    EXPECT_EQ(ReadSettingsFile(file_), "");
    WriteBytes(kSettingsFileLimit - 1);
    EXPECT_EQ(ReadSettingsFile(file_)->size(), kSettingsFileLimit - 1);
    WriteBytes(kSettingsFileLimit);
    EXPECT_EQ(ReadSettingsFile(file_)->size(), 1048576u);
    const fs::path target = dir_ / "real.ini";
    std::ofstream(target) << "[database]\nurl=\n";
    fs::remove(file_);
    fs::create_symlink(target, file_);
    EXPECT_EQ(ReadSettingsFile(file_), "[database]\nurl=\n") << "a link to a regular file";
}

TEST_F(SettingsFileTest, RefusesWhatIsNoSmallReadableFileNamingIt) {
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"1 MB + 1 byte", [&] { WriteBytes(kSettingsFileLimit + 1); }},
        {"a folder", [&] { fs::create_directory(file_); }},
        {"a FIFO", [&] { ASSERT_EQ(mkfifo(file_.c_str(), 0600), 0); }},
        {"/dev/zero", [&] { fs::create_symlink("/dev/zero", file_); }},
    };
    for (const auto& [name, make] : cases) {
        fs::remove_all(file_);
        make();
        try {
            ReadSettingsFile(file_);
            ADD_FAILURE() << name << ": read";
        } catch (const SettingsFileError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("无法读取设置文件 " + file_.string() + ": ", 0),
                      0u)
                << name << ": " << e.what();
        }
        // The window helpers stay silent, and neither hang nor replace the file.
        const fs::file_type type = fs::symlink_status(file_).type();
        EXPECT_EQ(ReadIniString(file_, "database", "url"), "") << name;
        WriteIniString(file_, "glass", "co1", "x");
        EXPECT_EQ(fs::symlink_status(file_).type(), type) << name;
        if (type == fs::file_type::regular) {
            EXPECT_EQ(fs::file_size(file_), kSettingsFileLimit + 1) << name;
        }
    }
}

TEST_F(SettingsFileTest, RefusesAFileWithoutReadPermission) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    std::ofstream(file_) << "[database]\nurl=postgresql://u@h/d\n";
    fs::permissions(file_, fs::perms::none);
    EXPECT_THROW(ReadSettingsFile(file_), SettingsFileError);
    WriteIniString(file_, "glass", "co1", "x");  // must not replace what it cannot read
    fs::permissions(file_, fs::perms::owner_read);
    EXPECT_EQ(ReadIniString(file_, "database", "url"), "postgresql://u@h/d") << "kept";
}

}  // namespace
}  // namespace quoinry
