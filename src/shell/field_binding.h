#pragma once

#include <QWidget>
#include <string_view>

#include "design/design_model.h"

namespace quoinry::shell {

// The boxes of one settings section in a window, tied to the open design through the table of
// inputs: Show() puts the design's texts into the boxes, and every later change of a box, by the
// user or by a handler, goes into the design.
class FieldBinding {
  public:
    FieldBinding(QWidget* form, std::string_view section, DesignModel& model)
        : form_(form), section_(section), model_(model) {}

    // Ties the boxes, once the window has built them, to the design.
    void Connect();
    void Show();
    // Changes made while one of these lives stay in the boxes only (filling lists, loading).
    class Quiet {
      public:
        explicit Quiet(FieldBinding& binding) : binding_(binding), was_(binding.quiet_) {
            binding_.quiet_ = true;
        }
        ~Quiet() { binding_.quiet_ = was_; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

      private:
        FieldBinding& binding_;
        bool was_;
    };

  private:
    void Store(const InputField& field, const std::string& text);

    QWidget* form_;
    std::string_view section_;
    DesignModel& model_;
    bool quiet_ = false;
};

}  // namespace quoinry::shell
