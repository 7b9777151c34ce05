// The calculation windows as an engineer expects them: refused boxes marked, units shown, failed
// verdicts in red, Enter computes, the site and its pressure together, the windows on the screen.
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "common/program_dir.h"
#include "design/input_fields.h"
#include "shell_test_support.h"

namespace quoinry::shell::testing {
namespace {

class WindowInputs : public ShellTest {
  protected:
    QPlainTextEdit* Result(const char* form) {
        return Control<QPlainTextEdit>(form, *form == 'w' ? "TextBox6" : "TextBox15");
    }
    static bool Marked(const QWidget* box) { return box->property("refused").toBool(); }
    static std::vector<int> RedLines(QPlainTextEdit* box) {
        std::vector<int> red;
        for (QTextBlock line = box->document()->begin(); line.isValid(); line = line.next()) {
            if (line.begin().fragment().charFormat().foreground().color() == QColor(0xC0, 0, 0))
                red.push_back(line.blockNumber());
        }
        return red;
    }

    // 广东 / 广州市 (500 Pa), C类 at 20 m; single tempered glass of `thickness` mm, 1200 × 1500.
    void FillWind(const char* thickness = "6") {
        ClickToolbar(1);
        Pick(Combo("winForm", "ComboBox1"), QStringLiteral("广东"));
        Pick(Combo("winForm", "ComboBox3"), QStringLiteral("C类"));
        Type(Box("winForm", "TextBox2"), QStringLiteral("1.5"));
        Type(Box("winForm", "TextBox3"), QStringLiteral("20"));
        Pick(Combo("winForm", "ComboBox4"), QStringLiteral("单层玻璃"));
        Type(Box("winForm", "TextBox4"), QStringLiteral("1200"));
        Type(Box("winForm", "TextBox5"), QStringLiteral("1500"));
        Pick(Combo("winForm", "ComboBox5"), QStringLiteral("钢化玻璃"));
        Type(Combo("winForm", "ComboBox6"), QString::fromLatin1(thickness));
    }
    // The wind computed, then a vertical member of 1200 + 0 × 1500 mm that passes every check.
    void FillMember() {
        FillWind();
        Press("winForm", "Command1");
        Press("winForm", "Command2");
        QApplication::processEvents();
        services_.TakeTexts();
        Pick(Combo("gjForm", "ComboBox1"), QStringLiteral("竖向杆件"));
        const char* texts[] = {"85.5", "1200", "0",  "1500", "49.6", "70000", "1.4",
                               "50",   "30",   "10", "12",   "8",    "7",     "5"};
        for (int i = 0; i < 14; ++i) {
            const std::string name = "TextBox" + std::to_string(i + 1);
            Type(Box("gjForm", name.c_str()), QString::fromLatin1(texts[i]));
        }
    }
};

// The message named the box, but nothing showed where it was; a refused check left the earlier
// result in the box.
TEST_F(WindowInputs, RefusedBoxesAreMarkedFocusedAndClearedWhenEdited) {
    FillWind();
    Type(Box("winForm", "TextBox3"), QStringLiteral("-10"));
    Type(Combo("winForm", "ComboBox3"), QStringLiteral("E类"));
    Press("winForm", "Command1");
    EXPECT_EQ(services_.TakeTexts().size(), 1u);
    QLineEdit* height = Box("winForm", "TextBox3");
    QComboBox* terrain = Combo("winForm", "ComboBox3");
    EXPECT_TRUE(Marked(height) && Marked(terrain));
    EXPECT_FALSE(Marked(Box("winForm", "TextBox2")));
    EXPECT_EQ(Form("winForm")->window()->focusWidget(), terrain);
    Type(height, QStringLiteral("20"));
    EXPECT_FALSE(Marked(height));
    EXPECT_TRUE(height->styleSheet().isEmpty());
    Pick(terrain, QStringLiteral("B类"));
    EXPECT_FALSE(Marked(terrain));

    FillMember();
    Press("gjForm", "Button2");
    EXPECT_FALSE(Result("gjForm")->toPlainText().isEmpty());
    // The span used to end in a bare "溢出"; the message names the boxes, and only them.
    Type(Box("gjForm", "TextBox4"), QStringLiteral("1e300"));
    Type(Box("gjForm", "TextBox10"), QStringLiteral("abc"));
    Press("gjForm", "Button2");
    EXPECT_EQ(services_.TakeTexts().back(),
              QStringLiteral("当前错误:"
                             "受荷单元高Hsk(mm): “1e300” 应为不小于100且不大于50000的数\n"
                             "X轴抵抗矩一(cm^3): “abc” 应为不小于0.01且不大于100000的数"));
    EXPECT_TRUE(Marked(Box("gjForm", "TextBox4")) && Marked(Box("gjForm", "TextBox10")));
    EXPECT_EQ(Form("gjForm")->window()->focusWidget(), Box("gjForm", "TextBox4"));
    EXPECT_EQ(Box("gjForm", "TextBox4")->selectedText(), QStringLiteral("1e300"));
    EXPECT_EQ(Result("gjForm")->toPlainText(), QString());
    // Each attempt marks what it refuses.
    Type(Box("gjForm", "TextBox10"), QStringLiteral("10"));
    Type(Box("gjForm", "TextBox6"), QStringLiteral("-1"));
    Press("gjForm", "Button2");
    EXPECT_TRUE(Marked(Box("gjForm", "TextBox4")) && Marked(Box("gjForm", "TextBox6")));
    EXPECT_FALSE(Marked(Box("gjForm", "TextBox10")));
}

// Which unit each box wants could only be guessed (基本风压 is Pa, not kN/m^2).
// What a Chinese input method types is read as the number it shows.
TEST_F(WindowInputs, FullWidthDigitsSignsAndPointsAreNumbers) {
    FillWind();
    const struct {
        const char* box;
        const char* typed;
        const char* stored;
    } cases[] = {
        {"TextBox3", "　４５．５　", "45.5"},  // ideographic blanks around
        {"TextBox2", "－１。５", "-1.5"},      // full-width minus, ideographic full stop
        {"TextBox4", "１２００", "1200"},
        {"TextBox5", " 1.5ｅ３ ", "1.5e3"},
    };
    for (const auto& c : cases) {
        Type(Box("winForm", c.box), QString::fromUtf8(c.typed));
        const InputField& field = *std::find_if(
            InputFields().begin(), InputFields().end(),
            [&](const InputField& f) { return f.section == "glass" && f.box == c.box; });
        EXPECT_EQ(FieldText(main_->Model().design(), field), c.stored) << c.box;
    }
    Press("winForm", "Command1");
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    EXPECT_FALSE(Result("winForm")->toPlainText().isEmpty());
    // A text that is still no number is refused naming its box first.
    Type(Box("winForm", "TextBox3"), QStringLiteral("约２０"));
    Press("winForm", "Command1");
    const Texts texts = services_.TakeTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("当前错误:计算处标高(m): “约20”")))
        << texts[0].toStdString();
}

// 编辑 → 撤销/重做 (Ctrl+Z, Ctrl+Y outside a text box, which keeps its own) take the design's
// inputs back and forth, and the boxes show them.
TEST_F(WindowInputs, TheDesignsInputsAreUndoneAndRedone) {
    FillWind();
    Type(Box("winForm", "TextBox3"), QStringLiteral("33"));
    Pick(Combo("winForm", "ComboBox3"), QStringLiteral("D类"));
    QAction* undo = main_->findChild<QAction*>(QStringLiteral("actionUndo"));
    QAction* redo = main_->findChild<QAction*>(QStringLiteral("actionRedo"));
    ASSERT_TRUE(undo != nullptr && redo != nullptr);
    undo->trigger();
    EXPECT_EQ(Combo("winForm", "ComboBox3")->currentText(), QStringLiteral("C类"));
    undo->trigger();
    EXPECT_EQ(Box("winForm", "TextBox3")->text(), QStringLiteral("20"));
    EXPECT_EQ(main_->Model().design().wind.height, "20");
    redo->trigger();
    EXPECT_EQ(Box("winForm", "TextBox3")->text(), QStringLiteral("33"));
    redo->trigger();
    EXPECT_EQ(Combo("winForm", "ComboBox3")->currentText(), QStringLiteral("D类"));
    EXPECT_EQ(main_->Model().design().wind.terrain_category, "D类");
}

// A report that cannot be written names the file and its folder.
TEST_F(WindowInputs, AFileErrorNamesTheFile) {
    FillWind();
    fs::create_directories(SessionDirectory() / "glass.txt");
    Press("winForm", "Command1");
    const Texts texts = services_.TakeTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], QString::fromStdString("当前错误:无法写入 " +
                                               (SessionDirectory() / "glass.txt").string() +
                                               ": 这是一个文件夹"))
        << texts[0].toStdString();
    fs::remove(SessionDirectory() / "glass.txt");
}

// Every list is as wide as its longest item: none is cut off.
TEST_F(WindowInputs, ListsAreAsWideAsTheirLongestItem) {
    ClickToolbar(1);
    QComboBox* regions = Combo("winForm", "ComboBox1");
    int longest = 0;
    for (int i = 1; i < regions->count(); ++i) {
        if (regions->itemText(i).size() > regions->itemText(longest).size())
            longest = i;
    }
    Pick(regions, regions->itemText(longest));
    QApplication::processEvents();
    // What each list asks of the layout, also a list filled after the window opened.
    for (QComboBox* list : Form("winForm")->findChildren<QComboBox*>()) {
        for (int i = 0; i < list->count(); ++i) {
            const int text = list->fontMetrics().horizontalAdvance(list->itemText(i));
            EXPECT_GE(list->sizeHint().width(), text + 16)
                << list->objectName().toStdString() << " " << list->itemText(i).toStdString();
            EXPECT_GE(list->width(), text + 16) << list->objectName().toStdString();
        }
    }
}

TEST_F(WindowInputs, EveryBoxShowsItsUnit) {
    FillMember();
    ClickToolbar(1);
    ClickToolbar(2);
    const std::tuple<const char*, const char*, const char*> units[] = {
        {"winForm", "TextBox1", "Pa"},   {"winForm", "TextBox3", "m"},
        {"winForm", "ComboBox6", "mm"},  {"gjForm", "TextBox4", "mm"},
        {"gjForm", "TextBox6", "N/mm²"}, {"gjForm", "TextBox8", "cm⁴"},
        {"gjForm", "TextBox11", "cm³"},  {"xcForm", "TextBox3", "cm²"},
        {"xcForm", "TextBox4", "mm"},    {"xcForm", "TextBox15", "N/mm²"},
    };
    for (const auto& [form, box, unit] : units) {
        const std::string name = std::string(box) + "Unit";
        auto* label = Control<QLabel>(form, name.c_str());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(unit)) << form << "." << box;
        EXPECT_TRUE(label->isVisible()) << form << "." << box;
    }
    EXPECT_EQ(Form("winForm")->findChild<QLabel*>(QStringLiteral("TextBox2Unit")), nullptr);
}

// A failed check looked like a passed one, and the message said only "计算完毕!".
TEST_F(WindowInputs, FailedVerdictsAreRedAndTheCheckSaysWhichFail) {
    FillWind("5");
    Type(Box("winForm", "TextBox4"), QStringLiteral("2400"));
    Type(Box("winForm", "TextBox5"), QStringLiteral("3000"));
    Press("winForm", "Command1");
    // Wind (lines 0 and 1) and strength hold, the deflection does not.
    EXPECT_TRUE(Result("winForm")->toPlainText().endsWith(QStringLiteral("玻璃的挠度不满足!")));
    EXPECT_EQ(RedLines(Result("winForm")), (std::vector<int>{3}));

    FillMember();
    Press("gjForm", "Button2");
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].text, QStringLiteral("计算完毕!"));
    EXPECT_EQ(services_.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(RedLines(Result("gjForm")), std::vector<int>{});
    Type(Box("gjForm", "TextBox10"), QStringLiteral("2"));
    Type(Box("gjForm", "TextBox6"), QStringLiteral("1000"));
    Press("gjForm", "Button2");
    ASSERT_EQ(services_.messages.size(), 2u);
    EXPECT_EQ(services_.messages[1].text,
              QStringLiteral("计算完毕!以下校核不满足要求:杆件强度、杆件挠度"));
    EXPECT_EQ(services_.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(RedLines(Result("gjForm")), (std::vector<int>{0, 2}));
    Press("gjForm", "Button4");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main_->ShowMemberForm();
    EXPECT_EQ(RedLines(Result("gjForm")), (std::vector<int>{0, 2}));

    // No busy cursor was shown while the document was written and opened.
    Press("gjForm", "Button3");
    EXPECT_EQ(services_.busy_when_opening, std::vector<bool>{true});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Enter did nothing; "no lower bound" could never be chosen again once a bound was picked.
TEST_F(WindowInputs, EnterComputesAndTheLowerBoundCanBeSetBackToNone) {
    FillWind();
    auto option = [&](const char* name) { return Control<QRadioButton>("winForm", name); };
    EXPECT_TRUE(option("RadioButton3")->isChecked());
    Click(option("RadioButton1"));
    EXPECT_EQ(main_->Model().design().wind.minimum_rule, MinimumWkRule::AtLeast1);
    Click(option("RadioButton3"));
    EXPECT_EQ(main_->Model().design().wind.minimum_rule, MinimumWkRule::None);
    QTest::keyClick(Box("winForm", "TextBox5"), Qt::Key_Return);
    EXPECT_TRUE(main_->Model().WindGlassCurrent());
    EXPECT_EQ(Ini("glass", "op1"), "False");
    Type(Box("winForm", "TextBox3"), QStringLiteral("30"));
    QTest::keyClick(Combo("winForm", "ComboBox6")->lineEdit(), Qt::Key_Enter);
    EXPECT_EQ(main_->Model().wind_glass()->wind_input.height, "30");

    FillMember();
    QTest::keyClick(Box("gjForm", "TextBox8"), Qt::Key_Return);
    EXPECT_EQ(services_.TakeTexts(), Texts{QStringLiteral("计算完毕!")});
    QTest::keyClick(Result("gjForm"), Qt::Key_Return);  // a line break there, not a check
    EXPECT_EQ(services_.TakeTexts(), Texts{});
}

// Typing 深圳 kept 广州市's 500 Pa: the report said "基本参数:深圳,基本风压:500Pa".
TEST_F(WindowInputs, TheCityAndItsPressureStayTogether) {
    FillWind();
    auto city = [&] { return Combo("winForm", "ComboBox2"); };
    auto pressure = [&] { return Box("winForm", "TextBox1")->text(); };
    Type(city(), QStringLiteral("深圳"));
    EXPECT_EQ(pressure(), QString());
    Type(city(), QStringLiteral("深圳市"));
    EXPECT_EQ(pressure(), QStringLiteral("750"));
    Pick(city(), QStringLiteral("广州市"));
    EXPECT_EQ(pressure(), QStringLiteral("500"));
    // The user's own pressure stays whatever the site is called, also in a reopened design.
    Type(Box("winForm", "TextBox1"), QStringLiteral("650"));
    Type(city(), QStringLiteral("广州市南沙区"));
    Press("winForm", "Command1");
    Reopen("winForm", 1);
    EXPECT_EQ(pressure(), QStringLiteral("650"));
    Type(city(), QStringLiteral("广州"));
    EXPECT_EQ(pressure(), QStringLiteral("650"));
    // A reopened pressure that is the station's follows the site.
    Pick(Combo("winForm", "ComboBox1"), QStringLiteral("广东"));
    Press("winForm", "Command1");
    Reopen("winForm", 1);
    EXPECT_EQ(pressure(), QStringLiteral("500"));
    Type(city(), QStringLiteral("深圳"));
    EXPECT_EQ(pressure(), QString());
}

// On a small screen the main window was larger than the screen and 计算 lay below its edge.
TEST_F(WindowInputs, WindowsFitTheScreenAndTallWindowsScroll) {
    const QSize screen = main_->screen()->availableGeometry().size();
    EXPECT_LE(main_->width(), screen.width());
    EXPECT_LE(main_->height(), screen.height());
    FillMember();
    auto* area = main_->findChild<QMdiArea*>();
    ASSERT_GT(Form("gjForm")->parentWidget()->height(), area->viewport()->height());
    QScrollBar* scroll = area->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    QApplication::processEvents();
    QWidget* check = Control<QPushButton>("gjForm", "Button2");
    const QRect shown(check->mapTo(area->viewport(), QPoint(0, 0)), check->size());
    EXPECT_TRUE(area->viewport()->rect().contains(shown));

    // The project window within the client area, its last button and close box reachable.
    ClickToolbar(7);
    QWidget* frame = Form("projectForm")->parentWidget();
    scroll->setValue(0);
    area->horizontalScrollBar()->setValue(0);
    QApplication::processEvents();
    EXPECT_LE(frame->geometry().right(), area->viewport()->width()) << frame->width();
    QWidget* last = Control<QPushButton>("projectForm", "ProjectDocument");
    const QRect button(last->mapTo(area->viewport(), QPoint(0, 0)), last->size());
    EXPECT_TRUE(area->viewport()->rect().contains(button));
}

}  // namespace
}  // namespace quoinry::shell::testing
