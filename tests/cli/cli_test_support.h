#pragma once

#include "cli/command_line.h"

#include <sstream>
#include <string>
#include <vector>

namespace brumo::test {

// Runs the command line as "brumo ARGS..." and keeps what it wrote to each stream.
inline int RunBrumo(const ProgramFiles& files, std::vector<std::string> args, std::string& out,
                    std::string& err) {
    args.insert(args.begin(), "brumo");
    std::ostringstream o, e;
    const int code = CommandLine::Run(args, files, o, e);
    out = o.str();
    err = e.str();
    return code;
}

} // namespace brumo::test
