#include <iostream>
#include <optional>
#include <string_view>

#include "cli/commands.h"
#include "common/file_bytes.h"
#include "common/ini_file.h"
#include "common/program_dir.h"
#include "design/design_run.h"

namespace quoinry::cli {
namespace {

constexpr std::string_view kRunHelp =
    "usage: quoinry run DESIGN.ini [--out DIR] [--docx FILE [--picture FILE.wmf]]\n"
    "\n"
    "Computes one window position as the windows do: the wind load (DIR/wind.txt), the glass\n"
    "check (DIR/glass.txt) and, when the design has a [gj] section, the member check\n"
    "(DIR/gj.txt). DESIGN.ini has the format of info.ini: section [glass] with co1..co8,\n"
    "te1..te5, op1, op2 and an optional section [gj] with co1..co3, te1..te14 (CP936, or UTF-8\n"
    "with a byte order mark). DIR defaults to the program directory's temp folder.\n"
    "\n"
    "--docx FILE also writes the calculation document from the reports just written, with the\n"
    "section picture --picture FILE.wmf (by default the program directory's temp/xc.wmf when it\n"
    "exists; without any picture its place stays empty and a warning says so).\n"
    "\n"
    "Prints the result lines of the windows; a calculation error prints \"当前错误:...\" on\n"
    "standard error and exits with status 1. Bad usage exits with status 2.\n";

struct RunOptions {
    std::string design;
    std::optional<std::string> out;
    std::optional<std::string> docx;
    std::optional<std::string> picture;
};

// Returns nullopt after printing the reason for bad usage.
std::optional<RunOptions> ParseRunOptions(const std::vector<std::string>& args) {
    RunOptions options;
    bool have_design = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string>* value = args[i] == "--out"       ? &options.out
                                            : args[i] == "--docx"    ? &options.docx
                                            : args[i] == "--picture" ? &options.picture
                                                                     : nullptr;
        if (value != nullptr) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                std::cerr << "quoinry run: " << args[i] << " needs a file or folder name\n";
                return std::nullopt;
            }
            *value = args[++i];
        } else if (args[i].starts_with("-") && args[i] != "-") {
            std::cerr << "quoinry run: unknown option '" << args[i] << "'\n";
            return std::nullopt;
        } else if (!have_design) {
            options.design = args[i];
            have_design = true;
        } else {
            std::cerr << "quoinry run: more than one design file\n";
            return std::nullopt;
        }
    }
    if (!have_design) {
        std::cerr << "quoinry run: no design file given\n";
        return std::nullopt;
    }
    if (options.picture && !options.docx) {
        std::cerr << "quoinry run: --picture goes with --docx\n";
        return std::nullopt;
    }
    return options;
}

void PrintBoxLines(const std::string& box) {
    if (box.empty())
        return;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = box.find("\r\n", start);
        std::cout << box.substr(start, end - start) << '\n';
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
}

}  // namespace

int RunCommand(const std::vector<std::string>& args) {
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << kRunHelp;
            return 0;
        }
    }
    const std::optional<RunOptions> options = ParseRunOptions(args);
    if (!options) {
        std::cerr << "usage: quoinry run DESIGN.ini [--out DIR] [--docx FILE [--picture FILE.wmf]]"
                     "  (quoinry run --help)\n";
        return 2;
    }
    const std::optional<std::string> bytes = ReadFileBytes(options->design);
    if (!bytes) {
        std::cerr << "quoinry run: cannot read the design file '" << options->design << "'\n";
        return 2;
    }
    const Design design = ReadDesign(IniDocument::Parse(*bytes));
    const std::filesystem::path out =
        options->out ? std::filesystem::path(*options->out) : TempDirectory();

    SharedValues shared;
    const DesignRunResult result = RunDesign(design, out, shared);
    PrintBoxLines(result.glass_box);
    if (result.member_ran)
        PrintBoxLines(result.member_box);
    std::cout.flush();
    if (result.error) {
        std::cerr << ErrorLine(*result.error) << '\n';
        return 1;
    }
    if (options->docx) {
        std::optional<std::filesystem::path> picture;
        if (options->picture)
            picture = *options->picture;
        return WriteCalculationDocument(out, *options->docx, picture);
    }
    return 0;
}

}  // namespace quoinry::cli
