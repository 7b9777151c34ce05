#include "shell/unit_label.h"

#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>

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

int WidestUnit(std::string_view section, const QFontMetrics& metrics) {
    int widest = 0;
    for (const InputField& field : InputFields()) {
        if (field.section == section)
            widest = std::max(widest, metrics.horizontalAdvance(UnitText(field.unit)));
    }
    return widest;
}

}  // namespace

QString UnitText(std::string_view unit) {
    QString text = QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size()));
    text.replace(QStringLiteral("^2"), QStringLiteral("²"));
    text.replace(QStringLiteral("^3"), QStringLiteral("³"));
    text.replace(QStringLiteral("^4"), QStringLiteral("⁴"));
    return text;
}

QWidget* WithUnit(QWidget* box, std::string_view section) {
    const InputField* field = FieldOfBox(section, box->objectName());
    if (field == nullptr || field->unit.empty())
        return box;
    auto* cell = new QWidget(box->parentWidget());
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(box, 1);
    auto* unit = new QLabel(UnitText(field->unit), cell);
    unit->setObjectName(box->objectName() + QStringLiteral("Unit"));
    unit->setMinimumWidth(WidestUnit(section, unit->fontMetrics()));
    layout->addWidget(unit);
    return cell;
}

}  // namespace quoinry::shell
