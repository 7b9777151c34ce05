#include <algorithm>
#include <iostream>
#include <iterator>
#include <string_view>
#include <system_error>

#include "cli/commands.h"
#include "document/calculation_document.h"
#include "document/document_error.h"
#include "platform/plugin.h"

namespace quoinry::cli {

int WritePdfThroughModule(const document::PartedDocument& document,
                          const std::filesystem::path& pdf, document::StopFlag stop) {
    using Entry = int (*)(const document::PartedDocument*, const char*, document::StopFlag,
                          std::vector<std::string>*);
    std::string error;
    const auto entry = reinterpret_cast<Entry>(
        platform::LoadModuleFunction(QtModuleFile(), "QuoinryWritePdf", error));
    if (entry == nullptr) {
        std::cerr << "当前错误:无法载入写 PDF 的模块 " << QtModuleFile().string()
                  << ",请重新安装 Quoinry(" << error << ")\n";
        return 1;
    }
    std::vector<std::string> messages;
    const int status = entry(&document, pdf.c_str(), stop, &messages);
    for (const std::string& message : messages) std::cerr << message << "\n";
    return status;
}

namespace {

using Writer = int (*)(const document::PartedDocument&, const std::filesystem::path&,
                       document::StopFlag);

int WriteDocx(const document::PartedDocument& document, const std::filesystem::path& docx,
              document::StopFlag stop) {
    try {
        document::WriteDocxDocument(document, docx, stop);
        return 0;
    } catch (const document::DocumentError& error) {
        if (error.problem() != document::DocumentProblem::Stopped)
            std::cerr << document::ErrorLine(error) << "\n";
        return 1;
    }
}

// The writer of each row of DocumentFormats().
struct FormatWriter {
    std::string_view option;
    Writer write;
};
constexpr FormatWriter kWriters[] = {
    {"--docx", WriteDocx},
    {"--pdf", WritePdfThroughModule},
};

}  // namespace

bool HasDocumentWriter(std::string_view option) {
    return std::any_of(std::begin(kWriters), std::end(kWriters),
                       [&](const FormatWriter& writer) { return writer.option == option; });
}

int WriteDocumentOutputs(const document::PartedDocument& document, const DocumentOutputs& outputs,
                         document::StopFlag stop) {
    for (const DocumentOutput& output : outputs) {
        const auto writer =
            std::find_if(std::begin(kWriters), std::end(kWriters),
                         [&](const FormatWriter& row) { return row.option == output.option; });
        if (writer == std::end(kWriters)) {
            std::cerr << "quoinry: " << output.option << " has no document writer\n";
            return 1;
        }
        if (const int status = writer->write(document, output.file, stop); status != 0)
            return status;
    }
    return 0;
}

}  // namespace quoinry::cli
