#pragma once

namespace quoinry::platform {

// Whether windows can be shown: a display (DISPLAY or WAYLAND_DISPLAY) or a Qt platform named in
// QT_QPA_PLATFORM.
bool DisplayAvailable();

}  // namespace quoinry::platform
