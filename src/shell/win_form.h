#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <optional>
#include <string>

#include "db/connection.h"
#include "shell/child_form.h"
#include "shell/field_binding.h"
#include "shell/form_host.h"
#include "shell/refused_boxes.h"

namespace quoinry::shell {

// "风荷载及玻璃计算": site, wind and glass inputs; computes the wind load and the glass check.
class WinForm : public ChildForm {
  public:
    WinForm(FormHost& host, QWidget* parent = nullptr);

    // The load handler: centre, database, lists, the open design's inputs.
    void Load() override;
    void DesignChanged() override;
    void ShowDesign() override;

  private:
    void BuildControls();
    void OpenDatabase();
    void ApplyGlassCategoryRule();
    void ApplyEditionRule();
    void AskLocalShapeCoefficient();
    void RegionPicked();
    void CityPicked();
    void SiteTyped();
    std::optional<std::string> StationPressure() const;
    void StoreInputs();
    void Compute();
    void NextStep();
    void CloseForm();

    FormHost& host_;
    db::Connection connection_;

    QComboBox* region_;           // ComboBox1
    QComboBox* city_;             // ComboBox2
    QComboBox* terrain_;          // ComboBox3
    QComboBox* glass_category_;   // ComboBox4
    QComboBox* outer_kind_;       // ComboBox5
    QComboBox* outer_thickness_;  // ComboBox6
    QComboBox* inner_kind_;       // ComboBox7
    QComboBox* inner_thickness_;  // ComboBox8
    QLineEdit* pressure_;         // TextBox1
    QLineEdit* shape_;            // TextBox2
    QLabel* shape_label_;  // 体型系数, 局部体型系数 in editions that add the internal one
    QComboBox* edition_;   // EditionBox: the code edition
    QLineEdit* internal_;  // InternalPressureBox
    QLineEdit* zone_;      // WallZoneBox: the zone the helper took μs from, read-only
    QLineEdit* opening_zone_;    // DominantOpeningZoneBox, hidden: set by the helper
    QLineEdit* opening_ratio_;   // DominantOpeningRatioBox, hidden
    QPushButton* shape_helper_;  // LocalShapeButton
    QLineEdit* height_;          // TextBox3
    QLineEdit* glass_width_;     // TextBox4
    QLineEdit* glass_height_;    // TextBox5
    QRadioButton* minimum1_;     // RadioButton1
    QRadioButton* minimum075_;   // RadioButton2
    QRadioButton* no_minimum_;   // RadioButton3: neither bound, as the design may be again
    QPlainTextEdit* result_;     // TextBox6
    QPushButton* compute_;       // Command1
    QPushButton* next_;          // Command2
    QPushButton* close_;         // Command3
    FieldBinding binding_;
    RefusedBoxes refused_;
    // The pressure the station table gives for the site shown; a different one in the box is the
    // user's own and stays when the site's texts are typed over.
    std::string station_pressure_;
};

}  // namespace quoinry::shell
