#include <set>

#include "document/calculation_document.h"
#include "document/source_files.h"
#include "document_test_support.h"

namespace quoinry::document {
namespace {

using namespace testing;

struct ContentCase {
    const char* name;
    std::string wind;  // report bytes as on disk
    std::string glass;
    std::string gj;
    bool with_picture;
    std::vector<std::string> paragraphs;
};

std::string Cp(const std::string& utf8) {
    return Utf8ToCp936(utf8);
}

const std::string H = kHeading;
const std::string P = kPicture;

// Each line ends its paragraph, so every document closes with one empty paragraph.
const ContentCase kContentCases[] = {
    {"ReportsInOrder",
     Report({"w1", "w2"}),
     Report({"g1"}),
     Report({"j1"}),
     true,
     {"w1", "w2", "g1", "j1", ""}},
    {"NoHeadingNoPicture", "", "", Report({"a", "b"}), true, {"a", "b", ""}},
    {"HeadingInTheMiddle", "", "", Report({"a", H, "b"}), true, {"a", H, P, "b", ""}},
    {"HeadingAsLastLine", "", "", Report({"a", H}), true, {"a", H, P, ""}},
    {"HeadingAsLastLineWithoutLineEnd", "", "", Report({"a"}) + Cp(H), true, {"a", H, P, ""}},
    {"EveryHeadingGetsAPicture", "", "", Report({H, "x", H}), true, {H, P, "x", H, P, ""}},
    {"HeadingWithTrailingSpacesIsText", "", "", Report({H + "  "}), true, {H + "  ", ""}},
    {"HeadingWithLeadingSpaceIsText", "", "", Report({" " + H}), true, {" " + H, ""}},
    {"HeadingOutsideGjIsText", Report({H}), Report({H}), "", true, {H, H, ""}},
    {"EmptyLinesAreEmptyParagraphs",
     "a\r\n\r\n\r\nb\r\n",
     Report({""}),
     "",
     true,
     {"a", "", "", "b", "", ""}},
    {"ZeroLengthReportsAddNothing", "", "", "", true, {""}},
    {"LastLineWithoutLineEndCounts", "a\r\nb", "", "c", true, {"a", "b", "c", ""}},
    {"LoneLineEndsEndLinesToo", "a\nb\rc\r\n", "", "", true, {"a", "b", "c", ""}},
    {"TextsAsTheyAre",
     Report({"   Wk=1<2 & \"x\" 'y'>", "a\tb", "m^2 t1^3 σ≤ｆg kN·m"}),
     "",
     "",
     true,
     {"   Wk=1<2 & \"x\" 'y'>", "a\tb", "m^2 t1^3 σ≤ｆg kN·m", ""}},
    {"UndecodableBytesAndControlCharacters",
     "a\xFF"
     "b\x01"
     "c\r\n",
     "",
     "",
     true,
     {"a\xEF\xBF\xBD"
      "b\xEF\xBF\xBD"
      "c",
      ""}},
    {"WithoutPictureTheHeadingGetsAnEmptyParagraph",
     "",
     "",
     Report({H, "b", H}),
     false,
     {H, "", "b", H, "", ""}},
};

void PrintTo(const ContentCase& c, std::ostream* out) {
    *out << c.name;
}

class DocumentContent : public ::testing::TestWithParam<ContentCase> {};

TEST_P(DocumentContent, Paragraphs) {
    const ContentCase& c = GetParam();
    ScratchFolder folder;
    WriteBytes(folder / "wind.txt", c.wind);
    WriteBytes(folder / "glass.txt", c.glass);
    WriteBytes(folder / "gj.txt", c.gj);
    std::optional<fs::path> picture;
    if (c.with_picture)
        picture = kDocumentData / "xc.wmf";

    const Warnings warnings =
        BuildCalculationDocument(ReportsIn(folder.path(), picture), folder / "out.docx");

    const auto entries = ReadZip(folder / "out.docx");
    EXPECT_EQ(Paragraphs(entries.at("word/document.xml")), c.paragraphs);
    const bool heading_without_picture = !c.with_picture && c.gj.find(Cp(H)) != std::string::npos;
    EXPECT_EQ(warnings.size(), heading_without_picture ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, DocumentContent, ::testing::ValuesIn(kContentCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The whole sample design, read back part by part.
class DocumentPackage : public SampleDocumentTest {};

std::vector<std::string> LinesOf(const fs::path& report) {
    const std::string bytes = ReadBytes(report);
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(bytes)) lines.push_back(Cp936ToUtf8(line));
    return lines;
}

TEST_F(DocumentPackage, HoldsEveryReportLineAndThePictureAfterTheHeading) {
    std::vector<std::string> expected;
    for (const char* report : {"wind.txt", "glass.txt", "gj.txt"}) {
        for (const std::string& line : LinesOf(kDocumentData / report)) {
            expected.push_back(line);
            if (line == kHeading && std::string(report) == "gj.txt")
                expected.push_back(kPicture);
        }
    }
    expected.push_back("");
    ASSERT_EQ(std::count(expected.begin(), expected.end(), kPicture), 1);
    EXPECT_EQ(Paragraphs(document_), expected);
}

TEST_F(DocumentPackage, PictureIsEmbeddedAtItsSize) {
    // 278.65 pt and 170.1 pt at 12700 EMU per point.
    EXPECT_EQ(AllMatches(document_, "<wp:extent cx=\"(\\d+)\" cy=\"2160270\"/>"),
              std::vector<std::string>{"3538855"});
    EXPECT_EQ(AllMatches(document_, "<a:ext cx=\"(\\d+)\" cy=\"2160270\"/>"),
              std::vector<std::string>{"3538855"});
    EXPECT_EQ(AllMatches(document_, "r:embed=\"([^\"]+)\"").size(), 1u);
    EXPECT_EQ(document_.find("r:link="), std::string::npos);
    EXPECT_EQ(entries_.at("word/media/image1.wmf"), ReadBytes(kDocumentData / "xc.wmf"));
}

TEST_F(DocumentPackage, EveryRunIn14PointSongti) {
    const std::string fonts =
        "<w:rFonts w:ascii=\"宋体\" w:hAnsi=\"宋体\" w:eastAsia=\"宋体\" w:cs=\"宋体\"/>"
        "<w:sz w:val=\"28\"/><w:szCs w:val=\"28\"/>";
    const auto runs = Elements(document_, "<w:r>", "</w:r>");
    ASSERT_GT(runs.size(), 100u);
    for (const std::string& run : runs) ASSERT_TRUE(run.starts_with("<w:rPr>" + fonts)) << run;
    EXPECT_EQ(Elements(document_, "<w:pPr>", "</w:pPr>").size(), Paragraphs(document_).size());
    // Headings add their style before the mark's font.
    for (const std::string& mark : Elements(document_, "<w:pPr>", "</w:pPr>")) {
        ASSERT_TRUE(mark.ends_with("<w:rPr>" + fonts + "</w:rPr>")) << mark;
    }
    EXPECT_NE(entries_.at("word/styles.xml").find(fonts), std::string::npos);
}

TEST_F(DocumentPackage, A4WithMarginsOf60Points) {
    EXPECT_EQ(AllMatches(document_, "<w:pgSz [^>]*/>"),
              std::vector<std::string>{"<w:pgSz w:w=\"11906\" w:h=\"16838\"/>"});
    const auto margins = AllMatches(document_, "<w:pgMar [^>]*/>");
    ASSERT_EQ(margins.size(), 1u);
    for (const char* side : {"top", "right", "bottom", "left"}) {
        EXPECT_NE(margins[0].find(std::string("w:") + side + "=\"1200\""), std::string::npos)
            << side;
    }
    EXPECT_TRUE(document_.ends_with("</w:sectPr></w:body></w:document>"));
}

TEST_F(DocumentPackage, EveryPartHasItsContentType) {
    const std::string& types = entries_.at("[Content_Types].xml");
    EXPECT_NE(types.find("<Default Extension=\"wmf\" ContentType=\"image/x-wmf\"/>"),
              std::string::npos);
    EXPECT_NE(types.find("<Default Extension=\"rels\" ContentType=\"application/"
                         "vnd.openxmlformats-package.relationships+xml\"/>"),
              std::string::npos);
    EXPECT_NE(
        types.find("<Override PartName=\"/word/document.xml\" ContentType=\"application/"
                   "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"),
        std::string::npos);
    std::set<std::string> overridden;
    for (const std::string& part : AllMatches(types, "PartName=\"/([^\"]+)\"")) {
        EXPECT_TRUE(entries_.count(part)) << part << " has a content type but is missing";
        overridden.insert(part);
    }
    for (const auto& [name, data] : entries_) {
        const bool by_default = name.ends_with(".rels") || name.ends_with(".wmf");
        if (name == "[Content_Types].xml" || by_default)
            continue;
        EXPECT_TRUE(overridden.count(name)) << name << " has no content type";
    }
}

TEST_F(DocumentPackage, RelationshipsPointAtTheParts) {
    const std::string& package = entries_.at("_rels/.rels");
    EXPECT_NE(package.find("/relationships/officeDocument\" Target=\"word/document.xml\""),
              std::string::npos);
    for (const std::string& target : AllMatches(package, "Target=\"([^\"]+)\"")) {
        EXPECT_TRUE(entries_.count(target)) << target;
    }
    const std::string& rels = entries_.at("word/_rels/document.xml.rels");
    for (const std::string& target : AllMatches(rels, "Target=\"([^\"]+)\"")) {
        EXPECT_TRUE(entries_.count("word/" + target)) << target;
    }
    const std::string embed = AllMatches(document_, "r:embed=\"([^\"]+)\"").at(0);
    EXPECT_EQ(AllMatches(rels, "Id=\"" + embed + "\" Type=\"[^\"]+/image\" Target=\"([^\"]+)\""),
              std::vector<std::string>{"media/image1.wmf"});
    EXPECT_EQ(entries_.begin()->first, "[Content_Types].xml");
}

TEST(DocumentDrawings, EachHasItsOwnIdAndAllShareOnePicture) {
    ScratchFolder folder;
    WriteBytes(folder / "wind.txt", "");
    WriteBytes(folder / "glass.txt", "");
    WriteBytes(folder / "gj.txt", Report({kHeading, kHeading, "x", kHeading}));
    BuildCalculationDocument(ReportsIn(folder.path(), kDocumentData / "xc.wmf"),
                             folder / "out.docx");
    const auto entries = ReadZip(folder / "out.docx");
    const std::string& xml = entries.at("word/document.xml");
    const auto ids = AllMatches(xml, "<wp:docPr id=\"(\\d+)\"");
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), 3u);
    const auto embeds = AllMatches(xml, "r:embed=\"([^\"]+)\"");
    EXPECT_EQ(std::set<std::string>(embeds.begin(), embeds.end()).size(), 1u);
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const auto& e) { return e.first.starts_with("word/media/"); }),
              1);
}

TEST(DocumentDrawings, NoPicturePartWithoutAHeading) {
    ScratchFolder folder;
    for (const char* report : {"wind.txt", "glass.txt", "gj.txt"}) {
        WriteBytes(folder / report, Report({"x"}));
    }
    BuildCalculationDocument(ReportsIn(folder.path(), kDocumentData / "xc.wmf"),
                             folder / "out.docx");
    const auto entries = ReadZip(folder / "out.docx");
    EXPECT_FALSE(entries.count("word/media/image1.wmf"));
    EXPECT_EQ(entries.at("word/_rels/document.xml.rels").find("image"), std::string::npos);
}

TEST(SectionPicture, IsAWindowsMetafile) {
    const std::string placeable = ReadBytes(kDocumentData / "xc.wmf");
    EXPECT_TRUE(IsWindowsMetafile(placeable));
    EXPECT_TRUE(IsWindowsMetafile(placeable.substr(22)));  // without the placeable header
    EXPECT_FALSE(IsWindowsMetafile(placeable.substr(0, 30)));
    EXPECT_FALSE(IsWindowsMetafile(""));
    EXPECT_FALSE(IsWindowsMetafile(std::string(64, 'x')));
}

}  // namespace
}  // namespace quoinry::document
