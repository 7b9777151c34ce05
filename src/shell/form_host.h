#pragma once

#include <functional>

#include "design/design_model.h"
#include "shell/shell_services.h"

class QWidget;

namespace quoinry::shell {

// What a child window needs from the main window that holds it.
class FormHost {
  public:
    virtual ~FormHost() = default;

    // The open design, which the calculation windows show and edit.
    virtual DesignModel& Model() = 0;
    virtual ShellServices& Services() = 0;
    // Places a child window in the middle of the main window's client area.
    virtual void CenterInMainWindow(QWidget* form) = 0;
    // "下一步" of the wind and glass window.
    virtual void ShowMemberForm() = 0;
    // Opens a project's position in the calculation windows (after asking about unsaved
    // changes of the open design); 保存 then hands it to `write_back`. False when the user kept
    // the open design.
    virtual bool EditPosition(Design design, std::function<void(const Design&)> write_back) = 0;
};

}  // namespace quoinry::shell
