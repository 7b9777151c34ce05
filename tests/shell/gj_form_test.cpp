// The member check window: member form, pre-selection, restore of section [gj].
#include <QLabel>
#include <QRadioButton>
#include <filesystem>

#include "common/program_dir.h"
#include "shell_test_support.h"

namespace quoinry::shell::testing {
namespace {

class GjFormTest : public ShellTest {
  protected:
    QComboBox* Combo(const char* name) { return Control<QComboBox>("gjForm", name); }
    QLineEdit* Box(const char* name) { return Control<QLineEdit>("gjForm", name); }
    QPushButton* Button(const char* name) { return Control<QPushButton>("gjForm", name); }
    QString Label(const char* name) { return Control<QLabel>("gjForm", name)->text(); }
    QString Result() { return Control<QPlainTextEdit>("gjForm", "TextBox15")->toPlainText(); }

    // The wind and glass window computed with Wk raised to 1 kN/m^2, then "下一步".
    void OpenWithWkOne() {
        ClickToolbar(1);
        auto combo = [&](const char* name) { return Control<QComboBox>("winForm", name); };
        auto box = [&](const char* name) { return Control<QLineEdit>("winForm", name); };
        Type(box("TextBox1"), QStringLiteral("300"));
        Pick(combo("ComboBox3"), QStringLiteral("C类"));
        Type(box("TextBox2"), QStringLiteral("1"));
        Type(box("TextBox3"), QStringLiteral("5"));
        Click(Control<QRadioButton>("winForm", "RadioButton1"));
        Pick(combo("ComboBox4"), QStringLiteral("单层玻璃"));
        Type(box("TextBox4"), QStringLiteral("1000"));
        Type(box("TextBox5"), QStringLiteral("1000"));
        Pick(combo("ComboBox5"), QStringLiteral("钢化玻璃"));
        Pick(combo("ComboBox6"), QStringLiteral("6"));
        Click(Control<QPushButton>("winForm", "Command1"));
        Click(Control<QPushButton>("winForm", "Command2"));
        ASSERT_TRUE(main_->Model().WindGlassCurrent());
        ASSERT_EQ(main_->Model().wind_glass()->wind.wk, 1.0);
        ASSERT_NE(Form("gjForm"), nullptr);
    }
    // 返回 and the member window opened again, without a word.
    void ReopenMemberForm() {
        Button("Button4")->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        main_->ShowMemberForm();
        EXPECT_EQ(services_.TakeTexts(), Texts{});
    }
};

TEST_F(GjFormTest, MemberFormRelabelsTheGeometryAndShowsItsSketch) {
    OpenWithWkOne();
    EXPECT_EQ(Form("gjForm")->parentWidget()->windowTitle(), QStringLiteral("杆件计算"));
    EXPECT_EQ(Combo("ComboBox1")->count(), 2);
    Pick(Combo("ComboBox1"), QStringLiteral("竖向杆件"));
    EXPECT_EQ(Label("Label15"), QStringLiteral("第一受荷单元宽Wsk1"));
    EXPECT_EQ(Label("Label16"), QStringLiteral("第二受荷单元宽Wsk2"));
    EXPECT_EQ(Label("Label17"), QStringLiteral("受荷单元高Hsk"));
    const QImage vertical = Control<QLabel>("gjForm", "Image2")->pixmap().toImage();
    EXPECT_FALSE(vertical.isNull());
    Pick(Combo("ComboBox1"), QStringLiteral("横向杆件"));
    EXPECT_EQ(Label("Label15"), QStringLiteral("受荷单元宽Wsk"));
    EXPECT_EQ(Label("Label16"), QStringLiteral("受荷单元高Hsk"));
    EXPECT_EQ(Label("Label17"), QStringLiteral("第一受荷单元高Hsk1"));
    const QImage horizontal = Control<QLabel>("gjForm", "Image2")->pixmap().toImage();
    EXPECT_FALSE(horizontal.isNull());
    EXPECT_NE(vertical, horizontal);
    // Typing a text runs no handler: the labels stay.
    Type(Combo("ComboBox1"), QStringLiteral("竖向杆件"));
    EXPECT_EQ(Label("Label15"), QStringLiteral("受荷单元宽Wsk"));
    EXPECT_EQ(Box("TextBox8")->toolTip(), QStringLiteral("X轴惯性矩,单位:cm^4"));
    EXPECT_EQ(Box("TextBox11")->toolTip(), QStringLiteral("X轴抗抵矩,单位:cm^3"));
}

TEST_F(GjFormTest, PreselectionOfThe2400MillimetreMember) {
    OpenWithWkOne();
    Pick(Combo("ComboBox1"), QStringLiteral("竖向杆件"));
    Type(Box("TextBox1"), QStringLiteral("85.5"));
    Type(Box("TextBox2"), QStringLiteral("1200"));
    Type(Box("TextBox3"), QStringLiteral("0"));
    Type(Box("TextBox4"), QStringLiteral("2400"));
    Click(Button("Button5"));
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    // The library of the test is empty: nothing passes.
    EXPECT_EQ(Result(), QStringLiteral("型材预选抵抗矩不能低于:6.584cm^3\n"
                                       "型材库中没有满足强度、抗剪和挠度要求的型材"));
    // Only the geometry is stored.
    EXPECT_EQ(Ini("gj", "te2"), "1200");
    EXPECT_EQ(Ini("gj", "te4"), "2400");
    EXPECT_EQ(Ini("gj", "te1"), "");
    EXPECT_EQ(Ini("gj", "co1"), "");
    EXPECT_FALSE(Button("Button3")->isEnabled());
}

// "abc" used to be read as 0 and every check passed ("计算完毕!").
TEST_F(GjFormTest, RefusedInputIsNamedAndNothingIsComputed) {
    OpenWithWkOne();
    Pick(Combo("ComboBox1"), QStringLiteral("竖向杆件"));
    const std::pair<const char*, const char*> boxes[] = {
        {"TextBox1", "85.5"}, {"TextBox2", "abc"},   {"TextBox3", "0"},   {"TextBox4", "2400"},
        {"TextBox5", "49.6"}, {"TextBox6", "70000"}, {"TextBox7", "1.4"}, {"TextBox8", "50"},
        {"TextBox9", "30"},   {"TextBox10", "10"},   {"TextBox11", "12"}, {"TextBox12", "8"},
        {"TextBox13", "7"},   {"TextBox14", "5"}};
    for (const auto& [name, text] : boxes) Type(Box(name), QString::fromUtf8(text));
    Click(Button("Button2"));
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(services_.TakeTexts(),
              Texts{QStringLiteral(
                  "当前错误:第一受荷单元宽Wsk1(mm): “abc” 应为不小于0且不大于50000的数")});
    EXPECT_FALSE(fs::exists(SessionDirectory() / "gj.txt"));
    EXPECT_EQ(Ini("gj", "te4"), "");  // nothing stored
    EXPECT_FALSE(Button("Button3")->isEnabled());

    Type(Box("TextBox2"), QStringLiteral("1200"));
    Type(Box("TextBox4"), QStringLiteral("0"));
    Click(Button("Button5"));  // used to give 0.000 cm^3
    EXPECT_EQ(
        services_.TakeTexts(),
        Texts{QStringLiteral("当前错误:受荷单元高Hsk(mm): “0” 应为不小于100且不大于50000的数")});
}

// The design holds the profile's values: reopening shows them, not what the library holds now,
// and a value edited after the check makes the check's results stale.
TEST_F(GjFormTest, ReopeningShowsTheDesignsValuesAndEditsMakeTheCheckStale) {
    AddSampleProfile("70推拉窗", "TL70-01");
    OpenWithWkOne();
    Pick(Combo("ComboBox1"), QStringLiteral("竖向杆件"));
    Pick(Combo("ComboBox2"), QStringLiteral("70推拉窗"));
    Pick(Combo("ComboBox3"), QStringLiteral("TL70-01"));
    Type(Box("TextBox2"), QStringLiteral("900"));
    Type(Box("TextBox3"), QStringLiteral("900"));
    Type(Box("TextBox4"), QStringLiteral("1400"));
    Click(Button("Button2"));
    EXPECT_EQ(services_.TakeTexts(), Texts{QStringLiteral("计算完毕!以下校核不满足要求:杆件强度")});
    EXPECT_TRUE(Button("Button3")->isEnabled());
    EXPECT_EQ(Label("ResultState"), QString());
    Type(Box("TextBox8"), QStringLiteral("1"));  // a manual edit, after the check
    EXPECT_FALSE(Button("Button3")->isEnabled());
    EXPECT_FALSE(Label("ResultState").isEmpty());

    ReopenMemberForm();
    EXPECT_EQ(Combo("ComboBox1")->currentText(), QStringLiteral("竖向杆件"));
    EXPECT_EQ(Label("Label15"), QStringLiteral("第一受荷单元宽Wsk1"));
    EXPECT_EQ(Combo("ComboBox3")->currentText(), QStringLiteral("TL70-01"));
    EXPECT_EQ(Combo("ComboBox3")->count(), 1);
    EXPECT_EQ(Box("TextBox4")->text(), QStringLiteral("1400"));
    EXPECT_EQ(Box("TextBox8")->text(), QStringLiteral("1"));
    EXPECT_FALSE(Control<QLabel>("gjForm", "Image1")->pixmap().isNull());
    EXPECT_FALSE(Button("Button3")->isEnabled());
}

TEST_F(GjFormTest, AProfileGoneFromTheLibraryKeepsTheDesignsValues) {
    OpenWithWkOne();
    Type(Combo("ComboBox2"), QStringLiteral("旧系列"));
    Type(Combo("ComboBox3"), QStringLiteral("X-1"));
    Type(Box("TextBox8"), QStringLiteral("12.5"));
    Pick(Combo("ComboBox1"), QStringLiteral("竖向杆件"));
    ReopenMemberForm();
    EXPECT_EQ(Combo("ComboBox3")->currentText(), QStringLiteral("X-1"));
    EXPECT_EQ(Box("TextBox8")->text(), QStringLiteral("12.5"));
    EXPECT_EQ(Label("ProfileName"), QStringLiteral("选用型材号:旧系列\\X-1"));
}

}  // namespace
}  // namespace quoinry::shell::testing
