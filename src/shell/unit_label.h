#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

namespace quoinry::shell {

// A unit as a window shows it: "N/mm²", "cm⁴" for the input table's "N/mm^2", "cm^4".
QString UnitText(std::string_view unit);

// The box with its unit ("N/mm^2") after it, as one widget for a layout cell; the box itself
// for an empty unit. Unit labels are equally wide, so that the boxes of a column line up.
QWidget* WithUnit(QWidget* box, std::string_view unit);
// The same with the unit the input table gives for the box (section and the box's objectName).
QWidget* WithFieldUnit(QWidget* box, std::string_view section);

}  // namespace quoinry::shell
