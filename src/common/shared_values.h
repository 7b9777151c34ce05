#pragma once

namespace quoinry {

// The values the calculations hand to each other for the whole run (the pubFunction module of
// the original program). One instance is owned by whoever drives a design run and passed in.
struct SharedValues {
    double WindLoadStandard = 0.0;   // Wk of the last wind load calculation, kN/m^2
    double WindLoadDesign = 0.0;     // W = 1.4 × Wk, kN/m^2
    bool IsInsulatingGlass = false;  // the glass category was exactly "中空玻璃"
};

}  // namespace quoinry
