// The project window: the position list and its undo, computing all with failing rows red,
// editing a position in the calculation windows, files, schedules and the summary.
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QUndoStack>
#include <filesystem>
#include <fstream>

#include "../document_test_support.h"
#include "design/design_file.h"
#include "shell/project_form.h"
#include "shell_test_support.h"

namespace quoinry::shell::testing {
namespace {

Design GoldenDesign(const char* name) {
    return ReadDesignFile(fs::path(QUOINRY_TEST_DATA) / "golden" / name / "design.ini").design;
}

class ProjectWindow : public ShellTest {
  protected:
    ProjectForm& Open() {
        ClickToolbar(7);
        auto* form = dynamic_cast<ProjectForm*>(Form("projectForm"));
        EXPECT_NE(form, nullptr);
        return *form;
    }
    // Puts a design in the windows and adds it under `name`.
    void Add(ProjectForm& form, Design design, const std::string& name) {
        design.info.name = name;
        main_->Model().Replace(design, std::nullopt);
        Click(Control<QPushButton>("projectForm", "PositionAdd"));
        (void)form;
    }
    std::vector<std::string> Names(const ProjectForm& form) const {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < form.document().size(); ++i)
            names.push_back(form.document().position(i).design.info.name);
        return names;
    }
    QTableWidget* Table() const { return Control<QTableWidget>("projectForm", "PositionTable"); }
};

TEST_F(ProjectWindow, ThePositionListAndItsUndo) {
    ProjectForm& form = Open();
    Add(form, GoldenDesign("0001"), "C1521");
    Add(form, GoldenDesign("0005"), "M1024");
    EXPECT_EQ(Names(form), (std::vector<std::string>{"C1521", "M1024"}));
    Table()->selectRow(0);
    Click(Control<QPushButton>("projectForm", "PositionDuplicate"));
    EXPECT_EQ(Names(form), (std::vector<std::string>{"C1521", "C1521(复制)", "M1024"}));
    Click(Control<QPushButton>("projectForm", "PositionDown"));
    EXPECT_EQ(Names(form), (std::vector<std::string>{"C1521", "M1024", "C1521(复制)"}));
    Table()->selectRow(0);
    Click(Control<QPushButton>("projectForm", "PositionDelete"));
    EXPECT_EQ(Names(form), (std::vector<std::string>{"M1024", "C1521(复制)"}));
    Click(Control<QPushButton>("projectForm", "ProjectUndo"));
    Click(Control<QPushButton>("projectForm", "ProjectUndo"));
    EXPECT_EQ(Names(form), (std::vector<std::string>{"C1521", "C1521(复制)", "M1024"}));
    Click(Control<QPushButton>("projectForm", "ProjectRedo"));
    EXPECT_EQ(Names(form), (std::vector<std::string>{"C1521", "M1024", "C1521(复制)"}));
    EXPECT_EQ(Table()->rowCount(), 3);
    EXPECT_EQ(Table()->item(1, 0)->text(), QStringLiteral("M1024"));
    EXPECT_EQ(Table()->item(1, 4)->text(), QStringLiteral("无"));
    EXPECT_TRUE(form.windowTitle().endsWith(QStringLiteral("*")));
}

TEST_F(ProjectWindow, ComputeAllMarksFailingPositionsRed) {
    ProjectForm& form = Open();
    Add(form, GoldenDesign("0001"), "C1521");
    Design weak = GoldenDesign("0001");
    weak.member->wx1 = "1";
    weak.member->wx2 = "1";
    Add(form, weak, "C1818");
    Design refused = GoldenDesign("0001");
    refused.wind.height = "-3";
    Add(form, refused, "M1024");
    EXPECT_EQ(Control<QLabel>("projectForm", "ProjectStatus")->text(),
              QStringLiteral("3 个计算位置: 0 个满足, 0 个不满足, 0 个出错, 3 个未计算"));
    EXPECT_TRUE(form.ComputeAll());
    EXPECT_EQ(Control<QLabel>("projectForm", "ProjectStatus")->text(),
              QStringLiteral("3 个计算位置: 1 个满足, 1 个不满足, 1 个出错"));
    // A new project is of edition 2012: B 20 m, 350 Pa, μsl 1.5 + 0.2: βgz max(1.63, 1 + 0.7/√1.23
    // = 1.631), Wk = 1.631 × 1.7 × 1.23 × 0.35 = 1.19364.
    EXPECT_EQ(Table()->item(0, 6)->text(), QStringLiteral("1.194"));
    EXPECT_EQ(Table()->item(0, 9)->text(), QStringLiteral("满足"));
    EXPECT_EQ(Table()->item(1, 8)->text(), QStringLiteral("不满足"));
    EXPECT_EQ(Table()->item(1, 9)->text(), QStringLiteral("不满足"));
    EXPECT_TRUE(
        Table()->item(2, 9)->text().startsWith(QStringLiteral("出错:第3个位置 计算处标高(m)")));
    EXPECT_EQ(Table()->item(0, 0)->background().style(), Qt::NoBrush);
    EXPECT_EQ(Table()->item(1, 0)->background().color(), QColor(0xFF, 0xC7, 0xCE));
    EXPECT_EQ(Table()->item(2, 0)->background().color(), QColor(0xFF, 0xC7, 0xCE));
    // A summary only from current results.
    const fs::path summary = Home() / "summary.xlsx";
    form.ExportSummary(summary);
    EXPECT_TRUE(fs::exists(summary));
    Table()->selectRow(0);
    Click(Control<QPushButton>("projectForm", "PositionDuplicate"));
    services_.messages.clear();
    form.ExportSummary(Home() / "stale.xlsx");
    EXPECT_FALSE(fs::exists(Home() / "stale.xlsx"));
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_TRUE(services_.messages[0].text.contains(QStringLiteral("请先按“全部计算”")));
}

// 工程计算书 computes the project as it stands, so a deleted position is not in the document.
TEST_F(ProjectWindow, WritesTheProjectDocumentOfTheProjectAsItStands) {
    using document::testing::Paragraphs;
    using document::testing::ParagraphStyles;
    using document::testing::ReadZip;
    ProjectForm& form = Open();
    Add(form, GoldenDesign("0001"), "C1521");
    Add(form, GoldenDesign("0005"), "M1024");
    const auto chapters = [&](const fs::path& docx) {
        const std::string xml = ReadZip(docx)["word/document.xml"];
        const std::vector<std::string> lines = Paragraphs(xml);
        const std::vector<std::string> styles = ParagraphStyles(xml);
        std::vector<std::string> headings;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (styles[i] == "Heading1")
                headings.push_back(lines[i]);
        }
        return headings;
    };
    services_.messages.clear();
    form.WriteProjectDocument(Home() / "p.docx");
    EXPECT_EQ(chapters(Home() / "p.docx"),
              (std::vector<std::string>{"计算结果汇总", "C1521", "M1024"}));
    ASSERT_FALSE(services_.messages.empty());
    EXPECT_EQ(services_.messages.back().text,
              QString::fromStdString("工程计算书已保存为 " + (Home() / "p.docx").string()));
    Table()->selectRow(1);
    Click(Control<QPushButton>("projectForm", "PositionDelete"));
    form.WriteProjectDocument(Home() / "p.docx");
    EXPECT_EQ(chapters(Home() / "p.docx"), (std::vector<std::string>{"计算结果汇总", "C1521"}));
    form.WriteProjectDocument(Home() / "p.pdf");
    EXPECT_EQ(document::testing::ReadBytes(Home() / "p.pdf").substr(0, 5), "%PDF-");
}

TEST_F(ProjectWindow, AnEditedPositionIsSavedBackIntoTheProject) {
    ProjectForm& form = Open();
    Add(form, GoldenDesign("0001"), "C1521");
    Add(form, GoldenDesign("0005"), "M1024");
    Table()->selectRow(1);
    Click(Control<QPushButton>("projectForm", "PositionEdit"));
    ASSERT_TRUE(main_->Model().SavesToPosition());
    EXPECT_EQ(main_->Model().design().info.name, "M1024");
    EXPECT_NE(Form("winForm"), nullptr);
    main_->Model().SetField(*FindInputField("glass", "te3"), "88");
    EXPECT_TRUE(main_->SaveDesign());
    EXPECT_FALSE(main_->Model().IsModified());
    EXPECT_EQ(form.document().position(1).design.wind.height, "88");
    EXPECT_EQ(Table()->item(1, 1)->text(), QStringLiteral("88"));
    form.undo_stack().undo();
    EXPECT_EQ(form.document().position(1).design.wind.height, "33");
    // Once the project window is gone, 保存 asks for a design file instead.
    services_.save_choice = SaveChoice::Discard;
    Form("projectForm")->parentWidget()->close();
    QApplication::processEvents();
    EXPECT_FALSE(main_->Model().SavesToPosition());
}

TEST_F(ProjectWindow, SavesOpensAndImportsSchedules) {
    ProjectForm& form = Open();
    services_.project_info = ProjectInfo{"3#楼", "江苏省", "南京", "350",  "B类",
                                         "2001", "张工",   "李工", "王工", "2026-12-06"};
    Click(Control<QPushButton>("projectForm", "ProjectInfo"));
    EXPECT_EQ(form.document().project().info.name, "3#楼");
    Add(form, GoldenDesign("0001"), "C1521");
    std::ofstream(Home() / "s.csv")
        << "门窗编号,计算处标高\r\nC1818,30\r\nC1819,abc\r\nM1024,x,9\r\n";
    services_.messages.clear();
    form.ImportSchedule(Home() / "s.csv");
    EXPECT_EQ(Names(form), (std::vector<std::string>{"C1521", "C1818", "C1819"}));
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_TRUE(services_.messages[0].text.contains(QStringLiteral("导入了 2 个计算位置")));
    EXPECT_TRUE(services_.messages[0].text.contains(QStringLiteral("第4行 C列: 表头只有2列")));
    EXPECT_EQ(form.document().position(1).design.wind.height, "30");
    EXPECT_EQ(form.document().position(1).design.wind.city, "南京");
    services_.file_to_save = QString::fromStdString((Home() / "building").string());
    Click(Control<QPushButton>("projectForm", "ProjectSave"));
    ASSERT_TRUE(fs::exists(Home() / "building.qproj"));
    EXPECT_FALSE(form.windowTitle().endsWith(QStringLiteral("*")));
    const Project saved = form.document().project();
    Click(Control<QPushButton>("projectForm", "ProjectNew"));
    EXPECT_EQ(form.document().size(), 0u);
    EXPECT_TRUE(form.OpenProjectFile(Home() / "building.qproj"));
    EXPECT_EQ(form.document().project(), saved);
}

}  // namespace
}  // namespace quoinry::shell::testing
