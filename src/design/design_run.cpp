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

    const auto wind_file = out_dir / "wind.txt";
    DeleteReportIfExists(wind_file);
    RunReportStep(wind_file, [&](ReportLines& lines) {
        CalcWindLoad(design.wind, shared, lines, result.glass_box);
    });

    const auto glass_file = out_dir / "glass.txt";
    DeleteReportIfExists(glass_file);
    RunReportStep(glass_file, [&](ReportLines& lines) {
        CalcGlass(design.glass, shared, lines, result.glass_box);
    });

    if (!design.member)
        return;
    shared.IsInsulatingGlass = design.insulating_glass;
    result.member_ran = true;
    // A report that cannot be deleted does not stop the member check; it is reported after it.
    std::optional<CalcError> deletion_error;
    const auto member_file = out_dir / "gj.txt";
    try {
        DeleteReportIfExists(member_file);
    } catch (const CalcError& e) {
        deletion_error = e;
    }
    RunReportStep(member_file, [&](ReportLines& lines) {
        CalcMember(*design.member, shared, lines, result.member_box);
    });
    if (deletion_error)
        throw *deletion_error;
}

}  // namespace

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
