#include "cli/commands.h"

// The command line under node: the commands of the core and the drawings; the windows and the
// modules of documents and workbooks are not part of the browser build.
int main(int argc, char** argv) {
    return quoinry::cli::Main(argc, argv);
}
