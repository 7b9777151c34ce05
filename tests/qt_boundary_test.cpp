// The folders of src/ that CMake names Qt-free (QUOINRY_QT_FREE_DIRS in CMakeLists.txt) include
// no Qt header: the calculation core, the drawings, the document, projects and the batch run
// without Qt, in the command line and in the browser build.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> QtFreeFolders() {
    std::vector<std::string> folders;
    std::istringstream list(QUOINRY_QT_FREE_DIRS);
    for (std::string folder; std::getline(list, folder, ',');) folders.push_back(folder);
    return folders;
}

// <QString>, <QtCore/QObject>, <qglobal.h>, also with spaces after the '#'.
bool IncludesQt(const std::string& line) {
    static const std::regex kQtInclude(R"(^\s*#\s*include\s*(<Q|"Q|<q[a-z]*\.h>))");
    return std::regex_search(line, kQtInclude);
}

TEST(QtBoundary, KnowsAQtIncludeFromOurs) {
    for (const char* line : {"#include <QString>", "#include \"QtCore/QObject\"",
                             "  #  include <QtGui/QPainter>", "#include <qglobal.h>"})
        EXPECT_TRUE(IncludesQt(line)) << line;
    for (const char* line : {"#include \"db/qt_value.h\"", "#include <queue>",
                             "// no #include <QString> here", "#include \"common/numbers.h\""})
        EXPECT_FALSE(IncludesQt(line)) << line;
}

TEST(QtBoundary, CoversTheCoreAndTheLibrariesOverIt) {
    const std::vector<std::string> folders = QtFreeFolders();
    for (const char* folder : {"common", "platform", "edition", "wind", "glass", "member", "design",
                               "profile", "document", "project", "batch"})
        EXPECT_NE(std::find(folders.begin(), folders.end(), folder), folders.end()) << folder;
}

class QtFreeFolder : public testing::TestWithParam<std::string> {};

// A subfolder is checked only when the list names it (cli/ is Qt-free, cli/qt is not).
TEST_P(QtFreeFolder, IncludesNoQtHeader) {
    const fs::path folder = fs::path(QUOINRY_SOURCE_DIR) / "src" / GetParam();
    ASSERT_TRUE(fs::is_directory(folder)) << folder.string() << " is missing";
    int sources = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
            continue;
        ++sources;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number)
            EXPECT_FALSE(IncludesQt(line))
                << entry.path().string() << ":" << number << ": " << line;
    }
    EXPECT_GT(sources, 0) << folder.string() << " holds no source";
}

INSTANTIATE_TEST_SUITE_P(Src, QtFreeFolder, testing::ValuesIn(QtFreeFolders()),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '/', '_');
                             return name;
                         });

}  // namespace
