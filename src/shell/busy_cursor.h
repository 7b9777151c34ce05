#pragma once

#include <QGuiApplication>

namespace quoinry::shell {

// The wait cursor while a long step runs (writing and opening the calculation document); the
// cursor comes back when this goes, also when the step fails.
class BusyCursor {
  public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace quoinry::shell
