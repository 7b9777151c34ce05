// Schedule columns and rows: which header names which input, and how a row becomes a position.
#include "project/schedule.h"

#include <gtest/gtest.h>

#include <map>

namespace quoinry {
namespace {

TableRow Row(int number, std::vector<std::string> cells) {
    return {number, std::move(cells)};
}

std::string KeyOf(const ScheduleColumn& column) {
    switch (column.kind) {
        case ScheduleColumn::Kind::Name:
            return "name";
        case ScheduleColumn::Kind::Edition:
            return "edition";
        case ScheduleColumn::Kind::Geometry:
            return "geometry:" +
                   (column.field ? std::string(column.field->key) : std::string("-")) + "/" +
                   (column.horizontal ? std::string(column.horizontal->key) : std::string("-"));
        case ScheduleColumn::Kind::Field:
            break;
    }
    return std::string(column.field->section) + "." + std::string(column.field->key);
}

TEST(ScheduleHeader, NamesAnInputByKeyOrByLabelWithOrWithoutUnit) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"name", "name"},
        {"门窗编号", "name"},
        {"glass.edition", "edition"},
        {"规范版本", "edition"},
        {"glass.te3", "glass.te3"},
        {"GLASS.TE3", "glass.te3"},
        {" 计算处标高 ", "glass.te3"},
        {"计算处标高(m)", "glass.te3"},
        {"计算处标高（m）", "glass.te3"},
        {"基本风压(Pa)", "glass.te1"},
        {"gj.te14", "gj.te14"},
        {"型材截面积(cm²)", "gj.te14"},
        {"X轴惯性矩(cm^4)", "gj.te8"},
        {"标准值小于1kN按1kN取", "glass.op1"},
        // The member form relabels these: the input depends on the row.
        {"受荷单元高Hsk", "geometry:te4/te3"},
        {"第一受荷单元宽Wsk1", "geometry:te2/-"},
        {"受荷单元宽Wsk", "geometry:-/te2"},
        {"第一受荷单元高Hsk1(mm)", "geometry:-/te4"},
    };
    for (const auto& [header, key] : cases) {
        const ScheduleHeader read = ReadScheduleHeader(Row(1, {"颜色", header}), "s.csv");
        ASSERT_EQ(read.columns.size(), 1u) << header;
        EXPECT_EQ(KeyOf(read.columns[0]), key) << header;
        EXPECT_EQ(read.columns[0].index, 1u);
        EXPECT_EQ(read.unknown, std::vector<std::string>{"A列“颜色”"});
    }
}

TEST(ScheduleHeader, RefusesWhatWouldPutAValueInTheWrongPlace) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"基本风压(kPa)"}, "A列“基本风压(kPa)”的单位应为 Pa"},
        {{"计算处标高(mm)"}, "的单位应为 m"},
        {{"name", "glass.te3", "计算处标高"}, "B列“glass.te3”和C列“计算处标高”是同一项输入"},
        {{"编号", "name"}, "是同一项输入"},
        {{"gj.te4", "受荷单元高Hsk"}, "请都用键名"},
        {{"颜色", "备注"}, "没有一列是本程序认识的输入"},
    };
    for (const auto& [cells, message] : cases) {
        try {
            ReadScheduleHeader(Row(1, cells), "s.csv");
            ADD_FAILURE() << cells[0];
        } catch (const ScheduleError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("s.csv 第1行"), std::string::npos);
        }
    }
}

// A library that knows one profile and counts its lookups.
class FakeLibrary : public ProfileLibrary {
  public:
    LibraryLookup Find(const std::string& series, const std::string& number) override {
        ++lookups;
        if (!error.empty())
            return {std::nullopt, error};
        if (series != "GR50" || number != "GR50-01")
            return {};
        LibraryProfile profile;
        for (std::size_t i = 0; i < profile.texts.size(); ++i)
            profile.texts[i] = std::to_string(100 + i);
        profile.picture = "WMF";
        return {profile, {}};
    }
    int lookups = 0;
    std::string error;
};

Design BaseDesign() {
    Design base;
    base.wind.height = "20";
    base.glass.width = "1200";
    base.member.emplace();
    base.member->form = "竖向杆件";
    base.member->series = "OLD";
    base.member->number = "OLD-1";
    base.member->geometry3 = "2400";
    base.member->ix = "50";
    base.member->section_drawing = "";
    base.picture = "OLDPICTURE";
    return base;
}

struct Built {
    ScheduleRow row;
    FakeLibrary library;
};

ScheduleRow Build(const std::vector<std::string>& header, const std::vector<std::string>& cells,
                  FakeLibrary* library = nullptr, bool strict = true) {
    ScheduleRows rows(ReadScheduleHeader(Row(1, header), "s.csv"), BaseDesign(), "2001",
                      "基础设计 base.ini", library, strict);
    std::optional<ScheduleRow> row = rows.Build(Row(7, cells));
    EXPECT_TRUE(row.has_value());
    return row.value_or(ScheduleRow{});
}

TEST(ScheduleRows, ACellGivesItsInputAndABlankCellOrAMissingColumnTheBase) {
    const ScheduleRow row =
        Build({"name", "计算处标高", "玻璃分格宽", "规范版本"}, {"C1521", "45", " ", "2012"});
    ASSERT_TRUE(row.position) << row.error;
    EXPECT_EQ(row.name, "C1521");
    EXPECT_EQ(row.position->design.info.name, "C1521");
    EXPECT_EQ(row.position->design.wind.height, "45");
    EXPECT_EQ(row.position->design.glass.width, "1200");
    EXPECT_EQ(row.position->design.member->ix, "50");
    EXPECT_EQ(row.position->edition, "2012");
    EXPECT_EQ(row.sources[FieldIndex(*FindInputField("glass", "te3"))], "B列“计算处标高”");
    EXPECT_EQ(row.sources[FieldIndex(*FindInputField("glass", "te4"))],
              "C列“玻璃分格宽”为空,取自基础设计 base.ini");
    EXPECT_EQ(row.sources[FieldIndex(*FindInputField("glass", "te5"))],
              "表中没有这一列,取自基础设计 base.ini");
}

TEST(ScheduleRows, MemberLabelsFollowTheRowsMemberForm) {
    const std::vector<std::string> header = {"杆件形式", "受荷单元高Hsk", "第一受荷单元高Hsk1"};
    ScheduleRow vertical = Build(header, {"竖向杆件", "3000", ""});
    ASSERT_TRUE(vertical.position) << vertical.error;
    EXPECT_EQ(vertical.position->design.member->geometry3, "3000");  // te4
    ScheduleRow horizontal = Build(header, {"横向杆件", "1500", "600"});
    ASSERT_TRUE(horizontal.position) << horizontal.error;
    EXPECT_EQ(horizontal.position->design.member->geometry2, "1500");  // te3
    EXPECT_EQ(horizontal.position->design.member->geometry3, "600");   // te4
    const ScheduleRow wrong = Build(header, {"竖向杆件", "3000", "600"});
    EXPECT_FALSE(wrong.position);
    EXPECT_EQ(wrong.error, "第7行 C列“第一受荷单元高Hsk1”: 这一项只用于横向杆件,这一行是竖向杆件");
}

TEST(ScheduleRows, RowsThatCannotBeReadNameTheirRowAndColumn) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"C1", "20", "x", "9"}, "第7行 D列: 表头只有3列,这一行多出了值“9”"},
        {{"C1", "20"}, "第7行 只有2个值,表头有3列"},
        {{"C1", "20", "maybe"}, "第7行 C列“标准值小于1kN按1kN取”: 应为 True 或 False"},
    };
    for (const auto& [cells, message] : cases) {
        const ScheduleRow row = Build({"name", "glass.te3", "标准值小于1kN按1kN取"}, cells);
        EXPECT_FALSE(row.position);
        EXPECT_EQ(row.error.substr(0, message.size()), message);
    }
    EXPECT_EQ(Build({"name", "规范版本"}, {"C1", "2010"}).error,
              "第7行 B列“规范版本”: 规范版本应为 2001 或 2012,这里是“2010”");
    const ScheduleRow options =
        Build({"name", "标准值小于1kN按1kN取", "glass.op2"}, {"C1", "是", "0"});
    EXPECT_EQ(options.position->design.wind.minimum_rule, MinimumWkRule::AtLeast1);
}

TEST(ScheduleRows, ABlankRowIsNoPositionAndASheetMayLeaveTrailingCellsOut) {
    ScheduleRows rows(ReadScheduleHeader(Row(1, {"name", "glass.te3"}), "s.xlsx"), BaseDesign(),
                      "2001", "", nullptr, false);
    EXPECT_FALSE(rows.Build(Row(2, {" ", ""})).has_value());
    const std::optional<ScheduleRow> short_row = rows.Build(Row(3, {"C1"}));
    ASSERT_TRUE(short_row && short_row->position);
    EXPECT_EQ(short_row->position->design.wind.height, "20");
    EXPECT_EQ(short_row->sources[FieldIndex(*FindInputField("glass", "te3"))],
              "B列“glass.te3”为空");
}

TEST(ScheduleRows, NoMemberLeavesTheMemberOutAndRefusesMemberValues) {
    const ScheduleRow none = Build({"name", "杆件形式", "glass.te3"}, {"C1", "无", "30"});
    ASSERT_TRUE(none.position) << none.error;
    EXPECT_FALSE(none.position->design.member);
    EXPECT_TRUE(none.position->design.picture.empty());
    EXPECT_EQ(none.position->design.wind.height, "30");
    EXPECT_EQ(Build({"name", "杆件形式", "gj.te8"}, {"C1", "无", "30"}).error,
              "第7行 C列“gj.te8”: 杆件形式为“无”,这一行不应有杆件的值");
}

TEST(ScheduleRows, ANamedLibraryProfileFillsTheSectionValuesTheRowLeavesBlank) {
    FakeLibrary library;
    const ScheduleRow row = Build({"name", "型材系列", "型材编号", "X轴惯性矩"},
                                  {"C1", "GR50", "GR50-01", ""}, &library);
    ASSERT_TRUE(row.position) << row.error;
    const MemberInput& member = *row.position->design.member;
    EXPECT_EQ(member.strength, "100");  // te1 is the first library field
    EXPECT_EQ(member.shear_strength, "101");
    EXPECT_EQ(member.modulus, "102");
    EXPECT_EQ(member.wall, "103");
    EXPECT_EQ(member.ix, "104");
    EXPECT_EQ(member.area, "110");
    EXPECT_EQ(row.position->design.picture, "WMF");
    EXPECT_EQ(row.sources[FieldIndex(*FindInputField("gj", "te8"))], "型材库 GR50 GR50-01");
    // Given values stay as given; the library fills the rest.
    const ScheduleRow partly = Build({"name", "型材系列", "型材编号", "X轴惯性矩"},
                                     {"C1", "GR50", "GR50-01", "77"}, &library);
    EXPECT_EQ(partly.position->design.member->ix, "77");
    EXPECT_EQ(partly.position->design.member->iy, "105");
}

TEST(ScheduleRows, AProfileTheLibraryLacksIsThatRowsError) {
    FakeLibrary library;
    const std::vector<std::string> header = {"name", "gj.co2", "gj.co3"};
    EXPECT_EQ(Build(header, {"C1", "GR50", "NONE"}, &library).error,
              "第7行 B列“gj.co2”、C列“gj.co3”: 型材库中没有型材 GR50 "
              "NONE;请检查型材系列和编号,或在表中给出截面值");
    library.error = "无法打开数据库";
    EXPECT_EQ(
        Build(header, {"C1", "GR50", "GR50-01"}, &library).error,
        "第7行 B列“gj.co2”、C列“gj.co3”: 无法从型材库取型材 GR50 GR50-01 的截面值: 无法打开数据库");
    EXPECT_TRUE(Build(header, {"C1", "GR50", "GR50-01"}, nullptr)
                    .error.starts_with("第7行 B列“gj.co2”、C列“gj.co3”: 没有型材库"));
}

TEST(ScheduleRows, ARowGivingEverySectionValueNeedsNoLibraryAndDropsTheBasePicture) {
    std::vector<std::string> header = {"name", "gj.co2", "gj.co3"};
    std::vector<std::string> cells = {"C1", "GR50", "GR50-01"};
    for (const LibraryProfileField& field : LibraryProfileFields()) {
        header.push_back("gj." + std::string(field.key));
        cells.push_back("5");
    }
    FakeLibrary library;
    const ScheduleRow row = Build(header, cells, &library);
    ASSERT_TRUE(row.position) << row.error;
    EXPECT_EQ(library.lookups, 0);
    EXPECT_TRUE(row.position->design.picture.empty());
}

TEST(ScheduleRows, EachProfileIsLookedUpOnce) {
    FakeLibrary library;
    ScheduleRows rows(ReadScheduleHeader(Row(1, {"gj.co2", "gj.co3"}), "s.csv"), BaseDesign(),
                      "2001", "", &library, true);
    for (int i = 0; i < 5; ++i) rows.Build(Row(2 + i, {"GR50", "GR50-01"}));
    rows.Build(Row(9, {"GR50", "X"}));
    rows.Build(Row(10, {"GR50", "X"}));
    EXPECT_EQ(library.lookups, 2);
}

TEST(ScheduleRows, MissingInputsAreThoseNeitherAColumnNorTheBaseGives) {
    ScheduleRows rows(ReadScheduleHeader(Row(1, {"glass.te3", "gj.te8"}), "s.csv"), BaseDesign(),
                      "2001", "", nullptr, true);
    const std::vector<std::string> missing = rows.MissingInputs();
    EXPECT_NE(std::find(missing.begin(), missing.end(), "基本风压(Pa)"), missing.end());
    EXPECT_EQ(std::find(missing.begin(), missing.end(), "计算处标高(m)"), missing.end());
    EXPECT_EQ(std::find(missing.begin(), missing.end(), "玻璃分格宽(mm)"), missing.end());
    EXPECT_EQ(std::find(missing.begin(), missing.end(), "待计算地区"), missing.end());
    // Without a dominant opening its ratio stays empty: not a missing input.
    EXPECT_EQ(std::find(missing.begin(), missing.end(), "主导洞口开洞率"), missing.end());
}

}  // namespace
}  // namespace quoinry
