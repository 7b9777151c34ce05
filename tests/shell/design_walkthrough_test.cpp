// A design through the windows as an engineer goes through it: every document is the design's
// own, with its profile's name and picture, and never made from stale or failed results.
#include <QLabel>
#include <QRadioButton>
#include <filesystem>

#include "../document_test_support.h"
#include "common/cp936.h"
#include "common/file_bytes.h"
#include "common/numbers.h"
#include "common/program_dir.h"
#include "shell_test_support.h"

namespace quoinry::shell::testing {
namespace {

using document::testing::Paragraphs;

class DesignWalkthrough : public ShellTest {
  protected:
    bool Enabled(const char* form, const char* name) {
        return Control<QPushButton>(form, name)->isEnabled();
    }
    QString Label(const char* name) { return Control<QLabel>("gjForm", name)->text(); }

    // 南京 350 Pa at `height` m, single 6 mm glass, computed; then 下一步.
    void ComputeWind(const char* height = "20") {
        if (Form("winForm") == nullptr)
            ClickToolbar(1);
        Type(Box("winForm", "TextBox1"), QStringLiteral("350"));
        Type(Combo("winForm", "ComboBox2"), QStringLiteral("南京"));
        Pick(Combo("winForm", "ComboBox3"), QStringLiteral("B类"));
        Type(Box("winForm", "TextBox2"), QStringLiteral("1.5"));
        Type(Box("winForm", "TextBox3"), QString::fromLatin1(height));
        Pick(Combo("winForm", "ComboBox4"), QStringLiteral("单层玻璃"));
        Type(Box("winForm", "TextBox4"), QStringLiteral("1200"));
        Type(Box("winForm", "TextBox5"), QStringLiteral("1500"));
        Pick(Combo("winForm", "ComboBox5"), QStringLiteral("普通玻璃"));
        Pick(Combo("winForm", "ComboBox6"), QStringLiteral("6"));
        Press("winForm", "Command1");
    }
    void NextStep() {
        Press("winForm", "Command2");
        QApplication::processEvents();
        ASSERT_NE(Form("gjForm"), nullptr);
    }
    // A vertical 2400 mm member between units of 1200 mm, with a library profile.
    void MemberWithProfile(const char* series, const char* number) {
        Pick(Combo("gjForm", "ComboBox1"), QStringLiteral("竖向杆件"));
        Type(Box("gjForm", "TextBox2"), QStringLiteral("1200"));
        Type(Box("gjForm", "TextBox3"), QStringLiteral("1200"));
        Type(Box("gjForm", "TextBox4"), QStringLiteral("2400"));
        Pick(Combo("gjForm", "ComboBox2"), QString::fromUtf8(series));
        Pick(Combo("gjForm", "ComboBox3"), QString::fromUtf8(number));
    }
    void CheckMember() {
        Press("gjForm", "Button2");
        const Texts texts = services_.TakeTexts();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_TRUE(texts[0].startsWith(QStringLiteral("计算完毕!"))) << texts[0].toStdString();
    }
    static std::vector<std::string> Lines(const std::map<std::string, std::string>& docx) {
        return Paragraphs(docx.at("word/document.xml"));
    }
    static bool Has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    static std::string Media(const std::map<std::string, std::string>& docx) {
        for (const auto& [name, bytes] : docx) {
            if (name.starts_with("word/media/"))
                return bytes;
        }
        return {};
    }
};

TEST_F(DesignWalkthrough, MeasuredSectionIsNamedAfterItsDrawingInReportAndDocument) {
    AddSampleProfile("60中梃", "ZT60-01");
    ComputeWind();
    NextStep();
    MemberWithProfile("60中梃", "ZT60-01");
    EXPECT_EQ(Label("ProfileName"), QStringLiteral("选用型材号:60中梃\\ZT60-01"));
    services_.drawing_file = QString::fromStdString((kProfiles / "tl70-frame.dxf").string());
    Press("gjForm", "Button1");
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    EXPECT_EQ(Label("ProfileName"), QStringLiteral("选用型材号:自定义截面(tl70-frame.dxf)"));
    EXPECT_EQ(Combo("gjForm", "ComboBox2")->currentText(), QString());
    EXPECT_EQ(Combo("gjForm", "ComboBox3")->currentText(), QString());
    EXPECT_EQ(Combo("gjForm", "ComboBox3")->count(), 0);
    CheckMember();
    const std::string report = Cp936ToUtf8(ReadFileBytes(SessionDirectory() / "gj.txt").value());
    EXPECT_NE(report.find("\r\n   选用型材号:自定义截面(tl70-frame.dxf)\r\n"), std::string::npos);
    const auto docx = WriteDocument();
    EXPECT_TRUE(Has(Lines(docx), "   选用型材号:自定义截面(tl70-frame.dxf)"));
    EXPECT_FALSE(Has(Lines(docx), "   选用型材号:60中梃\\ZT60-01"));
    EXPECT_EQ(Media(docx), main_->Model().design().picture);
    EXPECT_FALSE(Media(docx).empty());
}

TEST_F(DesignWalkthrough, DocumentTakesTheDesignsPictureNotTheLastOneShown) {
    AddSampleProfile("60平开窗", "KC60-01");
    AddSampleProfile("70推拉窗", "TL70-02");
    ComputeWind();
    NextStep();
    MemberWithProfile("60平开窗", "KC60-01");
    CheckMember();
    const QImage shown = Control<QLabel>("gjForm", "Image1")->pixmap().toImage();
    // Browsing the library shows other profiles in their own window.
    ClickToolbar(2);
    Pick(Combo("xcForm", "ComboBox1"), QStringLiteral("70推拉窗"));
    EXPECT_EQ(Combo("xcForm", "ComboBox2")->currentText(), QStringLiteral("TL70-02"));
    EXPECT_EQ(Control<QLabel>("gjForm", "Image1")->pixmap().toImage(), shown);
    const auto docx = WriteDocument();
    EXPECT_EQ(Media(docx), ReadFileBytes(kProfiles / "kc60-frame.wmf").value());
}

TEST_F(DesignWalkthrough, NewOrFailedWindMakesTheMemberStaleUntilCheckedAgain) {
    AddSampleProfile("60平开窗", "KC60-01");
    ComputeWind("20");
    NextStep();
    EXPECT_EQ(Label("WindBasis"), QStringLiteral("采用风荷载:Wk=1.105kN/m^2(标高20m)"));
    MemberWithProfile("60平开窗", "KC60-01");
    CheckMember();
    EXPECT_TRUE(Enabled("gjForm", "Button3"));

    ComputeWind("100");  // the wind window again, at another height, the member window open
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    EXPECT_FALSE(Enabled("gjForm", "Button3"));
    EXPECT_EQ(Label("ResultState"), QStringLiteral("结果已过期,请重新校核"));
    const QString wind = Label("WindBasis");
    EXPECT_TRUE(wind.endsWith(QStringLiteral("(标高100m)"))) << wind.toStdString();
    CheckMember();
    EXPECT_EQ(Label("ResultState"), QString());
    const auto lines = Lines(WriteDocument());
    // Part 一 and part 三 speak of the same Wk.
    const double wk = main_->Model().wind_glass()->wind.wk;
    EXPECT_NE(wk, 1.105);
    EXPECT_TRUE(Has(lines, "          =" + FormatFixed(wk, 3) + "kN/m^2")) << wk;
    EXPECT_TRUE(Has(lines, "   Wk:风荷载标准值:" + GeneralText(wk) + "kN/m^2")) << wk;

    // A failed compute offers neither the next step nor the document.
    ClickToolbar(1);
    Type(Box("winForm", "TextBox3"), QStringLiteral("-10"));
    Press("winForm", "Command1");
    const Texts texts = services_.TakeTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("当前错误:")));
    EXPECT_FALSE(Enabled("winForm", "Command2"));
    EXPECT_FALSE(Enabled("gjForm", "Button3"));
    // A leftover report of the failed run never reaches a document.
    EXPECT_FALSE(fs::exists(SessionDirectory() / "glass.txt"));
}

}  // namespace
}  // namespace quoinry::shell::testing
