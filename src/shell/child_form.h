#pragma once

#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
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
    // The design's inputs changed other than through this window's boxes (an undone step):
    // the boxes show them again.
    virtual void ShowDesign() {}

  protected:
    // Closes the window and its frame inside the main window.
    void Unload() {
        if (parentWidget() != nullptr)
            parentWidget()->close();
        else
            close();
    }

    // The button Enter presses: a window inside the main window is no dialog, which would do
    // that by itself.
    void SetDefaultButton(QPushButton* button) {
        default_button_ = button;
        button->setDefault(true);
    }

    // Enter that no box took (a text box or a list passes it on) presses the default button.
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && default_button_ && default_button_->isEnabled()) {
            default_button_->click();
            return;
        }
        QWidget::keyPressEvent(event);
    }

  private:
    QPointer<QPushButton> default_button_;
};

}  // namespace quoinry::shell
