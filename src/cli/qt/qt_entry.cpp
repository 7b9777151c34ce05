#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli/qt/qt_commands.h"
#include "db/database_profile_library.h"
#include "shell/run_windows.h"

namespace {

int Windows(const std::vector<std::string>&) {
    // QApplication keeps argc and argv for its whole life.
    static int argc = 1;
    static char name[] = "quoinry";
    static char* argv[] = {name, nullptr};
    return quoinry::shell::RunWindows(argc, argv);
}

}  // namespace

extern "C" int QuoinryQtCommand(const char* command, int argc, const char* const* argv) {
    using Command = int (*)(const std::vector<std::string>&);
    static const std::map<std::string, Command> commands = {
        {"stations", quoinry::cli::StationsCommand},
        {"profiles", quoinry::cli::ProfilesCommand},
        {"db", quoinry::cli::DbCommand},
        {"windows", Windows},
    };
    const auto found = commands.find(command);
    if (found == commands.end()) {
        std::cerr << "quoinry: unknown command '" << command << "'\n";
        return 2;
    }
    return found->second(std::vector<std::string>(argv, argv + argc));
}

extern "C" quoinry::ProfileLibrary* QuoinryNewProfileLibrary() {
    return new quoinry::db::DatabaseProfileLibrary;
}
