#include "cli/document_formats.h"

#include <array>

namespace quoinry::cli {

std::span<const DocumentFormat> DocumentFormats() {
    static constexpr std::array<DocumentFormat, 2> kFormats{{{"--docx"}, {"--pdf"}}};
    return kFormats;
}

std::vector<OptionSpec> WithDocumentOptions(std::vector<OptionSpec> options) {
    for (const DocumentFormat& format : DocumentFormats()) options.push_back({format.option});
    return options;
}

DocumentOutputs DocumentOutputsOf(const ParsedArguments& arguments) {
    DocumentOutputs outputs;
    for (const DocumentFormat& format : DocumentFormats()) {
        if (const std::string* file = arguments.Value(format.option))
            outputs.push_back({std::string(format.option), *file});
    }
    return outputs;
}

std::vector<NamedFile> DocumentOutputFiles(const DocumentOutputs& outputs) {
    std::vector<NamedFile> files;
    for (const DocumentOutput& output : outputs) files.push_back({output.option, output.file});
    return files;
}

}  // namespace quoinry::cli
