#include "shell/form_helpers.h"

#include <QLineEdit>
#include <exception>
#include <system_error>

#include "common/calc_error.h"
#include "db/database_error.h"
#include "document/document_error.h"
#include "profile/section_error.h"

namespace quoinry::shell {

void SelectAllLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    setSelection(0, static_cast<int>(text().size()));
}

QLineEdit* NewLineEdit(QWidget* parent, const char* name, bool select_all_on_click) {
    QLineEdit* box = select_all_on_click ? new SelectAllLineEdit(parent) : new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QComboBox* NewComboBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    // A typed text is a value of its own, not a new list item.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    // As wide as its longest item ("中空玻璃", "乌鲁木齐市"), never cutting one off.
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    if (name != nullptr)
        label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QString BoxText(const std::string& text) {
    QString box = Q(text);
    box.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return box;
}

bool FileExists(const std::filesystem::path& file) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(file, ignored);
}

std::string TextOf(const QComboBox* box) {
    return S(box->currentText());
}

std::string TextOf(const QLineEdit* box) {
    return S(box->text());
}

void SetText(QComboBox* box, const std::string& text) {
    // A fixed list shows one of its items: an unknown text selects none.
    if (!box->isEditable()) {
        box->setCurrentIndex(box->findText(Q(text)));
        return;
    }
    box->setEditText(Q(text));
}

void AppendItems(QComboBox* box, const std::vector<std::string>& items) {
    const QString text = box->currentText();
    const int index = box->currentIndex();
    for (const std::string& item : items) box->addItem(Q(item));
    // Adding to an empty list selects its first item; the list's text must not change.
    if (box->currentIndex() != index)
        box->setCurrentIndex(index);
    box->setEditText(text);
}

void ReplaceItems(QComboBox* box, const std::vector<std::string>& items) {
    box->clear();
    AppendItems(box, items);
}

void ShowErrorBox(FormHost& host, QWidget* parent, const std::string& description) {
    host.Services().Message(parent, kMessageTitle, Q("当前错误:" + description),
                            MessageIcon::Exclamation);
}

void ShowInformation(FormHost& host, QWidget* parent, const QString& text) {
    host.Services().Message(parent, kMessageTitle, text, MessageIcon::Information);
}

void ShowExclamation(FormHost& host, QWidget* parent, const QString& text) {
    host.Services().Message(parent, kMessageTitle, text, MessageIcon::Exclamation);
}

QString ListedTexts(const std::vector<std::string>& texts, std::size_t limit) {
    QString out;
    for (std::size_t i = 0; i < texts.size() && i < limit; ++i)
        out += (out.isEmpty() ? QString() : QStringLiteral("\n")) + Q(texts[i]);
    if (texts.size() > limit)
        out += QStringLiteral("\n……另有 %1 条").arg(texts.size() - limit);
    return out;
}

bool MayOverwrite(FormHost& host, QWidget* parent, const std::filesystem::path& file,
                  bool changed_on_disk) {
    if (!changed_on_disk)
        return true;
    return host.Services().Ask(
        parent, kMessageTitle,
        QStringLiteral("文件 %1 在这里打开以后已被另一个程序(或另一个 Quoinry)保存过。\n"
                       "覆盖它吗?选“否”则不保存,那边的修改保持不变,可以用“另存为”另存。")
            .arg(Q(file.string())));
}

std::string DescribeCurrentException() {
    try {
        throw;
    } catch (const CalcError& e) {
        return e.description();
    } catch (const db::DatabaseError& e) {
        return e.description();
    } catch (const document::DocumentError& e) {
        return e.description();
    } catch (const profile::SectionError& e) {
        return e.what();
    } catch (const std::bad_alloc&) {
        return "内存不足";
    } catch (const std::exception& e) {
        return e.what();
    }
}

bool Reported(FormHost& host, QWidget* parent, const std::function<void()>& step) {
    LastError error;
    error.Try(step);
    error.ReportTo(host, parent);
    return !error.Failed();
}

void LastError::Try(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        description_ = DescribeCurrentException();
    }
}

void LastError::ReportTo(FormHost& host, QWidget* parent) const {
    if (Failed())
        ShowErrorBox(host, parent, description_);
}

}  // namespace quoinry::shell
