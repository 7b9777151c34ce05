#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <vector>

#include "db/connection.h"
#include "member/member_check.h"
#include "shell/child_form.h"
#include "shell/field_binding.h"
#include "shell/form_host.h"
#include "shell/refused_boxes.h"

namespace quoinry::shell {

// "杆件计算": the member form, its geometry and a profile; member check, pre-selection, the CAD
// step and the calculation document.
class GjForm : public ChildForm {
  public:
    GjForm(FormHost& host, QWidget* parent = nullptr);

    void Load() override;
    void DesignChanged() override;
    void ShowDesign() override;

  private:
    void BuildControls();
    QLineEdit* Box(int number) const { return boxes_[static_cast<std::size_t>(number)]; }
    void StoreKeys(const std::vector<int>& text_boxes, bool lists);
    void ShowPicture();
    void MemberFormPicked();
    void SeriesPicked();
    void NumberPicked();
    void CheckMember();
    void Preselect();
    // A library profile with the member check it passes on this member.
    struct Candidate {
        MemberInput member;
        MemberResult result;
    };
    // The library's profiles that pass every check of this member, the smallest area first.
    std::vector<Candidate> PassingProfiles();
    // Lists them; the one the engineer chooses becomes the member's profile.
    void OfferLibraryProfiles();
    void SectionFromDrawing();
    void WriteDocument();
    void CloseForm();

    FormHost& host_;
    db::Connection connection_;

    QComboBox* member_form_;                    // ComboBox1
    QComboBox* series_;                         // ComboBox2
    QComboBox* number_;                         // ComboBox3
    std::array<QLineEdit*, 15> boxes_{};        // TextBox1 .. TextBox14 by number
    QPlainTextEdit* result_;                    // TextBox15
    std::array<QLabel*, 3> geometry_labels_{};  // Label15 .. Label17
    QLabel* sketch_;                            // Image2
    QLabel* picture_;                           // Image1
    QPushButton* section_;                      // Button1
    QPushButton* check_;                        // Button2
    QPushButton* document_;                     // Button3
    QPushButton* close_;                        // Button4
    QPushButton* preselect_;                    // Button5
    QLabel* profile_name_;                      // ProfileName: what gj.txt prints
    QLabel* material_note_;                     // MaterialNote: defaults of a measured section
    QLabel* wind_basis_;                        // WindBasis: the wind result the check uses
    QLabel* result_state_;                      // ResultState: current or stale
    FieldBinding binding_;
    RefusedBoxes refused_;
};

}  // namespace quoinry::shell
