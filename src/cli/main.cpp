#include "cli/commands.h"
#include "platform/display.h"

// Without arguments the windows open; with a command, or without a display, the program is the
// command line and needs no display.
int main(int argc, char** argv) {
    if (argc <= 1 && quoinry::platform::DisplayAvailable())
        return quoinry::cli::QtModuleCommand("windows", {});
    return quoinry::cli::Main(argc, argv);
}
