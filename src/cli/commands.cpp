#include "cli/commands.h"

#include <iostream>

namespace quoinry::cli {

int Main(int, char**) {
    std::cout << "quoinry\n";
    return 0;
}

}  // namespace quoinry::cli
