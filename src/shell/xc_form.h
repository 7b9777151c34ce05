#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <string>

#include "db/connection.h"
#include "db/profile_table.h"
#include "shell/child_form.h"
#include "shell/form_host.h"

namespace quoinry::shell {

// "型材管理": browse the profile library by series and number; add, change and delete profiles.
class XcForm : public ChildForm {
  public:
    XcForm(FormHost& host, QWidget* parent = nullptr);

    void Load() override;

  private:
    void BuildControls();
    QLineEdit* Box(int number) const { return boxes_[static_cast<std::size_t>(number)]; }
    // The text box of a record position 2 .. 16.
    QLineEdit* BoxOfPosition(int position) const;
    db::ProfileTexts Texts() const;
    // A value box whose text is no number is refused naming the box; true when one is.
    bool NumbersRefused();
    void SeriesPicked();
    void ShowProfile();
    // Empties the boxes and forgets the shown profile.
    void ClearProfile();
    // Reloads both lists and shows `number` of `series` (its first profile when `number` is not
    // there); a series without profiles leaves the window empty.
    void ShowLibrary(const std::string& series, const std::string& number);
    void AddProfile();
    void ChangeProfile();
    void DeleteProfile();
    void SectionFromDrawing();
    void CloseForm();

    FormHost& host_;
    db::Connection connection_;
    std::string shown_series_;
    std::string shown_number_;
    // This window's section picture: the shown profile's, or the one just measured. No other
    // window sees it.
    std::string picture_bytes_;

    QComboBox* series_;                   // ComboBox1
    QComboBox* number_;                   // ComboBox2
    std::array<QLineEdit*, 16> boxes_{};  // TextBox1 .. TextBox15 by number
    QLabel* picture_;                     // Image1
    QPushButton* section_;                // Button1
    QPushButton* add_;                    // Button2
    QPushButton* change_;                 // Button3
    QPushButton* delete_;                 // Button4
    QPushButton* close_;                  // Button5
};

}  // namespace quoinry::shell
