#include "shell/main_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>

#include "common/file_bytes.h"
#include "common/program_dir.h"
#include "common/version.h"
#include "design/recent_designs.h"
#include "edition/code_edition.h"
#include "shell/about_form.h"
#include "shell/folders.h"
#include "shell/form_helpers.h"
#include "shell/gj_form.h"
#include "shell/pictures.h"
#include "shell/project_form.h"
#include "shell/whole_profile.h"
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
        case MainForm::Form::Project:
            return new ProjectForm(host);
        case MainForm::Form::About:
            break;
    }
    return new AboutForm(host);
}

const QString kProgramTitle =
    QStringLiteral("Quoinry V") + QString::fromLatin1(kVersionMajorMinor) + QStringLiteral("版");

// The inputs of the last compute, as the settings file keeps them; on a first start (no
// settings yet) new work, after the codes in force.
Design LastComputedDesign() {
    const std::optional<std::string> bytes = ReadFileBytes(SettingsFile());
    Design design = ReadDesign(IniDocument::Parse(bytes.value_or(std::string())));
    if (!bytes)
        design.wind.edition = std::string(CurrentEdition().id);
    return design;
}

// What 新建 starts from: the inputs of the last compute, after the codes in force, with a whole
// profile of the library.
Design NewDesignInputs() {
    Design design = LastComputedDesign();
    design.wind.edition = std::string(CurrentEdition().id);
    MakeProfileWhole(design);
    return design;
}

// The size the main window asks for, made to fit the screen's free area with its frame (the
// window system adds a title bar and borders around it).
QSize SizeWithin(QSize wanted, QSize available) {
    const QSize frame(16, 48);
    return wanted.boundedTo(available - frame).expandedTo(QSize(320, 240));
}

std::filesystem::path RecentDesignsFile() {
    return SettingsFile().parent_path() / "recent-designs.txt";
}

}  // namespace

MainForm::MainForm(ShellServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("mainForm"));
    setWindowIcon(ToolbarIcon(2));
    model_.Replace(LastComputedDesign(), std::nullopt);
    model_.OnChange([this] { DesignChanged(); });
    area_ = new BackgroundArea(this);
    area_->setObjectName(QStringLiteral("MDIClient"));
    // A child window taller or wider than the client area (a 1024 × 768 screen) is reached by
    // scrolling the area.
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);
    area_->SetPictureFile(QString::fromStdString((ProgramDirectory() / "pic" / "1.jpg").string()));
    BuildMenu();
    BuildToolbar();
    DesignChanged();
    resize(SizeWithin(QSize(1180, 860), screen()->availableGeometry().size()));
}

MainForm::~MainForm() {
    // The windows are views of the design: they go before it does.
    model_.OnChange({});
    for (QMdiSubWindow* window : area_->subWindowList()) delete window;
}

void MainForm::BuildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName(QStringLiteral("menuFile"));
    auto add = [&](const char* name, const QString& caption, const QKeySequence& keys,
                   std::function<void()> action) {
        QAction* item = file->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        item->setShortcut(keys);
        connect(item, &QAction::triggered, this, std::move(action));
    };
    add("actionNew", QStringLiteral("新建(&N)"), QKeySequence::New, [this] { NewDesign(); });
    add("actionOpen", QStringLiteral("打开…(&O)"), QKeySequence::Open, [this] { OpenDesign(); });
    recent_menu_ = file->addMenu(QStringLiteral("最近的设计(&R)"));
    recent_menu_->setObjectName(QStringLiteral("menuRecent"));
    connect(recent_menu_, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
    FillRecentMenu();
    add("actionSave", QStringLiteral("保存(&S)"), QKeySequence::Save, [this] { Save(); });
    add("actionSaveAs", QStringLiteral("另存为…(&A)"), QKeySequence::SaveAs,
        [this] { SaveDesignAs(); });
    file->addSeparator();
    add("actionInfo", QStringLiteral("设计信息…(&I)"), QKeySequence(),
        [this] { EditDesignInfo(); });
    add("actionProject", QStringLiteral("工程…(&P)"), QKeySequence(),
        [this] { ShowForm(Form::Project); });
    file->addSeparator();
    add("actionQuit", QStringLiteral("退出系统(&X)"), QKeySequence(), [this] { Quit(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    undo_action_ = edit->addAction(QStringLiteral("撤销(&U)"));
    undo_action_->setObjectName(QStringLiteral("actionUndo"));
    undo_action_->setShortcut(QKeySequence::Undo);
    connect(undo_action_, &QAction::triggered, this, [this] { Undo(); });
    redo_action_ = edit->addAction(QStringLiteral("重做(&R)"));
    redo_action_->setObjectName(QStringLiteral("actionRedo"));
    // Ctrl+Y as well as the desktop's own key (Ctrl+Shift+Z on Linux).
    redo_action_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redo_action_, &QAction::triggered, this, [this] { Redo(); });
}

ProjectForm* MainForm::ActiveProject() const {
    // The current one, also while another program has the focus.
    const QMdiSubWindow* active = area_->currentSubWindow();
    return active != nullptr ? dynamic_cast<ProjectForm*>(active->widget()) : nullptr;
}

bool MainForm::Save() {
    if (ProjectForm* project = ActiveProject())
        return project->SaveProject();
    return SaveDesign();
}

void MainForm::Undo() {
    Step(true);
}

void MainForm::Redo() {
    Step(false);
}

void MainForm::Step(bool back) {
    if (ProjectForm* project = ActiveProject()) {
        back ? project->undo_stack().undo() : project->undo_stack().redo();
        return;
    }
    back ? model_.Undo() : model_.Redo();
    ShowDesignAgain();
}

void MainForm::ShowDesignAgain() {
    for (const QPointer<QMdiSubWindow>& window : windows_) {
        if (window) {
            if (auto* form = dynamic_cast<ChildForm*>(window->widget()))
                form->ShowDesign();
        }
    }
}

void MainForm::FillRecentMenu() {
    recent_menu_->clear();
    int number = 1;
    for (const std::filesystem::path& design : ReadRecentDesigns(RecentDesignsFile())) {
        QAction* item =
            recent_menu_->addAction(QStringLiteral("&%1 %2").arg(number).arg(Q(design.string())));
        item->setObjectName(QStringLiteral("actionRecent%1").arg(number++));
        connect(item, &QAction::triggered, this, [this, design] {
            if (MaySetDesignAside())
                OpenDesignFile(design);
        });
    }
    recent_menu_->setEnabled(!recent_menu_->isEmpty());
}

void MainForm::DesignChanged() {
    setWindowTitle(Q(model_.Title()) + (model_.IsModified() ? QStringLiteral("*") : QString()) +
                   QStringLiteral(" - ") + kProgramTitle);
    for (const QPointer<QMdiSubWindow>& window : windows_) {
        if (window && window->isVisible()) {
            if (auto* form = dynamic_cast<ChildForm*>(window->widget()))
                form->DesignChanged();
        }
    }
}

bool MainForm::MaySetDesignAside() {
    return MaySetAside(services_, this, model_.IsModified(), QStringLiteral("设计"),
                       Q(model_.Title()), [this] { return SaveDesign(); });
}

void MainForm::ShowNewDesign() {
    for (Form form : {Form::Wind, Form::Member}) {
        if (QPointer<QMdiSubWindow>& window = windows_[static_cast<std::size_t>(form)]) {
            window->close();
            window = nullptr;
        }
    }
    ShowForm(Form::Wind);
}

void MainForm::NewDesign() {
    if (!MaySetDesignAside())
        return;
    model_.Replace(NewDesignInputs(), std::nullopt);
    ShowNewDesign();
}

void MainForm::OpenDesign() {
    if (!MaySetDesignAside())
        return;
    const QString file = services_.DesignFileToOpen(this);
    if (!file.isEmpty())
        OpenDesignFile(std::filesystem::path(S(file)));
}

bool MainForm::OpenDesignFile(const std::filesystem::path& file) {
    DesignFileReading reading;
    try {
        reading = ReadDesignFile(file);
    } catch (const DesignFileError& error) {
        // Nothing changes: the open design stays as it was.
        ShowExclamation(*this, this, Q(error.what()));
        return false;
    }
    model_.Replace(std::move(reading.design), file);
    AddRecentDesign(RecentDesignsFile(), file);
    ShowNewDesign();
    if (!reading.warnings.empty())
        ShowExclamation(*this, this, ListedTexts(reading.warnings));
    return true;
}

bool MainForm::EditPosition(Design design, std::function<void(const Design&)> write_back) {
    if (!MaySetDesignAside())
        return false;
    model_.ReplaceFromPosition(std::move(design), std::move(write_back));
    ShowNewDesign();
    return true;
}

bool MainForm::SaveDesign() {
    if (model_.SavesToPosition()) {
        model_.SaveToPosition();
        return true;
    }
    if (!model_.file())
        return SaveDesignAs();
    if (!MayOverwrite(*this, this, *model_.file(), model_.FileChangedOnDisk()))
        return false;
    try {
        model_.Save(*model_.file());
    } catch (const DesignFileError& error) {
        ShowExclamation(*this, this, Q(error.what()));
        return false;
    }
    AddRecentDesign(RecentDesignsFile(), *model_.file());
    return true;
}

bool MainForm::SaveDesignAs() {
    const std::filesystem::path proposal =
        model_.file() ? *model_.file()
                      : ProposedFolder(FileKind::Design, std::nullopt) / (model_.Title() + ".ini");
    QString chosen = services_.DesignFileToSave(this, Q(proposal.string()));
    if (chosen.isEmpty())
        return false;
    std::filesystem::path file(S(chosen));
    if (!file.has_extension())
        file += ".ini";
    RememberFolder(FileKind::Design, file);
    try {
        model_.Save(file);
    } catch (const DesignFileError& error) {
        ShowExclamation(*this, this, Q(error.what()));
        return false;
    }
    AddRecentDesign(RecentDesignsFile(), file);
    return true;
}

void MainForm::EditDesignInfo() {
    if (const std::optional<DesignInfo> info = services_.EditDesignInfo(this, model_.design().info))
        model_.SetInfo(*info);
}

void MainForm::Quit() {
    if (MaySetDesignAside() && MayCloseProject())
        services_.Quit();
}

bool MainForm::MayCloseProject() {
    QPointer<QMdiSubWindow>& project = windows_[static_cast<std::size_t>(Form::Project)];
    return !project || project->close();
}

void MainForm::closeEvent(QCloseEvent* event) {
    if (!MaySetDesignAside() || !MayCloseProject()) {
        event->ignore();
        return;
    }
    event->accept();
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
        {"退出系统", [this] { Quit(); }},
    }};
    int index = 1;
    for (const auto& [caption, action] : buttons) {
        QAction* button = toolbar_->addAction(ToolbarIcon(index), QString::fromUtf8(caption));
        button->setObjectName(QStringLiteral("Button%1").arg(index));
        button->setToolTip(QString::fromUtf8(caption));
        connect(button, &QAction::triggered, this, action);
        ++index;
    }
    // After the original buttons, which keep their places.
    toolbar_->addSeparator();
    QAction* project = toolbar_->addAction(ToolbarIcon(6), QStringLiteral("工程"));
    project->setObjectName(QStringLiteral("ButtonProject"));
    project->setToolTip(QStringLiteral("工程:一栋楼的全部计算位置"));
    connect(project, &QAction::triggered, this, [this] { ShowForm(Form::Project); });
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
