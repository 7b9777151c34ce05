// The files module's entries (cli/commands.h: FilesModuleFile).
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli/commands.h"

// Runs `command` (batch, document) with the arguments after its name; returns the exit status.
extern "C" int QuoinryFilesCommand(const char* command, int argc, const char* const* argv) {
    using Command = int (*)(const std::vector<std::string>&);
    static const std::map<std::string, Command> commands = {
        {"batch", quoinry::cli::BatchCommand},
        {"document", quoinry::cli::DocumentCommand},
    };
    const auto found = commands.find(command);
    if (found == commands.end()) {
        std::cerr << "quoinry: unknown command '" << command << "'\n";
        return 2;
    }
    return found->second(std::vector<std::string>(argv, argv + argc));
}

// Writes the document of `quoinry run`; both sides are built from the same sources, so the
// request passes as it is.
extern "C" int QuoinryWriteRunDocument(const quoinry::cli::RunDocumentRequest* request) {
    return quoinry::cli::WriteRunDocument(*request);
}
