#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string_view>
#include <vector>

#include "design/input_check.h"
#include "shell/form_host.h"

namespace quoinry::shell {

// The boxes of one window whose inputs a calculation refused: framed in red until their text
// changes, the first with the focus, so that the user sees what the message names.
class RefusedBoxes {
  public:
    // `section`: the inputs this window shows ("glass" or "gj").
    RefusedBoxes(QWidget* form, std::string_view section) : form_(form), section_(section) {}
    RefusedBoxes(const RefusedBoxes&) = delete;
    RefusedBoxes& operator=(const RefusedBoxes&) = delete;

    // Runs a calculation step as Reported() does. The marks of the last run go first; the boxes
    // of the inputs the step refuses are marked once the message is closed. True on success.
    bool Run(FormHost& host, const std::function<void()>& step);
    // Marks the boxes of the refusals of this window's section; the first gets the focus.
    void Mark(const std::vector<InputRefusal>& refusals);
    void ClearAll();
    bool IsMarked(const QWidget* box) const;

  private:
    struct Marked {
        QPointer<QWidget> box;
        std::vector<QMetaObject::Connection> edits;
    };
    void Clear(QWidget* box);

    QWidget* form_;
    std::string_view section_;
    std::vector<Marked> marked_;
};

}  // namespace quoinry::shell
