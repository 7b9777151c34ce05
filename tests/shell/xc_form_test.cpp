// The profile management window and the CAD step.
#include <QLabel>
#include <filesystem>

#include "shell_test_support.h"

namespace quoinry::shell::testing {
namespace {

const QString kIncomplete = QStringLiteral("内容填写不完整!请填写完整后再试!");
const QString kDuplicate = QStringLiteral("已存在相同编号的型材,请改名后重试!");
const QString kAdded = QStringLiteral("记录添加成功!");

class XcFormTest : public ShellTest {
  protected:
    QComboBox* Combo(const char* name) { return Control<QComboBox>("xcForm", name); }
    QLineEdit* Box(int number) {
        return Control<QLineEdit>("xcForm", ("TextBox" + std::to_string(number)).c_str());
    }
    QPushButton* Button(const char* name) { return Control<QPushButton>("xcForm", name); }

    void UseDrawing(const char* name) {
        services_.drawing_file = QString::fromStdString(
            (fs::path(QUOINRY_SOURCE_DIR) / "tests" / "data" / "section" / name).string());
    }
    // The 60 × 100 mm rectangle measured into the window.
    void MeasureRectangle() {
        UseDrawing("rectangle.dxf");
        Click(Button("Button1"));
        ASSERT_EQ(services_.TakeTexts(), Texts{});
    }
};

TEST_F(XcFormTest, EmptyLibraryLeavesEverythingEmptyAndTheButtonsDisabled) {
    ClickToolbar(2);
    EXPECT_EQ(Form("xcForm")->parentWidget()->windowTitle(), QStringLiteral("型材管理"));
    EXPECT_EQ(Combo("ComboBox1")->count(), 0);
    EXPECT_EQ(Combo("ComboBox2")->count(), 0);
    for (const char* name : {"Button2", "Button3", "Button4"})
        EXPECT_FALSE(Button(name)->isEnabled()) << name;
    EXPECT_TRUE(Button("Button1")->isEnabled());
    EXPECT_EQ(Box(9)->toolTip(), QStringLiteral("Y轴抗抵矩,单位:cm^3"));
    EXPECT_EQ(services_.TakeTexts(), Texts{});
}

TEST_F(XcFormTest, OpeningShowsTheFirstProfileOfTheFirstSeriesWithItsPicture) {
    AddSampleProfile("60平开窗", "KC60-02");
    AddSampleProfile("60平开窗", "KC60-01");
    AddSampleProfile("圆管", "YG50-01");
    ClickToolbar(2);
    EXPECT_EQ(Combo("ComboBox1")->currentText(), QStringLiteral("60平开窗"));
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QStringLiteral("KC60-01"));
    EXPECT_EQ(Combo("ComboBox2")->count(), 2);
    // Record positions 2 .. 16 in their boxes: strength, shear, wall, area, modulus, Ix ...
    const std::pair<int, const char*> expected[] = {{1, "85.4"},  {2, "49.6"},   {4, "1.6"},
                                                    {3, "3.828"}, {15, "70000"}, {5, "9.379"},
                                                    {14, "3.249"}};
    for (const auto& [number, text] : expected)
        EXPECT_EQ(Box(number)->text(), QString::fromUtf8(text)) << "TextBox" << number;
    // The window keeps its picture to itself: no shared file another window could pick up.
    EXPECT_FALSE(fs::exists(Temp() / "xc.wmf"));
    EXPECT_FALSE(Control<QLabel>("xcForm", "Image1")->pixmap().isNull());
    EXPECT_FALSE(Button("Button2")->isEnabled());
    EXPECT_TRUE(Button("Button3")->isEnabled());

    Pick(Combo("ComboBox1"), QStringLiteral("圆管"));
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QStringLiteral("YG50-01"));
    EXPECT_EQ(Box(4)->text(), QStringLiteral("2"));
}

TEST_F(XcFormTest, CadStepFillsTheBoxesThePictureAndEnablesAdd) {
    ClickToolbar(2);
    MeasureRectangle();
    const std::pair<int, const char*> expected[] = {
        {3, "60"},  {5, "500"},  {6, "180"},  {7, "100"},    {8, "100"},
        {9, "60"},  {10, "60"},  {11, "75"},  {12, "75"},    {13, "45"},
        {14, "45"}, {1, "85.4"}, {2, "49.6"}, {15, "70000"}, {4, "1.4"}};
    for (const auto& [number, text] : expected)
        EXPECT_EQ(Box(number)->text(), QString::fromUtf8(text)) << "TextBox" << number;
    EXPECT_TRUE(Button("Button2")->isEnabled());
    EXPECT_FALSE(fs::exists(Temp() / "xc.wmf"));
    EXPECT_FALSE(Control<QLabel>("xcForm", "Image1")->pixmap().isNull());
}

TEST_F(XcFormTest, WhatTheReaderChangedIsShownInOneBox) {
    // The rectangle drawn in centimetres with a centre line across it.
    ClickToolbar(2);
    UseDrawing("centre_line_cm.dxf");
    Click(Button("Button1"));
    EXPECT_EQ(services_.TakeTexts(),
              Texts{QStringLiteral("图形单位为厘米,已换算为毫米\n"
                                   "已忽略1条非连续线型的线(中心线、虚线等辅助线)")});
    EXPECT_EQ(Box(5)->text(), QStringLiteral("500"));
}

TEST_F(XcFormTest, CancelledOrUnusableDrawingChangesNothing) {
    ClickToolbar(2);
    Type(Box(3), QStringLiteral("7"));
    services_.picked_region.reset();
    UseDrawing("rectangle.dxf");
    Click(Button("Button1"));
    EXPECT_EQ(services_.offered_regions, 1u);
    EXPECT_EQ(Box(3)->text(), QStringLiteral("7"));
    EXPECT_FALSE(Button("Button2")->isEnabled());
    EXPECT_FALSE(fs::exists(Temp() / "xc.wmf"));

    services_.picked_region = 0;
    UseDrawing("open_chain.dxf");
    Click(Button("Button1"));
    const Texts texts = services_.TakeTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("当前错误:")));
    EXPECT_EQ(Box(3)->text(), QStringLiteral("7"));
    EXPECT_FALSE(Button("Button2")->isEnabled());
}

TEST_F(XcFormTest, AddChecksCompletenessAndDuplicates) {
    ClickToolbar(2);
    MeasureRectangle();
    Type(Combo("ComboBox1"), QStringLiteral("测试系列"));
    Type(Combo("ComboBox2"), QStringLiteral("T-01"));
    Type(Box(12), QString());
    Click(Button("Button2"));
    EXPECT_EQ(services_.TakeTexts(), Texts{kIncomplete});
    Type(Box(12), QStringLiteral("75"));
    Type(Combo("ComboBox2"), QString());
    Click(Button("Button2"));
    EXPECT_EQ(services_.TakeTexts(), Texts{kIncomplete});

    Type(Combo("ComboBox2"), QStringLiteral("T-01"));
    Click(Button("Button2"));
    EXPECT_EQ(services_.TakeTexts(), Texts{kAdded});
    EXPECT_TRUE(Button("Button3")->isEnabled());
    EXPECT_TRUE(Button("Button4")->isEnabled());
    // The new series and number are in the lists at once, and shown.
    EXPECT_NE(Combo("ComboBox1")->findText(QStringLiteral("测试系列")), -1);
    EXPECT_NE(Combo("ComboBox2")->findText(QStringLiteral("T-01")), -1);
    EXPECT_EQ(Combo("ComboBox1")->currentText(), QStringLiteral("测试系列"));
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QStringLiteral("T-01"));
    Click(Button("Button2"));
    EXPECT_EQ(services_.TakeTexts(), Texts{kDuplicate});

    // The stored profile, with the picture the CAD step made, is what the next window shows.
    Button("Button5")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ClickToolbar(2);
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QStringLiteral("T-01"));
    EXPECT_EQ(Box(5)->text(), QStringLiteral("500"));
    EXPECT_FALSE(Control<QLabel>("xcForm", "Image1")->pixmap().isNull());
}

TEST_F(XcFormTest, TextThatIsNoNumberIsRefusedWithTheErrorBox) {
    ClickToolbar(2);
    MeasureRectangle();
    Type(Combo("ComboBox1"), QStringLiteral("O'Brien 系列"));
    Type(Combo("ComboBox2"), QStringLiteral("T-01"));
    Type(Box(5), QStringLiteral("abc"));
    Click(Button("Button2"));
    EXPECT_EQ(services_.TakeTexts(),
              Texts{QStringLiteral("当前错误:X轴惯性矩(cm^4): “abc” 应为数")});
    Type(Box(5), QStringLiteral("500"));
    Click(Button("Button2"));  // an apostrophe is just a character
    EXPECT_EQ(services_.TakeTexts(), Texts{kAdded});
}

// Maximized on a large screen, the rows keep their natural height: the space goes below them.
TEST_F(XcFormTest, AMaximizedWindowKeepsItsRowsAtTheirHeight) {
    main_->resize(1600, 1200);
    ClickToolbar(2);
    Form("xcForm")->parentWidget()->showMaximized();
    QApplication::processEvents();
    const int pitch =
        Box(2)->mapTo(Form("xcForm"), QPoint()).y() - Box(1)->mapTo(Form("xcForm"), QPoint()).y();
    EXPECT_LT(pitch, 2 * Box(1)->height());
}

TEST_F(XcFormTest, ModifyKeepsItsOwnNameRefusesAnotherAndRenames) {
    AddSampleProfile("60平开窗", "KC60-01");
    AddSampleProfile("60平开窗", "KC60-02");
    ClickToolbar(2);
    Type(Box(4), QStringLiteral("2.5"));
    Click(Button("Button3"));  // series and number unchanged
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QStringLiteral("KC60-01"));
    EXPECT_EQ(Box(4)->text(), QStringLiteral("2.5"));

    Type(Combo("ComboBox2"), QStringLiteral("KC60-02"));
    Click(Button("Button3"));
    EXPECT_EQ(services_.TakeTexts(), Texts{kDuplicate});

    Type(Combo("ComboBox2"), QStringLiteral("KC60-00"));
    Click(Button("Button3"));
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    ASSERT_EQ(Combo("ComboBox2")->count(), 2);
    EXPECT_EQ(Combo("ComboBox2")->itemText(0), QStringLiteral("KC60-00"));
    EXPECT_EQ(Combo("ComboBox2")->itemText(1), QStringLiteral("KC60-02"));
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QStringLiteral("KC60-00"));
    EXPECT_EQ(Box(4)->text(), QStringLiteral("2.5"));
}

// A measured section does not overwrite the profile shown before it.
TEST_F(XcFormTest, CadStepEmptiesTheNameSoModifyHasNothingToOverwrite) {
    AddSampleProfile("60平开窗", "KC60-01");
    ClickToolbar(2);
    MeasureRectangle();
    EXPECT_EQ(Combo("ComboBox1")->currentText(), QString());
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QString());
    Click(Button("Button3"));
    const Texts texts = services_.TakeTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("没有选中要修改的型材!")));
    Pick(Combo("ComboBox1"), QStringLiteral("60平开窗"));
    EXPECT_EQ(Box(5)->text(), QStringLiteral("9.379"));  // not the measured 500
}

TEST_F(XcFormTest, DeleteAsksThenClearsAndShowsWhatRemains) {
    AddSampleProfile("60平开窗", "KC60-01");
    AddSampleProfile("60平开窗", "KC60-02");
    AddSampleProfile("圆管", "YG50-01");
    ClickToolbar(2);
    services_.answer = false;
    Click(Button("Button4"));
    ASSERT_EQ(services_.questions.size(), 1u);
    EXPECT_EQ(services_.questions[0], QStringLiteral("确定删除型材 60平开窗\\KC60-01 吗?"));
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    EXPECT_EQ(Combo("ComboBox2")->count(), 2);

    services_.answer = true;
    Click(Button("Button4"));
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].text, QStringLiteral("记录删除成功!"));
    EXPECT_EQ(services_.messages[0].icon, MessageIcon::Information);
    services_.messages.clear();
    EXPECT_EQ(Combo("ComboBox2")->count(), 1);
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QStringLiteral("KC60-02"));
    EXPECT_EQ(Box(4)->text(), QStringLiteral("1.8"));

    // The last profile of a series: the series leaves the list and nothing deleted stays shown.
    Pick(Combo("ComboBox1"), QStringLiteral("圆管"));
    Click(Button("Button4"));
    EXPECT_EQ(services_.TakeTexts(), Texts{QStringLiteral("记录删除成功!")});
    EXPECT_EQ(Combo("ComboBox1")->findText(QStringLiteral("圆管")), -1);
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QString());
    for (int number = 1; number <= 15; ++number)
        EXPECT_EQ(Box(number)->text(), QString()) << "TextBox" << number;
    EXPECT_TRUE(Control<QLabel>("xcForm", "Image1")->pixmap().isNull());

    // A profile that is not there is no success.
    Type(Combo("ComboBox1"), QStringLiteral("60平开窗"));
    Type(Combo("ComboBox2"), QStringLiteral("KC60-99"));
    Click(Button("Button4"));
    EXPECT_EQ(services_.TakeTexts(), Texts{QStringLiteral("当前错误:没有当前记录")});
}

TEST_F(XcFormTest, CadStepInTheMemberWindowFillsItsOwnBoxes) {
    main_->ShowMemberForm();
    services_.TakeTexts();
    UseDrawing("rectangle.dxf");
    Click(Control<QPushButton>("gjForm", "Button1"));
    const std::pair<const char*, const char*> expected[] = {
        {"TextBox14", "60"},   {"TextBox8", "500"}, {"TextBox9", "180"},  {"TextBox10", "100"},
        {"TextBox12", "75"},   {"TextBox13", "75"}, {"TextBox1", "85.4"}, {"TextBox5", "49.6"},
        {"TextBox6", "70000"}, {"TextBox7", "1.4"}};
    for (const auto& [name, text] : expected)
        EXPECT_EQ(Control<QLineEdit>("gjForm", name)->text(), QString::fromUtf8(text)) << name;
}

}  // namespace
}  // namespace quoinry::shell::testing
