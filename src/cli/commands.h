#pragma once

#include <string>
#include <vector>

namespace quoinry::cli {

// The command line; returns the process exit status.
int Main(int argc, char** argv);

// One function per command; `args` are the arguments after the command's name.
int RunCommand(const std::vector<std::string>& args);
int StationsCommand(const std::vector<std::string>& args);
int ProfilesCommand(const std::vector<std::string>& args);
int DbCommand(const std::vector<std::string>& args);

}  // namespace quoinry::cli
