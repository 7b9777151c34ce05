#include <iostream>

#include "cli/commands.h"

namespace quoinry::cli {

int RunCommand(const std::vector<std::string>&) {
    std::cerr << "quoinry run: not yet available\n";
    return 2;
}

}  // namespace quoinry::cli
