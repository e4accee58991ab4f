#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace brumo {

int CommandLine::Run(int argc, char** argv) {
    CLI::App app{"Brumo finds and removes junk files from the computer's local disks.", "brumo"};
    app.set_version_flag("--version", std::string("Brumo ") + BRUMO_VERSION_TEXT);
    app.require_subcommand(0, 1);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    if (app.get_subcommands().empty()) {
        std::cout << app.help();
    }
    return 0;
}

} // namespace brumo
