#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "shell/form_host.h"

namespace quoinry::shell {

inline const QString kMessageTitle = QStringLiteral("系统提示");

inline QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
inline std::string S(const QString& text) {
    return text.toStdString();
}

// A text box that selects its whole text when clicked, so that typing replaces it.
class SelectAllLineEdit : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

QLineEdit* NewLineEdit(QWidget* parent, const char* name, bool select_all_on_click = false);
// An editable drop-down list: the user may pick an item or type any text.
QComboBox* NewComboBox(QWidget* parent, const char* name);
QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption);
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption);

// A result box's text (CR LF separated lines) as the text edit shows it.
QString BoxText(const std::string& text);

bool FileExists(const std::filesystem::path& file);

std::string TextOf(const QComboBox* box);
std::string TextOf(const QLineEdit* box);
void SetText(QComboBox* box, const std::string& text);

// Appends items and keeps the text the list showed before.
void AppendItems(QComboBox* box, const std::vector<std::string>& items);
// Replaces the items; the text is left empty and nothing is selected.
void ReplaceItems(QComboBox* box, const std::vector<std::string>& items);

// "当前错误:" + description, exclamation icon, title "系统提示".
void ShowErrorBox(FormHost& host, QWidget* parent, const std::string& description);
void ShowInformation(FormHost& host, QWidget* parent, const QString& text);
void ShowExclamation(FormHost& host, QWidget* parent, const QString& text);

// Warnings or problems one to a line, the first `limit` of them and then how many more, so that
// a message box stays within the screen however many there are.
QString ListedTexts(const std::vector<std::string>& texts, std::size_t limit = 15);

// Before `file` is written over: when someone else wrote it since it was opened here
// (`changed_on_disk`), asks whether to overwrite it; true to go on.
bool MayOverwrite(FormHost& host, QWidget* parent, const std::filesystem::path& file,
                  bool changed_on_disk);

// The description of the exception being handled: a failure of the database, a calculation, a
// drawing, the document or the library.
std::string DescribeCurrentException();

// Runs `step`; a failure is shown in the error box. True when it succeeded.
bool Reported(FormHost& host, QWidget* parent, const std::function<void()>& step);

// For handlers that skip a failing statement and report the last error once at their end.
class LastError {
  public:
    void Try(const std::function<void()>& step);
    bool Failed() const { return !description_.empty(); }
    void ReportTo(FormHost& host, QWidget* parent) const;

  private:
    std::string description_;
};

}  // namespace quoinry::shell
