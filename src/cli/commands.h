#pragma once

namespace quoinry::cli {

// The command line; returns the process exit status.
int Main(int argc, char** argv);

}  // namespace quoinry::cli
