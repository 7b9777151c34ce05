// quoinry run --json on the golden designs: every number equals the one their expected reports
// print, read from those reports' own lines.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>

#include "batch_test_support.h"
#include "common/cp936.h"

namespace {

using namespace quoinry::batch_testing;

std::vector<std::string> ReportLines(const fs::path& file) {
    std::vector<std::string> lines;
    std::istringstream in(quoinry::Cp936ToUtf8(ReadBytes(file)));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::smatch Find(const std::vector<std::string>& lines, const std::string& pattern,
                 std::size_t* at = nullptr) {
    const std::regex expression(pattern);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::smatch match;
        if (std::regex_search(lines[i], match, expression)) {
            if (at != nullptr)
                *at = i;
            return match;
        }
    }
    return {};
}

// The last "=number" of the line two below the formula (the coefficient blocks).
double ResultBelow(const std::vector<std::string>& lines, const std::string& formula) {
    std::size_t at = 0;
    if (Find(lines, "^ +" + formula, &at).empty())
        return 0.0;  // an unknown terrain category has no coefficient lines: 0
    return std::stod(lines[at + 2].substr(lines[at + 2].find('=') + 1));
}

// A number the pattern found; a pattern that found nothing fails the test.
double Value(const std::smatch& match, int group) {
    EXPECT_FALSE(match.empty()) << "a report line is missing";
    return match.empty() ? std::nan("") : std::stod(match[group]);
}

// The members of the JSON object that starts at `name`.
std::string Member(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\": {");
    return at == std::string::npos ? std::string() : json.substr(at);
}

double Number(const std::string& json, const std::string& key) {
    std::smatch match;
    const std::string text = json;
    EXPECT_TRUE(std::regex_search(text, match, std::regex("\"" + key + "\": ([-0-9.E+]+)")))
        << key << " in " << json;
    return match.empty() ? -1.0 : Value(match, 1);
}

bool Flag(const std::string& json, const std::string& key) {
    return json.find("\"" + key + "\": true") == json.find("\"" + key + "\": ");
}

class JsonOfGoldenDesign : public testing::TestWithParam<std::string> {};

// `quoinry run DESIGN --json` of a golden design folder: its status and standard output.
Finished RunJson(const fs::path& golden) {
    const ScratchFolder out;
    return RunProgram(out.path(), "run '" + (golden / "design.ini").string() + "' --json --out '" +
                                      out.path().string() + "'");
}

TEST_P(JsonOfGoldenDesign, NumbersAreThoseOfTheReports) {
    const fs::path golden = fs::path(QUOINRY_TEST_DATA) / GetParam();
    const fs::path expected = golden / "expected";
    if (ReadBytes(expected / "exit.txt") != "0\n")
        GTEST_SKIP() << "a design that stops with an error prints {\"error\"}";
    const Finished run = RunJson(golden);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& json = run.out;
    ASSERT_TRUE(json.starts_with("{\"edition\": \"2001\", \"wind\": {")) << json;
    ASSERT_TRUE(json.ends_with("}\n")) << json;
    // Panes are objects separated by ", ": a list never opens or closes with a separator.
    if (const std::size_t at = json.find("\"panes\": ["); at != std::string::npos) {
        EXPECT_EQ(json.compare(at + 10, 1, "{"), 0) << json;
        EXPECT_EQ(json.find(", ]"), std::string::npos) << json;
    }

    const auto wind = ReportLines(expected / "wind.txt");
    const std::string wind_json = Member(json, "wind");
    EXPECT_EQ(Number(wind_json, "w0"), Value(Find(wind, "Wo=([-0-9.E+]+)kN"), 1));
    EXPECT_EQ(Number(wind_json, "mu_s"), Value(Find(wind, "μs=([-0-9.E+]+)$"), 1));
    EXPECT_EQ(Number(wind_json, "beta_gz"), ResultBelow(wind, "βgz="));
    // Edition 2001 below the height where the profile starts takes the table's value.
    const std::smatch floor = Find(wind, "取μz=([0-9.]+)$");
    EXPECT_EQ(Number(wind_json, "mu_z"),
              floor.empty() ? ResultBelow(wind, "μz=") : Value(floor, 1));
    EXPECT_EQ(Number(wind_json, "gamma"), Value(Find(wind, "分项系数：([-0-9.E+]+)"), 1));
    std::size_t at = 0;
    Find(wind, "^   W=γw×Wk$", &at);
    const std::vector<std::string> wk_line = {wind[at + 1]};
    const std::vector<std::string> w_line = {wind[at + 2]};
    EXPECT_EQ(Number(wind_json, "wk"), Value(Find(wk_line, "×([-0-9.E+]+)$"), 1));
    EXPECT_EQ(Number(wind_json, "w"), Value(Find(w_line, "=([-0-9.E+]+)kN"), 1));

    const auto glass = ReportLines(expected / "glass.txt");
    std::string glass_json = Member(json, "glass");
    glass_json = glass_json.substr(0, glass_json.find("\"member\""));
    const std::regex pane("最大应力设计值σ=([-0-9.E+]+)N/mm\\^2(≤|＞)ｆg=([-0-9.E+]+)N/mm");
    const std::regex pane_json(
        "\"sigma\": ([-0-9.E+]+), \"fg\": ([-0-9.E+]+), \"ok\": (true|false)");
    auto json_pane = std::sregex_iterator(glass_json.begin(), glass_json.end(), pane_json);
    int panes = 0;
    for (const std::string& line : glass) {
        std::smatch match;
        if (!std::regex_search(line, match, pane))
            continue;
        ++panes;
        ASSERT_NE(json_pane, std::sregex_iterator());
        EXPECT_EQ(std::stod((*json_pane)[1]), Value(match, 1));
        EXPECT_EQ((*json_pane)[2], match[3]);
        EXPECT_EQ((*json_pane)[3] == "true", match[2] == "≤");
        ++json_pane;
    }
    EXPECT_EQ(json_pane, std::sregex_iterator());
    const std::smatch df =
        Find(glass, "最大挠度df=([0-9.E+-]+)mm,(小于或等于|大于).*1/60:([-0-9.E+]+)mm");
    if (panes > 0) {
        ASSERT_FALSE(df.empty());
        EXPECT_EQ(Number(glass_json, "df"), Value(df, 1));
        EXPECT_EQ(Number(glass_json, "df_limit"), Value(df, 3));
        const bool ok = glass_json.find("\"ok\": false") == std::string::npos;
        EXPECT_EQ(Flag(glass_json.substr(glass_json.rfind("\"ok\"")), "ok"), ok);
    }

    const std::string member_json = Member(json, "member");
    if (!fs::exists(expected / "gj.txt")) {
        EXPECT_EQ(member_json, "");
        return;
    }
    const auto gj = ReportLines(expected / "gj.txt");
    const std::smatch sigma = Find(gj, "^   σ=([-0-9.]+)(≤|＞)fa=([-0-9.]+)$");
    const std::smatch tau = Find(gj, "^   τ=([-0-9.]+)(≤|＞)([-0-9.]+)N/mm\\^2$");
    const std::smatch u = Find(gj,
                               "相对挠度U=([-0-9.]+)mm(≤|＞)L/1[28]0=([-0-9.]+)mm(且|但)绝对挠度"
                               "U=([-0-9.]+)mm(≤|＞)\\[U\\]=([-0-9.E+]+)mm挠度(不)?满足");
    ASSERT_FALSE(sigma.empty() || tau.empty() || u.empty());
    EXPECT_EQ(Number(member_json, "sigma"), Value(sigma, 1));
    EXPECT_EQ(Number(member_json, "fa"), Value(sigma, 3));
    EXPECT_EQ(Number(member_json, "tau"), Value(tau, 1));
    EXPECT_EQ(Number(member_json, "tau_d"), Value(tau, 3));
    EXPECT_EQ(Number(member_json, "du"), ResultBelow(gj, "Du="));
    EXPECT_EQ(Number(member_json, "u_span_limit"), Value(u, 3));
    EXPECT_EQ(Number(member_json, "umax"), Value(u, 1));
    EXPECT_EQ(Number(member_json, "umax"), Value(u, 5));
    EXPECT_EQ(Number(member_json, "u_limit"), Value(u, 7));
    const bool member_ok = sigma[2] == "≤" && tau[2] == "≤" && !u[8].matched;
    EXPECT_EQ(
        Flag(member_json.substr(member_json.rfind("\"ok\": ", member_json.rfind("}, "))), "ok"),
        member_ok);
    EXPECT_EQ(json.ends_with("\"ok\": true}\n"),
              member_ok && glass_json.find("\"ok\": false") == std::string::npos);
}

TEST(JsonOfGoldenDesignSets, HoldEveryDesign) {
    ExpectCompleteGoldenSets();
}

INSTANTIATE_TEST_SUITE_P(Designs, JsonOfGoldenDesign, testing::ValuesIn(GoldenNames()),
                         [](const auto& info) {
                             std::string name = info.param;
                             return (name.starts_with("golden2/") ? "e" : "d") +
                                    name.substr(name.find('/') + 1);
                         });

// Edition 2012 names itself and adds what it checks beyond 2001: the hand-worked values of
// golden2012/01 (the worked example: floor 1 + 0.7/√1.296 = 1.615, μsl 1.0 + 0.2; the mullion's
// A = 2 × 0.6 × 1.2, μse(A) 0.977 + 0.2, Wk 1.746 × 1.177 × 1.296 × 0.55 = 1.46484; grade 1).
TEST(JsonOfRun, Edition2012AddsItsOwnValues) {
    const fs::path golden = fs::path(QUOINRY_TEST_DATA) / "golden2012" / "01";
    const Finished run = RunJson(golden);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& json = run.out;
    EXPECT_TRUE(json.starts_with("{\"edition\": \"2012\", ")) << json;
    const std::string wind = Member(json, "wind");
    EXPECT_EQ(Number(wind, "beta_gz_floor"), 1.615);
    EXPECT_EQ(Number(wind, "mu_sl"), 1.2);
    EXPECT_EQ(Number(wind, "wk"), 1.493);
    EXPECT_EQ(Number(wind, "gamma"), 1.5);
    EXPECT_EQ(Number(wind, "w"), 2.24);
    const std::string member = Member(json, "member");
    EXPECT_EQ(Number(member, "area"), 1.44);
    EXPECT_EQ(Number(member, "mu_sl"), 1.177);
    EXPECT_EQ(Number(member, "wk"), 1.465);
    EXPECT_TRUE(json.ends_with("\"grade\": 1, \"ok\": true}\n")) << json;
}

// A calculation error gives {"error"} on standard output besides the usual line.
TEST(JsonOfRun, ErrorIsAnObjectToo) {
    const fs::path golden = fs::path(QUOINRY_TEST_DATA) / "golden";
    for (const auto& entry : fs::directory_iterator(golden)) {
        if (!entry.is_directory() || ReadBytes(entry.path() / "expected" / "exit.txt") != "1\n")
            continue;
        const Finished run = RunJson(entry.path());
        EXPECT_EQ(run.status, 1);
        const std::string stderr_line = ReadBytes(entry.path() / "expected" / "stderr.txt");
        std::string description = stderr_line.substr(std::string("当前错误:").size());
        description.pop_back();
        for (std::size_t at = 0; (at = description.find('\n', at)) != std::string::npos; at += 2)
            description.replace(at, 1, "\\n");
        EXPECT_EQ(run.out, "{\"error\": \"" + description + "\"}\n");
        return;
    }
    FAIL() << "no golden design with an error";
}

}  // namespace
