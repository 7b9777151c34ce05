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
#include "design/design_file.h"
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
    // The title block says that the material values are the defaults of a measured section.
    const std::vector<std::string> lines = Lines(docx);
    const auto note = std::find(lines.begin(), lines.end(), "说明");
    ASSERT_NE(note, lines.end());
    EXPECT_TRUE(note[1].find("默认值(85.4、49.6、70000 N/mm²,1.4 mm)") != std::string::npos)
        << note[1];
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

// The document opens with the design's title block, and its failing verdicts are red as in the
// windows; passing ones are not.
TEST_F(DesignWalkthrough, TheDocumentHasATitleBlockAndFailingVerdictsInRed) {
    AddSampleProfile("60平开窗", "KC60-01");
    ComputeWind();
    NextStep();
    MemberWithProfile("60平开窗", "KC60-01");
    Type(Box("gjForm", "TextBox10"), QStringLiteral("0.5"));  // Wx1: the strength fails
    Press("gjForm", "Button2");
    const Texts checked = services_.TakeTexts();
    ASSERT_EQ(checked.size(), 1u);
    EXPECT_TRUE(checked[0].startsWith(QStringLiteral("计算完毕!以下校核不满足要求:杆件强度")));
    services_.design_info = DesignInfo{"C1-3", "某住宅 3#楼", "张工", "李工", "王工", "2026-12-07"};
    main_->EditDesignInfo();
    const std::string xml = WriteDocument().at("word/document.xml");
    const std::vector<std::string> lines = Paragraphs(xml);
    const std::string codes = main_->Model().design().wind.edition == "2001"
                                  ? "GB 50009-2001"
                                  : "GB 50009-2012 + GB 55001-2021";
    const std::vector<std::string> block = {
        "设计名称", "C1-3", "工程名称", "某住宅 3#楼", "设计",       "张工",     "校核",
        "李工",     "审核", "王工",     "日期",        "2026-12-07", "计算规范", codes};
    ASSERT_GE(lines.size(), block.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + block.size()), block);
    EXPECT_LT(xml.find("设计名称"), xml.find("一、"));
    // The run of each verdict line, and whether it is red.
    auto red = [&](const std::string& verdict) {
        const std::size_t at = xml.find(verdict);
        EXPECT_NE(at, std::string::npos) << verdict;
        const std::size_t run = xml.rfind("<w:r>", at);
        return xml.substr(run, at - run).find("<w:color w:val=\"FF0000\"/>") != std::string::npos;
    };
    EXPECT_TRUE(red("杆件强度不能满足!"));
    EXPECT_FALSE(red("杆件抗剪强度可以满足!"));
    EXPECT_FALSE(red("强度满足要求!"));
}

// 型材预选 lists the library's profiles that pass every check of the member, the lightest first,
// and the one chosen becomes the member's profile. Worked by hand for Wk = 1.105, a vertical
// 2000 mm member between two 1000 mm units (trapezoids, a/2L = 0.25): Mw = 2 × 0.5525 × 2² / 24 ×
// 2.75 = 0.507 kN·m needs Wx ≥ 1.4 × 507 / 85.4 = 8.3 cm³; U = 2 × 0.5525 × 2000⁴ × 2.82 / (240
// × 70000 × Ix) ≤ 15 mm needs Ix ≥ 19.8 cm⁴. KC60-01 (Ix 9.379) and TL70-02 (16.579) fail the
// deflection; MK50-01 (A 5.846, Wx 11.961, Ix 53.302) and ZT60-01 (A 7.609) pass.
TEST_F(DesignWalkthrough, PreselectionListsTheLibraryProfilesThatPass) {
    for (const char* number : {"KC60-01", "TL70-02", "ZT60-01", "MK50-01"}) {
        const std::string series = number[0] == 'K'   ? "60平开窗"
                                   : number[0] == 'T' ? "70推拉窗"
                                   : number[0] == 'Z' ? "60中梃"
                                                      : "50平开门";
        AddSampleProfile(series, number);
    }
    ComputeWind();
    NextStep();
    Pick(Combo("gjForm", "ComboBox1"), QStringLiteral("竖向杆件"));
    Type(Box("gjForm", "TextBox2"), QStringLiteral("1000"));
    Type(Box("gjForm", "TextBox3"), QStringLiteral("1000"));
    Type(Box("gjForm", "TextBox4"), QStringLiteral("2000"));
    services_.chosen_row = 0;
    Press("gjForm", "Button5");
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    ASSERT_EQ(services_.offered_rows.size(), 2u);
    EXPECT_EQ(services_.offered_rows[0].mid(0, 3),
              (QStringList{QStringLiteral("50平开门"), QStringLiteral("MK50-01"),
                           QStringLiteral("5.846")}));
    EXPECT_EQ(services_.offered_rows[1][1], QStringLiteral("ZT60-01"));
    EXPECT_EQ(ProfileName(*main_->Model().design().member), "50平开门\\MK50-01");
    EXPECT_EQ(main_->Model().design().member->ix, "53.302");
    EXPECT_EQ(main_->Model().design().picture,
              ReadFileBytes(kProfiles / "mk50-frame.wmf").value_or("missing"));
    EXPECT_TRUE(Control<QPlainTextEdit>("gjForm", "TextBox15")
                    ->toPlainText()
                    .contains(QStringLiteral("满足强度、抗剪和挠度要求的型材有 2 个")));
    // Cancelled, the member keeps its profile.
    services_.chosen_row.reset();
    Press("gjForm", "Button5");
    EXPECT_EQ(main_->Model().design().member->number, "MK50-01");
}

// After a measured section: the boxes that name the profile are emptied, its default material is
// pointed out, and 新建 starts from a whole library profile, never from the measured numbers.
TEST_F(DesignWalkthrough, ANewDesignAfterAMeasuredSectionHasAWholeLibraryProfile) {
    AddSampleProfile("60平开窗", "KC60-01");
    ComputeWind();
    NextStep();
    MemberWithProfile("60平开窗", "KC60-01");
    EXPECT_FALSE(Control<QLabel>("gjForm", "MaterialNote")->isVisibleTo(Form("gjForm")));
    services_.drawing_file = QString::fromStdString((kProfiles / "tl70-frame.dxf").string());
    Press("gjForm", "Button1");
    EXPECT_EQ(Combo("gjForm", "ComboBox3")->currentText(), QString());
    EXPECT_EQ(main_->Model().design().member->number, "");
    EXPECT_TRUE(Control<QLabel>("gjForm", "MaterialNote")->isVisibleTo(Form("gjForm")));
    EXPECT_TRUE(Label("MaterialNote").contains(QStringLiteral("85.4、49.6、70000 N/mm²,1.4 mm")));
    CheckMember();
    services_.save_choice = SaveChoice::Discard;
    main_->NewDesign();
    const Design& fresh = main_->Model().design();
    ASSERT_TRUE(fresh.member);
    EXPECT_EQ(ProfileName(*fresh.member), "60平开窗\\KC60-01");
    EXPECT_EQ(fresh.picture, ReadFileBytes(kProfiles / "kc60-frame.wmf").value());
    // The library's values of KC60-01 (data/profiles/profiles.tsv), not the measured ones.
    EXPECT_EQ(fresh.member->wall, "1.6");
    EXPECT_EQ(fresh.member->ix, "9.379");
}

TEST_F(DesignWalkthrough, WithoutALibraryANewDesignHasNoSectionValues) {
    ComputeWind();
    NextStep();
    Pick(Combo("gjForm", "ComboBox1"), QStringLiteral("竖向杆件"));
    for (const char* box : {"TextBox2", "TextBox3", "TextBox4"})
        Type(Box("gjForm", box), QStringLiteral("1200"));
    services_.drawing_file = QString::fromStdString((kProfiles / "tl70-frame.dxf").string());
    Press("gjForm", "Button1");
    CheckMember();
    services_.save_choice = SaveChoice::Discard;
    main_->NewDesign();
    const MemberInput& member = *main_->Model().design().member;
    EXPECT_EQ(member.series + member.number + member.section_drawing, "");
    EXPECT_EQ(member.ix + member.wx1 + member.area + member.strength, "");
    EXPECT_TRUE(main_->Model().design().picture.empty());
}

// Under edition 2012 the member takes its own Wk, reduced by its area (golden2012/01: the glass
// 1.493, the member with A = 1.440 m² 1.465 kN/m²), and the window says so before and after.
TEST_F(DesignWalkthrough, TheMemberWindowShowsTheWkItsCheckUses) {
    main_->Model().Replace(
        ReadDesignFile(fs::path(QUOINRY_TEST_DATA) / "golden2012" / "01" / "design.ini").design,
        std::nullopt);
    ClickToolbar(1);
    Press("winForm", "Command1");
    services_.TakeTexts();
    NextStep();
    const QString before = Label("WindBasis");
    EXPECT_TRUE(before.contains(QStringLiteral("杆件自身的Wk=1.465kN/m^2(从属面积A=1.440m^2")))
        << before.toStdString();
    EXPECT_TRUE(before.contains(QStringLiteral("玻璃Wk=1.493kN/m^2"))) << before.toStdString();
    Press("gjForm", "Button2");
    EXPECT_EQ(Label("WindBasis"), before);
    Type(Box("gjForm", "TextBox4"), QString());
    EXPECT_TRUE(Label("WindBasis").contains(QStringLiteral("填好受荷单元尺寸后显示")));
}

}  // namespace
}  // namespace quoinry::shell::testing
