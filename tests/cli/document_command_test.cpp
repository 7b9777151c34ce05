#include "batch_test_support.h"

namespace quoinry::document {
namespace {

using namespace testing;

using Outcome = batch_testing::Finished;

// Runs `quoinry document ARGS` with QUOINRY_HOME set to `home`.
Outcome RunDocument(const ScratchFolder& folder, const fs::path& home, const std::string& args) {
    return batch_testing::RunProgram(folder.path(), "document " + args, home);
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

class DocumentCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(home_ / "temp");
        fs::copy_file(kDocumentData / "xc.wmf", home_ / "temp" / "xc.wmf");
    }
    ScratchFolder folder_;
    fs::path home_ = folder_ / "home";
    fs::path docx_ = folder_ / "计算书.docx";
};

TEST_F(DocumentCommand, WritesTheDocumentWithTheGivenPicture) {
    const fs::path picture = folder_ / "other.wmf";
    fs::copy_file(kDocumentData / "xc.wmf", picture);
    const Outcome outcome = RunDocument(
        folder_, folder_ / "nowhere",
        Quoted(kDocumentData) + " --docx " + Quoted(docx_) + " --picture " + Quoted(picture));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(ReadZip(docx_).at("word/media/image1.wmf"), ReadBytes(picture));
}

TEST_F(DocumentCommand, TakesThePictureFromTheProgramTempFolderByDefault) {
    const Outcome outcome =
        RunDocument(folder_, home_, Quoted(kDocumentData) + " --docx " + Quoted(docx_));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_TRUE(ReadZip(docx_).count("word/media/image1.wmf"));
}

TEST_F(DocumentCommand, WithoutAnyPictureWarnsAndLeavesItsPlaceEmpty) {
    const Outcome outcome = RunDocument(folder_, folder_ / "nowhere",
                                        Quoted(kDocumentData) + " --docx " + Quoted(docx_));
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.err.find("警告"), std::string::npos) << outcome.err;
    const auto entries = ReadZip(docx_);
    EXPECT_EQ(entries.at("word/document.xml").find("<w:drawing>"), std::string::npos);
}

TEST_F(DocumentCommand, MissingReportIsAnErrorAndWritesNothing) {
    fs::copy_file(kDocumentData / "wind.txt", folder_ / "wind.txt");
    const Outcome outcome =
        RunDocument(folder_, home_, Quoted(folder_.path()) + " --docx " + Quoted(docx_));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "当前错误:找不到报告文件 " + (folder_ / "glass.txt").string() + "\n");
    EXPECT_EQ(outcome.out, "");
    EXPECT_FALSE(fs::exists(docx_));
}

TEST_F(DocumentCommand, MissingGivenPictureIsAnError) {
    const fs::path picture = folder_ / "gone.wmf";
    const Outcome outcome = RunDocument(
        folder_, home_,
        Quoted(kDocumentData) + " --docx " + Quoted(docx_) + " --picture " + Quoted(picture));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "当前错误:找不到截面图片 " + picture.string() + "\n");
    EXPECT_FALSE(fs::exists(docx_));
}

TEST_F(DocumentCommand, WritesAPdfBesideOrInsteadOfTheDocx) {
    const fs::path pdf = folder_ / "计算书.pdf";
    Outcome outcome =
        RunDocument(folder_, home_,
                    Quoted(kDocumentData) + " --docx " + Quoted(docx_) + " --pdf " + Quoted(pdf));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");  // nothing of Qt's own set-up either
    EXPECT_TRUE(ReadBytes(pdf).starts_with("%PDF-"));
    EXPECT_TRUE(ReadZip(docx_).count("word/document.xml"));
    fs::remove(pdf);
    fs::remove(docx_);
    outcome = RunDocument(folder_, home_, Quoted(kDocumentData) + " --pdf " + Quoted(pdf));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(ReadBytes(pdf).starts_with("%PDF-"));
    EXPECT_FALSE(fs::exists(docx_));
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"home", "计算书.pdf"}));
}

TEST_F(DocumentCommand, UnwritablePdfIsAnErrorNamingIt) {
    const fs::path pdf = folder_ / "missing" / "计算书.pdf";
    const Outcome outcome =
        RunDocument(folder_, home_, Quoted(kDocumentData) + " --pdf " + Quoted(pdf));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "当前错误:无法写入计算书 " + pdf.string() + "\n");
}

TEST_F(DocumentCommand, WrongUsageExitsWith2) {
    const std::string dir = Quoted(kDocumentData);
    for (const std::string& args :
         {std::string(""), dir, "--docx " + Quoted(docx_), dir + " --docx",
          dir + " --docx " + Quoted(docx_) + " --picture", dir + " --docx x.docx --verbose",
          dir + " " + dir + " --docx x.docx", dir + " --pdf", dir + " --picture x.wmf"}) {
        SCOPED_TRACE(args);
        const Outcome outcome = RunDocument(folder_, home_, args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find("usage: quoinry document"), std::string::npos);
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_FALSE(fs::exists(docx_));
}

TEST_F(DocumentCommand, HelpExplains) {
    const Outcome outcome = RunDocument(folder_, home_, "--help");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("--picture"), std::string::npos);
    EXPECT_EQ(outcome.err, "");
}

}  // namespace
}  // namespace quoinry::document
