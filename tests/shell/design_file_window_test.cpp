// The design as a file in the windows: title, unsaved changes, opening and saving, a fresh or
// read-only program directory.
#include <QLabel>
#include <QMenu>
#include <filesystem>
#include <random>

#include <sys/stat.h>
#include <unistd.h>

#include "../document_test_support.h"
#include "common/file_bytes.h"
#include "common/program_dir.h"
#include "design/recent_designs.h"
#include "shell_test_support.h"

namespace quoinry::shell::testing {
namespace {

fs::path FreshFolder(const char* what) {
    std::random_device random;
    const fs::path folder = fs::temp_directory_path() /
                            (std::string("quoinry-") + what + "-" + std::to_string(random()));
    fs::create_directories(folder);
    return folder;
}

// A program directory with the program's read-only files and nothing else.
fs::path FreshProgramDirectory() {
    const fs::path home = FreshFolder("program");
    for (const char* folder : {"pic", "image", "help"})
        fs::copy(fs::path(QUOINRY_APP_DIR) / folder, home / folder, fs::copy_options::recursive);
    return home;
}

class DesignFileWindows : public ShellTest {
  protected:
    void TearDown() override {
        main_.reset();
        for (const fs::path& folder : cleanup_) fs::remove_all(folder);
        ShellTest::TearDown();
    }

    // The main window over another program directory.
    void StartIn(const fs::path& program) {
        main_.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setenv("QUOINRY_HOME", program.c_str(), 1);
        main_ = std::make_unique<MainForm>(services_);
        main_->show();
    }

    // A whole design: wind, glass and a member measured from tl70-frame.dxf.
    void EnterDesign() {
        ClickToolbar(1);
        Type(Box("winForm", "TextBox1"), QStringLiteral("350"));
        Type(Combo("winForm", "ComboBox2"), QStringLiteral("南京"));
        Pick(Combo("winForm", "ComboBox3"), QStringLiteral("C类"));
        Type(Box("winForm", "TextBox2"), QStringLiteral("1.5"));
        Type(Box("winForm", "TextBox3"), QStringLiteral("45"));
        Pick(Combo("winForm", "ComboBox4"), QStringLiteral("中空玻璃"));
        Type(Box("winForm", "TextBox4"), QStringLiteral("1200"));
        Type(Box("winForm", "TextBox5"), QStringLiteral("1500"));
        for (const char* kind : {"ComboBox5", "ComboBox7"})
            Pick(Combo("winForm", kind), QStringLiteral("钢化玻璃"));
        for (const char* thickness : {"ComboBox6", "ComboBox8"})
            Pick(Combo("winForm", thickness), QStringLiteral("6"));
        Press("winForm", "Command1");
        for (const QString& text : services_.TakeTexts()) ADD_FAILURE() << text.toStdString();
        Press("winForm", "Command2");
        QApplication::processEvents();
        Pick(Combo("gjForm", "ComboBox1"), QStringLiteral("横向杆件"));
        Type(Box("gjForm", "TextBox2"), QStringLiteral("1400"));
        Type(Box("gjForm", "TextBox3"), QStringLiteral("1500"));
        Type(Box("gjForm", "TextBox4"), QStringLiteral("700"));
        services_.drawing_file = QString::fromStdString((kProfiles / "tl70-frame.dxf").string());
        Press("gjForm", "Button1");
        Press("gjForm", "Button2");
        EXPECT_EQ(services_.TakeTexts(),
                  Texts{QStringLiteral("计算完毕!以下校核不满足要求:杆件强度、杆件挠度")});
    }

    // The three reports the windows wrote, and the document they write now.
    std::vector<std::string> Reports() {
        std::vector<std::string> reports;
        for (const char* name : {"wind.txt", "glass.txt", "gj.txt"})
            reports.push_back(ReadFileBytes(SessionDirectory() / name).value_or("missing"));
        return reports;
    }
    std::map<std::string, std::string> Document() {
        std::map<std::string, std::string> parts = WriteDocument();
        parts.erase("docProps/core.xml");  // the time it was made
        return parts;
    }

    std::vector<fs::path> cleanup_;
};

TEST_F(DesignFileWindows, TitleNamesTheDesignAndUnsavedChangesAreAskedFor) {
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("未命名设计 - Quoinry V2.0版"));
    ClickToolbar(1);
    Type(Box("winForm", "TextBox3"), QStringLiteral("33"));
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("未命名设计* - Quoinry V2.0版"));
    services_.design_info = DesignInfo{"C1-3", "某住宅", "张工"};
    main_->EditDesignInfo();
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("C1-3* - Quoinry V2.0版"));

    // Closing with unsaved changes asks; cancelling keeps the program open.
    services_.save_choice = SaveChoice::Cancel;
    EXPECT_FALSE(main_->close());
    ClickToolbar(5);
    EXPECT_EQ(services_.quit_calls, 0);
    EXPECT_EQ(services_.asked_to_save, (Texts{QStringLiteral("C1-3"), QStringLiteral("C1-3")}));

    // Saving from the question: the file is asked for, then written.
    const fs::path folder = FreshFolder("designs");
    cleanup_.push_back(folder);
    services_.save_choice = SaveChoice::Save;
    services_.design_to_save = QString::fromStdString((folder / "c1-3").string());
    ClickToolbar(5);
    EXPECT_EQ(services_.quit_calls, 1);
    EXPECT_EQ(ReadDesignFile(folder / "c1-3.ini").design.wind.height, "33");
    EXPECT_EQ(ReadDesignFile(folder / "c1-3.ini").design.info.project, "某住宅");
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("C1-3 - Quoinry V2.0版"));
    EXPECT_EQ(ReadRecentDesigns(SettingsFile().parent_path() / "recent-designs.txt"),
              std::vector<fs::path>{folder / "c1-3.ini"});
    QMenu* recent = main_->findChild<QMenu*>(QStringLiteral("menuRecent"));
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 1);
    EXPECT_TRUE(recent->actions()[0]->text().endsWith(QStringLiteral("c1-3.ini")));
}

TEST_F(DesignFileWindows, ABrokenFileIsNamedWithItsLineAndChangesNothing) {
    ClickToolbar(1);
    Type(Box("winForm", "TextBox3"), QStringLiteral("33"));
    const fs::path folder = FreshFolder("broken");
    cleanup_.push_back(folder);
    std::ofstream(folder / "broken.ini") << "[glass]\nte3=99\n[gj\n";
    services_.save_choice = SaveChoice::Discard;
    services_.design_to_open = QString::fromStdString((folder / "broken.ini").string());
    main_->OpenDesign();
    const Texts texts = services_.TakeTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("broken.ini"))) << texts[0].toStdString();
    EXPECT_TRUE(texts[0].contains(QStringLiteral("第3行"))) << texts[0].toStdString();
    EXPECT_EQ(Box("winForm", "TextBox3")->text(), QStringLiteral("33"));
    EXPECT_EQ(main_->Model().design().wind.height, "33");
}

// A binary file, a file of another format or a project: refused in a message of a few lines,
// and the open design stays. A legacy design with many unknown lines lists the first of them.
TEST_F(DesignFileWindows, FilesThatAreNotDesignsAreRefusedInAMessageOfNormalSize) {
    ClickToolbar(1);
    Type(Box("winForm", "TextBox3"), QStringLiteral("33"));
    const fs::path folder = FreshFolder("other");
    cleanup_.push_back(folder);
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7919 % 251);
    std::ofstream(folder / "random.ini", std::ios::binary) << binary;
    std::ofstream(folder / "table.csv") << "门窗编号,计算处标高\nC1,30\nC2,40\n";
    std::ofstream(folder / "b.qproj") << "[project]\nformat=1\n[position]\n[design]\nformat=1\n";
    const struct {
        const char* file;
        const char* says;
    } refused[] = {
        {"random.ini", "不是文本文件"},
        {"table.csv", "不是设计文件"},
        {"b.qproj", "这是工程文件"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(main_->OpenDesignFile(folder / c.file)) << c.file;
        const Texts texts = services_.TakeTexts();
        ASSERT_EQ(texts.size(), 1u) << c.file;
        EXPECT_TRUE(texts[0].contains(QString::fromUtf8(c.says))) << texts[0].toStdString();
        EXPECT_TRUE(texts[0].contains(QString::fromUtf8(c.file))) << texts[0].toStdString();
        EXPECT_LE(texts[0].count(QLatin1Char('\n')), 1) << texts[0].toStdString();
        EXPECT_EQ(main_->Model().design().wind.height, "33") << c.file;
    }
    std::string many = "[glass]\nte3=20\n";
    for (int i = 0; i < 100; ++i) many += "x" + std::to_string(i) + "=1\n";
    std::ofstream(folder / "many.ini") << many;
    services_.save_choice = SaveChoice::Discard;
    EXPECT_TRUE(main_->OpenDesignFile(folder / "many.ini"));
    const Texts texts = services_.TakeTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].count(QLatin1Char('\n')), 15) << texts[0].toStdString();
    EXPECT_TRUE(texts[0].endsWith(QStringLiteral("……另有 85 条"))) << texts[0].toStdString();
}

// Two programs that save the same design file: the later one asks before it overwrites.
TEST_F(DesignFileWindows, AFileChangedOnDiskIsNotOverwrittenWithoutAsking) {
    const fs::path folder = FreshFolder("two");
    cleanup_.push_back(folder);
    const fs::path file = folder / "c1.ini";
    SaveDesignFile(file, Design{});
    ASSERT_TRUE(main_->OpenDesignFile(file));
    main_->Model().SetField(*FindInputField("glass", "te3"), "20");
    EXPECT_TRUE(main_->SaveDesign());
    main_->Model().SetField(*FindInputField("glass", "te3"), "30");
    EXPECT_TRUE(main_->SaveDesign());
    EXPECT_TRUE(services_.questions.empty());  // our own saves are no change by someone else
    Design theirs;
    theirs.wind.height = "45.5";
    SaveDesignFile(file, theirs);
    main_->Model().SetField(*FindInputField("glass", "te3"), "40");
    services_.answer = false;
    EXPECT_FALSE(main_->SaveDesign());
    ASSERT_EQ(services_.questions.size(), 1u);
    EXPECT_TRUE(services_.questions[0].contains(QString::fromStdString(file.string())));
    EXPECT_EQ(ReadDesignFile(file).design.wind.height, "45.5");
    EXPECT_TRUE(main_->Model().IsModified());
    services_.answer = true;
    EXPECT_TRUE(main_->SaveDesign());
    EXPECT_EQ(ReadDesignFile(file).design.wind.height, "40");
}

TEST_F(DesignFileWindows, SavedDesignReopenedOnAFreshProgramDirectoryGivesTheSameOutput) {
    EnterDesign();
    services_.design_info = DesignInfo{"C1-3", "某住宅", "张工"};
    main_->EditDesignInfo();
    const fs::path folder = FreshFolder("designs");
    cleanup_.push_back(folder);
    services_.design_to_save = QString::fromStdString((folder / "c1-3.ini").string());
    ASSERT_TRUE(main_->SaveDesignAs());
    const std::vector<std::string> reports = Reports();
    const auto document = Document();
    EXPECT_EQ(services_.opened_files.back(), folder / "C1-3.docx");

    const fs::path program = FreshProgramDirectory();
    cleanup_.push_back(program);
    StartIn(program);
    services_.design_to_open = QString::fromStdString((folder / "c1-3.ini").string());
    main_->OpenDesign();
    EXPECT_EQ(services_.TakeTexts(), Texts{});
    ASSERT_NE(Form("winForm"), nullptr);
    EXPECT_FALSE(Control<QPushButton>("winForm", "Command2")->isEnabled());
    Press("winForm", "Command1");
    Press("winForm", "Command2");
    QApplication::processEvents();
    EXPECT_EQ(Control<QLabel>("gjForm", "ProfileName")->text(),
              QStringLiteral("选用型材号:自定义截面(tl70-frame.dxf)"));
    EXPECT_FALSE(Control<QPushButton>("gjForm", "Button3")->isEnabled());
    Press("gjForm", "Button2");
    EXPECT_EQ(services_.TakeTexts(),
              Texts{QStringLiteral("计算完毕!以下校核不满足要求:杆件强度、杆件挠度")});
    EXPECT_EQ(SessionDirectory().parent_path(), program / "temp");
    EXPECT_EQ(Reports(), reports);
    EXPECT_EQ(Document(), document);
}

// Switches the effective user to one who may not write into the program directory, and back.
class ReadOnlyProgramDirectory {
  public:
    ReadOnlyProgramDirectory(const fs::path& program, const fs::path& user_folders)
        : program_(program) {
        if (geteuid() == 0) {
            // root writes anywhere; "nobody" may write only into the user's own folders.
            EXPECT_EQ(chown(user_folders.c_str(), 65534, 65534), 0);
            EXPECT_EQ(seteuid(65534), 0);
            switched_ = true;
        } else {
            fs::permissions(program_, fs::perms::owner_write, fs::perm_options::remove);
        }
    }
    ~ReadOnlyProgramDirectory() {
        if (switched_)
            EXPECT_EQ(seteuid(0), 0);
        else
            fs::permissions(program_, fs::perms::owner_write, fs::perm_options::add);
    }

  private:
    fs::path program_;
    bool switched_ = false;
};

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(DesignFileWindows, WindowsWorkFromAReadOnlyProgramDirectory) {
    const fs::path program = FreshProgramDirectory();
    const fs::path user = FreshFolder("user");
    cleanup_.push_back(program);
    cleanup_.push_back(user);
    setenv("XDG_CONFIG_HOME", (user / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (user / "data").c_str(), 1);
    setenv("HOME", user.c_str(), 1);  // without a documents folder: the home folder
    const std::vector<std::string> before = Entries(program);
    {
        const ReadOnlyProgramDirectory read_only(program, user);
        StartIn(program);
        EnterDesign();
        EXPECT_EQ(services_.TakeTexts(), Texts{});
        Document();
        main_.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RemoveSessionDirectory();
    }
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(Entries(program), before);
    ASSERT_EQ(services_.opened_files.size(), 1u);
    // A document goes where the engineer keeps files, never into the program's temp/.
    EXPECT_EQ(services_.opened_files[0], user / "计算书.docx");
    EXPECT_TRUE(fs::exists(user / "data" / "quoinry" / "mdb" / "jscs.db"));
    EXPECT_EQ(ReadIniString(user / "config" / "quoinry" / "info.ini", "glass", "te3"), "45");
}

}  // namespace
}  // namespace quoinry::shell::testing
