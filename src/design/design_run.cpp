#include "design/design_run.h"

#include <system_error>

#include "common/report_file.h"

namespace quoinry {
namespace {

// Runs one calculation into its report file; the file keeps the lines written before an error
// and is closed before the error goes on.
template <typename Calculation>
auto RunReportStep(const std::filesystem::path& file, Calculation calculation) {
    ReportFile report(file);
    ReportLines lines;
    try {
        auto result = calculation(lines);
        report.Write(lines);
        report.Close();
        return result;
    } catch (const CalcError&) {
        report.Write(lines);
        report.Close();
        throw;
    }
}

void RunSteps(const Design& design, const std::filesystem::path& out_dir, SharedValues& shared,
              DesignRunResult& result) {
    std::error_code error;
    std::filesystem::create_directories(out_dir, error);
    if (error)
        throw FileError(error.value());
    result.wind = RunWindStep(design.wind, shared, out_dir, result.glass_box);
    result.glass = RunGlassStep(design.glass, shared, out_dir, result.glass_box);
    if (!design.member)
        return;
    shared.IsInsulatingGlass = design.insulating_glass;
    result.member_ran = true;
    result.member = RunMemberStep(*design.member, shared, out_dir, result.member_box);
}

}  // namespace

WindLoadResult RunWindStep(const WindLoadInput& input, SharedValues& shared,
                           const std::filesystem::path& folder, std::string& glass_box) {
    const auto file = folder / "wind.txt";
    DeleteReportIfExists(file);
    return RunReportStep(
        file, [&](ReportLines& lines) { return CalcWindLoad(input, shared, lines, glass_box); });
}

GlassResult RunGlassStep(const GlassInput& input, const SharedValues& shared,
                         const std::filesystem::path& folder, std::string& glass_box) {
    const auto file = folder / "glass.txt";
    DeleteReportIfExists(file);
    return RunReportStep(
        file, [&](ReportLines& lines) { return CalcGlass(input, shared, lines, glass_box); });
}

MemberResult RunMemberStep(const MemberInput& input, const SharedValues& shared,
                           const std::filesystem::path& folder, std::string& member_box) {
    std::optional<CalcError> deletion_error;
    const auto file = folder / "gj.txt";
    try {
        DeleteReportIfExists(file);
    } catch (const CalcError& e) {
        deletion_error = e;
    }
    const MemberResult result = RunReportStep(
        file, [&](ReportLines& lines) { return CalcMember(input, shared, lines, member_box); });
    if (deletion_error)
        throw *deletion_error;
    return result;
}

DesignRunResult RunDesign(const Design& design, const std::filesystem::path& out_dir,
                          SharedValues& shared) {
    DesignRunResult result;
    try {
        RunSteps(design, out_dir, shared, result);
    } catch (const CalcError& e) {
        result.error = e;
    }
    return result;
}

}  // namespace quoinry
