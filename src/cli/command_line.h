#pragma once

#include "app/program_files.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace brumo {

// The program's entry: a subcommand runs headless on the core; none opens the window.
class CommandLine {
public:
    static int Run(int argc, char** argv);
    // args[0] is the program name.
    static int Run(const std::vector<std::string>& args, const ProgramFiles& files,
                   std::ostream& out, std::ostream& err);

    // True when the arguments ask for the window rather than a command: none, "/silent" in
    // any letter case (only the exact "/silent" or "/SILENT" shows the notice), or a first
    // argument that is neither an option nor a command word nor a near miss of one.
    static bool WantsWindow(int argc, char** argv);

private:
    static int Run(const std::vector<std::string>& args, const std::function<ProgramFiles()>& files,
                   std::ostream& out, std::ostream& err);
};

} // namespace brumo
