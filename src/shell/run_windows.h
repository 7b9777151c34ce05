#pragma once

namespace quoinry::shell {

// Starts the windows: the application, the main window and its event loop. Returns the exit
// status.
int RunWindows(int argc, char** argv);

}  // namespace quoinry::shell
