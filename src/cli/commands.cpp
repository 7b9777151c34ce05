#include "cli/commands.h"

#include "common/version.h"
#include "platform/plugin.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <new>
#include <stdexcept>
#include <string>

namespace quoinry::cli {
namespace {

using Command = int (*)(const std::vector<std::string>&);

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands = {
        {"run", RunCommand},
        {"document", [](const auto& args) { return FilesModuleCommand("document", args); }},
        {"batch", [](const auto& args) { return FilesModuleCommand("batch", args); }},
        {"section", SectionCommand},
        {"stations", [](const auto& args) { return QtModuleCommand("stations", args); }},
        {"profiles", [](const auto& args) { return QtModuleCommand("profiles", args); }},
        {"db", [](const auto& args) { return QtModuleCommand("db", args); }},
    };
    return commands;
}

void PrintUsage(std::ostream& out) {
    out << "usage: quoinry COMMAND [ARGS]\n"
           "\n"
           "commands:\n"
           "  run DESIGN.ini --out DIR   compute one design: wind load, glass, member;\n"
           "                             writes DIR/wind.txt, glass.txt, gj.txt\n"
           "  document DIR --docx FILE   the calculation document (.docx, or --pdf FILE) from\n"
           "                             the reports in DIR\n"
           "  batch SCHEDULE --out DIR   compute every position of a project file or a\n"
           "                             .csv/.xlsx schedule; DIR/NAME/*.txt, DIR/summary.csv\n"
           "  section DRAWING.dxf        section properties of a region drawn in a DXF file\n"
           "  stations [REGION]          the regions, or a region's cities with their wp50\n"
           "  profiles [SERIES [NUMBER]] the profile series, numbers, or one profile's values\n"
           "  db init | import-mdb FILE  create the engineering database, or import a jscs.mdb\n"
           "\n"
           "quoinry COMMAND --help explains a command; quoinry --version prints the version.\n";
}

}  // namespace

namespace {

// Runs `command` through the entry `symbol` of the module `file`, which is `what` for a message.
int ModuleCommand(const std::filesystem::path& file, const char* symbol, const char* what,
                  const std::string& command, const std::vector<std::string>& args) {
    std::string error;
    const std::optional<int> status =
        platform::CallModuleCommand(file, symbol, command, args, error);
    if (!status) {
        std::cerr << "quoinry: cannot load the " << what << " module: " << error << "\n";
        return 1;
    }
    return *status;
}

}  // namespace

int QtModuleCommand(const std::string& command, const std::vector<std::string>& args) {
    return ModuleCommand(QtModuleFile(), "QuoinryQtCommand", "database and window", command, args);
}

int FilesModuleCommand(const std::string& command, const std::vector<std::string>& args) {
    return ModuleCommand(FilesModuleFile(), "QuoinryFilesCommand", "document and workbook", command,
                         args);
}

int WriteRunDocumentThroughModule(const RunDocumentRequest& request) {
    using Entry = int (*)(const RunDocumentRequest*);
    std::string error;
    const auto entry = reinterpret_cast<Entry>(
        platform::LoadModuleFunction(FilesModuleFile(), "QuoinryWriteRunDocument", error));
    if (entry == nullptr) {
        std::cerr << "当前错误:无法载入写计算书的模块 " << FilesModuleFile().string()
                  << ",请重新安装 Quoinry(" << error << ")\n";
        return 1;
    }
    return entry(&request);
}

bool AsksForHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
}

int Main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        PrintUsage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        std::cout << "quoinry " << kVersion << "\n";
        return 0;
    }
    auto found = Commands().find(args[0]);
    if (found == Commands().end()) {
        std::cerr << "quoinry: unknown command '" << args[0] << "'\n";
        PrintUsage(std::cerr);
        return 2;
    }
    // Whatever escapes a command ends it with a message, never an abort.
    try {
        return found->second(std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const std::bad_alloc&) {
        std::cerr << "quoinry " << args[0] << ": 内存不足\n";
    } catch (const std::exception& e) {
        std::cerr << "quoinry " << args[0] << ": " << e.what() << "\n";
    } catch (...) {
        std::cerr << "quoinry " << args[0] << ": 未知错误\n";
    }
    return 1;
}

}  // namespace quoinry::cli
