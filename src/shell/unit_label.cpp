#include "shell/unit_label.h"

#include <QHBoxLayout>
#include <QLabel>

#include "design/input_fields.h"

namespace quoinry::shell {
namespace {

const InputField* FieldOfBox(std::string_view section, const QString& box) {
    for (const InputField& field : InputFields()) {
        if (field.section == section && QLatin1String(field.box.data(), field.box.size()) == box)
            return &field;
    }
    return nullptr;
}

}  // namespace

QString UnitText(std::string_view unit) {
    QString text = QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size()));
    text.replace(QStringLiteral("^2"), QStringLiteral("²"));
    text.replace(QStringLiteral("^3"), QStringLiteral("³"));
    text.replace(QStringLiteral("^4"), QStringLiteral("⁴"));
    return text;
}

QWidget* WithUnit(QWidget* box, std::string_view unit) {
    if (unit.empty())
        return box;
    auto* cell = new QWidget(box->parentWidget());
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(box, 1);
    auto* label = new QLabel(UnitText(unit), cell);
    label->setObjectName(box->objectName() + QStringLiteral("Unit"));
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(UnitText("N/mm^2")));
    layout->addWidget(label);
    return cell;
}

QWidget* WithFieldUnit(QWidget* box, std::string_view section) {
    const InputField* field = FieldOfBox(section, box->objectName());
    return WithUnit(box, field != nullptr ? field->unit : std::string_view());
}

QString FieldLabel(std::string_view section, std::string_view key, bool horizontal_member) {
    const InputField* field = FindInputField(section, key);
    if (field == nullptr)
        return {};
    const std::string_view label = horizontal_member && !field->horizontal_label.empty()
                                       ? field->horizontal_label
                                       : field->label;
    return QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
}

std::vector<std::string> FieldChoices(std::string_view section, std::string_view key) {
    std::vector<std::string> items;
    if (const InputField* field = FindInputField(section, key)) {
        for (std::string_view choice : field->choices) items.emplace_back(choice);
    }
    return items;
}

}  // namespace quoinry::shell
