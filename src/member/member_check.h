#pragma once

#include <string>

#include "common/report.h"
#include "common/shared_values.h"
#include "member/load_unit.h"

namespace quoinry {

// The member inputs as the member check window's controls hold them.
struct MemberInput {
    std::string form;            // ComboBox1: the text of a member form (MemberFormOf)
    std::string series;          // ComboBox2
    std::string number;          // ComboBox3
    std::string strength;        // TextBox1: fa, N/mm^2
    std::string geometry1;       // TextBox2, mm
    std::string geometry2;       // TextBox3, mm
    std::string geometry3;       // TextBox4, mm
    std::string shear_strength;  // TextBox5: τd, N/mm^2
    std::string modulus;         // TextBox6: E, N/mm^2
    std::string wall;            // TextBox7: t, mm
    std::string ix;              // TextBox8, cm^4
    std::string iy;              // TextBox9, cm^4 (listed only)
    std::string wx1;             // TextBox10, cm^3
    std::string wx2;             // TextBox11, cm^3
    std::string ss1;             // TextBox12, cm^3
    std::string ss2;             // TextBox13, cm^3 (listed only)
    std::string area;            // TextBox14, cm^2 (listed only)
    // The DXF drawing (file name only) a measured section comes from; empty for a profile of
    // the library, which the report names by series and number.
    std::string section_drawing = {};

    bool operator==(const MemberInput&) const = default;
};

// The profile as the member report names it: "series\number", or "自定义截面(drawing)" for a
// section measured from a drawing.
std::string ProfileName(const MemberInput& input);

// Every value the member report prints, as the report rounds it. Lengths of the member in m,
// loads in kN/m^2, kN/m, kN·m and kN, stresses in N/mm^2, deflections in mm.
struct MemberResult {
    bool vertical = false;
    double wk = 0.0;  // Wk the loads come from
    // Editions that load the member with its own coefficient (own_wind): its tributary area,
    // the external coefficient reduced by it, and that with the internal one; Wk is the
    // member's own.
    bool own_wind = false;
    double area_m2 = 0.0;
    double mu_reduced = 0.0;
    double mu_sl = 0.0;
    float span_m = 0.0f;         // L (Hsk or Wsk)
    LoadUnit units[2];           // the two load units with qsk, Mw and Qw
    double mw = 0.0;             // Mw = Mw1 + Mw2
    double qwk = 0.0;            // Qwk = Qw1 + Qw2
    double fa = 0.0;             // strength design value
    double wx = 0.0;             // the smaller of Wx1 and Wx2, cm^3
    double sigma = 0.0;          // σ = γw × Mw × 10^3 / Wx
    bool strength_ok = false;    // σ before its rounding ≤ fa
    float tau_d = 0.0f;          // shear design value τd
    double q = 0.0;              // Q = γw × Qwk
    double tau = 0.0;            // τ = Q × Ss × 100 / Ix / t
    bool shear_ok = false;       // τ before its rounding ≤ τd as typed
    double c[2] = {0.0, 0.0};    // trapezoidal shape factors (0 for a triangular unit)
    double u[2] = {0.0, 0.0};    // U1, U2
    double umax = 0.0;           // U = U1 + U2
    double du = 0.0;             // Du = U / L / 1000, rounded to 4 decimals (shown only)
    double u_span_limit = 0.0;   // L / 180 (insulating glass) or L / 120 in mm, L as printed
    double u_limit = 15.0;       // absolute limit [U]
    bool deflection_ok = false;  // U within both limits
    bool ok = false;             // strength, shear and deflection
};

// Bending, shear and deflection of a vertical or horizontal frame member under
// WindLoadStandard, or under its own Wk where the run's edition reduces the member's external
// coefficient by its area: appends the lines of gj.txt to `report` and sets `result_box`.
// Raises CalcError; the lines written before the error stay in `report`.
MemberResult CalcMember(const MemberInput& input, const SharedValues& shared, ReportLines& report,
                        std::string& result_box);

// The two routines of the member check window; each checks its own form whatever `form` says.
MemberResult CalcVerticalMember(MemberInput input, const SharedValues& shared, ReportLines& report,
                                std::string& result_box);
MemberResult CalcHorizontalMember(MemberInput input, const SharedValues& shared,
                                  ReportLines& report, std::string& result_box);

// Profile pre-selection: what a profile must offer at least, from the member's wind moment.
struct PreselectionResult {
    double wk = 0.0;          // Wk the moment comes from (the member's own where the edition
                              // reduces by area), kN/m^2
    float span_m = 0.0f;      // L
    double area_m2 = 0.0;     // A, the tributary area, where the edition reduces by it
    double mw = 0.0;          // Mw = Mw1 + Mw2, kN·m, as the member report rounds it
    double strength = 84.2;   // the fixed strength design value of pre-selection, N/mm^2
    double gamma = 1.4;       // the edition's load factor γw
    float wx_min_cm3 = 0.0f;  // Wmin = γw × Mw × 10^3 / 84.2, rounded to 3 decimals
};
PreselectionResult CalcPreselection(const MemberInput& input, const SharedValues& shared);

// The least section modulus Wx (cm^3) a profile needs, and the text the result box shows for it.
float MinimumSectionModulus(const MemberInput& input, const SharedValues& shared);
std::string PreselectionText(float minimum_section_modulus);

}  // namespace quoinry
