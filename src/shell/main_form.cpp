#include "shell/main_form.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QPainter>

#include "common/program_dir.h"
#include "shell/about_form.h"
#include "shell/form_helpers.h"
#include "shell/gj_form.h"
#include "shell/pictures.h"
#include "shell/win_form.h"
#include "shell/xc_form.h"

namespace quoinry::shell {
namespace {

ChildForm* NewForm(MainForm::Form form, MainForm& host) {
    switch (form) {
        case MainForm::Form::Wind:
            return new WinForm(host);
        case MainForm::Form::Member:
            return new GjForm(host);
        case MainForm::Form::Profiles:
            return new XcForm(host);
        case MainForm::Form::About:
            break;
    }
    return new AboutForm(host);
}

}  // namespace

void BackgroundArea::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    viewport()->update();
}

void BackgroundArea::paintEvent(QPaintEvent* event) {
    if (picture_.isNull()) {
        QMdiArea::paintEvent(event);
        return;
    }
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(viewport()->rect(), picture_);
}

MainForm::MainForm(ShellServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("mainForm"));
    setWindowTitle(QStringLiteral("Quoinry V2.0版"));
    setWindowIcon(ToolbarIcon(2));
    area_ = new BackgroundArea(this);
    area_->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(area_);
    // A missing or unreadable picture leaves the background empty.
    area_->SetPicture(
        QPixmap(QString::fromStdString((ProgramDirectory() / "pic" / "1.jpg").string())));
    BuildToolbar();
    resize(1180, 860);
}

void MainForm::BuildToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(32, 32));
    const std::array<std::pair<const char*, std::function<void()>>, 5> buttons = {{
        {"新建文件", [this] { ShowForm(Form::Wind); }},
        {"型材管理", [this] { ShowForm(Form::Profiles); }},
        {"关于软件", [this] { ShowForm(Form::About); }},
        {"帮助文件", [this] { OpenHelp(); }},
        {"退出系统", [this] { services_.Quit(); }},
    }};
    int index = 1;
    for (const auto& [caption, action] : buttons) {
        QAction* button = toolbar_->addAction(ToolbarIcon(index), QString::fromUtf8(caption));
        button->setObjectName(QStringLiteral("Button%1").arg(index));
        button->setToolTip(QString::fromUtf8(caption));
        connect(button, &QAction::triggered, this, action);
        ++index;
    }
}

QWidget* MainForm::ShowForm(Form form) {
    QPointer<QMdiSubWindow>& window = windows_[static_cast<std::size_t>(form)];
    // A window closed a moment ago may still wait for its deletion.
    if (window && window->isVisible()) {
        window->showNormal();
        area_->setActiveSubWindow(window);
        window->raise();
        return window->widget();
    }
    ChildForm* widget = NewForm(form, *this);
    window = area_->addSubWindow(widget);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(widget->windowTitle());
    window->setWindowIcon(windowIcon());
    window->adjustSize();
    window->show();
    widget->Load();
    return widget;
}

void MainForm::CenterInMainWindow(QWidget* form) {
    QWidget* window = form->parentWidget() != nullptr ? form->parentWidget() : form;
    const QSize client = area_->viewport()->size();
    // A window larger than the client area keeps its caption reachable.
    window->move(std::max(0, (client.width() - window->width()) / 2),
                 std::max(0, (client.height() - window->height()) / 2));
}

void MainForm::OpenHelp() {
    const auto chm = ProgramDirectory() / "help.chm";
    std::error_code ignored;
    const auto help = std::filesystem::is_regular_file(chm, ignored)
                          ? chm
                          : ProgramDirectory() / "help" / "index.html";
    if (!services_.OpenFile(help)) {
        ShowInformation(*this, this,
                        Q("没有找到打开帮助文件的浏览器。帮助文件在 " + help.string() +
                          ",可以用任何浏览器打开。"));
    }
}

}  // namespace quoinry::shell
