// How report lines read in the document: exponents and headings, by hand and over the golden
// designs' reports.
#include <regex>

#include "document/report_text.h"
#include "document/source_files.h"
#include "document_test_support.h"

namespace quoinry::document {

// Failures show a superscript as ^{...}.
void PrintTo(const TextRun& run, std::ostream* out) {
    *out << (run.superscript ? "^{" : "") << run.text << (run.superscript ? "}" : "");
}

namespace {

using namespace testing;

TextRun P(const char* text) {
    return {text, false};
}
TextRun S(const char* text) {
    return {text, true};
}

struct ExponentCase {
    const char* line;
    Runs runs;
};

const ExponentCase kExponentCases[] = {
    {"", {}},
    {"no exponent", {P("no exponent")}},
    {"Wo=0.35kN/m^2", {P("Wo=0.35kN/m"), S("2")}},
    {"1.4×Mw×10^3/Wx", {P("1.4×Mw×10"), S("3"), P("/Wx")}},
    {"Ix=50cm^4", {P("Ix=50cm"), S("4")}},
    {"θ=Wk×a^4/(E×t1^4)", {P("θ=Wk×a"), S("4"), P("/(E×t1"), S("4"), P(")")}},
    {"μz=(Z/10)^0.32", {P("μz=(Z/10)"), S("0.32")}},
    {"μf=0.5×(Z/10)^(-0.16)", {P("μf=0.5×(Z/10)"), S("-0.16")}},
    {"te=(t1^3+t2^3)^(1/3)", {P("te=(t1"), S("3"), P("+t2"), S("3"), P(")"), S("1/3")}},
    {"10^8×C", {P("10"), S("8"), P("×C")}},
    {"σ≤ｆg=28N/mm^2≤", {P("σ≤ｆg=28N/mm"), S("2"), P("≤")}},
    // A full stop after the number ends it; a decimal point needs a digit after it.
    {"in m^2.", {P("in m"), S("2"), P(".")}},
    {"x^2.5", {P("x"), S("2.5")}},
    {"^2 first", {S("2"), P(" first")}},
    {"a^((b+c)/2)d", {P("a"), S("(b+c)/2"), P("d")}},
    // Nothing after "^" that reads as an exponent: the text stays as written.
    {"a^b", {P("a^b")}},
    {"end^", {P("end^")}},
    {"a^(b", {P("a^(b")}},
    {"a^()", {P("a^()")}},
    {"a^ 2", {P("a^ 2")}},
    {"a^^2", {P("a^"), S("2")}},
    {"a^-2", {P("a^-2")}},
};

class Exponents : public ::testing::TestWithParam<ExponentCase> {};

TEST_P(Exponents, AreSuperscriptRuns) {
    EXPECT_EQ(ExponentRuns(GetParam().line), GetParam().runs);
}

INSTANTIATE_TEST_SUITE_P(Cases, Exponents, ::testing::ValuesIn(kExponentCases));

struct HeadingCase {
    const char* line;
    int level;
};

const HeadingCase kHeadingCases[] = {
    {"一、门窗承受荷载计算", 1},
    {"三、门窗横向受力杆件计算", 1},
    {"十二、其他", 1},
    {"(1).风荷载标准值计算:", 2},
    {"(12).x", 2},
    {"(3).选用型材的截面特性:", 2},
    {"", 0},
    {"一、", 0},
    {" 一、门窗", 0},
    {"一,门窗", 0},
    {"第一、", 0},
    {"   (1).风荷载", 0},
    {"(1)风荷载", 0},
    {"(a).风荷载", 0},
    {"(1.5).x", 0},
    {"().x", 0},
    {"(1", 0},
    {"基本参数:南京,基本风压:350Pa", 0},
    {"玻璃类别为:单层玻璃", 0},
};

class Headings : public ::testing::TestWithParam<HeadingCase> {};

TEST_P(Headings, AreKnownByTheirNumbering) {
    EXPECT_EQ(HeadingLevelOf(GetParam().line), GetParam().level) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Cases, Headings, ::testing::ValuesIn(kHeadingCases));

// Every report of the golden designs, as lines: at least this many, or a set was cut.
constexpr std::size_t kGoldenReportCount = 161;
std::vector<std::pair<std::string, std::vector<std::string>>> GoldenReports() {
    std::vector<std::pair<std::string, std::vector<std::string>>> reports;
    for (const char* set : {"golden", "golden2"}) {
        for (const auto& design : fs::directory_iterator(fs::path(QUOINRY_TEST_DATA) / set)) {
            for (const char* name : {"wind.txt", "glass.txt", "gj.txt"}) {
                const fs::path file = design.path() / "expected" / name;
                if (fs::exists(file))
                    reports.emplace_back(file.string(), ReadReportLines(file));
            }
        }
    }
    return reports;
}

// The report notation of the runs, as the document tests read superscripts back.
std::string Notation(const Runs& runs) {
    static const std::regex kNumber("[0-9]+(\\.[0-9]+)?");
    std::string text;
    for (const TextRun& run : runs) {
        if (!run.superscript)
            text += run.text;
        else
            text += std::regex_match(run.text, kNumber) ? "^" + run.text : "^(" + run.text + ")";
    }
    return text;
}

TEST(GoldenReports, EveryCaretIsAnExponentAndNoTextIsLost) {
    const auto reports = GoldenReports();
    ASSERT_GE(reports.size(), kGoldenReportCount);
    std::size_t exponents = 0;
    for (const auto& [file, lines] : reports) {
        for (const std::string& line : lines) {
            const Runs runs = ExponentRuns(line);
            for (const TextRun& run : runs) {
                EXPECT_FALSE(!run.superscript && run.text.find('^') != std::string::npos)
                    << file << ": " << line;
                exponents += run.superscript ? 1 : 0;
            }
            EXPECT_EQ(Notation(runs), line) << file;
        }
    }
    EXPECT_GT(exponents, 5000u);
}

// wind.txt has part 一 with sections (1) and (2); glass.txt part 二 with (1) .. (3), or (4) for
// two panes; gj.txt part 三 with (1) .. (6). The sections count up from 1.
TEST(GoldenReports, HeadingsAreTheReportsPartsAndSections) {
    const std::map<std::string, std::vector<int>> kSectionCounts = {
        {"wind.txt", {2}}, {"glass.txt", {3, 4}}, {"gj.txt", {6}}};
    const auto reports = GoldenReports();
    ASSERT_GE(reports.size(), kGoldenReportCount);
    for (const auto& [file, lines] : reports) {
        if (lines.empty())
            continue;
        int parts = 0;
        int sections = 0;
        for (const std::string& line : lines) {
            const int level = HeadingLevelOf(line);
            parts += level == 1 ? 1 : 0;
            if (level == 2) {
                ++sections;
                EXPECT_TRUE(line.starts_with("(" + std::to_string(sections) + ").")) << line;
            }
        }
        const std::vector<int>& allowed = kSectionCounts.at(fs::path(file).filename().string());
        EXPECT_EQ(parts, 1) << file;
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), sections), allowed.end())
            << file << ": " << sections << " sections";
    }
}

}  // namespace
}  // namespace quoinry::document
