#include "glass/glass_texts.h"

#include <array>

namespace quoinry {
namespace {

constexpr std::string_view kLookup = "查表6.1.2-2得η=";

constexpr PaneSectionTexts OuterPane(std::string_view share_caption, std::string_view share_formula,
                                     std::string_view glass) {
    return {
        "(2).外侧玻璃强度校核:",
        share_caption,
        "   σ: 外侧玻璃所受应力值(N/mm^2)",
        "   t1: 外片玻璃厚度:",
        share_formula,
        "   θ=Wk1×a^4/(E×t1^4)",
        "   σwk=6×m×Wk1×a^2×η/t1^2",
        "   外侧玻璃最大应力设计值σ=",
        glass == "中空" ? "   中空玻璃外侧玻璃强度满足要求!" : "   夹层玻璃外侧玻璃强度满足要求!",
        glass == "中空" ? "   中空玻璃外侧玻璃强度不满足要求!"
                        : "   夹层玻璃外侧玻璃强度不满足要求!",
        kLookup,
        "   外侧玻璃校核依据: σ≤ｆg=",
        "   在风荷载作用下外侧玻璃最大应力标准值"};
}

constexpr PaneSectionTexts InnerPane(std::string_view share_caption, std::string_view glass,
                                     std::string_view eta_lookup) {
    return {
        "(3).内侧玻璃强度校核:",
        share_caption,
        "   σ: 内侧玻璃所受应力值(N/mm^2)",
        "   t2: 内片玻璃厚度:",
        "   Wk2=Wk×t2^3/(t1^3+t2^3)",
        "   θ=Wk2×a^4/(E×t2^4)",
        "   σwk=6×m×Wk2×a^2×η/t2^2",
        "   内侧玻璃最大应力设计值σ=",
        glass == "中空" ? "   中空玻璃内侧玻璃强度满足要求!" : "   夹层玻璃内侧玻璃强度满足要求!",
        glass == "中空" ? "   中空玻璃内侧玻璃强度不满足要求!"
                        : "   夹层玻璃内侧玻璃强度不满足要求!",
        eta_lookup,
        "   内侧玻璃校核依据: σ≤ｆg=",
        "   在风荷载作用下内侧玻璃最大应力标准值"};
}

constexpr PaneSectionTexts kSinglePane = {"(2).玻璃强度校核:",
                                          "",
                                          "   σ: 玻璃所受应力值(N/mm^2)",
                                          "   t1: 玻璃厚度:",
                                          "",
                                          "   θ=Wk×a^4/(E×t1^4)",
                                          "   σwk=6×m×Wk×a^2×η/t1^2",
                                          "   玻璃最大应力设计值σ=",
                                          "   玻璃强度满足要求!",
                                          "   玻璃强度不满足要求!",
                                          kLookup,
                                          "   玻璃校核依据: σ≤ｆg=",
                                          "   在风荷载作用下玻璃最大应力标准值"};

constexpr std::array<GlassCategory, 3> kCategories = {{
    {GlassKind::Insulating, true, 1.1, "1.1×", 0.95,
     OuterPane("   Wk1:中空玻璃分配到外侧玻璃的风荷载标准值 (kN/m^2)",
               "   Wk1=1.1×Wk×t1^3/(t1^3+t2^3)", "中空"),
     InnerPane("   Wk2:中空玻璃分配到内侧玻璃的风荷载标准值 (kN/m^2)", "中空", kLookup),
     "(4).玻璃挠度校核:", "   te: 中空玻璃等效厚度(mm)", "   te=0.95×(t1^3+t2^3)^(1/3)",
     "     =0.95×(", "^3)^(1/3)", "   D: 玻璃的刚度(N·mm)", "   D=(E×te^3)/12/(1-ν^2)"},
    {GlassKind::Single, false, 1.0, "", 1.0, kSinglePane, kSinglePane, "(3).玻璃挠度校核:", "", "",
     "", "", "   D: 玻璃的刚度(N.mm)", "   D=(E×t1^3)/12/(1-ν^2)"},
    {GlassKind::Laminated, true, 1.0, "", 1.0,
     OuterPane("   Wk1:夹层玻璃分配到外侧玻璃的风荷载标准值 (kN/m^2)", "   Wk1=Wk×t1^3/(t1^3+t2^3)",
               "夹层"),
     InnerPane("   Wk2:夹层玻璃分配到内侧玻璃的风荷载标准值 (kN/m^2)", "夹层", "θ查表6.1.2-2得η="),
     "(4).玻璃挠度校核:", "   te: 夹层玻璃等效厚度(mm)", "   te=(t1^3+t2^3)^(1/3)", "     =(",
     "^3)^(1/3)", "   D: 玻璃的刚度(N.mm)", "   D=(E×te^3)/12/(1-ν^2)"},
}};

}  // namespace

const GlassCategory* FindGlassCategory(std::string_view text) {
    const std::optional<GlassKind> kind = ParseGlassCategory(text);
    if (!kind)
        return nullptr;
    for (const GlassCategory& category : kCategories) {
        if (category.kind == *kind)
            return &category;
    }
    return nullptr;
}

}  // namespace quoinry
