#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quoinry::cli {

// The command line; returns the process exit status.
int Main(int argc, char** argv);

// One function per command; `args` are the arguments after the command's name.
int RunCommand(const std::vector<std::string>& args);
int DocumentCommand(const std::vector<std::string>& args);
int BatchCommand(const std::vector<std::string>& args);

// Writes the calculation document from the reports in `folder`; without a picture, the program
// directory's temp/xc.wmf when it exists. Messages go to standard error; returns the exit status.
int WriteCalculationDocument(const std::filesystem::path& folder, const std::filesystem::path& docx,
                             std::optional<std::filesystem::path> picture);
int SectionCommand(const std::vector<std::string>& args);

// Runs a command of the Qt module (libquoinry_qt.so beside the executable).
int QtModuleCommand(const std::string& command, const std::vector<std::string>& args);

}  // namespace quoinry::cli
