#include "design/design_model.h"

#include <utility>

#include "design/design_run.h"

namespace quoinry {
namespace {

constexpr const char* kNoWind =
    "风荷载没有当前的计算结果:请先在“风荷载及玻璃计算”中按“计  算”,再回到这里";

}  // namespace

std::string DesignModel::Title() const {
    if (!design_.info.name.empty())
        return design_.info.name;
    if (file_)
        return file_->stem().string();
    return "未命名设计";
}

void DesignModel::Replace(Design design, std::optional<std::filesystem::path> file) {
    write_back_ = nullptr;
    undo_.clear();
    redo_.clear();
    last_field_ = nullptr;
    design_ = std::move(design);
    saved_ = design_;
    file_ = std::move(file);
    stamp_ = file_ ? StampOf(*file_) : std::nullopt;
    wind_glass_.reset();
    member_run_.reset();
    Changed();
}

void DesignModel::Save(const std::filesystem::path& file) {
    SaveDesignFile(file, design_);
    saved_ = design_;
    file_ = file;
    stamp_ = StampOf(file);
    write_back_ = nullptr;  // saved as a design of its own
    Changed();
}

void DesignModel::ReplaceFromPosition(Design design,
                                      std::function<void(const Design&)> write_back) {
    Replace(std::move(design), std::nullopt);
    write_back_ = std::move(write_back);
}

void DesignModel::SaveToPosition() {
    if (!write_back_)
        return;
    write_back_(design_);
    saved_ = design_;
    Changed();
}

MemberInput& DesignModel::Member() {
    if (!design_.member)
        design_.member.emplace();
    return *design_.member;
}

void DesignModel::Remember(const InputField* field) {
    if (grouped_ > 0) {
        field = nullptr;
        if (!std::exchange(group_open_, false))
            return;
    }
    if (field == nullptr || field != last_field_) {
        undo_.push_back(design_);
        if (undo_.size() > kUndoSteps)
            undo_.erase(undo_.begin());
    }
    redo_.clear();
    last_field_ = field;
}

void DesignModel::Undo() {
    StepTo(undo_, redo_);
}

void DesignModel::Redo() {
    StepTo(redo_, undo_);
}

void DesignModel::StepTo(std::vector<Design>& from, std::vector<Design>& to) {
    if (from.empty())
        return;
    to.push_back(std::exchange(design_, std::move(from.back())));
    from.pop_back();
    last_field_ = nullptr;
    Changed();
}

void DesignModel::SetField(const InputField& field, std::string_view text) {
    if (FieldText(design_, field) == text && (field.section != "gj" || design_.member))
        return;
    Remember(&field);
    SetFieldText(design_, field, text);
    // A series or number the user gives names the profile from now on.
    if (field.section == "gj" && (field.key == "co2" || field.key == "co3") && !text.empty())
        Member().section_drawing.clear();
    Changed();
}

void DesignModel::SetInfo(const DesignInfo& info) {
    if (info == design_.info)
        return;
    Remember();
    design_.info = info;
    Changed();
}

void DesignModel::UseLibraryProfile(std::string picture) {
    Remember();
    Member().section_drawing.clear();
    design_.picture = std::move(picture);
    Changed();
}

void DesignModel::UseMeasuredSection(std::string drawing_file_name, std::string picture) {
    Remember();
    MemberInput& member = Member();
    member.series.clear();
    member.number.clear();
    member.section_drawing = std::move(drawing_file_name);
    design_.picture = std::move(picture);
    Changed();
}

void DesignModel::ComputeWindGlass(const std::filesystem::path& folder, std::string& box) {
    WindGlassRun run{design_.wind, design_.glass, {}, {}, {}, {}, {}};
    wind_glass_.reset();
    SharedValues shared;
    try {
        run.wind = RunWindStep(run.wind_input, shared, folder, run.box, &run.wind_lines);
        try {
            run.glass = RunGlassStep(run.glass_input, shared, folder, run.box, &run.glass_lines);
        } catch (const CalcError&) {
            DeleteReportsFrom(folder, 2);
            throw;
        }
    } catch (const CalcError&) {
        box = run.box;
        if (run.glass_lines.empty())
            DeleteReportsFrom(folder, run.wind_lines.empty() ? 0 : 1);
        Changed();
        throw;
    }
    box = run.box;
    wind_glass_ = std::move(run);
    Changed();
}

SharedValues DesignModel::WindValues() const {
    if (!WindGlassCurrent())
        throw StepOrderError(kNoWind);
    SharedValues shared;
    HandOn(wind_glass_->wind, shared);
    shared.IsInsulatingGlass = IsInsulating(wind_glass_->glass_input);
    return shared;
}

void DesignModel::CheckMember(const std::filesystem::path& folder, std::string& box) {
    const SharedValues shared = WindValues();
    MemberRun run{Member(),
                  design_.picture,
                  shared.WindLoadStandard,
                  wind_glass_->wind.z_m,
                  shared.IsInsulatingGlass,
                  {},
                  {},
                  box};
    member_run_.reset();
    try {
        run.result = RunMemberStep(run.input, shared, folder, run.box, &run.lines);
    } catch (const CalcError&) {
        box = run.box;
        Changed();
        throw;
    }
    box = run.box;
    member_run_ = std::move(run);
    Changed();
}

PreselectionResult DesignModel::Preselect() const {
    const SharedValues shared = WindValues();
    return RunPreselection(design_.member.value_or(MemberInput{}), shared);
}

std::optional<MemberResult> DesignModel::CheckWithProfile(const MemberInput& input) const {
    const SharedValues shared = WindValues();
    if (!CheckMemberInput(input).empty())
        return std::nullopt;
    try {
        ReportLines lines;
        std::string box;
        return CalcMember(input, shared, lines, box);
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

bool DesignModel::WindGlassCurrent() const {
    return wind_glass_ && wind_glass_->wind_input == design_.wind &&
           wind_glass_->glass_input == design_.glass;
}

bool DesignModel::MemberCurrent() const {
    return member_run_ && design_.member && WindGlassCurrent() &&
           member_run_->input == *design_.member && member_run_->picture == design_.picture &&
           member_run_->wk == wind_glass_->wind.wk &&
           member_run_->insulating == IsInsulating(wind_glass_->glass_input);
}

void DesignModel::Changed() {
    if (listener_)
        listener_();
}

}  // namespace quoinry
