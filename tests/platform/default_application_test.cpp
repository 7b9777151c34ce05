#include "platform/default_application.h"

#include <chrono>
#include <cstdlib>

#include "document_test_support.h"

namespace quoinry::platform {
namespace {

using document::testing::ReadBytes;
using document::testing::ScratchFolder;
using document::testing::WriteBytes;
namespace fs = std::filesystem;

// PATH holds only a fake xdg-open with the given script body, for one test.
class FakeOpener : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        saved_path_ = path != nullptr ? path : "";
        setenv("PATH", folder_.path().c_str(), 1);
    }
    void TearDown() override { setenv("PATH", saved_path_.c_str(), 1); }

    void InstallOpener(const std::string& body) {
        const fs::path opener = folder_ / "xdg-open";
        WriteBytes(opener, "#!/bin/sh\n" + body + "\n");
        fs::permissions(opener, fs::perms::owner_all);
    }

    ScratchFolder folder_;
    std::string saved_path_;
};

TEST_F(FakeOpener, PassesTheAbsolutePathAndReportsSuccess) {
    InstallOpener("printf '%s' \"$1\" > '" + (folder_ / "opened").string() + "'");
    const fs::path relative = fs::relative(folder_ / "计算书.docx");
    EXPECT_TRUE(OpenWithDefaultApplication(relative));
    EXPECT_EQ(ReadBytes(folder_ / "opened"), (folder_ / "计算书.docx").string());
}

TEST_F(FakeOpener, FailsWhenNoApplicationOpensTheFile) {
    InstallOpener("exit 3");
    EXPECT_FALSE(OpenWithDefaultApplication(folder_ / "计算书.docx"));
}

TEST_F(FakeOpener, FailsWithoutXdgOpen) {
    EXPECT_FALSE(OpenWithDefaultApplication(folder_ / "计算书.docx"));
}

TEST_F(FakeOpener, DoesNotWaitForAnApplicationThatKeepsRunning) {
    InstallOpener("exec /bin/sleep 6");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(OpenWithDefaultApplication(folder_ / "计算书.docx"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
}  // namespace quoinry::platform
