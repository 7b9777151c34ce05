#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edition/code_edition.h"

namespace quoinry {
namespace {

// Each edition's factors and limits as its clauses give them.
struct EditionClauses {
    std::string_view id;
    WindMethod method;
    double gamma;            // 2001: GB 50009-2001 3.2.5; 2012: GB 55001-2021 3.1.13
    double w0_floor;         // kN/m^2: 2001 7.1.2; 2012 8.1.2
    double gust_floor_term;  // 2012: GB 55001-2021 4.6.5 βgz ≥ 1 + 0.7/√μz
    bool area_reduction;     // 2012 8.3.4
};

constexpr EditionClauses kClauses[] = {
    {"2001", WindMethod::PowerFormulas, 1.4, 0.30, 0.0, false},
    {"2012", WindMethod::HeightTables, 1.5, 0.30, 0.7, true},
};

TEST(CodeEdition, FactorsAreThoseOfTheClauses) {
    ASSERT_EQ(CodeEditions().size(), std::size(kClauses));
    for (const EditionClauses& c : kClauses) {
        SCOPED_TRACE(std::string(c.id));
        const CodeEdition* edition = FindCodeEdition(c.id);
        ASSERT_NE(edition, nullptr);
        EXPECT_EQ(edition->wind_method, c.method);
        EXPECT_EQ(ByTables(*edition), c.method == WindMethod::HeightTables);
        EXPECT_EQ(!edition->mu_z_table.empty(), ByTables(*edition));
        EXPECT_DOUBLE_EQ(edition->gamma, c.gamma);
        EXPECT_EQ(edition->gamma_text, c.gamma == 1.4 ? "1.4" : "1.5");
        EXPECT_DOUBLE_EQ(edition->w0_floor, c.w0_floor);
        EXPECT_DOUBLE_EQ(edition->gust_floor_term, c.gust_floor_term);
        EXPECT_EQ(edition->members_reduce_by_area, c.area_reduction);
    }
    // 8.3.4: μ(25) = 0.8 μ(1), log10 25 = 1.398 taken as 1.4.
    const AreaReduction& area = Edition2012().member_area;
    EXPECT_EQ(area.min_area_m2, 1.0);
    EXPECT_EQ(area.max_area_m2, 25.0);
    EXPECT_EQ(area.factor_at_max, 0.8);
    EXPECT_EQ(area.log_divisor, 1.4);
}

// JGJ 102-2003: E = 0.72e5 N/mm^2 (5.2.8), ν = 0.2 (5.2.9), df,lim = a/60 (6.1.3); the member's
// U ≤ L/180 with insulating glass, L/120 otherwise, and 15 mm; the same in both editions.
TEST(CodeEdition, GlassAndMemberLimitsAreThoseOfTheClauses) {
    for (const CodeEdition* edition : CodeEditions()) {
        SCOPED_TRACE(std::string(edition->id));
        ASSERT_NE(edition->glass, nullptr);
        EXPECT_EQ(edition->glass->elastic_modulus, 72000.0);
        EXPECT_EQ(edition->glass->poisson, 0.2f);
        EXPECT_EQ(edition->glass->deflection_divisor, 60.0);
        EXPECT_EQ(edition->glass->strength_table, "JGJ102-2003表5.2.1");
        ASSERT_NE(edition->member, nullptr);
        EXPECT_EQ(edition->member->span_divisor_insulating, 180.0);
        EXPECT_EQ(edition->member->span_divisor_other, 120.0);
        EXPECT_EQ(edition->member->absolute_mm, 15.0);
    }
}

// Table 5.2.1, the face: float 28/24/20, tempered 84/72/59 N/mm^2. A pane between two bands or
// thinner than the first takes the band it is not thicker than.
TEST(CodeEdition, GlassStrengthBandsByThickness) {
    struct Case {
        double thickness;
        std::string_view range;
        double float_fg;
        double tempered_fg;
    };
    const Case cases[] = {
        {3.0, "5~12mm", 28.0, 84.0},   {5.0, "5~12mm", 28.0, 84.0},   {12.0, "5~12mm", 28.0, 84.0},
        {12.5, "15~19mm", 24.0, 72.0}, {19.0, "15~19mm", 24.0, 72.0}, {19.5, "≥20mm", 20.0, 59.0},
        {20.0, "≥20mm", 20.0, 59.0},   {40.0, "≥20mm", 20.0, 59.0},
    };
    for (const CodeEdition* edition : CodeEditions()) {
        for (const Case& c : cases) {
            const GlassStrengthBand& band = StrengthBandOf(*edition->glass, c.thickness);
            EXPECT_EQ(band.range, c.range) << edition->id << " " << c.thickness;
            EXPECT_EQ(band.float_fg, c.float_fg) << edition->id << " " << c.thickness;
            EXPECT_EQ(band.tempered_fg, c.tempered_fg) << edition->id << " " << c.thickness;
        }
    }
}

// One list: the editions in the windows' order with their ids and titles; an id that names no
// edition runs the unnamed one (2001), the codes in force are 2012.
TEST(CodeEdition, OneListOfEditions) {
    std::vector<std::string_view> ids, titles;
    for (const CodeEdition* edition : CodeEditions()) {
        ids.push_back(edition->id);
        titles.push_back(edition->title);
        EXPECT_EQ(FindCodeEdition(edition->id), edition);
        EXPECT_EQ(&EditionById(edition->id), edition);
    }
    EXPECT_EQ(ids, std::vector<std::string_view>(EditionIds().begin(), EditionIds().end()));
    EXPECT_EQ(titles,
              std::vector<std::string_view>(EditionTitles().begin(), EditionTitles().end()));
    EXPECT_EQ(titles,
              (std::vector<std::string_view>{"GB 50009-2001", "GB 50009-2012 + GB 55001-2021"}));
    EXPECT_EQ(EditionIdsText(), "2001 或 2012");
    EXPECT_EQ(EditionOfUnnamed().id, "2001");
    EXPECT_EQ(CurrentEdition().id, "2012");
    for (std::string_view unknown : {"", "2009", " 2012", "GB 50009-2012"}) {
        EXPECT_EQ(FindCodeEdition(unknown), nullptr) << unknown;
        EXPECT_EQ(&EditionById(unknown), &Edition2001()) << unknown;
    }
    EXPECT_EQ(&EditionOf(SharedValues{}), &Edition2001());
}

}  // namespace
}  // namespace quoinry
