#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "profile/regions.h"
#include "shell/main_form.h"
#include "shell/shell_services.h"

// Failures show the texts rather than their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace quoinry::shell::testing {

namespace fs = std::filesystem;
using Texts = std::vector<QString>;

// The sample profiles and their drawings.
inline const fs::path kProfiles = fs::path(QUOINRY_SOURCE_DIR) / "data" / "profiles";

struct ShownMessage {
    QString title;
    QString text;
    MessageIcon icon;
};

// Records what the windows ask of the desktop and answers as the test sets it.
class RecordingServices : public ShellServices {
  public:
    void Message(QWidget*, const QString& title, const QString& text, MessageIcon icon) override {
        messages.push_back({title, text, icon});
    }
    bool Ask(QWidget*, const QString&, const QString& text) override {
        questions.push_back(text);
        return answer;
    }
    QString DrawingFile(QWidget*) override { return drawing_file; }
    std::optional<std::size_t> PickRegion(QWidget*, const profile::Drawing&,
                                          const std::vector<profile::Region>& regions) override {
        offered_regions = regions.size();
        return picked_region;
    }
    bool OpenFile(const std::filesystem::path& file) override {
        opened_files.push_back(file);
        const QCursor* cursor = QGuiApplication::overrideCursor();
        busy_when_opening.push_back(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
        return open_succeeds;
    }
    bool StartProgram(const QString& program) override {
        started_programs.push_back(program);
        return true;
    }
    void Quit() override { ++quit_calls; }
    QString DesignFileToOpen(QWidget*) override { return design_to_open; }
    QString DesignFileToSave(QWidget*, const QString& proposal) override {
        proposals.push_back(proposal);
        return design_to_save;
    }
    QString DocumentFileToSave(QWidget*, const QString& proposal) override {
        proposals.push_back(proposal);
        return document_to_save.isNull() ? proposal : document_to_save;
    }
    QString PdfFileToSave(QWidget*, const QString& proposal) override {
        proposals.push_back(proposal);
        return pdf_to_save.isNull() ? proposal : pdf_to_save;
    }
    // The window is not shown: the test's hook works it, by default as a user who wants the
    // .docx presses 用字处理软件打开.
    void ShowDocument(QDialog& window) override {
        ++documents_shown;
        if (on_document)
            on_document(window);
        else
            PressButton(window, "OpenDocx");
    }
    bool ChoosePrinter(QWidget*, QPrinter& printer) override;
    SaveChoice AskSaveChanges(QWidget*, const QString& kind, const QString& title) override {
        asked_to_save.push_back(title);
        asked_kinds.push_back(kind);
        return save_choice;
    }
    std::optional<DesignInfo> EditDesignInfo(QWidget*, const DesignInfo&) override {
        return design_info;
    }
    QString FileToOpen(QWidget*, const QString&, const QString&) override { return file_to_open; }
    QString FileToSave(QWidget*, const QString&, const QString&, const QString& proposal) override {
        proposals.push_back(proposal);
        return file_to_save;
    }
    std::optional<ProjectInfo> EditProjectInfo(QWidget*, const ProjectInfo&) override {
        return project_info;
    }
    std::optional<std::size_t> ChooseRow(QWidget*, const QString&, const QStringList&,
                                         const std::vector<QStringList>& rows) override {
        offered_rows = rows;
        return chosen_row;
    }

    // The texts shown so far, and forgets them.
    std::vector<QString> TakeTexts();
    static void PressButton(QWidget& window, const char* name);

    std::vector<ShownMessage> messages;
    std::vector<QString> questions;
    bool answer = true;         // to every question
    bool open_succeeds = true;  // the desktop has an application for every file
    QString drawing_file;
    std::optional<std::size_t> picked_region = 0;
    std::size_t offered_regions = 0;
    std::vector<std::filesystem::path> opened_files;
    std::vector<bool> busy_when_opening;  // the wait cursor was on, for each file opened
    std::vector<QString> started_programs;
    int quit_calls = 0;
    QString design_to_open;
    QString design_to_save;
    QString document_to_save;  // null: the proposal is taken
    std::vector<QString> proposals;
    SaveChoice save_choice = SaveChoice::Cancel;
    std::vector<QString> asked_to_save;
    std::vector<QString> asked_kinds;  // 设计 or 工程, for each question
    std::optional<DesignInfo> design_info;
    QString pdf_to_save;  // null: the proposal is taken
    int documents_shown = 0;
    std::function<void(QDialog&)> on_document;
    // Printing goes to this PDF file instead of a printer; empty: the print dialog is cancelled.
    std::filesystem::path print_to;
    QString file_to_open;
    QString file_to_save;
    std::optional<ProjectInfo> project_info;
    std::vector<QStringList> offered_rows;  // the last table offered to choose from
    std::optional<std::size_t> chosen_row;  // nothing: cancelled
};

// A main window over a program directory of its own (QUOINRY_HOME), so that the database,
// info.ini and temp/ are fresh for each test.
class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path Home() const { return home_; }
    std::filesystem::path Temp() const { return home_ / "temp"; }
    // The engineer's documents folder (HOME is a folder of the test's own).
    std::filesystem::path Documents() const { return user_ / "Documents"; }
    std::string Ini(const char* section, const char* key) const;

    // A sample profile of data/profiles in the database, with its picture.
    void AddSampleProfile(const std::string& series, const std::string& number);

    void ClickToolbar(int index);
    // The child window with this objectName, or null when it is not open.
    QWidget* Form(const char* name) const;
    template <typename T>
    T* Control(const char* form, const char* name) const {
        QWidget* window = Form(form);
        EXPECT_NE(window, nullptr) << form << " is not open";
        T* control = window != nullptr ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(control, nullptr) << form << "." << name;
        return control;
    }
    int OpenForms(const char* name) const;
    QComboBox* Combo(const char* form, const char* name) const {
        return Control<QComboBox>(form, name);
    }
    QLineEdit* Box(const char* form, const char* name) const {
        return Control<QLineEdit>(form, name);
    }
    void Press(const char* form, const char* name) const {
        Click(Control<QPushButton>(form, name));
    }

    // As a user does it.
    static void Click(QWidget* widget);
    static void Type(QLineEdit* box, const QString& text);
    static void Type(QComboBox* box, const QString& text);
    static void Pick(QComboBox* box, const QString& item);

    // 结果输出 pressed: the parts of the document written and offered to the desktop.
    std::map<std::string, std::string> WriteDocument();

    // Closes the window through its frame's close box and opens it again from the toolbar.
    void Reopen(const char* form, int toolbar_index);

    RecordingServices services_;
    std::unique_ptr<MainForm> main_;

  private:
    std::filesystem::path home_;
    std::optional<std::string> saved_home_;
    std::filesystem::path user_;
};

}  // namespace quoinry::shell::testing
