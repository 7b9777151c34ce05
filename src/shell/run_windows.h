#pragma once

namespace quoinry::shell {

// Whether the windows can be shown: a display (DISPLAY or WAYLAND_DISPLAY) or a Qt platform
// named in QT_QPA_PLATFORM.
bool DisplayAvailable();

// Starts the windows: the application, the main window and its event loop. Returns the exit
// status.
int RunWindows(int argc, char** argv);

}  // namespace quoinry::shell
