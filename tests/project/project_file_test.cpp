// Project files: the whole project round trip, positions read one by one, broken files by line.
#include "project/project_file.h"

#include "batch_test_support.h"

namespace quoinry {
namespace {

using namespace batch_testing;

Project SampleProject() {
    Project project;
    project.info = {
        "广州某住宅小区 3#楼", "广东", "广州", "500", "C类", "2001", "张工", "李工", "王工",
        "2026-12-06"};
    Design c1521 = GoldenDesign("golden/0001");
    c1521.info = {"C1521", project.info.name, "张工"};
    c1521.picture = ReadBytes(fs::path(QUOINRY_TEST_DATA) / "data" / "document" / "xc.wmf");
    Design m1024 = GoldenDesign("golden/0005");  // no member
    m1024.info.name = "M1024";
    m1024.wind.edition = "2012";  // a position's edition is its design's
    project.positions = {{c1521, "2001"}, {m1024, "2012"}};
    return project;
}

TEST(ProjectFile, KeepsEveryValueOfTheProjectAndItsPositions) {
    ScratchFolder folder;
    const Project project = SampleProject();
    ASSERT_FALSE(project.positions[0].design.picture.empty());
    SaveProjectFile(folder / "p.qproj", project);
    const ProjectFileReading reading = ReadProjectFile(folder / "p.qproj");
    EXPECT_EQ(reading.project, project);
    EXPECT_TRUE(reading.warnings.empty());
    const std::string text = ReadBytes(folder / "p.qproj");
    EXPECT_TRUE(text.starts_with(
        "; Quoinry 工程文件 (UTF-8)\n[project]\nformat=1\nname=广州某住宅小区 3#楼\n"));
    EXPECT_NE(
        text.find("\n[position]\n; Quoinry 设计文件 (UTF-8)\n[design]\nformat=1\nname=M1024\n"),
        std::string::npos);
    EXPECT_NE(text.find("\nedition=2012\n"), std::string::npos);
}

// A new project is new work; a project file written before editions is read as it always was.
TEST(ProjectFile, NewProjectsAreOfTheCodesInForceOlderFilesKeep2001) {
    EXPECT_EQ(ProjectInfo{}.edition, "2012");
    ScratchFolder folder;
    WriteBytes(folder / "old.qproj",
               "[project]\nformat=1\nname=X\n[position]\n[design]\nformat=1\nname=A\n"
               "[glass]\nte3=20\n");
    const ProjectFileReading reading = ReadProjectFile(folder / "old.qproj");
    EXPECT_EQ(reading.project.info.edition, "2001");
    EXPECT_EQ(EditionOf(reading.project.positions.at(0), reading.project.info), "2001");
    EXPECT_NE(ProjectFileText(Project{}).find("\nedition=2012\n"), std::string::npos);
}

TEST(ProjectFile, APositionIsADesignFileOfItsOwnWithItsEdition) {
    const Project project = SampleProject();
    Position inherits = project.positions[1];
    inherits.edition.clear();
    const std::string text = PositionDesignText(inherits, project.info);
    EXPECT_NE(text.find("\nedition=2001\n"), std::string::npos);
    const DesignFileReading reading = ParseDesignFile(text, "position.ini");
    Design expected = inherits.design;
    expected.wind.edition = "2001";  // the project's
    EXPECT_EQ(reading.design, expected);
    EXPECT_TRUE(reading.warnings.empty());  // glass.edition is a key design files know
}

TEST(ProjectFile, ABrokenPositionIsNamedByLineAndTheOthersStillRead) {
    ScratchFolder folder;
    WriteBytes(folder / "p.qproj",
               "[project]\nformat=1\nname=X\ncolour=red\n"  // line 4 unknown
               "[position]\n[design]\nformat=1\nname=A\n[glass]\nte3=20\n"
               "[position]\n[design]\nformat=1\nname=B\n[glass]\nedition=1999\n"
               "[position]\n[glass]\nte3=5\n"
               "[position]\n[design]\nformat=1\n[profile]\nsource=paper\n"
               "[position]\n[design]\nformat=1\nname=E\n");
    ProjectFileReader reader(folder / "p.qproj");
    EXPECT_EQ(reader.info().name, "X");
    ASSERT_EQ(reader.warnings().size(), 1u);
    EXPECT_NE(reader.warnings()[0].find("第4行"), std::string::npos);
    std::vector<PositionEntry> entries;
    while (std::optional<PositionEntry> entry = reader.Next()) entries.push_back(std::move(*entry));
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].position->design.wind.height, "20");
    EXPECT_EQ(entries[0].line, 5);
    const std::string file = (folder / "p.qproj").string();
    EXPECT_EQ(entries[1].error,
              "工程文件 " + file + " 第16行: 规范版本 edition 应为 2001 或 2012,这里是“1999”");
    EXPECT_EQ(entries[2].error,
              "工程文件 " + file + " 第17行: 这个位置缺少 [design] 节,不是完整的设计");
    EXPECT_NE(entries[3].error.find("第24行: source 应为 library"), std::string::npos)
        << entries[3].error;
    EXPECT_EQ(entries[4].number, 5);
    EXPECT_TRUE(entries[4].position);
    // The windows take a project whole or not at all.
    EXPECT_THROW(ReadProjectFile(folder / "p.qproj"), ProjectFileError);
    EXPECT_EQ(CountProjectPositions(folder / "p.qproj"), 5);
}

TEST(ProjectFile, RefusesWhatIsNoProjectOfThisProgram) {
    ScratchFolder folder;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[design]\nformat=1\n", "第1行: 不是工程文件"},
        {"; nothing\n", "中没有 [project] 节"},
        {"name=x\n[project]\n", "第1行: 不是工程文件"},
        {"[project]\nname=x\n", "第1行: [project] 节缺少格式版本 format=1"},
        {"[project]\nformat=2\n", "第2行: 格式版本 format=2 比本程序认识的版本(1)新"},
        {"[project]\nformat=one\n", "格式版本 format 应为正整数"},
        {"[project]\nformat=1\nedition=2020\n", "第3行: 规范版本 edition 应为 2001 或 2012"},
        {"[project]\nformat=1\nname=\xFF\n", "第3行: 不是工程文件的文本行"},
    };
    for (const auto& [text, message] : cases) {
        WriteBytes(folder / "p.qproj", text);
        try {
            ProjectFileReader reader(folder / "p.qproj");
            ADD_FAILURE() << text;
        } catch (const ProjectFileError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
    EXPECT_THROW(ProjectFileReader(folder / "missing.qproj"), ProjectFileError);
    EXPECT_THROW(ProjectFileReader(folder.path()), ProjectFileError);
}

TEST(ProjectFile, AFailedSaveKeepsTheOldFile) {
    ScratchFolder folder;
    SaveProjectFile(folder / "p.qproj", SampleProject());
    const std::string before = ReadBytes(folder / "p.qproj");
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    Project changed = SampleProject();
    changed.info.name = "changed";
    if (::geteuid() != 0) {  // root writes anywhere
        EXPECT_THROW(SaveProjectFile(folder / "p.qproj", changed), ProjectFileError);
    }
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_EQ(ReadBytes(folder / "p.qproj"), before);
}

TEST(ProjectSite, PositionsThatDifferFromTheSiteAreNamed) {
    ProjectInfo info;
    info.city = "广州";
    info.w0 = "500";
    Design design;
    ApplySite(design, info);
    EXPECT_EQ(design.wind.city, "广州");
    EXPECT_EQ(design.wind.basic_wind_pressure, "500");
    EXPECT_TRUE(SiteDifferences(design, info).empty());
    design.wind.basic_wind_pressure = "450";
    EXPECT_EQ(SiteDifferences(design, info),
              std::vector<std::string>{"基本风压(Pa) “450”,工程为“500”"});
}

}  // namespace
}  // namespace quoinry
