#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "design/design_run.h"

namespace quoinry {

// The results of a design run as one JSON object (UTF-8, one line):
//   {"edition": "2001",
//    "wind": {"w0", "mu_z", "beta_gz", "mu_s", "wk", "gamma", "w"},
//    "glass": {"panes": [{"sigma", "fg", "ok"}, ...], "df", "df_limit", "ok"},
//    "member": {"sigma", "fa", "tau", "tau_d", "du", "u_span_limit", "umax", "u_limit", "ok"},
//    "ok"}
// Every number is written as the report prints it (w0 with 2 decimals, wk with 3, ...): a reader
// gets the report's numbers, never float noise. kN/m^2, N/mm^2 and mm. "member" is left out for a
// design without one; a glass category the check does not know gives no panes and null df.
// The run must have ended without error.
std::string ResultsJson(const DesignRunResult& result);

// A JSON string of any UTF-8 text (quotes, backslashes and control characters escaped).
std::string JsonQuoted(std::string_view text);

// One number of a result as the report prints it, under its JSON name; empty when the step did
// not make it (df of a glass category the check does not know).
struct Figure {
    std::string_view name;
    std::string text;
};
using Figures = std::vector<Figure>;

// The numbers of each result in the order of the JSON object; the summary of a batch shows
// the same texts.
// Edition 2012 adds beta_gz_floor and mu_sl to the wind, area, mu_sl and wk before the member's.
Figures WindFigures(const WindLoadResult& wind);  // w0, mu_z, beta_gz, mu_s, wk, gamma, w
Figures PaneFigures(const PaneResult& pane);      // sigma, fg
Figures GlassFigures(const GlassResult& glass);   // df, df_limit
Figures MemberFigures(
    const MemberResult& member);  // sigma, fa, tau, tau_d, du, u_span_limit, umax, u_limit

// The text of the figure `name` among `figures`; empty when there is none. The summaries and the
// project window show their numbers through this, so that they read as --json prints them.
std::string FigureText(const Figures& figures, std::string_view name);

// {"error": "<description>"}
std::string ErrorJson(std::string_view description);

}  // namespace quoinry
