#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

namespace quoinry::shell {

// A unit as a window shows it: "N/mm²", "cm⁴" for the input table's "N/mm^2", "cm^4".
QString UnitText(std::string_view unit);

// The box with its unit ("N/mm^2") after it, as one widget for a layout cell; the box itself
// for an empty unit. Unit labels are equally wide, so that the boxes of a column line up.
QWidget* WithUnit(QWidget* box, std::string_view unit);
// The same with the unit the input table gives for the box (section and the box's objectName).
QWidget* WithFieldUnit(QWidget* box, std::string_view section);

// The input table's label of a field, without its unit ("计算处标高"); the horizontal member's
// label for member geometry when `horizontal_member`.
QString FieldLabel(std::string_view section, std::string_view key, bool horizontal_member = false);
// The items the input table gives a list box.
std::vector<std::string> FieldChoices(std::string_view section, std::string_view key);

}  // namespace quoinry::shell
