#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <optional>
#include <string>

namespace quoinry::shell {

// What the helper fills in: the external coefficient of the zone, the zone's name and the
// internal coefficient, as the boxes hold them, and the dominant opening the internal one comes
// from (its zone and opening ratio; both empty for a closed building).
struct LocalShapeChoice {
    std::string external;
    std::string zone;
    std::string internal;
    std::string opening_zone = {};
    std::string opening_ratio = {};
};

// "局部体型系数": the wall zone of a closed rectangular building and the internal-pressure case
// (closed building, or one dominant opening with its opening ratio and the wall it is in).
class LocalShapeDialog : public QDialog {
  public:
    explicit LocalShapeDialog(QWidget* parent = nullptr);

    // The choice, or nullopt with the message that says what to fix.
    std::optional<LocalShapeChoice> Choice(std::string& refusal) const;

  private:
    void UpdatePreview();
    void Accept();

    QComboBox* zone_;
    QButtonGroup* internal_case_;
    QLineEdit* opening_ratio_;
    QComboBox* opening_zone_;
    QLabel* preview_;
};

// Opens the dialog; the choice when the engineer pressed 确定 with a sound one.
std::optional<LocalShapeChoice> AskLocalShape(QWidget* parent);

}  // namespace quoinry::shell
