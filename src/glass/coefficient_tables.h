#pragma once

namespace quoinry {

// Coefficients of a four-side supported pane (JGJ102-2003), by piecewise linear interpolation.
// a is the short side and b the long side in the same unit; a/b outside (0, 1] gives 0.

// Bending moment coefficient m (table 6.1.2-1), 4 decimals.
float GlassMomentCoefficient(float a, float b);

// Reduction factor η by the parameter θ (table 6.1.2-2), 2 decimals.
float GlassReductionFactor(float theta);

// Deflection coefficient μ (table 6.1.3), 5 decimals.
float GlassDeflectionCoefficient(float a, float b);

}  // namespace quoinry
