#pragma once

#include <string>
#include <vector>

// The commands that need Qt live in a module of their own, loaded only when one of them runs,
// so that the calculation commands start without loading Qt.
namespace quoinry::cli {

int StationsCommand(const std::vector<std::string>& args);
int ProfilesCommand(const std::vector<std::string>& args);
int DbCommand(const std::vector<std::string>& args);

}  // namespace quoinry::cli

namespace quoinry {
class ProfileLibrary;
}

// The profile library of the engineering database for a batch; the caller owns it.
extern "C" quoinry::ProfileLibrary* QuoinryNewProfileLibrary();

// The module's entry: runs `command` with the arguments after its name; returns the exit status.
extern "C" int QuoinryQtCommand(const char* command, int argc, const char* const* argv);
