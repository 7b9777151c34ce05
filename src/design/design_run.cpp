#include "design/design_run.h"

#include <system_error>
#include <tuple>
#include <utility>

#include "common/report_file.h"
#include "design/input_check.h"

namespace quoinry {
namespace {

// Runs one calculation into its report file, on a copy of what it changes (`state`, the box
// and shared values): that is kept only once the report is on disk, so that a disk that takes
// no report changes nothing. After a calculation error the report keeps the lines written
// before it, and `state` what the calculation changed, as the windows always have.
template <typename State, typename Calculation>
auto RunReportStep(const std::filesystem::path& file, ReportLines* written, State& state,
                   Calculation calculation) {
    State trial = state;
    ReportLines lines;
    auto keep = [&] {
        state = std::move(trial);
        if (written != nullptr)
            *written = lines;
    };
    try {
        auto result = calculation(lines, trial);
        WriteReportFile(file, lines);
        keep();
        return result;
    } catch (const FileWriteError&) {
        throw;
    } catch (const CalcError&) {
        WriteReportFile(file, lines);
        keep();
        throw;
    }
}

// A step whose inputs are refused does not run: no report, no box lines, no shared values. Its
// calculation runs once on copies, so that the error it would raise by itself on these inputs
// ("类型不匹配") leads the refusals. `trial` runs that calculation.
template <typename Trial>
void RefuseIfAny(std::vector<InputRefusal> refusals, Trial trial) {
    if (refusals.empty())
        return;
    std::optional<CalcError> own_error;
    try {
        trial();
    } catch (const CalcError& e) {
        own_error = e;
    }
    throw InputError(std::move(refusals), own_error);
}

void RunSteps(const Design& design, const std::filesystem::path& out_dir, SharedValues& shared,
              DesignRunResult& result) {
    std::error_code error;
    std::filesystem::create_directories(out_dir, error);
    if (error)
        throw FileWriteError(out_dir, error);
    result.wind = RunWindStep(design.wind, shared, out_dir, result.glass_box, &result.wind_lines);
    result.glass =
        RunGlassStep(design.glass, shared, out_dir, result.glass_box, &result.glass_lines);
    if (!design.member)
        return;
    shared.IsInsulatingGlass = design.insulating_glass;
    result.member_ran = true;
    result.member =
        RunMemberStep(*design.member, shared, out_dir, result.member_box, &result.member_lines);
}

// The first step whose report this run did not write.
int FirstStepNotRun(const DesignRunResult& result) {
    if (!result.wind)
        return result.wind_lines.empty() ? 0 : 1;
    if (!result.glass)
        return 2;
    return result.member_ran ? 3 : 2;
}

}  // namespace

void DeleteReportsFrom(const std::filesystem::path& folder, int first_step) {
    for (int step = first_step; step < static_cast<int>(std::size(kReportFiles)); ++step)
        DeleteReportIfExists(folder / kReportFiles[step]);
}

WindLoadResult RunWindStep(const WindLoadInput& input, SharedValues& shared,
                           const std::filesystem::path& folder, std::string& glass_box,
                           ReportLines* written) {
    const auto file = folder / "wind.txt";
    DeleteReportIfExists(file);
    RefuseIfAny(CheckWindInput(input), [&] {
        SharedValues trial = shared;
        ReportLines lines;
        std::string box;
        CalcWindLoad(input, trial, lines, box);
    });
    using State = std::pair<SharedValues, std::string>;
    State state{shared, glass_box};
    auto give_back = [&] { std::tie(shared, glass_box) = state; };
    try {
        const WindLoadResult result =
            RunReportStep(file, written, state, [&](ReportLines& lines, State& trial) {
                return CalcWindLoad(input, trial.first, lines, trial.second);
            });
        give_back();
        return result;
    } catch (...) {
        give_back();  // unchanged unless the calculation kept what it did
        throw;
    }
}

GlassResult RunGlassStep(const GlassInput& input, const SharedValues& shared,
                         const std::filesystem::path& folder, std::string& glass_box,
                         ReportLines* written) {
    const auto file = folder / "glass.txt";
    DeleteReportIfExists(file);
    RefuseIfAny(CheckGlassInput(input), [&] {
        ReportLines lines;
        std::string box;
        CalcGlass(input, shared, lines, box);
    });
    return RunReportStep(file, written, glass_box, [&](ReportLines& lines, std::string& box) {
        return CalcGlass(input, shared, lines, box);
    });
}

MemberResult RunMemberStep(const MemberInput& input, const SharedValues& shared,
                           const std::filesystem::path& folder, std::string& member_box,
                           ReportLines* written) {
    std::optional<CalcError> deletion_error;
    const auto file = folder / "gj.txt";
    try {
        DeleteReportIfExists(file);
    } catch (const CalcError& e) {
        deletion_error = e;
    }
    RefuseIfAny(CheckMemberInput(input), [&] {
        ReportLines lines;
        std::string box;
        CalcMember(input, shared, lines, box);
    });
    const MemberResult result =
        RunReportStep(file, written, member_box, [&](ReportLines& lines, std::string& box) {
            return CalcMember(input, shared, lines, box);
        });
    if (deletion_error)
        throw *deletion_error;
    return result;
}

PreselectionResult RunPreselection(const MemberInput& input, const SharedValues& shared) {
    RefuseIfAny(CheckMemberGeometry(input), [&] { CalcPreselection(input, shared); });
    return CalcPreselection(input, shared);
}

DesignRunResult RunDesign(const Design& design, const std::filesystem::path& out_dir,
                          SharedValues& shared) {
    DesignRunResult result;
    try {
        RunSteps(design, out_dir, shared, result);
    } catch (const InputError& e) {
        result.refusals = e.refusals();
        result.error = e;
    } catch (const CalcError& e) {
        result.error = e;
    }
    try {
        DeleteReportsFrom(out_dir, FirstStepNotRun(result));
    } catch (const CalcError& e) {
        if (!result.error)
            result.error = e;
    }
    return result;
}

}  // namespace quoinry
