#pragma once

#include <stdexcept>

namespace quoinry {

// A batch that cannot go on: its output folder or summary cannot be written. The message says
// which file and why.
class BatchError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace quoinry
