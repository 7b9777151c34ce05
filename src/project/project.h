#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "design/design_file.h"
#include "edition/code_edition.h"

namespace quoinry {

// Whether a position may name the edition: one of CodeEditions(), each of which this program
// computes.
bool IsKnownEdition(std::string_view edition);
bool IsComputedEdition(std::string_view edition);

// A building: its name, the site data its positions share, the people who sign the
// calculation and the date.
struct ProjectInfo {
    std::string name;
    std::string region;                                      // glass.co1
    std::string city;                                        // glass.co2
    std::string w0;                                          // glass.te1, basic wind pressure in Pa
    std::string terrain;                                     // glass.co3
    std::string edition = std::string(CurrentEdition().id);  // a new project's: the codes in force
    std::string designer;                                    // 设计
    std::string checker;                                     // 校核
    std::string approver;                                    // 审核
    std::string date;

    bool operator==(const ProjectInfo&) const = default;
};

// One window position of the building: a whole design, and the edition it is computed after
// (empty: the project's).
struct Position {
    Design design;
    std::string edition;
    // Why the position cannot be computed as it stands (a schedule row that could not be used,
    // kept so that nothing is lost); empty when it can. Saving it from the windows clears it.
    std::string error = {};

    bool operator==(const Position&) const = default;
};

struct Project {
    ProjectInfo info;
    std::vector<Position> positions;

    bool operator==(const Project&) const = default;
};

// The edition a position is computed after.
std::string_view EditionOf(const Position& position, const ProjectInfo& info);

// Puts the project's site data (region, city, basic wind pressure, terrain) into a design; a
// site value the project leaves empty leaves the design's.
void ApplySite(Design& design, const ProjectInfo& info);

// What the design window's checks refuse in the project's site (a basic wind pressure that is no
// number of Pa, a terrain that is not A类 … D类, an edition this program does not know), one line
// per value naming it; empty values are not checked (they leave the positions' own).
std::vector<std::string> SiteProblems(const ProjectInfo& info);

// The site values of a design that differ from the project's, as "基本风压(Pa) 500 ≠ 450"
// texts; empty when the design follows the project.
std::vector<std::string> SiteDifferences(const Design& design, const ProjectInfo& info);

}  // namespace quoinry
