#include "cli/commands.h"

int main(int argc, char** argv) {
    return quoinry::cli::Main(argc, argv);
}
