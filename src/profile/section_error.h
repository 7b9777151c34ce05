#pragma once

#include <stdexcept>
#include <string>

namespace quoinry::profile {

// A drawing that cannot be measured; the UTF-8 message says what and where.
class SectionError : public std::runtime_error {
  public:
    explicit SectionError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace quoinry::profile
