#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

namespace quoinry::shell {

// A unit as a window shows it: "N/mm²", "cm⁴" for the input table's "N/mm^2", "cm^4".
QString UnitText(std::string_view unit);

// The input box with the unit the input table gives for it (section and the box's objectName)
// after it, as one widget for a layout cell; the box itself when the input has no unit. The
// unit labels of a section are equally wide, so that the boxes in a column line up.
QWidget* WithUnit(QWidget* box, std::string_view section);

}  // namespace quoinry::shell
