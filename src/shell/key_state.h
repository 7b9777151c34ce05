#pragma once

#include <QObject>

namespace quoinry::shell {

inline constexpr int kVirtualKeyRightButton = 2;
inline constexpr int kVirtualKeyEscape = 27;

// True when the key or mouse button with this virtual-key code is down now or was pressed since
// the previous query of that code. Only Escape (27) and the right mouse button (2) are watched,
// the two the region picker asks about; any other code is false.
bool IsKeyDown(int virtual_key);

// Watches the application's key and mouse events for IsKeyDown; installed once, on the
// application, by whoever creates it.
class KeyStateWatcher : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quoinry::shell
