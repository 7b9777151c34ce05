// The calculation windows as an engineer expects them: refused boxes marked, units shown, failed
// verdicts in red, Enter computes, the site and its pressure together, the windows on the screen.
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <filesystem>
#include <fstream>

#include "common/program_dir.h"
#include "shell_test_support.h"

namespace quoinry::shell::testing {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<QString>;

class WindowInputs : public ShellTest {
  protected:
    QComboBox* Combo(const char* form, const char* name) { return Control<QComboBox>(form, name); }
    QLineEdit* Box(const char* form, const char* name) { return Control<QLineEdit>(form, name); }
    QPushButton* Button(const char* form, const char* name) {
        return Control<QPushButton>(form, name);
    }
    QPlainTextEdit* Result(const char* form) {
        return Control<QPlainTextEdit>(form,
                                       form == std::string("winForm") ? "TextBox6" : "TextBox15");
    }
    static bool Marked(const QWidget* box) { return box->property("refused").toBool(); }
    // The lines of a result box shown in red.
    static std::vector<int> RedLines(QPlainTextEdit* box) {
        std::vector<int> red;
        for (QTextBlock line = box->document()->begin(); line.isValid(); line = line.next()) {
            const QTextCharFormat format = line.begin().fragment().charFormat();
            if (format.foreground().color() == QColor(0xC0, 0x00, 0x00))
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
    // The wind computed, then a vertical member of 1200 + 0 × `span` with a stiff section.
    void FillMember(const char* span = "1500") {
        FillWind();
        Click(Button("winForm", "Command1"));
        Click(Button("winForm", "Command2"));
        QApplication::processEvents();
        services_.TakeTexts();
        Pick(Combo("gjForm", "ComboBox1"), QStringLiteral("竖向杆件"));
        const std::pair<const char*, const char*> boxes[] = {
            {"TextBox1", "85.5"}, {"TextBox2", "1200"},  {"TextBox3", "0"},   {"TextBox4", span},
            {"TextBox5", "49.6"}, {"TextBox6", "70000"}, {"TextBox7", "1.4"}, {"TextBox8", "50"},
            {"TextBox9", "30"},   {"TextBox10", "10"},   {"TextBox11", "12"}, {"TextBox12", "8"},
            {"TextBox13", "7"},   {"TextBox14", "5"}};
        for (const auto& [name, text] : boxes) Type(Box("gjForm", name), QString::fromUtf8(text));
    }
};

// The message named the box, but nothing showed where it was.
TEST_F(WindowInputs, RefusedBoxesAreMarkedFocusedAndClearedWhenEdited) {
    FillWind();
    Type(Box("winForm", "TextBox3"), QStringLiteral("-10"));
    Type(Combo("winForm", "ComboBox3"), QStringLiteral("E类"));
    Click(Button("winForm", "Command1"));
    EXPECT_EQ(services_.TakeTexts(),
              Texts{QStringLiteral("当前错误:地面类型: “E类” 应为A类、B类、C类、D类之一\n"
                                   "计算处标高(m): “-10” 应为大于0且不大于550的数")});
    QLineEdit* height = Box("winForm", "TextBox3");
    QComboBox* terrain = Combo("winForm", "ComboBox3");
    EXPECT_TRUE(Marked(height));
    EXPECT_TRUE(Marked(terrain));
    EXPECT_FALSE(Marked(Box("winForm", "TextBox2")));
    EXPECT_EQ(Form("winForm")->window()->focusWidget(), terrain);
    EXPECT_FALSE(height->styleSheet().isEmpty());

    Type(height, QStringLiteral("20"));
    EXPECT_FALSE(Marked(height));
    EXPECT_TRUE(height->styleSheet().isEmpty());
    EXPECT_TRUE(Marked(terrain));
    Pick(terrain, QStringLiteral("B类"));
    EXPECT_FALSE(Marked(terrain));
    Click(Button("winForm", "Command1"));
    EXPECT_EQ(services_.TakeTexts(), Texts{});

    // A box refused for the member form's rule is marked in the member window only.
    FillMember();
    // The span used to end in a bare "溢出"; it stays the first line, the boxes follow.
    Type(Box("gjForm", "TextBox4"), QStringLiteral("1e300"));
    Type(Box("gjForm", "TextBox10"), QStringLiteral("abc"));
    Click(Button("gjForm", "Button2"));
    EXPECT_EQ(services_.TakeTexts(),
              Texts{QStringLiteral("当前错误:溢出\n"
                                   "受荷单元高Hsk(mm): “1e300” 应为不小于100且不大于50000的数\n"
                                   "X轴抵抗矩一(cm^3): “abc” 应为不小于0.01且不大于100000的数")});
    EXPECT_TRUE(Marked(Box("gjForm", "TextBox4")));
    EXPECT_TRUE(Marked(Box("gjForm", "TextBox10")));
    EXPECT_EQ(Form("gjForm")->window()->focusWidget(), Box("gjForm", "TextBox4"));
    EXPECT_EQ(Box("gjForm", "TextBox4")->selectedText(), QStringLiteral("1e300"));
    // The next attempt marks what it refuses now, not what the last one did.
    Type(Box("gjForm", "TextBox10"), QStringLiteral("10"));
    Type(Box("gjForm", "TextBox4"), QStringLiteral("1500"));
    Type(Box("gjForm", "TextBox6"), QStringLiteral("-1"));
    Click(Button("gjForm", "Button5"));  // pre-selection does not read E
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    Click(Button("gjForm", "Button2"));
    services_.TakeTexts();
    EXPECT_TRUE(Marked(Box("gjForm", "TextBox6")));
    EXPECT_FALSE(Marked(Box("gjForm", "TextBox4")));
}

// Which unit each box wants could only be guessed (基本风压 is Pa, not kN/m^2).
TEST_F(WindowInputs, EveryBoxShowsItsUnit) {
    FillMember();
    const std::tuple<const char*, const char*, const char*> units[] = {
        {"winForm", "TextBox1", "Pa"},   {"winForm", "TextBox3", "m"},
        {"winForm", "TextBox4", "mm"},   {"winForm", "TextBox5", "mm"},
        {"winForm", "ComboBox6", "mm"},  {"winForm", "ComboBox8", "mm"},
        {"gjForm", "TextBox1", "N/mm²"}, {"gjForm", "TextBox2", "mm"},
        {"gjForm", "TextBox4", "mm"},    {"gjForm", "TextBox6", "N/mm²"},
        {"gjForm", "TextBox7", "mm"},    {"gjForm", "TextBox8", "cm⁴"},
        {"gjForm", "TextBox9", "cm⁴"},   {"gjForm", "TextBox11", "cm³"},
        {"gjForm", "TextBox13", "cm³"},  {"gjForm", "TextBox14", "cm²"},
    };
    ClickToolbar(1);  // both windows open
    ClickToolbar(2);  // and the profile library
    for (const auto& [form, box, unit] : units) {
        const std::string name = std::string(box) + "Unit";
        auto* label = Control<QLabel>(form, name.c_str());
        ASSERT_NE(label, nullptr) << form << "." << name;
        EXPECT_EQ(label->text(), QString::fromUtf8(unit)) << form << "." << box;
        EXPECT_TRUE(label->isVisible()) << form << "." << box;
    }
    // The shape coefficient has none.
    EXPECT_EQ(Form("winForm")->findChild<QLabel*>(QStringLiteral("TextBox2Unit")), nullptr);
}

// A failed check looked like a passed one, and the message said only "计算完毕!".
TEST_F(WindowInputs, FailedVerdictsAreRedAndTheCheckSaysWhichFail) {
    FillWind("5");
    Type(Box("winForm", "TextBox4"), QStringLiteral("2400"));
    Type(Box("winForm", "TextBox5"), QStringLiteral("3000"));
    Click(Button("winForm", "Command1"));
    const QString text = Result("winForm")->toPlainText();
    ASSERT_EQ(text.count(QLatin1Char('\n')), 3) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("玻璃的挠度不满足!")));
    // Strength (line 2) holds, the deflection (line 3) does not.
    EXPECT_EQ(RedLines(Result("winForm")), (std::vector<int>{3}));
    EXPECT_EQ(services_.TakeTexts(), Texts{});

    FillMember("1500");
    Click(Button("gjForm", "Button2"));
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].text, QStringLiteral("计算完毕!"));
    EXPECT_EQ(services_.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(RedLines(Result("gjForm")), std::vector<int>{});
    services_.messages.clear();
    Type(Box("gjForm", "TextBox10"), QStringLiteral("2"));
    Type(Box("gjForm", "TextBox6"), QStringLiteral("1000"));
    Click(Button("gjForm", "Button2"));
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].text,
              QStringLiteral("计算完毕!以下校核不满足要求:杆件强度、杆件挠度"));
    EXPECT_EQ(services_.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(RedLines(Result("gjForm")), (std::vector<int>{0, 2}));
    EXPECT_TRUE(Result("gjForm")->toPlainText().startsWith(QStringLiteral("σ=")));

    // Reopened, the current result shows red again.
    Click(Button("gjForm", "Button4"));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main_->ShowMemberForm();
    EXPECT_EQ(RedLines(Result("gjForm")), (std::vector<int>{0, 2}));
}

// A refused check used to leave the previous result in the box beside the error.
TEST_F(WindowInputs, ARefusedCheckLeavesNoEarlierResultInTheBox) {
    FillMember();
    Click(Button("gjForm", "Button2"));
    EXPECT_FALSE(Result("gjForm")->toPlainText().isEmpty());
    Type(Box("gjForm", "TextBox7"), QStringLiteral("0"));
    Click(Button("gjForm", "Button2"));
    EXPECT_EQ(Result("gjForm")->toPlainText(), QString());
    EXPECT_FALSE(main_->Model().member_run().has_value());
}

// Enter did nothing.
TEST_F(WindowInputs, EnterComputesInBothWindows) {
    FillWind();
    QTest::keyClick(Box("winForm", "TextBox5"), Qt::Key_Return);
    EXPECT_TRUE(main_->Model().WindGlassCurrent());
    EXPECT_TRUE(Button("winForm", "Command1")->isDefault());
    Type(Box("winForm", "TextBox3"), QStringLiteral("30"));
    QTest::keyClick(Combo("winForm", "ComboBox6")->lineEdit(), Qt::Key_Enter);
    EXPECT_TRUE(main_->Model().WindGlassCurrent());
    EXPECT_EQ(main_->Model().wind_glass()->wind_input.height, "30");

    FillMember();
    QTest::keyClick(Box("gjForm", "TextBox8"), Qt::Key_Return);
    EXPECT_EQ(services_.TakeTexts(), Texts{QStringLiteral("计算完毕!")});
    EXPECT_TRUE(main_->Model().MemberCurrent());
    // Enter in the result box is a line break, not a check.
    QTest::keyClick(Result("gjForm"), Qt::Key_Return);
    EXPECT_EQ(services_.TakeTexts(), Texts{});
}

// Once a lower bound was picked, "no lower bound" could never be chosen again.
TEST_F(WindowInputs, TheLowerBoundCanBeSetBackToNone) {
    FillWind();
    auto option = [&](const char* name) { return Control<QRadioButton>("winForm", name); };
    EXPECT_TRUE(option("RadioButton3")->isChecked());
    EXPECT_EQ(option("RadioButton3")->text(), QStringLiteral("不设下限"));
    Click(option("RadioButton1"));
    EXPECT_EQ(main_->Model().design().wind.minimum_rule, MinimumWkRule::AtLeast1);
    Click(option("RadioButton3"));
    EXPECT_EQ(main_->Model().design().wind.minimum_rule, MinimumWkRule::None);
    EXPECT_FALSE(option("RadioButton1")->isChecked());
    Click(Button("winForm", "Command1"));
    EXPECT_EQ(Ini("glass", "op1"), "False");
    EXPECT_EQ(Ini("glass", "op2"), "False");
    Click(option("RadioButton2"));
    Reopen("winForm", 1);
    EXPECT_TRUE(option("RadioButton2")->isChecked());
    EXPECT_FALSE(option("RadioButton3")->isChecked());
}

// Typing 深圳 kept 广州市's 500 Pa: the report said "基本参数:深圳,基本风压:500Pa".
TEST_F(WindowInputs, TheCityAndItsPressureStayTogether) {
    FillWind();
    QComboBox* city = Combo("winForm", "ComboBox2");
    QLineEdit* pressure = Box("winForm", "TextBox1");
    EXPECT_EQ(pressure->text(), QStringLiteral("500"));
    Type(city, QStringLiteral("深圳"));
    EXPECT_EQ(pressure->text(), QString());
    Click(Button("winForm", "Command1"));
    EXPECT_EQ(
        services_.TakeTexts(),
        Texts{QStringLiteral("当前错误:类型不匹配\n基本风压(Pa): “” 应为大于0且不大于10000的数")});
    Type(city, QStringLiteral("深圳市"));
    EXPECT_EQ(pressure->text(), QStringLiteral("750"));
    Pick(city, QStringLiteral("广州市"));
    EXPECT_EQ(pressure->text(), QStringLiteral("500"));

    // The user's own pressure stays whatever the site is called.
    Type(pressure, QStringLiteral("650"));
    Type(city, QStringLiteral("广州市南沙区"));
    EXPECT_EQ(pressure->text(), QStringLiteral("650"));
    Click(Button("winForm", "Command1"));
    EXPECT_EQ(services_.TakeTexts(), Texts{});

    // A design holds its site and pressure together: reopened, neither changes, and the pressure
    // is still the user's own.
    Reopen("winForm", 1);
    EXPECT_EQ(Combo("winForm", "ComboBox2")->currentText(), QStringLiteral("广州市南沙区"));
    EXPECT_EQ(Box("winForm", "TextBox1")->text(), QStringLiteral("650"));
    Type(Combo("winForm", "ComboBox2"), QStringLiteral("广州"));
    EXPECT_EQ(Box("winForm", "TextBox1")->text(), QStringLiteral("650"));
    // A restored pressure that is the station's follows the site.
    Pick(Combo("winForm", "ComboBox1"), QStringLiteral("广东"));
    Click(Button("winForm", "Command1"));
    Reopen("winForm", 1);
    EXPECT_EQ(Box("winForm", "TextBox1")->text(), QStringLiteral("500"));
    Type(Combo("winForm", "ComboBox2"), QStringLiteral("深圳"));
    EXPECT_EQ(Box("winForm", "TextBox1")->text(), QString());
}

// On a small screen the main window was larger than the screen and 计算 lay below its edge.
TEST_F(WindowInputs, WindowsFitTheScreenAndTallWindowsScroll) {
    const QSize screen = main_->screen()->availableGeometry().size();
    EXPECT_LE(main_->width(), screen.width());
    EXPECT_LE(main_->height(), screen.height());
    FillMember();
    auto* area = main_->findChild<QMdiArea*>();
    QWidget* form = Form("gjForm");
    ASSERT_GT(form->parentWidget()->height(), area->viewport()->height());
    QScrollBar* scroll = area->verticalScrollBar();
    EXPECT_GT(scroll->maximum(), 0);
    scroll->setValue(scroll->maximum());
    QApplication::processEvents();
    QWidget* check = Button("gjForm", "Button2");
    const QRect shown(check->mapTo(area->viewport(), QPoint(0, 0)), check->size());
    EXPECT_TRUE(area->viewport()->rect().contains(shown));
}

TEST_F(WindowInputs, TheCursorIsBusyWhileTheDocumentIsWrittenAndOpened) {
    FillMember();
    Click(Button("gjForm", "Button2"));
    Click(Button("gjForm", "Button3"));
    EXPECT_EQ(services_.busy_when_opening, std::vector<bool>{true});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace quoinry::shell::testing
