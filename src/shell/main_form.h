#pragma once

#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QToolBar>
#include <array>
#include <functional>

#include "shell/background_area.h"
#include "shell/form_host.h"

class QMdiSubWindow;

namespace quoinry::shell {

class ProjectForm;

// "Quoinry V2.0版": the frame of the program with its toolbar and its 文件 menu; holds the open
// design, which the working windows show, and the working windows.
class MainForm : public QMainWindow, public FormHost {
  public:
    enum class Form { Wind, Member, Profiles, About, Project };

    explicit MainForm(ShellServices& services, QWidget* parent = nullptr);
    ~MainForm() override;

    // Brings an open window forward, or loads a new one.
    QWidget* ShowForm(Form form);
    QToolBar* Toolbar() const { return toolbar_; }

    DesignModel& Model() override { return model_; }
    ShellServices& Services() override { return services_; }
    void CenterInMainWindow(QWidget* form) override;
    void ShowMemberForm() override { ShowForm(Form::Member); }
    bool EditPosition(Design design, std::function<void(const Design&)> write_back) override;

    // The 文件 menu's commands. 新建 takes the inputs the windows last computed with (info.ini).
    void NewDesign();
    void OpenDesign();
    bool OpenDesignFile(const std::filesystem::path& file);
    bool SaveDesign();
    bool SaveDesignAs();
    void EditDesignInfo();
    // 保存, 撤销 and 重做 act on the project when its window is the active one, else on the
    // design.
    bool Save();
    void Undo();
    void Redo();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildToolbar();
    void BuildMenu();
    void FillRecentMenu();
    void OpenHelp();
    void Quit();
    // Asks what to do with unsaved changes; false when the user cancels (or saving failed).
    bool MaySetDesignAside();
    // Closes the project window, which asks about its unsaved changes; false when it stays.
    bool MayCloseProject();
    // Shows a new or opened design: the calculation windows close, the wind window opens.
    void ShowNewDesign();
    void DesignChanged();
    // The project window when it is the active window, else nullptr.
    ProjectForm* ActiveProject() const;
    // Undo (back) or redo in the active project, else in the design.
    void Step(bool back);
    // After an undone step: the open windows show the design's inputs again.
    void ShowDesignAgain();

    ShellServices& services_;
    DesignModel model_;
    BackgroundArea* area_;
    QToolBar* toolbar_;
    QMenu* recent_menu_ = nullptr;
    QAction* undo_action_ = nullptr;
    QAction* redo_action_ = nullptr;
    std::array<QPointer<QMdiSubWindow>, 5> windows_;
};

}  // namespace quoinry::shell
