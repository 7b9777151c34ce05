#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "common/program_dir.h"
#include "design/design_run.h"
#include "document/calculation_document.h"
#include "document/document_error.h"

namespace quoinry::cli {
namespace {

constexpr const char* kUsage =
    "usage: quoinry document DIR [--docx FILE] [--pdf FILE] [--picture FILE.wmf]\n"
    "\n"
    "Builds the calculation document (计算书) as a Word file or a PDF from the reports already\n"
    "in DIR: every line of wind.txt, glass.txt and gj.txt, in this order, in 宋体 14 pt on A4\n"
    "with 60 pt page margins, the parts and sections as headings, exponents raised, the page\n"
    "number in the footer, and the section picture after each line \"(3).选用型材的截面特性:\"\n"
    "of gj.txt.\n"
    "\n"
    "  --docx FILE       the .docx file to write; an older one is replaced\n"
    "  --pdf FILE        the PDF to write (the font of Debian's fonts-arphic-uming embedded);\n"
    "                    an older one is replaced. At least one of --docx and --pdf.\n"
    "  --picture FILE    the section picture, a Windows metafile; by default the program\n"
    "                    folder's temp/xc.wmf when it exists. Without any picture its place\n"
    "                    stays empty and a warning is printed.\n"
    "\n"
    "Exit status: 0 written, 1 a report or the picture is missing or the file cannot be\n"
    "written (nothing is left behind), 2 wrong usage.\n";

struct DocumentArguments {
    std::filesystem::path folder;
    DocumentOutputs outputs;
    std::optional<std::filesystem::path> picture;
};

int UsageError(const std::string& message) {
    std::cerr << "quoinry document: " << message << "\n" << kUsage;
    return 2;
}

// Fills `parsed`; returns an error message, empty when the arguments are fine.
std::string ParseArguments(const std::vector<std::string>& args, DocumentArguments& parsed) {
    static const std::vector<OptionSpec> kOptions = WithDocumentOptions({{"--picture"}});
    const ParsedArguments read = cli::ParseArguments(args, kOptions);
    if (read.error) {
        const std::string& arg = read.error->argument;
        switch (read.error->problem) {
            case ArgumentProblem::MissingValue:
                return arg + " needs a file name";
            case ArgumentProblem::UnknownOption:
                return "unknown option '" + arg + "'";
            case ArgumentProblem::ExtraPositional:
                return "more than one report folder given";
            case ArgumentProblem::BadValue:
                break;
        }
        return arg + " cannot be '" + read.error->value + "'";
    }
    if (!read.positional)
        return "the report folder DIR is missing";
    parsed.folder = *read.positional;
    parsed.outputs = DocumentOutputsOf(read);
    if (const std::string* picture = read.Value("--picture"))
        parsed.picture = *picture;
    if (parsed.outputs.empty())
        return "--docx FILE or --pdf FILE is missing";
    return "";
}

std::optional<std::filesystem::path> DefaultPicture() {
    const std::filesystem::path picture = SectionPictureFile();
    std::error_code error;
    if (std::filesystem::is_regular_file(picture, error))
        return picture;
    return std::nullopt;
}

}  // namespace

int DocumentCommand(const std::vector<std::string>& args) {
    if (AsksForHelp(args)) {
        std::cout << kUsage;
        return 0;
    }
    DocumentArguments parsed;
    if (std::string problem = ParseArguments(args, parsed); !problem.empty()) {
        return UsageError(problem);
    }
    if (!parsed.picture)
        parsed.picture = DefaultPicture();
    std::vector<NamedFile> inputs;
    for (const char* report : kReportFiles) inputs.push_back({"报告", parsed.folder / report});
    if (parsed.picture)
        inputs.push_back({"--picture", *parsed.picture});
    if (std::string refused = RefuseOutputs(inputs, DocumentOutputFiles(parsed.outputs));
        !refused.empty()) {
        std::cerr << "quoinry document: " << refused << "\n";
        return 2;
    }
    try {
        document::Warnings warnings;
        const document::RecordedDocument recorded = document::RecordCalculationDocument(
            document::ReportsIn(parsed.folder, parsed.picture), warnings);
        for (const std::string& warning : warnings) std::cerr << warning << "\n";
        return WriteDocumentOutputs(recorded, parsed.outputs);
    } catch (const document::DocumentError& error) {
        std::cerr << document::ErrorLine(error) << "\n";
        return 1;
    }
}

}  // namespace quoinry::cli
