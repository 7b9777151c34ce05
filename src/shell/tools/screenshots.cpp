// Saves a picture of every window, filled as in a design run, for the README:
//   quoinry_screenshots OUT_DIR
// Run by scripts/screenshots.sh under Xvfb. It works in a program directory of its own
// (QUOINRY_HOME, set by the script) and loads the sample profiles of data/profiles into it.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrintPreviewWidget>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "db/connection.h"
#include "db/location.h"
#include "db/profile_table.h"
#include "profile/dxf_drawing.h"
#include "profile/regions.h"
#include "shell/key_state.h"
#include "shell/local_shape_dialog.h"
#include "shell/main_form.h"
#include "shell/project_form.h"
#include "shell/qt_translations.h"
#include "shell/section_picker.h"
#include "shell/shell_services.h"

namespace {

using namespace quoinry;
using namespace quoinry::shell;
namespace fs = std::filesystem;

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Save(QWidget* widget, const QDir& out, const char* name) {
    Settle();
    const QString file = out.filePath(QString::fromLatin1(name));
    if (!widget->grab().save(file))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
}

// Answers every question without a dialog.
class QuietServices : public ShellServices {
  public:
    void Message(QWidget*, const QString&, const QString& text, MessageIcon icon) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        last_message = text;
        last_icon = icon;
    }
    bool Ask(QWidget*, const QString&, const QString&) override { return false; }
    QString DrawingFile(QWidget*) override { return drawing; }
    std::optional<std::size_t> PickRegion(QWidget*, const profile::Drawing&,
                                          const std::vector<profile::Region>&) override {
        return 0;
    }
    bool OpenFile(const fs::path&) override { return true; }
    bool StartProgram(const QString&) override { return true; }
    void Quit() override {}
    QString DesignFileToOpen(QWidget*) override { return {}; }
    QString DesignFileToSave(QWidget*, const QString&) override { return {}; }
    QString DocumentFileToSave(QWidget*, const QString& proposal) override { return proposal; }
    QString PdfFileToSave(QWidget*, const QString&) override { return {}; }
    // The document's window as 结果输出 shows it, taken and closed.
    void ShowDocument(QDialog& window) override {
        window.resize(860, 980);
        window.show();
        if (document_page > 0) {
            auto* preview = window.findChild<QPrintPreviewWidget*>(QStringLiteral("Preview"));
            preview->setCurrentPage(std::min(document_page, preview->pageCount()));
        }
        Save(&window, *out, document_picture);
        window.close();
    }
    bool ChoosePrinter(QWidget*, QPrinter&) override { return false; }
    SaveChoice AskSaveChanges(QWidget*, const QString&, const QString&) override {
        return SaveChoice::Discard;
    }
    std::optional<DesignInfo> EditDesignInfo(QWidget*, const DesignInfo&) override {
        return std::nullopt;
    }
    QString FileToOpen(QWidget*, const QString&, const QString&) override { return {}; }
    QString FileToSave(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    std::optional<ProjectInfo> EditProjectInfo(QWidget*, const ProjectInfo&) override {
        return project;
    }
    // 型材预选's list as it is offered, taken and closed.
    std::optional<std::size_t> ChooseRow(QWidget* parent, const QString& title,
                                         const QStringList& header,
                                         const std::vector<QStringList>& rows) override {
        const std::unique_ptr<QDialog> dialog = NewChooseRowDialog(parent, title, header, rows);
        dialog->show();
        Save(dialog.get(), *out, "preselection.png");
        return std::nullopt;
    }

    std::optional<ProjectInfo> project;  // what 工程信息 gives
    const char* document_picture = "document.png";
    int document_page = 0;  // the page the document's picture shows; 0: the first

    QString drawing;            // the drawing 型材计算 measures
    const QDir* out = nullptr;  // where the pictures go
    QString last_message;
    MessageIcon last_icon = MessageIcon::None;
};

template <typename T>
T* Find(QWidget* form, const char* name) {
    T* control = form->findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr)
        std::fprintf(stderr, "no control %s\n", name);
    return control;
}

void Pick(QWidget* form, const char* name, const char* item) {
    auto* box = Find<QComboBox>(form, name);
    const int index = box->findText(QString::fromUtf8(item));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void Type(QWidget* form, const char* name, const char* text) {
    Find<QLineEdit>(form, name)->setText(QString::fromUtf8(text));
}

void Press(QWidget* form, const char* name) {
    Find<QAbstractButton>(form, name)->click();
}

// The main window with the message the last command showed in front of it, as the screen shows
// them together.
void SaveWithMessage(MainForm& main, const QuietServices& services, const QDir& out,
                     const char* name) {
    const auto box =
        NewMessageBox(&main, QStringLiteral("系统提示"), services.last_message, services.last_icon);
    box->show();
    Settle();
    box->move(main.geometry().center() - box->rect().center() + QPoint(0, 160));
    // Where the box first appeared is painted over again.
    main.repaint();
    Settle();
    box->repaint();
    Settle();
    const QRect frame = main.frameGeometry();
    const QString file = out.filePath(QString::fromLatin1(name));
    if (!main.screen()
             ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
             .save(file))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    box->hide();
}

void CloseAll(MainForm& main) {
    main.findChild<QMdiArea*>()->closeAllSubWindows();
    Settle();
}

// The building of examples/: its schedule imported over the casement design and computed, a
// failing position picked.
void ShootProject(MainForm& main, const QDir& out, const fs::path& source) {
    CloseAll(main);
    main.Model().Replace(
        ReadDesignFile(source / "examples" / "shanghai-24f-c2-casement.ini").design, std::nullopt);
    auto* project = dynamic_cast<ProjectForm*>(main.ShowForm(MainForm::Form::Project));
    project->parentWidget()->resize(1240, 620);
    project->parentWidget()->move(10, 10);
    Press(project, "ProjectInfo");
    project->ImportSchedule(source / "examples" / "building-3-schedule.csv");
    project->ComputeAll();
    Find<QTableWidget>(project, "PositionTable")->selectRow(0);
    Save(&main, out, "project.png");
    CloseAll(main);
}

void Shoot(MainForm& main, QuietServices& services, const QDir& out, const fs::path& source) {
    Save(&main, out, "main-window.png");
    main.Model().SetInfo(
        {"C1-3 推拉窗下横框", "广州某住宅小区 3#楼", "张工", "李工", "王工", "2026-12-07"});

    QWidget* wind = main.ShowForm(MainForm::Form::Wind);
    Pick(wind, "ComboBox1", "广东");
    Pick(wind, "ComboBox3", "B类");
    Type(wind, "TextBox2", "1.5");
    Type(wind, "TextBox3", "20");
    Press(wind, "RadioButton2");
    Pick(wind, "ComboBox4", "中空玻璃");
    Type(wind, "TextBox4", "1200");
    Type(wind, "TextBox5", "1500");
    Pick(wind, "ComboBox5", "钢化玻璃");
    Pick(wind, "ComboBox6", "6");
    Pick(wind, "ComboBox7", "普通玻璃");
    Pick(wind, "ComboBox8", "6");
    // A height typed in metres with a slip: refused, its box marked.
    Type(wind, "TextBox3", "-20");
    Press(wind, "Command1");
    SaveWithMessage(main, services, out, "refusal.png");
    Type(wind, "TextBox3", "20");
    Press(wind, "Command1");
    Save(&main, out, "wind-and-glass.png");

    Press(wind, "Command2");
    Settle();
    QWidget* member = main.ShowForm(MainForm::Form::Member);
    Pick(member, "ComboBox1", "横向杆件");
    Type(member, "TextBox2", "900");
    Type(member, "TextBox3", "1200");
    Type(member, "TextBox4", "600");
    Pick(member, "ComboBox2", "60中梃");
    Pick(member, "ComboBox3", "ZT60-01");
    // A section measured from a drawing, named after it.
    Press(member, "Button1");
    Press(member, "Button2");
    Save(&main, out, "member-check.png");
    Press(member, "Button3");
    // The library's profiles that pass, as 型材预选 offers them.
    Press(member, "Button5");
    // A longer member on the same section: the checks that fail are red and named.
    Type(member, "TextBox2", "1800");
    Press(member, "Button2");
    SaveWithMessage(main, services, out, "failed-verdict.png");
    // ... and red in the document, on its last page.
    services.document_picture = "document-failing.png";
    services.document_page = 99;
    Press(member, "Button3");
    CloseAll(main);
    // The project window on a 1024 × 768 screen.
    {
        const QSize before = main.size();
        main.resize(1008, 720);
        main.Model().Replace(
            ReadDesignFile(source / "examples" / "shanghai-24f-c2-casement.ini").design,
            std::nullopt);
        QWidget* project = main.ShowForm(MainForm::Form::Project);
        Press(project, "ProjectInfo");
        dynamic_cast<ProjectForm*>(project)->ImportSchedule(source / "examples" /
                                                            "building-3-schedule.csv");
        Save(&main, out, "project-small-screen.png");
        CloseAll(main);
        main.resize(before);
    }

    // On a 1024 × 768 screen the member window is taller than the client area, which scrolls.
    const QSize size = main.size();
    main.resize(1008, 720);
    main.ShowForm(MainForm::Form::Member);
    Save(&main, out, "small-screen.png");
    CloseAll(main);
    main.resize(size);

    main.ShowForm(MainForm::Form::Profiles);
    Save(&main, out, "profiles.png");
    CloseAll(main);

    main.ShowForm(MainForm::Form::About);
    Save(&main, out, "about.png");
    CloseAll(main);

    // The same site in code edition 2012: the windward wall of a closed building.
    wind = main.ShowForm(MainForm::Form::Wind);
    Pick(wind, "EditionBox", "GB 50009-2012 + GB 55001-2021");
    Type(wind, "TextBox2", "1.0");
    Find<QLineEdit>(wind, "WallZoneBox")->setText(QStringLiteral("迎风面"));
    Press(wind, "Command1");
    Save(&main, out, "wind-2012.png");
    CloseAll(main);
    LocalShapeDialog local_shape(&main);
    local_shape.show();
    Save(&local_shape, out, "local-shape.png");
    local_shape.hide();

    ShootProject(main, out, source);

    const profile::Drawing drawing =
        profile::ReadDxfDrawing(source / "data" / "profiles" / "kc60-frame.dxf");
    const auto regions = profile::FindRegions(drawing.loops);

    SectionPicker picker(drawing, regions, &main);
    picker.show();
    // The pointer over the left wall, so that the picture shows the region lit up.
    const profile::Region& frame = regions.front();
    double hole_left = frame.box.max.x;
    for (const profile::Loop& hole : frame.holes)
        hole_left = std::min(hole_left, profile::LoopBox(hole).min.x);
    const profile::Point wall{(frame.box.min.x + hole_left) / 2,
                              (frame.box.min.y + frame.box.max.y) / 2};
    const QPointF at = picker.ToWidget(wall);
    QMouseEvent move(QEvent::MouseMove, at, picker.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&picker, &move);
    Save(&picker, out, "section-picker.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quoinry_screenshots SOURCE_DIR OUT_DIR\n");
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quoinry"));
    InstallQtTranslations(application);
    KeyStateWatcher key_state;
    application.installEventFilter(&key_state);
    const fs::path source = argv[1];
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QuietServices services;
    services.out = &out;
    services.project = ProjectInfo{
        "上海某24层住宅 3#楼", "上海", "上海", "550", "C类", "2001", "李工", "王工", "赵工",
        "2026-12-06"};
    services.drawing =
        QString::fromStdString((source / "data" / "profiles" / "tl70-frame.dxf").string());
    MainForm main(services);
    main.resize(1280, 900);
    main.show();
    QTimer::singleShot(300, [&] {
        Shoot(main, services, out, source);
        QApplication::quit();
    });
    return QApplication::exec();
}
