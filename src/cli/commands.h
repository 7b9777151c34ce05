#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/document_formats.h"
#include "common/output_check.h"
#include "document/parted_document.h"

namespace quoinry::cli {

// The command line; returns the process exit status.
int Main(int argc, char** argv);

// One function per command; `args` are the arguments after the command's name.
int RunCommand(const std::vector<std::string>& args);
int DocumentCommand(const std::vector<std::string>& args);
int BatchCommand(const std::vector<std::string>& args);

// Whether the arguments ask for the command's help: --help or -h anywhere among them.
bool AsksForHelp(const std::vector<std::string>& args);

// What `quoinry run` hands the files module for its calculation document: this run's report
// lines only, so that no file of an earlier run can slip in.
struct RunDocumentRequest {
    std::vector<std::string> wind;
    std::vector<std::string> glass;
    std::vector<std::string> member;
    std::optional<std::filesystem::path> picture_file;  // --picture, before the design's own
    std::string design_picture;                         // a Windows metafile, or empty
    std::string engineer;
    DocumentOutputs outputs;
};

// Writes the run's calculation document; messages go to standard error; returns the exit status.
int WriteRunDocument(const RunDocumentRequest& request);
// The same through the files module.
int WriteRunDocumentThroughModule(const RunDocumentRequest& request);

// Writes `document` to the outputs, a part at a time. Messages (warnings, "当前错误:" lines) go
// to standard error; returns the exit status, 1 when an output could not be written or `stop`
// was set (then without a message: the caller says that it stopped).
int WriteDocumentOutputs(const document::PartedDocument& document, const DocumentOutputs& outputs,
                         document::StopFlag stop = nullptr);

// Whether WriteDocumentOutputs has a writer for the format of `option`.
bool HasDocumentWriter(std::string_view option);

// Writes `document` as a PDF through the Qt module. Messages go to standard error; returns the
// exit status.
int WritePdfThroughModule(const document::PartedDocument& document,
                          const std::filesystem::path& pdf, document::StopFlag stop);

// A module of the program, "libquoinry_qt.so": beside the executable (a build) or in
// ../lib/quoinry (an installation).
std::filesystem::path ModuleFile(const char* name);
// The Qt module (the windows, the database, the PDF).
std::filesystem::path QtModuleFile();
// The files module: the commands that write documents and workbooks (batch, document, and the
// document of run), with libzip, expat and libxlsxwriter, which a calculation alone never loads.
std::filesystem::path FilesModuleFile();
int SectionCommand(const std::vector<std::string>& args);

// Runs a command of the Qt module.
int QtModuleCommand(const std::string& command, const std::vector<std::string>& args);
// Runs a command of the files module.
int FilesModuleCommand(const std::string& command, const std::vector<std::string>& args);

}  // namespace quoinry::cli
