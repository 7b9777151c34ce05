#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "common/atomic_file.h"
#include "common/numbers.h"
#include "common/output_check.h"
#include "profile/dxf_drawing.h"
#include "profile/regions.h"
#include "profile/section_error.h"
#include "profile/section_picture.h"
#include "profile/section_properties.h"
#include "profile/section_values.h"

namespace quoinry::cli {
namespace {

using namespace quoinry::profile;

constexpr int kUsageError = 2;
constexpr int kUnusableDrawing = 1;
constexpr int kSeveralRegions = 3;

const char* kUsage =
    "usage: quoinry section DRAWING.dxf [--region N] [--picture OUT.wmf]\n"
    "  Measures a region of the drawing (millimetres) and prints A, Ix, Iy, Wx1, Wx2, Wy1, Wy2,\n"
    "  Sx1, Sx2, Sy1, Sy2 in cm units. With several regions, --region N picks one (1 is the\n"
    "  largest); without it they are listed and the exit status is 3. --picture writes the\n"
    "  section picture as a Windows metafile.\n";

struct Options {
    std::string drawing;
    std::optional<size_t> region;
    std::string picture;
};

int UsageError(const std::string& message) {
    std::cerr << "quoinry section: " << message << "\n" << kUsage;
    return kUsageError;
}

std::optional<size_t> PositiveNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos) {
        return std::nullopt;
    }
    const size_t n = std::stoul(text);
    return n >= 1 ? std::optional<size_t>(n) : std::nullopt;
}

bool AcceptsRegion(const std::string& text) {
    return PositiveNumber(text).has_value();
}

// Returns an exit status when the arguments are not usable.
std::optional<int> Parse(const std::vector<std::string>& args, Options& options) {
    static const OptionSpec kOptions[] = {
        {"--region", true, AcceptsRegion}, {"--picture"}, {"--help", false}, {"-h", false}};
    const ParsedArguments read = ParseArguments(args, kOptions, {"--", false});
    // Help asked for before the first fault wins, as the reading stops there.
    if (read.Flag("--help") || read.Flag("-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (read.error) {
        const std::string& arg = read.error->argument;
        switch (read.error->problem) {
            case ArgumentProblem::MissingValue:
                return UsageError(arg + " needs a value");
            case ArgumentProblem::BadValue:
                return UsageError("--region needs a whole number from 1, not '" +
                                  read.error->value + "'");
            case ArgumentProblem::UnknownOption:
            case ArgumentProblem::ExtraPositional:
                break;
        }
        return UsageError("unexpected argument '" + arg + "'");
    }
    if (read.positional)
        options.drawing = *read.positional;
    if (const std::string* region = read.Value("--region"))
        options.region = PositiveNumber(*region);
    if (const std::string* picture = read.Value("--picture"))
        options.picture = *picture;
    if (options.drawing.empty())
        return UsageError("no drawing given");
    return std::nullopt;
}

void ListRegions(const std::vector<Region>& regions, Point origin) {
    for (size_t i = 0; i < regions.size(); ++i) {
        const Region& r = regions[i];
        std::cout << i + 1 << " area=" << GeneralText(RoundN(r.area_mm2, 3))
                  << " box=" << PointText(r.box.min + origin) << "-"
                  << PointText(r.box.max + origin) << "\n";
    }
    std::cerr << "图形中有 " << regions.size() << " 个区域,请用 --region N 选择其一\n";
}

void PrintValues(const ProfileValues& values) {
    for (const auto& [name, value] : NamedValues(values)) {
        std::cout << name << "=" << GeneralText(value) << "\n";
    }
}

// Through a temporary file: a failed write keeps an older picture.
void WritePicture(const Drawing& drawing, const Region& region, const std::string& path) {
    const std::string bytes = SectionPictureWmf(drawing.loops, ExportWindow(region.box));
    if (const std::error_code error = WriteFileAtomically(path, bytes))
        throw SectionError("无法写入图片文件 " + path + ": " + DescribeFileError(error));
}

}  // namespace

int SectionCommand(const std::vector<std::string>& args) {
    Options options;
    if (const std::optional<int> status = Parse(args, options))
        return *status;
    if (!options.picture.empty()) {
        const std::string refused =
            RefuseOutputs({{"图纸", options.drawing}}, {{"--picture", options.picture}});
        if (!refused.empty()) {
            std::cerr << "quoinry section: " << refused << "\n";
            return kUsageError;
        }
    }
    try {
        const Drawing drawing = ReadDxfDrawing(options.drawing);
        for (const std::string& note : drawing.notes) std::cerr << note << "\n";
        const std::vector<Region> regions = FindRegions(drawing.loops, drawing.origin);
        if (regions.size() > 1 && !options.region) {
            ListRegions(regions, drawing.origin);
            return kSeveralRegions;
        }
        const size_t number = options.region.value_or(1);
        if (number > regions.size()) {
            return UsageError("--region " + std::to_string(number) + ": the drawing has " +
                              std::to_string(regions.size()) + " region(s)");
        }
        const Region& region = regions[number - 1];
        PrintValues(MeasureProfile(region));
        if (!options.picture.empty())
            WritePicture(drawing, region, options.picture);
        return 0;
    } catch (const SectionError& e) {
        std::cerr << "quoinry section: " << e.what() << "\n";
        return kUnusableDrawing;
    }
}

}  // namespace quoinry::cli
