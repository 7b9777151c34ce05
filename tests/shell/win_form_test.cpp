// The wind and glass window and the member check window over a whole design run.
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <filesystem>

#include "common/program_dir.h"
#include "shell/form_helpers.h"
#include "shell_test_support.h"

namespace quoinry::shell::testing {
namespace {

class WinFormTest : public ShellTest {
  protected:
    using ShellTest::Box;
    using ShellTest::Combo;
    QComboBox* Combo(const char* name) { return Control<QComboBox>("winForm", name); }
    QLineEdit* Box(const char* name) { return Control<QLineEdit>("winForm", name); }
    QPushButton* Button(const char* name) { return Control<QPushButton>("winForm", name); }
    QString Result() { return Control<QPlainTextEdit>("winForm", "TextBox6")->toPlainText(); }

    // 广东 / 广州市 (500 Pa), B类, a 1200 × 1500 pane of the given category, 6 + 6 mm.
    void FillGuangzhou(const QString& category = QStringLiteral("中空玻璃")) {
        Pick(Combo("ComboBox1"), QStringLiteral("广东"));
        Pick(Combo("ComboBox3"), QStringLiteral("B类"));
        Type(Box("TextBox2"), QStringLiteral("1.5"));
        Type(Box("TextBox3"), QStringLiteral("20"));
        Pick(Combo("ComboBox4"), category);
        Type(Box("TextBox4"), QStringLiteral("1200"));
        Type(Box("TextBox5"), QStringLiteral("1500"));
        Pick(Combo("ComboBox5"), QStringLiteral("普通玻璃"));
        Pick(Combo("ComboBox6"), QStringLiteral("6"));
        Pick(Combo("ComboBox7"), QStringLiteral("普通玻璃"));
        Pick(Combo("ComboBox8"), QStringLiteral("6"));
    }
};

TEST_F(WinFormTest, WholeDesignRunFromTheToolbarToTheDocument) {
    AddSampleProfile("60平开窗", "KC60-01");
    ClickToolbar(1);
    EXPECT_EQ(Form("winForm")->parentWidget()->windowTitle(), QStringLiteral("风荷载及玻璃计算"));
    EXPECT_FALSE(Button("Command2")->isEnabled());
    FillGuangzhou();
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QStringLiteral("广州市"));
    EXPECT_EQ(Box("TextBox1")->text(), QStringLiteral("500"));

    Click(Button("Command1"));
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    EXPECT_TRUE(Result().startsWith(QStringLiteral("风荷载的标准值:")));
    EXPECT_TRUE(Result().contains(QStringLiteral("玻璃")));
    // The reports go to a folder of this process, never to one another program writes too.
    EXPECT_TRUE(fs::exists(SessionDirectory() / "wind.txt"));
    EXPECT_TRUE(fs::exists(SessionDirectory() / "glass.txt"));
    EXPECT_FALSE(fs::exists(Temp() / "wind.txt"));
    EXPECT_EQ(SessionDirectory().parent_path(), Temp());
    EXPECT_EQ(Ini("glass", "co1"), "广东");
    EXPECT_EQ(Ini("glass", "co2"), "广州市");
    EXPECT_EQ(Ini("glass", "te1"), "500");
    EXPECT_EQ(Ini("glass", "op1"), "False");
    ASSERT_TRUE(main_->Model().WindGlassCurrent());
    EXPECT_GT(main_->Model().wind_glass()->wind.wk, 0.0);

    Click(Button("Command2"));
    QApplication::processEvents();
    EXPECT_EQ(Form("winForm"), nullptr);
    ASSERT_NE(Form("gjForm"), nullptr);
    EXPECT_TRUE(main_->Model().design().insulating_glass);

    EXPECT_FALSE(Control<QPushButton>("gjForm", "Button3")->isEnabled());
    Pick(Combo("gjForm", "ComboBox1"), QStringLiteral("竖向杆件"));
    Type(Box("gjForm", "TextBox2"), QStringLiteral("1200"));
    Type(Box("gjForm", "TextBox3"), QStringLiteral("0"));
    Type(Box("gjForm", "TextBox4"), QStringLiteral("1500"));
    Pick(Combo("gjForm", "ComboBox2"), QStringLiteral("60平开窗"));
    Pick(Combo("gjForm", "ComboBox3"), QStringLiteral("KC60-01"));
    EXPECT_EQ(Box("gjForm", "TextBox1")->text(), QStringLiteral("85.4"));
    EXPECT_EQ(Box("gjForm", "TextBox8")->text(), QStringLiteral("9.379"));
    EXPECT_EQ(Box("gjForm", "TextBox14")->text(), QStringLiteral("3.828"));
    EXPECT_FALSE(fs::exists(Temp() / "xc.wmf"));
    EXPECT_FALSE(Control<QLabel>("gjForm", "Image1")->pixmap().isNull());

    Press("gjForm", "Button2");
    EXPECT_EQ(services_.TakeTexts(), Texts{QStringLiteral("计算完毕!以下校核不满足要求:杆件强度")});
    EXPECT_TRUE(fs::exists(SessionDirectory() / "gj.txt"));
    EXPECT_EQ(Ini("gj", "co3"), "KC60-01");
    EXPECT_EQ(Ini("gj", "te4"), "1500");
    EXPECT_FALSE(Control<QPlainTextEdit>("gjForm", "TextBox15")->toPlainText().isEmpty());

    Press("gjForm", "Button3");
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].title, QStringLiteral("系统提示"));
    EXPECT_EQ(services_.messages[0].text, QStringLiteral("计算书输出完成!"));
    EXPECT_EQ(services_.messages[0].icon, MessageIcon::Information);
    ASSERT_EQ(services_.opened_files.size(), 1u);
    EXPECT_EQ(services_.opened_files[0], Documents() / "计算书.docx");
    EXPECT_GT(fs::file_size(services_.opened_files[0]), 0u);

    // Without a word processor the document is still written: information, not an error.
    services_.open_succeeds = false;
    Press("gjForm", "Button3");
    ASSERT_EQ(services_.messages.size(), 2u);
    EXPECT_EQ(services_.messages[1].text,
              Q("计算书输出完成,已保存为 " + (Documents() / "计算书.docx").string() +
                "。没有找到能打开它的文字处理程序,请用 Word、WPS 或 LibreOffice 打开这个文件。"));
    EXPECT_EQ(services_.messages[1].icon, MessageIcon::Information);
}

TEST_F(WinFormTest, SingleGlassDisablesTheInnerPaneAlsoWhenRestored) {
    ClickToolbar(1);
    QComboBox* inner_kind = Combo("ComboBox7");
    QComboBox* inner_thickness = Combo("ComboBox8");
    Pick(Combo("ComboBox8"), QStringLiteral("8"));
    for (const auto& [category, enabled] : {std::pair{"单层玻璃", false},
                                            {"中空玻璃", true},
                                            {"单层玻璃", false},
                                            {"夹层玻璃", true}}) {
        Pick(Combo("ComboBox4"), QString::fromUtf8(category));
        EXPECT_EQ(inner_kind->isEnabled(), enabled) << category;
        EXPECT_EQ(inner_thickness->isEnabled(), enabled) << category;
        EXPECT_EQ(inner_thickness->currentText(), QStringLiteral("8"));
    }
    // A typed category runs no rule; the compute stores it and the next load applies it.
    Pick(Combo("ComboBox4"), QStringLiteral("中空玻璃"));
    Type(Combo("ComboBox4"), QStringLiteral("单层玻璃"));
    EXPECT_TRUE(Combo("ComboBox7")->isEnabled());
    Click(Button("Command1"));
    services_.TakeTexts();
    Reopen("winForm", 1);
    EXPECT_EQ(Combo("ComboBox4")->currentText(), QStringLiteral("单层玻璃"));
    EXPECT_FALSE(Combo("ComboBox7")->isEnabled());
    EXPECT_FALSE(Combo("ComboBox8")->isEnabled());
}

// A first start (no settings yet) is new work: edition 2012.
TEST_F(WinFormTest, AFirstStartIsAfterTheCodesInForce) {
    main_.reset();
    fs::remove(Home() / "info.ini");
    main_ = std::make_unique<MainForm>(services_);
    main_->show();
    ClickToolbar(1);
    EXPECT_EQ(Combo("EditionBox")->currentText(), QStringLiteral("GB 50009-2012 + GB 55001-2021"));
}

// The list 计算规范 stores the edition's id; edition 2012 relabels the shape box and offers the
// internal coefficient and the zone helper, which 2001 does not read. Both survive a reopening.
TEST_F(WinFormTest, EditionListRelabelsAndOffersItsOwnInputs) {
    ClickToolbar(1);
    QComboBox* edition = Combo("EditionBox");
    ASSERT_EQ(edition->count(), 2);
    EXPECT_EQ(edition->currentText(), QStringLiteral("GB 50009-2001"));
    QLabel* shape_label = nullptr;
    for (QLabel* label : edition->window()->findChildren<QLabel*>()) {
        if (label->text().contains(QStringLiteral("体型系数")))
            shape_label = label;
    }
    ASSERT_NE(shape_label, nullptr);
    struct Case {
        int index;
        const char* label;
        bool own_inputs;
    };
    for (const Case& c : {Case{1, "局部体型系数", true}, Case{0, "体型系数", false}}) {
        edition->setCurrentIndex(c.index);
        EXPECT_EQ(shape_label->text(), QString::fromUtf8(c.label));
        EXPECT_EQ(Box("InternalPressureBox")->isEnabled(), c.own_inputs);
        EXPECT_EQ(Button("LocalShapeButton")->isEnabled(), c.own_inputs);
    }
    edition->setCurrentIndex(1);
    FillGuangzhou();
    Type(Box("InternalPressureBox"), QStringLiteral("0.4"));
    Click(Button("Command1"));
    EXPECT_TRUE(Result().contains(QStringLiteral("所需抗风压性能等级"))) << Result().toStdString();
    Reopen("winForm", 1);
    EXPECT_EQ(Combo("EditionBox")->currentText(), QStringLiteral("GB 50009-2012 + GB 55001-2021"));
    EXPECT_EQ(Box("InternalPressureBox")->text(), QStringLiteral("0.4"));
    bool relabelled = false;
    for (QLabel* label : Combo("EditionBox")->window()->findChildren<QLabel*>())
        relabelled = relabelled || label->text() == QStringLiteral("局部体型系数");
    EXPECT_TRUE(relabelled);
}

TEST_F(WinFormTest, FirstOpeningShowsEmptyInputsAndTheFixedLists) {
    ClickToolbar(1);
    for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5",
                             "ComboBox6", "ComboBox7", "ComboBox8"})
        EXPECT_EQ(Combo(name)->currentText(), QString()) << name;
    EXPECT_EQ(Combo("ComboBox3")->count(), 4);
    EXPECT_EQ(Combo("ComboBox6")->itemText(4), QStringLiteral("12"));
    EXPECT_GT(Combo("ComboBox1")->count(), 30);
    EXPECT_EQ(Combo("ComboBox2")->count(), 0);
    EXPECT_FALSE(Control<QRadioButton>("winForm", "RadioButton1")->isChecked());
    EXPECT_FALSE(Control<QRadioButton>("winForm", "RadioButton2")->isChecked());
    EXPECT_EQ(services_.TakeTexts(), Texts{});
}

// The window shows the open design, which outlives the window; 新建 starts from the inputs of
// the last compute attempt, as 新建文件 did, after the codes in force.
TEST_F(WinFormTest, ReopeningShowsTheDesignAndNewStartsFromTheLastComputeAttempt) {
    ClickToolbar(1);
    FillGuangzhou(QStringLiteral("夹层玻璃"));
    Click(Control<QRadioButton>("winForm", "RadioButton2"));
    Type(Box("TextBox1"), QStringLiteral("450"));
    Click(Button("Command1"));
    EXPECT_TRUE(Button("Command2")->isEnabled());
    Type(Box("TextBox3"), QStringLiteral("99"));
    EXPECT_FALSE(Button("Command2")->isEnabled());  // the result is stale now
    Pick(Combo("ComboBox1"), QStringLiteral("北京"));
    Reopen("winForm", 1);
    EXPECT_EQ(Combo("ComboBox1")->currentText(), QStringLiteral("北京"));
    EXPECT_EQ(Box("TextBox3")->text(), QStringLiteral("99"));
    EXPECT_FALSE(Button("Command2")->isEnabled());

    services_.save_choice = SaveChoice::Discard;
    main_->NewDesign();
    EXPECT_EQ(services_.asked_to_save.size(), 1u);
    EXPECT_EQ(Combo("ComboBox1")->currentText(), QStringLiteral("广东"));
    EXPECT_EQ(Combo("ComboBox2")->currentText(), QStringLiteral("广州市"));
    EXPECT_EQ(Combo("ComboBox2")->count(), 0);  // filled only when a region is picked
    EXPECT_EQ(Box("TextBox1")->text(), QStringLiteral("450"));
    EXPECT_EQ(Box("TextBox3")->text(), QStringLiteral("20"));
    EXPECT_EQ(Combo("ComboBox4")->currentText(), QStringLiteral("夹层玻璃"));
    EXPECT_FALSE(Control<QRadioButton>("winForm", "RadioButton1")->isChecked());
    EXPECT_TRUE(Control<QRadioButton>("winForm", "RadioButton2")->isChecked());
    // New work is after the codes in force, whatever the last compute's edition was (2001).
    EXPECT_EQ(Combo("EditionBox")->currentText(), QStringLiteral("GB 50009-2012 + GB 55001-2021"));
    EXPECT_FALSE(Button("Command2")->isEnabled());
    EXPECT_FALSE(main_->Model().IsModified());
}

TEST_F(WinFormTest, FailingComputeShowsTheErrorAndStillStoresTheInputs) {
    ClickToolbar(1);
    FillGuangzhou();
    Type(Box("TextBox2"), QString());
    Click(Button("Command1"));
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].title, QStringLiteral("系统提示"));
    EXPECT_EQ(services_.messages[0].text,
              QStringLiteral("当前错误:体型系数: “” 应为不等于0且绝对值不大于10的数"));
    EXPECT_EQ(services_.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(Button("Command2")->isEnabled());
    EXPECT_EQ(Ini("glass", "co2"), "广州市");
    EXPECT_EQ(Ini("glass", "te2"), "");
    EXPECT_EQ(Ini("glass", "te3"), "20");
    ASSERT_NE(Form("winForm"), nullptr);

    // A success enables the next step; a later failure leaves no result to go on with.
    Type(Box("TextBox2"), QStringLiteral("1.5"));
    Click(Button("Command1"));
    EXPECT_TRUE(Button("Command2")->isEnabled());
    Type(Box("TextBox3"), QStringLiteral("x"));
    Click(Button("Command1"));
    EXPECT_FALSE(Button("Command2")->isEnabled());
    EXPECT_FALSE(main_->Model().wind_glass().has_value());
}

TEST_F(WinFormTest, NextStepSetsInsulatingGlassFromTheCategory) {
    for (const auto& [category, insulating] :
         {std::pair{"中空玻璃", true}, {"夹层玻璃", false}, {"单层玻璃", false}}) {
        ClickToolbar(1);
        FillGuangzhou(QString::fromUtf8(category));
        Click(Button("Command1"));
        Click(Button("Command2"));
        QApplication::processEvents();
        EXPECT_EQ(main_->Model().design().insulating_glass, insulating) << category;
        EXPECT_EQ(OpenForms("gjForm"), 1);
        EXPECT_EQ(services_.TakeTexts(), Texts{}) << category;
    }
}

TEST_F(WinFormTest, ClickSelectsTheWholeTextOfTheSizeBoxesOnly) {
    ClickToolbar(1);
    for (const char* name : {"TextBox1", "TextBox2", "TextBox3", "TextBox4", "TextBox5"}) {
        Type(Box(name), QStringLiteral("123.5"));
        Box(name)->deselect();
        QTest::mouseClick(Box(name), Qt::LeftButton);
        const bool selects = std::string(name) != "TextBox1";
        EXPECT_EQ(Box(name)->selectedText(), selects ? QStringLiteral("123.5") : QString()) << name;
    }
}

TEST_F(WinFormTest, NewFileTwiceOpensOneWindow) {
    ClickToolbar(1);
    Type(Box("TextBox3"), QStringLiteral("33"));
    ClickToolbar(1);
    EXPECT_EQ(OpenForms("winForm"), 1);
    EXPECT_EQ(Box("TextBox3")->text(), QStringLiteral("33"));  // not loaded again
    Click(Button("Command3"));
    QApplication::processEvents();
    EXPECT_EQ(OpenForms("winForm"), 0);
}

TEST_F(WinFormTest, ChildWindowsOpenInTheMiddleOfTheClientArea) {
    ClickToolbar(1);
    QWidget* frame = Form("winForm")->parentWidget();
    const QSize client = frame->parentWidget()->size();
    EXPECT_NEAR(frame->x(), std::max(0, (client.width() - frame->width()) / 2), 1);
    EXPECT_NEAR(frame->y(), std::max(0, (client.height() - frame->height()) / 2), 1);
}

}  // namespace
}  // namespace quoinry::shell::testing
