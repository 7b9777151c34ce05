// The batch's contract: every position's reports are byte for byte those of `quoinry run` of
// the same design (the golden designs' expected reports are exactly that), for a project file
// and for a CSV and an XLSX schedule, with any number of jobs.
#include <xlsxwriter.h>

#include "batch/summary.h"
#include "batch_test_support.h"
#include "design/input_fields.h"
#include "project/project_file.h"

namespace quoinry {
namespace {

using namespace batch_testing;

// The schedule of all golden designs: one column per design-file key, "无" for no member.
std::vector<std::vector<std::string>> GoldenTable() {
    std::vector<std::vector<std::string>> table;
    std::vector<std::string> header = {"name"};
    for (const InputField& field : InputFields())
        header.push_back(std::string(field.section) + "." + std::string(field.key));
    table.push_back(header);
    for (const std::string& golden : GoldenNames()) {
        const Design design = GoldenDesign(golden);
        std::vector<std::string> row = {PositionName(golden)};
        for (const InputField& field : InputFields()) {
            const bool member_form = field.section == "gj" && field.key == "co1";
            row.push_back(member_form && !design.member ? "无" : FieldText(design, field));
        }
        table.push_back(row);
    }
    return table;
}

void WriteXlsx(const fs::path& file, const std::vector<std::vector<std::string>>& table) {
    lxw_workbook* workbook = workbook_new(file.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    for (std::size_t r = 0; r < table.size(); ++r) {
        for (std::size_t c = 0; c < table[r].size(); ++c) {
            if (!table[r][c].empty())
                worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                       table[r][c].c_str(), nullptr);
        }
    }
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
}

Project GoldenProject() {
    Project project;
    project.info.name = "黄金设计";
    for (const std::string& golden : GoldenNames()) {
        Design design = GoldenDesign(golden);
        design.info.name = PositionName(golden);
        project.positions.push_back({design, "2001"});
    }
    return project;
}

void ExpectEveryPositionAsRunWritesIt(const fs::path& out) {
    for (const std::string& golden : GoldenNames())
        ExpectGoldenReports(golden, out / PositionName(golden));
}

TEST(BatchOfGoldenDesignSets, HoldEveryDesign) {
    ExpectCompleteGoldenSets();
}

class BatchOfGoldenDesigns : public ::testing::TestWithParam<std::string> {};

TEST_P(BatchOfGoldenDesigns, WritesTheReportsOfRunForEveryPositionWithAnyNumberOfJobs) {
    ScratchFolder folder;
    const std::string kind = GetParam();
    const std::string schedule = "schedule." + kind;
    if (kind == "csv") {
        std::string text = "\xEF\xBB\xBF";
        for (const auto& row : GoldenTable()) text += CsvLine(row);
        WriteBytes(folder / schedule, text);
    } else if (kind == "xlsx") {
        WriteXlsx(folder / schedule, GoldenTable());
    } else {
        SaveProjectFile(folder / schedule, GoldenProject());
    }
    std::string summaries[2];
    for (int jobs : {1, 2}) {
        const std::string out = "out" + std::to_string(jobs);
        const Finished run = RunProgram(folder.path(), "batch " + schedule + " --out " + out +
                                                           " --jobs " + std::to_string(jobs));
        // Six golden designs are refused on purpose, four for a negative second load unit.
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.out, "64 个计算位置: 31 个满足, 23 个不满足, 10 个出错\n");
        ExpectEveryPositionAsRunWritesIt(folder / out);
        summaries[jobs - 1] = ReadBytes(folder / out / "summary.csv");
    }
    EXPECT_EQ(summaries[0], summaries[1]);
    // The summary of golden/0001 (a vertical member) has the numbers its reports print.
    EXPECT_NE(summaries[0].find("\r\ngolden-0001,1.105,1.547,1,1,1,,golden-0001,"),
              std::string::npos);
    // Qw1 = 0.663 × 3.6/4 = 0.5967 → 0.597, τ = 1.4 × 0.597 → 0.836 × 8 × 100/50/1.4 = 9.554;
    // L/120 = 2400/120 = 20 mm
    EXPECT_NE(
        summaries[0].find(",61.320,85.500,9.554,49.600,0.0031,20.000,7.385,15,GR50\\GR50-01\r\n"),
        std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Schedules, BatchOfGoldenDesigns,
                         ::testing::Values("qproj", "csv", "xlsx"));

TEST(BatchOfGoldenDesigns, RunOfAnyPositionWritesTheBatchReports) {
    ScratchFolder folder;
    const Project project = GoldenProject();
    SaveProjectFile(folder / "p.qproj", project);
    ASSERT_EQ(RunProgram(folder.path(), "batch p.qproj --out out").status, 1);
    for (const Position& position : project.positions) {
        const std::string name = position.design.info.name;
        WriteBytes(folder / (name + ".ini"), PositionDesignText(position, project.info));
        RunProgram(folder.path(), "run '" + name + ".ini' --out 'single/" + name + "'");
        for (const char* report : {"wind.txt", "glass.txt", "gj.txt"}) {
            EXPECT_EQ(fs::exists(folder / "single" / name / report),
                      fs::exists(folder / "out" / name / report));
            EXPECT_EQ(ReadBytes(folder / "single" / name / report),
                      ReadBytes(folder / "out" / name / report))
                << name << " " << report;
        }
    }
}

}  // namespace
}  // namespace quoinry
