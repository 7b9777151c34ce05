#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "common/output_check.h"

namespace quoinry::cli {

// The document formats a command can write, as one table: adding a format adds a row here and
// its writer beside WriteDocumentOutputs. Only names live here, so that `quoinry run` reads its
// options without the writers (which stay in the files module).
struct DocumentFormat {
    std::string_view option;  // "--docx"; also how messages name the file
};
std::span<const DocumentFormat> DocumentFormats();

// The document formats' options, each taking a file, for a command's table.
std::vector<OptionSpec> WithDocumentOptions(std::vector<OptionSpec> options);

// One file the calculation document goes to, in the format of the option that named it.
struct DocumentOutput {
    std::string option;  // a DocumentFormats() option: "--docx", "--pdf"
    std::filesystem::path file;
};
// In the order of DocumentFormats(), whatever the order on the command line.
using DocumentOutputs = std::vector<DocumentOutput>;

// The document files the arguments ask for.
DocumentOutputs DocumentOutputsOf(const ParsedArguments& arguments);

// The document's files as outputs to check against a command's inputs.
std::vector<NamedFile> DocumentOutputFiles(const DocumentOutputs& outputs);

}  // namespace quoinry::cli
