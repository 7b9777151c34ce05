#pragma once

#include <string>

#include "common/report.h"
#include "common/shared_values.h"

namespace quoinry {

// The member inputs as the member check window's controls hold them.
struct MemberInput {
    std::string form;            // ComboBox1: "竖向杆件" is vertical, any other text horizontal
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
};

// Bending, shear and deflection of a vertical or horizontal frame member under
// WindLoadStandard: appends the lines of gj.txt to `report` and sets `result_box`.
// Raises CalcError; the lines written before the error stay in `report`.
void CalcMember(const MemberInput& input, const SharedValues& shared, ReportLines& report,
                std::string& result_box);

// The two routines of the member check window; each checks its own form whatever `form` says.
void CalcVerticalMember(MemberInput input, const SharedValues& shared, ReportLines& report,
                        std::string& result_box);
void CalcHorizontalMember(MemberInput input, const SharedValues& shared, ReportLines& report,
                          std::string& result_box);

// Profile pre-selection: the least section modulus Wx (cm^3) a profile needs, with the fixed
// strength 84.2 N/mm^2, and the text the result box shows for it.
float MinimumSectionModulus(const MemberInput& input, const SharedValues& shared);
std::string PreselectionText(float minimum_section_modulus);

}  // namespace quoinry
