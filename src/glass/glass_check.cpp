#include "glass/glass_check.h"

#include <optional>

#include "common/checked_math.h"
#include "common/lazy_number.h"
#include "common/numbers.h"
#include "common/shown_comparison.h"
#include "edition/code_edition.h"
#include "glass/coefficient_tables.h"
#include "glass/glass_texts.h"

namespace quoinry {
namespace {

float StrengthDesignValue(const GlassStrengthBand& band, const std::string& kind) {
    return ToSingle(kind == "普通玻璃" ? band.float_fg : band.tempered_fg);
}

// The line that says which band of table 5.2.1 gave fg, where it is not the usual 5~12mm.
std::string BandLine(const GlassRules& rules, const GlassStrengthBand& band, double t,
                     std::string_view t_name) {
    const bool first = &band == &rules.strength.front();
    if (first && t >= band.from_mm)
        return {};
    const std::string lead = Cat("   ｆg: 按", rules.strength_table, "取厚度", band.range, "的值");
    if (t >= band.from_mm)
        return lead;
    const std::string t_text = Cat(t_name, "=", GeneralText(t), "mm");
    if (first)
        return Cat(lead, "(", t_text, "小于", GeneralText(band.from_mm), "mm)");
    const double below = (&band - 1)->up_to_mm;
    return Cat(lead, "(", t_text, "在", GeneralText(below), "mm与", GeneralText(band.from_mm),
               "mm之间,按较厚的一档)");
}

// A pane's share of the wind load; the inner pane's share is held in single precision.
struct PaneLoad {
    double w = 0.0;
    bool single = false;

    std::string Fixed3() const {
        return single ? FormatFixed(static_cast<float>(w), 3) : FormatFixed(w, 3);
    }
    std::string TimesThousandText() const {
        const double n = Mul(w, 1000.0);
        return single ? GeneralText(ToSingle(n)) : GeneralText(n);
    }
};

class GlassCheck {
  public:
    GlassCheck(const GlassInput& input, const SharedValues& shared, ReportLines& report,
               std::string& box)
        : input_(input),
          edition_(EditionOf(shared)),
          rules_(*edition_.glass),
          wk_(shared.WindLoadStandard),
          report_(report),
          box_(box),
          width_(input.width),
          height_(input.height),
          t1_(input.outer_thickness),
          t2_(input.inner_thickness) {}

    GlassResult Run() {
        WriteHead();
        const GlassCategory* category = FindGlassCategory(input_.category);
        if (category == nullptr)
            return result_;
        result_.category_known = true;
        result_.two_panes = category->two_panes;
        WriteStrengthSection(*category, Pane::Outer);
        if (category->two_panes)
            WriteStrengthSection(*category, Pane::Inner);
        WriteDeflectionSection(*category);
        result_.ok = result_.deflection_ok;
        for (int i = 0; i < result_.pane_count; ++i) result_.ok = result_.ok && result_.panes[i].ok;
        return result_;
    }

  private:
    template <typename... Pieces>
    void Line(const Pieces&... pieces) {
        report_.push_back(Cat(pieces...));
    }

    void WriteHead() {
        Line("");
        Line("二、玻璃的选用与校核");
        if (ParseGlassCategory(input_.category) != GlassKind::Single) {
            Line("玻璃类别为:", input_.category, ",外片种类为", input_.outer_thickness,
                 "mm" + input_.outer_kind, ",内片种类为", input_.inner_thickness,
                 "mm" + input_.inner_kind);
        } else {
            Line("玻璃类别为:", input_.category, ",种类为", input_.outer_thickness,
                 "mm" + input_.outer_kind);
        }
        if (!edition_.cite.glass_method.empty()) {
            Line("校核方法:", edition_.cite.glass_method,
                 ";风荷载作用分项系数γw=", edition_.gamma_text, "(", edition_.cite.gamma, ")");
        }
        Line("(1).玻璃面积:");
        const std::string b_text = FormatFixed(width_.Get() / 1000.0, 3);
        Line("   B: 该处玻璃分格宽:", b_text, "m");
        const std::string h_text = FormatFixed(height_.Get() / 1000.0, 3);
        Line("   H: 该处玻璃分格高:", h_text, "m");
        Line("   A: 该处玻璃分格面积:");
        Line("      A=B×H");
        Line("       =", b_text, "×", h_text);
        result_.width_mm = width_.Get();
        result_.height_mm = height_.Get();
        result_.area_m2 = RoundN(Div(Mul(width_.Get(), height_.Get()), 1000000.0), 3);
        Line("       =", FormatFixed(result_.area_m2, 3), "m^2");
    }

    // Short side a (double) and long side b (single); a square pane takes a = H.
    double ShortSide() { return height_.Get() > width_.Get() ? width_.Get() : height_.Get(); }
    float LongSide() {
        if (!long_side_) {
            long_side_ = ToSingle(height_.Get() > width_.Get() ? height_.Get() : width_.Get());
        }
        return *long_side_;
    }

    PaneLoad ShareOfLoad(const GlassCategory& category, Pane pane) {
        const bool outer = pane == Pane::Outer;
        const double factor = outer ? category.outer_share_factor : 1.0;
        const double scaled_wk = Mul(factor, wk_);
        const double own_cube = Pow(outer ? t1_.Get() : t2_.Get(), 3);
        const double numerator = Mul(scaled_wk, own_cube);
        const double t1_cube = Pow(t1_.Get(), 3);
        const double t2_cube = Pow(t2_.Get(), 3);
        const double share = RoundN(Div(numerator, Add(t1_cube, t2_cube)), 3);
        if (outer)
            return {share, false};
        return {ToSingle(share), true};
    }

    void WriteShareLines(const GlassCategory& category, Pane pane, const PaneSectionTexts& texts,
                         PaneLoad& load) {
        const bool outer = pane == Pane::Outer;
        Line(std::string(texts.share_formula));
        const std::string own = GeneralText(outer ? t1_.Get() : t2_.Get());
        const std::string t1 = GeneralText(t1_.Get());
        const std::string t2 = GeneralText(t2_.Get());
        Line("      =", std::string(outer ? category.outer_share_lead : ""),
             FormatFixed(wk_, 3) + "×", own, "^3/(", t1, "^3+", t2, "^3)");
        load = ShareOfLoad(category, pane);
        Line("      =", load.Fixed3(), "kN/m^2");
    }

    void WriteStrengthSection(const GlassCategory& category, Pane pane) {
        const PaneSectionTexts& texts = pane == Pane::Outer ? category.outer : category.inner;
        LazyNumber& thickness = pane == Pane::Outer ? t1_ : t2_;
        const GlassStrengthBand& band = StrengthBandOf(rules_, thickness.Get());
        const float fg =
            StrengthDesignValue(band, pane == Pane::Outer ? input_.outer_kind : input_.inner_kind);
        PaneResult& out = result_.panes[result_.pane_count++];
        out.outer = pane == Pane::Outer;
        out.fg = fg;

        Line("");
        Line(std::string(texts.heading));
        Line(texts.basis_lead, GeneralText(fg), "N/mm^2");
        const std::string band_line =
            BandLine(rules_, band, thickness.Get(), pane == Pane::Outer ? "t1" : "t2");
        if (!band_line.empty())
            Line(band_line);
        Line("   Wk:垂直于玻璃平面的风荷载标准值(kN/m^2)");
        if (category.two_panes)
            Line(std::string(texts.share_caption));
        Line("   σwk:在垂直于玻璃平面的风荷载作用下玻璃截面的最大应力标准值(N/mm^2)");
        Line(std::string(texts.stress_caption));
        Line("   θ: 参数");
        Line("   η: 折减系数，可由参数θ按《玻璃幕墙工程技术规范》JGJ102-2003表6.1.2-2采用");
        Line(
            "   m: 玻璃板的弯矩系数, "
            "按边长比a/b查《玻璃幕墙工程技术规范》JGJ102-2003表6.1.2-1采用");
        const double a = ShortSide();
        result_.a_mm = a;
        Line("   a: 玻璃短边边长:", GeneralText(a), "mm");
        result_.b_mm = LongSide();
        Line("   b: 玻璃长边边长:", GeneralText(LongSide()), "mm");
        const double t = thickness.Get();
        out.thickness_mm = t;
        Line(std::string(texts.thickness_caption), GeneralText(t), "mm");
        Line("   E: 玻璃的弹性模量:", GeneralText(rules_.elastic_modulus), "N/mm^2");

        PaneLoad load{wk_, false};
        if (category.two_panes)
            WriteShareLines(category, pane, texts, load);
        out.load = load.w;

        Line(std::string(texts.theta_caption));
        const std::string w_thousand = load.TimesThousandText();
        Line("     =", w_thousand, "×", GeneralText(a), "^4/(",
             GeneralText(rules_.elastic_modulus) + "×", GeneralText(t), "^4)/1000000");
        const float theta = Theta(load.w, a, t);
        out.theta = theta;
        Line("     =", FormatFixed(theta, 4));
        eta_ = GlassReductionFactor(theta);
        out.eta = eta_;
        Line("   η: 折减系数，按θ=", FormatFixed(theta, 4),
             std::string(texts.eta_lookup) + FormatFixed(eta_, 2));
        const float m = GlassMomentCoefficient(ToSingle(a), LongSide());
        out.m = m;
        Line("   m:玻璃板的弯矩系数(按边长比a/b查表6.1.2-1)",
             FormatFixed(m, edition_.glass_m_decimals));
        Line(!category.two_panes && !edition_.single_pane_stress_lead.empty()
                 ? edition_.single_pane_stress_lead
                 : texts.stress_lead);
        Line(std::string(texts.sigma_caption));
        Line("       =6×", FormatFixed(m, 4), "×", w_thousand, "×", GeneralText(a),
             "^2×" + FormatFixed(eta_, 2), "/", GeneralText(t), "^2/1000000");
        const double sigma_wk = StressStandardValue(m, load, a, t);
        out.sigma_wk = sigma_wk;
        Line("       =", FormatFixed(sigma_wk, 3), "N/mm^2");
        Line("   σ=", edition_.gamma_text, "×σwk");
        Line("     =", edition_.gamma_text, "×", FormatFixed(sigma_wk, 3));
        const float sigma = ToSingle(DesignValue(edition_, sigma_wk));
        out.sigma = sigma;
        Line("     =", FormatFixed(sigma, 3), "N/mm^2");
        out.ok = WriteStrengthVerdict(texts, DesignProduct(edition_, sigma_wk), sigma, fg);
    }

    float Theta(double w, double a, double t) const {
        const double load = Div(w, 1000.0);
        const double numerator = Mul(load, Pow(a, 4));
        const double denominator = Mul(rules_.elastic_modulus, Pow(t, 4));
        return ToSingle(RoundN(Div(numerator, denominator), 4));
    }

    double StressStandardValue(float m, const PaneLoad& load, double a, double t) const {
        double x = Mul(Mul(Mul(6.0, m), load.w), 1000.0);
        if (load.single)
            x = ToSingle(x);
        x = Mul(x, Pow(a, 2));
        x = Mul(x, eta_);
        x = Div(x, Pow(t, 2));
        return RoundN(Div(x, 1000000.0), 3);
    }

    // Decided on γw × σwk before σ's rounding.
    bool WriteStrengthVerdict(const PaneSectionTexts& texts, double product, float sigma,
                              float fg) {
        const ShownComparison shown =
            CompareShown(product, fg, GeneralText(sigma), GeneralText(fg), 3);
        const bool satisfied = shown.within;
        const std::string comparison =
            shown.value + (satisfied ? "N/mm^2≤ｆg=" : "N/mm^2＞ｆg=") + shown.limit + "N/mm^2";
        Line(std::string(texts.verdict_lead), comparison);
        Line(std::string(satisfied ? texts.satisfied : texts.not_satisfied));
        AppendBoxLine(box_, std::string(texts.verdict_lead.substr(3)) + comparison +
                                (satisfied ? "强度满足要求!" : "强度不满足要求!"));
        return satisfied;
    }

    void WriteDeflectionSection(const GlassCategory& category) {
        Line("");
        Line(std::string(category.deflection_heading));
        if (category.two_panes) {
            Line("   t1: 外片玻璃厚度:", GeneralText(t1_.Get()), "mm");
            Line("   t2: 内片玻璃厚度:", GeneralText(t2_.Get()), "mm");
            Line(std::string(category.te_caption));
        } else {
            Line("   t1: 玻璃厚度:", GeneralText(t1_.Get()), "mm");
        }
        Line("   Wk:垂直于玻璃平面的风荷载标准值(kN/m^2)");
        Line("   df: 在风荷载标准值作用下挠度最大值(mm)");
        Line(std::string(category.rigidity_caption));
        Line("   ν: 泊松比，按《玻璃幕墙工程技术规范》JGJ102-2003中5.2.9条采用，取值为 0.20");
        Line("   μ: 挠度系数");
        Line("   η: 折减系数，可由参数θ按《玻璃幕墙工程技术规范》JGJ102-2003表6.1.2-2采用");
        Line("   E: 玻璃的弹性模量:", GeneralText(rules_.elastic_modulus), "N/mm^2");

        double thickness = t1_.Get();
        std::string thickness_text = GeneralText(thickness);
        if (category.two_panes) {
            Line(std::string(category.te_formula));
            Line(std::string(category.te_substitution_lead), GeneralText(t1_.Get()),
                 "^3+" + GeneralText(t2_.Get()), std::string(category.te_substitution_tail));
            thickness = EquivalentThickness(category);
            thickness_text = FormatFixed(thickness, 2);
            Line("     =", thickness_text, "mm");
        }
        Line(std::string(category.rigidity_formula));
        Line("    =(", GeneralText(rules_.elastic_modulus), "×", thickness_text,
             "^3)/12/(1-" + GeneralText(rules_.poisson), "^2)");
        result_.te_mm = thickness;
        const float d = Rigidity(thickness);
        result_.rigidity = d;
        Line("    =", FormatFixed(d, 3), "N·mm");

        const double a = ShortSide();
        if (category.two_panes ||
            edition_.single_pane_deflection == SinglePaneDeflection::OwnSection) {
            WriteDeflectionEta(category, a, thickness, thickness_text);
        } else {
            result_.deflection_theta = result_.panes[0].theta;
            result_.deflection_eta = eta_;
        }
        const float mu = GlassDeflectionCoefficient(ToSingle(a), LongSide());
        result_.mu = mu;
        Line("   μ: 挠度系数(按边长比a/b查表6.1.3)", FormatFixed(mu, 5));
        Line("   df=μ×Wk×a^4×η/D");
        Line("     =", GeneralText(mu), "×", GeneralText(Mul(wk_, 1000.0)), "×" + GeneralText(a),
             "^4×", GeneralText(eta_), "/", GeneralText(d), "/1000000");
        const double df_unrounded = Deflection(mu, a, d);
        const float df = ToSingle(RoundN(df_unrounded, 2));
        result_.df = df;
        Line("     =", GeneralText(df), "mm");
        WriteDeflectionVerdict(df_unrounded, df, a);
    }

    // η of the deflection from its own θ, with the whole Wk on the thickness te (or t1).
    void WriteDeflectionEta(const GlassCategory& category, double a, double thickness,
                            const std::string& thickness_text) {
        const std::string t_name = category.two_panes ? "te" : "t1";
        Line("   θ=Wk×a^4/(E×", t_name, "^4)");
        Line("     =", GeneralText(Mul(wk_, 1000.0)), "×", GeneralText(a), "^4/(",
             GeneralText(rules_.elastic_modulus) + "×", thickness_text, "^4)/1000000");
        const float theta = Theta(wk_, a, thickness);
        Line("     =", FormatFixed(theta, 4));
        eta_ = GlassReductionFactor(theta);
        Line("   η: 折减系数，按θ=", FormatFixed(theta, 4),
             "查表6.1.2-2得η=", FormatFixed(eta_, 2));
        result_.deflection_theta = theta;
        result_.deflection_eta = eta_;
    }

    // te is not rounded (JGJ 102-2003 6.1.4, 6.1.5): a whole millimetre would stiffen 6+6 glass
    // by 15 %.
    double EquivalentThickness(const GlassCategory& category) {
        const double t1_cube = Pow(t1_.Get(), 3);
        const double t2_cube = Pow(t2_.Get(), 3);
        const double root = Pow(Add(t1_cube, t2_cube), 1.0 / 3.0);
        return Mul(category.te_factor, root);
    }

    float Rigidity(double thickness) const {
        const double x = Div(Mul(Pow(thickness, 3), rules_.elastic_modulus), 12.0);
        const double poisson_term = Sub(1.0, Pow(rules_.poisson, 2));
        return ToSingle(RoundN(Div(x, poisson_term), 3));
    }

    // df before its rounding to 2 decimals.
    double Deflection(float mu, double a, float d) const {
        double x = Mul(Mul(mu, wk_), 1000.0);
        x = Mul(x, Pow(a, 4));
        x = Mul(x, eta_);
        x = Div(x, d);
        return Div(x, 1000000.0);
    }

    void WriteDeflectionVerdict(double df_unrounded, float df, double a) {
        const double limit = Div(a, rules_.deflection_divisor);
        const ShownComparison shown =
            CompareShown(df_unrounded, limit, GeneralText(df), GeneralText(RoundN(limit, 2)), 2);
        const bool satisfied = shown.within;
        result_.df_limit = limit;
        result_.deflection_ok = satisfied;
        const std::string fraction = "1/" + GeneralText(rules_.deflection_divisor);
        const std::string text =
            "玻璃的最大挠度df=" + shown.value +
            (satisfied ? "mm,小于或等于玻璃短边边长的" : "mm,大于玻璃短边边长的") + fraction + ":" +
            shown.limit + "mm";
        const std::string verdict = satisfied ? "玻璃的挠度满足!" : "玻璃的挠度不满足!";
        Line("   由于", text);
        Line("   ", verdict);
        AppendBoxLine(box_, text + verdict);
    }

    const GlassInput& input_;
    const CodeEdition& edition_;
    const GlassRules& rules_;
    const double wk_;
    ReportLines& report_;
    std::string& box_;
    LazyNumber width_;
    LazyNumber height_;
    LazyNumber t1_;
    LazyNumber t2_;
    std::optional<float> long_side_;
    float eta_ = 0.0f;
    GlassResult result_;
};

}  // namespace

GlassResult CalcGlass(const GlassInput& input, const SharedValues& shared, ReportLines& report,
                      std::string& result_box) {
    return GlassCheck(input, shared, report, result_box).Run();
}

bool IsInsulating(const GlassInput& input) {
    return ParseGlassCategory(input.category) == GlassKind::Insulating;
}

}  // namespace quoinry
