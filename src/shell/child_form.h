#pragma once

#include <QWidget>

namespace quoinry::shell {

// A working window inside the main window.
class ChildForm : public QWidget {
  public:
    using QWidget::QWidget;

    // The load handler; runs once each time the window is opened.
    virtual void Load() = 0;
    // The open design, its file or its results changed: buttons and labels follow.
    virtual void DesignChanged() {}

  protected:
    // Closes the window and its frame inside the main window.
    void Unload() {
        if (parentWidget() != nullptr)
            parentWidget()->close();
        else
            close();
    }
};

}  // namespace quoinry::shell
