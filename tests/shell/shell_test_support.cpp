#include "shell_test_support.h"

#include <QPrinter>
#include <QPushButton>

#include <QApplication>
#include <QInputMethodEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "../document_test_support.h"
#include "common/ini_file.h"
#include "db/connection.h"
#include "db/location.h"
#include "db/profile_table.h"

namespace quoinry::shell::testing {
namespace {

db::Bytes ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return db::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t')) fields.push_back(field);
    return fields;
}

}  // namespace

std::vector<QString> RecordingServices::TakeTexts() {
    std::vector<QString> texts;
    for (const ShownMessage& message : messages) texts.push_back(message.text);
    messages.clear();
    return texts;
}

void RecordingServices::PressButton(QWidget& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isEnabled()) << name;
    button->click();
}

bool RecordingServices::ChoosePrinter(QWidget*, QPrinter& printer) {
    if (print_to.empty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(print_to.string()));
    return true;
}

void ShellTest::SetUp() {
    std::random_device random;
    home_ = fs::temp_directory_path() / ("quoinry-shell-" + std::to_string(random()));
    fs::create_directories(home_ / "temp");
    fs::create_directories(home_ / "mdb");
    const fs::path app(QUOINRY_APP_DIR);
    for (const char* folder : {"pic", "image", "help"})
        fs::copy(app / folder, home_ / folder, fs::copy_options::recursive);
    setenv("QUOINRY_HOME", home_.c_str(), 1);
    // The engineer's home with a documents folder, where dialogs propose to save; outside the
    // program directory, as an engineer's is.
    if (const char* home = std::getenv("HOME"))
        saved_home_ = home;
    user_ = fs::temp_directory_path() / ("quoinry-user-" + std::to_string(random()));
    fs::create_directories(Documents());
    setenv("HOME", user_.c_str(), 1);
    unsetenv("QUOINRY_DATABASE");
    // The settings of an engineer whose last design was of edition 2001; a first start (no
    // settings at all) is edition 2012, the test of that removes the file.
    std::ofstream(home_ / "info.ini", std::ios::binary) << "[glass]\r\nedition=2001\r\n";
    {
        // The tests start from an empty profile library and add the samples they need.
        db::Connection connection;
        connection.Open(db::ConfiguredLocation());
        connection.Execute("DELETE FROM xc");
    }
    main_ = std::make_unique<MainForm>(services_);
    main_->show();
}

void ShellTest::TearDown() {
    main_.reset();
    unsetenv("QUOINRY_HOME");
    if (saved_home_)
        setenv("HOME", saved_home_->c_str(), 1);
    std::error_code ignored;
    fs::remove_all(home_, ignored);
    fs::remove_all(user_, ignored);
}

std::string ShellTest::Ini(const char* section, const char* key) const {
    return ReadIniString(home_ / "info.ini", section, key);
}

void ShellTest::AddSampleProfile(const std::string& series, const std::string& number) {
    const fs::path folder = fs::path(QUOINRY_SOURCE_DIR) / "data" / "profiles";
    std::ifstream table(folder / "profiles.tsv");
    std::string line;
    while (std::getline(table, line)) {
        const auto fields = SplitTabs(line);
        if (fields.size() < 18 || fields[0] != series || fields[1] != number)
            continue;
        db::ProfileTexts profile{series, number, {}};
        for (std::size_t i = 0; i < 15; ++i) profile.values[i] = fields[2 + i];
        db::Connection connection;
        connection.Open(db::ConfiguredLocation());
        ASSERT_EQ(db::AddProfile(connection, profile, ReadBytes(folder / fields[17])),
                  db::WriteOutcome::kWritten);
        return;
    }
    FAIL() << "no sample profile " << series << " " << number;
}

void ShellTest::ClickToolbar(int index) {
    QToolBar* toolbar = main_->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    ASSERT_NE(toolbar, nullptr);
    QAction* action = toolbar->actions().at(index - 1);
    QWidget* button = toolbar->widgetForAction(action);
    ASSERT_NE(button, nullptr);
    Click(button);
}

QWidget* ShellTest::Form(const char* name) const {
    for (QMdiSubWindow* window : main_->findChild<QMdiArea*>()->subWindowList()) {
        if (window->widget() != nullptr && window->widget()->objectName() == QLatin1String(name))
            return window->widget();
    }
    return nullptr;
}

int ShellTest::OpenForms(const char* name) const {
    int count = 0;
    for (QMdiSubWindow* window : main_->findChild<QMdiArea*>()->subWindowList()) {
        if (window->widget() != nullptr && window->widget()->objectName() == QLatin1String(name))
            ++count;
    }
    return count;
}

void ShellTest::Click(QWidget* widget) {
    ASSERT_TRUE(widget->isEnabled()) << widget->objectName().toStdString() << " is disabled";
    QTest::mouseClick(widget, Qt::LeftButton);
}

void ShellTest::Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Backspace);
        return;
    }
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        QTest::keyClicks(box, text);
        return;
    }
    // Chinese comes through an input method: one committed string.
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

void ShellTest::Type(QComboBox* box, const QString& text) {
    Type(box->lineEdit(), text);
}

void ShellTest::Pick(QComboBox* box, const QString& item) {
    const int index = box->findText(item);
    ASSERT_GE(index, 0) << item.toStdString() << " is not in " << box->objectName().toStdString();
    // What the drop-down list does when the user clicks an item.
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void ShellTest::Reopen(const char* form, int toolbar_index) {
    QWidget* window = Form(form);
    ASSERT_NE(window, nullptr);
    window->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(Form(form), nullptr);
    ClickToolbar(toolbar_index);
}

std::map<std::string, std::string> ShellTest::WriteDocument() {
    services_.opened_files.clear();
    Press("gjForm", "Button3");
    EXPECT_EQ(services_.TakeTexts(), Texts{QStringLiteral("计算书输出完成!")});
    EXPECT_EQ(services_.opened_files.size(), 1u);
    return services_.opened_files.empty()
               ? std::map<std::string, std::string>()
               : document::testing::ReadZip(services_.opened_files.back());
}

}  // namespace quoinry::shell::testing
