// The checks of a step's result as the windows colour their result lines and name them in the
// check's message.
#include "design/verdicts.h"

#include <gtest/gtest.h>

namespace quoinry {
namespace {

std::vector<std::string> BoxLines(const std::string& box) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = box.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(box.substr(from, at - from));
    lines.push_back(box.substr(from));
    return lines;
}

// The verdicts belong to the lines that end the box: a line says "不…满足" exactly when its
// verdict fails.
void ExpectVerdictsEndTheBox(const std::vector<Verdict>& verdicts, const std::string& box,
                             const std::string& what) {
    const std::vector<std::string> lines = BoxLines(box);
    ASSERT_GE(lines.size(), verdicts.size()) << what;
    const std::size_t first = lines.size() - verdicts.size();
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        const std::string& line = lines[first + i];
        const bool says_fails =
            line.find("不满足") != std::string::npos || line.find("不能满足") != std::string::npos;
        EXPECT_EQ(says_fails, !verdicts[i].ok) << what << ": " << line;
    }
}

TEST(Verdicts, GlassVerdictsEndItsResultLines) {
    int failed = 0;
    for (const char* category : {"单层玻璃", "中空玻璃", "夹层玻璃"}) {
        for (const double wk : {0.8, 2.5, 6.0}) {
            const GlassInput input{category, "钢化玻璃", "8", "普通玻璃", "5", "1200", "2400"};
            SharedValues shared;
            shared.WindLoadStandard = wk;
            ReportLines report;
            std::string box;
            const GlassResult result = CalcGlass(input, shared, report, box);
            const std::vector<Verdict> verdicts = GlassVerdicts(result);
            EXPECT_EQ(verdicts.size(), std::string(category) == "单层玻璃" ? 2u : 3u);
            ExpectVerdictsEndTheBox(verdicts, box, std::string(category) + std::to_string(wk));
            failed += static_cast<int>(!FailedChecks(verdicts).empty());
        }
    }
    EXPECT_GT(failed, 0);  // the loads are high enough for failures to be tested too
}

TEST(Verdicts, MemberVerdictsEndItsResultLines) {
    int failed = 0;
    for (const char* form : {"竖向杆件", "横向杆件"}) {
        for (const double wk : {0.8, 3.0, 8.0}) {
            const MemberInput input{form,   "",     "",      "85.5", "1200", "900",
                                    "2400", "49.6", "70000", "1.4",  "50",   "30",
                                    "10",   "12",   "8",     "7",    "5"};
            SharedValues shared;
            shared.WindLoadStandard = wk;
            ReportLines report;
            std::string box;
            const MemberResult result = CalcMember(input, shared, report, box);
            ExpectVerdictsEndTheBox(MemberVerdicts(result), box, form + std::to_string(wk));
            failed += static_cast<int>(!FailedChecks(MemberVerdicts(result)).empty());
        }
    }
    EXPECT_GT(failed, 0);
}

TEST(Verdicts, FailedChecksAreNamedInOrder) {
    GlassResult two_panes;
    two_panes.category_known = true;
    two_panes.pane_count = 2;
    two_panes.panes[0].ok = true;
    two_panes.panes[1].ok = false;
    two_panes.deflection_ok = false;
    EXPECT_EQ(FailedChecks(GlassVerdicts(two_panes)), "内片玻璃强度、玻璃挠度");
    GlassResult single = two_panes;
    single.pane_count = 1;
    single.panes[0].ok = false;
    single.deflection_ok = true;
    EXPECT_EQ(FailedChecks(GlassVerdicts(single)), "玻璃强度");
    single.category_known = false;
    EXPECT_TRUE(GlassVerdicts(single).empty());

    MemberResult member;
    member.strength_ok = false;
    member.shear_ok = true;
    member.deflection_ok = false;
    EXPECT_EQ(FailedChecks(MemberVerdicts(member)), "杆件强度、杆件挠度");
    member.strength_ok = member.deflection_ok = true;
    EXPECT_EQ(FailedChecks(MemberVerdicts(member)), "");
}

}  // namespace
}  // namespace quoinry
