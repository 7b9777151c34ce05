// The project window: the position list and its undo, computing all with failing rows red,
// editing a position in the calculation windows, files, schedules and the summary.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>
#include <filesystem>
#include <fstream>

#include "../document_test_support.h"
#include "../pdf/pdf_reading.h"
#include "batch/project_chapters.h"
#include "design/design_file.h"
#include "pdf/pdf_writer.h"
#include "project/project_file.h"
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
        for (std::size_t i = 0; i < form.model().size(); ++i)
            names.push_back(form.model().position(i).design.info.name);
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
    EXPECT_EQ(Table()->item(0, 7)->text(), QStringLiteral("满足"));
    EXPECT_EQ(Table()->item(0, 9)->text(), QStringLiteral("满足"));
    // The weak member fails, its glass does not; the refused height leaves no Wk.
    EXPECT_EQ(Table()->item(1, 6)->text(), QStringLiteral("1.194"));
    EXPECT_EQ(Table()->item(1, 7)->text(), QStringLiteral("满足"));
    EXPECT_EQ(Table()->item(2, 6)->text(), QString());
    EXPECT_EQ(Table()->item(1, 8)->text(), QStringLiteral("不满足"));
    EXPECT_EQ(Table()->item(1, 9)->text(), QStringLiteral("不满足"));
    EXPECT_TRUE(
        Table()->item(2, 9)->text().startsWith(QStringLiteral("出错:第3个位置 计算处标高(m)")));
    EXPECT_EQ(Table()->item(0, 0)->background().style(), Qt::NoBrush);
    EXPECT_EQ(Table()->item(1, 0)->background().color(), QColor(0xFF, 0xC7, 0xCE));
    EXPECT_EQ(Table()->item(2, 0)->background().color(), QColor(0xFF, 0xC7, 0xCE));
    // A summary only from current results, for the engineer: captions with units, verdicts in
    // words, and no folder column (the reports of 全部计算 go when the program ends).
    const fs::path summary = Home() / "summary.xlsx";
    form.ExportSummary(summary);
    const std::string sheet = document::testing::ReadZip(summary)["xl/worksheets/sheet1.xml"];
    EXPECT_NE(sheet.find("不满足"), std::string::npos);
    EXPECT_EQ(sheet.find("报告文件夹"), std::string::npos);
    form.ExportSummary(Home() / "summary.csv");
    const std::string csv = document::testing::ReadBytes(Home() / "summary.csv");
    EXPECT_TRUE(
        csv.starts_with("\xEF\xBB\xBF名称,Wk(kN/m²),W(kN/m²),玻璃满足,杆件满足,满足,错误,位置,"))
        << csv.substr(0, 200);
    EXPECT_EQ(csv.find("报告文件夹"), std::string::npos);
    EXPECT_NE(csv.find("\r\nC1818,1.194,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",满足,不满足,不满足,"), std::string::npos) << csv;
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

// 工程计算书 is written behind a progress dialog that counts the parts (each twice) and keeps the
// window responsive: 取消 leaves no document, and the next attempt writes it.
TEST_F(ProjectWindow, TheProjectDocumentShowsItsProgressAndCanBeCancelled) {
    ProjectForm& form = Open();
    Add(form, GoldenDesign("0001"), "C1521");
    Add(form, GoldenDesign("0005"), "M1024");
    int maximum = -1;
    QString title;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* progress = form.findChild<QProgressDialog*>(QStringLiteral("DocumentProgress"))) {
            maximum = progress->maximum();
            title = progress->windowTitle();
            progress->cancel();
            watcher.stop();
        }
    });
    watcher.start();
    services_.messages.clear();
    form.WriteProjectDocument(Home() / "p.docx");
    EXPECT_EQ(maximum, 8);  // twice each: the cover and contents, the summary, two chapters
    EXPECT_EQ(title, QStringLiteral("工程计算书"));
    EXPECT_FALSE(fs::exists(Home() / "p.docx"));
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_TRUE(services_.messages[0].text.startsWith(QStringLiteral("工程计算书已取消")));
    form.WriteProjectDocument(Home() / "p.docx");
    EXPECT_TRUE(fs::exists(Home() / "p.docx"));
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
    EXPECT_EQ(form.model().position(1).design.wind.height, "88");
    EXPECT_EQ(Table()->item(1, 1)->text(), QStringLiteral("88"));
    form.undo_stack().undo();
    EXPECT_EQ(form.model().position(1).design.wind.height, "33");

    // Computed in the windows and saved: the row keeps that result, the one 全部计算 gives.
    Table()->selectRow(1);
    Click(Control<QPushButton>("projectForm", "PositionEdit"));
    Press("winForm", "Command1");
    services_.TakeTexts();
    main_->Model().SetField(*FindInputField("glass", "te3"), "60");
    EXPECT_TRUE(main_->SaveDesign());
    EXPECT_EQ(Table()->item(1, 9)->text(), QStringLiteral("未计算"));  // 60 m was not computed
    Press("winForm", "Command1");
    services_.TakeTexts();
    EXPECT_TRUE(main_->SaveDesign());
    const QString kept = Table()->item(1, 6)->text();
    EXPECT_FALSE(kept.isEmpty());
    EXPECT_NE(Table()->item(1, 9)->text(), QStringLiteral("未计算"));
    EXPECT_TRUE(form.ComputeAll());
    EXPECT_EQ(Table()->item(1, 6)->text(), kept);
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
    EXPECT_EQ(form.model().project().info.name, "3#楼");
    Add(form, GoldenDesign("0001"), "C1521");
    // Rows that cannot be used stay in the project with their error: a cell too many, a profile
    // the library does not have.
    std::ofstream(Home() / "s.csv") << "门窗编号,计算处标高,gj.co2,gj.co3\r\nC1818,30,,\r\n"
                                       "C1819,abc,,\r\nM1024,x,,,9\r\nM1025,20,无此系列,X9\r\n";
    services_.messages.clear();
    form.ImportSchedule(Home() / "s.csv");
    EXPECT_EQ(Names(form), (std::vector<std::string>{"C1521", "C1818", "C1819", "M1024", "M1025"}));
    ASSERT_EQ(services_.messages.size(), 1u);
    const QString& imported = services_.messages[0].text;
    EXPECT_TRUE(imported.contains(QStringLiteral("导入了 4 个计算位置。其中 2 个有错")));
    EXPECT_TRUE(imported.contains(QStringLiteral("第4行 E列: 表头只有4列")))
        << imported.toStdString();
    EXPECT_TRUE(imported.contains(QStringLiteral("无此系列 X9"))) << imported.toStdString();
    EXPECT_EQ(form.model().position(1).design.wind.height, "30");
    EXPECT_EQ(form.model().position(1).design.wind.city, "南京");
    EXPECT_EQ(form.model().position(2).error, "");
    EXPECT_TRUE(Table()->item(3, 9)->text().startsWith(QStringLiteral("出错:计划表 s.csv 第4行")));
    EXPECT_EQ(Table()->item(4, 0)->background().color(), QColor(0xFF, 0xC7, 0xCE));
    EXPECT_EQ(Control<QLabel>("projectForm", "ProjectStatus")->text(),
              QStringLiteral("5 个计算位置: 0 个满足, 0 个不满足, 2 个出错, 3 个未计算"));
    services_.file_to_save = QString::fromStdString((Home() / "building").string());
    Click(Control<QPushButton>("projectForm", "ProjectSave"));
    ASSERT_TRUE(fs::exists(Home() / "building.qproj"));
    EXPECT_FALSE(form.windowTitle().endsWith(QStringLiteral("*")));
    const Project saved = form.model().project();
    Click(Control<QPushButton>("projectForm", "ProjectNew"));
    EXPECT_EQ(form.model().size(), 0u);
    EXPECT_TRUE(form.OpenProjectFile(Home() / "building.qproj"));
    EXPECT_EQ(form.model().project(), saved);
    EXPECT_NE(form.model().position(4).error.find("型材库中没有型材"), std::string::npos);

    // Computed, a kept row is an error of its own; edited and saved, it is a position again.
    EXPECT_TRUE(form.ComputeAll());
    EXPECT_TRUE(
        Table()->item(4, 9)->text().startsWith(QStringLiteral("出错:第5个位置 计划表 s.csv 第5行")))
        << Table()->item(4, 9)->text().toStdString();
    Table()->selectRow(4);
    Click(Control<QPushButton>("projectForm", "PositionEdit"));
    EXPECT_TRUE(main_->SaveDesign());
    EXPECT_EQ(form.model().position(4).error, "");
    EXPECT_EQ(Table()->item(4, 9)->text(), QStringLiteral("未计算"));
}

// Ctrl+S, Ctrl+Z and Ctrl+Y act on the project while its window is the active one.
TEST_F(ProjectWindow, SaveUndoAndRedoKeysActOnTheProject) {
    ProjectForm& form = Open();
    Add(form, GoldenDesign("0001"), "C1521");
    Add(form, GoldenDesign("0005"), "M1024");
    auto action = [&](const char* name) {
        QAction* found = main_->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    };
    EXPECT_EQ(action("actionSave")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(action("actionUndo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_TRUE(action("actionRedo")->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Y"))));
    action("actionUndo")->trigger();
    EXPECT_EQ(Names(form), std::vector<std::string>{"C1521"});
    action("actionRedo")->trigger();
    EXPECT_EQ(Names(form), (std::vector<std::string>{"C1521", "M1024"}));
    services_.file_to_save = QString::fromStdString((Home() / "k.qproj").string());
    services_.design_to_save = QString::fromStdString((Home() / "design.ini").string());
    action("actionSave")->trigger();
    EXPECT_TRUE(fs::exists(Home() / "k.qproj"));
    EXPECT_FALSE(fs::exists(Home() / "design.ini"));
    EXPECT_FALSE(form.model().IsModified());
}

// 工程信息 refuses what the design window refuses, naming the input, and changes nothing; the
// question about unsaved changes speaks of the 工程.
TEST_F(ProjectWindow, ProjectInfoIsCheckedAsTheDesignWindowChecksIt) {
    ProjectForm& form = Open();
    const ProjectInfo before = form.model().project().info;
    const struct {
        const char* w0;
        const char* terrain;
        const char* named;
    } refused[] = {
        {"350", "C", "地面类型: “C”"},
        {"0.35", "B类", "基本风压(Pa): “0.35”"},
        {"abc", "B类", "基本风压(Pa): “abc”"},
    };
    for (const auto& c : refused) {
        services_.project_info =
            ProjectInfo{"3#楼", "江苏省", "南京", c.w0, c.terrain, "2012", "", "", "", ""};
        Click(Control<QPushButton>("projectForm", "ProjectInfo"));
        const Texts texts = services_.TakeTexts();
        ASSERT_EQ(texts.size(), 1u) << c.named;
        EXPECT_TRUE(texts[0].contains(QString::fromUtf8(c.named))) << texts[0].toStdString();
        EXPECT_EQ(form.model().project().info, before);
    }
    services_.project_info =
        ProjectInfo{"3#楼", "江苏省", "南京", "350", "C类", "2012", "", "", "", ""};
    Click(Control<QPushButton>("projectForm", "ProjectInfo"));
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    EXPECT_EQ(form.model().project().info.terrain, "C类");
    services_.save_choice = SaveChoice::Cancel;
    Form("projectForm")->parentWidget()->close();
    EXPECT_EQ(services_.asked_kinds, Texts{QStringLiteral("工程")});
    EXPECT_EQ(services_.asked_to_save, Texts{QStringLiteral("3#楼")});
}

// Save dialogs propose the documents folder, then the folder last used for the kind of file, the
// open project's folder for what belongs to it, and never the program's own folders.
TEST_F(ProjectWindow, SaveDialogsProposeTheEngineersFolders) {
    ProjectForm& form = Open();
    Add(form, GoldenDesign("0001"), "C1521");
    services_.file_to_save = QString();
    services_.proposals.clear();
    form.SaveProjectAs();
    EXPECT_EQ(services_.proposals.back(),
              QString::fromStdString((Documents() / "未命名工程.qproj").string()));
    const fs::path building = Documents() / "3号楼";
    fs::create_directories(building);
    services_.file_to_save = QString::fromStdString((building / "p.qproj").string());
    ASSERT_TRUE(form.SaveProjectAs());
    Click(Control<QPushButton>("projectForm", "SummaryExport"));
    EXPECT_TRUE(
        services_.proposals.back().startsWith(QString::fromStdString((building / "").string())))
        << services_.proposals.back().toStdString();
    services_.file_to_save = QString();
    Click(Control<QPushButton>("projectForm", "ProjectNew"));
    form.SaveProjectAs();
    EXPECT_EQ(services_.proposals.back(),
              QString::fromStdString((building / "未命名工程.qproj").string()));
    // A folder of the program is never proposed, even when it was used last.
    services_.file_to_save = QString::fromStdString((Temp() / "q.qproj").string());
    form.SaveProjectAs();
    services_.file_to_save = QString();
    Click(Control<QPushButton>("projectForm", "ProjectNew"));
    form.SaveProjectAs();
    EXPECT_EQ(services_.proposals.back(),
              QString::fromStdString((Documents() / "未命名工程.qproj").string()));
}

// Two programs that save the same project: the later one asks before it overwrites.
TEST_F(ProjectWindow, AProjectChangedOnDiskIsNotOverwrittenWithoutAsking) {
    ProjectForm& form = Open();
    Add(form, GoldenDesign("0001"), "C1521");
    const fs::path file = Home() / "p.qproj";
    services_.file_to_save = QString::fromStdString(file.string());
    ASSERT_TRUE(form.SaveProject());
    Add(form, GoldenDesign("0005"), "M1024");
    EXPECT_TRUE(form.SaveProject());
    EXPECT_TRUE(services_.questions.empty());  // our own save is no change by someone else
    const std::string theirs = document::testing::ReadBytes(file) + "\n; 另一个程序的修改\n";
    std::ofstream(file, std::ios::binary) << theirs;
    Add(form, GoldenDesign("0001"), "C1818");
    services_.answer = false;
    EXPECT_FALSE(form.SaveProject());
    ASSERT_EQ(services_.questions.size(), 1u);
    EXPECT_TRUE(services_.questions[0].contains(QString::fromStdString(file.string())));
    EXPECT_EQ(document::testing::ReadBytes(file), theirs);
    services_.answer = true;
    EXPECT_TRUE(form.SaveProject());
    EXPECT_EQ(ReadProjectFile(file).project.positions.size(), 3u);
}

// The summary table of the project document keeps a position's place on one line, also the
// 1000th's: "第1000个位置" is 5 characters and 4 digits of 10.5 pt, 74 pt with its padding.
TEST(ProjectDocumentPdf, ThePlaceColumnHoldsAThousandPositions) {
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    ProjectChapters chapters;
    for (const auto& [name, place] :
         {std::pair("C1", "第199个位置"), std::pair("C2", "第1000个位置")}) {
        const PositionLabel label{name, "", place};
        chapters.Add(nullptr, OutcomeOfError(label, "出错"));
    }
    ProjectInfo info;
    info.name = "某楼";
    const fs::path folder = fs::temp_directory_path() / "quoinry-place-column";
    fs::create_directories(folder);
    const ProjectDocumentParts parts(info, chapters, folder, "2026-12-07");
    pdf::WritePdf(parts, folder / "p.pdf");
    const std::string text = pdf::testing::PdfText(folder / "p.pdf");
    fs::remove_all(folder);
    EXPECT_NE(text.find("第199个位置"), std::string::npos) << text;
    EXPECT_NE(text.find("第1000个位置"), std::string::npos) << text;
}

}  // namespace
}  // namespace quoinry::shell::testing
