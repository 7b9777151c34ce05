#include "design/design_run.h"

#include <system_error>

#include "common/report_file.h"

namespace quoinry {
namespace {

// Runs one calculation into its report file; the file keeps the lines written before an error
// and is closed before the error goes on.
template <typename Calculation>
void RunReportStep(const std::filesystem::path& file, Calculation calculation) {
    ReportFile report(file);
    ReportLines lines;
    try {
        calculation(lines);
    } catch (const CalcError&) {
        report.Write(lines);
        report.Close();
        throw;
    }
    report.Write(lines);
    report.Close();
}

void RunSteps(const Design& design, const std::filesystem::path& out_dir, SharedValues& shared,
              DesignRunResult& result) {
    std::error_code error;
    std::filesystem::create_directories(out_dir, error);
    if (error)
        throw FileError(error.value());
    RunWindStep(design.wind, shared, out_dir, result.glass_box);
    RunGlassStep(design.glass, shared, out_dir, result.glass_box);
    if (!design.member)
        return;
    shared.IsInsulatingGlass = design.insulating_glass;
    result.member_ran = true;
    RunMemberStep(*design.member, shared, out_dir, result.member_box);
}

}  // namespace

void RunWindStep(const WindLoadInput& input, SharedValues& shared,
                 const std::filesystem::path& folder, std::string& glass_box) {
    const auto file = folder / "wind.txt";
    DeleteReportIfExists(file);
    RunReportStep(file, [&](ReportLines& lines) { CalcWindLoad(input, shared, lines, glass_box); });
}

void RunGlassStep(const GlassInput& input, const SharedValues& shared,
                  const std::filesystem::path& folder, std::string& glass_box) {
    const auto file = folder / "glass.txt";
    DeleteReportIfExists(file);
    RunReportStep(file, [&](ReportLines& lines) { CalcGlass(input, shared, lines, glass_box); });
}

void RunMemberStep(const MemberInput& input, const SharedValues& shared,
                   const std::filesystem::path& folder, std::string& member_box) {
    std::optional<CalcError> deletion_error;
    const auto file = folder / "gj.txt";
    try {
        DeleteReportIfExists(file);
    } catch (const CalcError& e) {
        deletion_error = e;
    }
    RunReportStep(file, [&](ReportLines& lines) { CalcMember(input, shared, lines, member_box); });
    if (deletion_error)
        throw *deletion_error;
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
