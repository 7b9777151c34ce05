#include "design/design_run.h"

#include <system_error>

#include "common/report_file.h"
#include "design/input_check.h"

namespace quoinry {
namespace {

// Runs one calculation into its report file; the file keeps the lines written before an error
// and is closed before the error goes on.
template <typename Calculation>
auto RunReportStep(const std::filesystem::path& file, ReportLines* written,
                   Calculation calculation) {
    ReportFile report(file);
    ReportLines lines;
    try {
        auto result = calculation(lines);
        if (written != nullptr)
            *written = lines;
        report.Write(lines);
        report.Close();
        return result;
    } catch (const CalcError&) {
        if (written != nullptr)
            *written = lines;
        report.Write(lines);
        report.Close();
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
        throw FileError(error.value(), CannotMakeFolder(out_dir));
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
    return RunReportStep(file, written, [&](ReportLines& lines) {
        return CalcWindLoad(input, shared, lines, glass_box);
    });
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
    return RunReportStep(file, written, [&](ReportLines& lines) {
        return CalcGlass(input, shared, lines, glass_box);
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
    const MemberResult result = RunReportStep(file, written, [&](ReportLines& lines) {
        return CalcMember(input, shared, lines, member_box);
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
