#include "common/shown_comparison.h"

#include <cmath>
#include <cstdlib>

#include "common/numbers.h"

namespace quoinry {
namespace {

bool WithinLimit(double value, double limit) {
    return value - limit <= 1e-12 * std::fmax(1.0, std::fabs(limit));
}

// Whether the printed numbers stand in the relation the values stand in.
bool ShowsRelation(const std::string& value, const std::string& limit, bool within) {
    const double shown_value = std::strtod(value.c_str(), nullptr);
    const double shown_limit = std::strtod(limit.c_str(), nullptr);
    return within ? shown_value <= shown_limit : shown_value > shown_limit;
}

}  // namespace

ShownComparison CompareShown(double value, double limit, std::string value_text,
                             std::string limit_text, int decimals) {
    ShownComparison shown{WithinLimit(value, limit), std::move(value_text), std::move(limit_text)};
    for (int more = decimals + 1;
         more <= 12 && !ShowsRelation(shown.value, shown.limit, shown.within); ++more) {
        shown.value = FormatFixed(value, more);
        shown.limit = FormatFixed(limit, more);
    }
    return shown;
}

}  // namespace quoinry
