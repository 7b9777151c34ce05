#include "shell/gj_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "batch/project_chapters.h"
#include "common/ini_file.h"
#include "common/numbers.h"
#include "common/program_dir.h"
#include "db/location.h"
#include "db/profile_columns.h"
#include "db/profile_table.h"
#include "design/library_profile.h"
#include "design/verdicts.h"
#include "document/document_placement.h"
#include "edition/code_edition.h"
#include "member/member_form.h"
#include "profile/section_values.h"
#include "shell/busy_cursor.h"
#include "shell/document_window.h"
#include "shell/folders.h"
#include "shell/form_helpers.h"
#include "shell/picture_box.h"
#include "shell/result_box.h"
#include "shell/section_step.h"
#include "shell/unit_label.h"

namespace quoinry::shell {
namespace {

constexpr const char* kSection = "gj";

struct PropertyBox {
    int number;  // TextBoxN
    const char* label_name;
    const char* tooltip;
    int position;  // column of the profile record
};

constexpr PropertyBox kPropertyBoxes[] = {
    {1, "Label3", "强度设计值,单位:N/mm^2", 2}, {5, "Label4", "剪力设计值,单位:N/mm^2", 3},
    {6, "Label5", "弹性模量,单位:N/mm^2", 6},   {7, "Label6", "校核处壁厚,单位:mm", 4},
    {8, "Label7", "X轴惯性矩,单位:cm^4", 7},    {9, "Label8", "Y轴惯性矩,单位:cm^4", 8},
    {10, "Label9", "X轴抗抵矩,单位:cm^3", 9},   {11, "Label10", "X轴抗抵矩,单位:cm^3", 10},
    {12, "Label11", "X轴面积矩,单位:cm^3", 13}, {13, "Label12", "X轴面积矩,单位:cm^3", 14},
    {14, "Label13", "截面积,单位:cm^2", 5},
};

// The input table's keys of TextBox2 .. TextBox4, which the member form relabels.
constexpr const char* kGeometryKeys[] = {"te2", "te3", "te4"};

// A name a file system takes: characters that separate or quote paths become "_".
std::string FileNameOf(const std::string& title) {
    constexpr std::string_view kUnsafe = "/\\:*?\"<>|";
    std::string name = title;
    for (char& c : name) {
        if (kUnsafe.find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    }
    return name.empty() || name == "." || name == ".." ? "计算书" : name;
}

// A measured section's material values that are still the defaults the measuring put in.
bool HasDefaultMaterial(const Design& design) {
    if (!design.member || design.member->section_drawing.empty())
        return false;
    const MemberInput& m = *design.member;
    return m.strength == profile::kDefaultStrength || m.shear_strength == profile::kDefaultShear ||
           m.modulus == profile::kDefaultModulus || m.wall == profile::kDefaultThickness;
}

// Said in the window and the document's title block while the defaults stand.
std::string DefaultMaterialNote() {
    return std::string("强度设计值、剪力设计值、弹性模量和校核处壁厚是量取截面时填入的默认值(") +
           profile::kDefaultStrength + "、" + profile::kDefaultShear + "、" +
           profile::kDefaultModulus + " N/mm²," + profile::kDefaultThickness + " mm)";
}

// The wind the member check uses, and where it comes from: the glass's Wk, or in an edition
// that reduces the member's coefficient by its area the member's own.
QString WindBasisText(const DesignModel& model) {
    const WindLoadResult& wind = model.wind_glass()->wind;
    const std::string glass =
        "Wk=" + FormatFixed(wind.wk, 3) + "kN/m^2(标高" + GeneralText(wind.z_m) + "m)";
    if (!EditionById(model.design().wind.edition).members_reduce_by_area)
        return Q("采用风荷载:" + glass);
    std::optional<std::pair<double, double>> own;  // Wk and A
    if (const auto& run = model.member_run(); run && model.MemberCurrent()) {
        own.emplace(run->result.wk, run->result.area_m2);
    } else {
        try {
            const PreselectionResult preview = model.Preselect();
            own.emplace(preview.wk, preview.area_m2);
        } catch (...) {  // the member's sizes are not complete yet
        }
    }
    if (!own) {
        return Q("采用风荷载:杆件自身的Wk,按从属面积A折减体型系数,填好受荷单元尺寸后显示;玻璃" +
                 glass);
    }
    return Q("采用风荷载:杆件自身的Wk=" + FormatFixed(own->first, 3) + "kN/m^2(从属面积A=" +
             FormatFixed(own->second, 3) + "m^2,体型系数按A折减);玻璃" + glass);
}

}  // namespace

GjForm::GjForm(FormHost& host, QWidget* parent)
    : ChildForm(parent),
      host_(host),
      binding_(this, kSection, host.Model()),
      refused_(this, kSection) {
    setObjectName(QStringLiteral("gjForm"));
    setWindowTitle(QStringLiteral("杆件计算"));
    BuildControls();
    binding_.Connect();
    connect(member_form_, &QComboBox::activated, this, [this] { MemberFormPicked(); });
    connect(series_, &QComboBox::activated, this, [this] { SeriesPicked(); });
    connect(number_, &QComboBox::activated, this, [this] { NumberPicked(); });
    connect(section_, &QPushButton::clicked, this, [this] { SectionFromDrawing(); });
    connect(check_, &QPushButton::clicked, this, [this] { CheckMember(); });
    connect(preselect_, &QPushButton::clicked, this, [this] { Preselect(); });
    connect(document_, &QPushButton::clicked, this, [this] { WriteDocument(); });
    connect(close_, &QPushButton::clicked, this, [this] { CloseForm(); });
}

void GjForm::BuildControls() {
    for (int number = 1; number <= 14; ++number) {
        const std::string name = "TextBox" + std::to_string(number);
        const bool geometry = number >= 2 && number <= 4;
        boxes_[static_cast<std::size_t>(number)] = NewLineEdit(this, name.c_str(), geometry);
    }
    result_ = new QPlainTextEdit(this);
    result_->setObjectName(QStringLiteral("TextBox15"));

    auto* form_frame = new QGroupBox(QStringLiteral("杆件型式"), this);
    form_frame->setObjectName(QStringLiteral("Frame2"));
    auto* form_grid = new QGridLayout(form_frame);
    member_form_ = NewComboBox(form_frame, "ComboBox1");
    form_grid->addWidget(NewLabel(form_frame, "Label14", FieldLabel(kSection, "co1")), 0, 0);
    form_grid->addWidget(member_form_, 0, 1);
    sketch_ = NewPictureBox(form_frame, "Image2", 280, 230);
    form_grid->addWidget(sketch_, 1, 0, 1, 2, Qt::AlignCenter);
    for (int i = 0; i < 3; ++i) {
        const std::string name = "Label" + std::to_string(15 + i);
        geometry_labels_[static_cast<std::size_t>(i)] =
            NewLabel(form_frame, name.c_str(), FieldLabel(kSection, kGeometryKeys[i], true));
        geometry_labels_[static_cast<std::size_t>(i)]->setMinimumWidth(130);
        form_grid->addWidget(geometry_labels_[static_cast<std::size_t>(i)], 2 + i, 0);
        form_grid->addWidget(WithFieldUnit(Box(2 + i), kSection), 2 + i, 1);
    }
    form_grid->setRowStretch(5, 1);

    auto* profile_frame = new QGroupBox(QStringLiteral("型材选择"), this);
    profile_frame->setObjectName(QStringLiteral("Frame1"));
    auto* profile_grid = new QGridLayout(profile_frame);
    series_ = NewComboBox(profile_frame, "ComboBox2");
    number_ = NewComboBox(profile_frame, "ComboBox3");
    profile_grid->addWidget(NewLabel(profile_frame, "Label1", FieldLabel(kSection, "co2")), 0, 0);
    profile_grid->addWidget(series_, 0, 1);
    profile_grid->addWidget(NewLabel(profile_frame, "Label2", FieldLabel(kSection, "co3")), 0, 2);
    profile_grid->addWidget(number_, 0, 3);
    picture_ = NewPictureBox(profile_frame, "Image1", kSectionPictureWidth, kSectionPictureHeight);
    profile_grid->addWidget(picture_, 1, 0, 1, 4, Qt::AlignCenter);
    profile_name_ = NewLabel(profile_frame, "ProfileName", QString());
    profile_grid->addWidget(profile_name_, 2, 0, 1, 4, Qt::AlignCenter);
    material_note_ = NewLabel(profile_frame, "MaterialNote", QString());
    material_note_->setWordWrap(true);
    material_note_->setStyleSheet(QStringLiteral("color: #b00000;"));
    int index = 0;
    for (const PropertyBox& property : kPropertyBoxes) {
        const int row = 3 + index / 2;
        const int column = (index % 2) * 2;
        profile_grid->addWidget(
            NewLabel(profile_frame, property.label_name,
                     FieldLabel(kSection, "te" + std::to_string(property.number))),
            row, column);
        profile_grid->addWidget(WithFieldUnit(Box(property.number), kSection), row, column + 1);
        ++index;
    }
    profile_grid->addWidget(material_note_, 4 + index / 2, 0, 1, 4);

    auto* result_frame = new QGroupBox(QStringLiteral("计算结果"), this);
    result_frame->setObjectName(QStringLiteral("Frame3"));
    auto* result_layout = new QVBoxLayout(result_frame);
    wind_basis_ = NewLabel(result_frame, "WindBasis", QString());
    result_state_ = NewLabel(result_frame, "ResultState", QString());
    auto* states = new QHBoxLayout;
    states->addWidget(wind_basis_, 1);
    states->addWidget(result_state_);
    result_layout->addLayout(states);
    result_->setFixedHeight(96);
    result_layout->addWidget(result_);

    section_ = NewButton(this, "Button1", QStringLiteral("型材计算"));
    check_ = NewButton(this, "Button2", QStringLiteral("杆件校核"));
    preselect_ = NewButton(this, "Button5", QStringLiteral("型材预选"));
    document_ = NewButton(this, "Button3", QStringLiteral("结果输出"));
    close_ = NewButton(this, "Button4", QStringLiteral("关 闭"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {section_, check_, preselect_, document_, close_}) {
        button->setMinimumWidth(90);
        buttons->addWidget(button);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(form_frame);
    top->addWidget(profile_frame, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(result_frame);
    layout->addLayout(buttons);
    SetDefaultButton(check_);
}

void GjForm::Load() {
    const FieldBinding::Quiet quiet(binding_);
    host_.CenterInMainWindow(this);
    SetText(series_, "");
    SetText(number_, "");
    Reported(host_, this, [&] {
        connection_.Open(db::ConfiguredLocation());
        AppendItems(series_, db::ListSeries(connection_));
    });
    AppendItems(member_form_, FieldChoices(kSection, "co1"));
    for (const PropertyBox& property : kPropertyBoxes)
        Box(property.number)->setToolTip(QString::fromUtf8(property.tooltip));
    result_->clear();

    // The design's own values and picture: the library may hold other values by now, or not
    // have the profile at all.
    binding_.Show();
    if (!series_->currentText().isEmpty()) {
        const QString number = number_->currentText();
        SeriesPicked();
        number_->setEditText(number);
    }
    ShowPicture();
    if (!member_form_->currentText().isEmpty())
        MemberFormPicked();
    if (const auto& run = host_.Model().member_run(); run && host_.Model().MemberCurrent())
        ShowResult(result_, run->box, MemberVerdicts(run->result));
    DesignChanged();
}

void GjForm::ShowDesign() {
    const FieldBinding::Quiet quiet(binding_);
    binding_.Show();
    ShowPicture();
    MemberFormPicked();
}

void GjForm::DesignChanged() {
    const DesignModel& model = host_.Model();
    const Design& design = model.design();
    profile_name_->setText(
        Q("选用型材号:" + (design.member ? ProfileName(*design.member) : std::string("\\"))));
    material_note_->setVisible(HasDefaultMaterial(design));
    material_note_->setText(Q(DefaultMaterialNote() + ",请按实际型材的材料和壁厚核对修改"));
    if (model.WindGlassCurrent()) {
        wind_basis_->setText(WindBasisText(model));
        wind_basis_->setStyleSheet(QString());
    } else {
        wind_basis_->setText(
            QStringLiteral("风荷载没有当前的计算结果,请先在风荷载及玻璃计算中计算"));
        wind_basis_->setStyleSheet(QStringLiteral("color: #b00000;"));
    }
    const bool current = model.MemberCurrent();
    const bool stale = model.member_run().has_value() && !current;
    result_state_->setText(stale ? QStringLiteral("结果已过期,请重新校核") : QString());
    result_state_->setStyleSheet(QStringLiteral("color: #b00000;"));
    // The document only from results that belong to the design as it is now.
    document_->setEnabled(model.AllCurrent());
}

void GjForm::ShowPicture() {
    const std::string& picture = host_.Model().design().picture;
    LoadMetafileBytes(picture_, picture);
}

void GjForm::MemberFormPicked() {
    const MemberForm& form = MemberFormOf(TextOf(member_form_));
    LoadImage(sketch_, ProgramDirectory() / "image" / form.picture);
    for (int i = 0; i < 3; ++i) {
        geometry_labels_[static_cast<std::size_t>(i)]->setText(
            FieldLabel(kSection, kGeometryKeys[i], !form.vertical));
    }
}

void GjForm::SeriesPicked() {
    number_->clear();
    Reported(host_, this,
             [&] { AppendItems(number_, db::ListNumbers(connection_, TextOf(series_))); });
}

void GjForm::NumberPicked() {
    const DesignModel::OneStep step(host_.Model());
    LastError error;
    db::ResultSet record;
    error.Try([&] { record = db::OpenProfile(connection_, TextOf(series_), TextOf(number_)); });
    for (const PropertyBox& property : kPropertyBoxes) {
        error.Try([&] {
            if (const auto text = record.Column(property.position).Text())
                Box(property.number)->setText(Q(*text));
        });
    }
    error.Try([&] {
        db::Field column = record.Column(db::kPicturePosition);
        const std::int64_t size = column.ActualSize();
        const db::Bytes bytes = size > 0 ? column.GetChunk(size) : db::Bytes();
        host_.Model().UseLibraryProfile(std::string(bytes.begin(), bytes.end()));
    });
    ShowPicture();
    error.ReportTo(host_, this);
}

void GjForm::StoreKeys(const std::vector<int>& text_boxes, bool lists) {
    const auto file = SettingsFile();
    const Design& design = host_.Model().design();
    auto store = [&](const std::string& key) {
        WriteIniString(file, kSection, key, FieldText(design, *FindInputField(kSection, key)));
    };
    if (lists) {
        for (const char* key : {"co1", "co2", "co3"}) store(key);
    }
    for (int number : text_boxes) store("te" + std::to_string(number));
}

void GjForm::CheckMember() {
    // A check that fails shows its own lines only, never the result of an earlier check.
    std::string box;
    const bool checked =
        refused_.Run(host_, [&] { host_.Model().CheckMember(SessionDirectory(), box); });
    const auto& run = host_.Model().member_run();
    ShowResult(result_, box, run ? MemberVerdicts(run->result) : std::vector<Verdict>());
    if (!checked)
        return;
    StoreKeys({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, true);
    const std::string failed = FailedChecks(MemberVerdicts(run->result));
    if (failed.empty())
        ShowInformation(host_, this, QStringLiteral("计算完毕!"));
    else
        ShowExclamation(host_, this, Q("计算完毕!以下校核不满足要求:" + failed));
}

void GjForm::Preselect() {
    // A zero span or a text that is no number is reported rather than passed over in silence.
    const bool selected = refused_.Run(host_, [&] {
        result_->setPlainText(Q(PreselectionText(host_.Model().Preselect().wx_min_cm3)));
    });
    StoreKeys({2, 3, 4}, false);
    if (selected)
        OfferLibraryProfiles();
}

std::vector<GjForm::Candidate> GjForm::PassingProfiles() {
    std::vector<Candidate> passing;
    const MemberInput base = host_.Model().design().member.value_or(MemberInput{});
    LastError error;
    error.Try([&] {
        for (const std::string& series : db::ListSeries(connection_)) {
            for (const std::string& number : db::ListNumbers(connection_, series)) {
                db::ResultSet record = db::OpenProfile(connection_, series, number);
                Design design;
                design.member = base;
                design.member->series = series;
                design.member->number = number;
                LibraryProfile profile;
                const auto fields = LibraryProfileFields();
                for (std::size_t i = 0; i < fields.size(); ++i)
                    profile.texts[i] = record.Column(fields[i].position).Text();
                std::array<bool, kLibraryProfileFieldCount> all;
                all.fill(true);
                ApplyLibraryProfile(design, profile, all);
                const auto checked = host_.Model().CheckWithProfile(*design.member);
                if (checked && checked->ok)
                    passing.push_back({*design.member, *checked});
            }
        }
    });
    error.ReportTo(host_, this);
    // The lightest first: for one alloy the weight goes with the area.
    std::stable_sort(passing.begin(), passing.end(), [](const Candidate& a, const Candidate& b) {
        return ParseLeading(a.member.area) < ParseLeading(b.member.area);
    });
    return passing;
}

void GjForm::OfferLibraryProfiles() {
    const std::vector<Candidate> passing = PassingProfiles();
    const QString minimum = result_->toPlainText();
    if (passing.empty()) {
        result_->setPlainText(minimum +
                              QStringLiteral("\n型材库中没有满足强度、抗剪和挠度要求的型材"));
        return;
    }
    result_->setPlainText(
        minimum +
        QStringLiteral("\n型材库中满足强度、抗剪和挠度要求的型材有 %1 个,按截面积从小到大列出")
            .arg(passing.size()));
    const QStringList header = {QStringLiteral("型材系列"),      QStringLiteral("型材编号"),
                                QStringLiteral("截面积(cm²)"),   QStringLiteral("Wx(cm³)"),
                                QStringLiteral("Ix(cm⁴)"),       QStringLiteral("σ/fa(N/mm²)"),
                                QStringLiteral("挠度U/限值(mm)")};
    std::vector<QStringList> rows;
    for (const Candidate& c : passing) {
        const MemberResult& r = c.result;
        rows.push_back({Q(c.member.series), Q(c.member.number), Q(c.member.area),
                        Q(FormatFixed(r.wx, 3)), Q(c.member.ix),
                        Q(FormatFixed(r.sigma, 1) + "/" + FormatFixed(r.fa, 1)),
                        Q(FormatFixed(r.umax, 2) + "/" +
                          FormatFixed(std::min(r.u_span_limit, r.u_limit), 2))});
    }
    const std::optional<std::size_t> chosen =
        host_.Services().ChooseRow(this, QStringLiteral("型材预选:满足要求的型材"), header, rows);
    if (!chosen || *chosen >= passing.size())
        return;
    const DesignModel::OneStep step(host_.Model());
    SetText(series_, passing[*chosen].member.series);
    SeriesPicked();
    SetText(number_, passing[*chosen].member.number);
    NumberPicked();
}

void GjForm::SectionFromDrawing() {
    const DesignModel::OneStep step(host_.Model());
    SectionTargets targets;
    targets.area = Box(14);
    targets.ix = Box(8);
    targets.iy = Box(9);
    targets.wx1 = Box(10);
    targets.wx2 = Box(11);
    targets.sx1 = Box(12);
    targets.sx2 = Box(13);
    targets.picture = picture_;
    targets.strength = Box(1);
    targets.shear = Box(5);
    targets.modulus = Box(6);
    targets.wall = Box(7);
    targets.next_step = check_;
    std::optional<MeasuredSection> measured = RunSectionStep(host_, this, targets);
    if (!measured)
        return;
    // The section is the drawing's from now on; the library's names no longer fit it.
    host_.Model().UseMeasuredSection(std::move(measured->drawing_file_name),
                                     std::move(measured->picture));
    SetText(series_, "");
    // The numbers of the series shown before belong to no series now.
    number_->clear();
    SetText(number_, "");
    ShowPicture();
}

void GjForm::WriteDocument() {
    const DesignModel& model = host_.Model();
    if (!model.AllCurrent())
        return;
    // Beside the design file and named after the design; an unsaved design's goes to temp/.
    const std::filesystem::path proposal =
        model.file()
            ? model.file()->parent_path() / (FileNameOf(model.Title()) + ".docx")
            : ProposedFolder(FileKind::Document, std::nullopt) / document::NumberedDocumentName(1);
    const WindGlassRun& wind_glass = *model.wind_glass();
    const MemberRun& member = *model.member_run();
    document::ReportTexts reports{document::AsFileLines(wind_glass.wind_lines),
                                  document::AsFileLines(wind_glass.glass_lines),
                                  document::AsFileLines(member.lines), std::nullopt};
    if (!member.picture.empty())
        reports.picture = member.picture;
    document::Warnings warnings;
    document::RecordedDocument composed;
    const DesignInfo& info = model.design().info;
    const document::TitleBlock title{
        model.Title(),
        info.project,
        info.engineer,
        info.checker,
        info.approver,
        info.date.empty() ? TodayText() : info.date,
        ShownChoice(*FindInputField("glass", "edition"), model.design().wind.edition),
        HasDefaultMaterial(model.design()) ? DefaultMaterialNote() : std::string()};
    {
        const BusyCursor busy;
        if (!Reported(host_, this, [&] {
                composed = document::RecordCalculationDocument(reports, title, warnings);
            }))
            return;
    }
    for (const std::string& warning : warnings) ShowExclamation(host_, this, Q(warning));
    std::optional<DocumentWindow> window;
    {
        const BusyCursor busy;
        window.emplace(host_, std::move(composed), proposal, this);
    }
    host_.Services().ShowDocument(*window);
}

void GjForm::CloseForm() {
    connection_.Close();
    Unload();
}

}  // namespace quoinry::shell
