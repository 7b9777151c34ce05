#include "member/member_check.h"

#include <cmath>
#include <string_view>

#include "common/checked_math.h"
#include "common/lazy_number.h"
#include "common/numbers.h"
#include "common/shown_comparison.h"
#include "edition/code_edition.h"
#include "member/load_unit.h"
#include "member/member_form.h"
#include "member/member_wind.h"

namespace quoinry {
namespace {

std::string F3(double x) {
    return FormatFixed(x, 3);
}
std::string F3(float x) {
    return FormatFixed(x, 3);
}
std::string F4(double x) {
    return FormatFixed(x, 4);
}
// Unit 2 holds its moment and shear in single precision and prints them so.
std::string F3(const LoadUnit& unit, double value) {
    return unit.single ? F3(static_cast<float>(value)) : F3(value);
}

std::string Str(std::string_view text) {
    return std::string(text);
}

// The member's span and load units (m) as the form reads them from the geometry boxes.
class MemberGeometry {
  public:
    MemberGeometry(const MemberForm& form, const MemberInput& input)
        : form_(form), g1_(input.geometry1), g2_(input.geometry2), g3_(input.geometry3) {}

    float Span() { return ToSingle((form_.vertical ? g3_.Get() : g1_.Get()) / 1000.0); }
    double Unit(int i) {
        if (form_.vertical)
            return (i == 0 ? g1_.Get() : g2_.Get()) / 1000.0;
        if (i == 0)
            return g3_.Get() / 1000.0;
        const double total = g2_.Get() / 1000.0;
        return Sub(total, g3_.Get() / 1000.0);
    }

  private:
    const MemberForm& form_;
    LazyNumber g1_, g2_, g3_;
};

class MemberCheck {
  public:
    MemberCheck(const MemberInput& input, const SharedValues& shared, ReportLines& report,
                std::string& box)
        : input_(input),
          form_(MemberFormOf(input.form)),
          edition_(EditionOf(shared)),
          rules_(*edition_.member),
          factors_(shared.Factors),
          wk_(shared.WindLoadStandard),
          insulating_(shared.IsInsulatingGlass),
          report_(report),
          box_(box),
          geometry_(form_, input),
          fa_(input.strength),
          tau_d_(input.shear_strength),
          e_(input.modulus),
          t_(input.wall),
          ix_(input.ix),
          wx1_(input.wx1),
          wx2_(input.wx2),
          ss1_(input.ss1) {}

    MemberResult Run() {
        result_.vertical = form_.vertical;
        result_.wk = wk_;
        WriteMomentSection();
        WriteShearSection();
        WriteSectionProperties();
        WriteStrengthSection();
        WriteShearStrengthSection();
        WriteDeflectionSection();
        result_.span_m = span_;
        result_.units[0] = units_[0];
        result_.units[1] = units_[1];
        result_.mw = mw_;
        result_.qwk = qwk_;
        result_.ok = result_.strength_ok && result_.shear_ok && result_.deflection_ok;
        return result_;
    }

  private:
    template <typename... Pieces>
    void Line(const Pieces&... pieces) {
        report_.push_back(Cat(pieces...));
    }

    std::string Span() const { return Str(form_.span); }
    std::string UnitName(int i) const { return Str(form_.units[i]); }

    void WriteMomentSection() {
        Line("");
        Line(Str(form_.title));
        Line("(1).风荷载作用下受力构件弯矩的计算:");
        if (edition_.members_reduce_by_area) {
            // The member's own Wk needs its geometry first.
            WriteGeometry();
            WriteOwnWind();
            Line("   Wk:杆件的风荷载标准值:", GeneralText(wk_), "kN/m^2");
            Line("   Mw:风荷载作用下受力构件的总弯矩标准值(kN·m)");
        } else {
            Line("   Wk:风荷载标准值:", GeneralText(wk_), "kN/m^2");
            Line("   Mw:风荷载作用下受力构件的总弯矩标准值(kN·m)");
            WriteGeometry();
        }
        Line("   qsk1:受力构件在第一受荷单元作用下风荷载线分布最大荷载集度标准值(kN/m)");
        Line("   qsk2:受力构件在第二受荷单元作用下风荷载线分布最大荷载集度标准值(kN/m)");
        Line("   Mw1:受力构件在第一受荷单元作用下的弯矩(kN·m)");
        Line("   Mw2:受力构件在第二受荷单元作用下的弯矩(kN·m)");
        for (int i = 0; i < 2; ++i) WriteMomentBlock(i);
        mw_ = Add(units_[0].mw, units_[1].mw);
        Line("   Mw=Mw1+Mw2");
        Line("     =", F3(units_[0], units_[0].mw), "+", F3(units_[1], units_[1].mw));
        Line("     =", F3(mw_), "kN·m");
    }

    void WriteGeometry() {
        span_ = geometry_.Span();
        Line(Str(form_.span_caption), F3(span_), "(m)");
        for (int i = 0; i < 2; ++i) {
            const double a = geometry_.Unit(i);
            units_[i] = StartLoadUnit(a, span_, i == 1);
            Line(Str(form_.unit_captions[i]), F3(a), "(m)");
        }
    }

    void WriteOwnWind() {
        const MemberWind wind = CalcMemberWind(form_, span_, units_, factors_, edition_, report_);
        wk_ = wind.wk;
        result_.wk = wk_;
        result_.own_wind = true;
        result_.area_m2 = wind.area_m2;
        result_.mu_reduced = wind.mu_reduced;
        result_.mu_sl = wind.mu_sl;
    }

    void WriteMomentBlock(int i) {
        LoadUnit& unit = units_[i];
        const std::string n = std::to_string(i + 1);
        const std::string span = F3(span_);
        if (unit.trapezoidal) {
            Line("   qsk", n, "=Wk×", UnitName(i), "/2");
            Line("       =", F3(wk_), "×", F3(unit.a), "/ 2");
            ComputeLineLoad(unit, span_, wk_);
            Line("       =", F3(unit.qsk), "kN/m");
            Line("   Ba:中间变量,为受荷单元短边的一半(m)");
            Line("   Ba = ", UnitName(i), "/2");
            Line("      =", F3(unit.a), "/2");
            const std::string ba = F3(HalfShortSide(unit));
            Line("      =", ba, "m");
            Line("   Mw", n, "=(qsk", n, "×", Span(), "^2)×(3-4×Ba^2/", Span(), "^2)/24");
            Line("      =(", F3(unit.qsk), "×", span, "^2)×(3-4×", ba, "^2/", span + "^2)/24");
        } else {
            Line("   qsk", n, "=Wk×", Span(), "/2");
            Line("       =", F3(wk_), "×", span, "/ 2");
            ComputeLineLoad(unit, span_, wk_);
            Line("       =", F3(unit.qsk), "kN/m");
            Line("   Mw", n, "=qsk", n, "×", Span(), "^2/12");
            Line("      =", F3(unit.qsk), "×", span, "^2/12");
        }
        ComputeMoment(unit, span_);
        Line("      =", F3(unit, unit.mw), "kN·m");
    }

    void WriteShearSection() {
        Line("");
        Line("(2).风荷载作用下受力构件剪力的计算(kN):");
        Line("   Qwk:风荷载作用下剪力标准值(kN)");
        Line("   Qw1:受力构件在第一受荷单元作用下受到的剪力");
        Line("   Qw2:受力构件在第二受荷单元作用下受到的剪力");
        for (int i = 0; i < 2; ++i) WriteShearBlock(i);
        qwk_ = Add(units_[0].qw, units_[1].qw);
        Line("   Qwk=Qw1+Qw2");
        Line("      =", F3(units_[0], units_[0].qw), "+", F3(units_[1], units_[1].qw));
        Line("      =", F3(qwk_), "kN");
    }

    void WriteShearBlock(int i) {
        LoadUnit& unit = units_[i];
        const std::string n = std::to_string(i + 1);
        const std::string span = F3(span_);
        if (unit.trapezoidal) {
            Line("   Qw", n, "=qsk", n, "×(", Span(), "+(", Span(), "-2×Ba))/2/2");
            Line("      =", F3(unit.qsk), "×(", span, "+(", span, "-2×" + F3(HalfShortSide(unit)),
                 "))/2/2");
        } else {
            Line("   Qw", n, "=qsk", n, "×", Span(), "/2/2");
            Line("      =", F3(unit.qsk), "×", span, "/2/2");
        }
        ComputeShear(unit, span_);
        Line("      =", F3(unit, unit.qw), "kN");
    }

    void WriteSectionProperties() {
        Line("");
        Line("(3).选用型材的截面特性:");
        Line("   选用型材号:", ProfileName(input_));
        Line("   型材强度设计值:fa=", input_.strength, "N/mm^2");
        Line("   型材剪力设计值:τ=", input_.shear_strength, "N/mm^2");
        Line("   型材弹性模量:E=", input_.modulus, "N/mm^2");
        if (!edition_.member_strengths.empty())
            Line(edition_.member_strengths);
        Line("   X轴惯性矩:Ix=", input_.ix, "cm^4");
        Line("   Y轴惯性矩:Iy=", input_.iy, "cm^4");
        Line("   X轴抵抗矩一:Wx1=", input_.wx1, "cm^3");
        Line("   X轴抵抗矩二:Wx2=", input_.wx2, "cm^3");
        Line("   型材截面积:A=", input_.area, "cm^2");
        Line("   型材计算校核处壁厚:t=", input_.wall, "mm");
        Line("   型材截面面积矩一:Ss1=", input_.ss1, "cm^3");
        Line("   型材截面面积矩二:Ss2=", input_.ss2, "cm^3");
    }

    void WriteStrengthSection() {
        Line("");
        Line("(4).型材的强度计算:");
        const double fa = fa_.Get();
        const std::string_view gamma = edition_.gamma_text;
        Line("   校核依据: ", gamma, "Mw/W≤fa=", F3(fa), "N/mm^2");
        Line("   σ=", gamma, "×Mw×10^3/Wx");
        const double wx1 = wx1_.Get();
        const double wx2 = wx2_.Get();
        const double wx = wx2 < wx1 ? wx2 : wx1;
        result_.fa = fa;
        result_.wx = wx;
        Line("     =", gamma, "×", F3(mw_), "×10^3/", F3(wx));
        const double unrounded = Div(Mul(Mul(edition_.gamma, mw_), Pow(10.0, 3)), wx);
        const double sigma = RoundN(unrounded, 3);
        Line("     =", F3(sigma), "N/mm^2");
        const ShownComparison shown = CompareShown(unrounded, fa, F3(sigma), F3(fa), 3);
        const bool fails = !shown.within;
        result_.sigma = sigma;
        result_.strength_ok = !fails;
        const std::string comparison = shown.value + (fails ? "＞fa=" : "≤fa=") + shown.limit;
        Line("   σ=", comparison);
        const std::string verdict = fails ? "杆件强度不能满足!" : "杆件强度满足!";
        Line("   ", verdict);
        box_ = "σ=" + comparison + verdict;
    }

    void WriteShearStrengthSection() {
        Line("");
        Line("(5).杆件抗剪计算:");
        const double tau_d_given = tau_d_.Get();
        const float tau_d = ToSingle(tau_d_given);
        Line("   校核依据: τmax≤[τ]=", F3(tau_d), "N/mm^2");
        Line("   Qwk:风荷载作用下剪力标准值(kN)");
        Line("   Q:风荷载作用下剪力设计值(kN)");
        Line("   τ: 杆件剪应力");
        const double ss1 = ss1_.Get();
        Line("   Ss: 杆件型材截面面积矩:", F3(ss1), "cm^3");
        const double ix = ix_.Get();
        Line("   Ix: 杆件型材截面惯性矩:", F3(ix), "cm^4");
        const double t = t_.Get();
        Line("   t: 杆件壁厚:", F3(t), "mm");
        Line("   Q=", edition_.gamma_text, "×Qwk");
        Line("    =", edition_.gamma_text, "×", F3(qwk_));
        const double q = RoundN(Mul(edition_.gamma, qwk_), 3);
        result_.tau_d = tau_d;
        result_.q = q;
        Line("    =", F3(q), "kN");
        Line("   τ=Q×Ss×100/Ix/t");
        Line("     =", F3(q), "×", F3(ss1), "×100/", F3(ix), "/", F3(t));
        const double unrounded = Div(Div(Mul(Mul(q, ss1), 100.0), ix), t);
        const double tau = RoundN(unrounded, 3);
        Line("     =", F3(tau), "N/mm^2");
        // τd as typed: its single-precision copy (49.59999847) would fail a τ of 49.600.
        const ShownComparison shown = CompareShown(unrounded, tau_d_given, F3(tau), F3(tau_d), 3);
        const bool satisfied = shown.within;
        result_.tau = tau;
        result_.shear_ok = satisfied;
        const std::string comparison =
            shown.value + (satisfied ? "≤" : "＞") + shown.limit + "N/mm^2";
        const std::string verdict = satisfied ? "杆件抗剪强度可以满足!" : "杆件抗剪强度不能满足!";
        Line("   τ=", comparison);
        Line("   ", verdict);
        AppendBoxLine(box_, "τ=" + comparison + verdict);
    }

    void WriteDeflectionSection() {
        Line("");
        Line("(6).杆件挠度计算:");
        Line("   校核依据:U≤L/", GeneralText(SpanDivisor()),
             insulating_ ? "(中空玻璃)" : "(非中空玻璃)",
             "且U≤[U]=", GeneralText(rules_.absolute_mm), "mm");
        Line("   U:杆件最大挠度(mm)");
        Line("   U1:受力构件在扇框位置第一受荷单元作用下的最大挠度(mm)");
        Line("   U2:受力构件在扇框位置第二受荷单元作用下的最大挠度(mm)");
        Line("   Du: 杆件最大挠度与其长度比值");
        Line("   ", Span(), ": 杆件长度:", F3(span_), "m");
        double u[2];
        for (int i = 0; i < 2; ++i) {
            u[i] = WriteDeflectionBlock(i);
            result_.u[i] = u[i];
        }
        const double total = Add(u[0], u[1]);
        result_.umax = total;
        Line("   U=U1+U2");
        Line("    =", F3(u[0]), "+", F3(u[1]));
        Line("    =", F3(total), "mm");
        Line("   Du=U/", Span(), "/1000");
        Line("     =", F3(total), "/", F3(span_), "/1000");
        const double du = RoundN(Div(Div(total, span_), 1000.0), 4);
        result_.du = du;
        Line("     =", F4(du));
        WriteDeflectionVerdict(total);
    }

    double SpanDivisor() const {
        return insulating_ ? rules_.span_divisor_insulating : rules_.span_divisor_other;
    }

    double WriteDeflectionBlock(int i) {
        const LoadUnit& unit = units_[i];
        const std::string n = std::to_string(i + 1);
        const std::string span = F3(span_);
        double c = 0.0;
        if (unit.trapezoidal) {
            const std::string ba = F3(HalfShortSide(unit));
            Line("   C=(25/8)-5×(Ba^2/", Span(), "^2)+2×(Ba^4/", Span(), "^4)");
            Line("    =(25/8)-5×(", ba, "^2/", span, "^2)+2×(", ba, "^4/", span, "^4)");
            c = ShapeFactor(unit, span_);
            result_.c[i] = c;
            Line("    =", F3(c));
            Line("   U", n, "=qsk", n, "×", Span(), "^4×10^8×C/(240×E×Ix)");
            Line("     =", F3(unit.qsk), "×", span, "^4×10^8×", F3(c), "/(240×" + F3(e_.Get()), "×",
                 F3(ix_.Get()), ")");
        } else {
            Line("   U", n, "=qsk", n, "×", Span(), "^4×10^8/(120×E×Ix)");
            Line("     =", F3(unit.qsk), "×", span, "^4×10^8/(120×", F3(e_.Get()),
                 "×" + F3(ix_.Get()), ")");
        }
        const double u = UnitDeflection(unit, span_, c, e_.Get(), ix_.Get());
        Line("     =", F3(u), "mm");
        return u;
    }

    // U against both limits in mm; L as printed (its single-precision value would put the limit
    // of 1.800 m a hair below 10 mm).
    void WriteDeflectionVerdict(double u) {
        const std::string divisor = GeneralText(SpanDivisor());
        const std::string span = F3(span_);
        const double limit = Div(Mul(ParseStrict(span), 1000.0), SpanDivisor());
        result_.u_span_limit = limit;
        result_.u_limit = rules_.absolute_mm;
        Line("   L/", divisor, "=", Span(), "×1000/", divisor, "=", span, "×1000/", divisor, "=",
             F3(limit), "mm");
        const ShownComparison relative = CompareShown(u, limit, F3(u), F3(limit), 3);
        const ShownComparison absolute =
            CompareShown(u, rules_.absolute_mm, F3(u), GeneralText(rules_.absolute_mm), 3);
        result_.deflection_ok = relative.within && absolute.within;
        const std::string line = Cat(
            "相对挠度U=", relative.value, relative.within ? "mm≤L/" : "mm＞L/", divisor, "=",
            relative.limit, relative.within == absolute.within ? "mm且" : "mm但",
            "绝对挠度U=", absolute.value, absolute.within ? "mm≤[U]=" : "mm＞[U]=", absolute.limit,
            "mm", result_.deflection_ok ? "挠度满足要求!" : "挠度不满足要求!");
        Line("   ", line);
        AppendBoxLine(box_, line);
    }

    const MemberInput& input_;
    const MemberForm& form_;
    const CodeEdition& edition_;
    const MemberRules& rules_;
    const WindFactors factors_;
    double wk_;
    const bool insulating_;
    ReportLines& report_;
    std::string& box_;
    MemberGeometry geometry_;
    LazyNumber fa_, tau_d_, e_, t_, ix_, wx1_, wx2_, ss1_;
    float span_ = 0.0f;
    LoadUnit units_[2];
    double mw_ = 0.0;
    double qwk_ = 0.0;
    MemberResult result_;
};

}  // namespace

MemberResult CalcMember(const MemberInput& input, const SharedValues& shared, ReportLines& report,
                        std::string& result_box) {
    return MemberCheck(input, shared, report, result_box).Run();
}

MemberResult CalcVerticalMember(MemberInput input, const SharedValues& shared, ReportLines& report,
                                std::string& result_box) {
    input.form = VerticalMemberForm().text;
    return CalcMember(input, shared, report, result_box);
}

MemberResult CalcHorizontalMember(MemberInput input, const SharedValues& shared,
                                  ReportLines& report, std::string& result_box) {
    input.form = HorizontalMemberForm().text;
    return CalcMember(input, shared, report, result_box);
}

std::string ProfileName(const MemberInput& input) {
    if (!input.section_drawing.empty())
        return "自定义截面(" + input.section_drawing + ")";
    return input.series + "\\" + input.number;
}

PreselectionResult CalcPreselection(const MemberInput& input, const SharedValues& shared) {
    PreselectionResult result;
    const CodeEdition& edition = EditionOf(shared);
    const MemberForm& form = MemberFormOf(input.form);
    result.wk = shared.WindLoadStandard;
    MemberGeometry geometry(form, input);
    result.span_m = geometry.Span();
    LoadUnit units[2];
    for (int i = 0; i < 2; ++i) units[i] = StartLoadUnit(geometry.Unit(i), result.span_m, i == 1);
    if (edition.members_reduce_by_area) {
        ReportLines unused;
        const MemberWind wind =
            CalcMemberWind(form, result.span_m, units, shared.Factors, edition, unused);
        result.wk = wind.wk;
        result.area_m2 = wind.area_m2;
    }
    for (LoadUnit& unit : units) {
        ComputeLineLoad(unit, result.span_m, result.wk);
        ComputeMoment(unit, result.span_m);
        result.mw = Add(result.mw, unit.mw);
    }
    result.gamma = edition.gamma;
    const double wx = Div(Mul(Mul(edition.gamma, result.mw), Pow(10.0, 3)), result.strength);
    result.wx_min_cm3 = ToSingle(RoundN(wx, 3));
    return result;
}

float MinimumSectionModulus(const MemberInput& input, const SharedValues& shared) {
    return CalcPreselection(input, shared).wx_min_cm3;
}

std::string PreselectionText(float minimum_section_modulus) {
    return "型材预选抵抗矩不能低于:" + FormatFixed(minimum_section_modulus, 3) + "cm^3";
}

}  // namespace quoinry
