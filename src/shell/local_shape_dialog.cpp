#include "shell/local_shape_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/calc_error.h"
#include "common/numbers.h"
#include "common/text.h"
#include "shell/form_helpers.h"
#include "wind/local_shape.h"

namespace quoinry::shell {
namespace {

std::optional<double> ParseNumber(const std::string& text) {
    try {
        return ParseStrict(text);
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

void AddZones(QComboBox* box) {
    for (const WallZone& zone : WallZones())
        box->addItem(Q(Cat(zone.text, "  μse=", zone.mu > 0.0 ? "+" : "", FormatFixed(zone.mu, 1))),
                     Q(std::string(zone.text)));
}

const WallZone& ZoneOf(const QComboBox* box) {
    return WallZones()[static_cast<std::size_t>(std::max(0, box->currentIndex()))];
}

}  // namespace

LocalShapeDialog::LocalShapeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("localShapeDialog"));
    setWindowTitle(QStringLiteral("局部体型系数"));
    zone_ = new QComboBox(this);
    zone_->setObjectName(QStringLiteral("ZoneBox"));
    AddZones(zone_);
    auto* closed = new QRadioButton(QStringLiteral("封闭式建筑,内压系数取±0.2"), this);
    closed->setObjectName(QStringLiteral("ClosedOption"));
    auto* opening = new QRadioButton(QStringLiteral("仅一面墙有主导洞口"), this);
    opening->setObjectName(QStringLiteral("OpeningOption"));
    closed->setChecked(true);
    internal_case_ = new QButtonGroup(this);
    internal_case_->addButton(closed, 0);
    internal_case_->addButton(opening, 1);
    opening_ratio_ = NewLineEdit(this, "OpeningRatioBox");
    opening_zone_ = new QComboBox(this);
    opening_zone_->setObjectName(QStringLiteral("OpeningZoneBox"));
    AddZones(opening_zone_);
    preview_ = NewLabel(this, "PreviewLabel", QString());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("门窗所在墙面分区(GB50009-2012表8.3.3)")), 0, 0, 1,
                    2);
    grid->addWidget(zone_, 1, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("内压(GB50009-2012 8.3.5)")), 2, 0, 1, 2);
    grid->addWidget(closed, 3, 0, 1, 2);
    grid->addWidget(opening, 4, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("    开洞率(洞口面积/该墙面面积)")), 5, 0);
    grid->addWidget(opening_ratio_, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("    洞口所在墙面")), 6, 0);
    grid->addWidget(opening_zone_, 6, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(preview_);
    layout->addWidget(buttons);

    connect(zone_, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
    connect(opening_zone_, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
    connect(internal_case_, &QButtonGroup::idClicked, this, [this] { UpdatePreview(); });
    connect(opening_ratio_, &QLineEdit::textChanged, this, [this] { UpdatePreview(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { Accept(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdatePreview();
}

std::optional<LocalShapeChoice> LocalShapeDialog::Choice(std::string& refusal) const {
    const WallZone& zone = ZoneOf(zone_);
    double internal = kClosedBuildingInternal;
    std::string opening_zone;
    std::string opening_ratio;
    if (internal_case_->checkedId() == 1) {
        const std::string ratio_text = TextOf(opening_ratio_);
        const std::optional<double> ratio = ParseNumber(ratio_text);
        const std::optional<double> found =
            ratio ? DominantOpeningInternal(*ratio, ZoneOf(opening_zone_).mu) : std::nullopt;
        if (!found) {
            refusal = Cat("开洞率: “", ratio_text,
                          "” 应是0.02到1之间的数(洞口面积除以所在墙面面积);开洞率小于0.02时"
                          "按封闭式建筑取±0.2");
            return std::nullopt;
        }
        internal = *found;
        opening_zone = ZoneOf(opening_zone_).text;
        opening_ratio = GeneralText(*ratio);
    }
    return LocalShapeChoice{GeneralText(zone.mu), std::string(zone.text), GeneralText(internal),
                            opening_zone, opening_ratio};
}

void LocalShapeDialog::UpdatePreview() {
    opening_ratio_->setEnabled(internal_case_->checkedId() == 1);
    opening_zone_->setEnabled(internal_case_->checkedId() == 1);
    std::string refusal;
    const auto choice = Choice(refusal);
    if (!choice) {
        preview_->setText(QStringLiteral("请填写开洞率"));
        return;
    }
    const double external = ParseNumber(choice->external).value_or(0.0);
    const double internal = ParseNumber(choice->internal).value_or(0.0);
    preview_->setText(Q(Cat("μse=", choice->external, "  μsi=", choice->internal,
                            "  μsl=", GeneralText(LocalShapeWithInternal(external, internal)))));
}

void LocalShapeDialog::Accept() {
    std::string refusal;
    if (!Choice(refusal)) {
        QMessageBox::warning(this, kMessageTitle, Q(refusal));
        opening_ratio_->setFocus();
        return;
    }
    accept();
}

std::optional<LocalShapeChoice> AskLocalShape(QWidget* parent) {
    LocalShapeDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::string refusal;
    return dialog.Choice(refusal);
}

}  // namespace quoinry::shell
