#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/numbers.h"

namespace quoinry {

// A control's text read by the leading-number rule the first time a calculation needs it, so
// that a text beyond the double range fails just before the line that first uses it.
class LazyNumber {
  public:
    explicit LazyNumber(std::string_view text) : text_(text) {}

    double Get() {
        if (!value_)
            value_ = ParseLeading(text_);
        return *value_;
    }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
    std::optional<double> value_;
};

}  // namespace quoinry
