#include "shell/win_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/ini_file.h"
#include "common/program_dir.h"
#include "db/database_error.h"
#include "db/location.h"
#include "db/station_lookup.h"
#include "design/input_fields.h"
#include "design/verdicts.h"
#include "edition/code_edition.h"
#include "glass/glass_category.h"
#include "shell/form_helpers.h"
#include "shell/local_shape_dialog.h"
#include "shell/result_box.h"
#include "shell/unit_label.h"

namespace quoinry::shell {
namespace {

constexpr const char* kSection = "glass";

// The caption is the input table's label of the box.
QLabel* AddField(QGridLayout* grid, int row, int column, QWidget* field) {
    QString caption;
    for (const InputField& input : InputFields()) {
        if (input.section == kSection && Q(std::string(input.box)) == field->objectName())
            caption = FieldLabel(input.section, input.key);
    }
    auto* label = new QLabel(caption);
    grid->addWidget(label, row, column * 2);
    grid->addWidget(WithFieldUnit(field, kSection), row, column * 2 + 1);
    return label;
}

}  // namespace

WinForm::WinForm(FormHost& host, QWidget* parent)
    : ChildForm(parent),
      host_(host),
      binding_(this, kSection, host.Model()),
      refused_(this, kSection) {
    setObjectName(QStringLiteral("winForm"));
    setWindowTitle(QStringLiteral("风荷载及玻璃计算"));
    BuildControls();
    binding_.Connect();
    connect(region_, &QComboBox::activated, this, [this] { RegionPicked(); });
    connect(city_, &QComboBox::activated, this, [this] { CityPicked(); });
    // Typed, not picked: the pressure box follows the site unless it holds the user's own.
    for (QComboBox* site : {region_, city_})
        connect(site->lineEdit(), &QLineEdit::textEdited, this, [this] { SiteTyped(); });
    connect(glass_category_, &QComboBox::activated, this, [this] { ApplyGlassCategoryRule(); });
    connect(edition_, &QComboBox::currentIndexChanged, this, [this] { ApplyEditionRule(); });
    connect(shape_helper_, &QPushButton::clicked, this, [this] { AskLocalShapeCoefficient(); });
    // A coefficient typed by hand is no longer the zone's: the report then says it was given.
    connect(shape_, &QLineEdit::textEdited, zone_, &QLineEdit::clear);
    // So is an internal coefficient typed by hand: no dominant opening behind it.
    connect(internal_, &QLineEdit::textEdited, this, [this] {
        opening_zone_->clear();
        opening_ratio_->clear();
    });
    connect(compute_, &QPushButton::clicked, this, [this] { Compute(); });
    connect(next_, &QPushButton::clicked, this, [this] { NextStep(); });
    connect(close_, &QPushButton::clicked, this, [this] { CloseForm(); });
}

void WinForm::BuildControls() {
    region_ = NewComboBox(this, "ComboBox1");
    city_ = NewComboBox(this, "ComboBox2");
    pressure_ = NewLineEdit(this, "TextBox1");
    terrain_ = NewComboBox(this, "ComboBox3");
    shape_ = NewLineEdit(this, "TextBox2", true);
    height_ = NewLineEdit(this, "TextBox3", true);
    edition_ = NewComboBox(this, "EditionBox");
    edition_->setEditable(false);
    internal_ = NewLineEdit(this, "InternalPressureBox", true);
    zone_ = NewLineEdit(this, "WallZoneBox");
    zone_->setReadOnly(true);
    zone_->setPlaceholderText(QStringLiteral("设计者给定"));
    shape_helper_ = NewButton(this, "LocalShapeButton", QStringLiteral("分区…"));
    // The dominant opening behind 内压系数, which the helper sets and the report names.
    opening_zone_ = NewLineEdit(this, "DominantOpeningZoneBox");
    opening_ratio_ = NewLineEdit(this, "DominantOpeningRatioBox");
    opening_zone_->hide();
    opening_ratio_->hide();
    minimum1_ = new QRadioButton(FieldLabel(kSection, "op1"), this);
    minimum1_->setObjectName(QStringLiteral("RadioButton1"));
    minimum075_ = new QRadioButton(FieldLabel(kSection, "op2"), this);
    minimum075_->setObjectName(QStringLiteral("RadioButton2"));
    no_minimum_ = new QRadioButton(QStringLiteral("不设下限"), this);
    no_minimum_->setObjectName(QStringLiteral("RadioButton3"));
    glass_category_ = NewComboBox(this, "ComboBox4");
    glass_width_ = NewLineEdit(this, "TextBox4", true);
    glass_height_ = NewLineEdit(this, "TextBox5", true);
    outer_kind_ = NewComboBox(this, "ComboBox5");
    outer_thickness_ = NewComboBox(this, "ComboBox6");
    inner_kind_ = NewComboBox(this, "ComboBox7");
    inner_thickness_ = NewComboBox(this, "ComboBox8");
    result_ = new QPlainTextEdit(this);
    result_->setObjectName(QStringLiteral("TextBox6"));
    compute_ = NewButton(this, "Command1", QStringLiteral("计  算"));
    next_ = NewButton(this, "Command2", QStringLiteral("下一步"));
    close_ = NewButton(this, "Command3", QStringLiteral("退  出"));

    auto* wind = new QGroupBox(QStringLiteral("风压参数"), this);
    wind->setObjectName(QStringLiteral("Frame1"));
    auto* wind_grid = new QGridLayout(wind);
    AddField(wind_grid, 0, 0, region_);
    AddField(wind_grid, 0, 1, city_);
    AddField(wind_grid, 0, 2, pressure_);
    AddField(wind_grid, 1, 0, terrain_);
    shape_label_ = AddField(wind_grid, 1, 1, shape_);
    AddField(wind_grid, 1, 2, height_);
    wind_grid->addWidget(new QLabel(FieldLabel(kSection, "edition")), 2, 0);
    wind_grid->addWidget(edition_, 2, 1, 1, 3);
    AddField(wind_grid, 2, 2, internal_);
    auto* zone_row = new QHBoxLayout;
    zone_row->addWidget(zone_, 1);
    zone_row->addWidget(shape_helper_);
    wind_grid->addWidget(new QLabel(FieldLabel(kSection, "wall_zone")), 3, 0);
    wind_grid->addLayout(zone_row, 3, 1);
    auto* options = new QHBoxLayout;
    for (QRadioButton* option : {minimum1_, minimum075_, no_minimum_}) options->addWidget(option);
    options->addStretch();
    wind_grid->addLayout(options, 4, 0, 1, 6);
    int row = 5;
    for (const char* description :
         {"A类:近海面,海岛,海岸,湖岸及沙漠地区",
          "B类:指田野,乡村,丛林,丘陵以及房屋比较稀疏的乡镇和城市郊区",
          "C类:指有密集建筑群的城市市区", "D类:指有密集建筑群且房屋较高的城市市区"}) {
        wind_grid->addWidget(new QLabel(QString::fromUtf8(description)), row++, 0, 1, 6);
    }

    auto* glass = new QGroupBox(QStringLiteral("玻璃选择"), this);
    glass->setObjectName(QStringLiteral("Frame2"));
    auto* glass_grid = new QGridLayout(glass);
    AddField(glass_grid, 0, 0, glass_category_);
    AddField(glass_grid, 0, 1, glass_width_);
    AddField(glass_grid, 0, 2, glass_height_);
    AddField(glass_grid, 1, 0, outer_kind_);
    AddField(glass_grid, 1, 1, outer_thickness_);
    AddField(glass_grid, 2, 0, inner_kind_);
    AddField(glass_grid, 2, 1, inner_thickness_);

    auto* results = new QGroupBox(QStringLiteral("结果显示"), this);
    results->setObjectName(QStringLiteral("Frame3"));
    auto* results_layout = new QVBoxLayout(results);
    result_->setMinimumHeight(110);
    results_layout->addWidget(result_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {compute_, next_, close_}) {
        button->setMinimumWidth(96);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wind);
    layout->addWidget(glass);
    layout->addWidget(results);
    layout->addLayout(buttons);
    SetDefaultButton(compute_);
}

void WinForm::Load() {
    const FieldBinding::Quiet quiet(binding_);
    host_.CenterInMainWindow(this);
    OpenDatabase();
    SetText(terrain_, "");
    AppendItems(terrain_, FieldChoices(kSection, "co3"));
    SetText(glass_category_, "");
    AppendItems(glass_category_, FieldChoices(kSection, "co4"));
    for (QComboBox* kind : {outer_kind_, inner_kind_}) {
        SetText(kind, "");
        AppendItems(kind, FieldChoices(kSection, "co5"));
    }
    for (QComboBox* thickness : {outer_thickness_, inner_thickness_}) {
        SetText(thickness, "");
        AppendItems(thickness, FieldChoices(kSection, "co6"));
    }
    edition_->clear();
    for (const CodeEdition* edition : CodeEditions())
        edition_->addItem(Q(std::string(edition->title)));
    result_->clear();
    // The window opens with both options clear; the design's rule selects one.
    binding_.Show();
    no_minimum_->setChecked(!minimum1_->isChecked() && !minimum075_->isChecked());
    station_pressure_ = StationPressure().value_or(std::string());
    if (!glass_category_->currentText().isEmpty())
        ApplyGlassCategoryRule();
    ApplyEditionRule();
    if (const auto& run = host_.Model().wind_glass(); run && host_.Model().WindGlassCurrent())
        ShowResult(result_, run->box, GlassVerdicts(run->glass));
    DesignChanged();
}

void WinForm::ShowDesign() {
    const FieldBinding::Quiet quiet(binding_);
    binding_.Show();
    no_minimum_->setChecked(!minimum1_->isChecked() && !minimum075_->isChecked());
    station_pressure_ = StationPressure().value_or(std::string());
    ApplyGlassCategoryRule();
    ApplyEditionRule();
}

void WinForm::DesignChanged() {
    // 下一步 hands on the design's own current results, never stale ones.
    next_->setEnabled(host_.Model().WindGlassCurrent());
}

void WinForm::OpenDatabase() {
    // A database that cannot be opened is reported; the window stays usable without its lists.
    Reported(host_, this, [&] {
        connection_.Open(db::ConfiguredLocation());
        SetText(region_, "");
        AppendItems(region_, db::ListRegions(connection_));
    });
}

void WinForm::ApplyGlassCategoryRule() {
    const bool single = ParseGlassCategory(TextOf(glass_category_)) == GlassKind::Single;
    inner_kind_->setEnabled(!single);
    inner_thickness_->setEnabled(!single);
}

// The inputs only an edition reads are offered in that edition alone, and the shape box takes
// the edition's label.
void WinForm::ApplyEditionRule() {
    // The list itself, not the design: the list tells its own change before the design has it.
    const InputField& list = *FindInputField(kSection, "edition");
    const CodeEdition& edition = EditionById(StoredChoice(list, TextOf(edition_)));
    const InputField& shape = *FindInputField(kSection, "te2");
    shape_label_->setText(Q(FieldCaption(shape, false, &edition)));
    const bool internal = UsesWindKey(edition, "internal_pressure");
    internal_->setEnabled(internal);
    zone_->setEnabled(UsesWindKey(edition, "wall_zone"));
    shape_helper_->setEnabled(UsesWindKey(edition, "wall_zone"));
}

void WinForm::AskLocalShapeCoefficient() {
    const auto choice = AskLocalShape(this);
    if (!choice)
        return;
    shape_->setText(Q(choice->external));
    internal_->setText(Q(choice->internal));
    zone_->setText(Q(choice->zone));
    opening_zone_->setText(Q(choice->opening_zone));
    opening_ratio_->setText(Q(choice->opening_ratio));
}

void WinForm::RegionPicked() {
    const DesignModel::OneStep step(host_.Model());
    Reported(host_, this, [&] {
        const auto cities = db::ListCities(connection_, TextOf(region_));
        if (cities.empty()) {
            city_->clear();
            return;
        }
        ReplaceItems(city_, cities);
        city_->setCurrentIndex(0);
        CityPicked();
    });
}

void WinForm::CityPicked() {
    const DesignModel::OneStep step(host_.Model());
    Reported(host_, this, [&] {
        if (const auto pressure =
                db::BasicWindPressure(connection_, TextOf(region_), TextOf(city_))) {
            station_pressure_ = *pressure;
            pressure_->setText(Q(*pressure));
        }
    });
}

std::optional<std::string> WinForm::StationPressure() const {
    try {
        return db::BasicWindPressure(connection_, TextOf(region_), TextOf(city_));
    } catch (const db::DatabaseError&) {
        // Already reported when the window opened; typing goes on without the table.
        return std::nullopt;
    }
}

void WinForm::SiteTyped() {
    const std::string shown = TextOf(pressure_);
    if (!shown.empty() && shown != station_pressure_)
        return;
    // A site the table does not know leaves the box empty: never another site's pressure.
    station_pressure_ = StationPressure().value_or(std::string());
    pressure_->setText(Q(station_pressure_));
}

void WinForm::StoreInputs() {
    const auto file = SettingsFile();
    for (const InputField& field : InputFields()) {
        if (field.section == kSection)
            WriteIniString(file, kSection, field.key, FieldText(host_.Model().design(), field));
    }
}

void WinForm::Compute() {
    StoreInputs();
    result_->clear();
    std::string box;
    refused_.Run(host_, [&] { host_.Model().ComputeWindGlass(SessionDirectory(), box); });
    const auto& run = host_.Model().wind_glass();
    ShowResult(result_, box, run ? GlassVerdicts(run->glass) : std::vector<Verdict>());
}

void WinForm::NextStep() {
    host_.ShowMemberForm();
    CloseForm();
}

void WinForm::CloseForm() {
    connection_.Close();
    Unload();
}

}  // namespace quoinry::shell
