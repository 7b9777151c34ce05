#include "shell/xc_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <string>

#include "common/calc_error.h"
#include "common/numbers.h"
#include "db/database_error.h"
#include "db/location.h"
#include "db/profile_columns.h"
#include "shell/form_helpers.h"
#include "shell/picture_box.h"
#include "shell/section_step.h"
#include "shell/unit_label.h"

namespace quoinry::shell {
namespace {

struct ValueBox {
    int position;  // in the profile record
    int number;    // TextBoxN
    const char* caption;
    const char* tooltip;
    const char* unit;
};

// In the order of the record's positions 2 .. 16.
constexpr ValueBox kValueBoxes[] = {
    {2, 1, "强度设计值", "强度设计值,单位:N/mm^2", "N/mm^2"},
    {3, 2, "剪力设计值", "剪力设计值,单位:N/mm^2", "N/mm^2"},
    {4, 4, "校核处壁厚", "校核处壁厚,单位:mm", "mm"},
    {5, 3, "型材截面积", "截面积,单位:cm^2", "cm^2"},
    {6, 15, "弹性模量", "弹性模量,单位:N/mm^2", "N/mm^2"},
    {7, 5, "X轴惯性矩", "X轴惯性矩,单位:cm^4", "cm^4"},
    {8, 6, "Y轴惯性矩", "Y轴惯性矩,单位:cm^4", "cm^4"},
    {9, 7, "X轴抵抗矩一", "X轴抗抵矩,单位:cm^3", "cm^3"},
    {10, 8, "X轴抵抗矩二", "X轴抗抵矩,单位:cm^3", "cm^3"},
    {11, 9, "Y轴抵抗矩一", "Y轴抗抵矩,单位:cm^3", "cm^3"},
    {12, 10, "Y轴抵抗矩二", "Y轴抗抵矩,单位:cm^3", "cm^3"},
    {13, 11, "X轴面积矩一", "X轴面积矩,单位:cm^3", "cm^3"},
    {14, 12, "X轴面积矩二", "X轴面积矩,单位:cm^3", "cm^3"},
    {15, 13, "Y轴面积矩一", "Y轴面积矩,单位:cm^3", "cm^3"},
    {16, 14, "Y轴面积矩二", "Y轴面积矩,单位:cm^3", "cm^3"},
};

// Where the boxes sit: material and inertia on the left, moduli and first moments on the right.
constexpr int kLeftColumn[] = {1, 2, 15, 4, 3, 5, 6};
constexpr int kRightColumn[] = {7, 8, 9, 10, 11, 12, 13, 14};

const ValueBox& ValueOf(int number) {
    for (const ValueBox& value : kValueBoxes) {
        if (value.number == number)
            return value;
    }
    return kValueBoxes[0];
}

const QString kIncomplete = QStringLiteral("内容填写不完整!请填写完整后再试!");
const QString kDuplicate = QStringLiteral("已存在相同编号的型材,请改名后重试!");
const QString kNothingToChange = QStringLiteral(
    "没有选中要修改的型材!请先选择型材;测得的截面请填写型材系列和型材编号后按“添 加”保存。");

int IndexOf(const std::vector<std::string>& items, const std::string& item) {
    const auto found = std::ranges::find(items, item);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

}  // namespace

XcForm::XcForm(FormHost& host, QWidget* parent) : ChildForm(parent), host_(host) {
    setObjectName(QStringLiteral("xcForm"));
    setWindowTitle(QStringLiteral("型材管理"));
    BuildControls();
    connect(series_, &QComboBox::activated, this, [this] { SeriesPicked(); });
    connect(number_, &QComboBox::activated, this, [this] { ShowProfile(); });
    connect(section_, &QPushButton::clicked, this, [this] { SectionFromDrawing(); });
    connect(add_, &QPushButton::clicked, this, [this] { AddProfile(); });
    connect(change_, &QPushButton::clicked, this, [this] { ChangeProfile(); });
    connect(delete_, &QPushButton::clicked, this, [this] { DeleteProfile(); });
    connect(close_, &QPushButton::clicked, this, [this] { CloseForm(); });
}

void XcForm::BuildControls() {
    auto* profile_frame = new QGroupBox(QStringLiteral("型材属性"), this);
    profile_frame->setObjectName(QStringLiteral("Frame1"));
    auto* profile_grid = new QGridLayout(profile_frame);
    series_ = NewComboBox(profile_frame, "ComboBox1");
    number_ = NewComboBox(profile_frame, "ComboBox2");
    profile_grid->addWidget(new QLabel(QStringLiteral("型材系列")), 0, 0);
    profile_grid->addWidget(series_, 0, 1);
    profile_grid->addWidget(new QLabel(QStringLiteral("型材编号")), 1, 0);
    profile_grid->addWidget(number_, 1, 1);
    picture_ = NewPictureBox(profile_frame, "Image1", kSectionPictureWidth, kSectionPictureHeight);
    profile_grid->addWidget(picture_, 2, 0, 1, 2, Qt::AlignCenter);
    profile_grid->setRowStretch(3, 1);

    auto* values_frame = new QGroupBox(QStringLiteral("截面特性"), this);
    values_frame->setObjectName(QStringLiteral("Frame2"));
    auto* values_grid = new QGridLayout(values_frame);
    auto place = [&](int number, int row, int column) {
        const std::string name = "TextBox" + std::to_string(number);
        QLineEdit* box = NewLineEdit(values_frame, name.c_str());
        boxes_[static_cast<std::size_t>(number)] = box;
        values_grid->addWidget(new QLabel(QString::fromUtf8(ValueOf(number).caption)), row, column);
        values_grid->addWidget(WithUnit(box, ValueOf(number).unit), row, column + 1);
    };
    int row = 0;
    for (int number : kLeftColumn) place(number, row++, 0);
    const int left_rows = row;
    row = 0;
    for (int number : kRightColumn) place(number, row++, 2);
    // A maximized window keeps the rows at their natural height; the space goes below them.
    values_grid->setRowStretch(std::max(left_rows, row), 1);

    section_ = NewButton(this, "Button1", QStringLiteral("型材计算"));
    add_ = NewButton(this, "Button2", QStringLiteral("添 加"));
    change_ = NewButton(this, "Button3", QStringLiteral("修 改"));
    delete_ = NewButton(this, "Button4", QStringLiteral("删 除"));
    close_ = NewButton(this, "Button5", QStringLiteral("关 闭"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {section_, add_, change_, delete_, close_}) {
        button->setMinimumWidth(90);
        buttons->addWidget(button);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(profile_frame);
    top->addWidget(values_frame, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

QLineEdit* XcForm::BoxOfPosition(int position) const {
    return Box(kValueBoxes[position - db::kFirstNumberPosition].number);
}

void XcForm::Load() {
    host_.CenterInMainWindow(this);
    for (const ValueBox& value : kValueBoxes) Box(value.number)->clear();
    SetText(series_, "");
    SetText(number_, "");
    std::vector<std::string> series;
    Reported(host_, this, [&] {
        connection_.Open(db::ConfiguredLocation());
        series = db::ListSeries(connection_);
    });
    AppendItems(series_, series);
    if (!series.empty()) {
        series_->setCurrentIndex(0);
        SeriesPicked();
    } else {
        change_->setEnabled(false);
        delete_->setEnabled(false);
    }
    for (const ValueBox& value : kValueBoxes)
        Box(value.number)->setToolTip(QString::fromUtf8(value.tooltip));
    add_->setEnabled(false);
}

void XcForm::SeriesPicked() {
    number_->clear();
    std::vector<std::string> numbers;
    if (!Reported(host_, this, [&] { numbers = db::ListNumbers(connection_, TextOf(series_)); }))
        return;
    AppendItems(number_, numbers);
    if (!numbers.empty()) {
        number_->setCurrentIndex(0);
        ShowProfile();
    }
}

void XcForm::ShowProfile() {
    LastError error;
    db::ResultSet record;
    error.Try([&] { record = db::OpenProfile(connection_, TextOf(series_), TextOf(number_)); });
    for (int position = db::kFirstNumberPosition; position < db::kPicturePosition; ++position) {
        error.Try([&] {
            if (const auto text = record.Column(position).Text())
                BoxOfPosition(position)->setText(Q(*text));
        });
    }
    error.Try([&] {
        db::Field column = record.Column(db::kPicturePosition);
        const std::int64_t size = column.ActualSize();
        const db::Bytes bytes = size > 0 ? column.GetChunk(size) : db::Bytes();
        picture_bytes_.assign(bytes.begin(), bytes.end());
        LoadMetafileBytes(picture_, picture_bytes_);
    });
    shown_series_ = TextOf(series_);
    shown_number_ = TextOf(number_);
    error.ReportTo(host_, this);
}

db::ProfileTexts XcForm::Texts() const {
    db::ProfileTexts texts{TextOf(series_), TextOf(number_), {}};
    for (int position = db::kFirstNumberPosition; position < db::kPicturePosition; ++position)
        texts.values[static_cast<std::size_t>(position - db::kFirstNumberPosition)] =
            AsciiNumberText(TextOf(BoxOfPosition(position)));
    return texts;
}

bool XcForm::NumbersRefused() {
    for (const ValueBox& value : kValueBoxes) {
        const std::string text = AsciiNumberText(TextOf(Box(value.number)));
        try {
            if (!text.empty())
                ParseStrict(text);
        } catch (const CalcError&) {
            // The box first: a bare "类型不匹配" says nothing to fix.
            ShowErrorBox(
                host_, this,
                std::string(value.caption) + "(" + value.unit + "): “" + text + "” 应为数");
            Box(value.number)->setFocus();
            Box(value.number)->selectAll();
            return true;
        }
    }
    return false;
}

void XcForm::ClearProfile() {
    for (const ValueBox& value : kValueBoxes) Box(value.number)->clear();
    picture_->clear();
    shown_series_.clear();
    shown_number_.clear();
}

void XcForm::ShowLibrary(const std::string& series, const std::string& number) {
    ClearProfile();
    SetText(series_, "");
    number_->clear();
    std::vector<std::string> all_series;
    std::vector<std::string> numbers;
    const bool listed = Reported(host_, this, [&] {
        all_series = db::ListSeries(connection_);
        numbers = db::ListNumbers(connection_, series);
    });
    ReplaceItems(series_, all_series);
    change_->setEnabled(!all_series.empty());
    delete_->setEnabled(!all_series.empty());
    const int series_index = IndexOf(all_series, series);
    if (!listed || series_index < 0 || numbers.empty())
        return;
    series_->setCurrentIndex(series_index);
    AppendItems(number_, numbers);
    number_->setCurrentIndex(std::max(0, IndexOf(numbers, number)));
    ShowProfile();
}

void XcForm::AddProfile() {
    if (NumbersRefused())
        return;
    const db::ProfileTexts texts = Texts();
    bool complete = !texts.series.empty() && !texts.number.empty();
    for (const std::string& value : texts.values) complete = complete && !value.empty();
    if (!complete) {
        ShowExclamation(host_, this, kIncomplete);
        return;
    }
    bool added = false;
    Reported(host_, this, [&] {
        if (!db::OpenProfile(connection_, texts.series, texts.number).AtEnd() ||
            db::AddProfile(connection_, texts,
                           db::Bytes(picture_bytes_.begin(), picture_bytes_.end())) ==
                db::WriteOutcome::kDuplicate) {
            ShowExclamation(host_, this, kDuplicate);
            return;
        }
        added = true;
    });
    if (!added)
        return;
    ShowInformation(host_, this, QStringLiteral("记录添加成功!"));
    ShowLibrary(texts.series, texts.number);
}

void XcForm::ChangeProfile() {
    // After 型材计算 nothing is shown: a measured section must not overwrite another profile.
    if (shown_series_.empty() && shown_number_.empty()) {
        ShowExclamation(host_, this, kNothingToChange);
        return;
    }
    if (NumbersRefused())
        return;
    const db::ProfileTexts texts = Texts();
    bool changed = false;
    Reported(host_, this, [&] {
        if (db::ChangeProfile(connection_, shown_series_, shown_number_, texts) ==
            db::WriteOutcome::kDuplicate) {
            ShowExclamation(host_, this, kDuplicate);
            return;
        }
        changed = true;
    });
    if (changed)
        ShowLibrary(texts.series, texts.number);
}

void XcForm::DeleteProfile() {
    const std::string series = TextOf(series_);
    const std::string number = TextOf(number_);
    const QString question = Q("确定删除型材 " + series + "\\" + number + " 吗?");
    if (!host_.Services().Ask(this, kMessageTitle, question))
        return;
    if (!Reported(host_, this, [&] {
            if (!db::DeleteProfile(connection_, series, number))
                throw db::DatabaseError(db::kNoCurrentRecordError, "没有当前记录");
        }))
        return;
    ShowInformation(host_, this, QStringLiteral("记录删除成功!"));
    ShowLibrary(series, "");
}

void XcForm::SectionFromDrawing() {
    SectionTargets targets;
    targets.area = Box(3);
    targets.ix = Box(5);
    targets.iy = Box(6);
    targets.wx1 = Box(7);
    targets.wx2 = Box(8);
    targets.wy1 = Box(9);
    targets.wy2 = Box(10);
    targets.sx1 = Box(11);
    targets.sx2 = Box(12);
    targets.sy1 = Box(13);
    targets.sy2 = Box(14);
    targets.picture = picture_;
    targets.strength = Box(1);
    targets.shear = Box(2);
    targets.modulus = Box(15);
    targets.wall = Box(4);
    targets.next_step = add_;
    std::optional<MeasuredSection> measured = RunSectionStep(host_, this, targets);
    if (!measured)
        return;
    picture_bytes_ = std::move(measured->picture);
    // A measured section is stored only under a name the user types.
    SetText(series_, "");
    SetText(number_, "");
    shown_series_.clear();
    shown_number_.clear();
}

void XcForm::CloseForm() {
    connection_.Close();
    Unload();
}

}  // namespace quoinry::shell
