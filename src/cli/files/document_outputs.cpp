#include <iostream>
#include <system_error>

#include "cli/commands.h"
#include "document/calculation_document.h"
#include "document/document_error.h"
#include "platform/plugin.h"

namespace quoinry::cli {

std::vector<NamedFile> DocumentOutputFiles(const DocumentOutputs& outputs) {
    std::vector<NamedFile> files;
    if (outputs.docx)
        files.push_back({"--docx", *outputs.docx});
    if (outputs.pdf)
        files.push_back({"--pdf", *outputs.pdf});
    return files;
}

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

int WriteDocumentOutputs(const document::PartedDocument& document, const DocumentOutputs& outputs,
                         document::StopFlag stop) {
    if (outputs.docx) {
        try {
            document::WriteDocxDocument(document, *outputs.docx, stop);
        } catch (const document::DocumentError& error) {
            if (error.problem() != document::DocumentProblem::Stopped)
                std::cerr << document::ErrorLine(error) << "\n";
            return 1;
        }
    }
    return outputs.pdf ? WritePdfThroughModule(document, *outputs.pdf, stop) : 0;
}

}  // namespace quoinry::cli
