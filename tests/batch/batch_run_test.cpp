// The batch as it runs: schedule order, folders, summaries, stopping and sources that break off.
#include "batch/batch_run.h"

#include "batch/batch_error.h"
#include "batch/folder_names.h"
#include "batch_test_support.h"
#include "project/table_reader.h"

namespace quoinry {
namespace {

using namespace batch_testing;

// Positions made of golden designs; a position may instead be an error, and the source may
// break off or ask the batch to stop after some positions.
class ListSource : public PositionSource {
  public:
    std::vector<SourceItem> items;
    std::size_t break_after = SIZE_MAX;
    std::size_t stop_after = SIZE_MAX;
    std::atomic<bool>* stop = nullptr;

    std::optional<SourceItem> Next() override {
        if (next_ == stop_after && stop != nullptr)
            stop->store(true);
        if (next_ == break_after)
            throw ScheduleError("计划表 s.csv 第9行起的引号没有成对,从这一行起无法读取");
        if (next_ >= items.size())
            return std::nullopt;
        return items[next_++];
    }
    const ProjectInfo& Info() const override { return info_; }
    const std::vector<std::string>& Warnings() const override { return warnings_; }

  private:
    std::size_t next_ = 0;
    ProjectInfo info_;
    std::vector<std::string> warnings_;
};

SourceItem Item(const std::string& name, const std::string& golden, int row) {
    SourceItem item;
    item.place = "第" + std::to_string(row) + "行";
    item.name = name;
    item.position = Position{GoldenDesign(golden), "", {}};
    return item;
}

class Collector : public BatchObserver {
  public:
    void Warning(const std::string& text) override { warnings.push_back(text); }
    void Computed(const Position* position, const PositionOutcome& outcome) override {
        computed.push_back(outcome.label.folder + (position != nullptr ? "" : " (no position)"));
    }
    void Done(int done, const PositionOutcome& outcome) override {
        EXPECT_EQ(done, static_cast<int>(names.size()) + 1);
        names.push_back(outcome.label.name);
    }
    std::vector<std::string> warnings;
    std::vector<std::string> names;
    std::vector<std::string> computed;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(Batch, NamesFoldersSafelyNumbersDuplicatesAndKeepsScheduleOrder) {
    ScratchFolder folder;
    ListSource source;
    source.items = {Item("C1521", "golden/0001", 2), Item("c1521", "golden/0005", 3),
                    Item("C/18*18", "golden/0006", 4), Item("", "golden/0062", 5)};
    SourceItem broken;
    broken.place = "第6行";
    broken.name = "M1024";
    broken.error = "第6行 C列“计算处标高”: 不是数";
    source.items.push_back(broken);
    // A report of an earlier run in the broken position's folder goes.
    fs::create_directories(folder / "out" / "M1024");
    WriteBytes(folder / "out" / "M1024" / "wind.txt", "old");
    WriteBytes(folder / "out" / "summary.csv", "old");
    Collector observer;
    std::atomic<bool> stop{false};
    const BatchOutcome outcome =
        RunBatch(source, {folder / "out", std::nullopt, 3}, observer, stop);
    EXPECT_EQ(outcome.counts.positions, 5);
    EXPECT_EQ(outcome.counts.errors, 1);
    EXPECT_EQ(outcome.counts.passed + outcome.counts.failed, 4);
    EXPECT_EQ(observer.names, (std::vector<std::string>{"C1521", "c1521", "C/18*18", "", "M1024"}));
    // What a document of the project is made from, in schedule order.
    EXPECT_EQ(observer.computed, (std::vector<std::string>{"C1521", "c1521_2", "C_18_18", "第5行",
                                                           "M1024 (no position)"}));
    for (const char* name :
         {"C1521/wind.txt", "c1521_2/wind.txt", "C_18_18/wind.txt", "第5行/wind.txt"})
        EXPECT_TRUE(fs::exists(folder / "out" / name)) << name;
    EXPECT_FALSE(fs::exists(folder / "out" / "M1024" / "wind.txt"));
    ASSERT_EQ(observer.warnings.size(), 1u);
    EXPECT_NE(observer.warnings[0].find("文件夹 c1521_2"), std::string::npos);
    const std::vector<std::string> lines = Lines(ReadBytes(folder / "out" / "summary.csv"));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(
        lines[0].starts_with("\xEF\xBB\xBFname,wk,w,glass_ok,member_ok,ok,error,folder,row,"));
    EXPECT_TRUE(lines[2].starts_with("c1521,1.250,1.750,1,,1,,c1521_2,第3行,"));
    EXPECT_TRUE(lines[5].starts_with("M1024,,,,,,第6行 C列“计算处标高”: 不是数,M1024,第6行,"));
}

TEST(Batch, StoppedBatchLeavesNoSummaryAndNoTemporaryFile) {
    ScratchFolder folder;
    for (int jobs : {1, 2}) {
        ListSource source;
        for (int i = 0; i < 200; ++i)
            source.items.push_back(Item("P" + std::to_string(i), "golden/0001", i + 2));
        std::atomic<bool> stop{false};
        source.stop = &stop;
        source.stop_after = 50;
        Collector observer;
        const BatchOutcome outcome =
            RunBatch(source, {folder / "out", folder / "summary.xlsx", jobs}, observer, stop);
        EXPECT_TRUE(outcome.interrupted);
        EXPECT_LE(outcome.counts.positions, 50);
        EXPECT_FALSE(fs::exists(folder / "out" / "summary.csv"));
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out"});  // no hidden files either
        for (const auto& entry : fs::directory_iterator(folder / "out"))
            EXPECT_TRUE(entry.is_directory()) << entry.path();
    }
}

TEST(Batch, ASourceThatBreaksOffKeepsTheRowsBeforeAndSaysWhereItStopped) {
    ScratchFolder folder;
    ListSource source;
    source.items = {Item("A", "golden/0001", 2), Item("B", "golden/0005", 3),
                    Item("C", "golden/0006", 4)};
    source.break_after = 2;
    Collector observer;
    std::atomic<bool> stop{false};
    const BatchOutcome outcome =
        RunBatch(source, {folder / "out", std::nullopt, 2}, observer, stop);
    EXPECT_EQ(outcome.counts.positions, 2);
    EXPECT_NE(outcome.broken_off.find("第9行起的引号没有成对"), std::string::npos);
    const std::vector<std::string> lines = Lines(ReadBytes(folder / "out" / "summary.csv"));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[3].find("计划表 s.csv 第9行起的引号没有成对"), std::string::npos) << lines[3];
}

TEST(Batch, NoPositionIsAScheduleErrorAndAnUnwritableFolderABatchError) {
    ScratchFolder folder;
    ListSource empty;
    Collector observer;
    std::atomic<bool> stop{false};
    EXPECT_THROW(RunBatch(empty, {folder / "out", std::nullopt, 1}, observer, stop), ScheduleError);
    EXPECT_FALSE(fs::exists(folder / "out"));
    WriteBytes(folder / "file", "x");
    ListSource one;
    one.items = {Item("A", "golden/0001", 2)};
    EXPECT_THROW(RunBatch(one, {folder / "file", std::nullopt, 1}, observer, stop), BatchError);
}

// A refused input is named by the schedule column it came from; a position without columns (from
// a project or the windows) names none, nor does a list of columns that ends before the input's.
TEST(PositionOutcome, ARefusalNamesItsScheduleColumnOnlyWhereThereIsOne) {
    ScratchFolder folder;
    Design design = GoldenDesign("golden/0001");
    design.wind.height = "-3";
    SharedValues shared;
    const DesignRunResult run = RunDesign(design, folder.path() / "C1", shared);
    ASSERT_EQ(run.refusals.size(), 1u);
    const std::string& message = run.refusals[0].message;
    const auto height = static_cast<std::size_t>(run.refusals[0].field - InputFields().data());
    const PositionLabel label{"C1", "C1", "第2行"};
    std::vector<std::string> sources(InputFields().size());
    sources[height] = "B列“标高”";
    EXPECT_EQ(OutcomeOfRun(label, design, run, sources).error, "第2行 B列“标高”: " + message);
    for (const std::size_t kept : {height + 1, height, std::size_t{0}}) {
        sources.resize(kept);
        const std::string shown = kept > height ? "B列“标高”: " : "";
        EXPECT_EQ(OutcomeOfRun(label, design, run, sources).error, "第2行 " + shown + message)
            << kept << " columns";
    }
}

TEST(FolderNames, AreSafeOnEveryFileSystem) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C1521", "C1521"},
        {"C-1 推拉窗", "C-1 推拉窗"},
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
        {"tab\there", "tab_here"},
        {"..", ""},
        {" .C1. ", "C1"},
        {"CON", "_CON"},
        {"nul.txt", "_nul.txt"},
        {std::string(200, 'x'), std::string(180, 'x')},
        {std::string(179, 'x') + "门", std::string(179, 'x')},
    };
    for (const auto& [name, safe] : cases) EXPECT_EQ(SafeFileName(name), safe) << name;
    FolderNames names;
    EXPECT_EQ(names.Take("C1", "第2行"), "C1");
    EXPECT_EQ(names.Take("C1", "第3行"), "C1_2");
    EXPECT_EQ(names.Take("C1_2", "第4行"), "C1_2_2");
    EXPECT_EQ(names.Take("..", "第5行"), "第5行");
    EXPECT_EQ(names.Take("", "第5行"), "第5行_2");
}

TEST(SummaryCsv, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(CsvLine({"a", "", "1,5", "say \"hi\"", "two\nlines"}),
              "a,,\"1,5\",\"say \"\"hi\"\"\",\"two\nlines\"\r\n");
}

}  // namespace
}  // namespace quoinry
