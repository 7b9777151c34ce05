#pragma once

namespace quoinry {

// One load unit (glazed panel) beside the member: its dimension a across the member (m) against
// the span L (m, single). Its load on the member is trapezoidal when a < L, else triangular.
// Unit 2 keeps its moment and shear in single precision.
struct LoadUnit {
    double a = 0.0;
    bool trapezoidal = false;
    bool single = false;
    double qsk = 0.0;  // peak line load, kN/m
    double mw = 0.0;   // moment, kN·m
    double qw = 0.0;   // shear, kN
};

// Each step computes exactly what its report lines show, in their order.
LoadUnit StartLoadUnit(double a, float span, bool second_unit);
float HalfShortSide(const LoadUnit& unit);  // Ba, m
void ComputeLineLoad(LoadUnit& unit, float span, double wk);
void ComputeMoment(LoadUnit& unit, float span);
void ComputeShear(LoadUnit& unit, float span);

// Deflection of the member under this unit (mm): the trapezoidal shape factor C and U.
double ShapeFactor(const LoadUnit& unit, float span);
double UnitDeflection(const LoadUnit& unit, float span, double c, double e, double ix);

}  // namespace quoinry
