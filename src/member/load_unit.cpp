#include "member/load_unit.h"

#include "common/checked_math.h"
#include "common/numbers.h"

namespace quoinry {

LoadUnit StartLoadUnit(double a, float span, bool second_unit) {
    LoadUnit unit;
    unit.a = a;
    unit.trapezoidal = a < span;
    unit.single = second_unit;
    return unit;
}

float HalfShortSide(const LoadUnit& unit) {
    return ToSingle(Div(unit.a, 2.0));
}

void ComputeLineLoad(LoadUnit& unit, float span, double wk) {
    const double product = unit.trapezoidal ? Mul(wk, unit.a) : Mul(span, wk);
    unit.qsk = RoundN(Div(product, 2.0), 3);
}

void ComputeMoment(LoadUnit& unit, float span) {
    const double load = Mul(unit.qsk, Pow(span, 2));
    double moment;
    if (unit.trapezoidal) {
        const double ba = HalfShortSide(unit);
        const double ratio = Div(Mul(4.0, Pow(ba, 2)), Pow(span, 2));
        moment = Div(Mul(load, Sub(3.0, ratio)), 24.0);
    } else {
        moment = Div(load, 12.0);
    }
    unit.mw = RoundN(moment, 3);
    if (unit.single)
        unit.mw = ToSingle(unit.mw);
}

void ComputeShear(LoadUnit& unit, float span) {
    double shear;
    if (unit.trapezoidal) {
        // L + (L − 2 × Ba) is formed in single precision, operation by operation.
        const float twice_ba = ToSingle(Mul(2.0, HalfShortSide(unit)));
        const float rest = ToSingle(Sub(span, twice_ba));
        const float length = ToSingle(Add(span, rest));
        shear = RoundN(Div(Div(Mul(unit.qsk, length), 2.0), 2.0), 3);
    } else {
        shear = RoundN(Div(Div(Mul(unit.qsk, span), 2.0), 2.0), 3);
    }
    unit.qw = unit.single ? ToSingle(shear) : shear;
}

double ShapeFactor(const LoadUnit& unit, float span) {
    const double ba = HalfShortSide(unit);
    const double square_ratio = Div(Pow(ba, 2), Pow(span, 2));
    double c = Sub(25.0 / 8.0, Mul(5.0, square_ratio));
    const double fourth_ratio = Div(Pow(ba, 4), Pow(span, 4));
    c = Add(c, Mul(2.0, fourth_ratio));
    return RoundN(c, 3);
}

double UnitDeflection(const LoadUnit& unit, float span, double c, double e, double ix) {
    double x = Mul(unit.qsk, Pow(span, 4));
    x = Mul(x, Pow(10.0, 8));
    if (unit.trapezoidal)
        x = Mul(x, c);
    const double stiffness = Mul(Mul(unit.trapezoidal ? 240.0 : 120.0, e), ix);
    return RoundN(Div(x, stiffness), 3);
}

}  // namespace quoinry
