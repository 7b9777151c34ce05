#include <iostream>
#include <map>
#include <string>

#include "cli/qt/qt_commands.h"

extern "C" int QuoinryQtCommand(const char* command, int argc, const char* const* argv) {
    using Command = int (*)(const std::vector<std::string>&);
    static const std::map<std::string, Command> commands = {
        {"stations", quoinry::cli::StationsCommand},
        {"profiles", quoinry::cli::ProfilesCommand},
        {"db", quoinry::cli::DbCommand},
    };
    const auto found = commands.find(command);
    if (found == commands.end()) {
        std::cerr << "quoinry: unknown command '" << command << "'\n";
        return 2;
    }
    return found->second(std::vector<std::string>(argv, argv + argc));
}
