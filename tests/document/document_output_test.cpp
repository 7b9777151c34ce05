#include "document/calculation_document.h"
#include "document/document_error.h"
#include "document/document_placement.h"
#include "document_test_support.h"

namespace quoinry::document {
namespace {

using namespace testing;

// Reports in one folder, the document goes to another, so leftovers are easy to see.
class DocumentOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* report : {"wind.txt", "glass.txt", "gj.txt"}) {
            fs::copy_file(kDocumentData / report, inputs_ / report);
        }
        fs::copy_file(kDocumentData / "xc.wmf", inputs_ / "xc.wmf");
        fs::create_directory(output_);
    }
    DocumentSources Sources() const { return ReportsIn(inputs_.path(), inputs_ / "xc.wmf"); }

    // Expects a DocumentError about `file` and returns its line for the user.
    std::string ErrorOf(const DocumentSources& sources, DocumentProblem problem,
                        const fs::path& file, const fs::path& out = {}) {
        try {
            BuildCalculationDocument(sources, out.empty() ? output_ / "计算书.docx" : out);
        } catch (const DocumentError& error) {
            EXPECT_EQ(error.problem(), problem);
            EXPECT_EQ(error.file(), file);
            return ErrorLine(error);
        }
        ADD_FAILURE() << "no DocumentError";
        return "";
    }

    ScratchFolder inputs_;
    fs::path output_ = inputs_ / "out";
};

TEST_F(DocumentOutput, MissingReportStopsTheBuildAndNamesTheFile) {
    for (const char* report : {"wind.txt", "glass.txt", "gj.txt"}) {
        SCOPED_TRACE(report);
        fs::rename(inputs_ / report, inputs_ / "away");
        const fs::path file = inputs_ / report;
        EXPECT_EQ(ErrorOf(Sources(), DocumentProblem::ReportMissing, file),
                  "当前错误:找不到报告文件 " + file.string());
        EXPECT_TRUE(fs::is_empty(output_));
        fs::rename(inputs_ / "away", inputs_ / report);
    }
}

TEST_F(DocumentOutput, PictureProblemsStopTheBuildWhenTheHeadingNeedsIt) {
    const fs::path picture = inputs_ / "xc.wmf";
    fs::remove(picture);
    EXPECT_EQ(ErrorOf(Sources(), DocumentProblem::PictureMissing, picture),
              "当前错误:找不到截面图片 " + picture.string());
    WriteBytes(picture, "not a metafile, just some text long enough");
    EXPECT_EQ(ErrorOf(Sources(), DocumentProblem::PictureNotMetafile, picture),
              "当前错误:截面图片不是 Windows 图元文件 " + picture.string());
    // A metafile header whose body is not whole records up to an end record.
    const std::string header(
        "\x01\x00\x09\x00\x00\x03\x20\x00\x00\x00\x00\x00\x05\x00\x00\x00\x00\x00", 18);
    for (const std::string& body :
         {std::string("\x40\x00\x00\x00\x1b\x04", 6), std::string("\x05", 1)}) {
        WriteBytes(picture, header + body);
        EXPECT_EQ(ErrorOf(Sources(), DocumentProblem::PictureDamaged, picture),
                  "当前错误:截面图片已损坏 " + picture.string());
    }
    EXPECT_TRUE(fs::is_empty(output_));
}

TEST_F(DocumentOutput, PictureIsNotNeededWithoutTheHeading) {
    WriteBytes(inputs_ / "gj.txt", Report({"no heading here"}));
    fs::remove(inputs_ / "xc.wmf");
    EXPECT_TRUE(BuildCalculationDocument(Sources(), output_ / "计算书.docx").empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(output_), {}), 1);
}

TEST_F(DocumentOutput, UnreadableInputsAreErrorsToo) {
    fs::remove(inputs_ / "glass.txt");
    fs::create_directory(inputs_ / "glass.txt");
    ErrorOf(Sources(), DocumentProblem::ReportUnreadable, inputs_ / "glass.txt");
    EXPECT_TRUE(fs::is_empty(output_));
}

TEST_F(DocumentOutput, FailedBuildLeavesTheOlderDocumentAlone) {
    WriteBytes(output_ / "计算书.docx", "older document");
    fs::remove(inputs_ / "gj.txt");
    ErrorOf(Sources(), DocumentProblem::ReportMissing, inputs_ / "gj.txt");
    EXPECT_EQ(ReadBytes(output_ / "计算书.docx"), "older document");
    EXPECT_EQ(std::distance(fs::directory_iterator(output_), {}), 1);
}

TEST_F(DocumentOutput, SuccessfulBuildReplacesTheOlderDocument) {
    WriteBytes(output_ / "计算书.docx", "older document");
    BuildCalculationDocument(Sources(), output_ / "计算书.docx");
    EXPECT_TRUE(ReadZip(output_ / "计算书.docx").count("word/document.xml"));
    EXPECT_EQ(std::distance(fs::directory_iterator(output_), {}), 1);
}

TEST_F(DocumentOutput, UnwritableFolderIsAnErrorNamingTheDocument) {
    const fs::path out = output_ / "missing folder" / "计算书.docx";
    EXPECT_EQ(ErrorOf(Sources(), DocumentProblem::DocumentUnwritable, out, out),
              "当前错误:无法写入计算书 " + out.string() + ": 文件夹不存在");
    EXPECT_TRUE(fs::is_empty(output_));
}

TEST(DocumentNames, NumberedAfterTheFirst) {
    EXPECT_EQ(NumberedDocumentName(1), fs::path("计算书.docx"));
    EXPECT_EQ(NumberedDocumentName(2), fs::path("计算书(2).docx"));
    EXPECT_EQ(NumberedDocumentName(12), fs::path("计算书(12).docx"));
}

struct PlacementCase {
    const char* name;
    std::vector<std::string> lock_files;     // beside the documents
    std::vector<std::string> blocking_dirs;  // folders in a document's place
    std::string expected;
};

const PlacementCase kPlacementCases[] = {
    {"EmptyFolder", {}, {}, "计算书.docx"},
    {"OpenInLibreOffice", {".~lock.计算书.docx#"}, {}, "计算书(2).docx"},
    {"OpenInWord", {"~$计算书.docx"}, {}, "计算书(2).docx"},
    {"FirstTwoOpen", {".~lock.计算书.docx#", ".~lock.计算书(2).docx#"}, {}, "计算书(3).docx"},
    {"CannotBeReplaced", {}, {"计算书.docx"}, "计算书(2).docx"},
    {"OpenAndCannotBeReplaced", {".~lock.计算书.docx#"}, {"计算书(2).docx"}, "计算书(3).docx"},
};

void PrintTo(const PlacementCase& c, std::ostream* out) {
    *out << c.name;
}

class DocumentPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(DocumentPlacement, PicksTheFirstNameThatCanBeWritten) {
    const PlacementCase& c = GetParam();
    ScratchFolder folder;
    std::vector<std::string> before;
    for (const std::string& lock : c.lock_files) {
        WriteBytes(folder / lock, "lock");
        before.push_back(lock);
    }
    for (const std::string& dir : c.blocking_dirs) {
        fs::create_directory(folder / dir);
        fs::create_directory(folder / dir / "inside");  // a non-empty folder is never replaced
        before.push_back(dir);
    }
    WriteBytes(folder / "计算书.docx.older", "");

    const PlacedDocument placed =
        PlaceCalculationDocument(ReportsIn(kDocumentData, kDocumentData / "xc.wmf"), folder.path());

    EXPECT_EQ(placed.file, folder / c.expected);
    EXPECT_TRUE(ReadZip(placed.file).count("word/document.xml"));
    before.push_back(c.expected);
    before.push_back("计算书.docx.older");
    std::sort(before.begin(), before.end());
    EXPECT_EQ(folder.Entries(), before);  // no temporary file left
}

INSTANTIATE_TEST_SUITE_P(Cases, DocumentPlacement, ::testing::ValuesIn(kPlacementCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DocumentPlacementReplaces, AnOlderDocumentThatIsNotOpen) {
    ScratchFolder folder;
    WriteBytes(folder / "计算书.docx", "older");
    const PlacedDocument placed =
        PlaceCalculationDocument(ReportsIn(kDocumentData, std::nullopt), folder.path());
    EXPECT_EQ(placed.file, folder / "计算书.docx");
    EXPECT_EQ(placed.warnings.size(), 1u);  // no picture for the heading
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"计算书.docx"});
}

TEST(DocumentPlacementFails, LeavesTheFolderAsItWas) {
    ScratchFolder folder;
    WriteBytes(folder / "计算书.docx", "older");
    EXPECT_THROW(PlaceCalculationDocument(ReportsIn(folder.path(), std::nullopt), folder.path()),
                 DocumentError);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"计算书.docx"});
    EXPECT_EQ(ReadBytes(folder / "计算书.docx"), "older");
}

}  // namespace
}  // namespace quoinry::document
