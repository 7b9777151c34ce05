#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>
#include <QPointer>
#include <QToolBar>
#include <array>
#include <functional>

#include "shell/form_host.h"

class QMdiSubWindow;

namespace quoinry::shell {

// The client area with the background picture drawn to its size.
class BackgroundArea : public QMdiArea {
  public:
    explicit BackgroundArea(QWidget* parent = nullptr) : QMdiArea(parent) {}
    void SetPicture(const QPixmap& picture);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

// "Quoinry V2.0版": the frame of the program with its toolbar; holds the working windows and the
// values a design run hands from one window to the next.
class MainForm : public QMainWindow, public FormHost {
  public:
    enum class Form { Wind, Member, Profiles, About };

    explicit MainForm(ShellServices& services, QWidget* parent = nullptr);

    // Brings an open window forward, or loads a new one.
    QWidget* ShowForm(Form form);
    QToolBar* Toolbar() const { return toolbar_; }

    SharedValues& Shared() override { return shared_; }
    ShellServices& Services() override { return services_; }
    void CenterInMainWindow(QWidget* form) override;
    void ShowMemberForm() override { ShowForm(Form::Member); }

  private:
    void BuildToolbar();
    void OpenHelp();

    ShellServices& services_;
    SharedValues shared_;
    BackgroundArea* area_;
    QToolBar* toolbar_;
    std::array<QPointer<QMdiSubWindow>, 4> windows_;
};

}  // namespace quoinry::shell
