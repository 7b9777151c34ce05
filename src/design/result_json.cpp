#include "design/result_json.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "common/numbers.h"
#include "edition/code_edition.h"

namespace quoinry {
namespace {

// Members in order; each value is already JSON text.
using Members = std::vector<std::pair<std::string_view, std::string>>;

std::string Object(const Members& members) {
    std::string out = "{";
    for (const auto& [name, value] : members) {
        if (out.size() > 1)
            out += ", ";
        out += JsonQuoted(name) + ": " + value;
    }
    return out + "}";
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

// The figures as JSON members; an empty text (a figure the check did not make) is null.
Members JsonMembers(const Figures& figures) {
    Members members;
    for (const Figure& figure : figures)
        members.emplace_back(figure.name, figure.text.empty() ? "null" : figure.text);
    return members;
}

std::string WindJson(const WindLoadResult& wind) {
    return Object(JsonMembers(WindFigures(wind)));
}

std::string GlassJson(const GlassResult& glass) {
    std::string panes = "[";
    for (int i = 0; i < glass.pane_count; ++i) {
        if (i > 0)
            panes += ", ";
        Members pane = JsonMembers(PaneFigures(glass.panes[i]));
        pane.emplace_back("ok", Bool(glass.panes[i].ok));
        panes += Object(pane);
    }
    panes += "]";
    Members members = {{"panes", panes}};
    for (auto& member : JsonMembers(GlassFigures(glass))) members.push_back(std::move(member));
    members.emplace_back("ok", Bool(glass.ok));
    return Object(members);
}

std::string MemberJson(const MemberResult& member) {
    Members members = JsonMembers(MemberFigures(member));
    members.emplace_back("ok", Bool(member.ok));
    return Object(members);
}

}  // namespace

std::string JsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";  // a refusal's description has one line per refused input
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The reports' fixed patterns ("0.000") and general number texts ("1.5", "1.715E+07") are JSON
// numbers as they stand.
Figures WindFigures(const WindLoadResult& wind) {
    if (ByTables(EditionOf(wind))) {
        const WindFactors& f = wind.factors;
        return {{"w0", GeneralText(wind.w0)},
                {"mu_z", FormatFixed(f.mu_z, 3)},
                {"beta_gz", FormatFixed(f.beta_gz, 3)},
                {"beta_gz_floor", FormatFixed(wind.beta_gz_floor, 3)},
                {"mu_s", GeneralText(f.mu_external)},
                {"mu_sl", GeneralText(wind.mu_sl)},
                {"wk", FormatFixed(wind.wk, 3)},
                {"gamma", GeneralText(wind.gamma)},
                {"w", FormatFixed(wind.w, 3)}};
    }
    return {{"w0", FormatFixed(wind.w0, 2)},
            {"mu_z", FormatFixed(wind.mu_z, 3)},
            {"beta_gz", FormatFixed(wind.beta_gz, 3)},
            {"mu_s", GeneralText(wind.mu_s)},
            {"wk", FormatFixed(wind.wk, 3)},
            {"gamma", GeneralText(wind.gamma)},
            {"w", FormatFixed(wind.w, 3)}};
}

Figures PaneFigures(const PaneResult& pane) {
    return {{"sigma", FormatFixed(pane.sigma, 3)}, {"fg", GeneralText(pane.fg)}};
}

Figures GlassFigures(const GlassResult& glass) {
    const bool checked = glass.category_known;
    return {{"df", checked ? GeneralText(glass.df) : ""},
            {"df_limit", checked ? GeneralText(RoundN(glass.df_limit, 2)) : ""}};
}

Figures MemberFigures(const MemberResult& member) {
    Figures figures;
    if (member.own_wind) {
        figures = {{"area", FormatFixed(member.area_m2, 3)},
                   {"mu_sl", GeneralText(member.mu_sl)},
                   {"wk", FormatFixed(member.wk, 3)}};
    }
    const Figures checks = {{"sigma", FormatFixed(member.sigma, 3)},
                            {"fa", FormatFixed(member.fa, 3)},
                            {"tau", FormatFixed(member.tau, 3)},
                            {"tau_d", FormatFixed(member.tau_d, 3)},
                            {"du", FormatFixed(member.du, 4)},
                            {"u_span_limit", FormatFixed(member.u_span_limit, 3)},
                            {"umax", FormatFixed(member.umax, 3)},
                            {"u_limit", GeneralText(member.u_limit)}};
    figures.insert(figures.end(), checks.begin(), checks.end());
    return figures;
}

std::string ResultsJson(const DesignRunResult& result) {
    const CodeEdition& edition = result.wind ? EditionOf(*result.wind) : EditionOfUnnamed();
    Members members = {{"edition", JsonQuoted(edition.id)}};
    bool ok = true;
    if (result.wind)
        members.emplace_back("wind", WindJson(*result.wind));
    if (result.glass) {
        members.emplace_back("glass", GlassJson(*result.glass));
        ok = ok && result.glass->ok;
    }
    if (result.member) {
        members.emplace_back("member", MemberJson(*result.member));
        ok = ok && result.member->ok;
    }
    if (result.wind && result.wind->grade > 0)
        members.emplace_back("grade", std::to_string(result.wind->grade));
    members.emplace_back("ok", Bool(ok));
    return Object(members);
}

std::string FigureText(const Figures& figures, std::string_view name) {
    for (const Figure& figure : figures) {
        if (figure.name == name)
            return figure.text;
    }
    return {};
}

std::string ErrorJson(std::string_view description) {
    return Object({{"error", JsonQuoted(description)}});
}

}  // namespace quoinry
