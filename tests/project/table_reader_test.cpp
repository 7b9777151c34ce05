// Reading schedules: CSV in its encodings and quoting, XLSX parts as spreadsheets write them.
#include "project/table_reader.h"

#include <zip.h>

#include <map>

#include "batch_test_support.h"
#include "common/cp936.h"

namespace quoinry {
namespace {

using namespace batch_testing;

std::vector<TableRow> ReadAll(TableReader& reader) {
    std::vector<TableRow> rows;
    while (std::optional<TableRow> row = reader.Next()) rows.push_back(std::move(*row));
    return rows;
}

std::vector<TableRow> ReadCsv(const ScratchFolder& folder, const std::string& bytes) {
    WriteBytes(folder / "s.csv", bytes);
    auto reader = OpenCsvTable(folder / "s.csv");
    return ReadAll(*reader);
}

TEST(CsvTable, ReadsEveryEncodingAsUtf8) {
    ScratchFolder folder;
    const std::string text = "name,玻璃类别\r\nC1521,中空玻璃\r\n";
    for (const std::string& bytes : {"\xEF\xBB\xBF" + text, text, Utf8ToCp936(text)}) {
        const std::vector<TableRow> rows = ReadCsv(folder, bytes);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].cells, (std::vector<std::string>{"name", "玻璃类别"}));
        EXPECT_EQ(rows[1].cells, (std::vector<std::string>{"C1521", "中空玻璃"}));
    }
}

TEST(CsvTable, TellsGbkFromUtf8PastTheFirstChunk) {
    ScratchFolder folder;
    // Plain ASCII for longer than one read, then GBK: the whole file decides.
    const std::string text = "name\n" + std::string(70000, 'a') + "\n" + Utf8ToCp936("门窗") + "\n";
    const std::vector<TableRow> rows = ReadCsv(folder, text);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].cells[0], "门窗");
    // A Chinese character cut by the end of a read is still UTF-8.
    const std::string utf8 = "name\n" + std::string(65535, 'a') + "门\n";
    EXPECT_EQ(ReadCsv(folder, utf8)[1].cells[0], std::string(65535, 'a') + "门");
}

TEST(CsvTable, QuotedCellsHoldCommasQuotesAndLineEnds) {
    ScratchFolder folder;
    const std::vector<TableRow> rows =
        ReadCsv(folder, "a,b,c\n\"1,5\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n,,\nlast,x,\"\"");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].cells, (std::vector<std::string>{"1,5", "say \"hi\"", "two\r\nlines"}));
    EXPECT_EQ(rows[1].number, 2);
    EXPECT_EQ(rows[2].cells, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(rows[3].cells, (std::vector<std::string>{"last", "x", ""}));
    EXPECT_EQ(rows[3].number, 4);  // records, as a spreadsheet counts rows
}

TEST(CsvTable, AQuoteNeverClosedStopsReadingAtItsRow) {
    ScratchFolder folder;
    WriteBytes(folder / "s.csv", "a,b\n1,2\n3,\"4\n5,6\n");
    auto reader = OpenCsvTable(folder / "s.csv");
    EXPECT_EQ(reader->Next()->number, 1);
    EXPECT_EQ(reader->Next()->number, 2);
    try {
        reader->Next();
        ADD_FAILURE();
    } catch (const ScheduleError& error) {
        EXPECT_NE(std::string(error.what()).find("第3行起的引号没有成对"), std::string::npos);
    }
}

TEST(CsvTable, RefusesWhatIsNoFile) {
    ScratchFolder folder;
    fs::create_directories(folder / "dir.csv");
    EXPECT_THROW(OpenCsvTable(folder / "missing.csv"), ScheduleError);
    EXPECT_THROW(OpenCsvTable(folder / "dir.csv"), ScheduleError);
}

TEST(ColumnLetters, CountAsASpreadsheetDoes) {
    const std::vector<std::pair<std::size_t, std::string>> cases = {
        {0, "A"},   {25, "Z"},   {26, "AA"},   {51, "AZ"},
        {52, "BA"}, {701, "ZZ"}, {702, "AAA"}, {16383, "XFD"}};
    for (const auto& [column, letters] : cases) EXPECT_EQ(ColumnLetters(column), letters);
}

void WriteZip(const fs::path& file, const std::map<std::string, std::string>& parts) {
    int code = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    for (const auto& [name, text] : parts) {
        zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
        zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    }
    zip_close(archive);
}

const std::string kWorkbook =
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<sheets><sheet name="门窗表" sheetId="1" r:id="rId7"/><sheet name="b" sheetId="2" r:id="rId1"/></sheets></workbook>)";
const std::string kRelationships =
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://x/worksheet" Target="worksheets/other.xml"/>)"
    R"(<Relationship Id="rId7" Type="http://x/worksheet" Target="/xl/worksheets/first.xml"/>)"
    R"(<Relationship Id="rId9" Type="http://x/sharedStrings" Target="strings.xml"/></Relationships>)";
const std::string kStrings =
    R"(<sst><si><t>name</t></si><si><r><t>计算处</t></r><r><t xml:space="preserve">标高</t></r>)"
    R"(<rPh><t>ケイサン</t></rPh></si><si><t>C1521</t></si></sst>)";

std::string Sheet(const std::string& rows) {
    return R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" +
           rows + "</sheetData></worksheet>";
}

std::vector<TableRow> ReadXlsx(const ScratchFolder& folder, const std::string& sheet_rows,
                               const std::string& strings = kStrings) {
    WriteZip(folder / "s.xlsx",
             {{"xl/workbook.xml", kWorkbook},
              {"xl/_rels/workbook.xml.rels", kRelationships},
              {"xl/strings.xml", strings},
              {"xl/worksheets/other.xml",
               Sheet("<row r=\"1\"><c t=\"inlineStr\"><is><t>wrong sheet</t></is></c></row>")},
              {"xl/worksheets/first.xml", Sheet(sheet_rows)}});
    auto reader = OpenXlsxTable(folder / "s.xlsx");
    return ReadAll(*reader);
}

TEST(XlsxTable, ReadsTheFirstSheetWithSharedAndInlineStringsNumbersAndGaps) {
    ScratchFolder folder;
    const std::vector<TableRow> rows = ReadXlsx(
        folder,
        R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="C1" t="s"><v>1</v></c></row>)"
        R"(<row r="4" spans="1:3"><c r="A4" t="s"><v>2</v></c><c r="B4" s="3"/><c r="C4"><v>45.5</v></c>)"
        R"(<c r="D4" t="b"><v>1</v></c><c r="E4" t="inlineStr"><is><t>中空</t></is></c></row>)"
        R"(<row><c><v>1E-3</v></c><c t="str"><v>text</v></c></row>)");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_EQ(rows[0].cells, (std::vector<std::string>{"name", "", "计算处标高"}));
    EXPECT_EQ(rows[1].number, 4);
    EXPECT_EQ(rows[1].cells, (std::vector<std::string>{"C1521", "", "45.5", "True", "中空"}));
    EXPECT_EQ(rows[2].number, 5);  // no reference: the next row, the next cells
    EXPECT_EQ(rows[2].cells, (std::vector<std::string>{"1E-3", "text"}));
}

TEST(XlsxTable, RefusesBrokenWorkbooksNamingThePartAndCell) {
    ScratchFolder folder;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"(<row r="1"><c r="A1" t="s"><v>3</v></c></row>)", "单元格 A1 指向不存在的共享文本“3”"},
        {R"(<row r="1"><c r="A1" t="s"><v>-1</v></c></row>)", "指向不存在的共享文本"},
        {R"(<row r="2"><c r="A1"><v>1</v></c></row>)", "单元格引用“A1”不在第2行"},
        {R"(<row r="2"/><row r="2"/>)", "第2行不在前一行之后"},
        {R"(<row r="1"><c r="XFE1"><v>1</v></c></row>)", "超出了 XFD 列"},
        {R"(<row r="1048577"/>)", "不是1到1048576的数"},
        {R"(<row r="1"><c r="A1"><v>1</v></c><c r="A1"><v>2</v></c></row>)",
         "单元格 A1 出现了两次"},
        {R"(<row r="1"><c r="A1"><v>1</v></row>)", "XML 错误"},
    };
    for (const auto& [rows, message] : cases) {
        try {
            ReadXlsx(folder, rows);
            ADD_FAILURE() << rows;
        } catch (const ScheduleError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("xl/worksheets/first.xml"), std::string::npos);
        }
    }
}

TEST(XlsxTable, RefusesEntityDefinitionsAndFilesThatAreNoWorkbook) {
    ScratchFolder folder;
    const std::string bomb =
        R"(<?xml version="1.0"?><!DOCTYPE sst [<!ENTITY a "aaaaaaaaaa">]><sst><si><t>&a;</t></si></sst>)";
    try {
        ReadXlsx(folder, "", bomb);
        ADD_FAILURE();
    } catch (const ScheduleError& error) {
        EXPECT_NE(std::string(error.what()).find("DOCTYPE"), std::string::npos) << error.what();
    }
    WriteBytes(folder / "text.xlsx", "name,glass.te3\n");
    EXPECT_THROW(OpenXlsxTable(folder / "text.xlsx"), ScheduleError);
    WriteZip(folder / "empty.xlsx", {{"hello.txt", "hi"}});
    EXPECT_THROW(OpenXlsxTable(folder / "empty.xlsx"), ScheduleError);
}

}  // namespace
}  // namespace quoinry
