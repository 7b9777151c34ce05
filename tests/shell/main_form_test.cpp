// The main window, its toolbar, the About window, the region picker and the key test.
#include <QFontMetrics>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/version.h"
#include "profile/dxf_drawing.h"
#include "shell/key_state.h"
#include "shell/qt_translations.h"
#include "shell/section_picker.h"
#include "shell_test_support.h"

namespace quoinry::shell::testing {
namespace {

TEST_F(ShellTest, ToolbarHasItsFiveButtonsInOrder) {
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("未命名设计 - Quoinry V2.0版"));
    QToolBar* toolbar = main_->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    ASSERT_NE(toolbar, nullptr);
    const Texts captions = {QStringLiteral("新建文件"), QStringLiteral("型材管理"),
                            QStringLiteral("关于软件"), QStringLiteral("帮助文件"),
                            QStringLiteral("退出系统")};
    // Then, after a separator, 工程.
    ASSERT_EQ(toolbar->actions().size(), 7);
    EXPECT_TRUE(toolbar->actions()[5]->isSeparator());
    EXPECT_EQ(toolbar->actions()[6]->text(), QStringLiteral("工程"));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(toolbar->actions()[i]->text(), captions[static_cast<std::size_t>(i)]);
        EXPECT_EQ(toolbar->actions()[i]->toolTip(), captions[static_cast<std::size_t>(i)]);
        EXPECT_FALSE(toolbar->actions()[i]->icon().isNull());
    }
    ClickToolbar(5);
    EXPECT_EQ(services_.quit_calls, 1);
}

TEST_F(ShellTest, HelpOpensTheChmWhenPresentElseTheHtmlHelpOrSaysWhereItIs) {
    ClickToolbar(4);
    ASSERT_EQ(services_.opened_files.size(), 1u);
    EXPECT_EQ(services_.opened_files[0], Home() / "help" / "index.html");
    EXPECT_TRUE(fs::exists(services_.opened_files[0]));
    // The help of today's program, with the version set once for the whole program.
    std::ifstream file(services_.opened_files[0]);
    const std::string help((std::istreambuf_iterator<char>(file)), {});
    for (const std::string& named :
         {std::string("V") + kVersion, std::string("GB 50009-2001"),
          std::string("GB 50009-2012 + GB 55001-2021"), std::string("设计文件"),
          std::string("工程文件"), std::string("门窗表"), std::string("打印"),
          std::string("quoinry batch"), std::string("Ctrl+Z")}) {
        EXPECT_NE(help.find(named), std::string::npos) << named;
    }
    EXPECT_EQ(help.find("temp/计算书.docx"), std::string::npos);
    std::ofstream(Home() / "help.chm") << "x";
    ClickToolbar(4);
    EXPECT_EQ(services_.opened_files.back(), Home() / "help.chm");

    // Without a browser: where the help is.
    fs::remove(Home() / "help.chm");
    services_.open_succeeds = false;
    ClickToolbar(4);
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(services_.messages[0].text,
              QString::fromStdString("没有找到打开帮助文件的浏览器。帮助文件在 " +
                                     (Home() / "help" / "index.html").string() +
                                     ",可以用任何浏览器打开。"));
}

// Wide enough for the title beside the frame's buttons, no minimise or maximise button, and
// Qt's own texts in Chinese.
TEST_F(ShellTest, MessageBoxesKeepTheirTitleWholeInChinese) {
    ASSERT_TRUE(InstallQtTranslations(*QCoreApplication::instance()));
    const QString title = QStringLiteral("系统提示");
    const std::unique_ptr<QMessageBox> box =
        NewMessageBox(nullptr, title, QStringLiteral("好"), MessageIcon::Exclamation);
    EXPECT_FALSE(box->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(box->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(box->windowFlags() & Qt::WindowCloseButtonHint);
    box->show();
    QApplication::processEvents();
    EXPECT_GE(box->width(), QFontMetrics(box->font()).horizontalAdvance(title) * 3 / 2 + 160);
    EXPECT_GE(box->width(), 280);
    EXPECT_EQ(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    box->hide();
}

TEST_F(ShellTest, AboutWindowAndUnavailableSystemInformation) {
    ClickToolbar(3);
    ClickToolbar(3);
    EXPECT_EQ(OpenForms("frmAbout"), 1);
    auto label = [&](const char* name) { return Control<QLabel>("frmAbout", name)->text(); };
    EXPECT_TRUE(label("lblTitle").startsWith(QStringLiteral("关于")));
    EXPECT_TRUE(label("lblTitle").endsWith(QStringLiteral("--Quoinry系统")));
    EXPECT_EQ(Form("frmAbout")->parentWidget()->windowTitle(), label("lblTitle"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^版本:V2\\.0\\.\\d+$"))
                    .match(label("lblVersion"))
                    .hasMatch())
        << label("lblVersion").toStdString();
    // Today's program: both editions, design files, projects and schedules, the preview and
    // print, the command line; no placeholder.
    for (const char* named : {"GB 50009-2001", "GB 50009-2012 + GB 55001-2021", "设计文件", "工程",
                              "门窗表", "预览", "打印", "quoinry run"}) {
        EXPECT_TRUE(label("lblDescription").contains(QString::fromUtf8(named))) << named;
    }
    EXPECT_FALSE(label("lblDescription").contains(QStringLiteral("应用程序描述")));
    EXPECT_TRUE(label("lblDisclaimer").startsWith(QStringLiteral("警告: ")));

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", Home().c_str());  // no system information program
    Click(Control<QPushButton>("frmAbout", "cmdSysInfo"));
    qputenv("PATH", path);
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].text, QStringLiteral("此时系统信息不可用"));
    EXPECT_EQ(services_.messages[0].icon, MessageIcon::None);
    EXPECT_TRUE(services_.started_programs.empty());

    Click(Control<QPushButton>("frmAbout", "cmdOK"));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(OpenForms("frmAbout"), 0);
}

// The picture follows the first paint and is drawn at the area's size, also a new one.
TEST_F(ShellTest, BackgroundPictureFillsTheClientAreaAtEverySize) {
    auto* area = main_->findChild<QMdiArea*>();
    const auto sky = [area] { return area->viewport()->grab().toImage().pixelColor(2, 2); };
    QTRY_COMPARE_WITH_TIMEOUT(sky().blue() < 140, true, 5000);
    for (const QSize size : {QSize(700, 500), QSize(500, 420)}) {
        main_->resize(size);
        QApplication::processEvents();
        const QImage shown = area->viewport()->grab().toImage();
        // The sky of the picture: dark blue at the top, light blue at the bottom.
        const QColor top = shown.pixelColor(2, 2);
        const QColor bottom = shown.pixelColor(2, shown.height() - 3);
        EXPECT_NEAR(top.blue(), 128, 12) << size.width();
        EXPECT_NEAR(top.red(), 52, 12) << size.width();
        EXPECT_NEAR(bottom.blue(), 210, 12) << size.width();
    }
}

TEST_F(ShellTest, MissingBackgroundPictureStillOpensTheMainWindow) {
    fs::remove(Home() / "pic" / "1.jpg");
    MainForm bare(services_);
    bare.show();
    EXPECT_TRUE(bare.isVisible());
}

// Sends a press of `button` at a point of the drawing, as the user's click.
void ClickAt(SectionPicker& picker, profile::Point at, Qt::MouseButton button) {
    QTest::mouseClick(&picker, button, Qt::NoModifier, picker.ToWidget(at).toPoint());
}

profile::Drawing TwoRegions() {
    return profile::ReadDxfDrawing(fs::path(QUOINRY_SOURCE_DIR) / "tests" / "data" / "section" /
                                   "two_regions.dxf");
}

TEST(SectionPicker, ClickInsideARegionPicksIt) {
    const profile::Drawing drawing = TwoRegions();
    const auto regions = profile::FindRegions(drawing.loops);
    ASSERT_EQ(regions.size(), 2u);
    for (std::size_t wanted = 0; wanted < regions.size(); ++wanted) {
        SectionPicker picker(drawing, regions);
        picker.show();
        const profile::Box& box = regions[wanted].box;
        // A click beside every region asks again.
        ClickAt(picker, {box.min.x - 1000, box.min.y - 1000}, Qt::LeftButton);
        EXPECT_TRUE(picker.isVisible());
        ClickAt(picker, 0.5 * (box.min + box.max), Qt::LeftButton);
        EXPECT_EQ(picker.result(), QDialog::Accepted);
        EXPECT_EQ(picker.picked(), wanted);
    }
}

// A click in a chamber of a hollow profile picks the profile drawn around it; a click beside
// every region says why nothing was picked.
TEST(SectionPicker, ClickInAHolePicksTheRegionAroundIt) {
    const profile::Drawing drawing = profile::ReadDxfDrawing(kProfiles / "tl70-frame.dxf");
    const auto regions = profile::FindRegions(drawing.loops);
    std::optional<std::pair<std::size_t, profile::Point>> chamber;
    for (std::size_t i = 0; i < regions.size() && !chamber; ++i) {
        for (const profile::Loop& hole : regions[i].holes) {
            const profile::Box box = profile::LoopBox(hole);
            const profile::Point middle = 0.5 * (box.min + box.max);
            if (profile::WindingNumber(hole, middle) != 0 && !RegionAt(regions, middle)) {
                chamber.emplace(i, middle);
                break;
            }
        }
    }
    ASSERT_TRUE(chamber) << "tl70-frame.dxf has a hollow chamber";
    SectionPicker picker(drawing, regions);
    picker.show();
    ClickAt(picker, {regions[0].box.min.x - 1000, regions[0].box.min.y - 1000}, Qt::LeftButton);
    EXPECT_TRUE(picker.isVisible());
    EXPECT_TRUE(picker.prompt().contains(QStringLiteral("不在任何封闭的面域之内")));
    ClickAt(picker, chamber->second, Qt::LeftButton);
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.picked(), chamber->first);
}

TEST(SectionPicker, EscapeOrRightButtonCancels) {
    const profile::Drawing drawing = TwoRegions();
    const auto regions = profile::FindRegions(drawing.loops);
    SectionPicker by_key(drawing, regions);
    by_key.show();
    QTest::keyClick(&by_key, Qt::Key_Escape);
    EXPECT_EQ(by_key.result(), QDialog::Rejected);
    EXPECT_FALSE(by_key.picked());

    SectionPicker by_mouse(drawing, regions);
    by_mouse.show();
    ClickAt(by_mouse, 0.5 * (regions[0].box.min + regions[0].box.max), Qt::RightButton);
    EXPECT_EQ(by_mouse.result(), QDialog::Rejected);
    EXPECT_FALSE(by_mouse.picked());
}

TEST(KeyState, PressedSinceTheLastQueryCountsOnce) {
    QWidget target;
    target.show();
    IsKeyDown(kVirtualKeyEscape);
    EXPECT_FALSE(IsKeyDown(kVirtualKeyEscape));
    QTest::keyPress(&target, Qt::Key_Escape);
    EXPECT_TRUE(IsKeyDown(kVirtualKeyEscape));
    EXPECT_TRUE(IsKeyDown(kVirtualKeyEscape));  // still down
    QTest::keyRelease(&target, Qt::Key_Escape);
    EXPECT_FALSE(IsKeyDown(kVirtualKeyEscape));
    QTest::keyClick(&target, Qt::Key_Escape);
    EXPECT_TRUE(IsKeyDown(kVirtualKeyEscape));  // pressed and released since the last query
    EXPECT_FALSE(IsKeyDown(kVirtualKeyEscape));

    IsKeyDown(kVirtualKeyRightButton);
    QTest::mouseClick(&target, Qt::RightButton);
    EXPECT_TRUE(IsKeyDown(kVirtualKeyRightButton));
    EXPECT_FALSE(IsKeyDown(kVirtualKeyRightButton));
    EXPECT_FALSE(IsKeyDown(65));
}

}  // namespace
}  // namespace quoinry::shell::testing
