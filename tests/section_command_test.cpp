#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Outcome {
    int status;
    std::string out;
};

// Runs the program with standard output captured; standard error is dropped.
Outcome Section(const std::string& args) {
    const std::string command =
        std::string(QUOINRY_EXECUTABLE) + " section " + args + " 2>/dev/null";
    Outcome run{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Data(const std::string& name) {
    return std::string(QUOINRY_TEST_DATA) + "/data/section/" + name;
}

TEST(SectionCommand, PrintsTheElevenValues) {
    const Outcome run = Section(Data("rectangle.dxf"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "A=60\nIx=500\nIy=180\nWx1=100\nWx2=100\nWy1=60\nWy2=60\nSx1=75\nSx2=75\nSy1=45\n"
              "Sy2=45\n");
}

TEST(SectionCommand, ListsSeveralRegionsUnlessOneIsPicked) {
    const Outcome list = Section(Data("two_regions.dxf"));
    EXPECT_EQ(list.status, 3);
    EXPECT_EQ(list.out,
              "1 area=6000 box=(100, 50)-(160, 150)\n2 area=314.159 box=(190, 40)-(210, 60)\n");
    const Outcome second = Section(Data("two_regions.dxf") + " --region 2");
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out.substr(0, 12), "A=3.142\nIx=0");
}

TEST(SectionCommand, WritesThePicture) {
    const std::filesystem::path picture =
        std::filesystem::temp_directory_path() / "quoinry_section_test.wmf";
    std::filesystem::remove(picture);
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --picture " + picture.string()).status, 0);
    std::ifstream in(picture, std::ios::binary);
    char key[4] = {};
    in.read(key, 4);
    EXPECT_EQ(std::string(key, 4), "\xD7\xCD\xC6\x9A");
    std::filesystem::remove(picture);
}

TEST(SectionCommand, ExitStatusSaysWhatWentWrong) {
    EXPECT_EQ(Section("").status, 2);
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --region 0").status, 2);
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --region 2").status, 2);
    EXPECT_EQ(Section(Data("rectangle.dxf") + " --colour red").status, 2);
    EXPECT_EQ(Section(Data("missing.dxf")).status, 1);
    EXPECT_EQ(Section(Data("open_chain.dxf")).status, 1);
}

}  // namespace
