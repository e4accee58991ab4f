#include "cli/command_line.h"

int main(int argc, char** argv) {
    return brumo::CommandLine::Run(argc, argv);
}
