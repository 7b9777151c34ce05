#pragma once

#include <string>

namespace quoinry {

// A check's value against its limit as a verdict line shows them. The verdict is decided on the
// values themselves (a difference below a millionth of a millionth of the limit, the noise of
// binary arithmetic, counts as equal); the texts are the report's usual ones unless those would
// show the wrong relation (the same number where the value exceeds the limit), and then both
// with as many more decimals as it takes.
struct ShownComparison {
    bool within = false;  // value ≤ limit
    std::string value;
    std::string limit;
};

ShownComparison CompareShown(double value, double limit, std::string value_text,
                             std::string limit_text, int decimals);

}  // namespace quoinry
