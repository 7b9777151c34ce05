#include "cli/commands.h"
#include "shell/run_windows.h"

// Without arguments the windows open; with a command, or without a display, the program is the
// command line and needs no display.
int main(int argc, char** argv) {
    if (argc <= 1 && quoinry::shell::DisplayAvailable())
        return quoinry::shell::RunWindows(argc, argv);
    return quoinry::cli::Main(argc, argv);
}
