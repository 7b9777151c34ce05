// The checks of a step's result as the windows colour their result lines and name them in the
// check's message.
#include "design/verdicts.h"

#include <gtest/gtest.h>

namespace quoinry {
namespace {

// The verdicts belong to the lines that end the box: a line says "不…满足" exactly when its
// verdict fails.
int ExpectVerdictsEndTheBox(const std::vector<Verdict>& verdicts, const std::string& box) {
    std::vector<std::string> lines;
    for (std::size_t from = 0, at = 0; at != std::string::npos; from = at + 2) {
        at = box.find("\r\n", from);
        lines.push_back(box.substr(from, at == std::string::npos ? at : at - from));
    }
    const std::size_t first = lines.size() - verdicts.size();
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        const std::string& line = lines.at(first + i);
        const bool fails =
            line.find("不满足") != std::string::npos || line.find("不能满足") != std::string::npos;
        EXPECT_EQ(fails, !verdicts[i].ok) << line;
    }
    return static_cast<int>(!FailedChecks(verdicts).empty());
}

TEST(Verdicts, EndTheResultLinesOfEachStep) {
    int failed = 0;
    for (const double wk : {0.8, 2.5, 6.0}) {
        SharedValues shared;
        shared.WindLoadStandard = wk;
        for (const char* category : {"单层玻璃", "中空玻璃", "夹层玻璃"}) {
            ReportLines report;
            std::string box;
            const GlassInput glass{category, "钢化玻璃", "8", "普通玻璃", "5", "1200", "2400"};
            const auto verdicts = GlassVerdicts(CalcGlass(glass, shared, report, box));
            EXPECT_EQ(verdicts.size(), std::string_view(category) == "单层玻璃" ? 2u : 3u);
            failed += ExpectVerdictsEndTheBox(verdicts, box);
        }
        for (const char* form : {"竖向杆件", "横向杆件"}) {
            ReportLines report;
            std::string box;
            const MemberInput member{form,   "",     "",      "85.5", "1200", "900",
                                     "2400", "49.6", "70000", "1.4",  "50",   "30",
                                     "10",   "12",   "8",     "7",    "5"};
            failed += ExpectVerdictsEndTheBox(
                MemberVerdicts(CalcMember(member, shared, report, box)), box);
        }
    }
    EXPECT_GT(failed, 2);  // failures are among them
}

TEST(Verdicts, FailedChecksAreNamedInOrder) {
    GlassResult glass;
    glass.category_known = true;
    glass.pane_count = 2;
    glass.panes[0].ok = true;
    EXPECT_EQ(FailedChecks(GlassVerdicts(glass)), "内片玻璃强度、玻璃挠度");
    glass.pane_count = 1;
    glass.panes[0].ok = false;
    glass.deflection_ok = true;
    EXPECT_EQ(FailedChecks(GlassVerdicts(glass)), "玻璃强度");
    glass.category_known = false;
    EXPECT_TRUE(GlassVerdicts(glass).empty());

    MemberResult member;
    member.shear_ok = true;
    EXPECT_EQ(FailedChecks(MemberVerdicts(member)), "杆件强度、杆件挠度");
    member.strength_ok = member.deflection_ok = true;
    EXPECT_EQ(FailedChecks(MemberVerdicts(member)), "");
}

}  // namespace
}  // namespace quoinry
