#include <iostream>
#include <optional>
#include <string_view>

#include "cli/commands.h"
#include "common/output_check.h"
#include "common/program_dir.h"
#include "design/design_file.h"
#include "design/design_run.h"
#include "design/result_json.h"

namespace quoinry::cli {
namespace {

constexpr std::string_view kUsage =
    "usage: quoinry run DESIGN.ini [--out DIR] [--json] [--docx FILE] [--pdf FILE] "
    "[--picture FILE.wmf]";

constexpr std::string_view kRunHelp =
    "usage: quoinry run DESIGN.ini [--out DIR] [--json] [--docx FILE] [--pdf FILE]\n"
    "                   [--picture FILE.wmf]\n"
    "\n"
    "Computes one window position as the windows do: the wind load (DIR/wind.txt), the glass\n"
    "check (DIR/glass.txt) and, when the design has a [gj] section, the member check\n"
    "(DIR/gj.txt). The report of a step that does not run is deleted from DIR, so that DIR\n"
    "never holds a report of another design. DESIGN.ini is a design file saved by the windows\n"
    "(UTF-8, with a [design] section; see the README), or a file in the format of info.ini:\n"
    "section [glass] with co1..co8, te1..te5, op1, op2 and an optional section [gj] with\n"
    "co1..co3, te1..te14 (CP936, or UTF-8 with or without a byte order mark). Lines the program\n"
    "does not know are named in warnings on standard error. DIR defaults to the temp folder.\n"
    "\n"
    "--json prints the results as one JSON object instead of the result lines.\n"
    "--docx FILE also writes the calculation document from the reports of this run, with the\n"
    "section picture --picture FILE.wmf, else the design file's picture; without any picture its\n"
    "place stays empty and a warning says so. --pdf FILE writes the same document as a PDF (A4,\n"
    "the font of Debian's fonts-arphic-uming embedded); both may be given.\n"
    "\n"
    "Prints the result lines of the windows; a calculation error prints \"当前错误:...\" on\n"
    "standard error (with --json also {\"error\": ...} on standard output) and exits with\n"
    "status 1. A design file that cannot be read, is broken or of a newer format exits with\n"
    "status 2 and a message naming the file and line, as does bad usage.\n";

struct RunOptions {
    std::string design;
    std::optional<std::string> out;
    DocumentOutputs documents;
    std::optional<std::string> picture;
    bool json = false;
};

std::optional<std::string> OptionalValue(const ParsedArguments& parsed, std::string_view option) {
    const std::string* value = parsed.Value(option);
    return value != nullptr ? std::optional<std::string>(*value) : std::nullopt;
}

// Returns nullopt after printing the reason for bad usage.
std::optional<RunOptions> ParseRunOptions(const std::vector<std::string>& args) {
    static const std::vector<OptionSpec> kOptions =
        WithDocumentOptions({{"--out"}, {"--picture"}, {"--json", false}});
    const ParsedArguments parsed = ParseArguments(args, kOptions);
    if (parsed.error) {
        const std::string& arg = parsed.error->argument;
        switch (parsed.error->problem) {
            case ArgumentProblem::MissingValue:
                std::cerr << "quoinry run: " << arg << " needs a file or folder name\n";
                break;
            case ArgumentProblem::UnknownOption:
                std::cerr << "quoinry run: unknown option '" << arg << "'\n";
                break;
            case ArgumentProblem::ExtraPositional:
                std::cerr << "quoinry run: more than one design file\n";
                break;
            case ArgumentProblem::BadValue:
                std::cerr << "quoinry run: " << arg << " cannot be '" << parsed.error->value
                          << "'\n";
                break;
        }
        return std::nullopt;
    }
    if (!parsed.positional) {
        std::cerr << "quoinry run: no design file given\n";
        return std::nullopt;
    }
    RunOptions options{*parsed.positional, OptionalValue(parsed, "--out"),
                       DocumentOutputsOf(parsed), OptionalValue(parsed, "--picture"),
                       parsed.Flag("--json")};
    if (options.picture && options.documents.empty()) {
        std::cerr << "quoinry run: --picture goes with --docx or --pdf\n";
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

// Every file the run writes against every file it reads.
std::string RefuseRunOutputs(const RunOptions& options, const std::filesystem::path& out) {
    std::vector<NamedFile> inputs{{"设计文件", options.design}};
    if (options.picture)
        inputs.push_back({"--picture", *options.picture});
    std::vector<NamedFile> outputs;
    for (const char* report : kReportFiles) outputs.push_back({"报告", out / report});
    for (NamedFile& output : DocumentOutputFiles(options.documents))
        outputs.push_back(std::move(output));
    return RefuseOutputs(inputs, outputs);
}

}  // namespace

int RunCommand(const std::vector<std::string>& args) {
    if (AsksForHelp(args)) {
        std::cout << kRunHelp;
        return 0;
    }
    const std::optional<RunOptions> options = ParseRunOptions(args);
    if (!options) {
        std::cerr << kUsage << "  (quoinry run --help)\n";
        return 2;
    }
    DesignFileReading reading;
    try {
        reading = ReadDesignFile(options->design);
    } catch (const DesignFileError& error) {
        if (options->json)
            std::cout << ErrorJson(error.what()) << std::endl;
        std::cerr << error.what() << '\n';
        return 2;
    }
    for (const std::string& warning : reading.warnings) std::cerr << warning << '\n';
    const Design& design = reading.design;
    const std::filesystem::path out =
        options->out ? std::filesystem::path(*options->out) : TempDirectory();

    if (const std::string refused = RefuseRunOutputs(*options, out); !refused.empty()) {
        std::cerr << "quoinry run: " << refused << '\n';
        return 2;
    }
    SharedValues shared;
    const DesignRunResult result = RunDesign(design, out, shared);
    if (options->json) {
        std::cout << (result.error ? ErrorJson(result.error->description()) : ResultsJson(result))
                  << '\n';
    } else {
        PrintBoxLines(result.glass_box);
        if (result.member_ran)
            PrintBoxLines(result.member_box);
    }
    std::cout.flush();
    if (result.error) {
        std::cerr << ErrorLine(*result.error) << '\n';
        return 1;
    }
    if (options->documents.empty())
        return 0;
    RunDocumentRequest request{result.wind_lines, result.glass_lines, result.member_lines,
                               std::nullopt,      design.picture,     design.info.engineer,
                               options->documents};
    if (options->picture)
        request.picture_file = *options->picture;
    return WriteRunDocumentThroughModule(request);
}

}  // namespace quoinry::cli
