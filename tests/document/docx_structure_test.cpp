// The .docx beyond its texts: heading styles, superscripts, the page footer, the properties, and
// every block a project document uses.
#include "common/version.h"
#include "document/calculation_document.h"
#include "document/report_text.h"
#include "document/source_files.h"
#include "document_test_support.h"

namespace quoinry::document {
namespace {

using namespace testing;

// The XML of the last paragraph that holds `text`.
std::string ParagraphWith(const std::string& document_xml, const std::string& text) {
    std::string found;
    for (const std::string& paragraph : Elements(document_xml, "<w:p>", "</w:p>")) {
        if (paragraph.find(text) != std::string::npos)
            found = paragraph;
    }
    EXPECT_FALSE(found.empty()) << "no paragraph with " << text;
    return found;
}

class SampleDocx : public SampleDocumentTest {};

TEST_F(SampleDocx, PartsAndSectionsAreHeadingsOfTwoLevels) {
    const std::vector<std::string> texts = Paragraphs(document_);
    const std::vector<std::string> styles = ParagraphStyles(document_);
    ASSERT_EQ(texts.size(), styles.size());
    std::vector<std::pair<std::string, std::string>> headings;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!styles[i].empty())
            headings.emplace_back(styles[i], texts[i]);
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Heading1", "一、门窗承受荷载计算"},
        {"Heading2", "(1).风荷载标准值计算:"},
        {"Heading2", "(2).风荷载设计值计算:"},
        {"Heading1", "二、玻璃的选用与校核"},
        {"Heading2", "(1).玻璃面积:"},
        {"Heading2", "(2).玻璃强度校核:"},
        {"Heading2", "(3).玻璃挠度校核:"},
        {"Heading1", "三、门窗竖向受力杆件计算"},
        {"Heading2", "(1).风荷载作用下受力构件弯矩的计算:"},
        {"Heading2", "(2).风荷载作用下受力构件剪力的计算(kN):"},
        {"Heading2", "(3).选用型材的截面特性:"},
        {"Heading2", "(4).型材的强度计算:"},
        {"Heading2", "(5).杆件抗剪计算:"},
        {"Heading2", "(6).杆件挠度计算:"},
    };
    EXPECT_EQ(headings, expected);
}

TEST_F(SampleDocx, HeadingStylesCarryOutlineLevels) {
    const std::string& styles = entries_.at("word/styles.xml");
    for (int level = 1; level <= 3; ++level) {
        const std::string n = std::to_string(level);
        const auto style = AllMatches(
            styles, "<w:style w:type=\"paragraph\" w:styleId=\"Heading" + n + "\">(.*?)</w:style>");
        ASSERT_EQ(style.size(), 1u) << n;
        EXPECT_NE(style[0].find("<w:name w:val=\"heading " + n + "\"/>"), std::string::npos);
        EXPECT_NE(style[0].find("<w:outlineLvl w:val=\"" + std::to_string(level - 1) + "\"/>"),
                  std::string::npos);
    }
}

TEST_F(SampleDocx, ExponentsAreSuperscriptRuns) {
    std::size_t carets = 0;
    for (const char* report : {"wind.txt", "glass.txt", "gj.txt"}) {
        for (const std::string& line : ReadReportLines(kDocumentData / report))
            carets += static_cast<std::size_t>(std::count(line.begin(), line.end(), '^'));
    }
    std::vector<std::string> raised;
    for (const std::string& run : Elements(document_, "<w:r>", "</w:r>")) {
        if (IsSuperscriptRun(run))
            raised.push_back(RunText(run));
        EXPECT_EQ(RunText(run).find('^'), std::string::npos) << run;
    }
    // Every caret of the sample reports starts an exponent.
    EXPECT_EQ(raised.size(), carets);
    EXPECT_EQ(std::count(raised.begin(), raised.end(), "-0.16"), 2);
    EXPECT_EQ(std::count(raised.begin(), raised.end(), "0.32"), 2);
    // The wind pressure line: "Wo=0.35kN/m" then a raised "2".
    const auto runs = Elements(ParagraphWith(document_, "Wo=0.35kN/m"), "<w:r>", "</w:r>");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(RunText(runs[0]), "   Wo: 50年一遇的最大风压:Wo=0.35kN/m");
    EXPECT_EQ(RunText(runs[1]), "2");
    EXPECT_TRUE(IsSuperscriptRun(runs[1]));
}

TEST_F(SampleDocx, EveryPageHasItsNumberAndTheCountInTheFooter) {
    const std::string& footer = entries_.at("word/footer1.xml");
    std::string text;
    for (const std::string& run : Elements(footer, "<w:r>", "</w:r>")) {
        const auto instruction = AllMatches(run, "<w:instrText[^>]*>([^<]*)</w:instrText>");
        text += instruction.empty() ? RunText(run) : "{" + instruction[0] + "}";
    }
    EXPECT_EQ(text, "第 { PAGE } 页 共 { NUMPAGES } 页");
    EXPECT_NE(footer.find("<w:jc w:val=\"center\"/>"), std::string::npos);
    const auto reference =
        AllMatches(document_, "<w:footerReference w:type=\"default\" r:id=\"([^\"]+)\"/>");
    ASSERT_EQ(reference.size(), 1u);
    EXPECT_EQ(AllMatches(entries_.at("word/_rels/document.xml.rels"),
                         "Id=\"" + reference[0] + "\" Type=\"[^\"]+/footer\" Target=\"([^\"]+)\""),
              std::vector<std::string>{"footer1.xml"});
    EXPECT_NE(entries_.at("[Content_Types].xml")
                  .find("<Override PartName=\"/word/footer1.xml\" ContentType=\"application/"
                        "vnd.openxmlformats-officedocument.wordprocessingml.footer+xml\"/>"),
              std::string::npos);
}

TEST_F(SampleDocx, PropertiesNameTheProgramAndItsVersion) {
    EXPECT_EQ(AllMatches(entries_.at("docProps/app.xml"), "<Application>([^<]*)</Application>"),
              std::vector<std::string>{std::string("Quoinry ") + kVersion});
    EXPECT_EQ(AllMatches(entries_.at("docProps/core.xml"), "<cp:version>([^<]*)</cp:version>"),
              std::vector<std::string>{kVersion});
    EXPECT_TRUE(std::regex_match(std::string(kVersion), std::regex("2\\.0\\.[0-9]+")));
    // Nothing asks the word processor to update fields when there are no contents.
    EXPECT_EQ(entries_.at("word/settings.xml").find("updateFields"), std::string::npos);
}

class ProjectDocx : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteDocxDocument(ProjectDocument(), folder_ / "项目.docx");
        entries_ = ReadZip(folder_ / "项目.docx");
        document_ = entries_["word/document.xml"];
    }
    ScratchFolder folder_;
    std::map<std::string, std::string> entries_;
    std::string document_;
};

TEST_F(ProjectDocx, CoverComesFirstInLargeBoldTitle) {
    const auto paragraphs = Elements(document_, "<w:p>", "</w:p>");
    ASSERT_GE(paragraphs.size(), 3u);
    EXPECT_NE(paragraphs[0].find("<w:jc w:val=\"center\"/>"), std::string::npos);
    EXPECT_NE(paragraphs[0].find("<w:b/>"), std::string::npos);
    EXPECT_NE(paragraphs[0].find("<w:sz w:val=\"44\"/>"), std::string::npos);
    EXPECT_EQ(Paragraphs(document_)[0], "某住宅小区门窗计算书");
    EXPECT_EQ(Paragraphs(document_)[2], "设计人:张工");
}

TEST_F(ProjectDocx, ContentsListTheHeadingsUpToItsLevelAndLinkToThem) {
    // Page references the word processor fills in, not a contents field, whose entries
    // LibreOffice would show with the pages they were written with: none.
    EXPECT_EQ(document_.find(" TOC "), std::string::npos);
    // Contents on a page of their own, after the cover.
    EXPECT_NE(ParagraphWith(document_, "目  录").find("<w:pageBreakBefore/>"), std::string::npos);
    std::vector<std::string> entries;
    for (const std::string& anchor : AllMatches(document_, "<w:hyperlink w:anchor=\"([^\"]+)\"")) {
        const std::string heading = ParagraphWith(document_, "w:name=\"" + anchor + "\"");
        EXPECT_NE(heading.find("<w:pStyle w:val=\"Heading"), std::string::npos) << anchor;
        entries.push_back(Paragraphs("<w:p>" + heading + "</w:p>").at(0));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"汇总", "C1", "一、门窗承受荷载计算", "C2",
                                                 "一、门窗承受荷载计算"}));
    EXPECT_EQ(AllMatches(document_, "PAGEREF (_Toc\\d+) "),
              AllMatches(document_, "<w:hyperlink w:anchor=\"([^\"]+)\""));
    EXPECT_NE(entries_.at("word/settings.xml").find("<w:updateFields w:val=\"true\"/>"),
              std::string::npos);
}

TEST_F(ProjectDocx, TableHasARepeatedHeaderAndFailingCellsInRed) {
    const auto tables = Elements(document_, "<w:tbl>", "</w:tbl>");
    ASSERT_EQ(tables.size(), 1u);
    const auto rows = Elements(tables[0], "<w:tr>", "</w:tr>");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].starts_with("<w:trPr><w:tblHeader/></w:trPr>"));
    EXPECT_EQ(AllMatches(tables[0], "<w:gridCol w:w=\"(\\d+)\"/>"),
              (std::vector<std::string>{"2376", "4753", "2376"}));  // 9506 twips by 1:2:1
    std::vector<std::string> red;
    for (const std::string& cell : Elements(tables[0], "<w:tc>", "</w:tc>")) {
        if (cell.find("<w:color w:val=\"FF0000\"/>") != std::string::npos)
            red.push_back(Paragraphs(cell).at(0));
    }
    EXPECT_EQ(red, std::vector<std::string>{"不满足"});
    EXPECT_EQ(Paragraphs(rows[0]), (std::vector<std::string>{"窗号", "Wk(kN/m^2)", "玻璃"}));
}

TEST_F(ProjectDocx, HeadingsOfThreeLevelsAndPageBreaksBeforeTheChapters) {
    const std::vector<std::string> styles = ParagraphStyles(document_);
    EXPECT_EQ(std::count(styles.begin(), styles.end(), "Heading1"), 3);
    EXPECT_EQ(std::count(styles.begin(), styles.end(), "Heading2"), 2);
    EXPECT_EQ(std::count(styles.begin(), styles.end(), "Heading3"), 2);
    for (const char* chapter : {"C1", "C2"}) {
        const std::string heading =
            ParagraphWith(document_, std::string("\">") + chapter + "</w:t>");
        EXPECT_NE(heading.find("<w:pStyle w:val=\"Heading1\"/><w:pageBreakBefore/>"),
                  std::string::npos)
            << chapter;
    }
}

TEST(DocxPageBreaks, BeforeATableIsABreakOfItsOwnAndAtTheEndNothing) {
    ScratchFolder folder;
    RecordedDocument document;
    document.Paragraph(PlainRuns("a"));
    document.PageBreak();
    document.Table({{Cell("h")}, {{Cell("x")}}, {}});
    document.PageBreak();
    WriteDocxDocument(document, folder / "out.docx");
    const std::string xml = ReadZip(folder / "out.docx").at("word/document.xml");
    EXPECT_NE(xml.find("<w:br w:type=\"page\"/></w:r></w:p><w:tbl>"), std::string::npos);
    // Word wants a paragraph after a last table; a last page break adds no empty page.
    EXPECT_NE(xml.find("</w:tbl><w:p><w:pPr><w:rPr>"), std::string::npos);
    EXPECT_EQ(Paragraphs(xml), (std::vector<std::string>{"a", "", "h", "x", ""}));
    EXPECT_EQ(xml.find("pageBreakBefore"), std::string::npos);
}

TEST_F(ProjectDocx, EachDistinctPictureIsOneMediaPart) {
    EXPECT_EQ(AllMatches(document_, "<wp:docPr id=\"(\\d+)\"").size(), 3u);
    EXPECT_EQ(entries_.at("word/media/image1.wmf"), ReadBytes(kDocumentData / "xc.wmf"));
    EXPECT_TRUE(entries_.count("word/media/image2.wmf"));
    EXPECT_FALSE(entries_.count("word/media/image3.wmf"));
    EXPECT_EQ(AllMatches(document_, "r:embed=\"([^\"]+)\""),
              (std::vector<std::string>{"rIdPicture1", "rIdPicture1", "rIdPicture2"}));
    EXPECT_EQ(AllMatches(document_, "<wp:extent cx=\"(\\d+)\" cy=\"635000\"/>"),
              std::vector<std::string>{"1270000"});  // 100 pt x 50 pt
    const std::string& rels = entries_.at("word/_rels/document.xml.rels");
    for (const char* id : {"rIdPicture1", "rIdPicture2"})
        EXPECT_NE(rels.find(std::string("Id=\"") + id), std::string::npos);
    EXPECT_NE(entries_.at("docProps/core.xml").find("<dc:creator>张工</dc:creator>"),
              std::string::npos);
}

}  // namespace
}  // namespace quoinry::document
