// 结果输出: the document's window with its preview, 打印, 保存为PDF and 用字处理软件打开.
#include <QLabel>
#include <QPrintPreviewWidget>
#include <filesystem>
#include <regex>

#include "../document_test_support.h"
#include "../pdf/pdf_reading.h"
#include "common/program_dir.h"
#include "document/calculation_document.h"
#include "document/source_files.h"
#include "shell/document_window.h"
#include "shell/form_helpers.h"
#include "shell_test_support.h"

namespace quoinry::shell::testing {
namespace {

using pdf::testing::PdfPages;
using pdf::testing::WithoutBreaks;

const fs::path kExample = fs::path(QUOINRY_SOURCE_DIR) / "examples" / "guangzhou-c1-3-sliding.ini";

class DocumentWindowTest : public ShellTest {
  protected:
    // The example design, copied to temp/ and computed; 结果输出 is offered.
    void ComputeExample() {
        fs::copy_file(kExample, Design());
        services_.design_to_open = QString::fromStdString(Design().string());
        main_->OpenDesign();
        ASSERT_EQ(services_.TakeTexts(), Texts{});
        Press("winForm", "Command1");
        Press("winForm", "Command2");
        QApplication::processEvents();
        Press("gjForm", "Button2");
        ASSERT_EQ(services_.TakeTexts(), Texts{QStringLiteral("计算完毕!")});
    }
    fs::path Design() const { return Temp() / "c1-3.ini"; }
    void Press(const char* form, const char* button) {
        QPushButton* control = Control<QPushButton>(form, button);
        ASSERT_NE(control, nullptr);
        ASSERT_TRUE(control->isEnabled()) << form << "." << button;
        Click(control);
    }
    // 结果输出, with `work` done in the document's window.
    void OutputDocument(const std::function<void(DocumentWindow&)>& work) {
        services_.on_document = [&](QDialog& dialog) {
            auto* window = dynamic_cast<DocumentWindow*>(&dialog);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window->objectName(), QStringLiteral("documentForm"));
            work(*window);
        };
        Press("gjForm", "Button3");
        EXPECT_EQ(services_.documents_shown, 1);
    }
    static std::string ReportText(const fs::path& report) {
        std::string text;
        for (const std::string& line : document::ReadReportLines(report))
            text += document::RunsText(document::ExponentRuns(line));
        return WithoutBreaks(text);
    }
};

TEST_F(DocumentWindowTest, PreviewShowsThePagesThePdfHas) {
    ComputeExample();
    // Named after the design, beside its file.
    const fs::path pdf = Temp() / "C1-3 推拉窗下横框.pdf";
    OutputDocument([&](DocumentWindow& window) {
        const int pages = window.PageCount();
        EXPECT_GE(pages, 4);
        EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("PageCount"))->text(),
                  QStringLiteral("共 %1 页").arg(pages));
        EXPECT_NE(window.findChild<QPrintPreviewWidget*>(QStringLiteral("Preview")), nullptr);
        RecordingServices::PressButton(window, "SavePdf");
        EXPECT_EQ(services_.TakeTexts(), Texts{Q("计算书已保存为 " + pdf.string())});
        EXPECT_EQ(static_cast<int>(PdfPages(pdf).size()), pages);
    });
    // The PDF is the document of this design: its reports, in order, page footers aside.
    const std::string text = std::regex_replace(WithoutBreaks(pdf::testing::PdfText(pdf)),
                                                std::regex("第\\d+页共\\d+页"), "");
    const std::string gj = ReportText(SessionDirectory() / "gj.txt");
    EXPECT_NE(text.find(ReportText(SessionDirectory() / "wind.txt")), std::string::npos);
    EXPECT_NE(text.find("选用型材号:自定义截面(tl70-frame.dxf)"), std::string::npos);
    EXPECT_TRUE(services_.opened_files.empty());
    EXPECT_EQ(services_.proposals.back(), Q(pdf.string()));
}

TEST_F(DocumentWindowTest, PrintingDrawsTheSamePagesAsThePdf) {
    ComputeExample();
    document::testing::ScratchFolder folder;
    services_.pdf_to_save = Q((folder / "saved.pdf").string());
    services_.print_to = folder / "printed.pdf";
    OutputDocument([&](DocumentWindow& window) {
        RecordingServices::PressButton(window, "Print");
        EXPECT_EQ(services_.TakeTexts(), Texts{});
        RecordingServices::PressButton(window, "SavePdf");
        services_.TakeTexts();
        // A cancelled print dialog prints nothing.
        services_.print_to.clear();
        RecordingServices::PressButton(window, "Print");
        EXPECT_EQ(services_.TakeTexts(), Texts{});
    });
    const std::vector<std::string> printed = PdfPages(folder / "printed.pdf");
    EXPECT_EQ(printed, PdfPages(folder / "saved.pdf"));
    EXPECT_GE(printed.size(), 4u);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"printed.pdf", "saved.pdf"}));
}

TEST_F(DocumentWindowTest, WordProcessorGetsTheDocxAsBefore) {
    ComputeExample();
    OutputDocument([&](DocumentWindow&) {});  // closed without a choice: nothing is written
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    const fs::path docx_file = Temp() / "C1-3 推拉窗下横框.docx";
    EXPECT_FALSE(fs::exists(docx_file));
    services_.on_document = nullptr;  // 用字处理软件打开
    Press("gjForm", "Button3");
    EXPECT_EQ(services_.TakeTexts(), Texts{QStringLiteral("计算书输出完成!")});
    ASSERT_EQ(services_.opened_files, std::vector<fs::path>{docx_file});
    const auto docx = document::testing::ReadZip(docx_file);
    EXPECT_TRUE(docx.count("word/footer1.xml"));
}

TEST_F(DocumentWindowTest, WithoutTheFontTheWindowSaysWhatToInstallAndTheDocxStillWorks) {
    document::RecordedDocument document;
    document.Paragraph(document::PlainRuns("x"));
    const fs::path missing_font = Temp() / "uming.ttc";
    DocumentWindow window(*main_, std::move(document), Temp() / "计算书.docx", nullptr,
                          missing_font);
    EXPECT_EQ(window.PageCount(), 0);
    auto* problem = window.findChild<QLabel*>(QStringLiteral("FontProblem"));
    ASSERT_NE(problem, nullptr);
    EXPECT_TRUE(problem->text().contains(QStringLiteral("fonts-arphic-uming")));
    EXPECT_TRUE(problem->text().contains(Q(missing_font.string())));
    for (const char* name : {"Print", "SavePdf"})
        EXPECT_FALSE(window.findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled());
    RecordingServices::PressButton(window, "OpenDocx");
    EXPECT_EQ(services_.TakeTexts(), Texts{QStringLiteral("计算书输出完成!")});
    EXPECT_TRUE(fs::exists(Temp() / "计算书.docx"));
}

TEST_F(DocumentWindowTest, UnwritablePdfPlaceIsAnErrorThatNamesIt) {
    ComputeExample();
    const fs::path pdf = Temp() / "no such folder" / "计算书.pdf";
    services_.pdf_to_save = Q(pdf.string());
    OutputDocument(
        [&](DocumentWindow& window) { RecordingServices::PressButton(window, "SavePdf"); });
    EXPECT_EQ(services_.TakeTexts(), Texts{Q("当前错误:无法写入计算书 " + pdf.string())});
}

}  // namespace
}  // namespace quoinry::shell::testing
